// CEntity: an analysis model held as the kernel's entity lists, so that a
// host can show, select and edit it: nodes, beams, physical beams,
// sections, materials, supports, connections, load cases, loads and
// results (item records in topology/ENTITIESStructs.h).
//
// Shared data is stored once in a counted reference item (a support's
// restraints, a load's values, a result set) and instance items link a node
// or beam to it; the users field of a reference counts its instances, the
// count of a load case its load instances, the loads field of a node or
// beam the load instances on it, the users of a section the beams using it.
// The operations below keep these counts and erase a reference when its
// last instance goes.
//
// Entity block: 25 list headers of 56 bytes (1400 bytes, zero-filled when
// allocated), list i at byte 56 x i:
//   index  name            kind  flags  contents
//   0      "Node"          N     2      nodes
//   1      "Beam"          B     2      beams
//   2      "PhysBeam"      P     0      physical beams
//   3      "Section"       S     0      sections
//   4      "Material"      M     0      materials
//   5      "I_Support"     S     0      support instances
//   6      "Support"       S     0      support references
//   8      "Connection"    S     0      beam-end connections
//   9      "LdCase"        c     0      static load cases
//   10     "NodeLoad"      L     0      node load instances
//   11     "BeamLoad"      L     0      beam load instances
//   13     "NodalLoad"     L     0      node load references
//   14     "Displacement"  L     0      imposed displacement references
//   15     "Concentrated"  C     0      concentrated beam load references
//   16     "Distributed"   L     0      distributed beam load references
//   20     "NodeResults"   R     0      node result instances
//   21     "BeamResults"   R     0      beam result instances
//   22     "Displ"         D     0      displacement result sets
//   23     "Forces"        F     0      force result sets
// Each list's item size is its record's size (header plus fields). Besides
// the kernel's fields the model keeps, in each header, the number of
// selected items (i32 at 26) and the one selected item (pointer at 14,
// null unless exactly one item is selected).
//
// Without a block every operation returns null (or 0) and changes nothing.
// Item pointers handed out stay valid until the item is removed, CleanUp,
// Clear or the destructor; items of other lists are never moved.
//
// Where this model departs from the suite's:
//  - CleanUp also drops the held member and the member lists, whose nodes
//    and beams it frees.
//  - ConnectionExists returns the connection at the beam's end rather than
//    the address of the beam's slot (the slot is not aligned for a pointer).
//  - GenerateFromTOPO_REC fails (0, last error 8, the model emptied) when
//    an item cannot be allocated, instead of leaving a partial model.
// Choices where the suite leaves the rule open: the plane coordinates of a
// node are two of its coordinates, chosen by the node type given to the
// constructor; SelectAll and UnselectAll act on nodes and beams; a physical
// beam holds the beams lying on its segment; result extremes run from 0
// over the sets of one load case.
//
// A topology with coincident nodes: the fill merges them and then joins
// each beam to the node items numbered like its nodes' indexes, as the
// suite does, so a merged node moves the beams of the nodes after it.
#pragma once

#include "framework/PtrStrong.h"
#include "platform/CColorTable.h"
#include "platform/CString.h"
#include "platform/Export.h"
#include "platform/Types.h"
#include "topology/CEntityBasicDataLst.h"
#include "topology/ENTITIESStructs.h"
#include "topology/TOPO_REC.h"

class TELIO_EXPORT CEntity : public GE_::Safe::ObjStrong {
 public:
  // Which two coordinates of a node are its plane coordinates.
  enum EntityNodeType { NodePlaneXY = 0, NodePlaneXZ = 1, NodePlaneYZ = 2 };
  // Kept for the host; the model does not interpret it.
  enum EntityBeamType { BeamLine = 0 };

  static constexpr int kMaxNodes = 10000;
  static constexpr int kMaxBeams = 20000;
  static constexpr int kMaxSections = 100;
  // Two nodes closer than this are one node.
  static constexpr float kNodeTolerance = 0.001f;
  // Loads and result sets whose values differ by at most this are equal.
  static constexpr float kValueTolerance = 0.001f;

  // Extreme load values (node loads: the six components of every nodal
  // load; beam loads: the second and fourth values of distributed loads
  // and the second value of concentrated ones). All 0 when reset.
  struct LoadExtremes {
    float nodeMax, nodeMin, beamMax, beamMin, max, min;
  };
  // Extreme result values over the sets of one load case (or all).
  struct ResultExtremes {
    float displMax, displMin, forcesMax, forcesMin;
  };

