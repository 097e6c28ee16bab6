// ExportFile: the stream every writer of the library saves through.
//
// The bytes go to a temporary file beside the target, which takes the
// target's place only when every record was written and the stream closed
// cleanly: a failed save leaves an existing file as it was and leaves no
// partial file behind. Replacing behaves as the suite's users expect of a
// save in place:
//   - a symbolic link is followed: the file it names is replaced and the
//     link stays a link;
//   - the replaced file keeps its permission bits, and its owner where the
//     process may give it away;
//   - an existing target that is not writable (a read-only file, a folder)
//     is refused with 5 before anything is written;
//   - when the folder refuses a temporary file (no write permission, a name
//     at the file system's length limit) but the target is writable, the
//     target itself is truncated and written: that save is not atomic;
//   - a target whose folder does not exist gives 3.
// An existing target whose name differs in letter case (a job copied from
// Windows) is replaced under its own name. Where the system can exchange two
// names atomically, the new file is exchanged with the old one, which is
// then removed: as atomic as a rename over it, without the flush of the new
// data that some file systems make on such a rename (the save then costs
// what writing a new file costs).
#pragma once

#include <cstdio>
#include <memory>
#include <string>

#include "platform/Export.h"
#include "platform/Types.h"

namespace telio {

class TELIO_EXPORT ExportFile {
 public:
  // Opens the temporary file (or the target, see above); get() is null on
  // failure, with the thread's last error set (OpenError()).
  explicit ExportFile(const char* path);
  ~ExportFile();  // discards an export that was not committed
  ExportFile(const ExportFile&) = delete;
  ExportFile& operator=(const ExportFile&) = delete;

  std::FILE* get() const { return stream_; }
  // The temporary file, beside the target (a record that refers to its own
  // folder while it is written can take it as its place).
  const std::string& TempPath() const { return temp_; }
  // The code of a failed open: the last error, never 0.
  ulong32 OpenError() const { return openError_; }

  // Ends the export. With code 0, closes the stream and moves the file into
  // place; returns 0 or the code of the close or the rename. With a nonzero
  // code, discards the temporary file and returns code (a save in place is
  // left as far as it was written).
  ulong32 Commit(ulong32 code);

 private:
  void Discard();
  // Gives the stream a buffer of many records, which lives until the
  // stream is closed.
  void GatherWrites();
  ulong32 Fail(ulong32 code);

  std::FILE* stream_ = nullptr;
  std::unique_ptr<char[]> buffer_;
  std::string target_;  // the file replaced, links followed
  std::string temp_;    // empty when writing in place
  bool replacing_ = false;
  unsigned mode_ = 0;
  unsigned uid_ = 0;
  unsigned gid_ = 0;
  ulong32 openError_ = 0;
};

}  // namespace telio
