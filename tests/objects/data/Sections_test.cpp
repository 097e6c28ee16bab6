// Section data and section elements: records of every version, equality
// and checksums.
#include <gtest/gtest.h>

#include "objects/data/CISectionElement.h"
#include "objects/data/CISectionLst.h"
#include "platform/CCheckSum.h"
#include "support/DataRecords.h"

using namespace TELMARO_DATA_OBJECTS;
using telio_test::ByteWriter;
using telio_test::LoadRecord;
using telio_test::SavedRecord;
using GE_::Safe::PtrStrong;
using telio_test::SectionFields;

namespace {

const SectionFields kIpe{{4, "IPE300", 0x2, 0x8}, 12011, 12, 11, 0.85};

// Distinct values in the order of the version 5 record.
struct Values {
  double v[25];
  Values() {
    for (int i = 0; i < 25; ++i) v[i] = 10.0 + i;
  }
};

ByteWriter Element(int version, const Values& values = Values()) {
  ByteWriter w;
  telio_test::PutSectionElement(w, kIpe, values.v, static_cast<uint32_t>(version));
  return w;
}

TEST(SectionData, RecordOfBothVersions) {
  CISectionData s;
  ByteWriter v2;
  telio_test::PutSectionData(v2, kIpe);
  ASSERT_TRUE(LoadRecord(s, v2));
  EXPECT_EQ(12011u, s.Section());
  EXPECT_EQ(12u, s.Family());
  EXPECT_EQ(11u, s.Profile());
  EXPECT_EQ(0.85, s.BAnnet());
  EXPECT_EQ(4u, s.ID());
  EXPECT_EQ(0x8u, s.Flags());
  EXPECT_EQ(v2.data(), SavedRecord(s));

  ByteWriter v1;
  telio_test::PutSectionData(v1, kIpe, 1);
  CISectionData old;
  ASSERT_TRUE(LoadRecord(old, v1));
  EXPECT_EQ(12011u, old.Section());
  EXPECT_EQ(0u, old.Profile());
  EXPECT_EQ(0.85, old.BAnnet());

  // A later version keeps the element and leaves the codes at their defaults.
  ByteWriter v3 = v2;
  v3.put_u32(0, 3);
  ASSERT_TRUE(LoadRecord(s, v3));
  EXPECT_EQ(CString("IPE300"), s.Name());
  EXPECT_EQ(0u, s.Family());
  EXPECT_EQ(0.0, s.BAnnet());
}

TEST(SectionData, ValidityEqualityAndChecksum) {
  CISectionData s;
  EXPECT_FALSE(s.IsValidSection());
  s.SetSection(0, 3, 0);
  EXPECT_FALSE(s.IsValidSection());
  s.SetSection(0, 3, 1);
  EXPECT_TRUE(s.IsValidSection());
  s.SetSection(7, 0, 1);
  EXPECT_FALSE(s.IsValidSection());

  CISectionData a, b;
  a.SetSection(12011, 12, 11);
  b.SetSection(12011, 12, 11);
  a.SetName("ipe300");
  b.SetName("IPE300");
  b.SetID(99);
  b.SetBAnnet(0.5);
  EXPECT_TRUE(a.IsEqualWith(&b));  // BAnnet, ID and letter case do not count
  EXPECT_NE(a.CheckSum(), b.CheckSum());
  b.SetBAnnet(0);
  b.SetName("other");
  EXPECT_EQ(a.CheckSum(), b.CheckSum());  // the element part is not fed
  b.SetSection(12011, 12, 12);
  EXPECT_FALSE(a.IsEqualWith(&b));
  EXPECT_FALSE(a.IsEqualWith(static_cast<const CISectionData*>(nullptr)));
}

TEST(SectionElement, Version5RecordRoundTrips) {
  CISectionElement e;
  ASSERT_TRUE(LoadRecord(e, Element(5)));
  EXPECT_EQ(10.0, e.HeightFront());
  EXPECT_EQ(17.0, e.CParam());
  EXPECT_EQ(20.0, e.RadIn());  // record order: RadIn, RadOut, AngleIn, AngleOut
  EXPECT_EQ(21.0, e.RadOut());
  EXPECT_EQ(22.0, e.AngleIn());
  EXPECT_EQ(23.0, e.AngleOut());
  EXPECT_EQ(26.0, e.Ax());
  EXPECT_EQ(34.0, e.G());
  EXPECT_EQ(12011u, e.Section());
  EXPECT_EQ(Element(5).data(), SavedRecord(e));

  // The checksum: the section data's, then the values in record order.
  CCheckSum expect;
  expect.AddU32(static_cast<const CISectionData&>(e).CISectionData::CheckSum());
  for (int i = 0; i < 25; ++i) expect.AddF64(10.0 + i);
  EXPECT_EQ(expect.get(), e.CheckSum());
}

TEST(SectionElement, OlderVersionsFillTheirValues) {
  CISectionElement e;
  ASSERT_TRUE(LoadRecord(e, Element(4)));
  EXPECT_EQ(33.0, e.Wpl());
  EXPECT_EQ(0.0, e.G());

  ASSERT_TRUE(LoadRecord(e, Element(3)));
  EXPECT_EQ(19.0, e.HeParam());
  EXPECT_EQ(26.0, e.Ax());
  EXPECT_EQ(0.0, e.Ay());
  EXPECT_EQ(0.0, e.Iy());
  EXPECT_EQ(31.0, e.Iz());
  EXPECT_EQ(33.0, e.Wpl());

  ASSERT_TRUE(LoadRecord(e, Element(2)));
  EXPECT_EQ(11.0, e.HeightBack());
  EXPECT_EQ(12.0, e.WidthUp());
  EXPECT_EQ(12.0, e.WidthDown());
  EXPECT_EQ(14.0, e.TFlangeUp());
  EXPECT_EQ(14.0, e.TFlangeDown());
  EXPECT_EQ(20.0, e.RadIn());
  EXPECT_EQ(0.0, e.CParam());
  EXPECT_EQ(31.0, e.Iz());

  // Version 1: front and back heights, both widths and both flanges equal;
  // the trailing codes replace those of the section record.
  Values values;
  SectionFields s = kIpe;
  s.section = 555;
  s.profile = 9;
  ByteWriter v1;
  telio_test::PutSectionElement(v1, s, values.v, 1);
  v1.data()[v1.size() - 5] = 0x77;  // trailing section: 0x22B -> 0x277
  ASSERT_TRUE(LoadRecord(e, v1));
  EXPECT_EQ(10.0, e.HeightFront());
  EXPECT_EQ(10.0, e.HeightBack());
  EXPECT_EQ(12.0, e.WidthUp());
  EXPECT_EQ(12.0, e.WidthDown());
  EXPECT_EQ(14.0, e.TFlangeDown());
  EXPECT_EQ(16.0, e.TWeb());
  EXPECT_EQ(33.0, e.Wpl());
  EXPECT_EQ(0x277u, e.Section());
  EXPECT_EQ(9u, e.Profile());
  EXPECT_EQ(12u, e.Family());
}

TEST(SectionElement, AllInOneSetterPlacesEveryValue) {
  CISectionElement e;
  e.SetSectionWeight(42.2);
  e.SetSection(12011, 12, "IPE300", 0.9, 300, 301, 150, 151, 10.7, 10.8, 7.1, 15, 16, 0.5, 15.0, 53.8, 25.7, 25.1,
               20.1, 8356, 603.8, 557, 628, 11, 3, 4, 5, 6, 7);
  EXPECT_EQ(CString("IPE300"), e.Name());
  EXPECT_EQ(11u, e.Profile());
  EXPECT_EQ(0.9, e.BAnnet());
  const double expect[25] = {300, 301,  150,  151,   10.7,  10.8, 7.1, 3,   6,   7,   5,   4,  15,
                             16,  0.5,  15.0, 53.8,  25.7,  25.1, 20.1, 8356, 603.8, 557, 628, 42.2};
  for (int i = 0; i < kSectionValueCount; ++i) EXPECT_EQ(expect[i], e.GetSectionValue(i)) << i;
}

TEST(SectionElement, EqualityIsExactOnEveryValue) {
  CISectionElement a, b;
  ASSERT_TRUE(LoadRecord(a, Element(5)));
  ASSERT_TRUE(LoadRecord(b, Element(5)));
  EXPECT_TRUE(a.IsEqualWith(&b));
  b.SetSectionWeight(b.G() + 1e-9);
  EXPECT_FALSE(a.IsEqualWith(&b));
  EXPECT_NE(a.CheckSum(), b.CheckSum());

  CISectionData plain;
  plain.CopyFrom(static_cast<const CISectionData*>(&a));
  EXPECT_TRUE(plain.IsEqualWith(&a));
  EXPECT_FALSE(a.IsEqualWith(&plain));

  // A copy through the base's pointer keeps the values.
  PtrStrong<CISectionData> fresh = CISectionElement::GetNewObject();
  ASSERT_TRUE(fresh->CopyFrom(a.Clone().GetPtr()));
  EXPECT_EQ(a.CheckSum(), fresh->CheckSum());
}

TEST(SectionLst, PlacementRefusesOtherFamiliesAndTheSameObject) {
  CISectionLst list(5);
  PtrStrong<CISectionData> four = CISectionData::GetNewObject(), five = CISectionData::GetNewObject();
  four->SetSection(1, 4, 0);
  five->SetSection(1, 5, 0);
  EXPECT_FALSE(list.Add(four));
  EXPECT_TRUE(list.Add(five));
  EXPECT_FALSE(list.Add(five));
  EXPECT_FALSE(list.Add(PtrStrong<CISectionData>()));
  CISectionLst any;
  EXPECT_TRUE(any.Add(four));

  CISectionLst copy;
  copy = list;
  ASSERT_EQ(1, copy.GetCount());
  EXPECT_NE(five.GetPtr(), copy.GetAt(0).GetPtr());
  EXPECT_TRUE(copy.GetAt(0)->IsEqualWith(five.GetPtr()));
  EXPECT_EQ(5u, copy.FamilyFilter());
  EXPECT_EQ(list.CheckSum(), copy.CheckSum());
}

TEST(SectionLst, RecordHoldsSectionDataOfEveryElement) {
  // A section element is saved as its section data.
  CISectionLst list;
  PtrStrong<CISectionData> element = CISectionElement::GetNewObject();
  ASSERT_TRUE(LoadRecord(*element, Element(5)));
  PtrStrong<CISectionData> plain = CISectionData::GetNewObject();
  plain->SetSection(13006, 13, 6);
  plain->SetName("HEA200");
  ASSERT_TRUE(list.Add(element) && list.Add(plain));
  ByteWriter expect;
  telio_test::PutSectionLst(expect, {kIpe, {{0, "HEA200", 0, 0}, 13006, 13, 6, 0.0}});
  EXPECT_EQ(expect.data(), SavedRecord(list));

  // Loading keeps equal copies (they are other objects) and, without a
  // catalogue to refresh them from, flags every section.
  ByteWriter three;
  telio_test::PutSectionLst(three, {kIpe, kIpe, {{0, "HEA200", 0, 0}, 13006, 13, 6, 0.0}});
  CISectionLst loaded(12);
  ASSERT_TRUE(LoadRecord(loaded, three));
  ASSERT_EQ(2, loaded.GetCount());
  EXPECT_EQ(0x9u, loaded.GetAt(0)->Flags());
  EXPECT_EQ(12011u, loaded.GetAt(1)->Section());

  ByteWriter negative;
  negative.u32(1).i32(-4);
  ASSERT_TRUE(LoadRecord(loaded, negative));
  EXPECT_EQ(0, loaded.GetCount());
}

}  // namespace
