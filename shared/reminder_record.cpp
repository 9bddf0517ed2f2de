#include "reminder_record.h"

#include "fixed_text.h"

#include <algorithm>
#include <cstring>

namespace {

char Scrambled(char c) {
    return static_cast<char>(255 - static_cast<unsigned char>(c));
}

void ScrambleInPlace(std::string& text) {
    for (char& c : text)
        c = Scrambled(c);
}

// Stores the scrambled form of a plain text into the text field. Storing stops at a scrambled 0,
// which is a plain byte 255.
void StoreScrambledText(char* field, std::string_view plain) {
    size_t length = plain.find('\xFF');
    length = std::min(length == std::string_view::npos ? plain.size() : length, kTextFieldSize - 1);
    std::transform(plain.begin(), plain.begin() + static_cast<ptrdiff_t>(length), field, Scrambled);
    field[length] = '\0';
}

} // namespace

std::string ScrambleText(std::string_view text) {
    std::string result(text);
    ScrambleInPlace(result);
    return result;
}

Reminder MakeReminder(std::string_view time, std::string_view date, std::string_view text,
                      int32_t active) {
    // The text is stored scrambled, and a scrambled 0 ends the field: a plain byte 255 cuts it.
    std::string kept = ScrambleText(FitText(ScrambleText(text), kTextFieldSize - 1));
    return Reminder{FitText(time, kTimeFieldSize - 1), FitText(date, kDateFieldSize - 1),
                    std::move(kept), active};
}

void EncodeRecord(const Reminder& reminder, RecordBytes out) {
    std::fill(out.begin(), out.end(), '\0');
    StoreFixedText(out.data() + kTimeOffset, kTimeFieldSize, reminder.time);
    StoreFixedText(out.data() + kDateOffset, kDateFieldSize, reminder.date);
    StoreScrambledText(out.data() + kTextOffset, reminder.text);
    uint32_t active = static_cast<uint32_t>(reminder.active);
    for (size_t i = 0; i < sizeof active; ++i)
        out[kActiveOffset + i] = static_cast<char>((active >> (8 * i)) & 0xFF);
}

Reminder DecodeRecord(ConstRecordBytes record) {
    uint32_t active = 0;
    for (size_t i = 0; i < sizeof active; ++i)
        active |= uint32_t{static_cast<unsigned char>(record[kActiveOffset + i])} << (8 * i);
    Reminder reminder{ReadFixedText(record.data() + kTimeOffset, kTimeFieldSize),
                      ReadFixedText(record.data() + kDateOffset, kDateFieldSize),
                      ReadFixedText(record.data() + kTextOffset, kTextFieldSize),
                      static_cast<int32_t>(active)};
    ScrambleInPlace(reminder.text); // loading is the hot path: no second copy of each text
    return reminder;
}

size_t AppendDecodedRecords(std::span<const char> bytes, std::vector<Reminder>& table) {
    size_t records = bytes.size() / kRecordSize;
    for (size_t r = 0; r < records; ++r)
        table.push_back(
            DecodeRecord(ConstRecordBytes(bytes.data() + r * kRecordSize, kRecordSize)));
    return records;
}
