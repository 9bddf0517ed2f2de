#include "timed_alerts.h"

#include "alert_text.h"
#include "local_moment.h"

namespace {

int TwoDigits(std::string_view text) {
    if (text[0] < '0' || text[0] > '9' || text[1] < '0' || text[1] > '9')
        return -1;
    return (text[0] - '0') * 10 + (text[1] - '0');
}

} // namespace

int AlertMinute(std::string_view time) {
    if (time.size() != 5 || time[2] != ':')
        return -1;
    int hour = TwoDigits(time.substr(0, 2)), minute = TwoDigits(time.substr(3, 2));
    if (hour < 0 || hour > 23 || minute < 0 || minute > 59)
        return -1;
    return hour * 60 + minute;
}

std::string AlertKey(const Reminder& reminder) {
    // The time has five characters, so time and text cannot run into each other.
    return reminder.time + reminder.text;
}

AlertLook LookAtAlerts(const std::vector<Reminder>& table, const Today& today, int64_t now,
                       const TodaysAlerts& alerts) {
    AlertLook look;
    int64_t dayStart = LocalMoment(today.year, today.month, today.day, 0, 0, 0);
    if (alerts.lookedUntil / kMomentsPerDay != dayStart / kMomentsPerDay)
        return look;
    int64_t dueAt = 0;
    for (size_t i = 0; i < table.size(); ++i) {
        const Reminder& reminder = table[i];
        int minute = AlertMinute(reminder.time);
        if (minute < 0 || !IsReminderForToday(reminder, today) ||
            alerts.shown.count(AlertKey(reminder)))
            continue;
        int64_t at = dayStart + (minute / 60 * 100 + minute % 60) * 100;
        if (at > now) {
            if (!look.next || at < *look.next)
                look.next = at;
        } else if (at > alerts.lookedUntil && (!look.due || at < dueAt)) {
            look.due = i;
            dueAt = at;
        }
    }
    return look;
}
