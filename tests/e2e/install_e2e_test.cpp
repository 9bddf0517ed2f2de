// The installer of the build under test (the 32-bit release's or the 64-bit one) under Wine, run
// silently as a user would script it: it puts both programs into the chosen folder, the shortcuts
// into the user's Start menu and Startup folder and its uninstaller into the user's list of
// programs, and starts the notifier's day watch, which the Startup shortcut starts at each logon.
// An install over a running watch ends it and starts it again, going on from where it stopped:
// with a greeting unless the user had closed all of its boxes, with the alerts that fell due and
// the greeting of a day that began while the install was held up; an install that stops starts it
// again too, and one that finds the editor open stops before it ends the watch. The uninstaller
// ends the watch and takes all of that away again, with what killed rewrites of the reminder file
// left and what the watch kept of the folder, and leaves the user's reminder file and files of
// like names as they were.
//
// The program folder is a throw-away one (/D=). The shortcuts and the registration go where
// Wine puts every user's: into the test prefix's profile, which Wine takes from its registry
// whatever the environment says. So the test looks for them there and removes any it leaves.
#include "driver_client.h"
#include "record_bytes.h"

#include <gtest/gtest.h>

#include <cctype>
#include <ctime>
#include <filesystem>

namespace fs = std::filesystem;

namespace {

const char kUninstallKey[] =
    "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Recordatorio";

std::string Installer() {
    return std::string(KIT_PACKAGE_PREFIX) + "-" + WindowsBuild() + "-setup.exe";
}

// A Windows program under Wine, run to its end: its exit code, or -1 if it overran.
int RunToEnd(std::vector<std::string> arguments, int timeoutMs = 60000) {
    arguments.insert(arguments.begin(), WineLoader());
    return Process(arguments, WineEnvironment()).Wait(timeoutMs);
}

// What a command run by cmd writes into a file; empty if it wrote nothing. Wine's cmd now and
// then cannot start a program ("Application could not be started"): a step that must find an
// answer asks again until it does, within the effect deadline.
std::string CmdAnswer(const InstallFolder& scratch, const std::vector<std::string>& command) {
    std::string answer = scratch.Path() + "answer.txt";
    fs::remove(answer);
    std::vector<std::string> arguments = {"cmd", "/c"};
    arguments.insert(arguments.end(), command.begin(), command.end());
    arguments.push_back(">" + scratch.WindowsPath(answer));
    return RunToEnd(arguments) == 0 && PathExists(answer) ? ReadFile(answer) : "";
}
std::string AwaitCmdAnswer(const InstallFolder& scratch, const std::vector<std::string>& command) {
    std::string answer;
    WaitUntil([&] { return !(answer = CmdAnswer(scratch, command)).empty(); });
    return answer;
}

// Wine's profile folders, as Linux paths: what a Windows program gets for %APPDATA%.
std::string RoamingAppData(const InstallFolder& scratch) {
    std::string windowsPath = AwaitCmdAnswer(scratch, {"echo", "%APPDATA%"});
    windowsPath.erase(windowsPath.find_last_not_of("\r\n ") + 1);
    if (windowsPath.size() < 3)
        throw std::runtime_error("cmd gave no %APPDATA%: \"" + windowsPath + "\"");
    // C:\users\... lies in the prefix's dosdevices/c: (drive_c).
    std::string unixPath = WineHome() + "/prefix/dosdevices/" +
                           static_cast<char>(std::tolower(windowsPath.at(0))) + ":" +
                           windowsPath.substr(2);
    for (char& c : unixPath)
        if (c == '\\')
            c = '/';
    return unixPath;
}

// A reg query's answer, empty if the value is not there; one that the installer must have
// written is asked for until it shows.
std::string RegistryValue(const InstallFolder& scratch, const std::string& value) {
    return CmdAnswer(scratch, {"reg", "query", kUninstallKey, "/v", value});
}
std::string AwaitRegistryValue(const InstallFolder& scratch, const std::string& value) {
    return AwaitCmdAnswer(scratch, {"reg", "query", kUninstallKey, "/v", value});
}

// A shortcut holds its target's path, in Windows' ANSI text among other forms.
bool PointsTo(const std::string& shortcut, const std::string& windowsPath) {
    return ReadFile(shortcut).find(windowsPath) != std::string::npos;
}

// A shortcut holds its arguments in UTF-16 (ASCII arguments here).
bool HasArguments(const std::string& shortcut, const std::string& arguments) {
    std::string wide;
    for (char c : arguments)
        wide += std::string{c, '\0'};
    return ReadFile(shortcut).find(wide) != std::string::npos;
}

// The class of the day watch's hidden window, whose title is its folder.
const char kDayWatchClass[] = "Recordatorio.AvisoDiario";
const char kGreetingCaption[] = "Recordatorio Santoral - Efemerides";
constexpr unsigned kClose = 0x10; // WM_CLOSE

class InstallerTest : public testing::Test {
  protected:
    InstallFolder scratch{WindowsBuild(), {}};
    InstallFolder folder{WindowsBuild(), {}, "Recordatorio"};
    Driver driver;
    std::string menuFolder;
    std::string editorLink, uninstallLink, startupLink;

