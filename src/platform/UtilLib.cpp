#include "platform/UtilLib.h"

#include <cstring>

#include "platform/Alloc.h"

void* Gl_Alloc(unsigned int size) { return telio::Calloc(1, size); }

CString STRConvertA(const char* text) { return CString(text); }

char* tstr_cpy2str(const char* src, char* dst) {
  if (!dst) return dst;
  if (!src) {
    dst[0] = '\0';
    return dst;
  }
  std::memmove(dst, src, std::strlen(src) + 1);
  return dst;
}
