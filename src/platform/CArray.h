// CArray: the framework's growable array.
//
// Elements live in one contiguous block; growing moves them into a larger
// block. The growth step follows the framework: with the default step (-1)
// an array grows by max(4, min(1024, size / 8)) elements at a time. A failed
// allocation throws CMemoryException*, an index out of range in GetAt,
// SetAt or ElementAt throws CInvalidArgException*; the array is unchanged
// in both cases.
#pragma once

#include <algorithm>
#include <cstddef>
#include <new>
#include <type_traits>
#include <utility>

#include "platform/Alloc.h"
#include "platform/CException.h"

template <class TYPE, class ARG_TYPE = const TYPE&>
class CArray {
 public:
  CArray() = default;
  CArray(const CArray&) = delete;             // the framework's array does not copy;
  CArray& operator=(const CArray&) = delete;  // derived arrays that do say so.
  virtual ~CArray() { RemoveAll(); }

  int GetSize() const { return size_; }
  int GetCount() const { return size_; }
  bool IsEmpty() const { return size_ == 0; }
  int GetUpperBound() const { return size_ - 1; }

  // Sets the element count: new elements are value-initialised (zero for
  // plain records), removed ones destroyed. growBy >= 0 also sets the step.
  void SetSize(int newSize, int growBy = -1) {
    if (newSize < 0) ThrowInvalidArgException();
    if (growBy >= 0) growBy_ = growBy;
    if (newSize == 0) {
      RemoveAll();
      return;
    }
    if (newSize > maxSize_) Reserve(GrownCapacity(newSize));
    if (newSize > size_) {
      for (int i = size_; i < newSize; ++i) new (&data_[i]) TYPE();
    } else {
      for (int i = newSize; i < size_; ++i) data_[i].~TYPE();
    }
    size_ = newSize;
  }

  // As SetSize, but new elements are left uninitialised: for arrays of plain
  // records that the caller fills at once (a reader decoding a block).
  void SetSizeUninitialized(int newSize) {
    static_assert(std::is_trivially_copyable<TYPE>::value && std::is_trivially_destructible<TYPE>::value,
                  "only plain records may be left uninitialised");
    if (newSize < 0) ThrowInvalidArgException();
    if (newSize > maxSize_) Reserve(GrownCapacity(newSize));
    size_ = newSize;
  }

  // Releases the storage beyond the element count.
  void FreeExtra() {
    if (size_ == maxSize_) return;
    if (size_ == 0) {
      RemoveAll();
      return;
    }
    Relocate(size_);
  }

  void RemoveAll() {
    for (int i = 0; i < size_; ++i) data_[i].~TYPE();
    telio::Free(data_);
    data_ = nullptr;
    size_ = maxSize_ = 0;
  }

  const TYPE& GetAt(int i) const {
    CheckIndex(i);
    return data_[i];
  }
  void SetAt(int i, ARG_TYPE e) {
    CheckIndex(i);
    data_[i] = e;
  }
  TYPE& ElementAt(int i) {
    CheckIndex(i);
    return data_[i];
  }
  const TYPE& ElementAt(int i) const {
    CheckIndex(i);
    return data_[i];
  }
  const TYPE* GetData() const { return data_; }
  TYPE* GetData() { return data_; }

  const TYPE& operator[](int i) const { return GetAt(i); }
  TYPE& operator[](int i) { return ElementAt(i); }

  void SetAtGrow(int i, ARG_TYPE e) {
    if (i < 0) ThrowInvalidArgException();
    if (i == 0x7fffffff) ThrowMemoryException();  // i + 1 elements do not fit an int
    if (i >= size_) {
      TYPE copy(e);  // e may live in this array
      SetSize(i + 1);
      data_[i] = std::move(copy);
    } else {
      data_[i] = e;
    }
  }

  int Add(ARG_TYPE e) {
    int i = size_;
    SetAtGrow(i, e);
    return i;
  }

  int Append(const CArray& src) {
    if (&src == this) ThrowInvalidArgException();
    int old = size_;
    SetSize(size_ + src.size_);
    for (int i = 0; i < src.size_; ++i) data_[old + i] = src.data_[i];
    return old;
  }

  void Copy(const CArray& src) {
    if (&src == this) return;
    SetSize(src.size_);
    for (int i = 0; i < src.size_; ++i) data_[i] = src.data_[i];
  }

  void InsertAt(int index, ARG_TYPE e, int count = 1) {
    if (index < 0 || count <= 0) {
      if (count == 0 && index >= 0) return;
      ThrowInvalidArgException();
    }
    if (count > 0x7fffffff - (index > size_ ? index : size_)) ThrowMemoryException();
    TYPE copy(e);
    if (index >= size_) {
      SetSize(index + count);
    } else {
      int old = size_;
      SetSize(size_ + count);
      std::move_backward(data_ + index, data_ + old, data_ + old + count);
    }
    for (int i = 0; i + 1 < count; ++i) data_[index + i] = copy;
    data_[index + count - 1] = std::move(copy);
  }

  void InsertAt(int start, const CArray* src) {
    if (!src || start < 0) ThrowInvalidArgException();
    if (src->size_ == 0) return;
    CArray tmpHolder;
    const CArray* from = src;
    if (src == this) {
      tmpHolder.Copy(*src);
      from = &tmpHolder;
    }
    InsertAt(start, from->data_[0], from->size_);
    for (int i = 0; i < from->size_; ++i) data_[start + i] = from->data_[i];
  }

  void RemoveAt(int index, int count = 1) {
    if (index < 0 || count < 0 || index > size_ || count > size_ - index) ThrowInvalidArgException();
    std::move(data_ + index + count, data_ + size_, data_ + index);
    for (int i = size_ - count; i < size_; ++i) data_[i].~TYPE();
    size_ -= count;
  }

 protected:
  void CheckIndex(int i) const {
    if (i < 0 || i >= size_) ThrowInvalidArgException();
  }

 private:
  int GrownCapacity(int needed) const {
    int step = growBy_;
    if (step <= 0) step = std::min(1024, std::max(4, size_ / 8));
    long long grown = static_cast<long long>(maxSize_) + step;
    return static_cast<int>(std::max<long long>(needed, std::min<long long>(grown, 0x7fffffff)));
  }

  void Reserve(int capacity) {
    if (capacity <= maxSize_) return;
    Relocate(capacity);
  }

  void Relocate(int capacity) {
    std::size_t bytes = static_cast<std::size_t>(capacity) * sizeof(TYPE);
    if (bytes / sizeof(TYPE) != static_cast<std::size_t>(capacity)) ThrowMemoryException();
    TYPE* fresh = static_cast<TYPE*>(telio::Malloc(bytes));
    if (!fresh) ThrowMemoryException();
    for (int i = 0; i < size_; ++i) {
      new (&fresh[i]) TYPE(std::move(data_[i]));
      data_[i].~TYPE();
    }
    telio::Free(data_);
    data_ = fresh;
    maxSize_ = capacity;
  }

  TYPE* data_ = nullptr;
  int size_ = 0;
  int maxSize_ = 0;
  int growBy_ = -1;
};
