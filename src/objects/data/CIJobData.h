// CIJobData: the header of a design project (file, project, date, engineer,
// comments, design code and job type bits).
#pragma once

#include <cstdio>

#include "framework/PtrStrong.h"
#include "framework/SystemTime.h"
#include "platform/CString.h"
#include "platform/Export.h"
#include "platform/Types.h"

namespace TELMARO_DATA_OBJECTS {

// The design code. Its values belong to the applications; this library
// stores them and hands them on.
enum REGULATION : long32 {};

// Current record version (frozen history: 1 had no regulation and a date
// text, 2 added the regulation, 3 saves the date as a SYSTEMTIME).
const unsigned int _SerializeVersionCIJobData = 3;

class TELIO_EXPORT CIJobData : public GE_::Safe::ObjStrong {
 public:
  CIJobData();
  CIJobData(const CIJobData& other) = default;
  CIJobData& operator=(const CIJobData& other) = default;
  ~CIJobData() override;

  static GE_::Safe::PtrStrong<CIJobData> GetNewObject();
  GE_::Safe::PtrStrong<CIJobData> Clone() const;

  CString FileName() const { return m_fileName; }
  void SetFileName(const CString& name) { m_fileName = name; }
  CString ProjectName() const { return m_projectName; }
  CString* PProjectName() { return &m_projectName; }
  void SetProjectName(const CString& name) { m_projectName = name; }
  // The date text and the date always agree (see the two SetDate).
  CString Date() const { return m_dateText; }
  CString* PDate() { return &m_dateText; }
  SYSTEMTIME SystemDate() const { return m_date; }
  SYSTEMTIME* PSystemDate() { return &m_date; }
  // Stores the text and derives the date from it.
  void SetDate(const CString& text);
  // Stores the date and sets the text to "day / month / year".
  void SetDate(const SYSTEMTIME& date);
  CString Engineer() const { return m_engineer; }
  CString* PEngineer() { return &m_engineer; }
  void SetEngineer(const CString& engineer) { m_engineer = engineer; }
  CString Comments() const { return m_comments; }
  CString* PComments() { return &m_comments; }
  void SetComments(const CString& comments) { m_comments = comments; }
  REGULATION Regulation() const { return m_regulation; }
  REGULATION* PRegulation() { return &m_regulation; }
  void SetRegulation(REGULATION regulation) { m_regulation = regulation; }
  ulong32 Type() const { return m_type; }
  // All bits of mask set.
  bool IsType(ulong32 mask) const { return (m_type & mask) == mask; }
  void SetType(ulong32 set, ulong32 clear) { m_type = (m_type | set) & ~clear; }

  void SetJobData(const CString& project, const CString& date, const CString& engineer,
                  const CString& comments);
  void ResetJobData();

  // Writes the current record, or reads a record of any version; a version
  // this class does not know leaves the defaults. False when the stream
  // failed (the fields not read keep their defaults).
  virtual bool Serialize(FILE* f, bool load);
  virtual ulong32 CheckSum() const;
  // File name, project name, date text and engineer ignoring case, and the
  // regulation. False for null.
  virtual bool IsEqualWith(const CIJobData* other) const;
  virtual bool CopyFrom(const CIJobData* other);
  virtual bool CopyTo(CIJobData* other) const;

  // The date of a text read from its end: the last run of digits is the
  // year, the one before the month, the one before that the day. An empty
  // text gives the all-zero date.
  static SYSTEMTIME ConvertDateStrToSystemTime(const CString& text);

 protected:
  virtual bool ReadVersion1(FILE* f);
  virtual bool ReadVersion2(FILE* f);
  virtual bool ReadVersion3(FILE* f);

 private:
  CString m_fileName;
  CString m_projectName;
  CString m_dateText;
  SYSTEMTIME m_date;
  CString m_engineer;
  CString m_comments;
  REGULATION m_regulation;
  ulong32 m_type;
};

}  // namespace TELMARO_DATA_OBJECTS
