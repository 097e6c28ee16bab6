#include "connections/MapObjectsBuilderTool.h"

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/ByteWriter.h"

using GE_::Safe::PtrStrong;
using telio_test::ByteWriter;
typedef MapObjectsBuilderTool Tool;
typedef PtrStrong<CConElmData_base> Elm;

namespace {

// Pads w with zeros up to a field's offset.
ByteWriter& At(ByteWriter& w, size_t offset) { return w.zeros(offset - w.size()); }

template <class R>
std::unique_ptr<R> RecordOf(ByteWriter w) {
  auto r = std::make_unique<R>();
  At(w, sizeof r->bytes);
  std::memcpy(r->bytes, w.data().data(), sizeof r->bytes);
  return r;
}

void ExpectI(const Elm& e, std::initializer_list<std::pair<int, long32>> values) {
  for (const auto& kv : values) EXPECT_EQ(e->GetIDataValue(kv.first), kv.second) << kv.first;
}

// Values read from f32 fields compare as floats.
void ExpectF(const Elm& e, std::initializer_list<std::pair<int, double>> values) {
  for (const auto& kv : values) {
    EXPECT_FLOAT_EQ(static_cast<float>(e->GetFDataValue(kv.first)), static_cast<float>(kv.second))
        << kv.first;
  }
}

template <class R>
std::vector<uint8_t> Bytes(const R& r, int offset, int size) {
  return std::vector<uint8_t>(r.bytes + offset, r.bytes + offset + size);
}

// A member record; f32 fields hold offset / 10 so each is told apart.
std::unique_ptr<MEM_REC> Member(int16_t family) {
  ByteWriter w;
  w.i16(-3).f32(0.2f).i16(6);
  w.u32(0xFFFFFFF0u).text("HEA 200", 20).i16(family).i16(7);
  At(w, 41).i16(41);
  for (int off : {55, 59, 63, 67, 71, 75, 79, 83, 87, 91}) At(w, off).f32(off / 10.0f);
  At(w, 95).i16(95);
  At(w, 99).f32(9.9f).i16(103).f32(10.5f).f32(10.9f);
  return RecordOf<MEM_REC>(w);
}

TEST(Builder, SectionKeysByFamilyAndFilter) {
  struct Case {
    int16_t family;
    int filter;
    double f511, f512, f506;
    std::vector<int> present, absent;
  } cases[] = {
      {12, 0, 9.9, 5.5, 10.9, {513, 514, 516, 517}, {518, 519}},
      {41, 0, 9.9, 5.5, 10.9, {513}, {514, 516, 517}},
      {31, 0, 7.5, 7.5, 10.5, {517, 518}, {513, 519}},    // equal angle: F 506 at 105
      {32, 117, 7.5, 5.5, 10.9, {517, 518, 519}, {513}},  // unequal angle, filter 117
      {34, 0, 7.5, 5.5, 10.9, {517, 518, 519}, {513}},    // unequal pair
      {0, 117, 7.5, 5.5, 10.9, {517, 518, 519}, {513}},
      {61, 0, 9.9, 5.5, 10.9, {}, {513, 516, 517, 518, 519}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.family * 1000 + c.filter);
    auto m = Member(c.family);
    Elm e(Tool::Build_SectionObj(m.get(), 2.5, c.filter, true));
    ASSERT_FALSE(e.IsNull());
    ExpectI(e, {{130, c.family}, {133, c.filter}});
    ExpectF(e, {{506, c.f506}, {511, c.f511}, {512, c.f512}});
    for (int k : c.present) EXPECT_TRUE(e->GetFData(k)) << k;
    for (int k : c.absent) EXPECT_FALSE(e->GetFData(k)) << k;
    if (e->GetFData(518)) {
      EXPECT_FLOAT_EQ(e->GetFDataValue(518), 6.7f);
    }

    // Every field the element took comes back; the others stay as they were.
    auto back = std::make_unique<MEM_REC>();
    std::memset(back->bytes, 0xEE, sizeof back->bytes);
    ASSERT_EQ(Tool::Restore_SectionObj(e.GetPtr(), back.get()), 1);
    for (int off : {0, 6, 8, 32, 34, 41, 79, 83, 87, 91, 95}) {
      EXPECT_EQ(Bytes(*back, off, 2), Bytes(*m, off, 2)) << off;
    }
    EXPECT_EQ(back->SectionName(), "HEA 200");
    EXPECT_EQ(Bytes(*back, 8, 4), Bytes(*m, 8, 4));
    EXPECT_EQ(Bytes(*back, c.f511 == 9.9 ? 99 : 75, 4), Bytes(*m, c.f511 == 9.9 ? 99 : 75, 4));
  }
  Elm narrow(Tool::Build_SectionObj(Member(12).get(), 2.5, 0, false));
  ExpectI(
      narrow,
      {{101, 50010}, {131, -16} /* u32 0xFFFFFFF0 */, {132, -3}, {351, 7}, {121, 41}, {122, 95}});
  EXPECT_FALSE(narrow->GetIData(136));
  EXPECT_EQ(narrow->GetStrDataValue(1001), "HEA 200");
  EXPECT_EQ(narrow->GetBDataValue(41001), 6);
  ExpectF(narrow, {{510, 2.5}, {501, 7.9f}, {505, 10.5f}});
  EXPECT_EQ(Tool::Build_SectionObj(nullptr, 0, 0, true), nullptr);

  ASSERT_EQ(Tool::Clear_SectionObj(narrow.GetPtr()), 1);
  EXPECT_EQ(narrow->PFData()->GetCount(), 0);
  EXPECT_EQ(narrow->PIData()->GetCount(), 3);  // 101, 102 and the filter 133
  EXPECT_EQ(narrow->PStrData()->GetCount(), 0);
}

// An assembly of two connections; connection 1 has loads and members.
struct Assembly {
  std::unique_ptr<ASS_REC> a;
  std::vector<CONN_REC> conns = std::vector<CONN_REC>(3);
  std::vector<MEM_REC> members = std::vector<MEM_REC>(7);
  std::vector<LOA_REC> loads = std::vector<LOA_REC>(802);

