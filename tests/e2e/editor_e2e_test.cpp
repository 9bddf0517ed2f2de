// The real editor.exe under Wine, driven through its dialog as a user would: the mouse picks
// calendar days (xdotool), characters are typed into the text box, buttons are pressed, and
// the boxes are answered. What the commands leave in the reminder file is read back here.
#include "driver_client.h"
#include "reminder_record.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace {

enum : int {
    kCalendar = 1001,
    kTimePicker = 1002,
    kTextBox = 1003,
    kGrabar = 1004,
    kTimeCheck = 1005,
    kBorrar = 1006,
    kModificar = 1007,
    kListar = 1008,
    kClose = 1009,
    kList = 1010,
    kStatusBar = 1011,
};
constexpr int kOk = 1, kYes = 6, kNo = 7;
const char kSixthOfDecember[] = "2026-12-06 09:05:07";
const char kEmptyCounter[] = "Escritas 0000 de 1023";

std::vector<Reminder> RemindersIn(const std::string& path) {
    std::string bytes = ReadFile(path);
    std::vector<Reminder> reminders;
    AppendDecodedRecords(bytes, reminders);
    return reminders;
}

class EditorTest : public testing::Test {
  protected:
    InstallFolder folder{{"editor.exe", "notifier.exe"}};
    Driver driver;
    Process editor;
    std::string dialog;

    void Open(const char* fakeTime = kSixthOfDecember) {
        editor = StartProgram(folder.Program("editor.exe"), fakeTime);
        dialog = driver.FindDialog("Recordatorio - ");
        ASSERT_FALSE(dialog.empty()) << "the editor's dialog did not show";
    }

    std::vector<std::string> Ask(const std::string& command, int id) {
        return Words(driver.Command(command + " " + dialog + " " + std::to_string(id)).at(0));
    }

    void Click(int id) { Ask("click", id); }

    std::string Text(int id) { return Unhex(Ask("text", id).at(1)); }

    // Commands reach the editor as posted messages: wait until it shows what is expected.
    std::string WaitForText(int id, const std::string& expected) {
        std::string text;
        for (int i = 0; i < 200 && (text = Text(id)) != expected; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(25));
        return text;
    }

    std::vector<std::string> ListLines() {
        std::vector<std::string> lines;
        for (const std::string& line :
             driver.Command("listbox " + dialog + " " + std::to_string(kList)))
            if (line.rfind("line ", 0) == 0)
                lines.push_back(Unhex(line.substr(5)));
        return lines;
    }

    std::vector<std::string> WaitForListLines(size_t count) {
        std::vector<std::string> lines;
        for (int i = 0; i < 200 && (lines = ListLines()).size() != count; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(25));
        return lines;
    }

    // Typed as characters, as the keyboard would, so the text box reports each change.
    void Type(const std::string& text) {
        std::string units;
        char hex[8];
        for (unsigned char c : text) {
            std::snprintf(hex, sizeof hex, "%04x", c < 0x80 || c >= 0xA0 ? c : '?');
            units += hex;
        }
        driver.Command("chars " + dialog + " " + std::to_string(kTextBox) + " " + units);
    }

    void ClickOnScreen(const std::vector<std::string>& point) {
        ASSERT_EQ(point.at(0), "point");
        std::vector<std::string> environment = WineEnvironment();
        Process xdotool({"/usr/bin/xdotool", "mousemove", point.at(1), point.at(2), "click", "1"},
                        environment);
        ASSERT_EQ(xdotool.Wait(10000), 0);
    }

