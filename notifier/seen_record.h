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

struct SeenRecord {
    // Every reminder whose moment is at or before it has been seen; or, before the watch first
    // ran for the folder, was no concern of it. A local moment (local_moment.h).
    int64_t seenThrough = 0;
    // Reminders seen whose moments are after it, in order, at most kSeenAheadKept.
    std::vector<ReminderId> seenAhead;
    bool operator==(const SeenRecord&) const = default;
};

// The one rule of what counts as seen.
bool IsSeen(const SeenRecord& seen, const ReminderId& reminder);

// The user has closed a box: every reminder up to `through` has been seen, and `closed` too.
// Only adds to the record; returns whether it changed.
bool NoteSeen(SeenRecord& seen, int64_t through, std::optional<ReminderId> closed);

// The record as it is kept: the seen moment (8 bytes, little-endian, as the previous release
// kept it alone), then the number of boxes closed ahead (4 bytes) and each one's moment and hash
// (8 bytes each). At most 8 + 4 + 16 * kSeenAheadKept = 268 bytes.
std::string SeenRecordBytes(const SeenRecord& seen);

// None for bytes that are not such a record of real moments: nothing was kept.
std::optional<SeenRecord> ReadSeenRecord(std::string_view bytes);
