// A fresh folder under %TEMP% with its reminder file, for the reminder file routines; it is
// removed with everything in it when the test ends.
#pragma once

#include "reminder_file.h"

#include <string>
#include <string_view>
#include <vector>

class TempFolder {
  public:
    // `name` is added to the folder's path; it may hold any characters, and any length.
    explicit TempFolder(std::wstring_view name = L"");
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::wstring& Path() const { return path_; } // with a trailing backslash
    const ReminderFile& File() const { return file_; }

  private:
    std::wstring path_;
    ReminderFile file_;
};

// Whole-file helpers for checking what the routines wrote; paths of any length.
std::string ReadWholeFile(const std::wstring& path);
void WriteWholeFile(const std::wstring& path, std::string_view bytes);
bool FileExists(const std::wstring& path); // a folder counts too
