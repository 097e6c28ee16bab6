// CILoadCase: a named load case of a design project; CILoadCaseLst: the
// ordered list of them.
//
// Records:
//   CILoadCase (version 1): version word (4); the CEElement record.
//   CILoadCaseLst (version 1): version word (4); count (4, signed); count
//     element records in the framing of CreateNewObject()'s class. A
//     negative count loads an empty list.
// Loading a load case of another version leaves it reset, the stream after
// the version word.
// Checksums:
//   CILoadCase: the name (text) alone.
//   CILoadCaseLst: the collection checksum (4 bytes).
//
// Load cases are found by the element comparison (names equal ignoring
// case, flag words equal); the ID and the attribute word play no part.
// The list itself does not refuse two equal load cases: GetValidLCName
// gives callers a free name first.
#pragma once

#include <cstdio>

#include "framework/CSmartCollection.h"
#include "framework/PtrStrong.h"
#include "objects/elements/CEElement.h"
#include "platform/CString.h"
#include "platform/Export.h"
#include "platform/Types.h"

namespace TELMARO_DATA_OBJECTS {

const unsigned int _SerializeVersionCILoadCase = 1;
const unsigned int _SerializeVersionCILoadCaseLst = 1;

// Names of 21 characters or more are not valid load-case names.
const int kMaxLoadCaseName = 20;

class TELIO_EXPORT CILoadCase : public GE_::Safe::ObjStrong, public ELEMENT_OBJECTS::CEElement {
 public:
  CILoadCase();
  CILoadCase(const CString& name, ulong32 flags);
  CILoadCase(const CILoadCase& other) = default;
  CILoadCase& operator=(const CILoadCase& other) = default;
  ~CILoadCase() override;

  static GE_::Safe::PtrStrong<CILoadCase> GetNewObject();

  using CEElement::CopyFrom;
  using CEElement::IsEqualWith;

  // The name, the flag word and the ID of other; the attribute word
  // becomes 0. False for null.
  bool CopyFrom(const CILoadCase* other);

  // A new object of this object's own class with the same content; value
  // lists copy their value sets with it.
  virtual GE_::Safe::PtrStrong<CILoadCase> Clone() const;
  // False when the stream failed; the fields not read keep their reset
  // values.
  bool Serialize(FILE* f, bool load) override;
  ulong32 CheckSum() const override;
};

class TELIO_EXPORT CILoadCaseLst : public CSmartCollection<GE_::Safe::PtrStrong<CILoadCase>> {
 public:
  typedef GE_::Safe::PtrStrong<CILoadCase> LoadCasePtr;
  // Makes the list's elements; null makes plain CILoadCase objects.
  typedef LoadCasePtr (*ElementFactory)();

  explicit CILoadCaseLst(ElementFactory factory = nullptr);
  ~CILoadCaseLst() override;

  LoadCasePtr CreateNewObject() const;
  // Element i, or null outside the list.
  LoadCasePtr GetLoadCaseAt(int i) const;
  // The first live element from index start on that equals lc by the
  // element comparison, or null (also for a null lc).
  LoadCasePtr FindLoadCase(const LoadCasePtr& lc, int start = 0) const;
  // Index of that element, or -1.
  int FindLoadCaseIndex(const LoadCasePtr& lc, int start = 0) const;

  // Adds a new element carrying the name, flag word and ID of lc
  // (attribute 0) where the placement rule puts it, then runs the add
  // hook. 1 when added; 0 for a null lc or a refused element.
  int AddLoadCase(const LoadCasePtr& lc);
  // Gives element i the name, flag word and ID of lc when
  // OnBeforeChangeLCValue allows it, then runs OnAfterChangeLCValue with a
  // copy of the element as it was. 1 when changed.
  int ChangeLoadCaseAt(int i, const LoadCasePtr& lc);
  // RemoveAtEx: 0 outside the list or when the hook refuses.
  int RemoveLoadCaseAt(int i);
  // RemoveAllEx: 0 when the hook refuses.
  int RemoveLoadCasesAll();
  // Moves element from to index to as MoveElement does (to > from leaves
  // it at to - 1), then runs OnAfterMoveLoadCase with its new index.
  // Returns MoveElement's result (-1: nothing moved).
  int MoveLoadCase(int from, int to);

  // Makes name a valid load-case name that no load case holds, the one at
  // index skip aside (letter case ignored). A name of more than 20
  // characters is emptied; an empty name becomes "lc1"; while the name is
  // taken it becomes "lc2", "lc3", ... (an empty name continues after 1).
  // 1 when the given name was kept or an empty one was filled in with its
  // first candidate; 0 when it was too long or had to be replaced.
  int GetValidLCName(CString& name, int skip) const;

  // --- virtual operations, in slot order after the collection's ---
  ulong32 CheckSum() const override;
  // Returns false when the stream failed or the list could not grow; the
  // elements read in full until then are kept. Loading runs no hooks.
  virtual bool Serialize(FILE* f, bool load);

 protected:
  // 1 when nw is live and no element equals it (so a change cannot make
  // two equal load cases).
  virtual int OnBeforeChangeLCValue(const LoadCasePtr& old, const LoadCasePtr& nw);
  virtual void OnAfterChangeLCValue(const LoadCasePtr& old, const LoadCasePtr& nw);
  virtual void OnAfterMoveLoadCase(int at);

 private:
  ElementFactory m_factory;
};

}  // namespace TELMARO_DATA_OBJECTS
