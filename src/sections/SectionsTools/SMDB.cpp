#include "sections/SectionsTools/SMDB.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <new>

#include "files/CAJF_PATHS.h"
#include "platform/CPathObj.h"
#include "platform/Coding.h"
#include "platform/LastError.h"
#include "platform/TelKrnl.h"
#include "sections/SectionFamilies.h"

using TOPOStructs::TOPO_REC;

namespace {

CSectionFiles* g_catalogue = nullptr;
CString g_catalogueFolder;

CString EffectiveFolder(const CString& folder) {
  if (!folder.IsEmpty()) return folder;
  CString suite = GetTelmaroDir();
  if (!suite.IsEmpty()) return suite;
  return CString(szGDirs);
}

bool FolderExists(const CString& folder) { return !folder.IsEmpty() && CPathObj(folder).ExistsPath(); }

bool InRange(int f, int lo, int hi) { return f >= lo && f <= hi; }

bool OneOf(int f, std::initializer_list<int> list) {
  for (int x : list) {
    if (f == x) return true;
  }
  return false;
}

// "L%dx%dx%d" for a whole thickness, "L%dx%dx%f" otherwise.
CString SingleAngleName(int legA, int legB, double t) {
  CString name;
  if (t == std::floor(t) && std::fabs(t) < 1e6) {
    name.Format("L%dx%dx%d", legA, legB, static_cast<int>(t));
  } else {
    name.Format("L%dx%dx%f", legA, legB, t);
  }
  return name;
}

// Property block values: a u16 0, then seven f32.
bool RefillBlock(TOP_SEC* sec, const float values[7]) {
  auto* block = static_cast<unsigned char*>(l_Alloc(TOP_PRS::kSize, 599, "SectionsTools\\SMDB.cpp"));
  if (!block) return false;
  telio::EncodeFixed16(block, 0);
  for (int i = 0; i < 7; ++i) telio::EncodeFloat(block + 2 + 4 * i, values[i]);
  l_Free(sec->prs);
  sec->prs = reinterpret_cast<TOP_PRS*>(block);
  return true;
}

}  // namespace

CString SMDBFolder(const CString& folder) { return EffectiveFolder(folder); }

CSectionFiles* GetSMDBSectionFiles(const char* folder) {
  const CString wanted = EffectiveFolder(CString(folder ? folder : ""));
  if (g_catalogue && g_catalogue->IsLoaded() && g_catalogueFolder == wanted) return g_catalogue;
  if (wanted.IsEmpty()) {
    telio::SetLastError(telio::kErrorPathNotFound);
    return nullptr;
  }
  if (!g_catalogue) {
    g_catalogue = new (std::nothrow) CSectionFiles;
    if (!g_catalogue) {
      telio::SetLastError(telio::kErrorNotEnoughMemory);
      return nullptr;
    }
  }
  CString pattern;
  pattern.Format("%s\\FilesSectionDB\\*.SEC", wanted.GetString());
  g_catalogueFolder = wanted;
  if (g_catalogue->Load(pattern) != 0) {
    g_catalogueFolder.Empty();
    return nullptr;
  }
  return g_catalogue;
}

void FreeSMDBSectionFiles() {
  delete g_catalogue;
  g_catalogue = nullptr;
  g_catalogueFolder.Empty();
}

bool GetSMDBPropertyValues(int family, const CSectionData& d, float v[7]) {
  double x[7] = {};
  auto set = [&x](std::initializer_list<double> list) {
    int i = 0;
    for (double value : list) x[i++] = value;
  };
  const int f = family;
  if (InRange(f, 12, 19) || InRange(f, 21, 24) || f == 195 || f == 98) {
    set({d.h, d.b, d.tw, d.tf, d.r1});
  } else if (OneOf(f, {31, 32, 36, 37})) {
    set({d.h, d.b, d.tw, d.r1, d.r2});
  } else if (OneOf(f, {33, 34, 35, 38, 39, 99})) {
    set({d.h, d.b, d.tw, d.r1, d.r2, d.spacing, static_cast<double>(d.arrangement)});
  } else if (OneOf(f, {42, 47, 43, 48})) {
    set({d.h, d.b, d.tw, d.r1, d.r2});
  } else if (OneOf(f, {41, 44, 46, 55, 56})) {
    set({d.h, d.tw});
  } else if (f == 51) {
    set({d.h, d.b, d.tf, d.b2, d.tf2, d.tw});
  } else if (OneOf(f, {57, 123, 133})) {
    set({d.h, d.b, d.tw});
  } else if (InRange(f, 61, 63)) {
    set({d.h, d.b, d.tw, d.tf, d.r1, d.r2, d.slope});
  } else if (OneOf(f, {71, 91, 95, 111, 120, 121, 130, 131, 72, 93, 94, 96, 112, 193, 194, 73, 92, 122, 132,
                       192, 74, 75})) {
    set({d.h, d.b, d.tw, d.tf, d.r1, d.b2, d.tf2});
  } else {
    return false;
  }
  for (int i = 0; i < 7; ++i) v[i] = static_cast<float>(x[i]);
  return true;
}

