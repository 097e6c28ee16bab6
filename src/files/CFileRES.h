// CFileRES: the static results of an analysis job (extension "RES"): node
// displacements, support reactions and beam end forces of every load result.
//
// The file carries no dimensions of its own. Import takes the node, beam
// and support counts and the static load-case count from the topology
// beside it ("TOP"), the combination count from "CMI" and the EAK flag from
// "JOB", and from them computes where every record lies. Results are read on
// demand, one load result at a time, each request opening the file again.
//
// File layout (little-endian; every record is 52 bytes):
//
//   offset        size                     contents
//   0             52                       header record: bytes 0..3 the
//                                          header word, the rest not read
//   52 + r * B    B = (N + P + 2M) * 52    block of load result r
//                                          (0 .. S + K - 1)
//
// A block holds N node displacement records, P support reaction records,
// M beam force records (the k-th for beam k + 1) and M further beam records
// that this module does not read.
//
//   node record (displacements, reactions)   beam force record
//   0   8  name: one character, then the      0   4  not read
//          node number in decimal, NUL-       4  24  6 x f32 at the first end
//          terminated                         28 24  6 x f32 at the second end
//   8  24  6 x f32
//   32 20  not read
//
// Load results are indexed from 0: the S static load cases, then the K
// combinations.
#pragma once

#include <cstdint>
#include <cstdio>

#include "files/CFileBase.h"
#include "framework/CArrayEx.h"
#include "platform/Coding.h"
#include "platform/Export.h"
#include "platform/Types.h"

// One node's six values for one load result, as its 32-byte little-endian
// image:
//   0   i32  load result number (index + 1)
//   4   i32  node number (from the record's name)
//   8   6 x f32 values, in file order
// Copied, compared and checksummed as raw bytes.
struct TELIO_EXPORT AnasisData {
  static constexpr int kSize = 32;
  unsigned char data[kSize];

  long32 LoadResult() const { return static_cast<long32>(telio::DecodeFixed32(data)); }
  long32 NodeNumber() const { return static_cast<long32>(telio::DecodeFixed32(data + 4)); }
  float Value(int k) const { return telio::DecodeFloat(data + 8 + 4 * k); }
  void SetLoadResult(long32 v) { telio::EncodeFixed32(data, static_cast<uint32_t>(v)); }
  void SetNodeNumber(long32 v) { telio::EncodeFixed32(data + 4, static_cast<uint32_t>(v)); }
  void SetValue(int k, float v) { telio::EncodeFloat(data + 8 + 4 * k, v); }
};
static_assert(sizeof(AnasisData) == 32, "node result record is 32 bytes");

// One beam's end forces for one load result (72 bytes):
//   0   i32  load result number (index + 1)
//   4   i32  beam number (index + 1)
//   8   AnasisData first end  (load result 0, node -1)
//   40  AnasisData second end (load result 0, node -1)
struct TELIO_EXPORT AnasisForces {
  static constexpr int kSize = 72;
  unsigned char head[8];
  AnasisData first;
  AnasisData second;

  long32 LoadResult() const { return static_cast<long32>(telio::DecodeFixed32(head)); }
  long32 BeamNumber() const { return static_cast<long32>(telio::DecodeFixed32(head + 4)); }
  void SetLoadResult(long32 v) { telio::EncodeFixed32(head, static_cast<uint32_t>(v)); }
  void SetBeamNumber(long32 v) { telio::EncodeFixed32(head + 4, static_cast<uint32_t>(v)); }
};
static_assert(sizeof(AnasisForces) == 72, "beam force record is 72 bytes");

class TELIO_EXPORT CFileRES : public CFileBase {
 public:
  static constexpr int kRecordSize = 52;
  static constexpr int kValues = 6;

  CFileRES();
  // Copies every field, the recorded path included, so a copy reads the
  // same file.
  CFileRES(const CFileRES& other);
  CFileRES& operator=(const CFileRES& other);
  ~CFileRES() override;

