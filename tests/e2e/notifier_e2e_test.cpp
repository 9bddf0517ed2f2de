// The real notifier.exe under Wine on chosen days: its greeting box, one box per reminder of
// today in file order, and an exit code of 0 on every path.
#include "editor_test.h"
#include "notifier_test.h"
#include "reminder_record.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <cstdio>
#include <thread>

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

// Held by another program for longer than 2 s, the file is passed over silently; held for a
// moment, as the editor or a backup tool holds it, it is waited for and its reminders show.
TEST_F(NotifierTest, FileHeldForAMomentIsWaitedForAndHeldLongerIsPassedOver) {
    const std::string greeting = "Hoy es 6 Diciembre 2026 Domingo\r\n\r\nSan Nicolas de Bari";
    WriteFile(folder.ReminderFile(),
              ReminderRecordBytes("09:30", "6 Diciembre 2026", "Comprar pan"));
    ASSERT_TRUE(driver.Hold(folder.WindowsPath(folder.ReminderFile())));
    Process notifier = Start("2026-12-06 09:05:07");
    EXPECT_EQ(ReadAndClose(kGreetingCaption), greeting);
    ExpectEndsWithoutMoreBoxes(notifier);

    notifier = Start("2026-12-06 09:06:00");
    EXPECT_EQ(ReadAndClose(kGreetingCaption), greeting);
    std::this_thread::sleep_for(std::chrono::milliseconds(300)); // its first look meets the hold
    driver.Release();
    EXPECT_EQ(ReadAndClose("Recordatorio"),
              "Tienes un recordatorio para Hoy 06/12/2026 Domingo a las 09:30 : "
              "\r\n\r\nRecuerda :\r\n\r\nComprar pan");
    ExpectEndsWithoutMoreBoxes(notifier);
    EXPECT_EQ(ReadFile(folder.ReminderFile()),
              ReminderRecordBytes("09:30", "6 Diciembre 2026", "Comprar pan"));
}

// The day watch started 10 s before midnight greets the 6th; the 7th's greeting waits until the
// 6th's last box, left open across midnight and through a notice of a time change, is closed, and
// is followed by the reminders the file holds by then; notices of a time change or a resume on a
// day already greeted show nothing; WM_CLOSE, as the installers send it, ends it.
TEST_F(NotifierTest, DayWatchGreetsTheNextDayAtMidnightFromTheFileAsItIsThen) {
    WriteFile(folder.ReminderFile(),
              ReminderRecordBytes("09:30", "6 Diciembre 2026", "Comprar pan") +
                  ReminderRecordBytes("##:##", "7 Diciembre 2026", "Llamar a Ana"));
    auto midnight = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    expectAboveOthers = true;
    Process watch = Start("2026-12-06 23:59:50", {kDayWatchSwitch});
    EXPECT_EQ(ReadAndClose(kGreetingCaption),
              "Hoy es 6 Diciembre 2026 Domingo\r\n\r\nSan Nicolas de Bari");
    std::optional<Box> sixth = driver.FindBox("Recordatorio");
    ASSERT_TRUE(sixth.has_value()) << "no reminder of the 6th";
    EXPECT_EQ(sixth->text, "Tienes un recordatorio para Hoy 06/12/2026 Domingo a las 09:30 : "
                           "\r\n\r\nRecuerda :\r\n\r\nComprar pan");
    // Added while the 6th's box is open: after the watch has read the file for the 6th.
    WriteFile(folder.ReminderFile(), ReadFile(folder.ReminderFile()) +
                                         ReminderRecordBytes("18:00", "7 Diciembre 2026", "Cena"));
    std::string window = driver.FindWindowOfClass(kDayWatchClass);
    ASSERT_NE(window, "") << "no hidden window of the day watch";
    constexpr unsigned kTimeChange = 0x1E, kPowerBroadcast = 0x218, kResumeAutomatic = 0x12;
    EXPECT_TRUE(driver.Send(window, kTimeChange)) << "the notice must be answered at once";
    std::this_thread::sleep_until(midnight + std::chrono::seconds(3)); // the timer's second, and 2
    EXPECT_EQ(driver.CountBoxes(), 1) << "a box came while the 6th's box was open";
    driver.Press(*sixth, kOk);

    EXPECT_EQ(ReadAndClose(kGreetingCaption, 60000),
              "Hoy es 7 Diciembre 2026 Lunes\r\n\r\nSan Ambrosio");
    EXPECT_EQ(ReadAndClose("Recordatorio"),
              "Tienes un recordatorio para Hoy 07/12/2026 Lunes a las ##:## : "
              "\r\n\r\nRecuerda :\r\n\r\nLlamar a Ana");
    EXPECT_EQ(ReadAndClose("Recordatorio"),
              "Tienes un recordatorio para Hoy 07/12/2026 Lunes a las 18:00 : "
              "\r\n\r\nRecuerda :\r\n\r\nCena");

    EXPECT_TRUE(driver.Send(window, kTimeChange));
    EXPECT_TRUE(driver.Send(window, kPowerBroadcast, kResumeAutomatic));
    EXPECT_FALSE(driver.FindBox("", 2000).has_value()) << "the 7th greeted again";
    EXPECT_TRUE(watch.Running());
    constexpr unsigned kClose = 0x10;
    driver.Send(window, kClose);
    EXPECT_EQ(watch.Wait(30000), 0);
}

