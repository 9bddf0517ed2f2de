#include "day_watch_rules.h"
#include "greeting.h"
#include "local_moment.h"
#include "seen_record.h"
#include "timed_alerts.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <ctime>
#include <map>
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

// A look of the watch that shows the alert due, if any, and has its box closed at once.
std::optional<size_t> Due(WatchState& watch, const std::vector<Reminder>& table, const Today& today,
                          int64_t now) {
    std::optional<DueAlert> due = TakeDueAlert(watch, table, today, now);
    if (!due)
        return std::nullopt;
    NoteAlertClosed(watch, due->id);
    return due->index;
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
    WatchState watch;
    watch.lastLookRead = true;
    ClockReading lateEvening{24 * kHour - 500, LocalMoment(2026, 12, 6, 23, 59, 59)};
    EXPECT_EQ(NextLookDelay(lateEvening, watch, true, MomentOnTheSixth), 1500u);
    ClockReading afternoon{(15 * 60 + 59) * 60 * 1000 + 30000,
                           LocalMoment(2026, 12, 6, 15, 59, 30)};
    watch.nextAlert = LocalMoment(2026, 12, 6, 16, 0, 0);
    EXPECT_EQ(NextLookDelay(afternoon, watch, true, MomentOnTheSixth), 31000u);
    // Without the folder's notices, a look each minute; after a failed read, one within 30 s.
    watch.nextAlert = LocalMoment(2026, 12, 6, 17, 0, 0);
    EXPECT_EQ(NextLookDelay(afternoon, watch, false, MomentOnTheSixth), 60000u);
    watch.seen.snoozed = {Snooze{ReminderId{LocalMoment(2026, 12, 6, 9, 0, 0), 1},
                                 LocalMoment(2026, 12, 6, 16, 0, 0)}};
    EXPECT_EQ(NextLookDelay(afternoon, watch, true, MomentOnTheSixth), 31000u) << "a snooze's end";
    watch.lastLookRead = false;
    EXPECT_EQ(NextLookDelay(afternoon, watch, true, MomentOnTheSixth), 30000u);
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

    WatchState watch;
    ASSERT_EQ(VisitClock(watch, at(7, 0)), DueAtLook::Greeting);
    ReadDayList(watch, table, today, at(7, 0));
    EXPECT_FALSE(Due(watch, table, today, at(7, 59, 59)));
    EXPECT_EQ(watch.nextAlert, at(8, 0));
    // Due at the second of its time.
    EXPECT_EQ(Due(watch, table, today, at(8, 0)), 9u);
    EXPECT_FALSE(Due(watch, table, today, at(8, 0, 1)));
    EXPECT_EQ(Due(watch, table, today, at(9, 30)), 0u);
    EXPECT_FALSE(Due(watch, table, today, at(9, 30, 1)));
    EXPECT_EQ(Due(watch, table, today, at(16, 0, 1)), 2u);
    EXPECT_FALSE(Due(watch, table, today, at(16, 0, 1))) << "shown once, its copy with it";
    EXPECT_EQ(watch.nextAlert, at(17, 0));

    // A look that shows nothing reads the file up to its moment: an alert shown before and
    // changed after its time is no new alert to come now.
    table[2].text += " (cambiado)";
    EXPECT_FALSE(Due(watch, table, today, at(16, 30)));
    // Written after its time, noticed by the folder's notice at 16:40 and read a second later:
    // not an alert. One written then for 16:41 comes at 16:41.
    NoteFolderChange(watch, at(16, 40));
    table.push_back(MakeReminder("16:35", date, "tarde", 1));
    table.push_back(MakeReminder("16:41", date, "pronto", 1));
    EXPECT_FALSE(Due(watch, table, today, at(16, 40, 1)));
    EXPECT_EQ(watch.nextAlert, at(16, 41));
    EXPECT_EQ(Due(watch, table, today, at(16, 41)), table.size() - 1);
    // Written while that alert's box is open, noted at once: one for a time past by then, not
    // due, and one for the next minute, due when the box is closed after it, although another
    // change was noted meanwhile.
    NoteFolderChange(watch, at(16, 43));
    table.push_back(MakeReminder("16:42", date, "con la caja abierta", 1));
    table.push_back(MakeReminder("16:44", date, "por venir", 1));
    NoteFolderChange(watch, at(16, 44, 30));
    EXPECT_EQ(Due(watch, table, today, at(16, 44, 40)), table.size() - 1);
    EXPECT_FALSE(Due(watch, table, today, at(16, 44, 40)));
    // Its time the second of the last look: read then, not due.
    EXPECT_FALSE(Due(watch, table, today, at(16, 45)));
    table.push_back(MakeReminder("16:45", date, "en punto", 1));
    EXPECT_FALSE(Due(watch, table, today, at(16, 46)));

    // After a resume at 20:30: what fell due meanwhile, in time order, even before an earlier
    // entry of the file; the evening's pill too, though the morning's was shown.
    table.push_back(MakeReminder("16:50", date, "Recoger el coche", 1));
    EXPECT_EQ(Due(watch, table, today, at(20, 30)), table.size() - 1);
    EXPECT_EQ(Due(watch, table, today, at(20, 30)), 1u);
    EXPECT_EQ(Due(watch, table, today, at(20, 30)), 10u);
    EXPECT_FALSE(Due(watch, table, today, at(20, 30)));
    EXPECT_FALSE(watch.nextAlert);
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
    WatchState watch;
    ASSERT_EQ(VisitClock(watch, sixth(7, 0)), DueAtLook::Greeting);
    ReadDayList(watch, table, TodayAt(sixth(7, 0)), sixth(7, 0));
    EXPECT_EQ(Due(watch, table, TodayAt(sixth(8, 0)), sixth(8, 0)), 0u);
    EXPECT_FALSE(Due(watch, table, TodayAt(sixth(8, 0)), sixth(8, 0)));

    ASSERT_EQ(VisitClock(watch, seventh(7, 0)), DueAtLook::Greeting);
    const Today today = TodayAt(seventh(7, 0));
    EXPECT_EQ(today.longDate, "7 Diciembre 2026");
    ReadDayList(watch, table, today, seventh(7, 0));
    EXPECT_FALSE(Due(watch, table, today, seventh(7, 30)));
    // Two alerts written at 07:40; the file then held until 08:10. Neither the failed looks nor a
    // change in the folder meanwhile move the last read: the read after them brings both, in
    // time order, the pill again although the 6th showed the same one.
    table.push_back(MakeReminder("08:01", "7 Diciembre 2026", "Desayuno", 1));
    table.push_back(MakeReminder("08:00", "7 Diciembre 2026", "Tomar pastilla", 1));
    NoteFolderChange(watch, seventh(7, 40));
    EXPECT_EQ(VisitClock(watch, seventh(7, 40, 1)), DueAtLook::Alerts);
    NoteFailedRead(watch);
    EXPECT_EQ(watch.seen.seenThrough, seventh(7, 40)) << "seen up to the last read";
    VisitClock(watch, seventh(8, 0, 1));
    NoteFailedRead(watch);
    NoteFolderChange(watch, seventh(8, 5));
    VisitClock(watch, seventh(8, 10));
    EXPECT_EQ(watch.seen.seenThrough, seventh(7, 40)) << "seen without a read";
    EXPECT_EQ(Due(watch, table, today, seventh(8, 10)), 3u);
    EXPECT_EQ(Due(watch, table, today, seventh(8, 10)), 2u);
    EXPECT_FALSE(Due(watch, table, today, seventh(8, 10)));
    EXPECT_EQ(watch.nextAlert, seventh(9, 0));
    // A change noticed at an alert's second, before the timer's look, leaves the alert due.
    NoteFolderChange(watch, seventh(9, 0));
    EXPECT_EQ(Due(watch, table, today, seventh(9, 0, 1)), 1u);

    // The clock set back from the 7th to 07:50 of the 6th: the 6th is not greeted again, what it
    // showed does not come again, and an alert for later that day, written on the 7th, comes.
    table.push_back(MakeReminder("07:55", "6 Diciembre 2026", "Regar", 1));
    table.push_back(MakeReminder("09:15", "7 Diciembre 2026", "Correo", 1));
    EXPECT_EQ(VisitClock(watch, sixth(7, 50)), DueAtLook::Alerts);
    EXPECT_FALSE(Due(watch, table, TodayAt(sixth(7, 50)), sixth(7, 50)));
    EXPECT_EQ(watch.nextAlert, sixth(7, 55));
    EXPECT_EQ(Due(watch, table, TodayAt(sixth(8, 0)), sixth(8, 0)), 4u);
    EXPECT_FALSE(Due(watch, table, TodayAt(sixth(8, 0)), sixth(8, 0)));
    EXPECT_EQ(watch.seen.seenThrough, seventh(9, 0, 1)) << "what was seen stays seen";
    // Forward again to 09:30 of the 7th, which was seen early: greeted again, and what fell due
    // by its list's read is in the list, not an alert.
    EXPECT_EQ(VisitClock(watch, seventh(9, 30)), DueAtLook::Greeting);
    ReadDayList(watch, table, today, seventh(9, 30));
    EXPECT_FALSE(Due(watch, table, today, seventh(9, 31)));
    // Set back within the day to before the list's read, at the look the watch makes then, and
    // forward: the list's reminders do not come again, and what fell due after the later look
    // does.
    table.push_back(MakeReminder("10:00", "7 Diciembre 2026", "Caf\xE9", 1));
    EXPECT_EQ(VisitClock(watch, seventh(9, 0)), DueAtLook::Alerts);
    EXPECT_FALSE(Due(watch, table, today, seventh(9, 0)));
    EXPECT_EQ(watch.nextAlert, seventh(10, 0)) << "the list's 09:15";
    VisitClock(watch, seventh(9, 20));
    EXPECT_FALSE(Due(watch, table, today, seventh(9, 20)));
    VisitClock(watch, seventh(10, 30));
    EXPECT_EQ(Due(watch, table, today, seventh(10, 30)), table.size() - 1);
}

