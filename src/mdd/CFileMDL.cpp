#include "mdd/CFileMDL.h"

#include <cstdint>
#include <cstring>

#include <sys/types.h>

#include "files/FileReading.h"
#include "platform/CPathObj.h"
#include "platform/Coding.h"
#include "platform/LastError.h"

CFileMDL::CFileMDL() { SetFileDefExt("MDL"); }

int CFileMDL::ReadTegida(const char* path, MDDStrucst::TEGIDA& out, int index) {
  int code = 0;
  std::FILE* f = OpenTegida(path, code);
  if (!f) return code;
  code = ReadTegidaRecord(f, out, index);
  std::fclose(f);
  return code;
}

std::FILE* CFileMDL::OpenTegida(const char* path, int& code) {
  code = 0;
  if (!path) return nullptr;
  CPathObj p(path);
  if (!p.ExistsPath() || !p.IsFileEXTOneOf("TGD")) return nullptr;
  std::FILE* f = telio::OpenFile(path, "rb");
  if (!f) code = static_cast<int>(telio::filereading::OpenFailure());
  return f;
}

int CFileMDL::ReadTegidaRecord(std::FILE* f, MDDStrucst::TEGIDA& out, int index) {
  std::memset(out.data, 0, sizeof out.data);
  if (index < 0) return static_cast<int>(telio::kErrorBadArguments);
  unsigned char rec[kTgdRecord] = {};
  const long long at = kTgdHeader + static_cast<long long>(kTgdRecord) * index;
  if (fseeko(f, static_cast<off_t>(at), SEEK_SET) == 0) {
    size_t got = std::fread(rec, 1, sizeof rec, f);
    (void)got;  // a short record leaves zeros
  }

  using telio::DecodeFixed16;
  using telio::DecodeFloat;
  auto i16 = [&rec](size_t o) { return static_cast<long32>(static_cast<int16_t>(DecodeFixed16(rec + o))); };
  auto i8 = [&rec](size_t o) { return static_cast<long32>(static_cast<int8_t>(rec[o])); };
  out.SetInt(0, i16(0));
  out.SetDouble(4, DecodeFloat(rec + 2));
  out.SetInt(12, i8(6));
  out.SetDouble(16, DecodeFloat(rec + 7));
  // Truncated toward zero; values beyond 32 bits saturate rather than wrap.
  const double count = DecodeFloat(rec + 11);
  long32 whole = 0;
  if (count >= 2147483647.0) {
    whole = INT32_MAX;
  } else if (count <= -2147483648.0) {
    whole = INT32_MIN;
  } else if (count == count) {  // NaN gives 0
    whole = static_cast<long32>(count);
  }
  out.SetInt(24, whole);
  out.SetInt(28, i16(15));
  for (size_t k = 1; k <= MDDStrucst::TEGIDA::kShortTable; ++k) {
    out.SetDouble(24 + 8 * k, DecodeFloat(rec + 17 + 4 * k));
    out.SetInt(188 + 4 * k, i16(97 + 2 * k));
  }
  for (size_t k = 1; k <= MDDStrucst::TEGIDA::kLongTable; ++k) {
    out.SetDouble(264 + 8 * k, DecodeFloat(rec + 137 + 4 * k));
    out.SetInt(6676 + 4 * k, i8(3341 + k));
  }
  std::memcpy(out.data + 9884, rec + 4142, 8);
  return 0;
}
