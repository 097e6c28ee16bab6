#include "connections/ConnectionRecords.h"

#include <algorithm>

namespace telio {

CString RecText(const unsigned char* r, int off, int width) {
  const char* p = reinterpret_cast<const char*>(r + off);
  int n = 0;
  while (n < width && p[n] != '\0') ++n;
  return CString(p, n);
}

void SetRecText(unsigned char* r, int off, int width, const char* text) {
  std::fill(r + off, r + off + width, 0);
  if (!text) return;
  for (int i = 0; i + 1 < width && text[i] != '\0'; ++i)
    r[off + i] = static_cast<unsigned char>(text[i]);
}

}  // namespace telio

CONN_REC* ASS_REC::GetConnection(int j) const {
  return connections && j >= 1 && j <= ConnectionCount() ? &connections[j] : nullptr;
}
