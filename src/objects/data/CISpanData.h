// CISpanData: what the spans of the restraint lists share: the two
// restraints at its ends (observed, not owned), its length, two numbers of
// its own (a constraint span's buckling length and factor, a buckling
// span's k and kw) and its values per load case (TValuesLst).
//
// Record (version 2): version word (4); the CEElement record; the left
// restraint's position (8; -1.0 when it is gone); the right one's likewise;
// the length and the two numbers (8 each); the value list record. Version 1
// ends before the value list. Loading resets the span (ResetSpanData),
// reads the positions and the length and drops them (the owning list links
// spans to their restraints) and keeps the two numbers. Another version
// leaves the span reset, the stream after the version word.
// Checksum: the CEElement checksum (4), the length and the two numbers (8
// each), the value list's checksum (4).
#pragma once

#include <cmath>
#include <cstdio>

#include "framework/Persist.h"
#include "framework/PtrStrong.h"
#include "objects/elements/CEElement.h"
#include "objects/geometry/CGPoint.h"
#include "platform/CCheckSum.h"
#include "platform/Types.h"

namespace TELMARO_DATA_OBJECTS {

const unsigned int _SerializeVersionCISpanData = 2;

template <class TItem, class TValuesLst>
class CISpanData : public GE_::Safe::ObjStrong, public ELEMENT_OBJECTS::CEElement {
 public:
  ~CISpanData() override = default;

  TItem* Left() const { return m_left.GetPtr(); }
  TItem* Right() const { return m_right.GetPtr(); }
  double Length() const { return m_length; }
  TValuesLst* GetLCValuesLst() { return &m_lcValues; }
  const TValuesLst* GetLCValuesLst() const { return &m_lcValues; }

  bool Serialize(FILE* f, bool load) override {
    CPersist io(f, load);
    ulong32 version = _SerializeVersionCISpanData;
    io.Version(version);
    if (!load) {
      if (!io.ok() || !CEElement::Serialize(f, false)) return false;
      const TItem* left = Left();
      const TItem* right = Right();
      double leftAt = left ? left->Distance() : -1.0;
      double rightAt = right ? right->Distance() : -1.0;
      io.Double(leftAt).Double(rightAt).Double(m_length).Double(m_first).Double(m_second);
      return io.ok() && m_lcValues.Serialize(f, false);
    }
    ResetElement();
    m_length = m_first = m_second = 0.0;
    ResetSpanData();
    m_lcValues.RemoveAll();
    if (!io.ok()) return false;
    switch (version) {
      case 1:
        return CEElement::Serialize(f, true) && ReadVersion1(f);
      case 2:
        return CEElement::Serialize(f, true) && ReadVersion2(f);
      default:
        return true;  // a later layout: keep the defaults
    }
  }

  ulong32 CheckSum() const override {
    CCheckSum sum;
    sum.AddU32(CEElement::CheckSum());
    sum.AddF64(m_length);
    sum.AddF64(m_first);
    sum.AddF64(m_second);
    sum.AddU32(m_lcValues.CheckSum());
    return sum.get();
  }

 protected:
  CISpanData() : m_length(0), m_first(0), m_second(0) {}
  CISpanData(TItem* left, TItem* right) : m_length(0), m_first(0), m_second(0), m_left(left), m_right(right) {}
  CISpanData(const CISpanData& other)
      : ObjStrong_base(),
        ObjStrong(other),
        CEElement(other),
        m_length(other.m_length),
        m_first(other.m_first),
        m_second(other.m_second),
        m_left(other.m_left),
        m_right(other.m_right) {
    m_lcValues.CopyFrom(&other.m_lcValues);
  }

  // Recomputes the span from its ends (the class's own rule).
  virtual int ResetSpanData() = 0;

  void SetEnds(TItem* left, TItem* right) {
    m_left = left;
    m_right = right;
  }
  // The fields after the element record, without and with the value list.
  bool ReadVersion1(FILE* f) override {
    CPersist io(f, true);
    double dropped = 0;
    io.Double(dropped).Double(dropped).Double(dropped).Double(m_first).Double(m_second);
    return io.ok();
  }
  bool ReadVersion2(FILE* f) override { return ReadVersion1(f) && m_lcValues.Serialize(f, true); }

  // Element equal, length and both numbers within 0.001, value sets equal.
  bool IsEqualSpan(const CISpanData& other) const {
    return CEElement::IsEqualWith(static_cast<const CEElement*>(&other)) && Near(m_length, other.m_length) &&
           MatchSpan(other) && m_lcValues.IsEqualWith(&other.m_lcValues);
  }
  // Both numbers within 0.001.
  bool MatchSpan(const CISpanData& other) const {
    return Near(m_first, other.m_first) && Near(m_second, other.m_second);
  }
  // Element, the two numbers and copies of the value sets.
  bool CopySpan(const CISpanData& other) {
    if (&other == this) return true;
    CEElement::CopyFrom(static_cast<const CEElement*>(&other));
    m_first = other.m_first;
    m_second = other.m_second;
    return m_lcValues.CopyFrom(&other.m_lcValues);
  }

  static bool Near(double a, double b) { return std::fabs(a - b) <= GEOMETRY_OBJECTS::kGeoTolerance; }

  double m_length;
  double m_first;
  double m_second;

 private:
  CISpanData& operator=(const CISpanData&) = delete;

  TValuesLst m_lcValues;
  GE_::Safe::PtrWeak<TItem> m_left;
  GE_::Safe::PtrWeak<TItem> m_right;
};

}  // namespace TELMARO_DATA_OBJECTS
