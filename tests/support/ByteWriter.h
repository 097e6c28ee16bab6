// Builds binary fixtures byte by byte from the documented record layouts.
// Tests use it instead of the library's writers, so a reader is checked
// against the layout and not against its own code.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace telio_test {

class ByteWriter {
 public:
  ByteWriter& u8(uint8_t v);
  ByteWriter& u16(uint16_t v);
  ByteWriter& i16(int16_t v) { return u16(static_cast<uint16_t>(v)); }
  ByteWriter& u32(uint32_t v);
  ByteWriter& i32(int32_t v) { return u32(static_cast<uint32_t>(v)); }
  ByteWriter& u64(uint64_t v);
  ByteWriter& f32(float v);
  ByteWriter& f64(double v);
  ByteWriter& zeros(size_t n);
  ByteWriter& fill(size_t n, uint8_t v);
  ByteWriter& bytes(const void* p, size_t n);
  ByteWriter& append(const ByteWriter& other);
  // A text field of exactly width bytes, NUL-padded (cut at width).
  ByteWriter& text(const std::string& s, size_t width);

  // Overwrites already written bytes at an offset (for patching counts).
  void put_u8(size_t at, uint8_t v);
  void put_u16(size_t at, uint16_t v);
  void put_u32(size_t at, uint32_t v);

  size_t size() const { return buf_.size(); }
  const std::vector<uint8_t>& data() const { return buf_; }
  std::vector<uint8_t>& data() { return buf_; }

  // Writes the bytes (or the first n of them) to a file; throws on failure.
  void WriteTo(const std::string& path) const;
  void WriteTo(const std::string& path, size_t n) const;

 private:
  std::vector<uint8_t> buf_;
};

// Whole-file helpers.
std::vector<uint8_t> ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, const std::vector<uint8_t>& bytes);

}  // namespace telio_test