// Each day of two years is greeted once as the clock goes forward, and the watch keeps only the
// latest few: set back to the oldest day kept, it greets none, and to the day before, it does.
// Set back three days, to days it has seen, it greets none of them, and the days it saw early
// are greeted again when they come.
TEST(DayWatchRules, EachDayIsGreetedOnceAndADaySeenEarlyAgainWhenItComes) {
    using namespace std::chrono;
    WatchState watch;
    auto visit = [&](sys_days day, int hour) {
        year_month_day date{day};
        DueAtLook due = VisitClock(watch, LocalMoment(int(date.year()), unsigned(date.month()),
                                                      unsigned(date.day()), hour, 0, 0));
        if (due != DueAtLook::Alerts)
            watch.days[DayOf(LocalMoment(int(date.year()), unsigned(date.month()),
                                         unsigned(date.day()), 0, 0, 0))] = true;
        return due == DueAtLook::Greeting;
    };
    const sys_days end = year{2028} / 1 / 1;
    for (sys_days day = year{2026} / 1 / 1; day < end; day += days{1})
        EXPECT_TRUE(visit(day, 12) && !visit(day, 13)) << day.time_since_epoch().count();
    EXPECT_EQ(watch.days.size(), kDaysKept);
    WatchState saved = watch;
    EXPECT_FALSE(visit(end - days{kDaysKept}, 9)) << "the oldest day kept";
    watch = saved;
    EXPECT_TRUE(visit(end - days{kDaysKept + 1}, 9)) << "the day before the oldest kept";
    watch = saved;
    for (int back : {3, 2, 1})
        EXPECT_EQ(visit(end - days{back}, 9), back != 3) << back;
}

