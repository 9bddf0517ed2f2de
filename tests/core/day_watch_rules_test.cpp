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

namespace {

// A clock without daylight saving time whose instants are milliseconds since 6 December 2026 at
// 00:00.
int64_t MomentOnTheSixth(int64_t instant) {
    int64_t seconds = instant / 1000;
    int64_t day = 6 + seconds / 86400, rest = seconds % 86400;
    return LocalMoment(2026, 12, static_cast<int>(day), static_cast<int>(rest / 3600),
                       static_cast<int>(rest / 60 % 60), static_cast<int>(rest % 60));
}

} // namespace

TEST(DayWatchRules, TimerFiresJustAfterItsMomentWhateverTheClockSays) {
    EXPECT_EQ(TimerDelay(20000), 21000u);
    EXPECT_EQ(TimerDelay(0), 1000u);
    EXPECT_EQ(TimerDelay(-5000), 1000u); // never at once, never in a loop
    EXPECT_EQ(TimerDelay(int64_t{1} << 40), 25u * 3600 * 1000 + 1000);

    // The wait comes from the same reading as the day: half a second before midnight, the next
    // day is half a second away, not a day and a half.
    constexpr int64_t kHour = 3600 * 1000;
    DayRecord day;
    day.upToDate = true;
    ClockReading lateEvening{24 * kHour - 500, LocalMoment(2026, 12, 6, 23, 59, 59)};
    EXPECT_EQ(NextLookDelay(lateEvening, day, true, MomentOnTheSixth), 1500u);
    ClockReading afternoon{(15 * 60 + 59) * 60 * 1000 + 30000,
                           LocalMoment(2026, 12, 6, 15, 59, 30)};
    day.nextAlert = LocalMoment(2026, 12, 6, 16, 0, 0);
    EXPECT_EQ(NextLookDelay(afternoon, day, true, MomentOnTheSixth), 31000u);
    // Without the folder's notices, a look each minute; after a failed read, one within 30 s.
    day.nextAlert = LocalMoment(2026, 12, 6, 17, 0, 0);
    EXPECT_EQ(NextLookDelay(afternoon, day, false, MomentOnTheSixth), 60000u);
    day.upToDate = false;
    EXPECT_EQ(NextLookDelay(afternoon, day, true, MomentOnTheSixth), 30000u);
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
        // A day ahead across the jump: noon comes an hour sooner than the wall clock says.
        {"Europe/Madrid", UtcInstant(2026, 3, 28, 12, 0), LocalMoment(2026, 3, 29, 12, 0, 0),
         UtcInstant(2026, 3, 29, 10, 0)},
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

// The watch greeted 6 December 2026 at 07:00 and looks at the file as it is at each look.
TEST(TimedAlerts, EachComesAtItsTimeOnceInTimeOrderAndOnlyOnItsDay) {
    const Today today = TodayFromDate(6, 12, 2026);
    const std::string date = "6 Diciembre 2026";
    auto at = [](int hour, int minute, int second = 0) {
        return LocalMoment(2026, 12, 6, hour, minute, second);
    };
    const std::string doctor = "Llamar al m\xE9"
                               "dico";
    std::vector<Reminder> table = {
        MakeReminder("09:30", date, "Comprar pan", 1),
        MakeReminder("17:00", date, "Cena", 1),
        MakeReminder("16:00", date, doctor, 1),
        MakeReminder("16:00", date, doctor, 1), // the same alert again
        MakeReminder("16:00", date, "borrado", 0),
        MakeReminder("16:00", "7 Diciembre 2026",
                     "ma\xF1"
                     "ana",
                     1),
        MakeReminder("##:##", date, "sin hora", 1),
        MakeReminder("16:0x", date, "hora rota", 1),
        MakeReminder("24:00", date, "hora imposible", 1),
        MakeReminder("08:00", date, "Tomar pastilla", 1),
        MakeReminder("20:00", date, "Tomar pastilla", 1), // the same text, another alert
    };
    EXPECT_EQ(AlertMinute("00:00"), 0);
    EXPECT_EQ(AlertMinute("23:59"), 23 * 60 + 59);

    WatchDays watch;
    bool isNew = false;
    DayRecord& day = VisitDay(watch, at(7, 0), isNew);
    ASSERT_TRUE(isNew);
    NoteListShown(day, at(7, 0));
    EXPECT_FALSE(TakeDueAlert(table, today, at(7, 59, 59), day));
    EXPECT_EQ(day.nextAlert, at(8, 0));
    // Due at the second of its time.
    EXPECT_EQ(TakeDueAlert(table, today, at(8, 0), day), 9u);
    EXPECT_FALSE(TakeDueAlert(table, today, at(8, 0, 1), day));
    EXPECT_EQ(TakeDueAlert(table, today, at(9, 30), day), 0u);
    EXPECT_FALSE(TakeDueAlert(table, today, at(9, 30, 1), day));
    EXPECT_EQ(TakeDueAlert(table, today, at(16, 0, 1), day), 2u);
    EXPECT_FALSE(TakeDueAlert(table, today, at(16, 0, 1), day)) << "shown once, its copy with it";
    EXPECT_EQ(day.nextAlert, at(17, 0));

    // A look that shows nothing reads the file up to its moment: an alert shown before and
    // changed after its time is no new alert to come now.
    table[2].text += " (cambiado)";
    EXPECT_FALSE(TakeDueAlert(table, today, at(16, 30), day));
    // Written after its time, noticed by the folder's notice at 16:40 and read a second later:
    // not an alert. One written then for 16:41 comes at 16:41.
    NoteFolderChange(watch, at(16, 40));
    table.push_back(MakeReminder("16:35", date, "tarde", 1));
    table.push_back(MakeReminder("16:41", date, "pronto", 1));
    EXPECT_FALSE(TakeDueAlert(table, today, at(16, 40, 1), day));
    EXPECT_EQ(day.nextAlert, at(16, 41));
    EXPECT_EQ(TakeDueAlert(table, today, at(16, 41), day), table.size() - 1);
    // Its time the second of the last look: read then, not due.
    EXPECT_FALSE(TakeDueAlert(table, today, at(16, 45), day));
    table.push_back(MakeReminder("16:45", date, "en punto", 1));
    EXPECT_FALSE(TakeDueAlert(table, today, at(16, 46), day));

    // After a resume at 20:30: what fell due meanwhile, in time order, even before an earlier
    // entry of the file; the evening's pill too, though the morning's was shown.
    table.push_back(MakeReminder("16:50", date, "Recoger el coche", 1));
    EXPECT_EQ(TakeDueAlert(table, today, at(20, 30), day), table.size() - 1);
    EXPECT_EQ(TakeDueAlert(table, today, at(20, 30), day), 1u);
    EXPECT_EQ(TakeDueAlert(table, today, at(20, 30), day), 10u);
    EXPECT_FALSE(TakeDueAlert(table, today, at(20, 30), day));
    EXPECT_FALSE(day.nextAlert);
}

// A look that could not read the file counts for nothing; each day has its own alerts; a clock
// set back into a day brings that day's alerts still to come, and greets no day twice.
TEST(TimedAlerts, EachDayHasItsOwnAlertsWhateverTheFileOrTheClockDoes) {
    auto sixth = [](int hour, int minute, int second = 0) {
        return LocalMoment(2026, 12, 6, hour, minute, second);
    };
    auto seventh = [](int hour, int minute, int second = 0) {
        return LocalMoment(2026, 12, 7, hour, minute, second);
    };
    std::vector<Reminder> table = {
        MakeReminder("08:00", "6 Diciembre 2026", "Tomar pastilla", 1),
        MakeReminder("09:00", "7 Diciembre 2026", "Reuni\xF3n", 1),
    };
    WatchDays watch;
    bool isNew = false;
    DayRecord& first = VisitDay(watch, sixth(7, 0), isNew);
    NoteListShown(first, sixth(7, 0));
    EXPECT_EQ(TakeDueAlert(table, TodayAt(sixth(8, 0)), sixth(8, 0), first), 0u);
    EXPECT_FALSE(TakeDueAlert(table, TodayAt(sixth(8, 0)), sixth(8, 0), first));

    DayRecord& day = VisitDay(watch, seventh(7, 0), isNew);
    ASSERT_TRUE(isNew);
    NoteListShown(day, seventh(7, 0));
    const Today today = TodayAt(seventh(7, 0));
    EXPECT_EQ(today.longDate, "7 Diciembre 2026");
    EXPECT_FALSE(TakeDueAlert(table, today, seventh(7, 30), day));
    EXPECT_TRUE(DaySeen(watch, seventh(7, 30)));
    // Two alerts written at 07:40; the file then held until 08:10. Neither the failed looks nor a
    // change in the folder meanwhile move the last look: the read after them brings both, in
    // time order, the pill again although the 6th showed the same one.
    table.push_back(MakeReminder("08:01", "7 Diciembre 2026", "Desayuno", 1));
    table.push_back(MakeReminder("08:00", "7 Diciembre 2026", "Tomar pastilla", 1));
    NoteFolderChange(watch, seventh(7, 40));
    NoteFailedRead(VisitDay(watch, seventh(7, 40, 1), isNew));
    EXPECT_FALSE(DaySeen(watch, seventh(7, 40, 1)));
    NoteFailedRead(VisitDay(watch, seventh(8, 0, 1), isNew));
    NoteFolderChange(watch, seventh(8, 5));
    VisitDay(watch, seventh(8, 10), isNew);
    EXPECT_EQ(TakeDueAlert(table, today, seventh(8, 10), day), 3u);
    EXPECT_EQ(TakeDueAlert(table, today, seventh(8, 10), day), 2u);
    EXPECT_FALSE(TakeDueAlert(table, today, seventh(8, 10), day));
    EXPECT_EQ(day.nextAlert, seventh(9, 0));
    // A change noticed at an alert's second, before the timer's look, leaves the alert due.
    EXPECT_FALSE(DaySeen(watch, seventh(9, 0))) << "an alert is due";
    NoteFolderChange(watch, seventh(9, 0));
    EXPECT_EQ(TakeDueAlert(table, today, seventh(9, 0, 1), day), 1u);

    // The clock set back from the 7th to 07:50 of the 6th: the 6th is not greeted again, what it
    // showed does not come again, and an alert for later that day, written on the 7th, comes.
    table.push_back(MakeReminder("07:55", "6 Diciembre 2026", "Regar", 1));
    DayRecord& again = VisitDay(watch, sixth(7, 50), isNew);
    EXPECT_FALSE(isNew);
    EXPECT_FALSE(TakeDueAlert(table, TodayAt(sixth(7, 50)), sixth(7, 50), again));
    EXPECT_EQ(again.nextAlert, sixth(7, 55));
    EXPECT_EQ(TakeDueAlert(table, TodayAt(sixth(8, 0)), sixth(8, 0), again), 4u);
    EXPECT_FALSE(TakeDueAlert(table, TodayAt(sixth(8, 0)), sixth(8, 0), again));
    // Forward again into the 7th: neither greeted nor alerted twice.
    VisitDay(watch, seventh(9, 30), isNew);
    EXPECT_FALSE(isNew);
    EXPECT_FALSE(TakeDueAlert(table, today, seventh(9, 30), day));
}

// Each day of two years once: walked forwards, and then again as if the clock had gone back.
TEST(DayWatchRules, EachDayIsGreetedOnceWhateverTheClockDoes) {
    using namespace std::chrono;
    WatchDays watch;
    for (bool again : {false, true}) {
        for (sys_days day = year{2026} / 1 / 1; day < year{2028} / 1 / 1; day += days{1}) {
            year_month_day date{day};
            int64_t noon = LocalMoment(int(date.year()), unsigned(date.month()),
                                       unsigned(date.day()), 12, 0, 0);
            bool isNew = false;
            VisitDay(watch, noon, isNew);
            EXPECT_EQ(isNew, !again) << noon;
        }
    }
}
