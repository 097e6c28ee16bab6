// CEntity: the lists, their items, the topology fill, finding, sections and
// selection. Loads, results and extremes are in CEntityLoads.cpp.
#include "topology/CEntity.h"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <new>
#include <type_traits>
#include <unordered_map>
#include <vector>

#include "platform/Alloc.h"
#include "platform/CodePage.h"
#include "platform/FieldText.h"
#include "platform/LastError.h"
#include "platform/TelKrnl.h"

using namespace ENTITIESStructs;
using namespace ENTITIESConstants;

namespace {

struct ListInfo {
  int index;
  const char* name;
  int itemSize;
  int flags;
};

// The lists InitEntities makes; each item size is its record's size.
const ListInfo kLists[] = {
    {EntNode, "Node", sizeof(B_Node), 2},
    {EntBeam, "Beam", sizeof(B_Beam), 2},
    {EntPhysBeam, "PhysBeam", sizeof(PhysBeam), 0},
    {EntSection, "Section", sizeof(Section), 0},
    {EntMaterial, "Material", sizeof(Material), 0},
    {EntISupport, "I_Support", sizeof(Instance), 0},
    {EntSupport, "Support", sizeof(Support), 0},
    {EntConnection, "Connection", sizeof(Connection), 0},
    {EntLdCase, "LdCase", sizeof(LoadingCase), 0},
    {EntINodeLoad, "NodeLoad", sizeof(Instance), 0},
    {EntIBeamLoad, "BeamLoad", sizeof(Instance), 0},
    {EntNodalLoad, "NodalLoad", sizeof(JLoad), 0},
    {EntDisplacement, "Displacement", sizeof(JLoad), 0},
    {EntConcentrated, "Concentrated", sizeof(CLoad), 0},
    {EntDistributed, "Distributed", sizeof(DLoad), 0},
    {EntINodeRes, "NodeResults", sizeof(Instance), 0},
    {EntIBeamRes, "BeamResults", sizeof(Instance), 0},
    {EntDispRes, "Displ", sizeof(DispRes), 0},
    {EntForcesRes, "Forces", sizeof(ForcesRes), 0},
};

// Fields of the kernel's list header that the kernel interface does not
// expose (its layout is drawn in platform/EntityList.h).
constexpr std::size_t kHeaderFlagsOffset = 0;
constexpr std::size_t kHeaderItemSizeOffset = 22;

std::uint16_t HeaderWord(const Entity* list, std::size_t at) {
  std::uint16_t v;
  std::memcpy(&v, list->data + at, sizeof v);
  return v;
}

bool Near(float a, float b) {
  return std::fabs(static_cast<double>(a) - b) <= CEntity::kValueTolerance;
}

void SetPlaneCoords(B_Node* n, CEntity::EntityNodeType type) {
  switch (type) {
    case CEntity::NodePlaneXZ:
      n->SetPlane(n->X(), n->Z());
      break;
    case CEntity::NodePlaneYZ:
      n->SetPlane(n->Y(), n->Z());
      break;
    default:
      n->SetPlane(n->X(), n->Y());
      break;
  }
}

float Distance(const B_Node* a, const B_Node* b) {
  return E_SgmLen3D(a->X(), a->Y(), a->Z(), b->X(), b->Y(), b->Z());
}

// True when node p lies on the segment a-b.
bool OnSegment(const B_Node* p, const B_Node* a, const B_Node* b) {
  return E_PntSgm3D(p->X(), p->Y(), p->Z(), a->X(), a->Y(), a->Z(), b->X(), b->Y(), b->Z()) != 0;
}

bool Joins(const B_Node* s, const B_Node* e, const B_Node* a, const B_Node* b) {
  return (s == a && e == b) || (s == b && e == a);
}

// The nodes made during a topology fill, by the 0.01-wide cell of their
// coordinates, so that finding a coincident node looks at the cells around
// a point instead of at every node. Points that are not finite are
// never coincident with anything and are not kept.
class NodeGrid {
 public:
  explicit NodeGrid(std::size_t expected) { cells_.reserve(expected); }

  // The node with the lowest number closer than the tolerance, or null.
  // Only the cells whose border lies within twice the tolerance of the
  // point along an axis are looked at beside the point's own.
  B_Node* Find(float x, float y, float z) const {
    if (!Finite(x, y, z)) return nullptr;
    const float v[3] = {x, y, z};
    double c[3];
    int lo[3], hi[3];
    for (int k = 0; k < 3; ++k) {
      c[k] = Cell(v[k]);
      const double offset = static_cast<double>(v[k]) - c[k] * kCellSize;
      lo[k] = offset < kMargin ? -1 : 0;
      hi[k] = kCellSize - offset < kMargin ? 1 : 0;
    }
    B_Node* best = nullptr;
    for (int dx = lo[0]; dx <= hi[0]; ++dx) {
      for (int dy = lo[1]; dy <= hi[1]; ++dy) {
        for (int dz = lo[2]; dz <= hi[2]; ++dz) {
          auto it = cells_.find(Key{{c[0] + dx, c[1] + dy, c[2] + dz}});
          if (it == cells_.end()) continue;
          for (B_Node* n : it->second) {
            if ((!best || n->Number() < best->Number()) &&
                E_SgmLen3D(x, y, z, n->X(), n->Y(), n->Z()) < CEntity::kNodeTolerance) {
              best = n;
            }
          }
        }
      }
    }
    return best;
  }

