// The editor's program-wide state: one dialog, the time switch, the picked day and the control
// that had the keyboard focus. All of it lives until the program ends.
#pragma once

#include <windows.h>

#include <string>

// The dialog's controls, in creation (and tab) order.
enum ControlId : int {
    kCalendarId = 1001,
    kTimePickerId = 1002,
    kTextBoxId = 1003,
    kGrabarId = 1004,
    kTimeCheckId = 1005,
    kBorrarId = 1006,
    kModificarId = 1007,
    kListarId = 1008,
    kCloseId = 1009,
    kReminderListId = 1010,
    kStatusBarId = 1011,
};

// The editor dialog, set when it is initialised.
extern HWND gEditorDialog;

// True while the time check box is ticked: reminders then get the picker's time.
extern bool gTimeEnabled;

// Long date text of the day last picked on the calendar ("6 Diciembre 2026"); empty until the
// user picks one.
extern std::string gSelectedDate;

// The control that had the keyboard focus when the dialog was last deactivated.
extern HWND gSavedFocus;

// One of the dialog's controls.
HWND Control(int id);