    void SetUp() override {
        ASSERT_TRUE(PathExists(Installer()))
            << Installer() << " is missing: make it with tools/package";
        std::string programs = RoamingAppData(scratch) + "/Microsoft/Windows/Start Menu/Programs";
        menuFolder = programs + "/Recordatorio";
        editorLink = menuFolder + "/Editor de recordatorios.lnk";
        uninstallLink = menuFolder + "/Desinstalar Recordatorio.lnk";
        startupLink = programs + "/StartUp/Recordatorio.lnk";
        RemoveShortcutsAndRegistration(); // of a run that was cut short
    }

    // The day watch of the folder, found as the installer finds it: by its window's class and
    // title, the folder.
    std::string FindDayWatch(int timeoutMs = 15000) {
        return driver.FindWindowOfClass(kDayWatchClass, timeoutMs, WindowsFolder());
    }

    // A day watch that the installer started and the test did not see ended is no child of the
    // test's: it is asked to end as the uninstaller asks it.
    void TearDown() override {
        for (std::string watch; !(watch = FindDayWatch(0)).empty();) {
            driver.Send(watch, kClose);
            WaitUntil([&] { return !driver.Alive(watch); });
        }
        RemoveShortcutsAndRegistration();
    }

    void RemoveShortcutsAndRegistration() {
        std::error_code ignored;
        for (const std::string& link : {editorLink, uninstallLink, startupLink})
            fs::remove(link, ignored);
        fs::remove(menuFolder, ignored); // only if empty
        RunToEnd({"reg", "delete", kUninstallKey, "/f"});
    }

    // A silent install into the folder on the test's clock: 6 December 2026, an hour before 16:00
    // when the test starts, and going on with the real one; or at the moment `at`, as if the run
    // had been held up until then. The watch it starts keeps its clock.
    int Install(const std::string& at = "") {
        char moment[32];
        std::time_t now = std::time(nullptr) + clockOffset;
        std::strftime(moment, sizeof moment, "%Y-%m-%d %H:%M:%S", std::gmtime(&now));
        return StartProgram(Installer(), at.empty() ? moment : at, {"/S", "/D=" + WindowsFolder()})
            .Wait(60000);
    }
    const std::time_t clockOffset = 1796569200 - std::time(nullptr); // 2026-12-06 15:00:00 UTC

    // The folder as /D= and _?= take it: a Windows path without quotes or a trailing "\".
    std::string WindowsFolder() const {
        std::string path = folder.WindowsPath(folder.Path());
        path.pop_back();
        return path;
    }
};

} // namespace

