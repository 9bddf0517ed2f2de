#include "timed_alerts.h"

#include "alert_text.h"
#include "local_moment.h"

#include <algorithm>

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

void NoteListShown(const std::vector<Reminder>& table, const Today& today, int64_t now,
                   DayRecord& day) {
    day.listedAt = now;
    day.lookedUntil = now;
    day.owed.clear();
    TakeDueAlert(table, today, now, day); // nothing is due: it finds the next alert
}

std::optional<size_t> TakeDueAlert(const std::vector<Reminder>& table, const Today& today,
                                   int64_t now, DayRecord& day) {
    int64_t dayStart = LocalMoment(today.year, today.month, today.day, 0, 0, 0);
    std::optional<size_t> due;
    std::optional<int64_t> next;
    std::set<std::string> owed;
    int64_t dueAt = 0;
    for (size_t i = 0; i < table.size(); ++i) {
        const Reminder& reminder = table[i];
        int minute = AlertMinute(reminder.time);
        if (minute < 0 || !IsReminderForToday(reminder, today))
            continue;
        std::string key = AlertKey(reminder);
        if (day.shown.count(key))
            continue;
        int64_t at = dayStart + (minute / 60 * 100 + minute % 60) * 100;
        if (at > now) {
            if (!next || at < *next)
                next = at;
        } else if (at > day.lookedUntil || day.owed.count(key)) {
            owed.insert(key);
            if (!due || at < dueAt) {
                due = i;
                dueAt = at;
            }
        }
    }
    if (due) {
        std::string key = AlertKey(table[*due]);
        owed.erase(key);
        day.shown.insert(std::move(key));
    }
    day.owed = std::move(owed);
    day.lookedUntil = std::max(day.lookedUntil, now);
    day.nextAlert = next;
    day.upToDate = true;
    return due;
}

void NoteFailedRead(DayRecord& day) {
    day.upToDate = false;
}
