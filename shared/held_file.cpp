#include "held_file.h"

bool IsHeldError(DWORD systemError) {
    return systemError == ERROR_SHARING_VIOLATION || systemError == ERROR_LOCK_VIOLATION;
}

bool RetryWhileHeld(const std::function<bool()>& attempt) {
    constexpr ULONGLONG kPatience = 2000, kPause = 100;
    ULONGLONG giveUpAt = GetTickCount64() + kPatience;
    for (;;) {
        if (attempt())
            return true;
        DWORD error = GetLastError();
        if (!IsHeldError(error) || GetTickCount64() >= giveUpAt) {
            SetLastError(error);
            return false;
        }
        Sleep(kPause);
    }
}
