// The fixture of the notifier's end-to-end tests: a fresh installation folder with
// notifier.exe, the test driver, and reading and closing the boxes the notifier shows.
#pragma once

#include "driver_client.h"
#include "record_bytes.h"

#include <gtest/gtest.h>

constexpr int kOk = 1;
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

    void ExpectEndsWithoutMoreBoxes(Process& notifier) {
        EXPECT_EQ(notifier.Wait(30000), 0);
        EXPECT_EQ(driver.CountBoxes(), 0);
    }
};