  // May throw std::bad_alloc.
  void Add(B_Node* n) {
    if (Finite(n->X(), n->Y(), n->Z())) {
      cells_[Key{{Cell(n->X()), Cell(n->Y()), Cell(n->Z())}}].push_back(n);
    }
  }

 private:
  struct Key {
    double c[3];
    bool operator==(const Key& o) const { return c[0] == o.c[0] && c[1] == o.c[1] && c[2] == o.c[2]; }
  };
  struct KeyHash {
    // Cell numbers are whole doubles, whose low bits are all zero: every
    // bit is mixed into the result (splitmix64's finaliser).
    static std::uint64_t Mix(std::uint64_t x) {
      x += 0x9E3779B97F4A7C15ull;
      x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
      x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
      return x ^ (x >> 31);
    }
    std::size_t operator()(const Key& k) const {
      std::uint64_t h = 0;
      for (double v : k.c) {
        std::uint64_t bits;
        v += 0.0;  // -0 and +0 are one cell
        std::memcpy(&bits, &v, sizeof bits);
        h = Mix(h ^ bits);
      }
      return static_cast<std::size_t>(h);
    }
  };

  static constexpr double kCellSize = 0.01;
  static constexpr double kMargin = 2.0 * CEntity::kNodeTolerance;
  static bool Finite(float x, float y, float z) {
    return std::isfinite(x) && std::isfinite(y) && std::isfinite(z);
  }
  static double Cell(float v) { return std::floor(static_cast<double>(v) / kCellSize); }

  std::unordered_map<Key, std::vector<B_Node*>, KeyHash> cells_;
};

std::uint64_t PairKey(const B_Node* a, const B_Node* b) {
  std::uint64_t p = static_cast<std::uint32_t>(a->Number());
  std::uint64_t q = static_cast<std::uint32_t>(b->Number());
  return p < q ? (p << 32 | q) : (q << 32 | p);
}

}  // namespace

CEntity::CEntity(EntityNodeType nodeType, EntityBeamType beamType)
    : m_nodeType(nodeType), m_beamType(beamType) {}

CEntity::CEntity(const CEntity& other)
    : GE_::Safe::ObjStrong_base(), GE_::Safe::ObjStrong(), m_nodeType(other.m_nodeType),
      m_beamType(other.m_beamType) {
  CopyModel(other);
}

CEntity& CEntity::operator=(const CEntity& other) {
  if (this != &other) CopyModel(other);
  return *this;
}

CEntity::~CEntity() { Clear(); }

int CEntity::Allocate() {
  if (!m_block) m_block = static_cast<Entity*>(telio::Calloc(EntCount, sizeof(Entity)));
  return m_block ? 1 : 0;
}

void CEntity::Deallocate() {
  telio::Free(m_block);
  m_block = nullptr;
}

Entity* CEntity::GetEntity(int index) const {
  if (!m_block || index < 0 || index >= EntCount) return nullptr;
  return m_block + index;
}

int CEntity::InitEntities() {
  if (!Allocate()) return 0;
  CleanUp();
  for (const ListInfo& s : kLists) InitEntity(List(s.index), s.name, s.itemSize, 0, 0, s.flags);
  return 1;
}

void CEntity::DropMembers() {
  m_held.Reset();
  m_members.RemoveAll();
}

void CEntity::CleanUp() {
  m_filePath.Empty();
  DropMembers();
  if (!m_block) return;
  FreeSectionData();
  FreePhysicalBeamData();
  for (int i = 0; i < EntCount; ++i) {
    ResetEntity(List(i));
    std::memset(List(i), 0, sizeof(Entity));
  }
}

void CEntity::Clear() {
  DropMembers();
  CleanUp();
  Deallocate();
  ClearResults();
  m_loadExt = LoadExtremes{};
}

BasicData* CEntity::NewItem(int index, char kind) {
  Entity* list = List(index);
  if (!list) return nullptr;
  auto* item = static_cast<BasicData*>(InitNewItem(list, kind));
  if (!item) m_allocFailed = true;
  return item;
}

bool CEntity::InList(int index, const BasicData* item) const {
  Entity* list = List(index);
  return list && item && FindItemPos(list, item->Number()) == item;
}

