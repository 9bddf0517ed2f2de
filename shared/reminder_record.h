// One reminder and its 1085-byte record in the reminder file. The file is a headerless run of
// these records; record n starts at byte (n - 1) * kRecordSize.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

constexpr size_t kTimeFieldSize = 7;
constexpr size_t kDateFieldSize = 50;
constexpr size_t kTextFieldSize = 1024;
constexpr size_t kTimeOffset = 0;
constexpr size_t kDateOffset = kTimeOffset + kTimeFieldSize;    // 7
constexpr size_t kTextOffset = kDateOffset + kDateFieldSize;    // 57
constexpr size_t kActiveOffset = kTextOffset + kTextFieldSize;  // 1081
constexpr size_t kRecordSize = kActiveOffset + sizeof(int32_t); // 1085

// A reminder as the programs hold it: the text is plain (not scrambled) and every field is
// already cut to what its record field can keep.
struct Reminder {
    std::string time; // "hh:mm", or "##:##" when no time was given
    std::string date; // long date text, "6 Diciembre 2026"
    std::string text;
    int32_t active = 0; // 0 marks an entry deleted since the last load
};

using RecordBytes = std::span<char, kRecordSize>;
using ConstRecordBytes = std::span<const char, kRecordSize>;

// Turns every byte v into 255 - v; applying it twice gives the input back.
std::string ScrambleText(std::string_view text);

// A reminder with each field cut to the capacity of its record field (6, 49, 1023 bytes).
Reminder MakeReminder(std::string_view time, std::string_view date, std::string_view text,
                      int32_t active);

// Writes the record of a reminder. The bytes after each field's terminator are zero.
void EncodeRecord(const Reminder& reminder, RecordBytes out);

// Reads a record; a damaged record gives the text found in each field, never more.
Reminder DecodeRecord(ConstRecordBytes record);

// Decodes the whole records of a run of file bytes and adds them to table, in file order; a
// partial record at the end is left out. Returns the number of records added.
size_t AppendDecodedRecords(std::span<const char> bytes, std::vector<Reminder>& table);
