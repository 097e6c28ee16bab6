#include "files/CFileTOP.h"

#include <cerrno>
#include <cstring>
#include <string>

#include "files/ExportFile.h"
#include "files/FileReading.h"
#include "files/TopFileReader.h"
#include "platform/CPathObj.h"
#include "platform/Alloc.h"
#include "platform/CodePage.h"
#include "platform/LastError.h"
#include "platform/PathCase.h"
#include "sections/SectionFamilies.h"

namespace {

// Family ids whose sections never have a catalogue key: user-defined (0),
// tapered, wall, composite and the special composite families. Frozen with
// the file format.
bool FamilyWithoutKey(int f) {
  return f == 0 || f == 80 || f == 81 || f == 103 || f == 104 || f == 108 || f == 109;
}

// Values encoded or decoded per transfer when a table is converted to or
// from its file form.
constexpr unsigned kChunk = 256;

int Fail(int* err, ulong32 code) {
  if (err) *err = static_cast<int>(code);
  return 0;
}

// The platform's last error after a failed open, never 0.
ulong32 OpenError() {
  ulong32 code = telio::GetLastError();
  return code != 0 ? code : telio::kErrorFileNotFound;
}

ulong32 WriteTable(std::FILE* f, void* table, size_t recSize, unsigned count) {
  // The fixed tables are required even when empty: the suite's reader
  // expects a whole model.
  if (!table) return telio::kErrorBadArguments;
  return FWriteBuff(f, table, static_cast<unsigned>(recSize), count);
}

ulong32 WriteAngles(std::FILE* f, const float* angles, unsigned count) {
  if (!angles) return telio::kErrorBadArguments;
  unsigned char buf[4 * kChunk];
  for (unsigned done = 0; done < count;) {
    unsigned n = count - done < kChunk ? count - done : kChunk;
    for (unsigned i = 0; i < n; ++i) telio::EncodeFloat(buf + 4 * i, angles[done + i]);
    ulong32 code = FWriteBuff(f, buf, 4, n);
    if (code != 0) return code;
    done += n;
  }
  return 0;
}

}  // namespace

namespace telio {
namespace topfile {

namespace {

// Header counts that cannot be right whatever the file holds.
bool NodesMissing(const TOPO_CURDIMS_REC& r) {
  return r.NodeCount() == 0 && (r.BeamCount() > 0 || r.PhysBeamCount() > 0 || r.SupportCount() > 0);
}

// The size of the blocks whose size the header alone fixes.
long long FixedBlocksSize(const TOPO_CURDIMS_REC& r, bool wholeFile) {
  long long n = static_cast<long long>(TOP_NODE::kSize) * r.NodeCount() +
                static_cast<long long>(TOP_BEAM::kSize) * r.BeamCount();
  if (wholeFile) {
    n += static_cast<long long>(TOP_SUPPORT::kSize) * r.SupportCount() +
         static_cast<long long>(TOP_SEC::kFileSize) * r.SectionCount() +
         4LL * r.BeamCount() +
         static_cast<long long>(CURPHBM_REC_TOPO::kFileSize) * r.PhysBeamCount();
  }
  return n;
}

}  // namespace

ulong32 CheckCounts(std::FILE* f, const TOPO_CURDIMS_REC& head, bool wholeFile) {
  if (wholeFile ? NodesMissing(head) : head.NodeCount() == 0 || head.BeamCount() == 0) {
    return kErrorBadArguments;
  }
  const long long bytesLeft = filereading::BytesLeft(f);
  if (bytesLeft >= 0 && bytesLeft < FixedBlocksSize(head, wholeFile)) return kErrorHandleEof;
  return 0;
}

std::FILE* OpenAndReadHeader(const char* path, TOPO_CURDIMS_REC* head, ulong32* code) {
  std::FILE* f = OpenFile(path, "rb");
  if (!f) {
    *code = OpenError();
    return nullptr;
  }
  // Everything after the header is read in large chunks or straight into
  // its tables: a stream buffer would only split those reads.
  std::setvbuf(f, nullptr, _IONBF, 0);
  *code = FReadBuff(f, head->header, TOPO_CURDIMS_REC::kHeaderSize, 1);
  if (*code != 0) {
    std::fclose(f);
    return nullptr;
  }
  return f;
}

}  // namespace topfile
}  // namespace telio

