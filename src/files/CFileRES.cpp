#include "files/CFileRES.h"

#include <algorithm>
#include <climits>
#include <cstring>

#include <sys/stat.h>
#include <sys/types.h>

#include "files/CFileCMI.h"
#include "files/CFileJOB.h"
#include "files/FileReading.h"
#include "platform/Alloc.h"
#include "platform/CException.h"
#include "platform/CPathObj.h"
#include "platform/LastError.h"
#include "topology/CTOPO_REC.h"

namespace {

constexpr int kNameSize = 8;
constexpr int kNodeValuesAt = 8;
constexpr int kFirstEndAt = 4;
constexpr int kSecondEndAt = 28;
// Head of an end inside AnasisForces: load result 0, node -1.
const unsigned char kEndHead[8] = {0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF};

// The side file beside the results file: same folder and name, another
// extension.
CString SidePath(const CString& resPath, const char* ext) {
  CPathObj p(resPath.GetString());
  p.ChangeEXT(ext);
  return CString(p.GetFullPath());
}

// True when the file holds at least its leading 32-bit count.
bool HoldsCount(const CString& path) {
  std::FILE* f = telio::OpenFile(path.GetString(), "rb");
  if (!f) return false;
  const long long size = telio::filereading::BytesLeft(f);
  std::fclose(f);
  return size < 0 || size >= 4;
}

void FillEnd(AnasisData& end, const unsigned char* values) {
  end.SetLoadResult(0);
  end.SetNodeNumber(-1);
  // The six floats keep their little-endian image.
  std::memcpy(end.data + 8, values, 4 * CFileRES::kValues);
}

void FillForces(AnasisForces& f, int r, int beam, const unsigned char* rec) {
  f.SetLoadResult(r + 1);
  f.SetBeamNumber(beam + 1);
  FillEnd(f.first, rec + kFirstEndAt);
  FillEnd(f.second, rec + kSecondEndAt);
}

long long FileSize(std::FILE* f) {
  struct stat st;
  if (fstat(fileno(f), &st) != 0 || !S_ISREG(st.st_mode)) return -1;
  return static_cast<long long>(st.st_size);
}

}  // namespace

CFileRES::CFileRES() {
  SetFileDefExt("RES");
  Clear();
  ResetCurrentForces();
}

CFileRES::CFileRES(const CFileRES& other) : CFileBase(other) {
  SetFileDefExt("RES");
  CopyFields(other);
}

CFileRES& CFileRES::operator=(const CFileRES& other) {
  if (this != &other) CopyFields(other);
  return *this;
}

CFileRES::~CFileRES() { Init(); }

void CFileRES::CopyFields(const CFileRES& other) {
  if (other.GetFilePath().IsEmpty()) {
    Init();
  } else {
    SetFilePath(other.GetFilePath().GetString(), false);
  }
  current_ = other.current_;
  headerWord_ = other.headerWord_;
  nodes_ = other.nodes_;
  beams_ = other.beams_;
  supports_ = other.supports_;
  maxNodesBeams_ = other.maxNodesBeams_;
  blockSize_ = other.blockSize_;
  displacementOffset_ = other.displacementOffset_;
  reactionOffset_ = other.reactionOffset_;
  forceOffset_ = other.forceOffset_;
  staticCases_ = other.staticCases_;
  combinations_ = other.combinations_;
  eak_ = other.eak_;
  is3D_ = other.is3D_;
}

void CFileRES::ResetCurrentForces() {
  std::memset(&current_, 0, sizeof(current_));
  current_.SetLoadResult(-1);
  current_.SetBeamNumber(-1);
  current_.first.SetLoadResult(-1);
  current_.first.SetNodeNumber(-1);
  current_.second.SetLoadResult(-1);
  current_.second.SetNodeNumber(-1);
}

void CFileRES::Clear() {
  headerWord_ = 0;
  nodes_ = beams_ = supports_ = maxNodesBeams_ = 0;
  blockSize_ = displacementOffset_ = reactionOffset_ = forceOffset_ = 0;
  staticCases_ = combinations_ = 0;
  eak_ = 0;
  is3D_ = 1;
}

