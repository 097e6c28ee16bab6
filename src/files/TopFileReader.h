// The one reading of a TOP file (layout in files/CFileTOP.h), shared by the
// file object and the topology model, which take the records into their own
// forms. Internal: not part of the exported interface.
//
// ReadTopBlocks reads the blocks after the header front to back and hands
// them to a sink, which receives the raw file records:
//
//   ulong32 Begin();                              tables for the header's counts; 8 on failure
//   void Nodes(int first, const unsigned char* records, int n);
//   void Beams(int first, const unsigned char* records, int n);
//   void Supports(int first, const unsigned char* records, int n);
//   unsigned char* Direct(size_t recordSize);     where the node (18), beam (8) or support
//                                                 (14) records go as they are in the file,
//                                                 read there in one transfer; null: handed
//                                                 over a chunk at a time instead
//   TOP_SEC* Sections();                          SectionCount() records: the reader
//                                                 fills the file's section records,
//                                                 property blocks, keys and composite data
//   void Angles(int first, const unsigned char* values, int n);
//   ulong32 PhysBeam(int i, const unsigned char* record, const unsigned char* numbers);
//                                                 numbers: the record's beam count of u16
//                                                 (none when not positive); 8 on failure
//
// The whole file gives every block; the topology alone only the nodes and
// beams. Counts that the file cannot hold are refused before Begin.
#pragma once

#include <cstdio>

#include "files/CFileTOP.h"
#include "files/ChunkReader.h"
#include "platform/Alloc.h"
#include "platform/LastError.h"

namespace telio {
namespace topfile {

// Chunks are read as whole records of the fixed tables.
constexpr size_t kChunk = 64 * 1024;

// Checks the header's counts against the bytes after it in f, just past the
// header (not checked when f is not a regular file): 160 for counts that
// cannot be right (no nodes under beams, supports or physical beams; for the
// topology alone, no nodes or no beams), 38 when the fixed blocks do not fit.
ulong32 CheckCounts(std::FILE* f, const TOPO_CURDIMS_REC& head, bool wholeFile);

// Where the beam angles start: after the header and the node, beam,
// support and section records.
inline long long AnglesOffset(const TOPO_CURDIMS_REC& head) {
  return static_cast<long long>(TOPO_CURDIMS_REC::kHeaderSize) +
         static_cast<long long>(TOP_NODE::kSize) * head.NodeCount() +
         static_cast<long long>(TOP_BEAM::kSize) * head.BeamCount() +
         static_cast<long long>(TOP_SUPPORT::kSize) * head.SupportCount() +
         static_cast<long long>(TOP_SEC::kFileSize) * head.SectionCount();
}

// Opens path and reads its header into head; null with *code set when the
// file cannot be opened or its header read.
std::FILE* OpenAndReadHeader(const char* path, TOPO_CURDIMS_REC* head, ulong32* code);

namespace detail {

template <class Each>
ulong32 ReadTable(filereading::ChunkReader& in, size_t size, int count, unsigned char* direct, Each each) {
  if (direct) return count > 0 ? in.Read(direct, size * static_cast<size_t>(count)) : 0;
  const int perChunk = static_cast<int>(in.Capacity() / size);
  for (int done = 0; done < count;) {
    const int n = count - done < perChunk ? count - done : perChunk;
    if (ulong32 code = in.Need(static_cast<size_t>(n) * size)) return code;
    each(done, in.Data(), n);
    in.Consume(static_cast<size_t>(n) * size);
    done += n;
  }
  return 0;
}

}  // namespace detail

template <class Sink>
ulong32 ReadTopBlocks(std::FILE* f, const TOPO_CURDIMS_REC& head, bool wholeFile, Sink& sink) {
  filereading::ChunkReader in(f);
  if (!in.Init(kChunk, CURPHBM_REC_TOPO::kFileSize + 2 * 32767)) return kErrorNotEnoughMemory;
  if (ulong32 code = sink.Begin()) return code;
  using detail::ReadTable;
  const int nodes = head.NodeCount(), beams = head.BeamCount();
  ulong32 code = ReadTable(in, TOP_NODE::kSize, nodes, sink.Direct(TOP_NODE::kSize),
                           [&](int i, const unsigned char* p, int n) { sink.Nodes(i, p, n); });
  if (code == 0) {
    code = ReadTable(in, TOP_BEAM::kSize, beams, sink.Direct(TOP_BEAM::kSize),
                     [&](int i, const unsigned char* p, int n) { sink.Beams(i, p, n); });
  }
  if (code != 0 || !wholeFile) return code;
  code = ReadTable(in, TOP_SUPPORT::kSize, head.SupportCount(), sink.Direct(TOP_SUPPORT::kSize),
                   [&](int i, const unsigned char* p, int n) { sink.Supports(i, p, n); });
  TOP_SEC* secs = sink.Sections();
  const int sections = head.SectionCount();
  if (code == 0) {
    code = ReadTable(in, TOP_SEC::kFileSize, sections, nullptr, [&](int i, const unsigned char* p, int n) {
      for (int k = 0; k < n; ++k) std::memcpy(secs[i + k].rec, p + k * TOP_SEC::kFileSize, TOP_SEC::kFileSize);
    });
  }
  if (code == 0) {
    code = ReadTable(in, 4, beams, nullptr, [&](int i, const unsigned char* p, int n) { sink.Angles(i, p, n); });
  }
  for (int i = 0; code == 0 && i < sections; ++i) {
    if (!secs[i].HasPropertyBlock()) continue;
    code = in.Need(TOP_PRS::kSize);
    if (code != 0) break;
    secs[i].prs = static_cast<TOP_PRS*>(telio::Malloc(sizeof(TOP_PRS)));
    if (!secs[i].prs) return kErrorNotEnoughMemory;
    std::memcpy(secs[i].prs->data, in.Data(), TOP_PRS::kSize);
    in.Consume(TOP_PRS::kSize);
  }
  for (int i = 0; code == 0 && i < sections; ++i) {
    if (!secs[i].HasCatalogueKey()) continue;
    code = in.Need(4);
    if (code != 0) break;
    std::memcpy(secs[i].rec + 20, in.Data(), 4);
    in.Consume(4);
  }
  for (int i = 0; code == 0 && i < head.PhysBeamCount(); ++i) {
    code = in.Need(CURPHBM_REC_TOPO::kFileSize);
    if (code != 0) break;
    const int n = static_cast<int16_t>(DecodeFixed16(in.Data() + 2));
    const size_t length = CURPHBM_REC_TOPO::kFileSize + (n > 0 ? 2 * static_cast<size_t>(n) : 0);
    // The beam numbers are allocated only once the file is seen to hold them.
    code = in.Need(length);
    if (code != 0) break;
    code = sink.PhysBeam(i, in.Data(), in.Data() + CURPHBM_REC_TOPO::kFileSize);
    in.Consume(length);
  }
  for (int i = 0; code == 0 && i < sections; ++i) {
    if (!secs[i].HasCompositeData()) continue;
    // A file may end inside the seventh value of its last composite block.
    code = in.Need(sizeof secs[i].composite);
    if (code == kErrorHandleEof && in.Need(sizeof secs[i].composite - 4) == 0) {
      std::memcpy(secs[i].composite, in.Data(), sizeof secs[i].composite - 4);
      return 0;
    }
    if (code != 0) break;
    std::memcpy(secs[i].composite, in.Data(), sizeof secs[i].composite);
    in.Consume(sizeof secs[i].composite);
  }
  return code;
}

}  // namespace topfile
}  // namespace telio
