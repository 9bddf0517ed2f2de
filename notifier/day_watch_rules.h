// The day watch's decisions, apart from Win32: the switches that start it, which days it has
// still to greet and how long its timer waits.
#pragma once

#include <cstdint>
#include <set>
#include <string_view>

// The switch that starts the notifier as a day watch: "/diario", or "-diario", in any case.
constexpr wchar_t kDayWatchSwitch[] = L"/diario";
// Given after it by the installer, which starts again the watch that it ended to replace the
// programs: the user has seen today's greeting already, so the watch keeps only today's timed
// reminders that are still to come.
constexpr wchar_t kRestartSwitch[] = L"/reanudar";

enum class StartKind {
    Plain,          // one greeting and today's reminders, then the end
    DayWatch,       // "/diario": greets today and every new day
    RestartedWatch, // "/diario /reanudar": the same, but today counts as greeted
};

// What the command line (the part after the program's name) asks for: the switches alone, in
// that order, separated and surrounded by blanks. Anything else is a plain start.
StartKind StartKindOf(std::wstring_view arguments);

// A calendar day as one number, 20261206 for 6 December 2026.
int32_t DayNumber(int year, int month, int day);

// Returns true the first time it is asked about a day, and records the day: a watch greets each
// day once, whether the clock reaches it at midnight or by being set back and forward again.
bool TakeDayToGreet(std::set<int32_t>& greetedDays, int32_t day);

// The timer's wait, given the milliseconds from now to the moment it waits for: a second more,
// so that the timer fires once the moment has come; within 1 s and 25 hours however the clock
// reads (a day has 23 to 25 hours where the clocks change).
uint32_t TimerDelay(int64_t millisecondsToDue);
