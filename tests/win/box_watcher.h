// Watches for message boxes of this process from a second thread, notes their caption and
// text, and closes each with its first button, as a user would.
#pragma once

#include "handle.h"

#include <windows.h>

#include <atomic>
#include <string>
#include <vector>

struct SeenBox {
    std::wstring caption;
    std::wstring text;
};

class BoxWatcher {
  public:
    BoxWatcher();
    ~BoxWatcher();
    BoxWatcher(const BoxWatcher&) = delete;
    BoxWatcher& operator=(const BoxWatcher&) = delete;

    std::vector<SeenBox> Boxes();

  private:
    static DWORD WINAPI Watch(void* self);

    SRWLOCK lock_ = SRWLOCK_INIT;
    std::vector<SeenBox> boxes_;
    std::atomic<bool> stop_ = false;
    UniqueHandle thread_;
};
