// CEElement: the identity of a structural item or design datum: ID, name,
// attribute bits and flag bits.
//
// Records:
//   version 2 (written): version word 2 (4); ID (4); name (32-bit signed
//     length, then that many bytes); attributes (4); flags (4).
//   version 1 (read):    version word 1 (4); ID (4); name in a 100-byte
//     NUL-padded field; attributes (4); flags (4).
// Loading reads the version word, resets the element and reads the layout
// of that version; a version it does not know leaves the element reset and
// the stream after the version word. Serialize calls CEElement's own
// readers, never an override: derived design objects reuse the ReadVersion
// slots for the versions of their own records.
// Checksum: ID (4), name (text), attributes (4), flags (4).
//
// CEElement has no base of its own: classes that are shared also derive
// from ObjStrong, and nodes and beams from their geometry. A class deriving
// from it and from a geometry class overrides Serialize and CheckSum once
// for both (the signatures are the same).
#pragma once

#include <cstdio>

#include "platform/CString.h"
#include "platform/Export.h"
#include "platform/Types.h"

namespace ELEMENT_OBJECTS {

const unsigned int _SerializeVersionCEElement = 2;

class TELIO_EXPORT CEElement {
 public:
  CEElement();
  CEElement(const CString& name, ulong32 flags);
  CEElement(const CEElement& other) = default;
  CEElement& operator=(const CEElement& other) = default;
  virtual ~CEElement();

  CString Name() const { return m_name; }
  // The name in place, without a copy; valid while the element lives and
  // its name is not changed.
  const CString& NameRef() const { return m_name; }
  CString* PName() { return &m_name; }
  void SetName(const CString& name) { m_name = name; }
  ulong32 ID() const { return m_id; }
  void SetID(ulong32 id) { m_id = id; }
  ulong32 Attr() const { return m_attr; }
  ulong32* PAttr() { return &m_attr; }
  ulong32 Flags() const { return m_flags; }
  ulong32* PFlags() { return &m_flags; }
  // (value | set) & ~clear.
  void SetAttr(ulong32 set, ulong32 clear) { m_attr = (m_attr | set) & ~clear; }
  void SetFlags(ulong32 set, ulong32 clear) { m_flags = (m_flags | set) & ~clear; }
  // True when any bit of mask is set.
  bool HasAttr(ulong32 mask) const { return (m_attr & mask) != 0; }
  bool HasFlag(ulong32 mask) const { return (m_flags & mask) != 0; }
  void SetElement(const CString& name, ulong32 flags, ulong32 attributes);

  // ID 0, name empty, attributes 0, flags 0.
  virtual void ResetElement();
  // All four fields; false for null.
  virtual bool CopyTo(CEElement* other) const;
  virtual bool CopyFrom(const CEElement* other);
  // Names equal ignoring case and flags equal (ID and attributes are not
  // compared); false for null.
  virtual bool IsEqualWith(const CEElement* other) const;
  // Returns false when the stream failed (last error 38 or 8, or the
  // write's); the fields not read keep their reset values.
  virtual bool Serialize(FILE* f, bool load);
  virtual ulong32 CheckSum() const;

 protected:
  virtual bool ReadVersion1(FILE* f);
  virtual bool ReadVersion2(FILE* f);

 private:
  CString m_name;
  ulong32 m_attr;
  ulong32 m_flags;
  ulong32 m_id;
};

}  // namespace ELEMENT_OBJECTS