void CEntity::RecountSelection(int index) {
  Entity* list = List(index);
  if (!list) return;
  long32 count = 0;
  BasicData* one = nullptr;
  for (BasicData* p = list->First(); p; p = p->Next()) {
    if (p->Attr() & AttrSelected) {
      if (++count == 1) one = p;
    }
  }
  telio::SetEntitySelectedCount(list, count);
  telio::SetEntitySelectedItem(list, count == 1 ? one : nullptr);
}

void CEntity::EraseFrom(int index, BasicData* item) {
  if (!InList(index, item)) return;
  const bool selected = (item->Attr() & AttrSelected) != 0;
  EraseItem(List(index), item);
  if (selected) RecountSelection(index);
}

// ---- Topology fill -------------------------------------------------------

int CEntity::GenerateFromTOPO_REC(const TOPOStructs::TOPO_REC* topo) {
  if (!topo) return 0;
  if (!InitEntities()) {
    telio::SetLastError(telio::kErrorNotEnoughMemory);
    return 0;
  }
  m_filePath = telio::ReadFieldText(topo->path, TOPOStructs::kTopoPathSize);
  m_allocFailed = false;
  int ok = 0;
  try {
    ok = GenerateLists(topo);
  } catch (const std::bad_alloc&) {
    ok = 0;
  }
  if (!ok || m_allocFailed) {
    CleanUp();
    telio::SetLastError(telio::kErrorNotEnoughMemory);
    return 0;
  }
  return 1;
}

int CEntity::GenerateLists(const TOPOStructs::TOPO_REC* topo) {
  NodeGrid grid(static_cast<std::size_t>(topo->nodeCount > 0 ? topo->nodeCount : 0));
  for (const TOPOStructs::NODE_REC* r = topo->nodes; r; r = r->next) {
    B_Node* n = grid.Find(r->x, r->y, r->z);
    if (!n) {
      n = MakeNode(r->x, r->y, r->z);
      if (!n) {
        if (m_allocFailed) return 0;
        continue;
      }
      grid.Add(n);
    }
    const auto attr = static_cast<unsigned char>(r->name[6] | (r->restraint ? AttrSupported : 0));
    n->SetAttr(attr, static_cast<unsigned char>(~attr));
  }

  for (int i = 1; i <= topo->sectionCount; ++i) {
    const TOP_SEC* sec = topo->Section(i);
    if (!sec) break;
    auto* s = static_cast<Section*>(NewItem(EntSection, 'S'));
    if (!s) return 0;
    s->SetName(sec->NameOem().GetString());
    OemToCharA(s->PName(), s->PName());
    s->SetFamilyCode(static_cast<ulong32>(sec->Family() * 1000 + sec->SubNumber()));
    s->SetKey(sec->Key());
    // The section's first composite value goes last.
    s->SetComposite(Section::kCompositeValues - 1, sec->Composite(0));
    for (int k = 1; k < Section::kCompositeValues; ++k) s->SetComposite(k - 1, sec->Composite(k));
    if (const TOP_PRS* prs = sec->Prs()) {
      auto* copy = static_cast<TOP_PRS*>(telio::Malloc(sizeof(TOP_PRS)));
      if (!copy) return 0;
      std::memcpy(copy, prs, sizeof(TOP_PRS));
      s->SetPrs(copy);
    }
  }

  std::unordered_map<std::uint64_t, Beam*> joined;
  joined.reserve(static_cast<std::size_t>(topo->beamCount > 0 ? topo->beamCount : 0));
  for (const TOPOStructs::BEAM_REC* r = topo->beams; r; r = r->next) {
    B_Node* a = r->start ? FindNode(r->start->index) : nullptr;
    B_Node* b = r->end ? FindNode(r->end->index) : nullptr;
    if (!a || !b || a == b) continue;
    auto it = joined.find(PairKey(a, b));
    Beam* beam = it != joined.end() ? it->second : MakeBeam(a, b);
    if (!beam) {
      if (m_allocFailed) return 0;
      continue;
    }
    if (it == joined.end()) joined.emplace(PairKey(a, b), beam);
    AssignSection(beam, static_cast<Section*>(FindItem(EntSection, r->section)));
    beam->SetAngle(r->angle);
  }
  return 1;
}

// ---- Creating ------------------------------------------------------------

B_Node* CEntity::MakeNode(float x, float y, float z) {
  Entity* list = List(EntNode);
  if (!list || list->Count() >= kMaxNodes) return nullptr;
  auto* n = static_cast<B_Node*>(NewItem(EntNode, 'N'));
  if (!n) return nullptr;
  n->SetXYZ(x, y, z);
  SetPlaneCoords(n, m_nodeType);
  return n;
}

B_Node* CEntity::NewEntityNode(float x, float y, float z) {
  if (B_Node* n = NodeExists(x, y, z)) return n;
  return MakeNode(x, y, z);
}

