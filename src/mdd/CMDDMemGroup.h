// CMDDMemGroup: a group of like members that share a set of options (the
// group's option mask, its Flags word) through a template member;
// CMDDMemGroupLst: the groups of a members array.
//
// The template is itself a member of the parent members array: it bears the
// group's name and the template mark (attribute 4), and a template belongs
// to at most one group. The first member added defines the template (a copy
// of it); each further member narrows the mask to the options it shares
// with the template (ResetBy). Editing the template and calling Update()
// carries the change to the members for the options in the mask.
//
// The parent is the members array (CMDDMemGroupParent, which the members
// array implements); groups neither own nor outlive it. A group and each of
// its members (and its template) hold strong pointers to each other; the
// links are broken by the Remove operations and by detaching the group
// (SetParent(null), or destroying its list).
//
// Records (little-endian):
//   CMDDMemGroup (version 1): version word (4); the CEElement record (name,
//     attributes, flags = the option mask); the description (text); the
//     template member's record (CMDDMember; a new template is made first
//     when there is none); the member count (4); each member's name (text;
//     empty for an empty slot). Reading makes a placeholder member bearing
//     each name, then Validate() puts the parent's members in their place.
//     Another version reads only the CEElement record.
//   CMDDMemGroupLst (version 1): version word (4); the group count (4);
//     each group's record. Read groups keep their stored names.
// Checksums:
//   CMDDMemGroup: the CEElement checksum (4); the description (text); the
//     template's checksum (4); the member array's checksum (count, then each
//     live member's checksum).
//   CMDDMemGroupLst: each group's checksum in order (4 each).
#pragma once

#include <cstdio>

#include "framework/CArrayExPointers.h"
#include "framework/CMapEx.h"
#include "framework/PtrStrong.h"
#include "mdd/CMDDMember.h"
#include "objects/data/CILoadCaseLstSyn.h"
#include "objects/elements/CEElement.h"
#include "platform/CString.h"
#include "platform/Export.h"
#include "platform/Types.h"

namespace MDD_OBJECTS {

const unsigned int _SerializeVersionCMDDMemGroup = 1;
const unsigned int _SerializeVersionCMDDMemGroupLst = 1;

// The options members of a group may share: the two members ... (frozen
// bit values; 8192 and 16384 are not used).
enum GROUP_OPTIONS : ulong32 {
  GO_LENGTH = 1,            // have lengths that differ by less than 0.001
  GO_LINE = 2,              // ... and lines that match (CGLine::MatchWith)
  GO_SECTION = 4,           // have equal sections
  GO_GRADE = 8,             // have equal grades
  GO_SECTION_ANGLE = 16,    // have equal sections with rotation angles
                            // (BAnnet) within 0.001
  GO_PURLIN_TYPE = 32,      // have purlin data of the same type
  GO_HAS_LTB = 64,          // have equal has-LTB words
  GO_XY_POSITIONS = 128,    // have XY restraints at the same positions
  GO_XZ_POSITIONS = 256,    // have XZ restraints at the same positions
  GO_LTB_POSITIONS = 512,   // have LTB points at the same positions
  GO_XY_DATA = 1024,        // ... and with equal data
  GO_XZ_DATA = 2048,
  GO_LTB_DATA = 4096,
  GO_COMPOSITE = 32768,     // are both composite members or both not
};

// Every option bit at once.
const ulong32 kAllGroupOptions = GO_LENGTH | GO_LINE | GO_SECTION | GO_GRADE | GO_SECTION_ANGLE | GO_PURLIN_TYPE |
                                 GO_HAS_LTB | GO_XY_POSITIONS | GO_XZ_POSITIONS | GO_LTB_POSITIONS | GO_XY_DATA |
                                 GO_XZ_DATA | GO_LTB_DATA | GO_COMPOSITE;

class CMDDMemGroup;
class CMDDMemGroupLst;

// What groups need of the members array that holds them and their
// templates. The members array implements it; it must stay alive while
// groups refer to it.
class TELIO_EXPORT CMDDMemGroupParent {
 public:
  virtual ~CMDDMemGroupParent();

