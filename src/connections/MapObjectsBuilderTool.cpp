#include "connections/MapObjectsBuilderTool.h"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <new>
#include <vector>

#include "platform/CException.h"
#include "platform/CPathObj.h"
#include "sections/SectionFamilies.h"

namespace {

typedef MapObjectsBuilderTool Tool;

// Key ranges with a fixed role.
constexpr int kConnectionKeyBase = 1029;  // I, B and string 1029 + j: connection j
constexpr int kLengthMarkBase = 40000;    // B 40000 + k: length mark of string key k
constexpr int kStringMarkBase = 30000;    // B 30000 + k: string key k is carried
constexpr int kPolygonFirst = 700;        // F 700 to 899: polygon coordinates
constexpr int kPolygonLast = 899;

// --- record fields bound to element keys ---------------------------------

enum class Width : std::uint8_t { I8, I16, U16, I32, U32, F32 };

// A numeric record field read into I data (isReal false) or F data.
struct Field {
  bool isReal;
  int key;
  int offset;
  Width width;
};

constexpr Field I(int key, int offset, Width w = Width::I16) { return {false, key, offset, w}; }
constexpr Field F(int key, int offset) { return {true, key, offset, Width::F32}; }

// A text field read into string data, with its length mark (B 40000 + key).
struct TextField {
  int key;
  int offset;
  int width;
};

double ReadField(const unsigned char* r, const Field& f) {
  switch (f.width) {
    case Width::I8:
      return telio::RecI8(r, f.offset);
    case Width::I16:
      return telio::RecI16(r, f.offset);
    case Width::U16:
      return telio::RecU16(r, f.offset);
    case Width::I32:
      return telio::RecI32(r, f.offset);
    case Width::U32:
      return telio::RecU32(r, f.offset);
    case Width::F32:
      return telio::RecF32(r, f.offset);
  }
  return 0.0;
}

void WriteField(unsigned char* r, const Field& f, const CConElmData_base& e) {
  if (f.isReal) {
    telio::SetRecF32(r, f.offset, static_cast<float>(*e.GetFData(f.key)));
    return;
  }
  const long32 v = *e.GetIData(f.key);
  switch (f.width) {
    case Width::I8:
      telio::SetRecI8(r, f.offset, static_cast<int8_t>(v));
      break;
    case Width::I16:
      telio::SetRecI16(r, f.offset, static_cast<int16_t>(v));
      break;
    case Width::U16:
      telio::SetRecU16(r, f.offset, static_cast<uint16_t>(v));
      break;
    case Width::I32:
      telio::SetRecI32(r, f.offset, v);
      break;
    case Width::U32:
      telio::SetRecU32(r, f.offset, static_cast<uint32_t>(v));
      break;
    case Width::F32:
      telio::SetRecF32(r, f.offset, static_cast<float>(v));
      break;
  }
}

bool HasKey(const CConElmData_base& e, const Field& f) {
  return f.isReal ? e.GetFData(f.key) != nullptr : e.GetIData(f.key) != nullptr;
}

void LoadFields(CConElmData_base& e, const unsigned char* r, const std::vector<Field>& fields) {
  for (const Field& f : fields) {
    const double v = ReadField(r, f);
    if (f.isReal) {
      e.SetFData(f.key, v);
    } else {
      e.SetIData(f.key, static_cast<long32>(static_cast<int64_t>(v)));
    }
  }
}

// Writes each key to the last field it was read from, each field once;
// keys the element lacks leave their fields alone.
void StoreFields(const CConElmData_base& e, unsigned char* r, const std::vector<Field>& fields) {
  std::vector<const Field*> done;
  for (auto it = fields.rbegin(); it != fields.rend(); ++it) {
    auto sameKey = [&](const Field* d) { return d->key == it->key && d->isReal == it->isReal; };
    auto sameField = [&](const Field* d) { return d->offset == it->offset; };
    if (std::any_of(done.begin(), done.end(), sameKey)) continue;
    const bool fieldTaken = std::any_of(done.begin(), done.end(), sameField);
    done.push_back(&*it);
    if (!fieldTaken && HasKey(e, *it)) WriteField(r, *it, e);
  }
}

void LoadTexts(CConElmData_base& e, const unsigned char* r, const std::vector<TextField>& texts) {
  for (const TextField& t : texts) {
    e.SetStrData(t.key, telio::RecText(r, t.offset, t.width));
    e.SetBData(kLengthMarkBase + t.key, t.width - 1);
  }
}

void StoreTexts(const CConElmData_base& e, unsigned char* r, const std::vector<TextField>& texts) {
  for (const TextField& t : texts) {
    if (const CString* s = e.GetStrData(t.key)) telio::SetRecText(r, t.offset, t.width, *s);
  }
}

// A field that holds `value` exactly when the element's flag is true: a
// true flag sets it, a false flag moves it off the value (to `other`).
template <class Get, class Set>
void StoreFlag(bool flag, Get get, Set set, long32 value, long32 other) {
  if (flag) {
    set(value);
  } else if (get() == value) {
    set(other);
  }
}

// --- making elements ------------------------------------------------------

// Runs fill on a new element of the type; the element, or null when fill
// refuses or memory runs short (nothing leaks).
template <class Fill>
CConElmData_base* Make(int type, Fill fill) {
  try {
    std::unique_ptr<CConElmData_base> e(new CConElmData_base);
    e->SetIData(CConElmData_base::kIdentifierKey, type);
    e->SetIData(CConElmData_base::kTypeKey, type);
    if (!fill(*e)) return nullptr;
    return e.release();
  } catch (const std::bad_alloc&) {
    return nullptr;
  } catch (CMemoryException*) {
    return nullptr;
  }
}

// Runs change on an existing element; e, or null when e is null, change
// refuses or memory runs short.
template <class Fn>
CConElmData_base* Modify(CConElmData_base* e, Fn change) {
  if (!e) return nullptr;
  try {
    return change(*e) ? e : nullptr;
  } catch (const std::bad_alloc&) {
    return nullptr;
  } catch (CMemoryException*) {
    return nullptr;
  }
}

// A new element of the type holding the record's fields, then whatever
// more() adds; null for a null record.
template <class R, class More>
CConElmData_base* FromFields(int type, const R* rec, const std::vector<Field>& fields, More more) {
  if (!rec) return nullptr;
  return Make(type, [&](CConElmData_base& e) {
    LoadFields(e, rec->bytes, fields);
    more(e);
    return true;
  });
}

template <class R>
CConElmData_base* FromFields(int type, const R* rec, const std::vector<Field>& fields) {
  return FromFields(type, rec, fields, [](CConElmData_base&) {});
}

// Writes the element's keys back to the record's fields; 0 when either is
// null.
template <class R>
int ToFields(const CConElmData_base* e, R* rec, const std::vector<Field>& fields) {
  if (!e || !rec) return 0;
  StoreFields(*e, rec->bytes, fields);
  return 1;
}

int Counted(long32 n) { return n < 1 ? 1 : static_cast<int>(n); }

// --- the assembly and its connections -----------------------------------

const std::vector<Field>& ProjectFields() {
  static const std::vector<Field> fields = {I(118, 17518), I(105, 4), I(106, 17514), I(119, 2),
                                            I(109, 17516)};
  return fields;
}

const std::vector<TextField>& ProjectTexts() {
  static const std::vector<TextField> texts = {
      {1001, 16706, 40}, {1002, 16606, 40},  {1003, 16646, 20}, {1004, 16666, 40},
      {1005, 16054, 40}, {1006, 16094, 256}, {1007, 16350, 256}};
  return texts;
}
constexpr TextField kProjectPath = {1008, 16746, 256};

const std::vector<Field>& ConnectionFields() {
  static const std::vector<Field> fields = {
      I(123, 2), I(124, 4), I(125, 6), I(122, 99), I(128, 98, Width::I8), I(146, 1027, Width::I32)};
  return fields;
}

const std::vector<TextField>& ConnectionTexts() {
  static const std::vector<TextField> texts = {{1001, 8, 40}, {1020, 48, 50}};
  return texts;
}

bool IsKindTwo(const ASS_REC& a) { return a.Kind() == 2; }

void StoreKindFlag(const CConElmData_base& e, ASS_REC& a) {
  if (const long32* v = e.GetIData(104)) {
    StoreFlag(
        *v != 0, [&] { return static_cast<long32>(a.Kind()); },
        [&](long32 w) { telio::SetRecU16(a.bytes, 0, static_cast<uint16_t>(w)); }, 2, 0);
  }
}

// --- sections --------------------------------------------------------------

enum class SectionCase { kI, kHollow, kAnglePair, kAngle, kOther };

// The first case of the section element that applies to family and filter.
SectionCase CaseOf(int family, int filter) {
  if (IsISection(family) || filter == 118) return SectionCase::kI;
  if (IsHSection(family) || filter == 119) return SectionCase::kHollow;
  if (IsL2Section(family) || filter == 107 || (family == 0 && filter == 117)) {
    return SectionCase::kAnglePair;
  }
  if (IsLSection(family) || filter == 102) return SectionCase::kAngle;
  return SectionCase::kOther;
}

// The member-record fields of a section element, in the order the builder
// reads them (a later field of the same key wins).
std::vector<Field> SectionFields(int family, int filter) {
  const bool f506At105 = family == 31 || family == 33 || family == 36 || family == 38;
  std::vector<Field> f = {I(130, 32),
                          I(121, 41),
                          I(131, 8, Width::U32),
                          I(351, 34),
                          I(132, 0),
                          I(122, 95),
                          I(136, 6),
                          F(501, 79),
                          F(502, 83),
                          F(503, 87),
                          F(504, 91),
                          F(505, 105),
                          F(506, f506At105 ? 105 : 109),
                          F(511, 99),
                          F(512, 55),
                          F(515, 67)};
  auto add = [&](std::initializer_list<Field> more) { f.insert(f.end(), more); };
  switch (CaseOf(family, filter)) {
    case SectionCase::kI:
      add({F(516, 63), F(513, 2), F(514, 2), F(517, 71)});
      break;
    case SectionCase::kHollow:
      add({F(513, 2)});
      break;
    case SectionCase::kAnglePair:
      if (IsLEQ2Section(family)) add({F(512, 75)});
      add({F(511, 75), F(519, 63), F(517, 71)});
      if (filter == 117) add({I(134, 103)});
      break;
    case SectionCase::kAngle:
      if (IsLEQSection(family)) add({F(512, 75)});
      add({F(511, 75), I(134, 103), F(517, 71)});
      if (filter == 117) add({F(519, 63)});
      break;
    case SectionCase::kOther:
      break;
  }
  return f;
}

// The computed keys of the angle cases: I 135 and F 518.
void SetAngleKeys(CConElmData_base& e, const MEM_REC& m, int family, int filter) {
  const SectionCase c = CaseOf(family, filter);
  if (c != SectionCase::kAnglePair && c != SectionCase::kAngle) return;
  if (c == SectionCase::kAnglePair || filter == 117) {
    e.SetIData(135, IsLNE2ASection(family) ? 1 : 0);
  }
  e.SetFData(518, std::min(telio::RecF32(m.bytes, 67), telio::RecF32(m.bytes, 71)));
}

// Every key a section element's builder sets, but its identity and filter.
constexpr int kSectionIKeys[] = {121, 122, 130, 131, 132, 134, 135, 136, 351};
constexpr int kSectionFKeys[] = {501, 502, 503, 504, 505, 506, 510, 511,
                                 512, 513, 514, 515, 516, 517, 518, 519};

// --- welds and plates -------------------------------------------------------

struct WeldKeys {
  int first, second;
};
// Kind 1, 2 and 3 of the weld element: the keys of the first record's two
// leading values (kind 3 also has the second record's: 561, 562).
constexpr WeldKeys kWeldKinds[3] = {{555, 556}, {557, 558}, {559, 560}};

void LoadLeads(CConElmData_base& e, const WEL_REC* w, int k0, int k1) {
  if (!w) return;
  e.SetFData(k0, w->Lead(0));
  e.SetFData(k1, w->Lead(1));
}

void StoreLeads(const CConElmData_base& e, WEL_REC* w, int k0, int k1) {
  if (!w) return;
  if (const double* v = e.GetFData(k0)) w->SetLead(0, static_cast<float>(*v));
  if (const double* v = e.GetFData(k1)) w->SetLead(1, static_cast<float>(*v));
}

std::vector<Field> NotchFields(int base) {
  return {F(base, 23), F(base + 1, 27), F(base + 2, 31), F(base + 3, 35)};
}

std::vector<Field> DistanceFields(int base) {
  return {F(base, 39), F(base + 1, 43), F(base + 2, 47)};
}

const std::vector<Field>& PlateDistanceFields() {
  static const std::vector<Field> fields = {F(521, 14), F(509, 22)};
  return fields;
}

// Every field, 0.0 for a key the element lacks.
void StoreAllFields(const CConElmData_base& e, unsigned char* r, const std::vector<Field>& fields) {
  for (const Field& f : fields)
    telio::SetRecF32(r, f.offset, static_cast<float>(e.GetFDataValue(f.key)));
}

const std::vector<Field>& PlateFields() {
  static const std::vector<Field> fields = {I(121, 0), F(511, 2), F(512, 6), F(510, 10)};
  return fields;
}

// --- special parts ----------------------------------------------------------

const std::vector<Field>& StiffenerFields() {
  static const std::vector<Field> fields = {I(190, 6),  I(191, 10), I(192, 18),
                                            I(193, 12), I(194, 14), I(195, 8),
                                            I(196, 30), F(570, 22), F(550, 26)};
  return fields;
}
const std::vector<Field>& TrussStiffenerFields() {
  static const std::vector<Field> fields = {I(129, 34), F(571, 26)};
  return fields;
}
const std::vector<Field>& BaseStiffenerFields() {
  static const std::vector<Field> fields = {I(198, 2)};
  return fields;
}
const std::vector<Field>& ConcreteFields() {
  static const std::vector<Field> fields = {I(121, 45)};
  return fields;
}

// Truss welds: flag offset, value offset, key.
struct TrussWeld {
  int flag, value, key;
};
constexpr TrussWeld kTrussWelds[3] = {{109, 575, 564}, {111, 639, 565}, {113, 703, 566}};

// --- bolt and hook grids ------------------------------------------------------

const std::vector<Field>& BoltFields() {
  static const std::vector<Field> fields = {I(121, 28), I(140, 26), I(141, 40), I(142, 30)};
  return fields;
}

const std::vector<Field>& HookFields() {
  static const std::vector<Field> fields = {I(121, 28),
                                            I(140, 26),
                                            I(141, 40),
                                            I(142, 30),
                                            I(143, BolRecGrid::kHookFlag),
                                            I(144, BolRecGrid::kHookShape),
                                            I(145, BolRecGrid::kHookRows),
                                            I(156, BolRecGrid::kHookColumns)};
  return fields;
}

// The derived values of a bolt grid from its keys and the length of its rows.
void DeriveBoltGrid(CConElmData_base& e, double length) {
  const long32 rows = e.GetIDataValue(151) - e.GetIDataValue(155);
  e.SetFData(610, length);
  e.SetFData(611, (Counted(e.GetIDataValue(152)) - 1) * e.GetFDataValue(603));
  e.SetFData(612, e.GetFDataValue(601) + length + e.GetFDataValue(602));
  e.SetFData(511, rows >= 2 ? length / (rows - 1) : 0.0);
}

// --- plates --------------------------------------------------------------

void SetPlateStub(CConElmData_base& e, double f511, double f512, double f515, double f510) {
  e.SetIData(103, 1);
  e.SetFData(511, f511);
  e.SetFData(512, f512);
  e.SetFData(515, f515);
  e.SetFData(510, f510);
}

// --- polygons -------------------------------------------------------------

bool FillPolygon(CConElmData_base& e, const double* points, int count, double f510) {
  if (!points || count < 1 || count > 100) return false;
  for (int k = kPolygonFirst; k <= kPolygonLast; ++k) e.RemoveFData(k);
  const int n = count / 2;
  double minX = 0, maxX = 0, minY = 0, maxY = 0;
  for (int j = 0; j < n; ++j) {
    const double x = points[2 * j], y = points[2 * j + 1];
    e.SetFData(700 + j, x);
    e.SetFData(800 + j, y);
    minX = j == 0 ? x : std::min(minX, x);
    maxX = j == 0 ? x : std::max(maxX, x);
    minY = j == 0 ? y : std::min(minY, y);
    maxY = j == 0 ? y : std::max(maxY, y);
  }
  e.SetIData(321, 700);
  e.SetIData(322, 700 + n);
  e.SetIData(323, 800);
  e.SetIData(324, 800 + n);
  e.SetFData(510, f510);
  e.SetFData(511, maxY - minY);
  e.SetFData(512, maxX - minX);
  return true;
}

}  // namespace