TEST_F(NotifierTest, DayWatchRunsOncePerFolderAndAPlainStartStillGreets) {
    const std::string greeting = "Hoy es 6 Diciembre 2026 Domingo\r\n\r\nSan Nicolas de Bari";
    const std::string alert = "Tienes un recordatorio para Hoy 06/12/2026 Domingo a las 09:30 : "
                              "\r\n\r\nRecuerda :\r\n\r\nComprar pan";
    WriteFile(folder.ReminderFile(),
              ReminderRecordBytes("09:30", "6 Diciembre 2026", "Comprar pan"));
    expectAboveOthers = true;
    Process watch = Start("2026-12-06 09:05:07", {kDayWatchSwitch});
    EXPECT_EQ(ReadAndClose(kGreetingCaption), greeting);
    EXPECT_EQ(ReadAndClose("Recordatorio"), alert);

    Process second = Start("2026-12-06 09:06:00", {kDayWatchSwitch});
    EXPECT_EQ(second.Wait(30000), 0) << "a second watch of the folder must end at once";
    EXPECT_EQ(driver.CountBoxes(), 0);

    expectAboveOthers = false;
    Process plain = Start("2026-12-06 09:07:00");
    EXPECT_EQ(ReadAndClose(kGreetingCaption), greeting);
    EXPECT_EQ(ReadAndClose("Recordatorio"), alert);
    ExpectEndsWithoutMoreBoxes(plain);
    EXPECT_TRUE(watch.Running());
}

