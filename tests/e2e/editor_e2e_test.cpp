// The real editor.exe under Wine, driven through its dialog as a user would: the mouse picks
// calendar days (xdotool), characters are typed into the text box, buttons are pressed, and
// the boxes are answered. What the commands leave in the reminder file is read back here.
#include "editor_test.h"

#include <cctype>
#include <filesystem>

TEST_F(EditorTest, DialogAndControlsAreLaidOutAsDesigned) {
    Open();
    std::vector<std::string> window = driver.Ask("window " + dialog);
    // The system adds WS_VISIBLE and WS_CLIPSIBLINGS to the template's style, and the frame's
    // extended styles.
    EXPECT_EQ(std::stoul(window.at(1), nullptr, 16) & ~0x14000000u, 0x80C000D4u);
    EXPECT_EQ(std::stoul(window.at(2), nullptr, 16) & ~0x10101u, 0u);
    EXPECT_EQ(window.at(9), "0") << "no owner window";
    // The program's clock runs on from the chosen moment until the dialog reads it.
    EXPECT_GE(Unhex(window.at(12)), "Recordatorio - 06/12/2026 - 09:05:07");
    EXPECT_LE(Unhex(window.at(12)), "Recordatorio - 06/12/2026 - 09:05:37");
    std::vector<std::string> frame = driver.Ask("dlg-px 275 225 382 109");
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
        {kCalendarId, "SysMonthCal32", "SysMonthCal32_1", 0, 0, 170, 95, 0x50010004, 0x204},
        {kTimePickerId, "SysDateTimePick32", nullptr, 190, 0, 33, 15, 0x58010009, 0x204},
        {kTextBoxId, "Edit", "", 170, 15, 212, 45, 0x50211004, 0x204},
        {kGrabarId, "Button", "Grabar", 228, 0, 35, 15, 0x50010F00, 0x204},
        {kTimeCheckId, "Button", "CheckBox1", 180, 0, 10, 15, 0x50010003, 0x4},
        {kBorrarId, "Button", "Borrar", 263, 0, 35, 15, 0x50010F00, 0x204},
        {kModificarId, "Button", "Modificar", 298, 0, 35, 15, 0x50010F00, 0x204},
        {kListarId, "Button", "Listar", 333, 0, 35, 15, 0x50010F00, 0x204},
        {kCloseId, "Button", "X", 368, 0, 14, 15, 0x50010F00, 0x204},
        {kReminderListId, "ListBox", "", 170, 60, 212, 47, 0x50010003, 0x204},
        {kStatusBarId, "msctls_statusbar32", "", -1, -1, -1, -1, 0x50000003, 0x4},
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
        EXPECT_EQ(expected.id == kReminderListId ? style & ~0x00200000u : style, expected.style);
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
        std::vector<std::string> px = driver.Ask(
            "dlg-px " + std::to_string(expected.x) + " " + std::to_string(expected.y) + " " +
            std::to_string(expected.width) + " " + std::to_string(expected.height));
        for (int k = 1; k <= 3; ++k)
            EXPECT_NEAR(std::stoi(child.at(4 + k)), std::stoi(px.at(k)), 1) << "position " << k;
        // A list box shows whole lines only, so it may be up to one line shorter.
        int height = std::stoi(child.at(8)), designed = std::stoi(px.at(4));
        EXPECT_LE(height, designed + 1);
        EXPECT_GE(height, expected.id == kReminderListId ? designed - 16 : designed - 1);
    }
    EXPECT_EQ(Text(kStatusBarId), "") << "the counter shows only after the first change";

    // Esc and Enter are ignored; a system close ends the dialog like X, with exit code 0. The
    // character posted after them shows when they have been taken.
    driver.Command("post " + dialog + " 273 2 0"); // WM_COMMAND IDCANCEL
    driver.Command("post " + dialog + " 273 1 0"); // WM_COMMAND IDOK
    Type("x");
    EXPECT_EQ(WaitForText(kStatusBarId, "Escritas 0001 de 1023"), "Escritas 0001 de 1023");
    EXPECT_EQ(editor.Wait(0), -1);
    driver.Command("post " + dialog + " 274 61536 0"); // WM_SYSCOMMAND SC_CLOSE
    EXPECT_EQ(editor.Wait(30000), 0);
    EXPECT_FALSE(PathExists(folder.ReminderFile())) << "opening the editor makes no file";
}