// What the watch kept from its last run decides where it goes on, and which days the user missed.
TEST(DayWatchRules, ARestartGoesOnFromTheLastLookAndTheDaysBetweenAreMissed) {
    auto moment = [](int year, int month, int day, int hour, int minute, int second = 0) {
        return LocalMoment(year, month, day, hour, minute, second);
    };
    std::vector<Reminder> table = {MakeReminder("16:00", "6 Diciembre 2026", "Llamar", 1),
                                   MakeReminder("09:00", "6 Diciembre 2026", "Temprano", 1)};
    struct Start {
        std::optional<int64_t> seenThrough;
        bool restarted;
        bool greeted; // whether the 6th at 16:00:30 is greeted
    };
    const int64_t now = moment(2026, 12, 6, 16, 0, 30);
    for (const Start& start :
         {Start{moment(2026, 12, 6, 15, 59, 52), true, false},
          Start{moment(2026, 12, 6, 15, 59, 52), false, true},
          Start{moment(2026, 12, 5, 23, 59, 58), true, true},
          Start{moment(2026, 12, 9, 8, 0), true, true}, Start{std::nullopt, true, true}}) {
        WatchState watch;
        std::optional<SeenRecord> kept;
        if (start.seenThrough)
            kept = SeenRecord{*start.seenThrough, {}};
        StartWatch(watch, kept, now, start.restarted);
        DueAtLook due = VisitClock(watch, now);
        EXPECT_EQ(due == DueAtLook::Greeting, start.greeted)
            << start.seenThrough.value_or(0) << start.restarted;
        if (due == DueAtLook::Alerts) {
            EXPECT_EQ(Due(watch, table, TodayAt(now), now), 0u)
                << "the alert due between the two watches";
            EXPECT_FALSE(Due(watch, table, TodayAt(now), now)) << "the 09:00 came again";
        }
    }

    // What was kept is taken only as a moment of a real date.
    EXPECT_TRUE(IsLocalMoment(moment(2024, 2, 29, 23, 59, 59)));
    for (int64_t kept : {moment(2023, 2, 29, 12, 0), moment(2026, 12, 6, 24, 0), int64_t{0},
                         moment(2026, 4, 31, 12, 0), moment(1600, 12, 31, 12, 0), int64_t{-1}})
        EXPECT_FALSE(IsLocalMoment(kept)) << kept;

    // Out of order in the file; the remembered day and today have their own boxes; a leap day
    // and a year's end; dates only alike.
    table = {MakeReminder("18:00", "29 Febrero 2028", "tarde", 1),
             MakeReminder("09:00", "1 Marzo 2028", "marzo", 1),
             MakeReminder("00:00", "29 Febrero 2028", "medianoche", 1),
             MakeReminder("##:##", "29 Febrero 2028", "bisiesto", 1),
             MakeReminder("10:00", "27 Febrero 2028", "visto", 1),
             MakeReminder("11:00", "2 Marzo 2028", "hoy", 1),
             MakeReminder("12:00", "28 Febrero 2028", "borrado", 0),
             MakeReminder("13:00", "29 Febrero 2028", "otra", 1),
             MakeReminder("14:00", "01 Marzo 2028", "cero", 1),
             MakeReminder("15:00", "29 Febrero 2027", "no existe", 1),
             MakeReminder("16:00", "31 Diciembre 2027", "nochevieja", 1),
             MakeReminder("13:00", "29 Febrero 2028", "otra igual", 1)};
    auto texts = [&](int64_t seenThrough, int year, int month, int day) {
        std::string found;
        for (const ListBox& missed :
             MissedReminders(table, SeenRecord{seenThrough, {}},
                             TodayFromDate(static_cast<int16_t>(day), static_cast<int16_t>(month),
                                           static_cast<int16_t>(year))))
            found += table[missed.index].text + "/" + missed.day.shortDate + " " +
                     missed.day.weekday + ";";
        return found;
    };
    EXPECT_EQ(texts(moment(2028, 2, 27, 9, 0), 2028, 3, 2),
              "visto/27/02/2028 Domingo;bisiesto/29/02/2028 Martes;medianoche/29/02/2028 Martes;"
              "otra/29/02/2028 Martes;"
              "otra igual/29/02/2028 Martes;tarde/29/02/2028 Martes;marzo/01/03/2028 Miercoles;");
    EXPECT_EQ(texts(moment(2027, 12, 30, 9, 0), 2028, 1, 1), "nochevieja/31/12/2027 Viernes;");
    EXPECT_EQ(texts(moment(2028, 3, 2, 8, 0), 2028, 3, 2), "");
    EXPECT_EQ(texts(moment(2028, 3, 9, 8, 0), 2028, 3, 2), "") << "seen under a clock ahead";
    // A first start counts from the start of its day.
    WatchState first;
    StartWatch(first, std::nullopt, moment(2028, 3, 2, 8, 0), false);
    EXPECT_EQ(first.seen, (SeenRecord{moment(2028, 3, 1, 23, 59, 59), {}}));
    EXPECT_TRUE(first.seenUnsaved);
}

