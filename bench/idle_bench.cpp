// The day watch's cost while it waits for a timed reminder due later in the day and for the next
// day, against a yardstick built the same way that waits with a hidden window and nothing to do:
// wake-ups in a minute of idling and private memory, and wake-ups in 10 s of a busy folder, where
// another program writes a file beside the reminder file every 5 ms. Beside them a second watch,
// whose alerts window shows two lines for a minute, untouched, and is then gone for a minute
// after Aceptar todos. Both builds; the watches and the yardstick idle side by side over the same
// time.
//
// Wake-ups are counted from outside, as the voluntary context switches of every thread of every
// Linux process of the program (the Wine process, and for a 32-bit program also the 64-bit one
// that started it and waits for it): each time a thread wakes up and goes back to sleep counts
// one. Private bytes are what Windows reports for the process (GetProcessMemoryInfo's
// PrivateUsage), read by the test driver. Under Wine both include Wine's own share, which the
// yardstick has too; the difference is what the watch itself adds.
#include "driver_client.h"
#include "record_bytes.h"

#include <dirent.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>
#include <thread>

namespace {

constexpr int kIdleSeconds = 60;
constexpr int kBusySeconds = 10;
constexpr int kReminders = 10000;
constexpr size_t kAlertLines = 2;

// Voluntary context switches of each thread of the processes in that process group, by
// "process/thread name".
std::map<std::string, long> WakeUps(pid_t group) {
    std::map<std::string, long> counts;
    DIR* proc = opendir("/proc");
    for (dirent* entry; proc && (entry = readdir(proc));) {
        std::string pid = entry->d_name;
        std::ifstream statFile("/proc/" + pid + "/stat");
        std::string stat;
        if (pid.find_first_not_of("0123456789") != std::string::npos ||
            !std::getline(statFile, stat))
            continue;
        std::istringstream rest(stat.substr(stat.rfind(')') + 2));
        std::string state;
        long parent = 0, processGroup = 0;
        rest >> state >> parent >> processGroup;
        if (processGroup != group)
            continue;
        DIR* tasks = opendir(("/proc/" + pid + "/task").c_str());
        for (dirent* task; tasks && (task = readdir(tasks));) {
            if (task->d_name[0] == '.')
                continue;
            std::ifstream status("/proc/" + pid + "/task/" + task->d_name + "/status");
            std::string name, line;
            long switches = 0;
            while (std::getline(status, line)) {
                if (line.rfind("Name:", 0) == 0)
                    name = line.substr(line.find_first_not_of(" \t", 5));
                if (line.rfind("voluntary_ctxt_switches:", 0) == 0)
                    switches = std::stol(line.substr(24));
            }
            counts[pid + "/" + task->d_name + " " + name] = switches;
        }
        if (tasks)
            closedir(tasks);
    }
    if (proc)
        closedir(proc);
    return counts;
}

// Wake-ups between two counts, the total and per thread.
long Difference(const std::map<std::string, long>& before, const std::map<std::string, long>& after,
                std::string& perThread) {
    long total = 0;
    for (const auto& [thread, count] : after) {
        auto earlier = before.find(thread);
        long woken = count - (earlier == before.end() ? 0 : earlier->second);
        total += woken;
        perThread += " " + thread + ": " + std::to_string(woken) + ";";
    }
    return total;
}

double PrivateMiB(Driver& driver, const std::string& window) {
    std::vector<std::string> words = Words(driver.Command("private-bytes " + window).at(0));
    return std::stod(words.at(1)) / (1024 * 1024);
}

struct Idler {
    const char* what;
    Process process;
    std::string window;
    std::map<std::string, long> before;
};

// Started on that day ("" for today), the boxes with those captions closed in turn, its hidden
// window found (with that title, if one is given).
Idler StartIdler(Driver& driver, const char* what, const std::string& exe,
                 const std::vector<std::string>& arguments, const std::string& fakeTime,
                 const std::vector<std::string>& captions, const std::string& windowClass,
                 const std::string& title = "") {
    Idler idler{what, StartProgram(exe, fakeTime, arguments), "", {}};
    for (const std::string& caption : captions) {
        std::optional<Box> box = driver.FindBox(caption, 30000);
        if (!box) {
            std::fprintf(stderr, "%s showed no box captioned %s\n", what, caption.c_str());
            std::exit(1);
        }
        driver.Press(*box, 1);
    }
    idler.window = driver.FindWindowOfClass(windowClass, 30000, title);
    if (idler.window.empty()) {
        std::fprintf(stderr, "%s has no window of class %s\n", what, windowClass.c_str());
        std::exit(1);
    }
    return idler;
}

// A watch's hidden window has its folder's Windows path, without the final backslash, as title.
std::string WatchTitle(const InstallFolder& folder) {
    std::string path = folder.WindowsPath(folder.Path());
    return path.substr(0, path.size() - 1);
}

void BenchmarkIdling(Driver& driver, const std::string& build) {
    InstallFolder folder(build, {"notifier.exe"});
    InstallFolder alertFolder(build, {"notifier.exe"});
    WriteFile(folder.Path() + "minimal_watch.exe",
              ReadFile(BuildPath(build, "bench/minimal_watch.exe")));
    // A well-used file, all of it for other days but one reminder at 18:00: the watch has read
    // all of it for the day it greeted at 09:00 (and shown that reminder), keeps none of it while
    // it waits, and has its timer set for 18:00.
    std::string records;
    for (int i = 0; i < kReminders; ++i)
        records += ReminderRecordBytes("09:30", "1 Enero 2025",
                                       ("Recordatorio numero " + std::to_string(i)).c_str());
    records += ReminderRecordBytes("18:00", "6 Diciembre 2026",
                                   "Llamar al m\xE9"
                                   "dico");
    WriteFile(folder.ReminderFile(), records);
    // The same file and two reminders for 09:00, which come in the second watch's alerts window
    // at their time: it starts 90 s before, time enough for the 32-bit build under load to be done
    // with its boxes.
    WriteFile(alertFolder.ReminderFile(),
              records + ReminderRecordBytes("09:00", "6 Diciembre 2026", "Regar las plantas") +
                  ReminderRecordBytes("09:00", "6 Diciembre 2026", "Sacar la basura"));
    std::vector<Idler> idlers;
    idlers.push_back(StartIdler(
        driver, "day watch (notifier.exe /diario, 10,001 reminders read, one due at 18:00)",
        folder.Program("notifier.exe"), {"/diario"}, "2026-12-06 09:00:00",
        {"Recordatorio Santoral - Efemerides", "Recordatorio"}, "Recordatorio.AvisoDiario",
        WatchTitle(folder)));
    idlers.push_back(StartIdler(
        driver, "day watch with its alerts window (the same and two reminders come at 09:00)",
        alertFolder.Program("notifier.exe"), {"/diario"}, "2026-12-06 08:58:30",
        {"Recordatorio Santoral - Efemerides", "Recordatorio", "Recordatorio", "Recordatorio"},
        "Recordatorio.AvisoDiario", WatchTitle(alertFolder)));
    idlers.push_back(StartIdler(driver, "yardstick (hidden window, no timer)",
                                folder.Path() + "minimal_watch.exe", {}, "", {"Minimal"},
                                "Minimal.Watch"));
    std::string alerts = driver.FindAlertsWindow(150000);
    if (alerts.empty() ||
        !WaitUntil([&] { return driver.ListLines(alerts, kAlertListId).size() == kAlertLines; })) {
        std::fprintf(stderr, "the second watch's alerts window did not show its two lines\n");
        std::exit(1);
    }
    std::this_thread::sleep_for(std::chrono::seconds(2)); // the boxes' and the window's messages
    auto measure = [&](const char* folderState, int seconds, const std::function<void()>& wait) {
        for (Idler& idler : idlers)
            idler.before = WakeUps(idler.process.Id());
        wait();
        std::printf("%s build, %d s idle, %s:\n", build.c_str(), seconds, folderState);
        for (Idler& idler : idlers) {
            std::string perThread;
            long wakeUps = Difference(idler.before, WakeUps(idler.process.Id()), perThread);
            std::printf("  %s: %ld wake-ups (%s ), private bytes %.2f MiB\n", idler.what, wakeUps,
                        perThread.c_str() + 1, PrivateMiB(driver, idler.window));
        }
    };
    auto idle = [] { std::this_thread::sleep_for(std::chrono::seconds(kIdleSeconds)); };
    measure("quiet folder, the second watch's alerts window shown with two lines", kIdleSeconds,
            idle);
    driver.Command("press " + alerts + " " + std::to_string(kAcceptAllId));
    if (!WaitUntil([&] { return !driver.Alive(alerts); })) {
        std::fprintf(stderr, "the alerts window stayed after Aceptar todos\n");
        std::exit(1);
    }
    std::this_thread::sleep_for(std::chrono::seconds(2));
    measure("quiet folder, the second watch's alerts window gone after Aceptar todos", kIdleSeconds,
            idle);
    measure("a file beside the reminder file written every 5 ms", kBusySeconds, [&] {
        auto end = std::chrono::steady_clock::now() + std::chrono::seconds(kBusySeconds);
        for (int i = 0; std::chrono::steady_clock::now() < end; ++i) {
            WriteFile(folder.Path() + "otro.txt", std::to_string(i));
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    });
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: idle_bench win64|win32\n");
        return 2;
    }
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    std::string build = CheckedBuild(argv[1]);
    Driver driver;
    BenchmarkIdling(driver, build);
    return 0;
}
