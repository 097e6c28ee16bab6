// CMemberDesignSettings: the defaults of a member design project, given to
// the members made in it (see the members array). Only the members array
// makes and destroys it. Not part of any record: a loaded project starts
// with the defaults below.
#pragma once

#include "objects/data/CIGradeData.h"
#include "objects/data/CISectionData.h"
#include "platform/CString.h"
#include "platform/Export.h"

namespace MDD_OBJECTS {

class CMDDMembersArray;

class TELIO_EXPORT CMemberDesignSettings {
 public:
  // Every field.
  CMemberDesignSettings(const CMemberDesignSettings& other);
  CMemberDesignSettings& operator=(const CMemberDesignSettings& other);

  // Section given to new members of an unlinked project.
  const TELMARO_DATA_OBJECTS::CISectionData& DefaultSection() const { return m_section; }
  TELMARO_DATA_OBJECTS::CISectionData* PDefaultSection() { return &m_section; }
  // Grade given to new members, and to those of the special families.
  const TELMARO_DATA_OBJECTS::CIGradeData& DefaultGrade() const { return m_grade; }
  TELMARO_DATA_OBJECTS::CIGradeData* PDefaultGrade() { return &m_grade; }
  const TELMARO_DATA_OBJECTS::CIGradeData& DefaultSpecialGrade() const { return m_specialGrade; }
  TELMARO_DATA_OBJECTS::CIGradeData* PDefaultSpecialGrade() { return &m_specialGrade; }
  // Length of the line of a new member of an unlinked project; no line when
  // 0 or less.
  double DefaultLength() const { return m_length; }
  double* PDefaultLength() { return &m_length; }
  // Purlin data type given to new members of the special families.
  int DefaultPurlinType() const { return m_purlinType; }
  int* PDefaultPurlinType() { return &m_purlinType; }
  // Nonzero: new members whose section allows lateral-torsional buckling
  // and that have purlin type 0 get has-LTB 1.
  int LTBByDefault() const { return m_ltbByDefault; }
  int* PLTBByDefault() { return &m_ltbByDefault; }
  // Copied with the settings; nothing reads it.
  int SpareDefault() const { return m_spare; }
  int* PSpareDefault() { return &m_spare; }
  int BAutoCreatePhysBeams() const { return m_autoCreate; }
  int* PBAutoCreatePhysBeams() { return &m_autoCreate; }
  int BAutoCreatePhysBeamsAsk() const { return m_autoCreateAsk; }
  int* PBAutoCreatePhysBeamsAsk() { return &m_autoCreateAsk; }
  int BExludeExisting() const { return m_excludeExisting; }
  int* PBExludeExisting() { return &m_excludeExisting; }
  CString DefaultMemberName() const { return m_memberName; }
  CString* PDefaultMemberName() { return &m_memberName; }
  void SetDefaultMemberName(const CString& name) { m_memberName = name; }
  CString DefaultLoadName() const { return m_loadName; }
  void SetDefaultLoadName(const CString& name) { m_loadName = name; }
  CString DefaultGroupName() const { return m_groupName; }
  CString* PDefaultGroupName() { return &m_groupName; }
  void SetDefaultGroupName(const CString& name) { m_groupName = name; }

 private:
  friend class CMDDMembersArray;

  CMemberDesignSettings();
  ~CMemberDesignSettings();

  TELMARO_DATA_OBJECTS::CISectionData m_section;
  TELMARO_DATA_OBJECTS::CIGradeData m_grade;
  TELMARO_DATA_OBJECTS::CIGradeData m_specialGrade;
  double m_length;
  int m_purlinType;
  int m_ltbByDefault;
  int m_spare;
  int m_autoCreate;
  int m_autoCreateAsk;
  int m_excludeExisting;
  CString m_memberName;
  CString m_loadName;
  CString m_groupName;
};

}  // namespace MDD_OBJECTS