  virtual int GetCountMembers() const = 0;
  // Member i, or null.
  virtual GE_::Safe::PtrStrong<CMDDMember> MemberAt(int i) const = 0;
  // The member of that name (letter case ignored), or null.
  virtual GE_::Safe::PtrStrong<CMDDMember> FindMember(const CString& name) const = 0;
  // Appends the member; returns its index.
  virtual int AddMember(GE_::Safe::PtrStrong<CMDDMember> member) = 0;
  // Removes the member of that name; returns it, or null.
  virtual GE_::Safe::PtrStrong<CMDDMember> RemoveMember(const CString& name) = 0;
  // The default group name of the project's settings.
  virtual CString GetDefaultGroupName() const = 0;
  // The project's load-case list (null when there is none).
  virtual TELMARO_DATA_OBJECTS::CILoadCaseLstSyn* GetLoadCaseLst() const = 0;
  // Attaches the forces of the member's intermediate points (lcIndex -1:
  // every load case); nonzero on success.
  virtual int LinkIPsLCValuesToMember(CMDDMember* member, int lcIndex) = 0;

 protected:
  // The only way to make a group list: for this parent.
  GE_::Safe::PtrStrong<CMDDMemGroupLst> NewGroupLst();
};

class TELIO_EXPORT CMDDMemGroup : public ELEMENT_OBJECTS::CEElement, public GE_::Safe::ObjStrong {
 public:
  typedef GE_::Safe::PtrStrong<CMDDMember> MemberPtr;
  typedef CMapEx<int, int, int, int> OptionMap;

  ~CMDDMemGroup() override;

  CMDDMemGroupParent* GetParent() const { return m_parent; }
  MemberPtr GetTemplate() const { return m_template; }
  CString Description() const { return m_description; }
  void SetDescription(const CString& text) { m_description = text; }
  // The option mask.
  ulong32 Options() const { return Flags(); }

  int Count() const { return m_members.GetSize(); }
  // Member i, or null.
  MemberPtr MemberAt(int i) const;
  // Member i's name, empty for none.
  CString MemberNameAt(int i) const;
  // By name, letter case ignored.
  MemberPtr FindMember(const CString& name) const;
  int FindMemberIndex(const CString& name) const;
  int MemberExists(const CString& name) const { return FindMemberIndex(name) >= 0 ? 1 : 0; }

  // Adds the parent's member of that name: 0 without a parent, for a name
  // the parent does not know and for a member already in a group; else the
  // member joins (defining the template when it is the only one, narrowing
  // the mask otherwise), 1.
  int Add(const CString& memberName);
  int Add(CMDDMember* member);
  // Take members out (each member's RemoveFromGroup(this)), then Reset().
  // 1 when a member was taken out.
  int Remove(int index);
  int Remove(const CString& memberName);
  int Remove(CMDDMember* member);
  void RemoveAll();
  // Redefines the template and the mask from the members (see above).
  void Reset();
  // Applies the template to every member for the options in the mask.
  void Update();
  // After reading: the stored names become the parent's members (names the
  // parent does not know are dropped), then ValidateTemplate().
  void Validate();

  // -1 when the group has no members, else GetOptionMatch(template, m).
  int GetOptionMatch(CMDDMember* m) const;
  // The option bits that hold for the pair; 0 when either is null.
  static ulong32 GetOptionMatch(const CMDDMember* a, const CMDDMember* b);

  // The option locks (a new group has every lock 1) and flags (never set
  // here); a missing entry reads 0.
  void Lock(GROUP_OPTIONS option, int value);
  void LockAll(int value);
  int GetOptionValue(GROUP_OPTIONS option) const;
  int GetFlagValue(GROUP_OPTIONS option) const;

  using CEElement::CopyFrom;
  using CEElement::CopyTo;
  using CEElement::IsEqualWith;
  // The identity, description, a copy of the template and the member list
  // (shared members) and the option maps; the parent stays. False for null.
  bool CopyFrom(const CMDDMemGroup* other);
  bool CopyTo(CMDDMemGroup* other) const;
  // Elements equal, descriptions equal ignoring case, the same member
  // names in order. False for null.
  bool IsEqualWith(const CMDDMemGroup* other) const;

