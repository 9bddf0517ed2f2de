#include "seen_record.h"

#include "local_moment.h"

#include <algorithm>

namespace {

void PutNumber(std::string& out, uint64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out += static_cast<char>(value >> (8 * i) & 0xFF);
}

// Takes a little-endian number off the front of `in`; false if it is too short.
bool TakeNumber(std::string_view& in, uint64_t& value, size_t bytes) {
    if (in.size() < bytes)
        return false;
    value = 0;
    for (size_t i = 0; i < bytes; ++i)
        value |= uint64_t{static_cast<unsigned char>(in[i])} << (8 * i);
    in.remove_prefix(bytes);
    return true;
}

} // namespace

namespace {

// Where the reminder's snooze is, or would go: the snoozes are in the order of their reminders.
template <typename Snoozes> auto SnoozePlace(Snoozes& snoozed, const ReminderId& reminder) {
    return std::lower_bound(
        snoozed.begin(), snoozed.end(), reminder,
        [](const Snooze& snooze, const ReminderId& id) { return snooze.id < id; });
}

template <typename Snoozes> bool HoldsSnooze(Snoozes& snoozed, auto place, const ReminderId& id) {
    return place != snoozed.end() && place->id == id;
}

} // namespace

bool IsSnoozed(const SeenRecord& seen, const ReminderId& reminder) {
    return HoldsSnooze(seen.snoozed, SnoozePlace(seen.snoozed, reminder), reminder);
}

bool IsSeen(const SeenRecord& seen, const ReminderId& reminder) {
    return reminder.moment <= seen.seenThrough ||
           std::binary_search(seen.seenAhead.begin(), seen.seenAhead.end(), reminder);
}

bool NoteSeen(SeenRecord& seen, int64_t through, std::optional<ReminderId> closed) {
    bool changed = false;
    if (closed) {
        auto snooze = SnoozePlace(seen.snoozed, *closed);
        if (HoldsSnooze(seen.snoozed, snooze, *closed)) {
            seen.snoozed.erase(snooze);
            changed = true;
        }
    }
    if (through > seen.seenThrough) {
        seen.seenThrough = through;
        std::erase_if(seen.seenAhead, [&](const ReminderId& id) { return id.moment <= through; });
        changed = true;
    }
    if (closed && !IsSeen(seen, *closed) && seen.seenAhead.size() < kSeenAheadKept) {
        seen.seenAhead.insert(
            std::upper_bound(seen.seenAhead.begin(), seen.seenAhead.end(), *closed), *closed);
        changed = true;
    }
    return changed;
}

void NoteSnoozed(SeenRecord& seen, const ReminderId& reminder, int64_t until) {
    auto snooze = SnoozePlace(seen.snoozed, reminder);
    if (HoldsSnooze(seen.snoozed, snooze, reminder))
        snooze->until = until;
    else
        seen.snoozed.insert(snooze, Snooze{reminder, until});
}

int64_t SeenThroughSnoozes(const SeenRecord& seen) {
    if (seen.snoozed.size() <= kSnoozesKept)
        return INT64_MAX;
    return SecondBefore(seen.snoozed[kSnoozesKept].id.moment);
}

std::string SeenRecordBytes(const SeenRecord& seen) {
    std::string bytes;
    PutNumber(bytes, static_cast<uint64_t>(seen.seenThrough), 8);
    PutNumber(bytes, seen.seenAhead.size(), 4);
    for (const ReminderId& id : seen.seenAhead) {
        PutNumber(bytes, static_cast<uint64_t>(id.moment), 8);
        PutNumber(bytes, id.hash, 8);
    }
    size_t snoozes = std::min(seen.snoozed.size(), kSnoozesKept);
    if (snoozes == 0)
        return bytes; // as the release before the snoozes reads it
    PutNumber(bytes, snoozes, 4);
    for (size_t i = 0; i < snoozes; ++i) {
        PutNumber(bytes, static_cast<uint64_t>(seen.snoozed[i].id.moment), 8);
        PutNumber(bytes, seen.snoozed[i].id.hash, 8);
        PutNumber(bytes, static_cast<uint64_t>(seen.snoozed[i].until), 8);
    }
    return bytes;
}

std::optional<SeenRecord> ReadSeenRecord(std::string_view bytes) {
    SeenRecord seen;
    uint64_t number = 0, count = 0;
    if (!TakeNumber(bytes, number, 8) || !IsLocalMoment(static_cast<int64_t>(number)))
        return std::nullopt;
    seen.seenThrough = static_cast<int64_t>(number);
    if (!bytes.empty() && (!TakeNumber(bytes, count, 4) || count > kSeenAheadKept))
        return std::nullopt;
    for (uint64_t i = 0; i < count; ++i) {
        ReminderId id;
        if (!TakeNumber(bytes, number, 8) || !TakeNumber(bytes, id.hash, 8))
            return std::nullopt;
        id.moment = static_cast<int64_t>(number);
        if (!IsLocalMoment(id.moment) || id.moment <= seen.seenThrough ||
            (!seen.seenAhead.empty() && !(seen.seenAhead.back() < id)))
            return std::nullopt;
        seen.seenAhead.push_back(id);
    }
    count = 0;
    if (!bytes.empty() && (!TakeNumber(bytes, count, 4) || count == 0 || count > kSnoozesKept))
        return std::nullopt;
    for (uint64_t i = 0; i < count; ++i) {
        Snooze snooze;
        uint64_t until = 0;
        if (!TakeNumber(bytes, number, 8) || !TakeNumber(bytes, snooze.id.hash, 8) ||
            !TakeNumber(bytes, until, 8))
            return std::nullopt;
        snooze.id.moment = static_cast<int64_t>(number);
        snooze.until = static_cast<int64_t>(until);
        if (!IsLocalMoment(snooze.id.moment) || !IsLocalMoment(snooze.until) ||
            (!seen.snoozed.empty() && !(seen.snoozed.back().id < snooze.id)))
            return std::nullopt;
        seen.snoozed.push_back(snooze);
    }
    if (!bytes.empty())
        return std::nullopt;
    return seen;
}