// --- the assembly -------------------------------------------------------------

CConElmData_base* Tool::Build_ProjectObj(const ASS_REC* assembly) {
  if (!assembly) return nullptr;
  return Make(kProject, [&](CConElmData_base& e) {
    return ReBuild_ProjectObj(&e, assembly, telio::RecI16(assembly->bytes, 17516)) != nullptr;
  });
}

CConElmData_base* Tool::ReBuild_ProjectObj(CConElmData_base* e, const ASS_REC* assembly, int n) {
  if (!assembly) return nullptr;
  return Modify(e, [&](CConElmData_base& el) {
    const ASS_REC& a = *assembly;
    const int count = a.ConnectionCount();
    // Keys of connections the previous build had and this one may not.
    const long32 last = std::min<long32>(el.GetIDataValue(110), kConnectionKeyBase + INT16_MAX);
    for (long32 k = kConnectionKeyBase + 1; k <= last; ++k) {
      el.RemoveStrData(k);
      el.RemoveBData(k);
      el.RemoveIData(k);
    }
    LoadFields(el, a.bytes, ProjectFields());
    el.SetIData(109, n);
    el.SetIData(110, kConnectionKeyBase + count);
    el.SetIData(104, IsKindTwo(a) ? 1 : 0);
    el.SetIData(107, 1);
    el.SetIData(108, 0);
    LoadTexts(el, a.bytes, ProjectTexts());
    el.SetStrData(
        kProjectPath.key,
        CPathObj(telio::RecText(a.bytes, kProjectPath.offset, kProjectPath.width)).GetFullPath());
    el.SetBData(kLengthMarkBase + kProjectPath.key, kProjectPath.width - 1);
    el.SetBData(1001, 1);
    if (telio::RecText(a.bytes, kProjectPath.offset, kProjectPath.width).IsEmpty() && count == 0) {
      el.RemoveBData(kStringMarkBase + 1001);
    } else {
      el.SetBData(kStringMarkBase + 1001, 1);
    }
    for (int j = 1; j <= count && a.connections; ++j) {
      const CONN_REC& c = a.connections[j];
      el.SetStrData(kConnectionKeyBase + j, c.Name());
      el.SetBData(kConnectionKeyBase + j, 0);
      el.SetIData(kConnectionKeyBase + j, c.StateWord() == 0 ? 1 : 0);
    }
    return true;
  });
}

