#include "wine_session.h"

#include "reminder_record.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
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

// tools/run-wine prepares the X server, the prefix and the wineserver; an empty run does it.
std::string PrepareWine() {
    std::string runner = std::string(KIT_SOURCE_DIR) + "/tools/run-wine";
    std::vector<std::string> argv = {runner, "cmd", "/c", "exit"};
    std::vector<std::string> environment;
    for (char** e = environ; *e; ++e)
        environment.push_back(*e);
    Process setup(argv, environment);
    if (setup.Wait(180000) != 0)
        throw std::runtime_error("tools/run-wine could not prepare Wine");
    std::string display = Environment("DISPLAY");
    if (display.empty()) {
        std::ifstream file(std::string(KIT_SOURCE_DIR) + "/build/wine/display");
        file >> display;
    }
    return display;
}

} // namespace

const std::vector<std::string>& WineEnvironment() {
    static const std::vector<std::string> environment = [] {
        std::string display = PrepareWine();
        return std::vector<std::string>{
            "DISPLAY=" + display,
            "WINEPREFIX=" + std::string(KIT_SOURCE_DIR) + "/build/wine/prefix",
            "WINEDEBUG=-all",
            // As tools/run-wine: shortcuts made under Wine stay out of $HOME's desktop menus.
            "WINEDLLOVERRIDES=mscoree,mshtml=;winemenubuilder.exe=d",
            "LANG=C.UTF-8",
            "HOME=" + Environment("HOME", "/root"),
            "PATH=" + Environment("PATH", "/usr/bin:/bin"),
            "TZ=UTC",
        };
    }();
    return environment;
}

std::string WineLoader() {
    return "/usr/lib/wine/wine64";
}
std::string ProgramPath(const std::string& exe) {
    return std::string(KIT_WIN64_DIST) + "/" + exe;
}
std::string DriverPath() {
    return KIT_DRIVER;
}

Process::Process(const std::vector<std::string>& argv, const std::vector<std::string>& environment,
                 int stdinFd, int stdoutFd) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (stdinFd >= 0)
        posix_spawn_file_actions_adddup2(&actions, stdinFd, 0);
    if (stdoutFd >= 0)
        posix_spawn_file_actions_adddup2(&actions, stdoutFd, 1);
    std::vector<char*> args = CStrings(argv);
    std::vector<char*> env = CStrings(environment);
    int failed = posix_spawn(&pid_, args[0], &actions, nullptr, args.data(), env.data());
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

void Process::Kill() {
    if (pid_ <= 0)
        return;
    kill(pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
    pid_ = -1;
}

Process StartProgram(const std::string& exePath, const std::string& fakeTime) {
    std::vector<std::string> environment = WineEnvironment();
    if (!fakeTime.empty()) {
        // libfaketime inside the program only: Wine's server was started on the real clock.
        // An absolute FAKETIME stands still at that moment.
        environment.push_back("LD_PRELOAD=/usr/lib/x86_64-linux-gnu/faketime/libfaketime.so.1");
        environment.push_back("FAKETIME=" + fakeTime);
        environment.push_back("NO_FAKE_STAT=1");
        environment.push_back("FAKETIME_DONT_FAKE_MONOTONIC=1");
    }
    return Process({WineLoader(), exePath}, environment);
}

InstallFolder::InstallFolder(const std::vector<std::string>& programs, const std::string& name) {
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
        fs::copy_file(ProgramPath(exe), path_ + exe);
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

std::vector<std::string> UnusualFolderNames() {
    std::string longName;
    for (int level = 10; level < 24; ++level)
        longName += "carpeta_de_instalacion_" + std::to_string(level) + "/";
    return {longName + "recordatorios",
            std::string(reinterpret_cast<const char*>(u8"Напоминания 提醒事项 リマインダー"))};
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

std::string ReminderRecordBytes(const char* time, const char* date, const char* text, int active) {
    std::array<char, kRecordSize> record;
    EncodeRecord(MakeReminder(time, date, text, active), record);
    return std::string(record.data(), record.size());
}
