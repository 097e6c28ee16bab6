#include "mdd/CMDDMembersArray.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

#include "files/CFileCMI.h"
#include "files/CFileJOB.h"
#include "files/CFileNAM.h"
#include "framework/Persist.h"
#include "mdd/CIResMngAnalysis.h"
#include "mdd/CIResMngPreCheckSections.h"
#include "mdd/CMDDBeam.h"
#include "mdd/CMDDLoadCaseValues.h"
#include "mdd/CMDDNode.h"
#include "mdd/CMemberValidation.h"
#include "platform/Alloc.h"
#include "platform/CCheckSum.h"
#include "platform/CException.h"
#include "platform/CPathObj.h"
#include "platform/LastError.h"
#include "sections/SectionFamilies.h"
#include "sections/SectionObjectBridge.h"

namespace MDD_OBJECTS {

using GE_::Safe::PtrStrong;
using GEOMETRY_OBJECTS::CGLine;
using GEOMETRY_OBJECTS::CGPoint;
using TELMARO_DATA_OBJECTS::CIAnalysisElementLst;
using TELMARO_DATA_OBJECTS::CILoadCase;
using TELMARO_DATA_OBJECTS::CILoadCaseLstSyn;
using TELMARO_DATA_OBJECTS::CILoadCaseValues;
using TELMARO_DATA_OBJECTS::CILoadCaseValuesLst;
using TELMARO_DATA_OBJECTS::CIResults;
using TELMARO_DATA_OBJECTS::CISectionData;
using TELMARO_DATA_OBJECTS::CISectionLst;
using TOPOStructs::BEAM_REC;
using TOPOStructs::TOPO_REC;

namespace {

constexpr double kTolerance = 0.001;
constexpr float kFloatTolerance = 0.001f;
constexpr int kMaxMemberName = 8;
constexpr int kSafetyCodeRegulation0 = 1;
constexpr int kSafetyCodeRegulation1 = 4;
// From this many beams on, a load case's RES end forces are read whole
// rather than beam by beam.
constexpr size_t kWholeResBeams = 64;

bool Near(float a, float b) { return std::fabs(a - b) <= kFloatTolerance; }

// Does beam run between the two points, either way round (FindBeam's test)?
bool Joins(const BEAM_REC* b, float x1, float y1, float z1, float x2, float y2, float z2) {
  const TOPOStructs::NODE_REC* s = b->start;
  const TOPOStructs::NODE_REC* e = b->end;
  if (!s || !e) return false;
  return (Near(s->x, x1) && Near(s->y, y1) && Near(s->z, z1) && Near(e->x, x2) && Near(e->y, y2) && Near(e->z, z2)) ||
         (Near(s->x, x2) && Near(s->y, y2) && Near(s->z, z2) && Near(e->x, x1) && Near(e->y, y1) && Near(e->z, z1));
}

// A RES end force as the points keep it: the sign inverted, and a value
// within 0.001 of zero without a sign.
double PointForce(float f) { return std::fabs(f) <= kTolerance ? std::fabs(static_cast<double>(f)) : -static_cast<double>(f); }

// The six forces into a value set, in key order (as
// CMDDLoadCaseValues::SetValues gives them).
void SetForces(CILoadCaseValues* values, const double (&v)[6]) {
  if (!values) return;
  for (int k = 0; k < 6; ++k) *values->LCValuePtr(kKeyFx + k) = v[k];
}

CILoadCaseValuesLst* ValuesOf(const PtrStrong<CGPoint>& p) {
  auto* node = dynamic_cast<CMDDNode*>(p.GetPtr());
  return node ? node->GetLoadCaseValuesLst() : nullptr;
}

}  // namespace

// The topology's beams by the cell of their start node: FindBeam's answer
// (the first beam in list order whose ends lie within 0.001 of the two
// points, either way round) without walking the whole list for each beam
// of each member. A point within 0.001 of a node lies in the node's cell of
// 0.002 or in one next to it.
class CMDDMembersArray::BeamIndex {
 public:
  explicit BeamIndex(const TOPO_REC* topo) {
    for (const BEAM_REC* b = topo ? topo->beams : nullptr; b; b = b->next) {
      const int at = static_cast<int>(beams_.size());
      beams_.push_back(b);
      Key k;
      if (b->start && b->end && CellOf(b->start->x, b->start->y, b->start->z, &k)) cells_[k].push_back(at);
    }
  }

  const BEAM_REC* Find(float x1, float y1, float z1, float x2, float y2, float z2) const {
    int best = std::numeric_limits<int>::max();
    const float ends[2][3] = {{x1, y1, z1}, {x2, y2, z2}};
    for (const auto& p : ends) {
      Key c;
      if (!CellOf(p[0], p[1], p[2], &c)) continue;
      for (long long dx = -1; dx <= 1; ++dx) {
        for (long long dy = -1; dy <= 1; ++dy) {
          for (long long dz = -1; dz <= 1; ++dz) {
            auto it = cells_.find(Key{c.x + dx, c.y + dy, c.z + dz});
            if (it == cells_.end()) continue;
            for (int at : it->second) {
              if (at < best && Joins(beams_[static_cast<size_t>(at)], x1, y1, z1, x2, y2, z2)) best = at;
            }
          }
        }
      }
    }
    return best == std::numeric_limits<int>::max() ? nullptr : beams_[static_cast<size_t>(best)];
  }

 private:
  struct Key {
    long long x = 0, y = 0, z = 0;
    bool operator==(const Key& o) const { return x == o.x && y == o.y && z == o.z; }
  };
  struct KeyHash {
    size_t operator()(const Key& k) const {
      uint64_t h = static_cast<uint64_t>(k.x) * 0x9E3779B97F4A7C15ull;
      h ^= static_cast<uint64_t>(k.y) + 0x7F4A7C159E3779B9ull + (h << 6) + (h >> 2);
      h ^= static_cast<uint64_t>(k.z) + 0x94D049BB133111EBull + (h << 6) + (h >> 2);
      return static_cast<size_t>(h);
    }
  };

