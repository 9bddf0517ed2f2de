// The reminder file routines against real Win32 files: exclusive opens, partial records,
// rewrites and their failures, and the file error box.
#include "box_watcher.h"
#include "file_error.h"
#include "handle.h"
#include "reminder_file.h"
#include "temp_folder.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <new>

// Allocations larger than this fail, as large ones do first when the 32-bit program runs short of
// address space with a very large table.
static size_t gLargestAllocation = SIZE_MAX;

// The standard library's operator delete frees with free().
void* operator new(size_t size) {
    void* block = size <= gLargestAllocation ? std::malloc(size ? size : 1) : nullptr;
    if (!block)
        throw std::bad_alloc();
    return block;
}

namespace {

std::string RecordOf(const Reminder& reminder) {
    std::array<char, kRecordSize> record;
    EncodeRecord(reminder, record);
    return std::string(record.data(), record.size());
}

std::string RecordOf(const char* time, const char* date, const char* text, int32_t active = 1) {
    return RecordOf(MakeReminder(time, date, text, active));
}

// Another opener that holds the file with no sharing, as the other program does during a job.
UniqueFile HoldExclusively(const std::wstring& path) {
    return UniqueFile(
        CreateFileW(Extended(path).c_str(), GENERIC_READ, 0, nullptr, OPEN_ALWAYS, 0, nullptr));
}

// The files that rewrites left beside the reminder file, by name.
std::vector<std::wstring> NewFilesLeft() {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found;
    UniqueFind search(FindFirstFileW((gExeFolder + L"_Recordatorios_*.new").c_str(), &found));
    if (search) {
        do {
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                names.push_back(found.cFileName);
        } while (FindNextFileW(search.get(), &found));
    }
    std::sort(names.begin(), names.end()); // in no particular order from the search
    return names;
}

} // namespace

TEST(FileExists, FilesAndFoldersExistMissingPathsDoNot) {
    TempFolder folder;
    EXPECT_FALSE(FileExists(ReminderFilePath()));
    EXPECT_FALSE(FileExists(folder.Path() + L"no such folder\\x"));
    EXPECT_TRUE(FileExists(folder.Path()));
    WriteWholeFile(ReminderFilePath(), "");
    EXPECT_TRUE(FileExists(ReminderFilePath()));
}

TEST(LoadReminders, MissingFileIsCreatedEmpty) {
    TempFolder folder;
    gReminders = {MakeReminder("", "old", "", 1)};
    LoadReminders();
    EXPECT_EQ(ReminderCount(), 0);
    EXPECT_TRUE(PathExists(ReminderFilePath()));
    EXPECT_EQ(ReadWholeFile(ReminderFilePath()).size(), 0u);
}

TEST(LoadReminders, ReadsWholeRecordsAndIgnoresAPartialOne) {
    TempFolder folder;
    WriteWholeFile(ReminderFilePath(), RecordOf("09:30", "6 Diciembre 2026", "Comprar pan") +
                                           RecordOf("##:##", "7 Diciembre 2026", "", 0) +
                                           std::string(10, 'z'));
    LoadReminders();
    ASSERT_EQ(ReminderCount(), 2);
    EXPECT_EQ(gReminders[0].time, "09:30");
    EXPECT_EQ(gReminders[0].date, "6 Diciembre 2026");
    EXPECT_EQ(gReminders[0].text, "Comprar pan");
    EXPECT_EQ(gReminders[0].active, 1);
    EXPECT_EQ(gReminders[1].time, "##:##");
    EXPECT_EQ(gReminders[1].active, 0);
}

TEST(LoadReminders, DamagedFilesLoadWhatTheyHoldWithoutFault) {
    TempFolder folder;
    WriteWholeFile(ReminderFilePath(), "");
    LoadReminders();
    EXPECT_EQ(ReminderCount(), 0);

    std::string noise(20 * kRecordSize + 17, '\0');
    uint32_t state = 12345;
    for (char& c : noise) {
        state = state * 1103515245 + 12345;
        c = static_cast<char>(state >> 24);
    }
    WriteWholeFile(ReminderFilePath(), noise);
    BoxWatcher boxes;
    LoadReminders();
    ASSERT_EQ(ReminderCount(), 20);
    for (const Reminder& entry : gReminders) {
        EXPECT_LE(entry.time.size(), 6u);
        EXPECT_LE(entry.date.size(), 49u);
        EXPECT_LE(entry.text.size(), 1023u);
    }
    EXPECT_TRUE(boxes.Boxes().empty());
}

