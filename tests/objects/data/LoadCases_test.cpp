#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "objects/data/CILoadCaseLstSyn.h"
#include "objects/data/CILoadCaseValues.h"
#include "support/LoadCaseRecords.h"

using namespace TELMARO_DATA_OBJECTS;
using GE_::Safe::PtrStrong;
using telio_test::ByteWriter;

namespace {

typedef PtrStrong<CILoadCase> LoadCasePtr;
typedef PtrStrong<CILoadCaseLstSyn> SynPtr;
typedef PtrStrong<CILoadCaseValuesLst> ValuesPtr;

LoadCasePtr LC(const char* name, ulong32 flags = 0) { return LoadCasePtr(new CILoadCase(name, flags)); }

std::vector<std::string> Names(const CILoadCaseLst& list) {
  std::vector<std::string> names;
  for (int i = 0; i < list.GetCount(); ++i) names.push_back(list.GetLoadCaseAt(i)->Name().str());
  return names;
}

TEST(LoadCaseNames, ValidNames) {
  CILoadCaseLst list;
  struct Row {
    const char* given;
    const char* result;
    int valid;
  };
  // Empty list.
  for (const Row& r : {Row{"", "lc1", 1}, Row{"Dead", "Dead", 1}, Row{"abcdefghijklmnopqrst", "abcdefghijklmnopqrst", 1},
                       Row{"abcdefghijklmnopqrstu", "lc1", 0}}) {
    CString name = r.given;
    EXPECT_EQ(r.valid, list.GetValidLCName(name, -1)) << r.given;
    EXPECT_EQ(std::string(r.result), name.str()) << r.given;
  }
  for (const char* n : {"Dead", "LC1", "lc3"}) list.AddLoadCase(LC(n));
  for (const Row& r : {Row{"DEAD", "lc2", 0}, Row{"", "lc2", 0}, Row{"Wind", "Wind", 1}, Row{"Lc3", "lc2", 0},
                       Row{"abcdefghijklmnopqrstuvwxyz", "lc2", 0}}) {
    CString name = r.given;
    EXPECT_EQ(r.valid, list.GetValidLCName(name, -1)) << r.given;
    EXPECT_EQ(std::string(r.result), name.str()) << r.given;
  }
  // A load case keeps its own name when it is the one skipped.
  CString own = "dead";
  EXPECT_EQ(1, list.GetValidLCName(own, 0));
  EXPECT_EQ("dead", own.str());
}

TEST(LoadCaseList, EditsAndIdentity) {
  CILoadCaseLst list;
  LoadCasePtr given = LC("Dead", 4);
  given->SetID(7);
  given->SetAttr(0x30, 0);
  ASSERT_EQ(1, list.AddLoadCase(given));
  LoadCasePtr held = list.GetLoadCaseAt(0);
  EXPECT_NE(given.GetPtr(), held.GetPtr());  // a copy
  EXPECT_EQ(7u, held->ID());
  EXPECT_EQ(4u, held->Flags());
  EXPECT_EQ(0u, held->Attr());
  EXPECT_EQ(0, list.AddLoadCase(LoadCasePtr()));

  // Found ignoring case, the flag word counting.
  EXPECT_EQ(held.GetPtr(), list.FindLoadCase(LC("DEAD", 4)).GetPtr());
  EXPECT_TRUE(list.FindLoadCase(LC("Dead", 0)).IsNull());

  list.AddLoadCase(LC("Wind"));
  EXPECT_EQ(0, list.ChangeLoadCaseAt(1, LC("dead", 4)));  // would make a duplicate
  EXPECT_EQ(0, list.ChangeLoadCaseAt(2, LC("Snow")));
  EXPECT_EQ(1, list.ChangeLoadCaseAt(1, LC("Snow")));
  EXPECT_EQ((std::vector<std::string>{"Dead", "Snow"}), Names(list));

  EXPECT_EQ(0, list.RemoveLoadCaseAt(-1));
  EXPECT_EQ(0, list.RemoveLoadCaseAt(2));
  EXPECT_EQ(2, list.GetCount());

  // The checksum of a load case is that of its name alone.
  CCheckSum name;
  name.Add(CString("Dead"));
  EXPECT_EQ(name.get(), held->CheckSum());
  EXPECT_EQ(held->CheckSum(), LC("Dead", 99)->CheckSum());
}

TEST(LoadCaseValues, ValuesAndComparison) {
  CILoadCaseValues a, b;
  a.SetElement("Dead", 2, 0x1);
  b.SetElement("dead", 2, 0x8);
  EXPECT_EQ(0, a.Exists());
  *a.LCValuePtr(5) = 1.0;
  *b.LCValuePtr(5) = 1.0005;
  EXPECT_EQ(1, a.Exists());
  EXPECT_TRUE(a.IsEqualWith(&b));  // attribute words differ: still equal
  *b.LCValuePtr(5) = 1.002;
  EXPECT_FALSE(a.IsEqualWith(&b));
  EXPECT_EQ(0.0, a.LCValue(6));
  a.ClearValues();
  EXPECT_EQ(1, a.Values().GetCount());
  EXPECT_EQ(0.0, a.LCValue(5));

  // The checksum: the name's checksum, then the map's.
  CCheckSum expect;
  expect.AddU32(static_cast<const CILoadCase&>(a).CILoadCase::CheckSum());
  expect.AddU32(a.Values().CheckSum());
  EXPECT_EQ(expect.get(), a.CheckSum());
}

// Records built from the layout.
TEST(LoadCaseValues, RecordSkipsKeyZeroAndSavesInMapOrder) {
  ByteWriter record;
  telio_test::PutValueSet(record, telio_test::ValueSet(4, "Wind", 2, {{1, 2.5}, {0, 9.0}, {18, -1.0}, {1, 3.0}}));
  CILoadCaseValues v;
  ASSERT_TRUE(telio_test::LoadRecord(v, record));
  EXPECT_EQ("Wind", v.Name().str());
  EXPECT_EQ(4u, v.ID());
  EXPECT_EQ(2, v.Values().GetCount());
  EXPECT_EQ(3.0, v.LCValue(1));  // a key read twice keeps its last value
  ByteWriter expect;
  telio_test::PutValueSet(expect, telio_test::ValueSet(4, "Wind", 2, {{1, 3.0}, {18, -1.0}}));
  EXPECT_EQ(expect.data(), telio_test::SavedRecord(v));

  // Another version leaves the value set reset.
  ByteWriter later;
  later.u32(2);
  later.append(record);
  ASSERT_TRUE(telio_test::LoadRecord(v, later));
  EXPECT_TRUE(v.Name().IsEmpty());
  EXPECT_EQ(0, v.Exists());

  // A negative count is an empty map.
  ByteWriter negative;
  telio_test::PutValueSet(negative, telio_test::ValueSet(0, "A", 0, {}));
  negative.put_u32(negative.size() - 4, 0xFFFFFFFFu);
  ASSERT_TRUE(telio_test::LoadRecord(v, negative));
  EXPECT_EQ("A", v.Name().str());
  EXPECT_EQ(0, v.Exists());
}

// A record goes through the stream's buffer in one piece when it fits
// there and field by field when it does not: the bytes, and what loads, are
// the same. Forty values outgrow the map's inline entries and the record
// the stack buffer of a save.
TEST(LoadCaseValues, RecordsAreTheSameThroughAnyStreamBuffer) {
  for (int count : {6, 40}) {
    std::vector<std::pair<int32_t, double>> values;
    for (int k = 1; k <= count; ++k) values.push_back({k * 6, k * 0.5});  // in bucket order
    ByteWriter record;
    telio_test::PutValueSet(record, telio_test::ValueSet(3, "Snow", 1, values));
    CILoadCaseValues buffered, unbuffered;
    ASSERT_TRUE(telio_test::LoadRecord(buffered, record));
    FILE* f = telio_test::StreamOf(record);
    std::setvbuf(f, nullptr, _IONBF, 0);
    ASSERT_TRUE(unbuffered.Serialize(f, true));
    std::fclose(f);
    EXPECT_EQ(buffered.CheckSum(), unbuffered.CheckSum()) << count;
    EXPECT_EQ(record.data(), telio_test::SavedRecord(buffered)) << count;

    f = std::tmpfile();
    std::setvbuf(f, nullptr, _IONBF, 0);
    ASSERT_TRUE(unbuffered.Serialize(f, false));
    std::vector<uint8_t> bytes(static_cast<size_t>(std::ftell(f)));
    std::rewind(f);
    ASSERT_EQ(bytes.size(), std::fread(bytes.data(), 1, bytes.size(), f));
    std::fclose(f);
    EXPECT_EQ(record.data(), bytes) << count;
  }
}

TEST(LoadCaseLists, RecordsKeepDuplicatesInLoadCaseListsOnly) {
  CILoadCaseLst cases;
  ByteWriter record;
  telio_test::PutLoadCaseLst(record, {{1, "Dead", 0, 0}, {2, "dead", 0, 0}, {3, "Wind", 0, 0}});
  ASSERT_TRUE(telio_test::LoadRecord(cases, record));
  EXPECT_EQ((std::vector<std::string>{"Dead", "dead", "Wind"}), Names(cases));
  EXPECT_EQ(record.data(), telio_test::SavedRecord(cases));

  CILoadCaseValuesLst values;
  ByteWriter valueRecord;
  telio_test::PutValueLst(valueRecord, {telio_test::ValueSet(1, "Dead", 0, {{1, 1.0}}), telio_test::ValueSet(2, "DEAD", 0, {})});
  ASSERT_TRUE(telio_test::LoadRecord(values, valueRecord));
  ASSERT_EQ(1, values.GetCount());
  EXPECT_EQ(1.0, values.GetLCValuesAt(0)->LCValue(1));
}

TEST(LoadCaseSync, ValueListsFollowTheirList) {
  SynPtr cases(new CILoadCaseLstSyn);
  cases->AddLoadCase(LC("Dead"));
  ValuesPtr values(new CILoadCaseValuesLst);
  values->SynchronizeLCValues(cases.GetPtr());
  EXPECT_EQ(0, values->GetCount());  // made on demand
  EXPECT_EQ(nullptr, values->FindLCValuesFor(0));
  CILoadCaseValues* dead = values->CreateLCValuesFor(0);
  ASSERT_NE(nullptr, dead);
  EXPECT_EQ(dead, values->CreateLCValuesFor(0));
  EXPECT_EQ(nullptr, values->CreateLCValuesFor(1));

  cases->AddLoadCase(LC("Wind"));
  ASSERT_EQ(2, values->GetCount());
  EXPECT_EQ("Wind", values->GetLCValuesAt(1)->Name().str());

  // Removing every load case at once leaves the value sets until the next
  // synchronisation.
  EXPECT_EQ(1, cases->RemoveLoadCasesAll());
  EXPECT_EQ(2, values->GetCount());
  values->SynchronizeLCValues(cases.GetPtr());
  EXPECT_EQ(0, values->GetCount());

  // A value list that dies is no longer told; one given no list empties.
  cases->AddLoadCase(LC("Snow"));
  ValuesPtr other(new CILoadCaseValuesLst);
  other->SynchronizeLCValues(cases.GetPtr());
  EXPECT_EQ(2, cases->GetCountValueLists());
  other.Reset();
  EXPECT_EQ(1, cases->GetCountValueLists());
  cases->AddLoadCase(LC("Live"));
  EXPECT_EQ(2, values->GetCount());
  values->SynchronizeLCValues(nullptr);
  EXPECT_EQ(0, values->GetCount());
  EXPECT_EQ(0, cases->GetCountValueLists());
}

TEST(LoadCaseSync, LoadedValuesSurviveTheFirstSynchronisation) {
  ByteWriter record;
  telio_test::PutValueLst(record, {telio_test::ValueSet(0, "Dead", 0, {{1, 5.0}}), telio_test::ValueSet(0, "Gone", 0, {{1, 6.0}})});
  ValuesPtr values(new CILoadCaseValuesLst);
  ASSERT_TRUE(telio_test::LoadRecord(*values, record));
  SynPtr cases(new CILoadCaseLstSyn);
  cases->AddLoadCase(LC("dead"));
  values->SynchronizeLCValues(cases.GetPtr());
  ASSERT_EQ(1, values->GetCount());
  EXPECT_EQ(5.0, values->FindLCValuesFor(0)->LCValue(1));
}

// Random edits of a synchronising list, beside a plain model of it: every
// value list attached holds one value set per load case, in the list's
// order, with the values it was given.
class LoadCaseModel {
 public:
  explicit LoadCaseModel(unsigned seed) : rng_(seed), cases_(new CILoadCaseLstSyn) {}