    // A mouse click on the day's cell in the calendar; the dialog then empties the text box and
    // shows the counter at zero.
    void PickDay(int year, int month, int day) {
        ClickOnScreen(Words(driver
                                .Command("calendar-point " + dialog + " " +
                                         std::to_string(kCalendar) + " " + std::to_string(year) +
                                         " " + std::to_string(month) + " " + std::to_string(day))
                                .at(0)));
        ASSERT_EQ(WaitForText(kStatusBar, kEmptyCounter), kEmptyCounter);
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

    // Grabar for the picked day, answered as given; the dialog then clears its text box.
    Box Grabar(int answer) {
        Click(kGrabar);
        Box box = Answer("Recordatorio", answer);
        EXPECT_EQ(box.buttons, "6,7");
        EXPECT_EQ(WaitForText(kStatusBar, kEmptyCounter), kEmptyCounter);
        return box;
    }

    void WriteReminders(const std::vector<std::string>& records) {
        std::string bytes;
        for (const std::string& record : records)
            bytes += record;
        WriteFile(folder.ReminderFile(), bytes);
    }

    int CloseWithX() {
        Click(kClose);
        return editor.Wait(15000);
    }
};

} // namespace

TEST_F(EditorTest, DialogAndControlsAreLaidOutAsDesigned) {
    Open();
    std::vector<std::string> window = Words(driver.Command("window " + dialog).at(0));
    // The system adds WS_VISIBLE and WS_CLIPSIBLINGS to the template's style, and the frame's
    // extended styles.
    EXPECT_EQ(std::stoul(window.at(1), nullptr, 16) & ~0x14000000u, 0x80C000D4u);
    EXPECT_EQ(std::stoul(window.at(2), nullptr, 16) & ~0x10101u, 0u);
    EXPECT_EQ(window.at(9), "0") << "no owner window";
    EXPECT_EQ(Unhex(window.at(12)), "Recordatorio - 06/12/2026 - 09:05:07");
    std::vector<std::string> frame = Words(driver.Command("dlg-px 275 225 382 109").at(0));
    EXPECT_EQ(window.at(13), frame.at(1)) << "client area at 275, 225 dialog units";
    EXPECT_EQ(window.at(14), frame.at(2));
    EXPECT_NEAR(std::stoi(window.at(7)), std::stoi(frame.at(3)), 1);
    EXPECT_NEAR(std::stoi(window.at(8)), std::stoi(frame.at(4)), 1);

    // In a 3D-look dialog the system draws WS_BORDER as WS_EX_CLIENTEDGE and adds
    // WS_EX_NOPARENTNOTIFY; the list box shows its scroll bar only when it needs it.
    struct Expected {
        int id;
        const char* className;
        const char* text;
        int x, y, width, height;
        unsigned style, exStyle;
    };
    const Expected controls[] = {
        {kCalendar, "SysMonthCal32", "SysMonthCal32_1", 0, 0, 170, 95, 0x50010004, 0x204},
        {kTimePicker, "SysDateTimePick32", nullptr, 190, 0, 33, 15, 0x58010009, 0x204},
        {kTextBox, "Edit", "", 170, 15, 212, 45, 0x50211004, 0x204},
        {kGrabar, "Button", "Grabar", 228, 0, 35, 15, 0x50010F00, 0x204},
        {kTimeCheck, "Button", "CheckBox1", 180, 0, 10, 15, 0x50010003, 0x4},
        {kBorrar, "Button", "Borrar", 263, 0, 35, 15, 0x50010F00, 0x204},
        {kModificar, "Button", "Modificar", 298, 0, 35, 15, 0x50010F00, 0x204},
        {kListar, "Button", "Listar", 333, 0, 35, 15, 0x50010F00, 0x204},
        {kClose, "Button", "X", 368, 0, 14, 15, 0x50010F00, 0x204},
        {kList, "ListBox", "", 170, 60, 212, 47, 0x50010003, 0x204},
        {kStatusBar, "msctls_statusbar32", "", -1, -1, -1, -1, 0x50000003, 0x4},
    };
    std::vector<std::string> children = driver.Command("children " + dialog);
    ASSERT_EQ(children.size(), std::size(controls)) << "eleven controls";
    for (size_t i = 0; i < children.size(); ++i) {
        const Expected& expected = controls[i];
        std::vector<std::string> child = Words(children[i]);
        SCOPED_TRACE(expected.className);
        EXPECT_EQ(std::stoi(child.at(1)), expected.id) << "creation and tab order";
        EXPECT_EQ(Unhex(child.at(2)), expected.className);
        unsigned style = std::stoul(child.at(3), nullptr, 16);
        EXPECT_EQ(expected.id == kList ? style & ~0x00200000u : style, expected.style);
        EXPECT_EQ(std::stoul(child.at(4), nullptr, 16), expected.exStyle);
        if (expected.text) {
            EXPECT_EQ(Unhex(child.at(11)), expected.text);
        }
        if (expected.x < 0) { // the status bar spans the bottom edge
            EXPECT_EQ(std::stoi(child.at(5)), 0);
            EXPECT_EQ(std::stoi(child.at(6)) + std::stoi(child.at(8)), std::stoi(window.at(8)));
            EXPECT_EQ(child.at(7), window.at(7));
            continue;
        }
        std::vector<std::string> px =
            Words(driver
                      .Command("dlg-px " + std::to_string(expected.x) + " " +
                               std::to_string(expected.y) + " " + std::to_string(expected.width) +
                               " " + std::to_string(expected.height))
                      .at(0));
        for (int k = 1; k <= 3; ++k)
            EXPECT_NEAR(std::stoi(child.at(4 + k)), std::stoi(px.at(k)), 1) << "position " << k;
        // A list box shows whole lines only, so it may be up to one line shorter.
        int height = std::stoi(child.at(8)), designed = std::stoi(px.at(4));
        EXPECT_LE(height, designed + 1);
        EXPECT_GE(height, expected.id == kList ? designed - 16 : designed - 1);
    }
    EXPECT_EQ(Text(kStatusBar), "") << "the counter shows only after the first change";

    // Esc and Enter are ignored; a system close ends the dialog like X, with exit code 0.
    driver.Command("post " + dialog + " 273 2 0"); // WM_COMMAND IDCANCEL
    driver.Command("post " + dialog + " 273 1 0"); // WM_COMMAND IDOK
    EXPECT_EQ(editor.Wait(500), -1);
    driver.Command("post " + dialog + " 274 61536 0"); // WM_SYSCOMMAND SC_CLOSE
    EXPECT_EQ(editor.Wait(15000), 0);
    EXPECT_FALSE(PathExists(folder.ReminderFile())) << "opening the editor makes no file";
}

