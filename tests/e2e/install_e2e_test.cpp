// The installer of the build under test (the 32-bit release's or the 64-bit one) under Wine, run
// silently as a user would script it: it puts both programs into the chosen folder, the shortcuts
// into the user's Start menu and Startup folder and its uninstaller into the user's list of
// programs; the installed notifier runs; the uninstaller takes all of that away again and leaves
// the user's reminder file as it was. The notifier's day watch, which the Startup shortcut
// starts, is ended by a new install over it and by the uninstaller.
//
// The program folder is a throw-away one (/D=). The shortcuts and the registration go where
// Wine puts every user's: into the test prefix's profile, which Wine takes from its registry
// whatever the environment says. So the test looks for them there and removes any it leaves.
#include "driver_client.h"
#include "record_bytes.h"

#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>

namespace fs = std::filesystem;

namespace {

constexpr int kOk = 1;
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

// The installed notifier started as the Startup shortcut starts it, its greeting closed: a day
// watch that stays.
Process StartDayWatch(Driver& driver, const InstallFolder& folder) {
    Process watch = StartProgram(folder.Program("notifier.exe"), "", {"/diario"});
    std::optional<Box> greeting = driver.FindBox("Recordatorio Santoral - Efemerides");
    EXPECT_TRUE(greeting.has_value()) << "the installed notifier showed no greeting";
    if (greeting)
        driver.Press(*greeting, kOk);
    EXPECT_TRUE(watch.Running()) << "the day watch did not stay";
    return watch;
}

class InstallerTest : public testing::Test {
  protected:
    InstallFolder scratch{WindowsBuild(), {}};
    InstallFolder folder{WindowsBuild(), {}, "Recordatorio"};
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

    void TearDown() override { RemoveShortcutsAndRegistration(); }

    void RemoveShortcutsAndRegistration() {
        std::error_code ignored;
        for (const std::string& link : {editorLink, uninstallLink, startupLink})
            fs::remove(link, ignored);
        fs::remove(menuFolder, ignored); // only if empty
        RunToEnd({"reg", "delete", kUninstallKey, "/f"});
    }

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
    ASSERT_EQ(RunToEnd({Installer(), "/S", "/D=" + WindowsFolder()}), 0);

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

    Driver driver;
    Process watch = StartDayWatch(driver, folder);
    ASSERT_EQ(RunToEnd({Installer(), "/S", "/D=" + WindowsFolder()}), 0);
    EXPECT_EQ(watch.Wait(30000), 0) << "installing over the day watch must end it first";

    std::string reminders = ReminderRecordBytes("09:30", "6 Diciembre 2026", "Comprar pan") +
                            ReminderRecordBytes("##:##", "7 Diciembre 2026", "Llamar a Ana");
    WriteFile(folder.ReminderFile(), reminders);
    watch = StartDayWatch(driver, folder);
    // In place (_?=), so that it ends when its work is done; it cannot delete itself then.
    ASSERT_EQ(RunToEnd({folder.Program("desinstalar.exe"), "/S", "_?=" + WindowsFolder()}), 0);
    EXPECT_EQ(watch.Wait(30000), 0) << "uninstalling must end the day watch first";

    EXPECT_FALSE(PathExists(folder.Program("notifier.exe")));
    EXPECT_FALSE(PathExists(folder.Program("editor.exe")));
    EXPECT_FALSE(PathExists(menuFolder));
    EXPECT_FALSE(PathExists(startupLink));
    EXPECT_EQ(RegistryValue(scratch, "DisplayName"), "") << "still in the list of programs";
    EXPECT_TRUE(ReadFile(folder.ReminderFile()) == reminders) << "the user's reminders must stay";
}