TEST(LoadReminders, FileHeldByAnotherOpenerGivesAnEmptyTableSilently) {
    TempFolder folder;
    WriteWholeFile(ReminderFilePath(), RecordOf("09:30", "6 Diciembre 2026", "x"));
    UniqueFile other = HoldExclusively(ReminderFilePath());
    ASSERT_TRUE(other);
    BoxWatcher boxes;
    gReminders = {MakeReminder("", "stale", "", 1)};
    LoadReminders();
    EXPECT_EQ(ReminderCount(), 0);
    EXPECT_TRUE(boxes.Boxes().empty());
}

TEST(LoadReminders, HoldsTheFileExclusivelyWhileItReads) {
    TempFolder folder;
    std::string record = RecordOf("09:30", "6 Diciembre 2026", "x");
    std::string big;
    for (int i = 0; i < 60000; ++i)
        big += record;
    WriteWholeFile(ReminderFilePath(), big);

    struct Load {
        static DWORD WINAPI Run(void*) {
            LoadReminders();
            return 0;
        }
    };
    // A probe that opens the file while the load runs must meet a sharing violation. A probe
    // that gets in before the load opens the file makes that load find no reminders; then the
    // round is tried again.
    int sharingViolations = 0;
    for (int round = 0; round < 5 && (sharingViolations == 0 || ReminderCount() != 60000);
         ++round) {
        sharingViolations = 0;
        UniqueHandle loader(CreateThread(nullptr, 0, Load::Run, nullptr, 0, nullptr));
        while (WaitForSingleObject(loader.get(), 0) == WAIT_TIMEOUT) {
            UniqueFile probe(CreateFileW(Extended(ReminderFilePath()).c_str(), GENERIC_READ,
                                         FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                         0, nullptr));
            if (!probe && GetLastError() == ERROR_SHARING_VIOLATION)
                ++sharingViolations;
        }
    }
    EXPECT_GT(sharingViolations, 0);
    EXPECT_EQ(ReminderCount(), 60000);
}

TEST(AppendReminder, WritesAfterTheLastWholeRecordOverAPartialOne) {
    TempFolder folder;
    std::string three = RecordOf("01:00", "1 Enero 2026", "a") +
                        RecordOf("02:00", "2 Enero 2026", "b") +
                        RecordOf("03:00", "3 Enero 2026", "c");
    WriteWholeFile(ReminderFilePath(), three + std::string(500, '\x7F'));
    BoxWatcher boxes;
    AppendReminder("09:30", "6 Diciembre 2026", "abc", 1);
    std::string file = ReadWholeFile(ReminderFilePath());
    ASSERT_EQ(file.size(), 4 * kRecordSize);
    EXPECT_EQ(file.substr(0, 3 * kRecordSize), three);
    EXPECT_EQ(file.substr(3 * kRecordSize), RecordOf("09:30", "6 Diciembre 2026", "abc"));
    EXPECT_TRUE(boxes.Boxes().empty());
}

TEST(AppendReminder, CreatesAMissingFile) {
    TempFolder folder;
    AppendReminder("##:##", "6 Diciembre 2026", "", 1);
    EXPECT_EQ(ReadWholeFile(ReminderFilePath()), RecordOf("##:##", "6 Diciembre 2026", ""));
}

TEST(AppendReminder, FileHeldByAnotherOpenerReportsPermissionDeniedAndWritesNothing) {
    TempFolder folder;
    std::string before = RecordOf("01:00", "1 Enero 2026", "a");
    WriteWholeFile(ReminderFilePath(), before);
    {
        UniqueFile other = HoldExclusively(ReminderFilePath());
        BoxWatcher boxes;
        AppendReminder("09:30", "6 Diciembre 2026", "abc", 1);
        std::vector<SeenBox> seen = boxes.Boxes();
        ASSERT_EQ(seen.size(), 1u);
        EXPECT_EQ(seen[0].caption, L"Quenda Soft");
        EXPECT_EQ(seen[0].text, L"Err:  70 Permission denied");
    }
    EXPECT_EQ(ReadWholeFile(ReminderFilePath()), before);
}

TEST(AppendReminder, MissingFolderReportsPathNotFound) {
    TempFolder folder;
    gExeFolder = folder.Path() + L"gone\\";
    BoxWatcher boxes;
    AppendReminder("09:30", "6 Diciembre 2026", "abc", 1);
    std::vector<SeenBox> seen = boxes.Boxes();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].text, L"Err:  76 Path not found");
}

TEST(SaveReminders, WritesLiveEntriesInTableOrderAndKeepsTheTable) {
    TempFolder folder;
    WriteWholeFile(ReminderFilePath(), std::string(7 * kRecordSize + 3, 'q'));
    gReminders = {MakeReminder("01:00", "1 Enero 2026", "uno", 1),
                  MakeReminder("02:00", "2 Enero 2026", "dos", 0),
                  MakeReminder("03:00", "3 Enero 2026", "tres", 5),
                  MakeReminder("04:00", "4 Enero 2026", "cuatro", -1)};
    BoxWatcher boxes;
    SaveReminders();
    EXPECT_EQ(ReadWholeFile(ReminderFilePath()),
              RecordOf(gReminders[0]) + RecordOf(gReminders[2]) + RecordOf(gReminders[3]));
    EXPECT_EQ(ReminderCount(), 4);
    EXPECT_TRUE(NewFilesLeft().empty());
    EXPECT_TRUE(boxes.Boxes().empty());
}

