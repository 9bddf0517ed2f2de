// File errors of the reminder file routines: the system's error code turned into the number
// that the file error box (message_box.h) shows.
#pragma once

#include <cstdint>
#include <string>

// The number for a system error code (GetLastError); 75 "Path/file access error" for any code
// without a number of its own.
int FileErrorNumberOf(uint32_t systemError);

// True if a system error of an open that makes the new file `path` says that the name is in
// use: by a file or a folder, or by a file still pending deletion, which reads as access denied.
// Access denied for a name that nothing in the folder has is a folder where no file can be made.
bool IsNameTaken(uint32_t createError, const std::wstring& path);

// The number for the calling thread's last system error.
int LastFileErrorNumber();
