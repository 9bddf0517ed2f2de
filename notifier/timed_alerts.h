// The day watch's timed alerts: each of a day's reminders with a time comes again at that time,
// once. Which one comes now, and what the user has seen once its box is closed.
#pragma once

#include "day_watch_rules.h"
#include "reminder_id.h"
#include "reminder_record.h"
#include "today.h"

#include <cstdint>
#include <optional>
#include <vector>

struct DueAlert {
    size_t index; // in the table
    ReminderId id;
};

// Looks at the reminder file's table at the local moment `now` of `today`. Due now is a live
// timed reminder of that day that has not been shown, whose time has come since the file was
// last read or that the last look owed, and not put off: the earliest, and of those at the same
// time the first in the file. It is returned, counted as shown and goes into the alerts window,
// and the others due are owed. Either way the file has been read up to `now`, and the day's next
// alert is kept.
std::optional<DueAlert> TakeDueAlert(WatchState& watch, const std::vector<Reminder>& table,
                                     const Today& today, int64_t now);

// A reminder put off until `now` or before, and not in the alerts window: it goes there, once.
// A snooze whose reminder the file no longer holds, deleted or changed, is forgotten.
std::optional<DueAlert> TakeDueSnooze(WatchState& watch, const std::vector<Reminder>& table,
                                      int64_t now);

// Up to this moment every reminder has been seen, or was written after its time, as far as the
// alerts go: the file has been read up to then, and nothing before the first owed, the first in
// the alerts window, a day's list still open or a snooze not kept is left.
int64_t SeenThroughAlerts(const WatchState& watch);

// The user closed the alert `id` in the alerts window: it is seen, and all before the first one
// still to be closed.
void NoteAlertClosed(WatchState& watch, const ReminderId& id);

// The user put the alert `id` off until the moment `until`.
void NoteAlertSnoozed(WatchState& watch, const ReminderId& id, int64_t until);

// The folder changed after `unchangedAt`, the last moment the watch knew it unchanged: a
// reminder for that moment or before that the file holds at the next read was written after its
// time, and does not come, unless it is the next alert that the last look found. Only the first
// change after a read counts.
void NoteFolderChange(WatchState& watch, int64_t unchangedAt);

// The look could not read the file: it counts for nothing, and the next one reads everything that
// fell due since the last look that did.
void NoteFailedRead(WatchState& watch);
