#include "today_reminders.h"

#include "alert_text.h"
#include "message_box.h"

#include <vector>

void ShowTodayReminders(const ReminderFile& file, const Today& today) {
    // The file may come and go while a watch runs (the editor deletes it with its last
    // reminder): it is opened only if it is there at that moment, never created.
    std::vector<Reminder> reminders;
    LoadReminders(file, reminders, IfMissing::Leave);
    for (const Reminder& reminder : reminders) {
        if (IsReminderForToday(reminder, today))
            ShowMessageBox(AlertText(today, reminder), "Recordatorio", kBoxOk);
    }
}
