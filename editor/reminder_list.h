// The reminder list box: one line per listed reminder, "3 09:30 abc", the number naming the
// entry of the reminder table.
#pragma once

#include "editor_state.h"

// Empties the list and the text box, then lists each live reminder of the picked day.
void ListRemindersForDate(HWND dialog, const EditorState& state);

// Removes every line.
void EmptyReminderList(HWND dialog);

// The table index that the selected line names; 0 when no line is selected.
long SelectedLineIndex(HWND dialog);