int CFileRES::NewFile(const char*) { return 0; }

ulong32 CFileRES::Export(const char*) { return 0; }

void CFileRES::Close() { Init(); }

ulong32 CFileRES::Import(const char* path) {
  Close();
  if (!SetFilePath(path, true)) return telio::filereading::OpenFailure();
  if (!PrepareResReader()) {
    Close();
    // Memory running out is reported as such wherever it happens.
    return telio::GetLastError() == telio::kErrorNotEnoughMemory ? telio::kErrorNotEnoughMemory : 0xFFFFFFFFu;
  }
  std::FILE* f = telio::OpenFile(path, "rb");
  if (!f) {
    Close();
    return telio::filereading::OpenFailure();
  }
  unsigned char word[4] = {0, 0, 0, 0};
  ulong32 code = FReadBuff(f, word, 4, 1);
  headerWord_ = telio::DecodeFixed32(word);
  std::fclose(f);
  return code;
}

int CFileRES::PrepareResReader() {
  const CString path = GetFilePath();
  auto fail = [this](ulong32 code) {
    telio::SetLastError(code != 0 ? code : telio::kErrorFileNotFound);
    Close();
    return 0;
  };

  CFileJOB job;
  ulong32 code = job.Import(SidePath(path, "JOB").GetString());
  if (code != 0) return fail(code);
  eak_ = job.IsJobEAK() == 1 ? 1 : 0;

  long32 nodes, beams, supports, staticCases;
  char is3D;
  {
    CTOPO_REC topo;
    if (!topo.Open(SidePath(path, "TOP").GetString()) || !topo.GetTOPO_REC()) {
      return fail(telio::GetLastError());
    }
    const TOPOStructs::TOPO_REC* t = topo.GetTOPO_REC();
    is3D = t->flag3D != 0 ? 1 : 0;
    nodes = t->nodeCount;
    beams = static_cast<int16_t>(t->beamCount);
    supports = static_cast<int16_t>(t->supportCount);
    staticCases = topo.StaticCases();
  }

  // Only the CMI's count is wanted: a file that ends before the
  // combinations it counts still gives it. A negative count is none.
  // A file cut inside the count itself gives no count: that is its 38.
  CFileCMI cmi;
  const CString cmiPath = SidePath(path, "CMI");
  code = cmi.Import(cmiPath.GetString());
  if (code != 0 && code != telio::kErrorHandleEof) return fail(code);
  if (code == telio::kErrorHandleEof && !HoldsCount(cmiPath)) return fail(code);
  const long32 combinations = cmi.GetNumberOfCombinations() > 0 ? cmi.GetNumberOfCombinations() : 0;

  // Counts that cannot lay out a block would give offsets that point
  // anywhere.
  if (nodes < 0 || beams < 0 || supports < 0 || staticCases < 0) return fail(telio::kErrorFileCorrupt);
  const long long records = static_cast<long long>(nodes) + supports + 2LL * beams;
  if (records * kRecordSize > INT32_MAX) return fail(telio::kErrorFileCorrupt);

  is3D_ = is3D;
  nodes_ = nodes;
  beams_ = beams;
  supports_ = supports;
  staticCases_ = staticCases;
  combinations_ = combinations;
  maxNodesBeams_ = nodes > beams ? nodes : beams;
  blockSize_ = static_cast<long32>(records * kRecordSize);
  displacementOffset_ = kRecordSize;
  reactionOffset_ = (nodes + 1) * kRecordSize;
  forceOffset_ = (nodes + supports + 1) * kRecordSize;
  return 1;
}

long long CFileRES::BlockStart(int r) const {
  if (r < 0 || r >= NumberOfLoadsResults()) return -1;
  return static_cast<long long>(blockSize_) * r;
}

long long CFileRES::ForcesOffset64(int r, int beam) const {
  long long start = BlockStart(r);
  if (start < 0 || beam < 0 || beam >= beams_) return -1;
  return start + forceOffset_ + static_cast<long long>(beam) * kRecordSize;
}

