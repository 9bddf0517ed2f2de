// The day watch: a notifier that stays for the whole session, with no window the user sees,
// greets each new local day as a plain start greets the day it starts on, and brings each timed
// reminder of the day again at its time.
#pragma once

#include "folder_claim.h"
#include "reminder_file.h"

#include <windows.h>

// The class of the watch's hidden window, whose title is the watch's folder without the final
// backslash. The installer finds the watch of the folder it installs to by both, and asks it to
// end with WM_CLOSE.
constexpr wchar_t kDayWatchClass[] = L"Recordatorio.AvisoDiario";

// Greets today, then every new day at its start (midnight, a resume from sleep, a change of the
// clock or time zone), each day once, with the reminders of the days the user missed since the
// last day whose list was seen; and brings each of the day's timed reminders again at its time,
// and each one put off at the end of its snooze. Those come in the alerts window, above other
// windows, until the session ends or the window is closed. A watch that the installer
// `restarted` goes on from where the one it replaced stopped. A watch that cannot take the
// folder's `claim` (another watch of the folder has it) ends at once, showing nothing. Returns
// the exit code, 0.
int RunDayWatch(HINSTANCE instance, const ReminderFile& file, FolderClaim& claim, bool restarted);
