// The item records of the analysis entity lists that CEntity keeps, and the
// indexes of those lists in its entity block.
//
// Every record is a kernel list item (platform/EntityList.h): the item
// header (kind, attribute bits, 32-bit number, next pointer), then the
// record's own fields. The records are byte-packed so that the fields follow
// the header without a gap, as the kernel lays its items out, and an item's
// size is its header plus its fields (the sizeof of the record). Pointers
// are native: with 4-byte pointers the header takes 10 bytes and the items
// have the suite's sizes below; on 64-bit hosts the header takes 14 bytes,
// each pointer 8, and every offset after the first pointer moves with them.
// The records live in memory only and are never written to a file.
//
// Byte offsets within the item with 4-byte pointers (all numbers little-
// endian host values, f32 IEEE floats):
//   B_Node (46)       10 X, 14 Y, 18 Z; 22, 26 plane coordinates (f32);
//                     30 i32 beams attached; 34 reserved(8); 42 i32 loads
//   B_Beam (46)       10 start node, 14 end node; 18 reserved(4); 22 section;
//                     26 reserved(4); 30 connection at the start, 34 at the
//                     end; 38 i32 loads; 42 f32 rotation angle
//   PhysBeam (28)     10 start node, 14 end node; 18 i16 label; 20 owned
//                     array of beam pointers; 24 i32 beams in it
//   Section (98)      10 name(36, ANSI); 46 i32 beams using it; 50 u32 family
//                     code (family id x 1000 + sub-number); 54 u32 catalogue
//                     key; 58 owned 32-byte property block or null; 62 f32 0;
//                     66..90 seven f32 composite values; 94 f32 0
//   Material (46)     10 name(16); 26 i32 users; 30 four f32 values
//   LoadingCase (36)  10 name(16, at most 15 characters); 26 i32 load
//                     instances using it; 30 u8 kind; 31 u8 second value;
//                     32 f32 real value
//   Support (42)      10 i32 instances using it; 14 u32 flag bits 0..5, one
//                     per restraint direction; 18..38 six f32, the value of
//                     each direction whose flag bit is clear
//   Connection (42)   10 reserved(4); 14 i16 type; 16 reserved(22); 38 f32
//                     value
//   Instance (18)     10 the node, beam or physical beam; 14 the reference
//                     item (support, load, result set, or for a self-weight
//                     load the load case)
//   BasicDataEx (18)  10 i32 users; 14 load case (common head of the load
//                     references and result sets below)
//   JLoad (42)        BasicDataEx, 18..38 six f32 components
//   CLoad (27)        BasicDataEx, 18 u8 load kind, 19, 23 two f32 values
//   DLoad (35)        BasicDataEx, 18 u8 load kind, 19..31 four f32 values
//   DispRes (42)      BasicDataEx, 18..38 six f32 displacements
//   ForcesRes (66)    BasicDataEx, 18..38 six f32 forces at the beam's
//                     start, 42..62 six at its end
#pragma once

#include <cstddef>

#include "files/CFileTOP.h"
#include "platform/EntityList.h"
#include "platform/Export.h"
#include "platform/Types.h"

namespace ENTITIESConstants {

// Positions of the lists in the entity block. The numbers are the block's
// layout: never renumber. 7, 12, 17, 18, 19 and 24 are headers that stay
// zero.
enum EntitiesArrayIndex : int {
  EntNode = 0,
  EntBeam = 1,
  EntPhysBeam = 2,
  EntSection = 3,
  EntMaterial = 4,
  EntISupport = 5,     // support instances
  EntSupport = 6,      // support references
  EntConnection = 8,
  EntLdCase = 9,
  EntINodeLoad = 10,   // node load instances
  EntIBeamLoad = 11,   // beam load instances
  EntNodalLoad = 13,   // node load references
  EntDisplacement = 14,  // imposed displacement references
  EntConcentrated = 15,
  EntDistributed = 16,
  EntINodeRes = 20,    // node result instances
  EntIBeamRes = 21,    // beam result instances
  EntDispRes = 22,     // displacement result sets
  EntForcesRes = 23,   // force result sets
  EntCount = 25,
};

// Attribute bits of the items.
enum : unsigned char {
  AttrSelected = 0x02,
  AttrForceLoad = 0x04,       // a node load that is a force
  AttrImposedDispl = 0x08,    // a node load that is an imposed displacement
  AttrNodeLoadMask = 0x0C,
  AttrConcentrated = 0x10,    // a concentrated beam load
  AttrDistributed = 0x20,     // a distributed beam load (with four values)
  AttrBeamLoadMask = 0x70,
  AttrSupported = 0x40,       // on a node: it has a support
  AttrSelfWeight = 0x80,      // on a beam load instance
};

}  // namespace ENTITIESConstants

