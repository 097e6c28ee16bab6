#include "files/CFileJOB.h"

#include <atomic>
#include <cstring>

#include "files/ExportFile.h"
#include "files/FileReading.h"
#include "platform/CException.h"
#include "platform/CPathObj.h"
#include "platform/Coding.h"
#include "platform/LastError.h"

namespace {

// Versions whose flag block is longer than the EAK byte alone (frozen: the
// analysis program writes them).
constexpr int kVersion2047 = 2047;
constexpr int kVersion2048 = 2048;
constexpr int kVersion2049 = 2049;
constexpr int kVersion2050 = 2050;

constexpr ulong32 kMaxLCEDefault = 400;
constexpr ulong32 kMaxLCEEak = 20803;

// Relaxed atomic: a plain global in effect, without a data race for hosts
// that read it from another thread.
std::atomic<ulong32> g_maxLCE{0};

int FlagCount(int version) {
  switch (version) {
    case kVersion2047: return 3;
    case kVersion2048:
    case kVersion2049: return 4;
    case kVersion2050: return 5;
    default: return 1;
  }
}

}  // namespace

CFileJOB::CFileJOB() {
  SetFileDefExt("JOB");
  Close();
}

CFileJOB::CFileJOB(const CFileJOB& other) : CFileBase(other) {
  SetFileDefExt("JOB");
  Close();
  CopyFields(other);
}

CFileJOB& CFileJOB::operator=(const CFileJOB& other) {
  if (this != &other) CopyFields(other);
  return *this;
}

CFileJOB::~CFileJOB() { Close(); }

void CFileJOB::CopyFields(const CFileJOB& other) {
  extra_ = other.extra_;
  std::memcpy(runStatus_, other.runStatus_, sizeof(runStatus_));
  std::memcpy(exportType_, other.exportType_, sizeof(exportType_));
  version_ = other.version_;
  eak_ = other.eak_;
  diaph_ = other.diaph_;
  eccen_ = other.eccen_;
  structEccen_ = other.structEccen_;
  tgv_ = other.tgv_;
}

int CFileJOB::NewFile(const char* path) {
  Close();
  if (path) SetFilePath(path, false);
  return 1;
}

void CFileJOB::Close() {
  Init();
  std::memset(runStatus_, 0, sizeof(runStatus_));
  std::memset(exportType_, 0, sizeof(exportType_));
  version_ = 0;
  eak_ = diaph_ = eccen_ = structEccen_ = tgv_ = 0;
  extra_.RemoveAll();
}

ulong32 CFileJOB::Import(const char* path) {
  if (!NewFile(nullptr)) return 1;
  if (!SetFilePath(path, true)) return telio::filereading::OpenFailure();
  std::FILE* f = telio::OpenFile(path, "rb");
  if (!f) {
    Close();
    return telio::filereading::OpenFailure();
  }

  // The header's reads are not tested: a short header leaves the rest zero.
  // Only a stream fault (not the end of the file) is remembered.
  ulong32 fault = 0;
  auto readPart = [&](void* buf, unsigned n) -> bool {
    if (fault != 0) return false;
    ulong32 code = FReadBuff(f, buf, 1, n);
    if (code != 0 && code != telio::kErrorHandleEof) fault = code;
    return code == 0;
  };

  unsigned char head[kExportTypeSize + 2 * kRunStatusWords] = {};
  readPart(head, sizeof(head));
  std::memcpy(exportType_, head, kExportTypeSize);
  for (int i = 0; i < kRunStatusWords; ++i) {
    runStatus_[i] = static_cast<short>(telio::DecodeFixed16(head + kExportTypeSize + 2 * i));
  }
  unsigned char skipped[kHeaderSkipped];
  readPart(skipped, sizeof(skipped));

  unsigned char word[2] = {};
  if (readPart(word, 2)) {
    version_ = static_cast<int16_t>(telio::DecodeFixed16(word));
    unsigned char flags[5] = {};
    readPart(flags, static_cast<unsigned>(FlagCount(version_)));
    eak_ = static_cast<char>(flags[0]);
    diaph_ = static_cast<char>(flags[1]);
    eccen_ = static_cast<char>(flags[2]);
    structEccen_ = static_cast<char>(flags[3]);
    tgv_ = static_cast<char>(flags[4]);
    if (version_ == kVersion2050) SetMaxLCE(eak_ != 0 ? kMaxLCEEak : kMaxLCEDefault);
  }

  // Records until the end of the file. The array grows with the records
  // actually read, so memory follows the file's real length.
  ulong32 result = fault;
  while (result == 0) {
    LoadingCaseExtraData rec{};
    ulong32 code = FReadBuff(f, rec.data, LoadingCaseExtraData::kSize, 1);
    if (code == telio::kErrorHandleEof) break;  // a partial last record is dropped
    if (code != 0) {
      result = code;
      break;
    }
    try {
      extra_.Add(rec);
    } catch (CException*) {
      result = telio::kErrorNotEnoughMemory;
    }
  }
  if (result == 0 && std::ferror(f)) result = telio::StreamErrorCode(f, false);
  std::fclose(f);
  return result;
}

ulong32 CFileJOB::Export(const char* path) {
  if (!path) return 1;
  if (!SetFilePath(path, false)) return telio::filereading::OpenFailure();
  // Nothing is written: the saved file is empty, replaced as every save is.
  telio::ExportFile out(path);
  if (!out.get()) return out.OpenError();
  return out.Commit(0);
}

ulong32 CFileJOB::WriteBlock(std::FILE* stream, long32 offset, const unsigned char* bytes) {
  std::FILE* f = stream;
  if (!f) {
    if (GetFilePath().IsEmpty()) return telio::kErrorFileNotFound;
    f = telio::OpenFile(GetFilePath().GetString(), "r+b");
    if (!f) return telio::filereading::OpenFailure();
  }
  ulong32 code = FileSetPositionAt(f, offset);
  if (code == 0) {
    unsigned char block[20];
    std::memcpy(block, bytes, sizeof(block));
    code = FWriteBuff(f, block, sizeof(block), 1);
  }
  if (!stream) {
    if (std::fclose(f) != 0 && code == 0) code = telio::SetLastErrorFromErrno();
  }
  return code;
}

ulong32 CFileJOB::WriteExportType(std::FILE* stream) {
  return WriteBlock(stream, kExportTypeOffset, exportType_);
}

ulong32 CFileJOB::WriteRunStatus(std::FILE* stream) {
  unsigned char block[2 * kRunStatusWords];
  for (int i = 0; i < kRunStatusWords; ++i) {
    telio::EncodeFixed16(block + 2 * i, static_cast<uint16_t>(runStatus_[i]));
  }
  return WriteBlock(stream, kRunStatusOffset, block);
}

void CFileJOB::SetExportType(const unsigned char (&bytes)[kExportTypeSize]) {
  std::memcpy(exportType_, bytes, kExportTypeSize);
}

int CFileJOB::AnyRun(int first, int last) const {
  for (int i = first; i <= last; ++i) {
    if (runStatus_[i] != 0) return 1;
  }
  return 0;
}

int CFileJOB::GetRunStatus(int index) const {
  return index >= 0 && index < kRunStatusWords ? runStatus_[index] : 0;
}

void CFileJOB::SetRunStatus(int index, short value) {
  if (index >= 0 && index < kRunStatusWords) runStatus_[index] = value;
}

ulong32 CFileJOB::MaxLCE() { return g_maxLCE.load(std::memory_order_relaxed); }

void CFileJOB::SetMaxLCE(ulong32 value) { g_maxLCE.store(value, std::memory_order_relaxed); }