namespace {

using Boxes = std::vector<std::string>;

int64_t At(int year, int month, int day, int hour, int minute) {
    return LocalMoment(year, month, day, hour, minute, 0);
}

// The watch as its window runs it, over the rules alone: each look shows what is due, the
// greeting and the day's list one box after the other, and then the alerts window, whose lines
// the user closes oldest first, or puts off by the minutes that `snoozes` gives for its text
// (once). What was seen is kept after each box and line, in the bytes the watch keeps.
struct WatchRun {
    std::vector<Reminder> file;
    std::string kept = {}; // the registry value; empty while nothing is kept
    std::map<std::string, int> snoozes = {};
    WatchState state = {};

    // A logon, or the installer's restart of the watch, at `now`: a new process.
    Boxes Start(int64_t now, bool restarted = false, size_t closes = SIZE_MAX) {
        state = {};
        StartWatch(state, kept.empty() ? std::nullopt : ReadSeenRecord(kept), now, restarted);
        return Look(now, closes);
    }
    // What a look at `now` shows, each box and line closed as it comes, until the power is cut
    // with the box or line after `closes` open.
    Boxes Look(int64_t now, size_t closes = SIZE_MAX) {
        Boxes shown;
        auto close = [&](std::string box) {
            shown.push_back(std::move(box));
            return shown.size() <= closes;
        };
        std::vector<std::pair<ReminderId, std::string>> window;
        auto line = [&](const ReminderId& id, size_t index) {
            window.emplace_back(
                id, (DayOf(id.moment) == DayOf(now)
                         ? "alert "
                         : "missed " + TodayAt(id.moment).shortDate.substr(0, 5) + " ") +
                        file[index].text);
        };
        for (;;) {
            Today today = TodayAt(now);
            DueAtLook due = VisitClock(state, now);
            if (due == DueAtLook::Greeting && !close("greeting " + today.shortDate.substr(0, 5)))
                return shown;
            Keep();
            if (due == DueAtLook::Alerts)
                break;
            DayList list = ReadDayList(state, file, today, now);
            for (const ListBox& missed : list.missed)
                line(*missed.seenWhenClosed, missed.index);
            for (size_t i = 0; i < list.boxes.size(); ++i) {
                if (!close("list " + file[list.boxes[i].index].text))
                    return shown;
                NoteListBoxClosed(state, list, i);
                Keep();
            }
        }
        // Bounded: a rule that gave the same line again and again fails here, not hangs.
        while (window.size() <= file.size())
            if (std::optional<DueAlert> snoozed = TakeDueSnooze(state, file, now))
                line(snoozed->id, snoozed->index);
            else
                break;
        while (std::optional<DueAlert> alert = TakeDueAlert(state, file, TodayAt(now), now))
            line(alert->id, alert->index);
        std::stable_sort(window.begin(), window.end(), [](const auto& a, const auto& b) {
            return a.first.moment < b.first.moment;
        });
        for (const auto& [id, text] : window) {
            if (!close(text))
                return shown;
            if (auto snooze = snoozes.find(text); snooze != snoozes.end()) {
                NoteAlertSnoozed(state, id, MomentAfter(now, snooze->second * 60));
                snoozes.erase(snooze);
            } else {
                NoteAlertClosed(state, id);
            }
            Keep();
        }
        return shown;
    }
    // The session ends: the watch keeps what it has seen.
    void End() { Keep(); }
    void Keep() {
        if (state.seenUnsaved)
            kept = SeenRecordBytes(state.seen);
        state.seenUnsaved = false;
    }
};

} // namespace