TEST_F(EditorTest, CounterAndGrabarWithoutADay) {
    Open();
    Type("Hola");
    EXPECT_EQ(WaitForText(kStatusBarId, "Escritas 0004 de 1023"), "Escritas 0004 de 1023");
    Type("\r");
    EXPECT_EQ(WaitForText(kStatusBarId, "Escritas 0006 de 1023"), "Escritas 0006 de 1023");

    Click(kGrabarId);
    ASSERT_TRUE(driver.FindBox("Programador"));
    // Esc typed into the text box while the box runs its own message loop; the key typed after
    // it shows when it has been taken.
    ClickOnScreen(Ask("screen-point", kTextBoxId));
    Process escape({"/usr/bin/xdotool", "key", "Escape", "ctrl+End", "x"}, WineEnvironment());
    ASSERT_EQ(escape.Wait(10000), 0);
    EXPECT_EQ(WaitForText(kStatusBarId, "Escritas 0007 de 1023"), "Escritas 0007 de 1023");
    EXPECT_EQ(editor.Wait(0), -1) << "Esc leaves the dialog open";
    Box box = Answer("Programador", kOk);
    EXPECT_EQ(box.text, "Tienes que seleccionar fecha ...");
    EXPECT_EQ(box.buttons, "1");
    EXPECT_EQ(Text(kTextBoxId), "Hola\r\nx") << "the text stays";
    EXPECT_FALSE(PathExists(folder.ReminderFile()));
    EXPECT_EQ(CloseWithX(), 0);
}

TEST_F(EditorTest, GrabarAnsweredNoAndYesWithAndWithoutTime) {
    Open();
    PickDay(2026, 12, 6);
    Type("No guardar");
    Box question = Grabar(kNo);
    EXPECT_EQ(question.text, "Quieres grabar el dato recordatorio del 6 Diciembre 2026 ?");
    EXPECT_EQ(Text(kTextBoxId), "");
    ASSERT_TRUE(PathExists(folder.ReminderFile())) << "the reload makes an empty file";
    EXPECT_EQ(ReadFile(folder.ReminderFile()).size(), 0u);

    Type("Sin hora \xF1");
    Grabar(kYes);
    Click(kListarId); // the table was read again after the save
    EXPECT_EQ(WaitForList({"1 ##:## Sin hora \xF1"}),
              std::vector<std::string>{"1 ##:## Sin hora \xF1"});
    SwitchTimeOn();
    Ask("time-set", kTimePickerId, "9 30 0");
    PickDay(2026, 12, 24);
    Type("Con hora");
    Click(kGrabarId);
    ASSERT_TRUE(driver.FindBox("Recordatorio"));
    PickDay(2026, 12, 25); // while the question about the 24th is open
    EXPECT_EQ(Answer("Recordatorio", kYes).text,
              "Quieres grabar el dato recordatorio del 24 Diciembre 2026 ?");

    // The save follows the answer, with no other sign on screen: wait for the file.
    std::vector<Reminder> stored;
    WaitUntil([&] { return (stored = RemindersIn(folder.ReminderFile())).size() >= 2; });
    ASSERT_EQ(stored.size(), 2u);
    EXPECT_EQ(stored[0].time, "##:##");
    EXPECT_EQ(stored[0].date, "6 Diciembre 2026");
    EXPECT_EQ(stored[0].text, "Sin hora \xF1");
    EXPECT_EQ(stored[1].time, "09:30") << "two-digit hours from the picker's value";
    EXPECT_EQ(stored[1].date, "24 Diciembre 2026") << "the day the question named";
    EXPECT_EQ(stored[1].text, "Con hora");
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
    // A folder where older versions wrote the rewritten file must not stop a rewrite.
    std::string oldNewFile = folder.Path() + "_Recordatorios_.new";
    std::filesystem::create_directory(oldNewFile);
    Open();
    PickDay(2026, 12, 6);
    Click(kListarId);
    EXPECT_EQ(WaitForListLines(2),
              (std::vector<std::string>{"10 08:00 texto 10", "2 08:00 texto 2"}))
        << "sorted as text";

    Click(kModificarId); // no line selected: nothing happens, no box
    SelectLine(1);       // taken after Modificar, as both are posted
    EXPECT_EQ(WaitForText(kTextBoxId, "texto 2"), "texto 2");
    EXPECT_EQ(driver.CountBoxes(), 0);
    Type("cambiado "); // the caret stands before the text
    Click(kModificarId);
    Box done = Answer("Quenda Soft", kOk);
    EXPECT_EQ(done.text, "Texto Modificado ...");
    std::vector<Reminder> stored = RemindersIn(folder.ReminderFile());
    ASSERT_EQ(stored.size(), 10u) << "the inactive record is dropped by the rewrite";
    EXPECT_EQ(stored[1].text, "cambiado texto 2");
    EXPECT_EQ(stored[1].time, "##:##") << "the time switch is off";
    Click(kModificarId); // again without Listar: the line shows what the first one wrote
    EXPECT_EQ(Answer("", kOk).text, "Texto Modificado ...");

    Click(kListarId); // the list still shows the two lines from before the change
    EXPECT_EQ(WaitForList({"10 08:00 texto 10", "2 ##:## cambiado texto 2"}),
              (std::vector<std::string>{"10 08:00 texto 10", "2 ##:## cambiado texto 2"}));
    SelectLine(0);
    EXPECT_EQ(WaitForText(kTextBoxId, "texto 10"), "texto 10");
    Click(kBorrarId);
    EXPECT_EQ(WaitForListLines(0).size(), 0u);
    EXPECT_EQ(RemindersIn(folder.ReminderFile()).size(), 9u);
    Click(kListarId);
    EXPECT_EQ(WaitForListLines(1), (std::vector<std::string>{"2 ##:## cambiado texto 2"}));
    EXPECT_TRUE(NewFilesLeft(folder.Path()).empty());
    EXPECT_TRUE(PathExists(oldNewFile));
    EXPECT_EQ(CloseWithX(), 0);
}

