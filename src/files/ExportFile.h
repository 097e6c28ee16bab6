// ExportFile: the stream an Export writes to.
//
// The bytes go to a temporary file beside the target, which takes the
// target's place only when every record was written and the stream closed
// cleanly. A failed export therefore leaves an existing file as it was and
// leaves no partial file behind. An existing target whose name differs in
// letter case (a job copied from Windows) is replaced under its own name.
#pragma once

#include <cstdio>
#include <string>

#include "platform/Export.h"
#include "platform/Types.h"

namespace telio {

class TELIO_EXPORT ExportFile {
 public:
  // Opens the temporary file; get() is null on failure, with the thread's
  // last error set (OpenError()).
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
  // code, discards the temporary file and returns code.
  ulong32 Commit(ulong32 code);

 private:
  void Discard();

  std::FILE* stream_ = nullptr;
  std::string target_;
  std::string temp_;
  ulong32 openError_ = 0;
};

}  // namespace telio
