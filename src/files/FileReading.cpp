#include "files/FileReading.h"

#include "files/CFileBase.h"
#include "platform/Coding.h"

namespace telio {
namespace filereading {

ulong32 ReadLeadingCountAndClose(std::FILE* f, long32* count) {
  unsigned char word[4];
  ulong32 code = FReadBuff(f, word, sizeof(word), 1);
  if (code == 0) *count = static_cast<long32>(DecodeFixed32(word));
  if (code == kErrorHandleEof) code = 0;
  std::fclose(f);
  return code;
}

}  // namespace filereading
}  // namespace telio
