#include "day_boxes.h"

#include "greeting.h"
#include "message_box.h"
#include "today_reminders.h"

#include <windows.h>

Today TodayOf(const SYSTEMTIME& local) {
    return TodayFromDate(static_cast<int16_t>(local.wDay), static_cast<int16_t>(local.wMonth),
                         static_cast<int16_t>(local.wYear));
}

Today ReadToday() {
    SYSTEMTIME now;
    GetLocalTime(&now);
    return TodayOf(now);
}

void ShowDayBoxes(const ReminderFile& file, const Today& today, unsigned boxStyle) {
    ShowMessageBox(DayGreetingText(today), "Recordatorio Santoral - Efemerides", boxStyle);
    ShowTodayReminders(file, today, boxStyle);
}
