// CArrayEx: the framework array with a checksum, raw record I/O and copying.
#pragma once

#include <cstdio>
#include <type_traits>

#include "framework/ElementTraits.h"
#include "platform/CArray.h"
#include "platform/CCheckSum.h"
#include "platform/Coding.h"
#include "platform/LastError.h"
#include "platform/Types.h"

template <class TYPE, class ARG_TYPE = const TYPE&>
class CArrayEx : public CArray<TYPE, ARG_TYPE> {
 public:
  CArrayEx() = default;
  CArrayEx(const CArrayEx& other) : CArray<TYPE, ARG_TYPE>() { this->Copy(other); }
  CArrayEx& operator=(const CArrayEx& other) {
    this->Copy(other);
    return *this;
  }
  ~CArrayEx() override = default;

  // Pointer elements feed their live objects' checksums (4 bytes each, null
  // and dangling ones skipped); nested arrays feed theirs; plain records
  // feed their bytes, which are their little-endian file image.
  virtual ulong32 CheckSum() const {
    CCheckSum sum;
    for (int i = 0; i < this->GetSize(); ++i) {
      const TYPE& e = this->GetData()[i];
      ulong32 value;
      if (GE_::Safe::detail::ElementCheckSum(e, value)) {
        sum.AddU32(value);
      } else if constexpr (!std::is_pointer<TYPE>::value &&
                           !GE_::Safe::detail::IsSmartPtr<TYPE>() &&
                           std::is_trivially_copyable<TYPE>::value) {
        sum.AddBytes(&e, sizeof(TYPE));
      }
    }
    return sum.get();
  }

  // Record file form: the count (32-bit signed), each element's image, then
  // one default image per element whose write failed and the number of
  // failed writes (32-bit). Returns true when everything was written.
  bool Write(FILE* f) const {
    static_assert(IsRecord(), "only plain records have a file image");
    unsigned char word[4];
    telio::EncodeFixed32(word, static_cast<ulong32>(this->GetSize()));
    if (std::fwrite(word, 4, 1, f) != 1) return false;
    long32 failed = 0;
    for (int i = 0; i < this->GetSize(); ++i) {
      if (std::fwrite(&this->GetData()[i], sizeof(TYPE), 1, f) != 1) ++failed;
    }
    const TYPE blank{};
    bool ok = true;
    for (long32 i = 0; i < failed; ++i) ok = std::fwrite(&blank, sizeof(TYPE), 1, f) == 1 && ok;
    telio::EncodeFixed32(word, static_cast<ulong32>(failed));
    ok = std::fwrite(word, 4, 1, f) == 1 && ok;
    return ok && failed == 0;
  }

  // Empties the array, reads the count and then that many element images,
  // keeping each one read in full. The writer's trailing failure count is
  // left in the stream. Nothing is allocated ahead of the data actually
  // read, so a damaged count costs no memory. Returns false (last error 38,
  // or 1392 for a negative count) when the stream ends early; a failed
  // allocation throws CMemoryException* with the elements read so far kept.
  bool Read(FILE* f) {
    static_assert(IsRecord(), "only plain records have a file image");
    this->RemoveAll();
    unsigned char word[4];
    if (std::fread(word, 4, 1, f) != 1) {
      telio::SetLastError(telio::kErrorHandleEof);
      return false;
    }
    long32 count = static_cast<long32>(telio::DecodeFixed32(word));
    if (count < 0) {
      telio::SetLastError(telio::kErrorFileCorrupt);
      return false;
    }
    for (long32 i = 0; i < count; ++i) {
      TYPE e{};
      if (std::fread(&e, sizeof(TYPE), 1, f) != 1) {
        telio::SetLastError(telio::kErrorHandleEof);
        return false;
      }
      this->Add(e);
    }
    return true;
  }

 private:
  static constexpr bool IsRecord() {
    return std::is_trivially_copyable<TYPE>::value && !std::is_pointer<TYPE>::value &&
           !GE_::Safe::detail::IsSmartPtr<TYPE>();
  }
};
