// Where the day watch keeps what the user has seen (seen_record.h) between its runs: per user,
// computer and folder, in the registry, HKCU\Software\Recordatorio\AvisoDiario\<computer>, one
// REG_BINARY value per folder, named as the folder without its final backslash. The computer's
// name is part of the key because a roaming profile takes HKCU to other computers, whose folders
// of the same name are other folders. The uninstaller removes the value of its folder.
#pragma once

#include "seen_record.h"

#include <windows.h>

#include <optional>
#include <string>

// What was kept for the folder; none if nothing was, or if it is damaged. The REG_QWORD that the
// previous release kept, the seen moment alone, reads as a record without boxes closed ahead.
std::optional<SeenRecord> RecallSeen(const std::wstring& folderName);

// Keeps the record, and has it written to disk before it returns, so that a power cut right
// after loses nothing. Returns 0 or the system error.
LONG KeepSeen(const std::wstring& folderName, const SeenRecord& seen);
