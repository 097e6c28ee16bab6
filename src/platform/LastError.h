// The thread's last system error, kept as the Windows system error codes
// that hosts of this library test for, whatever the operating system.
#pragma once

#include "platform/Export.h"
#include "platform/Types.h"

namespace telio {

// System error codes used by the library (the values are frozen: hosts
// compare against them).
enum : ulong32 {
  kErrorSuccess = 0,
  kErrorInvalidFunction = 1,
  kErrorFileNotFound = 2,
  kErrorPathNotFound = 3,
  kErrorTooManyOpenFiles = 4,
  kErrorAccessDenied = 5,
  kErrorInvalidHandle = 6,
  kErrorNotEnoughMemory = 8,
  kErrorWriteProtect = 19,
  kErrorWriteFault = 29,
  kErrorReadFault = 30,
  kErrorSharingViolation = 32,
  kErrorHandleEof = 38,
  kErrorNotSupported = 50,
  kErrorFileExists = 80,
  kErrorInvalidParameter = 87,
  kErrorBrokenPipe = 109,
  kErrorDiskFull = 112,
  kErrorInvalidName = 123,
  kErrorDirNotEmpty = 145,
  kErrorBadArguments = 160,
  kErrorBusy = 170,
  kErrorAlreadyExists = 183,
  kErrorFilenameTooLong = 206,
  kErrorFileTooLarge = 223,
  kErrorIoDevice = 1117,
  kErrorFileCorrupt = 1392,
  kErrorCantResolveFilename = 1921,
};

// The calling thread's last error (0 until something sets it).
TELIO_EXPORT ulong32 GetLastError();
TELIO_EXPORT void SetLastError(ulong32 code);

// Maps a C library errno value to the system error code of the same cause.
// Unknown nonzero values map to kErrorInvalidFunction so a failure never
// reads as success.
TELIO_EXPORT ulong32 ErrnoToSystemError(int err);

// Sets the thread's last error from errno and returns it.
TELIO_EXPORT ulong32 SetLastErrorFromErrno();

// The system's text for a code, as "The system cannot find the file
// specified." Unknown codes give "Unknown error N.".
TELIO_EXPORT const char* SystemErrorMessage(ulong32 code);

}  // namespace telio
