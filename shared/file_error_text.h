// The numbers and descriptions of file errors, and the text of the file error box.
#pragma once

#include <array>

// Error numbers as the file error box shows them.
enum FileErrorNumber : int {
    kErrIllegalFunctionCall = 5,
    kErrOutOfMemory = 7,
    kErrInternal = 51,
    kErrBadFileNameOrNumber = 52,
    kErrFileNotFound = 53,
    kErrDeviceIo = 57,
    kErrDiskFull = 61,
    kErrInputPastEnd = 62,
    kErrTooManyFiles = 67,
    kErrDeviceUnavailable = 68,
    kErrPermissionDenied = 70,
    kErrDiskNotReady = 71,
    kErrDiskMedia = 72,
    kErrRenameAcrossDisks = 74,
    kErrPathFileAccess = 75,
    kErrPathNotFound = 76,
};

// "Disk full" for 61; the empty text for a number outside the table.
const char* FileErrorDescription(int number);

// "Err: " + the number with one leading blank + " " + its description: "Err:  61 Disk full",
// zero-terminated. Made without allocating, so that running out of memory can be reported too.
std::array<char, 48> FileErrorText(int number);
