#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "connections/CCONElementsList.h"
#include "connections/CConElmData_base.h"
#include "platform/Alloc.h"
#include "platform/CArchive.h"
#include "platform/LastError.h"
#include "support/ConnectionFixture.h"

using GE_::Safe::PtrStrong;
using telio_test::ByteWriter;

namespace {

typedef PtrStrong<CConElmData_base> Elm;

Elm Identified(int id) {
  Elm e(new CConElmData_base);
  e->SetIData(101, id);
  return e;
}

// Every entry of map a is in b with the same value, both hold as many, and
// both iterate in the same order (their checksums follow it).
template <class Map>
void ExpectSameMap(const Map& a, const Map& b) {
  EXPECT_EQ(a.GetCount(), b.GetCount());
  typename Map::KeyType key;
  typename Map::ValueType value;
  for (POSITION p = a.GetStartPosition(); p;) {
    a.GetNextAssoc(p, key, value);
    ASSERT_TRUE(b.PLookup(key)) << key;
    EXPECT_TRUE(*b.PLookup(key) == value) << key;
  }
  EXPECT_EQ(a.CheckSum(), b.CheckSum());
}

void ExpectSameMaps(const CConElmData_base& a, const CConElmData_base& b) {
  ExpectSameMap(*a.PBData(), *b.PBData());
  ExpectSameMap(*a.PIData(), *b.PIData());
  ExpectSameMap(*a.PFData(), *b.PFData());
  ExpectSameMap(*a.PStrData(), *b.PStrData());
}

std::vector<double> Placement(const CConElmPos_base& p) {
  return {1.0 * p.GetOrgX(),   1.0 * p.GetOrgY(), 1.0 * p.GetOrgZ(), 1.0 * p.GetVFront(),
          1.0 * p.GetVRight(), 1.0 * p.GetVTop(), p.GetDx(),         p.GetDy(),
          p.GetDz(),           p.GetRotX(),       p.GetRotY(),       p.GetRotZ()};
}

TEST(CConElmData_base, ValuesMissingKeysAndCopies) {
  CConElmData_base e;
  EXPECT_EQ(e.GetFData(510), nullptr);
  EXPECT_EQ(e.GetFDataValue(510), 0.0);
  EXPECT_EQ(e.GetStrDataValue(1001), "");
  e.SetIData(101, 50030);
  e.SetFData(511, 2.5);
  e.SetStrData(1001, "PL 10");
  *e.GetFData(511) += 1.0;  // builders write through the pointers
  EXPECT_EQ(e.GetFDataValue(511), 3.5);

  CConElmData_base other;
  other.SetFData(511, -1.0);
  other.SetFData(600, 4.0);
  CConElmData_base merged(e);
  merged.EqualDataTo(other);  // takes 511 and 600, keeps the rest
  EXPECT_EQ(merged.GetFDataValue(511), -1.0);
  EXPECT_EQ(merged.GetFDataValue(600), 4.0);
  EXPECT_EQ(merged.GetStrDataValue(1001), "PL 10");
  merged.EqualTo(other);  // becomes other
  ExpectSameMaps(other, merged);
}

TEST(CConElmPos_base, OppositeViewsAndPlacement) {
  CConElmPos_base p;
  EXPECT_EQ(p.GetVFront(), -1);
  EXPECT_EQ(p.GetVBack(), -1);
  p._SetPos(4, 1, 2, 1, 2, 3, 0.5, 1.5, 2.5, 10, 20, 30);
  EXPECT_EQ(p.GetVBack(), 5);
  EXPECT_EQ(p.GetVLeft(), 0);
  EXPECT_EQ(p.GetVBottom(), 3);
  p._SetPos(6, 5, 3, 0, 0, 0, 0, 0, 0, 0, 0, 0);
  EXPECT_EQ(p.GetVBack(), -1);
  EXPECT_EQ(p.GetVLeft(), 4);
  EXPECT_EQ(p.GetVBottom(), 2);
}

TEST(CCONElementsList, CapacityAppendAndLookup) {
  CCONElementsList full, ten, list;
  for (int k = 0; k < 995; ++k) full.Add(Identified(k));
  for (int k = 0; k < 10; ++k) ten.Add(Identified(2000 + k));
  EXPECT_EQ(full.Append(ten), 0);
  EXPECT_EQ(full.GetCount(), 995);
  EXPECT_EQ(ten.GetCount(), 10);
  full.RemoveAt(0);
  for (int k = 0; k < 4; ++k) full.Remove();
  ASSERT_EQ(full.GetCount(), 990);
  EXPECT_NE(full.Append(&ten), 0);
  EXPECT_TRUE(full.IsFull());
  EXPECT_EQ(full.GetElementPtr(990), ten.GetElementPtr(0));  // shared, not copied
  EXPECT_EQ(full.Add(Identified(1)), 0);
  EXPECT_EQ(list.Append(CCONElementsList()), 0);

  list.Add(Elm(new CConElmData_base));  // no identifier
  list.Add(Identified(7));
  list.Add(Identified(8));
  list.Add(Identified(7));
  EXPECT_EQ(list.FindPosByID(7), 1);
  EXPECT_EQ(list.FindPosByID(0), -1);
  EXPECT_EQ(list.FindElmByID(8), list.GetElementPtr(2));
  EXPECT_EQ(list.RemoveAt(1), 1);
  EXPECT_EQ(list.FindPosByID(7), 2);  // the gap closed
  EXPECT_EQ(list.RemoveAt(3), 0);
  EXPECT_EQ(list.GetElementPtr(3), nullptr);

  GE_::Safe::PtrWeak<CConElmData_base> watch(list.GetElement(1));
  CCONElementsList copy;
  copy = &list;
  list.Empty();
  EXPECT_FALSE(watch.IsNull());  // the copy shares it
  copy.Empty();
  EXPECT_TRUE(watch.IsNull());
  EXPECT_EQ(copy.Remove(), 0);
}

TEST(CCONPOSElementsLst, LookupExportAndImport) {
  CCONPOSElementsLst list;
  for (int id : {3, 0, 4, 3}) {
    PtrStrong<CCONElementIntf> entry(new CCONElementIntf);
    if (id) entry->SetData(Identified(id));
    entry->SetPos(new CConElmPos_base);
    list.Add(entry);
  }
  EXPECT_EQ(list.FindPosByID(3), 0);
  EXPECT_EQ(list.FindPosByID(3, 1), 3);
  EXPECT_EQ(list.FindPosByID(4, -5), 2);
  EXPECT_EQ(list.FindElmDataByID(4), list.GetElmData(2));
  EXPECT_EQ(list.GetElmData(1), nullptr);
  EXPECT_EQ(list.GetElmExtras(0), nullptr);
  EXPECT_NE(list.GetElmPos(0), nullptr);
  EXPECT_TRUE(list.GetElementPtr(1)->IsNull());

  PtrStrong<CCONElementsList> exported(list.ExportList());
  ASSERT_EQ(exported->GetCount(), 2);  // 3 once, 4; the entry without data is skipped
  EXPECT_EQ(exported->GetElementPtr(0), list.GetElmData(0));
  EXPECT_EQ(exported->GetElementPtr(1), list.GetElmData(2));

  CCONPOSElementsLst imported;
  ASSERT_NE(imported.ImportList(exported.GetPtr()), 0);
  ASSERT_EQ(imported.GetCount(), 2);
  EXPECT_EQ(imported.GetElmData(1), list.GetElmData(2));
  EXPECT_EQ(imported.GetElmExtras(1)->PIData()->GetCount(), 0);
  EXPECT_EQ(imported.GetElmPos(1)->GetVTop(), -1);
  EXPECT_EQ(imported.ImportList(nullptr), 0);

  CCONElementIntf deep;
  deep.EqualTo(*list.GetElementPtr(0));
  EXPECT_NE(deep.GetData().GetPtr(), list.GetElmData(0));
  EXPECT_TRUE(deep.GetData()->HasIdentifier(3));
  EXPECT_TRUE(deep.GetExtras().IsNull());
  CCONElementIntf shallow;
  EXPECT_FALSE(shallow.Set(nullptr));
  EXPECT_TRUE(shallow.Set(list.GetElementPtr(0)));
  EXPECT_EQ(shallow.GetData().GetPtr(), list.GetElmData(0));
  shallow.Null();
  EXPECT_TRUE(shallow.IsNull());
}

// An element with every kind of value and texts at the string form's escapes.
Elm FullElement(int id) {
  Elm e(new CConElmData_base);
  e->SetIData(101, id);
  e->SetIData(-7, -123456);
  for (int k = 0; k < 40; ++k) e->SetBData(k * 17, k);  // several per bucket
  e->SetFData(510, -0.1);
  e->SetFData(900, 1e300);
  int key = 1001;
  for (size_t n : {0u, 254u, 255u, 65534u, 65535u, 70000u}) {
    e->SetStrData(key++, CString(std::string(n, static_cast<char>('A' + n % 26))));
  }
  return e;
}

TEST(ConnectionArchive, EveryFormRoundTripsKeyByKey) {
  PtrStrong<CConElmPos_base> pos(new CConElmPos_base);
  pos->EqualTo(*FullElement(9));
  pos->_SetPos(0, 3, 5, -1, 2, 32767, 1.25, -2.5, 3.75, 90, 180, -270);
  CCONPOSElementsLst posList;
  CCONElementsList list;
  for (int k = 0; k < 3; ++k) {
    PtrStrong<CCONElementIntf> entry(new CCONElementIntf);
    entry->SetData(FullElement(50001 + k));
    entry->SetExtras(FullElement(-k));
    entry->SetPos(pos);
    posList.Add(entry);
    list.Add(FullElement(k));
  }

  CArchive out;
  pos->Serialize(out);
  list.Serialize(out);
  posList.Serialize(out);
  ASSERT_TRUE(out.ok());

  CArchive in(out.Buffer(), out.BufferSize());
  CConElmPos_base pos2;
  CCONElementsList list2;
  CCONPOSElementsLst posList2;
  pos2.Serialize(in);
  list2.Serialize(in);
  posList2.Serialize(in);
  ASSERT_EQ(in.Error(), 0u);
  EXPECT_EQ(in.Remaining(), 0u);
  ExpectSameMaps(*pos, pos2);
  EXPECT_EQ(Placement(*pos), Placement(pos2));
  ASSERT_EQ(list2.GetCount(), 3);
  ASSERT_EQ(posList2.GetCount(), 3);
  for (int k = 0; k < 3; ++k) {
    ExpectSameMaps(*list.GetElementPtr(k), *list2.GetElementPtr(k));
    ExpectSameMaps(*posList.GetElmData(k), *posList2.GetElmData(k));
    ExpectSameMaps(*posList.GetElmExtras(k), *posList2.GetElmExtras(k));
    ExpectSameMaps(*posList.GetElmPos(k), *posList2.GetElmPos(k));
    EXPECT_EQ(Placement(*posList.GetElmPos(k)), Placement(*posList2.GetElmPos(k)));
  }
  EXPECT_NE(posList2.GetElmPos(0), posList2.GetElmPos(1));  // each entry has its own
}

TEST(ConnectionArchive, LoadsTheFormsWrittenFromTheLayout) {
  const ByteWriter bytes = telio_test::ArcSamplePosList(3, 300);
  CArchive in(bytes.data().data(), bytes.size());
  CCONPOSElementsLst list;
  list.Serialize(in);
  ASSERT_EQ(in.Error(), 0u);
  ASSERT_EQ(list.GetCount(), 3);
  EXPECT_EQ(list.FindPosByID(50003), 2);
  const CConElmData_base* data = list.GetElmData(1);
  EXPECT_EQ(data->GetIDataValue(123), -1);
  EXPECT_EQ(data->GetFDataValue(510), 13.5);
  EXPECT_EQ(data->GetStrDataValue(1001), CString(std::string(300, 'b')));
  EXPECT_EQ(data->GetBDataValue(41001), 39);
  EXPECT_EQ(list.GetElmExtras(1)->GetFDataValue(900), -1.0);
  const CConElmPos_base* pos = list.GetElmPos(1);
  EXPECT_EQ(pos->GetIDataValue(103), 1);
  EXPECT_EQ(pos->GetOrgZ(), 3);
  EXPECT_EQ(pos->GetVTop(), -1);
  EXPECT_EQ(pos->GetRotZ(), -45.0);

  CArchive out;  // stored again, byte for byte
  list.Serialize(out);
  EXPECT_EQ(std::vector<uint8_t>(out.Buffer(), out.Buffer() + out.BufferSize()), bytes.data());
}

// Every archive form: how to load it (giving how many entries it kept) and
// how to store a valid sample of it from a loaded positioned list.
struct Form {
  const char* name;
  std::function<int(CArchive&)> load;
  std::function<void(CCONPOSElementsLst&, CArchive&)> store;
};

template <class T, class Kept, class Store>
Form MakeForm(const char* name, Kept kept, Store store) {
  return {name,
          [kept](CArchive& ar) {
            T t;
            t.Serialize(ar);
            return kept(t);
          },
          store};
}

std::vector<Form> Forms() {
  typedef CCONPOSElementsLst& L;
  return {
      MakeForm<CConElmData_base>(
          "element", [](const CConElmData_base& e) { return e.PStrData()->GetCount(); },
          [](L l, CArchive& ar) { l.GetElmData(0)->Serialize(ar); }),
      MakeForm<CConElmPos_base>(
          "positioned", [](const CConElmPos_base& e) { return e.PIData()->GetCount(); },
          [](L l, CArchive& ar) { l.GetElmPos(0)->Serialize(ar); }),
      MakeForm<CCONElementsList>(
          "list", [](const CCONElementsList& l) { return l.GetCount(); },
          [](L l, CArchive& ar) { PtrStrong<CCONElementsList>(l.ExportList())->Serialize(ar); }),
      MakeForm<CCONPOSElementsLst>(
          "positioned list", [](const CCONPOSElementsLst& l) { return l.GetCount(); },
          [](L l, CArchive& ar) { l.Serialize(ar); }),
  };
}

std::vector<uint8_t> Sample(const Form& form) {
  CCONPOSElementsLst posList;
  const ByteWriter bytes = telio_test::ArcSamplePosList(3, 260);
  CArchive load(bytes.data().data(), bytes.size());
  posList.Serialize(load);
  CArchive out;
  form.store(posList, out);
  return std::vector<uint8_t>(out.Buffer(), out.Buffer() + out.BufferSize());
}

TEST(ConnectionArchive, TruncatedAtEveryByteFailsWith38) {
  for (const Form& form : Forms()) {
    SCOPED_TRACE(form.name);
    const std::vector<uint8_t> whole = Sample(form);
    for (size_t cut = 0; cut < whole.size(); ++cut) {
      CArchive in(whole.data(), cut);
      const int kept = form.load(in);
      ASSERT_EQ(in.Error(), telio::kErrorHandleEof) << cut;
      if (std::string(form.name).find("list") == std::string::npos) {
        ASSERT_EQ(kept, 0) << cut;
      }
    }
    CArchive in(whole.data(), whole.size());
    EXPECT_GT(form.load(in), 0);
    EXPECT_EQ(in.Error(), 0u);
  }
}

TEST(ConnectionArchive, AllocationFailureAtEverySiteGives8) {
  for (const Form& form : Forms()) {
    SCOPED_TRACE(form.name);
    const std::vector<uint8_t> whole = Sample(form);
    long n = 0;
    for (;; ++n) {
      CArchive in(whole.data(), whole.size());
      telio::FailAllocationsAfter(n);
      form.load(in);
      telio::FailAllocationsAfter(-1);
      if (in.ok()) break;
      ASSERT_EQ(in.Error(), telio::kErrorNotEnoughMemory) << n;
    }
    EXPECT_GT(n, 0);
  }
}

// The fuzz target's seeds, each with the code its load gives; each equals
// its file in fuzz/corpus/connections, which TELIO_WRITE_SEEDS=1 rewrites.
TEST(ConnectionArchive, SeedsLoadWithTheirCodes) {
  const std::string folder = TELIO_SOURCE_DIR "/fuzz/corpus/connections/";
  for (const auto& seed : telio_test::ConnectionSeeds()) {
    SCOPED_TRACE(seed.name);
    if (std::getenv("TELIO_WRITE_SEEDS")) seed.bytes.WriteTo(folder + seed.name);
    EXPECT_EQ(seed.bytes.data(), telio_test::ReadFileBytes(folder + seed.name));
    CArchive in(seed.bytes.data().data(), seed.bytes.size());
    CCONPOSElementsLst list;
    list.Add(PtrStrong<CCONElementIntf>(new CCONElementIntf));  // emptied by the load
    list.Serialize(in);
    EXPECT_EQ(in.Error(), seed.code);
    EXPECT_EQ(list.GetCount(), seed.kept);
  }
}

}  // namespace
