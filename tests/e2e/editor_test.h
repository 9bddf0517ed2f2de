// The fixture of the editor's end-to-end tests: a fresh installation folder with editor.exe and
// notifier.exe, the test driver, and the editor driven through its dialog as a user would: the
// mouse picks calendar days (xdotool), characters are typed into the text box, buttons are
// pressed and boxes answered. A user at a second computer that opens the same folder is driven
// the same way.
#pragma once

#include "control_ids.h"
#include "driver_client.h"
#include "record_bytes.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

inline const char kSixthOfDecember[] = "2026-12-06 09:05:07";
inline const char kEmptyCounter[] = "Escritas 0000 de 1023";

inline std::vector<Reminder> RemindersIn(const std::string& path) {
    std::string bytes = ReadFile(path);
    std::vector<Reminder> reminders;
    AppendDecodedRecords(bytes, reminders);
    return reminders;
}

// A user at one computer: its test driver, and the editor of the folder that it shows.
class EditorUser {
  public:
    // `computer` is the environment of that computer's Wine (wine_session.h).
    explicit EditorUser(const InstallFolder& installed,
                        const std::vector<std::string>& computer = WineEnvironment())
        : driver(computer), installed_(installed), computer_(computer) {}

    Driver driver;
    Process editor;
    std::string dialog;

    void Open(const char* fakeTime = kSixthOfDecember) {
        editor = StartProgram(installed_.Program("editor.exe"), fakeTime, {}, computer_);
        dialog = driver.FindDialog("Recordatorio - ");
        ASSERT_FALSE(dialog.empty()) << "the editor's dialog did not show";
    }

    // The words of the driver's answer to a command on control `id`, with `more` after the id.
    std::vector<std::string> Ask(const std::string& command, int id, const std::string& more = "") {
        return driver.Ask(command + " " + dialog + " " + std::to_string(id) + " " + more);
    }

    void Click(int id) { Ask("click", id); }

    std::string Text(int id) { return Unhex(Ask("text", id).at(1)); }

    // Commands reach the editor as posted messages: wait until it shows what is expected.
    std::string WaitForText(int id, const std::string& expected) {
        std::string text;
        WaitUntil([&] { return (text = Text(id)) == expected; });
        return text;
    }

    int Check(int id) { return std::stoi(Ask("check", id).at(1)); }

    bool Enabled(int id) { return Ask("window", id).at(11) == "1"; }

    std::vector<std::string> ListLines() {
        std::vector<std::string> lines;
        for (const std::string& line :
             driver.Command("listbox " + dialog + " " + std::to_string(kReminderListId)))
            if (line.rfind("line ", 0) == 0)
                lines.push_back(Unhex(line.substr(5)));
        return lines;
    }

    // Only where the list held another number of lines before the command.
    std::vector<std::string> WaitForListLines(size_t count) {
        std::vector<std::string> lines;
        WaitUntil([&] { return (lines = ListLines()).size() == count; });
        return lines;
    }

    std::vector<std::string> WaitForList(const std::vector<std::string>& expected) {
        std::vector<std::string> lines;
        WaitUntil([&] { return (lines = ListLines()) == expected; });
        return lines;
    }

    // What a click on a list line does: the line is selected and the dialog is told.
    void SelectLine(int index) { Ask("select", kReminderListId, std::to_string(index)); }

    // Typed as characters, as the keyboard would, so the text box reports each change.
    void Type(const std::string& text) {
        std::string units;
        char hex[8];
        for (unsigned char c : text) {
            std::snprintf(hex, sizeof hex, "%04x", c < 0x80 || c >= 0xA0 ? c : '?');
            units += hex;
        }
        Ask("chars", kTextBoxId, units);
    }

    void ClickOnScreen(const std::vector<std::string>& point) {
        ASSERT_EQ(point.at(0), "point");
        Process xdotool({"/usr/bin/xdotool", "mousemove", point.at(1), point.at(2), "click", "1"},
                        computer_);
        ASSERT_EQ(xdotool.Wait(10000), 0);
    }

    // A mouse click on the day's cell in the calendar; the dialog then empties the text box and
    // shows the counter at zero. When it shows zero already, a character typed first lets the
    // click's effect be seen: posted characters could otherwise be taken before the click.
    void PickDay(int year, int month, int day) {
        if (Text(kStatusBarId) == kEmptyCounter) {
            Type("x");
            ASSERT_EQ(WaitForText(kStatusBarId, "Escritas 0001 de 1023"), "Escritas 0001 de 1023");
        }
        ClickOnScreen(
            Ask("calendar-point", kCalendarId,
                std::to_string(year) + " " + std::to_string(month) + " " + std::to_string(day)));
        ASSERT_EQ(WaitForText(kStatusBarId, kEmptyCounter), kEmptyCounter)
            << "after a click on " << day << "/" << month << "/" << year;
    }

    // A click on the time check box; the dialog then enables the time picker.
    void SwitchTimeOn() {
        Click(kTimeCheckId);
        ASSERT_TRUE(WaitUntil([&] { return Check(kTimeCheckId) == 1 && Enabled(kTimePickerId); }))
            << "after a click, the time check box reads " << Check(kTimeCheckId)
            << " and the time picker is " << (Enabled(kTimePickerId) ? "enabled" : "disabled");
    }

    Box Answer(const std::string& caption, int button) {
        std::optional<Box> box = driver.FindBox(caption);
        if (!box) {
            ADD_FAILURE() << "no box captioned " << caption;
            return {};
        }
        EXPECT_FALSE(box->hasOwner);
        EXPECT_FALSE(box->hasIcon);
        driver.Press(*box, button);
        return *box;
    }

    // Picks 6 December 2026 and lists its reminders.
    std::vector<std::string> ListToday(size_t expectedLines) {
        PickDay(2026, 12, 6);
        Click(kListarId);
        return WaitForListLines(expectedLines);
    }

    // Opens the editor on the reminder file as it is, lists 6 December 2026 and selects the
    // first line, whose text then shows in the text box.
    void OpenAndSelectFirstOfToday(size_t expectedLines, const std::string& firstText) {
        Open();
        ASSERT_EQ(ListToday(expectedLines).size(), expectedLines);
        SelectLine(0);
        ASSERT_EQ(WaitForText(kTextBoxId, firstText), firstText);
    }

    // Grabar for the picked day, answered as given; the dialog then clears its text box.
    Box Grabar(int answer) {
        Click(kGrabarId);
        Box box = Answer("Recordatorio", answer);
        EXPECT_EQ(box.buttons, "6,7");
        EXPECT_EQ(WaitForText(kStatusBarId, kEmptyCounter), kEmptyCounter);
        return box;
    }

    int CloseWithX() {
        Click(kCloseId);
        return editor.Wait(30000);
    }

  private:
    const InstallFolder& installed_;
    const std::vector<std::string>& computer_;
};

// Made before the user, so that the folder outlives the editor.
struct InstalledKit {
    explicit InstalledKit(const std::string& folderName)
        : folder(WindowsBuild(), {"editor.exe", "notifier.exe"}, folderName) {}

    InstallFolder folder;
};

class EditorTest : public testing::Test, protected InstalledKit, protected EditorUser {
  protected:
    // `folderName` is added to the installation folder's path; it may hold several levels.
    explicit EditorTest(const std::string& folderName = "")
        : InstalledKit(folderName), EditorUser(folder) {}

    void WriteReminders(const std::vector<std::string>& records) {
        std::string bytes;
        for (const std::string& record : records)
            bytes += record;
        WriteFile(folder.ReminderFile(), bytes);
    }
};