  explicit CEntity(EntityNodeType nodeType = NodePlaneXY, EntityBeamType beamType = BeamLine);
  // A deep copy: every item is copied and the copies point at one another.
  // When memory runs out the copy is left without a block (last error 8).
  CEntity(const CEntity& other);
  CEntity& operator=(const CEntity& other);
  ~CEntity() override;

  // Allocates the block if missing, CleanUp, then makes the lists of the
  // table. 0 when the block cannot be allocated.
  int InitEntities();
  // Empties the file path, frees the sections' property blocks and the
  // physical beams' data, drops the members, empties every list and zeroes
  // every header (no list can make items until InitEntities).
  void CleanUp();
  // Releases the held member, empties the member lists, CleanUp, frees the
  // block and the result values, clears the colour scale and zeroes the
  // load extremes.
  void Clear();

  // Makes the model from a topology (walked through its node and beam
  // lists and its section array, which must be consistent, as CTOPO_REC
  // makes them): a node per node record (coincident ones merged), a section
  // per section, a beam per beam record between the node items numbered like
  // its nodes' indexes, with the section item numbered like its section.
  // 1 on success; 0 for a null topology, or with last error 8 and the lists
  // emptied when memory runs out.
  int GenerateFromTOPO_REC(const TOPOStructs::TOPO_REC* topo);

  // ---- Creating items: each returns the new item, an existing equal one,
  // or null (refused, or memory short). Records passed in are read only.
  // Returns the node within kNodeTolerance of the point, else a new node;
  // null at kMaxNodes nodes.
  ENTITIESStructs::B_Node* NewEntityNode(float x, float y, float z);
  // Null for a null node or the same node twice; the beam joining the two
  // nodes in either order, else a new one (both nodes' beam counts rise);
  // null at kMaxBeams beams.
  ENTITIESStructs::Beam* NewEntityBeam(ENTITIESStructs::B_Node* a, ENTITIESStructs::B_Node* b);
  // The physical beam from a to b (either order), else a new one holding
  // the beams that lie on the segment a-b.
  ENTITIESStructs::PhysBeam* NewEntityPhysBeam(ENTITIESStructs::B_Node* a,
                                               ENTITIESStructs::B_Node* b, short label);
  // Null for family 0, or key 0 with sub 0; the section with the same key
  // and family code, else a new unnamed one; null at kMaxSections sections.
  ENTITIESStructs::Section* NewEntitySection(short family, ulong32 key, short sub);
  // An equal material (MaterialExists) or a new one with the name and the
  // four values.
  ENTITIESStructs::Material* NewEntityMaterial(const ENTITIESStructs::Material* m);
  // The case of that kind and name (letter case ignored), else a new one
  // with count 0; then the name (cut to 15 characters), the real value and
  // the two byte values are set.
  ENTITIESStructs::LoadingCase* NewEntitySLoadCase(const CString& name, int kind, int value2,
                                                   float value);
  // A new connection in the beam's start slot (end 0) or end slot; one that
  // was there is erased.
  ENTITIESStructs::Connection* NewEntityConnection(ENTITIESStructs::Beam* beam, short end,
                                                   short type, float value);
  // An equal support reference (FindRefSupport) or a new one: flags copied,
  // the values of the directions whose flag bit is clear copied.
  ENTITIESStructs::Support* NewEntityRefSupport(const ENTITIESStructs::Support* s);
  // Gives the node the support: the reference rises by one user, the node
  // gets AttrSupported. A node that has a support keeps its instance, which
  // moves to the new reference (the old one is erased when it loses its
  // last user). When no reference can be made the node's instance is
  // removed and the result is null.
  ENTITIESStructs::Instance* NewEntityISupport(ENTITIESStructs::B_Node* node,
                                               const ENTITIESStructs::Support* s);
  // Unless forceNew, an existing reference of the same list with the same
  // load case and components within kValueTolerance (bounds included);
  // otherwise a new one in list 14 (AttrImposedDispl) or 13, attribute
  // masked with AttrNodeLoadMask, users 0.
  ENTITIESStructs::JLoad* NewEntityJLoad(const ENTITIESStructs::JLoad* load, bool forceNew);
  // The same for concentrated (list 15) and distributed (list 16) loads:
  // equal when load case, kind byte and values match.
  ENTITIESStructs::CLoad* NewEntityCLoad(const ENTITIESStructs::CLoad* load, bool forceNew);
  ENTITIESStructs::DLoad* NewEntityDLoad(const ENTITIESStructs::DLoad* load, bool forceNew);
  // A new node load instance on the reference of NewEntityJLoad(load,
  // false); the case's count, the reference's users and the node's loads
  // each rise by one.
  ENTITIESStructs::Instance* NewEntityINodeLoad(ENTITIESStructs::B_Node* node,
                                                const ENTITIESStructs::JLoad* load);
  // load must be a CLoad when its attribute masked with AttrBeamLoadMask is
  // AttrConcentrated, a DLoad when it is AttrDistributed; any other value
  // gives null. A new beam load instance on the equal reference; counts as
  // for node loads.
  ENTITIESStructs::Instance* NewEntityIBeamLoad(ENTITIESStructs::Beam* beam,
                                                const ENTITIESStructs::BasicDataEx* load);
  // The self-weight of a beam or physical beam in a load case: an instance
  // with AttrSelfWeight whose reference is the case (the existing one when
  // the object already has it); the case's count and a beam's loads rise.
  ENTITIESStructs::Instance* NewEntityBeamSelfWeightLoad(ENTITIESStructs::BasicData* object,
                                                         ENTITIESStructs::LoadingCase* lc);
  // Applies the load to every node (beam); the number of instances made.
  int AddNewEntityINodeLoadAll(const ENTITIESStructs::JLoad* load);
  int AddNewEntityIBeamLoadAll(const ENTITIESStructs::BasicDataEx* load);
  int AddNewEntityBeamSelfWeightLoadAll(ENTITIESStructs::LoadingCase* lc);
  // Unless forceNew, a set with the same load case and values within
  // kValueTolerance; otherwise a new set (users 0) with the case and values.
  ENTITIESStructs::ForcesRes* NewEntityForcesRes(const ENTITIESStructs::ForcesRes* res,
                                                 int forceNew);
  ENTITIESStructs::DispRes* NewEntityDispRes(const ENTITIESStructs::DispRes* res, int forceNew);
  // Gives the beam (node) the result: the beam's instance whose set is res
  // or has res's load case keeps its set, overwritten with res's values,
  // when that set has fewer than 2 users; otherwise that instance is
  // removed and a new set and instance are made. The set has at least 1
  // user afterwards.
  ENTITIESStructs::Instance* NewEntityIBeamRes(ENTITIESStructs::Beam* beam,
                                               const ENTITIESStructs::ForcesRes* res);
  ENTITIESStructs::Instance* NewEntityINodeRes(ENTITIESStructs::B_Node* node,
                                               const ENTITIESStructs::DispRes* res);

