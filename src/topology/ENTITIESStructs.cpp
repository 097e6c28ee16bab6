#include "topology/ENTITIESStructs.h"

#include <cstring>

namespace ENTITIESStructs {

namespace {

// Copies text into a fixed name field, NUL-terminated and cut to fit.
void CopyName(char* field, std::size_t size, const char* text) {
  std::memset(field, 0, size);
  if (!text) return;
  std::size_t n = std::strlen(text);
  if (n > size - 1) n = size - 1;
  std::memcpy(field, text, n);
}

}  // namespace

void Section::SetName(const char* text) { CopyName(name, sizeof name, text); }

void Material::SetName(const char* text) { CopyName(name, sizeof name, text); }

void LoadingCase::SetName(const char* text) { CopyName(name, sizeof name, text); }

}  // namespace ENTITIESStructs
