// Member groups: names, templates and option masks, automatic grouping,
// carrying template edits to the members, and the group list's record.
#include <gtest/gtest.h>

#include <vector>

#include "mdd/CMDDMemGroup.h"
#include "mdd/CMDDMember.h"
#include "objects/data/CILoadCaseLstSyn.h"
#include "support/ObjectRecords.h"

using namespace MDD_OBJECTS;
using namespace TELMARO_DATA_OBJECTS;
using GE_::Safe::PtrStrong;
using GEOMETRY_OBJECTS::CGPoint;

namespace {

// The little of a members array that groups use.
class Array : public CMDDMemGroupParent {
 public:
  std::vector<PtrStrong<CMDDMember>> members;
  PtrStrong<CILoadCaseLstSyn> loads{new CILoadCaseLstSyn};
  PtrStrong<CMDDMemGroupLst> groups;
  int linked = 0;

  Array() { groups = NewGroupLst(); }
  ~Array() override { groups.Reset(); }

  CMDDMember* Member(const char* name, double length, ulong32 section) {
    PtrStrong<CMDDMember> m(new CMDDMember);
    m->SetName(name);
    m->SetLine(CGPoint(0, 0, 0), CGPoint(length, 0, 0));
    m->GetSection()->SetSection(section, 11, 0);
    AddMember(m);
    return m.GetPtr();
  }

