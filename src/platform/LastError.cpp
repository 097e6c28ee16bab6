#include "platform/LastError.h"

#include <cerrno>
#include <cstdio>

namespace telio {

namespace {
thread_local ulong32 t_lastError = 0;
}

ulong32 GetLastError() { return t_lastError; }

void SetLastError(ulong32 code) { t_lastError = code; }

ulong32 ErrnoToSystemError(int err) {
  switch (err) {
    case 0: return kErrorSuccess;
    case ENOENT: return kErrorFileNotFound;
    case ENOTDIR: return kErrorPathNotFound;
    case EACCES:
    case EPERM:
    case EISDIR: return kErrorAccessDenied;
    case EMFILE:
    case ENFILE: return kErrorTooManyOpenFiles;
    case EBADF: return kErrorInvalidHandle;
    case ENOMEM: return kErrorNotEnoughMemory;
    case EROFS: return kErrorWriteProtect;
    case EIO: return kErrorIoDevice;
    case EEXIST: return kErrorFileExists;
    case EINVAL: return kErrorInvalidParameter;
    case EPIPE: return kErrorBrokenPipe;
    case ENOSPC: return kErrorDiskFull;
    case ENOTEMPTY: return kErrorDirNotEmpty;
    case EBUSY:
    case ETXTBSY: return kErrorBusy;
    case ENAMETOOLONG: return kErrorFilenameTooLong;
    case EFBIG:
    case EOVERFLOW: return kErrorFileTooLarge;
    case ELOOP: return kErrorCantResolveFilename;
    case ENOSYS:
    case ENOTSUP: return kErrorNotSupported;
    default: return kErrorInvalidFunction;
  }
}

ulong32 SetLastErrorFromErrno() {
  ulong32 code = ErrnoToSystemError(errno);
  SetLastError(code);
  return code;
}

const char* SystemErrorMessage(ulong32 code) {
  switch (code) {
    case kErrorSuccess: return "The operation completed successfully.";
    case kErrorInvalidFunction: return "Incorrect function.";
    case kErrorFileNotFound: return "The system cannot find the file specified.";
    case kErrorPathNotFound: return "The system cannot find the path specified.";
    case kErrorTooManyOpenFiles: return "The system cannot open the file.";
    case kErrorAccessDenied: return "Access is denied.";
    case kErrorInvalidHandle: return "The handle is invalid.";
    case kErrorNotEnoughMemory: return "Not enough memory resources are available to process this command.";
    case kErrorWriteProtect: return "The media is write protected.";
    case kErrorWriteFault: return "The system cannot write to the specified device.";
    case kErrorReadFault: return "The system cannot read from the specified device.";
    case kErrorSharingViolation: return "The process cannot access the file because it is being used by another process.";
    case kErrorHandleEof: return "Reached the end of the file.";
    case kErrorNotSupported: return "The request is not supported.";
    case kErrorFileExists: return "The file exists.";
    case kErrorInvalidParameter: return "The parameter is incorrect.";
    case kErrorBrokenPipe: return "The pipe has been ended.";
    case kErrorDiskFull: return "There is not enough space on the disk.";
    case kErrorInvalidName: return "The filename, directory name, or volume label syntax is incorrect.";
    case kErrorDirNotEmpty: return "The directory is not empty.";
    case kErrorBadArguments: return "One or more arguments are not correct.";
    case kErrorBusy: return "The requested resource is in use.";
    case kErrorAlreadyExists: return "Cannot create a file when that file already exists.";
    case kErrorFilenameTooLong: return "The filename or extension is too long.";
    case kErrorFileTooLarge: return "The file size exceeds the limit allowed and cannot be saved.";
    case kErrorIoDevice: return "The request could not be performed because of an I/O device error.";
    case kErrorFileCorrupt: return "The file or directory is corrupted and unreadable.";
    case kErrorCantResolveFilename: return "The name of the file cannot be resolved by the system.";
    default: break;
  }
  static thread_local char buf[40];
  std::snprintf(buf, sizeof buf, "Unknown error %u.", static_cast<unsigned>(code));
  return buf;
}

}  // namespace telio
