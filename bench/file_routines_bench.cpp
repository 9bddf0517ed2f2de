// Times the reminder file routines against the plain file operations they build on, on a file
// of 100,000 records: LoadReminders against one read of the file, SaveReminders against
// writing the same bytes to a new file and putting it in the old one's place. Each side runs
// several times, alternating, and the medians are compared.
#include "handle.h"
#include "reminder_file.h"
#include "reminder_rewrite.h"

#include "measure.h"

#include <windows.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr int kRecords = 100000;
constexpr int kRounds = 7;

std::vector<Reminder> MakeFile(const ReminderFile& file) {
    std::vector<Reminder> table;
    for (int i = 0; i < kRecords; ++i)
        table.push_back(MakeReminder(i % 3 ? "09:30" : "##:##",
                                     std::to_string(1 + i % 28) + " Diciembre 2026",
                                     "Recordatorio numero " + std::to_string(i), 1));
    SaveReminders(file, table);
    return table;
}

// One read of the whole file into memory: the least any loader has to do. With a fresh buffer
// the time includes getting the memory for the file's bytes; with a reused one only the open
// and the read count.
void ReadPlainly(const ReminderFile& reminderFile, std::vector<char>& bytes) {
    UniqueFile file(CreateFileW(reminderFile.Path().c_str(), GENERIC_READ, 0, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER size{};
    GetFileSizeEx(file.get(), &size);
    bytes.resize(static_cast<size_t>(size.QuadPart));
    DWORD read = 0;
    ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
}

// The same bytes as SaveReminders writes, in one write to a new file, which then replaces the
// old file: a rewrite with no care for failures. With `flush`, the new file's data reach the
// disk before the replace, as SaveReminders makes sure of so that a power cut cannot leave a
// replaced file without its contents.
void WritePlainly(const ReminderFile& reminderFile, const std::vector<char>& bytes, bool flush) {
    std::wstring newPath = reminderFile.Beside(L"plain.new");
    {
        UniqueFile file(CreateFileW(newPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
        DWORD written = 0;
        WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
        if (flush)
            FlushFileBuffers(file.get());
    }
    MoveFileExW(newPath.c_str(), reminderFile.Beside(L"plain.log").c_str(),
                MOVEFILE_REPLACE_EXISTING);
}

void CompareLoad(const ReminderFile& file) {
    std::vector<double> load, plain, reused;
    std::vector<char> buffer;
    std::vector<Reminder> table;
    ReadPlainly(file, buffer); // warm the file cache for every side
    for (int round = 0; round < kRounds; ++round) {
        double start = Now();
        LoadReminders(file, table, IfMissing::Leave);
        load.push_back(Now() - start);
        std::vector<char> fresh;
        start = Now();
        ReadPlainly(file, fresh);
        plain.push_back(Now() - start);
        start = Now();
        ReadPlainly(file, buffer);
        reused.push_back(Now() - start);
    }
    if (table.size() != kRecords)
        std::printf("LoadReminders read %zu records, not %d\n", table.size(), kRecords);
    std::printf("LoadReminders, %d records: %.1f ms; one plain read of the file: %.1f ms; ratio "
                "%.2f (goal at most 1.5)\n",
                kRecords, Median(load) * 1000, Median(plain) * 1000, Median(load) / Median(plain));
    std::printf("  the same read into a buffer already in memory: %.1f ms; ratio %.2f\n",
                Median(reused) * 1000, Median(load) / Median(reused));
}

void CompareSave(const ReminderFile& file, const std::vector<Reminder>& table) {
    std::vector<char> bytes;
    ReadPlainly(file, bytes);
    std::vector<double> save, plain, flushed;
    for (int round = 0; round < kRounds; ++round) {
        double start = Now();
        SaveReminders(file, table);
        save.push_back(Now() - start);
        start = Now();
        WritePlainly(file, bytes, false);
        plain.push_back(Now() - start);
        start = Now();
        WritePlainly(file, bytes, true);
        flushed.push_back(Now() - start);
    }
    std::printf("SaveReminders, %d live entries: %.1f ms; a plain write and replace: %.1f ms; "
                "ratio %.2f (goal at most 2)\n",
                kRecords, Median(save) * 1000, Median(plain) * 1000, Median(save) / Median(plain));
    std::printf(
        "  the same with the data flushed to disk before the replace: %.1f ms; ratio %.2f\n",
        Median(flushed) * 1000, Median(save) / Median(flushed));
    DeleteFileW(file.Beside(L"plain.log").c_str());
}

} // namespace

int wmain() {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    ReminderFile file(std::wstring(temp) + L"kit-bench-" + std::to_wstring(GetCurrentProcessId()) +
                      L"\\");
    CreateDirectoryW(file.Folder().c_str(), nullptr);
    std::vector<Reminder> table = MakeFile(file);

    CompareLoad(file);
    CompareSave(file, table);

    DeleteFileW(file.Path().c_str());
    RemoveDirectoryW(file.Folder().c_str());
    return 0;
}
