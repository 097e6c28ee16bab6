#include "objects/data/CIGradeData.h"

#include <climits>

#include "framework/Persist.h"
#include "platform/CCheckSum.h"
#include "sections/SteelGrades.h"

namespace TELMARO_DATA_OBJECTS {

using GE_::Safe::PtrStrong;
using ELEMENT_OBJECTS::CEElement;

CIGradeData::CIGradeData() : m_grade(1), m_profile(0) {}

CIGradeData::~CIGradeData() = default;

PtrStrong<CIGradeData> CIGradeData::GetNewObject() { return PtrStrong<CIGradeData>(new CIGradeData); }

PtrStrong<CIGradeData> CIGradeData::Clone() const { return PtrStrong<CIGradeData>(new CIGradeData(*this)); }

CString CIGradeData::GradeName() const {
  if (m_grade > static_cast<ulong32>(INT_MAX)) return CString();
  return GetGradeNameTable(static_cast<int>(m_grade), false);
}

void CIGradeData::ResetGrade() {
  ResetElement();
  m_grade = 1;
  m_profile = 0;
}

bool CIGradeData::CopyFrom(const CIGradeData* other) {
  if (!other) return false;
  CEElement::CopyFrom(static_cast<const CEElement*>(other));
  m_grade = other->m_grade;
  m_profile = other->m_profile;
  return true;
}

bool CIGradeData::CopyTo(CIGradeData* other) const { return other && other->CopyFrom(this); }

bool CIGradeData::IsEqualWith(const CIGradeData* other) const {
  return other && CEElement::IsEqualWith(static_cast<const CEElement*>(other)) && m_grade == other->m_grade &&
         m_profile == other->m_profile;
}

bool CIGradeData::Serialize(FILE* f, bool load) {
  CPersist io(f, load);
  ulong32 version = _SerializeVersionCIGradeData;
  io.Version(version);
  if (!load) {
    if (!io.ok() || !CEElement::Serialize(f, false)) return false;
    io.UInt32(m_grade).UInt32(m_profile);
    return io.ok();
  }
  CIGradeData::ResetGrade();
  m_grade = 0;
  if (!io.ok() || !CEElement::Serialize(f, true)) return false;
  if (version == 1) {
    io.UInt32(m_grade);
  } else if (version == 2) {
    io.UInt32(m_grade).UInt32(m_profile);
  }
  return io.ok();
}

ulong32 CIGradeData::CheckSum() const {
  CCheckSum sum;
  sum.AddU32(m_grade);
  sum.AddU32(m_profile);
  return sum.get();
}

}  // namespace TELMARO_DATA_OBJECTS
