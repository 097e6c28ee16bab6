// CISectionLst: the sections a design project uses.
//
// Record (version 1, little-endian): version word (4); count (4, signed);
// then count CISectionData records: the section data part of each live
// section in index order (a section element is saved as its section data),
// then one default record per null or dangling element. Loading empties the
// list, reads count records into new CISectionData objects, keeps those the
// placement rule accepts (a section just read can only be refused for its
// family) and then runs FixeSectionFromDB. A negative count loads an empty
// list.
// Checksum: the collection checksum (CSmartCollection::CheckSum).
//
// Placement rule: a null or dangling section, or one already held (the same
// object), is refused; with a family filter other than 0 a section of
// another family is refused; any other goes where it is asked for (the end
// for -1).
//
// The family filter, given to the constructor, is not saved.
#pragma once

#include <cstdio>

#include "framework/CSmartCollection.h"
#include "framework/PtrStrong.h"
#include "objects/data/CISectionData.h"
#include "platform/Export.h"
#include "platform/Types.h"

namespace TELMARO_DATA_OBJECTS {

const unsigned int _SerializeVersionCISectionLst = 1;

class TELIO_EXPORT CISectionLst : public CSmartCollection<GE_::Safe::PtrStrong<CISectionData>> {
 public:
  // familyFilter: the only family accepted, 0 for any.
  explicit CISectionLst(ulong32 familyFilter = 0);
  ~CISectionLst() override;
  // Copies (Clone) of other's sections and its family filter.
  CISectionLst& operator=(const CISectionLst& other);

  ulong32 FamilyFilter() const { return m_familyFilter; }

  // A new CISectionData, the element the list loads into.
  GE_::Safe::PtrStrong<CISectionData> CreateNewObject() const;

  // The first live section equal (IsEqualWith) to a section element copy
  // of s, or null; null for a null s. The int argument is not used.
  GE_::Safe::PtrStrong<CISectionData> FindSection(const CISectionData* s, int unused = 0) const;

  // Refreshes every live section from the section catalogue of the
  // kernel's data folder through its section object (GetSectionObjFromData,
  // RefreshSMDBSectionObj, GetSectionDataFromObj), copying the result with
  // CISectionData::CopyFrom: the catalogue's key and name replace the
  // stored ones, and the ID, attributes, flags and BAnnet become those of
  // the converted section (all 0). A section the catalogue cannot refresh
  // (no catalogue, or a name it does not hold that is not a double angle
  // it can add) gets flag 0x01 and keeps everything else. Returns the number
  // of sections refreshed.
  int FixeSectionFromDB();
  // Changes nothing (kept for the applications that call it).
  void LoadFamilyCatalog();

  // Returns false when the stream failed (last error 38, 8 or the
  // write's) or the list could not grow (8); the sections read in full
  // until then are kept.
  virtual bool Serialize(FILE* f, bool load);

 protected:
  int GetPosition(const GE_::Safe::PtrStrong<CISectionData>& e, int requested) const override;

 private:
  CISectionLst(const CISectionLst&) = delete;

  ulong32 m_familyFilter;
};

}  // namespace TELMARO_DATA_OBJECTS
