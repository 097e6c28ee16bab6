#include "files/NameRecord.h"

#include <cstring>

#include "platform/CodePage.h"

namespace telio {
namespace namerecord {

CString Decode(char (&rec)[kSize]) {
  rec[kSize - 1] = '\0';
  OemToCharBuffA(rec, rec, kSize);
  return CString(rec, static_cast<int>(std::strlen(rec)));
}

void Encode(const CString& name, char (&rec)[kSize]) {
  std::memset(rec, 0, kSize);
  int n = name.GetLength();
  if (n > kSize - 1) n = kSize - 1;
  std::memcpy(rec, name.GetString(), static_cast<size_t>(n));
  CharToOemBuffA(rec, rec, kSize);
}

}  // namespace namerecord
}  // namespace telio
