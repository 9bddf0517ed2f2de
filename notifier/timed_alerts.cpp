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
            watch.shown.count(*id) || IsSnoozed(watch.seen, *id))
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
        watch.waiting.insert(due->id);
    }
    watch.owed = std::move(owed);
    watch.readUntil = std::max(watch.readUntil, now);
    watch.nextAlert = next;
    watch.lastLookRead = true;
    return due;
}

std::optional<DueAlert> TakeDueSnooze(WatchState& watch, const std::vector<Reminder>& table,
                                      int64_t now) {
    std::vector<Snooze>& snoozed = watch.seen.snoozed;
    for (auto snooze = snoozed.begin(); snooze != snoozed.end();) {
        if (snooze->until > now || watch.waiting.count(snooze->id)) {
            ++snooze;
            continue;
        }
        for (size_t i = 0; i < table.size(); ++i)
            if (table[i].active != 0 && IdOf(table[i]) == snooze->id) {
                watch.waiting.insert(snooze->id);
                return DueAlert{i, snooze->id};
            }
        snooze = snoozed.erase(snooze);
        watch.seenUnsaved = true;
    }
    return std::nullopt;
}

int64_t SeenThroughAlerts(const WatchState& watch) {
    int64_t through = std::min(watch.readUntil, SeenThroughSnoozes(watch.seen));
    if (watch.listSeenThrough)
        through = std::min(through, *watch.listSeenThrough);
    for (const std::set<ReminderId>* open : {&watch.owed, &watch.waiting})
        if (!open->empty())
            through = std::min(through, SecondBefore(open->begin()->moment));
    return through;
}

void NoteAlertClosed(WatchState& watch, const ReminderId& id) {
    watch.waiting.erase(id);
    watch.seenUnsaved |= NoteSeen(watch.seen, SeenThroughAlerts(watch), id);
}

void NoteAlertSnoozed(WatchState& watch, const ReminderId& id, int64_t until) {
    watch.waiting.erase(id);
    NoteSnoozed(watch.seen, id, until);
    watch.seenUnsaved = true;
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