namespace {

// The tables of a TOPO_CURDIMS_REC, filled from the file's records as they
// come (see files/TopFileReader.h).
class RecordSink {
 public:
  RecordSink(const TOPO_CURDIMS_REC& head, TOPO_CURDIMS_REC* rec) : head_(head), rec_(rec) {}

  ulong32 Begin() {
    std::memcpy(rec_->header, head_.header, TOPO_CURDIMS_REC::kHeaderSize);
    if (!CFileTOP::AllocateArrays(rec_)) return telio::kErrorNotEnoughMemory;
    return 0;
  }
  // The fixed tables hold the file's records as they are: read in place.
  unsigned char* Direct(size_t size) {
    if (size == TOP_NODE::kSize) return reinterpret_cast<unsigned char*>(rec_->nodes);
    if (size == TOP_BEAM::kSize) return reinterpret_cast<unsigned char*>(rec_->beams);
    return reinterpret_cast<unsigned char*>(rec_->supports);
  }
  void Nodes(int, const unsigned char*, int) {}
  void Beams(int, const unsigned char*, int) {}
  void Supports(int, const unsigned char*, int) {}
  TOP_SEC* Sections() { return rec_->sections; }
  // Angles are held in host order; the file has them little-endian.
  void Angles(int i, const unsigned char* p, int n) {
    telio::DecodeFloats(rec_->angles + i, p, static_cast<size_t>(n));
  }
  ulong32 PhysBeam(int i, const unsigned char* p, const unsigned char* numbers) {
    CURPHBM_REC_TOPO& pb = rec_->physBeams[i];
    std::memcpy(pb.rec, p, CURPHBM_REC_TOPO::kFileSize);
    const int n = pb.BeamCount();
    if (n <= 0) return 0;  // a negative count is an empty list
    pb.beams = static_cast<int16_t*>(telio::Malloc(2 * static_cast<size_t>(n)));
    if (!pb.beams) return telio::kErrorNotEnoughMemory;
    telio::DecodeFixed16s(reinterpret_cast<uint16_t*>(pb.beams), numbers, static_cast<size_t>(n));
    return 0;
  }

 private:
  const TOPO_CURDIMS_REC& head_;
  TOPO_CURDIMS_REC* rec_;
};

int ReadInto(const char* path, TOPO_CURDIMS_REC* rec, int* err, bool wholeFile) {
  if (!path || !rec) return Fail(err, telio::kErrorBadArguments);
  ulong32 code = 0;
  TOPO_CURDIMS_REC head{};
  std::FILE* f = telio::topfile::OpenAndReadHeader(path, &head, &code);
  if (!f) return Fail(err, code);
  code = telio::topfile::CheckCounts(f, head, wholeFile);
  if (code == 0) {
    RecordSink sink(head, rec);
    code = telio::topfile::ReadTopBlocks(f, head, wholeFile, sink);
  }
  std::fclose(f);
  if (code != 0) return Fail(err, code);
  if (err) *err = 0;
  return 1;
}

}  // namespace

// ---------------------------------------------------------------------------
// Section record

CString TOP_SEC::NameOem() const {
  const char* p = reinterpret_cast<const char*>(rec);
  int n = 0;
  while (n < static_cast<int>(kNameSize) && p[n] != '\0') ++n;
  return CString(p, n);
}

CString TOP_SEC::Name() const {
  char buf[kNameSize + 1] = {};
  CString oem = NameOem();
  OemToCharBuffA(oem.GetString(), buf, static_cast<ulong32>(oem.GetLength()));
  return CString(buf);
}

void TOP_SEC::SetName(const char* ansi) {
  std::memset(rec, 0, kNameSize);
  if (!ansi) return;
  size_t n = std::strlen(ansi);
  if (n > kNameSize - 1) n = kNameSize - 1;
  std::memcpy(rec, ansi, n);
  char* p = reinterpret_cast<char*>(rec);
  CharToOemBuffA(p, p, static_cast<ulong32>(n));
}

bool TOP_SEC::HasPropertyBlock() const { return HasValidPRS(Family()); }

bool TOP_SEC::HasCatalogueKey() const { return SubNumber() == 0 && !FamilyWithoutKey(Family()); }

bool TOP_SEC::HasCompositeData() const {
  int f = Family();
  return f == 104 || f == 108 || f == 109;
}

// ---------------------------------------------------------------------------
// File object

