#include "topology/ENTITIESStructs.h"

#include <cstring>

namespace ENTITIESStructs {

void CopyItemName(char* field, std::size_t size, const char* text) {
  std::memset(field, 0, size);
  if (!text) return;
  std::size_t n = std::strlen(text);
  if (n > size - 1) n = size - 1;
  std::memcpy(field, text, n);
}

}  // namespace ENTITIESStructs
