#include "files/CFileDEN.h"

#include "files/FileReading.h"
#include "platform/CPathObj.h"

CFileDEN::CFileDEN() { SetFileDefExt("DEN"); }

CFileDEN::CFileDEN(const CFileDEN& other) : CFileBase(other), count_(other.count_) {
  SetFileDefExt("DEN");
  if (!other.GetFilePath().IsEmpty()) SetFilePath(other.GetFilePath().GetString(), false);
}

CFileDEN& CFileDEN::operator=(const CFileDEN& other) {
  if (this == &other) return *this;
  count_ = other.count_;
  if (other.GetFilePath().IsEmpty()) {
    Init();
  } else {
    SetFilePath(other.GetFilePath().GetString(), false);
  }
  return *this;
}

int CFileDEN::NewFile(const char*) { return 0; }

ulong32 CFileDEN::Export(const char*) { return 0; }

void CFileDEN::Close() {
  Init();
  count_ = 0;
}

ulong32 CFileDEN::Import(const char* path) {
  Close();
  if (!SetFilePath(path, true)) return telio::filereading::OpenFailure();
  std::FILE* f = telio::OpenFile(path, "rb");
  if (!f) {
    Close();
    return telio::filereading::OpenFailure();
  }
  return telio::filereading::ReadLeadingCountAndClose(f, &count_);
}
