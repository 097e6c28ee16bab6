// CFileMDD: the reader of a member-design job (extension "MDD"): the main
// file with its members and their analysis beams, and the side files of the
// same folder and name: "MLC" (load-case names and, for a job with its own
// results, the internal forces at every member position), "CNS"
// (restraints), "LTB" (buckling points), "DB0" (buckling-length and moment
// factor tables) and "TOP" (the topology). A linked job takes its results
// and topology from an analysis job instead (its JOB, CMI, ACE, NAM, RES,
// OUC and TOP files). It never writes. Records: see MDDStrucst.h.
//
// MDD file (little-endian):
//   0     4      magic 0xD192A038
//   4     432    NewData4Job; when its declared size S is not 432, reading
//                goes on at 4 + S
//   next  15     OPENJOB
//   next  40     extension block, only for OPENJOB version 3 or more
//   next         member records: member count x 37 (type 11) or x 137
//                (types 12, 13); a type-11 record fills the first 37 bytes
//                of a BLIST. Other types (job kind 4 only): none.
//   next  2 x T  the analysis beam (i16) at each member position, members
//                one after another; T = the sum of the members' beam counts
//   next  12 ea  Point3D records up to the end of the file
//
// MLC file:
//   0     i16 A load cases (at most 800 kept), 2 i16 B members
//   4     21 each: load-case names in the OEM page (room for 128 names)
//   2692  i16 x B: the position count n of each member (room for 200)
//   3092 + 16800 (m - 1) + 840 (c - 1): the block of member m and load case
//         c (both 1-based): seven runs of n f32, kinds 0 to 6 (kind 0 is the
//         position along the member). A member's area holds 20 blocks of
//         7 x 30 floats.
//   A linked job's MLC file holds the counts and names only.
//   Larger counts make these areas overlap; the reader then reads whatever
//   lies at each offset the layout gives.
//
// CNS file: member i (0-based) at 84 i: set 0 then set 1, 21 i16 each;
//   from capacity x 84: blocks of 20 restraint records of 83 bytes, member
//   by member, set 0 then set 1 (1660 bytes per member and set).
// LTB file: CONSTRAINTS_LTB of member i at 84 i (54 of 84 bytes); from
//   capacity x 84 + 3320 i: up to 20 LTB_CONS records (680 of 3320 bytes).
// DB0 file: a 32-byte header, then 12-byte records up to the end: i16 code,
//   i16 i, j, k (1-based), f32 value. Codes 1 BmFz, 2 BmFy, 4 Bmlt, 8 C1,
//   16 C2, 32 C3 set table[i-1][j-1][k-1]; other codes are skipped.
//
// Capacity: the job block's member capacity after InitializeJob. Files this
// reader refuses with 1392 (kErrorFileCorrupt), which the layout cannot
// hold: a capacity outside 1 to 32767, more members than the capacity, a
// negative beam count, an MLC file of more members than the capacity or of
// a member with more than 30 positions. A negative count elsewhere is an
// empty table. A file that ends inside a table its counts promise gives 38
// (kErrorHandleEof) and keeps the whole records before the end; where the
// layout reads "up to" (names, MLC blocks, buckling restraints, points,
// DB0 records) a short file is no error.
//
// Departures from the suite's reader, each for a reason of this platform or
// of safety:
//   - Folder repair: a job folder that starts with a separator counts as
//     rooted like one with a drive letter, so a POSIX folder is kept as it
//     stands instead of being searched for in the MDD path. An empty folder
//     text is not made absolute (it names no folder).
//   - Close also closes the topology, so a closed reader hands out nothing.
//   - Each side-file reader empties the buffers it fills before reading, so
//     reading a file twice does not append it twice.
//   - The suite keeps every MLC run once more in a pool of float arrays and
//     maps each member to its last kind-0 run; no getter hands them out, so
//     the runs go straight into the member load-case data.
//   - A DB0 record with an index below 1, or whose tables would outgrow
//     1 MB + 64 x the file's size, is invalid: invalid records are skipped,
//     the valid ones read, and ReadDB0 reports 1392.
#pragma once

#include <cstdio>

#include "files/CFileBase.h"
#include "framework/CArrayEx.h"
#include "mdd/MDDStrucst.h"
#include "platform/Export.h"
#include "platform/Types.h"
#include "topology/CTOPO_REC.h"

class TELIO_EXPORT CFileMDD : public CFileBase {
 public:
  // Frozen: the magic number of the MDD file.
  static constexpr ulong32 _dwIDTag = 0xD192A038u;

