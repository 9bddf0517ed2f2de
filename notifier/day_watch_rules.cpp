#include "day_watch_rules.h"

#include "alert_text.h"
#include "greeting.h"
#include "timed_alerts.h"

#include <algorithm>
#include <vector>

namespace {

// "/name" or "-name", the name compared without case: the switches are ASCII, so folding a-z is
// all the case-blindness they need.
bool IsSwitch(std::wstring_view word, std::wstring_view name) {
    name.remove_prefix(1);
    auto lower = [](wchar_t c) { return c >= L'A' && c <= L'Z' ? wchar_t(c - L'A' + L'a') : c; };
    return word.size() == name.size() + 1 && (word[0] == L'/' || word[0] == L'-') &&
           std::equal(name.begin(), name.end(), word.begin() + 1,
                      [&](wchar_t a, wchar_t b) { return a == lower(b); });
}

} // namespace

StartKind StartKindOf(std::wstring_view arguments) {
    constexpr std::wstring_view kBlanks = L" \t";
    std::vector<std::wstring_view> words;
    for (size_t start = arguments.find_first_not_of(kBlanks); start != std::wstring_view::npos;
         start = arguments.find_first_not_of(kBlanks, start)) {
        size_t end = std::min(arguments.find_first_of(kBlanks, start), arguments.size());
        words.push_back(arguments.substr(start, end - start));
        start = end;
    }
    if (words.empty() || !IsSwitch(words[0], kDayWatchSwitch))
        return StartKind::Plain;
    if (words.size() == 1)
        return StartKind::DayWatch;
    if (words.size() == 2 && IsSwitch(words[1], kRestartSwitch))
        return StartKind::RestartedWatch;
    return StartKind::Plain;
}

int32_t DayOf(int64_t moment) {
    return static_cast<int32_t>(moment / kMomentsPerDay);
}

Today TodayAt(int64_t moment) {
    int64_t date = moment / kMomentsPerDay;
    return TodayFromDate(static_cast<int16_t>(date % 100), static_cast<int16_t>(date / 100 % 100),
                         static_cast<int16_t>(date / 10000));
}

void StartWatch(WatchState& watch, std::optional<SeenRecord> kept, int64_t now, bool restarted) {
    watch.seen = kept.value_or(SeenRecord{SecondBefore(int64_t{DayOf(now)} * kMomentsPerDay), {}});
    watch.seenUnsaved = !kept;
    if (!restarted || !kept || DayOf(kept->seenThrough) != DayOf(now))
        return;
    // Today's list was seen, and the alerts up to the seen moment, and those closed after it.
    watch.days[DayOf(now)] = true;
    watch.readUntil = watch.lastLook = kept->seenThrough;
    watch.shown.insert(kept->seenAhead.begin(), kept->seenAhead.end());
}

DueAtLook VisitClock(WatchState& watch, int64_t now) {
    // No box is open: what the file held up to the last read has been seen, but for what the
    // alerts window holds.
    watch.listSeenThrough.reset();
    watch.seenUnsaved |= NoteSeen(watch.seen, SeenThroughAlerts(watch), std::nullopt);
    int32_t today = DayOf(now);
    bool back = now < watch.lastLook;
    if (back) {
        watch.days.erase(watch.days.upper_bound(today), watch.days.end());
        std::erase_if(watch.shown, [&](const ReminderId& id) { return DayOf(id.moment) > today; });
        watch.readUntil = std::min(watch.readUntil, now);
    }
    // What the last look found next was for another day, or for a later moment.
    if (back || today != DayOf(watch.lastLook))
        watch.lastLookRead = false;
    watch.lastLook = now;
    auto [entry, added] = watch.days.try_emplace(today, false);
    DueAtLook due = added           ? DueAtLook::Greeting
                    : entry->second ? DueAtLook::Alerts
                                    : DueAtLook::DayList;
    while (watch.days.size() > kDaysKept)
        watch.days.erase(watch.days.begin());
    int32_t oldest = watch.days.begin()->first;
    std::erase_if(watch.shown, [&](const ReminderId& id) { return DayOf(id.moment) < oldest; });
    return due;
}

