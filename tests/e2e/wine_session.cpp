#include "wine_session.h"

#include "thirty_two_bit.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>
#include <utility>

namespace fs = std::filesystem;

extern char** environ;

namespace {

std::vector<char*> CStrings(const std::vector<std::string>& strings) {
    std::vector<char*> pointers;
    for (const std::string& s : strings)
        pointers.push_back(const_cast<char*>(s.c_str()));
    pointers.push_back(nullptr);
    return pointers;
}

std::string Environment(const char* name, const std::string& fallback = "") {
    const char* value = std::getenv(name);
    return value ? value : fallback;
}

std::string DefaultWineHome() {
    return std::string(KIT_SOURCE_DIR) + "/build/wine";
}

// tools/run-wine prepares the X server, the prefix and the wineserver of a Wine home; an empty run
// does it. Every home but the default one gets an X server of its own, whatever DISPLAY says, so
// that the 32-bit suites never share a screen with the 64-bit ones, nor a second computer with
// the first.
std::string PrepareWine(const std::string& home) {
    bool ownHome = home != DefaultWineHome();
    std::string runner = std::string(KIT_SOURCE_DIR) + "/tools/run-wine";
    std::vector<std::string> argv = {runner, "cmd", "/c", "exit"};
    std::vector<std::string> environment = {"KIT_WINE_HOME=" + home};
    for (char** e = environ; *e; ++e) {
        std::string entry = *e;
        if (entry.rfind("KIT_WINE_HOME=", 0) != 0 && (!ownHome || entry.rfind("DISPLAY=", 0) != 0))
            environment.push_back(entry);
    }
    // Its empty run is a Wine program like any other, which Wine now and then fails to start:
    // a second and a third try, before the tests that need Wine are given up.
    std::string exitCodes;
    for (int attempt = 0; attempt < 3; ++attempt) {
        int exitCode = Process(argv, environment).Wait(180000);
        if (exitCode == 0) {
            exitCodes.clear();
            break;
        }
        exitCodes += " " + std::to_string(exitCode);
    }
    if (!exitCodes.empty())
        throw std::runtime_error("tools/run-wine could not prepare Wine in " + home +
                                 " (exit codes" + exitCodes + ")");
    std::string display = ownHome ? "" : Environment("DISPLAY");
    if (display.empty()) {
        std::ifstream file(home + "/display");
        file >> display;
    }
    return display;
}

// The build that KIT_WINDOWS_BUILD names, not yet checked to run here.
std::string RequestedBuild() {
    return Environment("KIT_WINDOWS_BUILD", "win64");
}

// The signed seconds from now to a moment given as "2026-12-06 09:05:07" in UTC: how the
// clock shift libraries take a day (FAKETIME=-90663), as the faketime wrapper passes it.
std::string SecondsFromNow(const std::string& moment) {
    std::tm fields{};
    const char* end = strptime(moment.c_str(), "%Y-%m-%d %H:%M:%S", &fields);
    if (!end || *end != '\0')
        throw std::runtime_error("not a moment of the form 2026-12-06 09:05:07: " + moment);
    long long seconds = static_cast<long long>(timegm(&fields)) - std::time(nullptr);
    return (seconds < 0 ? "" : "+") + std::to_string(seconds);
}

} // namespace

std::string WineHome() {
    // CTest hands each end-to-end test a home of its pool (tests/e2e/wine_homes.json) as
    // "id:2,slots:1": build/wine-e2e-2.
    std::string given = Environment("CTEST_RESOURCE_GROUP_0_WINE_HOME");
    if (given.rfind("id:", 0) == 0)
        return std::string(KIT_SOURCE_DIR) + "/build/wine-e2e-" +
               given.substr(3, given.find(',') - 3);
    return RequestedBuild() == "win32" ? std::string(KIT_SOURCE_DIR) + "/build/wine-win32"
                                       : DefaultWineHome();
}

std::string CheckedBuild(const std::string& build) {
    if (build != "win64" && build != "win32")
        throw std::runtime_error("a Windows build is win64 or win32, not " + build);
    if (build == "win32") {
        static const std::string why = WhyThirtyTwoBitProgramsCannotRun();
        if (!why.empty())
            throw std::runtime_error(why);
    }
    return build;
}

std::string WindowsBuild() {
    return CheckedBuild(RequestedBuild());
}

// The environment of the Wine processes of one home, which is prepared first.
static std::vector<std::string> EnvironmentOf(const std::string& home) {
    std::string display = PrepareWine(home);
    return std::vector<std::string>{
        "DISPLAY=" + display,
        "WINEPREFIX=" + home + "/prefix",
        "WINEDEBUG=-all",
        // As tools/run-wine: shortcuts made under Wine stay out of $HOME's desktop menus.
        "WINEDLLOVERRIDES=mscoree,mshtml=;winemenubuilder.exe=d",
        "LANG=C.UTF-8",
        "HOME=" + Environment("HOME", "/root"),
        "PATH=" + Environment("PATH", "/usr/bin:/bin"),
        "TZ=UTC",
    };
}

