// Loads a load-case, value-set, restraint or buckling record from arbitrary
// bytes: the first byte names the kind (modulo 12: 0 load case, 1 value
// set, 2 load-case list, 3 value list, 4 buckling restraint, 5 buckling
// span, 6 buckling list, 7 restraint, 8 restraint span, 9 restraint list,
// 10 buckling value set, 11 restraint value set; the lists on a line of
// length 10), the rest is the record. Each object loaded is used (a
// load-case list is edited with value lists following it, restraint lists
// are synchronised, edited and recomputed) and must load back from what it
// saves with the same checksum (a restraint list once loaded: see case 9).
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "FuzzRecords.h"
#include "objects/data/CIConstraintLst.h"
#include "objects/data/CILTBLst.h"
#include "objects/data/CILoadCaseLstSyn.h"

using namespace TELMARO_DATA_OBJECTS;
using namespace GEOMETRY_OBJECTS;
using GE_::Safe::PtrStrong;

namespace {

// Saves object and loads the bytes into fresh(); returns that object, null
// when the save failed.
template <class T, class Make>
auto Reloaded(T& object, Make fresh) -> decltype(fresh()) {
  auto again = fresh();
  return fuzz_records::MustReload(object, *again) ? again : decltype(fresh())();
}

// What object saves must load back with its checksum.
template <class T, class Make>
void MustRoundTrip(T& object, Make fresh) {
  auto again = fresh();
  fuzz_records::MustRoundTrip(object, *again);
}

template <class T>
PtrStrong<T> New() {
  return PtrStrong<T>(new T);
}

PtrStrong<CILoadCaseLstSyn> SampleCases() {
  PtrStrong<CILoadCaseLstSyn> cases(new CILoadCaseLstSyn);
  cases->AddLoadCase(PtrStrong<CILoadCase>(new CILoadCase("Dead", 0)));
  cases->AddLoadCase(PtrStrong<CILoadCase>(new CILoadCase("Wind", 1)));
  return cases;
}

// Load-case edits seen by a value list that follows the list.
void EditCases(CILoadCaseLstSyn& cases, CILoadCaseValuesLst& values) {
  values.SynchronizeLCValues(&cases);
  for (int i = 0; i < cases.GetCount(); ++i) {
    if (CILoadCaseValues* v = values.CreateLCValuesFor(i)) *v->LCValuePtr(1 + i) = i;
  }
  CString name;
  cases.GetValidLCName(name, -1);
  cases.AddLoadCase(PtrStrong<CILoadCase>(new CILoadCase(name, 0)));
  cases.MoveLoadCase(cases.GetCount() - 1, 0);
  cases.ChangeLoadCaseAt(1, PtrStrong<CILoadCase>(new CILoadCase("Renamed", 0)));
  cases.RemoveLoadCaseAt(cases.GetCount() / 2);
  if (values.GetCount() > cases.GetCount()) __builtin_trap();
  values.InitializeLCValuesAll();
  values.ClearLCValuesAll();
}

template <class List>
void EditRestraints(List& list, CILoadCaseLstSyn& cases) {
  list.SynchronizeLCValues(&cases);
  list.InitializeLCValuesAll();
  if (list.GetCount() > 1) list.GetAt(1)->SetDistance(2.5);
  if (list.GetCount() > 0) list.RemoveAtEx(list.GetCount() - 1);
  for (int i = 0; i + 1 < list.GetCount(); ++i) {
    if (!list.GetAt(i) || !list.GetAt(i + 1) || list.GetAt(i)->Distance() >= list.GetAt(i + 1)->Distance()) {
      __builtin_trap();
    }
  }
  cases.AddLoadCase(PtrStrong<CILoadCase>(new CILoadCase("Snow", 0)));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  FILE* f = fuzz_records::OpenBytes(data + 1, size - 1);
  if (!f) return 0;
  PtrStrong<CGLine> line(new CGLine(CGPoint(0, 0, 0), CGPoint(10, 0, 0)));
  auto ltbList = [&line]() { return PtrStrong<CILTBLst>(new CILTBLst(line.GetPtr())); };
  auto constraintList = [&line]() { return PtrStrong<CIConstraintLst>(new CIConstraintLst(line.GetPtr())); };
  PtrStrong<CILoadCaseLstSyn> cases = SampleCases();
  switch (data[0] % 12) {
    case 0: {
      auto lc = New<CILoadCase>();
      if (lc->Serialize(f, true)) MustRoundTrip(*lc, New<CILoadCase>);
      break;
    }
    case 1: {
      auto v = New<CILoadCaseValues>();
      if (v->Serialize(f, true)) MustRoundTrip(*v, New<CILoadCaseValues>);
      break;
    }
    case 2: {
      auto loaded = New<CILoadCaseLstSyn>();
      loaded->Serialize(f, true);
      MustRoundTrip(*loaded, New<CILoadCaseLstSyn>);
      auto values = New<CILoadCaseValuesLst>();
      EditCases(*loaded, *values);
      break;
    }
    case 3: {
      auto values = New<CILoadCaseValuesLst>();
      values->Serialize(f, true);
      MustRoundTrip(*values, New<CILoadCaseValuesLst>);
      EditCases(*cases, *values);
      MustRoundTrip(*values, New<CILoadCaseValuesLst>);
      break;
    }
    case 4: {
      auto ltb = New<CILTB>();
      if (ltb->Serialize(f, true)) MustRoundTrip(*ltb, New<CILTB>);
      break;
    }
    case 5: {
      auto span = New<CILTBData>();
      if (span->Serialize(f, true)) MustRoundTrip(*span, New<CILTBData>);
      break;
    }
    case 6: {
      auto list = ltbList();
      list->Serialize(f, true);
      MustRoundTrip(*list, ltbList);
      EditRestraints(*list, *cases);
      list->AddLTB(7.5, 1, 1);
      list->ResetLTBData();
      MustRoundTrip(*list, ltbList);
      break;
    }
    case 7: {
      auto c = New<CIConstraint>();
      if (c->Serialize(f, true)) MustRoundTrip(*c, New<CIConstraint>);
      (void)c->EtaDataCheckSum();
      break;
    }
    case 8: {
      auto span = New<CIConstraintData>();
      if (span->Serialize(f, true)) MustRoundTrip(*span, New<CIConstraintData>);
      break;
    }
    case 9: {
      auto list = constraintList();
      list->Serialize(f, true);
      MustRoundTrip(*list, constraintList);
      EditRestraints(*list, *cases);
      list->SetSwayMember(1);
      list->AddConstraintFromOld(7.5, 6, 0.3);
      list->CalculateBucklingLength(-1);
      // Loading gives every restraint the member's sway word: what a list
      // edited restraint by restraint saves loads in that form, which then
      // keeps its checksum.
      if (auto loaded = Reloaded(*list, constraintList)) MustRoundTrip(*loaded, constraintList);
      break;
    }
    case 10: {
      auto v = New<CILTBLCValues>();
      if (v->Serialize(f, true)) MustRoundTrip(*v, New<CILTBLCValues>);
      break;
    }
    default: {
      auto v = New<CIConstraintLCValues>();
      if (v->Serialize(f, true)) MustRoundTrip(*v, New<CIConstraintLCValues>);
      break;
    }
  }
  std::fclose(f);
  return 0;
}
