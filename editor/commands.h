// What the dialog's controls do: one handler per command, each given the dialog and its state.
#pragma once

#include "editor_state.h"

#include <windows.h>
#include <commctrl.h>

// A day was picked on the calendar: empties the list and the text box and remembers the day.
void OnDayPicked(HWND dialog, EditorState& state, const NMSELCHANGE& selection);

// The time check box changed: the time picker is usable only while it is ticked.
void OnTimeSwitch(HWND dialog);

// Shows in the status bar how many characters the text box holds.
void UpdateCharCounter(HWND dialog);

// Writes the text as a new reminder of the picked day, after asking. When it cannot be written,
// the text stays.
void OnGrabar(HWND dialog, EditorState& state);

// Deletes the reminder of the selected line, without asking. Borrar and Modificar act on the
// reminder as the line showed it, found again in the file as it is now; when it is no longer there,
// or the file cannot be written, they say so and the list stays as it was.
void OnBorrar(HWND dialog, EditorState& state);

// Overwrites the reminder of the selected line with the time, day and text now shown.
void OnModificar(HWND dialog, EditorState& state);

// Lists the reminders of the picked day, as the file holds them now.
void OnListar(HWND dialog, EditorState& state);

// Shows the text of the reminder whose line was selected.
void OnLineSelected(HWND dialog, EditorState& state);

// The editor's one report of a failed file job, running out of memory included: the file error
// box with that number, at once. 0 shows nothing.
void ReportFileError(int error);