int Tool::Restore_ProjectObj(CConElmData_base* e, ASS_REC* assembly) {
  if (!e || !assembly) return 0;
  ASS_REC& a = *assembly;
  StoreFields(*e, a.bytes, ProjectFields());
  StoreKindFlag(*e, a);
  StoreTexts(*e, a.bytes, ProjectTexts());
  StoreTexts(*e, a.bytes, {kProjectPath});
  for (int j = 1; j <= a.ConnectionCount() && a.connections; ++j) {
    CONN_REC& c = a.connections[j];
    if (const CString* name = e->GetStrData(kConnectionKeyBase + j)) c.SetName(*name);
    if (const long32* v = e->GetIData(kConnectionKeyBase + j)) {
      StoreFlag(
          *v != 0, [&] { return c.StateWord(); },
          [&](long32 w) { telio::SetRecI32(c.bytes, 1027, w); }, 0, 1);
    }
  }
  return 1;
}

// --- connections ----------------------------------------------------------------

CConElmData_base* Tool::Build_ConnectionInfoObj(const ASS_REC* assembly, int i) {
  const CONN_REC* c = assembly ? assembly->GetConnection(i) : nullptr;
  if (!c) return nullptr;
  return Make(kConnectionInfo, [&](CConElmData_base& e) {
    LoadFields(e, c->bytes, ConnectionFields());
    e.SetIData(120, telio::RecU16(assembly->bytes, 12));
    e.SetIData(104, IsKindTwo(*assembly) ? 1 : 0);
    LoadTexts(e, c->bytes, ConnectionTexts());
    for (int k : {120, 122, 123, 124, 125, 104, kStringMarkBase + 1001}) e.SetBData(k, 1);
    return true;
  });
}

