// The section object bridge over a copy of the sample catalogue: section
// objects from catalogue keys, conversions both ways, double angles added
// to the catalogue, the selection hook, and the section list's repair.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "objects/data/CISectionElement.h"
#include "objects/data/CISectionLst.h"
#include "platform/TelKrnl.h"
#include "sections/CSectionsDBDlg.h"
#include "sections/SectionFamilies.h"
#include "sections/SectionObjectBridge.h"
#include "sections/SectionsTools/SMDB.h"
#include "support/DataRecords.h"
#include "support/TempDir.h"

using namespace TELMARO_DATA_OBJECTS;
using GE_::Safe::PtrStrong;
using telio_test::TempDir;

namespace {

namespace fs = std::filesystem;

const ulong32 kIpe300 = 12011;

// The kernel's data folder holds a copy of the sample catalogue (double
// angles added by a test go to the copy).
class Bridge : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(suite_.File("FilesSectionDB"));
    for (const auto& f : fs::directory_iterator(TELIO_SOURCE_DIR "/data/FilesSectionDB")) {
      fs::copy_file(f.path(), suite_.File("FilesSectionDB/" + f.path().filename().string()));
    }
    SetGDirs(suite_.path().c_str());
  }
  void TearDown() override {
    SetGDirs(nullptr);
    FreeSMDBSectionFiles();
    SetSectionChooser(SectionChooser());
  }
  CSectionFiles& Catalogue() {
    CSectionFiles* c = GetSMDBKernelCatalogue();
    EXPECT_NE(nullptr, c);
    return *c;
  }

  TempDir suite_;
};

PtrStrong<CConElmData_base> DoubleAngleObj(const char* name, int family) {
  PtrStrong<CConElmData_base> obj(new CConElmData_base);
  obj->SetIData(130, family);
  obj->SetIData(351, 1);
  obj->SetStrData(1001, name);
  return obj;
}

TEST_F(Bridge, EveryCatalogueSectionConvertsBothWaysWithItsKey) {
  const CSectionFiles& catalogue = Catalogue();
  ASSERT_GT(catalogue.GetCount(), 200);
  for (int i = 0; i < catalogue.GetCount(); ++i) {
    const CSectionData& d = *catalogue.GetAt(i);
    PtrStrong<CConElmData_base> obj = GetSMDBSectionDataObj(d.family, 0, d.key, nullptr);
    ASSERT_FALSE(obj.IsNull()) << d.name;
    EXPECT_EQ(50010, obj->GetIDataValue(102));
    PtrStrong<CISectionData> data = GetSectionDataFromObj(obj.GetPtr());
    ASSERT_FALSE(data.IsNull());
    EXPECT_EQ(d.key, data->Section()) << d.name;
    EXPECT_EQ(static_cast<ulong32>(d.family), data->Family());
    EXPECT_EQ(d.Name(), data->Name());
    const auto& e = static_cast<const CISectionElement&>(*data);
    EXPECT_EQ(d.h, e.HeightFront());
    EXPECT_EQ(d.b, e.WidthUp());  // from the bottom width's key
    EXPECT_EQ(d.tf, e.TFlangeUp());
    EXPECT_EQ(d.A, e.Ax());
    EXPECT_EQ(d.Iz, e.Iz());
    EXPECT_EQ(d.G, e.G());

    // Back to an object and again to data: nothing is lost.
    PtrStrong<CISectionData> again = GetSectionDataFromObj(GetSectionObjFromData(data).GetPtr());
    EXPECT_TRUE(data->IsEqualWith(again.GetPtr())) << d.name;
    EXPECT_EQ(data->CheckSum(), again->CheckSum());
  }
}

TEST_F(Bridge, SectionDataGoesToItsKeys) {
  PtrStrong<CISectionData> data = CISectionElement::GetNewObject();
  auto& e = static_cast<CISectionElement&>(*data);
  e.SetSection(77, 99, "X", 0.5, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 3, 21, 22, 23,
               24, 25);
  e.SetSectionWeight(26);
  PtrStrong<CConElmData_base> obj = GetSectionObjFromData(data);
  EXPECT_EQ(77, obj->GetIDataValue(101));
  EXPECT_EQ(77, obj->GetIDataValue(131));
  EXPECT_EQ(50010, obj->GetIDataValue(102));
  EXPECT_EQ(99, obj->GetIDataValue(130));
  EXPECT_EQ(3, obj->GetIDataValue(351));
  EXPECT_EQ(CString("X"), obj->GetStrDataValue(1001));
  // HeightFront 1 -> 511, WidthUp 3 -> 526, RadIn 8 -> 517, AngleIn 22 ->
  // 576, AngleOut 23 -> 575, Ay 13 -> 950, Iy 16 -> 507, G 26 -> 952.
  EXPECT_EQ(1, obj->GetFDataValue(511));
  EXPECT_EQ(3, obj->GetFDataValue(526));
  EXPECT_EQ(8, obj->GetFDataValue(517));
  EXPECT_EQ(22, obj->GetFDataValue(576));
  EXPECT_EQ(23, obj->GetFDataValue(575));
  EXPECT_EQ(13, obj->GetFDataValue(950));
  EXPECT_EQ(16, obj->GetFDataValue(507));
  EXPECT_EQ(26, obj->GetFDataValue(952));
  EXPECT_EQ(0.0, GetSectionDataFromObj(obj.GetPtr())->BAnnet());

  // Without the upper keys the upper width and flange come from the lower.
  obj->RemoveFData(526);
  obj->RemoveFData(527);
  PtrStrong<CISectionData> back = GetSectionDataFromObj(obj.GetPtr());
  EXPECT_EQ(4.0, static_cast<CISectionElement&>(*back).WidthUp());
  EXPECT_EQ(6.0, static_cast<CISectionElement&>(*back).TFlangeUp());
  EXPECT_TRUE(GetSectionObjFromData(PtrStrong<CISectionData>()).IsNull());
  EXPECT_TRUE(GetSectionDataFromObj(nullptr).IsNull());
}

