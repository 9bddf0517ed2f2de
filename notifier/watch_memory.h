// What the day watch keeps between its runs (day_watch_rules.h, WatchDays::remembered): per user,
// computer and folder, in the registry, HKCU\Software\Recordatorio\AvisoDiario\<computer>, one
// REG_QWORD value per folder, the local moment 20261206160000, named as the folder without its
// final backslash. The computer's name is part of the key because a roaming profile takes HKCU
// to other computers, whose folders of the same name are other folders. The uninstaller removes
// the value of its folder.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>

// What was kept for the folder; none if nothing was, or if it is no moment of a real date.
std::optional<int64_t> RecallLastLook(const std::wstring& folderName);

// Keeps the moment, and has it written to disk before it returns, so that a power cut right after
// loses nothing. Returns 0 or the system error.
LONG RememberLastLook(const std::wstring& folderName, int64_t moment);
