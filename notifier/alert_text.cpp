#include "alert_text.h"

#include "message_box.h"

std::string AlertText(const Today& today, const Reminder& reminder) {
    return "Tienes un recordatorio para Hoy " + today.shortDate + " " + today.weekday + " a las " +
           reminder.time + " : " + kCrLf + kCrLf + "Recuerda :" + kCrLf + kCrLf + reminder.text;
}

bool IsReminderForToday(const Reminder& reminder, const Today& today) {
    return reminder.active != 0 && reminder.date == today.longDate;
}
