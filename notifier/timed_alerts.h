// The day watch's timed alerts: each of today's reminders with a time comes again at that time,
// once. Which one comes now and when the next is due, decided apart from Win32.
#pragma once

#include "today.h"
#include "reminder_record.h"

#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

// What the watch remembers of the day it greeted last.
struct TodaysAlerts {
    // The local moment (local_moment.h) at which the watch last looked at the file and found
    // nothing due; the day's first is its greeting, whose boxes showed what was due by then.
    int64_t lookedUntil = 0;
    // The alerts shown today, by AlertKey.
    std::set<std::string> shown;
};

// Minutes after midnight of a reminder's time "hh:mm" (00:00 to 23:59); -1 for "##:##", the time
// of a reminder without one, and for anything else a damaged file may hold.
int AlertMinute(std::string_view time);

// An alert is shown once a day. Two reminders with the same time and text give the same box, so
// they are one alert: the file has no other name for a reminder (the editor's rewrite renumbers
// them), and a reminder that is changed is a new alert.
std::string AlertKey(const Reminder& reminder);

struct AlertLook {
    std::optional<size_t> due;   // the entry of the table that comes now
    std::optional<int64_t> next; // the local moment at which the next alert is due
};

// Looks at the reminder file's table at the local moment `now` of `today`. Due now is a live
// timed reminder of today that has not been shown, whose time has come since the last look:
// the earliest, and of those at the same time the first in the file. One whose time came before
// the last look is not due: it was in the greeting, or it was written after its time. Nothing is
// due on a day other than the one `alerts` is about (a day greeted before, the clock set back).
AlertLook LookAtAlerts(const std::vector<Reminder>& table, const Today& today, int64_t now,
                       const TodaysAlerts& alerts);
