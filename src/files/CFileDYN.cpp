#include "files/CFileDYN.h"

#include "files/CFileCount.h"
#include "files/FileReading.h"
#include "files/NameRecord.h"
#include "platform/CException.h"
#include "platform/CPathObj.h"
#include "platform/LastError.h"
#include "topology/CTOPO_REC.h"

namespace {

CString SidePath(const char* path, const char* ext) {
  CPathObj side(path);
  side.ChangeEXT(ext);
  return CString(side.GetFullPath());
}

// Outcome of reading one record: taken whole, the end of the file, or a
// stream fault (code).
enum class Got { kRecord, kEnd, kFault };

Got ReadRecord(std::FILE* f, char (&rec)[telio::namerecord::kSize], ulong32* fault) {
  ulong32 code = FReadBuff(f, rec, telio::namerecord::kSize, 1);
  if (code == 0) return Got::kRecord;
  if (code == telio::kErrorHandleEof) return Got::kEnd;  // a partial record is dropped
  *fault = code;
  return Got::kFault;
}

}  // namespace

CFileDYN::CFileDYN() { SetFileDefExt("DYN"); }

CFileDYN::~CFileDYN() { Close(); }

int CFileDYN::NewFile(const char*) { return 0; }

ulong32 CFileDYN::Export(const char*) { return 0; }

void CFileDYN::Close() {
  Init();
  loadCases_ = combinations_ = envelopes_ = 0;
  names_.RemoveAll();
}

ulong32 CFileDYN::ReadCounts(const char* path) {
  CString top = SidePath(path, "TOP");
  if (CPathObj(top.GetString()).ExistsPath()) {
    CTOPO_REC topology;
    if (topology.OpenTopology(top.GetString())) {
      loadCases_ = topology.DynamicCases();
    } else if (telio::GetLastError() == telio::kErrorNotEnoughMemory) {
      return telio::kErrorNotEnoughMemory;
    } else if (telio::GetLastError() == telio::kErrorHandleEof) {
      // Only the count is wanted: a file that ends early still gives it.
      TOPO_CURDIMS_REC head{};
      if (CFileTOP::ReadHeader(top.GetString(), &head, nullptr)) loadCases_ = head.DynamicLoadCases();
    }
  }
  CFileDCM dcm;
  if (dcm.Import(SidePath(path, "DCM").GetString()) == 0) {
    combinations_ = dcm.GetNumberOfDynamicCombinations();
  }
  CFileDEN den;
  if (den.Import(SidePath(path, "DEN").GetString()) == 0) {
    envelopes_ = den.GetNumberOfDynamicEnvelopes();
  }
  return 0;
}

ulong32 CFileDYN::Import(const char* path) {
  Close();
  if (!SetFilePath(path, true)) return telio::filereading::OpenFailure();
  ulong32 code = ReadCounts(path);
  if (code != 0) return code;
  // Negative counts (damaged side files) are no names.
  auto names = [](long32 n) { return n > 0 ? static_cast<long long>(n) : 0LL; };
  if (names(loadCases_) + names(combinations_) + names(envelopes_) == 0) return 0;
  std::FILE* f = telio::OpenFile(path, "rb");
  if (!f) {
    Close();
    return telio::filereading::OpenFailure();
  }
  ulong32 result = ReadNames(f);
  std::fclose(f);
  return result;
}

ulong32 CFileDYN::ReadNames(std::FILE* f) {
  // Counts from damaged side files may be negative: they then take nothing.
  const long long first = (loadCases_ > 0 ? loadCases_ : 0) + (combinations_ > 0 ? combinations_ : 0);
  const long long envelopes = envelopes_ > 0 ? envelopes_ : 0;
  char rec[telio::namerecord::kSize];
  ulong32 fault = 0;
  auto take = [&]() -> bool {
    CString name = telio::namerecord::Decode(rec);
    try {
      names_.Add(name);
    } catch (CException*) {
      fault = telio::kErrorNotEnoughMemory;
      return false;
    }
    return true;
  };

  // Load cases and combinations; the record after them is read and not
  // taken.
  for (;;) {
    Got got = ReadRecord(f, rec, &fault);
    if (got == Got::kFault) return fault;
    if (got == Got::kEnd) return 0;
    if (names_.GetSize() >= first) break;
    if (!take()) return fault;
  }
  // Envelopes: one record dropped, then every other record taken.
  Got got = ReadRecord(f, rec, &fault);
  if (got != Got::kRecord) return fault;
  for (long long taken = 0; taken < envelopes; ++taken) {
    got = ReadRecord(f, rec, &fault);
    if (got != Got::kRecord) return fault;
    if (!take()) return fault;
    got = ReadRecord(f, rec, &fault);
    if (got != Got::kRecord) return fault;
  }
  return 0;
}

CString CFileDYN::LdsNames(int index) const {
  return index >= 0 && index < names_.GetSize() ? names_[index] : CString();
}