int Tool::Restore_ConnectionInfoObj(CConElmData_base* e, ASS_REC* assembly) {
  if (!e || !assembly) return 0;
  if (const long32* v = e->GetIData(120)) {
    telio::SetRecU16(assembly->bytes, 12, static_cast<uint16_t>(*v));
  }
  return 1;
}

int Tool::Restore_ConnectionInfoObj(CConElmData_base* e, CONN_REC* rec) {
  if (!e || !rec) return 0;
  StoreFields(*e, rec->bytes, ConnectionFields());
  StoreTexts(*e, rec->bytes, ConnectionTexts());
  return 1;
}

CConElmData_base* Tool::Build_TRUSSWeldObj(const CONN_REC* rec) {
  if (!rec) return nullptr;
  return Make(kTrussWeld, [&](CConElmData_base& e) {
    for (const TrussWeld& w : kTrussWelds) {
      if (telio::RecI16(rec->bytes, w.flag) != 0)
        e.SetFData(w.key, telio::RecF32(rec->bytes, w.value));
    }
    return true;
  });
}

int Tool::Restore_TRUSSWeldObj(CConElmData_base* e, CONN_REC* rec) {
  if (!e || !rec) return 0;
  for (const TrussWeld& w : kTrussWelds) {
    const double* v = e->GetFData(w.key);
    const bool flagged = telio::RecI16(rec->bytes, w.flag) != 0;
    if (v) {
      telio::SetRecF32(rec->bytes, w.value, static_cast<float>(*v));
      if (!flagged) telio::SetRecI16(rec->bytes, w.flag, 1);
    } else if (flagged) {
      telio::SetRecI16(rec->bytes, w.flag, 0);
    }
  }
  return 1;
}

