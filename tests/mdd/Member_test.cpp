// Design members: built in code and saved, records of every version built
// from the layout, checksums, restraint limits, restraints driving the LTB
// points.
#include <gtest/gtest.h>

#include <vector>

#include "mdd/CMDDBeam.h"
#include "mdd/CMDDLoadCaseValues.h"
#include "mdd/CMDDMember.h"
#include "mdd/CMDDNode.h"
#include "objects/data/CILoadCaseLstSyn.h"
#include "support/MemberRecords.h"

using namespace MDD_OBJECTS;
using namespace TELMARO_DATA_OBJECTS;
using GE_::Safe::PtrStrong;
using GEOMETRY_OBJECTS::CGPoint;
using telio_test::ByteWriter;

namespace {

const REGULATION kReg = static_cast<REGULATION>(1);

PtrStrong<CMDDMember> NewMember() { return PtrStrong<CMDDMember>(new CMDDMember); }

CMDDNode* NodeOf(const CMDDMember& m, int beam, int point) {
  PtrStrong<GEOMETRY_OBJECTS::CGLine> b = m.GetInternalBeamAt(beam);
  return b.IsNull() ? nullptr : dynamic_cast<CMDDNode*>(b->GetInternalPointAt(point).GetPtr());
}

CMDDLoadCaseValues* ForcesAt(const CMDDMember& m, int beam, int point, int lc) {
  CMDDNode* node = NodeOf(m, beam, point);
  return node ? dynamic_cast<CMDDLoadCaseValues*>(node->GetLoadCaseValuesLst()->GetLCValuesAt(lc)) : nullptr;
}

ByteWriter SampleBytes(uint32_t version) {
  ByteWriter w;
  telio_test::PutMDDMember(w, telio_test::SampleMember(), version);
  return w;
}

// A member of length 10 with beams of 4 and 6, forces on every beam point
// for the two load cases of lcs, restraints and LTB points, purlin data.
PtrStrong<CMDDMember> BuiltMember(CILoadCaseLstSyn* lcs) {
  PtrStrong<CMDDMember> m = NewMember();
  m->SetElement("M1", 0, 0);
  m->SetLine(CGPoint(0, 0, 0), CGPoint(10, 0, 0));
  const double lengths[2] = {4, 6};
  m->CutMemberIntoDsts(lengths, 2);
  m->SynchronizePointsFromBeamsLst(0);
  EXPECT_EQ(1, m->SynchronizeLCValues(lcs));
  for (int b = 0; b < 2; ++b) {
    for (int p = 0; p < 2; ++p) {
      for (int lc = 0; lc < 2; ++lc) {
        auto* v = dynamic_cast<CMDDLoadCaseValues*>(NodeOf(*m, b, p)->GetLoadCaseValuesLst()->CreateLCValuesFor(lc));
        v->SetValues(b + 0.5, p, lc, -1.0, 2.0 * b, 3.25);
      }
    }
  }
  m->GetSection()->SetSection(200, 11, 0);
  m->GetSection()->SetName("IPE 200");
  m->GetGrade()->SetGrade(2);
  EXPECT_EQ(1, m->AddConstXY(4.0, kReg));
  EXPECT_EQ(1, m->AddLTB(4.0, kReg));
  m->SetHasLTB(1);
  m->SetIy_Iz(1);
  m->PTegida()->SetDefaultTegida(m->Length());
  return m;
}

TEST(Member, BuiltInCodeLoadsBackEqualAndResavesTheSameBytes) {
  PtrStrong<CILoadCaseLstSyn> lcs(new CILoadCaseLstSyn);
  lcs->AddLoadCase(PtrStrong<CILoadCase>(new CILoadCase("Dead", 0)));
  lcs->AddLoadCase(PtrStrong<CILoadCase>(new CILoadCase("Wind", 0)));
  PtrStrong<CMDDMember> m = BuiltMember(lcs.GetPtr());
  EXPECT_EQ(3, m->GetConstraintXYLst()->GetCount());  // completed at both ends
  EXPECT_EQ(0, m->AddConstXY(6.0, kReg));             // as many as the member's points
  ASSERT_EQ(2, m->GetCountInternalBeams());
  EXPECT_EQ(2.0, ForcesAt(*m, 1, 1, 1)->My());

  const std::vector<uint8_t> saved = telio_test::SavedRecord(*m);
  PtrStrong<CMDDMember> loaded = NewMember();
  ASSERT_TRUE(telio_test::LoadRecord(*loaded, saved));
  EXPECT_TRUE(loaded->IsEqualWith(m.GetPtr()));
  EXPECT_EQ(m->CheckSum(), loaded->CheckSum());
  EXPECT_EQ(saved, telio_test::SavedRecord(*loaded));
  EXPECT_EQ(3.25, ForcesAt(*loaded, 1, 0, 1)->Mz());
  EXPECT_EQ(CString("Wind"), ForcesAt(*loaded, 1, 0, 1)->Name());
  EXPECT_EQ(dynamic_cast<CMDDBeam*>(loaded->GetInternalBeamAt(0).GetPtr()) != nullptr, true);

  // A changed force changes the checksum; a copy keeps it.
  CMDDMember copy(*loaded);
  EXPECT_EQ(loaded->CheckSum(), copy.CheckSum());
  *ForcesAt(*loaded, 0, 1, 0)->FxPtr() = 99.0;
  EXPECT_NE(copy.CheckSum(), loaded->CheckSum());
}

TEST(Member, RecordFromTheLayoutLoadsAndResavesByteForByte) {
  const ByteWriter bytes = SampleBytes(5);
  PtrStrong<CMDDMember> m = NewMember();
  ASSERT_TRUE(telio_test::LoadRecord(*m, bytes));
  EXPECT_EQ(bytes.data(), telio_test::SavedRecord(*m));
  EXPECT_EQ(CString("M1"), m->Name());
  EXPECT_EQ(10.0, m->Length());
  EXPECT_EQ(1, m->HasLTB());
  EXPECT_EQ(1, m->Iy_Iz());
  EXPECT_EQ(2, m->KcIy_Iz());
  EXPECT_EQ(11u, m->GetSection()->Family());
  EXPECT_EQ(2u, m->GetGrade()->Grade());
  EXPECT_EQ(2, m->GetConstraintXYLst()->GetCount());
  EXPECT_EQ(0.7, m->GetConstraintXYLst()->GetConstraintDataAt(0)->Factor());
  EXPECT_EQ(0.7, m->GetLTBLst()->GetLTBDataAt(0)->K());
  EXPECT_EQ(3, m->Tegida().TegidaWord(12));
  EXPECT_EQ(15.0, m->CompositeData().Composite_C4Factor());
  EXPECT_EQ(30.75, ForcesAt(*m, 1, 1, 0)->My());
  EXPECT_EQ(0, m->LinkStatus());
}

// What an older record leaves in the fields it does not hold.
struct OlderCase {
  uint32_t version;
  int hasLTB, iyIz, kcIyIz;
  int tegidaType;  // 0: the defaults for the member's length
};

class OlderMember : public ::testing::TestWithParam<OlderCase> {};

TEST_P(OlderMember, LoadsWithTheDocumentedDefaults) {
  const OlderCase c = GetParam();
  telio_test::MemberFields fields = telio_test::SampleMember();
  fields.droppedWord = 0x7777;
  ByteWriter bytes;
  telio_test::PutMDDMember(bytes, fields, c.version);
  PtrStrong<CMDDMember> m = NewMember();
  ASSERT_TRUE(telio_test::LoadRecord(*m, bytes));
  EXPECT_EQ(c.hasLTB, m->HasLTB());
  EXPECT_EQ(c.iyIz, m->Iy_Iz());
  EXPECT_EQ(c.kcIyIz, m->KcIy_Iz());
  EXPECT_EQ(c.tegidaType, m->Tegida().TegidaWord(12));
  EXPECT_EQ(1, m->Tegida().TegidaWord(28));
  EXPECT_EQ(10.0, m->Tegida().TegidaDouble(32));
  // The fields every version holds, after the version's own words.
  EXPECT_EQ(CString("IPE 200"), m->GetSection()->Name());
  EXPECT_EQ(2u, m->GetGrade()->Grade());
  EXPECT_EQ(2, m->GetLTBLst()->GetCount());
  // Versions 1 and 2 keep a new member's composite data.
  CMDDMember fresh;
  EXPECT_EQ(fresh.CompositeData().Composite_C4Factor(), m->CompositeData().Composite_C4Factor());
  EXPECT_TRUE(m->CompositeData().IsEqualWith(&fresh.CompositeData()));
}

INSTANTIATE_TEST_SUITE_P(Versions, OlderMember,
                         ::testing::Values(OlderCase{1, 0, 0, 0, 0}, OlderCase{2, 0, 0, 0, 0}, OlderCase{3, 1, 0, 0, 3},
                                           OlderCase{4, 1, 1, 2, 3}));

TEST(Member, PurlinDataIsRepairedOnlyWhenIncomplete) {
  struct Case {
    int32_t count;
    double length;
    int expectedType;
  } cases[] = {{1, 0.0, 0}, {0, 6.0, 0}, {-2, 6.0, 0}, {2, 6.0, 3}};
  for (const Case& k : cases) {
    for (uint32_t version : {3u, 4u, 5u}) {
      telio_test::MemberFields fields = telio_test::SampleMember();
      fields.tegida = telio_test::TegidaBlock(k.count, k.length, 3);
      ByteWriter bytes;
      telio_test::PutMDDMember(bytes, fields, version);
      PtrStrong<CMDDMember> m = NewMember();
      ASSERT_TRUE(telio_test::LoadRecord(*m, bytes));
      EXPECT_EQ(k.expectedType, m->Tegida().TegidaWord(12)) << k.count << " " << k.length << " v" << version;
      EXPECT_EQ(k.expectedType ? k.length : 10.0, m->Tegida().TegidaDouble(32));
    }
  }
}

TEST(Member, ForcesUnderTheirKeys) {
  CMDDLoadCaseValues v;
  EXPECT_EQ(nullptr, v.FxPtr());
  EXPECT_EQ(0.0, v.Mz());
  v.InitializeValues();
  ASSERT_NE(nullptr, v.MzPtr());
  v.SetValues(1, 2, 3, 4, 5, 6);
  EXPECT_EQ(6.0, v.LCValue(kKeyMz));
  EXPECT_EQ(4.0, *v.MxPtr());
}

TEST(Member, LaterVersionKeepsANewMembersData) {
  ByteWriter bytes = SampleBytes(5);
  bytes.put_u32(0, 6);
  PtrStrong<CMDDMember> m = NewMember();
  m->SetHasLTB(1);
  ASSERT_TRUE(telio_test::LoadRecord(*m, bytes));
  EXPECT_EQ(CString("M1"), m->Name());
  EXPECT_EQ(0, m->HasLTB());
  EXPECT_EQ(0, m->GetLTBLst()->GetCount());
}

TEST(Member, ChecksumOfLinkedAndCompositeMembers) {
  PtrStrong<CMDDMember> m = NewMember();
  ASSERT_TRUE(telio_test::LoadRecord(*m, SampleBytes(5)));
  const ulong32 unlinked = m->CheckSum();
  m->SetLinkStatus(1);
  const ulong32 linked = m->CheckSum();
  EXPECT_NE(unlinked, linked);
  m->CutMemberIntoDst(2.5);  // the analysis model gives a linked member's beams
  EXPECT_EQ(linked, m->CheckSum());
  m->SetLinkStatus(0);
  EXPECT_NE(unlinked, m->CheckSum());

  // A composite member's checksum leaves the restraints out.
  m->GetSection()->SetSection(200, kCompositeFamily, 0);
  ASSERT_TRUE(m->IsCompositeMember());
  const ulong32 composite = m->CheckSum();
  m->RemoveConstXY(10.0, kReg);
  EXPECT_EQ(composite, m->CheckSum());
  m->PCompositeData()->SetComposite_Lcr(3.0);
  EXPECT_NE(composite, m->CheckSum());
}

TEST(Member, RestraintsAreLimitedByPointsAndTwenty) {
  PtrStrong<CMDDMember> m = NewMember();
  m->SetLine(CGPoint(0, 0, 0), CGPoint(30, 0, 0));
  m->CutLineIntoCnt(29);  // 31 points
  ASSERT_EQ(31, m->GetCountInternalPoints());
  int added = 0;
  for (int d = 0; d <= 30; ++d) added += m->AddConstXZ(d, kReg);
  EXPECT_EQ(20, m->GetConstraintXZLst()->GetCount());
  EXPECT_EQ(19, added);  // the first restraint brought the far end with it
  EXPECT_EQ(1, m->RemoveConstXZ(30.0, kReg));
  EXPECT_EQ(0, m->RemoveConstXZ(30.0, kReg));

  PtrStrong<CMDDMember> bare = NewMember();
  bare->SetLine(CGPoint(0, 0, 0), CGPoint(10, 0, 0));
  EXPECT_EQ(1, bare->AddLTB(0.0, kReg));  // two points: 0 and the end
  EXPECT_EQ(2, bare->GetLTBLst()->GetCount());
  EXPECT_EQ(0, bare->AddLTB(5.0, kReg));
}

TEST(Member, RestraintsDriveTheLTBPoints) {
  PtrStrong<CMDDMember> m = NewMember();
  m->SetLine(CGPoint(0, 0, 0), CGPoint(12, 0, 0));
  m->CutLineIntoCnt(2);  // points at 0, 4, 8, 12
  m->GetConstraintXYLst()->AddConstraint(0.0, 1, 0.0);
  m->GetConstraintXYLst()->AddConstraint(8.0, 3, 0.5);
  m->GetLTBLst()->AddLTB(4.0, 1, 1);
  m->GetLTBLst()->SetDefaultKwType(1);
  m->SynchronizeConstraintsLTB(m->GetConstraintXYLst(), m->GetLTBLst());
  const CILTBLst& ltb = *m->GetLTBLst();
  EXPECT_EQ(nullptr, ltb.FindLTBAt(4.0));
  ASSERT_NE(nullptr, ltb.FindLTBAt(0.0));
  EXPECT_EQ(1, ltb.FindLTBAt(0.0)->KType());
  ASSERT_NE(nullptr, ltb.FindLTBAt(8.0));
  EXPECT_EQ(2, ltb.FindLTBAt(8.0)->KType());  // type 3 is no LTB kind
  EXPECT_EQ(1, ltb.FindLTBAt(8.0)->KwType());
  EXPECT_EQ(2, ltb.FindLTBAt(12.0)->KType());
}

TEST(Member, CopiesTakeEveryStoredFieldButNoGroupOrLinkState) {
  PtrStrong<CMDDMember> m = NewMember();
  ASSERT_TRUE(telio_test::LoadRecord(*m, SampleBytes(5)));
  m->SetIPsLCValuesLinked(1);
  m->SetLinkStatus(1);
  CMDDMember copy;
  ASSERT_TRUE(copy.CopyFrom(m.GetPtr()));
  EXPECT_TRUE(copy.IsEqualWith(m.GetPtr()));
  EXPECT_EQ(0, copy.IPsLCValuesLinked());
  EXPECT_EQ(0, copy.LinkStatus());
  copy.GetSection()->SetSection(201, 11, 0);
  EXPECT_EQ(200u, m->GetSection()->Section());  // the section is copied, not shared
  EXPECT_FALSE(copy.IsEqualWith(m.GetPtr()));
  EXPECT_FALSE(copy.CopyFrom(static_cast<const CMDDMember*>(nullptr)));
}

}  // namespace
