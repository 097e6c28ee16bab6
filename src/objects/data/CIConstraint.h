// CIConstraint: a lateral restraint at a position along a member line: its
// type, whether the member may sway there, its restraint coefficient eta,
// and three eta data sets from which an eta can be derived.
//
// Types: 1, 2 and 3 restrain (3 marks an N constraint, the only type whose
// eta is free); any other value stands for no restraint at the position.
// Eta follows the type (FixEta): 1.0 for type 2, 0.0 for type 1 and for no
// restraint, kept for type 3.
//
// Record (version 2): version word (4); the CEElement record; position
// (8); Type (4, signed); Sway (4, signed); Eta (8); the three CIEtaData
// records. Version 1 ends after Eta. Loading takes Type and Sway as stored,
// then runs FixEta (before the eta data of version 2). Another version
// leaves the restraint reset (position 0, Type 2, Sway 0, Eta 1.0), the
// stream after the version word.
// Checksum: the position's checksum (CGDistance), Type, Sway (4 bytes
// each), Eta (8). Neither the element part nor the eta data are fed (see
// EtaDataCheckSum).
//
// Older data coded type and sway in one number (GetTypeOld): type 1 is 1
// (2 swaying), type 2 is 3 (4), type 3 is 5 (6), no restraint 0.
#pragma once

#include <cstdio>

#include "framework/PtrStrong.h"
#include "objects/data/CIEtaData.h"
#include "objects/elements/CEElement.h"
#include "objects/geometry/CGDistance.h"
#include "platform/Export.h"
#include "platform/Types.h"

namespace TELMARO_DATA_OBJECTS {

const unsigned int _SerializeVersionCIConstraint = 2;

// Restraint types (frozen: records hold them).
enum : int {
  kConstraintType1 = 1,
  kConstraintType2 = 2,
  kConstraintTypeN = 3,
};

class TELIO_EXPORT CIConstraint : public GEOMETRY_OBJECTS::CGDistance, public ELEMENT_OBJECTS::CEElement {
 public:
  enum { kEtaDataCount = 3 };

  CIConstraint();
  // Through the setters: SetType, SetSway, SetEta.
  CIConstraint(double position, int type, int sway, double eta);
  // A copy belongs to no list.
  CIConstraint(const CIConstraint& other);
  // As CopyFrom.
  CIConstraint& operator=(const CIConstraint& other);
  ~CIConstraint() override;

  int Type() const { return m_type; }
  int Sway() const { return m_sway; }
  double Eta() const { return m_eta; }
  int* PType() { return &m_type; }
  int* PSway() { return &m_sway; }
  double* PEta() { return &m_eta; }
  // Eta data set i (0 to 2); null outside.
  CIEtaData* PEtaData(int i) { return (i >= 0 && i < kEtaDataCount) ? &m_etaData[i] : nullptr; }
  const CIEtaData* GetEtaData(int i) const { return (i >= 0 && i < kEtaDataCount) ? &m_etaData[i] : nullptr; }

  // The code of older data for the type and sway, 0 for no restraint.
  int GetTypeOld() const;
  // The inverse of GetTypeOld (a code outside 1 to 6 gives no restraint,
  // not swaying); eta is kept for an N constraint (codes 5 and 6).
  void SetTypeFromOld(int code, double eta);

  using CEElement::CopyFrom;
  using CEElement::CopyTo;
  using CEElement::IsEqualWith;
  using CGDistance::CopyFrom;
  using CGDistance::CopyTo;
  using CGDistance::IsEqualWith;

  // Positions equal within 0.001 and MatchWith. False for null.
  bool IsEqualWith(const CIConstraint* other) const;
  // Type and Sway equal, Eta within 0.001, eta data equal, wherever the two
  // stand. False for null.
  bool MatchWith(const CIConstraint* other) const;
  // Position (through SetDistance), element, type, sway, eta and eta data.
  // False for null.
  bool CopyFrom(const CIConstraint* other);
  bool CopyTo(CIConstraint* other) const;

  GE_::Safe::PtrStrong<GEOMETRY_OBJECTS::CGDistance> Clone() const override;

  // --- virtual operations, in slot order after the distance's ---
  // One override for both bases: the whole restraint record.
  bool Serialize(FILE* f, bool load) override;
  ulong32 CheckSum() const override;
  // Type = t for 1 to 3, else 2; then Eta = 0.0 and FixEta.
  virtual void SetType(int t);
  virtual void SetSway(int s);
  // Eta = e, for an N constraint only.
  virtual void SetEta(double e);
  virtual void SetConstraint(int type, int sway, double eta);
  // The position (the list decides, see CGDistance::SetDistance), then
  // SetConstraint. The result is that of SetDistance.
  virtual int SetConstraintAt(const GEOMETRY_OBJECTS::CGPoint& at, int type, int sway, double eta);
  virtual int SetConstraintAt(double position, int type, int sway, double eta);
  // Eta from the type: 1.0 for type 2, kept for type 3, else 0.0.
  virtual void FixEta();
  virtual int IsSway() const { return m_sway; }
  virtual int IsNConstraint() const { return m_type == kConstraintTypeN ? 1 : 0; }
  // 1 when the type is 1 to 3.
  virtual int Exists() const;
  // The checksums of the three eta data sets (4 bytes each).
  virtual ulong32 EtaDataCheckSum() const;

 private:
  void ResetConstraint();

  CIEtaData m_etaData[kEtaDataCount];
  int m_sway;
  int m_type;
  double m_eta;
};

}  // namespace TELMARO_DATA_OBJECTS
