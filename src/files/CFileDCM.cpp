#include "files/CFileDCM.h"

#include "files/FileReading.h"
#include "platform/CPathObj.h"

CFileDCM::CFileDCM() { SetFileDefExt("DCM"); }

CFileDCM::CFileDCM(const CFileDCM& other) : CFileBase(other), count_(other.count_) {
  SetFileDefExt("DCM");
  if (!other.GetFilePath().IsEmpty()) SetFilePath(other.GetFilePath().GetString(), false);
}

CFileDCM& CFileDCM::operator=(const CFileDCM& other) {
  if (this == &other) return *this;
  count_ = other.count_;
  if (other.GetFilePath().IsEmpty()) {
    Init();
  } else {
    SetFilePath(other.GetFilePath().GetString(), false);
  }
  return *this;
}

int CFileDCM::NewFile(const char*) { return 0; }

ulong32 CFileDCM::Export(const char*) { return 0; }

void CFileDCM::Close() {
  Init();
  count_ = 0;
}

ulong32 CFileDCM::Import(const char* path) {
  Close();
  if (!SetFilePath(path, true)) return telio::filereading::OpenFailure();
  std::FILE* f = telio::OpenFile(path, "rb");
  if (!f) {
    Close();
    return telio::filereading::OpenFailure();
  }
  return telio::filereading::ReadLeadingCountAndClose(f, &count_);
}
