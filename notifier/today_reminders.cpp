#include "today_reminders.h"

#include "alert_text.h"
#include "message_box.h"
#include "reminder_file.h"

#include <vector>

void ShowTodayReminders(const Today& today) {
    if (!FileExists(ReminderFilePath()))
        return;
    LoadReminders();
    for (const Reminder& reminder : gReminders) {
        if (IsReminderForToday(reminder, today))
            ShowMessageBox(AlertText(today, reminder), "Recordatorio", kBoxOk);
    }
    // The table serves these boxes only: a day watch holds no memory for it until the next day.
    std::vector<Reminder>().swap(gReminders);
}
