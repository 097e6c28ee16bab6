// CILoadCaseLstSyn: the load-case list of a design project, which keeps the
// value lists that follow it in step: a load case added gives each of them
// a value set, one changed renames its value sets, one moved moves them,
// one removed removes them.
//
// Record and checksum: those of CILoadCaseLst. The registered value lists
// are not stored; each registers again when it is synchronised.
//
// Registrations are weak: a value list withdraws its own as it dies, and
// emptied entries are dropped once the registry has doubled. Removing all
// load cases at
// once (RemoveLoadCasesAll) tells no value list: their value sets stay
// until each is synchronised again.
//
// A value list that cannot grow while it is told of a new load case throws
// CMemoryException* out of the edit (as every collection does): the load
// case is then in the list and the value lists told before hold their new
// value sets; synchronising them again and CreateLCValuesFor repair the rest.
#pragma once

#include "framework/CArrayExPointers.h"
#include "framework/PtrStrong.h"
#include "objects/data/CILoadCase.h"
#include "objects/data/CILoadCaseValues.h"
#include "platform/Export.h"

namespace TELMARO_DATA_OBJECTS {

class TELIO_EXPORT CILoadCaseLstSyn : public CILoadCaseLst {
 public:
  CILoadCaseLstSyn();
  ~CILoadCaseLstSyn() override;

  // The value lists registered and still alive.
  int GetCountValueLists() const;

 protected:
  friend class CILoadCaseValuesLst;

  // For i inside the list, every live value list removes the value set of
  // load case i, and the removal is allowed; -1 (all) is allowed without
  // telling them; any other index is refused.
  int OnBeforeRemoveElement(int i) override;
  // Every live value list adds a value set for load case i.
  void OnAfterAddElement(int i) override;
  int OnBeforeChangeLCValue(const LoadCasePtr& old, const LoadCasePtr& nw) override;
  // Every live value list renames the value set of old to nw.
  void OnAfterChangeLCValue(const LoadCasePtr& old, const LoadCasePtr& nw) override;
  // Every live value list moves the value set of load case at to its place.
  void OnAfterMoveLoadCase(int at) override;

  // Registers lst once (null does nothing). The value list remembers where
  // its registration stands, so registering and withdrawing take constant
  // time however many lists follow this one (a project has one per point
  // of every member beam).
  void AddValueList(CILoadCaseValuesLst* lst);
  // Withdraws the registration of lst; a list not registered, or null,
  // changes nothing.
  void RemoveValueList(CILoadCaseValuesLst* lst);

 private:
  // Calls f(list) for every live registered value list.
  template <class F>
  void ForEachValueList(F f);

  enum { kMinCompactAt = 16 };

  CArrayExPointers<GE_::Safe::PtrWeak<CILoadCaseValuesLst>> m_valueLists;
  // The registry size at which dead registrations are next dropped.
  int m_compactAt = kMinCompactAt;
};

}  // namespace TELMARO_DATA_OBJECTS
