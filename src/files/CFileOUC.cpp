#include "files/CFileOUC.h"

#include <algorithm>
#include <climits>
#include <cstring>

#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>

#include "files/CFileJOB.h"
#include "files/ChunkReader.h"
#include "files/FileReading.h"
#include "platform/Alloc.h"
#include "platform/CPathObj.h"
#include "platform/Coding.h"
#include "platform/LastError.h"

namespace {

constexpr long long kBlockHead = 6;                        // i32 beam number, i16 IP count
constexpr long long kBytesPerIP = 4LL * BEAM_DATA::kTables;  // one f32 per table
constexpr size_t kChunk = 1 << 20;

long long FileSize(std::FILE* f) {
  struct stat st;
  if (fstat(fileno(f), &st) != 0 || !S_ISREG(st.st_mode)) return -1;
  return static_cast<long long>(st.st_size);
}

// n values into dst. A block's tables are a few dozen bytes: on
// little-endian hosts they are copied in place, 16 bytes at a time, rather
// than through a call.
void CopyFloats(float* dst, const unsigned char* src, size_t n) {
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
  auto* out = reinterpret_cast<unsigned char*>(dst);
  const size_t bytes = 4 * n;
  size_t i = 0;
  for (; i + 16 <= bytes; i += 16) std::memcpy(out + i, src + i, 16);
  for (; i < bytes; i += 4) std::memcpy(out + i, src + i, 4);
#else
  telio::DecodeFloats(dst, src, n);
#endif
}

// Decodes n values of each table from a block's value bytes into tables
// `stride` floats apart, in file order: one run when the block fills them.
void DecodeTables(const unsigned char* src, int n, size_t stride, float* const* tables) {
  const size_t count = static_cast<size_t>(n);
  if (count == stride) {
    CopyFloats(tables[0], src, count * BEAM_DATA::kTables);
    return;
  }
  for (int t = 0; t < BEAM_DATA::kTables; ++t, src += 4 * count) CopyFloats(tables[t], src, count);
}

}  // namespace

int BEAM_DATA::TableSlot(int kind) {
  // Kinds 0, 1, 2 and 6 come first, then 3, 4, 5.
  static const int kSlot[kTables] = {0, 1, 2, 4, 5, 6, 3};
  return kind >= 0 && kind < kTables ? kSlot[kind] : -1;
}

float* BEAM_DATA::Table(int kind) const {
  int slot = TableSlot(kind);
  return slot < 0 ? nullptr : tables[slot];
}

CFileOUC::CFileOUC()
    : indexed_(false),
      maxLCE_(0),
      slotCount_(0),
      indexWidth_(0),
      scratchCapacity_(0),
      lcNum_(0),
      maxIP_(0),
      capacity_(0),
      beamsPerLC_(nullptr),
      lastImport_(0),
      jobCode_(0),
      indexCode_(0),
      scratch_(),
      scratchValues_(nullptr),
      scratchRead_(nullptr),
      loaded_(nullptr),
      loadedSize_(0),
      index_(nullptr),
      indexStart_(nullptr),
      lcBase_(nullptr),
      sortedLC_(nullptr),
      indexedFile_(nullptr),
      window_(nullptr),
      windowAt_(0),
      windowLen_(0) {
  SetFileDefExt("OUC");
}

CFileOUC::CFileOUC(const CFileOUC& other) : CFileOUC() {
  SetFileDefExt("OUC");
  *this = other;
}

CFileOUC& CFileOUC::operator=(const CFileOUC& other) {
  if (this == &other) return *this;
  Close();
  indexed_ = other.indexed_;
  const CString path = other.GetFilePath();
  if (!path.IsEmpty()) lastImport_ = Import(path.GetString());
  return *this;
}

CFileOUC::~CFileOUC() { Close(); }

int CFileOUC::NewFile(const char* path) {
  Close();
  if (path) SetFilePath(path, false);
  return 1;
}

ulong32 CFileOUC::Export(const char*) { return 0; }

void CFileOUC::Close() {
  Init();
  Clean();
}