// One test program at a time in a home, whoever runs them: CTest's pool gives each its own, and
// a run without the pool (ctest without a preset) waits here rather than share a desktop. Held
// until the program ends, and by none of the processes it starts.
static void HoldHome(const std::string& home) {
    fs::create_directories(home);
    int fd = open((home + "/in-use.lock").c_str(), O_CREAT | O_RDWR | O_CLOEXEC, 0644);
    if (fd < 0 || flock(fd, LOCK_EX) != 0)
        throw std::runtime_error("cannot lock the Wine home " + home);
}

const std::vector<std::string>& WineEnvironment() {
    static const std::vector<std::string> environment = [] {
        HoldHome(WineHome());
        return EnvironmentOf(WineHome());
    }();
    return environment;
}

const std::vector<std::string>& OtherComputerEnvironment() {
    static const std::vector<std::string> environment = EnvironmentOf(WineHome() + "-other");
    return environment;
}

std::string WineLoader() {
    return "/usr/lib/wine/wine64";
}
std::string ProgramPath(const std::string& build, const std::string& exe) {
    return std::string(KIT_SOURCE_DIR) + "/dist/" + CheckedBuild(build) + "/" + exe;
}
std::string BuildPath(const std::string& build, const std::string& file) {
    return std::string(KIT_SOURCE_DIR) + "/build/" + CheckedBuild(build) + "/" + file;
}
std::string DriverPath() {
    return KIT_DRIVER;
}

Process::Process(const std::vector<std::string>& argv, const std::vector<std::string>& environment,
                 int stdinFd, int stdoutFd, int stderrFd) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    // Nothing reads the terminal: with a terminal as standard input Wine gives every program a
    // console of its own (a conhost.exe on that terminal), which a run from CI would not have.
    if (stdinFd >= 0)
        posix_spawn_file_actions_adddup2(&actions, stdinFd, 0);
    else
        posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    if (stdoutFd >= 0)
        posix_spawn_file_actions_adddup2(&actions, stdoutFd, 1);
    if (stderrFd >= 0)
        posix_spawn_file_actions_adddup2(&actions, stderrFd, 2);
    // A process group of its own, which Kill ends whole.
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP);
    posix_spawnattr_setpgroup(&attributes, 0);
    std::vector<char*> args = CStrings(argv);
    std::vector<char*> env = CStrings(environment);
    int failed = posix_spawn(&pid_, args[0], &actions, &attributes, args.data(), env.data());
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    if (failed)
        throw std::runtime_error("cannot start " + argv[0]);
}

Process::Process(Process&& other) noexcept
    : pid_(std::exchange(other.pid_, -1)), exitCode_(other.exitCode_) {}

Process& Process::operator=(Process&& other) noexcept {
    Kill();
    pid_ = std::exchange(other.pid_, -1);
    exitCode_ = other.exitCode_;
    return *this;
}

Process::~Process() {
    Kill();
}

int Process::Wait(int timeoutMs) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (pid_ > 0) {
        int status = 0;
        pid_t done = waitpid(pid_, &status, WNOHANG);
        if (done == pid_) {
            pid_ = -1;
            exitCode_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            break;
        }
        if (std::chrono::steady_clock::now() >= deadline)
            return -1;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return exitCode_;
}

bool Process::Running() {
    return Wait(0) == -1 && pid_ > 0;
}

// Whether a process of the group still runs. One that has ended but is not our child stays in
// the group as a zombie until init reaps it, which here can take two seconds; it holds nothing
// once its other threads are gone too (the last of them closes the files).
static bool GroupRuns(pid_t group) {
    if (kill(-group, 0) != 0)
        return false;
    std::error_code error;
    for (const fs::directory_entry& entry : fs::directory_iterator("/proc", error)) {
        std::ifstream file(entry.path() / "stat");
        std::string stat;
        if (!std::getline(file, stat) || stat.rfind(')') == std::string::npos)
            continue;
        // "pid (name) state ppid pgrp ... num_threads ...", the name being any text.
        std::istringstream fields(stat.substr(stat.rfind(')') + 1));
        char state = 0;
        long parent = 0, processGroup = 0, threads = 0;
        fields >> state >> parent >> processGroup;
        for (int field = 6; field <= 20; ++field)
            fields >> threads;
        if (processGroup == group && (state != 'Z' || threads > 1))
            return true;
    }
    return false;
}

