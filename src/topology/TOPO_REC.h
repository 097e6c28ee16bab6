// The in-memory topology: number-indexed coordinate and connectivity arrays,
// the sections as TOP_SEC records, and three linked lists (nodes, beams,
// physical beams) whose records point at one another.
//
// Node, beam and section numbers are 1-based: slot 0 of every number-indexed
// array stays zero. Every block here is allocated through telio's
// allocator and owned by the TOPO_REC (see CTOPO_REC for the routines that
// make and free them, and for what is zeroed); none of these records is written to a file
// as it stands, except the 168-byte composite-section record.
#pragma once

#include <cstddef>
#include <cstdint>

#include "files/CFileTOP.h"
#include "platform/Coding.h"
#include "platform/Export.h"
#include "platform/Types.h"

namespace TOPOStructs {

// Capacity of a topology made by CTOPO_REC: the highest numbers it holds.
constexpr int kTopoMaxNodes = 10000;
constexpr int kTopoMaxBeams = 20000;
constexpr int kTopoMaxSections = 10000;
// Holds a full path with its terminating NUL.
constexpr size_t kTopoPathSize = 1024;

struct TELIO_EXPORT NODE_REC {
  char name[7];          // 'N' and the label in decimal, at most 6 characters, NUL
  uint16_t index;        // position in the list, 1 to the node count
  int16_t label;         // the node label of the TOP node record
  float x, y, z;
  unsigned char reserved[8];
  uint8_t restraint;     // low byte of the node record's restraint code
  NODE_REC* next;
};

struct TELIO_EXPORT BEAM_REC {
  char name[8];          // 'B' and the beam label in decimal
  uint16_t index;        // position in the list, 1 to the beam count
  int16_t label;
  uint8_t mark;
  uint16_t section;      // section number
  uint16_t zeroAngle;    // plane model: 1 when |angle| <= 0.001; space model: 0
  unsigned char reserved[12];
  float angle;
  NODE_REC* start;
  NODE_REC* end;
  BEAM_REC* next;
};

struct TELIO_EXPORT CURPHBM_REC {
  uint16_t index;        // 1 to the physical-beam count
  uint16_t label;
  int16_t beamCount;
  NODE_REC* firstNode;
  NODE_REC* lastNode;
  BEAM_REC** beams;      // owned, beamCount entries; null where a number is not found
  CURPHBM_REC* next;
};

// One record of the composite-section file (168 bytes): the u32 at offset
// 16 is the number of the steel section the composite section is built on;
// the other bytes are carried.
struct TELIO_EXPORT COMPSECT_REC {
  static constexpr size_t kSize = 168;
  unsigned char data[kSize];

  ulong32 SteelSection() const { return telio::DecodeFixed32(data + 16); }
  void SetSteelSection(ulong32 v) { telio::EncodeFixed32(data + 16, v); }
};
static_assert(sizeof(COMPSECT_REC) == 168, "composite-section record is 168 bytes");

// The composite sections of a topology; records is owned (count entries).
struct TELIO_EXPORT COMPSECTS {
  ulong32 count;
  COMPSECT_REC* records;
};

// One topology. Arrays indexed by node number have nodeCapacity slots, by
// beam number beamCapacity slots, the section array sectionCapacity slots;
// the counts never exceed capacity - 1.
struct TELIO_EXPORT TOPO_REC {
  char path[kTopoPathSize];  // the TOP file it was read from
  int16_t flag3D;            // nonzero for a space model
  int32_t nodeCount;
  int32_t beamCount;
  int32_t sectionCount;
  int32_t supportCount;
  uint16_t modelWord;

  float* x;                  // node coordinates, by node number
  float* y;
  float* z;
  int32_t* nodeExtra1;       // allocated and freed with the record, not filled
  int32_t* nodeExtra2;

  float* angle;              // beam rotation angle, by beam number
  int32_t* startNode;        // by beam number
  int32_t* endNode;
  int32_t* section;
  int32_t* beamExtra;        // allocated and freed with the record, not filled

  int32_t* restraint;        // by node number; 1 for every supported node
  TOP_SEC* sections;         // by section number, each with its own property block

  NODE_REC* nodes;           // first node record
  BEAM_REC* beams;           // first beam record
  uint16_t dims[2];          // 300, 70 for a space model; 0, 90 for a plane model
  int32_t staticCases;
  int32_t dynamicCases;
  int32_t physBeamCount;
  CURPHBM_REC* physBeams;    // first physical-beam record

  // Slots allocated in the number-indexed arrays.
  uint32_t nodeCapacity;
  uint32_t beamCapacity;
  uint32_t sectionCapacity;
  // The one block that holds every array of a topology made by
  // CTOPO_REC::Open, and its node and beam records (the arrays are then not
  // freed one by one, and the block goes with the last of them and of those
  // records); null when each array is a block of its own (AllocateTOPO_REC).
  void* arrays;

  // Section n (1 to sectionCount), or null.
  TOP_SEC* Section(int n) const {
    return (sections && n >= 1 && n <= sectionCount) ? &sections[n] : nullptr;
  }
};

}  // namespace TOPOStructs
