#include "platform/TelKrnl.h"

#include <atomic>
#include <cmath>
#include <cstring>

#include "platform/Alloc.h"

char szGDirs[kGDirsSize] = "";

namespace {
std::atomic<int> g_uiLang{1};
constexpr double kOnSegmentTolerance = 0.001;
}  // namespace

float E_SgmLen3D(float x1, float y1, float z1, float x2, float y2, float z2) {
  double dx = static_cast<double>(x2) - x1;
  double dy = static_cast<double>(y2) - y1;
  double dz = static_cast<double>(z2) - z1;
  return static_cast<float>(std::sqrt(dx * dx + dy * dy + dz * dz));
}

int E_PntSgm3D(float px, float py, float pz, float x1, float y1, float z1, float x2, float y2,
               float z2) {
  double dx = static_cast<double>(x2) - x1, dy = static_cast<double>(y2) - y1,
         dz = static_cast<double>(z2) - z1;
  double wx = static_cast<double>(px) - x1, wy = static_cast<double>(py) - y1,
         wz = static_cast<double>(pz) - z1;
  double len2 = dx * dx + dy * dy + dz * dz;
  double t = len2 > 0.0 ? (wx * dx + wy * dy + wz * dz) / len2 : 0.0;
  if (t < 0.0) t = 0.0;
  if (t > 1.0) t = 1.0;
  double ex = wx - t * dx, ey = wy - t * dy, ez = wz - t * dz;
  return std::sqrt(ex * ex + ey * ey + ez * ez) <= kOnSegmentTolerance ? 1 : 0;
}

float Rads(float degrees) {
  return static_cast<float>(static_cast<double>(degrees) * (3.14159265358979323846 / 180.0));
}

void* l_Alloc(unsigned int size, int, const char*) { return telio::Calloc(1, size); }

void l_Free(void* block) { telio::Free(block); }

void SetGDirs(const char* folder) {
  std::size_t n = folder ? std::strlen(folder) : 0;
  if (n > kGDirsSize - 1) n = kGDirsSize - 1;
  if (n) std::memmove(szGDirs, folder, n);
  szGDirs[n] = '\0';
}

int Global_GetIniData(int) { return 1; }

int GetUILang() { return g_uiLang.load(std::memory_order_relaxed); }

void SetUILang(int language) { g_uiLang.store(language, std::memory_order_relaxed); }
