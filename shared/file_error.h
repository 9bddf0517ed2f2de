// File errors of the reminder file routines: the system's error code turned into the number
// that the file error box shows, and the box itself.
#pragma once

#include <cstdint>

// The number for a system error code (GetLastError); 75 "Path/file access error" for any code
// without a number of its own.
int FileErrorNumberOf(uint32_t systemError);

// True if a system error of an open that creates a new file says that the name is in use: by a
// file, or by a folder or a file still pending deletion, both of which read as access denied.
bool IsNameTaken(uint32_t createError);

// The number for the calling thread's last system error.
int LastFileErrorNumber();

// "Err:  70 Permission denied", caption "Quenda Soft", one OK button. Waits until it is closed.
// Allocates nothing, so that it can report running out of memory. Only a program's own reporting
// routine shows it; the file routines return their numbers.
void ShowFileErrorBox(int number);