CFileTOP::CFileTOP() : rec_() { SetFileDefExt("TOP"); }

CFileTOP::~CFileTOP() { Close(); }

int CFileTOP::NewFile(const char*) { return 0; }

ulong32 CFileTOP::ImportWith(const char* path, int (*reader)(const char*, TOPO_CURDIMS_REC*, int*)) {
  Close();
  if (!SetFilePath(path, true)) return OpenError();
  int err = 0;
  if (!reader(path, &rec_, &err)) {
    Close();
    return static_cast<ulong32>(err);
  }
  return 0;
}

ulong32 CFileTOP::Import(const char* path) { return ImportWith(path, &CFileTOP::ReadFile); }

ulong32 CFileTOP::ImportTopology(const char* path) {
  return ImportWith(path, &CFileTOP::ReadTopologyFile);
}

ulong32 CFileTOP::Export(const char* path) {
  if (!SetFilePath(path, false)) return OpenError();
  int err = 0;
  return WriteFile(path, &rec_, &err) ? 0 : static_cast<ulong32>(err);
}

void CFileTOP::Close() {
  Init();
  DeAllocateArrays(&rec_);
  rec_ = TOPO_CURDIMS_REC{};
}

// ---------------------------------------------------------------------------
// Tables

int CFileTOP::AllocateArrays(TOPO_CURDIMS_REC* rec) {
  if (!rec) return 0;
  rec->nodes = nullptr;
  rec->beams = nullptr;
  rec->supports = nullptr;
  rec->sections = nullptr;
  rec->angles = nullptr;
  rec->physBeams = nullptr;
  bool ok = true;
  auto alloc = [&ok](size_t count, size_t size) -> void* {
    if (!ok || count == 0) return nullptr;
    void* p = telio::Calloc(count, size);
    if (!p) ok = false;
    return p;
  };
  rec->nodes = static_cast<TOP_NODE*>(alloc(rec->NodeCount(), sizeof(TOP_NODE)));
  rec->beams = static_cast<TOP_BEAM*>(alloc(rec->BeamCount(), sizeof(TOP_BEAM)));
  rec->supports = static_cast<TOP_SUPPORT*>(alloc(rec->SupportCount(), sizeof(TOP_SUPPORT)));
  rec->sections = static_cast<TOP_SEC*>(alloc(rec->SectionCount(), sizeof(TOP_SEC)));
  rec->angles = static_cast<float*>(alloc(rec->BeamCount(), sizeof(float)));
  rec->physBeams =
      static_cast<CURPHBM_REC_TOPO*>(alloc(rec->PhysBeamCount(), sizeof(CURPHBM_REC_TOPO)));
  if (!ok) {
    // Fresh zero-filled tables hold no blocks of their own.
    DeAllocateArrays(rec);
    return 0;
  }
  return 1;
}

void CFileTOP::DeAllocateArrays(TOPO_CURDIMS_REC* rec) {
  if (!rec) return;
  if (rec->sections) {
    for (unsigned i = 0; i < rec->SectionCount(); ++i) {
      telio::Free(rec->sections[i].prs);
      rec->sections[i].prs = nullptr;
    }
  }
  if (rec->physBeams) {
    for (unsigned i = 0; i < rec->PhysBeamCount(); ++i) {
      telio::Free(rec->physBeams[i].beams);
      rec->physBeams[i].beams = nullptr;
    }
  }
  telio::Free(rec->nodes);
  telio::Free(rec->beams);
  telio::Free(rec->supports);
  telio::Free(rec->sections);
  telio::Free(rec->angles);
  telio::Free(rec->physBeams);
  rec->nodes = nullptr;
  rec->beams = nullptr;
  rec->supports = nullptr;
  rec->sections = nullptr;
  rec->angles = nullptr;
  rec->physBeams = nullptr;
}

// ---------------------------------------------------------------------------
// Whole file

int CFileTOP::ReadFile(const char* path, TOPO_CURDIMS_REC* rec, int* err) {
  return ReadInto(path, rec, err, true);
}

int CFileTOP::ReadTopologyFile(const char* path, TOPO_CURDIMS_REC* rec, int* err) {
  return ReadInto(path, rec, err, false);
}