TEST(SaveReminders, NoLiveEntryLeavesNoFile) {
    TempFolder folder;
    WriteWholeFile(ReminderFilePath(), RecordOf("01:00", "1 Enero 2026", "a"));
    SetFileAttributesW(ReminderFilePath().c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
    gReminders = {MakeReminder("01:00", "1 Enero 2026", "a", 0)};
    BoxWatcher boxes;
    SaveReminders();
    EXPECT_FALSE(PathExists(ReminderFilePath()));
    SaveReminders(); // nothing to delete is no failure
    EXPECT_TRUE(boxes.Boxes().empty());
}

TEST(SaveReminders, ReplacesReadOnlyHiddenAndSystemFiles) {
    TempFolder folder;
    WriteWholeFile(ReminderFilePath(), RecordOf("01:00", "1 Enero 2026", "a"));
    SetFileAttributesW(ReminderFilePath().c_str(),
                       FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    gReminders = {MakeReminder("02:00", "2 Enero 2026", "b", 1)};
    BoxWatcher boxes;
    SaveReminders();
    EXPECT_EQ(ReadWholeFile(ReminderFilePath()), RecordOf(gReminders[0]));
    DWORD attributes = GetFileAttributesW(ReminderFilePath().c_str());
    EXPECT_EQ(attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN), 0u);
    EXPECT_TRUE(boxes.Boxes().empty());
}

TEST(SaveReminders, FileHeldByAnotherOpenerStaysWholeAndIsReportedOnce) {
    TempFolder folder;
    std::string before =
        RecordOf("01:00", "1 Enero 2026", "a") + RecordOf("02:00", "2 Enero 2026", "b");
    WriteWholeFile(ReminderFilePath(), before);
    SetFileAttributesW(ReminderFilePath().c_str(), FILE_ATTRIBUTE_READONLY);
    gReminders = {MakeReminder("01:00", "1 Enero 2026", "a", 0),
                  MakeReminder("02:00", "2 Enero 2026", "b", 1),
                  MakeReminder("03:00", "3 Enero 2026", "c", 1)};
    {
        UniqueFile other = HoldExclusively(ReminderFilePath());
        BoxWatcher boxes;
        SaveReminders();
        std::vector<SeenBox> seen = boxes.Boxes();
        ASSERT_EQ(seen.size(), 1u);
        EXPECT_EQ(seen[0].caption, L"Quenda Soft");
        EXPECT_EQ(seen[0].text, L"Err:  70 Permission denied");
    }
    EXPECT_EQ(ReadWholeFile(ReminderFilePath()), before);
    EXPECT_EQ(GetFileAttributesW(ReminderFilePath().c_str()) & FILE_ATTRIBUTE_READONLY,
              DWORD{FILE_ATTRIBUTE_READONLY});
    EXPECT_TRUE(NewFilesLeft().empty());
    EXPECT_EQ(ReminderCount(), 3);

    // Once the other opener is gone, the next rewrite writes the kept table.
    SaveReminders();
    EXPECT_EQ(ReadWholeFile(ReminderFilePath()), RecordOf(gReminders[1]) + RecordOf(gReminders[2]));
}

// A folder where older versions wrote the new file, the leftover of a killed rewrite, one that a
// virus scanner holds open, and a user's read-only file whose name the search matches too.
TEST(SaveReminders, LeftoversNeverBlockARewriteAndGoWhenTheyCan) {
    TempFolder folder;
    WriteWholeFile(ReminderFilePath(), RecordOf("01:00", "1 Enero 2026", "a"));
    CreateDirectoryW((gExeFolder + L"_Recordatorios_.new").c_str(), nullptr);
    WriteWholeFile(gExeFolder + L"_Recordatorios_.7-0.new", "killed");
    WriteWholeFile(gExeFolder + L"_Recordatorios_.8-0.new", "held");
    std::wstring users = gExeFolder + L"_Recordatorios_ copia.new";
    WriteWholeFile(users, "mine");
    SetFileAttributesW(users.c_str(), FILE_ATTRIBUTE_READONLY);
    UniqueFile scanner = HoldExclusively(gExeFolder + L"_Recordatorios_.8-0.new");
    gReminders = {MakeReminder("02:00", "2 Enero 2026", "b", 1)};
    BoxWatcher boxes;
    SaveReminders();
    EXPECT_TRUE(boxes.Boxes().empty());
    EXPECT_EQ(ReadWholeFile(ReminderFilePath()), RecordOf(gReminders[0]));
    EXPECT_EQ(NewFilesLeft(), (std::vector<std::wstring>{L"_Recordatorios_ copia.new",
                                                         L"_Recordatorios_.8-0.new"}));
    scanner.reset();
    SaveReminders();
    EXPECT_EQ(NewFilesLeft(), std::vector<std::wstring>{L"_Recordatorios_ copia.new"});
    EXPECT_EQ(ReadWholeFile(users), "mine");
    EXPECT_TRUE(PathExists(gExeFolder + L"_Recordatorios_.new")) << "not ours to delete";
}

TEST(SaveReminders, LastReminderHeldByAnotherOpenerIsNotLost) {
    TempFolder folder;
    std::string before = RecordOf("01:00", "1 Enero 2026", "a");
    WriteWholeFile(ReminderFilePath(), before);
    SetFileAttributesW(ReminderFilePath().c_str(), FILE_ATTRIBUTE_READONLY);
    gReminders = {MakeReminder("01:00", "1 Enero 2026", "a", 0)};
    UniqueFile other = HoldExclusively(ReminderFilePath());
    BoxWatcher boxes;
    SaveReminders();
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].text, L"Err:  70 Permission denied");
    other.reset();
    EXPECT_EQ(ReadWholeFile(ReminderFilePath()), before);
    EXPECT_EQ(GetFileAttributesW(ReminderFilePath().c_str()) & FILE_ATTRIBUTE_READONLY,
              DWORD{FILE_ATTRIBUTE_READONLY})
        << "the file gets its attributes back";
}

