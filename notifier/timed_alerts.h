// The day watch's timed alerts: each of a day's reminders with a time comes again at that time,
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

// What the watch remembers of one day it has greeted.
struct DayRecord {
    // The local moment (local_moment.h) at which the day's list of reminders was read, once its
    // greeting was closed; 0 until then. No alert whose time came by then comes again.
    int64_t listedAt = 0;
    // The local moment up to which the watch has read the file for that day. An alert whose time
    // came by then is not due, unless it is owed: it was in the day's list, it came already, or it
    // was written after its time.
    int64_t lookedUntil = 0;
    // The last look read the file, and `nextAlert` is the first time after it that it found. Not
    // so after a look that could not read it, nor when the clock left the day: the watch looks
    // again.
    bool upToDate = false;
    std::optional<int64_t> nextAlert;
    // The alerts shown that day, and those that the last look found due and left for after the
    // box it showed, by AlertKey.
    std::set<std::string> shown;
    std::set<std::string> owed;
};

// Minutes after midnight of a reminder's time "hh:mm" (00:00 to 23:59); -1 for "##:##", the time
// of a reminder without one, and for anything else a damaged file may hold.
int AlertMinute(std::string_view time);

// An alert is shown once a day. Two reminders with the same time and text give the same box, so
// they are one alert: the file has no other name for a reminder (the editor's rewrite renumbers
// them), and a reminder that is changed is a new alert.
std::string AlertKey(const Reminder& reminder);

// The day's list has been read into `table` at `now`, the moment the file was read: what was due
// by then is in it, and the alerts to come are those after it.
void NoteListShown(const std::vector<Reminder>& table, const Today& today, int64_t now,
                   DayRecord& day);

// Looks at the reminder file's table at the local moment `now` of `today`, whose record is `day`.
// Due now is a live timed reminder of that day that has not been shown, whose time has come
// since the last look or that the last look owed: the earliest, and of those at the same time the
// first in the file. It is returned and counted as shown, and the others due are owed. Either
// way the look has read the file up to `now`, and the day's next alert is kept.
std::optional<size_t> TakeDueAlert(const std::vector<Reminder>& table, const Today& today,
                                   int64_t now, DayRecord& day);

// The look at `now` could not read the file: it counts for nothing, and the next one reads
// everything that fell due since the last look that did.
void NoteFailedRead(DayRecord& day);
