// Shared by the fuzz targets of the design-model records, which read and
// write streams: arbitrary bytes as a stream, and a record saved to memory
// and loaded back.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace fuzz_records {

// The bytes as a stream to read (an empty one for no bytes).
inline FILE* OpenBytes(const uint8_t* data, size_t size) {
  static const char kNothing[1] = {0};
  if (size == 0) return fmemopen(const_cast<char*>(kNothing), 1, "rb");
  return fmemopen(const_cast<uint8_t*>(data), size, "rb");
}

enum class Trip { kNotSaved, kNotLoaded, kLoaded };

// Saves object into memory and loads what it wrote into fresh.
template <class T, class U>
Trip SaveAndLoad(T& object, U& fresh) {
  char* buffer = nullptr;
  size_t length = 0;
  FILE* out = open_memstream(&buffer, &length);
  if (!out) return Trip::kNotSaved;
  const bool saved = object.Serialize(out, false);
  std::fclose(out);
  Trip trip = Trip::kNotSaved;
  if (saved) {
    FILE* in = OpenBytes(reinterpret_cast<const uint8_t*>(buffer), length);
    trip = in && length > 0 && fresh.Serialize(in, true) ? Trip::kLoaded : Trip::kNotLoaded;
    if (in) std::fclose(in);
  }
  free(buffer);
  return trip;
}

}  // namespace fuzz_records
