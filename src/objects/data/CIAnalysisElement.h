// CIAnalysisElement: one model element (a member, a load case, a beam) as it
// takes part in a design run: a reference to the element, the analysis flag
// (1 = take part) and a lock. CIAnalysisElementLst: a named list of them.
//
// Records:
//   CIAnalysisElement (no version word): the referenced element's own
//     record, written through its Serialize (a default CEElement record
//     when there is no element), then the analysis flag (4). The lock is
//     not stored. Loading reads the element record into the referenced
//     element, or into a scratch element that is then dropped when there is
//     none (a loaded list therefore holds no references).
//   CIAnalysisElementLst: version word 1, count (4), then count element
//     records. The collection name is not stored.
//
// The element reference is not owned: the model keeps the element alive
// for as long as the list refers to it. The checksum of an analysis element
// feeds the reference's address, so it, and every checksum fed with it,
// holds only within one run of the program.
#pragma once

#include <cstdio>

#include "framework/CArrayExPointers.h"
#include "framework/CMapEx.h"
#include "framework/CSmartCollection.h"
#include "framework/PtrStrong.h"
#include "objects/elements/CEElement.h"
#include "platform/CString.h"
#include "platform/Export.h"
#include "platform/Types.h"

namespace TELMARO_DATA_OBJECTS {

const unsigned int _SerializeVersionCIAnalysisElement = 0;
const unsigned int _SerializeVersionCIAnalysisElementLst = 1;

class TELIO_EXPORT CIAnalysisElement : public GE_::Safe::ObjStrong {
 public:
  CIAnalysisElement();
  explicit CIAnalysisElement(ELEMENT_OBJECTS::CEElement* element, int analysis = 0);
  CIAnalysisElement(const CIAnalysisElement& other) = default;
  CIAnalysisElement& operator=(const CIAnalysisElement& other) = default;
  ~CIAnalysisElement() override;

  static GE_::Safe::PtrStrong<CIAnalysisElement> GetNewObject();

  ELEMENT_OBJECTS::CEElement* Element() const { return m_element; }
  void SetElement(ELEMENT_OBJECTS::CEElement* element) { m_element = element; }
  int BAnalysis() const { return m_analysis; }
  int* PBAnalysis() { return &m_analysis; }
  void SetBAnalysis(int analysis) { m_analysis = analysis; }
  int IsLockedAnalysis() const { return m_locked; }
  void SetLockedAnalysis(int locked) { m_locked = locked; }
  // The element's name; empty without an element.
  CString Name() const;

  // Same element reference, same flag, same lock; false for null.
  bool IsEqualWith(const CIAnalysisElement* other) const;
  bool CopyFrom(const CIAnalysisElement* other);

  // --- virtual operations, in slot order ---
  // Element reference, flag and lock 0.
  virtual void ResetAnalysisElement();
  // False when the stream failed.
  virtual bool Serialize(FILE* f, bool load);
  // The reference's address (8 bytes), the name (text), the flag (4) and
  // the lock (4).
  virtual ulong32 CheckSum() const;

 private:
  ELEMENT_OBJECTS::CEElement* m_element;
  int m_analysis;
  int m_locked;
};

// A selection kept by the hash of the element names (see
// GenerateMapHashNamesSelected).
typedef CMapExNumbers<ulong32, ulong32, int, int> CMapHashNames;

class TELIO_EXPORT CIAnalysisElementLst : public CSmartCollection<GE_::Safe::PtrStrong<CIAnalysisElement>> {
 public:
  typedef GE_::Safe::PtrStrong<CIAnalysisElement> ElementPtr;

  explicit CIAnalysisElementLst(const CString& name = CString());
  ~CIAnalysisElementLst() override;

  static GE_::Safe::PtrStrong<CIAnalysisElementLst> GetNewObject();
  // A new analysis element without a reference (used while loading).
  ElementPtr CreateNewObject() const { return CIAnalysisElement::GetNewObject(); }

  CString GetCollectionName() const { return m_name; }
  void SetCollectionName(const CString& name) { m_name = name; }

  // Appends an analysis element (flag 0) for element; 0 for a null element
  // or one the list already refers to.
  int AddAnalysisElement(ELEMENT_OBJECTS::CEElement* element);
  // Removes the analysis element of that reference; 1 when one was found.
  int RemoveAnalysisElement(ELEMENT_OBJECTS::CEElement* element);
  // By reference, or by the element's name (ignoring case); null when none.
  CIAnalysisElement* FindAnalysisElement(const ELEMENT_OBJECTS::CEElement* element) const;
  CIAnalysisElement* FindAnalysisElement(const CString& name) const;
  // Element i, or null.
  CIAnalysisElement* GetAnalysisElementAt(int i) const;
  void RemoveAllAnalysisElements() { RemoveAll(); }
  // The list becomes what RemoveAllAnalysisElements and then
  // AddAnalysisElement of each element in turn make of it (null and
  // repeated elements skipped), without searching the list for each.
  // Throws CMemoryException* when memory is short.
  void SetAnalysisElements(ELEMENT_OBJECTS::CEElement* const* elements, int count);

  // The number of live elements whose analysis flag equals v.
  int GetCountAnalysisElements(int v) const;
  // Every live element's flag becomes 1 when v != 0 and it is not locked,
  // else 0.
  void SetAnalysisAll(int v);
  // A new table (the caller frees it with free) of the indices of the live
  // elements whose flag equals v, their number in count; null and count 0
  // for an empty list, when none matches, or when memory runs out.
  int* AllocateIndexTable(int& count, int v) const;
  // A new map (the caller deletes it) holding name hash -> 1 for each live
  // element with a reference and a nonzero flag; the name hash is the value
  // of a fresh CCheckSum fed the name. Null when memory runs out.
  CMapHashNames* GenerateMapHashNamesSelected() const;
  // Each live element's flag becomes the map's value for the hash of its
  // name, 0 when absent (the lock is not consulted); nothing for a null map.
  void ResetSelectedByMapHashNames(const CMapHashNames* map);

  // The name and the elements, shared; false for null.
  bool CopyFrom(const CIAnalysisElementLst* other);
  // The collection checksum, fed as 4 bytes into a checksum of its own.
  ulong32 CheckSum() const override;
  // False when the stream failed or the list could not grow.
  virtual bool Serialize(FILE* f, bool load);
  // The element count (4), then each live element's checksum (4).
  virtual ulong32 CheckSumElements() const;
  // The number of elements whose flag is 1 (4), then their checksums (4).
  virtual ulong32 CheckSumSelected() const;

 private:
  int FindIndexOf(const ELEMENT_OBJECTS::CEElement* element) const;

  CString m_name;
};

// The element lists of a design run (list 0 the members or beams, list 1 the
// load cases).
class TELIO_EXPORT CIAnalysisElementLstArray
    : public CArrayExPointers<GE_::Safe::PtrStrong<CIAnalysisElementLst>> {
 public:
  typedef GE_::Safe::PtrStrong<CIAnalysisElementLst> ListPtr;

  CIAnalysisElementLstArray();
  ~CIAnalysisElementLstArray() override;

  // List i, or null.
  CIAnalysisElementLst* GetListAt(int i) const;
  // Appends a new empty list of that name and returns it. Throws
  // CMemoryException* when memory is short.
  CIAnalysisElementLst* AddList(const CString& name);
  // Empties every list; the lists stay.
  void EmptyLists();
};

}  // namespace TELMARO_DATA_OBJECTS