void Process::Kill() {
    if (pid_ <= 0)
        return;
    // The 64-bit loader runs a 32-bit program in a process of its own, which Wine forks off
    // outside our children while the started process (start.exe) waits for it: only the
    // process group holds both. Gone means gone: the killed program holds no file any more.
    kill(-pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
    for (int i = 0; i < 1000 && GroupRuns(pid_); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    pid_ = -1;
}

Process StartProgram(const std::string& exePath, const std::string& fakeTime,
                     const std::vector<std::string>& arguments,
                     const std::vector<std::string>& computer) {
    std::vector<std::string> environment = computer;
    if (!fakeTime.empty()) {
        // A shifted real-time clock inside the program only: Wine's server keeps the real one.
        // The dynamic loader completes $LIB per process, so the 64-bit Wine loader gets
        // libfaketime and the 32-bit one, which libfaketime cannot serve, our clock_shift.c.
        environment.push_back("LD_PRELOAD=" + std::string(KIT_CLOCK_DIR) + "/$LIB/libkit_clock.so");
        environment.push_back("FAKETIME=" + SecondsFromNow(fakeTime));
        environment.push_back("NO_FAKE_STAT=1");
        environment.push_back("FAKETIME_DONT_FAKE_MONOTONIC=1");
    }
    std::vector<std::string> argv = {WineLoader(), exePath};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    return Process(argv, environment);
}

InstallFolder::InstallFolder(const std::string& build, const std::vector<std::string>& programs,
                             const std::string& name) {
    std::string pattern = (fs::temp_directory_path() / "kit-e2e-XXXXXX").string();
    if (!mkdtemp(pattern.data()))
        throw std::runtime_error("cannot make a temporary folder");
    root_ = pattern + "/";
    path_ = root_;
    if (!name.empty()) {
        path_ += name + "/";
        fs::create_directories(path_);
    }
    for (const std::string& exe : programs)
        fs::copy_file(ProgramPath(build, exe), path_ + exe);
}

InstallFolder::~InstallFolder() {
    std::error_code ignored;
    fs::permissions(root_, fs::perms::owner_all, fs::perm_options::add, ignored);
    fs::remove_all(root_, ignored);
}

std::string InstallFolder::WindowsPath(const std::string& unixPath) const {
    std::string path = "Z:" + unixPath;
    for (char& c : path)
        if (c == '/')
            c = '\\';
    return path;
}

static std::string DriveMLink() {
    return WineHome() + "/prefix/dosdevices/m:";
}

DriveM::DriveM(const std::string& folder) {
    WineEnvironment();            // the prefix
    unlink(DriveMLink().c_str()); // left by a test that was killed
    if (symlink(folder.c_str(), DriveMLink().c_str()) != 0)
        throw std::runtime_error("cannot make " + DriveMLink());
}

DriveM::~DriveM() {
    unlink(DriveMLink().c_str());
}

std::vector<std::string> UnusualFolderNames() {
    std::vector<std::string> names;
    if (RequestedBuild() == "win64") {
        std::string longName;
        for (int level = 10; level < 24; ++level)
            longName += "carpeta_de_instalacion_" + std::to_string(level) + "/";
        names.push_back(longName + "recordatorios");
    }
    names.push_back(reinterpret_cast<const char*>(u8"Напоминания 提醒事项 リマインダー"));
    return names;
}

std::string ReadFile(const std::string& path) {
    // One read into a string of the file's size: the crash test reads files of 100 MB.
    std::ifstream file(path, std::ios::binary | std::ios::ate);
    if (!file)
        return {};
    std::string bytes(static_cast<size_t>(file.tellg()), '\0');
    file.seekg(0);
    file.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    bytes.resize(static_cast<size_t>(file.gcount()));
    return bytes;
}

void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file << bytes;
}

void WriteSparseFile(const std::string& path, long long size,
                     const std::vector<std::pair<long long, std::string>>& pieces) {
    int fd = open(path.c_str(), O_CREAT | O_WRONLY | O_TRUNC, 0644);
    bool written = fd >= 0 && ftruncate(fd, size) == 0;
    for (const auto& [offset, bytes] : pieces)
        written = written && pwrite(fd, bytes.data(), bytes.size(), offset) ==
                                 static_cast<ssize_t>(bytes.size());
    if (fd >= 0)
        close(fd);
    if (!written)
        throw std::runtime_error("cannot write the sparse file " + path);
}

bool PathExists(const std::string& path) {
    return fs::exists(fs::symlink_status(path));
}

std::vector<std::string> NewFilesLeft(const std::string& folder) {
    std::vector<std::string> names;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
        std::string name = entry.path().filename().string();
        if (entry.is_regular_file() && name.starts_with("_Recordatorios_") &&
            name.ends_with(".new"))
            names.push_back(name);
    }
    return names;
}
