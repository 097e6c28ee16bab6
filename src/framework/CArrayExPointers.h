// CArrayExPointers: an array of smart pointers with a checksum and cheap
// copies that share the objects.
#pragma once

#include "framework/ElementTraits.h"
#include "platform/CArray.h"
#include "platform/CCheckSum.h"
#include "platform/Types.h"

template <class TYPE, class ARG_TYPE = const TYPE&>
class CArrayExPointers : public CArray<TYPE, ARG_TYPE> {
 public:
  CArrayExPointers() = default;
  ~CArrayExPointers() override = default;

  // The element count (4 bytes), then each live element's checksum.
  virtual ulong32 CheckSum() const {
    CCheckSum sum;
    sum.AddI32(this->GetSize());
    for (int i = 0; i < this->GetSize(); ++i) {
      ulong32 value;
      if (GE_::Safe::detail::ElementCheckSum(this->GetData()[i], value)) sum.AddU32(value);
    }
    return sum.get();
  }

  // Same size as src, each slot sharing src's object.
  void CopyPointersDataFrom(const CArrayExPointers& src) {
    if (&src == this) return;
    this->SetSize(src.GetSize());
    for (int i = 0; i < src.GetSize(); ++i) this->GetData()[i] = src.GetData()[i];
  }

  // As CopyPointersDataFrom, without spare storage.
  void CopyQuickFrom(const CArrayExPointers& src) {
    if (&src == this) return;
    this->RemoveAll();
    this->Copy(src);
    this->FreeExtra();
  }
};
