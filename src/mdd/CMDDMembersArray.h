// CMDDMembersArray: the root of a member design project. It owns the design
// members (in project order) and what the project shares: the job data and
// the link to an analysis job, the project's sections and load cases, the
// analysis data and result slots that the result managers read, the member
// groups, the project defaults, the selection and, while the project is
// linked, the topology and the result readers of the analysis job.
//
// Record (version 3, little-endian; the whole body of a design project
// file):
//   version word (4); the job data record (CIJobData); the link data record
//   (CILinkJobData, its job path made relative to the project path first);
//   the section list record (CISectionLst); the load-case list record
//   (CILoadCaseLstSyn); the member count N (4, signed); N member records
//   (CMDDMember); the beam count and the node count of the linked topology
//   (4 each, the topology stamps); the group list record (CMDDMemGroupLst).
// Older records, read (frozen history): 1 ends after the members; 2 adds
//   the stamps. Version 3 drops, after reading, every template member whose
//   name is no group's. Another version reads nothing after the version
//   word. Every load ends with ValidateLinkStatus(), then sets the analysis
//   safety-factor code from the regulation (0 gives 1, 1 gives 4).
//   Reading never allocates for a count before the records it promises have
//   been read: a count larger than the file fails when the stream ends.
// Checksum (4 bytes each): job data, link data, section list, load-case
//   list, the members (count, then each live member's checksum), the two
//   stamps. Groups, settings, selection and results do not enter it.
//
// Link states: unlinked (link switch 0: members carry their own geometry and
// forces, at most 20 load cases after each link pass), linked and usable
// (switch 1, validity 1: the readers are open, the load cases are the
// analysis job's static load cases and the intermediate points carry the
// analysis forces), linked but not usable (switch 1, files missing: nothing
// is read). SetLinked, LinkWithJob and ValidateLinkStatus move between them;
// each ends in Link, which rebuilds what depends on the analysis files.
//
// Departures, and why:
//   - Speed, same results: Link drops the members' intermediate points
//     (when the link is usable) before it refills the load-case list, not
//     after, since the points' value lists would otherwise each receive a
//     value set for every load case added, only to be dropped; and
//     LinkIPsLCValuesToMember synchronises a point's values with the
//     load-case list once, not once per load case.
//   - A section given to a member joins the project's section list only
//     when the list holds no equal section, so that the list names each
//     section the project uses once.
//   - A new member (SetMemberDefaultData, the job import) gets the purlin
//     defaults that loading its record would give it (CMDDMember::RepairTegida).
//   - Link gives every member the link switch as its link status (a loaded
//     member starts at 0), so that a project saved and loaded again keeps
//     its checksum.
//   - LinkWithJob and ValidateLinkStatus change the job the link data name,
//     not the link switch (which the job import sets before linking).
//   - LinkIPsLCValuesToAllMembers does for every member what
//     LinkIPsLCValuesToMember(member, -1) does, reading the result files load
//     case by load case in beam order.
//
// Members, groups and readers hold plain pointers into the array (the
// analysis elements refer to the members, the groups to the array): keep
// the array alive, and in one place, while they are used.
#pragma once

#include <cstdio>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "files/CFileACE.h"
#include "files/CFileOUC.h"
#include "files/CFileRES.h"
#include "framework/CArrayExPointers.h"
#include "framework/PtrStrong.h"
#include "mdd/CMDDMemGroup.h"
#include "mdd/CMDDMember.h"
#include "mdd/CMemberDesignSettings.h"
#include "objects/data/CIAnalysisData.h"
#include "objects/data/CIJobData.h"
#include "objects/data/CILinkJobData.h"
#include "objects/data/CILoadCaseLstSyn.h"
#include "objects/data/CIPreCheckSectionData.h"
#include "objects/data/CIResults.h"
#include "objects/data/CISectionData.h"
#include "objects/data/CISectionLst.h"
#include "platform/CString.h"
#include "platform/Export.h"
#include "platform/Types.h"
#include "topology/CTOPO_REC.h"

