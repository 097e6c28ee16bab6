#include "objects/data/CITegidaData.h"

#include <cstring>

#include "framework/Persist.h"
#include "platform/CCheckSum.h"
#include "platform/Coding.h"

namespace TELMARO_DATA_OBJECTS {

using GE_::Safe::PtrStrong;

namespace {

bool Fits(int offset, std::size_t width) {
  return offset >= 0 && static_cast<std::size_t>(offset) + width <= CITegidaData::kTegidaSize;
}

}  // namespace

CITegidaData::CITegidaData() { ResetTegida(); }

CITegidaData::~CITegidaData() = default;

PtrStrong<CITegidaData> CITegidaData::GetNewObject() { return PtrStrong<CITegidaData>(new CITegidaData); }

PtrStrong<CITegidaData> CITegidaData::Clone() const { return PtrStrong<CITegidaData>(new CITegidaData(*this)); }

long32 CITegidaData::TegidaWord(int offset) const {
  return Fits(offset, 4) ? static_cast<long32>(telio::DecodeFixed32(m_block + offset)) : 0;
}

void CITegidaData::SetTegidaWord(int offset, long32 v) {
  if (Fits(offset, 4)) telio::EncodeFixed32(m_block + offset, static_cast<ulong32>(v));
}

double CITegidaData::TegidaDouble(int offset) const {
  return Fits(offset, 8) ? telio::DecodeDouble(m_block + offset) : 0.0;
}

void CITegidaData::SetTegidaDouble(int offset, double v) {
  if (Fits(offset, 8)) telio::EncodeDouble(m_block + offset, v);
}

void CITegidaData::ResetTegida() {
  m_isTegida = 0;
  std::memset(m_block, 0, sizeof m_block);
}

void CITegidaData::SetDefaultTegida(double v) {
  std::memset(m_block, 0, sizeof m_block);
  SetTegidaDouble(kLengthOffset, v);
  SetTegidaWord(kTypeOffset, 0);
  SetTegidaWord(kCountOffset, 1);
  SetTegidaWord(kWord192Offset, 0);
  for (int i = 0; i < kArrayLength; ++i) {
    SetTegidaDouble(kValuesOffset + 8 * i, 0.0);
    SetTegidaWord(kWordsOffset + 4 * i, 1);
  }
}

bool CITegidaData::CopyFrom(const CITegidaData* other) {
  if (!other) return false;
  if (other != this) {
    m_isTegida = other->m_isTegida;
    std::memcpy(m_block, other->m_block, sizeof m_block);
  }
  return true;
}

bool CITegidaData::CopyTo(CITegidaData* other) const { return other && other->CopyFrom(this); }

bool CITegidaData::IsEqualWith(const CITegidaData* other) const {
  return other && m_isTegida == other->m_isTegida && TegidaWord(kTypeOffset) == other->TegidaWord(kTypeOffset) &&
         TegidaWord(kCountOffset) == other->TegidaWord(kCountOffset);
}

bool CITegidaData::Serialize(FILE* f, bool load) {
  CPersist io(f, load);
  ulong32 version = _SerializeVersionCITegidaData;
  io.Version(version);
  if (load) ResetTegida();
  if (!io.ok()) return false;
  if (load && version != _SerializeVersionCITegidaData) return true;  // a later layout: keep the defaults
  io.Int(m_isTegida).Block(m_block, sizeof m_block);
  return io.ok();
}

ulong32 CITegidaData::CheckSum() const {
  CCheckSum sum;
  sum.AddI32(m_isTegida);
  sum.AddArray(m_block, static_cast<unsigned int>(sizeof m_block));
  return sum.get();
}

}  // namespace TELMARO_DATA_OBJECTS