TEST_F(EditorTest, BorrarOfTheOnlyReminderLeavesNoFile) {
    WriteReminders({ReminderRecordBytes("08:00", "6 Diciembre 2026", "solo")});
    OpenAndSelectFirstOfToday(1, "solo");
    // Held by another program from the moment Borrar has made its write lock until half a second
    // later: the delete waits for it.
    ASSERT_TRUE(driver.Hold(folder.WindowsPath(folder.ReminderFile())));
    Click(kBorrarId);
    ASSERT_TRUE(WaitUntil([&] { return PathExists(folder.Path() + "_Recordatorios_.lock"); }))
        << "Borrar made no write lock";
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    driver.Release();
    WaitUntil([&] { return ListLines().empty() || driver.CountBoxes() > 0; });
    EXPECT_EQ(driver.CountBoxes(), 0) << "Borrar gave up on the held file";
    EXPECT_TRUE(ListLines().empty());
    EXPECT_FALSE(PathExists(folder.ReminderFile()));
    EXPECT_EQ(CloseWithX(), 0);
}

// The notifier, a backup or a sync tool may hold the file for a moment: Grabar and Borrar wait for
// it. Held for longer, a save is reported and changes nothing: the line is still listed, no
// "Texto Modificado ..." follows, and the text stays, to be saved again.
TEST_F(EditorTest, SavingWhileAnotherProgramHoldsTheFile) {
    std::string uno = ReminderRecordBytes("08:00", "6 Diciembre 2026", "uno"),
                dos = ReminderRecordBytes("09:00", "6 Diciembre 2026", "dos"),
                tres = ReminderRecordBytes("##:##", "6 Diciembre 2026", "tres");
    WriteFile(folder.ReminderFile(), uno + dos);
    OpenAndSelectFirstOfToday(2, "uno");
    std::string path = folder.WindowsPath(folder.ReminderFile());
    auto doneOrBox = [&](const std::function<bool()>& done) {
        WaitUntil([&] { return done() || driver.CountBoxes() > 0; });
        return driver.CountBoxes() == 0 && done();
    };
    // Held until half a second after Borrar's new file is ready to take the old one's place.
    ASSERT_TRUE(driver.Hold(path));
    Click(kBorrarId);
    ASSERT_TRUE(doneOrBox([&] { return !NewFilesLeft(folder.Path()).empty(); }))
        << "Borrar gave up on the held file at once";
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    driver.Release();
    EXPECT_TRUE(doneOrBox([&] { return ListLines().empty(); })) << "Borrar reported a failure";
    EXPECT_EQ(ReadFile(folder.ReminderFile()), dos);
    // Held until half a second after Grabar's question is answered.
    Type("tres");
    Click(kGrabarId);
    std::optional<Box> question = driver.FindBox("Recordatorio");
    ASSERT_TRUE(question && driver.Hold(path));
    driver.Press(*question, kYes);
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    driver.Release();
    EXPECT_TRUE(doneOrBox([&] { return Text(kStatusBarId) == kEmptyCounter; }))
        << "Grabar reported a failure";
    ASSERT_EQ(ReadFile(folder.ReminderFile()), dos + tres);

    // Held for longer. A character typed after each box shows when the command is over.
    Click(kListarId);
    ASSERT_EQ(WaitForListLines(2), (std::vector<std::string>{"1 09:00 dos", "2 ##:## tres"}));
    SelectLine(0);
    ASSERT_EQ(WaitForText(kTextBoxId, "dos"), "dos");
    ASSERT_TRUE(driver.Hold(path));
    std::string text = "dos";
    for (int command : {kBorrarId, kModificarId, kGrabarId}) {
        Click(command);
        if (command == kGrabarId)
            Answer("Recordatorio", kYes);
        EXPECT_EQ(Answer("Quenda Soft", kOk).text, "Err:  70 Permission denied");
        Type("x");
        text = "x" + text;
        ASSERT_EQ(WaitForText(kTextBoxId, text), text) << "the text stays";
        ASSERT_EQ(driver.CountBoxes(), 0) << "one box for the save";
    }
    EXPECT_EQ(ListLines().size(), 2u) << "the line is still listed";
    driver.Release();
    EXPECT_EQ(ReadFile(folder.ReminderFile()), dos + tres);
    EXPECT_TRUE(NewFilesLeft(folder.Path()).empty());
    EXPECT_EQ(CloseWithX(), 0);
}

