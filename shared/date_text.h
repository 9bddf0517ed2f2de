// Date texts in Spanish: the short date text (DD/MM/YYYY) and the long date text
// ("6 Diciembre 2026") that reminder records carry and that the notifier matches exactly.
#pragma once

#include <string>
#include <string_view>

// Rearranges a month-first text MM-DD-YYYY into DD + separator + MM + separator + YYYY. Only the
// character positions count; pieces beyond the end of the text come out short or empty.
std::string ReorderDate(std::string_view dateText, std::string_view separator);

// "Enero" .. "Diciembre" for 1..12, the empty text for any other number.
std::string MonthName(int month);

// MM-DD-YYYY, the form in which the programs read the local date.
std::string MonthFirstDateText(int day, int month, int year);

// DD/MM/YYYY.
std::string ShortDateText(int day, int month, int year);

// Day without leading zero, month name and year: "6 Diciembre 2026".
std::string LongDateText(int day, int month, int year);

// The number of days of a month (1..12) of a year of the Gregorian calendar; 0 for another month.
int DaysInMonth(int month, int year);

// The day, month and year of a text that is exactly the long date text of a date from 1601 to
// 9999, as LongDateText makes it; false for any other text.
bool ReadLongDate(std::string_view text, int& day, int& month, int& year);