Beam* CEntity::MakeBeam(B_Node* a, B_Node* b) {
  Entity* list = List(EntBeam);
  if (!list || list->Count() >= kMaxBeams) return nullptr;
  auto* beam = static_cast<Beam*>(NewItem(EntBeam, 'B'));
  if (!beam) return nullptr;
  beam->SetNodes(a, b);
  a->AddBeams(1);
  b->AddBeams(1);
  return beam;
}

Beam* CEntity::NewEntityBeam(B_Node* a, B_Node* b) {
  if (!a || !b || a == b) return nullptr;
  if (Beam* beam = BeamExists(a, b)) return beam;
  return MakeBeam(a, b);
}

PhysBeam* CEntity::NewEntityPhysBeam(B_Node* a, B_Node* b, short label) {
  if (!a || !b || a == b || !List(EntPhysBeam)) return nullptr;
  for (auto* p = FirstItem<PhysBeam>(List(EntPhysBeam)); p; p = NextItem(p)) {
    if (Joins(p->Start(), p->End(), a, b)) return p;
  }
  std::vector<Beam*> on;
  for (auto* beam = FirstItem<Beam>(List(EntBeam)); beam; beam = NextItem(beam)) {
    if (beam->Start() && beam->End() && OnSegment(beam->Start(), a, b) &&
        OnSegment(beam->End(), a, b)) {
      on.push_back(beam);
    }
  }
  Beam** beams = nullptr;
  if (!on.empty()) {
    beams = static_cast<Beam**>(telio::Calloc(on.size(), sizeof(Beam*)));
    if (!beams) return nullptr;
    std::memcpy(beams, on.data(), on.size() * sizeof(Beam*));
  }
  auto* p = static_cast<PhysBeam*>(NewItem(EntPhysBeam, 'P'));
  if (!p) {
    telio::Free(beams);
    return nullptr;
  }
  p->SetNodes(a, b);
  p->SetLabel(label);
  p->SetBeams(beams, static_cast<long32>(on.size()));
  return p;
}

Section* CEntity::NewEntitySection(short family, ulong32 key, short sub) {
  if (family == 0 || (key == 0 && sub == 0)) return nullptr;
  if (Section* s = SectionExists(family, key, sub)) return s;
  Entity* list = List(EntSection);
  if (!list || list->Count() >= kMaxSections) return nullptr;
  auto* s = static_cast<Section*>(NewItem(EntSection, 'S'));
  if (!s) return nullptr;
  s->SetFamilyCode(static_cast<ulong32>(family * 1000 + sub));
  s->SetKey(key);
  return s;
}

Material* CEntity::NewEntityMaterial(const Material* m) {
  if (!m) return nullptr;
  if (Material* found = MaterialExists(m)) return found;
  auto* mat = static_cast<Material*>(NewItem(EntMaterial, 'M'));
  if (!mat) return nullptr;
  mat->SetName(telio::ReadFieldText(m->Name(), Material::kNameSize).GetString());
  for (int i = 0; i < 4; ++i) mat->SetValue(i, m->Value(i));
  return mat;
}

LoadingCase* CEntity::NewEntitySLoadCase(const CString& name, int kind, int value2, float value) {
  LoadingCase* lc = SLoadCaseExists(name, kind);
  if (!lc) lc = static_cast<LoadingCase*>(NewItem(EntLdCase, 'c'));
  if (!lc) return nullptr;
  lc->SetName(name.GetString());
  lc->SetValues(static_cast<unsigned char>(kind), static_cast<unsigned char>(value2), value);
  return lc;
}

Connection* CEntity::NewEntityConnection(Beam* beam, short end, short type, float value) {
  if (!InList(EntBeam, beam)) return nullptr;
  auto* c = static_cast<Connection*>(NewItem(EntConnection, 'S'));
  if (!c) return nullptr;
  c->Set(type, value);
  Connection* old = beam->GetConnection(end);
  beam->SetConnection(end, c);
  if (old && old != beam->GetConnection(0) && old != beam->GetConnection(1)) {
    EraseFrom(EntConnection, old);
  }
  return c;
}

Support* CEntity::NewEntityRefSupport(const Support* s) {
  if (!s) return nullptr;
  if (Support* found = FindRefSupport(s)) return found;
  auto* ref = static_cast<Support*>(NewItem(EntSupport, 'S'));
  if (!ref) return nullptr;
  ref->SetFlags(s->Flags());
  for (int d = 0; d < 6; ++d) {
    if (!(s->Flags() & (1u << d))) ref->SetValue(d, s->Value(d));
  }
  return ref;
}

Instance* CEntity::NewEntityISupport(B_Node* node, const Support* s) {
  if (!InList(EntNode, node)) return nullptr;
  Instance* inst = SupportExists(node);
  Support* ref = NewEntityRefSupport(s);
  if (!ref) {
    if (inst) RemoveISupport(inst);
    return nullptr;
  }
  if (inst && inst->Reference() == ref) return inst;
  if (inst) {
    auto* old = static_cast<Support*>(inst->Reference());
    if (InList(EntSupport, old)) {
      old->AddUsers(-1);
      if (old->Users() < 1) EraseFrom(EntSupport, old);
    }
  } else {
    inst = static_cast<Instance*>(NewItem(EntISupport, 'S'));
    if (!inst) {
      if (ref->Users() < 1) EraseFrom(EntSupport, ref);
      return nullptr;
    }
    inst->SetObject(node);
  }
  inst->SetReference(ref);
  ref->AddUsers(1);
  node->SetAttr(AttrSupported, 0);
  return inst;
}

