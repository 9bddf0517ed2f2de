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
        // A held file, or one pending deletion while the editor replaces it, is denied.
        if (error != kErrPermissionDenied || GetTickCount64() >= giveUpAt)
            return error;
        Sleep(kPause);
    }
}

void ShowTodayReminders(const ReminderFile& file, const Today& today, unsigned boxStyle) {
    std::vector<Reminder> reminders;
    LoadRemindersPatiently(file, reminders);
    for (const Reminder& reminder : reminders) {
        if (IsReminderForToday(reminder, today))
            ShowMessageBox(AlertText(today, reminder), "Recordatorio", boxStyle);
    }
}
