#include "file_error_text.h"
#include "reminder_record.h"
#include "reminder_table.h"

#include <gtest/gtest.h>

#include <array>
#include <random>
#include <set>

namespace {

using Record = std::array<char, kRecordSize>;

Record Encode(const Reminder& reminder) {
    Record record;
    record.fill('\x55');
    EncodeRecord(reminder, record);
    return record;
}

std::string Bytes(const Record& record, size_t first, size_t count) {
    return std::string(record.data() + first, count);
}

} // namespace

TEST(ReminderRecord, WorkedExampleByteForByte) {
    Record record = Encode(MakeReminder("09:30", "6 Diciembre 2026", "abc", 1));
    EXPECT_EQ(kRecordSize, 1085u);
    // The whole image, the zero bytes after each field's terminator included.
    std::string expected(kRecordSize, '\0');
    expected.replace(0, 5, "09:30");
    expected.replace(7, 16, "6 Diciembre 2026");
    expected.replace(57, 3, "\x9E\x9D\x9C");
    expected[1081] = '\x01';
    EXPECT_EQ(Bytes(record, 0, kRecordSize), expected);
}

TEST(ReminderRecord, ActiveIsLittleEndianAndSigned) {
    Record record = Encode(MakeReminder("", "", "", -2));
    EXPECT_EQ(Bytes(record, 1081, 4), "\xFE\xFF\xFF\xFF");
    EXPECT_EQ(DecodeRecord(record).active, -2);
    EXPECT_EQ(DecodeRecord(Encode(MakeReminder("", "", "", 0x01020304))).active, 0x01020304);
}

TEST(ScrambleText, ComplementsEveryByteAndUndoesItself) {
    EXPECT_EQ(ScrambleText("abc"), "\x9E\x9D\x9C");
    EXPECT_EQ(ScrambleText(""), "");
    std::string all;
    for (int b = 0; b < 256; ++b)
        all += static_cast<char>(b);
    EXPECT_EQ(ScrambleText(ScrambleText(all)), all);
    EXPECT_EQ(ScrambleText(all).front(), '\xFF');
}

TEST(ReminderRecord, FieldsAreCutToTheirCapacity) {
    EXPECT_EQ(MakeReminder("09:30:15", "", "", 1).time, "09:30:");
    EXPECT_EQ(MakeReminder("##:##", "", "", 1).time, "##:##");
    EXPECT_EQ(MakeReminder("", std::string(60, 'd'), "", 1).date, std::string(49, 'd'));

    std::string exact(1023, 'x');
    Record full = Encode(MakeReminder("", "", exact, 1));
    EXPECT_EQ(full[57 + 1022], ScrambleText("x")[0]);
    EXPECT_EQ(full[1080], '\0');
    EXPECT_EQ(DecodeRecord(full).text, exact);
    EXPECT_EQ(MakeReminder("", "", std::string(1100, 'y'), 1).text, std::string(1023, 'y'));
}

TEST(ReminderRecord, ByteTwoFiftyFiveEndsTheStoredText) {
    // A scrambled 255 is 0, the field's terminator: the text keeps what comes before it.
    EXPECT_EQ(MakeReminder("", "",
                           "ab\xFF"
                           "cd",
                           1)
                  .text,
              "ab");
    EXPECT_EQ(DecodeRecord(Encode(Reminder{"", "",
                                           "ab\xFF"
                                           "cd",
                                           1}))
                  .text,
              "ab");
}

TEST(ReminderRecord, RoundTripKeepsLineBreaksAndAccents) {
    Reminder reminder = MakeReminder("##:##", "29 Febrero 2024", "L\xEDnea 1\r\nOto\xF1o", 1);
    Reminder back = DecodeRecord(Encode(reminder));
    EXPECT_EQ(back.time, reminder.time);
    EXPECT_EQ(back.date, reminder.date);
    EXPECT_EQ(back.text, reminder.text);
    EXPECT_EQ(back.active, 1);
}

TEST(ReminderRecord, DamagedRecordsNeverReadPastAField) {
    Record noTerminators;
    noTerminators.fill('A');
    Reminder damaged = DecodeRecord(noTerminators);
    EXPECT_EQ(damaged.time, std::string(6, 'A'));
    EXPECT_EQ(damaged.date, std::string(49, 'A'));
    EXPECT_EQ(damaged.text, std::string(1023, ScrambleText("A")[0]));

    std::mt19937 random(1085);
    Record noise;
    for (int round = 0; round < 2000; ++round) {
        for (char& c : noise)
            c = static_cast<char>(random());
        Reminder decoded = DecodeRecord(noise);
        EXPECT_LE(decoded.time.size(), 6u);
        EXPECT_LE(decoded.date.size(), 49u);
        EXPECT_LE(decoded.text.size(), 1023u);
    }
}

TEST(FileErrorText, NumberWithSignPlaceAndDescription) {
    EXPECT_STREQ(FileErrorText(61).data(), "Err:  61 Disk full");
    EXPECT_STREQ(FileErrorText(52).data(), "Err:  52 Bad file name or number");
    EXPECT_STREQ(FileErrorText(70).data(), "Err:  70 Permission denied");
    EXPECT_STREQ(FileErrorText(75).data(), "Err:  75 Path/file access error");
    EXPECT_STREQ(FileErrorText(5).data(), "Err:  5 Illegal function call");
    std::set<std::string> descriptions;
    for (int number : {5, 7, 51, 52, 53, 57, 61, 62, 67, 68, 70, 71, 72, 74, 75, 76})
        descriptions.insert(FileErrorDescription(number));
    EXPECT_EQ(descriptions.size(), 16u) << "each number its own description";
    EXPECT_EQ(descriptions.count(""), 0u);
}

// Any non-zero active value is live, as the file allows: -1 and 5 as well as 1.
TEST(ReminderTable, OnlyExistingLiveEntriesAreReachedByIndex) {
    std::vector<Reminder> table = {MakeReminder("", "a", "", 1), MakeReminder("", "b", "", 0),
                                   MakeReminder("", "c", "", 1), MakeReminder("", "d", "", -1),
                                   MakeReminder("", "e", "", 5)};
    ASSERT_NE(LiveReminderAt(table, 1), nullptr);
    EXPECT_EQ(LiveReminderAt(table, 1)->date, "a");
    EXPECT_EQ(LiveReminderAt(table, 2), nullptr);
    EXPECT_EQ(LiveReminderAt(table, 3)->date, "c");
    ASSERT_NE(LiveReminderAt(table, 4), nullptr);
    EXPECT_EQ(LiveReminderAt(table, 4)->date, "d");
    ASSERT_NE(LiveReminderAt(table, 5), nullptr);
    EXPECT_EQ(LiveReminderAt(table, 5)->date, "e");
    for (long index : {0L, -1L, 6L, 1000000L})
        EXPECT_EQ(LiveReminderAt(table, index), nullptr) << index;
}