// Two editors of one file would undo each other's changes: a second start, by whatever path,
// brings forward what the open one shows. An editor installed elsewhere opens as usual.
TEST_F(EditorTest, OneEditorPerFolder) {
    // Made before the editor starts: Wine then names the volume after drive M: by every path.
    DriveM drive(folder.Path());
    Open();
    PickDay(2026, 12, 6); // while no other dialog covers the calendar
    auto dialogs = [this] {
        std::vector<std::string> words = driver.Ask("dialogs " + Hex("Recordatorio - "));
        return std::vector<std::string>(words.begin() + 1, words.end());
    };
    auto minimised = [this](const std::string& window) { // WS_MINIMIZE in its style
        return (std::stoul(driver.Ask("window " + window).at(1), nullptr, 16) & 0x20000000u) != 0;
    };
    // Waits until `front` is in front, not minimised, with `count` dialogs; else says what it saw.
    auto awaitFront = [&](const std::string& front, size_t count) {
        std::string seen;
        bool done = WaitUntil([&] {
            std::string foreground = driver.Ask("foreground").at(1);
            bool small = minimised(front);
            size_t shown = dialogs().size();
            seen =
                foreground + (small ? " minimised, " : ", ") + std::to_string(shown) + " dialogs";
            return foreground == front && !small && shown == count;
        });
        return done ? std::string() : seen;
    };
    // Waits for two dialogs and gives the one that is not `known`.
    auto dialogBeside = [&](const std::string& known) {
        std::vector<std::string> shown;
        WaitUntil([&] { return (shown = dialogs()).size() >= 2; });
        return shown.size() < 2 ? std::string() : shown.at(shown.at(0) == known ? 1 : 0);
    };
    InstallFolder elsewhere(WindowsBuild(), {"editor.exe"});
    Process other = StartProgram(elsewhere.Program("editor.exe"), kSixthOfDecember);
    std::string otherDialog = dialogBeside(dialog);
    ASSERT_NE(otherDialog, "") << "the other folder's editor opens its own dialog";

    // The same folder through drive Z: and in upper case, while the open dialog is minimised.
    driver.Command("post " + dialog + " 274 61472 0"); // WM_SYSCOMMAND SC_MINIMIZE
    ASSERT_TRUE(WaitUntil([&] { return minimised(dialog); })) << "the dialog stays unminimised";
    std::string path = folder.WindowsPath(folder.Program("editor.exe"));
    for (char& c : path)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    EXPECT_EQ(Process({WineLoader(), path}, WineEnvironment()).Wait(30000), 0);
    EXPECT_EQ(awaitFront(dialog, 2), "") << "the open one restored, in front";

    // Grabar's question, which the user may have covered with the dialog: a start through drive
    // M: brings the question forward, not the dialog. After X, the program lives on behind the
    // question, which a start brings forward again (under Wine the hidden dialog stays the active
    // window until then); once it is answered, a start opens a dialog.
    Click(kGrabarId);
    std::optional<Box> question = driver.FindBox("Recordatorio");
    ASSERT_TRUE(question);
    driver.Command("to-front " + dialog);
    ASSERT_EQ(awaitFront(dialog, 2), "") << "the dialog in front of its question";
    EXPECT_EQ(Process({WineLoader(), "m:\\editor.exe"}, WineEnvironment()).Wait(30000), 0);
    EXPECT_EQ(awaitFront(question->handle, 2), "") << "the question in front of its dialog";
    Click(kCloseId);
    ASSERT_TRUE(WaitUntil([&] { return dialogs().size() == 1; }))
        << "after X, " << dialogs().size() << " dialogs show: the first editor's is not hidden";
    EXPECT_EQ(Process({WineLoader(), "m:\\editor.exe"}, WineEnvironment()).Wait(30000), 0);
    EXPECT_EQ(awaitFront(question->handle, 1), "") << "the question in front";
    driver.Press(*question, kNo);
    Process next = StartProgram(folder.Program("editor.exe"), kSixthOfDecember);
    EXPECT_EQ(editor.Wait(30000), 0);
    editor = std::move(next);
    dialog = dialogBeside(otherDialog);
    ASSERT_NE(dialog, "") << "a new dialog";
    EXPECT_EQ(awaitFront(dialog, 2), "");
    EXPECT_EQ(CloseWithX(), 0);
    driver.Command("post " + otherDialog + " 274 61536 0"); // SC_CLOSE
    EXPECT_EQ(other.Wait(30000), 0);
}