  explicit Assembly(int16_t count = 2) {
    ByteWriter w;
    w.u16(2).i16(19).i16(5).i16(count).u32(0xDEADBEEF).u16(12);
    At(w, 14 + 20 * 7).text("LC 7", 20);
    At(w, 16054).text("s1005", 40).text("s1006", 256).text("s1007", 256).text("s1002", 40);
    w.text("s1003", 20).text("s1004", 40).text("Project", 40).text("C:\\jobs\\a.con", 256);
    At(w, 17514).i16(-6).i16(9).i16(18);
    a = RecordOf<ASS_REC>(w);
    a->connections = conns.data();
    for (int j = 1; j <= 2; ++j) {
      ByteWriter c;
      c.zeros(2).i16(static_cast<int16_t>(j)).i16(4).i16(-6).text("Conn " + std::to_string(j), 40);
      c.text("Remark", 50).u8(0xFE).i16(99);
      At(c, 109).i16(1).i16(0).i16(2);
      At(c, 575).f32(5.75f);
      At(c, 639).f32(6.39f);
      At(c, 703).f32(7.03f);
      At(c, 1027).i32(j == 1 ? 0 : 33);
      std::memcpy(conns[j].bytes, RecordOf<CONN_REC>(c)->bytes, CONN_REC::kSize);
    }
    conns[1].members = members.data();
    conns[1].loads = loads.data();
    members[1].SetSectionName("IPE 300");
    members[3].SetSectionName("HEB 200");
    for (int k = 0; k < 6; ++k) {
      for (int i = 0; i < 3; ++i) loads[7].SetValue(k, i, 10.0f * k + i);
    }
  }
};

TEST(Builder, ProjectAndConnectionsFromTheAssembly) {
  Assembly as;
  Elm p(Tool::Build_ProjectObj(as.a.get()));
  ASSERT_FALSE(p.IsNull());
  ExpectI(p, {{101, 5000}, {102, 5000}, {109, 9}, {110, 1031}, {118, 18}, {104, 1}, {105, 5},
        {106, -6}, {107, 1}, {108, 0}, {119, 19}, {1030, 1}, {1031, 0}});
  EXPECT_EQ(p->GetStrDataValue(1001), "Project");
  EXPECT_EQ(p->GetStrDataValue(1003), "s1003");
  EXPECT_EQ(p->GetStrDataValue(1006), "s1006");
  EXPECT_EQ(p->GetStrDataValue(1008), "C:/jobs/a.con");
  EXPECT_EQ(p->GetStrDataValue(1031), "Conn 2");
  EXPECT_EQ(p->GetBDataValue(31001), 1);
  EXPECT_EQ(p->GetBDataValue(41003), 19);
  EXPECT_EQ(p->GetBDataValue(41006), 255);
  EXPECT_TRUE(p->GetBData(1030));

  // Written back into a blank assembly, the owned fields come back.
  Assembly blank;
  std::memset(blank.a->bytes, 0, ASS_REC::kSize);
  blank.a->SetConnectionCount(2);
  for (CONN_REC& c : blank.conns) std::memset(c.bytes, 0, CONN_REC::kSize);
  ASSERT_EQ(Tool::Restore_ProjectObj(p.GetPtr(), blank.a.get()), 1);
  for (int off : {0, 2, 4, 17514, 17516, 17518}) {
    EXPECT_EQ(Bytes(*blank.a, off, 2), Bytes(*as.a, off, 2)) << off;
  }
  EXPECT_EQ(Bytes(*blank.a, 16054, 16746 - 16054), Bytes(*as.a, 16054, 16746 - 16054));
  EXPECT_EQ(blank.conns[2].Name(), "Conn 2");
  EXPECT_EQ(blank.conns[1].StateWord(), 0);
  EXPECT_NE(blank.conns[2].StateWord(), 0);  // I 1031 = 0: the word is made nonzero

  // A rebuild for a single connection drops the second one's keys.
  as.a->SetConnectionCount(1);
  ASSERT_EQ(Tool::ReBuild_ProjectObj(p.GetPtr(), as.a.get(), 4), p.GetPtr());
  ExpectI(p, {{110, 1030}, {109, 4}});
  EXPECT_FALSE(p->GetStrData(1031));
  EXPECT_EQ(Tool::ReBuild_ProjectObj(p.GetPtr(), nullptr, 4), nullptr);
  as.a->SetConnectionCount(2);
  Elm c(Tool::Build_ConnectionInfoObj(as.a.get(), 2));
  EXPECT_EQ(Tool::Build_ConnectionInfoObj(as.a.get(), 3), nullptr);
  EXPECT_EQ(Tool::Build_ConnectionInfoObj(as.a.get(), 0), nullptr);
  ASSERT_FALSE(c.IsNull());
  ExpectI(c, {{101, 50001}, {123, 2}, {124, 4}, {125, -6}, {120, 12}, {104, 1}, {122, 99},
        {128, -2}, {146, 33}});
  EXPECT_EQ(c->GetStrDataValue(1020), "Remark");
  EXPECT_EQ(c->GetBDataValue(41020), 49);
  EXPECT_EQ(c->GetBDataValue(31001), 1);
  CONN_REC back{};
  ASSERT_EQ(Tool::Restore_ConnectionInfoObj(c.GetPtr(), &back), 1);
  EXPECT_EQ(Bytes(back, 2, 101), Bytes(as.conns[2], 2, 101));
  EXPECT_EQ(Bytes(back, 1027, 4), Bytes(as.conns[2], 1027, 4));

  Elm truss(Tool::Build_TRUSSWeldObj(&as.conns[1]));
  EXPECT_FLOAT_EQ(truss->GetFDataValue(564), 5.75f);
  EXPECT_FALSE(truss->GetFData(565));
  EXPECT_FLOAT_EQ(truss->GetFDataValue(566), 7.03f);
  truss->RemoveFData(564);
  truss->SetFData(565, 1.0);
  ASSERT_EQ(Tool::Restore_TRUSSWeldObj(truss.GetPtr(), &as.conns[1]), 1);
  EXPECT_EQ(Bytes(as.conns[1], 109, 6), ByteWriter().i16(0).i16(1).i16(2).data());
  EXPECT_FLOAT_EQ(telio::RecF32(as.conns[1].bytes, 639), 1.0f);
  as.a->SetConnectionCount(0);
  std::memset(as.a->bytes + 16746, 0, 256);
  Elm bare(Tool::Build_ProjectObj(as.a.get()));
  EXPECT_FALSE(bare->GetBData(31001));
}

TEST(Builder, LoadsOfAConnection) {
  Assembly as;
  int none[6] = {0, 0, 0, 0, 0, 0};
  int some[6] = {1, 0, 5, 0, 0, 0};
  EXPECT_EQ(Tool::Build_LoadsObj(as.a.get(), 1, 0, 3, some), nullptr);
  EXPECT_EQ(Tool::Build_LoadsObj(as.a.get(), 1, 802, 3, some), nullptr);
  EXPECT_EQ(Tool::Build_LoadsObj(as.a.get(), 3, 7, 3, some), nullptr);
  EXPECT_EQ(Tool::Build_LoadsObj(as.a.get(), 2, 7, 3, some), nullptr);  // no load block
  EXPECT_EQ(Tool::Build_LoadsObj(nullptr, 1, 7, 3, some), nullptr);

  Elm bare(Tool::Build_LoadsObj(as.a.get(), 1, 7, 3, none));
  ASSERT_FALSE(bare.IsNull());
  EXPECT_EQ(bare->PIData()->GetCount(), 4);
  ExpectI(bare, {{101, 50107}, {102, 50100}, {161, 3}, {104, 1}});
  EXPECT_EQ(bare->PStrData()->GetCount(), 1);
  EXPECT_EQ(bare->GetStrDataValue(1001), "LC 7");
  ASSERT_TRUE(bare->GetBData(50107));
  EXPECT_EQ(bare->GetBDataValue(41001), 19);
  EXPECT_EQ(bare->PFData()->GetCount(), 0);

  Elm e(Tool::Build_LoadsObj(as.a.get(), 1, 7, 3, some));
  EXPECT_EQ(e->GetStrDataValue(1024), "IPE 300");
  EXPECT_EQ(e->GetStrDataValue(1026), "HEB 200");
  EXPECT_EQ(e->GetIDataValue(1026), 5);
  EXPECT_FALSE(e->GetIData(1025));
  const double want[] = {0, 1, 2, 20, 21, 22};  // groups 0 and 2 (F 170-172, 176-178)
  const int keys[] = {170, 171, 172, 176, 177, 178};
  for (int n = 0; n < 6; ++n) EXPECT_EQ(e->GetFDataValue(keys[n]), want[n]) << keys[n];
  EXPECT_EQ(e->PFData()->GetCount(), 6);

  *e->GetFData(177) = -4.5;
  *e->GetStrData(1001) = "Wind";
  ASSERT_EQ(Tool::Restore_LoadsObj(e.GetPtr(), as.a.get(), 1, 7), 1);
  EXPECT_EQ(as.loads[7].Value(2, 1), -4.5f);
  EXPECT_EQ(as.loads[7].Value(1, 1), 11.0f);
  EXPECT_EQ(as.a->LoadCaseName(7), "Wind");
  EXPECT_EQ(Tool::Restore_LoadsObj(e.GetPtr(), as.a.get(), 1, 0), 0);
}

TEST(Builder, SpecialPartsWeldsAndDistances) {
  ByteWriter s;
  s.i16(0).i16(2).u16(0).i16(6).i16(8).i16(10).i16(12).i16(14).i16(16).i16(18).i16(20);
  s.f32(2.2f).f32(2.6f).i16(30).i16(32).i16(34);
  At(s, 45).i16(45);
  auto spe = RecordOf<SPE_REC>(s);
  Elm st(Tool::Build_StiffenerInfoObj(spe.get()));
  const int stiffener[][2] = {{190, 6},  {191, 10}, {192, 18}, {193, 12},
                              {194, 14}, {195, 8},  {196, 30}};
  for (auto kv : stiffener) EXPECT_EQ(st->GetIDataValue(kv[0]), kv[1]) << kv[0];
  ExpectF(st, {{570, 2.2f}, {550, 2.6f}});
  EXPECT_EQ(st->GetBDataValue(101), 1);
  Elm truss(Tool::Build_StiffenerInfoObjTruss(spe.get()));
  EXPECT_EQ(truss->GetIDataValue(129), 34);
  Elm base(Tool::Build_StiffenerInfoObjBasec(spe.get()));
  ExpectI(base, {{198, 2}, {199, 3}});
  Elm concrete(Tool::Build_ConcreteObj(spe.get()));
  ExpectI(concrete, {{121, 45}, {102, 50005}});

  SPE_REC back{};
  telio::SetRecU16(back.bytes, 4, 0);
  st->RemoveBData(101);
  ASSERT_EQ(Tool::Restore_StiffenerInfoObj(st.GetPtr(), &back), 1);
  ASSERT_EQ(Tool::Restore_StiffenerInfoObjTruss(truss.GetPtr(), &back), 1);
  ASSERT_EQ(Tool::Restore_StiffenerInfoObjBasec(base.GetPtr(), &back), 1);
  ASSERT_EQ(Tool::Restore_ConcreteObj(concrete.GetPtr(), &back), 1);
  EXPECT_EQ(Tool::Restore_ConcreteObj(nullptr, &back), 0);
  EXPECT_EQ(Bytes(back, 6, 10), Bytes(*spe, 6, 10));
  EXPECT_EQ(Bytes(back, 18, 2), Bytes(*spe, 18, 2));
  EXPECT_EQ(Bytes(back, 22, 10), Bytes(*spe, 22, 10));
  EXPECT_EQ(Bytes(back, 34, 2), Bytes(*spe, 34, 2));
  EXPECT_EQ(Bytes(back, 45, 2), Bytes(*spe, 45, 2));
  EXPECT_EQ(telio::RecU16(back.bytes, 4), 1);  // B 101 gone: the word leaves 0

  ByteWriter w1, w2;
  w1.f32(1.5f).f32(2.5f);
  for (int k = 0; k < 7; ++k) At(w1, 23 + 4 * k).f32(23.0f + 4 * k);
  w2.f32(-1.0f).f32(-2.0f);
  auto a = RecordOf<WEL_REC>(w1), b = RecordOf<WEL_REC>(w2);
  Elm k1(Tool::Build_WeldsObj(a.get(), nullptr, 1));
  ExpectF(k1, {{555, 1.5}, {556, 2.5}});
  Elm k3(Tool::Build_WeldsObj(nullptr, b.get(), 3));
  EXPECT_EQ(k3->GetFDataValue(561), -1.0);
  EXPECT_FALSE(k3->GetFData(559));
  EXPECT_EQ(Tool::Build_WeldsObj(nullptr, b.get(), 2), nullptr);
  EXPECT_EQ(Tool::Build_WeldsObj(nullptr, nullptr, 3), nullptr);
  Elm other(Tool::Build_WeldsObj(nullptr, nullptr, 9));
  EXPECT_EQ(other->PIData()->GetCount() + other->PFData()->GetCount(), 2);
  WEL_REC wb = *b;
  ASSERT_EQ(Tool::Restore_WeldsObj(k1.GetPtr(), nullptr, &wb), 1);  // no 561/562: unchanged
  EXPECT_EQ(Bytes(wb, 0, 51), Bytes(*b, 0, 51));
  EXPECT_EQ(Tool::Restore_WeldsObj(k1.GetPtr(), nullptr, nullptr), 0);

  ByteWriter pw;
  At(pw, 14).f32(1.4f);
  At(pw, 22).f32(2.2f);
  auto plate = RecordOf<PLA_REC>(pw);
  Elm dp(Tool::Build_DistanceObj(plate.get(), nullptr, nullptr));
  EXPECT_EQ(dp->PFData()->GetCount(), 2);
  ExpectF(dp, {{521, 1.4f}, {509, 2.2f}});
  Elm dw(Tool::Build_DistanceObj(nullptr, a.get(), a.get()));
  ExpectF(dw, {{545, 47.0}, {534, 39.0}});
  EXPECT_EQ(Tool::Build_DistanceObj(nullptr, nullptr, nullptr), nullptr);
  WEL_REC wa = *a;
  ASSERT_EQ(Tool::Restore_DistanceObj(dp.GetPtr(), plate.get(), &wa, nullptr), 1);
  EXPECT_EQ(telio::RecF32(wa.bytes, 39), 0.0f);  // the element lacks 543: 0.0 is stored
  EXPECT_EQ(Tool::Restore_DistanceObj(dp.GetPtr(), nullptr, nullptr, nullptr), 0);

  Elm lead(Tool::Build_NotchesObj(a.get(), b.get(), true));
  ExpectF(lead, {{547, 2.5}, {537, -1.0}});
  Elm notch(Tool::Build_NotchesObj(a.get(), nullptr, false));
  ExpectF(notch, {{539, 23.0}, {542, 35.0}});
  WEL_REC na{};
  ASSERT_EQ(Tool::Restore_NotchesObj(notch.GetPtr(), &na, nullptr), 1);
  EXPECT_EQ(Bytes(na, 23, 16), Bytes(*a, 23, 16));
  EXPECT_EQ(Tool::Build_NotchesObj(nullptr, nullptr, true), nullptr);
}

TEST(Builder, GridsWorkedByHand) {
  ByteWriter w;
  At(w, 26).i16(3).i16(8).i16(-1);
  At(w, 40).i16(2).f32(0).f32(22.0f);
  At(w, 66).f32(60).f32(70).f32(80).f32(90);
  At(w, 82).i16(0).f32(24.0f).text("J", 16).i16(1).i16(3).i16(2);
  auto rec = RecordOf<BOL_REC>(w);

  // 4 rows (+1 extra), 2 columns, e1 30, e2 40, p2 100, p1 70: L = 3 x 70.
  Elm g(Tool::Build_BoltGridObj(rec.get(), 12, 4, 2, 30, 40, 100, 70, 1, false));
  ExpectI(g, {{101, 50060}, {103, 0}, {121, 8}, {140, 3}, {141, 2}, {142, -1}, {151, 5}, {152, 2},
        {155, 1}, {153, 624}, {154, 635}});
  ExpectF(g, {{510, 12.0}, {610, 210.0}, {611, 100.0}, {612, 280.0}, {511, 70.0}});
  ASSERT_EQ(Tool::ReBuild_BoltGridObj(g.GetPtr(), 50), g.GetPtr());
  ExpectF(g, {{610, 150.0}, {612, 220.0}});
  *g->GetIData(152) = 4;  // two more columns
  ASSERT_EQ(Tool::Set_BoltGridData(g.GetPtr()), 1);
  EXPECT_EQ(g->GetFDataValue(611), 300.0);

  // Variable spacing: 60 + 70 + 80 + 90 from the record.
  Elm v(Tool::Build_BoltGridObj(rec.get(), 12, 4, 1, 30, 40, 100, 70, 0, true));
  ExpectF(v, {{610, 300.0}, {511, 100.0}, {611, 0.0}, {612, 370.0}});
  BOL_REC back{};
  ASSERT_EQ(Tool::Restore_BoltGridObj(v.GetPtr(), &back, 0, 0, 0, 0), 1);
  EXPECT_EQ(Bytes(back, 26, 6), Bytes(*rec, 26, 6));
  EXPECT_EQ(Bytes(back, 40, 2), Bytes(*rec, 40, 2));

  // Hook grid of 3 rows and 2 columns, t 20, a 300, e 50, p1 100, p2 150.
  Elm h(Tool::Build_HookGridObj(rec.get(), 20, 300, 50, 100, 150));
  ExpectI(h, {{143, 0}, {144, 1}, {145, 3}, {156, 2}, {157, 0}});
  const double hook[] = {24, 22, 300, 50, 100, 150, 200, 150, 300, 250, 320};
  for (int k = 0; k < 11; ++k) EXPECT_EQ(h->GetFDataValue(601 + k), hook[k]) << 601 + k;
  BOL_REC hb{};
  ASSERT_EQ(Tool::Restore_HookGridObj(h.GetPtr(), &hb), 1);
  EXPECT_EQ(Bytes(hb, 82, 2), Bytes(*rec, 82, 2));
  EXPECT_EQ(Bytes(hb, 104, 6), Bytes(*rec, 104, 6));
  EXPECT_EQ(Tool::Build_BoltGridObj(nullptr, 0, 1, 1, 0, 0, 0, 0, 0, false), nullptr);
}

TEST(Builder, ElementsFromValues) {
  double pts[6] = {0, 0, 4, 1, -1, 3};
  Elm poly(Tool::Build_PolygonObj(pts, 6, 8));
  ExpectI(poly, {{321, 700}, {322, 703}, {323, 800}, {324, 803}});
  ExpectF(poly, {{702, -1.0}, {802, 3.0}, {512, 5.0}, {511, 3.0}});
  EXPECT_EQ(Tool::Build_PolygonObj(pts, 0, 8), nullptr);
  EXPECT_EQ(Tool::Build_PolygonObj(pts, 101, 8), nullptr);
  EXPECT_EQ(Tool::Build_PolygonObj(nullptr, 6, 8), nullptr);
  ASSERT_EQ(Tool::ReBuild_PolygonObj(poly.GetPtr(), pts, 4, 2), poly.GetPtr());
  EXPECT_FALSE(poly->GetFData(702));
  EXPECT_EQ(poly->GetIDataValue(322), 702);
  ExpectF(poly, {{512, 4.0}, {510, 2.0}});

  EXPECT_EQ(Tool::Build_ConstraintObj(1, 2, 3, 4, 5, 5), nullptr);
  EXPECT_EQ(Tool::Build_ConstraintObj(1, 2, 3, 4, 0.0, 2), nullptr);
  EXPECT_EQ(Tool::Build_NodeObj(1, 2, 3, 0.0), nullptr);
  EXPECT_EQ(Tool::Build_LineObj(1, 2, 3, 4, 5, 6, -1), nullptr);

  Elm plate(Tool::Build_PlateObj(200, 300, 15, 3));
  PLA_REC rec{};
  ASSERT_EQ(Tool::Restore_PlateObj(plate.GetPtr(), &rec, 1, 2, 3), 1);
  EXPECT_EQ(Bytes(rec, 0, 38),
            ByteWriter().i16(3).f32(200).f32(300).f32(15).zeros(12).f32(1).f32(2).f32(3).data());
  EXPECT_EQ(Tool::ReBuild_PlateStubObj(nullptr, 5, 6, 7, 8, 2), nullptr);
}

}  // namespace