void CFileOUC::Clean() {
  CleanHeaderIPs();
  CleanIP();
  CleanBidx();
}

void CFileOUC::CleanHeaderIPs() {
  telio::FreeWhole(loaded_, loadedSize_);  // the load cases, their blocks and tables: one block
  loaded_ = nullptr;
  loadedSize_ = 0;
  telio::Free(beamsPerLC_);
  beamsPerLC_ = nullptr;
  maxLCE_ = lcNum_ = maxIP_ = capacity_ = 0;
}

void CFileOUC::CleanIP() {
  telio::Free(scratchValues_);
  telio::Free(scratchRead_);
  scratchValues_ = nullptr;
  scratchRead_ = nullptr;
  std::memset(&scratch_, 0, sizeof(scratch_));
  scratchCapacity_ = 0;
}

void CFileOUC::CleanBidx() {
  if (indexedFile_) std::fclose(indexedFile_);
  indexedFile_ = nullptr;
  ReadAhead(false);
  telio::Free(index_);
  telio::Free(indexStart_);
  telio::Free(lcBase_);
  telio::Free(sortedLC_);
  index_ = nullptr;
  indexStart_ = nullptr;
  lcBase_ = nullptr;
  sortedLC_ = nullptr;
  slotCount_ = indexWidth_ = 0;
}

long32 CFileOUC::GetMaxBeamPerLC() const {
  if (!beamsPerLC_ || maxLCE_ < 1) return 0;
  long32 most = 0;
  for (long32 i = 0; i < maxLCE_; ++i) most = std::max(most, beamsPerLC_[i]);
  return most;
}

long32 CFileOUC::GetBeamsInLC(int lc) const {
  return beamsPerLC_ && lc >= 0 && lc < maxLCE_ ? beamsPerLC_[lc] : 0;
}

void CFileOUC::SetUseBmidx(bool on) {
  if (on == indexed_) return;
  indexed_ = on;
  const CString path = GetFilePath();
  lastImport_ = Import(path.GetString());
}

long32 CFileOUC::ReadMaxLCE() {
  CPathObj job(GetFilePath().GetString());
  job.ChangeEXT("JOB");
  if (!job.ExistsPath()) return 0;
  CFileJOB reader;
  jobCode_ = reader.Import(job.GetFullPath());
  if (jobCode_ != 0) return 0;
  ulong32 value = CFileJOB::MaxLCE();
  return value > static_cast<ulong32>(INT32_MAX) ? 0 : static_cast<long32>(value);
}

ulong32 CFileOUC::Import(const char* path) {
  if (!NewFile(nullptr)) return 1;
  if (!SetFilePath(path, true)) return telio::filereading::OpenFailure();
  std::FILE* f = telio::OpenFile(path, "rb");
  if (!f) {
    Init();
    return telio::filereading::OpenFailure();
  }
  ulong32 code = ReadHeader(f);
  if (code == 0 && !indexed_) code = ReadIPs(f);
  std::fclose(f);
  if (code == 0 && indexed_) {
    code = PrepareIP();
    if (code == 0) {
      MakeBidx();
      code = indexCode_;
    }
  }
  // Half-built tables are never left behind a failed allocation.
  if (code == telio::kErrorNotEnoughMemory) Close();
  return code;
}

ulong32 CFileOUC::CheckHeader(long long dataBytes) {
  if (lcNum_ > maxLCE_) return telio::kErrorFileCorrupt;
  // No block holds more points than MaxIP or than the file can: the tables
  // get room for the smaller.
  long long most = maxIP_ > 0 ? maxIP_ : 0;
  most = std::min(most, std::max(0LL, (dataBytes - kBlockHead) / kBytesPerIP));
  capacity_ = static_cast<long32>(most);
  return 0;
}

long32 CFileOUC::LoadCases() const { return lcNum_ > 0 ? lcNum_ : 0; }

long32 CFileOUC::BlocksIn(long32 lc) const { return beamsPerLC_[lc] > 0 ? beamsPerLC_[lc] : 0; }