CConElmData_base* Tool::Build_LoadsObj(const ASS_REC* assembly, int conn, int lc, int v,
                                       int* flags) {
  const CONN_REC* c = assembly ? assembly->GetConnection(conn) : nullptr;
  if (!c || lc < 1 || lc > ASS_REC::kMaxLoadCase || !c->loads) return nullptr;
  return Make(kLoads, [&](CConElmData_base& e) {
    const LOA_REC& load = c->loads[lc];
    e.SetIData(CConElmData_base::kIdentifierKey, kLoads + lc);
    e.SetIData(161, v);
    e.SetIData(104, IsKindTwo(*assembly) ? 1 : 0);
    e.SetBData(kLoads + lc, 0);
    e.SetStrData(1001, assembly->LoadCaseName(lc));
    e.SetBData(kLengthMarkBase + 1001, ASS_REC::kNameWidth - 1);
    for (int k = 0; k < CONN_REC::kMemberCount; ++k) {
      if (!flags || flags[k] == 0) continue;
      if (c->members) e.SetStrData(1024 + k, c->members[k + 1].SectionName());
      e.SetIData(1024 + k, flags[k]);
      for (int i = 0; i < 3; ++i) e.SetFData(170 + 3 * k + i, load.Value(k, i));
    }
    return true;
  });
}

