// SaveReminders killed at random moments under Wine: the reminder file must always be one whole
// table or the other, never missing, never short, never a mixture. KIT_SAVE_KILLS sets the
// number of kills (at least two): by default 25 of the 64-bit build and 10 of the 32-bit one,
// whose file routines are the same code and whose saves, under the emulator, take several times
// as long.
#include "driver_client.h"
#include "save_tables.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <random>
#include <thread>

namespace {

using namespace std::chrono_literals;

// At least two: one kill for each table the file can hold.
int KillCount() {
    const char* value = std::getenv("KIT_SAVE_KILLS");
    return std::max(2, value ? std::atoi(value) : WindowsBuild() == "win32" ? 10 : 25);
}

} // namespace

TEST(SaveReminders, KilledAtAnyMomentLeavesOneWholeTableOrTheOther) {
    const std::string tableA = SaveTableFileBytes('A');
    const std::string tableB = SaveTableFileBytes('B');
    InstallFolder folder(WindowsBuild(), {});
    InstallFolder scratch(WindowsBuild(), {});
    // Wine's own errors of each run go to a file, shown if the loop ends by itself.
    std::vector<std::string> environment = WineEnvironment();
    std::replace(environment.begin(), environment.end(), std::string("WINEDEBUG=-all"),
                 std::string("WINEDEBUG=err+all,fixme-all"));
    const std::string errors = scratch.Path() + "errors.txt";
    std::vector<std::string> argv = {
        WineLoader(), BuildPath(WindowsBuild(), "tests/e2e/driver/kit_save_loop.exe"),
        folder.WindowsPath(folder.Path())};
    unsigned seed = std::random_device()();
    std::mt19937 random(seed);
    // The kills fall anywhere in the first few saves of each run, start-up included: within
    // three times what the first run took to its first save, and at least 1.5 s. One save of
    // 100,000 records takes under half a second here in the 64-bit build, and several times
    // that in the 32-bit one, which runs under an emulator.
    int windowMs = 1500;

    int kills = KillCount(), seenA = 0, seenB = 0, newFileLeft = 0, waited = 0;
    for (int kill = 1; kill <= kills; ++kill) {
        auto started = std::chrono::steady_clock::now();
        int errorsFd = open(errors.c_str(), O_CREAT | O_WRONLY | O_TRUNC | O_CLOEXEC, 0644);
        Process loop(argv, environment, -1, -1, errorsFd);
        close(errorsFd);
        if (kill == 1) {
            ASSERT_TRUE(WaitUntil([&] { return PathExists(folder.ReminderFile()); }, 60s))
                << "the first save never ended";
            auto firstSave = std::chrono::duration_cast<std::chrono::milliseconds>(
                std::chrono::steady_clock::now() - started);
            windowMs = std::max(windowMs, 3 * static_cast<int>(firstSave.count()));
            // Waited for, not left to the kills: under load they can all fall in the first save.
            std::string bytes;
            ASSERT_TRUE(
                WaitUntil([&] { return (bytes = ReadFile(folder.ReminderFile())) == tableB; }, 60s))
                << "the loop never got past its first save; the file holds " << bytes.size()
                << " bytes";
        }
        // Under load the random kills can all fall in the same part of each run, so from the
        // middle on a kill waits for a table that no kill has found yet. Every kill before it found
        // the other one, which the file holds at this start: the file holds the wanted table only
        // once this run has saved it, and the kill falls in the save that replaces it.
        char wanted = kill <= kills / 2 ? 0 : seenA == 0 ? 'A' : seenB == 0 ? 'B' : 0;
        if (wanted) {
            ++waited;
            uintmax_t size = (wanted == 'A' ? tableA : tableB).size(), now = 0;
            ASSERT_TRUE(WaitUntil(
                [&] {
                    std::error_code error;
                    return (now = std::filesystem::file_size(folder.ReminderFile(), error)) == size;
                },
                120s))
                << "kill " << kill << ": the file never held table " << wanted << " (" << size
                << " bytes) in 120 s; it holds " << now << " bytes";
        } else {
            std::this_thread::sleep_for(
                std::chrono::milliseconds(std::uniform_int_distribution<int>(0, windowMs)(random)));
        }
        int exitCode = loop.Wait(0);
        ASSERT_EQ(exitCode, -1) << "kill " << kill
                                << ": the save loop stopped by itself with exit code " << exitCode
                                << "; Wine said: " << ReadFile(errors);
        loop.Kill();

        std::string bytes = ReadFile(folder.ReminderFile());
        ASSERT_TRUE(bytes == tableA || bytes == tableB)
            << "kill " << kill << " (seed " << seed << "): the file holds " << bytes.size()
            << " bytes that are neither table";
        ++(bytes == tableA ? seenA : seenB);
        // Each save clears what an earlier killed one left: never more than the last one's.
        size_t left = NewFilesLeft(folder.Path()).size();
        EXPECT_LE(left, 1u) << "kill " << kill;
        newFileLeft += left > 0;
    }
    std::cout << kills << " kills within " << windowMs << " ms of each start (seed " << seed
              << "): table A " << seenA << " times, table B " << seenB << " times (" << waited
              << " waited for a table none had found), a half-written new file left " << newFileLeft
              << " times\n";
    // The file holds table A while B is written over it, and B while A is.
    EXPECT_TRUE(seenA > 0 && seenB > 0)
        << "of " << kills << " kills, " << seenA << " found table A and " << seenB
        << " table B: none fell while the loop wrote table " << (seenA == 0 ? 'B' : 'A')
        << " over the other";
}