namespace {
long32 Narrow(long long offset) { return offset < 0 || offset > INT32_MAX ? -1 : static_cast<long32>(offset); }
}  // namespace

long32 CFileRES::GetDisplacementOffsetFor(int r) const {
  long long start = BlockStart(r);
  return Narrow(start < 0 ? -1 : start + displacementOffset_);
}

long32 CFileRES::GetReactionsOffsetFor(int r) const {
  long long start = BlockStart(r);
  return Narrow(start < 0 ? -1 : start + reactionOffset_);
}

long32 CFileRES::GetForcesOffsetFor(int r, int beam) const { return Narrow(ForcesOffset64(r, beam)); }

short CFileRES::GetNodeNumber(const char* name) const {
  if (!name) return -1;
  size_t len = 0;
  while (len < kNameSize && name[len] != '\0') ++len;
  if (len < 2) return -1;
  // As atoi reads it: blanks, a sign, then digits up to the first other
  // character. Seven digits at most, so the value cannot overflow.
  size_t i = 1;
  while (i < len && (name[i] == ' ' || (name[i] >= '\t' && name[i] <= '\r'))) ++i;
  bool negative = false;
  if (i < len && (name[i] == '+' || name[i] == '-')) negative = name[i++] == '-';
  long value = 0;
  for (; i < len && name[i] >= '0' && name[i] <= '9'; ++i) value = value * 10 + (name[i] - '0');
  if (negative) value = -value;
  return static_cast<short>(static_cast<uint16_t>(static_cast<unsigned long>(value) & 0xFFFFu));
}

std::FILE* CFileRES::OpenRecords(long long offset, long32 count, long32* whole) {
  *whole = 0;
  std::FILE* f = telio::OpenFile(GetFilePath().GetString(), "rb");
  if (!f) {
    telio::filereading::OpenFailure();
    return nullptr;
  }
  long long size = FileSize(f);
  if (offset < 0 || (size >= 0 && offset > size) || fseeko(f, static_cast<off_t>(offset), SEEK_SET) != 0 ||
      ftello(f) != static_cast<off_t>(offset)) {
    std::fclose(f);
    telio::SetLastError(telio::kErrorFileCorrupt);
    return nullptr;
  }
  // Only the records the file holds are read, and get room.
  *whole = count;
  if (size >= 0 && (size - offset) / kRecordSize < count) {
    *whole = static_cast<long32>((size - offset) / kRecordSize);
    telio::SetLastError(telio::kErrorHandleEof);
  }
  return f;
}

bool CFileRES::ReadAndClose(std::FILE* f, void* buffer, long32 records) {
  ulong32 code = records > 0 ? FReadBuff(f, buffer, static_cast<unsigned>(records) * kRecordSize, 1) : 0;
  std::fclose(f);
  if (code != 0) telio::SetLastError(code);
  return code == 0;
}

CArrayEx<AnasisData, const AnasisData&> CFileRES::ReadNodeRecords(int r, long long offset,
                                                                  long32 count) {
  CArrayEx<AnasisData, const AnasisData&> result;
  if (BlockStart(r) < 0) return result;
  long32 read = 0;
  std::FILE* f = OpenRecords(offset, count, &read);
  if (!f) return result;
  unsigned char* buf = nullptr;
  if (read > 0) buf = static_cast<unsigned char*>(telio::Malloc(static_cast<size_t>(read) * kRecordSize));
  if (read > 0 && !buf) {
    std::fclose(f);
    telio::SetLastError(telio::kErrorNotEnoughMemory);
    return result;
  }
  if (!ReadAndClose(f, buf, read)) {
    telio::Free(buf);
    return result;
  }
  try {
    result.SetSize(nodes_);
  } catch (CException*) {
    telio::Free(buf);
    telio::SetLastError(telio::kErrorNotEnoughMemory);
    return result;
  }
  AnasisData* out = result.GetData();
  for (long32 i = 0; i < read; ++i) {
    const unsigned char* rec = buf + static_cast<size_t>(i) * kRecordSize;
    short node = GetNodeNumber(reinterpret_cast<const char*>(rec));
    if (node < 1 || node > nodes_) continue;
    AnasisData& d = out[node - 1];
    d.SetLoadResult(r + 1);
    d.SetNodeNumber(node);
    std::memcpy(d.data + 8, rec + kNodeValuesAt, 4 * kValues);
  }
  telio::Free(buf);
  return result;
}