int Tool::Restore_LoadsObj(CConElmData_base* e, ASS_REC* assembly, int conn, int lc) {
  CONN_REC* c = assembly ? assembly->GetConnection(conn) : nullptr;
  if (!e || !c || lc < 1 || lc > ASS_REC::kMaxLoadCase || !c->loads) return 0;
  LOA_REC& load = c->loads[lc];
  if (const CString* name = e->GetStrData(1001)) assembly->SetLoadCaseName(lc, *name);
  for (int k = 0; k < CONN_REC::kMemberCount; ++k) {
    if (!e->GetIData(1024 + k)) continue;
    for (int i = 0; i < 3; ++i) {
      if (const double* v = e->GetFData(170 + 3 * k + i))
        load.SetValue(k, i, static_cast<float>(*v));
    }
  }
  return 1;
}

// --- special parts ------------------------------------------------------------------

CConElmData_base* Tool::Build_StiffenerInfoObj(const SPE_REC* rec) {
  return FromFields(kStiffenerInfo, rec, StiffenerFields(), [&](CConElmData_base& e) {
    if (telio::RecU16(rec->bytes, 4) == 0) e.SetBData(101, 1);
  });
}

CConElmData_base* Tool::Build_StiffenerInfoObjTruss(const SPE_REC* rec) {
  return FromFields(kStiffenerTruss, rec, TrussStiffenerFields());
}

CConElmData_base* Tool::Build_StiffenerInfoObjBasec(const SPE_REC* rec) {
  return FromFields(kStiffenerBasec, rec, BaseStiffenerFields(),
                    [](CConElmData_base& e) { e.SetIData(199, 3); });
}

CConElmData_base* Tool::Build_ConcreteObj(const SPE_REC* rec) {
  return FromFields(kConcrete, rec, ConcreteFields());
}

int Tool::Restore_StiffenerInfoObj(CConElmData_base* e, SPE_REC* rec) {
  if (!ToFields(e, rec, StiffenerFields())) return 0;
  StoreFlag(
      e->GetBDataValue(101) != 0, [&] { return static_cast<long32>(telio::RecU16(rec->bytes, 4)); },
      [&](long32 w) { telio::SetRecU16(rec->bytes, 4, static_cast<uint16_t>(w)); }, 0, 1);
  return 1;
}

int Tool::Restore_StiffenerInfoObjTruss(CConElmData_base* e, SPE_REC* rec) {
  return ToFields(e, rec, TrussStiffenerFields());
}

int Tool::Restore_StiffenerInfoObjBasec(CConElmData_base* e, SPE_REC* rec) {
  return ToFields(e, rec, BaseStiffenerFields());
}

int Tool::Restore_ConcreteObj(CConElmData_base* e, SPE_REC* rec) {
  return ToFields(e, rec, ConcreteFields());
}

// --- welds, distances, notches --------------------------------------------------------

CConElmData_base* Tool::Build_WeldsObj(const WEL_REC* first, const WEL_REC* second, int kind) {
  if ((kind == 1 || kind == 2) && !first) return nullptr;
  if (kind == 3 && !first && !second) return nullptr;
  return Make(kWelds, [&](CConElmData_base& e) {
    if (kind >= 1 && kind <= 3) {
      LoadLeads(e, first, kWeldKinds[kind - 1].first, kWeldKinds[kind - 1].second);
    }
    if (kind == 3) LoadLeads(e, second, 561, 562);
    return true;
  });
}

int Tool::Restore_WeldsObj(CConElmData_base* e, WEL_REC* first, WEL_REC* second) {
  if (!e || (!first && !second)) return 0;
  for (const WeldKeys& k : kWeldKinds) StoreLeads(*e, first, k.first, k.second);
  StoreLeads(*e, second, 561, 562);
  return 1;
}

CConElmData_base* Tool::Build_DistanceObj(const PLA_REC* plate, const WEL_REC* first,
                                          const WEL_REC* second) {
  if (!plate && !first && !second) return nullptr;
  return Make(kDistance, [&](CConElmData_base& e) {
    if (plate) LoadFields(e, plate->bytes, PlateDistanceFields());
    if (first) LoadFields(e, first->bytes, DistanceFields(543));
    if (second) LoadFields(e, second->bytes, DistanceFields(534));
    return true;
  });
}

int Tool::Restore_DistanceObj(CConElmData_base* e, PLA_REC* plate, WEL_REC* first,
                              WEL_REC* second) {
  if (!e || (!plate && !first && !second)) return 0;
  if (plate) StoreAllFields(*e, plate->bytes, PlateDistanceFields());
  if (first) StoreAllFields(*e, first->bytes, DistanceFields(543));
  if (second) StoreAllFields(*e, second->bytes, DistanceFields(534));
  return 1;
}