namespace ENTITIESStructs {

// Fields are private and read and written through accessors that take and
// return values, so that no reference or pointer to an unaligned number is
// ever made (X() a copy, SetX(v) sets, AddX(d) adds; names are handed out
// as char pointers).
#pragma pack(push, 1)

// The kernel's item header.
class TELIO_EXPORT BasicData {
 public:
  char Kind() const { return kind_; }
  unsigned char Attr() const { return attr_; }
  // attribute = (attribute | set) & ~clear
  void SetAttr(unsigned char set, unsigned char clear) {
    attr_ = static_cast<unsigned char>((attr_ | set) & ~clear);
  }
  long32 Number() const { return number_; }
  BasicData* Next() const { return next_; }

 private:
  char kind_;
  unsigned char attr_;
  long32 number_;
  BasicData* next_;
};
static_assert(sizeof(BasicData) == telio::kItemHeaderSize, "items start with the kernel header");

class LoadingCase;

// Head shared by the load references and the result sets.
class TELIO_EXPORT BasicDataEx : public BasicData {
 public:
  long32 Users() const { return users; }
  void SetUsers(long32 v) { users = v; }
  void AddUsers(long32 d) { users += d; }
  LoadingCase* LoadCase() const { return loadCase; }
  void SetLoadCase(LoadingCase* lc) { loadCase = lc; }

 private:
  long32 users;
  LoadingCase* loadCase;
};

class TELIO_EXPORT B_Node : public BasicData {
 public:
  float X() const { return x; }
  float Y() const { return y; }
  float Z() const { return z; }
  void SetXYZ(float vx, float vy, float vz) {
    x = vx;
    y = vy;
    z = vz;
  }
  // The two plane coordinates of the entity model's node type.
  float PlaneX() const { return px; }
  float PlaneY() const { return py; }
  void SetPlane(float vx, float vy) {
    px = vx;
    py = vy;
  }
  long32 Beams() const { return beams; }
  void AddBeams(long32 d) { beams += d; }
  long32 Loads() const { return loads; }
  void AddLoads(long32 d) { loads += d; }

 private:
  float x, y, z;
  float px, py;
  long32 beams;
  [[maybe_unused]] unsigned char reserved[8];
  long32 loads;
};

// Copies text into a fixed name field, NUL-terminated and cut to fit.
TELIO_EXPORT void CopyItemName(char* field, std::size_t size, const char* text);

// An item that starts with a fixed name field of N bytes.
template <int N>
class NamedData : public BasicData {
 public:
  static constexpr int kNameSize = N;
  // NUL-terminated (at most N - 1 characters).
  const char* Name() const { return name; }
  char* PName() { return name; }
  void SetName(const char* text) { CopyItemName(name, N, text); }

 private:
  char name[N];
};

class Section;
class Connection;

class TELIO_EXPORT B_Beam : public BasicData {
 public:
  B_Node* Start() const { return start; }
  B_Node* End() const { return end; }
  void SetNodes(B_Node* s, B_Node* e) {
    start = s;
    end = e;
  }
  Section* SectionItem() const { return section; }
  void SetSectionItem(Section* s) { section = s; }
  // end 0: the connection at the start, else at the end.
  Connection* GetConnection(int atEnd) const { return atEnd ? connEnd : connStart; }
  void SetConnection(int atEnd, Connection* c) { (atEnd ? connEnd : connStart) = c; }
  long32 Loads() const { return loads; }
  void AddLoads(long32 d) { loads += d; }
  float Angle() const { return angle; }
  void SetAngle(float a) { angle = a; }

