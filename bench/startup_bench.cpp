// Start-up times as a user sees them, from the start of the process until its first window is
// on screen, each program against a yardstick built the same way: the notifier against a
// program that shows one box, the editor with a file of 100,000 reminders against a program
// that reads the same file in one piece and shows an empty dialog. Runs alternate; medians.
// One build per run, named as the argument: the 64-bit programs against 64-bit yardsticks, or
// the 32-bit release (which runs here through an emulator) against 32-bit ones.
#include "driver_client.h"
#include "measure.h"
#include "record_bytes.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>

namespace {

constexpr int kRounds = 11;
constexpr int kWmClose = 0x10;

double Seconds(std::chrono::steady_clock::time_point since) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

// Time until a box with that caption shows; then it is closed.
double TimeUntilBox(Driver& driver, const std::string& exe, const std::string& caption) {
    auto start = std::chrono::steady_clock::now();
    Process program = StartProgram(exe);
    std::optional<Box> box = driver.FindBox(caption, 30000);
    double seconds = Seconds(start);
    if (box)
        driver.Press(*box, 1);
    program.Wait(10000);
    return seconds;
}

// Time until a dialog whose caption starts so shows; then it is closed.
double TimeUntilDialog(Driver& driver, const std::string& exe, const std::string& caption) {
    auto start = std::chrono::steady_clock::now();
    Process program = StartProgram(exe);
    std::string dialog = driver.FindDialog(caption, 30000);
    double seconds = Seconds(start);
    driver.Command("post " + dialog + " " + std::to_string(kWmClose) + " 0 0");
    program.Wait(10000);
    return seconds;
}

void Compare(const char* what, const char* yardstickName, double goal,
             const std::function<double()>& program, const std::function<double()>& yardstick) {
    program(); // one round of each to warm the caches
    yardstick();
    std::vector<double> times, yardstickTimes;
    for (int round = 0; round < kRounds; ++round) {
        times.push_back(program());
        yardstickTimes.push_back(yardstick());
    }
    double ratio = Median(times) / Median(yardstickTimes);
    std::printf("%s: %.0f ms; %s: %.0f ms; ratio %.2f (goal at most %.2f)\n", what,
                Median(times) * 1000, yardstickName, Median(yardstickTimes) * 1000, ratio, goal);
}

void BenchmarkStartUp(Driver& driver, const std::string& build) {
    std::printf("%s build:\n", build.c_str());
    {
        InstallFolder folder(build, {"notifier.exe"});
        std::string yardstick = BuildPath(build, "bench/minimal_box.exe");
        Compare(
            "notifier start until its first box", "a program that shows one box", 1.15,
            [&] {
                return TimeUntilBox(driver, folder.Program("notifier.exe"),
                                    "Recordatorio Santoral - Efemerides");
            },
            [&] { return TimeUntilBox(driver, yardstick, "Minimal"); });
    }
    {
        InstallFolder folder(build, {"editor.exe"});
        std::string records;
        for (int i = 0; i < 100000; ++i)
            records += ReminderRecordBytes(i % 3 ? "09:30" : "##:##",
                                           (std::to_string(1 + i % 28) + " Diciembre 2026").c_str(),
                                           ("Recordatorio numero " + std::to_string(i)).c_str());
        WriteFile(folder.ReminderFile(), records);
        WriteFile(folder.Path() + "minimal_dialog.exe",
                  ReadFile(BuildPath(build, "bench/minimal_dialog.exe")));
        Compare(
            "editor start with 100,000 reminders until its dialog",
            "a program that reads the file and shows an empty dialog", 1.3,
            [&] {
                return TimeUntilDialog(driver, folder.Program("editor.exe"), "Recordatorio - ");
            },
            [&] {
                return TimeUntilDialog(driver, folder.Path() + "minimal_dialog.exe", "Minimal");
            });
    }
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: startup_bench win64|win32\n");
        return 2;
    }
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    std::string build = CheckedBuild(argv[1]);
    Driver driver;
    BenchmarkStartUp(driver, build);
    return 0;
}
