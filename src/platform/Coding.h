// Little-endian encoding of fixed-width values on byte buffers.
//
// Every value that goes to a file or into a checksum passes through these
// helpers, so the bytes are the same on any host. They never cast a buffer
// pointer to a wider type: memcpy of the assembled value is both portable
// and as fast as a plain load on the compilers we use.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace telio {

inline void EncodeFixed16(unsigned char* dst, uint16_t v) {
  dst[0] = static_cast<unsigned char>(v);
  dst[1] = static_cast<unsigned char>(v >> 8);
}

inline void EncodeFixed32(unsigned char* dst, uint32_t v) {
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
  std::memcpy(dst, &v, sizeof v);  // one store where the byte stores are not merged
#else
  dst[0] = static_cast<unsigned char>(v);
  dst[1] = static_cast<unsigned char>(v >> 8);
  dst[2] = static_cast<unsigned char>(v >> 16);
  dst[3] = static_cast<unsigned char>(v >> 24);
#endif
}

inline void EncodeFixed64(unsigned char* dst, uint64_t v) {
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
  std::memcpy(dst, &v, sizeof v);  // one store where the byte stores are not merged
#else
  EncodeFixed32(dst, static_cast<uint32_t>(v));
  EncodeFixed32(dst + 4, static_cast<uint32_t>(v >> 32));
#endif
}

inline uint16_t DecodeFixed16(const unsigned char* p) {
  return static_cast<uint16_t>(p[0] | (p[1] << 8));
}

inline uint32_t DecodeFixed32(const unsigned char* p) {
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
  uint32_t v;
  std::memcpy(&v, p, sizeof v);
  return v;
#else
  return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
         (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
#endif
}

inline uint64_t DecodeFixed64(const unsigned char* p) {
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
  uint64_t v;
  std::memcpy(&v, p, sizeof v);
  return v;
#else
  return static_cast<uint64_t>(DecodeFixed32(p)) |
         (static_cast<uint64_t>(DecodeFixed32(p + 4)) << 32);
#endif
}

inline void EncodeFloat(unsigned char* dst, float v) {
  uint32_t bits;
  std::memcpy(&bits, &v, sizeof bits);
  EncodeFixed32(dst, bits);
}

inline float DecodeFloat(const unsigned char* p) {
  uint32_t bits = DecodeFixed32(p);
  float v;
  std::memcpy(&v, &bits, sizeof v);
  return v;
}

inline void EncodeDouble(unsigned char* dst, double v) {
  uint64_t bits;
  std::memcpy(&bits, &v, sizeof bits);
  EncodeFixed64(dst, bits);
}

inline double DecodeDouble(const unsigned char* p) {
  uint64_t bits = DecodeFixed64(p);
  double v;
  std::memcpy(&v, &bits, sizeof v);
  return v;
}

// n little-endian values from src into dst. On little-endian hosts the
// bytes are already the values: one copy. dst and src may be the same bytes.
template <class T>
inline void DecodeArray(T* dst, const unsigned char* src, size_t n, T (*decode)(const unsigned char*)) {
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
  (void)decode;
  std::memmove(dst, src, n * sizeof(T));
#else
  for (size_t i = 0; i < n; ++i) dst[i] = decode(src + sizeof(T) * i);
#endif
}

inline void DecodeFloats(float* dst, const unsigned char* src, size_t n) {
  DecodeArray<float>(dst, src, n, static_cast<float (*)(const unsigned char*)>(DecodeFloat));
}

inline void DecodeFixed16s(uint16_t* dst, const unsigned char* src, size_t n) {
  DecodeArray<uint16_t>(dst, src, n, static_cast<uint16_t (*)(const unsigned char*)>(DecodeFixed16));
}

inline void EncodeFixed16s(unsigned char* dst, const uint16_t* src, size_t n) {
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
  std::memmove(dst, src, n * sizeof(uint16_t));
#else
  for (size_t i = 0; i < n; ++i) {
    const uint16_t v = src[i];
    EncodeFixed16(dst + 2 * i, v);
  }
#endif
}

// Overloads for char buffers, which is what records hold.
inline void EncodeFixed16(char* d, uint16_t v) { EncodeFixed16(reinterpret_cast<unsigned char*>(d), v); }
inline void EncodeFixed32(char* d, uint32_t v) { EncodeFixed32(reinterpret_cast<unsigned char*>(d), v); }
inline void EncodeFixed64(char* d, uint64_t v) { EncodeFixed64(reinterpret_cast<unsigned char*>(d), v); }
inline void EncodeFloat(char* d, float v) { EncodeFloat(reinterpret_cast<unsigned char*>(d), v); }
inline void EncodeDouble(char* d, double v) { EncodeDouble(reinterpret_cast<unsigned char*>(d), v); }
inline uint16_t DecodeFixed16(const char* p) { return DecodeFixed16(reinterpret_cast<const unsigned char*>(p)); }
inline uint32_t DecodeFixed32(const char* p) { return DecodeFixed32(reinterpret_cast<const unsigned char*>(p)); }
inline uint64_t DecodeFixed64(const char* p) { return DecodeFixed64(reinterpret_cast<const unsigned char*>(p)); }
inline float DecodeFloat(const char* p) { return DecodeFloat(reinterpret_cast<const unsigned char*>(p)); }
inline double DecodeDouble(const char* p) { return DecodeDouble(reinterpret_cast<const unsigned char*>(p)); }

}  // namespace telio