TEST_F(InstallerTest, InstallsPerUserAndUninstallsKeepingTheReminders) {
    ASSERT_EQ(WindowsFolder().find(' '), std::string::npos) << "/D= takes no quoted path";
    ASSERT_EQ(Install(), 0);

    // What installer/pack packed: the programs of dist/, signed when a certificate was given.
    for (const char* exe : {"notifier.exe", "editor.exe"})
        EXPECT_EQ(ReadFile(folder.Program(exe)),
                  ReadFile(BuildPath(WindowsBuild(), "installer/stage/") + exe))
            << exe << " is not the one packed in build/" << WindowsBuild()
            << "/installer/stage: remake the installer with tools/package";
    EXPECT_TRUE(PathExists(folder.Program("desinstalar.exe")));
    EXPECT_TRUE(PointsTo(editorLink, WindowsFolder() + "\\editor.exe")) << editorLink;
    EXPECT_TRUE(PointsTo(uninstallLink, WindowsFolder() + "\\desinstalar.exe")) << uninstallLink;
    EXPECT_TRUE(PointsTo(startupLink, WindowsFolder() + "\\notifier.exe")) << startupLink;
    EXPECT_TRUE(HasArguments(startupLink, "/diario")) << startupLink;
    EXPECT_NE(AwaitRegistryValue(scratch, "DisplayVersion").find(KIT_VERSION), std::string::npos);
    EXPECT_NE(
        AwaitRegistryValue(scratch, "UninstallString").find(WindowsFolder() + "\\desinstalar.exe"),
        std::string::npos);

    // The installer starts the day watch at once, which greets the day. Installed over while its
    // greeting is open, it is ended and started again with a greeting; installed over once the
    // user has closed its boxes, without one.
    std::string watch = FindDayWatch();
    ASSERT_NE(watch, "") << "the installer started no day watch";
    std::optional<Box> greeting = driver.FindBox(kGreetingCaption);
    ASSERT_TRUE(greeting.has_value()) << "the first watch did not greet";
    std::string again;
    for (bool greetingOpen : {true, false}) {
        ASSERT_EQ(Install(), 0);
        // The ended watch's box goes with its process, a moment after its hidden window.
        EXPECT_TRUE(WaitUntil([&] {
            return !driver.Alive(watch) && !driver.Alive(greeting->handle);
        })) << "installing over the day watch must end it first";
        again = FindDayWatch();
        ASSERT_NE(again, "") << "no day watch after an install over the running one";
        EXPECT_NE(again, watch);
        std::optional<Box> next = driver.FindBox(kGreetingCaption, greetingOpen ? 30000 : 3000);
        ASSERT_EQ(next.has_value(), greetingOpen) << "greeting open before: " << greetingOpen;
        if (next) {
            driver.Press(*next, kOk);
            greeting = next;
        }
        watch = again;
    }

    // An install that stops: before it ends the watch, for an open editor; after it, for an
    // uninstaller that cannot be written, and then it starts the watch again.
    Process editor = StartProgram(folder.Program("editor.exe"));
    std::string dialog = driver.FindDialog("Recordatorio - ");
    ASSERT_NE(dialog, "") << "the editor did not open";
    EXPECT_EQ(Install(), 2);
    EXPECT_TRUE(driver.Alive(watch))
        << "an install that could not replace the editor ended the watch";
    driver.Command("post " + dialog + " 274 61536 0"); // WM_SYSCOMMAND SC_CLOSE
    ASSERT_EQ(editor.Wait(30000), 0);
    fs::remove(folder.Program("desinstalar.exe"));
    fs::create_directory(folder.Program("desinstalar.exe"));
    EXPECT_EQ(Install(), 2);
    EXPECT_TRUE(WaitUntil([&] { return !driver.Alive(watch); }));
    again = FindDayWatch();
    EXPECT_NE(again, "") << "a failed install left no day watch";
    EXPECT_FALSE(driver.FindBox("", 3000).has_value()) << "the watch started again greeted again";
    fs::remove(folder.Program("desinstalar.exe"));
    // An older editor.exe made read-only (by a copy from a CD, say) is no open editor: replaced.
    std::string editorPath = folder.WindowsPath(folder.Program("editor.exe"));
    WriteFile(folder.Program("editor.exe"), "old");
    ASSERT_EQ(driver.SetAttributes(editorPath, 0x1) & 0x1, 0x1u); // FILE_ATTRIBUTE_READONLY
    ASSERT_EQ(Install(), 0);
    EXPECT_EQ(ReadFile(folder.Program("editor.exe")),
              ReadFile(BuildPath(WindowsBuild(), "installer/stage/editor.exe")));
    EXPECT_TRUE(WaitUntil([&] { return !driver.Alive(again); }));
    again = FindDayWatch();
    ASSERT_NE(again, "");

    // Installs held up between ending the watch and starting the next one: over an alert's time,
    // the new watch brings the alert in its window, and greets nothing; over midnight, it greets
    // the new day.
    std::string reminders = ReminderRecordBytes("16:00", "6 Diciembre 2026", "Comprar pan") +
                            ReminderRecordBytes("##:##", "7 Diciembre 2026", "Llamar a Ana");
    WriteFile(folder.ReminderFile(), reminders);
    ASSERT_EQ(Install("2026-12-06 16:00:20"), 0);
    std::string alerts = driver.FindAlertsWindow();
    ASSERT_NE(alerts, "") << "the watch installed at 16:00:20 brought no alert";
    EXPECT_EQ(driver.ListLines(alerts, kAlertListId),
              std::vector<std::string>{"06/12/2026 Domingo 16:00\tComprar pan"});
    EXPECT_EQ(driver.CountBoxes(), 0) << "the watch installed at 16:00:20 greeted again";
    driver.Command("press " + alerts + " " + std::to_string(kAcceptAllId));
    EXPECT_TRUE(WaitUntil([&] { return !driver.Alive(alerts); }));
    ASSERT_EQ(Install("2026-12-07 00:00:20"), 0);
    greeting = driver.FindBox(kGreetingCaption);
    ASSERT_TRUE(greeting.has_value()) << "the watch installed over midnight greeted nothing";
    EXPECT_EQ(greeting->text, "Hoy es 7 Diciembre 2026 Lunes\r\n\r\nSan Ambrosio");
    driver.Press(*greeting, kOk);
    std::optional<Box> list = driver.FindBox("Recordatorio");
    ASSERT_TRUE(list.has_value()) << "no list of the 7th";
    EXPECT_NE(list->text.find("Llamar a Ana"), std::string::npos) << list->text;
    driver.Press(*list, kOk);
    again = FindDayWatch();
    auto kept = [&] {
        return CmdAnswer(scratch, {"reg", "query", "HKCU\\Software\\Recordatorio", "/s"});
    };
    EXPECT_NE(kept().find(WindowsFolder()), std::string::npos) << "the watch kept nothing";
    // What killed rewrites leave and the editors' lock file, and a user's copies of the file,
    // named alike.
    const std::vector<std::string> leftovers = {"_Recordatorios_.123-4.new", "_Recordatorios_.new",
                                                "_Recordatorios_.lock"};
    const std::vector<std::string> copies = {
        "_Recordatorios_ copia.new", "_Recordatorios_.7-copia.new", "_Recordatorios_.2024.new"};
    for (const std::vector<std::string>* names : {&leftovers, &copies})
        for (const std::string& name : *names)
            WriteFile(folder.Path() + name, reminders);
    ASSERT_EQ(driver.SetAttributes(editorPath, 0x1) & 0x1, 0x1u);
    // In place (_?=), so that it ends when its work is done; it cannot delete itself then.
    ASSERT_EQ(RunToEnd({folder.Program("desinstalar.exe"), "/S", "_?=" + WindowsFolder()}), 0);
    EXPECT_TRUE(WaitUntil([&] { return !driver.Alive(again); }))
        << "uninstalling must end the day watch first";

    EXPECT_FALSE(PathExists(folder.Program("notifier.exe")));
    EXPECT_FALSE(PathExists(folder.Program("editor.exe")));
    EXPECT_FALSE(PathExists(menuFolder));
    EXPECT_FALSE(PathExists(startupLink));
    EXPECT_EQ(RegistryValue(scratch, "DisplayName"), "") << "still in the list of programs";
    EXPECT_EQ(kept().find(WindowsFolder()), std::string::npos) << "what the watch kept stayed";
    EXPECT_TRUE(ReadFile(folder.ReminderFile()) == reminders) << "the user's reminders must stay";
    for (const std::string& name : leftovers)
        EXPECT_FALSE(PathExists(folder.Path() + name)) << name;
    for (const std::string& name : copies)
        EXPECT_TRUE(PathExists(folder.Path() + name)) << "the user's " << name << " must stay";
}
