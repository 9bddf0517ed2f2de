#include "day_watch_rules.h"

#include <gtest/gtest.h>

#include <chrono>

TEST(DayWatchRules, OnlyTheSwitchAloneStartsAWatch) {
    for (const wchar_t* line : {L"/diario", L"-diario", L"/DIARIO", L"  /Diario\t"})
        EXPECT_TRUE(IsDayWatchCommandLine(line)) << line;
    for (const wchar_t* line : {L"", L" ", L"diario", L"/diari", L"/diarios", L"/diario x",
                                L"\"/diario\"", L"//diario", L"/di\u00C1rio"})
        EXPECT_FALSE(IsDayWatchCommandLine(line)) << line;
}

TEST(DayWatchRules, MidnightTimerFiresJustAfterMidnightWhateverTheClockSays) {
    EXPECT_EQ(MidnightTimerDelay(20000), 21000u);
    EXPECT_EQ(MidnightTimerDelay(0), 1000u);
    EXPECT_EQ(MidnightTimerDelay(-5000), 1000u); // never at once, never in a loop
    EXPECT_EQ(MidnightTimerDelay(int64_t{1} << 40), 25u * 3600 * 1000 + 1000);
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