TEST_F(EditorTest, CounterAndGrabarWithoutADay) {
    Open();
    Type("Hola");
    EXPECT_EQ(WaitForText(kStatusBar, "Escritas 0004 de 1023"), "Escritas 0004 de 1023");
    Type("\r");
    EXPECT_EQ(WaitForText(kStatusBar, "Escritas 0006 de 1023"), "Escritas 0006 de 1023");

    Click(kGrabar);
    Box box = Answer("Programador", kOk);
    EXPECT_EQ(box.text, "Tienes que seleccionar fecha ...");
    EXPECT_EQ(box.buttons, "1");
    EXPECT_EQ(Text(kTextBox), "Hola\r\n") << "the text stays";
    EXPECT_FALSE(PathExists(folder.ReminderFile()));
    EXPECT_EQ(CloseWithX(), 0);
}

TEST_F(EditorTest, GrabarAnsweredNoAndYesWithAndWithoutTime) {
    Open();
    PickDay(2026, 12, 6);
    Type("No guardar");
    Box question = Grabar(kNo);
    EXPECT_EQ(question.text, "Quieres grabar el dato recordatorio del 6 Diciembre 2026 ?");
    EXPECT_EQ(Text(kTextBox), "");
    ASSERT_TRUE(PathExists(folder.ReminderFile())) << "the reload makes an empty file";
    EXPECT_EQ(ReadFile(folder.ReminderFile()).size(), 0u);

    Type("Sin hora \xF1");
    Grabar(kYes);
    Click(kTimeCheck);
    driver.Command("time-set " + dialog + " " + std::to_string(kTimePicker) + " 9 30 0");
    PickDay(2026, 12, 24);
    Type("Con hora");
    Grabar(kYes);

    std::vector<Reminder> stored = RemindersIn(folder.ReminderFile());
    ASSERT_EQ(stored.size(), 2u);
    EXPECT_EQ(stored[0].time, "##:##");
    EXPECT_EQ(stored[0].date, "6 Diciembre 2026");
    EXPECT_EQ(stored[0].text, "Sin hora \xF1");
    EXPECT_EQ(stored[1].time, "09:30") << "two-digit hours from the picker's value";
    EXPECT_EQ(stored[1].date, "24 Diciembre 2026");
    EXPECT_EQ(stored[1].active, 1);
    EXPECT_EQ(CloseWithX(), 0);
}

