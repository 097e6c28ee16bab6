// Builds run-control (JOB), load-case name (NAM, DYN), count (DEN, DCM),
// combination (CMI) and activation (ACE) files byte by byte from their
// layout tables, for tests and seed inputs. Independent of the library's
// readers and writers.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "ByteWriter.h"

namespace telio_test {

// JOB: export type (20) filled with 0x30, 0x31, ..., ten i16 run words, 250
// carried bytes, then the i16 version and the given flag bytes.
ByteWriter JobHeader(int16_t version, const std::vector<uint8_t>& flags,
                     const std::array<int16_t, 10>& run = {});
// JOB trailing record (14): two bytes, an f32, eight zero bytes.
ByteWriter JobExtraRecord(uint8_t a, uint8_t b, float value);

// NAM / DYN: one name record (32) per text: the bytes as given, cut at 32,
// NUL-padded.
ByteWriter NameFile(const std::vector<std::string>& oemTexts);

// DEN / DCM: the leading i32 count and `tail` carried bytes.
ByteWriter CountFile(int32_t count, size_t tail = 0);

// CMI header record of `recordSize` bytes: count, linked count, version at
// 20, record-size word at 24, the other bytes a pattern.
ByteWriter CmiHeader(size_t recordSize, int32_t count, int32_t linked, int32_t version,
                     int32_t recordSizeWord);
// CMI combination record of `recordSize` bytes: n, the indexes, the
// factors (the vectors are written as given, whatever n says), the words
// as the version lays them out, zero padding up to the record's size (or
// nothing when the content already fills it).
ByteWriter CmiRecord(size_t recordSize, int32_t n, const std::vector<int32_t>& indexes,
                     const std::vector<float>& factors, int32_t version, uint16_t kind,
                     uint16_t link);

// ACE file: the four lists of `cmbSize`, `envSize`, `cmbSize`, `envSize`
// words. Activation lists default to 0xFFFF from entry 1 on, position
// lists to 0; the maps set single entries.
struct AceLayout {
  size_t cmbSize = 801, envSize = 10001;
  std::map<size_t, uint16_t> cmbAct, envAct, cmbPos, envPos;
};
ByteWriter AceFile(const AceLayout& model);

}  // namespace telio_test
