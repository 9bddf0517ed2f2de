#include "timed_alerts.h"

#include "alert_text.h"
#include "local_moment.h"

#include <algorithm>

std::optional<DueAlert> TakeDueAlert(WatchState& watch, const std::vector<Reminder>& table,
                                     const Today& today, int64_t now) {
    std::optional<DueAlert> due;
    std::optional<int64_t> next;
    std::set<ReminderId> owed;
    for (size_t i = 0; i < table.size(); ++i) {
        std::optional<ReminderId> id = IdOf(table[i]);
        if (!id || AlertMinute(table[i].time) < 0 || !IsReminderForToday(table[i], today) ||
            watch.shown.count(*id))
            continue;
        if (id->moment > now) {
            next = std::min(next.value_or(id->moment), id->moment);
        } else if (id->moment > watch.readUntil || watch.owed.count(*id)) {
            owed.insert(*id);
            if (!due || id->moment < due->id.moment)
                due = DueAlert{i, *id};
        }
    }
    if (due) {
        owed.erase(due->id);
        watch.shown.insert(due->id);
    }
    watch.owed = std::move(owed);
    watch.readUntil = std::max(watch.readUntil, now);
    watch.nextAlert = next;
    watch.lastLookRead = true;
    return due;
}

int64_t SeenThroughAlerts(const WatchState& watch) {
    if (watch.owed.empty())
        return watch.readUntil;
    return std::min(watch.readUntil, SecondBefore(watch.owed.begin()->moment));
}

void NoteAlertClosed(WatchState& watch, const ReminderId& id) {
    watch.seenUnsaved |= NoteSeen(watch.seen, SeenThroughAlerts(watch), id);
}

void NoteFolderChange(WatchState& watch, int64_t unchangedAt) {
    if (!watch.lastLookRead || DayOf(unchangedAt) != DayOf(watch.lastLook))
        return;
    int64_t seen =
        watch.nextAlert ? std::min(unchangedAt, SecondBefore(*watch.nextAlert)) : unchangedAt;
    watch.readUntil = std::max(watch.readUntil, seen);
    // Until the next read the file holds what that change wrote, for times the watch does not
    // know: a later change's moment says nothing about them.
    watch.lastLookRead = false;
}

void NoteFailedRead(WatchState& watch) {
    watch.lastLookRead = false;
}
