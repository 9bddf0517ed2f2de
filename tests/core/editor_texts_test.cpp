#include "editor_texts.h"
#include "listed_reminders.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

const std::string kDay = "6 Diciembre 2026";

// The list's lines for the reminders of `date`.
std::vector<std::string> LinesOfDate(const std::vector<Reminder>& table, std::string_view date) {
    std::vector<std::string> lines;
    for (const ListedReminder& line : RemindersOfDate(table, date))
        lines.push_back(ListLine(line.index, line.reminder));
    return lines;
}

} // namespace

TEST(ListLine, IndexTimeAndTextJoinedByBlanks) {
    EXPECT_EQ(ListLine(3, MakeReminder("09:30", "6 Diciembre 2026", "abc", 1)), "3 09:30 abc");
    EXPECT_EQ(ListLine(10, MakeReminder("##:##", "", "dos\r\nlineas", 1)),
              "10 ##:## dos\r\nlineas");
    EXPECT_EQ(ListLine(7, MakeReminder("", "", "", 1)), "7  ");
}

TEST(IndexOfListLine, ReadsTheNumberBeforeTheFirstBlank) {
    EXPECT_EQ(IndexOfListLine("3 09:30 abc"), 3);
    EXPECT_EQ(IndexOfListLine("10 ##:## 2 de mayo"), 10);
    EXPECT_EQ(IndexOfListLine("12345"), 12345);   // a line without a blank is all number
    EXPECT_EQ(IndexOfListLine("-4 09:30 x"), -4); // names no entry; the table rejects it
    EXPECT_EQ(IndexOfListLine(ListLine(LONG_MAX, Reminder{})), LONG_MAX);
}

TEST(IndexOfListLine, EmptyOrGarbageNamesNoEntry) {
    EXPECT_EQ(IndexOfListLine(""), 0);     // no line selected
    EXPECT_EQ(IndexOfListLine(" 3 x"), 0); // the first blank comes first
    EXPECT_EQ(IndexOfListLine("abc def"), 0);
    EXPECT_EQ(IndexOfListLine("3a 09:30"), 0);
    EXPECT_EQ(IndexOfListLine("+3 09:30"), 0);
    EXPECT_EQ(IndexOfListLine("0x1F 09:30"), 0);
    EXPECT_EQ(IndexOfListLine("99999999999999999999999 x"), 0);
}

TEST(CharCounterText, AtLeastFourDigitsAgainstTheCapacity) {
    EXPECT_EQ(CharCounterText(0), "Escritas 0000 de 1023");
    EXPECT_EQ(CharCounterText(4), "Escritas 0004 de 1023");
    EXPECT_EQ(CharCounterText(1023), "Escritas 1023 de 1023");
    EXPECT_EQ(CharCounterText(1100), "Escritas 1100 de 1023");
    EXPECT_EQ(CharCounterText(12345), "Escritas 12345 de 1023");
}

TEST(CaptionText, DayFirstDateAndTwoDigitClock) {
    EXPECT_EQ(CaptionText(6, 12, 2026, 9, 5, 7), "Recordatorio - 06/12/2026 - 09:05:07");
    EXPECT_EQ(CaptionText(31, 1, 2027, 23, 59, 59), "Recordatorio - 31/01/2027 - 23:59:59");
    EXPECT_EQ(CaptionText(1, 1, 2000, 0, 0, 0), "Recordatorio - 01/01/2000 - 00:00:00");
}

TEST(EntryTimeText, TwoDigitHoursAndMinutes) {
    EXPECT_EQ(EntryTimeText(9, 30), "09:30");
    EXPECT_EQ(EntryTimeText(0, 0), "00:00");
    EXPECT_EQ(EntryTimeText(23, 5), "23:05");
    // Always fits the record's time field whole.
    EXPECT_EQ(MakeReminder(EntryTimeText(12, 0), "", "", 1).time, "12:00");
    EXPECT_EQ(MakeReminder(kNoTimeText, "", "", 1).time, "##:##");
}

