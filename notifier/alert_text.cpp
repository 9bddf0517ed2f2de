#include "alert_text.h"

#include "message_box.h"

namespace {

std::string ReminderText(const std::string& opening, const Today& day, const Reminder& reminder) {
    return opening + day.shortDate + " " + day.weekday + " a las " + reminder.time + " : " + kCrLf +
           kCrLf + "Recuerda :" + kCrLf + kCrLf + reminder.text;
}

} // namespace

std::string AlertText(const Today& today, const Reminder& reminder) {
    return ReminderText("Tienes un recordatorio para Hoy ", today, reminder);
}

std::string MissedAlertText(const Today& day, const Reminder& reminder) {
    return ReminderText("Ten\xED"
                        "as un recordatorio para el ",
                        day, reminder);
}

bool IsReminderForToday(const Reminder& reminder, const Today& today) {
    return reminder.active != 0 && reminder.date == today.longDate;
}
