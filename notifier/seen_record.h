// What the user has seen of the day watch's boxes, kept between its runs (watch_memory.h): one
// record per user, computer and folder, which only ever grows, whatever the clock does.
#pragma once

#include "reminder_id.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Boxes closed ahead of the seen moment: a reminder of a day's list closed before one of an
// earlier time, or one of several at the same minute. More are not kept: after a power cut
// they come again, which loses nothing.
constexpr size_t kSeenAheadKept = 16;

// A reminder put off from the alerts window: not seen, it comes again once `until` has come
// (a local moment), or as missed if the watch is not running then.
struct Snooze {
    ReminderId id;
    int64_t until = 0;
    bool operator==(const Snooze&) const = default;
};
// Snoozes kept, the oldest reminders first. Those after them hold the seen moment back, so that
// after a power cut they come again as missed.
constexpr size_t kSnoozesKept = 16;

struct SeenRecord {
    // Every reminder whose moment is at or before it has been seen; or, before the watch first
    // ran for the folder, was no concern of it. A local moment (local_moment.h).
    int64_t seenThrough = 0;
    // Reminders seen whose moments are after it, in order, at most kSeenAheadKept.
    std::vector<ReminderId> seenAhead;
    // Reminders put off, by id.
    std::vector<Snooze> snoozed = {};
    bool operator==(const SeenRecord&) const = default;
};

// The one rule of what counts as seen. A reminder put off comes back by its snooze, whatever
// this says.
bool IsSeen(const SeenRecord& seen, const ReminderId& reminder);
bool IsSnoozed(const SeenRecord& seen, const ReminderId& reminder);

// The user has closed a box: every reminder up to `through` has been seen, and `closed` too,
// whose snooze ends. Only adds to what is seen; returns whether the record changed.
bool NoteSeen(SeenRecord& seen, int64_t through, std::optional<ReminderId> closed);

// The user put the reminder off until that moment.
void NoteSnoozed(SeenRecord& seen, const ReminderId& reminder, int64_t until);

// The seen moment may not pass the snoozes that are not kept.
int64_t SeenThroughSnoozes(const SeenRecord& seen);

// The record as it is kept: the seen moment (8 bytes, little-endian, as the release before the
// boxes closed ahead kept it alone), then the number of boxes closed ahead (4 bytes) and each
// one's moment and hash (8 bytes each); then, only if there are any, the number of snoozes kept
// (4 bytes) and each one's moment, hash and end (8 bytes each). At most
// 8 + 4 + 16 * kSeenAheadKept + 4 + 24 * kSnoozesKept = 656 bytes.
constexpr size_t kSeenRecordMostBytes = 8 + 4 + 16 * kSeenAheadKept + 4 + 24 * kSnoozesKept;
std::string SeenRecordBytes(const SeenRecord& seen);

// None for bytes that are not such a record of real moments: nothing was kept.
std::optional<SeenRecord> ReadSeenRecord(std::string_view bytes);
