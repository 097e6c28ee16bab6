#include "files/CFileOUC.h"

#include <algorithm>
#include <climits>
#include <cstring>

#include <sys/stat.h>
#include <sys/types.h>

#include "files/CFileJOB.h"
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

// Reads the blocks area front to back in large chunks, so that neither a
// block's head nor its values cost a call into the stream each.
class ChunkReader {
 public:
  explicit ChunkReader(std::FILE* f) : f_(f) {}
  ~ChunkReader() { telio::Free(buf_); }
  ChunkReader(const ChunkReader&) = delete;
  ChunkReader& operator=(const ChunkReader&) = delete;

  // Room for the largest block the header allows; false when out of memory.
  bool Init(size_t largestBlock) {
    cap_ = std::max(kChunk, largestBlock);
    buf_ = static_cast<unsigned char*>(telio::Malloc(cap_));
    return buf_ != nullptr;
  }
  // n contiguous bytes at Data(); 0 when available, else the stream's code
  // (38 when the file ended first).
  ulong32 Need(size_t n) {
    if (end_ - pos_ >= n) return 0;
    std::memmove(buf_, buf_ + pos_, end_ - pos_);
    end_ -= pos_;
    pos_ = 0;
    while (end_ < n) {
      size_t got = std::fread(buf_ + end_, 1, cap_ - end_, f_);
      end_ += got;
      if (got == 0) {
        ulong32 code = telio::StreamErrorCode(f_, false);
        return code != 0 ? code : telio::kErrorHandleEof;
      }
    }
    return 0;
  }
  const unsigned char* Data() const { return buf_ + pos_; }
  void Consume(size_t n) {
    pos_ += n;
    consumed_ += static_cast<long long>(n);
  }
  // Bytes consumed since the reader started.
  long long Consumed() const { return consumed_; }

 private:
  std::FILE* f_;
  unsigned char* buf_ = nullptr;
  size_t cap_ = 0;
  size_t pos_ = 0;
  size_t end_ = 0;
  long long consumed_ = 0;
};

// Decodes n values of each table from a block's value bytes into tables of
// `capacity` floats each, in file order.
void DecodeTables(const unsigned char* src, int n, float* const* tables) {
  for (int t = 0; t < BEAM_DATA::kTables; ++t) {
    float* dst = tables[t];
    for (int i = 0; i < n; ++i, src += 4) dst[i] = telio::DecodeFloat(src);
  }
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
      beamsPerLC_(nullptr),
      lastImport_(0),
      scratch_(),
      scratchValues_(nullptr),
      scratchRead_(nullptr),
      loaded_(nullptr),
      index_(nullptr),
      indexStart_(nullptr),
      lcBase_(nullptr),
      sortedLC_(nullptr),
      keepOpen_(false),
      held_(nullptr) {
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
  if (loaded_) {
    for (long32 i = 0; i < lcNum_; ++i) {
      telio::Free(loaded_[i].beams);
      telio::Free(loaded_[i].values);
    }
    telio::Free(loaded_);
    loaded_ = nullptr;
  }
  telio::Free(beamsPerLC_);
  beamsPerLC_ = nullptr;
  maxLCE_ = lcNum_ = maxIP_ = 0;
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
  if (held_) std::fclose(held_);
  held_ = nullptr;
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
  if (reader.Import(job.GetFullPath()) != 0) return 0;
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
    if (code == 0) code = MakeBidx();
  }
  // Half-built tables are never left behind a failed allocation.
  if (code == telio::kErrorNotEnoughMemory) Close();
  return code;
}

ulong32 CFileOUC::CheckHeader(long long dataBytes) const {
  if (lcNum_ < 0 || maxIP_ < 0 || lcNum_ > maxLCE_) return telio::kErrorFileCorrupt;
  // A real MaxIP is the IP count of some block, which the file holds whole.
  if (maxIP_ > 0 && kBlockHead + kBytesPerIP * maxIP_ > dataBytes) return telio::kErrorFileCorrupt;
  for (long32 i = 0; i < lcNum_; ++i) {
    if (beamsPerLC_[i] < 0) return telio::kErrorFileCorrupt;
  }
  return 0;
}