// ---- Finding -------------------------------------------------------------

BasicData* CEntity::FindItem(int index, int number) const {
  Entity* list = List(index);
  return list ? static_cast<BasicData*>(FindItemPos(list, number)) : nullptr;
}

B_Node* CEntity::FindNode(int number) const {
  return static_cast<B_Node*>(FindItem(EntNode, number));
}

Beam* CEntity::FindBeam(int number) const { return static_cast<Beam*>(FindItem(EntBeam, number)); }

B_Node* CEntity::FindNodeByName(const char* name) const {
  if (!name) return nullptr;
  while (*name && (*name < '0' || *name > '9')) ++name;
  if (!*name) return nullptr;
  long long number = 0;
  for (; *name >= '0' && *name <= '9'; ++name) {
    number = number * 10 + (*name - '0');
    if (number > INT32_MAX) return nullptr;
  }
  return FindNode(static_cast<int>(number));
}

B_Node* CEntity::NodeExists(float x, float y, float z) const {
  return NodeExistsEx(x, y, z, kNodeTolerance);
}

B_Node* CEntity::NodeExistsEx(float x, float y, float z, float tolerance) const {
  for (auto* n = FirstItem<B_Node>(List(EntNode)); n; n = NextItem(n)) {
    if (E_SgmLen3D(x, y, z, n->X(), n->Y(), n->Z()) < tolerance) return n;
  }
  return nullptr;
}

Beam* CEntity::BeamExists(const B_Node* a, const B_Node* b) const {
  if (!a || !b) return nullptr;
  for (auto* beam = FirstItem<Beam>(List(EntBeam)); beam; beam = NextItem(beam)) {
    if (Joins(beam->Start(), beam->End(), a, b)) return beam;
  }
  return nullptr;
}

Section* CEntity::SectionExists(short family, ulong32 key, short sub) const {
  const auto code = static_cast<ulong32>(family * 1000 + sub);
  for (auto* s = FirstItem<Section>(List(EntSection)); s; s = NextItem(s)) {
    if (s->Key() == key && s->FamilyCode() == code) return s;
  }
  return nullptr;
}

Material* CEntity::MaterialExists(const Material* m) const {
  if (!m) return nullptr;
  const CString name = telio::ReadFieldText(m->Name(), Material::kNameSize);
  for (auto* mat = FirstItem<Material>(List(EntMaterial)); mat; mat = NextItem(mat)) {
    if (name.CompareNoCase(mat->Name()) != 0) continue;
    bool equal = true;
    for (int i = 0; i < 4 && equal; ++i) equal = Near(mat->Value(i), m->Value(i));
    if (equal) return mat;
  }
  return nullptr;
}

Instance* CEntity::SupportExists(const B_Node* node) const {
  if (!node) return nullptr;
  for (auto* i = FirstItem<Instance>(List(EntISupport)); i; i = NextItem(i)) {
    if (i->Object() == node) return i;
  }
  return nullptr;
}

Connection* CEntity::ConnectionExists(const Beam* beam, short end) const {
  return InList(EntBeam, beam) ? beam->GetConnection(end) : nullptr;
}

LoadingCase* CEntity::SLoadCaseExists(const CString& name, int kind) const {
  const auto k = static_cast<unsigned char>(kind);
  for (auto* lc = FirstItem<LoadingCase>(List(EntLdCase)); lc; lc = NextItem(lc)) {
    if (lc->KindValue() == k && name.CompareNoCase(lc->Name()) == 0) return lc;
  }
  return nullptr;
}

Support* CEntity::FindRefSupport(const Support* s) const {
  if (!s) return nullptr;
  for (auto* ref = FirstItem<Support>(List(EntSupport)); ref; ref = NextItem(ref)) {
    if (ref->Flags() != s->Flags()) continue;
    bool equal = true;
    for (int d = 0; d < 6 && equal; ++d) {
      equal = (s->Flags() & (1u << d)) || Near(ref->Value(d), s->Value(d));
    }
    if (equal) return ref;
  }
  return nullptr;
}

Section* CEntity::GetSectionOfBeam(int beam) const {
  Beam* b = FindBeam(beam);
  return b ? b->SectionItem() : nullptr;
}

// ---- Sections ------------------------------------------------------------

void CEntity::AssignSection(Beam* beam, Section* s) {
  if (beam->SectionItem() == s) return;
  if (beam->SectionItem()) beam->SectionItem()->AddUsers(-1);
  beam->SetSectionItem(s);
  if (s) s->AddUsers(1);
}

