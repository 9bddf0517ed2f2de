// What tells one version of a file from another without reading it: its size, its last write
// time and its identity (volume and file index), which a rewrite that puts a new file in place of
// the old one changes even when the size and time come out the same.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>

// The empty stamp is a missing file's.
struct FileStamp {
    uint64_t size = 0;
    uint64_t lastWrite = 0;
    uint32_t volume = 0;
    uint64_t index = 0;

    bool operator==(const FileStamp&) const = default;
};

// The stamp of an open file; none when the system cannot tell it.
std::optional<FileStamp> StampOfOpenFile(HANDLE file);

// The stamp of the file at `path` as it is now, read without opening its contents, so that a file
// that another program holds has one too: the empty stamp when there is no file, none when it
// cannot be read.
std::optional<FileStamp> StampOfFileAt(const std::wstring& path);