  // ---- Finding.
  ENTITIESStructs::B_Node* FindNode(int number) const;
  ENTITIESStructs::Beam* FindBeam(int number) const;
  ENTITIESStructs::BasicData* FindItem(int index, int number) const;
  // Skips the leading characters that are not digits and reads the rest as
  // a decimal node number ("N12" is node 12); null without digits.
  ENTITIESStructs::B_Node* FindNodeByName(const char* name) const;
  // The first node (in list order) closer than the tolerance.
  ENTITIESStructs::B_Node* NodeExists(float x, float y, float z) const;
  ENTITIESStructs::B_Node* NodeExistsEx(float x, float y, float z, float tolerance) const;
  ENTITIESStructs::Beam* BeamExists(const ENTITIESStructs::B_Node* a,
                                    const ENTITIESStructs::B_Node* b) const;
  ENTITIESStructs::Section* SectionExists(short family, ulong32 key, short sub) const;
  // Same name (letter case ignored) and values within kValueTolerance.
  ENTITIESStructs::Material* MaterialExists(const ENTITIESStructs::Material* m) const;
  // The node's support instance.
  ENTITIESStructs::Instance* SupportExists(const ENTITIESStructs::B_Node* node) const;
  ENTITIESStructs::Connection* ConnectionExists(const ENTITIESStructs::Beam* beam,
                                                short end) const;
  ENTITIESStructs::LoadingCase* SLoadCaseExists(const CString& name, int kind) const;
  // Same flags and values (of the directions given) within kValueTolerance.
  ENTITIESStructs::Support* FindRefSupport(const ENTITIESStructs::Support* s) const;
  ENTITIESStructs::JLoad* FindJLoad(const ENTITIESStructs::JLoad* load) const;
  ENTITIESStructs::CLoad* FindCLoad(const ENTITIESStructs::CLoad* load) const;
  ENTITIESStructs::DLoad* FindDLoad(const ENTITIESStructs::DLoad* load) const;
  // The node's (beam's) load instance on that reference.
  ENTITIESStructs::Instance* FindINodeLoad(const ENTITIESStructs::B_Node* node,
                                           const ENTITIESStructs::BasicData* ref) const;
  ENTITIESStructs::Instance* FindIBeamLoad(const ENTITIESStructs::BasicData* object,
                                           const ENTITIESStructs::BasicData* ref) const;
  ENTITIESStructs::ForcesRes* FindForcesRes(const ENTITIESStructs::ForcesRes* res) const;
  ENTITIESStructs::DispRes* FindDispRes(const ENTITIESStructs::DispRes* res) const;
  // The beam's (node's) result instance whose set is res or has its load
  // case.
  ENTITIESStructs::Instance* FindIBeamRes(const ENTITIESStructs::Beam* beam,
                                          const ENTITIESStructs::ForcesRes* res) const;
  ENTITIESStructs::Instance* FindINodeRes(const ENTITIESStructs::B_Node* node,
                                          const ENTITIESStructs::DispRes* res) const;
  ENTITIESStructs::Section* GetSectionOfBeam(int beam) const;
  // List index (null outside 0 to 24, or without a block).
  ENTITIESStructs::Entity* GetEntity(int index) const;
  ENTITIESStructs::Entity* GetEntities() const { return m_block; }

