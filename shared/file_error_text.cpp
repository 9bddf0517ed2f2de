#include "file_error_text.h"

std::string FileErrorDescription(int number) {
    switch (number) {
    case kErrIllegalFunctionCall: return "Illegal function call";
    case kErrOutOfMemory: return "Out of memory";
    case kErrInternal: return "Internal error";
    case kErrBadFileNameOrNumber: return "Bad file name or number";
    case kErrFileNotFound: return "File not found";
    case kErrDeviceIo: return "Device I/O error";
    case kErrDiskFull: return "Disk full";
    case kErrInputPastEnd: return "Input past end";
    case kErrTooManyFiles: return "Too many files";
    case kErrDeviceUnavailable: return "Device unavailable";
    case kErrPermissionDenied: return "Permission denied";
    case kErrDiskNotReady: return "Disk not ready";
    case kErrDiskMedia: return "Disk media error";
    case kErrRenameAcrossDisks: return "Rename across disks";
    case kErrPathFileAccess: return "Path/file access error";
    case kErrPathNotFound: return "Path not found";
    default: return {};
    }
}

std::string FileErrorText(int number) {
    // The blank before a non-negative number stands where a minus sign would go.
    std::string sign = number < 0 ? "" : " ";
    return "Err: " + sign + std::to_string(number) + " " + FileErrorDescription(number);
}
