// CConElmData_base: the generic keyed data element of the connections and
// of the catalogue sections; CConElmPos_base: the same with a placement.
//
// An element is four maps from an integer key to a value: B data (int),
// I data (32-bit long), F data (double) and string data. What a key means
// is fixed by the code that builds the element (MapObjectsBuilderTool for
// connections, the section bridge for catalogue sections). Every map has 17
// buckets; iteration, and so the archive, follows bucket order. The
// element's identifier is its I-data value under key 101.
//
// Archive forms (see CArchive for the count, string and map forms):
//   CConElmData_base   B map, I map, F map, string map
//   CConElmPos_base    the four maps, then i16 origin x, y, z, i16 front,
//                      right and top view, then f64 dx, dy, dz, f64
//                      rotation x, y, z
// A load that fails leaves the element empty (and a positioned element
// unplaced); the archive holds the code.
#pragma once

#include <cstdint>

#include "framework/CMapEx.h"
#include "framework/PtrStrong.h"
#include "platform/CArchive.h"
#include "platform/CString.h"
#include "platform/Export.h"
#include "platform/Types.h"

class TELIO_EXPORT CConElmData_base : public GE_::Safe::ObjStrong {
 public:
  typedef CMapEx<int, int, int, int> BMap;
  typedef CMapEx<int, int, long32, long32> IMap;
  typedef CMapEx<int, int, double, double> FMap;
  typedef CMapEx<int, int, CString, CString> StrMap;

  // I-data keys every built element carries.
  enum : int { kIdentifierKey = 101, kTypeKey = 102 };
  // The least bytes an element takes in an archive: four empty maps.
  static constexpr std::size_t kArchivedMinSize = 8;

  CConElmData_base() = default;
  CConElmData_base(const CConElmData_base& other);
  CConElmData_base& operator=(const CConElmData_base& other);
  ~CConElmData_base() override;

  // The value in place, or null when the key is not set. A pointer stays
  // valid until its key is removed or the maps are emptied.
  int* GetBData(int key) { return m_BData.PLookup(key); }
  const int* GetBData(int key) const { return m_BData.PLookup(key); }
  long32* GetIData(int key) { return m_IData.PLookup(key); }
  const long32* GetIData(int key) const { return m_IData.PLookup(key); }
  double* GetFData(int key) { return m_FData.PLookup(key); }
  const double* GetFData(int key) const { return m_FData.PLookup(key); }
  CString* GetStrData(int key) { return m_StrData.PLookup(key); }
  const CString* GetStrData(int key) const { return m_StrData.PLookup(key); }

  // The value, or 0 / 0.0 / an empty string when the key is not set.
  int GetBDataValue(int key) const;
  long32 GetIDataValue(int key) const;
  double GetFDataValue(int key) const;
  CString GetStrDataValue(int key) const;

  // Setters add the key when absent. Like every framework map they throw
  // CMemoryException* when memory is short.
  void SetBData(int key, int value) { m_BData.SetAt(key, value); }
  void SetIData(int key, long32 value) { m_IData.SetAt(key, value); }
  void SetFData(int key, double value) { m_FData.SetAt(key, value); }
  void SetStrData(int key, const CString& value) { m_StrData.SetAt(key, value); }
  // True when the key was there.
  bool RemoveBData(int key) { return m_BData.RemoveKey(key); }
  bool RemoveIData(int key) { return m_IData.RemoveKey(key); }
  bool RemoveFData(int key) { return m_FData.RemoveKey(key); }
  bool RemoveStrData(int key) { return m_StrData.RemoveKey(key); }

  // The maps themselves, for code that walks or fills them.
  BMap* PBData() { return &m_BData; }
  const BMap* PBData() const { return &m_BData; }
  IMap* PIData() { return &m_IData; }
  const IMap* PIData() const { return &m_IData; }
  FMap* PFData() { return &m_FData; }
  const FMap* PFData() const { return &m_FData; }
  StrMap* PStrData() { return &m_StrData; }
  const StrMap* PStrData() const { return &m_StrData; }

  // True when the element has an identifier (I 101) equal to id.
  bool HasIdentifier(long32 id) const;

  // Empties the four maps, then copies every entry of other (same order).
  void EqualTo(const CConElmData_base& other);
  // Copies every entry of other into this element; keys that other lacks
  // keep their values.
  void EqualDataTo(const CConElmData_base& other);
  // Empties the four maps.
  void _Init();

  // The four maps. Failures are left in the archive (see the file comment).
  virtual void Serialize(CArchive& ar);

 protected:
  // The four maps in either direction, without the clean-up on failure.
  void SerializeMaps(CArchive& ar);

 private:
  BMap m_BData;
  IMap m_IData;
  FMap m_FData;
  StrMap m_StrData;
};

class TELIO_EXPORT CConElmPos_base : public CConElmData_base {
 public:
  // View-side codes run 0 to 5 (0/1, 2/3 and 4/5 are opposite sides).
  enum : short { kViewNotSet = -1 };
  static constexpr std::size_t kArchivedMinSize =
      CConElmData_base::kArchivedMinSize + 6 * 2 + 6 * 8;

  CConElmPos_base() { _Init(); }
  CConElmPos_base(const CConElmPos_base& other) = default;
  CConElmPos_base& operator=(const CConElmPos_base& other) = default;
  ~CConElmPos_base() override;

  short GetOrgX() const { return m_orgX; }
  short GetOrgY() const { return m_orgY; }
  short GetOrgZ() const { return m_orgZ; }
  short GetVFront() const { return m_vFront; }
  short GetVRight() const { return m_vRight; }
  short GetVTop() const { return m_vTop; }
  // The sides opposite to the front, right and top view; -1 when that view
  // is not a side code.
  short GetVBack() const { return GetOpstSideView(m_vFront); }
  short GetVLeft() const { return GetOpstSideView(m_vRight); }
  short GetVBottom() const { return GetOpstSideView(m_vTop); }
  double GetDx() const { return m_dx; }
  double GetDy() const { return m_dy; }
  double GetDz() const { return m_dz; }
  double GetRotX() const { return m_rotX; }
  double GetRotY() const { return m_rotY; }
  double GetRotZ() const { return m_rotZ; }

  void _SetPos(short front, short right, short top, short orgX, short orgY, short orgZ, double dx,
               double dy, double dz, double rotX, double rotY, double rotZ);
  // Views -1, origin, offsets and rotations 0. The maps are kept: call
  // CConElmData_base::_Init to empty them.
  void _Init();

  using CConElmData_base::EqualTo;
  // The maps and the placement of other.
  void EqualTo(const CConElmPos_base& other);

  // The four maps, then the placement.
  void Serialize(CArchive& ar) override;

 private:
  static short GetOpstSideView(short view);

  short m_orgX, m_orgY, m_orgZ;
  short m_vFront, m_vRight, m_vTop;
  double m_dx, m_dy, m_dz;
  double m_rotX, m_rotY, m_rotZ;
};
