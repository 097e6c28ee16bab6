// CITegidaData: the purlin and sheeting data of a member: a flag and an
// opaque 9892-byte block that the design applications fill. The block is
// kept as stored (little-endian) and saved whole.
//
// The fields SetDefaultTegida gives values, by byte offset in the block:
//       12  i32   type word, 0
//       28  i32   count, 1
//       32  f64   length, the value given
//      192  i32   0
//      272  f64 x 801   values, 0.0
//     6680  i32 x 801   words, 1
//
// Record (version 1, little-endian): version word (4); flag (4); the block
// (9892). Another version reads nothing after the version word.
// Checksum: the flag (4), then the whole block in one AddArray.
#pragma once

#include <cstddef>
#include <cstdio>

#include "framework/PtrStrong.h"
#include "platform/Export.h"
#include "platform/Types.h"

namespace TELMARO_DATA_OBJECTS {

const unsigned int _SerializeVersionCITegidaData = 1;

class TELIO_EXPORT CITegidaData : public GE_::Safe::ObjStrong {
 public:
  static constexpr std::size_t kTegidaSize = 9892;
  // Offsets of the block's known fields (see above).
  enum : int {
    kTypeOffset = 12,
    kCountOffset = 28,
    kLengthOffset = 32,
    kWord192Offset = 192,
    kValuesOffset = 272,
    kWordsOffset = 6680,
    kArrayLength = 801,
  };

  CITegidaData();
  CITegidaData(const CITegidaData& other) = default;
  CITegidaData& operator=(const CITegidaData& other) = default;
  ~CITegidaData() override;

  static GE_::Safe::PtrStrong<CITegidaData> GetNewObject();
  virtual GE_::Safe::PtrStrong<CITegidaData> Clone() const;

  int IsTegida() const { return m_isTegida; }
  int* PIsTegida() { return &m_isTegida; }
  // The block's kTegidaSize bytes.
  unsigned char* GetTegida() { return m_block; }
  const unsigned char* GetTegida() const { return m_block; }

  // Typed access to the block at a byte offset: 0 when the field does not
  // fit in the block; setters then do nothing.
  long32 TegidaWord(int offset) const;
  void SetTegidaWord(int offset, long32 v);
  double TegidaDouble(int offset) const;
  void SetTegidaDouble(int offset, double v);

  // Flag 0, block all zero.
  virtual void ResetTegida();
  // The block zeroed, then the fields above set for a member of length v.
  virtual void SetDefaultTegida(double v);

  // Flag and block; false for null.
  virtual bool CopyFrom(const CITegidaData* other);
  virtual bool CopyTo(CITegidaData* other) const;
  // Flags equal and the block's words at bytes 12 and 28 equal; false for
  // null.
  virtual bool IsEqualWith(const CITegidaData* other) const;

  virtual bool Serialize(FILE* f, bool load);
  virtual ulong32 CheckSum() const;

 private:
  int m_isTegida;
  unsigned char m_block[kTegidaSize];
};

}  // namespace TELMARO_DATA_OBJECTS
