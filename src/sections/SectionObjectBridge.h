// The section object bridge: design sections described as keyed data
// elements (CConElmData_base in its section form), made and filled from the
// section catalogue, converted to and from CISectionData, and chosen with
// the catalogue's selection dialog.
//
// Keys of a section object:
//   I 101  identifier: 50010 for an object made from a catalogue key, the
//          catalogue key for one made from section data
//   I 102  50010, the section form
//   I 130  family id         I 131  catalogue key
//   I 351  sub-number        I 133  profile filter (selection dialog)
//   S 1001 name
//   F      the 25 values of a section element, in their declared order
//          (SectionValue): 511 HeightFront, 525 HeightBack, 526 WidthUp,
//          512 WidthDown, 527 TFlangeUp, 515 TFlangeDown, 516 TWeb,
//          572 CParam, 574 HcParam, 573 HeParam, 575 AngleOut,
//          576 AngleIn, 517 RadIn, 518 RadOut, 505 Ey, 506 Ez, 501 Ax,
//          950 Ay, 951 Az, 508 It, 507 Iy, 502 Iz, 503 Wel, 504 Wpl, 952 G
//
// What the catalogue fills (StoreSMDBSectionID): the name and, in the
// catalogue's units (dimensions mm; areas cm2, second moments and It cm4,
// moduli cm3, centroid cm, weight kg/m): h to 511 and 525, b to 512, tf to
// 515, tw to 516, r1 to 517, r2 to 518, ey and ez, A, Avy, Avz, It, Iy, Iz,
// Wel,y, Wpl,y and G; a welded I also its top flange (b to 526, tf to 527)
// with its bottom flange (b2, tf2) to 512 and 515; a double angle its
// spacing to 572. Keys 526 and 527 are otherwise left out: reading a
// section back takes WidthUp and TFlangeUp from 512 and 515 then. The
// values of the other keys are removed.
//
// The catalogue is the process-wide one (GetSMDBSectionFiles) of the
// kernel's data folder szGDirs: every function that needs it fails when
// that folder is empty or missing or its catalogue cannot be loaded.
// Failures return 0 or null and leave the object unchanged.
//
// Families whose data lie in the topology (80, 81, 103, 104, 108, 109)
// take, when a topology section is given, its name and no values.
#pragma once

#include "connections/CConElmData_base.h"
#include "connections/ConnectionRecords.h"
#include "files/CFileTOP.h"
#include "framework/PtrStrong.h"
#include "objects/data/CISectionData.h"
#include "platform/Export.h"
#include "platform/Types.h"
#include "sections/CSectionFiles.h"

// Keys of a section object (frozen: the applications store them).
enum : int {
  kSectionObjForm = 50010,  // I 101 and I 102 of a section object
  kSectionObjFamilyKey = 130,
  kSectionObjCatalogueKey = 131,
  kSectionObjFilterKey = 133,
  kSectionObjSubKey = 351,
  kSectionObjNameKey = 1001,
};
// The F keys of the 25 section element values, by SectionValue.
TELIO_EXPORT extern const int kSectionObjValueKeys[25];

// The process-wide catalogue of the kernel's data folder, or null (the
// thread's last error tells why).
TELIO_EXPORT CSectionFiles* GetSMDBKernelCatalogue();

// With key 0 and family 0: the codes, the name and the values are removed
// (1). Otherwise the catalogue section of the key (or, with key 0, the
// sub-th section of the family) fills the object: I 130 = family, I 131 =
// the section's key, I 351 = sub, the name and the values (1). A family
// whose data lie in the topology takes sec's name instead when sec is
// given. 0, the object unchanged, for a null object, a missing catalogue or
// a section it does not hold.
TELIO_EXPORT int StoreSMDBSectionID(CConElmData_base* obj, int family, int sub, ulong32 key, TOP_SEC* sec);
// The same into a connection member record: the codes, the name and the
// value fields the member record holds for its family.
TELIO_EXPORT int StoreSMDBSectionID(MEM_REC* member, int family, int sub, ulong32 key, TOP_SEC* sec);

// A new section object filled by StoreSMDBSectionID; null for families 80,
// 81, 104, 108 and 109 without sec, for any other family with key 0 and
// sub-number 0, and when the filling fails.
TELIO_EXPORT GE_::Safe::PtrStrong<CConElmData_base> GetSMDBSectionDataObj(int family, int sub, ulong32 key,
                                                                         TOP_SEC* sec);

// Runs the catalogue's selection dialog (CSectionsDBDlg) preselected from
// the object's keys 130, 131 and 351 and filtered by key 133, in the
// user-interface language; when the user confirms, the chosen section is
// stored into the object (1). 0 for a null object, a missing catalogue, or
// a cancelled dialog, which is every dialog unless the host installed a
// chooser (SetSectionChooser).
TELIO_EXPORT int SelectSMDBSectionDlg(CConElmData_base* obj);

// A new section object holding the data: I 101 and 131 = section, I 102 =
// 50010, I 130 = family, I 351 = profile, the name, and the values of a
// section element (none for plain section data). Null for null data.
TELIO_EXPORT GE_::Safe::PtrStrong<CConElmData_base> GetSectionObjFromData(
    const GE_::Safe::PtrStrong<TELMARO_DATA_OBJECTS::CISectionData>& data);
// A new CISectionElement from a section object: section = I 131, family =
// I 130, profile = I 351 (0 when absent), the name, and each value from its
// key (0 when absent; WidthUp from 512 without 526, TFlangeUp from 515
// without 527). BAnnet is not carried by section objects and is 0. Null for
// a null object.
TELIO_EXPORT GE_::Safe::PtrStrong<TELMARO_DATA_OBJECTS::CISectionData> GetSectionDataFromObj(
    const CConElmData_base* obj);

// Refreshes a section object from the catalogue by its name: a name the
// catalogue holds gives that section (StoreSMDBSectionID with the object's
// family and sub-number); a double angle (family 99 or IsL2Section) whose
// name the catalogue lacks is read with the patterns "2L%dx%dx%dB/%f",
// "L/", "S/", "D/", added to the catalogue and stored. 1 when stored; 0,
// the object unchanged, when the catalogue is missing or the name is
// neither held nor a double angle's that fits a pattern.
TELIO_EXPORT int RefreshSMDBSectionObj(CConElmData_base* obj);
