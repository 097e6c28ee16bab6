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

// Saves object and loads it into fresh: true when both worked. Lenient: a
// record that saves but does not load back is let pass.
template <class T, class U>
bool Reload(T& object, U& fresh) {
  return SaveAndLoad(object, fresh) == Trip::kLoaded;
}

// The same, strict: what object saves must load back.
template <class T, class U>
bool MustReload(T& object, U& fresh) {
  const Trip trip = SaveAndLoad(object, fresh);
  if (trip == Trip::kNotLoaded) __builtin_trap();
  return trip == Trip::kLoaded;
}

// A reload must keep object's checksum; lenient and strict as above.
template <class T, class U>
void RoundTrip(T& object, U& fresh) {
  if (Reload(object, fresh) && fresh.CheckSum() != object.CheckSum()) __builtin_trap();
}

template <class T, class U>
void MustRoundTrip(T& object, U& fresh) {
  if (MustReload(object, fresh) && fresh.CheckSum() != object.CheckSum()) __builtin_trap();
}

}  // namespace fuzz_records
