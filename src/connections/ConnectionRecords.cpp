#include "connections/ConnectionRecords.h"

#include "platform/FieldText.h"

namespace telio {

CString RecText(const unsigned char* r, int off, int width) {
  return ReadFieldText(r + off, static_cast<size_t>(width));
}

void SetRecText(unsigned char* r, int off, int width, const char* text) {
  WriteFieldText(r + off, static_cast<size_t>(width), text);
}

}  // namespace telio

CONN_REC* ASS_REC::GetConnection(int j) const {
  return connections && j >= 1 && j <= ConnectionCount() ? &connections[j] : nullptr;
}
