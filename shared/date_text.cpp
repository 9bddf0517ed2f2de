#include "date_text.h"

#include <algorithm>
#include <array>
#include <cstdio>

namespace {

const std::array<const char*, 12> kMonthNames = {
    "Enero", "Febrero", "Marzo",      "Abril",   "Mayo",      "Junio",
    "Julio", "Agosto",  "Septiembre", "Octubre", "Noviembre", "Diciembre",
};

// Characters first..first+count-1 of text, counted from 1, cut at its end.
std::string_view Piece(std::string_view text, size_t first, size_t count) {
    if (first > text.size())
        return {};
    return text.substr(first - 1, count);
}

} // namespace

std::string ReorderDate(std::string_view dateText, std::string_view separator) {
    std::string result(Piece(dateText, 4, 2));
    result += separator;
    result += Piece(dateText, 1, 2);
    result += separator;
    result += Piece(dateText, 7, 4);
    return result;
}

std::string MonthName(int month) {
    if (month < 1 || month > 12)
        return {};
    return kMonthNames[month - 1];
}

std::string MonthFirstDateText(int day, int month, int year) {
    char text[40];
    std::snprintf(text, sizeof text, "%02d-%02d-%04d", month, day, year);
    return text;
}

std::string ShortDateText(int day, int month, int year) {
    return ReorderDate(MonthFirstDateText(day, month, year), "/");
}

std::string LongDateText(int day, int month, int year) {
    return std::to_string(day) + " " + MonthName(month) + " " + std::to_string(year);
}

int DaysInMonth(int month, int year) {
    constexpr int kMonthDays[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12)
        return 0;
    bool leap = year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
    return month == 2 && !leap ? 28 : kMonthDays[month - 1];
}

bool ReadLongDate(std::string_view text, int& day, int& month, int& year) {
    size_t first = text.find(' '), last = text.rfind(' ');
    if (first == std::string_view::npos || first == last)
        return false;
    auto number = [](std::string_view digits, int& value) {
        value = 0;
        for (char c : digits) {
            if (c < '0' || c > '9')
                return false;
            value = value * 10 + (c - '0');
        }
        return !digits.empty() && digits.size() <= 4;
    };
    std::string_view name = text.substr(first + 1, last - first - 1);
    auto found = std::find(kMonthNames.begin(), kMonthNames.end(), name);
    if (found == kMonthNames.end() || !number(text.substr(0, first), day) ||
        !number(text.substr(last + 1), year))
        return false;
    month = static_cast<int>(found - kMonthNames.begin()) + 1;
    // The text itself once more, so that "06 Diciembre 2026" is no date of a reminder.
    return year >= 1601 && day >= 1 && day <= DaysInMonth(month, year) &&
           LongDateText(day, month, year) == text;
}
