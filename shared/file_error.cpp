#include "file_error.h"

#include "file_error_text.h"
#include "handle.h"

int FileErrorNumberOf(uint32_t systemError) {
    switch (systemError) {
    case ERROR_INVALID_PARAMETER: return kErrIllegalFunctionCall;
    case ERROR_NOT_ENOUGH_MEMORY:
    case ERROR_OUTOFMEMORY: return kErrOutOfMemory;
    case ERROR_BAD_FORMAT:
    case ERROR_INVALID_DATA:
    case ERROR_INVALID_ACCESS:
    case ERROR_BAD_COMMAND:
    case ERROR_BAD_LENGTH: return kErrInternal;
    case ERROR_FILE_NOT_FOUND:
    case ERROR_NO_MORE_FILES: return kErrFileNotFound;
    case ERROR_INVALID_HANDLE: return kErrDeviceIo;
    case ERROR_HANDLE_DISK_FULL:
    case ERROR_DISK_FULL: return kErrDiskFull;
    case ERROR_HANDLE_EOF: return kErrInputPastEnd;
    case ERROR_TOO_MANY_OPEN_FILES: return kErrTooManyFiles;
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_UNIT: return kErrDeviceUnavailable;
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION: return kErrPermissionDenied;
    case ERROR_NOT_READY: return kErrDiskNotReady;
    case ERROR_CRC:
    case ERROR_SEEK:
    case ERROR_SECTOR_NOT_FOUND:
    case ERROR_WRITE_FAULT:
    case ERROR_READ_FAULT:
    case ERROR_GEN_FAILURE:
    case ERROR_WRONG_DISK: return kErrDiskMedia;
    case ERROR_NOT_SAME_DEVICE: return kErrRenameAcrossDisks;
    case ERROR_PATH_NOT_FOUND: return kErrPathNotFound;
    default: return kErrPathFileAccess;
    }
}

// A file pending deletion is still listed in its folder.
bool IsNameTaken(uint32_t createError, const std::wstring& path) {
    WIN32_FIND_DATAW found;
    return createError == ERROR_FILE_EXISTS || createError == ERROR_ALREADY_EXISTS ||
           (createError == ERROR_ACCESS_DENIED && UniqueFind(FindFirstFileW(path.c_str(), &found)));
}

int LastFileErrorNumber() {
    return FileErrorNumberOf(GetLastError());
}
