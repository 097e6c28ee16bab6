#include "platform/CException.h"

CException::~CException() = default;

const char* CInvalidArgException::GetErrorMessage() const { return "Invalid argument."; }

const char* CMemoryException::GetErrorMessage() const { return "Out of memory."; }

void ThrowInvalidArgException() {
  static CInvalidArgException instance;
  throw static_cast<CInvalidArgException*>(&instance);
}

void ThrowMemoryException() {
  static CMemoryException instance;
  throw static_cast<CMemoryException*>(&instance);
}
