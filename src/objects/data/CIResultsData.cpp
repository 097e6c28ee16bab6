#include "objects/data/CIResultsData.h"

#include <cstring>

#include "platform/Alloc.h"
#include "platform/CCheckSum.h"
#include "platform/LastError.h"

namespace TELMARO_DATA_OBJECTS {

CIResultsData::CIResultsData() : m_count(0), m_records(nullptr), m_values(nullptr) {}

CIResultsData::CIResultsData(const CIResultsData& other) : CIResultsData() { other.CopyTo(this); }

CIResultsData& CIResultsData::operator=(const CIResultsData& other) {
  other.CopyTo(this);
  return *this;
}

CIResultsData::~CIResultsData() { ClearResults(); }

void CIResultsData::ClearResults() {
  telio::Free(m_records);
  telio::Free(m_values);
  m_records = nullptr;
  m_values = nullptr;
  m_count = 0;
}

bool CIResultsData::Allocate(int n) {
  ClearResults();
  if (n < 1) return true;
  m_records = static_cast<RESULTS*>(telio::Calloc(static_cast<std::size_t>(n), sizeof(RESULTS)));
  m_values = static_cast<float*>(telio::Calloc(static_cast<std::size_t>(n), sizeof(float)));
  if (!m_records || !m_values) {
    ClearResults();
    telio::SetLastError(telio::kErrorNotEnoughMemory);
    return false;
  }
  return true;
}

bool CIResultsData::Initialize(int n) {
  if (!Allocate(n)) return false;
  m_count = n < 1 ? 0 : n;
  return true;
}

int CIResultsData::CopyResults(const RESULTS* src, int n, int which) {
  if (!src || n < 1) {
    ClearResults();
    return 0;
  }
  if (!Allocate(n)) return -1;
  for (int i = 0; i < n; ++i) {
    const int selector = src[i].Selector();
    const bool take = which > 0 ? selector == which : which == 0 || selector != -which;
    if (!take) continue;
    m_records[m_count] = src[i];
    m_values[m_count] = src[i].Ratio();
    ++m_count;
  }
  return m_count;
}

bool CIResultsData::CopyTo(CIResultsData* other) const {
  if (!other) return false;
  if (other == this) return true;
  if (!other->Allocate(m_count)) return false;
  if (m_count > 0) {
    std::memcpy(other->m_records, m_records, sizeof(RESULTS) * static_cast<std::size_t>(m_count));
    std::memcpy(other->m_values, m_values, sizeof(float) * static_cast<std::size_t>(m_count));
  }
  other->m_count = m_count;
  return true;
}

ulong32 CIResultsData::CheckSum() const {
  CCheckSum sum;
  sum.AddI32(m_count);
  if (m_count > 0) {
    sum.AddBytes(m_records, sizeof(RESULTS) * static_cast<std::size_t>(m_count));
    for (int i = 0; i < m_count; ++i) {
      unsigned char b[4];
      telio::EncodeFloat(b, m_values[i]);
      sum.AddBytes(b, 4);
    }
  }
  return sum.get();
}

}  // namespace TELMARO_DATA_OBJECTS
