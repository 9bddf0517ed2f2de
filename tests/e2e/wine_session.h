// Running the kit's Windows programs under Wine, for the end-to-end tests and the start-up
// benchmarks: either Windows build, the shared X display and Wine prefix, processes started on a
// chosen day, and throw-away installation folders.
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

// The environment every Wine process of the tests gets (display, prefix, locale, quiet logs).
// The first call sets up the X server, the prefix and a persistent wineserver on the real clock.
const std::vector<std::string>& WineEnvironment();

// The same for a second computer that opens the same folders, as through a network share: a
// prefix with its own wineserver and X display (the home's name with "-other"). Named objects and
// share modes of one are not seen in the other; byte-range locks are, as a file server keeps them.
const std::vector<std::string>& OtherComputerEnvironment();

// Where tools/run-wine keeps the prefix (<home>/prefix) and the X server's display: the home that
// CTest gave the test from its pool (build/wine-e2e-<n>), so that tests in different homes run
// side by side; else build/wine, or build/wine-win32 for the 32-bit suites
// (KIT_WINDOWS_BUILD=win32).
std::string WineHome();

// A Windows build is "win64" or the 32-bit release, "win32". Throws, saying why, if the name is
// neither or this machine cannot run that build's programs; otherwise returns it.
std::string CheckedBuild(const std::string& build);

// The build the end-to-end tests run, as KIT_WINDOWS_BUILD says (CTest runs each suite once per
// build); win64 by default. Checked as above.
std::string WindowsBuild();

std::string WineLoader(); // /usr/lib/wine/wine64, for either build
std::string ProgramPath(const std::string& build, const std::string& exe); // dist/<build>/<exe>
std::string BuildPath(const std::string& build, const std::string& file);  // build/<build>/<file>
std::string DriverPath(); // the test driver, always 64-bit

// A child process in a process group of its own, reading /dev/null unless given an input; killed
// with every process of that group (a 32-bit program among them) if it still runs when the owner
// goes.
class Process {
  public:
    Process() = default;
    Process(const std::vector<std::string>& argv, const std::vector<std::string>& environment,
            int stdinFd = -1, int stdoutFd = -1, int stderrFd = -1);
    Process(Process&& other) noexcept;
    Process& operator=(Process&& other) noexcept;
    ~Process();

    // The exit code, or -1 if it has not ended within the time.
    int Wait(int timeoutMs);
    bool Running();
    void Kill();
    pid_t Id() const { return pid_; }

  private:
    pid_t pid_ = -1;
    int exitCode_ = -1;
};

// Starts a Windows program under Wine, with those arguments, on the computer whose environment is
// given. With a fake time ("2026-12-06 09:05:07", UTC) the program's clock runs on from that
// moment, while Wine itself keeps the real clock.
Process StartProgram(const std::string& exePath, const std::string& fakeTime = "",
                     const std::vector<std::string>& arguments = {},
                     const std::vector<std::string>& computer = WineEnvironment());

// A fresh folder under /tmp holding copies of a build's programs; removed with its contents at
// the end.
class InstallFolder {
  public:
    InstallFolder(const std::string& build, const std::vector<std::string>& programs,
                  const std::string& name = "");
    ~InstallFolder();
    InstallFolder(const InstallFolder&) = delete;
    InstallFolder& operator=(const InstallFolder&) = delete;

    const std::string& Path() const { return path_; } // with a trailing slash
    std::string Program(const std::string& exe) const { return path_ + exe; }
    std::string ReminderFile() const { return path_ + "_Recordatorios_.log"; }
    // The same path as Windows programs under Wine see it (Z:\...).
    std::string WindowsPath(const std::string& unixPath) const;

  private:
    std::string root_;
    std::string path_;
};

// Drive M: for a folder while this lives, as subst or a mapped drive makes one on Windows: a link
// in the prefix's dosdevices folder.
struct DriveM {
    explicit DriveM(const std::string& folder);
    ~DriveM();
};

// Installation folder names that have tripped programs up: a path longer than MAX_PATH (for
// the 64-bit build only: Wine's 32-bit loader, like Windows, starts no program from there), and
// a name in Cyrillic, Chinese and Japanese (UTF-8, the form of names on the Linux side). For
// parameterised tests, with UnusualFolderTestName naming each case.
std::vector<std::string> UnusualFolderNames();
template <typename ParamInfo> std::string UnusualFolderTestName(const ParamInfo& param) {
    return param.param.size() > 260 ? "PathLongerThanMaxPath" : "CyrillicAndCjk";
}

// The reminder file's attributes that a user or another program may set from the Windows side:
// read-only and hidden (FILE_ATTRIBUTE_...). For parameterised tests, with
// FileAttributesTestName naming each case.
inline std::vector<unsigned> ReadOnlyAndHidden() {
    return {0x1u, 0x2u};
}
template <typename ParamInfo> std::string FileAttributesTestName(const ParamInfo& param) {
    return param.param == 0x1 ? "ReadOnly" : "Hidden";
}

std::string ReadFile(const std::string& path);
void WriteFile(const std::string& path, const std::string& bytes);
bool PathExists(const std::string& path);
// The files that rewrites of the reminder file left in a folder (_Recordatorios_*.new).
std::vector<std::string> NewFilesLeft(const std::string& folder);

// A sparse file of `size` bytes, zero but for the given pieces at their offsets; it takes
// next to no room on disk, whatever its size.
void WriteSparseFile(const std::string& path, long long size,
                     const std::vector<std::pair<long long, std::string>>& pieces);
