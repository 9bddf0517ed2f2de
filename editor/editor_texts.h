// The editor's texts: plain C++, no Windows.
#pragma once

#include "reminder_record.h"

#include <cstddef>
#include <string>
#include <string_view>

// The time stored for a reminder when the user switched the time off.
constexpr std::string_view kNoTimeText = "##:##";

// The longest text a reminder keeps, in 8-bit characters.
constexpr size_t kTextCapacity = kTextFieldSize - 1;

// The reminder list's line for table entry `index`: "3 09:30 abc". The text goes in unchanged,
// line breaks included.
std::string ListLine(long index, const Reminder& reminder);

// The table index a list line names: its text up to the first blank, read as a decimal number.
// An empty line, a line that does not start with a number, or a number too large to be an
// index gives 0, which names no entry.
long IndexOfListLine(std::string_view line);

// "Escritas 0004 de 1023": the count with at least four digits.
std::string CharCounterText(size_t count);

// "Recordatorio - 06/12/2026 - 09:05:07": the dialog's caption for a local date and time.
std::string CaptionText(int day, int month, int year, int hour, int minute, int second);

// "09:30": two-digit hours and minutes.
std::string EntryTimeText(int hour, int minute);
