// Loads a design-data record from arbitrary bytes: the first byte names the
// kind (modulo 9: 0 section data, 1 section element, 2 grade, 3 material, 4
// studs, 5 composite data, 6 purlin data, 7 eta data, 8 section list), the
// rest is the record. Each object loaded is used a little (copies,
// equality, checksums); every kind but the list must load back from its
// own record with the same checksum, and a section must survive the trip
// through its section object twice with the same checksum.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "FuzzRecords.h"
#include "objects/data/CICompositeData.h"
#include "objects/data/CIEtaData.h"
#include "objects/data/CIGradeData.h"
#include "objects/data/CISectionElement.h"
#include "objects/data/CISectionLst.h"
#include "objects/data/CITegidaData.h"
#include "sections/SectionObjectBridge.h"

using namespace TELMARO_DATA_OBJECTS;
using namespace MATERIAL_OBJECTS;
using GE_::Safe::PtrStrong;

namespace {

// Saves object, loads the record into a fresh one, and traps when the
// fresh one's checksum differs or the record does not load.
template <class T>
void MustRoundTrip(T& object) {
  T fresh;
  fuzz_records::MustRoundTrip(object, fresh);
}

template <class T>
void UseCopies(const T& object) {
  T copy;
  copy.CopyFrom(&object);
  (void)copy.IsEqualWith(&object);
  if (copy.CheckSum() != object.CheckSum()) __builtin_trap();
}

// Section data -> section object -> section data, twice: the second trip
// must change nothing.
void UseBridge(const PtrStrong<CISectionData>& section) {
  PtrStrong<CISectionData> once = GetSectionDataFromObj(GetSectionObjFromData(section).GetPtr());
  PtrStrong<CISectionData> twice = GetSectionDataFromObj(GetSectionObjFromData(once).GetPtr());
  if (once.IsNull() || twice.IsNull() || once->CheckSum() != twice->CheckSum()) __builtin_trap();
}

template <class T>
void LoadSection(FILE* f) {
  PtrStrong<CISectionData> section(new T);
  if (!section->Serialize(f, true)) return;
  MustRoundTrip(static_cast<T&>(*section));
  UseCopies(static_cast<T&>(*section));
  UseBridge(section);
  (void)section->IsValidSection();
}

template <class T>
void LoadPlain(FILE* f) {
  T object;
  if (!object.Serialize(f, true)) return;
  MustRoundTrip(object);
  UseCopies(object);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  FILE* f = fuzz_records::OpenBytes(data + 1, size - 1);
  if (!f) return 0;
  switch (data[0] % 9) {
    case 0:
      LoadSection<CISectionData>(f);
      break;
    case 1:
      LoadSection<CISectionElement>(f);
      break;
    case 2:
      LoadPlain<CIGradeData>(f);
      break;
    case 3:
      LoadPlain<CMaterialData>(f);
      break;
    case 4:
      LoadPlain<CStudsData>(f);
      break;
    case 5:
      LoadPlain<CICompositeData>(f);
      break;
    case 6:
      LoadPlain<CITegidaData>(f);
      break;
    case 7:
      LoadPlain<CIEtaData>(f);
      break;
    default: {
      CISectionLst list;
      list.Serialize(f, true);
      CISectionLst copy;
      copy = list;
      if (copy.CheckSum() != list.CheckSum()) __builtin_trap();
      if (list.GetCount() > 0) (void)list.FindSection(list.GetAt(0).GetPtr());
      break;
    }
  }
  std::fclose(f);
  return 0;
}
