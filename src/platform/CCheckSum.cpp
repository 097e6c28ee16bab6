#include "platform/CCheckSum.h"

#include <cstring>

#include "platform/Coding.h"

namespace {

// Slicing-by-8 tables for the reflected Castagnoli polynomial, built once.
struct Crc32cTables {
  std::uint32_t t[8][256];
  Crc32cTables() {
    for (std::uint32_t i = 0; i < 256; ++i) {
      std::uint32_t c = i;
      for (int k = 0; k < 8; ++k) c = (c & 1) ? (c >> 1) ^ 0x82F63B78u : c >> 1;
      t[0][i] = c;
    }
    for (std::uint32_t i = 0; i < 256; ++i) {
      for (int s = 1; s < 8; ++s) t[s][i] = (t[s - 1][i] >> 8) ^ t[0][t[s - 1][i] & 0xFF];
    }
  }
};

const Crc32cTables& Tables() {
  static const Crc32cTables tables;
  return tables;
}

}  // namespace

void CCheckSum::AddBytes(const void* data, std::size_t size) {
  if (!data || size == 0) return;
  const Crc32cTables& tb = Tables();
  const unsigned char* p = static_cast<const unsigned char*>(data);
  std::uint32_t c = state_;
  while (size >= 8) {
    std::uint32_t lo = telio::DecodeFixed32(p) ^ c;
    std::uint32_t hi = telio::DecodeFixed32(p + 4);
    c = tb.t[7][lo & 0xFF] ^ tb.t[6][(lo >> 8) & 0xFF] ^ tb.t[5][(lo >> 16) & 0xFF] ^
        tb.t[4][lo >> 24] ^ tb.t[3][hi & 0xFF] ^ tb.t[2][(hi >> 8) & 0xFF] ^
        tb.t[1][(hi >> 16) & 0xFF] ^ tb.t[0][hi >> 24];
    p += 8;
    size -= 8;
  }
  while (size--) c = tb.t[0][(c ^ *p++) & 0xFF] ^ (c >> 8);
  state_ = c;
}

void CCheckSum::AddU32(std::uint32_t v) {
  unsigned char b[4];
  telio::EncodeFixed32(b, v);
  AddBytes(b, 4);
}

void CCheckSum::AddF64(double v) {
  unsigned char b[8];
  telio::EncodeDouble(b, v);
  AddBytes(b, 8);
}