size_t CFileOUC::TableStride() const { return capacity_ > 0 ? static_cast<size_t>(capacity_) : 1; }

void CFileOUC::ReadIPperBeam(std::FILE* f, BEAM_DATA* target) {
  unsigned char head[kBlockHead];
  if (!target || FReadBuff(f, head, sizeof head, 1) != 0) return;
  target->beamNumber = static_cast<long32>(telio::DecodeFixed32(head));
  target->ipCount = static_cast<int16_t>(telio::DecodeFixed16(head + 4));
  const int n = target->ipCount;
  for (int t = 0; n > 0 && t < BEAM_DATA::kTables; ++t) {
    if (FReadBuff(f, target->tables[t], 4, static_cast<unsigned>(n)) != 0) return;
    telio::DecodeFloats(target->tables[t], reinterpret_cast<const unsigned char*>(target->tables[t]),
                        static_cast<size_t>(n));
  }
}

ulong32 CFileOUC::ReadHeader(std::FILE* f) {
  jobCode_ = 0;
  maxLCE_ = ReadMaxLCE();
  if (jobCode_ == telio::kErrorNotEnoughMemory) return jobCode_;
  if (maxLCE_ <= 0) {
    maxLCE_ = 0;
    return 0;
  }
  long long size = FileSize(f);
  unsigned char head[8] = {};
  if (size >= 0 && size < DataStart()) {
    // The table is cut: keep the counts the file holds.
    size_t got = std::fread(head, 1, sizeof(head), f);
    if (got >= 4) lcNum_ = static_cast<long32>(telio::DecodeFixed32(head));
    if (got >= 8) maxIP_ = static_cast<long32>(telio::DecodeFixed32(head + 4));
    return telio::kErrorHandleEof;
  }
  ulong32 code = FReadBuff(f, head, sizeof(head), 1);
  if (code != 0) return code;
  lcNum_ = static_cast<long32>(telio::DecodeFixed32(head));
  maxIP_ = static_cast<long32>(telio::DecodeFixed32(head + 4));
  beamsPerLC_ = static_cast<long32*>(telio::Calloc(static_cast<size_t>(maxLCE_), sizeof(long32)));
  if (!beamsPerLC_) return telio::kErrorNotEnoughMemory;
  code = FReadBuff(f, beamsPerLC_, 4, static_cast<unsigned>(maxLCE_));
  if (code != 0) return code;
  const unsigned char* raw = reinterpret_cast<const unsigned char*>(beamsPerLC_);
  for (long32 i = 0; i < maxLCE_; ++i) {
    long32 v = static_cast<long32>(telio::DecodeFixed32(raw + 4 * i));
    beamsPerLC_[i] = v;
  }
  return CheckHeader(size >= 0 ? size - DataStart() : LLONG_MAX);
}