TEST_F(Bridge, MissingKeysFoldersAndTopologyFamiliesGiveNull) {
  EXPECT_TRUE(GetSMDBSectionDataObj(12, 0, 0, nullptr).IsNull());
  EXPECT_TRUE(GetSMDBSectionDataObj(104, 0, 0, nullptr).IsNull());
  EXPECT_TRUE(GetSMDBSectionDataObj(12, 0, 999, nullptr).IsNull());
  EXPECT_TRUE(GetSMDBSectionDataObj(12, 99, 0, nullptr).IsNull());

  // By sub-number: the third IPE of the catalogue.
  PtrStrong<CConElmData_base> third = GetSMDBSectionDataObj(12, 3, 0, nullptr);
  ASSERT_FALSE(third.IsNull());
  EXPECT_EQ(CString("IPE120"), third->GetStrDataValue(1001));
  EXPECT_EQ(12003, third->GetIDataValue(131));

  // A topology section gives its name to the topology families.
  TOP_SEC sec{};
  sec.SetName("TAPER1");
  PtrStrong<CConElmData_base> tapered = GetSMDBSectionDataObj(80, 0, 0, &sec);
  ASSERT_FALSE(tapered.IsNull());
  EXPECT_EQ(CString("TAPER1"), tapered->GetStrDataValue(1001));

  // A failed store leaves the object as it was; key 0 and family 0 clear.
  CConElmData_base obj;
  ASSERT_EQ(1, StoreSMDBSectionID(&obj, 12, 0, kIpe300, nullptr));
  const ulong32 before = obj.PFData()->CheckSum();
  EXPECT_EQ(0, StoreSMDBSectionID(&obj, 12, 0, 999, nullptr));
  EXPECT_EQ(before, obj.PFData()->CheckSum());
  EXPECT_EQ(CString("IPE300"), obj.GetStrDataValue(1001));
  EXPECT_EQ(1, StoreSMDBSectionID(&obj, 0, 0, 0, nullptr));
  EXPECT_EQ(nullptr, obj.GetIData(131));
  EXPECT_EQ(0, obj.PFData()->GetCount());

  SetGDirs(nullptr);
  EXPECT_TRUE(GetSMDBSectionDataObj(12, 0, kIpe300, nullptr).IsNull());
}

TEST_F(Bridge, DoubleAngleIsAddedOnceAndKept) {
  const int before = Catalogue().GetCount();
  PtrStrong<CConElmData_base> first = DoubleAngleObj("2L50x50x5B/10", 99);
  ASSERT_EQ(1, RefreshSMDBSectionObj(first.GetPtr()));
  EXPECT_EQ(before + 1, Catalogue().GetCount());
  const long32 key = first->GetIDataValue(131);
  EXPECT_GE(key, static_cast<long32>(kFirstUserKey));
  EXPECT_EQ(99, first->GetIDataValue(130));
  EXPECT_GT(first->GetFDataValue(501), 9.0);  // two L50x50x5: 2 x 4.8 cm2
  EXPECT_EQ(10.0, first->GetFDataValue(572));

  PtrStrong<CConElmData_base> second = DoubleAngleObj("2L50x50x5B/10", 33);
  ASSERT_EQ(1, RefreshSMDBSectionObj(second.GetPtr()));
  EXPECT_EQ(key, second->GetIDataValue(131));
  EXPECT_EQ(before + 1, Catalogue().GetCount());

  // The catalogue file keeps it for the next load.
  FreeSMDBSectionFiles();
  EXPECT_EQ(before + 1, Catalogue().GetCount());
  EXPECT_TRUE(Catalogue().ExistSection("2L50x50x5B/10"));

  // Names that fit no pattern, and other families, change nothing.
  PtrStrong<CConElmData_base> bad = DoubleAngleObj("2L50x50", 99);
  PtrStrong<CConElmData_base> notPair = DoubleAngleObj("2L60x60x6B/8", 12);
  EXPECT_EQ(0, RefreshSMDBSectionObj(bad.GetPtr()));
  EXPECT_EQ(0, RefreshSMDBSectionObj(notPair.GetPtr()));
  EXPECT_EQ(nullptr, bad->GetIData(131));
  EXPECT_EQ(before + 1, Catalogue().GetCount());
}

