#include "today_reminders.h"

#include "alert_text.h"
#include "message_box.h"
#include "path_form.h"

#include <vector>

void ShowTodayReminders(const ReminderFile& file, const Today& today) {
    if (!FileExists(file.Path()))
        return;
    std::vector<Reminder> reminders;
    LoadReminders(file, reminders);
    for (const Reminder& reminder : reminders) {
        if (IsReminderForToday(reminder, today))
            ShowMessageBox(AlertText(today, reminder), "Recordatorio", kBoxOk);
    }
}
