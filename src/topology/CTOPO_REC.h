// CTOPO_REC: owner of one in-memory topology (TOPO_REC) and the composite
// sections of its companion file, with the lookups the result readers, the
// member-design code and the entity model use.
//
// Composite-section file (the TOP file's path with every "TOP" replaced by
// "CS", letter case as written; little-endian):
//   0  4    not interpreted
//   4  i32  record count
//   8  168 x count  records (COMPSECT_REC)
//
// RES file offsets: every RES record is 52 bytes; one record precedes the
// first load case; each load case holds node count + 2 x beam count +
// support count records (nodes, then supports, then beams).
#pragma once

#include "files/CFileTOP.h"
#include "platform/Export.h"
#include "platform/Types.h"
#include "topology/TOPO_REC.h"

class BeamIndex;

class TELIO_EXPORT CTOPO_REC {
 public:
  CTOPO_REC();
  virtual ~CTOPO_REC();
  // The topology and composite records are owned: copies would free them
  // twice.
  CTOPO_REC(const CTOPO_REC&) = delete;
  CTOPO_REC& operator=(const CTOPO_REC&) = delete;

  // Reads the whole TOP file at path (sections, supports, physical beams),
  // its composite-section companion (a missing or bad companion leaves no
  // composite records and does not fail the open) and brings the sections'
  // catalogue data up to date. 1 on success; 0 on failure with the object
  // closed and the thread's last error set: the TOP reader's code, 160 for
  // counts beyond the capacity, 8 when memory runs out.
  // The file is read once, straight into the records (the checks are
  // CFileTOP's; the beam angles, which follow the supports and sections,
  // are read ahead so that each beam record is written once), and the beams
  // are indexed by their end coordinates for the member FindBeam. The
  // number-indexed arrays have the full capacity, but only slot 0 and the
  // slots up to the counts are written: the slots beyond are not
  // initialised (AllocateTOPO_REC still zero-fills). The arrays and the
  // node and beam records are one block (see TOPO_REC::arrays).
  int Open(const char* path);
  // Header, nodes and beams only: sections, supports and physical beams are
  // zero-filled records, and there are no composite records. Whether the
  // records could be generated is not tested, except that counts beyond the
  // capacity are refused (160) as Open refuses them, and running out of
  // memory fails (8).
  int OpenTopology(const char* path);
  // Frees the topology and the composite records; all counts 0.
  void Close();

  TOPOStructs::TOPO_REC* GetTOPO_REC() const { return topo_; }
  const TOPOStructs::COMPSECTS& GetCOMPSECTS() const { return compSects_; }
  long32 StaticCases() const { return staticCases_; }
  long32 DynamicCases() const { return dynamicCases_; }

  // For a section whose sub-number k lies in 1 to the composite record
  // count, the section that record k is built on; else null (also when that
  // number lies outside 1 to the section count).
  TOP_SEC* GetCompositeSteelSection(const TOP_SEC* s) const;

  // Byte offsets into the RES file of load case lc (1-based; counted after
  // the static cases when afterStatic is true); 0 without a topology.
  long32 GetReactionsOffset(long32 lc, bool afterStatic) const;
  long32 GetForcesOffset(long32 lc, int beam, bool afterStatic) const;

  // A zero-filled block of count records; the first gets the node arrays
  // (restraint, X, Y, Z and two further arrays) of nodes slots, the beam
  // arrays (start, end, section, angle, further) of beams slots and the
  // section array of sections slots. Null for count < 1 or when memory runs
  // out (nothing is left allocated). Release with DeAllocateTOPO_REC.
  static TOPOStructs::TOPO_REC* AllocateTOPO_REC(int count, ulong32 nodes, ulong32 beams,
                                                 ulong32 sections);
  // Frees the lists, every array, each section's property block and the
  // record, and nulls *p. Null is harmless.
  static void DeAllocateTOPO_REC(TOPOStructs::TOPO_REC** p);
  // Frees the three lists and nulls their heads.
  static void ClearTopology(TOPOStructs::TOPO_REC* topo);

