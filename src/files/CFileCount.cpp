#include "files/CFileCount.h"

#include "files/FileReading.h"
#include "platform/CPathObj.h"

CFileCount::CFileCount(const char* ext) { SetFileDefExt(ext); }

CFileCount::CFileCount(const CFileCount& other) : CFileBase(other), count_(other.count_) {
  SetFileDefExt(other.GetFileDefExt());
  if (!other.GetFilePath().IsEmpty()) SetFilePath(other.GetFilePath().GetString(), false);
}

CFileCount& CFileCount::operator=(const CFileCount& other) {
  if (this == &other) return *this;
  count_ = other.count_;
  if (other.GetFilePath().IsEmpty()) {
    Init();
  } else {
    SetFilePath(other.GetFilePath().GetString(), false);
  }
  return *this;
}

int CFileCount::NewFile(const char*) { return 0; }

ulong32 CFileCount::Export(const char*) { return 0; }

void CFileCount::Close() {
  Init();
  count_ = 0;
}

ulong32 CFileCount::Import(const char* path) {
  Close();
  if (!SetFilePath(path, true)) return telio::filereading::OpenFailure();
  std::FILE* f = telio::OpenFile(path, "rb");
  if (!f) {
    Close();
    return telio::filereading::OpenFailure();
  }
  return telio::filereading::ReadLeadingCountAndClose(f, &count_);
}
