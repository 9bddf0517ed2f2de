// The day watch's decisions, apart from Win32: the switches that start it, which days it has
// still to greet and how long its timer waits.
#pragma once

#include "local_moment.h"
#include "timed_alerts.h"

#include <cstdint>
#include <map>
#include <optional>
#include <string_view>

// The switch that starts the notifier as a day watch: "/diario", or "-diario", in any case.
constexpr wchar_t kDayWatchSwitch[] = L"/diario";
// Given after it by the installer, which starts again the watch that it ended to replace the
// programs: the user has seen today's greeting already, so the watch keeps only today's timed
// reminders that are still to come.
constexpr wchar_t kRestartSwitch[] = L"/reanudar";

enum class StartKind {
    Plain,          // one greeting and today's reminders, then the end
    DayWatch,       // "/diario": greets today and every new day
    RestartedWatch, // "/diario /reanudar": the same, but today counts as greeted
};

// What the command line (the part after the program's name) asks for: the switches alone, in
// that order, separated and surrounded by blanks. Anything else is a plain start.
StartKind StartKindOf(std::wstring_view arguments);

// What the watch remembers of the days it has greeted.
struct WatchDays {
    std::map<int32_t, DayRecord> days; // by day: 20261206, a moment divided by kMomentsPerDay
    int32_t lastDay = 0;               // the day of the last look
};

// The record of the day of the local moment `now`, for a look at it; `isNew` is set when the day
// has never been seen, and is to be greeted. A watch greets each day once, whether the clock
// reaches it at midnight or by being set back and forward again. Where the clock has been set
// back, into a day left before or within the day, the alerts still to come from `now` on come,
// and those shown before do not come again.
DayRecord& VisitDay(WatchDays& watch, int64_t now, bool& isNew);

// The day of a local moment, as the watch greets it.
Today TodayAt(int64_t moment);

// Something in the folder changed at `now`, to be read a moment later. What the file held at the
// last look has been seen up to then, or up to just before its next alert, whichever comes first:
// an alert written for a time already past when it was written does not come.
void NoteFolderChange(WatchDays& watch, int64_t now);

// Whether the user has seen all of the boxes of the day of `now`: its greeting, its list, and
// every alert due by then. A watch ended before that is not started again as one that has.
bool DaySeen(const WatchDays& watch, int64_t now);

// One reading of the clock: an instant (milliseconds on the scale of a LocalMomentAtFunction) and
// the local moment that the clock showed then.
struct ClockReading {
    int64_t instant = 0;
    int64_t moment = 0;
};

// While the file cannot be read, the watch looks again this often; while the folder gives it no
// notice of changes, it looks at the file this often.
constexpr int64_t kRetryAfterFailedRead = 30 * 1000;
constexpr int64_t kLookWithoutNotices = 60 * 1000;

// The timer's wait, given the milliseconds from now to the moment it waits for: a second more,
// so that the timer fires once the moment has come; within 1 s and 25 hours however the clock
// reads (a day has 23 to 25 hours where the clocks change).
uint32_t TimerDelay(int64_t millisecondsToDue);

// The timer's wait after a look at the reading `now`, whose day's record is `day`: to the first
// instant that shows the day's next alert or the next day; sooner while the file could not be
// read or the folder gives no notices.
uint32_t NextLookDelay(const ClockReading& now, const DayRecord& day, bool folderWatched,
                       LocalMomentAtFunction localMomentAt);