  // ---- Changing and removing.
  // Null for a missing beam or section. The section itself when the beam
  // already uses it. A section that is not an item of the list takes the
  // beam's section away (the old one is released and RemoveSection tried)
  // and gives null. Otherwise the old section is released, the beam takes
  // the new one and its users rise.
  ENTITIESStructs::Section* ChangeBeamSection(int beam, ENTITIESStructs::Section* s);
  // With the section of NewEntitySection(family, key, sub).
  ENTITIESStructs::Section* ChangeBeamSection(int beam, short family, ulong32 key, short sub);
  // Moves a load instance to the reference of another load (the counts
  // follow); the instance, or null when either is not usable. Self-weight
  // instances are not changed.
  ENTITIESStructs::Instance* ChangeEntityINodeLoad(ENTITIESStructs::Instance* inst,
                                                   const ENTITIESStructs::JLoad* load);
  ENTITIESStructs::Instance* ChangeEntityIBeamLoad(ENTITIESStructs::Instance* inst,
                                                   const ENTITIESStructs::BasicDataEx* load);
  // Erases the section with its property block when fewer than 1 beam uses
  // it; with detach true the beams using it lose it first. 1 when erased.
  int RemoveSection(ENTITIESStructs::Section* s, bool detach);
  int RemoveMaterial(ENTITIESStructs::Material* m);
  // Each takes an instance of its own list (anything else gives 0 and
  // changes nothing), lowers the counts it raised, erases the reference at
  // zero users and erases the instance. 1 when done.
  int RemoveISupport(ENTITIESStructs::Instance* inst);
  int RemoveISupportAt(ENTITIESStructs::B_Node* node);
  int RemoveINodeLoad(ENTITIESStructs::Instance* inst);
  int RemoveIBeamLoad(ENTITIESStructs::Instance* inst);
  int RemoveINodeRes(ENTITIESStructs::Instance* inst);
  int RemoveIBeamRes(ENTITIESStructs::Instance* inst);
  void RemoveINodeResAll();
  void RemoveIBeamResAll();
  void FreeSectionData();
  void FreePhysicalBeamData();

