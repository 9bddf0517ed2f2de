#include "day_watch_rules.h"
#include "greeting.h"
#include "local_moment.h"
#include "timed_alerts.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

TEST(DayWatchRules, OnlyTheSwitchesAloneStartAWatch) {
    for (const wchar_t* line : {L"/diario", L"-diario", L"/DIARIO", L"  /Diario\t"})
        EXPECT_EQ(StartKindOf(line), StartKind::DayWatch) << line;
    for (const wchar_t* line : {L"/diario /reanudar", L" -Diario\t-REANUDAR "})
        EXPECT_EQ(StartKindOf(line), StartKind::RestartedWatch) << line;
    for (const wchar_t* line :
         {L"", L" ", L"diario", L"/diari", L"/diarios", L"/diario x", L"\"/diario\"", L"//diario",
          L"/di\u00C1rio", L"/reanudar", L"/reanudar /diario", L"/diario /reanudar /reanudar"})
        EXPECT_EQ(StartKindOf(line), StartKind::Plain) << line;
}

TEST(DayWatchRules, TimerFiresJustAfterItsMomentWhateverTheClockSays) {
    EXPECT_EQ(TimerDelay(20000), 21000u);
    EXPECT_EQ(TimerDelay(0), 1000u);
    EXPECT_EQ(TimerDelay(-5000), 1000u); // never at once, never in a loop
    EXPECT_EQ(TimerDelay(int64_t{1} << 40), 25u * 3600 * 1000 + 1000);
}

// The time zones come from the C library's zone database, which the Windows build of these tests
// does not have.
#ifndef _WIN32
namespace {

// The local clock of the zone that TZ names, as the C library keeps it; instants are
// milliseconds since 1970 (UTC).
int64_t LocalMomentInTz(int64_t instant) {
    time_t seconds = static_cast<time_t>(instant / 1000);
    tm local{};
    localtime_r(&seconds, &local);
    return LocalMoment(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
                       local.tm_min, local.tm_sec);
}

int64_t UtcInstant(int y, unsigned m, unsigned d, int h, int min, int s = 0) {
    using namespace std::chrono;
    sys_seconds instant = sys_days{year{y} / m / d} + hours{h} + minutes{min} + seconds{s};
    return duration_cast<milliseconds>(instant.time_since_epoch()).count();
}

} // namespace

// Where daylight saving time starts at 00:00 (Santiago de Chile) local midnight does not exist:
// the day starts at 01:00, when the clock jumps there. A timer to any other instant fires before
// the date has changed and, re-armed, again and again.
TEST(DayWatchRules, TheNextDayStartsWhenTheClockFirstShowsItsDate) {
    struct Case {
        const char* zone;
        int64_t from;
        int64_t moment; // 0: the next day's start
        int64_t expected;
    };
    const Case cases[] = {
        // Madrid's days of 23 and 25 hours, and an alert in the hour that is skipped in spring
        // (it comes at 03:00) and in the hour shown twice in autumn (it comes the first time).
        {"Europe/Madrid", UtcInstant(2026, 3, 29, 12, 0), 0, UtcInstant(2026, 3, 29, 22, 0)},
        {"Europe/Madrid", UtcInstant(2026, 10, 25, 12, 0), 0, UtcInstant(2026, 10, 25, 23, 0)},
        {"Europe/Madrid", UtcInstant(2026, 3, 29, 0, 0), LocalMoment(2026, 3, 29, 2, 30, 0),
         UtcInstant(2026, 3, 29, 1, 0)},
        {"Europe/Madrid", UtcInstant(2026, 10, 24, 23, 0), LocalMoment(2026, 10, 25, 2, 30, 0),
         UtcInstant(2026, 10, 25, 0, 30)},
        // Santiago: midnight skipped on 6 September 2026, also seen from 23:00:01 of the 5th,
        // where a timer to 00:00 turned into 23:00 fired; on 5 April the clock goes back from
        // 00:00 to 23:00 of the 4th, so the 5th starts an hour later.
        {"America/Santiago", UtcInstant(2026, 9, 5, 16, 0), 0, UtcInstant(2026, 9, 6, 4, 0)},
        {"America/Santiago", UtcInstant(2026, 9, 6, 3, 0, 1), 0, UtcInstant(2026, 9, 6, 4, 0)},
        {"America/Santiago", UtcInstant(2026, 4, 4, 15, 0), 0, UtcInstant(2026, 4, 5, 4, 0)},
        // Bogotá has no daylight saving time; and a year's end.
        {"America/Bogota", UtcInstant(2026, 9, 5, 16, 0), 0, UtcInstant(2026, 9, 6, 5, 0)},
        {"America/Bogota", UtcInstant(2026, 12, 31, 20, 0), 0, UtcInstant(2027, 1, 1, 5, 0)},
    };
    const char* savedZone = std::getenv("TZ");
    std::string saved = savedZone ? savedZone : "";
    for (const Case& c : cases) {
        setenv("TZ", c.zone, 1);
        tzset();
        int64_t moment = c.moment ? c.moment : NextDayStart(LocalMomentInTz(c.from));
        int64_t found = FirstInstantShowing(moment, c.from, LocalMomentInTz);
        EXPECT_EQ(found, c.expected)
            << c.zone << " from " << LocalMomentInTz(c.from) << " to " << moment << ": found "
            << LocalMomentInTz(found) << ", expected " << LocalMomentInTz(c.expected);
    }
    savedZone ? setenv("TZ", saved.c_str(), 1) : unsetenv("TZ");
    tzset();
}
#endif

