// CFileOUC: the intermediate-point results of an analysis job (extension
// "OUC"): for every load case and beam, the position of each intermediate
// point (IP) along the beam and six result values there.
//
// The file does not state the length of its beams-per-load-case table: it
// is the job's maximum-LCE value (400, or 20803 for an EAK job), which the
// reader learns by importing the JOB file beside this one.
//
// File layout (little-endian):
//
//   offset          size          contents
//   0               4             LCNum, i32: load cases in the file
//   4               4             MaxIP, i32: most IPs of any beam
//   8               4 x MaxLCE    beams-per-load-case table, i32 each
//                                 (entries from LCNum on are not read)
//   8 + 4 x MaxLCE  variable      for each load case in turn, its beam
//                                 blocks one after another
//
//   beam block: i32 beam number, i16 IP count n, then (when n > 0) n x f32
//   of each table in file order: kinds 0 (positions), 1, 2, 6, 3, 4, 5.
//   Within a load case the blocks stand in ascending beam number.
//
// Two modes, chosen with SetUseBmidx:
//   - loaded (the default): Import reads every block into memory, each
//     table with room for MaxIP values;
//   - indexed: Import reads the header and, in one sequential pass, notes
//     where every beam block starts (8 bytes per block); a request reads its
//     block into one scratch record with one positioned read.
//
// Indexed mode keeps the file it indexed open until the next Import (or
// SetUseBmidx, or Close), which reads the file on disk afresh; every block
// is read from that open file, so a file replaced on disk in between is not
// seen, and no block is ever read half from one file and half from another.
// (The suite's reader opens the file again for every block so as never to
// hold it open; on the platforms this library runs on an open file locks
// nothing, and one read per block is what makes fetching every block of a
// job as fast as reading it.) A file changed in place rather than replaced
// can still be read as it is at the time of each block's read.
//
// Files this reader refuses with 1392 (kErrorFileCorrupt): an LCNum larger
// than MaxLCE (keeping the header values read but no load case), and a
// block whose IP count exceeds MaxIP (the load cases before that block are
// kept). A negative LCNum or table entry is an empty table. A file that
// ends right after its header holds no blocks and is accepted, whatever its
// counts say; one that ends inside its header or its blocks gives 38
// (kErrorHandleEof), keeping the whole blocks before the end. Memory is only
// reserved for blocks the file can hold: the tables have room for MaxIP
// values or for the most a block of this file can hold, whichever is less
// (and for at least one value, so that a block's tables always exist).
#pragma once

#include <cstdint>
#include <cstdio>

#include "files/CFileBase.h"
#include "platform/Export.h"
#include "platform/Types.h"

#pragma pack(push, 1)
// One beam in one load case. Byte-packed: callers receive pointers to it.
// Each table has room for MaxIP values, of which the first NumIPs() are
// meaningful; the tables stay zero past them.
struct TELIO_EXPORT BEAM_DATA {
  static constexpr int kTables = 7;
  long32 beamNumber;            // as written in the file (1-based)
  int16_t ipCount;              // as written; no values when <= 0
  float* tables[kTables];       // file order: kinds 0, 1, 2, 6, 3, 4, 5

  long32 BeamNumber() const { return beamNumber; }
  int NumIPs() const { return ipCount; }
  // The table of a kind (0 to 6), null outside.
  float* Table(int kind) const;
  // Position of a kind's table in the field and file order.
  static int TableSlot(int kind);
};
#pragma pack(pop)
static_assert(sizeof(BEAM_DATA) == 6 + BEAM_DATA::kTables * sizeof(float*), "BEAM_DATA is packed");

class TELIO_EXPORT CFileOUC : public CFileBase {
 public:
  CFileOUC();
  // A copy holds the same mode and path and imports the file again; the
  // tables are never shared.
  CFileOUC(const CFileOUC& other);
  CFileOUC& operator=(const CFileOUC& other);
  ~CFileOUC() override;

  // Closes the object and records path (when given) without checking it.
  // Always 1.
  int NewFile(const char* path) override;
  // Reads the file in the current mode. 0 on success; the last error when
  // path is refused or cannot be opened; 38 / 1392 as described above; 8
  // when memory runs out (the object is then closed: empty, no path). A
  // missing or unreadable JOB file makes MaxLCE 0: the import succeeds with
  // no load cases.
  ulong32 Import(const char* path) override;
  // Read-only here: does nothing, 0.
  ulong32 Export(const char* path) override;
  // Releases every table and sets every count to 0; the mode stays.
  void Close() override;

  long32 GetMaxLCE() const { return maxLCE_; }
  long32 GetLCNum() const { return lcNum_; }
  long32 GetMaxIP() const { return maxIP_; }
  // Largest entry of the whole beams-per-load-case table (all MaxLCE
  // entries); 0 without a table.
  long32 GetMaxBeamPerLC() const;
  // Beam blocks of load case lc as the table states them; 0 outside.
  long32 GetBeamsInLC(int lc) const;

