#include "files/ExportFile.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <new>
#include <system_error>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/CPathObj.h"
#include "platform/LastError.h"
#include "platform/PathCase.h"

namespace telio {

namespace {

// As many links as the system itself follows before it gives up.
constexpr int kMaxLinks = 40;

// Writers hand over a record, or a field, at a time: the stream gathers
// them into transfers of this size, so that a case file goes out in a
// write or two rather than one per 4 KB.
constexpr size_t kStreamBuffer = 64 * 1024;

// The file that path finally names once every symbolic link is followed.
ulong32 FollowLinks(std::string path, std::string* out) {
  namespace fs = std::filesystem;
  for (int hops = 0; hops < kMaxLinks; ++hops) {
    struct stat st;
    if (lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) {
      *out = path;
      return 0;
    }
    std::error_code ec;
    fs::path link = fs::read_symlink(path, ec);
    if (ec) return ErrnoToSystemError(ec.value());
    if (link.is_relative()) link = fs::path(path).parent_path() / link;
    path = link.string();
  }
  return kErrorCantResolveFilename;
}

// A new file beside target, named after it so that a stray one is
// recognised; -1 with errno set when the folder refuses it.
int OpenTemp(const std::string& target, std::string* temp) {
  static std::atomic<unsigned> counter{0};
  for (int attempt = 0; attempt < 100; ++attempt) {
    char suffix[32];
    std::snprintf(suffix, sizeof suffix, ".~%x.%x", static_cast<unsigned>(getpid()), counter.fetch_add(1));
    *temp = target + suffix;
    // 0666 less the umask, as a file created by fopen gets.
    int fd = open(temp->c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}

ulong32 CodeOfOpen(int err, const std::string& path) {
  return err == ENOENT ? MissingPathError(path.c_str()) : ErrnoToSystemError(err != 0 ? err : ENOENT);
}

}  // namespace

ExportFile::ExportFile(const char* path) {
  if (!path || !*path) {
    Fail(kErrorFileNotFound);
    return;
  }
  ulong32 code = FollowLinks(ResolvePathCase(path), &target_);
  if (code != 0) {
    Fail(code);
    return;
  }
  struct stat st;
  if (stat(target_.c_str(), &st) == 0) {
    // Only a regular file that may be written is replaced; a read-only one
    // is refused even for a process that could write it anyway.
    if (!S_ISREG(st.st_mode) || (st.st_mode & 0222) == 0 || access(target_.c_str(), W_OK) != 0) {
      Fail(kErrorAccessDenied);
      return;
    }
    replacing_ = true;
    mode_ = st.st_mode & 07777;
    uid_ = st.st_uid;
    gid_ = st.st_gid;
  }
  errno = 0;
  int fd = OpenTemp(target_, &temp_);
  if (fd >= 0) {
    stream_ = fdopen(fd, "wb");
    if (stream_) {
      GatherWrites();
      return;
    }
    int err = errno;
    close(fd);
    std::remove(temp_.c_str());
    Fail(ErrnoToSystemError(err != 0 ? err : ENOMEM));
    return;
  }
  // The folder refuses a temporary file: write the target itself.
  const int tempErrno = errno;
  temp_.clear();
  errno = 0;
  stream_ = std::fopen(target_.c_str(), "wb");
  if (!stream_) {
    Fail(CodeOfOpen(replacing_ ? errno : tempErrno, target_));
    return;
  }
  GatherWrites();
}

ExportFile::~ExportFile() { Discard(); }

void ExportFile::GatherWrites() {
  // Without the memory the stream keeps its own small buffer.
  buffer_.reset(new (std::nothrow) char[kStreamBuffer]);
  if (buffer_) std::setvbuf(stream_, buffer_.get(), _IOFBF, kStreamBuffer);
}

ulong32 ExportFile::Fail(ulong32 code) {
  openError_ = code;
  SetLastError(code);
  return code;
}

void ExportFile::Discard() {
  if (!stream_) return;
  std::fclose(stream_);
  stream_ = nullptr;
  // A file made in place by this export did not exist before it.
  if (!temp_.empty() || !replacing_) std::remove((temp_.empty() ? target_ : temp_).c_str());
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
  if (flushed && replacing_ && !temp_.empty()) {
    const int fd = fileno(stream_);
    // The owner first: giving a file away clears its set-id bits. Only a
    // privileged process may give it away; the others keep it.
    const bool owned = fchown(fd, uid_, gid_) == 0;
    (void)owned;
    fchmod(fd, static_cast<mode_t>(mode_));
  }
  errno = 0;
  const bool closed = std::fclose(stream_) == 0;
  const int closeErrno = errno;
  stream_ = nullptr;
  if (!flushed || !closed) {
    ulong32 err = ErrnoToSystemError(!flushed ? flushErrno : closeErrno);
    if (err == 0) err = kErrorWriteFault;
    if (!temp_.empty()) std::remove(temp_.c_str());
    return Fail(err);
  }
  if (temp_.empty()) return 0;
#if defined(__linux__) && defined(RENAME_EXCHANGE)
  // An existing file is exchanged with the new one and then removed: as
  // atomic as a rename over it, without the file system flushing the new
  // file's data first (ext4 does that on a rename that replaces a file),
  // which would make a save several times slower than writing a new file.
  if (replacing_ && renameat2(AT_FDCWD, temp_.c_str(), AT_FDCWD, target_.c_str(), RENAME_EXCHANGE) == 0) {
    std::remove(temp_.c_str());
    return 0;
  }
#endif
  if (std::rename(temp_.c_str(), target_.c_str()) != 0) {
    ulong32 err = ErrnoToSystemError(errno);
    std::remove(temp_.c_str());
    return Fail(err != 0 ? err : kErrorAccessDenied);
  }
  return 0;
}

}  // namespace telio
