#include "ByteWriter.h"

#include <cstdio>
#include <cstring>
#include <stdexcept>

namespace telio_test {

ByteWriter& ByteWriter::u8(uint8_t v) {
  buf_.push_back(v);
  return *this;
}

ByteWriter& ByteWriter::u16(uint16_t v) {
  buf_.push_back(static_cast<uint8_t>(v));
  buf_.push_back(static_cast<uint8_t>(v >> 8));
  return *this;
}

ByteWriter& ByteWriter::u32(uint32_t v) {
  for (int i = 0; i < 4; ++i) buf_.push_back(static_cast<uint8_t>(v >> (8 * i)));
  return *this;
}

ByteWriter& ByteWriter::u64(uint64_t v) {
  for (int i = 0; i < 8; ++i) buf_.push_back(static_cast<uint8_t>(v >> (8 * i)));
  return *this;
}

ByteWriter& ByteWriter::f32(float v) {
  uint32_t bits;
  std::memcpy(&bits, &v, 4);
  return u32(bits);
}

ByteWriter& ByteWriter::f64(double v) {
  uint64_t bits;
  std::memcpy(&bits, &v, 8);
  return u64(bits);
}

ByteWriter& ByteWriter::zeros(size_t n) { return fill(n, 0); }

ByteWriter& ByteWriter::fill(size_t n, uint8_t v) {
  buf_.insert(buf_.end(), n, v);
  return *this;
}

ByteWriter& ByteWriter::bytes(const void* p, size_t n) {
  const uint8_t* b = static_cast<const uint8_t*>(p);
  buf_.insert(buf_.end(), b, b + n);
  return *this;
}

ByteWriter& ByteWriter::append(const ByteWriter& other) {
  buf_.insert(buf_.end(), other.buf_.begin(), other.buf_.end());
  return *this;
}

ByteWriter& ByteWriter::text(const std::string& s, size_t width) {
  size_t n = s.size() < width ? s.size() : width;
  bytes(s.data(), n);
  return zeros(width - n);
}

void ByteWriter::put_u8(size_t at, uint8_t v) { buf_.at(at) = v; }

void ByteWriter::put_u16(size_t at, uint16_t v) {
  buf_.at(at) = static_cast<uint8_t>(v);
  buf_.at(at + 1) = static_cast<uint8_t>(v >> 8);
}

void ByteWriter::put_u32(size_t at, uint32_t v) {
  for (size_t i = 0; i < 4; ++i) buf_.at(at + i) = static_cast<uint8_t>(v >> (8 * i));
}

void ByteWriter::WriteTo(const std::string& path) const { WriteTo(path, buf_.size()); }

void ByteWriter::WriteTo(const std::string& path, size_t n) const {
  if (n > buf_.size()) n = buf_.size();
  std::vector<uint8_t> part(buf_.begin(), buf_.begin() + static_cast<long>(n));
  WriteFileBytes(path, part);
}

std::vector<uint8_t> ReadFileBytes(const std::string& path) {
  FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) throw std::runtime_error("cannot open " + path);
  std::vector<uint8_t> out;
  uint8_t chunk[65536];
  size_t n;
  while ((n = std::fread(chunk, 1, sizeof chunk, f)) > 0) out.insert(out.end(), chunk, chunk + n);
  std::fclose(f);
  return out;
}

void WriteFileBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
  // A new file rather than a truncated one: file systems flush a file that
  // is truncated and written again on close, which slows sweeps that write
  // thousands of cut files.
  std::remove(path.c_str());
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) throw std::runtime_error("cannot create " + path);
  if (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), f) != bytes.size()) {
    std::fclose(f);
    throw std::runtime_error("cannot write " + path);
  }
  std::fclose(f);
}

}  // namespace telio_test