// Two computers that open one folder through a network share, each with its editor open: two Wine
// prefixes, each with its own wineserver and X display, which see each other's byte-range locks
// but not their named objects and share modes. Whatever each saves is in the file once, a deleted
// reminder never comes back, and each Borrar and Modificar hits the reminder its user selected.
TEST_F(EditorTest, TwoComputersOneFolder) {
    using Lines = std::vector<std::string>;
    WriteReminders({ReminderRecordBytes("08:00", "6 Diciembre 2026", "uno"),
                    ReminderRecordBytes("09:00", "6 Diciembre 2026", "dos")});
    EditorUser home(folder, OtherComputerEnvironment());
    Open();
    home.Open();
    auto live = [&] {
        Lines reminders;
        for (const Reminder& reminder : RemindersIn(folder.ReminderFile()))
            if (reminder.active != 0)
                reminders.push_back(reminder.time + " " + reminder.text);
        return reminders;
    };
    PickDay(2026, 12, 6);
    Type("tres");
    Grabar(kYes);
    EXPECT_EQ(live(), (Lines{"08:00 uno", "09:00 dos", "##:## tres"}));
    Click(kListarId);
    ASSERT_EQ(WaitForListLines(3), (Lines{"1 08:00 uno", "2 09:00 dos", "3 ##:## tres"}));

    // Home, opened before tres was saved, lists it and deletes uno: tres stays.
    ASSERT_EQ(home.ListToday(3), (Lines{"1 08:00 uno", "2 09:00 dos", "3 ##:## tres"}));
    home.SelectLine(0);
    ASSERT_EQ(home.WaitForText(kTextBoxId, "uno"), "uno");
    home.Click(kBorrarId);
    EXPECT_EQ(home.WaitForListLines(0).size(), 0u);
    EXPECT_EQ(live(), (Lines{"09:00 dos", "##:## tres"}));

    // The office deletes tres, line 3 of a list from before: now the file's second reminder.
    SelectLine(2);
    ASSERT_EQ(WaitForText(kTextBoxId, "tres"), "tres");
    Click(kBorrarId);
    EXPECT_EQ(WaitForListLines(0).size(), 0u);
    EXPECT_EQ(live(), (Lines{"09:00 dos"})) << "uno is not back";

    home.Type("cuatro");
    home.Grabar(kYes);
    EXPECT_EQ(live(), (Lines{"09:00 dos", "##:## cuatro"}));
    Click(kListarId);
    EXPECT_EQ(WaitForListLines(2), (Lines{"1 09:00 dos", "2 ##:## cuatro"}));

    // Home changes dos, which the office's list still shows as it was: the office's Borrar of it
    // finds it gone, and writes nothing.
    home.Click(kListarId);
    ASSERT_EQ(home.WaitForListLines(2), (Lines{"1 09:00 dos", "2 ##:## cuatro"}));
    home.SelectLine(0);
    ASSERT_EQ(home.WaitForText(kTextBoxId, "dos"), "dos");
    home.Type("cambiado ");
    home.Click(kModificarId);
    EXPECT_EQ(home.Answer("Quenda Soft", kOk).text, "Texto Modificado ...");
    EXPECT_EQ(live(), (Lines{"##:## cambiado dos", "##:## cuatro"}));
    SelectLine(0);
    ASSERT_EQ(WaitForText(kTextBoxId, "dos"), "dos");
    Click(kBorrarId);
    Box gone = Answer("Recordatorio", kOk);
    EXPECT_EQ(gone.text,
              "Ese recordatorio ya no est\xE1: se ha cambiado desde otro equipo. Pulsa Listar.");
    EXPECT_EQ(gone.buttons, "1");
    EXPECT_EQ(live(), (Lines{"##:## cambiado dos", "##:## cuatro"}));
    EXPECT_EQ(home.CloseWithX(), 0);
    EXPECT_EQ(CloseWithX(), 0);
}