  void Step() {
    switch (Pick(9)) {
      case 0:
      case 1:
        Add();
        break;
      case 2:
        Remove();
        break;
      case 3:
        Rename();
        break;
      case 4:
        Move();
        break;
      case 5:
        SetValue();
        break;
      case 6:
        Attach();
        break;
      case 7:
        if (!lists_.empty() && Pick(3) == 0) lists_.erase(lists_.begin() + Pick(static_cast<int>(lists_.size())));
        break;
      default:
        if (Pick(8) == 0) RemoveAll();
        break;
    }
  }

  void Check() const {
    ASSERT_EQ(names_, Names(*cases_));
    for (const Attached& a : lists_) {
      ASSERT_EQ(names_, Names(*a.list));
      for (int i = 0; i < a.list->GetCount(); ++i) {
        const CILoadCaseValues* v = a.list->GetLCValuesAt(i);
        auto it = a.values.find(names_[i]);
        const double expect = it == a.values.end() ? 0.0 : it->second;
        ASSERT_EQ(expect, v->LCValue(1)) << names_[i];
        ASSERT_EQ(it == a.values.end() ? 0 : 1, v->Exists());
      }
    }
  }

 private:
  struct Attached {
    ValuesPtr list;
    std::map<std::string, double> values;
  };

  int Pick(int n) { return static_cast<int>(rng_() % static_cast<unsigned>(n)); }
  int AnyIndex() { return Pick(static_cast<int>(names_.size()) + 2) - 1; }  // -1 ... count
  CString NewName() {
    static const char* kBases[] = {"Dead", "dead", "Wind", "", "Snow", "lc2"};
    CString name = kBases[Pick(6)];
    cases_->GetValidLCName(name, -1);
    return name;
  }