TEST_F(Bridge, SelectionNeedsAHostChooser) {
  CConElmData_base obj;
  obj.SetIData(130, 12);
  obj.SetIData(131, static_cast<long32>(kIpe300));
  obj.SetIData(133, 118);
  EXPECT_EQ(0, SelectSMDBSectionDlg(&obj));
  EXPECT_EQ(nullptr, obj.GetStrData(1001));
  EXPECT_EQ(0, SelectSMDBSectionDlg(nullptr));

  SectionSearch seen;
  SetSectionChooser([&seen](const CSectionFiles& catalogue, const SectionSearch& search, int) {
    seen = search;
    return catalogue.FindSection("HEB200");
  });
  ASSERT_EQ(1, SelectSMDBSectionDlg(&obj));
  EXPECT_EQ(12, seen.family);
  EXPECT_EQ(kIpe300, seen.key);
  EXPECT_EQ(118, seen.filter);
  EXPECT_EQ(CString("HEB200"), obj.GetStrDataValue(1001));
  EXPECT_EQ(14, obj.GetIDataValue(130));
  EXPECT_EQ(6, obj.GetIDataValue(351));  // the sixth HEB
  EXPECT_EQ(118, obj.GetIDataValue(133));

  SetSectionChooser([](const CSectionFiles&, const SectionSearch&, int) { return ulong32{0}; });
  EXPECT_EQ(0, SelectSMDBSectionDlg(&obj));
  EXPECT_EQ(CString("HEB200"), obj.GetStrDataValue(1001));
}

TEST_F(Bridge, MemberRecordTakesTheCatalogueSection) {
  MEM_REC member{};
  ASSERT_EQ(1, StoreSMDBSectionID(&member, 12, 11, kIpe300, nullptr));
  EXPECT_EQ(kIpe300, member.CatalogueKey());
  EXPECT_EQ(12, member.Family());
  EXPECT_EQ(11, member.SubNumber());
  EXPECT_EQ(CString("IPE300"), member.SectionName());
  EXPECT_FLOAT_EQ(300.0f, telio::RecF32(member.bytes, 99));  // F 511
  EXPECT_EQ(0, StoreSMDBSectionID(&member, 12, 0, 999, nullptr));
  EXPECT_EQ(kIpe300, member.CatalogueKey());
}

TEST_F(Bridge, SectionListIsRepairedFromTheCatalogue) {
  CISectionLst list;
  PtrStrong<CISectionData> byName = CISectionData::GetNewObject();
  byName->SetSection(1, 12, 0);  // a stale key
  byName->SetName("ipe300");
  byName->SetID(8);
  PtrStrong<CISectionData> unknown = CISectionData::GetNewObject();
  unknown->SetSection(5, 12, 0);
  unknown->SetName("NOSUCH");
  unknown->SetID(9);
  PtrStrong<CISectionData> pair = CISectionData::GetNewObject();
  pair->SetSection(0, 99, 1);
  pair->SetName("2L100x100x10D/12");
  ASSERT_TRUE(list.Add(byName) && list.Add(unknown) && list.Add(pair));
  EXPECT_EQ(2, list.FixeSectionFromDB());
  EXPECT_EQ(kIpe300, byName->Section());
  EXPECT_EQ(CString("IPE300"), byName->Name());
  EXPECT_EQ(0u, byName->ID());
  EXPECT_EQ(0u, byName->Flags());
  EXPECT_EQ(0x1u, unknown->Flags());
  EXPECT_EQ(5u, unknown->Section());
  EXPECT_EQ(9u, unknown->ID());
  EXPECT_GE(pair->Section(), kFirstUserKey);
  EXPECT_EQ(99u, pair->Family());
  EXPECT_EQ(1u, pair->Profile());

  // FindSection compares by value.
  CISectionData probe;
  probe.SetSection(kIpe300, 12, 0);
  probe.SetName("IPE300");
  EXPECT_EQ(byName.GetPtr(), list.FindSection(&probe).GetPtr());
  probe.SetSection(kIpe300, 12, 1);
  EXPECT_TRUE(list.FindSection(&probe).IsNull());

  // Without the catalogue every section is flagged and kept.
  SetGDirs(nullptr);
  EXPECT_EQ(0, list.FixeSectionFromDB());
  EXPECT_EQ(0x1u, byName->Flags());
  EXPECT_EQ(kIpe300, byName->Section());
}

}  // namespace
