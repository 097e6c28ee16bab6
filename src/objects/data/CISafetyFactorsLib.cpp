#include "objects/data/CISafetyFactorsLib.h"

#include <cstdio>
#include <cstring>

#include "platform/CCheckSum.h"
#include "platform/CPathObj.h"
#include "platform/Profile.h"

namespace SAFETY_FACTORS_LIB {

namespace {

struct FactorKey {
  const char* key;
  const char* fallback;
};

// The file's keys in record order, each with the text a missing key reads
// as. Frozen: the record order is the file format of the design data.
const FactorKey kFactors[kPSFFactors] = {
    {"gm0", "1.10"},          {"gm1", "1.10"},         {"gm1_buckling", "1.10"},
    {"gm2", "1.25"},          {"gmb_shear", "1.25"},   {"gmb_tension", "1.25"},
    {"gmr", "1.25"},          {"gmp", "1.25"},         {"gmw", "1.25"},
    {"gmw_s235", "1.25"},     {"gmw_s275", "1.25"},    {"gmw_s355", "1.25"},
    {"gmw_fillets", "1.25"},  {"gmw_classI", "1.25"},  {"gmw_classII", "1.25"},
    {"gms_ult", "1.25"},      {"gms_ser", "1.10"},     {"gms_ultholes", "1.40"},
    {"y_vec", "0.80"},
};

const char kTypesSection[] = "TYPES";
// A factor's text is read through a buffer of 64 characters.
constexpr int kValueReadSize = 65;

CSafetyFactorsLib_excp g_excp;

[[noreturn]] void ThrowBadSet() { throw &g_excp; }

float ParseFactor(const char* text, const char* fallback) {
  float v = 0.0f;
  if (std::sscanf(text, "%f", &v) == 1) return v;
  std::sscanf(fallback, "%f", &v);
  return v;
}

void SectionName(char (&buf)[32], short number) {
  std::snprintf(buf, sizeof buf, "type%d", static_cast<int>(number));
}

}  // namespace

CString PSF_REC::Name() const {
  const void* end = std::memchr(name, '\0', kNameSize);
  return CString(name, end ? static_cast<int>(static_cast<const char*>(end) - name) : kNameSize);
}

void PSF_REC::SetName(const char* text) {
  std::memset(name, 0, kNameSize);
  if (!text) return;
  std::size_t n = std::strlen(text);
  if (n > kNameSize - 1) n = kNameSize - 1;
  std::memcpy(name, text, n);
}

double PSF_REC::Value(int k) const {
  return (k >= 1 && k <= kPSFFactors) ? factors[k - 1].Get() : 0.0;
}

void PSF_REC::SetValue(int k, double v) {
  if (k >= 1 && k <= kPSFFactors) factors[k - 1].Set(v);
}

CISafetyFactorsLib::CISafetyFactorsLib() : m_count(0), m_sets() {}

CISafetyFactorsLib::CISafetyFactorsLib(const CISafetyFactorsLib& other)
    : GE_::Safe::ObjStrong_base(), GE_::Safe::ObjStrong(), m_count(0), m_sets() {
  CopyFrom(&other);
}

CISafetyFactorsLib& CISafetyFactorsLib::operator=(const CISafetyFactorsLib& other) {
  CopyFrom(&other);
  return *this;
}

CISafetyFactorsLib::~CISafetyFactorsLib() = default;

const char* CISafetyFactorsLib::GetFactorKey(int k) {
  return (k >= 1 && k <= kPSFFactors) ? kFactors[k - 1].key : nullptr;
}

int CISafetyFactorsLib::ReadPSFCases(const char* path, PSF_REC* sets, int max, const char* suffix) {
  if (!sets || max < 1 || max > kMaxPSFSets || !path || !CPathObj(path).ExistsPath()) return 0;
  int n = static_cast<int>(GetPrivateProfileIntA(kTypesSection, "Ntypes", 1, path));
  if (n > max) n = max;
  if (n < 0) n = 0;
  for (int i = 1; i <= n; ++i) {
    PSF_REC& set = sets[i - 1];
    set.SetNumber(static_cast<short>(i));
    char key[64];
    std::snprintf(key, sizeof key, "type%d%s", i, suffix ? suffix : "");
    char name[PSF_REC::kNameReadSize] = {};
    GetPrivateProfileStringA(kTypesSection, key, "", name, sizeof name, path);
    set.SetName(name);
  }
  return n;
}

int CISafetyFactorsLib::ReadPSFValues(const char* path, PSF_REC* set) {
  if (!path || !set) return 0;
  char section[32];
  SectionName(section, set->Number());
  for (int k = 0; k < kPSFFactors; ++k) {
    char text[kValueReadSize] = {};
    GetPrivateProfileStringA(section, kFactors[k].key, kFactors[k].fallback, text, sizeof text,
                             path);
    set->factors[k].Set(ParseFactor(text, kFactors[k].fallback));
  }
  return 1;
}

int CISafetyFactorsLib::WritePSFValues(const char* path, const PSF_REC* set) {
  if (!path || !set) return 0;
  char section[32];
  SectionName(section, set->Number());
  int ok = 1;
  for (int k = 0; k < kPSFFactors; ++k) {
    char text[64];
    std::snprintf(text, sizeof text, "%.2f", set->factors[k].Get());
    if (!WritePrivateProfileStringA(section, kFactors[k].key, text, path)) ok = 0;
  }
  return ok;
}

int CISafetyFactorsLib::SetLoadPSFCasesValues(const char* path, const char* suffix) {
  m_path = path ? path : "";
  m_suffix = suffix ? suffix : "";
  return LoadPSFCasesValues();
}

int CISafetyFactorsLib::LoadPSFCasesValues() {
  m_count = 0;
  std::memset(m_sets, 0, sizeof m_sets);
  if (m_path.IsEmpty() || !CPathObj(m_path.GetString()).ExistsPath()) return 0;
  m_count = ReadPSFCases(m_path.GetString(), m_sets, kMaxPSFSets, m_suffix.GetString());
  for (int i = 0; i < m_count; ++i) ReadPSFValues(m_path.GetString(), &m_sets[i]);
  return m_count;
}

int CISafetyFactorsLib::SavePSFCaseAt(int i) {
  if (i == -1) {
    int ok = 1;
    for (int k = 0; k < m_count; ++k) {
      if (!WritePSFValues(m_path.GetString(), &m_sets[k])) ok = 0;
    }
    return ok;
  }
  if (i < 0 || i >= m_count) return 0;
  return WritePSFValues(m_path.GetString(), &m_sets[i]);
}

CString CISafetyFactorsLib::GetCodeNameAt(int i) const {
  if (i < 0 || i >= m_count) ThrowBadSet();
  return m_sets[i].Name();
}

PSF_REC* CISafetyFactorsLib::GetCodeDataAt(int i) {
  if (i < 0 || i >= m_count) ThrowBadSet();
  return &m_sets[i];
}

PSF_FACTOR* CISafetyFactorsLib::GetCodeDataValueAt(int i, int k) {
  if (i < 0 || i >= m_count) return nullptr;
  return m_sets[i].PValue(k);
}

int CISafetyFactorsLib::GetDefaultCodeForRegulation(int regulation, int fallback) const {
  if (regulation == 0 && m_count >= 1) return 1;
  if (regulation == 1 && m_count > 3) return 4;
  return fallback;
}

ulong32 CISafetyFactorsLib::CheckSum() const {
  CCheckSum sum;
  sum.AddI32(m_count);
  for (int i = 0; i < m_count; ++i) sum.AddBytes(&m_sets[i], sizeof(PSF_REC));
  return sum.get();
}

bool CISafetyFactorsLib::CopyFrom(const CISafetyFactorsLib* other) {
  if (!other) return false;
  if (other == this) return true;
  m_path = other->m_path;
  m_suffix = other->m_suffix;
  m_count = other->m_count;
  std::memcpy(m_sets, other->m_sets, sizeof m_sets);
  return true;
}

}  // namespace SAFETY_FACTORS_LIB
