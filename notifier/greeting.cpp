#include "greeting.h"

#include "date_text.h"
#include "message_box.h"
#include "santoral.h"

#include <array>

Today TodayFromDate(int16_t day, int16_t month, int16_t year) {
    return Today{day,
                 month,
                 year,
                 ShortDateText(day, month, year),
                 LongDateText(day, month, year),
                 WeekdayName(day, month, year)};
}

std::string WeekdayName(int16_t day, int16_t month, int16_t year) {
    static const std::array<const char*, 7> kNames = {"Domingo", "Lunes",   "Martes", "Miercoles",
                                                      "Jueves",  "Viernes", "Sabado"};
    // Zeller's congruence: March is month 1 and January and February count as months 11 and 12
    // of the year before, so the leap day falls at the end of the counted year.
    int m = month - 2;
    int y = year;
    if (m <= 0) {
        m += 12;
        y -= 1;
    }
    int yearOfCentury = y % 100;
    int century = y / 100;
    int w = (26 * m - 2) / 10 + day + yearOfCentury + yearOfCentury / 4 + century / 4 - 2 * century;
    while (w < 0)
        w += 7;
    return kNames[static_cast<size_t>(w % 7)];
}

std::string SeasonNotice(int day, int month) {
    if (day != 21)
        return {};
    const char* season = nullptr;
    switch (month) {
    case 3: season = "Primavera"; break;
    case 6: season = "Verano"; break;
    case 9: season = "Otoño"; break;
    case 12: season = "Invierno"; break;
    default: return {};
    }
    return std::string(kCrLf) + kCrLf + "Cambio de estacion a :" + kCrLf + kCrLf + season;
}

std::string DayGreetingText(const Today& today) {
    return "Hoy es " + today.longDate + " " + today.weekday + kCrLf + kCrLf +
           SantoralEntry(today.day, today.month) + SeasonNotice(today.day, today.month);
}
