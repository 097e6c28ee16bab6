// CISafetyFactorsLib: up to ten named sets of partial safety factors (the
// design codes a project chooses from), kept in a private-profile (INI)
// file, the PSF file:
//
//   [TYPES]
//   Ntypes=<number of sets>              (default 1)
//   type<n><suffix>=<name of set n>      (empty when missing)
//   [type<n>]                            one section per set n = 1, 2, ...
//   gm0=1.00                             the 19 factors below, as text;
//   ...                                  a missing key takes its default
//
// Factor keys, in record order, with the value used when a key is missing:
//    1 gm0 1.10            8 gmp 1.25           15 gmw_classII 1.25
//    2 gm1 1.10            9 gmw 1.25           16 gms_ult 1.25
//    3 gm1_buckling 1.10  10 gmw_s235 1.25      17 gms_ser 1.10
//    4 gm2 1.25           11 gmw_s275 1.25      18 gms_ultholes 1.40
//    5 gmb_shear 1.25     12 gmw_s355 1.25      19 y_vec 0.80
//    6 gmb_tension 1.25   13 gmw_fillets 1.25
//    7 gmr 1.25           14 gmw_classI 1.25
// A factor is read as a single-precision number (a value that is not a
// number takes the key's default) and written with two decimals.
//
// PSF_REC, one set (174 bytes, no gaps, little-endian):
//    0   i16        set number, 1-based
//    2   char[20]   set name, NUL-terminated (at most 17 characters are read)
//    22  f64 x 19   the factors in key order (factor k at 22 + 8 (k - 1))
//
// Factor k sits at an offset no double may be aligned to, so its address is
// handed out as a PSF_FACTOR (an 8-byte field with typed accessors) rather
// than as a double*.
#pragma once

#include <cstddef>

#include "framework/PtrStrong.h"
#include "platform/CString.h"
#include "platform/Coding.h"
#include "platform/Export.h"
#include "platform/Types.h"

namespace SAFETY_FACTORS_LIB {

constexpr int kMaxPSFSets = 10;
constexpr int kPSFFactors = 19;

// One factor of a PSF_REC: a little-endian IEEE double.
struct TELIO_EXPORT PSF_FACTOR {
  unsigned char bytes[8];

  double Get() const { return telio::DecodeDouble(bytes); }
  void Set(double v) { telio::EncodeDouble(bytes, v); }
};
static_assert(sizeof(PSF_FACTOR) == 8, "a factor is 8 bytes");

struct TELIO_EXPORT PSF_REC {
  static constexpr int kNameSize = 20;
  // The name is read through a buffer of this size.
  static constexpr int kNameReadSize = 18;

  unsigned char number[2];
  char name[kNameSize];
  PSF_FACTOR factors[kPSFFactors];

  short Number() const { return static_cast<short>(telio::DecodeFixed16(number)); }
  void SetNumber(short n) { telio::EncodeFixed16(number, static_cast<uint16_t>(n)); }
  // The name up to its NUL (or the whole field).
  CString Name() const;
  char* PName() { return name; }
  // Cut to 19 characters.
  void SetName(const char* text);
  // Factor k, 1 to 19 (0 outside).
  double Value(int k) const;
  // Ignored outside 1 to 19.
  void SetValue(int k, double v);
  PSF_FACTOR* PValue(int k) { return (k >= 1 && k <= kPSFFactors) ? &factors[k - 1] : nullptr; }
};
static_assert(sizeof(PSF_REC) == 174, "a set of factors is 174 bytes");

// Thrown, as a pointer to one static instance, for a set index out of
// range. Do not delete it.
struct TELIO_EXPORT CSafetyFactorsLib_excp {
  const char* what() const { return "safety factor set index out of range"; }
};

class TELIO_EXPORT CISafetyFactorsLib : public GE_::Safe::ObjStrong {
 public:
  CISafetyFactorsLib();
  CISafetyFactorsLib(const CISafetyFactorsLib& other);
  CISafetyFactorsLib& operator=(const CISafetyFactorsLib& other);
  ~CISafetyFactorsLib() override;

  // Numbers and names the first n sets, n being Ntypes limited to max (a
  // negative Ntypes gives 0); a null suffix is empty. Returns n; 0 for
  // null sets, max outside 1 to 10 or a file that does not exist. The
  // factors are left as they are.
  static int ReadPSFCases(const char* path, PSF_REC* sets, int max, const char* suffix);
  // Reads the 19 factors of section "type<number>" of the set; missing keys
  // take their defaults (a missing file gives every default). 0 for null
  // arguments.
  static int ReadPSFValues(const char* path, PSF_REC* set);
  // Writes the 19 factors to section "type<number>" ("%.2f"); names and
  // Ntypes are not written. Each key is replaced atomically. 1 when every
  // write succeeded, else 0 with the last error of the failed write.
  static int WritePSFValues(const char* path, const PSF_REC* set);

  // Stores the path and suffix, then LoadPSFCasesValues.
  int SetLoadPSFCasesValues(const char* path, const char* suffix);
  // Zeroes the count and all ten sets, then reads the sets and their
  // factors when the file exists. Returns the count.
  int LoadPSFCasesValues();
  // i = -1: every loaded set (1 only if every write succeeded); 0 <= i <
  // count: set i; any other i: 0.
  int SavePSFCaseAt(int i);

  int GetCountPSF() const { return m_count; }
  CString GetPath() const { return m_path; }
  CString GetSuffix() const { return m_suffix; }
  // Both throw CSafetyFactorsLib_excp* for i outside 0 to count - 1.
  CString GetCodeNameAt(int i) const;
  PSF_REC* GetCodeDataAt(int i);
  // Factor k (1 to 19) of set i; null outside.
  PSF_FACTOR* GetCodeDataValueAt(int i, int k);
  // Regulation 0: set 1 when a set is loaded; regulation 1: set 4 when more
  // than three are loaded; fallback otherwise.
  int GetDefaultCodeForRegulation(int regulation, int fallback) const;

  // The count (4 bytes), then each loaded set's 174 bytes.
  virtual ulong32 CheckSum() const;
  // Path, suffix, count and the sets; false for null.
  bool CopyFrom(const CISafetyFactorsLib* other);

  // Key of factor k (1 to 19), null outside.
  static const char* GetFactorKey(int k);

 private:
  CString m_path;
  CString m_suffix;
  int m_count;
  PSF_REC m_sets[kMaxPSFSets];
};

}  // namespace SAFETY_FACTORS_LIB