 private:
  B_Node* start;
  B_Node* end;
  [[maybe_unused]] unsigned char reserved1[4];
  Section* section;
  [[maybe_unused]] unsigned char reserved2[4];
  Connection* connStart;
  Connection* connEnd;
  long32 loads;
  float angle;
};
typedef B_Beam Beam;

class TELIO_EXPORT PhysBeam : public BasicData {
 public:
  B_Node* Start() const { return start; }
  B_Node* End() const { return end; }
  void SetNodes(B_Node* s, B_Node* e) {
    start = s;
    end = e;
  }
  short Label() const { return label; }
  void SetLabel(short v) { label = v; }
  // Owned (telio::Calloc), BeamCount() entries.
  Beam** Beams() const { return beams; }
  long32 BeamCount() const { return beamCount; }
  void SetBeams(Beam** b, long32 count) {
    beams = b;
    beamCount = count;
  }

 private:
  B_Node* start;
  B_Node* end;
  short label;
  Beam** beams;
  long32 beamCount;
};

class TELIO_EXPORT Section : public NamedData<36> {
 public:
  static constexpr int kCompositeValues = 7;

  long32 Users() const { return users; }
  void AddUsers(long32 d) { users += d; }
  void SetUsers(long32 v) { users = v; }
  ulong32 FamilyCode() const { return familyCode; }
  void SetFamilyCode(ulong32 v) { familyCode = v; }
  ulong32 Key() const { return key; }
  void SetKey(ulong32 v) { key = v; }
  // Owned (telio::Malloc) or null.
  TOP_PRS* Prs() const { return prs; }
  void SetPrs(TOP_PRS* p) { prs = p; }
  // k in 0..6 (0 outside).
  float Composite(int k) const { return (k >= 0 && k < kCompositeValues) ? composite[k] : 0.0f; }
  void SetComposite(int k, float v) {
    if (k >= 0 && k < kCompositeValues) composite[k] = v;
  }

 private:
  long32 users;
  ulong32 familyCode;
  ulong32 key;
  TOP_PRS* prs;
  [[maybe_unused]] float zero1;  // 0
  float composite[kCompositeValues];
  [[maybe_unused]] float zero2;  // 0
};

class TELIO_EXPORT Material : public NamedData<16> {
 public:
  long32 Users() const { return users; }
  void AddUsers(long32 d) { users += d; }
  // k in 0..3 (0 outside).
  float Value(int k) const { return (k >= 0 && k < 4) ? values[k] : 0.0f; }
  void SetValue(int k, float v) {
    if (k >= 0 && k < 4) values[k] = v;
  }

 private:
  long32 users;
  float values[4];
};

class TELIO_EXPORT LoadingCase : public NamedData<16> {
 public:
  // The load instances using the case.
  long32 Count() const { return count; }
  void AddCount(long32 d) { count += d; }
  unsigned char KindValue() const { return kindValue; }
  unsigned char Value2() const { return value2; }
  float Value() const { return value; }
  void SetValues(unsigned char kind, unsigned char second, float real) {
    kindValue = kind;
    value2 = second;
    value = real;
  }

 private:
  long32 count;
  unsigned char kindValue;
  unsigned char value2;
  float value;
};

class TELIO_EXPORT Support : public BasicData {
 public:
  long32 Users() const { return users; }
  void AddUsers(long32 d) { users += d; }
  // Bit d set: direction d (0..5) is not given a value.
  ulong32 Flags() const { return flags; }
  void SetFlags(ulong32 v) { flags = v; }
  // d in 0..5 (0 outside).
  float Value(int d) const { return (d >= 0 && d < 6) ? values[d] : 0.0f; }
  void SetValue(int d, float v) {
    if (d >= 0 && d < 6) values[d] = v;
  }

 private:
  long32 users;
  ulong32 flags;
  float values[6];
};

class TELIO_EXPORT Connection : public BasicData {
 public:
  short Type() const { return type; }
  float Value() const { return value; }
  void Set(short t, float v) {
    type = t;
    value = v;
  }

 private:
  [[maybe_unused]] unsigned char reserved1[4];
  short type;
  [[maybe_unused]] unsigned char reserved2[22];
  float value;
};

// The link of a node, beam or physical beam to a shared reference item.
class TELIO_EXPORT Instance : public BasicData {
 public:
  BasicData* Object() const { return object; }
  void SetObject(BasicData* o) { object = o; }
  BasicData* Reference() const { return reference; }
  void SetReference(BasicData* r) { reference = r; }

