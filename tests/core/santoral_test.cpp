#include "santoral.h"

#include <gtest/gtest.h>

#include <map>

TEST(Santoral, EveryDayOfALeapYearHasANameAndNoOtherCellDoes) {
    const int daysIn[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    int named = 0;
    size_t shortest = 1000, longest = 0;
    for (int16_t month = 1; month <= 12; ++month) {
        for (int16_t day = 1; day <= 31; ++day) {
            std::string name = SantoralEntry(day, month);
            if (day > daysIn[month - 1]) {
                EXPECT_EQ(name, "") << day << "/" << month;
                continue;
            }
            ++named;
            shortest = std::min(shortest, name.size());
            longest = std::max(longest, name.size());
        }
    }
    EXPECT_EQ(named, 366);
    EXPECT_EQ(shortest, 8u);
    EXPECT_EQ(longest, 41u);
}

TEST(Santoral, CellsThatAreEasyToGetWrong) {
    EXPECT_EQ(SantoralEntry(1, 1), "Santa Maria");
    EXPECT_EQ(SantoralEntry(31, 12), "San Silvestre");
    EXPECT_EQ(SantoralEntry(29, 2), "San Augusto Chapdelaine");
    EXPECT_EQ(SantoralEntry(6, 12), "San Nicolas de Bari");
    // Windows-1252 bytes, one per accented letter: 18 characters, 18 bytes.
    EXPECT_EQ(SantoralEntry(6, 1), "Epifan\xED"
                                   "a del Se\xF1or");
    EXPECT_EQ(SantoralEntry(6, 1).size(), 18u);
    EXPECT_EQ(SantoralEntry(21, 3), "San Nicol\xE1s de Fl\xFC"
                                    "e");
    EXPECT_EQ(SantoralEntry(5, 2), "Santa \xC1gueda");
    EXPECT_EQ(SantoralEntry(15, 8), "Asunci\xF3n de la Virgen Mar\xED"
                                    "a ");
    EXPECT_EQ(SantoralEntry(29, 9), "Santos Miguel,Gabriel y Rafael Arc\xE1ngeles");
}

TEST(Santoral, NamesThatStandOnSeveralDays) {
    std::map<std::string, int> days;
    for (int16_t month = 1; month <= 12; ++month)
        for (int16_t day = 1; day <= 31; ++day)
            if (std::string name = SantoralEntry(day, month); !name.empty())
                ++days[name];
    int repeated = 0;
    for (const auto& [name, count] : days)
        repeated += count > 1;
    EXPECT_EQ(repeated, 19);
    EXPECT_EQ(days["Santa Margarita"], 3);
    EXPECT_EQ(days["San Alejandro"], 3);
    EXPECT_EQ(days["San Saturnino"], 3);
    EXPECT_EQ(days["San Zacar\xED"
                   "as"],
              2);
}

TEST(Santoral, OutsideTheYear) {
    for (auto [day, month] :
         {std::pair<int16_t, int16_t>{0, 1}, {32, 1}, {1, 0}, {1, 13}, {-1, -1}})
        EXPECT_EQ(SantoralEntry(day, month), "");
}
