#include "day_boxes.h"

#include "greeting.h"
#include "message_box.h"
#include "today_reminders.h"

#include <windows.h>

Today ReadToday() {
    SYSTEMTIME now;
    GetLocalTime(&now);
    return TodayFromDate(static_cast<int16_t>(now.wDay), static_cast<int16_t>(now.wMonth),
                         static_cast<int16_t>(now.wYear));
}

void ShowDayGreeting(const Today& today, unsigned boxStyle) {
    ShowMessageBox(DayGreetingText(today), "Recordatorio Santoral - Efemerides", boxStyle);
}

void ShowDayBoxes(const ReminderFile& file, const Today& today, unsigned boxStyle) {
    ShowDayGreeting(today, boxStyle);
    ShowTodayReminders(file, today, boxStyle);
}
