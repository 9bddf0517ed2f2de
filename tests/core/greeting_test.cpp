#include "alert_lines.h"
#include "alert_text.h"
#include "greeting.h"

#include <gtest/gtest.h>

#include <chrono>

namespace {

const char* SpanishWeekday(std::chrono::weekday weekday) {
    static const char* names[] = {"Domingo", "Lunes",   "Martes", "Miercoles",
                                  "Jueves",  "Viernes", "Sabado"};
    return names[weekday.c_encoding()];
}

} // namespace

TEST(WeekdayName, AgreesWithTheCalendarOnEveryDayFrom1601To9999) {
    using namespace std::chrono;
    const sys_days last = year{9999} / December / 31;
    int mismatches = 0;
    for (sys_days day = year{1601} / January / 1; day <= last; day += days{1}) {
        year_month_day date{day};
        std::string name = WeekdayName(static_cast<int16_t>(unsigned(date.day())),
                                       static_cast<int16_t>(unsigned(date.month())),
                                       static_cast<int16_t>(int(date.year())));
        if (name != SpanishWeekday(weekday{day}) && ++mismatches <= 5)
            ADD_FAILURE() << int(date.year()) << "-" << unsigned(date.month()) << "-"
                          << unsigned(date.day()) << " gave " << name;
    }
    EXPECT_EQ(mismatches, 0);
}

TEST(WeekdayName, KnownDays) {
    EXPECT_EQ(WeekdayName(1, 1, 2000), "Sabado");
    EXPECT_EQ(WeekdayName(29, 2, 2024), "Jueves");
    EXPECT_EQ(WeekdayName(6, 12, 2026), "Domingo");
    EXPECT_EQ(WeekdayName(18, 3, 2026), "Miercoles");
}

TEST(SeasonNotice, OnlyOnTheTwentyFirstOfTheFourSeasonMonths) {
    EXPECT_EQ(SeasonNotice(21, 3), "\r\n\r\nCambio de estacion a :\r\n\r\nPrimavera");
    EXPECT_EQ(SeasonNotice(21, 6), "\r\n\r\nCambio de estacion a :\r\n\r\nVerano");
    EXPECT_EQ(SeasonNotice(21, 9), "\r\n\r\nCambio de estacion a :\r\n\r\nOto\xF1o");
    EXPECT_EQ(SeasonNotice(21, 12), "\r\n\r\nCambio de estacion a :\r\n\r\nInvierno");
    int notices = 0;
    for (int month = 1; month <= 12; ++month)
        for (int day = 1; day <= 31; ++day)
            notices += !SeasonNotice(day, month).empty();
    EXPECT_EQ(notices, 4);
}

TEST(DayGreeting, SixthOfDecember2026) {
    Today today = TodayFromDate(6, 12, 2026);
    EXPECT_EQ(today.shortDate, "06/12/2026");
    EXPECT_EQ(today.longDate, "6 Diciembre 2026");
    EXPECT_EQ(DayGreetingText(today), "Hoy es 6 Diciembre 2026 Domingo\r\n\r\nSan Nicolas de Bari");
}

TEST(DayGreeting, SpringBeginsOnTwentyFirstOfMarch) {
    EXPECT_EQ(DayGreetingText(TodayFromDate(21, 3, 2026)),
              "Hoy es 21 Marzo 2026 Sabado\r\n\r\nSan Nicol\xE1s de Fl\xFC"
              "e\r\n\r\nCambio de estacion a :\r\n\r\nPrimavera");
    EXPECT_EQ(DayGreetingText(TodayFromDate(22, 3, 2026)),
              "Hoy es 22 Marzo 2026 Domingo\r\n\r\nSan Bienvenido");
}

TEST(DayGreeting, LeapDay) {
    EXPECT_EQ(DayGreetingText(TodayFromDate(29, 2, 2024)),
              "Hoy es 29 Febrero 2024 Jueves\r\n\r\nSan Augusto Chapdelaine");
}

TEST(AlertText, ShowsDateWeekdayTimeAndText) {
    Today today = TodayFromDate(6, 12, 2026);
    EXPECT_EQ(AlertText(today, MakeReminder("09:30", "6 Diciembre 2026", "Comprar pan", 1)),
              "Tienes un recordatorio para Hoy 06/12/2026 Domingo a las 09:30 : "
              "\r\n\r\nRecuerda :\r\n\r\nComprar pan");
    EXPECT_EQ(AlertText(today, MakeReminder("##:##", "6 Diciembre 2026", "x", 1)),
              "Tienes un recordatorio para Hoy 06/12/2026 Domingo a las ##:## : "
              "\r\n\r\nRecuerda :\r\n\r\nx");
    EXPECT_EQ(AlertText(today, MakeReminder("", "6 Diciembre 2026", "", 1)),
              "Tienes un recordatorio para Hoy 06/12/2026 Domingo a las  : "
              "\r\n\r\nRecuerda :\r\n\r\n");
}

TEST(AlertText, OnlyLiveRemindersWithExactlyTodaysDate) {
    Today today = TodayFromDate(6, 12, 2026);
    EXPECT_TRUE(IsReminderForToday(MakeReminder("", "6 Diciembre 2026", "", 1), today));
    EXPECT_TRUE(IsReminderForToday(MakeReminder("", "6 Diciembre 2026", "", -7), today));
    EXPECT_FALSE(IsReminderForToday(MakeReminder("", "6 Diciembre 2026", "", 0), today));
    EXPECT_FALSE(IsReminderForToday(MakeReminder("", "6 Diciembre 2025", "", 1), today));
    EXPECT_FALSE(IsReminderForToday(MakeReminder("", "06 Diciembre 2026", "", 1), today));
    EXPECT_FALSE(IsReminderForToday(MakeReminder("", "6 diciembre 2026", "", 1), today));
    EXPECT_FALSE(IsReminderForToday(MakeReminder("", "6 Diciembre 2026 ", "", 1), today));
}

// A line shows the text's first line; the detail below it breaks lines only at CR LF, which is
// all an edit control breaks at, and says "Hoy" on the reminder's own day alone.
TEST(AlertLines, FirstLineInTheListAndTheWholeTextBelow) {
    Reminder reminder = MakeReminder("##:##", "5 Diciembre 2026", "Dentista\nsin\r\nfalta\r", 1);
    AlertLine line = MakeAlertLine({20261205000000, 1}, reminder);
    EXPECT_EQ(AlertLineText(line), "05/12/2026 Sabado ##:##\tDentista");
    EXPECT_EQ(AlertLineDetail(line, 20261205),
              "Tienes un recordatorio para Hoy 05/12/2026 Sabado a las ##:## : "
              "\r\n\r\nRecuerda :\r\n\r\nDentista\r\nsin\r\nfalta\r\n");
    EXPECT_EQ(AlertLineDetail(line, 20261206).substr(0, 54),
              "Ten\xED"
              "as un recordatorio para el 05/12/2026 Sabado a las");
    std::vector<AlertLine> lines = {line, MakeAlertLine({20261206093000, 1}, reminder)};
    EXPECT_EQ(AlertLinePosition(lines, {20261205000000, 0}), 0u);
    EXPECT_EQ(AlertLinePosition(lines, {20261206000000, 0}), 1u);
    EXPECT_EQ(AlertLinePosition(lines, {20261207000000, 0}), 2u);
}