// The day watch started 45 s before 16:00: the 32-bit build under load has taken 20 s to the
// hold's release. After its greeting, the editor's two kinds of change, each noticed on its own:
// the file replaced by one without the reminder "Borrado" for 16:00 (a Borrar), then, a few
// seconds later, a reminder for 16:00 appended (a Grabar, which changes the file's size and last
// write, not its name), with the file held by another program for longer than the watch waits
// when it looks. The one appended comes once the file is free, once and above other windows,
// which it can only do if the watch noticed the change and knew that its look had failed; the
// one deleted never comes.
TEST_F(NotifierTest, DayWatchBringsEachTimedReminderFromTheFileAsItIsThenOnceItIsFree) {
    using namespace std::chrono;
    const char date[] = "6 Diciembre 2026";
    const std::string kept = ReminderRecordBytes("09:30", date, "Comprar pan");
    WriteFile(folder.ReminderFile(), kept + ReminderRecordBytes("16:00", date, "Borrado"));
    const auto sixteen = steady_clock::now() + seconds(45);
    expectAboveOthers = true;
    Process watch = Start("2026-12-06 15:59:15", {kDayWatchSwitch});
    EXPECT_EQ(ReadAndClose(kGreetingCaption),
              "Hoy es 6 Diciembre 2026 Domingo\r\n\r\nSan Nicolas de Bari");
    ReadAndClose("Recordatorio");
    ReadAndClose("Recordatorio");

    std::string replacement = folder.Path() + "_Recordatorios_.1-1.new";
    WriteFile(replacement, kept);
    ASSERT_EQ(std::rename(replacement.c_str(), folder.ReminderFile().c_str()), 0);
    std::this_thread::sleep_for(seconds(3)); // past the look that follows the first change
    ASSERT_TRUE(driver.Hold(folder.WindowsPath(folder.ReminderFile())));
    WriteFile(folder.ReminderFile(), kept + ReminderRecordBytes("16:00", date,
                                                                "Llamar al m\xE9"
                                                                "dico"));
    std::this_thread::sleep_for(seconds(4)); // over the look that follows, and its 2 s wait
    driver.Release();
    ASSERT_LT(steady_clock::now(), sixteen) << "the changes came after 16:00";
    EXPECT_EQ(driver.CountBoxes(), 0);

    std::string alerts = WaitForAlerts({"06/12/2026 Domingo 16:00\tLlamar al m\xE9"
                                        "dico"},
                                       90000);
    EXPECT_GE(steady_clock::now(), sixteen) << "before its time";
    EXPECT_EQ(AlertDetail(alerts),
              "Tienes un recordatorio para Hoy 06/12/2026 Domingo a las 16:00 : "
              "\r\n\r\nRecuerda :\r\n\r\nLlamar al m\xE9"
              "dico");
    std::this_thread::sleep_for(seconds(3));
    EXPECT_EQ(driver.ListLines(alerts, kAlertListId).size(), 1u)
        << "an alert came twice, or the deleted one came";
    EXPECT_EQ(driver.CountBoxes(), 0);
    EXPECT_TRUE(watch.Running());
}

// The midnight greeting waits on the desktop until the user comes back: the day's list, read once
// it is closed, shows a reminder whose time came meanwhile, which does not come again.
TEST_F(NotifierTest, DayWatchShowsAReminderDueWhileTheGreetingWasOpenOnce) {
    using namespace std::chrono;
    WriteFile(folder.ReminderFile(),
              ReminderRecordBytes("08:00", "6 Diciembre 2026", "Tomar pastilla"));
    const auto eight = steady_clock::now() + seconds(5);
    expectAboveOthers = true;
    Process watch = Start("2026-12-06 07:59:55", {kDayWatchSwitch});
    std::optional<Box> greeting = driver.FindBox(kGreetingCaption);
    ASSERT_TRUE(greeting.has_value()) << "no greeting";
    std::this_thread::sleep_until(eight + seconds(3));
    driver.Press(*greeting, kOk);
    EXPECT_EQ(ReadAndClose("Recordatorio"),
              "Tienes un recordatorio para Hoy 06/12/2026 Domingo a las 08:00 : "
              "\r\n\r\nRecuerda :\r\n\r\nTomar pastilla");
    EXPECT_FALSE(driver.FindBox("", 3000).has_value()) << "the 08:00 reminder came twice";
    EXPECT_TRUE(watch.Running());
}