CConElmData_base* Tool::Build_NotchesObj(const WEL_REC* first, const WEL_REC* second,
                                         bool leading) {
  if (!first && !second) return nullptr;
  return Make(kNotches, [&](CConElmData_base& e) {
    if (leading) {
      LoadLeads(e, first, 546, 547);
      LoadLeads(e, second, 537, 538);
    } else {
      if (first) LoadFields(e, first->bytes, NotchFields(539));
      if (second) LoadFields(e, second->bytes, NotchFields(530));
    }
    return true;
  });
}

int Tool::Restore_NotchesObj(CConElmData_base* e, WEL_REC* first, WEL_REC* second) {
  if (!e || (!first && !second)) return 0;
  StoreLeads(*e, first, 546, 547);
  StoreLeads(*e, second, 537, 538);
  if (first) StoreFields(*e, first->bytes, NotchFields(539));
  if (second) StoreFields(*e, second->bytes, NotchFields(530));
  return 1;
}

// --- sections -----------------------------------------------------------------------

CConElmData_base* Tool::Build_SectionObj(MEM_REC* member, double d, int filter, bool withI136) {
  if (!member) return nullptr;
  return Make(kSection, [&](CConElmData_base& e) {
    const int family = member->Family();
    std::vector<Field> fields = SectionFields(family, filter);
    if (!withI136) {
      fields.erase(
          std::remove_if(fields.begin(), fields.end(), [](const Field& f) { return f.key == 136; }),
          fields.end());
    }
    LoadFields(e, member->bytes, fields);
    e.SetIData(133, filter);
    e.SetFData(510, d);
    SetAngleKeys(e, *member, family, filter);
    e.SetStrData(1001, member->SectionName());
    e.SetBData(kLengthMarkBase + 1001, 6);
    return true;
  });
}

int Tool::Restore_SectionObj(CConElmData_base* e, MEM_REC* member) {
  if (!e || !member) return 0;
  const long32* family = e->GetIData(130);
  StoreFields(*e, member->bytes,
              SectionFields(family ? *family : member->Family(), e->GetIDataValue(133)));
  if (const CString* name = e->GetStrData(1001)) member->SetSectionName(*name);
  return 1;
}

int Tool::Clear_SectionObj(CConElmData_base* e) {
  if (!e) return 0;
  for (int k : kSectionIKeys) e->RemoveIData(k);
  for (int k : kSectionFKeys) e->RemoveFData(k);
  e->RemoveStrData(1001);
  e->RemoveBData(kLengthMarkBase + 1001);
  return 1;
}

// --- plates and grids ------------------------------------------------------------------

CConElmData_base* Tool::Build_PlateObj(double f511, double f512, double f510, short grade) {
  return Make(kPlate, [&](CConElmData_base& e) {
    e.SetIData(103, 1);
    e.SetIData(121, grade);
    e.SetFData(511, f511);
    e.SetFData(512, f512);
    e.SetFData(510, f510);
    return true;
  });
}

int Tool::Restore_PlateObj(CConElmData_base* e, PLA_REC* plate, double x, double y, double z) {
  if (!e || !plate) return 0;
  StoreFields(*e, plate->bytes, PlateFields());
  telio::SetRecF32(plate->bytes, 26, static_cast<float>(x));
  telio::SetRecF32(plate->bytes, 30, static_cast<float>(y));
  telio::SetRecF32(plate->bytes, 34, static_cast<float>(z));
  return 1;
}

CConElmData_base* Tool::Build_PlateStubObj(double f511, double f512, double f515, double f510) {
  return Make(kPlateStub, [&](CConElmData_base& e) {
    SetPlateStub(e, f511, f512, f515, f510);
    return true;
  });
}

CConElmData_base* Tool::ReBuild_PlateStubObj(CConElmData_base* e, double f511, double f512,
                                             double f515, double f510, int grade) {
  return Modify(e, [&](CConElmData_base& el) {
    SetPlateStub(el, f511, f512, f515, f510);
    el.SetIData(121, grade);
    return true;
  });
}

CConElmData_base* Tool::Build_BoltGridObj(BOL_REC* rec, double t, short rows, short columns,
                                          double e1, double e2, double p2, double p1,
                                          short extraRows, bool variable) {
  if (!rec) return nullptr;
  return Make(kBoltGrid, [&](CConElmData_base& e) {
    e.SetIData(103, 0);
    LoadFields(e, rec->bytes, BoltFields());
    e.SetIData(151, rows + extraRows);
    e.SetIData(152, columns);
    e.SetIData(155, extraRows);
    e.SetIData(153, 624);
    e.SetIData(154, 635);
    e.SetIData(150, variable ? 1 : 0);
    e.SetFData(510, t);
    e.SetFData(601, e1);
    e.SetFData(602, e2);
    e.SetFData(603, p2);
    e.SetFData(604, p1);
    double length = 0.0;
    if (variable) {
      const int n = std::min<int>(std::max<int>(rows, 0), BolRecGrid::kMaxSpacings);
      for (int j = 0; j < n; ++j)
        length += telio::RecF32(rec->bytes, BolRecGrid::kSpacings + 4 * j);
    } else {
      length = (Counted(rows) - 1) * p1;
    }
    DeriveBoltGrid(e, length);
    return true;
  });
}

