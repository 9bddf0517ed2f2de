#include "date_text.h"

#include <gtest/gtest.h>

TEST(ReorderDate, MovesTheDayFirstAndKeepsOnlyCharacterPositions) {
    EXPECT_EQ(ReorderDate("12-06-2026", "/"), "06/12/2026");
    EXPECT_EQ(ReorderDate("12-06-2026", " - "), "06 - 12 - 2026");
    EXPECT_EQ(ReorderDate("12x06y2026", "/"), "06/12/2026");
    // Pieces beyond the end of a short text come out short or empty.
    EXPECT_EQ(ReorderDate("12-06-20", "/"), "06/12/20");
    EXPECT_EQ(ReorderDate("12-0", "/"), "0/12/");
    EXPECT_EQ(ReorderDate("", "/"), "//");
}

TEST(MonthName, NamesTwelveMonthsAndNothingElse) {
    const char* expected[] = {"Enero",      "Febrero", "Marzo",     "Abril",
                              "Mayo",       "Junio",   "Julio",     "Agosto",
                              "Septiembre", "Octubre", "Noviembre", "Diciembre"};
    for (int month = 1; month <= 12; ++month)
        EXPECT_EQ(MonthName(month), expected[month - 1]) << month;
    for (int month : {0, 13, -1, 1000})
        EXPECT_EQ(MonthName(month), "") << month;
}

TEST(DateTexts, ShortAndLongFormsOfOneDay) {
    EXPECT_EQ(MonthFirstDateText(6, 12, 2026), "12-06-2026");
    EXPECT_EQ(ShortDateText(6, 12, 2026), "06/12/2026");
    EXPECT_EQ(ShortDateText(29, 2, 2024), "29/02/2024");
    EXPECT_EQ(LongDateText(6, 12, 2026), "6 Diciembre 2026");
    EXPECT_EQ(LongDateText(21, 3, 2026), "21 Marzo 2026");
}