// The editor writes a reminder while the list's box is open, for the next minute: closed after
// it, the box is followed at once by its alert. Then, while that alert shows, one for a minute
// already past, which the user has just seen in the editor and which does not come.
TEST_F(NotifierTest, DayWatchTakesTheChangesMadeWhileItsBoxesAreOpen) {
    using namespace std::chrono;
    const char date[] = "6 Diciembre 2026";
    WriteFile(folder.ReminderFile(), ReminderRecordBytes("##:##", date, "Llamar a Ana"));
    const auto started = steady_clock::now();
    expectAboveOthers = true;
    Process watch = Start("2026-12-06 08:59:30", {kDayWatchSwitch});
    ASSERT_TRUE(driver.FindBox(kGreetingCaption).has_value()) << "no greeting";
    // The watch's clock at this moment: 08:59:30 at least, 09:00:00 at most.
    const auto greeted = steady_clock::now();
    ASSERT_LT(greeted - started, seconds(30)) << "the watch took that long to greet";
    ReadAndClose(kGreetingCaption);
    std::optional<Box> list = driver.FindBox("Recordatorio");
    ASSERT_TRUE(list.has_value()) << "no list";
    auto append = [&](const char* time, const char* text) {
        WriteFile(folder.ReminderFile(),
                  ReadFile(folder.ReminderFile()) + ReminderRecordBytes(time, date, text));
    };
    append("09:00", "pronto");
    std::this_thread::sleep_until(greeted + seconds(35)); // 09:00:05 to 09:00:35
    ASSERT_TRUE(driver.Alive(list->handle)) << "the list's box was closed";
    EXPECT_EQ(driver.CountBoxes(), 1) << "a box came while the list's box was open";
    driver.Press(*list, kOk);
    const std::vector<std::string> pronto = {"06/12/2026 Domingo 09:00\tpronto"};
    std::string alerts = WaitForAlerts(pronto);
    ASSERT_NE(alerts, "") << "no alert after the list";
    // After 09:01:05: the file was read for the alert before 09:01.
    std::this_thread::sleep_until(greeted + seconds(100));
    append("09:01", "pasado");
    std::this_thread::sleep_until(greeted + seconds(107));
    EXPECT_EQ(driver.ListLines(alerts, kAlertListId), pronto)
        << "a reminder written after its time came";
    PressInAlerts(alerts, kOk, 0);
    EXPECT_FALSE(driver.FindBox("", 3000).has_value());
    EXPECT_TRUE(watch.Running());
}