int Tool::Set_BoltGridData(CConElmData_base* e) {
  return Modify(e, [](CConElmData_base& el) {
           const long32 rows = el.GetIDataValue(151) - el.GetIDataValue(155);
           const double length = el.GetIDataValue(150) != 0
                                     ? el.GetFDataValue(610)
                                     : (Counted(rows) - 1) * el.GetFDataValue(604);
           DeriveBoltGrid(el, length);
           return true;
         }) != nullptr;
}

CConElmData_base* Tool::ReBuild_BoltGridObj(CConElmData_base* e, double p1) {
  return Modify(e, [&](CConElmData_base& el) {
    el.SetFData(604, p1);
    el.SetIData(150, 0);
    return Set_BoltGridData(&el) != 0;
  });
}

int Tool::Restore_BoltGridObj(CConElmData_base* e, BOL_REC* rec, double, double, double, double) {
  if (!e || !rec) return 0;
  StoreFields(*e, rec->bytes, BoltFields());
  return 1;
}

CConElmData_base* Tool::Build_HookGridObj(BOL_REC* rec, double t, double a, double edge, double p1,
                                          double p2) {
  if (!rec) return nullptr;
  return Make(kHookGrid, [&](CConElmData_base& e) {
    LoadFields(e, rec->bytes, HookFields());
    e.SetIData(157, 0);
    e.SetFData(510, t);
    e.SetFData(601, rec->HookDiameter());
    e.SetFData(602, rec->D0());
    e.SetFData(603, a);
    e.SetFData(604, edge);
    e.SetFData(605, p1);
    e.SetFData(606, p2);
    const double along = (Counted(e.GetIDataValue(145)) - 1) * p1;
    const double across = (Counted(e.GetIDataValue(156)) - 1) * p2;
    e.SetFData(607, along);
    e.SetFData(608, across);
    e.SetFData(609, along + 2 * edge);
    e.SetFData(610, across + 2 * edge);
    e.SetFData(611, t + a);
    return true;
  });
}

int Tool::Restore_HookGridObj(CConElmData_base* e, BOL_REC* rec) {
  if (!e || !rec) return 0;
  StoreFields(*e, rec->bytes, HookFields());
  return 1;
}

// --- values ------------------------------------------------------------------------------

CConElmData_base* Tool::Build_DimensionObj(int a1, int a2, short a3, short a4, short a5, int a6,
                                           int a7, int a8, int a9, int a10, int a11) {
  return Make(kDimension, [&](CConElmData_base& e) {
    const int values[11] = {a1, a2, a3, a4, a5, a6, a7, a8, a9, a10, a11};
    for (int k = 0; k < 11; ++k) e.SetIData(301 + k, values[k]);
    return true;
  });
}

CConElmData_base* Tool::Build_PolygonObj(double* points, int count, double f510) {
  return Make(kPolygon, [&](CConElmData_base& e) { return FillPolygon(e, points, count, f510); });
}

CConElmData_base* Tool::ReBuild_PolygonObj(CConElmData_base* e, double* points, int count,
                                           double f510) {
  if (!points || count < 1 || count > 100) return nullptr;
  return Modify(e, [&](CConElmData_base& el) { return FillPolygon(el, points, count, f510); });
}

CConElmData_base* Tool::Build_NodeObj(double x, double y, double z, double size) {
  if (!(size > 0.0)) return nullptr;
  return Make(kNode, [&](CConElmData_base& e) {
    e.SetFData(900, x);
    e.SetFData(901, y);
    e.SetFData(902, z);
    e.SetFData(517, size);
    return true;
  });
}

CConElmData_base* Tool::Build_LineObj(double x1, double y1, double z1, double x2, double y2,
                                      double z2, int i512) {
  if (i512 < 0) return nullptr;
  return Make(kLine, [&](CConElmData_base& e) {
    e.SetIData(512, i512);
    const double v[6] = {x1, y1, z1, x2, y2, z2};
    for (int k = 0; k < 6; ++k) e.SetFData(900 + k, v[k]);
    return true;
  });
}

CConElmData_base* Tool::Build_ConstraintObj(double x, double y, double z, double f511, double f519,
                                            int kind) {
  if (!(f519 > 0.0) || kind < 1 || kind > 4) return nullptr;
  return Make(kConstraint, [&](CConElmData_base& e) {
    e.SetIData(103, kind);
    e.SetFData(900, x);
    e.SetFData(901, y);
    e.SetFData(902, z);
    e.SetFData(511, f511);
    e.SetFData(519, f519);
    return true;
  });
}
