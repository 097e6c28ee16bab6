// CIResultsData: the result records that a design computation attaches to an
// analysis data object, each with one value (its utilisation ratio).
//
// Result record (RESULTS), 104 bytes, little-endian, one per computed case:
//
//   offset  size      contents
//   0       u8        check code of the governing check
//   1       f32 x 8   result values (offsets 1, 5, 9, 13, 17, 21, 25, 29)
//   33      f32       utilisation ratio
//   37      u8        failure flag: nonzero means failed whatever the ratio
//   38      i16       load-case number, 1-based
//   40      i16       not interpreted
//   42      i16       member number, 1-based
//   44      u8        computed flag: 0 means the case was not computed
//   54      i16       selector (CopyResults picks records by it)
//   88      f32 x 4   further values (offsets 88, 92, 96, 100)
//
// The other bytes are carried and checksummed as they are.
#pragma once

#include <cstdint>

#include "platform/Coding.h"
#include "platform/Export.h"
#include "platform/Types.h"

namespace TELMARO_DATA_OBJECTS {

struct TELIO_EXPORT RESULTS {
  static constexpr int kSize = 104;
  static constexpr int kValues = 8;
  static constexpr int kFurtherValues = 4;

  unsigned char data[kSize];

  std::uint8_t CheckCode() const { return data[0]; }
  // Value k (0 to 7); 0 outside.
  float Value(int k) const { return (k >= 0 && k < kValues) ? telio::DecodeFloat(data + 1 + 4 * k) : 0.0f; }
  float Ratio() const { return telio::DecodeFloat(data + 33); }
  std::uint8_t FailureFlag() const { return data[37]; }
  std::int16_t LoadCaseNumber() const { return static_cast<std::int16_t>(telio::DecodeFixed16(data + 38)); }
  std::int16_t MemberNumber() const { return static_cast<std::int16_t>(telio::DecodeFixed16(data + 42)); }
  std::uint8_t ComputedFlag() const { return data[44]; }
  std::int16_t Selector() const { return static_cast<std::int16_t>(telio::DecodeFixed16(data + 54)); }
  // Further value k (0 to 3); 0 outside.
  float FurtherValue(int k) const {
    return (k >= 0 && k < kFurtherValues) ? telio::DecodeFloat(data + 88 + 4 * k) : 0.0f;
  }

  void SetCheckCode(std::uint8_t v) { data[0] = v; }
  void SetValue(int k, float v) {
    if (k >= 0 && k < kValues) telio::EncodeFloat(data + 1 + 4 * k, v);
  }
  void SetRatio(float v) { telio::EncodeFloat(data + 33, v); }
  void SetFailureFlag(std::uint8_t v) { data[37] = v; }
  void SetLoadCaseNumber(std::int16_t v) { telio::EncodeFixed16(data + 38, static_cast<std::uint16_t>(v)); }
  void SetMemberNumber(std::int16_t v) { telio::EncodeFixed16(data + 42, static_cast<std::uint16_t>(v)); }
  void SetComputedFlag(std::uint8_t v) { data[44] = v; }
  void SetSelector(std::int16_t v) { telio::EncodeFixed16(data + 54, static_cast<std::uint16_t>(v)); }
  void SetFurtherValue(int k, float v) {
    if (k >= 0 && k < kFurtherValues) telio::EncodeFloat(data + 88 + 4 * k, v);
  }
};
static_assert(sizeof(RESULTS) == 104, "result record is 104 bytes");

// Records and values are plain blocks owned by the object. Every operation
// that fails for lack of memory leaves the object empty (count 0) and says
// so by its result; the thread's last error is then 8.
class TELIO_EXPORT CIResultsData {
 public:
  CIResultsData();
  // A copy holds copies of the records and values (empty when memory runs
  // out).
  CIResultsData(const CIResultsData& other);
  CIResultsData& operator=(const CIResultsData& other);
  virtual ~CIResultsData();

  // The record count (4 bytes), the records' bytes, then the values (4
  // bytes each, little-endian).
  virtual ulong32 CheckSum() const;

  // Room for n zeroed records and n zero values (count n); n < 1 leaves the
  // object empty. False when memory runs out.
  bool Initialize(int n);
  void ClearResults();
  // Copies, in order, the records of src[0 .. n-1] that which selects by
  // their selector: which >= 1 those whose selector equals which, 0 all,
  // which < 0 all but those whose selector equals -which. Each copied
  // record's value is its ratio. A null src or n < 1 leaves the object
  // empty. Returns the number of records taken, or -1 when memory runs out.
  int CopyResults(const RESULTS* src, int n, int which);
  bool CopyTo(CIResultsData* other) const;

  int GetCountResultsValues() const { return m_count; }
  RESULTS* GetResults() { return m_records; }
  const RESULTS* GetResults() const { return m_records; }
  float* GetResultsValues() { return m_values; }
  const float* GetResultsValues() const { return m_values; }
  // Record i, or null out of range.
  RESULTS* GetResultAt(int i) { return InRange(i) ? &m_records[i] : nullptr; }
  const RESULTS* GetResultAt(int i) const { return InRange(i) ? &m_records[i] : nullptr; }
  // Value i, or 0 out of range.
  float GetResultValueAt(int i) const { return InRange(i) ? m_values[i] : 0.0f; }

 private:
  bool InRange(int i) const { return i >= 0 && i < m_count && m_records; }
  // Frees both blocks and allocates room for n; false (empty) on failure.
  bool Allocate(int n);

  int m_count;
  RESULTS* m_records;
  float* m_values;
};

}  // namespace TELMARO_DATA_OBJECTS
