// CILoadCaseValues: numbers under integer keys held for one load case;
// CILoadCaseValuesLst: the value sets of one object, one per load case of
// the load-case list it follows.
//
// Records:
//   CILoadCaseValues (version 1): version word (4); the CILoadCase record;
//     the value count N (4, signed; negative reads as none); N pairs of key
//     (4, signed) and value (8), in the map's iteration order. Loading
//     skips a pair whose key is 0, and a key read twice keeps its last
//     value.
//   CILoadCaseValuesLst (version 1): version word (4); the CILoadCaseLst
//     record. The followed list is not stored: SynchronizeLCValues sets it
//     again.
// Loading a value set of another version leaves it reset, the stream
// after the version word.
// Checksums:
//   CILoadCaseValues: the CILoadCase checksum (the name), then the map's
//     checksum (4 bytes each).
//   CILoadCaseValuesLst: as CILoadCaseLst.
//
// A value set's name (and flag word) is the load case it belongs to. A
// value list holds at most one value set per load case (by the element
// comparison). While it follows a list it also keeps its value sets in that
// list's order: a new value set is placed after those of the load cases
// before its own.
//
// Following: the value list holds a strong reference to the
// CILoadCaseLstSyn it follows, which registers the value list weakly and
// adds, renames, moves and removes value sets as load cases are added,
// changed, moved and removed. The followed list must therefore be a heap
// object owned through PtrStrong: a list that nothing else owns dies with
// its last value list.
#pragma once

#include <cstdio>

#include "framework/CMapEx.h"
#include "framework/PtrStrong.h"
#include "objects/data/CILoadCase.h"
#include "platform/Export.h"
#include "platform/Types.h"

namespace TELMARO_DATA_OBJECTS {

const unsigned int _SerializeVersionCILoadCaseValues = 1;
const unsigned int _SerializeVersionCILoadCaseValuesLst = 1;

class CILoadCaseLstSyn;
class CILoadCaseValuesLst;

class TELIO_EXPORT CILoadCaseValues : public CILoadCase {
 public:
  // Six values (the forces of a point) fit without an allocation.
  typedef CMapExNumbers<int, int, double, double, 6> ValueMap;

  CILoadCaseValues();
  CILoadCaseValues(const CILoadCaseValues& other) = default;
  CILoadCaseValues& operator=(const CILoadCaseValues& other) = default;
  ~CILoadCaseValues() override;

  // A new CILoadCaseValues, as the element factory of a value list.
  static GE_::Safe::PtrStrong<CILoadCase> GetNewObject();

  // The value of key, 0.0 when absent.
  double LCValue(int key) const;
  // The value of key in place, the entry made (0.0) when absent; valid
  // until the key is removed. Throws CMemoryException* when memory is short.
  double* LCValuePtr(int key);
  // 1 when at least one value is held.
  int Exists() const { return m_values.GetCount() > 0 ? 1 : 0; }
  // Every value becomes 0.0; the keys stay.
  void ClearValues();
  const ValueMap& Values() const { return m_values; }

  using CILoadCase::CopyFrom;
  using CILoadCase::IsEqualWith;
  // The load case (element comparison) and the values (map comparison:
  // same keys, values within 0.001). False for null.
  bool IsEqualWith(const CILoadCaseValues* other) const;
  // The values alone. False for null.
  bool IsEqualWith(const ValueMap* values) const;
  // The load case (CILoadCase::CopyFrom) and the values. False for null.
  bool CopyFrom(const CILoadCaseValues* other);
  // The values alone. False for null.
  bool CopyFrom(const ValueMap* values);

  GE_::Safe::PtrStrong<CILoadCase> Clone() const override;
  bool Serialize(FILE* f, bool load) override;
  ulong32 CheckSum() const override;

 protected:
  friend class CILoadCaseValuesLst;

  // Reads the fields of version 1 after the CILoadCase record.
  bool ReadVersion1(FILE* f) override;
  // Gives a new value set its keys; nothing here.
  virtual void InitializeValues();
  // The record of a derived value set that adds no field: its own version
  // word (version), then the CILoadCaseValues record. Another version read
  // leaves the set reset.
  bool SerializeWrapped(FILE* f, bool load, ulong32 version);