TEST_F(EditorTest, ListarSelectModificarAndBorrar) {
    std::vector<std::string> records;
    for (int i = 1; i <= 10; ++i) {
        bool today = i == 2 || i == 10;
        records.push_back(ReminderRecordBytes(today ? "08:00" : "07:00",
                                              today ? "6 Diciembre 2026" : "5 Diciembre 2026",
                                              ("texto " + std::to_string(i)).c_str(), 1));
    }
    records.push_back(ReminderRecordBytes("08:00", "6 Diciembre 2026", "borrado", 0));
    WriteReminders(records);
    Open();
    PickDay(2026, 12, 6);
    Click(kListar);
    EXPECT_EQ(WaitForListLines(2),
              (std::vector<std::string>{"10 08:00 texto 10", "2 08:00 texto 2"}))
        << "sorted as text";

    Click(kModificar); // no line selected: nothing happens, no box
    EXPECT_FALSE(driver.FindBox("", 500).has_value());

    driver.Command("select " + dialog + " " + std::to_string(kList) + " 1");
    EXPECT_EQ(WaitForText(kTextBox, "texto 2"), "texto 2");
    Type("cambiado "); // the caret stands before the text
    Click(kModificar);
    Box done = Answer("Quenda Soft", kOk);
    EXPECT_EQ(done.text, "Texto Modificado ...");
    std::vector<Reminder> stored = RemindersIn(folder.ReminderFile());
    ASSERT_EQ(stored.size(), 10u) << "the inactive record is dropped by the rewrite";
    EXPECT_EQ(stored[1].text, "cambiado texto 2");
    EXPECT_EQ(stored[1].time, "##:##") << "the time switch is off";

    Click(kListar);
    EXPECT_EQ(WaitForListLines(2)[1], "2 ##:## cambiado texto 2");
    driver.Command("select " + dialog + " " + std::to_string(kList) + " 0");
    EXPECT_EQ(WaitForText(kTextBox, "texto 10"), "texto 10");
    Click(kBorrar);
    EXPECT_EQ(WaitForListLines(0).size(), 0u);
    EXPECT_EQ(RemindersIn(folder.ReminderFile()).size(), 9u);
    Click(kListar);
    EXPECT_EQ(WaitForListLines(1), (std::vector<std::string>{"2 ##:## cambiado texto 2"}));
    EXPECT_EQ(CloseWithX(), 0);
}

TEST_F(EditorTest, BorrarOfTheOnlyReminderLeavesNoFile) {
    WriteReminders({ReminderRecordBytes("08:00", "6 Diciembre 2026", "solo")});
    Open();
    PickDay(2026, 12, 6);
    Click(kListar);
    ASSERT_EQ(WaitForListLines(1).size(), 1u);
    driver.Command("select " + dialog + " " + std::to_string(kList) + " 0");
    EXPECT_EQ(WaitForText(kTextBox, "solo"), "solo");
    Click(kBorrar);
    EXPECT_EQ(WaitForListLines(0).size(), 0u);
    EXPECT_FALSE(PathExists(folder.ReminderFile()));
    EXPECT_EQ(CloseWithX(), 0);
}

