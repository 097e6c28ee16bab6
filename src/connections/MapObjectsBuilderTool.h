// MapObjectsBuilderTool: turns the records of a steel connection into keyed
// data elements (CConElmData_base) and writes edited elements back.
//
// Build_* make a new element (owned by the caller: hold it in a PtrStrong)
// or return null when the input is refused; Restore_* write an element's
// keys back into the record fields they came from and return nonzero on
// success (0 for a null element); ReBuild_* recompute an existing element
// from new inputs with its builder's keys and return it (null for a null
// element or refused input). Builders and ReBuild_* also give null when
// memory runs short, leaking nothing. Every element carries its type code
// under I 101 (the identifier the lists look up) and I 102. String key k is
// marked in B data: B 30000 + k = 1 (carried) and B 40000 + k = its field's
// width - 1 where the builder says so. The record layouts and the key each
// field goes to are drawn in connections/ConnectionRecords.h; sub-table
// pointers must address arrays of the sizes drawn there (not checked).
//
// Behaviour chosen where the connection program leaves it open:
//  - Restore_* leave a record field unchanged when the element lacks its
//    key (Restore_DistanceObj alone writes 0.0 for it). A flag that the
//    builder turned into a key (I 104 from the assembly's kind word 2,
//    I 1029 + j from a connection's int32 at 1027 being 0, B 101 from a
//    stiffener's word at 4 being 0, a truss weld's flag) is written back as
//    the least change that makes the field agree with the key: a true key
//    sets the value it stands for, a false key changes the field only when
//    it holds that value (to 0, or to 1 for the 1027 word and the word at 4).
//  - A key that the builder fills from more than one field (a section's
//    F 511 of an angle) is written back to the field it was last read from;
//    values the builder computes (F 518, I 110, a grid's derived values)
//    are not written back.
//  - Restore_ConnectionInfoObj with an assembly writes the assembly's
//    field (I 120); with a connection record, the connection's fields. The
//    element does not say which connection it came from.
//  - Bolt grid (50060), arguments (record, t, rows, columns, e1, e2, p2, p1,
//    extra rows, variable): F 510 = t, F 601 = e1, F 602 = e2, F 603 = p2,
//    F 604 = p1, I 150 = 1 for variable spacing; the length L of the rows is
//    the sum of `rows` spacings from record offset 66 (variable; at most the
//    11 that fit before the record's end) or
//    (rows - 1) x p1; derived F 610 = L, F 611 = (columns - 1) x p2,
//    F 612 = e1 + L + e2, F 511 = the mean row pitch L / (rows - 1) (0 for
//    fewer than 2 rows). Counts below 1 count as 1 in these products.
//    Restore_BoltGridObj writes the record keys; its four values are not
//    stored (the record has no field for them).
//  - Hook grid (50090), arguments (record, t, a, e, p1, p2), its rows and
//    columns from the record (I 145, I 156): F 510 = t,
//    F 601 = hook diameter, F 602 = hole diameter d0, F 603 = a (anchor
//    length), F 604 = e (edge distance), F 605 = p1, F 606 = p2, F 607 =
//    (rows - 1) x p1, F 608 = (columns - 1) x p2, F 609 = F 607 + 2e,
//    F 610 = F 608 + 2e, F 611 = t + a.
//  - ReBuild_BoltGridObj(element, p1) sets a regular row pitch and
//    recomputes; Set_BoltGridData recomputes the derived values from the
//    element's keys (a variable grid keeps its L). ReBuild_PlateStubObj's
//    last argument is the plate grade (I 121).
//  - Clear_SectionObj removes every key the section builder sets except
//    the identity (I 101, I 102) and the filter (I 133).
//  - Texts go through the connection records' 8-bit fields as they are; the
//    assembly path (string 1008) is normalised by CPathObj.
#pragma once

#include "connections/CConElmData_base.h"
#include "connections/ConnectionRecords.h"
#include "platform/Export.h"

class TELIO_EXPORT MapObjectsBuilderTool {
 public:
  // Element type codes (I 102; I 101 too, except for loads).
  enum : int {
    kProject = 5000,
    kConnectionInfo = 50001,
    kStiffenerInfo = 50002,
    kStiffenerTruss = 50003,
    kStiffenerBasec = 50004,
    kConcrete = 50005,
    kWelds = 50006,
    kDistance = 50007,
    kNotches = 50008,
    kDimension = 50009,
    kSection = 50010,
    kPlate = 50030,
    kBoltGrid = 50060,
    kHookGrid = 50090,
    kTrussWeld = 50095,
    kPlateStub = 50096,
    kPolygon = 50099,
    kLoads = 50100,
    kNode = 50101,
    kLine = 60000,
    kConstraint = 70003,
  };

