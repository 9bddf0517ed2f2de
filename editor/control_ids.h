// The editor dialog's controls by id, in creation (and tab) order. Without windows.h, so that
// the tests that drive the dialog from outside use the same ids.
#pragma once

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
