// A block of memory inside another process. Common-control messages that carry a pointer
// (MCM_HITTEST, DTM_GETSYSTEMTIME ...) only work with a pointer of the control's own process.
#pragma once

#include "handle.h"

#include <windows.h>

#include <cstddef>

class RemoteMemory {
  public:
    RemoteMemory(HWND window, size_t size);
    ~RemoteMemory();
    RemoteMemory(const RemoteMemory&) = delete;
    RemoteMemory& operator=(const RemoteMemory&) = delete;

    void* Address() const { return address_; }
    bool Write(const void* data, size_t size);
    bool Read(void* data, size_t size) const;

  private:
    UniqueHandle process_;
    void* address_ = nullptr;
};