  static constexpr int kPositionSlots = 46;  // position beams per capacity slot
  static constexpr int kMaxCapacity = 32767;
  static constexpr int kKinds = 7;
  static constexpr int kMaxPositions = 30;   // an MLC block holds 7 x 30 floats
  static constexpr long32 kMlcNamesAt = 4;
  static constexpr long32 kMlcCountsAt = 2692;
  static constexpr long32 kMlcBlocksAt = 3092;
  static constexpr long32 kMlcMemberArea = 16800;
  static constexpr long32 kMlcBlock = 840;
  static constexpr int kRestraintWords = 21;
  static constexpr int kRestraintsPerSet = 20;
  static constexpr long32 kCnsSlot = 84;      // words of both sets of one member
  static constexpr long32 kLtbBlock = 3320;   // buckling restraints of one member
  static constexpr int kLtbRestraints = 20;
  static constexpr long32 kDb0Header = 32;
  static constexpr long32 kDb0Record = 12;

  typedef CArrayEx<CArrayEx<CArrayEx<CArrayEx<float>>>> MemLCData;
  typedef CArrayEx<CArrayEx<short>> RestraintWords;
  typedef CArrayEx<CArrayEx<MDDStrucst::CONSTRAINT>> Restraints;
  typedef CArrayEx<CArrayEx<CArrayEx<float>>> DB0Table;

  CFileMDD();
  // Closes, then releases the topology and every array.
  ~CFileMDD() override;
  // The reader owns its topology and buffers.
  CFileMDD(const CFileMDD&) = delete;
  CFileMDD& operator=(const CFileMDD&) = delete;

  // Read-only: nothing is created (0).
  int NewFile(const char* path) override;
  // Reads the whole job set at path. 0 on success; the last error when
  // path is refused or cannot be opened (the object then empty); 1 for a
  // wrong magic or type, a missing or unopenable MLC file (not linked) or a
  // failed link validation (linked); 38 / 1392 as above for the MDD and MLC
  // files; 8 when memory runs out (the object then empty). The CNS, LTB and
  // DB0 files are read when present; their damage leaves their buffers as
  // their readers leave them and does not fail the import.
  ulong32 Import(const char* path) override;
  // Read-only: does nothing, 0.
  ulong32 Export(const char* path) override;
  // Empties everything and forgets the path; the default extension stays.
  void Close() override;

  // Fills in the job block's default capacities (0: 30 linked, 10 not) and
  // allocates the zeroed member buffers for the capacity, which then hold
  // no member records. A capacity that cannot be held (outside 1 to 32767)
  // or no memory leaves them null.
  void InitializeJob();

  // Side-file readers: 1 on success; 0 when the file is missing, has
  // another extension, cannot be opened or is damaged, with the thread's
  // last error saying which (38 cut, 1392 refused, 8 no memory). Each
  // empties the buffers it fills first and keeps what it read before a
  // failure. They take their counts from the job read before: the member
  // count and capacity.
  //
  // Not linked jobs only (0 at once for a linked one): the MLC header and
  // the member load-case data.
  int ReadMLC(const char* path);
  int ReadCNS(const char* path);
  int ReadLTB(const char* path);
  int ReadDB0(const char* path);
  // Linked jobs only: the MLC header (counts and names), then a check that
  // the RES file beside path imports (the OUC beside it is imported in
  // indexed mode, untested). 1 when both the MLC and the RES file read.
  int ReadMLCLinked(const char* path);
  // 1 when the linked analysis job (job folder, job name) has a JOB file
  // that records a PEP, static or spectral run and CMI and NAM files that
  // import; 0 otherwise and for a job that is not linked.
  int ValidateLinkJob();

  // A's count, B and the names of an MLC file, without a job: counts stays
  // null. 1 on success; 0 with the last error set otherwise.
  static int ReadMLCHeader(const char* path, MDDStrucst::MLCHEADER& out);