TEST_F(EditorTest, AReminderWrittenInTheEditorIsShownByTheNotifierOnItsDay) {
    Open();
    PickDay(2026, 12, 6);
    SwitchTimeOn();
    Ask("time-set", kTimePickerId, "9 30 0");
    EXPECT_EQ(WaitForText(kTimePickerId, "09:30"), "09:30") << "the picker shows what is stored";
    // Real keys: a click into the text box, then typing; Esc among them, and the key after it
    // shows when it has been taken.
    ClickOnScreen(Ask("screen-point", kTextBoxId));
    Process xdotool({"/usr/bin/xdotool", "type", "--delay", "20", "Comprar pa"}, WineEnvironment());
    ASSERT_EQ(xdotool.Wait(15000), 0);
    EXPECT_EQ(WaitForText(kStatusBarId, "Escritas 0010 de 1023"), "Escritas 0010 de 1023");
    Process escape({"/usr/bin/xdotool", "key", "Escape", "n"}, WineEnvironment());
    ASSERT_EQ(escape.Wait(10000), 0);
    EXPECT_EQ(WaitForText(kStatusBarId, "Escritas 0011 de 1023"), "Escritas 0011 de 1023");
    EXPECT_EQ(editor.Wait(0), -1) << "Esc in the text box leaves the dialog open";
    EXPECT_EQ(Text(kTextBoxId), "Comprar pan");
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
    EXPECT_EQ(notifier.Wait(30000), 0);
}
