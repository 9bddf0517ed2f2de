#include "file_stamp.h"

#include "handle.h"

std::optional<FileStamp> StampOfOpenFile(HANDLE file) {
    BY_HANDLE_FILE_INFORMATION information{};
    if (!GetFileInformationByHandle(file, &information))
        return std::nullopt;
    auto join = [](DWORD high, DWORD low) { return (uint64_t{high} << 32) | low; };
    return FileStamp{
        join(information.nFileSizeHigh, information.nFileSizeLow),
        join(information.ftLastWriteTime.dwHighDateTime, information.ftLastWriteTime.dwLowDateTime),
        information.dwVolumeSerialNumber,
        join(information.nFileIndexHigh, information.nFileIndexLow)};
}

std::optional<FileStamp> StampOfFileAt(const std::wstring& path) {
    UniqueFile file(CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, 0, nullptr));
    if (!file)
        return GetLastError() == ERROR_FILE_NOT_FOUND ? std::optional(FileStamp{}) : std::nullopt;
    return StampOfOpenFile(file.get());
}
