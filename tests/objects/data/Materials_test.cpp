// Grades, materials, studs, composite, purlin and eta data: records,
// equality and checksums.
#include <gtest/gtest.h>

#include "objects/data/CICompositeData.h"
#include "objects/data/CIEtaData.h"
#include "objects/data/CIGradeData.h"
#include "objects/data/CITegidaData.h"
#include "support/DataRecords.h"

using namespace TELMARO_DATA_OBJECTS;
using namespace MATERIAL_OBJECTS;
using telio_test::ByteWriter;
using telio_test::LoadRecord;
using telio_test::SavedRecord;

namespace {

ByteWriter Sample(const std::string& name) {
  for (const auto& s : telio_test::SampleDataRecords()) {
    if (s.first == name) return ByteWriter().bytes(s.second.data().data() + 1, s.second.size() - 1);
  }
  ADD_FAILURE() << name;
  return ByteWriter();
}

TEST(Grade, DefaultsRecordsAndNames) {
  CIGradeData g;
  EXPECT_EQ(1u, g.Grade());
  EXPECT_EQ(0u, g.Profile());
  EXPECT_EQ(CString("S235"), g.GradeName());

  ASSERT_TRUE(LoadRecord(g, Sample("grade_v2")));
  EXPECT_EQ(3u, g.Grade());
  EXPECT_EQ(7u, g.Profile());
  EXPECT_EQ(CString("S355"), g.Name());
  EXPECT_EQ(Sample("grade_v2").data(), SavedRecord(g));

  ASSERT_TRUE(LoadRecord(g, Sample("grade_v1")));
  EXPECT_EQ(2u, g.Grade());
  EXPECT_EQ(0u, g.Profile());

  ByteWriter later = Sample("grade_v2");
  later.put_u32(0, 3);
  ASSERT_TRUE(LoadRecord(g, later));
  EXPECT_EQ(0u, g.Grade());  // cleared before the fields are read
}

TEST(Material, StudsAndCompositeRecords) {
  CICompositeData c;
  ASSERT_TRUE(LoadRecord(c, Sample("composite")));
  EXPECT_EQ(CString("C30/37"), c.FirstMaterial().Name());
  EXPECT_EQ(500.0, c.SecondMaterial().Strength());
  EXPECT_EQ(CString("StudsMaterial"), c.Studs().InternalName());
  EXPECT_EQ(19.0, c.Studs().Diameter());
  EXPECT_EQ(200.0, c.Studs().Distance());
  EXPECT_EQ(15.0, c.Composite_C4Factor());
  EXPECT_EQ(6000.0, c.Composite_Lcr());
  EXPECT_EQ(Sample("composite").data(), SavedRecord(c));

  // Studs of another version read their material and nothing more.
  ByteWriter later = Sample("studs");
  later.put_u32(0, 2);
  CStudsData s;
  s.SetStudsData(1, 2, 3);
  ASSERT_TRUE(LoadRecord(s, later));
  EXPECT_EQ(500.0, s.Strength());
  EXPECT_EQ(0.0, s.Height());
}

TEST(Material, EqualityAndChecksums) {
  CMaterialData a("C25/30", "ConcreteMaterial"), b("c25/30", "CONCRETEMATERIAL");
  a.SetMaterialData("C25/30", 25.0, "ConcreteMaterial");
  b.SetMaterialData("c25/30", 25.0, "CONCRETEMATERIAL");
  EXPECT_TRUE(a.IsEqualWith(&b));
  b.SetMaterialData("c25/30", 25.0001, "CONCRETEMATERIAL");
  EXPECT_FALSE(a.IsEqualWith(&b));

  CStudsData s;
  s.SetMaterialData("S", 450, "StudsMaterial");
  s.SetStudsData(100, 19, 150);

  // Composite equality ignores the two factors; the checksum does not.
  CICompositeData c, d;
  c.PStuds()->CopyFrom(&s);
  d.PStuds()->CopyFrom(&s);
  d.SetComposite_C4Factor(15.0);
  EXPECT_TRUE(c.IsEqualWith(&d));
  EXPECT_NE(c.CheckSum(), d.CheckSum());
  d.PSecondMaterial()->SetName("B500");
  EXPECT_FALSE(c.IsEqualWith(&d));
  c.CopyFrom(&d);
  EXPECT_TRUE(c.IsEqualWith(&d));
  EXPECT_EQ(c.CheckSum(), d.CheckSum());
}

TEST(Tegida, DefaultsAndEquality) {
  CITegidaData t;
  const ulong32 reset = t.CheckSum();
  t.SetDefaultTegida(2.5);
  EXPECT_NE(reset, t.CheckSum());
  const unsigned char* b = t.GetTegida();
  // Little-endian fields at their byte offsets.
  EXPECT_EQ(0x40, b[39]);  // 2.5 = 0x4004000000000000 at byte 32
  EXPECT_EQ(0x04, b[38]);
  EXPECT_EQ(0x00, b[32]);
  EXPECT_EQ(1, b[28]);
  EXPECT_EQ(0, b[12]);
  EXPECT_EQ(1, b[6680]);
  EXPECT_EQ(1, b[6680 + 4 * 800]);
  EXPECT_EQ(0, b[6680 + 4 * 801]);
  EXPECT_EQ(2.5, t.TegidaDouble(telio_test::kTegidaLengthAt));

  ByteWriter expect;
  std::vector<uint8_t> block(b, b + telio_test::kTegidaBytes);
  telio_test::PutTegida(expect, 0, block);
  EXPECT_EQ(expect.data(), SavedRecord(t));

  // Only the flag and the words at 12 and 28 count for equality.
  CITegidaData u;
  u.SetDefaultTegida(7.0);
  EXPECT_TRUE(t.IsEqualWith(&u));
  u.SetTegidaWord(12, 3);
  EXPECT_FALSE(t.IsEqualWith(&u));
  u.SetDefaultTegida(7.0);
  *u.PIsTegida() = 1;
  EXPECT_FALSE(t.IsEqualWith(&u));
  ASSERT_TRUE(LoadRecord(u, Sample("purlin")));
  EXPECT_EQ(2, u.TegidaWord(telio_test::kTegidaTypeAt));
  EXPECT_EQ(0, u.TegidaWord(9890));  // does not fit
}

TEST(Eta, ModeOneHidesThetaNsdAndType) {
  CIEtaData e;
  ASSERT_TRUE(LoadRecord(e, Sample("eta")));
  EXPECT_EQ(1, e.HasM11());
  EXPECT_EQ(0.9, e.FactorK11());
  EXPECT_EQ(12011u, e.Section().Section());
  EXPECT_EQ(2, e.Iy_Iz());
  EXPECT_EQ(4500.0, e.Length());
  EXPECT_EQ(0.3, e.Theta());
  EXPECT_EQ(-120.0, e.Nsd());
  EXPECT_EQ(3, e.Type());
  EXPECT_EQ(Sample("eta").data(), SavedRecord(e));

  CIEtaData hidden(e);
  const ulong32 shown = e.CheckSum();
  *hidden.PMode() = CIEtaData::kModeHidesValues;
  EXPECT_EQ(0.0, hidden.Theta());
  EXPECT_EQ(0, hidden.Type());
  EXPECT_EQ(nullptr, hidden.PNsd());
  EXPECT_NE(shown, hidden.CheckSum());
  EXPECT_FALSE(hidden.IsEqualWith(&e));  // modes differ

  // Hidden values are kept in the record and count as 0 when compared.
  CIEtaData other;
  const std::vector<uint8_t> saved = SavedRecord(hidden);
  ASSERT_TRUE(LoadRecord(other, saved));
  *other.PMode() = 0;
  EXPECT_EQ(0.3, other.Theta());
  CIEtaData zeroed(hidden);
  *zeroed.PMode() = 0;
  *zeroed.PTheta() = 0;
  *zeroed.PNsd() = 0;
  *zeroed.PType() = 0;
  *zeroed.PMode() = 1;
  EXPECT_TRUE(hidden.IsEqualWith(&zeroed));
  EXPECT_EQ(hidden.CheckSum(), zeroed.CheckSum());
  zeroed.PSection()->SetSection(1, 12, 0);
  EXPECT_FALSE(hidden.IsEqualWith(&zeroed));
}

}  // namespace
