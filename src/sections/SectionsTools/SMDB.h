// Ties a topology's sections to the section catalogue: sections known only
// by their dimensions or their names receive a catalogue key, double angles
// missing from the catalogue are added to it, and every section's 32-byte
// property block is refilled from the catalogue.
//
// The catalogue is one process-wide CSectionFiles, loaded on first use from
// "<folder>\\FilesSectionDB\\*.SEC". The folder is the one a caller gives;
// an empty one stands for the suite folder (GetTelmaroDir), or when that
// does not exist the kernel's data folder (szGDirs). Asking for another
// folder than the loaded one reloads the catalogue from it. Not
// thread-safe, like the other process-wide tables.
//
// The seven values of a refilled property block (f32, after a u16 0), by
// family group; dimensions in mm, unused values 0:
//
//   group                                         values
//   I and H: 12-19, 21-24, 195                    h b tw tf r1
//   single angles: 31, 32, 36, 37                 h b t r1 r2
//   double angles: 33-35, 38, 39, 99              h b t r1 r2 spacing arrangement
//   square / rectangular hollow: 42, 47, 43, 48   h b t ro ri
//   tubes and round bars: 41, 44, 46, 55, 56      d t
//   welded: 51                                    h b tf b2 tf2 tw
//   rectangular bars and plates: 57, 123, 133     h b t
//   channels: 61-63                               h b tw tf r1 r2 slope
//   cold-formed: 71-75, 91-96, 111, 112, 120-122,
//                130-132, 192-194                 h b tw tf r1 b2 tf2
//   tees: 98                                      h b tw tf r1
//   81 (with a key)                               the section's own seven values
//
// Every other family keeps its block.
#pragma once

#include "platform/CString.h"
#include "platform/Export.h"
#include "platform/Types.h"
#include "sections/CSectionData.h"
#include "sections/CSectionFiles.h"
#include "topology/TOPO_REC.h"

// The folder the catalogue calls take for folder: itself, else the suite
// folder, else szGDirs; empty when none is known. A caller that makes
// several calls looks an empty one up once with it.
TELIO_EXPORT CString SMDBFolder(const CString& folder);

// The process-wide catalogue loaded from the folder (see above); null when
// it cannot be loaded (the reason is the thread's last error).
TELIO_EXPORT CSectionFiles* GetSMDBSectionFiles(const char* folder);
// Frees the process-wide catalogue; the next use loads it again.
TELIO_EXPORT void FreeSMDBSectionFiles();

// Refills the property blocks of the topology's sections 1 to the section
// count from the catalogue of the folder. A section whose key is 0 (family
// 81 included) or not in the catalogue, or whose family is in no group,
// keeps its block, as does a section whose new block cannot be allocated. Returns the number of
// blocks refilled; 0 when the topology is null or the catalogue cannot be
// loaded.
TELIO_EXPORT int UpdateSMDBSectionsTOPO(const TOPOStructs::TOPO_REC* topo, CString folder);

// Looks the topology's sections up in the catalogue of the folder, in this
// order, before their blocks are refilled; families 80, 81, 103, 104 and 109
// are left as they are:
//  - family 108: the composite data, h b tw tf r1 in m and A Avz in m2,
//    scaled to cm and cm2 (x 100, x 10000) and matched against the
//    catalogue; a match gives the key, the catalogue's name (when not
//    empty, at most 15 characters) and family, and sub-number 0;
//  - a double angle (33, 34, 35) with a nonzero sub-number is read from its
//    name (see ReadTopologyDoubleAngleName), added to the catalogue and
//    given family 99 and the new key;
//  - any other section with a nonzero sub-number takes the key of the
//    (sub-number - 1)-th catalogue section of its family; its sub-number
//    stays.
// Nothing changes when the folder does not exist or the catalogue cannot be
// loaded, nor for a section that nothing matches. Returns the number of
// sections changed.
TELIO_EXPORT int ResolveSMDBSectionsTOPO(TOPOStructs::TOPO_REC* topo, CString folder);

// A double angle of the topology read from its name: family 33 from
// "2L%dx%f-%d" or "L%dx%f-%d" (arrangement 1 on single-angle family 31),
// 34 from "2L%dx%dx%f-a-%d" (arrangement 3 on 32), 35 from
// "2L%dx%dx%f-b-%d" (arrangement 2 on 32): legs, thickness, spacing. The
// single angle's name is "L%dx%dx%d", or "L%dx%dx%f" when the thickness is
// not whole. False when the family is another or the name does not fit.
struct TELIO_EXPORT SMDBDoubleAngle {
  int singleFamily;
  CString singleName;
  int arrangement;
  double spacing;
};
TELIO_EXPORT bool ReadTopologyDoubleAngleName(int family, const char* name, SMDBDoubleAngle* out);

// A double angle named with its arrangement, read with the patterns
// "2L%dx%dx%dB/%f" (arrangement 1 on family 31), "2L%dx%dx%dL/%f" (3 on
// 32), "2L%dx%dx%dS/%f" (2 on 32), "2L%dx%dx%dD/%f" (4 on 31), tried in that
// order: legs, thickness, spacing. The single angle's name is "L%dx%dx%d".
// False when the name fits none of them.
TELIO_EXPORT bool ReadArrangedDoubleAngleName(const char* name, SMDBDoubleAngle* out);

// Adds the double angle a name describes (ReadArrangedDoubleAngleName) to
// the catalogue and returns its key; 0 when the name fits no pattern or the
// catalogue lacks the single angle.
TELIO_EXPORT ulong32 InsertSMDBDoubleAngle(CSectionFiles* catalogue, const char* name);

// The seven values of a property block for a catalogue section shown as a
// section of the family (table above); false for a family without a group
// (and for 81, whose values are its own).
TELIO_EXPORT bool GetSMDBPropertyValues(int family, const CSectionData& data, float values[7]);
