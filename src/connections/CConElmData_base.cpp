#include "connections/CConElmData_base.h"

#include <new>

#include "platform/CException.h"
#include "platform/LastError.h"

namespace {

// Sets every entry of src in dst; keys new to dst join at their chain's
// tail so that dst keeps src's order for them.
template <class Map>
void MergeInto(Map& dst, const Map& src) {
  typename Map::KeyType key;
  typename Map::ValueType value;
  for (POSITION pos = src.GetStartPosition(); pos;) {
    src.GetNextAssoc(pos, key, value);
    if (!dst.SetAtTail(key, value)) ThrowMemoryException();
  }
}

}  // namespace

CConElmData_base::CConElmData_base(const CConElmData_base& other)
    : GE_::Safe::ObjStrong_base(other),
      GE_::Safe::ObjStrong(other),
      m_BData(other.m_BData),
      m_IData(other.m_IData),
      m_FData(other.m_FData),
      m_StrData(other.m_StrData) {}

CConElmData_base& CConElmData_base::operator=(const CConElmData_base& other) {
  EqualTo(other);
  return *this;
}

CConElmData_base::~CConElmData_base() = default;

int CConElmData_base::GetBDataValue(int key) const {
  const int* v = GetBData(key);
  return v ? *v : 0;
}

long32 CConElmData_base::GetIDataValue(int key) const {
  const long32* v = GetIData(key);
  return v ? *v : 0;
}

double CConElmData_base::GetFDataValue(int key) const {
  const double* v = GetFData(key);
  return v ? *v : 0.0;
}

CString CConElmData_base::GetStrDataValue(int key) const {
  const CString* v = GetStrData(key);
  return v ? *v : CString();
}

bool CConElmData_base::HasIdentifier(long32 id) const {
  const long32* v = GetIData(kIdentifierKey);
  return v && *v == id;
}

void CConElmData_base::EqualTo(const CConElmData_base& other) {
  if (&other == this) return;
  m_BData.CopyEntriesFrom(other.m_BData);
  m_IData.CopyEntriesFrom(other.m_IData);
  m_FData.CopyEntriesFrom(other.m_FData);
  m_StrData.CopyEntriesFrom(other.m_StrData);
}

void CConElmData_base::EqualDataTo(const CConElmData_base& other) {
  if (&other == this) return;
  MergeInto(m_BData, other.m_BData);
  MergeInto(m_IData, other.m_IData);
  MergeInto(m_FData, other.m_FData);
  MergeInto(m_StrData, other.m_StrData);
}

void CConElmData_base::_Init() {
  m_BData.RemoveAll();
  m_IData.RemoveAll();
  m_FData.RemoveAll();
  m_StrData.RemoveAll();
}

void CConElmData_base::SerializeMaps(CArchive& ar) {
  try {
    m_BData.Serialize(ar);
    m_IData.Serialize(ar);
    m_FData.Serialize(ar);
    m_StrData.Serialize(ar);
  } catch (const std::bad_alloc&) {
    ar.Fail(telio::kErrorNotEnoughMemory);
  } catch (CMemoryException*) {
    ar.Fail(telio::kErrorNotEnoughMemory);
  }
}

void CConElmData_base::Serialize(CArchive& ar) {
  SerializeMaps(ar);
  if (ar.IsLoading() && !ar.ok()) CConElmData_base::_Init();
}

CConElmPos_base::~CConElmPos_base() = default;

// Sides 0/1, 2/3 and 4/5 face each other.
short CConElmPos_base::GetOpstSideView(short view) {
  return view >= 0 && view <= 5 ? static_cast<short>(view ^ 1) : short{-1};
}

void CConElmPos_base::_SetPos(short front, short right, short top, short orgX, short orgY,
                              short orgZ, double dx, double dy, double dz, double rotX, double rotY,
                              double rotZ) {
  m_vFront = front;
  m_vRight = right;
  m_vTop = top;
  m_orgX = orgX;
  m_orgY = orgY;
  m_orgZ = orgZ;
  m_dx = dx;
  m_dy = dy;
  m_dz = dz;
  m_rotX = rotX;
  m_rotY = rotY;
  m_rotZ = rotZ;
}

void CConElmPos_base::_Init() {
  _SetPos(kViewNotSet, kViewNotSet, kViewNotSet, 0, 0, 0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0);
}

void CConElmPos_base::EqualTo(const CConElmPos_base& other) {
  if (&other == this) return;
  CConElmData_base::EqualTo(other);
  _SetPos(other.m_vFront, other.m_vRight, other.m_vTop, other.m_orgX, other.m_orgY, other.m_orgZ,
          other.m_dx, other.m_dy, other.m_dz, other.m_rotX, other.m_rotY, other.m_rotZ);
}

void CConElmPos_base::Serialize(CArchive& ar) {
  SerializeMaps(ar);
  for (short* v : {&m_orgX, &m_orgY, &m_orgZ, &m_vFront, &m_vRight, &m_vTop}) {
    SerializeElement(ar, *v);
  }
  for (double* v : {&m_dx, &m_dy, &m_dz, &m_rotX, &m_rotY, &m_rotZ}) SerializeElement(ar, *v);
  if (ar.IsLoading() && !ar.ok()) {
    CConElmData_base::_Init();
    _Init();
  }
}