ulong32 CFileOUC::ReadIPs(std::FILE* f) {
  const long32 lcs = LoadCases();
  if (lcs == 0) return 0;
  long long size = FileSize(f);
  const long long dataBytes = size >= 0 ? size - DataStart() : LLONG_MAX;
  // One block, sized from the header: the load cases, then every beam
  // block the file can hold, then their tables. A block starts every 6
  // bytes at the most.
  long long promised = 0;
  for (long32 i = 0; i < lcs; ++i) promised += BlocksIn(i);
  const long long blocks = std::min(promised, dataBytes / kBlockHead);
  const size_t stride = TableStride();
  const size_t perBeam = stride * BEAM_DATA::kTables;
  const size_t beamsAt = static_cast<size_t>(lcs) * sizeof(LoadCase);
  size_t valuesAt = beamsAt + static_cast<size_t>(blocks) * sizeof(BEAM_DATA);
  valuesAt = (valuesAt + alignof(float) - 1) / alignof(float) * alignof(float);
  const long double total = static_cast<long double>(valuesAt) + static_cast<long double>(blocks) * perBeam * sizeof(float);
  if (total > static_cast<long double>(SIZE_MAX / 2)) return telio::kErrorNotEnoughMemory;
  unsigned char* block = static_cast<unsigned char*>(telio::CallocWhole(static_cast<size_t>(total)));
  if (!block) return telio::kErrorNotEnoughMemory;
  loaded_ = reinterpret_cast<LoadCase*>(block);
  loadedSize_ = static_cast<size_t>(total);
  BEAM_DATA* nextBeam = reinterpret_cast<BEAM_DATA*>(block + beamsAt);
  float* nextValues = reinterpret_cast<float*>(block + valuesAt);
  // A file that ends with its header holds no blocks yet: every load case
  // is empty.
  if (dataBytes == 0) return 0;
  telio::filereading::ChunkReader in(f);
  if (!in.Init(kChunk, static_cast<size_t>(kBlockHead + kBytesPerIP * capacity_))) return telio::kErrorNotEnoughMemory;
  long long used = 0;
  for (long32 i = 0; i < lcs; ++i) {
    LoadCase& lc = loaded_[i];
    lc.beams = nextBeam;
    for (long32 b = 0; b < BlocksIn(i); ++b) {
      ulong32 code = in.Need(kBlockHead);
      if (code != 0) return code;
      if (used == blocks) return telio::kErrorHandleEof;
      BEAM_DATA& bd = *nextBeam;
      bd.beamNumber = static_cast<long32>(telio::DecodeFixed32(in.Data()));
      bd.ipCount = static_cast<int16_t>(telio::DecodeFixed16(in.Data() + 4));
      const int n = bd.ipCount;
      if (n > maxIP_) return telio::kErrorFileCorrupt;
      in.Consume(kBlockHead);
      // BEAM_DATA is packed: its table pointers are set from an aligned copy.
      float* tables[BEAM_DATA::kTables];
      for (int t = 0; t < BEAM_DATA::kTables; ++t) tables[t] = nextValues + static_cast<size_t>(t) * stride;
      std::memcpy(bd.tables, tables, sizeof tables);
      if (n > 0) {
        code = in.Need(static_cast<size_t>(kBytesPerIP * n));
        if (code != 0) return code;
        DecodeTables(in.Data(), n, stride, tables);
        in.Consume(static_cast<size_t>(kBytesPerIP * n));
      }
      ++nextBeam;
      nextValues += perBeam;
      ++used;
      lc.count = b + 1;
    }
  }
  return 0;
}

ulong32 CFileOUC::PrepareIP() {
  CleanIP();
  scratchCapacity_ = capacity_;
  const size_t stride = TableStride();
  scratchValues_ = static_cast<float*>(telio::Calloc(stride * BEAM_DATA::kTables, sizeof(float)));
  if (!scratchValues_) return telio::kErrorNotEnoughMemory;
  scratchRead_ = static_cast<unsigned char*>(telio::Malloc(static_cast<size_t>(kBlockHead + kBytesPerIP * capacity_)));
  if (!scratchRead_) return telio::kErrorNotEnoughMemory;
  for (int t = 0; t < BEAM_DATA::kTables; ++t) scratch_.tables[t] = scratchValues_ + static_cast<size_t>(t) * stride;
  return 0;
}

int CFileOUC::MakeBidx() {
  static_assert(sizeof(IndexEntry) == 8, "the index holds 8 bytes per beam block");
  CleanBidx();
  indexCode_ = 0;
  const long32 width = GetMaxBeamPerLC();
  if (maxLCE_ == 0 || width <= 0) return 0;
  std::FILE* f = telio::OpenFile(GetFilePath().GetString(), "rb");
  if (!f) return 0;
  long long size = FileSize(f);
  slotCount_ = maxLCE_;
  indexWidth_ = width;
  indexCode_ = IndexBlocks(f, size >= 0 ? size - DataStart() : LLONG_MAX);
  // The blocks are read from the file that was indexed, until the index is
  // dropped: a file replaced on disk meanwhile is not seen.
  indexedFile_ = f;
  return 1;
}