int CFileTOP::ReadHeader(const char* path, TOPO_CURDIMS_REC* rec, int* err) {
  if (!path || !rec) return Fail(err, telio::kErrorBadArguments);
  ulong32 code = 0;
  TOPO_CURDIMS_REC head{};
  std::FILE* f = telio::topfile::OpenAndReadHeader(path, &head, &code);
  if (!f) return Fail(err, code);
  std::fclose(f);
  std::memcpy(rec->header, head.header, TOPO_CURDIMS_REC::kHeaderSize);
  if (err) *err = 0;
  return 1;
}

int CFileTOP::WriteFile(const char* path, TOPO_CURDIMS_REC* rec, int* err) {
  if (!path || !rec) return Fail(err, telio::kErrorBadArguments);
  telio::ExportFile out(path);
  std::FILE* f = out.get();
  if (!f) return Fail(err, out.OpenError());

  ulong32 code = FWriteBuff(f, rec->header, TOPO_CURDIMS_REC::kHeaderSize, 1);
  if (code == 0) code = WriteTable(f, rec->nodes, TOP_NODE::kSize, rec->NodeCount());
  if (code == 0) code = WriteTable(f, rec->beams, TOP_BEAM::kSize, rec->BeamCount());
  if (code == 0) code = WriteTable(f, rec->supports, TOP_SUPPORT::kSize, rec->SupportCount());
  if (code == 0) code = WriteSections(f, rec->sections, rec->SectionCount());
  if (code == 0) code = WriteAngles(f, rec->angles, rec->BeamCount());
  if (code == 0) code = WritePrs(f, rec->sections, rec->SectionCount());
  if (code == 0) code = WriteHash(f, rec->sections, rec->SectionCount());
  if (code == 0) code = WritePhysBeams(f, rec->physBeams, rec->PhysBeamCount());
  if (code == 0) code = WriteExtraSectionsData(f, rec->sections, rec->SectionCount());
  // Buffered data reaches the disk only in Commit: a full disk shows there.
  code = out.Commit(code);
  if (code != 0) return Fail(err, code);
  if (err) *err = 0;
  return 1;
}

// ---------------------------------------------------------------------------
// Blocks

namespace {

ulong32 CheckBlockArgs(std::FILE* f, const void* table, int count) {
  if (!f || count < 0 || (count > 0 && !table)) return telio::kErrorBadArguments;
  return 0;
}

}  // namespace

ulong32 CFileTOP::ReadSections(std::FILE* f, TOP_SEC* secs, int count) {
  if (ulong32 code = CheckBlockArgs(f, secs, count)) return code;
  for (int i = 0; i < count; ++i) {
    ulong32 code = FReadBuff(f, secs[i].rec, TOP_SEC::kFileSize, 1);
    if (code != 0) return code;
  }
  return 0;
}

ulong32 CFileTOP::WriteSections(std::FILE* f, TOP_SEC* secs, int count) {
  if (ulong32 code = CheckBlockArgs(f, secs, count)) return code;
  for (int i = 0; i < count; ++i) {
    ulong32 code = FWriteBuff(f, secs[i].rec, TOP_SEC::kFileSize, 1);
    if (code != 0) return code;
  }
  return 0;
}

ulong32 CFileTOP::ReadPrs(std::FILE* f, TOP_SEC* secs, int count) {
  if (ulong32 code = CheckBlockArgs(f, secs, count)) return code;
  for (int i = 0; i < count; ++i) {
    TOP_SEC& s = secs[i];
    if (!s.HasPropertyBlock()) continue;
    if (!s.prs) {
      s.prs = static_cast<TOP_PRS*>(telio::Calloc(1, sizeof(TOP_PRS)));
      if (!s.prs) return telio::kErrorNotEnoughMemory;
    }
    ulong32 code = FReadBuff(f, s.prs->data, TOP_PRS::kSize, 1);
    if (code != 0) return code;
  }
  return 0;
}

ulong32 CFileTOP::WritePrs(std::FILE* f, TOP_SEC* secs, int count) {
  if (ulong32 code = CheckBlockArgs(f, secs, count)) return code;
  for (int i = 0; i < count; ++i) {
    if (!secs[i].HasPropertyBlock()) continue;
    if (!secs[i].prs) return telio::kErrorBadArguments;
    ulong32 code = FWriteBuff(f, secs[i].prs->data, TOP_PRS::kSize, 1);
    if (code != 0) return code;
  }
  return 0;
}

