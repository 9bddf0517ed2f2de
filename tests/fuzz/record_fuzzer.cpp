// libFuzzer target: arbitrary bytes as the contents of a reminder file, decoded the way
// LoadReminders decodes the blocks it reads. Whatever the bytes, decoding must stay inside the
// record, give fields that fit their capacities, count whole records only, and give reminders
// that survive being written back and read again.
#include "reminder_record.h"

#include <array>
#include <cstdlib>
#include <cstring>

namespace {

void Check(bool condition) {
    if (!condition)
        std::abort();
}

// A field's text as the file holds it: the bytes before its first zero, at most size - 1.
bool FieldHoldsText(const char* field, size_t size, const std::string& text) {
    return text.size() < size && text.find('\0') == std::string::npos &&
           std::memcmp(field, text.data(), text.size()) == 0 &&
           (text.size() == size - 1 || field[text.size()] == '\0');
}

void CheckDecodedRecord(ConstRecordBytes record, const Reminder& reminder) {
    Check(FieldHoldsText(record.data() + kTimeOffset, kTimeFieldSize, reminder.time));
    Check(FieldHoldsText(record.data() + kDateOffset, kDateFieldSize, reminder.date));
    Check(FieldHoldsText(record.data() + kTextOffset, kTextFieldSize, ScrambleText(reminder.text)));

    // Written back, the record keeps every meaningful byte and reads back the same.
    std::array<char, kRecordSize> again;
    EncodeRecord(reminder, again);
    Check(std::memcmp(again.data() + kActiveOffset, record.data() + kActiveOffset, 4) == 0);
    Reminder back = DecodeRecord(again);
    Check(back.time == reminder.time && back.date == reminder.date && back.text == reminder.text &&
          back.active == reminder.active);
    Reminder made = MakeReminder(reminder.time, reminder.date, reminder.text, reminder.active);
    Check(made.time == reminder.time && made.date == reminder.date && made.text == reminder.text);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::span<const char> bytes(reinterpret_cast<const char*>(data), size);
    size_t records = size / kRecordSize;

    std::vector<Reminder> table;
    Check(AppendDecodedRecords(bytes, table) == records);
    Check(table.size() == records);

    // The loader decodes the file in blocks; any split at a record boundary gives the same table.
    size_t split = records == 0 ? 0 : (data[0] % (records + 1)) * kRecordSize;
    std::vector<Reminder> inBlocks;
    Check(AppendDecodedRecords(bytes.first(split), inBlocks) == split / kRecordSize);
    AppendDecodedRecords(bytes.subspan(split), inBlocks);
    Check(inBlocks.size() == records);

    for (size_t r = 0; r < records; ++r) {
        ConstRecordBytes record(bytes.data() + r * kRecordSize, kRecordSize);
        const Reminder& reminder = table[r];
        Check(reminder.time.size() <= kTimeFieldSize - 1);
        Check(reminder.date.size() <= kDateFieldSize - 1);
        Check(reminder.text.size() <= kTextFieldSize - 1);
        CheckDecodedRecord(record, reminder);
        const Reminder& other = inBlocks[r];
        Check(other.time == reminder.time && other.date == reminder.date &&
              other.text == reminder.text && other.active == reminder.active);
    }
    return 0;
}