  MDDStrucst::NewData4Job GetNewData4Job() const { return job_; }
  MDDStrucst::OPENJOB GetOpenJob() const { return open_; }
  // The 40-byte extension block (zero below version 3).
  const unsigned char* GetOpenJobExtension() const { return extension_; }
  bool IsLinked() const { return open_.Linked() != 0; }
  // Member records read (the open block's count, or fewer from a cut file).
  int GetMemberCount() const { return membersRead_; }
  int GetCapacity() const { return capacity_; }
  // Capacity slots; GetMemberCount of them are filled. Null before Import.
  MDDStrucst::BLIST* GetMembers() { return members_; }
  const MDDStrucst::BLIST* GetMembers() const { return members_; }
  // The MLC header; its position-count pointer refers to this object.
  MDDStrucst::MLCHEADER GetMLCHeader() const { return mlc_; }
  int GetTotalPositions() const { return totalPositions_; }
  // First position of a member: the beam counts of the members before it;
  // 0 outside 0 to member count - 1.
  int GetBeamsPerMemberPos(int member) const;
  // The analysis beam at a position; 0 outside 0 to total positions - 1.
  int BeamsPerMemberPos(int position) const;
  int GetPointsCount() const { return points_.GetSize(); }
  MDDStrucst::Point3D* GetPointAt(int i);
  // The n-th node of the opened topology counting from 1, or null.
  TOPOStructs::NODE_REC* GetNode(int n) const;
  const CTOPO_REC& GetTopology() const { return topology_; }

  MemLCData* GetMemLCData() { return &memLC_; }
  // Set 0 or 1; null for any other set.
  RestraintWords* GetConstraintsX(int set);
  Restraints* GetConstraints(int set);
  DB0Table* GetBmFy() { return &db0_[kBmFy]; }
  DB0Table* GetBmFz() { return &db0_[kBmFz]; }
  DB0Table* GetBmlt() { return &db0_[kBmlt]; }
  DB0Table* GetC1() { return &db0_[kC1]; }
  DB0Table* GetC2() { return &db0_[kC2]; }
  DB0Table* GetC3() { return &db0_[kC3]; }
  CArrayEx<MDDStrucst::CONSTRAINTS_LTB>* GetConstraintsLTB() { return &ltbMembers_; }
  CArrayEx<CArrayEx<MDDStrucst::LTB_CONS>>* GetLTBbuf() { return &ltbRestraints_; }

 private:
  enum Db0Table { kBmFz, kBmFy, kBmlt, kC1, kC2, kC3, kDb0Tables };
  typedef ulong32 (CFileMDD::*SideReader)(std::FILE*);

  // Steps of Import; each returns 0 or the code Import passes on.
  ulong32 ReadJob(std::FILE* f);
  ulong32 ReadPositions(std::FILE* f);
  void RepairJobFolder();
  // Opens a topology into the reader's; 8 when memory ran out, else 0 (a
  // missing or bad TOP file leaves no topology and is no error).
  ulong32 OpenJobTopology(const CString& path);
  // The points up to the end of the file, or -1 for a null stream or a
  // failed read (the last error then says why: 8 no memory, the stream's
  // code).
  int ReadMemberNodesXYZ(std::FILE* f);
  // Opens path when it exists with extension ext and runs read on it: 0,
  // the open's failure (also left in *openFailure, else 0) or the reader's
  // code.
  ulong32 ReadSide(const CString& path, const char* ext, SideReader read, ulong32* openFailure);
  int ReadSidePublic(const char* path, const char* ext, SideReader read);
  ulong32 ReadMLCFrom(std::FILE* f);
  ulong32 ReadCNSFrom(std::FILE* f);
  ulong32 ReadLTBFrom(std::FILE* f);
  ulong32 ReadDB0From(std::FILE* f);
  ulong32 BuildMemberTables(const unsigned char* file, long long size, int members, int loadCases);
  int ValidateLink(bool* outOfMemory);
  CString SidePath(const char* ext) const;
  CString LinkedPath(const char* ext) const;
  // The member buffers freed; no member records or positions counted.
  void FreeBuffers();

  MDDStrucst::NewData4Job job_;
  MDDStrucst::OPENJOB open_;
  unsigned char extension_[MDDStrucst::OPENJOB::kExtensionSize];
  int capacity_;
  int membersRead_;
  int totalPositions_;
  MDDStrucst::BLIST* members_;   // capacity_ slots
  int16_t* positionBeams_;       // positionSlots_ entries
  long long positionSlots_;
  long32* firstPosition_;        // capacity_ + 1 prefix sums of the beam counts
  MDDStrucst::MLCHEADER mlc_;    // mlc_.counts: capacity_ entries, owned
  CArrayEx<MDDStrucst::Point3D> points_;
  MemLCData memLC_;
  RestraintWords restraintWords_[2];
  Restraints restraints_[2];
  DB0Table db0_[kDb0Tables];
  CArrayEx<MDDStrucst::CONSTRAINTS_LTB> ltbMembers_;
  CArrayEx<CArrayEx<MDDStrucst::LTB_CONS>> ltbRestraints_;
  CTOPO_REC topology_;
};
