// Loads a section catalogue file made of arbitrary bytes. The input is the
// only file of one reused catalogue folder, since the catalogue is loaded
// from a folder. A file that loads must answer for every section it holds:
// the section is found by its key and by its name, and its properties are
// finite. When it holds an angle, a pair of it is added, written back and
// found again after a reload.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/LastError.h"
#include "sections/CSectionFiles.h"

#include "FuzzScratch.h"

namespace {

using fuzz_scratch::Folder;

bool Finite(const CSectionData& d) {
  const double v[] = {d.A, d.Avy, d.Avz, d.Iy, d.Iz, d.Iu, d.Iv, d.Wely, d.Welz, d.Wply, d.Wplz, d.It, d.Iw, d.G};
  for (double x : v) {
    if (!std::isfinite(x)) return false;
  }
  return d.A > 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string dir = Folder() + "/FilesSectionDB";
  static const bool made = std::filesystem::create_directories(dir);
  (void)made;
  const std::string user = dir + "/" + kUserCatalogueFile;
  std::remove(user.c_str());
  std::FILE* f = std::fopen((dir + "/IN.SEC").c_str(), "wb");
  if (!f) return 0;
  if (size) std::fwrite(data, 1, size, f);
  std::fclose(f);

  const std::string pattern = Folder() + "\\FilesSectionDB\\*.SEC";
  CSectionFiles cat;
  if (cat.Load(pattern.c_str()) != 0) {
    if (cat.GetCount() != 0 || cat.GetLoadError().IsEmpty()) __builtin_trap();
    return 0;
  }
  const CSectionData* angle = nullptr;
  for (int i = 0; i < cat.GetCount(); ++i) {
    const CSectionData* d = cat.GetAt(i);
    CSectionData byKey;
    if (!cat.GetSectionData(d->key, &byKey) || byKey.key != d->key) __builtin_trap();
    if (cat.FindSection(d->name) != d->key || !Finite(*d)) __builtin_trap();
    if (!angle && d->shape == kShapeAngle && (d->family == 31 || d->family == 32)) angle = d;
  }
  if (angle) {
    const int family = angle->family;
    const CString name = angle->Name();
    const ulong32 key = cat.InsertCompositeSection(family, name, kPairBackToBack, 10);
    // Refused only when the pair's name already stands for other data.
    if (key == 0) {
      if (telio::GetLastError() != telio::kErrorBadArguments) __builtin_trap();
      std::remove(user.c_str());
      return 0;
    }
    const CString pairName = cat.GetSectionName(key);
    CSectionFiles again;
    if (again.Load(pattern.c_str()) != 0 || again.FindSection(pairName) != key) __builtin_trap();
  }
  std::remove(user.c_str());
  return 0;
}