  // The analysis program writes this file: nothing is created (0).
  int NewFile(const char* path) override;
  // Reads the side files (JOB, TOP, CMI beside path), computes the offsets
  // and reads the header word. 0 on success; 0xFFFFFFFF when a side file
  // cannot be read (the thread's last error then says why: the side file's
  // code); 8 when memory runs out, in a side file too; the last error when
  // path is refused or cannot be opened; 38 for a file shorter than the
  // header word. The CMI file is read for its count alone: one that ends
  // before the combinations it counts still gives that count, and a
  // negative count is none; one cut inside the count itself is its 38. A file shorter than its blocks is accepted: the
  // readers below give what it holds.
  ulong32 Import(const char* path) override;
  // Read-only here: does nothing, 0.
  ulong32 Export(const char* path) override;
  // Forgets the path (so the readers find nothing); counts and offsets stay.
  void Close() override;

  int IsJobEAK() const { return eak_; }
  int IsJob3D() const { return is3D_; }
  int NumberOfNodes() const { return nodes_; }
  int NumberOfBeams() const { return beams_; }
  int NumberOfSupports() const { return supports_; }
  int NumberOfStaticLCS() const { return staticCases_; }
  int NumberOfCombinaiosn() const { return combinations_; }
  int NumberOfLoadsResults() const { return staticCases_ + combinations_; }
  int LargerOfNodesAndBeams() const { return maxNodesBeams_; }
  ulong32 HeaderWord() const { return headerWord_; }

  // The readers never fail loudly: a load result out of range, a file that
  // cannot be opened or an offset beyond its end gives an empty result; a
  // file that ends inside the block gives the whole records before the end.
  // When a result is short, the thread's last error says why (38 the file
  // ended, 1392 the block lies beyond the end, 8 no memory, or the open's
  // code); it is left alone after a complete read.
  //
  // Displacements / reactions of load result r: N elements indexed by node
  // number - 1; nodes without a record stay all zero.
  CArrayEx<AnasisData, const AnasisData&> GetDisplacementsFor(int r);
  CArrayEx<AnasisData, const AnasisData&> GetReactionsFor(int r);
  // Forces of every beam for load result r, in beam order.
  CArrayEx<AnasisForces, const AnasisForces&> GetForcesFor(int r);
  // Forces of one beam (0-based) for load result r, in the object's
  // current-forces record, overwritten by the next call; null on failure.
  AnasisForces* GetForcesFor(int r, int beam);

 protected:
  // Byte offsets of load result r's blocks; -1 when r (or beam) is out of
  // range or the offset does not fit 32 bits (see the 64-bit forms).
  long32 GetDisplacementOffsetFor(int r) const;
  long32 GetReactionsOffsetFor(int r) const;
  long32 GetForcesOffsetFor(int r, int beam) const;
  // Node number of a record's name (at most 8 characters are looked at):
  // -1 when shorter than 2 characters, else the decimal number from the
  // second character on, as a signed 16-bit value.
  short GetNodeNumber(const char* name) const;
  // Reads the side files; 1 on success, 0 on failure (object closed, the
  // thread's last error set).
  int PrepareResReader();
  // Header word, counts and offsets 0, EAK flag 0, 3-D flag 1.
  void Clear();

 private:
  long long BlockStart(int r) const;
  long long ForcesOffset64(int r, int beam) const;
  // Reads the node records of load result r starting at offset into an
  // array of N elements.
  CArrayEx<AnasisData, const AnasisData&> ReadNodeRecords(int r, long long offset, long32 count);
  // Opens the file at offset; *whole is the number of the count records
  // that the file holds whole (last error 38 when fewer). Null (last error
  // set) when the file cannot be opened or offset lies beyond its end.
  std::FILE* OpenRecords(long long offset, long32 count, long32* whole);
  // Reads the records in one transfer and closes the stream; false (last
  // error set) when the read fails.
  static bool ReadAndClose(std::FILE* f, void* buffer, long32 records);
  void CopyFields(const CFileRES& other);
  void ResetCurrentForces();

  AnasisForces current_;
  ulong32 headerWord_;
  long32 nodes_;
  long32 beams_;
  long32 supports_;
  long32 maxNodesBeams_;
  long32 blockSize_;
  long32 displacementOffset_;
  long32 reactionOffset_;
  long32 forceOffset_;
  long32 staticCases_;
  long32 combinations_;
  char eak_;
  char is3D_;
};
