// Times the reminder file routines against the plain file operations they build on, on a file
// of 100,000 records: LoadReminders against one read of the file, SaveReminders against
// writing the same bytes to a new file and putting it in the old one's place. Each side runs
// several times, alternating, and the medians are compared.
#include "handle.h"
#include "reminder_file.h"

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

void MakeFile() {
    gReminders.clear();
    for (int i = 0; i < kRecords; ++i)
        gReminders.push_back(MakeReminder(i % 3 ? "09:30" : "##:##",
                                          std::to_string(1 + i % 28) + " Diciembre 2026",
                                          "Recordatorio numero " + std::to_string(i), 1));
    SaveReminders();
}

// One read of the whole file into memory: the least any loader has to do. With a fresh buffer
// the time includes getting the memory for the file's bytes; with a reused one only the open
// and the read count.
void ReadPlainly(std::vector<char>& bytes) {
    UniqueFile file(CreateFileW(ReminderFilePath().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
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
void WritePlainly(const std::vector<char>& bytes, bool flush) {
    std::wstring newPath = gExeFolder + L"plain.new";
    {
        UniqueFile file(CreateFileW(newPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
        DWORD written = 0;
        WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
        if (flush)
            FlushFileBuffers(file.get());
    }
    MoveFileExW(newPath.c_str(), (gExeFolder + L"plain.log").c_str(), MOVEFILE_REPLACE_EXISTING);
}

void CompareLoad() {
    std::vector<double> load, plain, reused;
    std::vector<char> buffer;
    ReadPlainly(buffer); // warm the file cache for every side
    for (int round = 0; round < kRounds; ++round) {
        double start = Now();
        LoadReminders();
        load.push_back(Now() - start);
        std::vector<char> fresh;
        start = Now();
        ReadPlainly(fresh);
        plain.push_back(Now() - start);
        start = Now();
        ReadPlainly(buffer);
        reused.push_back(Now() - start);
    }
    if (ReminderCount() != kRecords)
        std::printf("LoadReminders read %ld records, not %d\n", ReminderCount(), kRecords);
    std::printf("LoadReminders, %d records: %.1f ms; one plain read of the file: %.1f ms; ratio "
                "%.2f (goal at most 1.5)\n",
                kRecords, Median(load) * 1000, Median(plain) * 1000, Median(load) / Median(plain));
    std::printf("  the same read into a buffer already in memory: %.1f ms; ratio %.2f\n",
                Median(reused) * 1000, Median(load) / Median(reused));
}

void CompareSave() {
    std::vector<char> bytes;
    ReadPlainly(bytes);
    std::vector<double> save, plain, flushed;
    for (int round = 0; round < kRounds; ++round) {
        double start = Now();
        SaveReminders();
        save.push_back(Now() - start);
        start = Now();
        WritePlainly(bytes, false);
        plain.push_back(Now() - start);
        start = Now();
        WritePlainly(bytes, true);
        flushed.push_back(Now() - start);
    }
    std::printf("SaveReminders, %d live entries: %.1f ms; a plain write and replace: %.1f ms; "
                "ratio %.2f (goal at most 2)\n",
                kRecords, Median(save) * 1000, Median(plain) * 1000, Median(save) / Median(plain));
    std::printf(
        "  the same with the data flushed to disk before the replace: %.1f ms; ratio %.2f\n",
        Median(flushed) * 1000, Median(save) / Median(flushed));
    DeleteFileW((gExeFolder + L"plain.log").c_str());
}

} // namespace

int wmain() {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    gExeFolder =
        std::wstring(temp) + L"kit-bench-" + std::to_wstring(GetCurrentProcessId()) + L"\\";
    CreateDirectoryW(gExeFolder.c_str(), nullptr);
    MakeFile();

    CompareLoad();
    CompareSave();

    DeleteFileW(ReminderFilePath().c_str());
    RemoveDirectoryW(gExeFolder.c_str());
    return 0;
}
