// The day greeting: today's date, weekday, saint of the day and, on the four days the seasons
// change, the season notice.
#pragma once

#include "today.h"

#include <cstdint>
#include <string>

Today TodayFromDate(int16_t day, int16_t month, int16_t year);

// "Domingo" .. "Sabado" for any Gregorian date from 1601 to 9999.
std::string WeekdayName(int16_t day, int16_t month, int16_t year);

// On 21 March, June, September and December: two line breaks, "Cambio de estacion a :", two
// line breaks and the season that begins. Empty on every other day.
std::string SeasonNotice(int day, int month);

// "Hoy es 6 Diciembre 2026 Domingo", two line breaks, the saint's name and the season notice.
std::string DayGreetingText(const Today& today);
