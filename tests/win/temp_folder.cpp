#include "temp_folder.h"

#include "handle.h"
#include "path_form.h"

#include <windows.h>

#include <stdexcept>

namespace {

void RemoveTree(const std::wstring& folder) {
    WIN32_FIND_DATAW found;
    UniqueFind search(FindFirstFileW(LongPathForm(folder + L"*").c_str(), &found));
    if (search) {
        do {
            std::wstring name = found.cFileName;
            if (name == L"." || name == L"..")
                continue;
            std::wstring path = folder + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(path + L"\\");
            } else {
                SetFileAttributesW(LongPathForm(path).c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileW(LongPathForm(path).c_str());
            }
        } while (FindNextFileW(search.get(), &found));
    }
    RemoveDirectoryW(LongPathForm(folder).c_str());
}

std::wstring MakeFolder(std::wstring_view name) {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    std::wstring path = std::wstring(temp) + L"kit-" + std::to_wstring(GetCurrentProcessId()) +
                        L"-" + std::to_wstring(GetTickCount64()) + L"\\";
    CreateDirectoryW(path.c_str(), nullptr);
    // Nested folders, one piece at a time, so that names of any length can be made.
    std::wstring rest(name);
    while (!rest.empty()) {
        size_t slash = rest.find(L'\\');
        path += rest.substr(0, slash) + L"\\";
        rest = slash == std::wstring::npos ? L"" : rest.substr(slash + 1);
        if (!CreateDirectoryW(LongPathForm(path).c_str(), nullptr))
            throw std::runtime_error("cannot create the test folder");
    }
    return path;
}

} // namespace

TempFolder::TempFolder(std::wstring_view name) : path_(MakeFolder(name)), file_(path_) {}

TempFolder::~TempFolder() {
    size_t base = path_.find(L"\\", path_.find(L"kit-"));
    RemoveTree(path_.substr(0, base + 1));
}

std::string ReadWholeFile(const std::wstring& path) {
    UniqueFile file(CreateFileW(LongPathForm(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                OPEN_EXISTING, 0, nullptr));
    if (!file)
        return {};
    std::string bytes;
    char block[65536];
    DWORD read = 0;
    while (ReadFile(file.get(), block, sizeof block, &read, nullptr) && read > 0)
        bytes.append(block, read);
    return bytes;
}

bool FileExists(const std::wstring& path) {
    return GetFileAttributesW(LongPathForm(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

void WriteWholeFile(const std::wstring& path, std::string_view bytes) {
    UniqueFile file(CreateFileW(LongPathForm(path).c_str(), GENERIC_WRITE, 0, nullptr,
                                CREATE_ALWAYS, 0, nullptr));
    DWORD written = 0;
    WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}