  // ---- Attributes and selection.
  // True when every one of the bits is set.
  static bool HasAttrib(const ENTITIESStructs::BasicData* item, unsigned char bits);
  static void SetAttrib(ENTITIESStructs::BasicData* item, unsigned char bits);
  static void UnSetAttrib(ENTITIESStructs::BasicData* item, unsigned char bits);
  // attribute = (attribute | set) & ~clear for the item of that number,
  // keeping the list's selected count and selected item. The item, or null.
  ENTITIESStructs::BasicData* SetAttrItem(int index, int number, unsigned char set,
                                          unsigned char clear);
  // The same for every item of the list; the number of items.
  int SetAttrItemAll(int index, unsigned char set, unsigned char clear);
  ENTITIESStructs::BasicData* SelectItemByEnum(int index, int number);
  ENTITIESStructs::BasicData* UnSelectItemByEnum(int index, int number);
  // Select or deselect every node and beam.
  void SelectAll();
  void UnselectAll();
  // The number of items of the list with every one of the bits set.
  int FindItemsWithAttr(int index, unsigned char bits) const;
  // Makes the held member the one from A to B and collects the beams whose
  // two ends lie on the segment A-B; when their lengths do not add up to
  // the segment's (within 0.1) the collection is emptied. clearFirst
  // nonzero deselects every node and beam first. The number of beams
  // collected; 0 without a block, or unless A and B are two nodes.
  unsigned SelectEntitiesMember(ENTITIESStructs::B_Node* a, ENTITIESStructs::B_Node* b, int,
                                int clearFirst);
  // The same with the nodes at the two points.
  unsigned SelectEntitiesMember(float x1, float y1, float z1, float x2, float y2, float z2, int,
                                int clearFirst);
  // Repeats the member selection of the held member; 0 without one.
  unsigned SelectSettedEntitiesMember();
  // Holds a new empty member from A to B.
  void SetForSelectEntitiesMember(ENTITIESStructs::B_Node* a, ENTITIESStructs::B_Node* b);
  GE_::Safe::PtrStrong<CEntityBasicDataLst> GetHeldMember() const { return m_held; }
  CEntityBasicDataLstArray& GetMemberLists() { return m_members; }
  const CEntityBasicDataLstArray& GetMemberLists() const { return m_members; }

  // The plane coordinates of the start node, then of the end node; each
  // output only when not null. Nothing for a beam without both nodes.
  static void ExtractBeamCoords(const ENTITIESStructs::B_Beam* beam, float* x1, float* y1,
                                float* x2, float* y2);
  static void ExtractBeamCoords(const ENTITIESStructs::B_Beam* beam, double* x1, double* y1,
                                double* x2, double* y2);

  // ---- Result values and their colour scale.
  // Replaces the values by a copy of values[0..count-1] (none for null or
  // count <= 0) and sets the colour scale to their range. 0 when memory
  // runs out (the values are then empty).
  int CopyResults(const float* values, int count, int entityType);
  void ClearResults();
  const float* GetResultsValues() const { return m_results; }
  int GetCountResultsValues() const { return m_resultCount; }
  // Value i, or 0 outside 0 to count - 1.
  float GetResultValueAt(int i) const;
  int GetResultsValuesEntType() const { return m_resultsType; }
  const CColorTable& GetColorTable() const { return m_colors; }

  // ---- Extremes and counts.
  // With a force load (AttrForceLoad) the node extremes widen to take in its
  // six components; other loads change nothing. With null they are set to 0
  // and widened over every nodal load reference. Then UpdateLoadsMaxMin.
  void UpdateNodeLoadsMaxMin(const ENTITIESStructs::BasicDataEx* load);
  // With a concentrated load, its second value; with a distributed load its
  // second and fourth; null: from 0 over every such reference. Then
  // UpdateLoadsMaxMin.
  void UpdateBeamLoadsMaxMin(const ENTITIESStructs::BasicDataEx* load);
  // Overall maximum and minimum from the node and beam extremes.
  void UpdateLoadsMaxMin();
  void ResetMaxMinLoadValues();
  void ResetMaxMinResValues();
  // From 0 over the sets of the load case (every set for null).
  void UpdateNodeDispResMaxMin(const ENTITIESStructs::LoadingCase* lc);
  void UpdateBeamForcesResMaxMin(const ENTITIESStructs::LoadingCase* lc);
  const LoadExtremes& GetLoadExtremes() const { return m_loadExt; }
  const ResultExtremes& GetResultExtremes() const { return m_resExt; }
  // Self-weight instances of the case; with perBeam a physical beam counts
  // as its number of beams.
  int CountSelfLoads(const ENTITIESStructs::LoadingCase* lc, bool perBeam) const;
  // Node (beam) load instances whose load is of the case, self-weight
  // included.
  int CountNodeLoadsFor(const ENTITIESStructs::LoadingCase* lc) const;
  int CountBeamLoadsFor(const ENTITIESStructs::LoadingCase* lc) const;

