#include <gtest/gtest.h>

#include <vector>

#include "objects/data/CIConstraintLst.h"
#include "objects/data/CILTBLst.h"
#include "support/LoadCaseRecords.h"

using namespace TELMARO_DATA_OBJECTS;
using namespace GEOMETRY_OBJECTS;
using GE_::Safe::PtrStrong;
using telio_test::ByteWriter;

namespace {

// A restraint of the kind: type, eta for an N constraint, sway.
struct End {
  int type;
  double eta;
  int sway;
};

PtrStrong<CIConstraint> MakeConstraint(double at, const End& e) {
  PtrStrong<CIConstraint> c(new CIConstraint(at, e.type, e.sway, e.eta));
  if (e.type == 0) c->SetTypeFromOld(0, 0.0);  // no restraint
  return c;
}

TEST(ConstraintSpan, BucklingLengthFactors) {
  struct Row {
    End left, right;
    double factor;
  };
  // Worked numbers over a span of 4.0 (eta: type 1 gives 0, type 2 gives 1).
  const Row rows[] = {
      {{1, 0, 0}, {1, 0, 0}, 0.5},
      {{2, 0, 0}, {2, 0, 0}, 1.0},
      {{1, 0, 0}, {2, 0, 0}, 0.6998777506112469},
      {{3, 0.5, 0}, {3, 0.5, 0}, 0.6852469429887248},
      {{1, 0, 1}, {1, 0, 0}, 1.0},
      // The sway rule's 0.8 and 0.6 are single-precision values: with 0.8
      // exactly this would be 2.0.
      {{1, 0, 0}, {2, 0, 1}, 2.0000000596046474},
      {{3, 0.5, 1}, {3, 0.5, 1}, 1.4832397100488435},
      {{2, 0, 1}, {2, 0, 1}, 0.0},  // a mechanism: no finite length
      {{1, 0, 0}, {0, 0, 0}, 2.0},  // locked
      {{0, 0, 0}, {3, 0.5, 1}, 2.0},
      {{0, 0, 0}, {0, 0, 0}, 0.0},  // not valid
  };
  for (const Row& r : rows) {
    PtrStrong<CIConstraint> a = MakeConstraint(1.0, r.left), b = MakeConstraint(5.0, r.right);
    CIConstraintData span(a.GetPtr(), b.GetPtr());
    EXPECT_DOUBLE_EQ(r.factor, span.Factor()) << r.left.type << "/" << r.right.type;
    EXPECT_DOUBLE_EQ(r.factor * 4.0, span.BucklingLength());
  }
}

TEST(ConstraintSpan, LockedAndShortSpans) {
  PtrStrong<CIConstraint> a = MakeConstraint(0.0, {1, 0, 0}), free = MakeConstraint(3.0, {0, 0, 0});
  CIConstraintData locked(a.GetPtr(), free.GetPtr());
  EXPECT_EQ(1, locked.IsLockedConstraintData());
  EXPECT_EQ(0, locked.SetFactor(0.7));
  EXPECT_EQ(0, locked.SetBucklingLenth(1.0));
  EXPECT_EQ(6.0, locked.BucklingLength());

  PtrStrong<CIConstraint> near = MakeConstraint(0.0005, {2, 0, 0});
  CIConstraintData tiny(a.GetPtr(), near.GetPtr());
  EXPECT_EQ(1, tiny.SetBucklingLenth(3.0));
  EXPECT_EQ(0.0, tiny.Factor());
  EXPECT_EQ(3.0, tiny.BucklingLength());
  EXPECT_EQ(1, tiny.SetFactor(2.0));
  EXPECT_DOUBLE_EQ(0.001, tiny.BucklingLength());

  // An end that goes makes the span invalid.
  a.Reset();
  EXPECT_EQ(0, tiny.IsValidConstraintData());
}

TEST(Constraint, TypeSwayAndEta) {
  CIConstraint c;
  c.SetType(7);
  EXPECT_EQ(2, c.Type());
  EXPECT_EQ(1.0, c.Eta());
  c.SetEta(0.3);  // only an N constraint takes an eta
  EXPECT_EQ(1.0, c.Eta());
  c.SetType(1);
  EXPECT_EQ(0.0, c.Eta());
  c.SetType(3);
  EXPECT_EQ(0.0, c.Eta());
  c.SetEta(0.3);
  EXPECT_EQ(0.3, c.Eta());
  // Older codes: type 1, 2, 3, each without and with sway.
  for (int code = 0; code <= 7; ++code) {
    c.SetTypeFromOld(code, 0.25);
    EXPECT_EQ(code >= 1 && code <= 6 ? code : 0, c.GetTypeOld()) << code;
    EXPECT_EQ(code == 5 || code == 6 ? 0.25 : (code == 3 || code == 4 ? 1.0 : 0.0), c.Eta()) << code;
  }
  EXPECT_EQ(0, c.Exists());
}

TEST(LTBSpan, FactorsFromEndConditions) {
  struct Row {
    int leftK, leftKw, rightK, rightKw;
    double k, kw;
  };
  const Row rows[] = {
      {1, 1, 1, 2, 0.5, 0.7},
      {1, 2, 2, 2, 0.7, 1.0},
      {2, 1, 1, 1, 0.7, 0.5},
      {2, 2, 2, 2, 1.0, 1.0},
      {1, 3, 2, 2, 0.0, 0.0},  // KwType 3: that end does not exist
  };
  for (const Row& r : rows) {
    PtrStrong<CILTB> a(new CILTB(0.0, r.leftK, r.leftKw)), b(new CILTB(4.0, r.rightK, r.rightKw));
    *a->PKwType() = r.leftKw;
    CILTBData span(a.GetPtr(), b.GetPtr());
    EXPECT_EQ(r.k, span.K());
    EXPECT_EQ(r.kw, span.KW());
    EXPECT_EQ(r.k == 0.0 ? 0.0 : 4.0, span.LTBLength());
  }
  CILTB t;
  t.SetKType(0);
  t.SetKwType(3);
  EXPECT_EQ(2, t.KType());
  EXPECT_EQ(2, t.KwType());
}

std::vector<double> Positions(const CGDistanceLst& list) {
  std::vector<double> v;
  for (int i = 0; i < list.GetCount(); ++i) v.push_back(list.GetAt(i)->Distance());
  return v;
}

// (span length, k, kw) of every span.
std::vector<std::vector<double>> Spans(const CILTBLst& list) {
  std::vector<std::vector<double>> v;
  for (int i = 0; i < list.GetCountLTBData(); ++i) {
    const CILTBData* s = list.GetLTBDataAt(i);
    v.push_back({s->LTBLength(), s->K(), s->KW()});
  }
  return v;
}

class MemberLine : public ::testing::Test {
 protected:
  PtrStrong<CGLine> line_{new CGLine(CGPoint(0, 0, 0), CGPoint(10, 0, 0))};
};

TEST_F(MemberLine, LTBSpansFollowTheirRestraints) {
  PtrStrong<CILTBLst> list(new CILTBLst(line_.GetPtr()));
  // The first restraint completes the list with default ends.
  ASSERT_EQ(1, list->AddLTB(0.0, 1, 2));
  ASSERT_EQ(1, list->AddLTB(4.0, 2, 2));
  EXPECT_EQ((std::vector<double>{0, 4, 10}), Positions(*list));
  EXPECT_EQ((std::vector<std::vector<double>>{{4, 0.7, 1.0}, {6, 1.0, 1.0}}), Spans(*list));
  EXPECT_EQ(0, list->AddLTB(4.0005, 1, 1));

  // Moved.
  ASSERT_EQ(1, list->GetLTBAt(1)->SetDistance(7.0));
  EXPECT_EQ((std::vector<std::vector<double>>{{7, 0.7, 1.0}, {3, 1.0, 1.0}}), Spans(*list));
  EXPECT_EQ(list->GetLTBAt(1), list->GetLTBDataAt(0)->LTBRight());
  EXPECT_EQ(0, list->GetLTBAt(1)->SetDistance(10.0));

  // Removed: an end taken off can be replaced at once.
  EXPECT_EQ(1, list->RemoveLTBAtDistance(10.0));
  EXPECT_EQ((std::vector<std::vector<double>>{{7, 0.7, 1.0}}), Spans(*list));
  list->SetDefaultKType(1);
  ASSERT_EQ(1, list->AddLTBFromOld(10.0, 1, 1));
  EXPECT_EQ((std::vector<std::vector<double>>{{7, 0.7, 1.0}, {3, 0.7, 0.7}}), Spans(*list));
  EXPECT_EQ(2, list->RemoveLTBWithKwType(1) + list->RemoveLTBWithKType(2));
  EXPECT_EQ((std::vector<double>{0}), Positions(*list));
  EXPECT_EQ(0, list->GetCountLTBData());

  // Old codes are kept: a restraint without valid types ends no valid span.
  ASSERT_EQ(1, list->AddLTBFromOld(5.0, 0, 1));
  EXPECT_EQ((std::vector<double>{0, 5, 10}), Positions(*list));  // end at 10 from the defaults (1, 2)
  EXPECT_EQ((std::vector<std::vector<double>>{{0, 0, 0}, {0, 0, 0}}), Spans(*list));
}

TEST_F(MemberLine, ConstraintSpansAndTheSwayMember) {
  PtrStrong<CIConstraintLst> list(new CIConstraintLst(line_.GetPtr()));
  ASSERT_EQ(1, list->AddConstraint(0.0, 2, 0.0));
  ASSERT_EQ(2, list->GetCount());  // completed with a type-2 end
  list->SetSwayMember(1);
  EXPECT_EQ(0, list->SwayMember());  // both ends of type 2 lock it
  list->GetConstraintAt(1)->SetType(1);
  EXPECT_EQ(0, list->IsLockSwayMember());
  list->SetSwayMember(1);
  EXPECT_EQ(1, list->SwayMember());
  EXPECT_EQ(1, list->GetConstraintAt(0)->Sway());
  EXPECT_DOUBLE_EQ(2.0000000596046474, list->GetConstraintDataAt(0)->Factor());

  // A third restraint locks the member: the sway goes.
  ASSERT_EQ(1, list->AddConstraint(4.0, 3, 0.5));
  EXPECT_EQ(0, list->SwayMember());
  EXPECT_EQ(0, list->GetConstraintAt(1)->Sway());
  ASSERT_EQ(2, list->GetCountConstraintData());
  EXPECT_EQ(4.0, list->GetConstraintDataAt(0)->Length());
  EXPECT_DOUBLE_EQ(0.8154829011649756, list->GetConstraintDataAt(0)->Factor());  // eta 1 and 0.5
  EXPECT_DOUBLE_EQ(0.5899339933993399 * 6, list->GetConstraintDataAt(1)->BucklingLength());

  // A buckling length set by hand lasts until the spans are rebuilt.
  ASSERT_EQ(1, list->GetConstraintDataAt(1)->SetFactor(0.9));
  list->CalculateBucklingLength(0);
  EXPECT_EQ(0.9, list->GetConstraintDataAt(1)->Factor());
  list->CalculateBucklingLength(-1);
  EXPECT_NE(0.9, list->GetConstraintDataAt(1)->Factor());

  ASSERT_EQ(1, list->GetConstraintAt(1)->SetDistance(6.0));
  EXPECT_EQ(6.0, list->GetConstraintDataAt(0)->Length());
  EXPECT_EQ(1, list->RemoveConstraintsWithEta(0.5));
  EXPECT_EQ(1, list->GetCountConstraintData());
  EXPECT_EQ(10.0, list->GetConstraintDataAt(0)->Length());

  // A shorter member: CalculateBucklingLength drops what lies beyond its
  // end and restrains the new end.
  line_->SetLine(CGPoint(0, 0, 0), CGPoint(8, 0, 0));
  list->CalculateBucklingLength(-1);
  EXPECT_EQ((std::vector<double>{0, 8}), Positions(*list));
  EXPECT_EQ(1.0, list->GetConstraintDataAt(0)->Factor());
}

TEST_F(MemberLine, SpanValuesFollowTheLoadCases) {
  PtrStrong<CILoadCaseLstSyn> cases(new CILoadCaseLstSyn);
  cases->AddLoadCase(PtrStrong<CILoadCase>(new CILoadCase("Dead", 0)));
  PtrStrong<CILTBLst> list(new CILTBLst(line_.GetPtr()));
  list->SynchronizeLCValues(cases.GetPtr());
  list->AddLTB(5.0, 2, 2);
  ASSERT_EQ(2, list->GetCountLTBData());
  CILTBLCValues* dead = dynamic_cast<CILTBLCValues*>(list->GetLTBDataAt(1)->GetLCValuesLst()->CreateLCValuesFor(0));
  ASSERT_NE(nullptr, dead);
  EXPECT_TRUE(dead->IsBDefault());
  dead->InitializeValues();
  EXPECT_TRUE(dead->IsCDefault());
  *dead->LCValuePtr(kLTBKeyC2) = 0.0005;
  EXPECT_TRUE(dead->IsCDefault());
  *dead->LCValuePtr(kLTBKeyC2) = 0.002;
  EXPECT_FALSE(dead->IsCDefault());
  dead->SetBDefault(1.5);
  EXPECT_FALSE(dead->IsBDefault());
  dead->InitializeBToDefault();
  EXPECT_TRUE(dead->IsBDefault());

  cases->AddLoadCase(PtrStrong<CILoadCase>(new CILoadCase("Wind", 0)));
  EXPECT_EQ(2, list->GetLTBDataAt(1)->GetLCValuesLst()->GetCount());
  EXPECT_EQ(1, list->GetLTBDataAt(0)->GetLCValuesLst()->GetCount());
}

// Records built from the layout.
TEST_F(MemberLine, LTBListRecordTakesOverItsSpans) {
  using telio_test::LTB;
  using telio_test::Span;
  ByteWriter record;
  telio_test::PutLTBLst(record, {LTB(0.0, 1, 2), LTB(4.0, 2, 2), LTB(10.0, 2, 1)},
                        {Span("S", 0.0, 4.0, 4.0, 0.9, 1.0, {telio_test::ValueSet(2, "Wind", 1, {{3, 1.25}, {1, 0.0}})}),
                         Span("", 4.0, 10.0, 6.0, 1.0, 0.7)});
  CILTBLst list(line_.GetPtr());
  ASSERT_TRUE(telio_test::LoadRecord(list, record));
  EXPECT_EQ((std::vector<std::vector<double>>{{4, 0.9, 1.0}, {6, 1.0, 0.7}}), Spans(list));
  EXPECT_EQ("S", list.GetLTBDataAt(0)->Name().str());
  EXPECT_EQ(1.25, list.GetLTBDataAt(0)->GetLCValuesLst()->GetLCValuesAt(0)->LCValue(3));
  EXPECT_EQ(record.data(), telio_test::SavedRecord(list));

  CILTBLst copy(line_.GetPtr());
  copy = list;
  EXPECT_EQ(list.CheckSum(), copy.CheckSum());
  EXPECT_TRUE(copy.IsLTBDataEqualWith(&list));
  copy.GetLTBDataAt(1)->SetK(0.5);
  EXPECT_TRUE(copy.IsLTBEqualWith(&list));
  EXPECT_FALSE(copy.IsLTBDataEqualWith(&list));
}

TEST_F(MemberLine, ConstraintRecordsOldAndNew) {
  using telio_test::Constraint;
  const std::vector<telio_test::EtaFields> etas{telio_test::SampleEta("A"), telio_test::SampleEta("B"),
                                                telio_test::SampleEta("C")};
  // Version 1: the eta follows the type as it is read.
  ByteWriter v1;
  telio_test::PutConstraint(v1, Constraint("R", 3.0, 2, 1, 0.25, {}), 1);
  CIConstraint c;
  ASSERT_TRUE(telio_test::LoadRecord(c, v1));
  EXPECT_EQ(3.0, c.Distance());
  EXPECT_EQ(1, c.IsSway());
  EXPECT_EQ(1.0, c.Eta());
  ByteWriter v2;
  telio_test::PutConstraint(v2, Constraint("R", 3.0, 3, 1, 0.25, etas));
  ASSERT_TRUE(telio_test::LoadRecord(c, v2));
  EXPECT_EQ(0.25, c.Eta());
  EXPECT_EQ("B", c.GetEtaData(1)->Name().str());
  EXPECT_EQ(v2.data(), telio_test::SavedRecord(c));

  // The list: the sway word reaches every restraint, span records are
  // taken over in order.
  ByteWriter record;
  telio_test::PutConstraintLst(
      record, {Constraint("", 0.0, 1, 0, 0.0, etas), Constraint("", 10.0, 1, 1, 0.0, etas)}, 1,
      {telio_test::Span("", 0.0, 10.0, 10.0, 12.5, 1.25, {telio_test::ValueSet(1, "Dead", 0, {{1, 4.0}})})});
  CIConstraintLst list(line_.GetPtr());
  ASSERT_TRUE(telio_test::LoadRecord(list, record));
  EXPECT_EQ(1, list.SwayMember());
  EXPECT_EQ(1, list.GetConstraintAt(0)->Sway());
  EXPECT_EQ(1.25, list.GetConstraintDataAt(0)->Factor());
  const std::vector<uint8_t> saved = telio_test::SavedRecord(list);
  record.put_u32(48, 1);  // the first restraint's sway word, as the member's
  EXPECT_EQ(record.data(), saved);
}

}  // namespace
