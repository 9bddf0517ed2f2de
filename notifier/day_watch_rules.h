// The day watch's decisions, apart from Win32: the switch that starts it, which days it has
// still to greet and how long its timer waits for the next day.
#pragma once

#include <cstdint>
#include <set>
#include <string_view>

// The switch that starts the notifier as a day watch: "/diario", or "-diario", in any case.
constexpr wchar_t kDayWatchSwitch[] = L"/diario";

// True if the command line (the part after the program's name) is the day watch's switch,
// blanks around it allowed. Anything else is a plain start.
bool IsDayWatchCommandLine(std::wstring_view arguments);

// A calendar day as one number, 20261206 for 6 December 2026.
int32_t DayNumber(int year, int month, int day);

// Returns true the first time it is asked about a day, and records the day: a watch greets each
// day once, whether the clock reaches it at midnight or by being set back and forward again.
bool TakeDayToGreet(std::set<int32_t>& greetedDays, int32_t day);

// The midnight timer's wait, given the milliseconds from now to the start of the next local day:
// a second more, so that the timer fires once the day has turned; within 1 s and 25 hours
// however the clock reads (a day has 23 to 25 hours where the clocks change).
uint32_t MidnightTimerDelay(int64_t millisecondsToMidnight);