TEST(SaveReminders, RunningOutOfMemoryLeavesTheFileAndIsReported) {
    TempFolder folder;
    std::string before = RecordOf("01:00", "1 Enero 2026", "a");
    WriteWholeFile(ReminderFilePath(), before);
    gReminders = {MakeReminder("02:00", "2 Enero 2026", "b", 1)};
    BoxWatcher boxes;
    gLargestAllocation = 64 * 1024;
    SaveReminders();
    gLargestAllocation = SIZE_MAX;
    std::vector<SeenBox> seen = boxes.Boxes();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].text, L"Err:  7 Out of memory");
    EXPECT_EQ(ReadWholeFile(ReminderFilePath()), before);
    EXPECT_TRUE(NewFilesLeft().empty());
}

TEST(ReminderFile, MoreRecordsThanASixteenBitCounterHolds) {
    TempFolder folder;
    for (int i = 0; i < 40000; ++i)
        gReminders.push_back(MakeReminder("##:##", "6 Diciembre 2026", std::to_string(i), 1));
    gReminders[32768].active = 0;
    SaveReminders();
    LoadReminders();
    ASSERT_EQ(ReminderCount(), 39999);
    EXPECT_EQ(gReminders[32767].text, "32767");
    EXPECT_EQ(gReminders[32768].text, "32769");
    EXPECT_EQ(gReminders.back().text, "39999");
    AppendReminder("", "", "one more", 1);
    LoadReminders();
    EXPECT_EQ(ReminderCount(), 40000);
}

TEST(FileErrorNumber, SystemErrorsMapToTheirNumbers) {
    EXPECT_EQ(FileErrorNumberOf(ERROR_SHARING_VIOLATION), 70);
    EXPECT_EQ(FileErrorNumberOf(ERROR_ACCESS_DENIED), 70);
    EXPECT_EQ(FileErrorNumberOf(ERROR_DISK_FULL), 61);
    EXPECT_EQ(FileErrorNumberOf(ERROR_HANDLE_DISK_FULL), 61);
    EXPECT_EQ(FileErrorNumberOf(ERROR_FILE_NOT_FOUND), 53);
    EXPECT_EQ(FileErrorNumberOf(ERROR_PATH_NOT_FOUND), 76);
    EXPECT_EQ(FileErrorNumberOf(ERROR_INVALID_HANDLE), 57);
    EXPECT_EQ(FileErrorNumberOf(ERROR_NOT_SAME_DEVICE), 74);
    EXPECT_EQ(FileErrorNumberOf(ERROR_CRC), 72);
    EXPECT_EQ(FileErrorNumberOf(ERROR_FILENAME_EXCED_RANGE), 75);
    // A new file's name still pending deletion reads as access denied: the rewrite tries the next.
    EXPECT_TRUE(IsNameTaken(ERROR_ACCESS_DENIED));
    EXPECT_TRUE(IsNameTaken(ERROR_FILE_EXISTS));
    EXPECT_FALSE(IsNameTaken(ERROR_PATH_NOT_FOUND));
}