// Whatever the clock does, a reminder that the user closed never comes as missed again, and
// each one comes at least once at or after its moment.
TEST(WhatWasSeen, StaysSeenAndEachReminderComesOnce) {
    {
        // A clock behind at a logon, once by a few days, once years back (a flat battery): the
        // days seen do not come again, and the next day shows what it always shows.
        WatchRun run{{MakeReminder("10:00", "5 Diciembre 2026", "cinco", 1),
                      MakeReminder("09:00", "6 Diciembre 2026", "seis", 1),
                      MakeReminder("##:##", "1 Diciembre 2026", "uno", 1),
                      MakeReminder("##:##", "7 Diciembre 2026", "siete", 1)}};
        EXPECT_EQ(run.Start(At(2026, 12, 5, 12, 0)), (Boxes{"greeting 05/12", "list cinco"}));
        run.End();
        EXPECT_EQ(run.Start(At(2026, 12, 6, 12, 0)), (Boxes{"greeting 06/12", "list seis"}));
        run.End();
        EXPECT_EQ(run.Start(At(2026, 12, 1, 8, 0)), (Boxes{"greeting 01/12", "list uno"}));
        run.End();
        EXPECT_EQ(run.Start(At(2019, 1, 1, 0, 5)), (Boxes{"greeting 01/01"}));
        run.End();
        EXPECT_EQ(run.Start(At(2026, 12, 7, 8, 0)), (Boxes{"greeting 07/12", "list siete"}));
    }
    {
        // Written after the day's list, for later that day; the next alert closed, then a power
        // cut: the next day brings it, and the list's reminder for the evening, in time order.
        WatchRun run{{MakeReminder("17:00", "8 Diciembre 2026", "cena", 1),
                      MakeReminder("11:00", "8 Diciembre 2026", "reuni\xF3n", 1)}};
        EXPECT_EQ(run.Start(At(2026, 12, 8, 10, 59)),
                  (Boxes{"greeting 08/12", "list cena", "list reuni\xF3n"}));
        run.file.push_back(MakeReminder("16:00", "8 Diciembre 2026", "dentista", 1));
        EXPECT_EQ(run.Look(At(2026, 12, 8, 11, 0)), (Boxes{"alert reuni\xF3n"}));
        EXPECT_EQ(run.Start(At(2026, 12, 9, 8, 0)),
                  (Boxes{"greeting 09/12", "missed 08/12 dentista", "missed 08/12 cena"}));
    }
    {
        // The list left open from 08:00 to 10:00, the first alert and one of two at 09:00 closed
        // and the other open when the installer ends the watch: the new watch brings that alone.
        WatchRun run{{MakeReminder("09:00", "8 Diciembre 2026", "segunda", 1),
                      MakeReminder("08:30", "8 Diciembre 2026", "primera", 1),
                      MakeReminder("09:00", "8 Diciembre 2026", "tercera", 1),
                      MakeReminder("08:00", "8 Diciembre 2026", "en punto", 1)}};
        run.Start(At(2026, 12, 8, 8, 0)); // "en punto" in the list, not as an alert
        EXPECT_EQ(run.Look(At(2026, 12, 8, 10, 0), 2),
                  (Boxes{"alert primera", "alert segunda", "alert tercera"}));
        EXPECT_EQ(run.Start(At(2026, 12, 8, 10, 1), true), (Boxes{"alert tercera"}));
        EXPECT_EQ(run.Look(At(2026, 12, 8, 10, 2)), Boxes{});
    }
    {
        // A power cut after each box of the missed days, two without a time (one moment): each
        // closed one comes once, oldest day first, those without a time first, then by time.
        WatchRun run{{MakeReminder("10:00", "6 Diciembre 2026", "d", 1),
                      MakeReminder("09:00", "5 Diciembre 2026", "c", 1),
                      MakeReminder("##:##", "5 Diciembre 2026", "a", 1),
                      MakeReminder("##:##", "5 Diciembre 2026", "b", 1)}};
        run.Start(At(2026, 12, 4, 20, 0));
        run.End();
        Boxes closed;
        for (int logon = 0; logon < 4; ++logon) {
            Boxes shown = run.Start(At(2026, 12, 7, 8, logon), false, 2);
            ASSERT_EQ(shown.size(), logon < 3 ? 3u : 2u) << logon;
            closed.push_back(shown[1]);
        }
        EXPECT_EQ(closed,
                  (Boxes{"missed 05/12 a", "missed 05/12 b", "missed 05/12 c", "missed 06/12 d"}));
        EXPECT_EQ(run.Start(At(2026, 12, 7, 8, 5)), (Boxes{"greeting 07/12"}));
    }
    {
        // A clock set ahead, then right: the days reached early are greeted and listed when they
        // come, their alerts come at their time, and nothing they showed comes as missed.
        WatchRun run{{MakeReminder("16:00", "9 Diciembre 2026", "nueve", 1),
                      MakeReminder("##:##", "15 Diciembre 2026", "quince", 1),
                      MakeReminder("##:##", "20 Diciembre 2026", "veinte", 1),
                      MakeReminder("16:00", "20 Diciembre 2026", "tarde", 1)}};
        run.Start(At(2026, 12, 8, 12, 0));
        run.End();
        EXPECT_EQ(run.Start(At(2026, 12, 20, 12, 0)),
                  (Boxes{"greeting 20/12", "list veinte", "list tarde", "missed 09/12 nueve",
                         "missed 15/12 quince"}));
        EXPECT_EQ(run.Look(At(2026, 12, 20, 16, 0)), (Boxes{"alert tarde"}));
        // Put right while the watch runs, until the day seen early comes.
        EXPECT_EQ(run.Look(At(2026, 12, 9, 10, 0)), (Boxes{"greeting 09/12", "list nueve"}));
        EXPECT_EQ(run.Look(At(2026, 12, 20, 12, 0)),
                  (Boxes{"greeting 20/12", "list veinte", "list tarde"}));
        EXPECT_EQ(run.Look(At(2026, 12, 20, 16, 0)), (Boxes{"alert tarde"}));
        run.End();
        EXPECT_EQ(run.Start(At(2026, 12, 9, 12, 0)), (Boxes{"greeting 09/12", "list nueve"}));
        EXPECT_EQ(run.Look(At(2026, 12, 9, 16, 0)), (Boxes{"alert nueve"}));
        EXPECT_EQ(run.Start(At(2026, 12, 15, 12, 0)), (Boxes{"greeting 15/12", "list quince"}));
    }
}

