#include "date_text.h"

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
