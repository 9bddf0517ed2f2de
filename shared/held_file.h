// A file that another program holds for a moment (the notifier reading it, a backup or sync tool,
// the editor of another computer writing it) is asked for again, every 100 ms for up to 2 s,
// before its failure is given back.
#pragma once

#include <windows.h>

#include <functional>

// True for the system errors that say another opener holds the file or a part of it.
bool IsHeldError(DWORD systemError);

// Runs `attempt` until it succeeds, fails otherwise than on a held file, or 2 s have passed.
// `attempt` returns true on success and otherwise leaves its system error as the thread's last
// error, which is still the last error when this returns false.
bool RetryWhileHeld(const std::function<bool()>& attempt);
