#include "files/ExportFile.h"

#include <cerrno>
#include <cstdio>

#include "platform/LastError.h"
#include "platform/PathCase.h"

namespace telio {

ExportFile::ExportFile(const char* path) {
  if (!path || !*path) {
    openError_ = kErrorFileNotFound;
    SetLastError(openError_);
    return;
  }
  target_ = ResolvePathCase(path);
  temp_ = target_ + ".telio-partial";
  errno = 0;
  stream_ = std::fopen(temp_.c_str(), "wb");
  if (!stream_) {
    if (errno == 0) errno = ENOENT;
    openError_ = SetLastErrorFromErrno();
  }
}

ExportFile::~ExportFile() { Discard(); }

void ExportFile::Discard() {
  if (stream_) {
    std::fclose(stream_);
    stream_ = nullptr;
    std::remove(temp_.c_str());
  }
}

ulong32 ExportFile::Commit(ulong32 code) {
  if (!stream_) return code != 0 ? code : (openError_ != 0 ? openError_ : kErrorInvalidHandle);
  if (code != 0) {
    Discard();
    return code;
  }
  errno = 0;
  const bool flushed = std::fflush(stream_) == 0 && !std::ferror(stream_);
  const int flushErrno = errno;
  errno = 0;
  const bool closed = std::fclose(stream_) == 0;
  stream_ = nullptr;
  if (!flushed || !closed) {
    ulong32 err = ErrnoToSystemError(!flushed ? flushErrno : errno);
    if (err == 0) err = kErrorWriteFault;
    SetLastError(err);
    std::remove(temp_.c_str());
    return err;
  }
  if (std::rename(temp_.c_str(), target_.c_str()) != 0) {
    ulong32 err = SetLastErrorFromErrno();
    std::remove(temp_.c_str());
    return err != 0 ? err : kErrorAccessDenied;
  }
  return 0;
}

}  // namespace telio
