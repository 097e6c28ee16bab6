#include "objects/data/CILoadCaseValues.h"

#include <cstring>

#include "framework/Persist.h"
#include "objects/data/CILoadCaseLstSyn.h"
#include "platform/CCheckSum.h"
#include "platform/Coding.h"
#include "platform/LastError.h"

namespace TELMARO_DATA_OBJECTS {

using GE_::Safe::PtrStrong;

CILoadCaseValues::CILoadCaseValues() = default;

CILoadCaseValues::~CILoadCaseValues() = default;

PtrStrong<CILoadCase> CILoadCaseValues::GetNewObject() { return PtrStrong<CILoadCase>(new CILoadCaseValues); }

double CILoadCaseValues::LCValue(int key) const {
  double value = 0.0;
  m_values.Lookup(key, value);
  return value;
}

double* CILoadCaseValues::LCValuePtr(int key) { return &m_values[key]; }

void CILoadCaseValues::ClearValues() {
  POSITION pos = m_values.GetStartPosition();
  while (pos) {
    int key;
    double value;
    m_values.GetNextAssoc(pos, key, value);
    *m_values.PLookup(key) = 0.0;
  }
}

bool CILoadCaseValues::IsEqualWith(const CILoadCaseValues* other) const {
  return other && CEElement::IsEqualWith(other) && m_values.IsEqualWith(&other->m_values);
}

bool CILoadCaseValues::IsEqualWith(const ValueMap* values) const { return m_values.IsEqualWith(values); }

bool CILoadCaseValues::CopyFrom(const CILoadCaseValues* other) {
  if (!other) return false;
  if (other == this) return true;
  CILoadCase::CopyFrom(static_cast<const CILoadCase*>(other));
  return m_values.CopyFrom(&other->m_values);
}

bool CILoadCaseValues::CopyFrom(const ValueMap* values) { return m_values.CopyFrom(values); }

PtrStrong<CILoadCase> CILoadCaseValues::Clone() const { return PtrStrong<CILoadCase>(new CILoadCaseValues(*this)); }

// A value set's record is short and made of fixed-size fields around the
// name: it is encoded and decoded in the stream's buffer in one piece when
// the buffer holds it, which is nearly always, and field by field (the
// same bytes, and the same state after a failure) when it does not.
namespace {

// Version words of the CILoadCaseValues, CILoadCase and CEElement records,
// the ID and the name's length.
constexpr std::size_t kHeadBytes = 20;
// Attribute and flag words.
constexpr std::size_t kTailBytes = 8;
constexpr std::size_t kPairBytes = 12;
// Longest record encoded on the stack when the buffer has no room.
constexpr std::size_t kLocalRecord = 512;
// Longest name and most values decoded in place.
constexpr long32 kPlaceName = 4096;
constexpr long32 kPlaceValues = 1024;

using telio::DecodeDouble;
using telio::DecodeFixed32;
using telio::EncodeDouble;
using telio::EncodeFixed32;

}  // namespace

int CILoadCaseValues::StoreInPlace(FILE* f, const ulong32* wrapper) {
  const CString& name = *PName();
  const std::size_t length = static_cast<std::size_t>(name.GetLength());
  const std::size_t count = static_cast<std::size_t>(m_values.GetCount());
  const std::size_t size = (wrapper ? 4 : 0) + kHeadBytes + length + kTailBytes + 4 + kPairBytes * count;
  CPersist io(f, false);
  unsigned char local[kLocalRecord];
  unsigned char* const room = io.Room(size);
  if (!room && size > sizeof local) return -1;
  unsigned char* p = room ? room : local;
  if (wrapper) {
    EncodeFixed32(p, *wrapper);
    p += 4;
  }
  EncodeFixed32(p, _SerializeVersionCILoadCaseValues);
  EncodeFixed32(p + 4, _SerializeVersionCILoadCase);
  EncodeFixed32(p + 8, ELEMENT_OBJECTS::_SerializeVersionCEElement);
  EncodeFixed32(p + 12, ID());
  EncodeFixed32(p + 16, static_cast<ulong32>(length));
  std::memcpy(p + kHeadBytes, name.GetString(), length);
  p += kHeadBytes + length;
  EncodeFixed32(p, Attr());
  EncodeFixed32(p + 4, Flags());
  EncodeFixed32(p + 8, static_cast<ulong32>(count));
  p += 12;
  int key;
  double value;
  for (POSITION pos = m_values.GetStartPosition(); pos; p += kPairBytes) {
    m_values.GetNextAssoc(pos, key, value);
    EncodeFixed32(p, static_cast<ulong32>(key));
    EncodeDouble(p + 4, value);
  }
  if (room) {
    io.Commit(size);
  } else {
    io.WriteBytes(local, size);
  }
  return io.ok() ? 1 : 0;
}

int CILoadCaseValues::LoadInPlace(FILE* f, const ulong32* wrapper) {
  CPersist io(f, true);
  const std::size_t skip = wrapper ? 4 : 0;
  const unsigned char* p = io.Peek(skip + kHeadBytes);
  if (!p) return -1;
  if ((wrapper && DecodeFixed32(p) != *wrapper) || DecodeFixed32(p + skip) != _SerializeVersionCILoadCaseValues ||
      DecodeFixed32(p + skip + 4) != _SerializeVersionCILoadCase ||
      DecodeFixed32(p + skip + 8) != ELEMENT_OBJECTS::_SerializeVersionCEElement) {
    return -1;
  }
  const long32 length = static_cast<long32>(DecodeFixed32(p + skip + 16));
  if (length < 0 || length > kPlaceName) return -1;
  const std::size_t size = skip + kHeadBytes + static_cast<std::size_t>(length) + kTailBytes;
  p = io.Peek(size);
  if (!p) return -1;
  ResetElement();
  m_values.RemoveAll();
  p += skip;
  SetID(DecodeFixed32(p + 12));
  // Text after an embedded NUL is dropped.
  const char* text = reinterpret_cast<const char*>(p + kHeadBytes);
  const void* nul = std::memchr(text, 0, static_cast<std::size_t>(length));
  PName()->SetString(text, nul ? static_cast<int>(static_cast<const char*>(nul) - text) : static_cast<int>(length));
  p += kHeadBytes + static_cast<std::size_t>(length);
  *PAttr() = DecodeFixed32(p);
  *PFlags() = DecodeFixed32(p + 4);
  io.Skip(size);
  return ReadVersion1(f) ? 1 : 0;
}

int CILoadCaseValues::ReadValuesInPlace(FILE* f) {
  CPersist io(f, true);
  const unsigned char* p = io.Peek(4);
  if (!p) return -1;
  const long32 count = static_cast<long32>(DecodeFixed32(p));
  if (count < 0 || count > kPlaceValues) return -1;
  const std::size_t size = 4 + kPairBytes * static_cast<std::size_t>(count);
  p = io.Peek(size);
  if (!p) return -1;
  p += 4;
  for (long32 i = 0; i < count; ++i, p += kPairBytes) {
    const int key = static_cast<int>(DecodeFixed32(p));
    if (key == 0) continue;
    if (!m_values.SetAtTail(key, DecodeDouble(p + 4))) {
      io.Skip(4 + kPairBytes * static_cast<std::size_t>(i + 1));
      io.Fail(telio::kErrorNotEnoughMemory);
      return 0;
    }
  }
  io.Skip(size);
  return 1;
}

bool CILoadCaseValues::Serialize(FILE* f, bool load) {
  const int done = load ? LoadInPlace(f, nullptr) : StoreInPlace(f, nullptr);
  if (done >= 0) return done == 1;
  CPersist io(f, load);
  ulong32 version = _SerializeVersionCILoadCaseValues;
  io.Version(version);
  if (!load) {
    if (!io.ok() || !CILoadCase::Serialize(f, false)) return false;
    long32 count = m_values.GetCount();
    io.Int32(count);
    for (POSITION pos = m_values.GetStartPosition(); pos && io.ok();) {
      int key;
      double value;
      m_values.GetNextAssoc(pos, key, value);
      io.Int(key).Double(value);
    }
    return io.ok();
  }
  ResetElement();
  m_values.RemoveAll();
  if (!io.ok()) return false;
  if (version != _SerializeVersionCILoadCaseValues) return true;
  return CILoadCase::Serialize(f, true) && ReadVersion1(f);
}

bool CILoadCaseValues::ReadVersion1(FILE* f) {
  const int done = ReadValuesInPlace(f);
  if (done >= 0) return done == 1;
  CPersist io(f, true);
  long32 count = 0;
  io.Int32(count);
  // Pairs are read one at a time, so a damaged count costs no memory.
  for (long32 i = 0; i < count && io.ok(); ++i) {
    int key = 0;
    double value = 0.0;
    io.Int(key).Double(value);
    if (!io.ok() || key == 0) continue;
    if (!m_values.SetAtTail(key, value)) io.Fail(telio::kErrorNotEnoughMemory);
  }
  return io.ok();
}

void CILoadCaseValues::InitializeValues() {}

bool CILoadCaseValues::SerializeWrapped(FILE* f, bool load, ulong32 version) {
  const int done = load ? LoadInPlace(f, &version) : StoreInPlace(f, &version);
  if (done >= 0) return done == 1;
  CPersist io(f, load);
  ulong32 stored = version;
  io.Version(stored);
  if (load) {
    ResetElement();
    m_values.RemoveAll();
    if (!io.ok()) return false;
    if (stored != version) return true;
  }
  return io.ok() && CILoadCaseValues::Serialize(f, load);
}

ulong32 CILoadCaseValues::CheckSum() const {
  CCheckSum sum;
  sum.AddU32(CILoadCase::CheckSum());
  sum.AddU32(m_values.CheckSum());
  return sum.get();
}

CILoadCaseValuesLst::CILoadCaseValuesLst(ElementFactory factory) : CILoadCaseLst(factory) {}

CILoadCaseValuesLst::~CILoadCaseValuesLst() {
  if (CILoadCaseLstSyn* followed = m_followed.GetPtr()) followed->RemoveValueList(this);
}

CILoadCaseValuesLst& CILoadCaseValuesLst::operator=(const CILoadCaseValuesLst& other) {
  CopyFrom(&other);
  return *this;
}

int CILoadCaseValuesLst::SynchronizeLCValues(CILoadCaseLstSyn* lst) {
  const bool oldGone = m_followed.GetRefCount() && m_followed.IsNull();
  if (lst != m_followed.GetPtr() || oldGone) {
    if (!lst || oldGone) RemoveLCValuesAll();
    if (CILoadCaseLstSyn* old = m_followed.GetPtr()) old->RemoveValueList(this);
    m_followed = lst;
    m_registryIndex = -1;
  }
  CILoadCaseLstSyn* followed = m_followed.GetPtr();
  if (!followed) return 1;
  // Value sets in the followed list's order are each found after the one
  // before; only those out of order cost a search from the start.
  int from = 0;
  for (int i = 0; i < GetCount();) {
    const LoadCasePtr& e = *ElementAt(i);
    int k = followed->FindLoadCaseIndex(e, from);
    if (k >= 0) {
      from = k + 1;
    } else {
      k = followed->FindLoadCaseIndex(e, 0);
    }
    if (k < 0) {
      RemoveAt(i);
    } else {
      ++i;
    }
  }
  if (m_registryIndex < 0) followed->AddValueList(this);
  return 1;
}

int CILoadCaseValuesLst::FindLCValuesIndex(const LoadCasePtr& lc, int hint) const {
  const CILoadCase* wanted = lc.GetPtr();
  if (!wanted) return -1;
  // The elements are held by strong pointers, so a non-null one is alive.
  const LoadCasePtr* at = ElementAt(hint);
  if (at && at->GetRawPtr() && at->GetRawPtr()->IsEqualWith(wanted)) return hint;
  for (int i = 0; i < GetCount(); ++i) {
    const CILoadCase* e = ElementAt(i)->GetRawPtr();
    if (e && e->IsEqualWith(wanted)) return i;
  }
  return -1;
}

CILoadCaseValues* CILoadCaseValuesLst::FindLCValuesFor(const LoadCasePtr& lc) const {
  return GetLCValuesAt(FindLCValuesIndex(lc, -1));
}

CILoadCaseValues* CILoadCaseValuesLst::FindLCValuesFor(int i) const {
  CILoadCaseLstSyn* followed = m_followed.GetPtr();
  if (!followed) return nullptr;
  return GetLCValuesAt(FindLCValuesIndex(followed->GetLoadCaseAt(i), i));
}

CILoadCaseValues* CILoadCaseValuesLst::CreateLCValuesFor(int i) {
  CILoadCaseLstSyn* followed = m_followed.GetPtr();
  if (!followed) return nullptr;
  LoadCasePtr lc = followed->GetLoadCaseAt(i);
  if (lc.IsNull()) return nullptr;
  if (CILoadCaseValues* existing = GetLCValuesAt(FindLCValuesIndex(lc, i))) return existing;
  return InsertLCValues(*followed, lc, i);
}

CILoadCaseValues* CILoadCaseValuesLst::GetLCValuesAt(int i) const {
  const LoadCasePtr* e = ElementAt(i);
  return e ? dynamic_cast<CILoadCaseValues*>(e->GetPtr()) : nullptr;
}

void CILoadCaseValuesLst::InitializeLCValuesAll() {
  for (int i = 0; i < GetCount(); ++i) {
    if (CILoadCaseValues* v = GetLCValuesAt(i)) v->InitializeValues();
  }
}

void CILoadCaseValuesLst::ClearLCValuesAll() {
  for (int i = 0; i < GetCount(); ++i) {
    if (CILoadCaseValues* v = GetLCValuesAt(i)) v->ClearValues();
  }
}

void CILoadCaseValuesLst::RemoveLCValuesAll() { RemoveAll(); }

bool CILoadCaseValuesLst::CopyFrom(const CILoadCaseValuesLst* other) {
  if (!other) return false;
  if (other != this) CopyClonesFrom(*other);
  return true;
}

bool CILoadCaseValuesLst::IsEqualWith(const CILoadCaseValuesLst* other) const {
  if (!other || other->GetCount() != GetCount()) return false;
  for (int i = 0; i < GetCount(); ++i) {
    const LoadCasePtr& mine = *ElementAt(i);
    const LoadCasePtr& theirs = *other->ElementAt(i);
    if (mine.IsNull() != theirs.IsNull()) return false;
    if (mine.IsNull()) continue;
    CILoadCaseValues* a = GetLCValuesAt(i);
    CILoadCaseValues* b = other->GetLCValuesAt(i);
    if (a && b ? !a->IsEqualWith(b) : !mine->IsEqualWith(theirs.GetPtr())) return false;
  }
  return true;
}

bool CILoadCaseValuesLst::Serialize(FILE* f, bool load) {
  CPersist io(f, load);
  ulong32 version = _SerializeVersionCILoadCaseValuesLst;
  io.Version(version);
  if (!io.ok()) {
    if (load) RemoveAll();
    return false;
  }
  return CILoadCaseLst::Serialize(f, load);
}

int CILoadCaseValuesLst::AddLCValuesFor(const LoadCasePtr& lc, int k) {
  CILoadCaseLstSyn* followed = m_followed.GetPtr();
  if (lc.IsNull() || !followed) return 0;
  if (followed->GetLoadCaseAt(k).GetPtr() != lc.GetPtr()) k = followed->FindLoadCaseIndex(lc);
  if (FindLCValuesIndex(lc, k) >= 0) return 0;
  return InsertLCValues(*followed, lc, k) ? 1 : 0;
}

CILoadCaseValues* CILoadCaseValuesLst::InsertLCValues(const CILoadCaseLstSyn& followed, const LoadCasePtr& lc, int k) {
  LoadCasePtr e = CreateNewObject();
  if (e.IsNull()) return nullptr;
  e->CopyFrom(lc.GetPtr());
  const int at = (k < 0 || k == followed.GetCount() - 1) ? GetCount() : OrderedPosition(followed, k);
  m_array.InsertAt(at, e);
  return GetLCValuesAt(at);
}

int CILoadCaseValuesLst::RemoveLCValuesFor(const LoadCasePtr& lc) {
  int at = FindLCValuesIndex(lc, -1);
  if (at < 0) return 0;
  RemoveAt(at);
  return 1;
}

int CILoadCaseValuesLst::ChangeLCValue(const LoadCasePtr& old, const LoadCasePtr& nw) {
  CILoadCaseValues* v = FindLCValuesFor(old);
  if (!v || nw.IsNull()) return 0;
  v->CILoadCase::CopyFrom(nw.GetPtr());
  return 1;
}

void CILoadCaseValuesLst::ReorderLCValuesFor(const LoadCasePtr& lc) {
  int at = FindLCValuesIndex(lc, -1);
  if (at < 0) return;
  LoadCasePtr e = *ElementAt(at);
  RemoveAt(at);
  if (!Add(e)) m_array.InsertAt(at, e);
}

int CILoadCaseValuesLst::GetPosition(const LoadCasePtr& e, int requested) const {
  if (IsRefusedByCommonRule(e) || FindValue(e, 0) >= 0) return -1;
  const CILoadCaseLstSyn* followed = m_followed.GetPtr();
  if (!followed || requested != -1) return GetPositionBase(requested);
  int k = followed->FindLoadCaseIndex(e);
  if (k < 0 || k == followed->GetCount() - 1) return GetCount();
  return OrderedPosition(*followed, k);
}

int CILoadCaseValuesLst::OrderedPosition(const CILoadCaseLstSyn& followed, int k) const {
  // The value sets are a subsequence of the followed list: walking both
  // together counts those that belong before load case k.
  int j = 0;
  for (int i = 0; i < k && j < GetCount(); ++i) {
    const CILoadCase* mine = ElementAt(j)->GetRawPtr();
    const CILoadCase* theirs = followed.ElementAt(i)->GetRawPtr();
    if (mine && theirs && mine->IsEqualWith(theirs)) ++j;
  }
  return j;
}

}  // namespace TELMARO_DATA_OBJECTS
