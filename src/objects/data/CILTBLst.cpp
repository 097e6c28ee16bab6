#include "objects/data/CILTBLst.h"

#include "framework/Persist.h"
#include "platform/CCheckSum.h"

namespace TELMARO_DATA_OBJECTS {

using GEOMETRY_OBJECTS::CGPoint;

CILTBLst::CILTBLst(GEOMETRY_OBJECTS::CGLine* line)
    : CISpanLst(line), m_defaultKType(kLTBType2), m_defaultKwType(kLTBType2) {}

CILTBLst::~CILTBLst() = default;

CILTBLst& CILTBLst::operator=(const CILTBLst& other) {
  CopyFrom(&other);
  return *this;
}

int CILTBLst::AddLTB(CILTB* ltb) { return AddItem(ItemPtr(ltb)); }

int CILTBLst::AddLTB(double position, int kType, int kwType) {
  return AddItem(ItemPtr(new CILTB(position, kType, kwType)));
}

int CILTBLst::AddLTB(const CGPoint& at, int kType, int kwType) {
  GEOMETRY_OBJECTS::CGLine* line = GetLine();
  double position = 0;
  if (!line || !line->Point2Distance(at, &position, true)) return 0;
  return AddLTB(position, kType, kwType);
}

int CILTBLst::AddLTBFromOld(double position, int kType, int kwType) {
  CILTB* ltb = new CILTB(position, kLTBType2, kLTBType2);
  *ltb->PKType() = kType;
  *ltb->PKwType() = kwType;
  return AddItem(ItemPtr(ltb));
}

int CILTBLst::RemoveLTBAt(int i) { return RemoveAtEx(i); }

int CILTBLst::RemoveLTBAll() {
  int count = GetCount();
  return RemoveAllEx() ? count : 0;
}

int CILTBLst::RemoveLTBAtDistance(double position) {
  return RemoveItemsWhere([position](const CILTB& ltb) { return ltb.CGDistance::IsEqualWith(position); });
}

int CILTBLst::RemoveLTBWithKType(int t) {
  return RemoveItemsWhere([t](const CILTB& ltb) { return ltb.KType() == t; });
}

int CILTBLst::RemoveLTBWithKwType(int t) {
  return RemoveItemsWhere([t](const CILTB& ltb) { return ltb.KwType() == t; });
}

int CILTBLst::RemoveLTBEqualWith(const CILTB& ltb) {
  return RemoveItemsWhere([&ltb](const CILTB& other) { return other.IsEqualWith(&ltb); });
}

int CILTBLst::InvalidateLTB() { return CompleteAndCheckSpans(); }

int CILTBLst::ResetLTBData() {
  ResetSpans();
  return 1;
}

CILTBLst::ItemPtr CILTBLst::NewEndItem(double position) const {
  CILTB* ltb = new CILTB(position, kLTBType2, kLTBType2);
  *ltb->PKType() = m_defaultKType;
  *ltb->PKwType() = m_defaultKwType;
  return ItemPtr(ltb);
}

bool CILTBLst::IsLTBEqualWith(const CILTBLst* other) const { return other && IsItemsEqualWith(*other); }

bool CILTBLst::IsLTBDataEqualWith(const CILTBLst* other) const { return other && IsItemsDataEqualWith(*other); }

bool CILTBLst::CopyFrom(const CILTBLst* other) {
  if (!other) return false;
  CopySpanLstFrom(*other);
  m_defaultKType = other->m_defaultKType;
  m_defaultKwType = other->m_defaultKwType;
  return true;
}

ulong32 CILTBLst::CheckSum() const {
  CCheckSum sum;
  sum.AddU32(CGDistanceLst::CheckSum());
  sum.AddU32(m_spans.CheckSum());
  return sum.get();
}

bool CILTBLst::Serialize(FILE* f, bool load) {
  return WithMemoryCheck([&]() {
    CPersist io(f, load);
    ulong32 version = _SerializeVersionCILTBLst;
    io.Version(version);
    if (!load) return io.ok() && CGDistanceLst::Serialize(f, false) && WriteSpans(f);
    bool ok = io.ok() && ReadItems(f);
    ResetLTBData();
    return ok && ReadSpans(f);
  });
}

}  // namespace TELMARO_DATA_OBJECTS