ulong32 CFileOUC::ReadHeader(std::FILE* f) {
  maxLCE_ = ReadMaxLCE();
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
  if (lcNum_ == 0) return 0;
  long long size = FileSize(f);
  const long long dataBytes = size >= 0 ? size - DataStart() : LLONG_MAX;
  loaded_ = static_cast<LoadCase*>(telio::Calloc(static_cast<size_t>(lcNum_), sizeof(LoadCase)));
  if (!loaded_) return telio::kErrorNotEnoughMemory;
  ChunkReader in(f);
  if (!in.Init(static_cast<size_t>(kBlockHead + kBytesPerIP * maxIP_))) return telio::kErrorNotEnoughMemory;
  const size_t perBeam = static_cast<size_t>(maxIP_) * BEAM_DATA::kTables;

  for (long32 i = 0; i < lcNum_; ++i) {
    LoadCase& lc = loaded_[i];
    // Only blocks that can start in the rest of the file get room.
    long long count = std::min<long long>(beamsPerLC_[i], (dataBytes - in.Consumed()) / kBlockHead);
    if (count <= 0) {
      if (beamsPerLC_[i] > 0) return telio::kErrorHandleEof;
      continue;
    }
    lc.beams = static_cast<BEAM_DATA*>(telio::Calloc(static_cast<size_t>(count), sizeof(BEAM_DATA)));
    if (!lc.beams) return telio::kErrorNotEnoughMemory;
    if (perBeam > 0) {
      lc.values = static_cast<float*>(telio::Calloc(static_cast<size_t>(count) * perBeam, sizeof(float)));
      if (!lc.values) return telio::kErrorNotEnoughMemory;
    }
    for (long32 b = 0; b < beamsPerLC_[i]; ++b) {
      ulong32 code = in.Need(kBlockHead);
      if (code != 0) return code;
      if (b >= count) return telio::kErrorHandleEof;
      BEAM_DATA& bd = lc.beams[b];
      bd.beamNumber = static_cast<long32>(telio::DecodeFixed32(in.Data()));
      bd.ipCount = static_cast<int16_t>(telio::DecodeFixed16(in.Data() + 4));
      const int n = bd.ipCount;
      if (n > maxIP_) return telio::kErrorFileCorrupt;
      in.Consume(kBlockHead);
      float* tables[BEAM_DATA::kTables] = {};
      for (int t = 0; t < BEAM_DATA::kTables; ++t) {
        tables[t] = lc.values ? lc.values + static_cast<size_t>(b) * perBeam + static_cast<size_t>(t) * maxIP_
                              : nullptr;
        bd.tables[t] = tables[t];
      }
      if (n > 0) {
        code = in.Need(static_cast<size_t>(kBytesPerIP * n));
        if (code != 0) return code;
        DecodeTables(in.Data(), n, tables);
        in.Consume(static_cast<size_t>(kBytesPerIP * n));
      }
      lc.count = b + 1;
    }
  }
  return 0;
}

ulong32 CFileOUC::PrepareIP() {
  CleanIP();
  scratchCapacity_ = maxIP_;
  const size_t perBeam = static_cast<size_t>(maxIP_) * BEAM_DATA::kTables;
  if (perBeam > 0) {
    scratchValues_ = static_cast<float*>(telio::Calloc(perBeam, sizeof(float)));
    if (!scratchValues_) return telio::kErrorNotEnoughMemory;
  }
  scratchRead_ = static_cast<unsigned char*>(telio::Malloc(static_cast<size_t>(kBlockHead + kBytesPerIP * maxIP_)));
  if (!scratchRead_) return telio::kErrorNotEnoughMemory;
  for (int t = 0; t < BEAM_DATA::kTables; ++t) {
    scratch_.tables[t] = scratchValues_ ? scratchValues_ + static_cast<size_t>(t) * maxIP_ : nullptr;
  }
  return 0;
}

