#include "sections/SectionFamilies.h"

// The family ids below are written into every analysis file the suite has
// produced: they are frozen, and a retired id is never given a new meaning.

namespace {

bool In(int v, int lo, int hi) { return v >= lo && v <= hi; }

// Lipped cold-formed families (the thin-walled design check works on them).
bool IsLippedColdFormed(int f) {
  return In(f, 71, 75) || In(f, 91, 96) || f == 111 || f == 112 || In(f, 192, 194);
}

}  // namespace

bool IsISection(int f) {
  return In(f, 12, 19) || In(f, 21, 24) || f == 51 || f == 80 || f == 81 || In(f, 100, 102) ||
         f == 104 || f == 108 || f == 109 || f == 195;
}

bool IsHSection(int f) { return In(f, 41, 44) || In(f, 46, 48); }
bool IsSHSection(int f) { return f == 42 || f == 47; }
bool IsRHSection(int f) { return f == 43 || f == 48; }
bool IsTubular(int f) { return f == 41 || f == 44 || f == 46; }

bool IsCSSection(int f) { return f == 55; }
bool IsSSSection(int f) { return f == 56; }
bool IsRSSection(int f) { return f == 57; }
bool IsSSection(int f) { return In(f, 55, 57); }

bool IsLSection(int f) { return In(f, 31, 40); }
bool IsLEQSection(int f) { return f == 31 || f == 36; }
bool IsLNESection(int f) { return f == 32 || f == 37; }
bool IsL2Section(int f) { return In(f, 33, 35) || In(f, 38, 40); }
bool IsLEQ2Section(int f) { return f == 33 || f == 38; }
bool IsLNE2Section(int f) { return f == 34 || f == 35 || f == 39 || f == 40; }
bool IsLNE2ASection(int f) { return f == 34 || f == 39; }
bool IsLNE2BSection(int f) { return f == 35 || f == 40; }
bool IsL2AlSection(int f) { return In(f, 38, 40); }
bool IsAlSection(int f) { return In(f, 36, 40) || f == 44; }

bool IsUSection(int f) { return In(f, 61, 63); }
bool IsTSection(int f) { return f == 98; }
bool IsWeldedSection(int f) { return f == 51; }
bool IsTaperedSection(int f) { return f == 80 || f == 81; }
bool IsCastellatedSection(int f) { return In(f, 100, 102); }
bool IsWallSection(int f) { return f == 103; }
bool IsTELMAROEC4SpecialSection(int f) { return f == 104; }
bool IsCorvexEC4SpecialSection(int f) { return f == 108 || f == 109; }
bool IsDexionSection(int f) { return In(f, 120, 123) || In(f, 130, 133); }

bool HasValidPRS(int f) { return f == 80 || f == 81 || f == 103 || f == 104 || f == 109; }

int GetProperFamilyId(int f) { return IsL2Section(f) ? 99 : f; }

short SetProperFamilyId(int f) {
  if (f == 31) return 33;
  if (f == 32) return 34;
  return static_cast<short>(f);
}

bool IsValidForLTB(int f) { return !(IsHSection(f) || IsLSection(f) || IsUSection(f)); }

bool IsValidForMDEC3Lepto(int f) { return IsLippedColdFormed(f) && f != 74; }

bool IsValidForMDEC3Composite(int f) { return f == 104; }

bool IsValidForMDEC3(int f) {
  return In(f, 12, 19) || In(f, 21, 24) || In(f, 31, 35) || In(f, 41, 43) || In(f, 46, 48) ||
         f == 51 || In(f, 61, 63) || f == 80 || f == 81 || f == 98 || f == 99 ||
         In(f, 100, 102) || f == 108 || f == 109 || In(f, 120, 123) || In(f, 130, 133) ||
         f == 195;
}

bool IsValidFamilyByFilter(long32 filter, int f) {
  // Filter numbers are the selection dialog's own, frozen with it.
  switch (filter) {
    case 102: return f == 31 || f == 36 || IsLNESection(f);
    case 107: return IsL2Section(f);
    case 109: return f == 55 || f == 56;
    case 117: return IsLSection(f);
    case 118: return IsISection(f);
    case 119: return IsHSection(f);
    case 120: return IsSHSection(f) || IsRHSection(f);
    default: return false;
  }
}
