// The reminder list box: one line per listed reminder, "3 09:30 abc", the number naming the
// entry of the reminder table. The state keeps what each line shows (listed_reminders.h).
#pragma once

#include "editor_state.h"

// Empties the list and the text box, then lists each live reminder of the picked day.
void ListRemindersForDate(HWND dialog, EditorState& state);

// Removes every line.
void EmptyReminderList(HWND dialog, EditorState& state);

// The table index that the selected line names; 0 when no line is selected.
long SelectedLineIndex(HWND dialog);
