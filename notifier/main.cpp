// The notifier: greets the user with today's date and saint, shows today's reminders, ends.
#include "exe_folder.h"
#include "greeting.h"
#include "message_box.h"
#include "reminder_file.h"
#include "santoral.h"
#include "today_reminders.h"

#include <windows.h>

namespace {

Today ReadToday() {
    SYSTEMTIME now;
    GetLocalTime(&now);
    return TodayFromDate(static_cast<int16_t>(now.wDay), static_cast<int16_t>(now.wMonth),
                         static_cast<int16_t>(now.wYear));
}

void ShowDayGreeting(const Today& today) {
    ShowMessageBox(DayGreetingText(today), "Recordatorio Santoral - Efemerides", kBoxOk);
}

} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    ReminderFile file(ExeFolder()); // the reminder file beside the program
    FillSantoral();
    Today today = ReadToday();
    ShowDayGreeting(today);
    ShowTodayReminders(file, today);
    return 0;
}
