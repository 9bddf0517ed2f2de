// The reminder file routines against real Win32 files: exclusive opens, partial records,
// rewrites and their failures, each failure returned as its file error number.
#include "file_error.h"
#include "file_error_text.h"
#include "handle.h"
#include "path_form.h"
#include "record_bytes.h"
#include "reminder_rewrite.h"
#include "temp_folder.h"
#include "write_lock.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>

namespace {

// Another opener that holds the file with no sharing, as the other program does during a job.
UniqueFile HoldExclusively(const std::wstring& path) {
    return UniqueFile(
        CreateFileW(LongPathForm(path).c_str(), GENERIC_READ, 0, nullptr, OPEN_ALWAYS, 0, nullptr));
}

// The files that rewrites left beside the reminder file, by name.
std::vector<std::wstring> NewFilesLeft(const TempFolder& folder) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found;
    UniqueFind search(FindFirstFileW((folder.Path() + L"_Recordatorios_*.new").c_str(), &found));
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

// Left missing by a start's load (or each logon would make one), made by Grabar's load.
TEST(LoadReminders, MissingFileIsLeftOrCreatedEmptyAsAsked) {
    TempFolder folder;
    std::vector<Reminder> table = {MakeReminder("", "old", "", 1)};
    EXPECT_EQ(LoadReminders(folder.File(), table, IfMissing::Leave), kErrFileNotFound);
    EXPECT_TRUE(table.empty());
    EXPECT_FALSE(FileExists(folder.File().Path()));
    EXPECT_EQ(LoadReminders(folder.File(), table, IfMissing::Create), 0);
    EXPECT_TRUE(FileExists(folder.File().Path()));
    EXPECT_EQ(ReadWholeFile(folder.File().Path()).size(), 0u);
}

TEST(LoadReminders, ReadsWholeRecordsAndIgnoresAPartialOne) {
    TempFolder folder;
    WriteWholeFile(folder.File().Path(),
                   ReminderRecordBytes("09:30", "6 Diciembre 2026", "Comprar pan") +
                       ReminderRecordBytes("##:##", "7 Diciembre 2026", "", 0) +
                       std::string(10, 'z'));
    std::vector<Reminder> table;
    EXPECT_EQ(LoadReminders(folder.File(), table, IfMissing::Leave), 0);
    ASSERT_EQ(table.size(), 2u);
    EXPECT_EQ(table[0].time, "09:30");
    EXPECT_EQ(table[0].date, "6 Diciembre 2026");
    EXPECT_EQ(table[0].text, "Comprar pan");
    EXPECT_EQ(table[0].active, 1);
    EXPECT_EQ(table[1].time, "##:##");
    EXPECT_EQ(table[1].active, 0);
}

TEST(LoadReminders, DamagedFilesLoadWhatTheyHoldWithoutFault) {
    TempFolder folder;
    std::string noise(20 * kRecordSize + 17, '\0');
    uint32_t state = 12345;
    for (char& c : noise) {
        state = state * 1103515245 + 12345;
        c = static_cast<char>(state >> 24);
    }
    WriteWholeFile(folder.File().Path(), noise);
    std::vector<Reminder> table;
    EXPECT_EQ(LoadReminders(folder.File(), table, IfMissing::Leave), 0);
    ASSERT_EQ(table.size(), 20u);
    for (const Reminder& entry : table) {
        EXPECT_LE(entry.time.size(), 6u);
        EXPECT_LE(entry.date.size(), 49u);
        EXPECT_LE(entry.text.size(), 1023u);
    }
}

TEST(LoadReminders, FileHeldByAnotherOpenerGivesAnEmptyTable) {
    TempFolder folder;
    WriteWholeFile(folder.File().Path(), ReminderRecordBytes("09:30", "6 Diciembre 2026", "x"));
    UniqueFile other = HoldExclusively(folder.File().Path());
    ASSERT_TRUE(other);
    std::vector<Reminder> table = {MakeReminder("", "stale", "", 1)};
    EXPECT_EQ(LoadReminders(folder.File(), table, IfMissing::Leave), kErrPermissionDenied);
    EXPECT_TRUE(table.empty());
}

TEST(LoadReminders, HoldsTheFileExclusivelyWhileItReads) {
    TempFolder folder;
    std::string record = ReminderRecordBytes("09:30", "6 Diciembre 2026", "x");
    std::string big;
    for (int i = 0; i < 60000; ++i)
        big += record;
    WriteWholeFile(folder.File().Path(), big);

    struct Load {
        const ReminderFile& file;
        std::vector<Reminder> table;
        static DWORD WINAPI Run(void* param) {
            Load& load = *static_cast<Load*>(param);
            LoadReminders(load.file, load.table, IfMissing::Leave);
            return 0;
        }
    } load{folder.File(), {}};
    // A probe that opens the file while the load runs must meet a sharing violation. A probe
    // that gets in before the load opens the file makes that load find no reminders; then the
    // round is tried again.
    int sharingViolations = 0;
    for (int round = 0; round < 5 && (sharingViolations == 0 || load.table.size() != 60000);
         ++round) {
        sharingViolations = 0;
        UniqueHandle loader(CreateThread(nullptr, 0, Load::Run, &load, 0, nullptr));
        while (WaitForSingleObject(loader.get(), 0) == WAIT_TIMEOUT) {
            UniqueFile probe(CreateFileW(folder.File().Path().c_str(), GENERIC_READ,
                                         FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                         0, nullptr));
            if (!probe && GetLastError() == ERROR_SHARING_VIOLATION)
                ++sharingViolations;
        }
    }
    EXPECT_GT(sharingViolations, 0);
    EXPECT_EQ(load.table.size(), 60000u);
}

TEST(AppendReminder, WritesAfterTheLastWholeRecordOverAPartialOne) {
    TempFolder folder;
    std::string three = ReminderRecordBytes("01:00", "1 Enero 2026", "a") +
                        ReminderRecordBytes("02:00", "2 Enero 2026", "b") +
                        ReminderRecordBytes("03:00", "3 Enero 2026", "c");
    WriteWholeFile(folder.File().Path(), three + std::string(500, '\x7F'));
    EXPECT_EQ(AppendReminder(folder.File(), "09:30", "6 Diciembre 2026", "abc", 1), 0);
    std::string file = ReadWholeFile(folder.File().Path());
    ASSERT_EQ(file.size(), 4 * kRecordSize);
    EXPECT_EQ(file.substr(0, 3 * kRecordSize), three);
    EXPECT_EQ(file.substr(3 * kRecordSize),
              ReminderRecordBytes("09:30", "6 Diciembre 2026", "abc"));
}

TEST(AppendReminder, CreatesAMissingFile) {
    TempFolder folder;
    EXPECT_EQ(AppendReminder(folder.File(), "##:##", "6 Diciembre 2026", "", 1), 0);
    EXPECT_EQ(ReadWholeFile(folder.File().Path()),
              ReminderRecordBytes("##:##", "6 Diciembre 2026", ""));
}

TEST(AppendReminder, FileHeldByAnotherOpenerIsPermissionDeniedAndGetsNothing) {
    TempFolder folder;
    std::string before = ReminderRecordBytes("01:00", "1 Enero 2026", "a");
    WriteWholeFile(folder.File().Path(), before);
    {
        UniqueFile other = HoldExclusively(folder.File().Path());
        EXPECT_EQ(AppendReminder(folder.File(), "09:30", "6 Diciembre 2026", "abc", 1),
                  kErrPermissionDenied);
    }
    EXPECT_EQ(ReadWholeFile(folder.File().Path()), before);
}

TEST(AppendReminder, MissingFolderIsPathNotFound) {
    TempFolder folder;
    ReminderFile gone(folder.Path() + L"gone\\");
    EXPECT_EQ(AppendReminder(gone, "09:30", "6 Diciembre 2026", "abc", 1), kErrPathNotFound);
}

TEST(SaveReminders, WritesLiveEntriesInTableOrder) {
    TempFolder folder;
    WriteWholeFile(folder.File().Path(), std::string(7 * kRecordSize + 3, 'q'));
    std::vector<Reminder> table = {MakeReminder("01:00", "1 Enero 2026", "uno", 1),
                                   MakeReminder("02:00", "2 Enero 2026", "dos", 0),
                                   MakeReminder("03:00", "3 Enero 2026", "tres", 5),
                                   MakeReminder("04:00", "4 Enero 2026", "cuatro", -1)};
    EXPECT_EQ(SaveReminders(folder.File(), table), 0);
    EXPECT_EQ(ReadWholeFile(folder.File().Path()), ReminderRecordBytes(table[0]) +
                                                       ReminderRecordBytes(table[2]) +
                                                       ReminderRecordBytes(table[3]));
    EXPECT_TRUE(NewFilesLeft(folder).empty());
}

// Any active but 0 is live, a negative one too.
TEST(SaveReminders, NoLiveEntryLeavesNoFile) {
    TempFolder folder;
    WriteWholeFile(folder.File().Path(), ReminderRecordBytes("01:00", "1 Enero 2026", "a"));
    std::vector<Reminder> table = {MakeReminder("01:00", "1 Enero 2026", "a", 0),
                                   MakeReminder("02:00", "2 Enero 2026", "b", -1)};
    EXPECT_EQ(SaveReminders(folder.File(), table), 0);
    EXPECT_EQ(ReadWholeFile(folder.File().Path()), ReminderRecordBytes(table[1]));
    SetFileAttributesW(folder.File().Path().c_str(),
                       FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
    table[1].active = 0;
    EXPECT_EQ(SaveReminders(folder.File(), table), 0);
    EXPECT_FALSE(FileExists(folder.File().Path()));
    EXPECT_EQ(SaveReminders(folder.File(), table), 0) << "nothing to delete is no failure";
}

TEST(SaveReminders, ReplacesReadOnlyHiddenAndSystemFiles) {
    TempFolder folder;
    WriteWholeFile(folder.File().Path(), ReminderRecordBytes("01:00", "1 Enero 2026", "a"));
    SetFileAttributesW(folder.File().Path().c_str(),
                       FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    std::vector<Reminder> table = {MakeReminder("02:00", "2 Enero 2026", "b", 1)};
    EXPECT_EQ(SaveReminders(folder.File(), table), 0);
    EXPECT_EQ(ReadWholeFile(folder.File().Path()), ReminderRecordBytes(table[0]));
    DWORD attributes = GetFileAttributesW(folder.File().Path().c_str());
    EXPECT_EQ(attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN), 0u);
}

TEST(SaveReminders, FileHeldByAnotherOpenerStaysWholeWithItsAttributes) {
    TempFolder folder;
    std::string before = ReminderRecordBytes("01:00", "1 Enero 2026", "a") +
                         ReminderRecordBytes("02:00", "2 Enero 2026", "b");
    WriteWholeFile(folder.File().Path(), before);
    SetFileAttributesW(folder.File().Path().c_str(), FILE_ATTRIBUTE_READONLY);
    // Some live entries to write, and none at all: neither may touch a file another program holds.
    std::vector<Reminder> table = {MakeReminder("01:00", "1 Enero 2026", "a", 0),
                                   MakeReminder("02:00", "2 Enero 2026", "b", 1),
                                   MakeReminder("03:00", "3 Enero 2026", "c", 1)};
    std::vector<Reminder> noneLive = {MakeReminder("01:00", "1 Enero 2026", "a", 0)};
    {
        UniqueFile other = HoldExclusively(folder.File().Path());
        EXPECT_EQ(SaveReminders(folder.File(), table), kErrPermissionDenied);
        EXPECT_EQ(SaveReminders(folder.File(), noneLive), kErrPermissionDenied);
    }
    EXPECT_EQ(ReadWholeFile(folder.File().Path()), before);
    EXPECT_EQ(GetFileAttributesW(folder.File().Path().c_str()) & FILE_ATTRIBUTE_READONLY,
              DWORD{FILE_ATTRIBUTE_READONLY})
        << "the file gets its attributes back";
    EXPECT_TRUE(NewFilesLeft(folder).empty());

    // Once the other opener is gone, the next rewrite writes the same table.
    EXPECT_EQ(SaveReminders(folder.File(), table), 0);
    EXPECT_EQ(ReadWholeFile(folder.File().Path()),
              ReminderRecordBytes(table[1]) + ReminderRecordBytes(table[2]));
}

// A folder where older versions wrote the new file, one named as this rewrite's first new file,
// the leftover of a killed rewrite, one that a virus scanner holds open, and a user's read-only
// files whose names the search matches too.
TEST(SaveReminders, LeftoversNeverBlockARewriteAndGoWhenTheyCan) {
    TempFolder folder;
    WriteWholeFile(folder.File().Path(), ReminderRecordBytes("01:00", "1 Enero 2026", "a"));
    CreateDirectoryW((folder.Path() + L"_Recordatorios_.new").c_str(), nullptr);
    CreateDirectoryW(
        folder.File()
            .Beside(L"_Recordatorios_." + std::to_wstring(GetCurrentProcessId()) + L"-0.new")
            .c_str(),
        nullptr);
    WriteWholeFile(folder.Path() + L"_Recordatorios_.7-0.new", "killed");
    WriteWholeFile(folder.Path() + L"_Recordatorios_.8-0.new", "held");
    std::vector<std::wstring> users = {L"_Recordatorios_ copia.new",
                                       L"_Recordatorios_.7-copia.new"};
    for (const std::wstring& name : users)
        WriteWholeFile(folder.Path() + name, "mine");
    SetFileAttributesW((folder.Path() + users[0]).c_str(), FILE_ATTRIBUTE_READONLY);
    UniqueFile scanner = HoldExclusively(folder.Path() + L"_Recordatorios_.8-0.new");
    std::vector<Reminder> table = {MakeReminder("02:00", "2 Enero 2026", "b", 1)};
    EXPECT_EQ(SaveReminders(folder.File(), table), 0);
    EXPECT_EQ(ReadWholeFile(folder.File().Path()), ReminderRecordBytes(table[0]));
    EXPECT_EQ(NewFilesLeft(folder),
              (std::vector<std::wstring>{users[0], users[1], L"_Recordatorios_.8-0.new"}));
    scanner.reset();
    EXPECT_EQ(SaveReminders(folder.File(), table), 0);
    EXPECT_EQ(NewFilesLeft(folder), users);
    EXPECT_EQ(ReadWholeFile(folder.Path() + users[1]), "mine");
    EXPECT_TRUE(FileExists(folder.Path() + L"_Recordatorios_.new")) << "not ours to delete";
}

// The editors of two computers write in turn: a second lock waits for the first, for about 2 s,
// and is refused while the first holds; so is one whose lock file a sync or backup program holds
// without sharing. The lock file stays out of sight; where none can be made, a command goes on.
TEST(WriteLock, OneHolderAtATime) {
    TempFolder folder;
    auto expectRefusedAfterItsWait = [&](const char* holder) {
        ULONGLONG start = GetTickCount64();
        EXPECT_EQ(WriteLock(folder.File()).Error(), kErrPermissionDenied) << holder;
        EXPECT_GE(GetTickCount64() - start, 1900u) << holder;
    };
    std::optional<WriteLock> first(std::in_place, folder.File());
    EXPECT_EQ(first->Error(), 0);
    expectRefusedAfterItsWait("another editor");
    first.reset();
    {
        UniqueFile syncTool = HoldExclusively(folder.File().Beside(L"_Recordatorios_.lock"));
        expectRefusedAfterItsWait("a sync tool");
    }
    EXPECT_EQ(WriteLock(folder.File()).Error(), 0);
    DWORD attributes = GetFileAttributesW(folder.File().Beside(L"_Recordatorios_.lock").c_str());
    EXPECT_EQ(attributes & FILE_ATTRIBUTE_HIDDEN, DWORD{FILE_ATTRIBUTE_HIDDEN});
    EXPECT_EQ(WriteLock(ReminderFile(folder.Path() + L"missing\\")).Error(), 0);
}

TEST(ReminderFile, MoreRecordsThanASixteenBitCounterHolds) {
    TempFolder folder;
    std::vector<Reminder> table;
    for (int i = 0; i < 40000; ++i)
        table.push_back(MakeReminder("##:##", "6 Diciembre 2026", std::to_string(i), 1));
    table[32768].active = 0;
    EXPECT_EQ(SaveReminders(folder.File(), table), 0);
    EXPECT_EQ(LoadReminders(folder.File(), table, IfMissing::Leave), 0);
    ASSERT_EQ(table.size(), 39999u);
    EXPECT_EQ(table[32767].text, "32767");
    EXPECT_EQ(table[32768].text, "32769");
    EXPECT_EQ(table.back().text, "39999");
    EXPECT_EQ(AppendReminder(folder.File(), "", "", "one more", 1), 0);
    EXPECT_EQ(LoadReminders(folder.File(), table, IfMissing::Leave), 0);
    EXPECT_EQ(table.size(), 40000u);
}

TEST(FileErrorNumber, SystemErrorsMapToTheirNumbers) {
    EXPECT_EQ(FileErrorNumberOf(ERROR_SHARING_VIOLATION), 70);
    EXPECT_EQ(FileErrorNumberOf(ERROR_ACCESS_DENIED), 70);
    EXPECT_EQ(FileErrorNumberOf(ERROR_WRITE_PROTECT), 70);
    EXPECT_EQ(FileErrorNumberOf(ERROR_DISK_FULL), 61);
    EXPECT_EQ(FileErrorNumberOf(ERROR_HANDLE_DISK_FULL), 61);
    EXPECT_EQ(FileErrorNumberOf(ERROR_FILE_NOT_FOUND), 53);
    EXPECT_EQ(FileErrorNumberOf(ERROR_PATH_NOT_FOUND), 76);
    EXPECT_EQ(FileErrorNumberOf(ERROR_INVALID_HANDLE), 57);
    EXPECT_EQ(FileErrorNumberOf(ERROR_NOT_SAME_DEVICE), 74);
    EXPECT_EQ(FileErrorNumberOf(ERROR_CRC), 72);
    EXPECT_EQ(FileErrorNumberOf(ERROR_FILENAME_EXCED_RANGE), 75);
    // Access denied: a name pending deletion, or a folder where no file can be made.
    TempFolder folder;
    WriteWholeFile(folder.Path() + L"there.new", "");
    EXPECT_TRUE(IsNameTaken(ERROR_ACCESS_DENIED, folder.Path() + L"there.new"));
    EXPECT_FALSE(IsNameTaken(ERROR_ACCESS_DENIED, folder.Path() + L"missing.new"));
    EXPECT_TRUE(IsNameTaken(ERROR_FILE_EXISTS, folder.Path() + L"missing.new"));
    EXPECT_FALSE(IsNameTaken(ERROR_PATH_NOT_FOUND, folder.Path() + L"there.new"));
}
