// The day watch's decisions, apart from Win32: the switches that start it, which days it has
// still to greet, which reminders the user missed and how long its timer waits.
#pragma once

#include "local_moment.h"
#include "timed_alerts.h"

#include <cstdint>
#include <map>
#include <optional>
#include <string_view>
#include <vector>

// The switch that starts the notifier as a day watch: "/diario", or "-diario", in any case.
constexpr wchar_t kDayWatchSwitch[] = L"/diario";
// Given after it by the installer, which starts again the watch that it ended to replace the
// programs: the watch goes on from where that one stopped.
constexpr wchar_t kRestartSwitch[] = L"/reanudar";

enum class StartKind {
    Plain,          // one greeting and today's reminders, then the end
    DayWatch,       // "/diario": greets today and every new day
    RestartedWatch, // "/diario /reanudar": the same, going on from the last watch's last look
};

// What the command line (the part after the program's name) asks for: the switches alone, in
// that order, separated and surrounded by blanks. Anything else is a plain start.
StartKind StartKindOf(std::wstring_view arguments);

// What the watch remembers of the days it has greeted: the latest few (kDaysKept), so that a year
// of uptime costs it nothing, and none after the day of its last look.
struct WatchDays {
    std::map<int32_t, DayRecord> days; // by day: 20261206, a moment divided by kMomentsPerDay
    int64_t lastLook = 0;              // the moment of the last look
    // The moment up to which the user has seen the boxes of the last day whose list was seen:
    // that list's read and, on that day, every alert due by then. It is kept across the watch's
    // runs (watch_memory.h); none before the first.
    std::optional<int64_t> remembered;
};
constexpr size_t kDaysKept = 8;

// The watch's start at `now`, with what was kept from its last run. A watch that the installer
// restarted goes on from the remembered moment when that is of today: the day is not greeted
// again, and the alerts due since then come. Otherwise today is greeted, as at a logon.
void StartDays(WatchDays& watch, std::optional<int64_t> remembered, int64_t now, bool restarted);

// The record of the day of the local moment `now`, for a look at it; `isNew` is set when the day
// has not been seen, and is to be greeted. Where the clock has gone back, the days after the new
// date are forgotten, to be greeted when they come, and in a day left before or within the day
// the alerts still to come from `now` on come, but not those shown before nor those of its list.
// Where the clock has gone forward within a day, the alerts since the last look come.
DayRecord& VisitDay(WatchDays& watch, int64_t now, bool& isNew);

// The day of a local moment, as the watch greets it.
Today TodayAt(int64_t moment);

// Something in the folder changed at `now`, to be read a moment later; a box may be open. What
// the file held at the last look has been seen up to then, or up to just before its next alert,
// whichever comes first: an alert written for a time already past when it was written does not
// come.
void NoteFolderChange(WatchDays& watch, int64_t now);

// A reminder of a day that the user did not see: the day after the remembered one and before
// today, with the computer off or asleep.
struct MissedReminder {
    size_t index; // in the table
    Today day;
};

// The live reminders of the days after the remembered moment's day and before `today`: the oldest
// day first, and within a day in file order. None when nothing is remembered, or when the
// remembered day is today or later (the clock had been set ahead).
std::vector<MissedReminder> MissedReminders(const std::vector<Reminder>& table,
                                            std::optional<int64_t> remembered, const Today& today);

// What the watch is to keep once the boxes of its last look are closed: the moment up to which
// the user has seen that day's boxes, once its list was seen and the last look read the file and
// left nothing due. None otherwise.
std::optional<int64_t> MomentToRemember(const WatchDays& watch);

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