  CString GetFilePath() const { return m_filePath; }
  CString GetDefaultImagesPath() const { return m_imagesPath; }
  void SetDefaultImagesPath(const CString& path) { m_imagesPath = path; }
  EntityNodeType GetNodeType() const { return m_nodeType; }
  EntityBeamType GetBeamType() const { return m_beamType; }

  // Makes target a copy of source: its name, item size and flags, then each
  // item's kind, attribute and fields in order (the target numbers and links
  // its own items). Pointer fields are copied as they stand and owned blocks
  // are not duplicated: the caller repoints them. keepSelection keeps the
  // selection (the selected item becomes its copy); false leaves nothing
  // selected. 1 on success; 0 for null or equal lists, or when memory runs
  // out (target then empty). Target's old items are freed first.
  static int EntityCopy(ENTITIESStructs::Entity* target, const ENTITIESStructs::Entity* source,
                        bool keepSelection);

 protected:
  // Allocates the block if missing; nonzero when present.
  int Allocate();
  void Deallocate();

 private:
  ENTITIESStructs::Entity* List(int index) const { return GetEntity(index); }
  ENTITIESStructs::BasicData* NewItem(int index, char kind);
  bool InList(int index, const ENTITIESStructs::BasicData* item) const;
  // Erases an item of the list, keeping the selection fields right.
  void EraseFrom(int index, ENTITIESStructs::BasicData* item);
  void RecountSelection(int index);
  ENTITIESStructs::B_Node* MakeNode(float x, float y, float z);
  ENTITIESStructs::Beam* MakeBeam(ENTITIESStructs::B_Node* a, ENTITIESStructs::B_Node* b);
  void AssignSection(ENTITIESStructs::Beam* beam, ENTITIESStructs::Section* s);
  void ReleaseSection(ENTITIESStructs::Beam* beam);
  void DropMembers();
  void ReleaseLoadReference(ENTITIESStructs::Instance* inst);
  // A new self-weight instance of object in lc, with the counts raised; the
  // caller has checked that the object has none yet.
  ENTITIESStructs::Instance* MakeSelfWeightLoad(ENTITIESStructs::BasicData* object,
                                                ENTITIESStructs::LoadingCase* lc);
  void TakeLoadReference(ENTITIESStructs::Instance* inst, ENTITIESStructs::BasicDataEx* ref);
  ENTITIESStructs::BasicDataEx* BeamLoadReference(const ENTITIESStructs::BasicDataEx* load);
  // References and result sets: a BasicDataEx head, an optional kind byte,
  // then `values` floats.
  ENTITIESStructs::BasicDataEx* FindRef(int index, const ENTITIESStructs::BasicDataEx* like,
                                        bool kindByte, int values) const;
  ENTITIESStructs::BasicDataEx* MakeRef(int index, char kind, unsigned char attr,
                                        const ENTITIESStructs::BasicDataEx* like, bool kindByte,
                                        int values);
  // The instance of the list on object whose reference is ref or, with
  // sameCase, has ref's load case.
  ENTITIESStructs::Instance* FindInstance(int index, const ENTITIESStructs::BasicData* object,
                                          const ENTITIESStructs::BasicData* ref,
                                          bool sameCase) const;
  ENTITIESStructs::Instance* AttachResult(int instIndex, int setIndex, char kind,
                                          ENTITIESStructs::BasicData* object,
                                          const ENTITIESStructs::BasicDataEx* res, int values);
  int RemoveResult(int instIndex, int setIndex, ENTITIESStructs::Instance* inst);
  int GenerateLists(const TOPOStructs::TOPO_REC* topo);
  bool CopyModel(const CEntity& other);

  GE_::Safe::PtrStrong<CEntityBasicDataLst> m_held;
  CEntityBasicDataLstArray m_members;
  LoadExtremes m_loadExt{};
  ResultExtremes m_resExt{};
  ENTITIESStructs::Entity* m_block = nullptr;
  EntityNodeType m_nodeType;
  EntityBeamType m_beamType;
  CString m_filePath;
  CString m_imagesPath;
  CColorTable m_colors;
  int m_resultsType = 0;
  float* m_results = nullptr;
  int m_resultCount = 0;
  // Set when an item could not be allocated.
  bool m_allocFailed = false;
};