  // n zero-filled records numbered 1 to n and linked in that order; null for
  // n < 1 or when memory runs out. The records are made in one block, yet
  // each can be freed on its own: the DeAllocate calls take any chain of
  // records made here (a whole list, its tail, a single unlinked record)
  // and free every record of it. Records made otherwise must not be passed.
  static TOPOStructs::NODE_REC* AllocateNodesLList(int n);
  static TOPOStructs::BEAM_REC* AllocateBeamsLList(int n);
  static TOPOStructs::CURPHBM_REC* AllocatePhysBeamsLList(int n);
  static void DeAllocateNodesLList(TOPOStructs::NODE_REC* first);
  static void DeAllocateBeamsLList(TOPOStructs::BEAM_REC* first);
  // Frees each record's beam array with it.
  static void DeAllocatePhysBeamsLList(TOPOStructs::CURPHBM_REC* first);

  // The n-th record of a chain counting from 1; null for n < 1 or past the
  // end.
  static TOPOStructs::NODE_REC* GetNode(TOPOStructs::NODE_REC* first, int n);
  static TOPOStructs::BEAM_REC* GetBeam(TOPOStructs::BEAM_REC* first, int n);

  // The beam the static FindBeam would find in the opened topology's beam
  // list, in expected constant time, through an index built at Open and
  // dropped at Close. The index sees the list as it was opened: callers
  // that edit the records use the static walk. Null when closed.
  TOPOStructs::BEAM_REC* FindBeam(float x1, float y1, float z1, float x2, float y2, float z2) const;

  // The first beam whose ends lie within 0.001 (per coordinate, compared in
  // double) of the two points, in either order; beams without both node
  // records are skipped. A walk of the chain.
  static TOPOStructs::BEAM_REC* FindBeam(TOPOStructs::BEAM_REC* first, float x1, float y1, float z1,
                                         float x2, float y2, float z2);
  // The vector from node along beam to the beam's other end, and its
  // length. Every non-null output is written; all 0 (result 0) when the
  // topology is null or either number is out of range. The other end is not
  // checked: a number the file does not hold (0, past the count, past the
  // arrays) has zero coordinates.
  static int GetBeamData(const TOPOStructs::TOPO_REC* topo, int node, int beam, float* dx,
                         float* dy, float* dz, float* length);
  // Angle in radians (0 to pi) between two beams at a node, computed in
  // double; pi/2 when the product of their lengths is within 0.001 of 0, 0
  // for a null topology. A cosine that rounding carries past 1 is taken as
  // 1 (exactly opposite beams give pi), not as no angle.
  static double GetAngleBetweenBeams(const TOPOStructs::TOPO_REC* topo, int node, int beam1,
                                     int beam2);
  // The k-th section of family 80 (tapered) or 104 (composite) in section
  // order; null when k < 1, the topology is null or there are fewer.
  static TOP_SEC* FindTaperedParent(const TOPOStructs::TOPO_REC* topo, int k);
  static TOP_SEC* FindCompositeParent(const TOPOStructs::TOPO_REC* topo, int k);

  // Reads a composite-section file into cs (whose records are replaced).
  // 1 on success: a negative count is no record, and a file that ends
  // inside its records gives the whole records it holds (the last error is
  // then 38). 0 with an empty cs for null arguments (160), a file that
  // cannot be opened (its code), a count that cannot be read (38), a read
  // fault or no memory (8).
  static int ReadCompSects(const char* path, TOPOStructs::COMPSECTS* cs);
  static void FreeCompSects(TOPOStructs::COMPSECTS* cs);
  // The companion file's path: every "TOP" in path replaced by "CS".
  static CString CompSectsPath(const char* path);

  static void Dimensions3D(TOPOStructs::TOPO_REC* topo);
  static void Dimensions2D(TOPOStructs::TOPO_REC* topo);
  static void ValidateDimensions(TOPOStructs::TOPO_REC* topo);

 protected:
  // A topology of the standard capacity; nonzero on success.
  int Allocate();
  void DeAllocate();
  // Fills the topology from a read TOP file. 0 on success; 160 when either
  // side is null, a table the counts need is missing or the counts exceed
  // the topology's capacity; 8 when memory runs out (the lists made so far
  // are freed).
  int GenerateFromTOPO_CURDIMS_REC(const TOPO_CURDIMS_REC* rec);

 private:
  int OpenWith(const char* path, bool whole);

  TOPOStructs::TOPO_REC* topo_;
  TOPOStructs::COMPSECTS compSects_;
  long32 staticCases_;
  long32 dynamicCases_;
  BeamIndex* index_;  // built at Open, owned
};
