#include "objects/data/CIJobData.h"

#include "framework/Persist.h"
#include "platform/CCheckSum.h"

namespace TELMARO_DATA_OBJECTS {

namespace {

const REGULATION kDefaultRegulation = static_cast<REGULATION>(1);

bool IsZeroDate(const SYSTEMTIME& t) { return t == SYSTEMTIME{}; }

}  // namespace

CIJobData::CIJobData() { ResetJobData(); }

CIJobData::~CIJobData() = default;

GE_::Safe::PtrStrong<CIJobData> CIJobData::GetNewObject() {
  return GE_::Safe::PtrStrong<CIJobData>(new CIJobData);
}

GE_::Safe::PtrStrong<CIJobData> CIJobData::Clone() const {
  return GE_::Safe::PtrStrong<CIJobData>(new CIJobData(*this));
}

void CIJobData::SetDate(const CString& text) {
  m_dateText = text;
  m_date = ConvertDateStrToSystemTime(text);
}

void CIJobData::SetDate(const SYSTEMTIME& date) {
  m_date = date;
  m_dateText.Format("%u / %u / %u", static_cast<unsigned>(date.wDay),
                    static_cast<unsigned>(date.wMonth), static_cast<unsigned>(date.wYear));
}

void CIJobData::SetJobData(const CString& project, const CString& date, const CString& engineer,
                           const CString& comments) {
  m_projectName = project;
  SetDate(date);
  m_engineer = engineer;
  m_comments = comments;
}

void CIJobData::ResetJobData() {
  m_fileName.Empty();
  m_projectName.Empty();
  m_dateText.Empty();
  m_date = SYSTEMTIME{};
  m_engineer.Empty();
  m_comments.Empty();
  m_regulation = kDefaultRegulation;
  m_type = 0;
}

SYSTEMTIME CIJobData::ConvertDateStrToSystemTime(const CString& text) {
  SYSTEMTIME date{};
  // Runs of digits from the end: year, month, day.
  std::uint16_t* fields[3] = {&date.wYear, &date.wMonth, &date.wDay};
  int field = 0;
  int i = text.GetLength() - 1;
  while (field < 3 && i >= 0) {
    while (i >= 0 && (text[i] < '0' || text[i] > '9')) --i;
    if (i < 0) break;
    int end = i;
    while (i >= 0 && text[i] >= '0' && text[i] <= '9') --i;
    unsigned long value = 0;
    for (int k = i + 1; k <= end; ++k) {
      value = value * 10 + static_cast<unsigned long>(text[k] - '0');
      if (value > 0xFFFFu) value = 0xFFFFu;  // a run too long for the field saturates
    }
    *fields[field++] = static_cast<std::uint16_t>(value);
  }
  return date;
}

// Record (after the version word), texts in the fixed 260-byte form:
//   3: file name, project name, date (SYSTEMTIME, 16), engineer, comments,
//      regulation (4), type (4)
//   2: file name, project name, date text, engineer, comments,
//      regulation (4), type (4)
//   1: file name, project name, date text, engineer, comments, type (4);
//      the regulation becomes 0
bool CIJobData::Serialize(FILE* f, bool load) {
  CPersist io(f, load);
  ulong32 version = _SerializeVersionCIJobData;
  io.Version(version);
  if (!load) {
    io.FixedText(m_fileName).FixedText(m_projectName).Date(m_date);
    io.FixedText(m_engineer).FixedText(m_comments).Enum(m_regulation).UInt32(m_type);
    return io.ok();
  }
  ResetJobData();
  if (!io.ok()) return false;
  switch (version) {
    case 1:
      return ReadVersion1(f);
    case 2:
      return ReadVersion2(f);
    case 3:
      return ReadVersion3(f);
    default:
      return true;  // a later layout: keep the defaults
  }
}

bool CIJobData::ReadVersion1(FILE* f) {
  CPersist io(f, true);
  CString date;
  io.FixedText(m_fileName).FixedText(m_projectName).FixedText(date);
  io.FixedText(m_engineer).FixedText(m_comments).UInt32(m_type);
  m_regulation = static_cast<REGULATION>(0);
  SetDate(date);
  return io.ok();
}

bool CIJobData::ReadVersion2(FILE* f) {
  CPersist io(f, true);
  CString date;
  io.FixedText(m_fileName).FixedText(m_projectName).FixedText(date);
  io.FixedText(m_engineer).FixedText(m_comments).Enum(m_regulation).UInt32(m_type);
  SetDate(date);
  return io.ok();
}

bool CIJobData::ReadVersion3(FILE* f) {
  CPersist io(f, true);
  SYSTEMTIME date{};
  io.FixedText(m_fileName).FixedText(m_projectName).Date(date);
  io.FixedText(m_engineer).FixedText(m_comments).Enum(m_regulation).UInt32(m_type);
  // A project without a date keeps an empty date text, as a new one has.
  if (IsZeroDate(date)) {
    m_date = date;
    m_dateText.Empty();
  } else {
    SetDate(date);
  }
  return io.ok();
}

ulong32 CIJobData::CheckSum() const {
  CCheckSum sum;
  sum.Add(m_fileName);
  sum.Add(m_projectName);
  unsigned char date[16];
  EncodeSystemTime(date, m_date);
  sum.AddBytes(date, sizeof date);
  sum.Add(m_engineer);
  sum.Add(m_comments);
  sum.AddI32(m_regulation);
  sum.AddU32(m_type);
  return sum.get();
}

bool CIJobData::IsEqualWith(const CIJobData* other) const {
  if (!other) return false;
  return m_fileName.CompareNoCase(other->m_fileName) == 0 &&
         m_projectName.CompareNoCase(other->m_projectName) == 0 &&
         m_dateText.CompareNoCase(other->m_dateText) == 0 &&
         m_engineer.CompareNoCase(other->m_engineer) == 0 && m_regulation == other->m_regulation;
}

bool CIJobData::CopyFrom(const CIJobData* other) {
  if (!other) return false;
  if (other == this) return true;
  m_fileName = other->m_fileName;
  m_projectName = other->m_projectName;
  m_dateText = other->m_dateText;
  m_date = other->m_date;
  m_engineer = other->m_engineer;
  m_comments = other->m_comments;
  m_regulation = other->m_regulation;
  m_type = other->m_type;
  return true;
}

bool CIJobData::CopyTo(CIJobData* other) const {
  if (!other) return false;
  return other->CopyFrom(this);
}

}  // namespace TELMARO_DATA_OBJECTS