// A weekend with the computer off: Friday's list seen at 17:00, the watch ended as at a
// shutdown, a logon with a flat battery's clock years back. On Monday, after the greeting,
// Friday's reminder for 18:00, Saturday's and Sunday's in the alerts window, oldest first, and
// Monday's list in its boxes. Then, with the window closed and the user typing in the editor,
// 09:00's alert opens it again, and the keys stay in the editor. That alert put off by 5 minutes,
// and the power cut: at Tuesday's logon it comes as missed, once, and closed it does not come
// again after another power cut.
TEST_F(NotifierTest, DayWatchShowsTheRemindersOfTheDaysTheComputerWasOff) {
    WriteFile(folder.ReminderFile(),
              ReminderRecordBytes("##:##", "7 Diciembre 2026", "Llamar a Ana") +
                  ReminderRecordBytes("09:30", "6 Diciembre 2026", "Comprar pan") +
                  ReminderRecordBytes("10:00", "5 Diciembre 2026",
                                      "Cumplea\xF1"
                                      "os de mam\xE1") +
                  ReminderRecordBytes("18:00", "4 Diciembre 2026", "Cine") +
                  ReminderRecordBytes("09:00", "7 Diciembre 2026", "Reuni\xF3n"));
    expectAboveOthers = true;
    Process friday = Start("2026-12-04 17:00:00", {kDayWatchSwitch});
    ReadAndClose(kGreetingCaption);
    ReadAndClose("Recordatorio");
    constexpr unsigned kEndSession = 0x16;
    EXPECT_TRUE(driver.Send(driver.FindWindowOfClass(kDayWatchClass), kEndSession, 1));
    EXPECT_EQ(friday.Wait(30000), 0);
    Process flatBattery = Start("2019-01-01 00:05:00", {kDayWatchSwitch});
    EXPECT_EQ(ReadAndClose(kGreetingCaption), "Hoy es 1 Enero 2019 Martes\r\n\r\nSanta Maria");
    EXPECT_FALSE(driver.FindBox("", 2000).has_value()) << "a day seen came back";
    EXPECT_TRUE(driver.Send(driver.FindWindowOfClass(kDayWatchClass), kEndSession, 1));
    EXPECT_EQ(flatBattery.Wait(30000), 0);

    // 90 s before 09:00, for the greeting, the window, the list and the editor to be done with
    // first, by the 32-bit build under load too.
    Process monday = Start("2026-12-07 08:58:30", {kDayWatchSwitch});
    EXPECT_EQ(ReadAndClose(kGreetingCaption), "Hoy es 7 Diciembre 2026 Lunes\r\n\r\nSan Ambrosio");
    std::string alerts = WaitForAlerts({"04/12/2026 Viernes 18:00\tCine",
                                        "05/12/2026 Sabado 10:00\tCumplea\xF1"
                                        "os de mam\xE1",
                                        "06/12/2026 Domingo 09:30\tComprar pan"});
    EXPECT_EQ(AlertDetail(alerts), "Ten\xED"
                                   "as un recordatorio para el 06/12/2026 Domingo a las 09:30 : "
                                   "\r\n\r\nRecuerda :\r\n\r\nComprar pan");
    EXPECT_EQ(ReadAndClose("Recordatorio"),
              "Tienes un recordatorio para Hoy 07/12/2026 Lunes a las ##:## : "
              "\r\n\r\nRecuerda :\r\n\r\nLlamar a Ana");
    EXPECT_EQ(ReadAndClose("Recordatorio"),
              "Tienes un recordatorio para Hoy 07/12/2026 Lunes a las 09:00 : "
              "\r\n\r\nRecuerda :\r\n\r\nReuni\xF3n");
    PressInAlerts(alerts, kOk, 2); // the line selected, the last that came
    PressInAlerts(alerts, kAcceptAllId, 0);

    std::filesystem::copy_file(ProgramPath(WindowsBuild(), "editor.exe"),
                               folder.Program("editor.exe"));
    EditorUser user(folder);
    user.Open("2026-12-07 08:59:00");
    auto type = [&](const char* keys, const char* counter) {
        Process xdotool({"/usr/bin/xdotool", "type", "--delay", "20", keys}, WineEnvironment());
        ASSERT_EQ(xdotool.Wait(15000), 0);
        EXPECT_EQ(user.WaitForText(kStatusBarId, counter), counter);
    };
    user.ClickOnScreen(user.Ask("screen-point", kTextBoxId));
    type("abc", "Escritas 0003 de 1023");
    alerts = WaitForAlerts({"07/12/2026 Lunes 09:00\tReuni\xF3n"}, 90000);
    type("def", "Escritas 0006 de 1023");
    EXPECT_EQ(user.Text(kTextBoxId), "abcdef");
    EXPECT_EQ(driver.Ask("foreground").at(1), user.dialog) << "the alerts window took the keyboard";
    EXPECT_EQ(driver.ListLines(alerts, kAlertListId).size(), 1u);
    PressInAlerts(alerts, kSnoozeId, 0);
    monday.Kill();
    EXPECT_EQ(user.CloseWithX(), 0);

    Process tuesday = Start("2026-12-08 08:00:00", {kDayWatchSwitch});
    ReadAndClose(kGreetingCaption);
    alerts = WaitForAlerts({"07/12/2026 Lunes 09:00\tReuni\xF3n"});
    EXPECT_EQ(AlertDetail(alerts), "Ten\xED"
                                   "as un recordatorio para el 07/12/2026 Lunes a las 09:00 : "
                                   "\r\n\r\nRecuerda :\r\n\r\nReuni\xF3n");
    // Once the window is gone, what the user did there is kept: a power cut loses nothing.
    PressInAlerts(alerts, kOk, 0);
    tuesday.Kill();
    Process again = Start("2026-12-08 08:10:00", {kDayWatchSwitch});
    ReadAndClose(kGreetingCaption);
    EXPECT_FALSE(driver.FindBox("", 2000).has_value()) << "a box of a day seen came";
    EXPECT_EQ(driver.FindAlertsWindow(1000), "") << "the snoozed reminder came twice";
}