 private:
  // The record (after the wrapper's version word when wrapper is not null)
  // encoded or decoded in the stream's buffer in one piece. 1 done and
  // whole, 0 done and failed, -1 not done (nothing transferred): the
  // fields then go one by one.
  int StoreInPlace(FILE* f, const ulong32* wrapper);
  int LoadInPlace(FILE* f, const ulong32* wrapper);
  int ReadValuesInPlace(FILE* f);

  ValueMap m_values;
};

class TELIO_EXPORT CILoadCaseValuesLst : public CILoadCaseLst {
 public:
  explicit CILoadCaseValuesLst(ElementFactory factory = &CILoadCaseValues::GetNewObject);
  // Takes this list's registration back from the followed list.
  ~CILoadCaseValuesLst() override;
  // As CopyFrom.
  CILoadCaseValuesLst& operator=(const CILoadCaseValuesLst& other);

  // Makes this list follow lst (which must be owned through PtrStrong, or
  // null). A list given in place of another drops this list's registration
  // with the old one; a null lst, or an old list that has gone (destroyed
  // behind its pointers' back), empties this list, while a list that
  // followed nothing yet keeps its value sets (so a loaded list keeps its
  // values). Then, while the followed list lives,
  // value sets whose load case it no longer holds are removed and this list
  // registers with it. Value sets for its other load cases are not made
  // here (CreateLCValuesFor). Returns 1.
  int SynchronizeLCValues(CILoadCaseLstSyn* lst);
  // The followed list, null when there is none.
  CILoadCaseLstSyn* GetFollowedLst() const { return m_followed.GetPtr(); }

  // The value set of lc (element comparison), or null.
  CILoadCaseValues* FindLCValuesFor(const LoadCasePtr& lc) const;
  // The value set of load case i of the followed list, or null.
  CILoadCaseValues* FindLCValuesFor(int i) const;
  // The value set of load case i of the followed list, made when missing;
  // null without a followed list or outside it.
  CILoadCaseValues* CreateLCValuesFor(int i);
  // Element i, or null.
  CILoadCaseValues* GetLCValuesAt(int i) const;

  // InitializeValues or ClearValues on every value set, or remove them all.
  void InitializeLCValuesAll();
  void ClearLCValuesAll();
  void RemoveLCValuesAll();

  // Copies (Clone) of other's value sets, in its order; the followed list
  // stays this list's own. False for null.
  bool CopyFrom(const CILoadCaseValuesLst* other);
  // Element by element: both null, or both live and equal by value.
  bool IsEqualWith(const CILoadCaseValuesLst* other) const;

  bool Serialize(FILE* f, bool load) override;

 protected:
  friend class CILoadCaseLstSyn;

  // With a live lc and a live followed list: a new value set carrying lc's
  // name, flag word and ID, placed after the value sets of the load cases
  // before lc in the followed list (refused when lc already has one). k,
  // when the caller knows it, is lc's index there. 1 when added.
  int AddLCValuesFor(const LoadCasePtr& lc, int k = -1);
  // Removes the value set of lc. 1 when one was removed.
  int RemoveLCValuesFor(const LoadCasePtr& lc);
  // The value set of old takes the name, flag word and ID of nw. 1 when
  // there was one.
  int ChangeLCValue(const LoadCasePtr& old, const LoadCasePtr& nw);
  // The value set of lc, taken out and placed again in the followed list's
  // order (after a move of lc there).
  void ReorderLCValuesFor(const LoadCasePtr& lc);

  // Refuses a value set whose load case already has one; while following
  // a list places a value set after those of the load cases before its
  // own there (elsewhere as the collection's default).
  int GetPosition(const LoadCasePtr& e, int requested) const override;

 private:
  CILoadCaseValuesLst(const CILoadCaseValuesLst&) = delete;

  // Index of lc's value set, or -1; looks first where the followed list's
  // order puts it.
  int FindLCValuesIndex(const LoadCasePtr& lc, int hint) const;
  // Where a value set of load case k of the followed list belongs.
  int OrderedPosition(const CILoadCaseLstSyn& followed, int k) const;
  // A new value set for lc, load case k of followed (-1: not there), which
  // has none yet, inserted where it belongs.
  CILoadCaseValues* InsertLCValues(const CILoadCaseLstSyn& followed, const LoadCasePtr& lc, int k);

  GE_::Safe::PtrStrong<CILoadCaseLstSyn> m_followed;
  // Where this list's registration stands in m_followed's registry, -1
  // while it is not registered (kept up to date by the registry).
  int m_registryIndex = -1;
};

}  // namespace TELMARO_DATA_OBJECTS
