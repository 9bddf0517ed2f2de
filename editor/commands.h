// What the dialog's controls do: one handler per command.
#pragma once

#include "reminder_file.h"

#include <windows.h>
#include <commctrl.h>

// A day was picked on the calendar: empties the list and the text box and remembers the day.
void OnDayPicked(const NMSELCHANGE& selection);

// The time check box changed: the time picker is usable only while it is ticked.
void OnTimeSwitch();

// Shows in the status bar how many characters the text box holds.
void UpdateCharCounter();

// Writes the text as a new reminder of the picked day, after asking.
void OnGrabar(const ReminderFile& file);

// Deletes the reminder of the selected line, without asking.
void OnBorrar(const ReminderFile& file);

// Overwrites the reminder of the selected line with the time, day and text now shown.
void OnModificar(const ReminderFile& file);

// Lists the reminders of the picked day.
void OnListar();

// Shows the text of the reminder whose line was selected.
void OnLineSelected();

// The editor's one report of a failed file job, running out of memory included: the file error
// box with that number, at once. 0 shows nothing.
void ReportFileError(int error);
