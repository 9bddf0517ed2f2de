// The editor's program-wide state: one dialog, the time switch, the picked day and the control
// that had the keyboard focus. All of it lives until the program ends.
#pragma once

#include "control_ids.h"

#include <windows.h>

#include <string>

// The editor dialog, set when it is initialised.
extern HWND gEditorDialog;

// The name of this editor's claim on its folder, which marks the dialog while it exists.
extern std::wstring gClaimName;

// True while the time check box is ticked: reminders then get the picker's time.
extern bool gTimeEnabled;

// Long date text of the day last picked on the calendar ("6 Diciembre 2026"); empty until the
// user picks one.
extern std::string gSelectedDate;

// The control that had the keyboard focus when the dialog was last deactivated.
extern HWND gSavedFocus;

// One of the dialog's controls.
HWND Control(int id);