  // False for a point that no tolerance test can match (not finite).
  static bool CellOf(float x, float y, float z, Key* k) {
    const float v[3] = {x, y, z};
    long long c[3];
    for (int i = 0; i < 3; ++i) {
      if (!std::isfinite(v[i])) return false;
      const double cell = std::floor(static_cast<double>(v[i]) / (2 * kTolerance));
      c[i] = static_cast<long long>(std::max(-4e18, std::min(4e18, cell)));
    }
    *k = Key{c[0], c[1], c[2]};
    return true;
  }

  std::vector<const BEAM_REC*> beams_;
  std::unordered_map<Key, std::vector<int>, KeyHash> cells_;
};

namespace {

// Does an internal beam run against its analysis beam? A member of one
// beam decides by the beam's own direction (tolerance 0.001): reversed when
// it runs towards -x; along x within the tolerance, when it runs towards
// -y; along neither, when it runs towards -z.
bool IsReversed(const CGLine& internal, const BEAM_REC& analysis, int memberBeams) {
  if (memberBeams == 1) {
    const GEOMETRY_OBJECTS::CGVectorDirection d = internal.GetVectorDirection();
    if (d.X() < 0) return true;
    if (std::fabs(d.X()) <= kTolerance && d.Y() < 0) return true;
    if (std::fabs(d.Y()) > kTolerance) return false;
    return d.Z() < 0;
  }
  if (!analysis.start || !analysis.end) return false;
  const CGLine line(CGPoint(analysis.start->x, analysis.start->y, analysis.start->z),
                    CGPoint(analysis.end->x, analysis.end->y, analysis.end->z));
  return !internal.IsSameDirectionWith(line);
}

}  // namespace

// The forces of the intermediate points of a set of members, read load
// case after load case and, inside one, in the order of the analysis beams
// (so that the OUC blocks are read in file order).
//
// The beams are taken a batch at a time: the forces of a batch are read for
// every load case into a staging table of floats (the OUC's own values, and
// the RES end forces, which are floats too), then given to the points one
// point at a time, every load case in turn, so that each point's value sets
// are made and filled together rather than each revisited once per load
// case across gigabytes of them. Every point receives its forces in the
// order of the load cases, as one pass per load case would give them.
//
// A point whose values list is empty when first reached (the usual case:
// Link has just dropped every point) receives, in one copy, value sets for
// every load case of the pass; value sets that got no forces are removed at
// the end, so that the point holds what CreateLCValuesFor would have made
// one by one, in the same order. Other points go through CreateLCValuesFor.
class CMDDMembersArray::ForceLinker {
 public:
  ForceLinker(CMDDMembersArray& owner, int lcIndex) : owner_(owner), loads_(owner.GetLoadCaseLst()) {
    const int n = loads_ ? loads_->GetCount() : 0;
    const int first = lcIndex == -1 ? 0 : lcIndex;
    const int end = lcIndex == -1 ? n : (lcIndex >= 0 && lcIndex < n ? lcIndex + 1 : lcIndex);
    for (int lc = first; lc < end; ++lc) {
      const int r = owner_.LoadResultOf(lc);
      if (r >= 0) cases_.push_back(Case{lc, r});
    }
  }

  void Add(CMDDMember* member) {
    const int beams = member->GetCountInternalBeams();
    for (int i = 0; i < beams; ++i) {
      const PtrStrong<CGLine> line = member->GetInternalBeamAt(i);
      if (line.IsNull()) continue;
      const CGPoint s = line->SPoint(), e = line->EPoint();
      const BEAM_REC* b = owner_.FindAnalysisBeam(s, e);
      if (!b) continue;
      Item item;
      item.beam = line;
      item.analysis = static_cast<int>(b->index) - 1;
      item.reversed = IsReversed(*line, *b, beams);
      items_.push_back(item);
    }
  }

  // Throws CMemoryException* when memory runs out.
  void Run() {
    if (cases_.empty() || items_.empty()) return;
    std::stable_sort(items_.begin(), items_.end(), [](const Item& a, const Item& b) { return a.analysis < b.analysis; });
    CFileOUC& ouc = owner_.m_ouc;
    ouc.ReadAhead(true);
    struct Release {
      CFileOUC& ouc;
      ~Release() { ouc.ReadAhead(false); }
    } release{ouc};
    for (Item& item : items_) RefreshPoints(item);
    for (size_t first = 0; first < items_.size();) {
      // A batch: the beams whose forces of every load case fit the stage.
      size_t end = first, staged = 0;
      while (end < items_.size() && (end == first || staged + Stageable(items_[end]) <= kStagedSets)) {
        staged += Stageable(items_[end++]);
      }
      for (size_t i = first; i < end; ++i) Restage(items_[i]);
      for (size_t k = 0; k < cases_.size(); ++k) {
        const int r = cases_[k].result;
        haveWhole_ = false;
        for (size_t i = first; i < end; ++i) {
          Item& item = items_[i];
          if (const BEAM_DATA* d = ouc.GetBeamData(r, item.analysis)) {
            FromOUC(item, k, *d);
          } else if (const AnasisForces* f = Forces(r, item.analysis)) {
            FromRES(item, k, *f);
          }
        }
      }
      for (size_t i = first; i < end; ++i) {
        Deliver(items_[i]);
        items_[i].stage = Stage();
      }
      first = end;
    }
    for (Item& item : items_) {
      for (Point& p : item.points) DropUnset(p);
    }
  }

 private:
  // Value sets staged at most in one batch (6 floats and a flag each).
  static constexpr size_t kStagedSets = size_t{1} << 19;

