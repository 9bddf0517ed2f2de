// A fresh folder under %TEMP% that the reminder file routines use as their exe folder; it is
// removed with everything in it when the test ends.
#pragma once

#include <string>
#include <string_view>

class TempFolder {
  public:
    // `name` is added to the folder's path; it may hold any characters, and any length.
    explicit TempFolder(std::wstring_view name = L"");
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::wstring& Path() const { return path_; } // with a trailing backslash

  private:
    std::wstring path_;
};

// Whole-file helpers for checking what the routines wrote.
std::string ReadWholeFile(const std::wstring& path);
void WriteWholeFile(const std::wstring& path, std::string_view bytes);
bool PathExists(const std::wstring& path);

// The path in the form that reaches the file system at any length.
std::wstring Extended(const std::wstring& path);
