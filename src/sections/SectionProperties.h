// Cross-section properties from a section's dimensions.
//
// The outline of each shape is traced from its dimensions with its root,
// toe and corner radii, the arcs cut into short chords (the error this
// leaves is far below the rounding of the published tables), and the
// properties are integrated over the outline: area, centroid, second
// moments, elastic moduli from the extreme fibres, plastic moduli about the
// equal-area axes. The torsion and warping constants and the shear areas
// are not integrals of the outline; they come from the usual closed forms
// for each shape. The torsion constants of rolled open sections are those
// of the published tables: thin-walled strips plus a root-fillet term per
// web-to-flange junction, in ArcelorMittal's form for I and H sections and
// in the Steel Construction Institute's (SCI P363, with El Darwish and
// Johnston's junction coefficients) for channels, angles and tees; the
// formulas are written out in SectionProperties.cpp. Hollow sections take
// the closed-cell formula on the wall's mid-line. Units as in CSectionData.
//
// A channel's tapered flange is placed by its thickness tf at tfAt from
// the toe (b/2 when tfAt is 0), as the tables give it.
#pragma once

#include "platform/Export.h"
#include "sections/CSectionData.h"

// The largest dimension accepted (mm): anything beyond it is a damaged
// record, not a section.
constexpr double kMaxSectionDimension = 10000.0;

// Nonzero when the shape and dimensions of data make a section: positive
// sizes, walls thinner than the parts they belong to, radii that fit.
TELIO_EXPORT int AreSectionDimensionsValid(const CSectionData& data);

// Computes every property of data from its shape and dimensions. Returns 1;
// 0 with the last error 160 and every property zero when the dimensions do
// not make a section (see AreSectionDimensionsValid).
TELIO_EXPORT int CalculateSectionData(CSectionData* data);

// A rolled I or H section with parallel flanges: the shape and dimensions
// are set and the properties computed as by CalculateSectionData. The
// identity fields (key, family, name) are left as they are.
TELIO_EXPORT int Calculate_I_SectionData(double h, double b, double tw, double tf, double r,
                                         CSectionData* data);

// A welded I section, the flanges possibly unequal; no root radius and no
// weld material. As Calculate_I_SectionData otherwise.
TELIO_EXPORT int CalculateWeldedSectionData(double h, double bTop, double tfTop, double bBottom,
                                            double tfBottom, double tw, CSectionData* data);