int UpdateSMDBSectionsTOPO(const TOPO_REC* topo, CString folder) {
  if (!topo || !topo->sections) return 0;
  const CSectionFiles* cat = GetSMDBSectionFiles(folder);
  if (!cat) return 0;
  int refilled = 0;
  for (int i = 1; i <= topo->sectionCount; ++i) {
    TOP_SEC* sec = topo->Section(i);
    if (!sec) break;
    float values[7] = {};
    const int family = sec->Family();
    // Only a section with a key is brought up to date.
    if (sec->Key() == 0) continue;
    if (family == 81) {
      // Its values are its own: the catalogue cannot rebuild them.
      if (!sec->prs) continue;
      for (int k = 0; k < 7; ++k) values[k] = sec->prs->Value(k);
    } else {
      CSectionData data;
      if (!cat->GetSectionData(sec->Key(), &data)) continue;
      if (!GetSMDBPropertyValues(family, data, values)) continue;
    }
    if (RefillBlock(sec, values)) ++refilled;
  }
  return refilled;
}

bool ReadTopologyDoubleAngleName(int family, const char* name, SMDBDoubleAngle* out) {
  if (!name || !out) return false;
  int legA = 0, legB = 0, spacing = 0;
  float t = 0;
  switch (family) {
    case 33:
      if (std::sscanf(name, "2L%dx%f-%d", &legA, &t, &spacing) != 3 &&
          std::sscanf(name, "L%dx%f-%d", &legA, &t, &spacing) != 3) {
        return false;
      }
      legB = legA;
      out->singleFamily = 31;
      out->arrangement = kPairBackToBack;
      break;
    case 34:
    case 35:
      if (std::sscanf(name, family == 34 ? "2L%dx%dx%f-a-%d" : "2L%dx%dx%f-b-%d", &legA, &legB, &t, &spacing) != 4) {
        return false;
      }
      out->singleFamily = 32;
      out->arrangement = family == 34 ? kPairLongLegs : kPairShortLegs;
      break;
    default:
      return false;
  }
  out->singleName = SingleAngleName(legA, legB, t);
  out->spacing = spacing;
  return true;
}

bool ReadArrangedDoubleAngleName(const char* name, SMDBDoubleAngle* out) {
  if (!name || !out) return false;
  // Tried in the order B, L, S, D.
  static const int kArrangements[] = {kPairBackToBack, kPairLongLegs, kPairShortLegs, kPairStar};
  for (int arrangement : kArrangements) {
    int legA = 0, legB = 0, t = 0, n = 0;
    float spacing = 0;
    switch (arrangement) {
      case kPairBackToBack:
        n = std::sscanf(name, "2L%dx%dx%dB/%f", &legA, &legB, &t, &spacing);
        break;
      case kPairLongLegs:
        n = std::sscanf(name, "2L%dx%dx%dL/%f", &legA, &legB, &t, &spacing);
        break;
      case kPairShortLegs:
        n = std::sscanf(name, "2L%dx%dx%dS/%f", &legA, &legB, &t, &spacing);
        break;
      default:
        n = std::sscanf(name, "2L%dx%dx%dD/%f", &legA, &legB, &t, &spacing);
        break;
    }
    if (n != 4) continue;
    const bool unequal = arrangement == kPairLongLegs || arrangement == kPairShortLegs;
    out->singleFamily = unequal ? 32 : 31;
    out->arrangement = arrangement;
    out->spacing = spacing;
    out->singleName.Format("L%dx%dx%d", legA, legB, t);
    return true;
  }
  return false;
}

ulong32 InsertSMDBDoubleAngle(CSectionFiles* catalogue, const char* name) {
  SMDBDoubleAngle pair;
  if (!catalogue || !ReadArrangedDoubleAngleName(name, &pair)) return 0;
  return catalogue->InsertCompositeSection(pair.singleFamily, pair.singleName, pair.arrangement, pair.spacing);
}

int ResolveSMDBSectionsTOPO(TOPO_REC* topo, CString folder) {
  if (!topo || !topo->sections) return 0;
  const CString where = EffectiveFolder(folder);
  if (!FolderExists(where)) return 0;
  CSectionFiles* cat = GetSMDBSectionFiles(where);
  if (!cat) return 0;
  int changed = 0;
  for (int i = 1; i <= topo->sectionCount; ++i) {
    TOP_SEC* sec = topo->Section(i);
    if (!sec) break;
    const int family = sec->Family();
    if (OneOf(family, {80, 81, 103, 104, 109})) continue;
    if (family == 108) {
      double values[kMatchValues];
      for (int k = 0; k < kMatchValues; ++k) values[k] = sec->Composite(k) * (k < 5 ? 100.0 : 10000.0);
      const ulong32 key = cat->MatchSectionData(values);
      if (!key) continue;
      sec->SetKey(key);
      const CString name = cat->GetSectionName(key);
      if (!name.IsEmpty()) sec->SetName(name);
      sec->SetFamily(static_cast<int16_t>(cat->GetSectionCatalogID(key)));
      sec->SetSubNumber(0);
      ++changed;
    } else if (sec->SubNumber() != 0 && family >= 33 && family <= 35) {
      SMDBDoubleAngle pair;
      if (!ReadTopologyDoubleAngleName(family, sec->Name(), &pair)) continue;
      const ulong32 key = cat->InsertCompositeSection(pair.singleFamily, pair.singleName, pair.arrangement, pair.spacing);
      if (!key) continue;
      sec->SetFamily(99);
      sec->SetKey(key);
      ++changed;
    } else if (sec->SubNumber() != 0) {
      CSectionData data;
      if (!cat->GetSectionData(family, sec->SubNumber() - 1, &data)) continue;
      sec->SetKey(data.key);
      ++changed;
    }
  }
  return changed;
}
