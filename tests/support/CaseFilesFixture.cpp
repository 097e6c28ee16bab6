#include "CaseFilesFixture.h"

namespace telio_test {

ByteWriter JobHeader(int16_t version, const std::vector<uint8_t>& flags,
                     const std::array<int16_t, 10>& run) {
  ByteWriter w;
  for (int i = 0; i < 20; ++i) w.u8(static_cast<uint8_t>(0x30 + i));  // 0: export type
  for (int16_t v : run) w.i16(v);                                           // 20: run status
  w.fill(250, 0xA5);                                                        // 40: carried
  w.i16(version);                                                           // 290: version
  for (uint8_t f : flags) w.u8(f);                                          // 292: flags
  return w;
}

ByteWriter JobExtraRecord(uint8_t a, uint8_t b, float value) {
  ByteWriter w;
  w.u8(a).u8(b).f32(value).zeros(8);
  return w;
}

static ByteWriter NameRecord(const std::string& oemText) {
  ByteWriter w;
  w.text(oemText, 32);
  return w;
}

ByteWriter NameFile(const std::vector<std::string>& oemTexts) {
  ByteWriter w;
  for (const std::string& s : oemTexts) w.append(NameRecord(s));
  return w;
}

ByteWriter CountFile(int32_t count, size_t tail) {
  ByteWriter w;
  w.i32(count).fill(tail, 0x5A);
  return w;
}

ByteWriter CmiHeader(size_t recordSize, int32_t count, int32_t linked, int32_t version,
                     int32_t recordSizeWord) {
  ByteWriter w;
  w.i32(count).i32(linked);                       // 0, 4
  for (int i = 8; i < 20; ++i) w.u8(static_cast<uint8_t>(i));  // 8: carried
  w.i32(version).i32(recordSizeWord);             // 20, 24
  for (size_t i = 28; i < recordSize; ++i) w.u8(static_cast<uint8_t>(i * 7));
  return w;
}

ByteWriter CmiRecord(size_t recordSize, int32_t n, const std::vector<int32_t>& indexes,
                     const std::vector<float>& factors, int32_t version, uint16_t kind,
                     uint16_t link) {
  ByteWriter w;
  w.i32(n);
  for (int32_t v : indexes) w.i32(v);
  for (float v : factors) w.f32(v);
  if (version == 12) {
    w.u16(kind).u16(link);
  } else if (version == 11) {
    w.u8(static_cast<uint8_t>(kind)).u8(static_cast<uint8_t>(link));
  }
  if (w.size() < recordSize) w.zeros(recordSize - w.size());
  return w;
}

ByteWriter AceFile(const AceLayout& model) {
  auto list = [](ByteWriter& w, size_t size, const std::map<size_t, uint16_t>& set, uint16_t dflt) {
    for (size_t i = 0; i < size; ++i) {
      auto it = set.find(i);
      w.u16(it != set.end() ? it->second : (i == 0 ? 0 : dflt));
    }
  };
  ByteWriter w;
  list(w, model.cmbSize, model.cmbAct, 0xFFFF);
  list(w, model.envSize, model.envAct, 0xFFFF);
  list(w, model.cmbSize, model.cmbPos, 0);
  list(w, model.envSize, model.envPos, 0);
  return w;
}

}  // namespace telio_test