 private:
  BasicData* object;
  BasicData* reference;
};

// A reference or result set whose head is followed by N floats.
template <int N>
class ValuesData : public BasicDataEx {
 public:
  static constexpr int kValues = N;
  // k in 0..N-1 (0 outside).
  float Value(int k) const { return (k >= 0 && k < N) ? values[k] : 0.0f; }
  void SetValue(int k, float v) {
    if (k >= 0 && k < N) values[k] = v;
  }

 private:
  float values[N];
};

// The same behind a kind byte.
template <int N>
class KindValuesData : public BasicDataEx {
 public:
  static constexpr int kValues = N;
  unsigned char LoadKind() const { return loadKind; }
  void SetLoadKind(unsigned char k) { loadKind = k; }
  float Value(int k) const { return (k >= 0 && k < N) ? values[k] : 0.0f; }
  void SetValue(int k, float v) {
    if (k >= 0 && k < N) values[k] = v;
  }

 private:
  unsigned char loadKind;
  float values[N];
};

// Node load or imposed displacement: the six components.
class TELIO_EXPORT JLoad : public ValuesData<6> {};
// Concentrated beam load: kind byte and two values.
class TELIO_EXPORT CLoad : public KindValuesData<2> {};
// Distributed beam load: kind byte and four values.
class TELIO_EXPORT DLoad : public KindValuesData<4> {};
// Node displacements.
class TELIO_EXPORT DispRes : public ValuesData<6> {};
// Six forces at the beam's start (0..5), then six at its end (6..11).
class TELIO_EXPORT ForcesRes : public ValuesData<12> {};

#pragma pack(pop)

constexpr std::size_t kPtr = sizeof(void*);
constexpr std::size_t kHead = telio::kItemHeaderSize;
static_assert(sizeof(BasicDataEx) == kHead + 4 + kPtr, "load reference head");
static_assert(sizeof(B_Node) == kHead + 36, "node item");
static_assert(sizeof(B_Beam) == kHead + 5 * kPtr + 16, "beam item");
static_assert(sizeof(PhysBeam) == kHead + 3 * kPtr + 6, "physical beam item");
static_assert(sizeof(Section) == kHead + 36 + 12 + kPtr + 36, "section item");
static_assert(sizeof(Material) == kHead + 36, "material item");
static_assert(sizeof(LoadingCase) == kHead + 26, "load case item");
static_assert(sizeof(Support) == kHead + 32, "support reference item");
static_assert(sizeof(Connection) == kHead + 32, "connection item");
static_assert(sizeof(Instance) == kHead + 2 * kPtr, "instance item");
static_assert(sizeof(JLoad) == sizeof(BasicDataEx) + 24, "node load reference item");
static_assert(sizeof(CLoad) == sizeof(BasicDataEx) + 9, "concentrated load item");
static_assert(sizeof(DLoad) == sizeof(BasicDataEx) + 17, "distributed load item");
static_assert(sizeof(DispRes) == sizeof(BasicDataEx) + 24, "displacement result item");
static_assert(sizeof(ForcesRes) == sizeof(BasicDataEx) + 48, "force result item");

// One list header of the entity block (the kernel's 56-byte header).
struct TELIO_EXPORT Entity {
  unsigned char data[telio::kEntityHeaderSize];

  long32 Count() const { return telio::EntityCount(data); }
  BasicData* First() const { return static_cast<BasicData*>(telio::EntityFirst(data)); }
  // Kept by CEntity: the number of items with AttrSelected, and the one
  // selected item when exactly one is.
  long32 SelectedCount() const { return telio::EntitySelectedCount(data); }
  BasicData* SelectedItem() const { return static_cast<BasicData*>(telio::EntitySelectedItem(data)); }
  const char* Name() const { return telio::EntityName(data); }
};
static_assert(sizeof(Entity) == telio::kEntityHeaderSize, "list header is 56 bytes");

// Walking a list whose items are of type T.
template <class T>
T* FirstItem(const Entity* list) {
  return list ? static_cast<T*>(list->First()) : nullptr;
}
template <class T>
T* NextItem(const T* item) {
  return static_cast<T*>(item->Next());
}

}  // namespace ENTITIESStructs
