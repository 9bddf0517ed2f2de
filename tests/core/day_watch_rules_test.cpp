#include "day_watch_rules.h"
#include "greeting.h"
#include "local_moment.h"
#include "timed_alerts.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <ctime>
#include <optional>
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
    NoteListShown(table, today, at(7, 0), day);
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
    // Written while that alert's box is open, for a time past by then: noted at once, not due.
    NoteFolderChange(watch, at(16, 43));
    table.push_back(MakeReminder("16:42", date, "con la caja abierta", 1));
    EXPECT_FALSE(TakeDueAlert(table, today, at(16, 44), day));
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
    NoteListShown(table, TodayAt(sixth(7, 0)), sixth(7, 0), first);
    EXPECT_EQ(TakeDueAlert(table, TodayAt(sixth(8, 0)), sixth(8, 0), first), 0u);
    EXPECT_FALSE(TakeDueAlert(table, TodayAt(sixth(8, 0)), sixth(8, 0), first));

    DayRecord& day = VisitDay(watch, seventh(7, 0), isNew);
    ASSERT_TRUE(isNew);
    const Today today = TodayAt(seventh(7, 0));
    EXPECT_EQ(today.longDate, "7 Diciembre 2026");
    NoteListShown(table, today, seventh(7, 0), day);
    EXPECT_FALSE(TakeDueAlert(table, today, seventh(7, 30), day));
    EXPECT_EQ(MomentToRemember(watch), seventh(7, 30));
    // Two alerts written at 07:40; the file then held until 08:10. Neither the failed looks nor a
    // change in the folder meanwhile move the last look: the read after them brings both, in
    // time order, the pill again although the 6th showed the same one.
    table.push_back(MakeReminder("08:01", "7 Diciembre 2026", "Desayuno", 1));
    table.push_back(MakeReminder("08:00", "7 Diciembre 2026", "Tomar pastilla", 1));
    NoteFolderChange(watch, seventh(7, 40));
    NoteFailedRead(VisitDay(watch, seventh(7, 40, 1), isNew));
    EXPECT_FALSE(MomentToRemember(watch)) << "a look that could not read the file";
    NoteFailedRead(VisitDay(watch, seventh(8, 0, 1), isNew));
    NoteFolderChange(watch, seventh(8, 5));
    VisitDay(watch, seventh(8, 10), isNew);
    EXPECT_EQ(TakeDueAlert(table, today, seventh(8, 10), day), 3u);
    EXPECT_EQ(TakeDueAlert(table, today, seventh(8, 10), day), 2u);
    EXPECT_FALSE(TakeDueAlert(table, today, seventh(8, 10), day));
    EXPECT_EQ(day.nextAlert, seventh(9, 0));
    // A change noticed at an alert's second, before the timer's look, leaves the alert due.
    NoteFolderChange(watch, seventh(9, 0));
    EXPECT_EQ(TakeDueAlert(table, today, seventh(9, 0, 1), day), 1u);

    // The clock set back from the 7th to 07:50 of the 6th: the 6th is not greeted again, what it
    // showed does not come again, and an alert for later that day, written on the 7th, comes.
    table.push_back(MakeReminder("07:55", "6 Diciembre 2026", "Regar", 1));
    table.push_back(MakeReminder("09:15", "7 Diciembre 2026", "Correo", 1));
    DayRecord& again = VisitDay(watch, sixth(7, 50), isNew);
    EXPECT_FALSE(isNew);
    EXPECT_FALSE(TakeDueAlert(table, TodayAt(sixth(7, 50)), sixth(7, 50), again));
    EXPECT_EQ(again.nextAlert, sixth(7, 55));
    EXPECT_EQ(TakeDueAlert(table, TodayAt(sixth(8, 0)), sixth(8, 0), again), 4u);
    EXPECT_FALSE(TakeDueAlert(table, TodayAt(sixth(8, 0)), sixth(8, 0), again));
    // Forward again to 09:30 of the 7th, which was seen early: greeted again, and what fell due
    // by its list's read is in the list, not an alert.
    DayRecord& later = VisitDay(watch, seventh(9, 30), isNew);
    EXPECT_TRUE(isNew);
    NoteListShown(table, today, seventh(9, 30), later);
    EXPECT_FALSE(TakeDueAlert(table, today, seventh(9, 31), later));
    // Set back within the day to before the list's read, then forward: the list's reminders do
    // not come again, and what fell due after the later look does.
    table.push_back(MakeReminder("10:00", "7 Diciembre 2026", "Caf\xE9", 1));
    VisitDay(watch, seventh(9, 0), isNew);
    EXPECT_FALSE(TakeDueAlert(table, today, seventh(9, 20), later)) << "the list's 09:15";
    VisitDay(watch, seventh(10, 30), isNew);
    EXPECT_EQ(TakeDueAlert(table, today, seventh(10, 30), later), table.size() - 1);
}