CArrayEx<AnasisData, const AnasisData&> CFileRES::GetDisplacementsFor(int r) {
  long long start = BlockStart(r);
  return ReadNodeRecords(r, start < 0 ? -1 : start + displacementOffset_, nodes_);
}

CArrayEx<AnasisData, const AnasisData&> CFileRES::GetReactionsFor(int r) {
  long long start = BlockStart(r);
  return ReadNodeRecords(r, start < 0 ? -1 : start + reactionOffset_, supports_);
}

CArrayEx<AnasisForces, const AnasisForces&> CFileRES::GetForcesFor(int r) {
  CArrayEx<AnasisForces, const AnasisForces&> result;
  if (BlockStart(r) < 0 || beams_ < 1) return result;
  long32 read = 0;
  std::FILE* f = OpenRecords(ForcesOffset64(r, 0), beams_, &read);
  if (!f) return result;
  if (read == 0) {
    std::fclose(f);
    return result;
  }
  // The records are read into the tail of the result's own block and
  // widened front to back, so no second buffer is needed: element k ends at
  // 72 (k + 1), record k starts at tail + 52 k, so only the last few
  // elements reach into their own records, which are kept aside first.
  try {
    result.SetSizeUninitialized(read);
  } catch (CException*) {
    std::fclose(f);
    telio::SetLastError(telio::kErrorNotEnoughMemory);
    return result;
  }
  unsigned char* base = reinterpret_cast<unsigned char*>(result.GetData());
  const size_t tail = static_cast<size_t>(read) * (AnasisForces::kSize - kRecordSize);
  if (!ReadAndClose(f, base + tail, read)) {
    result.RemoveAll();
    return result;
  }
  constexpr long32 kKept = 4;
  const long32 keptFrom = read > kKept ? read - kKept : 0;
  unsigned char kept[kKept * kRecordSize];
  const unsigned char* in = base + tail;
  std::memcpy(kept, in + static_cast<size_t>(keptFrom) * kRecordSize,
              static_cast<size_t>(read - keptFrom) * kRecordSize);

  unsigned char head[8];
  telio::EncodeFixed32(head, static_cast<uint32_t>(r + 1));
  for (long32 k = 0; k < read; ++k) {
    const unsigned char* rec = k < keptFrom ? in + static_cast<size_t>(k) * kRecordSize
                                            : kept + static_cast<size_t>(k - keptFrom) * kRecordSize;
    unsigned char* dst = base + static_cast<size_t>(k) * AnasisForces::kSize;
    telio::EncodeFixed32(head + 4, static_cast<uint32_t>(k + 1));
    std::memcpy(dst, head, 8);
    std::memcpy(dst + 8, kEndHead, 8);
    std::memcpy(dst + 16, rec + kFirstEndAt, 4 * kValues);
    std::memcpy(dst + 40, kEndHead, 8);
    std::memcpy(dst + 48, rec + kSecondEndAt, 4 * kValues);
  }
  result.SetSize(read, 0);  // later growth of the caller's array: the default step
  return result;
}

AnasisForces* CFileRES::GetForcesFor(int r, int beam) {
  long long offset = ForcesOffset64(r, beam);
  if (offset < 0) return nullptr;
  long32 read = 0;
  std::FILE* f = OpenRecords(offset, 1, &read);
  if (!f) return nullptr;
  unsigned char rec[kRecordSize];
  if (!ReadAndClose(f, rec, read) || read < 1) return nullptr;
  std::memset(&current_, 0, sizeof(current_));
  FillForces(current_, r, beam, rec);
  return &current_;
}