  int GetCountMembers() const override { return static_cast<int>(members.size()); }
  PtrStrong<CMDDMember> MemberAt(int i) const override {
    return (i >= 0 && i < GetCountMembers()) ? members[static_cast<size_t>(i)] : PtrStrong<CMDDMember>();
  }
  PtrStrong<CMDDMember> FindMember(const CString& name) const override {
    for (const auto& m : members) {
      if (m->Name().CompareNoCase(name) == 0) return m;
    }
    return PtrStrong<CMDDMember>();
  }
  int AddMember(PtrStrong<CMDDMember> member) override {
    members.push_back(member);
    return GetCountMembers() - 1;
  }
  PtrStrong<CMDDMember> RemoveMember(const CString& name) override {
    for (size_t i = 0; i < members.size(); ++i) {
      if (members[i]->Name().CompareNoCase(name) == 0) {
        PtrStrong<CMDDMember> m = members[i];
        members.erase(members.begin() + static_cast<long>(i));
        return m;
      }
    }
    return PtrStrong<CMDDMember>();
  }
  CString GetDefaultGroupName() const override { return "Group"; }
  CILoadCaseLstSyn* GetLoadCaseLst() const override { return loads.GetPtr(); }
  int LinkIPsLCValuesToMember(CMDDMember*, int) override { return ++linked; }
};

TEST(Groups, NamesAvoidEveryMemberName) {
  Array a;
  a.Member("Group1", 5, 1)->SetAttr(kMemberTemplate, 0);
  a.Member("group2", 5, 1)->SetAttr(kMemberTemplate, 0);
  a.Member("Hall", 5, 1);
  CString name;
  EXPECT_EQ(0, a.groups->GetValidGroupName(name, -1));
  EXPECT_EQ(CString("Group3"), name);
  name = "Roof";
  EXPECT_EQ(1, a.groups->GetValidGroupName(name, -1));
  EXPECT_EQ(CString("Roof"), name);
  name = "HALL";
  EXPECT_EQ(0, a.groups->GetValidGroupName(name, -1));
  EXPECT_EQ(CString("HALL1"), name);

  CMDDMemGroup* g = a.groups->AddGroup();
  ASSERT_NE(nullptr, g);
  EXPECT_EQ(CString("Group3"), g->Name());
  // The template joins the array under the group's name, marked.
  ASSERT_FALSE(a.FindMember("Group3").IsNull());
  EXPECT_TRUE(a.FindMember("Group3")->IsTemplate());
  EXPECT_EQ(1, a.groups->RenameGroup(0, "Roof"));
  EXPECT_EQ(CString("Roof"), a.FindMember("Roof")->Name());
  EXPECT_EQ(g, a.groups->FindGroupByName("roof"));
}

TEST(Groups, AutoCreateGroupsLikeMembersOnly) {
  Array a;
  a.Member("A", 6, 200);
  a.Member("B", 8, 200);
  a.Member("C", 6, 200);
  EXPECT_EQ(1, a.groups->AutoCreateGroups(0));
  ASSERT_EQ(1, a.groups->Count());
  CMDDMemGroup* g = a.groups->GroupAt(0);
  EXPECT_EQ(2, g->Count());
  EXPECT_EQ(CString("C"), g->MemberNameAt(1));
  EXPECT_EQ(0, a.groups->FindFirstGroupOfMember("a"));
  EXPECT_EQ(-1, a.groups->FindFirstGroupOfMember("B"));
  // A second pass finds only grouped members and templates.
  EXPECT_EQ(0, a.groups->AutoCreateGroups(0));

  // A member of one group cannot join another.
  CMDDMemGroup* other = a.groups->AddGroup();
  EXPECT_EQ(0, other->Add("A"));
  EXPECT_EQ(0, other->Count());
  EXPECT_EQ(2, g->Count());
  EXPECT_EQ(1, other->Add("B"));
  EXPECT_EQ(0, other->Add("nobody"));
}

TEST(Groups, MembersNarrowTheMaskAndTheTemplateCarriesEdits) {
  Array a;
  CMDDMember* m1 = a.Member("M1", 6, 200);
  CMDDMember* m2 = a.Member("M2", 6, 300);
  CMDDMember* m3 = a.Member("M3", 9, 200);
  CMDDMemGroup* g = a.groups->AddGroup();
  ASSERT_EQ(1, g->Add("M1"));
  EXPECT_EQ(0xFFFFFFFFu, g->Options());
  ASSERT_EQ(1, g->Add(m2));
  EXPECT_EQ(0u, g->Options() & (GO_SECTION | GO_SECTION_ANGLE));
  EXPECT_NE(0u, g->Options() & GO_GRADE);
  EXPECT_NE(0u, g->Options() & GO_LENGTH);
  EXPECT_EQ(g->Options(), g->GetTemplate()->Flags());

  // Only the options in the mask are carried: the length, not the section.
  g->GetTemplate()->SetLine(CGPoint(0, 0, 0), CGPoint(7.5, 0, 0));
  g->GetTemplate()->GetSection()->SetSection(400, 11, 0);
  g->Update();
  EXPECT_EQ(7.5, m1->Length());
  EXPECT_EQ(7.5, m2->Length());
  EXPECT_EQ(300u, m2->GetSection()->Section());
  EXPECT_EQ(2, a.linked);

  // Removing the member that differed restores the section option.
  EXPECT_EQ(1, g->Remove("m2"));
  EXPECT_EQ(0, m2->GetCountGroups());
  EXPECT_NE(0u, g->Options() & GO_SECTION);
  EXPECT_EQ(-1, a.groups->FindFirstGroupOfMember("M2"));
  EXPECT_EQ(0, g->GetOptionMatch(m3) & static_cast<int>(GO_LENGTH));

  // Detaching the group lets its members and template go.
  EXPECT_EQ(1, a.groups->RemoveGroupAt(0));
  EXPECT_EQ(0, m1->GetCountGroups());
  EXPECT_TRUE(a.FindMember("Group1").IsNull());
}

TEST(Groups, TemplateRestraintsReachTheMembers) {
  Array a;
  CMDDMember* m1 = a.Member("M1", 6, 200);
  CMDDMember* m2 = a.Member("M2", 6, 200);
  for (CMDDMember* m : {m1, m2}) {
    m->GetConstraintXYLst()->AddConstraint(0.0, 1, 0.0);
    m->GetLTBLst()->AddLTB(0.0, 1, 1);
  }
  m2->GetLTBLst()->AddLTB(2.0, 1, 1);  // only m2: the template keeps no point at 2
  CMDDMemGroup* g = a.groups->AddGroup();
  g->Add("M1");
  g->Add("M2");
  ASSERT_NE(0u, g->Options() & GO_XY_DATA);
  EXPECT_EQ(0u, g->Options() & GO_LTB_POSITIONS);
  EXPECT_EQ(nullptr, g->GetTemplate()->GetLTBLst()->FindLTBAt(2.0));

  g->GetTemplate()->GetConstraintXYLst()->AddConstraint(3.0, 3, 0.5);
  g->GetTemplate()->GetConstraintXYLst()->FindConstraintAt(6.0)->SetType(1);
  g->Update();
  for (CMDDMember* m : {m1, m2}) {
    ASSERT_NE(nullptr, m->GetConstraintXYLst()->FindConstraintAt(3.0));
    EXPECT_EQ(0.5, m->GetConstraintXYLst()->FindConstraintAt(3.0)->Eta());
    EXPECT_EQ(1, m->GetConstraintXYLst()->FindConstraintAt(6.0)->Type());
  }
  EXPECT_NE(nullptr, m2->GetLTBLst()->FindLTBAt(2.0));  // LTB positions are not shared
}

TEST(Groups, OptionMatchOfPairs) {
  Array a;
  CMDDMember* m1 = a.Member("M1", 6, 200);
  CMDDMember* m2 = a.Member("M2", 6.0005, 200);
  m2->GetSection()->SetBAnnet(0.5);
  m2->SetHasLTB(1);
  const ulong32 match = CMDDMemGroup::GetOptionMatch(m1, m2);
  EXPECT_NE(0u, match & GO_LENGTH);
  EXPECT_NE(0u, match & GO_LINE);
  EXPECT_NE(0u, match & GO_SECTION);
  EXPECT_EQ(0u, match & GO_SECTION_ANGLE);
  EXPECT_EQ(0u, match & GO_HAS_LTB);
  EXPECT_NE(0u, match & GO_COMPOSITE);
  EXPECT_EQ(0u, CMDDMemGroup::GetOptionMatch(m1, nullptr));
  m2->SetLine(CGPoint(0, 0, 0), CGPoint(6.002, 0, 0));
  EXPECT_EQ(0u, CMDDMemGroup::GetOptionMatch(m1, m2) & (GO_LENGTH | GO_LINE));
}

TEST(Groups, ListRecordRebindsTheMembersByName) {
  Array a;
  a.Member("M1", 6, 200);
  a.Member("M2", 6, 200);
  a.Member("M3", 6, 200);
  a.groups->AutoCreateGroups(0);
  ASSERT_EQ(1, a.groups->Count());
  a.groups->GroupAt(0)->SetDescription("purlins");
  const ulong32 sum = a.groups->CheckSum();
  const std::vector<uint8_t> saved = telio_test::SavedRecord(*a.groups);

  // Another array holding copies of the members, the template among them,
  // but not M2.
  Array b;
  for (const auto& m : a.members) {
    if (m->Name() != CString("M2")) b.AddMember(PtrStrong<CMDDMember>(new CMDDMember(*m)));
  }
  ASSERT_TRUE(telio_test::LoadRecord(*b.groups, saved));
  ASSERT_EQ(1, b.groups->Count());
  CMDDMemGroup* g = b.groups->GroupAt(0);
  EXPECT_EQ(CString("purlins"), g->Description());
  EXPECT_EQ(2, g->Count());
  EXPECT_EQ(CString("M3"), g->MemberNameAt(1));
  EXPECT_EQ(b.FindMember("M1").GetPtr(), g->MemberAt(0).GetPtr());
  EXPECT_EQ(b.FindMember("Group1").GetPtr(), g->GetTemplate().GetPtr());
  EXPECT_EQ(1, g->MemberAt(0)->GetCountGroups());
  EXPECT_EQ(3u, b.members.size());  // no second template
  EXPECT_NE(sum, b.groups->CheckSum());
  EXPECT_EQ(0, g->Add("M3"));
}

}  // namespace
