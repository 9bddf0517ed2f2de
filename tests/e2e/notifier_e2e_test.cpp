// The real notifier.exe under Wine on chosen days: its greeting box, one box per reminder of
// today in file order, and an exit code of 0 on every path.
#include "notifier_test.h"
#include "reminder_record.h"

#include <gtest/gtest.h>

TEST_F(NotifierTest, SixthOfDecemberShowsTodaysRemindersInFileOrder) {
    WriteFile(folder.ReminderFile(),
              ReminderRecordBytes("09:30", "6 Diciembre 2026", "Comprar pan") +
                  ReminderRecordBytes("11:00", "6 Diciembre 2026", "borrado", 0) +
                  ReminderRecordBytes("12:00", "6 Diciembre 2025", "otro a\xF1o") +
                  ReminderRecordBytes("13:00", "06 Diciembre 2026", "cero delante") +
                  ReminderRecordBytes("##:##", "6 Diciembre 2026", "") +
                  ReminderRecordBytes("14:00", "7 Diciembre 2026",
                                      "ma\xF1"
                                      "ana") +
                  std::string(700, 'x'));
    std::string before = ReadFile(folder.ReminderFile());
    Process notifier = Start("2026-12-06 09:05:07");

    EXPECT_EQ(ReadAndClose(kGreetingCaption),
              "Hoy es 6 Diciembre 2026 Domingo\r\n\r\nSan Nicolas de Bari");
    EXPECT_EQ(ReadAndClose("Recordatorio"),
              "Tienes un recordatorio para Hoy 06/12/2026 Domingo a las 09:30 : "
              "\r\n\r\nRecuerda :\r\n\r\nComprar pan");
    EXPECT_EQ(ReadAndClose("Recordatorio"),
              "Tienes un recordatorio para Hoy 06/12/2026 Domingo a las ##:## : "
              "\r\n\r\nRecuerda :\r\n\r\n");
    ExpectEndsWithoutMoreBoxes(notifier);
    EXPECT_EQ(ReadFile(folder.ReminderFile()), before) << "the notifier only reads the file";
}

TEST_F(NotifierTest, TwentyFirstOfMarchAddsTheSeasonNotice) {
    Process notifier = Start("2026-03-21 23:59:00");
    EXPECT_EQ(ReadAndClose(kGreetingCaption),
              "Hoy es 21 Marzo 2026 Sabado\r\n\r\nSan Nicol\xE1s de Fl\xFC"
              "e\r\n\r\nCambio de estacion a :\r\n\r\nPrimavera");
    ExpectEndsWithoutMoreBoxes(notifier);
}

TEST_F(NotifierTest, LeapDay) {
    WriteFile(folder.ReminderFile(), ReminderRecordBytes("08:00", "29 Febrero 2024", "Bisiesto"));
    Process notifier = Start("2024-02-29 00:00:01");
    EXPECT_EQ(ReadAndClose(kGreetingCaption),
              "Hoy es 29 Febrero 2024 Jueves\r\n\r\nSan Augusto Chapdelaine");
    EXPECT_EQ(ReadAndClose("Recordatorio"),
              "Tienes un recordatorio para Hoy 29/02/2024 Jueves a las 08:00 : "
              "\r\n\r\nRecuerda :\r\n\r\nBisiesto");
    ExpectEndsWithoutMoreBoxes(notifier);
}

TEST_F(NotifierTest, WithoutAReminderFileOnlyTheGreetingAndNoFileIsMade) {
    Process notifier = Start("2026-12-06 09:05:07");
    EXPECT_EQ(ReadAndClose(kGreetingCaption),
              "Hoy es 6 Diciembre 2026 Domingo\r\n\r\nSan Nicolas de Bari");
    ExpectEndsWithoutMoreBoxes(notifier);
    EXPECT_FALSE(PathExists(folder.ReminderFile()));
}

TEST_F(NotifierTest, FileHeldByAnotherProgramGivesTheGreetingOnlyAndNoError) {
    WriteFile(folder.ReminderFile(),
              ReminderRecordBytes("09:30", "6 Diciembre 2026", "Comprar pan"));
    ASSERT_TRUE(driver.Hold(folder.WindowsPath(folder.ReminderFile())));
    Process notifier = Start("2026-12-06 09:05:07");
    EXPECT_EQ(ReadAndClose(kGreetingCaption),
              "Hoy es 6 Diciembre 2026 Domingo\r\n\r\nSan Nicolas de Bari");
    ExpectEndsWithoutMoreBoxes(notifier);
    driver.Release();
    EXPECT_EQ(ReadFile(folder.ReminderFile()),
              ReminderRecordBytes("09:30", "6 Diciembre 2026", "Comprar pan"));
}