TEST(RemindersOfDate, LiveEntriesOfThatDayWithTheirTableIndex) {
    const std::string& day = kDay;
    std::vector<Reminder> table(11, MakeReminder("08:00", "7 Diciembre 2026", "otro", 1));
    table[1] = MakeReminder("09:30", day, "pan", 1);     // entry 2
    table[9] = MakeReminder("##:##", day, "leche", 1);   // entry 10
    table[3] = MakeReminder("10:00", day, "borrado", 0); // entry 4, deleted
    table[4] = MakeReminder("10:00", "06 Diciembre 2026", "cero", 1);
    table[5] = MakeReminder("10:00", "6 diciembre 2026", "minuscula", 1);
    table[6] = MakeReminder("10:00", "6 Diciembre 2025", "otro año", 1);
    table[7] = MakeReminder("10:00", "6 Diciembre 2026 ", "blanco", 1);
    table[8] = MakeReminder("09:30", day, "pan", -1); // entry 9: any non-zero is live

    std::vector<std::string> expected = {"2 09:30 pan", "9 09:30 pan", "10 ##:## leche"};
    EXPECT_EQ(LinesOfDate(table, day), expected);
    // Each line leads back to its own entry.
    for (const std::string& line : LinesOfDate(table, day))
        EXPECT_EQ(table[static_cast<size_t>(IndexOfListLine(line) - 1)].date, day) << line;
}

TEST(RemindersOfDate, NothingForAnEmptyTableOrADayWithoutReminders) {
    EXPECT_TRUE(LinesOfDate({}, kDay).empty());
    std::vector<Reminder> table = {MakeReminder("09:30", kDay, "x", 1)};
    EXPECT_TRUE(LinesOfDate(table, "5 Diciembre 2026").empty());
    EXPECT_TRUE(LinesOfDate(table, "").empty());
}

// Borrar and Modificar look for a line's reminder by its time, date and text: in the table as
// listed, the line's own entry (of two alike, the one listed); in a table that changed under the
// list, wherever it now stands, and nowhere once it was deleted or changed.
TEST(FindListedReminder, FindsTheLinesReminderAgainNeverByItsNumberAlone) {
    std::vector<Reminder> table = {
        MakeReminder("09:30", "5 Diciembre 2026", "pan", 1), MakeReminder("09:30", kDay, "pan", 1),
        MakeReminder("08:00", kDay, "otro", 0), MakeReminder("10:00", kDay, "leche", 1),
        MakeReminder("10:00", kDay, "leche", 1)};
    std::vector<ListedReminder> listed = RemindersOfDate(table, kDay);
    ASSERT_EQ(listed.size(), 3u);
    EXPECT_EQ(ListedAt(listed, 3), nullptr) << "a deleted entry has no line";
    ListedReminder& pan = *ListedAt(listed, 2);
    ListedReminder& twin = *ListedAt(listed, 5);
    EXPECT_EQ(FindListedReminder(table, pan), 2);
    EXPECT_EQ(FindListedReminder(table, twin), 5);

    // Since listed: pan deleted, one added before it, the first leche changed in its text.
    std::vector<Reminder> changed = {MakeReminder("09:30", kDay, "pan", 0),
                                     MakeReminder("07:00", kDay, "nuevo", 1),
                                     MakeReminder("09:30", "5 Diciembre 2026", "pan", 1),
                                     MakeReminder("09:00", kDay, "pan", 1),
                                     MakeReminder("10:00", kDay, "leche entera", 1),
                                     MakeReminder("10:00", kDay, "leche", 1)};
    EXPECT_EQ(FindListedReminder(changed, pan), 0);
    EXPECT_EQ(FindListedReminder(changed, twin), 6);
    twin.reminder.text = "leche entera"; // what a Modificar of the line wrote
    EXPECT_EQ(FindListedReminder(changed, twin), 5);
}
