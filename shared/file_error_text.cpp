#include "file_error_text.h"

#include <cstdio>

const char* FileErrorDescription(int number) {
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
    default: return "";
    }
}

std::array<char, 48> FileErrorText(int number) {
    // The blank before a non-negative number stands where a minus sign would go.
    std::array<char, 48> text{};
    std::snprintf(text.data(), text.size(), "Err: %s%d %s", number < 0 ? "" : " ", number,
                  FileErrorDescription(number));
    return text;
}
