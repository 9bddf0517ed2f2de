#include "reminder_id.h"

#include "date_text.h"
#include "local_moment.h"

#include <algorithm>

namespace {

int TwoDigits(std::string_view text) {
    if (text[0] < '0' || text[0] > '9' || text[1] < '0' || text[1] > '9')
        return -1;
    return (text[0] - '0') * 10 + (text[1] - '0');
}

// FNV-1a: the fields cannot run into each other, since each is followed by a zero byte that none
// of them holds.
uint64_t HashOf(const Reminder& reminder) {
    uint64_t hash = 14695981039346656037u;
    for (std::string_view field : {reminder.date, reminder.time, reminder.text}) {
        for (char c : field)
            hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211u;
        hash *= 1099511628211u;
    }
    return hash;
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

std::optional<ReminderId> IdOf(const Reminder& reminder) {
    int day = 0, month = 0, year = 0;
    if (!ReadLongDate(reminder.date, day, month, year))
        return std::nullopt;
    int minute = std::max(AlertMinute(reminder.time), 0);
    return ReminderId{LocalMoment(year, month, day, minute / 60, minute % 60, 0), HashOf(reminder)};
}
