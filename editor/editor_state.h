// The editor dialog's own state: the dialog, the reminder table, the time switch, the picked day
// and the control that had the keyboard focus. All of it lives until the program ends.
#pragma once

#include "control_ids.h"
#include "folder_claim.h"
#include "reminder_record.h"

#include <windows.h>

#include <string>
#include <vector>

// The editor dialog, set when it is initialised.
extern HWND gEditorDialog;

// The editor's copy of the reminder file (reminder_table.h): entry i, counted from 1, is record
// i of the file after a load; the commands change entries in place between loads.
extern std::vector<Reminder> gReminders;

// This editor's claim on its folder, whose name marks the dialog while it exists.
extern const FolderClaim* gFolderClaim;

// True while the time check box is ticked: reminders then get the picker's time.
extern bool gTimeEnabled;

// Long date text of the day last picked on the calendar ("6 Diciembre 2026"); empty until the
// user picks one.
extern std::string gSelectedDate;

// The control that had the keyboard focus when the dialog was last deactivated.
extern HWND gSavedFocus;

// One of the dialog's controls.
HWND Control(int id);
