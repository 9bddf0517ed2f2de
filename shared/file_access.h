// What the reminder file jobs do with a file: open it exclusively, count its whole records, read
// and write exact amounts, with failures as file error numbers. Each waits for a file that another
// program holds for a moment (held_file.h).
#pragma once

#include "handle.h"

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <string>

// Records per read or write: about a megabyte, so large files move in few system calls.
constexpr size_t kRecordsPerBlock = 1024;

// No other opener may share the file while one job runs.
UniqueFile OpenExclusive(const std::wstring& path, DWORD access, DWORD disposition);

// Number of whole records in the open file; a partial record at the end does not count.
bool CountRecords(HANDLE file, uint64_t& count);

// Each returns 0 on success, else the error number: a file that ends before `size` bytes is
// input past its end, a write that transfers less than asked a full disk.
int ReadExactly(HANDLE file, char* data, size_t size);
int WriteExactly(HANDLE file, const char* data, size_t size);
