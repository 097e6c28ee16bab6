#include "files/CFileNAM.h"

#include <cstring>

#include "files/ExportFile.h"
#include "files/FileReading.h"
#include "files/NameRecord.h"
#include "platform/CException.h"
#include "platform/CPathObj.h"

CFileNAM::CFileNAM() { SetFileDefExt("NAM"); }

CFileNAM::~CFileNAM() { Close(); }

int CFileNAM::NewFile(const char* path) {
  Close();
  if (path) SetFilePath(path, false);
  return 1;
}

void CFileNAM::Close() {
  Init();
  names_.RemoveAll();
}

ulong32 CFileNAM::Import(const char* path) {
  Close();
  if (!SetFilePath(path, true)) return telio::filereading::OpenFailure();
  std::FILE* f = telio::OpenFile(path, "rb");
  if (!f) {
    Close();
    return telio::filereading::OpenFailure();
  }
  ulong32 result = 0;
  for (;;) {
    char rec[kRecordSize];
    ulong32 code = FReadBuff(f, rec, kRecordSize, 1);
    if (code == telio::kErrorHandleEof) break;  // a partial last record is dropped
    if (code != 0) {
      result = code;
      break;
    }
    CString name = telio::namerecord::Decode(rec);
    name.Trim();
    try {
      names_.Add(name);
    } catch (CException*) {
      result = telio::kErrorNotEnoughMemory;
      break;
    }
  }
  std::fclose(f);
  return result;
}

ulong32 CFileNAM::Export(const char* path) {
  if (!path) return 1;
  if (!SetFilePath(path, false)) return telio::filereading::OpenFailure();
  telio::ExportFile out(path);
  if (!out.get()) return out.OpenError();
  ulong32 code = 0;
  for (int i = 0; i < names_.GetSize() && code == 0; ++i) {
    char rec[kRecordSize];
    telio::namerecord::Encode(names_[i], rec);
    code = FWriteBuff(out.get(), rec, kRecordSize, 1);
  }
  return out.Commit(code);
}

CString CFileNAM::LdsNames(int index) const {
  return index >= 0 && index < names_.GetSize() ? names_[index] : CString();
}

int CFileNAM::AddLdsName(CString name) { return names_.Add(name); }

void CFileNAM::SetLdsName(int index, CString name) {
  if (index >= 0 && index < names_.GetSize()) names_[index] = name;
}

int CFileNAM::GetLdsNameIndex(CString name, int start) {
  for (int i = start < 0 ? 0 : start; i < names_.GetSize(); ++i) {
    if (names_[i].CompareNoCase(name.GetString()) == 0) return i;
  }
  return -1;
}
