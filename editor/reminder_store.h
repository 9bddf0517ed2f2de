// The editor's table kept in step with the reminder file, which the notifier reads and the editor
// of another computer may change through a network share. The editor reads the file again
// whenever it changed since the editor last read or wrote it, and writes it under the folder's
// write lock (write_lock.h), so that no other editor writes between its read and its write.
#pragma once

#include "editor_state.h"

#include <string_view>

// Returned by RewriteListedReminder, beside 0 and the file error numbers: the reminder that the
// line showed is no longer in the file.
constexpr int kListedReminderGone = -1;

// Reads the file into the table again if it changed (its size, last write time or identity)
// since the table was read or written. Returns 0, also for a file that is gone (an empty table),
// or the load's file error number.
int ReloadIfChanged(EditorState& state);

// Reads the file into the table, making an empty file if it is missing.
void ReloadCreatingTheFile(EditorState& state);

// Adds a reminder to the file, then reads the table again. When it cannot be added, the file and
// the table stay as they were.
int AppendAndReload(EditorState& state, std::string_view time, std::string_view date,
                    std::string_view text);

// Replaces the reminder that a line showed by `replacement`, or deletes it when there is none,
// in the file as it is now: the reminder is looked for in the table read again if the file
// changed, never taken by its line's number alone. When the file cannot be written, the table
// stays as the file is.
int RewriteListedReminder(EditorState& state, const ListedReminder& line,
                          const Reminder* replacement);
