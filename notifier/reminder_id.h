// How the day watch names a reminder across its looks, its runs and the editor's rewrites, which
// renumber the records: by its moment and by what it says.
#pragma once

#include "reminder_record.h"

#include <compare>
#include <cstdint>
#include <optional>
#include <string_view>

// Minutes after midnight of a reminder's time "hh:mm" (00:00 to 23:59); -1 for "##:##", the time
// of a reminder without one, and for anything else a damaged file may hold.
int AlertMinute(std::string_view time);

// A reminder as the watch tells it from the others: its moment (local_moment.h; the start of its
// day when it has no time) and a hash of its date, time and text. Two reminders with the same
// date, time and text are one: they give the same box, and the file has no other name for them.
struct ReminderId {
    int64_t moment = 0;
    uint64_t hash = 0;
    auto operator<=>(const ReminderId&) const = default;
};

// None for a reminder whose date is not exactly the long date text of a real date: no day is
// its own, so it is never due.
std::optional<ReminderId> IdOf(const Reminder& reminder);
