// The day watch's alerts window: one modeless dialog, "Recordatorio", with a line per reminder
// due and not yet closed, above other windows, that never takes the keyboard by itself.
#pragma once

#include "alert_lines.h"
#include "handle.h"

#include <windows.h>

#include <optional>
#include <vector>

// Sent to the watch's window when the user is done with lines: lParam points to an AlertsClosed,
// valid during the call. The lines have already left the window.
constexpr UINT kAlertsClosed = WM_APP + 1;
struct AlertsClosed {
    std::vector<ReminderId> ids;
    std::optional<int> snoozeMinutes; // none: seen ("Aceptar", "Aceptar todos")
};

// The window's state, held by the watch. The dialog exists while it has lines.
struct AlertWindow {
    HWND watchWindow = nullptr; // told of closed lines
    UniqueWindow dialog;
    std::vector<AlertLine> lines; // as the list shows them, oldest first
    int snoozeChoice = 0;         // in kSnoozeChoices, kept while the watch runs
};

// Adds the lines whose reminders it does not hold yet, each in time order, selects the last one
// added, and shows the window without activating it; it flashes in the taskbar and the system's
// notification sound plays once. Nothing is done for no new line.
void AddAlertLines(AlertWindow& window, const std::vector<AlertLine>& lines);

// The window's keyboard (Tab, Enter, Alt with the underlined letters) for a message of the watch's
// loop: true if it was the window's and has been handled.
bool HandleAlertWindowKeys(AlertWindow& window, MSG& message);
