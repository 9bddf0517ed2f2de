#include "remote_memory.h"

RemoteMemory::RemoteMemory(HWND window, size_t size) {
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    process_.reset(
        OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processId));
    if (process_)
        address_ =
            VirtualAllocEx(process_.get(), nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
}

RemoteMemory::~RemoteMemory() {
    if (address_)
        VirtualFreeEx(process_.get(), address_, 0, MEM_RELEASE);
}

bool RemoteMemory::Write(const void* data, size_t size) {
    return address_ && WriteProcessMemory(process_.get(), address_, data, size, nullptr);
}

bool RemoteMemory::Read(void* data, size_t size) const {
    return address_ && ReadProcessMemory(process_.get(), address_, data, size, nullptr);
}
