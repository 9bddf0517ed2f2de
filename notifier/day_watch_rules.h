// The day watch's decisions, apart from Win32: the switches that start it, what each look at the
// clock shows, what the user has seen of it and how long its timer waits. Its timed alerts are
// in timed_alerts.h.
#pragma once

#include "local_moment.h"
#include "reminder_id.h"
#include "seen_record.h"
#include "today.h"

#include <cstdint>
#include <map>
#include <optional>
#include <set>
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
    RestartedWatch, // "/diario /reanudar": the same, going on from what the last watch showed
};

// What the command line (the part after the program's name) asks for: the switches alone, in
// that order, separated and surrounded by blanks. Anything else is a plain start.
StartKind StartKindOf(std::wstring_view arguments);

// What the watch knows, held by its window (day_watch.cpp).
struct WatchState {
    // What the user has seen, kept between runs; `seenUnsaved` while it has changes not kept yet.
    SeenRecord seen;
    bool seenUnsaved = false;
    // The days greeted in this run, the latest kDaysKept (a year of uptime costs nothing), by
    // day (20261206, a moment divided by kMomentsPerDay): true once the day's list was read.
    std::map<int32_t, bool> days;
    // The reminders of those days that came in this run, as alerts or in a day's list read at or
    // after their moment: none comes again as an alert.
    std::set<ReminderId> shown;
    // Due at the last look and left for after the box it showed: they come next.
    std::set<ReminderId> owed;
    // The reminders in the alerts window, not closed yet: the seen moment stays before them.
    std::set<ReminderId> waiting;
    // While a day's list shows, every reminder up to this moment has been seen as far as the list
    // goes: it stays before its boxes still open. None once the next look comes.
    std::optional<int64_t> listSeenThrough;
    // The moment of the last look, by which a clock set back is told.
    int64_t lastLook = 0;
    // The moment up to which the file has been read for alerts: a reminder whose moment is at or
    // before it comes as an alert only if it is owed. One that the file holds only later was
    // written after its time, and the user has just seen it in the editor.
    int64_t readUntil = 0;
    // Whether the last look read the file as it still is (no change noticed since), and if so the
    // moment of the first alert after it.
    bool lastLookRead = false;
    std::optional<int64_t> nextAlert;
};
constexpr size_t kDaysKept = 8;

// The day of a local moment: 20261206.
int32_t DayOf(int64_t moment);

// The day of a local moment, as the watch greets it.
Today TodayAt(int64_t moment);

// The watch's start at `now`, with what was kept from its runs before; at its first run it
// counts from the start of today. A watch that the installer `restarted` goes on from the seen
// moment when that is of today: the day is not greeted again, and the alerts due since then that
// were not closed come. Otherwise today is greeted, as at a logon.
void StartWatch(WatchState& watch, std::optional<SeenRecord> kept, int64_t now, bool restarted);

enum class DueAtLook {
    Greeting, // a day not greeted in this run: its greeting, and its list once that is closed
    DayList,  // a day greeted whose list could not be read yet
    Alerts,   // the day's timed alerts (timed_alerts.h)
};

// A look at the local moment `now`. Where the clock has gone back, the days after the new date
// are forgotten, to be greeted when they come, with their alerts; within the day, the alerts
// still to come from `now` on come, but not those shown. What the user has seen stays seen.
DueAtLook VisitClock(WatchState& watch, int64_t now);

// One box of a day's list, or a reminder of a day that the user missed.
struct ListBox {
    size_t index; // in the table
    Today day;    // the reminder's own
    // Set where closing the box sees the reminder: a missed one, or one of today's not seen
    // before whose moment had come by the list's read (the others come at their time).
    std::optional<ReminderId> seenWhenClosed;
};
struct DayList {
    int64_t readAt = 0;
    std::vector<ListBox> missed; // for the alerts window, which now holds them
    std::vector<ListBox> boxes;  // today's, in file order
};

// The live reminders of the days before `today` that the user has not seen (the computer was
// off, asleep or without the watch at their time) nor put off, which come by their snooze: the
// oldest day first, and within a day those without a time first, then by time, then in file
// order.
std::vector<ListBox> MissedReminders(const std::vector<Reminder>& table, const SeenRecord& seen,
                                     const Today& today);

// Today's list, read into `table` at `readAt` once the greeting was closed: the missed
// reminders, which go into the alerts window, and today's in file order. What fell
// due by then is in it and does not come again as an alert; the alerts to come are those after
// it.
DayList ReadDayList(WatchState& watch, const std::vector<Reminder>& table, const Today& today,
                    int64_t readAt);

// The user closed the list's box number `box`: that reminder and all before the first one still
// to be closed are seen.
void NoteListBoxClosed(WatchState& watch, const DayList& list, size_t box);

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

// The timer's wait after the look at `now`: to the first instant that shows the day's next
// alert, the end of a snooze, or the next day; sooner while the file could not be read or the
// folder gives no notices.
uint32_t NextLookDelay(const ClockReading& now, const WatchState& watch, bool folderWatched,
                       LocalMomentAtFunction localMomentAt);