  void Add() {
    CString name = NewName();
    ASSERT_EQ(1, cases_->AddLoadCase(LC(name)));
    names_.push_back(name.str());
  }
  void Remove() {
    int i = AnyIndex();
    const bool inside = i >= 0 && i < static_cast<int>(names_.size());
    ASSERT_EQ(inside ? 1 : 0, cases_->RemoveLoadCaseAt(i));
    if (!inside) return;
    for (Attached& a : lists_) a.values.erase(names_[i]);
    names_.erase(names_.begin() + i);
  }
  void Rename() {
    int i = AnyIndex();
    const bool inside = i >= 0 && i < static_cast<int>(names_.size());
    const bool taken = Pick(4) == 0 && !names_.empty();
    CString name = taken ? CString(names_[Pick(static_cast<int>(names_.size()))].c_str()) : NewName();
    ASSERT_EQ(inside && !taken ? 1 : 0, cases_->ChangeLoadCaseAt(i, LC(name))) << i;
    if (!inside || taken) return;
    for (Attached& a : lists_) {
      auto it = a.values.find(names_[i]);
      if (it == a.values.end()) continue;
      double v = it->second;
      a.values.erase(it);
      a.values[name.str()] = v;
    }
    names_[i] = name.str();
  }
  void Move() {
    const int n = static_cast<int>(names_.size());
    int from = Pick(n + 1), to = Pick(n + 1);
    if (cases_->MoveLoadCase(from, to) < 0) return;
    std::string name = names_[from];
    names_.erase(names_.begin() + from);
    names_.insert(names_.begin() + (to > from ? to - 1 : to), name);
  }
  void SetValue() {
    if (lists_.empty() || names_.empty()) return;
    Attached& a = lists_[Pick(static_cast<int>(lists_.size()))];
    int i = Pick(static_cast<int>(names_.size()));
    double v = 1 + Pick(1000);
    *a.list->FindLCValuesFor(i)->LCValuePtr(1) = v;
    a.values[names_[i]] = v;
  }
  void Attach() {
    Attached a{ValuesPtr(new CILoadCaseValuesLst), {}};
    a.list->SynchronizeLCValues(cases_.GetPtr());
    // Value sets made on demand, in any order, end in the list's order.
    std::vector<int> order;
    for (int i = 0; i < static_cast<int>(names_.size()); ++i) order.push_back(i);
    std::shuffle(order.begin(), order.end(), rng_);
    for (int i : order) ASSERT_NE(nullptr, a.list->CreateLCValuesFor(i));
    lists_.push_back(a);
  }
  void RemoveAll() {
    ASSERT_EQ(1, cases_->RemoveLoadCasesAll());
    for (Attached& a : lists_) {
      a.list->SynchronizeLCValues(cases_.GetPtr());
      a.values.clear();
    }
    names_.clear();
  }

  std::mt19937 rng_;
  SynPtr cases_;
  std::vector<std::string> names_;
  std::vector<Attached> lists_;
};

TEST(LoadCaseSync, RandomEditsKeepEveryValueListInStep) {
  for (unsigned seed : {1u, 2u, 3u, 4u}) {
    LoadCaseModel model(seed);
    for (int step = 0; step < 1500; ++step) {
      model.Step();
      ASSERT_NO_FATAL_FAILURE(model.Check()) << "seed " << seed << " step " << step;
    }
  }
}

}  // namespace
