// The framework's exception objects. They are thrown as pointers to one
// static instance per type (catch them as CException* and do not delete).
#pragma once

#include "platform/Export.h"

class TELIO_EXPORT CException {
 public:
  virtual ~CException();
  virtual const char* GetErrorMessage() const = 0;
};

// An index or argument outside what a collection accepts.
class TELIO_EXPORT CInvalidArgException : public CException {
 public:
  const char* GetErrorMessage() const override;
};

// A collection could not allocate its storage.
class TELIO_EXPORT CMemoryException : public CException {
 public:
  const char* GetErrorMessage() const override;
};

[[noreturn]] TELIO_EXPORT void ThrowInvalidArgException();
[[noreturn]] TELIO_EXPORT void ThrowMemoryException();
