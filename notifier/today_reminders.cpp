#include "today_reminders.h"

#include "alert_text.h"
#include "message_box.h"

void ShowTodayReminders(const std::vector<Reminder>& table, const Today& today, unsigned boxStyle) {
    for (const Reminder& reminder : table) {
        if (IsReminderForToday(reminder, today))
            ShowMessageBox(AlertText(today, reminder), "Recordatorio", boxStyle);
    }
}

void ShowTodayReminders(const ReminderFile& file, const Today& today, unsigned boxStyle) {
    std::vector<Reminder> table;
    // Opening a program makes no file; one held for a moment is waited for (reminder_file.h).
    LoadReminders(file, table, IfMissing::Leave);
    ShowTodayReminders(table, today, boxStyle);
}