std::vector<ListBox> MissedReminders(const std::vector<Reminder>& table, const SeenRecord& seen,
                                     const Today& today) {
    int64_t todayStart = LocalMoment(today.year, today.month, today.day, 0, 0, 0);
    std::vector<ListBox> missed;
    for (size_t i = 0; i < table.size(); ++i) {
        std::optional<ReminderId> id = IdOf(table[i]);
        if (table[i].active != 0 && id && id->moment < todayStart && !IsSeen(seen, *id) &&
            !IsSnoozed(seen, *id))
            missed.push_back({i, TodayAt(id->moment), id});
    }
    // A reminder without a time has its day's first moment, as one at 00:00 has.
    auto order = [&](const ListBox& box) {
        return std::pair(box.seenWhenClosed->moment, AlertMinute(table[box.index].time) >= 0);
    };
    std::stable_sort(missed.begin(), missed.end(),
                     [&](const ListBox& a, const ListBox& b) { return order(a) < order(b); });
    return missed;
}

namespace {

// Up to this moment every reminder has been seen, as far as the list goes, once the boxes before
// `firstOpen` are closed: the list holds all that was due by its read and not seen.
int64_t SeenThroughList(const DayList& list, size_t firstOpen) {
    int64_t through = list.readAt;
    for (size_t i = firstOpen; i < list.boxes.size(); ++i)
        if (const std::optional<ReminderId>& id = list.boxes[i].seenWhenClosed)
            through = std::min(through, SecondBefore(id->moment));
    return through;
}

} // namespace

DayList ReadDayList(WatchState& watch, const std::vector<Reminder>& table, const Today& today,
                    int64_t readAt) {
    DayList list{readAt, {}, {}};
    list.missed = MissedReminders(table, watch.seen, today);
    for (const ListBox& missed : list.missed)
        watch.waiting.insert(*missed.seenWhenClosed);
    for (size_t i = 0; i < table.size(); ++i) {
        std::optional<ReminderId> id = IdOf(table[i]);
        if (!IsReminderForToday(table[i], today) || !id)
            continue;
        bool due = id->moment <= readAt;
        if (due)
            watch.shown.insert(*id);
        list.boxes.push_back({i, today, due && !IsSeen(watch.seen, *id) ? id : std::nullopt});
    }
    watch.listSeenThrough = SeenThroughList(list, 0);
    watch.days[DayOf(readAt)] = true;
    watch.readUntil = readAt;
    watch.owed.clear();
    TakeDueAlert(watch, table, today, readAt); // nothing is due: it finds the next alert
    return list;
}

void NoteListBoxClosed(WatchState& watch, const DayList& list, size_t box) {
    watch.listSeenThrough = SeenThroughList(list, box + 1);
    watch.seenUnsaved |=
        NoteSeen(watch.seen, SeenThroughAlerts(watch), list.boxes[box].seenWhenClosed);
}
uint32_t TimerDelay(int64_t millisecondsToDue) {
    constexpr int64_t kPastDue = 1000;
    constexpr int64_t kLongestDay = 25 * 3600 * 1000;
    return static_cast<uint32_t>(std::clamp<int64_t>(millisecondsToDue, 0, kLongestDay) + kPastDue);
}

uint32_t NextLookDelay(const ClockReading& now, const WatchState& watch, bool folderWatched,
                       LocalMomentAtFunction localMomentAt) {
    int64_t due = NextDayStart(now.moment);
    if (watch.lastLookRead && watch.nextAlert && *watch.nextAlert < due)
        due = *watch.nextAlert;
    for (const Snooze& snooze : watch.seen.snoozed)
        if (snooze.until > now.moment && !watch.waiting.count(snooze.id))
            due = std::min(due, snooze.until);
    int64_t wait = TimerDelay(FirstInstantShowing(due, now.instant, localMomentAt) - now.instant);
    if (!watch.lastLookRead)
        wait = std::min(wait, kRetryAfterFailedRead);
    if (!folderWatched)
        wait = std::min(wait, kLookWithoutNotices);
    return static_cast<uint32_t>(wait);
}