void CEntity::ReleaseSection(Beam* beam) {
  Section* old = beam->SectionItem();
  if (!old) return;
  old->AddUsers(-1);
  beam->SetSectionItem(nullptr);
  RemoveSection(old, false);
}

Section* CEntity::ChangeBeamSection(int beam, Section* s) {
  Beam* b = FindBeam(beam);
  if (!b || !s) return nullptr;
  if (b->SectionItem() == s) return s;
  const bool listed = InList(EntSection, s);
  ReleaseSection(b);
  if (!listed) return nullptr;
  b->SetSectionItem(s);
  s->AddUsers(1);
  return s;
}

Section* CEntity::ChangeBeamSection(int beam, short family, ulong32 key, short sub) {
  if (!FindBeam(beam)) return nullptr;
  return ChangeBeamSection(beam, NewEntitySection(family, key, sub));
}

int CEntity::RemoveSection(Section* s, bool detach) {
  if (!InList(EntSection, s)) return 0;
  if (detach) {
    for (auto* b = FirstItem<Beam>(List(EntBeam)); b; b = NextItem(b)) {
      if (b->SectionItem() == s) b->SetSectionItem(nullptr);
    }
    s->SetUsers(0);
  }
  if (s->Users() >= 1) return 0;
  telio::Free(s->Prs());
  s->SetPrs(nullptr);
  EraseFrom(EntSection, s);
  return 1;
}

int CEntity::RemoveMaterial(Material* m) {
  if (!InList(EntMaterial, m) || m->Users() >= 1) return 0;
  EraseFrom(EntMaterial, m);
  return 1;
}

int CEntity::RemoveISupport(Instance* inst) {
  if (!InList(EntISupport, inst)) return 0;
  if (BasicData* node = inst->Object()) node->SetAttr(0, AttrSupported);
  auto* ref = static_cast<Support*>(inst->Reference());
  if (InList(EntSupport, ref)) {
    ref->AddUsers(-1);
    if (ref->Users() < 1) EraseFrom(EntSupport, ref);
  }
  EraseFrom(EntISupport, inst);
  return 1;
}

int CEntity::RemoveISupportAt(B_Node* node) {
  Instance* inst = SupportExists(node);
  return inst ? RemoveISupport(inst) : 0;
}

void CEntity::FreeSectionData() {
  for (auto* s = FirstItem<Section>(List(EntSection)); s; s = NextItem(s)) {
    telio::Free(s->Prs());
    s->SetPrs(nullptr);
  }
}

void CEntity::FreePhysicalBeamData() {
  for (auto* p = FirstItem<PhysBeam>(List(EntPhysBeam)); p; p = NextItem(p)) {
    telio::Free(p->Beams());
    p->SetBeams(nullptr, 0);
  }
}

// ---- Attributes and selection --------------------------------------------

bool CEntity::HasAttrib(const BasicData* item, unsigned char bits) {
  return item && (item->Attr() & bits) == bits;
}

void CEntity::SetAttrib(BasicData* item, unsigned char bits) {
  if (item) item->SetAttr(bits, 0);
}

void CEntity::UnSetAttrib(BasicData* item, unsigned char bits) {
  if (item) item->SetAttr(0, bits);
}

BasicData* CEntity::SetAttrItem(int index, int number, unsigned char set, unsigned char clear) {
  BasicData* item = FindItem(index, number);
  if (!item) return nullptr;
  Entity* list = List(index);
  const unsigned char before = item->Attr();
  item->SetAttr(set, clear);
  if (!((before ^ item->Attr()) & AttrSelected)) return item;
  long32 count = list->SelectedCount();
  if (item->Attr() & AttrSelected) {
    ++count;
    telio::SetEntitySelectedItem(list, count == 1 ? item : nullptr);
  } else {
    if (count > 0) --count;
    BasicData* one = nullptr;
    if (count == 1) {
      for (BasicData* p = list->First(); p && !one; p = p->Next()) {
        if (p->Attr() & AttrSelected) one = p;
      }
    }
    telio::SetEntitySelectedItem(list, one);
  }
  telio::SetEntitySelectedCount(list, count);
  return item;
}

int CEntity::SetAttrItemAll(int index, unsigned char set, unsigned char clear) {
  Entity* list = List(index);
  if (!list) return 0;
  int n = 0;
  for (BasicData* p = list->First(); p; p = p->Next(), ++n) p->SetAttr(set, clear);
  RecountSelection(index);
  return n;
}

BasicData* CEntity::SelectItemByEnum(int index, int number) {
  return SetAttrItem(index, number, AttrSelected, 0);
}

BasicData* CEntity::UnSelectItemByEnum(int index, int number) {
  return SetAttrItem(index, number, 0, AttrSelected);
}

void CEntity::SelectAll() {
  SetAttrItemAll(EntNode, AttrSelected, 0);
  SetAttrItemAll(EntBeam, AttrSelected, 0);
}