ulong32 CFileTOP::ReadHash(std::FILE* f, TOP_SEC* secs, int count) {
  if (ulong32 code = CheckBlockArgs(f, secs, count)) return code;
  for (int i = 0; i < count; ++i) {
    if (!secs[i].HasCatalogueKey()) continue;
    ulong32 code = FReadBuff(f, secs[i].rec + 20, 4, 1);
    if (code != 0) return code;
  }
  return 0;
}

ulong32 CFileTOP::WriteHash(std::FILE* f, TOP_SEC* secs, int count) {
  if (ulong32 code = CheckBlockArgs(f, secs, count)) return code;
  for (int i = 0; i < count; ++i) {
    if (!secs[i].HasCatalogueKey()) continue;
    ulong32 code = FWriteBuff(f, secs[i].rec + 20, 4, 1);
    if (code != 0) return code;
  }
  return 0;
}

ulong32 CFileTOP::ReadPhysBeams(std::FILE* f, CURPHBM_REC_TOPO* pbs, int count) {
  if (ulong32 code = CheckBlockArgs(f, pbs, count)) return code;
  for (int i = 0; i < count; ++i) {
    CURPHBM_REC_TOPO& p = pbs[i];
    ulong32 code = FReadBuff(f, p.rec, CURPHBM_REC_TOPO::kFileSize, 1);
    if (code != 0) return code;
    int n = p.BeamCount();
    if (n <= 0) continue;  // a negative count is an empty list
    long long left = telio::filereading::BytesLeft(f);
    if (left >= 0 && left < 2LL * n) return telio::kErrorHandleEof;
    telio::Free(p.beams);
    p.beams = static_cast<int16_t*>(telio::Malloc(2 * static_cast<size_t>(n)));
    if (!p.beams) return telio::kErrorNotEnoughMemory;
    code = FReadBuff(f, p.beams, 2, static_cast<unsigned>(n));
    if (code != 0) return code;
    telio::DecodeFixed16s(reinterpret_cast<uint16_t*>(p.beams), reinterpret_cast<const unsigned char*>(p.beams),
                          static_cast<size_t>(n));
  }
  return 0;
}

ulong32 CFileTOP::WritePhysBeams(std::FILE* f, CURPHBM_REC_TOPO* pbs, int count) {
  if (ulong32 code = CheckBlockArgs(f, pbs, count)) return code;
  unsigned char buf[2 * kChunk];
  for (int i = 0; i < count; ++i) {
    CURPHBM_REC_TOPO& p = pbs[i];
    int n = p.BeamCount();
    if (n > 0 && !p.beams) return telio::kErrorBadArguments;
    ulong32 code = FWriteBuff(f, p.rec, CURPHBM_REC_TOPO::kFileSize, 1);
    if (code != 0) return code;
    for (int done = 0; done < n;) {
      int m = n - done < static_cast<int>(kChunk) ? n - done : static_cast<int>(kChunk);
      for (int k = 0; k < m; ++k) {
        telio::EncodeFixed16(buf + 2 * k, static_cast<uint16_t>(p.beams[done + k]));
      }
      code = FWriteBuff(f, buf, 2, static_cast<unsigned>(m));
      if (code != 0) return code;
      done += m;
    }
  }
  return 0;
}

ulong32 CFileTOP::ReadExtraSectionsData(std::FILE* f, TOP_SEC* secs, int count) {
  if (ulong32 code = CheckBlockArgs(f, secs, count)) return code;
  for (int i = 0; i < count; ++i) {
    if (!secs[i].HasCompositeData()) continue;
    for (int k = 0; k < TOP_SEC::kCompositeValues; ++k) {
      unsigned char v[4];
      ulong32 code = FReadBuff(f, v, 4, 1);
      if (code == telio::kErrorHandleEof && k == TOP_SEC::kCompositeValues - 1) return 0;
      if (code != 0) return code;
      std::memcpy(secs[i].composite + 4 * k, v, 4);
    }
  }
  return 0;
}

ulong32 CFileTOP::WriteExtraSectionsData(std::FILE* f, TOP_SEC* secs, int count) {
  if (ulong32 code = CheckBlockArgs(f, secs, count)) return code;
  for (int i = 0; i < count; ++i) {
    if (!secs[i].HasCompositeData()) continue;
    ulong32 code = FWriteBuff(f, secs[i].composite, sizeof secs[i].composite, 1);
    if (code != 0) return code;
  }
  return 0;
}
