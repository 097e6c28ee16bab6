// Section family ids: the integer every analysis-file section carries to say
// what shape it is, and the questions the rest of the library asks about it.
//
// All functions are pure: any int is a valid argument, and an id that no
// family uses simply answers false (or maps to itself).
#pragma once

#include "platform/Export.h"
#include "platform/Types.h"

// Shape groups.
TELIO_EXPORT bool IsISection(int family);
TELIO_EXPORT bool IsHSection(int family);      // hollow: tubes, square and rectangular
TELIO_EXPORT bool IsSHSection(int family);     // square hollow
TELIO_EXPORT bool IsRHSection(int family);     // rectangular hollow
TELIO_EXPORT bool IsTubular(int family);
TELIO_EXPORT bool IsCSSection(int family);
TELIO_EXPORT bool IsSSSection(int family);
TELIO_EXPORT bool IsRSSection(int family);
TELIO_EXPORT bool IsSSection(int family);      // any of the three above
TELIO_EXPORT bool IsLSection(int family);      // single and double angles
TELIO_EXPORT bool IsLEQSection(int family);    // single equal angle
TELIO_EXPORT bool IsLNESection(int family);    // single unequal angle
TELIO_EXPORT bool IsL2Section(int family);     // double angles
TELIO_EXPORT bool IsLEQ2Section(int family);
TELIO_EXPORT bool IsLNE2Section(int family);
TELIO_EXPORT bool IsLNE2ASection(int family);  // unequal pair, long legs back to back
TELIO_EXPORT bool IsLNE2BSection(int family);  // unequal pair, short legs back to back
TELIO_EXPORT bool IsL2AlSection(int family);   // aluminium double angles
TELIO_EXPORT bool IsAlSection(int family);     // aluminium
TELIO_EXPORT bool IsUSection(int family);      // channels
TELIO_EXPORT bool IsTSection(int family);
TELIO_EXPORT bool IsWeldedSection(int family);
TELIO_EXPORT bool IsTaperedSection(int family);
TELIO_EXPORT bool IsCastellatedSection(int family);
TELIO_EXPORT bool IsWallSection(int family);
TELIO_EXPORT bool IsTELMAROEC4SpecialSection(int family);  // the suite's own composite section
TELIO_EXPORT bool IsCorvexEC4SpecialSection(int family);
TELIO_EXPORT bool IsDexionSection(int family);

// True for the families whose 32-byte property block is stored in the TOP
// file (the catalogue cannot rebuild their properties).
TELIO_EXPORT bool HasValidPRS(int family);

// Double angles all map to the combined double-angle family 99; any other
// id is returned unchanged.
TELIO_EXPORT int GetProperFamilyId(int family);
// A single angle made into the matching double angle (31 -> 33, 32 -> 34);
// any other id is returned unchanged.
TELIO_EXPORT short SetProperFamilyId(int family);

// Which design checks accept a family.
TELIO_EXPORT bool IsValidForLTB(int family);
TELIO_EXPORT bool IsValidForMDEC3Lepto(int family);
TELIO_EXPORT bool IsValidForMDEC3Composite(int family);
TELIO_EXPORT bool IsValidForMDEC3(int family);

// The section-selection filters of the design applications. An unknown
// filter accepts no family.
TELIO_EXPORT bool IsValidFamilyByFilter(long32 filter, int family);