ulong32 CFileOUC::MakeBidx() {
  static_assert(sizeof(IndexEntry) == 8, "the index holds 8 bytes per beam block");
  CleanBidx();
  const long32 width = GetMaxBeamPerLC();
  if (maxLCE_ == 0 || width == 0 || lcNum_ == 0) return 0;
  std::FILE* f = telio::OpenFile(GetFilePath().GetString(), "rb");
  if (!f) return 0;
  long long size = FileSize(f);
  const long long dataBytes = size >= 0 ? size - DataStart() : LLONG_MAX;
  slotCount_ = maxLCE_;
  indexWidth_ = width;

  // Only blocks that can start in the file get an entry.
  long long total = 0;
  for (long32 i = 0; i < lcNum_; ++i) total += beamsPerLC_[i];
  const long long room = std::min(total, dataBytes / kBlockHead);
  if (room > static_cast<long long>(UINT32_MAX)) {
    std::fclose(f);
    return telio::kErrorFileCorrupt;
  }
  index_ = static_cast<IndexEntry*>(telio::Calloc(static_cast<size_t>(std::max(room, 1LL)), sizeof(IndexEntry)));
  indexStart_ = static_cast<uint32_t*>(telio::Calloc(static_cast<size_t>(lcNum_) + 1, sizeof(uint32_t)));
  lcBase_ = static_cast<long long*>(telio::Calloc(static_cast<size_t>(lcNum_), sizeof(long long)));
  sortedLC_ = static_cast<unsigned char*>(telio::Calloc(static_cast<size_t>(lcNum_), 1));
  ChunkReader in(f);
  if (!index_ || !indexStart_ || !lcBase_ || !sortedLC_ ||
      !in.Init(static_cast<size_t>(kBlockHead + kBytesPerIP * maxIP_))) {
    std::fclose(f);
    return telio::kErrorNotEnoughMemory;
  }

  ulong32 code = 0;
  if (fseeko(f, static_cast<off_t>(DataStart()), SEEK_SET) != 0) code = telio::kErrorFileCorrupt;
  uint32_t entries = 0;
  long32 i = 0;
  for (; code == 0 && i < lcNum_; ++i) {
    indexStart_[i] = entries;
    lcBase_[i] = DataStart() + in.Consumed();
    sortedLC_[i] = 1;
    for (long32 b = 0; b < beamsPerLC_[i]; ++b) {
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
  for (long32 j = i; j <= lcNum_; ++j) indexStart_[j] = entries;
  std::fclose(f);
  return code;
}

BEAM_DATA* CFileOUC::ReadBeamDataBmdx(int beam, int lc) {
  if (lc < 0 || lc >= lcNum_ || !beamsPerLC_ || !index_ || !indexStart_ || !scratchRead_) return nullptr;
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
  if (!hit) return nullptr;

  std::FILE* f = held_;
  if (!f) {
    f = telio::OpenFile(GetFilePath().GetString(), "rb");
    if (!f) return nullptr;
    if (keepOpen_) {
      // Requests in ascending order then mostly seek inside the buffer.
      std::setvbuf(f, nullptr, _IOFBF, kHeldBuffer);
      held_ = f;
    }
  }
  const off_t at = static_cast<off_t>(lcBase_[lc] + hit->offset);
  const size_t most = static_cast<size_t>(kBlockHead + kBytesPerIP * scratchCapacity_);
  size_t got = 0;
  if (fseeko(f, at, SEEK_SET) == 0) got = std::fread(scratchRead_, 1, most, f);
  if (f != held_) std::fclose(f);
  if (got < kBlockHead) return nullptr;
  const int n = static_cast<int16_t>(telio::DecodeFixed16(scratchRead_ + 4));
  // The file may have changed since the index was made.
  if (n > scratchCapacity_ || (n > 0 && got < static_cast<size_t>(kBlockHead + kBytesPerIP * n))) return nullptr;
  if (scratchValues_) std::memset(scratchValues_, 0, static_cast<size_t>(scratchCapacity_) * kBytesPerIP);
  scratch_.beamNumber = static_cast<long32>(telio::DecodeFixed32(scratchRead_));
  scratch_.ipCount = static_cast<int16_t>(n);
  if (n > 0) {
    float* tables[BEAM_DATA::kTables];
    for (int t = 0; t < BEAM_DATA::kTables; ++t) tables[t] = scratch_.tables[t];
    DecodeTables(scratchRead_ + kBlockHead, n, tables);
  }
  return &scratch_;
}

void CFileOUC::KeepOpen(bool on) {
  keepOpen_ = on;
  if (!on && held_) {
    std::fclose(held_);
    held_ = nullptr;
  }
}

BEAM_DATA* CFileOUC::GetBeamData(int lc, int beam) {
  if (indexed_) return ReadBeamDataBmdx(beam, lc);
  if (!loaded_ || lc < 0 || lc >= lcNum_) return nullptr;
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
