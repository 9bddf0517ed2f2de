#include "local_moment.h"

#include "date_text.h"

namespace {

constexpr int64_t kHour = 3600 * 1000;

// Days from 1 January 1970 to a date of the Gregorian calendar; a day past the end of its month
// counts on into the next.
int64_t DaysFromCivil(int64_t year, int64_t month, int64_t day) {
    year -= month <= 2;
    int64_t era = (year >= 0 ? year : year - 399) / 400;
    int64_t yearOfEra = year - era * 400;
    int64_t dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    return era * 146097 + yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear - 719468;
}

// The date of a count of days from 1 January 1970.
void CivilFromDays(int64_t days, int64_t& year, int64_t& month, int64_t& day) {
    days += 719468;
    int64_t era = (days >= 0 ? days : days - 146096) / 146097;
    int64_t dayOfEra = days - era * 146097;
    int64_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    int64_t monthIndex = (5 * dayOfYear + 2) / 153;
    day = dayOfYear - (153 * monthIndex + 2) / 5 + 1;
    month = monthIndex < 10 ? monthIndex + 3 : monthIndex - 9;
    year = yearOfEra + era * 400 + (month <= 2);
}

// A moment in milliseconds on a clock that is never set: what the local clock shows, as a number
// that time can be added to.
int64_t WallMilliseconds(int64_t moment) {
    int64_t date = moment / kMomentsPerDay, time = moment % kMomentsPerDay;
    int64_t days = DaysFromCivil(date / 10000, date / 100 % 100, date % 100);
    return (((days * 24 + time / 10000) * 60 + time / 100 % 100) * 60 + time % 100) * 1000;
}

} // namespace

int64_t LocalMoment(int year, int month, int day, int hour, int minute, int second) {
    return ((int64_t{year} * 100 + month) * 100 + day) * kMomentsPerDay +
           (int64_t{hour} * 100 + minute) * 100 + second;
}

bool IsLocalMoment(int64_t moment) {
    int64_t date = moment / kMomentsPerDay, time = moment % kMomentsPerDay;
    int64_t year = date / 10000, month = date / 100 % 100, day = date % 100;
    return year >= 1601 && year <= 9999 && day >= 1 &&
           day <= DaysInMonth(static_cast<int>(month), static_cast<int>(year)) &&
           time / 10000 < 24 && time / 100 % 100 < 60 && time % 100 < 60;
}

int64_t SecondBefore(int64_t moment) {
    int64_t date = moment / kMomentsPerDay, time = moment % kMomentsPerDay;
    int year = static_cast<int>(date / 10000), month = static_cast<int>(date / 100 % 100),
        day = static_cast<int>(date % 100);
    int seconds = static_cast<int>(time / 10000 * 3600 + time / 100 % 100 * 60 + time % 100) - 1;
    if (seconds < 0) {
        seconds += 24 * 3600;
        if (--day < 1) {
            if (--month < 1) {
                month = 12;
                --year;
            }
            day = DaysInMonth(month, year);
        }
    }
    return LocalMoment(year, month, day, seconds / 3600, seconds / 60 % 60, seconds % 60);
}

int64_t MomentAfter(int64_t moment, int64_t seconds) {
    int64_t total = WallMilliseconds(moment) / 1000 + seconds;
    int64_t days = total >= 0 ? total / 86400 : (total - 86399) / 86400,
            rest = total - days * 86400;
    int64_t year = 0, month = 0, day = 0;
    CivilFromDays(days, year, month, day);
    return LocalMoment(static_cast<int>(year), static_cast<int>(month), static_cast<int>(day),
                       static_cast<int>(rest / 3600), static_cast<int>(rest / 60 % 60),
                       static_cast<int>(rest % 60));
}

int64_t NextDayStart(int64_t moment) {
    return (moment / kMomentsPerDay + 1) * kMomentsPerDay;
}

// From an instant at which the clock shows less, the clock would show the moment after the
// difference between the two, if nobody set it meanwhile. If it shows the moment or more then,
// the first instant lies in between: no change of the clock that sets it back does (the clock
// would show less), so at most a jump forward, which keeps "shows it or later" false up to one
// instant and true after it, and halving the interval finds that instant to the millisecond. If
// it shows less then, the clock was set back in between: the same again from there. Clocks are
// changed a few times a year, so two rounds are all it takes; four are allowed.
int64_t FirstInstantShowing(int64_t moment, int64_t from, LocalMomentAtFunction localMomentAt) {
    int64_t instant = from;
    for (int round = 0; round < 4; ++round) {
        int64_t shown = localMomentAt(instant);
        if (shown < 0)
            return from + kHour;
        if (shown >= moment)
            return instant;
        int64_t later = instant + (WallMilliseconds(moment) - WallMilliseconds(shown));
        int64_t shownLater = localMomentAt(later);
        if (shownLater < 0)
            return from + kHour;
        if (shownLater >= moment) {
            while (later - instant > 1) {
                int64_t middle = instant + (later - instant) / 2;
                (localMomentAt(middle) >= moment ? later : instant) = middle;
            }
            return later;
        }
        instant = later;
    }
    return instant;
}
