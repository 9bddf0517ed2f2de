#include "today_reminders.h"

#include "alert_text.h"
#include "file_error_text.h"
#include "message_box.h"

#include <windows.h>

int LoadRemindersPatiently(const ReminderFile& file, std::vector<Reminder>& table) {
    constexpr ULONGLONG kPatience = 2000, kPause = 100;
    ULONGLONG giveUpAt = GetTickCount64() + kPatience;
    for (;;) {
        // The file may come and go while a watch runs (the editor deletes it with its last
        // reminder): it is opened only if it is there at that moment, never created.
        int error = LoadReminders(file, table, IfMissing::Leave);
        // A file that is held is denied with the system's error of the open, or of a read of a
        // locked part, left as the thread's last error. Any other denial (a folder of that name,
        // a file the user may not read) stays as it is.
        DWORD systemError = GetLastError();
        bool held = error == kErrPermissionDenied &&
                    (systemError == ERROR_SHARING_VIOLATION || systemError == ERROR_LOCK_VIOLATION);
        if (!held || GetTickCount64() >= giveUpAt)
            return error;
        Sleep(kPause);
    }
}

void ShowTodayReminders(const std::vector<Reminder>& table, const Today& today, unsigned boxStyle) {
    for (const Reminder& reminder : table) {
        if (IsReminderForToday(reminder, today))
            ShowMessageBox(AlertText(today, reminder), "Recordatorio", boxStyle);
    }
}

void ShowTodayReminders(const ReminderFile& file, const Today& today, unsigned boxStyle) {
    std::vector<Reminder> table;
    LoadRemindersPatiently(file, table);
    ShowTodayReminders(table, today, boxStyle);
}