  struct Case {
    int lc;      // index in the project's load-case list
    int result;  // load result in the analysis files
  };
  struct Point {
    CILoadCaseValuesLst* values = nullptr;
    bool touched = false;
    bool prefilled = false;        // holds a value set for every case
    std::vector<unsigned char> set;  // prefilled: which got forces
  };
  // The forces of a beam's points for the cases of the pass, case by case:
  // entry k * points + i is point i in case k.
  struct Stage {
    size_t points = 0;
    std::vector<float> forces;     // 6 per entry
    std::vector<unsigned char> has;
  };
  struct Item {
    PtrStrong<CGLine> beam;
    int analysis = 0;  // 0-based index of the analysis beam
    bool reversed = false;
    std::vector<Point> points;  // the beam's points, in order
    Stage stage;
  };

  size_t Stageable(const Item& item) const { return std::max<size_t>(item.points.size(), 1) * cases_.size(); }

  // An empty stage for the item's points as they are now.
  void Restage(Item& item) {
    item.stage.points = item.points.size();
    item.stage.has.assign(item.stage.points * cases_.size(), 0);
    item.stage.forces.resize(6 * item.stage.has.size());
  }

  // Stages the forces of point i in case k.
  void Put(Item& item, size_t i, size_t k, const double (&v)[6]) {
    const size_t at = k * item.stage.points + i;
    for (int j = 0; j < 6; ++j) item.stage.forces[6 * at + static_cast<size_t>(j)] = static_cast<float>(v[j]);
    item.stage.has[at] = 1;
  }

  // Gives the staged forces to the points, each point's in case order, and
  // empties the stage.
  void Deliver(Item& item) {
    const size_t n = item.stage.points;
    for (size_t i = 0; i < n && i < item.points.size(); ++i) {
      for (size_t k = 0; k < cases_.size(); ++k) {
        const size_t at = k * n + i;
        if (!item.stage.has[at]) continue;
        double v[6];
        for (int j = 0; j < 6; ++j) v[j] = item.stage.forces[6 * at + static_cast<size_t>(j)];
        Set(item.points[i], k, v);
        item.stage.has[at] = 0;
      }
    }
  }

  // The item's points after a change of its beam's points: what was staged
  // for the points before is delivered first.
  void Repoint(Item& item) {
    Deliver(item);
    RefreshPoints(item);
    Restage(item);
  }

  // The states of item's points, after points were added.
  void RefreshPoints(Item& item) {
    std::vector<Point> old;
    old.swap(item.points);
    const int n = item.beam->GetCountInternalPoints();
    for (int i = 0; i < n; ++i) {
      CILoadCaseValuesLst* values = ValuesOf(item.beam->GetInternalPointAt(i));
      Point p;
      p.values = values;
      for (Point& o : old) {
        if (o.values == values && values) {
          p = o;
          break;
        }
      }
      item.points.push_back(p);
    }
  }

  void FromOUC(Item& item, size_t k, const BEAM_DATA& d) {
    const int n = d.NumIPs();
    const float* positions = d.Table(0);
    CGLine& beam = *item.beam;
    if (positions && beam.GetCountInternalPoints() < n) {
      const double length = beam.Length();
      for (int p = 0; p < n; ++p) beam.AddInternalPoint(item.reversed ? length - positions[p] : positions[p], false);
      Repoint(item);
    }
    const int count = static_cast<int>(item.points.size());
    for (int i = 0; i < count; ++i) {
      const int p = item.reversed ? n - 1 - i : i;
      double v[6];
      for (int kind = 1; kind <= 6; ++kind) {
        const float* t = d.Table(kind);
        v[kind - 1] = (t && p >= 0 && p < n) ? t[p] : 0.0;
      }
      Put(item, static_cast<size_t>(i), k, v);
    }
  }

  void FromRES(Item& item, size_t k, const AnasisForces& f) {
    if (item.points.empty()) {
      item.beam->RemoveInternalPointsAll();  // the end points
      Repoint(item);
      if (item.points.empty()) return;
    }
    double first[6], second[6];
    for (int i = 0; i < 6; ++i) {
      first[i] = PointForce(f.first.Value(i));
      second[i] = PointForce(f.second.Value(i));
    }
    const size_t last = item.points.size() - 1;
    Put(item, item.reversed ? last : 0, k, first);
    Put(item, item.reversed ? 0 : last, k, second);
  }

  // The RES end forces of a beam; a load case's are read whole once many
  // beams need them.
  const AnasisForces* Forces(int r, int beam) {
    if (items_.size() < kWholeResBeams) return owner_.m_res.GetForcesFor(r, beam);
    if (!haveWhole_) {
      whole_ = owner_.m_res.GetForcesFor(r);
      haveWhole_ = true;
    }
    return beam >= 0 && beam < whole_.GetSize() ? &whole_[beam] : nullptr;
  }

  void Set(Point& p, size_t k, const double (&v)[6]) {
    if (!p.values) return;
    if (!p.touched) {
      p.touched = true;
      p.values->SynchronizeLCValues(loads_);
      if (p.values->GetCount() == 0 && cases_.size() > 1) {
        p.values->CopyFrom(Prototype());
        p.prefilled = p.values->GetCount() == static_cast<int>(cases_.size());
        if (!p.prefilled) p.values->RemoveLCValuesAll();
        p.set.assign(cases_.size(), 0);
      }
    }
    if (p.prefilled) {
      SetForces(p.values->GetLCValuesAt(static_cast<int>(k)), v);
      p.set[k] = 1;
    } else {
      SetForces(p.values->CreateLCValuesFor(cases_[k].lc), v);
    }
  }

  void DropUnset(Point& p) {
    if (!p.prefilled) return;
    for (int k = static_cast<int>(p.set.size()) - 1; k >= 0; --k) {
      if (!p.set[static_cast<size_t>(k)]) p.values->RemoveAt(k);
    }
  }

  // A value set for each case of the pass, as CreateLCValuesFor makes them.
  const CILoadCaseValuesLst* Prototype() {
    if (!prototype_) {
      prototype_.reset(new CMDDLoadCaseValuesLst);
      for (const Case& c : cases_) {
        PtrStrong<CILoadCase> e = prototype_->CreateNewObject();
        e->CopyFrom(loads_->GetLoadCaseAt(c.lc).GetPtr());
        prototype_->Add(e);
      }
    }
    return prototype_.get();
  }

