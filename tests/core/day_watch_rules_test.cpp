#include "day_watch_rules.h"

#include <gtest/gtest.h>

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