  bool Serialize(FILE* f, bool load) override;
  ulong32 CheckSum() const override;

 protected:
  friend class CMDDMemGroupLst;
  friend class CMDDMember;

  explicit CMDDMemGroup(CMDDMemGroupParent* parent);
  CMDDMemGroup(const CMDDMemGroup& other);
  explicit CMDDMemGroup(const CMDDMemGroup* other);

  // Takes every member out, takes the old template out of the old parent,
  // then attaches the group to parent (ValidateTemplate).
  void SetParent(CMDDMemGroupParent* parent);
  // The template becomes a copy of member (its line reset for null), named
  // after the group, marked, with every option bit set.
  void SetTemplate(CMDDMember* member);
  // Clears the options member does not share with the template; removes
  // the template's restraints and LTB points that member lacks.
  void ResetBy(CMDDMember* member);
  // Applies the template to member for the options in the mask.
  void Update(CMDDMember* member);
  // With a parent and a name: the parent holds the template under the
  // group's name (a member of that name there becomes the template; a
  // missing template is made, marked and added).
  void ValidateTemplate();

 private:
  CMDDMemGroup& operator=(const CMDDMemGroup&) = delete;

  // Breaks every link to members and the template, leaving the parent
  // alone (for a parent that is going away).
  void Detach();
  // Takes member i out without Reset().
  void TakeOut(int index);

  MemberPtr m_template;
  CMDDMemGroupParent* m_parent;
  CString m_description;
  CArrayExPointers<MemberPtr> m_members;
  OptionMap m_locks;
  OptionMap m_flags;
};

class TELIO_EXPORT CMDDMemGroupLst : public CArrayExPointers<GE_::Safe::PtrStrong<CMDDMemGroup>> {
 public:
  typedef GE_::Safe::PtrStrong<CMDDMemGroup> GroupPtr;

  // Detaches every group from its members and template (the parent is not
  // asked: it may be going away itself).
  ~CMDDMemGroupLst() override;

  CMDDMemGroupParent* GetParent() const { return m_parent; }
  int Count() const { return GetSize(); }
  bool IsEmpty() const { return GetSize() == 0; }
  // Group i, or null.
  CMDDMemGroup* GroupAt(int i) const;
  // By name, letter case ignored; null / -1 when absent.
  CMDDMemGroup* FindGroupByName(const CString& name) const;
  int GroupIndexByName(const CString& name) const;
  // Index of the first group holding a member of that name, or -1.
  int FindFirstGroupOfMember(const CString& memberName) const;

  // A new empty group named by GetValidGroupName of an empty name and
  // attached to the parent; null without a parent.
  CMDDMemGroup* AddGroup();
  // The group is detached (SetParent(null)) and dropped; 0 out of range.
  int RemoveGroupAt(int index);
  void RemoveGroupAll();
  // The name made valid (the group's own index left out) becomes the name
  // of the group and of its template; returns GetValidGroupName's result
  // (-1 for no such group).
  int RenameGroup(int index, CString name);
  int RenameGroup(CMDDMemGroup* group, CString name);

  // Makes name (in place) a name no member of the parent bears (without a
  // parent: no group but the one at index skip); the base is the name, or
  // the parent's default group name, or "Group"; an empty name becomes
  // base1, a taken one base1, base2, ... (after base1 for an empty one).
  // 1 when the given name was kept, else 0.
  int GetValidGroupName(CString& name, int skip) const;
  // Groups the parent's members (templates and grouped members aside) by
  // every option: each member joins the first bucket whose first member
  // matches it in all options; buckets of two or more become groups. The
  // argument is not used; 0 without a parent, else the number of groups
  // made.
  int AutoCreateGroups(int unused);

  bool Serialize(FILE* f, bool load);
  ulong32 CheckSum() const override;

 protected:
  friend class CMDDMemGroupParent;

  explicit CMDDMemGroupLst(CMDDMemGroupParent* parent);

 private:
  CMDDMemGroupLst(const CMDDMemGroupLst&) = delete;
  CMDDMemGroupLst& operator=(const CMDDMemGroupLst&) = delete;

  CMDDMemGroupParent* m_parent;
};

}  // namespace MDD_OBJECTS
