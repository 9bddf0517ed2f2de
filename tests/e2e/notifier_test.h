// The fixture of the notifier's end-to-end tests: a fresh installation folder with
// notifier.exe, the test driver, and reading and closing the boxes the notifier shows.
#pragma once

#include "driver_client.h"
#include "record_bytes.h"

#include <gtest/gtest.h>

inline const char kGreetingCaption[] = "Recordatorio Santoral - Efemerides";
inline const char kDayWatchSwitch[] = "/diario";
inline const char kDayWatchClass[] = "Recordatorio.AvisoDiario"; // its hidden window's

class NotifierTest : public testing::Test {
  protected:
    // `folderName` is added to the installation folder's path; it may hold several levels.
    explicit NotifierTest(const std::string& folderName = "")
        : folder(WindowsBuild(), {"notifier.exe"}, folderName) {}

    InstallFolder folder;
    Driver driver;
    // The day watch's boxes show above other windows (WS_EX_TOPMOST); a plain start's do not.
    bool expectAboveOthers = false;

    Process Start(const std::string& fakeTime, const std::vector<std::string>& arguments = {}) {
        return StartProgram(folder.Program("notifier.exe"), fakeTime, arguments);
    }

    // Reads the box with that caption, checks it looks like the kit's boxes and closes it.
    std::string ReadAndClose(const std::string& caption, int timeoutMs = 15000) {
        std::optional<Box> box = driver.FindBox(caption, timeoutMs);
        if (!box) {
            ADD_FAILURE() << "no box captioned " << caption;
            return {};
        }
        EXPECT_EQ(box->buttons, "1") << "one OK button";
        EXPECT_FALSE(box->hasOwner);
        EXPECT_FALSE(box->hasIcon);
        EXPECT_EQ(driver.CountBoxes(), 1) << "boxes come one after the other";
        constexpr unsigned kTopmost = 0x8;
        unsigned exStyle =
            std::stoul(Words(driver.Command("window " + box->handle).at(0)).at(2), nullptr, 16);
        EXPECT_EQ((exStyle & kTopmost) != 0, expectAboveOthers)
            << caption << " box's extended style " << std::hex << exStyle;
        driver.Press(*box, kOk);
        return box->text;
    }

    // Waits until the alerts window lists exactly these lines ("06/12/2026 Domingo 16:00", a tab
    // and the text), and checks it shows above other windows without taking the keyboard; returns
    // its handle, "" if it never did.
    std::string WaitForAlerts(const std::vector<std::string>& expected, int timeoutMs = 30000) {
        std::string window = driver.FindAlertsWindow(timeoutMs);
        std::vector<std::string> lines;
        if (window.empty() ||
            !WaitUntil([&] { return (lines = driver.ListLines(window, kAlertListId)) == expected; },
                       std::chrono::milliseconds(timeoutMs))) {
            ADD_FAILURE() << (window.empty()
                                  ? "no alerts window"
                                  : "the alerts window lists " + testing::PrintToString(lines));
            return "";
        }
        constexpr unsigned kTopmost = 0x8, kNoActivate = 0x08000000;
        unsigned exStyle = std::stoul(driver.Ask("window " + window).at(2), nullptr, 16);
        EXPECT_EQ(exStyle & (kTopmost | kNoActivate), kTopmost | kNoActivate)
            << "the alerts window's extended style " << std::hex << exStyle;
        return window;
    }

    // The selected line's reminder, as the window shows it below its list.
    std::string AlertDetail(const std::string& window) {
        return Unhex(driver.Ask("text " + window + " " + std::to_string(kAlertDetailId)).at(1));
    }

    // Presses one of the alerts window's buttons and waits until it holds `linesLeft` lines, or
    // is gone when none is left.
    void PressInAlerts(const std::string& window, int button, size_t linesLeft) {
        driver.Command("press " + window + " " + std::to_string(button));
        EXPECT_TRUE(WaitUntil([&] {
            return linesLeft == 0 ? !driver.Alive(window)
                                  : driver.ListLines(window, kAlertListId).size() == linesLeft;
        })) << "the alerts window after button "
            << button;
    }

    void ExpectEndsWithoutMoreBoxes(Process& notifier) {
        EXPECT_EQ(notifier.Wait(30000), 0);
        EXPECT_EQ(driver.CountBoxes(), 0);
    }
};