  bool UseBmidxFile() const { return indexed_; }
  // Indexed mode: while on, blocks are read through a 64 KB read-ahead
  // window of the indexed file, so that reading many blocks in file order
  // costs about one sequential read of them; off (the default), each block
  // is one positioned read of its own. The next Import, SetUseBmidx and
  // Close turn it off; a copy starts off.
  void ReadAhead(bool on);
  // Switching the mode imports the recorded file again at once (its code is
  // returned by LastImportCode()); setting the current mode does nothing.
  void SetUseBmidx(bool on);
  ulong32 LastImportCode() const { return lastImport_; }

  // Loaded mode: the beam-th block of load case lc in file order (valid
  // until Close). Indexed mode: the block whose beam number is beam + 1,
  // read into the scratch record (valid until the next call). Null when
  // there is no such block or it cannot be read.
  BEAM_DATA* GetBeamData(int lc, int beam);
  // IP count of that block; 0 when none.
  int GetNumIPs(int lc, int beam);
  // Value ip of a kind's table; 0 when there is no block, ip is outside
  // 0 to n - 1 or kind outside 0 to 6.
  float GetValue(int lc, int beam, int ip, int kind);
  // The table of a kind; null when there is no block or kind is outside
  // 0 to 6.
  float* GetDataTable(int lc, int beam, int kind);

 protected:
  // The maximum-LCE value learnt from the JOB file beside this one; 0 when
  // it is missing or cannot be read (the import then fails with 8 when the
  // JOB could not be read for lack of memory).
  long32 ReadMaxLCE();
  ulong32 ReadHeader(std::FILE* f);
  ulong32 ReadIPs(std::FILE* f);
  // Reads the block at the stream's position into target, whose tables have
  // room for its points.
  void ReadIPperBeam(std::FILE* f, BEAM_DATA* target);
  ulong32 PrepareIP();
  // Builds the beam index: 1 when it was built (the import's code then
  // tells whether every block was indexed), 0 when there is nothing to index
  // or the file cannot be opened.
  int MakeBidx();
  BEAM_DATA* ReadBeamDataBmdx(int beam, int lc);
  void Clean();
  void CleanHeaderIPs();
  void CleanIP();
  void CleanBidx();

 private:
  struct LoadCase {
    long32 count;        // blocks held
    BEAM_DATA* beams;    // count records, in the loaded block
  };
  // Indexed mode: one entry per beam block, 8 bytes: the number the block
  // carries and where it starts, counted from its load case's first block
  // (so jobs past 2 GB still fit).
  struct IndexEntry {
    long32 beam;
    uint32_t offset;
  };

  long long DataStart() const { return 8 + 4LL * maxLCE_; }
  // Checks the header against the data area's size (0 or 1392) and sizes
  // the tables.
  ulong32 CheckHeader(long long dataBytes);
  // LCNum and the beams-per-load-case entries, negative ones taken as 0.
  long32 LoadCases() const;
  long32 BlocksIn(long32 lc) const;
  // Floats per table: the capacity, at least 1.
  size_t TableStride() const;
  ulong32 IndexBlocks(std::FILE* f, long long dataBytes);

  bool indexed_;
  long32 maxLCE_;
  long32 slotCount_;
  long32 indexWidth_;
  long32 scratchCapacity_;
  long32 lcNum_;
  long32 maxIP_;
  long32 capacity_;            // values each table has room for
  long32* beamsPerLC_;
  ulong32 lastImport_;
  ulong32 jobCode_;            // the JOB import's code in the last ReadMaxLCE
  ulong32 indexCode_;          // the index pass's code in the last MakeBidx

  BEAM_DATA scratch_;
  float* scratchValues_;       // the scratch tables, 7 x MaxIP floats
  unsigned char* scratchRead_;  // one block's bytes

  // Loaded mode: one block holding the load cases, then every beam block
  // read, then their tables (7 x the capacity floats each).
  LoadCase* loaded_;
  size_t loadedSize_;

  // Indexed mode: the entries of every block, load case after load case;
  // load case lc has entries indexStart_[lc] to indexStart_[lc + 1] - 1, its
  // first block at lcBase_[lc], and sortedLC_[lc] is 1 when its numbers
  // ascend (so a lookup can halve the range instead of walking it).
  IndexEntry* index_;
  uint32_t* indexStart_;
  long long* lcBase_;
  unsigned char* sortedLC_;
  std::FILE* indexedFile_;   // the file indexed, open while the index lives

  // ReadAhead: a window of the indexed file's bytes from windowAt_.
  static constexpr size_t kWindowSize = 1 << 16;
  unsigned char* window_;
  long long windowAt_;
  size_t windowLen_;

  // Indexed mode: the bytes [at, at + most) of the indexed file as far as
  // it holds them (*got of them), or null when the read fails.
  const unsigned char* ReadIndexed(long long at, size_t most, size_t* got);
};
