// CIGradeData: the steel grade chosen for a member: a grade number of the
// steel grade table (sections/SteelGrades.h) and a profile code whose
// meaning the applications give.
//
// Record (little-endian):
//   version 2 (written): version word 2 (4); the CEElement record; grade
//     (4); profile (4).
//   version 1 (read):    version word 1 (4); the CEElement record; grade
//     (4); the profile stays 0.
// Loading resets the grade (grade 1, profile 0), then sets the grade to 0
// before the fields are read: a record that ends early, or a later version
// (which reads nothing after the element record), leaves grade 0.
// Checksum: grade (4), profile (4); the element part is not fed.
#pragma once

#include <cstdio>

#include "framework/PtrStrong.h"
#include "objects/elements/CEElement.h"
#include "platform/CString.h"
#include "platform/Export.h"
#include "platform/Types.h"

namespace TELMARO_DATA_OBJECTS {

const unsigned int _SerializeVersionCIGradeData = 2;

class TELIO_EXPORT CIGradeData : public GE_::Safe::ObjStrong, public ELEMENT_OBJECTS::CEElement {
 public:
  CIGradeData();
  CIGradeData(const CIGradeData& other) = default;
  CIGradeData& operator=(const CIGradeData& other) = default;
  ~CIGradeData() override;

  static GE_::Safe::PtrStrong<CIGradeData> GetNewObject();
  virtual GE_::Safe::PtrStrong<CIGradeData> Clone() const;

  ulong32 Grade() const { return m_grade; }
  ulong32* PGrade() { return &m_grade; }
  ulong32 Profile() const { return m_profile; }
  ulong32* PProfile() { return &m_profile; }
  void SetGrade(ulong32 grade) { m_grade = grade; }
  void SetGrade(ulong32 grade, ulong32 profile) {
    m_grade = grade;
    m_profile = profile;
  }
  // The grade's name in the steel grade table in use (GetGradeNameTable);
  // empty for a number the table does not hold.
  CString GradeName() const;

  // Element reset, grade 1, profile 0.
  virtual void ResetGrade();

  using CEElement::CopyFrom;
  using CEElement::CopyTo;
  using CEElement::IsEqualWith;
  // Identity, grade and profile; false for null.
  virtual bool CopyFrom(const CIGradeData* other);
  virtual bool CopyTo(CIGradeData* other) const;
  // Elements equal (name ignoring case, flags), grade and profile equal;
  // false for null.
  virtual bool IsEqualWith(const CIGradeData* other) const;

  bool Serialize(FILE* f, bool load) override;
  ulong32 CheckSum() const override;

 private:
  ulong32 m_grade;
  ulong32 m_profile;
};

}  // namespace TELMARO_DATA_OBJECTS