// The watch greeted 6 December 2026 at 15:00 and looks at the file as it is at each look.
TEST(TimedAlerts, EachComesAtItsTimeOnceInTimeOrderAndOnlyOnItsDay) {
    const Today today = TodayFromDate(6, 12, 2026);
    const std::string date = "6 Diciembre 2026";
    auto at = [](int hour, int minute, int second = 0) {
        return LocalMoment(2026, 12, 6, hour, minute, second);
    };
    std::vector<Reminder> table = {
        MakeReminder("09:30", date, "Comprar pan", 1), // before the greeting
        MakeReminder("17:00", date, "Cena", 1),
        MakeReminder("16:00", date,
                     "Llamar al m\xE9"
                     "dico",
                     1),
        MakeReminder("16:00", date,
                     "Llamar al m\xE9"
                     "dico",
                     1), // the same alert again
        MakeReminder("16:00", date, "borrado", 0),
        MakeReminder("16:00", "7 Diciembre 2026",
                     "ma\xF1"
                     "ana",
                     1),
        MakeReminder("##:##", date, "sin hora", 1),
        MakeReminder("16:0x", date, "hora rota", 1),
        MakeReminder("24:00", date, "hora imposible", 1),
    };
    EXPECT_EQ(AlertMinute("00:00"), 0);
    EXPECT_EQ(AlertMinute("23:59"), 23 * 60 + 59);

    TodaysAlerts alerts{at(15, 0), {}};
    AlertLook look = LookAtAlerts(table, today, at(15, 59, 59), alerts);
    EXPECT_FALSE(look.due);
    EXPECT_EQ(look.next, at(16, 0));
    alerts.lookedUntil = at(15, 59, 59);

    // Written after its time, between two looks: not an alert.
    table.push_back(MakeReminder("15:30", date, "tarde", 1));
    look = LookAtAlerts(table, today, at(16, 0, 1), alerts);
    EXPECT_EQ(look.due, 2u);
    EXPECT_EQ(look.next, at(17, 0));
    alerts.shown.insert(AlertKey(table[2]));
    look = LookAtAlerts(table, today, at(16, 0, 1), alerts);
    EXPECT_FALSE(look.due) << "shown once, its copy with it";
    alerts.lookedUntil = at(16, 0, 1);

    // After a resume at 18:30: what fell due meanwhile, in time order, even before an earlier
    // entry of the file; then nothing more that day.
    table.push_back(MakeReminder("16:30", date, "Recoger el coche", 1));
    look = LookAtAlerts(table, today, at(18, 30), alerts);
    EXPECT_EQ(look.due, table.size() - 1);
    EXPECT_FALSE(look.next);
    alerts.shown.insert(AlertKey(table.back()));
    EXPECT_EQ(LookAtAlerts(table, today, at(18, 30), alerts).due, 1u);
    alerts.shown.insert(AlertKey(table[1]));
    EXPECT_FALSE(LookAtAlerts(table, today, at(18, 30), alerts).due);

    // A day other than the one greeted last (the clock set back to a day greeted before).
    TodaysAlerts yesterday{LocalMoment(2026, 12, 5, 23, 0, 0), {}};
    look = LookAtAlerts(table, today, at(18, 30), yesterday);
    EXPECT_FALSE(look.due);
    EXPECT_FALSE(look.next);
}

// Each day of two years once: walked forwards, and then again as if the clock had gone back.
TEST(DayWatchRules, EachDayIsGreetedOnceWhateverTheClockDoes) {
    using namespace std::chrono;
    std::set<int32_t> greeted;
    for (bool again : {false, true}) {
        for (sys_days day = year{2026} / 1 / 1; day < year{2028} / 1 / 1; day += days{1}) {
            year_month_day date{day};
            int32_t number =
                DayNumber(int(date.year()), unsigned(date.month()), unsigned(date.day()));
            EXPECT_EQ(TakeDayToGreet(greeted, number), !again) << number;
        }
    }
}
