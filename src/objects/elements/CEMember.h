// CEMember: a named line of the structural model split into consecutive
// internal beams (the analysis beams between its nodes).
//
// The internal beams are a CGLineLst with the flags unique, collinear,
// continuous and same-direction (0x87) whose elements are CEBeams, so they
// follow one another without gaps, all in the member's direction. While it
// has beams the member spans them: each change of the beams sets the
// member's end points to the first beam's start and the last beam's end.
// The member's internal points (nodes) are not kept in step with the beams
// by those changes: SynchronizePointsFromBeamsLst rebuilds them.
//
// Record (version 1): version word (4); the CEBeam record; the
// internal-beam list record (CGLineLst, version 1, whose elements are beam
// records). The version word is read and not tested (one layout). A loaded
// member with beams takes its end points from them.
// Checksum: the CEBeam checksum (4 bytes), then the internal-beam list's
// checksum (4 bytes; a member without the list feeds what an empty one
// gives).
//
// New beams made by the cutting operations get an empty name and the
// member's attribute word as their flags.
#pragma once

#include <cstdio>

#include "framework/PtrStrong.h"
#include "objects/elements/CEBeam.h"
#include "objects/geometry/CGLineLst.h"
#include "platform/Export.h"
#include "platform/Types.h"

namespace ELEMENT_OBJECTS {

const unsigned int _SerializeVersionCEMember = 1;

// Flags of the internal-beam list: unique, collinear, continuous, same
// direction.
const ulong32 kIntBmsLstFlags = 0x87;

class TELIO_EXPORT CEMember : public CEBeam {
 public:
  CEMember();
  // A copy has copies of the other member's beams and internal points.
  CEMember(const CEMember& other);
  CEMember& operator=(const CEMember& other);
  ~CEMember() override;

  static GE_::Safe::PtrStrong<GEOMETRY_OBJECTS::CGLine> GetNewObject();

  using CEBeam::CopyFrom;
  using CEBeam::CopyTo;
  using CEBeam::IsEqualWith;

  // Line with its beams; false for null.
  virtual bool CopyTo(CEMember* other) const;
  virtual bool CopyFrom(const CEMember* other);
  // As CEBeam: elements equal and lines equal; the beams are not compared.
  virtual bool IsEqualWith(const CEMember* other) const;
  // A new beam of the given length, from the member's end onwards, or with
  // atStart ending at the member's start, named name with flags (value is
  // not kept), added with AddInternalBeam(beam). 0, nothing changed, for a
  // length not above 0.001.
  virtual int AddInternalBeam(double length, bool atStart, const CString& name, double value, ulong32 flags);
  // Offers beam (shared, not copied) to the internal-beam list, whose rule
  // keeps the chain continuous, and on success makes the member span the
  // beams. 1 when added.
  virtual int AddInternalBeam(GE_::Safe::PtrStrong<GEOMETRY_OBJECTS::CGLine> beam);
  // Empties the internal-beam list; the member line stays.
  virtual void RemoveInternalBeamsAll();
  // CutMemberIntoDst(length / (n + 1)); 0 for n < 0.
  virtual int CutMemberIntoCnt(int n);
  // Beams of length step from the start and a last one of the remainder
  // (none when it is not above 0.001); one beam when step is not above
  // 0.001 or equals the length within 0.001. 0, nothing changed, unless 0
  // <= step <= length.
  virtual int CutMemberIntoDst(double step);
  // CutMemberIntoDst(perc % of the length); 0 unless 0 <= perc <= 100.
  virtual int CutMemberIntoPrc(double perc);
  // Beams of the given successive lengths (leading lengths not above 0.001
  // in magnitude skipped, later ones not above 0.001 skipped, the walk
  // stopping at the first that would pass the member's end) and a last one
  // up to the end. 0, nothing changed, for a null table, count <= 0, no
  // length above 0.001 in magnitude, or a first length beyond the member.
  virtual int CutMemberIntoDsts(const double* lengths, int count);

  // Resets the line and empties the internal-beam list.
  void ResetLine() override;
  // Sets the line, its internal points and one beam spanning it.
  void SetLine(const GEOMETRY_OBJECTS::CGPoint& s, const GEOMETRY_OBJECTS::CGPoint& e) override;
  GE_::Safe::PtrStrong<GEOMETRY_OBJECTS::CGLine> Clone() const override;
  bool Serialize(FILE* f, bool load) override;
  ulong32 CheckSum() const override;

  // 0 without the list.
  int GetCountInternalBeams() const;
  // Null when out of range.
  GE_::Safe::PtrStrong<GEOMETRY_OBJECTS::CGLine> GetInternalBeamAt(int i) const;
  // The list itself (null until made); its beams are shared.
  GE_::Safe::PtrStrong<GEOMETRY_OBJECTS::CGLineLst> GetInternalBeamsLst() const { return m_pIntBms; }
  // Rebuilds the beams from the member's internal points: one beam per two
  // consecutive points (CutMemberIntoDsts), or a single beam with two or
  // fewer points.
  void SynchronizeBeamsFromPointsLst();
  // Rebuilds the member's internal points (nodes) from its beams. With
  // withBeamPoints != 0 the beams' own internal points are offered to the
  // member, which then shares those node objects; with 0 a new node is made
  // at each beam's end, named after that beam's end node. The member's end
  // points take the identity (ID, name, attributes, flags) of the first
  // beam's start node and the last beam's end node.
  void SynchronizePointsFromBeamsLst(int withBeamPoints);

 protected:
  // The member spans its beams; without beams the line is reset and the
  // result is 0.
  virtual int LineFromIntBmsLst();
  // Empties the list (made when missing) and puts in one beam from the
  // member's start to its end.
  virtual void GenerateIntBmsLst();
  // Makes the list (flags 0x87, elements CEBeam) when there is none.
  virtual void EnsureValidIntBmsLst();

  GE_::Safe::PtrStrong<GEOMETRY_OBJECTS::CGLineLst> m_pIntBms;

 private:
  // A beam s -> e made by the list's factory, named name with flags.
  GE_::Safe::PtrStrong<GEOMETRY_OBJECTS::CGLine> NewBeam(const GEOMETRY_OBJECTS::CGPoint& s,
                                                        const GEOMETRY_OBJECTS::CGPoint& e, const CString& name,
                                                        ulong32 flags);
};

}  // namespace ELEMENT_OBJECTS
