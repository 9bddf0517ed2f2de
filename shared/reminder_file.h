// The reminder file _Recordatorios_.log in the exe folder, and the routines that load, append
// to and rewrite it. Every routine opens the file exclusively for one job and closes it again.
#pragma once

#include "reminder_table.h"

#include <cstdint>
#include <string>
#include <string_view>

// Folder of the running executable with its trailing backslash; set at start-up.
extern std::wstring gExeFolder;

// exe folder + "_Recordatorios_.log".
std::wstring ReminderFilePath();

// True if the file system knows the path; a folder counts as existing. Never reports.
bool FileExists(const std::wstring& path);

// Replaces the reminder table with the whole records of the file; creates the file empty if it
// is missing. Never reports: a file that cannot be opened or read gives an empty table.
void LoadReminders();

// Adds one record after the last whole record of the file. On failure shows the file error box
// with the number of the failure's cause; the file keeps what it had.
void AppendReminder(std::string_view time, std::string_view date, std::string_view text,
                    int32_t active);

// Rewrites the file from the live entries of the table, or deletes it when there is none. The
// new file is written beside the old one and then replaces it in one step, so a failure at any
// point leaves the old file whole; the failure is shown once in the file error box. The table
// keeps all its entries, so a later rewrite writes them again.
void SaveReminders();