// A reminder put off comes back once at the end of its snooze: in the same run, after the
// installer's restart, or as missed at the next greeting if the watch was not running then;
// never if it was deleted meanwhile. One left open in the alerts window comes again after a
// power cut.
TEST(WhatWasSeen, WhatIsPutOffOrLeftOpenComesBackOnce) {
    const char date[] = "8 Diciembre 2026";
    {
        WatchRun run{{MakeReminder("16:00", date, "dentista", 1),
                      MakeReminder("16:00", date, "farmacia", 1)}};
        run.Start(At(2026, 12, 8, 15, 0));
        run.snoozes = {{"alert dentista", 5}};
        EXPECT_EQ(run.Look(At(2026, 12, 8, 16, 0), 1), (Boxes{"alert dentista", "alert farmacia"}));
        EXPECT_EQ(run.Start(At(2026, 12, 8, 16, 2), true), (Boxes{"alert farmacia"}))
            << "the installer's restart with one line left open";
        EXPECT_EQ(run.Look(At(2026, 12, 8, 16, 4)), Boxes{});
        EXPECT_EQ(run.Look(At(2026, 12, 8, 16, 5)), (Boxes{"alert dentista"}));
        EXPECT_EQ(run.Look(At(2026, 12, 8, 16, 6)), Boxes{});
        EXPECT_EQ(run.Start(At(2026, 12, 9, 8, 0)), (Boxes{"greeting 09/12"}));
    }
    {
        // Put off by a day at a logon, with a power cut while the snooze runs: not missed at the
        // logon before its end, missed at the one after.
        WatchRun run{{MakeReminder("##:##", date, "regalo", 1)}};
        run.Start(At(2026, 12, 7, 20, 0));
        run.snoozes = {{"missed 08/12 regalo", 24 * 60}};
        EXPECT_EQ(run.Start(At(2026, 12, 9, 8, 0)),
                  (Boxes{"greeting 09/12", "missed 08/12 regalo"}));
        EXPECT_EQ(run.Start(At(2026, 12, 9, 9, 0)), (Boxes{"greeting 09/12"}));
        EXPECT_EQ(run.Start(At(2026, 12, 10, 8, 30)),
                  (Boxes{"greeting 10/12", "missed 08/12 regalo"}));
        EXPECT_EQ(run.Start(At(2026, 12, 10, 8, 31)), (Boxes{"greeting 10/12"}));
    }
    {
        // Deleted in the editor while put off: it does not come, and its snooze is forgotten.
        WatchRun run{{MakeReminder("16:00", date, "borrado", 1)}};
        run.Start(At(2026, 12, 8, 15, 0));
        run.snoozes = {{"alert borrado", 10}};
        EXPECT_EQ(run.Look(At(2026, 12, 8, 16, 0)), (Boxes{"alert borrado"}));
        run.file[0].text = "cambiado";
        EXPECT_EQ(run.Look(At(2026, 12, 8, 16, 10)), Boxes{});
        EXPECT_TRUE(run.state.seen.snoozed.empty());
    }
    {
        // More put off than are kept: after a power cut, the one not kept comes as missed.
        WatchRun run{{}};
        for (int i = 0; i <= int{kSnoozesKept}; ++i) {
            run.file.push_back(MakeReminder("##:##", "7 Diciembre 2026", std::to_string(i), 1));
            run.snoozes["missed 07/12 " + std::to_string(i)] = 24 * 60;
        }
        run.Start(At(2026, 12, 6, 20, 0));
        EXPECT_EQ(run.Start(At(2026, 12, 8, 8, 0)).size(), kSnoozesKept + 2);
        EXPECT_EQ(run.Look(At(2026, 12, 8, 8, 1)), Boxes{});
        Boxes again = run.Start(At(2026, 12, 8, 9, 0));
        ASSERT_EQ(again.size(), 2u);
        EXPECT_EQ(again[1].substr(0, 13), "missed 07/12 ");
    }
    {
        // A missed reminder closed in the window while today's list still shows one due: that
        // one is not seen until its box is closed.
        std::vector<Reminder> table = {MakeReminder("21:00", "7 Diciembre 2026", "tarde", 1),
                                       MakeReminder("09:00", date, "pronto", 1)};
        WatchState watch;
        StartWatch(watch, SeenRecord{At(2026, 12, 7, 20, 0), {}}, At(2026, 12, 8, 10, 0), false);
        ASSERT_EQ(VisitClock(watch, At(2026, 12, 8, 10, 0)), DueAtLook::Greeting);
        DayList list =
            ReadDayList(watch, table, TodayAt(At(2026, 12, 8, 10, 0)), At(2026, 12, 8, 10, 0));
        ASSERT_EQ(list.missed.size(), 1u);
        NoteAlertClosed(watch, *list.missed[0].seenWhenClosed);
        EXPECT_FALSE(IsSeen(watch.seen, *list.boxes[0].seenWhenClosed));
        NoteListBoxClosed(watch, list, 0);
        EXPECT_TRUE(IsSeen(watch.seen, *list.boxes[0].seenWhenClosed));
    }
}