  CMDDMembersArray& owner_;
  CILoadCaseLstSyn* loads_;
  std::vector<Case> cases_;
  std::vector<Item> items_;
  std::unique_ptr<CMDDLoadCaseValuesLst> prototype_;
  CArrayEx<AnasisForces, const AnasisForces&> whole_;
  bool haveWhole_ = false;
};

// --- construction ---

CMDDMembersArray::CMDDMembersArray() : m_runtime{0, 0}, m_topoStamps{0, 0} {
  for (TELMARO_DATA_OBJECTS::CIAnalysisElementLstArray* lists :
       {&m_analysis.GetElementLists(), &m_analysisComposite.GetElementLists(), &m_preCheck.GetElementLists()}) {
    lists->AddList(CString());
    lists->AddList(CString());
  }
  m_results.GetResultsAtGrow(kResultsAnalysisComposite);
  m_results.GetResultsAt(kResultsPreCheck)->SetResultsManager(new CIResMngPreCheckSections(&m_preCheck));
  m_results.GetResultsAt(kResultsAnalysis)->SetResultsManager(new CIResMngAnalysis(&m_analysis));
  m_results.GetResultsAt(kResultsAnalysisComposite)
      ->SetResultsManager(new CIResMngAnalysisComposite(&m_analysisComposite));
  m_groups = NewGroupLst();
  EnsureValidSectionLst();
  EnsureValidLoadCaseLst();
}

CMDDMembersArray::~CMDDMembersArray() {
  m_groups.Reset();  // detaches the groups from the members
  CloseLink();
}

// --- members ---

CMDDMembersArray::MemberPtr CMDDMembersArray::MemberAt(int i) const {
  return i >= 0 && i < GetSize() ? GetAt(i) : MemberPtr();
}

int CMDDMembersArray::MemberIndexByName(const CString& name) const {
  for (int i = 0; i < GetSize(); ++i) {
    const MemberPtr& m = GetData()[i];
    if (!m.IsNull() && m->Name().CompareNoCase(name) == 0) return i;
  }
  return -1;
}

CMDDMembersArray::MemberPtr CMDDMembersArray::FindMember(const CString& name) const {
  return MemberAt(MemberIndexByName(name));
}

int CMDDMembersArray::MemberIndex(const CMDDMember* member) const {
  if (!member) return -1;
  for (int i = 0; i < GetSize(); ++i) {
    if (GetData()[i].GetPtr() == member) return i;
  }
  return -1;
}

int CMDDMembersArray::AddMember(MemberPtr member) {
  if (member.IsNull()) return -1;
  const int index = Add(member);
  SetMemberDefaultData(member.GetPtr());
  if (m_link.Link() == 0 && member->SynchronizeLCValues(GetLoadCaseLst())) LinkIPsLCValuesToMember(member.GetPtr(), -1);
  if (CIAnalysisElementLst* list = m_analysis.GetElementLists().GetListAt(0)) list->AddAnalysisElement(member.GetPtr());
  return index;
}

CMDDMembersArray::MemberPtr CMDDMembersArray::RemoveMember(int index) {
  const MemberPtr member = MemberAt(index);
  if (member.IsNull()) return MemberPtr();
  MemberPtr copy(new CMDDMember(*member));
  if (CIAnalysisElementLst* list = m_analysis.GetElementLists().GetListAt(0)) list->RemoveAnalysisElement(member.GetPtr());
  SelectMember(member, 0, 0);
  member->RemoveFromAllGroups();
  RemoveAt(index);
  if (const PtrStrong<CIResults> results = GetAnalysisResults()) results->Refresh(nullptr, 0);
  return copy;
}

CMDDMembersArray::MemberPtr CMDDMembersArray::RemoveMember(const CString& name) {
  return RemoveMember(MemberIndexByName(name));
}

void CMDDMembersArray::RemoveAllMembers() {
  if (CIAnalysisElementLst* list = m_analysis.GetElementLists().GetListAt(0)) list->RemoveAllAnalysisElements();
  RemoveAll();
}

int CMDDMembersArray::GetValidMemberName(CString& name, int skip) const {
  int result = 1;
  if (name.GetLength() > kMaxMemberName) {
    name.Empty();
    result = 0;
  }
  std::unordered_map<std::string, int> taken;
  for (int i = 0; i < GetSize(); ++i) {
    const MemberPtr& m = GetData()[i];
    if (i != skip && !m.IsNull()) taken.emplace(m->Name().MakeLower().str(), i);
  }
  int next = 1;
  const bool filled = name.IsEmpty() && result != 0;
  if (name.IsEmpty()) name.Format("m%d", next++);
  while (taken.count(CString(name).MakeLower().str())) {
    name.Format("m%d", next++);
    if (!filled) result = 0;
  }
  return result;
}

void CMDDMembersArray::SetMemberDefaultData(CMDDMember* member) {
  if (!member) return;
  if (member->Name().IsEmpty()) {
    CString name;
    if (GetValidMemberName(name, -1)) member->SetName(name);
  }
  member->SetLinkStatus(m_link.Link());
  if (m_link.Link() == 0) {
    const double length = m_settings.DefaultLength();
    if (length > 0) member->SetLine(CGPoint(0, 0, 0), CGPoint(length, 0, 0));
    if (member->GetSection().IsNull()) member->SetSection(new CISectionData);
    member->GetSection()->CopyFrom(&m_settings.DefaultSection());
  }
  const long family = member->GetSection().IsNull() ? 0 : static_cast<long>(member->GetSection()->Family());
  const bool ltb = IsValidForLTB(static_cast<int>(family));
  if (member->GetGrade().IsNull()) member->SetGrade(new TELMARO_DATA_OBJECTS::CIGradeData);
  member->RepairTegida();
  if (IsSpecialFamily(family)) {
    member->GetGrade()->CopyFrom(&m_settings.DefaultSpecialGrade());
    member->PTegida()->SetTegidaWord(TELMARO_DATA_OBJECTS::CITegidaData::kTypeOffset, m_settings.DefaultPurlinType());
  } else {
    member->GetGrade()->CopyFrom(&m_settings.DefaultGrade());
  }
  const bool noPurlin = member->Tegida().TegidaWord(TELMARO_DATA_OBJECTS::CITegidaData::kTypeOffset) == 0;
  member->SetHasLTB(ltb && noPurlin && m_settings.LTBByDefault() != 0 ? 1 : 0);

  TELMARO_DATA_OBJECTS::CICompositeData* composite = member->PCompositeData();
  MATERIAL_OBJECTS::CMaterialData material;
  material.SetMaterialData(CString("ConcreteMaterial"), 20.0, CString());
  composite->PFirstMaterial()->CopyFrom(&material);
  material.SetMaterialData(CString("RebarMaterial"), 420.0, CString());
  composite->PSecondMaterial()->CopyFrom(&material);
  MATERIAL_OBJECTS::CStudsData studs;
  studs.SetMaterialData(CString("StudsMaterial"), 500.0, CString());
  studs.SetStudsData(100.0, 19.0, 100.0);
  composite->PStuds()->CopyFrom(&studs);
  composite->SetComposite_C4Factor(15.0);
  composite->SetComposite_Lcr(0.0);
}

int CMDDMembersArray::SetSectionForMember(int index, PtrStrong<CISectionData> section) {
  const MemberPtr member = MemberAt(index);
  if (member.IsNull()) return 0;
  if (member->GetSection().IsNull()) member->SetSection(new CISectionData);
  EnsureValidSectionLst();
  if (section.IsNull()) {
    member->GetSection()->ResetSection();
    return 1;
  }
  AddProjectSection(section);
  member->GetSection()->CopyFrom(section.GetPtr());
  return 1;
}

int CMDDMembersArray::AddProjectSection(const PtrStrong<CISectionData>& section) {
  EnsureValidSectionLst();
  if (section.IsNull() || !m_sections->FindSection(section.GetPtr()).IsNull()) return 0;
  // The list keeps section data, which is what its record holds.
  PtrStrong<CISectionData> data(new CISectionData);
  data->CopyFrom(section.GetPtr());
  return m_sections->Add(data);
}

int CMDDMembersArray::UpdateMemberSectionFromTopology(int index) {
  const MemberPtr member = MemberAt(index);
  const TOPO_REC* topo = GetTopoRec();
  if (member.IsNull() || !topo) return 0;
  TOP_SEC* section = nullptr;
  if (!MD_TOOLS::CMemberValidation::GetLinkMemberTopoSectionData(member.GetPtr(), topo, &section)) return 0;
  if (IsTaperedSection(section->Family())) section = CTOPO_REC::FindTaperedParent(topo, section->SubNumber());
  if (!section) return 0;
  const PtrStrong<CConElmData_base> obj =
      GetSMDBSectionDataObj(section->Family(), section->SubNumber(), section->Key(), section);
  const PtrStrong<CISectionData> data = GetSectionDataFromObj(obj.GetPtr());
  if (data.IsNull()) return 0;
  return SetSectionForMember(index, data);
}

std::unique_ptr<CMDDMembersArray::MemberArray> CMDDMembersArray::ArrayMembersWith(ulong32 mask, int selected) const {
  std::unique_ptr<MemberArray> out(new MemberArray);
  for (int i = 0; i < GetSize(); ++i) {
    const MemberPtr& m = GetData()[i];
    if (m.IsNull()) continue;
    const bool isSelected = m->HasAttr(kMemberSelected);
    const ulong32 others = m->Attr() & ~kMemberSelected;
    if (isSelected == (selected != 0) && (others & ~mask) == 0) out->Add(m);
  }
  return out;
}

// --- selection ---

int CMDDMembersArray::SelectMember(const MemberPtr& member, int select, int exclusive) {
  if (member.IsNull()) return 0;
  if (exclusive) SelectMembersAll(false);
  if (select) {
    member->SetAttr(kMemberSelected, 0);
  } else {
    member->SetAttr(0, kMemberSelected);
  }
  return 1;
}

int CMDDMembersArray::SelectMember(int index, int select, int exclusive) {
  return SelectMember(MemberAt(index), select, exclusive);
}

int CMDDMembersArray::SelectMember(const CString& name, int select, int exclusive) {
  return SelectMember(FindMember(name), select, exclusive);
}

void CMDDMembersArray::SelectMembersAll(bool select) {
  for (int i = 0; i < GetSize(); ++i) SelectMember(GetData()[i], select ? 1 : 0, 0);
}

int CMDDMembersArray::SelectMemberFirst() { return SelectMember(0, 1, 1); }

int CMDDMembersArray::SelectMemberLast() { return SelectMember(GetSize() - 1, 1, 1); }

bool CMDDMembersArray::IsMemberSelected(const MemberPtr& member) const {
  return !member.IsNull() && member->HasAttr(kMemberSelected);
}

CMDDMembersArray::MemberPtr CMDDMembersArray::GetSelectedMember(int i) const {
  for (int k = 0; k < GetSize(); ++k) {
    const MemberPtr& m = GetData()[k];
    if (IsMemberSelected(m) && i-- == 0) return m;
  }
  return MemberPtr();
}

int CMDDMembersArray::GetCountSelectedMembers() const {
  int n = 0;
  for (int k = 0; k < GetSize(); ++k) n += IsMemberSelected(GetData()[k]) ? 1 : 0;
  return n;
}

// --- link ---

void CMDDMembersArray::SetLinked(int v) {
  m_link.SetLink(v == 1 ? 1 : 0);
  m_link.ValidateLinkJobData(m_projectPath);
  Link(0);
}

void CMDDMembersArray::LinkWithJob(const CString& jobPath) {
  const int link = m_link.Link();
  m_link.SetValidLinkJobDirectory(jobPath);
  m_link.SetLink(link);
  m_link.ValidateLinkJobData(m_projectPath);
  Link(0);
}

int CMDDMembersArray::ValidateLinkStatus() {
  const CString related = m_link.LinkJobPathByRelated(m_projectPath);
  if (!related.IsEmpty() && CPathObj(related.GetString()).ExistsPath()) {
    const int link = m_link.Link();
    m_link.SetValidLinkJobDirectory(related);
    m_link.SetLink(link);
  }
  m_link.ValidateLinkJobData(m_projectPath);
  if (m_link.Link() != 0 && !m_link.IsValidLink()) {
    m_link.SetLink(0);
    return 0;
  }
  Link(0);
  return 1;
}

void CMDDMembersArray::CloseLink() {
  m_beamIndex.reset();
  m_topo.Close();
  telio::Free(m_dynamic.data);
  m_dynamic = DynamicBuffer();
  m_res.Close();
  m_ouc.Close();
  m_topoStamps[0] = m_topoStamps[1] = 0;
}

void CMDDMembersArray::Link(int) {
  CloseLink();
  EnsureValidLoadCaseLst();
  const bool usable = m_link.IsValidLink();
  if (usable) {
    m_loadCases->RemoveLoadCasesAll();
    RemoveIPsForAllMembers();
    ReadAnalysisJob();
  }
  if (m_link.Link() == 0) {
    for (int i = m_loadCases->GetCount() - 1; i >= kMaxUnlinkedLoadCases; --i) m_loadCases->RemoveLoadCaseAt(i);
  }
  for (int i = 0; i < GetSize(); ++i) {
    if (!GetData()[i].IsNull()) GetData()[i]->SetLinkStatus(m_link.Link());
  }
  if (m_link.Link() == 0 || usable) {
    SynchronizeLCValuesWithAllMembers();
    SynchronizeAnalysisData();
  }
}

bool CMDDMembersArray::ReadAnalysisJob() {
  if (m_res.Import(m_link.RESPath().GetString()) != 0) return false;
  if (!m_topo.Open(m_link.TOPPath().GetString()) || !GetTopoRec()) return false;
  m_topoStamps[0] = GetTopoRec()->beamCount;
  m_topoStamps[1] = GetTopoRec()->nodeCount;
  CFileJOB job;
  if (job.Import(m_link.JOBPath().GetString()) != 0) return false;
  if (job.GetRunStatus(0) == 0 && job.GetRunStatus(1) == 0 && !job.RunSpectral()) return false;
  CFileCMI cmi;
  if (cmi.Import(m_link.CMIPath().GetString()) != 0) return false;
  m_ace.Import(m_link.ACEPath().GetString());
  CFileNAM nam;
  if (nam.Import(m_link.NAMPath().GetString()) != 0) return false;

  const int n = std::min(static_cast<int>(nam.GetCountLdsNames()) + m_dynamic.count, kMaxLinkedLoadCases);
  for (int i = 0; i < n; ++i) AppendLoadCase(nam.LdsNames(i), i);
  m_ouc.SetUseBmidx(true);
  m_ouc.Import(m_link.OUCPath().GetString());
  return true;
}

bool CMDDMembersArray::IsSpecialFamily(long f) {
  return (f >= 71 && f <= 73) || f == 75 || (f >= 91 && f <= 96) || f == 111 || f == 112 || (f >= 192 && f <= 194);
}

int CMDDMembersArray::AppendTopologyBeam(CMDDMember& member, const BEAM_REC& b) {
  if (!b.start || !b.end) return 0;
  const CGPoint s(b.start->x, b.start->y, b.start->z), e(b.end->x, b.end->y, b.end->z);
  const CString name(b.name, static_cast<int>(strnlen(b.name, sizeof b.name)));
  PtrStrong<CMDDBeam> beam(new CMDDBeam);
  beam->SetBeam(s, e, name, 0, 0);
  if (member.GetCountInternalBeams() > 0 && !beam->IsSameDirectionWith(CGLine(member.SPoint(), member.EPoint()))) {
    beam->SetBeam(e, s, name, 0, 0);
  }
  return member.AddInternalBeam(PtrStrong<CGLine>(beam));
}

int CMDDMembersArray::AppendLoadCase(const CString& name, int i) {
  EnsureValidLoadCaseLst();
  PtrStrong<CILoadCase> lc(new CILoadCase(name, 0));
  // A case holding the name already marks the new one, if the name is not
  // valid for the list either; the cheap scan goes first, so the names are
  // gathered only on a clash.
  for (int k = 0; k < m_loadCases->GetCount(); ++k) {
    const PtrStrong<CILoadCase> held = m_loadCases->GetLoadCaseAt(k);
    if (!held.IsNull() && held->Name().CompareNoCase(name) == 0) {
      CString valid = name;
      if (!m_loadCases->GetValidLCName(valid, -1)) lc->SetFlags(static_cast<ulong32>(i + 1), 0);
      break;
    }
  }
  return m_loadCases->AddLoadCase(lc);
}

void CMDDMembersArray::RemoveIPsForAllMembers() {
  for (int i = 0; i < GetSize(); ++i) {
    const MemberPtr& m = GetData()[i];
    if (m.IsNull()) continue;
    for (int b = 0; b < m->GetCountInternalBeams(); ++b) {
      const PtrStrong<CGLine> beam = m->GetInternalBeamAt(b);
      if (!beam.IsNull()) beam->CutLineIntoDst(0.0);
    }
  }
}

int CMDDMembersArray::SynchronizeLCValuesWithAllMembers() {
  int result = 1;
  for (int i = 0; i < GetSize(); ++i) {
    const MemberPtr& m = GetData()[i];
    if (!m.IsNull()) result = m->SynchronizeLCValues(GetLoadCaseLst()) && result;
  }
  return result;
}

int CMDDMembersArray::SynchronizeLCValuesForMember(CMDDMember* member, bool link) {
  if (!member || !member->SynchronizeLCValues(GetLoadCaseLst())) return 0;
  if (link) LinkIPsLCValuesToMember(member, -1);
  return 1;
}

int CMDDMembersArray::SynchronizeLCValuesForMember(int index) {
  return SynchronizeLCValuesForMember(MemberAt(index).GetPtr(), false);
}

void CMDDMembersArray::SynchronizeAnalysisData() {
  CIAnalysisElementLst* members = m_analysis.GetElementLists().GetListAt(0);
  CIAnalysisElementLst* loads = m_analysis.GetElementLists().GetListAt(1);
  std::vector<ELEMENT_OBJECTS::CEElement*> elements;
  if (members) {
    for (int i = 0; i < GetSize(); ++i) elements.push_back(GetData()[i].GetPtr());
    members->SetAnalysisElements(elements.data(), static_cast<int>(elements.size()));
  }
  if (loads) {
    elements.clear();
    for (int i = 0; m_loadCases && i < m_loadCases->GetCount(); ++i) elements.push_back(m_loadCases->GetLoadCaseAt(i).GetPtr());
    loads->SetAnalysisElements(elements.data(), static_cast<int>(elements.size()));
  }
}

const BEAM_REC* CMDDMembersArray::FindAnalysisBeam(const CGPoint& s, const CGPoint& e) {
  if (!GetTopoRec()) return nullptr;
  if (!m_beamIndex) m_beamIndex.reset(new BeamIndex(GetTopoRec()));
  return m_beamIndex->Find(static_cast<float>(s.X()), static_cast<float>(s.Y()), static_cast<float>(s.Z()),
                           static_cast<float>(e.X()), static_cast<float>(e.Y()), static_cast<float>(e.Z()));
}

int CMDDMembersArray::LoadResultOf(int lc) {
  const int basic = m_res.NumberOfStaticLCS();
  if (lc < basic) return lc;
  int real = 0;
  if (!m_ace.FindRealIndexActiveCombination(lc - basic + 1, real)) return -1;
  return basic + real - 1;
}

int CMDDMembersArray::LinkIPs(const std::vector<CMDDMember*>& members, int lcIndex) {
  try {
    if (!IsValidLink()) {
      const int n = GetLoadCaseLst() ? GetLoadCaseLst()->GetCount() : 0;
      const int first = lcIndex == -1 ? 0 : lcIndex;
      const int end = lcIndex == -1 ? n : std::min(lcIndex + 1, n);
      for (CMDDMember* m : members) {
        for (int b = 0; b < m->GetCountInternalBeams(); ++b) {
          const PtrStrong<CGLine> beam = m->GetInternalBeamAt(b);
          for (int i = 0; !beam.IsNull() && i < beam->GetCountInternalPoints(); ++i) {
            CILoadCaseValuesLst* values = ValuesOf(beam->GetInternalPointAt(i));
            for (int lc = std::max(first, 0); values && lc < end; ++lc) values->CreateLCValuesFor(lc);
          }
        }
      }
      return 1;
    }
    ForceLinker linker(*this, lcIndex);
    std::vector<CMDDMember*> linked;
    for (CMDDMember* m : members) {
      if (m->IPsLCValuesLinked() || m->IsTemplate() || !GetTopoRec()) continue;
      linker.Add(m);
      linked.push_back(m);
    }
    linker.Run();
    if (lcIndex == -1) {
      for (CMDDMember* m : linked) m->SetIPsLCValuesLinked(1);
    }
    return 1;
  } catch (CMemoryException*) {
    telio::SetLastError(telio::kErrorNotEnoughMemory);
    return 0;
  }
}

int CMDDMembersArray::LinkIPsLCValuesToMember(CMDDMember* member, int lcIndex) {
  if (!member) return 0;
  const int n = GetLoadCaseLst() ? GetLoadCaseLst()->GetCount() : 0;
  if (lcIndex != -1 && lcIndex >= n) return 0;
  return LinkIPs(std::vector<CMDDMember*>{member}, lcIndex);
}

int CMDDMembersArray::LinkIPsLCValuesToMember(int memberIndex, int lcIndex) {
  return LinkIPsLCValuesToMember(MemberAt(memberIndex).GetPtr(), lcIndex);
}

int CMDDMembersArray::LinkIPsLCValuesToAllMembers() {
  std::vector<CMDDMember*> members;
  for (int i = 0; i < GetSize(); ++i) {
    if (!GetData()[i].IsNull()) members.push_back(GetData()[i].GetPtr());
  }
  return LinkIPs(members, -1) ? static_cast<int>(members.size()) : 0;
}

int CMDDMembersArray::GetIPPerLCIndex(int memberIndex, int lcIndex, double distance) {
  const int n = GetLoadCaseLst() ? GetLoadCaseLst()->GetCount() : 0;
  const MemberPtr member = MemberAt(memberIndex);
  if (member.IsNull() || (lcIndex != -1 && lcIndex >= n)) return -1;
  const int k = member->FindInternalPointAt(distance);
  const int unlinked = k >= 1 ? 2 * k - 1 : k;
  if (!IsValidLink()) return unlinked;
  if (!GetTopoRec()) return -1;
  int r = lcIndex;
  if (lcIndex >= m_res.NumberOfStaticLCS()) {
    const int mapped = LoadResultOf(lcIndex);
    if (mapped >= 0) r = mapped;
  }
  double offset = 0;
  int count = 0;
  const int beams = member->GetCountInternalBeams();
  for (int b = 0; b < beams; ++b) {
    const PtrStrong<CGLine> line = member->GetInternalBeamAt(b);
    if (line.IsNull()) return -1;
    const BEAM_REC* analysis = FindAnalysisBeam(line->SPoint(), line->EPoint());
    if (!analysis) return -1;
    const bool reversed = IsReversed(*line, *analysis, beams);
    const BEAM_DATA* d = m_ouc.GetBeamData(r, static_cast<int>(analysis->index) - 1);
    if (!d) return unlinked;
    const float* positions = d->Table(0);
    const double length = line->Length();
    for (int p = 0; positions && p < d->NumIPs(); ++p) {
      const double at = offset + (reversed ? length - positions[p] : positions[p]);
      if (std::fabs(at - distance) <= kTolerance) return count;
      ++count;
    }
    offset += length;
  }
  return -1;
}

// --- parts ---

PtrStrong<CIResults> CMDDMembersArray::ResultsAt(int slot) const {
  return m_results.GetResultsAt(slot);
}

PtrStrong<CIResults> CMDDMembersArray::GetPreCheckSectionResults() const { return ResultsAt(kResultsPreCheck); }

PtrStrong<CIResults> CMDDMembersArray::GetAnalysisResults() const { return ResultsAt(kResultsAnalysis); }

PtrStrong<CIResults> CMDDMembersArray::GetAnalysisCompositeResults() const {
  return ResultsAt(kResultsAnalysisComposite);
}

void CMDDMembersArray::EnsureValidSectionLst() {
  if (m_sections.IsNull()) m_sections = new CISectionLst;
}

void CMDDMembersArray::EnsureValidLoadCaseLst() {
  if (m_loadCases.IsNull()) m_loadCases = new CILoadCaseLstSyn;
}

void CMDDMembersArray::BuildMemberNamesIndexMap() {
  m_names.clear();
  for (int i = 0; i < GetSize(); ++i) {
    const MemberPtr& m = GetData()[i];
    if (!m.IsNull()) m_names[m->Name().MakeUpper().str()] = std::string(m->Name().GetString());
  }
}

// --- record ---

bool CMDDMembersArray::Serialize(FILE* f, bool load) {
  CPersist io(f, load);
  ulong32 version = _SerializeVersionCMDDMembersArray;
  if (!load) {
    m_link.RelateLinkJobPathWith(m_projectPath);
    EnsureValidSectionLst();
    EnsureValidLoadCaseLst();
    io.Version(version);
    if (!io.ok() || !m_jobData.Serialize(f, false) || !m_link.Serialize(f, false) || !m_sections->Serialize(f, false) ||
        !m_loadCases->Serialize(f, false)) {
      return false;
    }
    // Live members in order, then a new member for each empty slot.
    long32 count = GetSize();
    io.Int32(count);
    int empty = 0;
    for (int i = 0; i < GetSize() && io.ok(); ++i) {
      const MemberPtr& m = GetData()[i];
      if (m.IsNull()) {
        ++empty;
      } else if (!m->Serialize(f, false)) {
        return false;
      }
    }
    for (int i = 0; i < empty && io.ok(); ++i) {
      if (!CMDDMember().Serialize(f, false)) return false;
    }
    io.Int32(m_topoStamps[0]).Int32(m_topoStamps[1]);
    return io.ok() && m_groups->Serialize(f, false);
  }

  RemoveAllMembers();
  io.Version(version);
  bool ok = io.ok();
  if (ok) {
    switch (version) {
      case 1:
        ok = ReadVersion1(f);
        break;
      case 2:
        ok = ReadVersion2(f);
        break;
      case 3:
        ok = ReadVersion3(f);
        break;
      default:
        break;
    }
  }
  const ulong32 code = ok ? 0 : telio::GetLastError();
  ValidateLinkStatus();
  if (m_jobData.Regulation() == 0) m_analysis.SetSafetyFactor(kSafetyCodeRegulation0);
  if (m_jobData.Regulation() == 1) m_analysis.SetSafetyFactor(kSafetyCodeRegulation1);
  if (!ok) telio::SetLastError(code);
  return ok;
}

bool CMDDMembersArray::ReadCommon(FILE* f) {
  if (!m_jobData.Serialize(f, true) || !m_link.Serialize(f, true)) return false;
  m_sections = new CISectionLst;
  if (!m_sections->Serialize(f, true)) return false;
  m_loadCases = new CILoadCaseLstSyn;
  if (!m_loadCases->Serialize(f, true)) return false;
  CPersist io(f, true);
  long32 count = 0;
  io.Int32(count);
  for (long32 i = 0; i < count && io.ok(); ++i) {
    MemberPtr m(new CMDDMember);
    if (!m->Serialize(f, true)) return false;
    try {
      Add(m);
    } catch (CMemoryException*) {
      return io.Fail(telio::kErrorNotEnoughMemory);
    }
  }
  return io.ok();
}

bool CMDDMembersArray::ReadStamps(FILE* f) {
  CPersist io(f, true);
  io.Int32(m_topoStamps[0]).Int32(m_topoStamps[1]);
  return io.ok();
}

bool CMDDMembersArray::ReadVersion1(FILE* f) { return ReadCommon(f); }

bool CMDDMembersArray::ReadVersion2(FILE* f) { return ReadCommon(f) && ReadStamps(f); }

bool CMDDMembersArray::ReadVersion3(FILE* f) {
  if (!ReadVersion2(f)) return false;
  m_groups = NewGroupLst();
  const bool ok = m_groups->Serialize(f, true);
  for (int i = GetSize() - 1; i >= 0; --i) {
    const MemberPtr& m = GetData()[i];
    if (!m.IsNull() && m->IsTemplate() && m_groups->GroupIndexByName(m->Name()) < 0) RemoveAt(i);
  }
  return ok;
}

ulong32 CMDDMembersArray::CheckSum() const {
  CCheckSum sum;
  sum.AddU32(m_jobData.CheckSum());
  sum.AddU32(m_link.CheckSum());
  sum.AddU32(CheckSumOf(m_sections));
  sum.AddU32(CheckSumOf(m_loadCases));
  sum.AddU32(MemberArray::CheckSum());
  sum.AddI32(m_topoStamps[0]);
  sum.AddI32(m_topoStamps[1]);
  return sum.get();
}

}  // namespace MDD_OBJECTS