void CEntity::UnselectAll() {
  SetAttrItemAll(EntNode, 0, AttrSelected);
  SetAttrItemAll(EntBeam, 0, AttrSelected);
}

int CEntity::FindItemsWithAttr(int index, unsigned char bits) const {
  int n = 0;
  Entity* list = List(index);
  for (BasicData* p = list ? list->First() : nullptr; p; p = p->Next()) {
    if (HasAttrib(p, bits)) ++n;
  }
  return n;
}

void CEntity::SetForSelectEntitiesMember(B_Node* a, B_Node* b) {
  m_held = new CEntityBasicDataLst(a, b);
}

unsigned CEntity::SelectEntitiesMember(B_Node* a, B_Node* b, int, int clearFirst) {
  if (!m_block) return 0;
  if (clearFirst) UnselectAll();
  if (!a || !b || a == b) return 0;
  GE_::Safe::PtrStrong<CEntityBasicDataLst> member = new CEntityBasicDataLst(a, b);
  m_held = member;
  const float whole = Distance(a, b);
  double sum = 0;
  CSmartCollection<Beam*>& beams = member->GetBeams();
  for (auto* beam = FirstItem<Beam>(List(EntBeam)); beam; beam = NextItem(beam)) {
    const B_Node* s = beam->Start();
    const B_Node* e = beam->End();
    if (s && e && OnSegment(s, a, b) && OnSegment(e, a, b) && beams.Add(beam)) sum += Distance(s, e);
  }
  if (std::fabs(whole - sum) > 0.1) beams.RemoveAll();
  return static_cast<unsigned>(beams.GetCount());
}

unsigned CEntity::SelectEntitiesMember(float x1, float y1, float z1, float x2, float y2, float z2,
                                       int unused, int clearFirst) {
  return SelectEntitiesMember(NodeExists(x1, y1, z1), NodeExists(x2, y2, z2), unused, clearFirst);
}

unsigned CEntity::SelectSettedEntitiesMember() {
  if (m_held.IsNull()) return 0;
  GE_::Safe::PtrStrong<CEntityBasicDataLst> held = m_held;
  return SelectEntitiesMember(held->GetStartNode(), held->GetEndNode(), 1, 0);
}

void CEntity::ExtractBeamCoords(const B_Beam* beam, float* x1, float* y1, float* x2, float* y2) {
  if (!beam || !beam->Start() || !beam->End()) return;
  if (x1) *x1 = beam->Start()->PlaneX();
  if (y1) *y1 = beam->Start()->PlaneY();
  if (x2) *x2 = beam->End()->PlaneX();
  if (y2) *y2 = beam->End()->PlaneY();
}

void CEntity::ExtractBeamCoords(const B_Beam* beam, double* x1, double* y1, double* x2,
                                double* y2) {
  if (!beam || !beam->Start() || !beam->End()) return;
  if (x1) *x1 = beam->Start()->PlaneX();
  if (y1) *y1 = beam->Start()->PlaneY();
  if (x2) *x2 = beam->End()->PlaneX();
  if (y2) *y2 = beam->End()->PlaneY();
}

// ---- Copying -------------------------------------------------------------

int CEntity::EntityCopy(Entity* target, const Entity* source, bool keepSelection) {
  if (!target || !source || target == source) return 0;
  ResetEntity(target);
  const std::uint16_t itemSize = HeaderWord(source, kHeaderItemSizeOffset);
  if (itemSize == 0) {
    std::memset(target, 0, sizeof(Entity));
    return 1;
  }
  InitEntity(target, source->Name(), itemSize, 0, 0, HeaderWord(source, kHeaderFlagsOffset));
  const BasicData* selected = source->SelectedItem();
  for (const BasicData* p = source->First(); p; p = p->Next()) {
    auto* q = static_cast<BasicData*>(InitNewItem(target, p->Kind()));
    if (!q) {
      ResetEntity(target);
      return 0;
    }
    std::memcpy(reinterpret_cast<unsigned char*>(q) + sizeof(BasicData),
                reinterpret_cast<const unsigned char*>(p) + sizeof(BasicData),
                itemSize - sizeof(BasicData));
    q->SetAttr(keepSelection ? p->Attr() : p->Attr() & ~AttrSelected, 0);
    if (keepSelection && p == selected) telio::SetEntitySelectedItem(target, q);
  }
  if (keepSelection) telio::SetEntitySelectedCount(target, source->SelectedCount());
  return 1;
}