ulong32 CFileOUC::IndexBlocks(std::FILE* f, long long dataBytes) {
  const long32 lcs = LoadCases();
  // Only blocks that can start in the file get an entry.
  long long total = 0;
  for (long32 i = 0; i < lcs; ++i) total += BlocksIn(i);
  const long long room = std::min(total, dataBytes / kBlockHead);
  if (room > static_cast<long long>(UINT32_MAX)) return telio::kErrorFileCorrupt;
  index_ = static_cast<IndexEntry*>(telio::Calloc(static_cast<size_t>(std::max(room, 1LL)), sizeof(IndexEntry)));
  indexStart_ = static_cast<uint32_t*>(telio::Calloc(static_cast<size_t>(lcs) + 1, sizeof(uint32_t)));
  lcBase_ = static_cast<long long*>(telio::Calloc(static_cast<size_t>(std::max(lcs, 1)), sizeof(long long)));
  sortedLC_ = static_cast<unsigned char*>(telio::Calloc(static_cast<size_t>(std::max(lcs, 1)), 1));
  telio::filereading::ChunkReader in(f);
  if (!index_ || !indexStart_ || !lcBase_ || !sortedLC_ ||
      !in.Init(kChunk, static_cast<size_t>(kBlockHead + kBytesPerIP * capacity_))) {
    return telio::kErrorNotEnoughMemory;
  }
  // A file that ends with its header holds no blocks yet.
  if (dataBytes == 0) return 0;

  ulong32 code = 0;
  if (fseeko(f, static_cast<off_t>(DataStart()), SEEK_SET) != 0) code = telio::kErrorFileCorrupt;
  uint32_t entries = 0;
  long32 i = 0;
  for (; code == 0 && i < lcs; ++i) {
    indexStart_[i] = entries;
    lcBase_[i] = DataStart() + in.Consumed();
    sortedLC_[i] = 1;
    for (long32 b = 0; b < BlocksIn(i); ++b) {
      code = in.Need(kBlockHead);
      if (code == 0 && entries >= room) code = telio::kErrorHandleEof;
      if (code != 0) break;
      const long32 beam = static_cast<long32>(telio::DecodeFixed32(in.Data()));
      const int n = static_cast<int16_t>(telio::DecodeFixed16(in.Data() + 4));
      const long long offset = DataStart() + in.Consumed() - lcBase_[i];
      if (n > maxIP_ || offset > static_cast<long long>(UINT32_MAX)) {
        code = telio::kErrorFileCorrupt;
        break;
      }
      // A block the file ends inside gets no entry.
      const size_t length = static_cast<size_t>(kBlockHead + (n > 0 ? kBytesPerIP * n : 0));
      code = in.Need(length);
      if (code != 0) break;
      in.Consume(length);
      if (b > 0 && beam < index_[entries - 1].beam) sortedLC_[i] = 0;
      index_[entries].beam = beam;
      index_[entries].offset = static_cast<uint32_t>(offset);
      ++entries;
    }
  }
  // The load case cut short keeps its whole entries; those after it (and
  // the end mark) hold none.
  for (long32 j = i; j <= lcs; ++j) indexStart_[j] = entries;
  return code;
}

