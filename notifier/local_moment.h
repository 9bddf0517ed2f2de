// Moments of the local clock as numbers, and the instant at which the clock first shows one. The
// time zone comes in as a function, so that the search works, and is tested, apart from Win32.
#pragma once

#include <cstdint>

// A local date and time as one number that orders as they do: 20261206160000 for 6 December
// 2026 at 16:00:00. Its day, 20261206, is the moment divided by kMomentsPerDay.
constexpr int64_t kMomentsPerDay = 1000000;
int64_t LocalMoment(int year, int month, int day, int hour, int minute, int second);

// Whether a number is the moment of a real date from 1601 to 9999 and a time from 00:00:00 to
// 23:59:59: what is kept between the watch's runs is checked so before it counts.
bool IsLocalMoment(int64_t moment);

// The moment a second before: 20261205235959 before 20261206000000. Only the fields count, so the
// first moment of the day after (NextDayStart) gives the last second of the moment's own day.
int64_t SecondBefore(int64_t moment);

// The moment that many seconds later on the wall clock, whatever the clock does meanwhile: a
// snooze of an hour ends an hour after it on the clock's face.
int64_t MomentAfter(int64_t moment, int64_t seconds);

// The first moment of the day after the moment's own. Not a real date (20261232000000 follows
// 31 December), but every moment of the next day and later is at least that.
int64_t NextDayStart(int64_t moment);

// The local moment that the clock shows at an instant (milliseconds on the caller's scale), or
// -1 if it cannot tell.
using LocalMomentAtFunction = int64_t (*)(int64_t instant);

// The first instant from `from` on at which the local clock shows `moment` or later. Where the
// clocks spring forward over the moment (local midnight does not exist where daylight saving time
// starts at 00:00), that is the instant the clock jumps past it; where they fall back over it,
// the first of the two instants it shows it. An hour after `from` if the clock cannot be read:
// the caller looks again then.
int64_t FirstInstantShowing(int64_t moment, int64_t from, LocalMomentAtFunction localMomentAt);