bool CEntity::CopyModel(const CEntity& other) {
  Clear();
  m_nodeType = other.m_nodeType;
  m_beamType = other.m_beamType;
  m_imagesPath = other.m_imagesPath;
  bool ok = CopyResults(other.m_results, other.m_resultCount, other.m_resultsType) != 0;
  m_loadExt = other.m_loadExt;
  m_resExt = other.m_resExt;
  if (!ok || (other.m_block && !Allocate())) {
    Clear();
    telio::SetLastError(telio::kErrorNotEnoughMemory);
    return false;
  }
  if (!other.m_block) return true;

  // Copy every list, then repoint each copied pointer at the copy of its
  // target. Owned blocks are nulled first so that a failure frees nothing
  // twice.
  std::unordered_map<const void*, BasicData*> copyOf;
  try {
    for (int i = 0; i < EntCount && ok; ++i) {
      ok = EntityCopy(List(i), other.List(i), true) != 0;
      for (auto *p = other.List(i)->First(), *q = List(i)->First(); ok && p && q;
           p = p->Next(), q = q->Next()) {
        copyOf[p] = q;
      }
    }
  } catch (const std::bad_alloc&) {
    ok = false;
  }
  for (auto* s = FirstItem<Section>(List(EntSection)); s; s = NextItem(s)) s->SetPrs(nullptr);
  for (auto* p = FirstItem<PhysBeam>(List(EntPhysBeam)); p; p = NextItem(p)) p->SetBeams(nullptr, 0);
  auto map = [&copyOf](auto* p) {
    using T = std::remove_cv_t<std::remove_pointer_t<decltype(p)>>;
    auto it = p ? copyOf.find(p) : copyOf.end();
    return it == copyOf.end() ? static_cast<T*>(nullptr) : static_cast<T*>(it->second);
  };
  for (auto* b = ok ? FirstItem<Beam>(List(EntBeam)) : nullptr; b; b = NextItem(b)) {
    b->SetNodes(map(b->Start()), map(b->End()));
    b->SetSectionItem(map(b->SectionItem()));
    b->SetConnection(0, map(b->GetConnection(0)));
    b->SetConnection(1, map(b->GetConnection(1)));
  }
  for (int i : {EntISupport, EntINodeLoad, EntIBeamLoad, EntINodeRes, EntIBeamRes}) {
    for (auto* inst = ok ? FirstItem<Instance>(List(i)) : nullptr; inst; inst = NextItem(inst)) {
      inst->SetObject(map(inst->Object()));
      inst->SetReference(map(inst->Reference()));
    }
  }
  for (int i : {EntNodalLoad, EntDisplacement, EntConcentrated, EntDistributed, EntDispRes,
                EntForcesRes}) {
    for (auto* r = ok ? FirstItem<BasicDataEx>(List(i)) : nullptr; r; r = NextItem(r)) {
      r->SetLoadCase(map(r->LoadCase()));
    }
  }
  for (auto *p = FirstItem<PhysBeam>(other.List(EntPhysBeam)), *q = FirstItem<PhysBeam>(List(EntPhysBeam));
       ok && p && q; p = NextItem(p), q = NextItem(q)) {
    q->SetNodes(map(p->Start()), map(p->End()));
    if (!p->Beams() || p->BeamCount() <= 0) continue;
    auto* beams = static_cast<Beam**>(telio::Calloc(static_cast<std::size_t>(p->BeamCount()), sizeof(Beam*)));
    if (!beams) {
      ok = false;
      break;
    }
    for (long32 k = 0; k < p->BeamCount(); ++k) beams[k] = map(p->Beams()[k]);
    q->SetBeams(beams, p->BeamCount());
  }
  for (auto *p = FirstItem<Section>(other.List(EntSection)), *q = FirstItem<Section>(List(EntSection));
       ok && p && q; p = NextItem(p), q = NextItem(q)) {
    if (!p->Prs()) continue;
    auto* prs = static_cast<TOP_PRS*>(telio::Malloc(sizeof(TOP_PRS)));
    if (!prs) {
      ok = false;
      break;
    }
    std::memcpy(prs, p->Prs(), sizeof(TOP_PRS));
    q->SetPrs(prs);
  }

  auto copyMember = [&map](const CEntityBasicDataLst& m) {
    GE_::Safe::PtrStrong<CEntityBasicDataLst> c =
        new CEntityBasicDataLst(map(m.GetStartNode()), map(m.GetEndNode()));
    c->SetName(m.GetName());
    c->SetSelected(m.GetSelected());
    for (int k = 0; k < m.GetBeams().GetCount(); ++k) c->GetBeams().Add(map(m.GetBeams().GetAt(k)));
    return c;
  };
  try {
    if (ok && !other.m_held.IsNull()) m_held = copyMember(*other.m_held);
    for (int i = 0; ok && i < other.m_members.GetSize(); ++i) {
      const auto& m = other.m_members.GetData()[i];
      m_members.Add(m.IsNull() ? GE_::Safe::PtrStrong<CEntityBasicDataLst>() : copyMember(*m));
    }
  } catch (...) {
    ok = false;
  }
  if (!ok) {
    Clear();
    telio::SetLastError(telio::kErrorNotEnoughMemory);
    return false;
  }
  m_filePath = other.m_filePath;
  return true;
}
