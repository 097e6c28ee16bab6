#include "sections/CSectionData.h"

#include <cstring>

namespace {

void CopyName(char* dst, const char* text) {
  size_t n = text ? std::strlen(text) : 0;
  if (n > CSectionData::kNameSize - 1) n = CSectionData::kNameSize - 1;
  if (n) std::memcpy(dst, text, n);
  std::memset(dst + n, 0, CSectionData::kNameSize - n);
}

}  // namespace

void CSectionData::Clear() {
  key = 0;
  family = 0;
  shape = kShapeNone;
  fileIndex = -1;
  line = 0;
  std::memset(name, 0, sizeof name);
  std::memset(baseName, 0, sizeof baseName);
  h = b = tw = tf = r1 = r2 = b2 = tf2 = slope = tfAt = spacing = 0.0;
  arrangement = 0;
  A = Avy = Avz = Iy = Iz = Iyz = Iu = Iv = 0.0;
  Wely = Welz = Wply = Wplz = iy = iz = iu = iv = 0.0;
  It = Iw = ey = ez = G = 0.0;
}

void CSectionData::SetName(const char* text) { CopyName(name, text); }

void CSectionData::SetBaseName(const char* text) { CopyName(baseName, text); }