  // --- from records -----------------------------------------------------------
  static CConElmData_base* Build_ProjectObj(const ASS_REC* assembly);
  // Connection i (1 to the connection count) of the assembly.
  static CConElmData_base* Build_ConnectionInfoObj(const ASS_REC* assembly, int i);
  static CConElmData_base* Build_StiffenerInfoObj(const SPE_REC* rec);
  static CConElmData_base* Build_StiffenerInfoObjTruss(const SPE_REC* rec);
  static CConElmData_base* Build_StiffenerInfoObjBasec(const SPE_REC* rec);
  static CConElmData_base* Build_ConcreteObj(const SPE_REC* rec);
  // kind 1, 2 or 3; any other kind gives an element with its type keys only.
  static CConElmData_base* Build_WeldsObj(const WEL_REC* first, const WEL_REC* second, int kind);
  static CConElmData_base* Build_DistanceObj(const PLA_REC* plate, const WEL_REC* first,
                                             const WEL_REC* second);
  static CConElmData_base* Build_NotchesObj(const WEL_REC* first, const WEL_REC* second,
                                            bool leading);
  static CConElmData_base* Build_SectionObj(MEM_REC* member, double d, int filter, bool withI136);
  static CConElmData_base* Build_BoltGridObj(BOL_REC* rec, double t, short rows, short columns,
                                             double e1, double e2, double p2, double p1,
                                             short extraRows, bool variable);
  static CConElmData_base* Build_HookGridObj(BOL_REC* rec, double t, double a, double e, double p1,
                                             double p2);
  static CConElmData_base* Build_TRUSSWeldObj(const CONN_REC* rec);
  // The loads of connection conn (1 to the count) for load case lc (1 to
  // 801); flags holds six member-entry flags (null: all 0).
  static CConElmData_base* Build_LoadsObj(const ASS_REC* assembly, int conn, int lc, int v,
                                          int* flags);

  // --- from values ------------------------------------------------------------
  static CConElmData_base* Build_DimensionObj(int a1, int a2, short a3, short a4, short a5, int a6,
                                              int a7, int a8, int a9, int a10, int a11);
  static CConElmData_base* Build_PlateObj(double f511, double f512, double f510, short grade);
  static CConElmData_base* Build_PlateStubObj(double f511, double f512, double f515, double f510);
  // count double values, x and y alternating (1 to 100).
  static CConElmData_base* Build_PolygonObj(double* points, int count, double f510);
  static CConElmData_base* Build_NodeObj(double x, double y, double z, double size);
  static CConElmData_base* Build_LineObj(double x1, double y1, double z1, double x2, double y2,
                                         double z2, int i512);
  static CConElmData_base* Build_ConstraintObj(double x, double y, double z, double f511,
                                               double f519, int kind);

  // --- back into records --------------------------------------------------------
  static int Restore_ProjectObj(CConElmData_base* e, ASS_REC* assembly);
  static int Restore_ConnectionInfoObj(CConElmData_base* e, ASS_REC* assembly);
  static int Restore_ConnectionInfoObj(CConElmData_base* e, CONN_REC* rec);
  static int Restore_SectionObj(CConElmData_base* e, MEM_REC* member);
  static int Restore_PlateObj(CConElmData_base* e, PLA_REC* plate, double x, double y, double z);
  static int Restore_BoltGridObj(CConElmData_base* e, BOL_REC* rec, double, double, double, double);
  static int Restore_HookGridObj(CConElmData_base* e, BOL_REC* rec);
  static int Restore_WeldsObj(CConElmData_base* e, WEL_REC* first, WEL_REC* second);
  static int Restore_NotchesObj(CConElmData_base* e, WEL_REC* first, WEL_REC* second);
  static int Restore_DistanceObj(CConElmData_base* e, PLA_REC* plate, WEL_REC* first,
                                 WEL_REC* second);
  static int Restore_StiffenerInfoObj(CConElmData_base* e, SPE_REC* rec);
  static int Restore_StiffenerInfoObjTruss(CConElmData_base* e, SPE_REC* rec);
  static int Restore_StiffenerInfoObjBasec(CConElmData_base* e, SPE_REC* rec);
  static int Restore_ConcreteObj(CConElmData_base* e, SPE_REC* rec);
  static int Restore_TRUSSWeldObj(CConElmData_base* e, CONN_REC* rec);
  static int Restore_LoadsObj(CConElmData_base* e, ASS_REC* assembly, int conn, int lc);

  // --- recomputing --------------------------------------------------------------
  static CConElmData_base* ReBuild_ProjectObj(CConElmData_base* e, const ASS_REC* assembly, int n);
  static CConElmData_base* ReBuild_BoltGridObj(CConElmData_base* e, double p1);
  static CConElmData_base* ReBuild_PolygonObj(CConElmData_base* e, double* points, int count,
                                              double f510);
  static CConElmData_base* ReBuild_PlateStubObj(CConElmData_base* e, double f511, double f512,
                                                double f515, double f510, int grade);
  // 0 for a null element.
  static int Set_BoltGridData(CConElmData_base* e);
  static int Clear_SectionObj(CConElmData_base* e);
};