namespace MDD_OBJECTS {

const unsigned int _SerializeVersionCMDDMembersArray = 3;

// Result slots of the project (frozen).
enum : int {
  kResultsPreCheck = 0,
  kResultsAnalysis = 1,
  kResultsAnalysisComposite = 2,
};

// A project holds at most this many load cases while it is not linked, and
// this many when the analysis job gives them.
const int kMaxUnlinkedLoadCases = 20;
const int kMaxLinkedLoadCases = 800;

class TELIO_EXPORT CMDDMembersArray : public CArrayExPointers<GE_::Safe::PtrStrong<CMDDMember>>,
                                      public CMDDMemGroupParent {
 public:
  typedef GE_::Safe::PtrStrong<CMDDMember> MemberPtr;
  typedef CArrayExPointers<MemberPtr> MemberArray;

  // A block the host may fill (dynamic load cases beside the static ones);
  // Link frees it and zeroes its count and capacity. Allocated with
  // telio::Malloc.
  struct DynamicBuffer {
    void* data = nullptr;
    int count = 0;
    int capacity = 0;
  };

  CMDDMembersArray();
  // Detaches the groups and frees the readers.
  ~CMDDMembersArray() override;

  // --- members ---
  int GetCountMembers() const override { return GetSize(); }
  MemberPtr MemberAt(int i) const override;
  // By name, letter case ignored; null / -1 when absent.
  MemberPtr FindMember(const CString& name) const override;
  int MemberIndexByName(const CString& name) const;
  int MemberIndex(const CMDDMember* member) const;
  // Appends member: it gets the default data (SetMemberDefaultData); in an
  // unlinked project its values follow the load cases and its points get
  // their values; its element joins the analysis data. The new index.
  int AddMember(MemberPtr member) override;
  // Removes the member: its analysis element, selection and groups go with
  // it and the member analysis results are refreshed. The result is a copy
  // of the removed member; null when there is none.
  MemberPtr RemoveMember(int index);
  MemberPtr RemoveMember(const CString& name) override;
  void RemoveAllMembers();

  // Makes name (in place) a member name no member bears, the one at skip
  // aside (-1: none): a name of 9 or more characters is emptied; an empty
  // name becomes "m1" and a taken one "m1", "m2" ... (an empty one goes on
  // after 1). 1 when a free name was kept or an empty one filled; 0 when
  // the name was too long or taken.
  int GetValidMemberName(CString& name, int skip) const;
  // A new member's name (when empty), link status, line and section (not
  // linked), grade, has-LTB and composite data from the settings, and the
  // purlin defaults a load would give it (see CMDDMember::RepairTegida). Nothing
  // for null.
  void SetMemberDefaultData(CMDDMember* member);
  // The member at index gets a copy of section (made when missing; null
  // resets it), which joins the section list. 0 when there is no member.
  int SetSectionForMember(int index, GE_::Safe::PtrStrong<TELMARO_DATA_OBJECTS::CISectionData> section);
  // Adds a copy of section's section data to the project's section list
  // unless the list holds an equal section (CISectionLst::FindSection). 1
  // when added.
  int AddProjectSection(const GE_::Safe::PtrStrong<TELMARO_DATA_OBJECTS::CISectionData>& section);
  // The catalogue section of the topology section of the member's first
  // beam (the tapered parent for a tapered one) through SetSectionForMember;
  // 0 when the topology or the catalogue does not give one.
  int UpdateMemberSectionFromTopology(int index);
  // The members, in order, whose selected bit (8) is set (selected nonzero)
  // or clear (selected 0) and whose other attribute bits lie in mask.
  std::unique_ptr<MemberArray> ArrayMembersWith(ulong32 mask, int selected) const;

  // --- selection ---
  // Selecting sets attribute 8 and enters the member under its name;
  // exclusive first deselects all. 0 for a missing member.
  int SelectMember(const MemberPtr& member, int select, int exclusive);
  int SelectMember(int index, int select, int exclusive);
  int SelectMember(const CString& name, int select, int exclusive);
  void SelectMembersAll(bool select);
  int SelectMemberFirst();
  int SelectMemberLast();
  bool IsMemberSelected(const MemberPtr& member) const;
  // The i-th selected member in project order, or null.
  MemberPtr GetSelectedMember(int i) const;
  int GetCountSelectedMembers() const;

  // --- link ---
  // Link switch 1 for v == 1, else 0; the link data validated against the
  // project path; Link(0).
  void SetLinked(int v);
  // The link data's job becomes jobPath (an analysis project folder NAME.AJF
  // or a file of its set); Link(0).
  void LinkWithJob(const CString& jobPath);
  // After a load: finds the job again through the path stored relative to
  // the project; a linked project whose job cannot be used becomes
  // unlinked (0). Otherwise Link(0) and 1.
  int ValidateLinkStatus();
  // Rebuilds what depends on the analysis files (see the header); the
  // argument is not used. Import failures of the result, run-control,
  // combination and name files end the reading silently.
  void Link(int unused);
  bool IsValidLink() const { return m_link.IsValidLink(); }

  // The families whose members take the special-family grade and the
  // default purlin type: 71 to 73, 75, 91 to 96, 111, 112, 192 to 194 (not
  // 74).
  static bool IsSpecialFamily(long family);

  // Adds topology beam b to member as an internal beam (a CMDDBeam from b's
  // first to its second node, named after b, turned to run the member's way
  // when it runs against it). 0 when b lacks a node or the member's beam
  // list refuses it (a beam that does not continue the member's straight
  // line).
  static int AppendTopologyBeam(CMDDMember& member, const TOPOStructs::BEAM_REC& b);

  // Appends a load case named name, the i-th of the job (0-based), as Link
  // and the job import make them: a name that is not valid and that a load
  // case already bears gets the flag word i + 1, so that the two stay
  // apart; the name is kept. AddLoadCase's result.
  int AppendLoadCase(const CString& name, int i);

  // The analysis data's lists rebuilt: list 0 every member, list 1 every
  // load case, in order.
  void SynchronizeAnalysisData();
  // The member's values follow the load-case list; link true then attaches
  // its points' values. 0 for null or a failed synchronisation.
  int SynchronizeLCValuesForMember(CMDDMember* member, bool link);
  int SynchronizeLCValuesForMember(int index);
  // The forces of the member's intermediate points for load case lcIndex
  // (-1: all): with a usable link read from the OUC file (the RES end
  // forces where it has no data), else the value sets only made. 0 for null
  // and for an lcIndex out of range; 1 otherwise (nothing read for a member
  // already linked, a template, or without a topology).
  int LinkIPsLCValuesToMember(CMDDMember* member, int lcIndex) override;
  int LinkIPsLCValuesToMember(int memberIndex, int lcIndex);
  // LinkIPsLCValuesToMember(member, -1) for every member; the number of
  // members for which it returned 1.
  int LinkIPsLCValuesToAllMembers();
  // The index of the member's point at distance from its start for load
  // case lcIndex: unlinked, 2k - 1 for its k-th internal point (k >= 1;
  // each inner point ends one beam and starts the next); linked, the count
  // of the OUC positions of its beams, in order, before the one within
  // 0.001 of distance. -1 when there is none, for a member or load case
  // out of range, and linked without a topology.
  int GetIPPerLCIndex(int memberIndex, int lcIndex, double distance);

  // --- parts ---
  TELMARO_DATA_OBJECTS::CIJobData* GetJobData() { return &m_jobData; }
  const TELMARO_DATA_OBJECTS::CIJobData* GetJobData() const { return &m_jobData; }
  TELMARO_DATA_OBJECTS::CILinkJobData* GetLinkJobData() { return &m_link; }
  const TELMARO_DATA_OBJECTS::CILinkJobData* GetLinkJobData() const { return &m_link; }
  GE_::Safe::PtrStrong<TELMARO_DATA_OBJECTS::CISectionLst> GetSectionLst() const { return m_sections; }
  TELMARO_DATA_OBJECTS::CILoadCaseLstSyn* GetLoadCaseLst() const override { return m_loadCases.GetPtr(); }
  GE_::Safe::PtrStrong<TELMARO_DATA_OBJECTS::CILoadCaseLstSyn> GetLoadCaseLstPtr() const { return m_loadCases; }
  TELMARO_DATA_OBJECTS::CIAnalysisData* GetAnalysisData() { return &m_analysis; }
  TELMARO_DATA_OBJECTS::CIAnalysisData* GetAnalysisCompositeData() { return &m_analysisComposite; }
  TELMARO_DATA_OBJECTS::CIPreCheckSectionData* GetPreCheckSectionData() { return &m_preCheck; }
  TELMARO_DATA_OBJECTS::CIResultsArray* GetResultsArray() { return &m_results; }
  GE_::Safe::PtrStrong<TELMARO_DATA_OBJECTS::CIResults> GetPreCheckSectionResults() const;
  GE_::Safe::PtrStrong<TELMARO_DATA_OBJECTS::CIResults> GetAnalysisResults() const;
  GE_::Safe::PtrStrong<TELMARO_DATA_OBJECTS::CIResults> GetAnalysisCompositeResults() const;
  CMemberDesignSettings* GetSettings() { return &m_settings; }
  const CMemberDesignSettings* GetSettings() const { return &m_settings; }
  CString GetDefaultGroupName() const override { return m_settings.DefaultGroupName(); }
  GE_::Safe::PtrStrong<CMDDMemGroupLst> GetGroups() const { return m_groups; }
  const CTOPO_REC& GetTopo() const { return m_topo; }
  TOPOStructs::TOPO_REC* GetTopoRec() const { return m_topo.GetTOPO_REC(); }
  CFileRES* GetRES() { return &m_res; }
  CFileOUC* GetOUC() { return &m_ouc; }
  CFileACE* GetACE() { return &m_ace; }
  DynamicBuffer* GetDynamicBuffer() { return &m_dynamic; }
  // Two words of the host's run-time state (i 0 or 1), zero after
  // construction and never stored.
  int RuntimeWord(int i) const { return i == 0 || i == 1 ? m_runtime[i] : 0; }
  void SetRuntimeWord(int i, int v) {
    if (i == 0 || i == 1) m_runtime[i] = v;
  }
  // The design project's path; the stored job path is relative to it.
  CString GetProjectPath() const { return m_projectPath; }
  void SetProjectPath(const CString& path) { m_projectPath = path; }
  // The beam and node counts of the topology linked last (0 unlinked).
  long32 TopoBeamStamp() const { return m_topoStamps[0]; }
  long32 TopoNodeStamp() const { return m_topoStamps[1]; }

  // Make an empty list when there is none.
  virtual void EnsureValidSectionLst();
  virtual void EnsureValidLoadCaseLst();

  // Writes the record, or reads one of any version (see the header). False
  // when the stream failed (the thread's last error says why: 38 the file
  // ended, 1392 a damaged value, 8 no memory); what was read whole is kept
  // and the link is validated all the same.
  virtual bool Serialize(FILE* f, bool load);
  ulong32 CheckSum() const override;

 protected:
  // The fields of each stored version after the version word.
  virtual bool ReadVersion1(FILE* f);
  virtual bool ReadVersion2(FILE* f);
  virtual bool ReadVersion3(FILE* f);

  // Every member's internal beams lose their intermediate points.
  void RemoveIPsForAllMembers();
  // Every member's values follow the load-case list; the AND of the results.
  int SynchronizeLCValuesWithAllMembers();
  // The name map (upper-case name -> name) from the members.
  void BuildMemberNamesIndexMap();
  const std::unordered_map<std::string, std::string>& GetMemberNamesIndexMap() const { return m_names; }

 private:
  CMDDMembersArray(const CMDDMembersArray&) = delete;
  CMDDMembersArray& operator=(const CMDDMembersArray&) = delete;

  class BeamIndex;
  class ForceLinker;
  friend class ForceLinker;

  // Items 3 to 7 of the record (job data to members).
  bool ReadCommon(FILE* f);
  bool ReadStamps(FILE* f);
  // Closes the readers and the topology, frees the dynamic buffer.
  void CloseLink();
  // Reads the analysis job of a usable link; false when a step failed.
  bool ReadAnalysisJob();
  // The load result of project load case lc (a combination mapped through
  // the active ones), or -1 when it is an inactive combination.
  int LoadResultOf(int lc);
  // The forces of the members' points for load case lcIndex (-1: all);
  // what both forms of LinkIPsLCValuesToMember do.
  int LinkIPs(const std::vector<CMDDMember*>& members, int lcIndex);
  // FindBeam's answer for the two end points, through an index of the
  // topology made on first use.
  const TOPOStructs::BEAM_REC* FindAnalysisBeam(const GEOMETRY_OBJECTS::CGPoint& s,
                                               const GEOMETRY_OBJECTS::CGPoint& e);
  GE_::Safe::PtrStrong<TELMARO_DATA_OBJECTS::CIResults> ResultsAt(int slot) const;

  int m_runtime[2];
  GE_::Safe::PtrStrong<TELMARO_DATA_OBJECTS::CISectionLst> m_sections;
  GE_::Safe::PtrStrong<TELMARO_DATA_OBJECTS::CILoadCaseLstSyn> m_loadCases;
  TELMARO_DATA_OBJECTS::CIJobData m_jobData;
  TELMARO_DATA_OBJECTS::CILinkJobData m_link;
  TELMARO_DATA_OBJECTS::CIAnalysisData m_analysis;
  TELMARO_DATA_OBJECTS::CIAnalysisData m_analysisComposite;
  TELMARO_DATA_OBJECTS::CIPreCheckSectionData m_preCheck;
  TELMARO_DATA_OBJECTS::CIResultsArray m_results;
  CMemberDesignSettings m_settings;
  GE_::Safe::PtrStrong<CMDDMemGroupLst> m_groups;
  CTOPO_REC m_topo;
  DynamicBuffer m_dynamic;
  CFileRES m_res;
  CFileOUC m_ouc;
  CFileACE m_ace;
  CString m_projectPath;
  long32 m_topoStamps[2];
  std::unordered_map<std::string, std::string> m_names;
  std::unique_ptr<BeamIndex> m_beamIndex;
};

}  // namespace MDD_OBJECTS