// Each day of two years is greeted once as the clock goes forward, and the watch keeps only the
// latest few. Set back three days, to days it has seen, it greets none of them, and the days it
// saw early are greeted again when they come.
TEST(DayWatchRules, EachDayIsGreetedOnceAndADaySeenEarlyAgainWhenItComes) {
    using namespace std::chrono;
    WatchDays watch;
    auto visit = [&](sys_days day, int hour) {
        year_month_day date{day};
        bool isNew = false;
        VisitDay(
            watch,
            LocalMoment(int(date.year()), unsigned(date.month()), unsigned(date.day()), hour, 0, 0),
            isNew);
        return isNew;
    };
    const sys_days end = year{2028} / 1 / 1;
    for (sys_days day = year{2026} / 1 / 1; day < end; day += days{1})
        EXPECT_TRUE(visit(day, 12) && !visit(day, 13)) << day.time_since_epoch().count();
    EXPECT_LE(watch.days.size(), kDaysKept);
    for (int back : {3, 2, 1})
        EXPECT_EQ(visit(end - days{back}, 9), back != 3) << back;
}

// What the watch kept from its last run decides where it goes on, and which days the user missed.
TEST(DayWatchRules, ARestartGoesOnFromTheLastLookAndTheDaysBetweenAreMissed) {
    auto moment = [](int year, int month, int day, int hour, int minute, int second = 0) {
        return LocalMoment(year, month, day, hour, minute, second);
    };
    std::vector<Reminder> table = {MakeReminder("16:00", "6 Diciembre 2026", "Llamar", 1)};
    struct Start {
        std::optional<int64_t> remembered;
        bool restarted;
        bool greeted; // whether the 6th at 16:00:30 is greeted
    };
    for (const Start& start :
         {Start{moment(2026, 12, 6, 15, 59, 52), true, false},
          Start{moment(2026, 12, 6, 15, 59, 52), false, true},
          Start{moment(2026, 12, 5, 23, 59, 58), true, true},
          Start{moment(2026, 12, 9, 8, 0), true, true}, Start{std::nullopt, true, true}}) {
        WatchDays watch;
        StartDays(watch, start.remembered, moment(2026, 12, 6, 16, 0, 30), start.restarted);
        bool isNew = false;
        DayRecord& day = VisitDay(watch, moment(2026, 12, 6, 16, 0, 30), isNew);
        EXPECT_EQ(isNew, start.greeted) << start.remembered.value_or(0) << start.restarted;
        if (!isNew) {
            EXPECT_EQ(TakeDueAlert(table, TodayAt(moment(2026, 12, 6, 16, 0, 30)),
                                   moment(2026, 12, 6, 16, 0, 30), day),
                      0u)
                << "the alert due between the two watches";
        }
    }

    // What was kept is taken only as a moment of a real date.
    EXPECT_TRUE(IsLocalMoment(moment(2024, 2, 29, 23, 59, 59)));
    for (int64_t kept : {moment(2023, 2, 29, 12, 0), moment(2026, 12, 6, 24, 0), int64_t{0},
                         moment(2026, 4, 31, 12, 0), moment(1600, 12, 31, 12, 0), int64_t{-1}})
        EXPECT_FALSE(IsLocalMoment(kept)) << kept;

    // Out of order in the file; the remembered day and today have their own boxes; a leap day
    // and a year's end; dates only alike.
    table = {MakeReminder("09:00", "1 Marzo 2028", "marzo", 1),
             MakeReminder("##:##", "29 Febrero 2028", "bisiesto", 1),
             MakeReminder("10:00", "27 Febrero 2028", "visto", 1),
             MakeReminder("11:00", "2 Marzo 2028", "hoy", 1),
             MakeReminder("12:00", "28 Febrero 2028", "borrado", 0),
             MakeReminder("13:00", "29 Febrero 2028", "otra", 1),
             MakeReminder("14:00", "01 Marzo 2028", "cero", 1),
             MakeReminder("15:00", "29 Febrero 2027", "no existe", 1),
             MakeReminder("16:00", "31 Diciembre 2027", "nochevieja", 1)};
    auto texts = [&](std::optional<int64_t> remembered, int year, int month, int day) {
        std::string found;
        for (const MissedReminder& missed :
             MissedReminders(table, remembered,
                             TodayFromDate(static_cast<int16_t>(day), static_cast<int16_t>(month),
                                           static_cast<int16_t>(year))))
            found += table[missed.index].text + "/" + missed.day.shortDate + " " +
                     missed.day.weekday + ";";
        return found;
    };
    EXPECT_EQ(texts(moment(2028, 2, 27, 9, 0), 2028, 3, 2),
              "bisiesto/29/02/2028 Martes;otra/29/02/2028 Martes;marzo/01/03/2028 Miercoles;");
    EXPECT_EQ(texts(moment(2027, 12, 30, 9, 0), 2028, 1, 1), "nochevieja/31/12/2027 Viernes;");
    EXPECT_EQ(texts(std::nullopt, 2028, 3, 2), "") << "nothing remembered: a first start";
    EXPECT_EQ(texts(moment(2028, 3, 2, 8, 0), 2028, 3, 2), "");
    EXPECT_EQ(texts(moment(2028, 3, 9, 8, 0), 2028, 3, 2), "") << "remembered under a clock ahead";
}
