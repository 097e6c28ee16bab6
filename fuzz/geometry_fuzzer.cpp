// Loads a geometry or structural-element record from arbitrary bytes: the
// first byte names the kind (modulo 9: 0 point, 1 point list, 2 line, 3
// line list, 4 distance list on a line of length 10, 5 element, 6 node, 7
// beam, 8 member), the rest is the record. Each object loaded is used a
// little (checksums, copies, positions, cuts) and saved; a point, an
// element or a node must load back with the same checksum.
#include <cstddef>
#include <cstdint>
#include <cstdio>

#include "FuzzRecords.h"
#include "objects/elements/CEMember.h"
#include "objects/elements/CENode.h"
#include "objects/geometry/CGDistance.h"
#include "objects/geometry/CGLineLst.h"

using namespace GEOMETRY_OBJECTS;
using namespace ELEMENT_OBJECTS;

namespace {

// Saves object and loads it into a fresh one.
template <class T>
void Reload(T& object) {
  T fresh;
  fuzz_records::Reload(object, fresh);
}

// A round trip must keep the checksum of these kinds exactly.
template <class T>
void RoundTrip(T& object) {
  T fresh;
  fuzz_records::RoundTrip(object, fresh);
}

void UseLine(CGLine& line) {
  CGLine other(CGPoint(0, 0, 0), CGPoint(10, 0, 0));
  (void)line.GetPosiotionOfLine(other);
  (void)other.GetPosiotionOfLine(line);
  (void)line.IsContinuesWith(other);
  GE_::Safe::PtrStrong<CGLine> copy = line.Clone();
  (void)copy->MatchWith(&line);
  Reload(line);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  FILE* f = fuzz_records::OpenBytes(data + 1, size - 1);
  if (!f) return 0;
  switch (data[0] % 9) {
    case 0: {
      CGPoint p;
      if (p.Serialize(f, true)) RoundTrip(p);
      break;
    }
    case 1: {
      CGPointLst list;
      list.Serialize(f, true);
      double box[6];
      list.GetBoundRect(&box[0], &box[1], &box[2], &box[3], &box[4], &box[5]);
      Reload(list);
      break;
    }
    case 2: {
      CGLine line;
      line.Serialize(f, true);
      UseLine(line);
      line.CutLineIntoCnt(3);
      break;
    }
    case 3: {
      CGLineLst list(0, &CEBeam::GetNewObject);
      list.Serialize(f, true);
      CGLineLst copy;
      copy = list;
      Reload(copy);
      break;
    }
    case 4: {
      CGLine line(CGPoint(0, 0, 0), CGPoint(10, 0, 0));
      CGDistanceLst list(&line, 0x1FF);
      list.Serialize(f, true);
      if (list.GetCount() > 0) list.GetAt(0)->SetDistance(5.0);
      (void)list.CheckSum();
      break;
    }
    case 5: {
      CEElement e;
      if (e.Serialize(f, true)) RoundTrip(e);
      break;
    }
    case 6: {
      CENode node;
      if (node.Serialize(f, true)) RoundTrip(node);
      break;
    }
    case 7: {
      CEBeam beam;
      beam.Serialize(f, true);
      UseLine(beam);
      break;
    }
    default: {
      CEMember member;
      member.Serialize(f, true);
      UseLine(member);
      member.SynchronizePointsFromBeamsLst(0);
      member.SynchronizePointsFromBeamsLst(1);
      member.CutMemberIntoCnt(2);
      Reload(member);
      break;
    }
  }
  std::fclose(f);
  return 0;
}