// What is kept is a few hundred bytes at most, read back as written; the previous release's seen
// moment alone is a record; anything damaged is nothing kept.
TEST(WhatWasSeen, IsKeptBoundedAndADamagedRecordIsNothing) {
    SeenRecord seen{At(2026, 12, 8, 11, 0), {}};
    for (int i = 0; i < 40; ++i)
        NoteSeen(seen, 0, ReminderId{At(2026, 12, 9, 9, 0), static_cast<uint64_t>(40 - i)});
    ASSERT_EQ(seen.seenAhead.size(), kSeenAheadKept);
    std::string bytes = SeenRecordBytes(seen);
    EXPECT_LE(bytes.size(), 300u);
    EXPECT_EQ(ReadSeenRecord(bytes), seen);
    EXPECT_FALSE(NoteSeen(seen, At(2026, 12, 8, 10, 0), std::nullopt)) << "it never goes back";
    EXPECT_TRUE(NoteSeen(seen, At(2026, 12, 9, 9, 0), std::nullopt));
    EXPECT_EQ(seen, (SeenRecord{At(2026, 12, 9, 9, 0), {}}));
    EXPECT_TRUE(IsSeen(seen, ReminderId{At(2026, 12, 9, 9, 0), 7}));

    // Twenty put off: the oldest sixteen are kept, and the seen moment stays before the others.
    for (int i = 0; i < 20; ++i)
        NoteSnoozed(seen, ReminderId{At(2026, 12, 9, 10, i), 1}, At(2026, 12, 9, 12, 0));
    EXPECT_FALSE(IsSeen(seen, ReminderId{At(2026, 12, 9, 8, 0), 1}) &&
                 IsSeen(seen, ReminderId{At(2026, 12, 9, 10, 0), 1}));
    EXPECT_EQ(SeenThroughSnoozes(seen), SecondBefore(At(2026, 12, 9, 10, 16)));
    bytes = SeenRecordBytes(seen);
    EXPECT_EQ(bytes.size(), 8 + 4 + 4 + 24 * kSnoozesKept);
    SeenRecord kept = seen;
    kept.snoozed.resize(kSnoozesKept);
    EXPECT_EQ(ReadSeenRecord(bytes), kept);
    SeenRecord full = kept;
    for (uint64_t hash = 1; hash <= kSeenAheadKept; ++hash)
        full.seenAhead.push_back(ReminderId{At(2026, 12, 9, 9, 30), hash});
    EXPECT_EQ(SeenRecordBytes(full).size(), kSeenRecordMostBytes) << "what the watch reads back";
    NoteSeen(seen, 0, ReminderId{At(2026, 12, 9, 10, 3), 1});
    EXPECT_TRUE(IsSeen(seen, ReminderId{At(2026, 12, 9, 10, 3), 1})) << "closed, no more put off";
    std::string noUntil =
        SeenRecordBytes(SeenRecord{At(2026, 12, 8, 11, 0), {}, {seen.snoozed[0]}});
    noUntil[noUntil.size() - 2] = 0x7F;

    auto qword = [](int64_t moment) {
        return SeenRecordBytes(SeenRecord{moment, {}}).substr(0, 8);
    };
    EXPECT_EQ(ReadSeenRecord(qword(At(2026, 12, 8, 11, 0))),
              (SeenRecord{At(2026, 12, 8, 11, 0), {}}));
    const std::string one = SeenRecordBytes(
        SeenRecord{At(2026, 12, 8, 11, 0), {ReminderId{At(2026, 12, 8, 12, 0), 5}}});
    std::string wrongCount = one;
    wrongCount[8] = 2;
    SeenRecord big{At(2026, 12, 8, 11, 0), {}};
    for (uint64_t hash = 1; hash <= kSeenAheadKept + 1; ++hash)
        big.seenAhead.push_back(ReminderId{At(2026, 12, 9, 9, 0), hash});
    const std::string tooMany = SeenRecordBytes(big);
    std::string aheadBehind = SeenRecordBytes(
        SeenRecord{At(2026, 12, 8, 11, 0), {ReminderId{At(2026, 12, 8, 10, 0), 5}}});
    for (const std::string& damaged :
         {qword(20261200110000), qword(20261206240000), qword(0x4142434445464748), std::string(),
          qword(At(2026, 12, 8, 11, 0)) + "\x01", one + "x", one.substr(0, one.size() - 1),
          wrongCount, aheadBehind, tooMany, noUntil, one + std::string(4, '\0')})
        EXPECT_FALSE(ReadSeenRecord(damaged)) << damaged.size() << " bytes";
}