TEST_F(EditorTest, SavingWhileAnotherProgramHoldsTheFileLosesNothing) {
    std::string before = ReminderRecordBytes("08:00", "6 Diciembre 2026", "uno") +
                         ReminderRecordBytes("09:00", "6 Diciembre 2026", "dos");
    WriteFile(folder.ReminderFile(), before);
    Open();
    PickDay(2026, 12, 6);
    Click(kListar);
    ASSERT_EQ(WaitForListLines(2).size(), 2u);
    driver.Command("select " + dialog + " " + std::to_string(kList) + " 0");
    EXPECT_EQ(WaitForText(kTextBox, "uno"), "uno");
    ASSERT_TRUE(driver.Hold(folder.WindowsPath(folder.ReminderFile())));
    Click(kBorrar);
    Box error = Answer("Quenda Soft", kOk);
    EXPECT_EQ(error.text, "Err:  70 Permission denied");
    EXPECT_FALSE(driver.FindBox("", 500).has_value()) << "one box for the save";
    driver.Release();
    EXPECT_EQ(ReadFile(folder.ReminderFile()), before);
    EXPECT_FALSE(PathExists(folder.Path() + "_Recordatorios_.new"));

    Type("tres");
    ASSERT_TRUE(driver.Hold(folder.WindowsPath(folder.ReminderFile())));
    Click(kGrabar);
    Answer("Recordatorio", kYes);
    EXPECT_EQ(Answer("Quenda Soft", kOk).text, "Err:  70 Permission denied");
    driver.Release();
    EXPECT_EQ(ReadFile(folder.ReminderFile()), before);
    EXPECT_EQ(CloseWithX(), 0);
}

TEST_F(EditorTest, AReminderWrittenInTheEditorIsShownByTheNotifierOnItsDay) {
    Open();
    PickDay(2026, 12, 6);
    Click(kTimeCheck);
    EXPECT_EQ(
        Words(driver.Command("check " + dialog + " " + std::to_string(kTimeCheck)).at(0)).at(1),
        "1");
    driver.Command("time-set " + dialog + " " + std::to_string(kTimePicker) + " 9 30 0");
    // Real keys: a click into the text box, then typing.
    ClickOnScreen(Ask("screen-point", kTextBox));
    Process xdotool({"/usr/bin/xdotool", "type", "--delay", "20", "Comprar pan"},
                    WineEnvironment());
    ASSERT_EQ(xdotool.Wait(15000), 0);
    EXPECT_EQ(WaitForText(kStatusBar, "Escritas 0011 de 1023"), "Escritas 0011 de 1023");
    Process escape({"/usr/bin/xdotool", "key", "Escape"}, WineEnvironment());
    ASSERT_EQ(escape.Wait(10000), 0);
    EXPECT_EQ(editor.Wait(500), -1) << "Esc in the text box leaves the dialog open";
    EXPECT_EQ(Text(kTextBox), "Comprar pan");
    Grabar(kYes);
    EXPECT_EQ(CloseWithX(), 0);

    Process notifier = StartProgram(folder.Program("notifier.exe"), kSixthOfDecember);
    std::optional<Box> greeting = driver.FindBox("Recordatorio Santoral - Efemerides");
    ASSERT_TRUE(greeting);
    driver.Press(*greeting, kOk);
    std::optional<Box> alert = driver.FindBox("Recordatorio");
    ASSERT_TRUE(alert);
    EXPECT_EQ(alert->text, "Tienes un recordatorio para Hoy 06/12/2026 Domingo a las 09:30 : "
                           "\r\n\r\nRecuerda :\r\n\r\nComprar pan");
    driver.Press(*alert, kOk);
    EXPECT_EQ(notifier.Wait(15000), 0);
}
