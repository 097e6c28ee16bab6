// CILoadCaseLstSyn: the load-case list of a design project, which keeps the
// value lists that follow it in step: a load case added gives each of them
// a value set, one changed renames its value sets, one moved moves them,
// one removed removes them.
//
// Record and checksum: those of CILoadCaseLst. The registered value lists
// are not stored; each registers again when it is synchronised.
//
// Registrations are weak: a value list that dies is no longer told (it
// withdraws its registration as it dies); emptied entries are dropped once
// they outnumber the live ones. Removing all load cases at once (RemoveLoadCasesAll) tells no value list: their value sets stay
// until each is synchronised again.
#pragma once

#include <unordered_map>

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

  // Registers lst once (null does nothing).
  void AddValueList(CILoadCaseValuesLst* lst);
  // Withdraws the registration of lst; a list not registered, or null,
  // changes nothing.
  void RemoveValueList(CILoadCaseValuesLst* lst);

 private:
  // Calls f(list) for every live registered value list.
  template <class F>
  void ForEachValueList(F f);

  // Drops the emptied registrations (and renumbers the index).
  void CompactValueLists();

  CArrayExPointers<GE_::Safe::PtrWeak<CILoadCaseValuesLst>> m_valueLists;
  // Where each registered list stands in m_valueLists, so that registering
  // and withdrawing take constant time however many lists follow this one
  // (a project has one per point of every member beam); and how many
  // entries of m_valueLists are emptied.
  std::unordered_map<const CILoadCaseValuesLst*, int> m_registered;
  int m_emptied = 0;
};

}  // namespace TELMARO_DATA_OBJECTS