BEAM_DATA* CFileOUC::ReadBeamDataBmdx(int beam, int lc) {
  if (lc < 0 || lc >= LoadCases() || !beamsPerLC_ || !index_ || !indexStart_ || !scratchRead_) return nullptr;
  const IndexEntry* first = index_ + indexStart_[lc];
  const IndexEntry* last = index_ + indexStart_[lc + 1];
  const long32 wanted = static_cast<long32>(beam) + 1;
  const IndexEntry* hit = nullptr;
  if (sortedLC_[lc]) {
    // Ascending numbers: the first entry not below the one wanted is where
    // a walk from the front would stop.
    const IndexEntry* at =
        std::lower_bound(first, last, wanted, [](const IndexEntry& e, long32 v) { return e.beam < v; });
    if (at != last && at->beam == wanted) hit = at;
  } else {
    for (const IndexEntry* e = first; e != last && e->beam <= wanted; ++e) {
      if (e->beam == wanted) {
        hit = e;
        break;
      }
    }
  }
  if (!hit || !indexedFile_) return nullptr;

  // One read of the block, at the most as long as the longest.
  const size_t most = static_cast<size_t>(kBlockHead + kBytesPerIP * scratchCapacity_);
  size_t got = 0;
  const unsigned char* block = ReadIndexed(lcBase_[lc] + hit->offset, most, &got);
  if (!block || got < static_cast<size_t>(kBlockHead)) return nullptr;
  const int n = static_cast<int16_t>(telio::DecodeFixed16(block + 4));
  // The file may have changed since the index was made.
  if (n > scratchCapacity_ || (n > 0 && got < static_cast<size_t>(kBlockHead + kBytesPerIP * n))) return nullptr;
  if (scratchValues_) std::memset(scratchValues_, 0, static_cast<size_t>(scratchCapacity_) * kBytesPerIP);
  scratch_.beamNumber = static_cast<long32>(telio::DecodeFixed32(block));
  scratch_.ipCount = static_cast<int16_t>(n);
  if (n > 0) {
    float* tables[BEAM_DATA::kTables];
    for (int t = 0; t < BEAM_DATA::kTables; ++t) tables[t] = scratch_.tables[t];
    DecodeTables(block + kBlockHead, n, TableStride(), tables);
  }
  return &scratch_;
}

const unsigned char* CFileOUC::ReadIndexed(long long at, size_t most, size_t* got) {
  const int fd = fileno(indexedFile_);
  if (window_ && most <= kWindowSize) {
    // The window serves the request when it holds it whole, or holds all
    // the file has from at on (a window cut short by the file's end).
    const long long end = windowAt_ + static_cast<long long>(windowLen_);
    const bool inside = at >= windowAt_ && at <= end &&
                        (at + static_cast<long long>(most) <= end || windowLen_ < kWindowSize);
    if (!inside) {
      const ssize_t n = pread(fd, window_, kWindowSize, static_cast<off_t>(at));
      if (n < 0) return nullptr;
      windowAt_ = at;
      windowLen_ = static_cast<size_t>(n);
    }
    const size_t offset = static_cast<size_t>(at - windowAt_);
    *got = std::min(most, windowLen_ - offset);
    return window_ + offset;
  }
  const ssize_t n = pread(fd, scratchRead_, most, static_cast<off_t>(at));
  if (n < 0) return nullptr;
  *got = static_cast<size_t>(n);
  return scratchRead_;
}

void CFileOUC::ReadAhead(bool on) {
  if (!on || !indexedFile_) {
    telio::Free(window_);
    window_ = nullptr;
    windowAt_ = 0;
    windowLen_ = 0;
    return;
  }
  if (window_) return;
  // Without memory for the window, blocks are read one by one as before.
  window_ = static_cast<unsigned char*>(telio::Malloc(kWindowSize));
  windowAt_ = 0;
  windowLen_ = 0;
}

BEAM_DATA* CFileOUC::GetBeamData(int lc, int beam) {
  if (indexed_) return ReadBeamDataBmdx(beam, lc);
  if (!loaded_ || lc < 0 || lc >= LoadCases()) return nullptr;
  const LoadCase& c = loaded_[lc];
  if (!c.beams || beam < 0 || beam >= c.count) return nullptr;
  return &c.beams[beam];
}

int CFileOUC::GetNumIPs(int lc, int beam) {
  const BEAM_DATA* bd = GetBeamData(lc, beam);
  return bd ? bd->NumIPs() : 0;
}

float CFileOUC::GetValue(int lc, int beam, int ip, int kind) {
  const BEAM_DATA* bd = GetBeamData(lc, beam);
  if (!bd || ip < 0 || ip >= bd->NumIPs()) return 0.0f;
  const float* t = bd->Table(kind);
  return t ? t[ip] : 0.0f;
}

float* CFileOUC::GetDataTable(int lc, int beam, int kind) {
  const BEAM_DATA* bd = GetBeamData(lc, beam);
  return bd ? bd->Table(kind) : nullptr;
}
