#include "editor_texts.h"

#include "date_text.h"

#include <charconv>
#include <cstdio>

std::string ListLine(long index, const Reminder& reminder) {
    return std::to_string(index) + " " + reminder.time + " " + reminder.text;
}

long IndexOfListLine(std::string_view line) {
    std::string_view number = line.substr(0, line.find(' '));
    long index = 0;
    auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), index);
    if (error != std::errc() || end != number.data() + number.size())
        return 0;
    return index;
}

std::string CharCounterText(size_t count) {
    char digits[32];
    std::snprintf(digits, sizeof digits, "%04zu", count);
    return std::string("Escritas ") + digits + " de " + std::to_string(kTextCapacity);
}

std::string CaptionText(int day, int month, int year, int hour, int minute, int second) {
    char clock[32];
    std::snprintf(clock, sizeof clock, "%02d:%02d:%02d", hour, minute, second);
    return "Recordatorio - " + ReorderDate(MonthFirstDateText(day, month, year), "/") + " - " +
           clock;
}

std::string EntryTimeText(int hour, int minute) {
    char time[16];
    std::snprintf(time, sizeof time, "%02d:%02d", hour, minute);
    return time;
}
