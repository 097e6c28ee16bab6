// One section of the section catalogue: its identity, the dimensions it is
// made from, and the cross-section properties computed from them.
//
// Dimensions are in mm. Properties use the units of the published steel
// tables: areas cm2, second moments and torsion constant cm4, moduli cm3,
// radii of gyration and centroid positions cm, warping constant cm6,
// weight kg/m. Axis y is the major axis (parallel to the flanges of an I
// section, to the horizontal leg of an angle), z the minor axis; u and v are
// the principal axes (the same as y and z for a symmetric shape).
//
// The record is a plain value: it is copied byte for byte and kept in
// arrays that grow by reallocation.
#pragma once

#include "platform/CString.h"
#include "platform/Export.h"
#include "platform/Types.h"

// How a section's outline is made from its dimensions. The meaning of the
// dimension fields per shape is listed with each value.
enum SectionShape : int {
  kShapeNone = 0,
  kShapeRolledI = 1,     // h, b, tw, tf, r1 (root radius)
  kShapeWeldedI = 2,     // h, b top, tf top, b2 bottom, tf2 bottom, tw
  kShapeChannel = 3,     // h, b, tw, tf (at tfAt from the toe), r1 root, r2 toe, slope %
  kShapeAngle = 4,       // h (vertical leg), b, tw (thickness), r1 root, r2 toe
  kShapeDoubleAngle = 5, // the single angle's h, b, tw, r1, r2, spacing, arrangement
  kShapeTee = 6,         // h, b, tw, tf, r1
  kShapeCircularHollow = 7,  // h (outside diameter), tw (wall)
  kShapeRectHollow = 8,  // h, b, tw (wall), r1 outer and r2 inner corner radius
  kShapeRoundBar = 9,    // h (diameter)
  kShapeRectBar = 10,    // h, b
};

// Arrangements of a double angle, as numbered by the double-angle names
// ("2L...B/", "S/", "L/", "D/").
enum DoubleAngleArrangement : int {
  kPairBackToBack = 1,    // B: equal angles, vertical legs back to back
  kPairShortLegs = 2,     // S: unequal angles, short legs back to back
  kPairLongLegs = 3,      // L: unequal angles, long legs back to back
  kPairStar = 4,          // D: the second angle turned half round, a star
};

class TELIO_EXPORT CSectionData {
 public:
  static constexpr int kNameSize = 32;  // names hold at most 31 characters

  CSectionData() { Clear(); }
  void Clear();

  CString Name() const { return CString(name); }
  // Cut to kNameSize - 1 characters.
  void SetName(const char* text);
  CString BaseName() const { return CString(baseName); }
  void SetBaseName(const char* text);

  // Identity.
  ulong32 key;              // catalogue key, unique in a catalogue, never 0
  int family;               // section family id
  int shape;                // SectionShape
  int fileIndex;            // the catalogue file it came from, -1 when none
  int line;                 // its line in that file, 0 when none
  char name[kNameSize];
  char baseName[kNameSize]; // double angle: the single angle it is made of

  // Dimensions (mm).
  double h, b, tw, tf, r1, r2, b2, tf2;
  double slope;             // flange slope of a channel, percent
  // Channel: how far from the flange toe tf is measured (mm); 0 stands for
  // half the flange width. The European channel tables give tf at b/2 for
  // the 8 % flanges and at (b - tw)/2 for the 5 % ones.
  double tfAt;
  double spacing;           // double angle: the gap between the two angles
  int arrangement;          // double angle: DoubleAngleArrangement

  // Properties.
  double A, Avy, Avz;
  double Iy, Iz, Iyz, Iu, Iv;
  double Wely, Welz, Wply, Wplz;
  double iy, iz, iu, iv;
  double It, Iw;
  double ey, ez;            // centroid from the left edge and from the bottom
  double G;
};
