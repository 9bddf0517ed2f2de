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

bool IsSeen(const SeenRecord& seen, const ReminderId& reminder) {
    return reminder.moment <= seen.seenThrough ||
           std::binary_search(seen.seenAhead.begin(), seen.seenAhead.end(), reminder);
}

bool NoteSeen(SeenRecord& seen, int64_t through, std::optional<ReminderId> closed) {
    bool changed = false;
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

std::string SeenRecordBytes(const SeenRecord& seen) {
    std::string bytes;
    PutNumber(bytes, static_cast<uint64_t>(seen.seenThrough), 8);
    PutNumber(bytes, seen.seenAhead.size(), 4);
    for (const ReminderId& id : seen.seenAhead) {
        PutNumber(bytes, static_cast<uint64_t>(id.moment), 8);
        PutNumber(bytes, id.hash, 8);
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
    if (!bytes.empty())
        return std::nullopt;
    return seen;
}
