// Small owners for Win32 handles: each closes its handle once, when it goes out of scope.
#pragma once

#include <windows.h>

#include <utility>

// Traits name the handle type, its empty value and how it is closed.
template <typename Traits> class UniqueResource {
  public:
    using Type = typename Traits::Type;

    UniqueResource() = default;
    explicit UniqueResource(Type value) : value_(value) {}
    UniqueResource(const UniqueResource&) = delete;
    UniqueResource& operator=(const UniqueResource&) = delete;
    UniqueResource(UniqueResource&& other) noexcept : value_(other.release()) {}
    UniqueResource& operator=(UniqueResource&& other) noexcept {
        reset(other.release());
        return *this;
    }
    ~UniqueResource() { reset(); }

    Type get() const { return value_; }
    explicit operator bool() const { return value_ != Traits::Empty(); }
    Type release() { return std::exchange(value_, Traits::Empty()); }
    // Empty before the old handle is closed: a window's destruction sends messages that may
    // look at its owner again.
    void reset(Type value = Traits::Empty()) {
        Type old = std::exchange(value_, value);
        if (old != Traits::Empty())
            Traits::Close(old);
    }

  private:
    Type value_ = Traits::Empty();
};

// CreateFile reports failure as INVALID_HANDLE_VALUE, not as a null handle.
struct FileTraits {
    using Type = HANDLE;
    static Type Empty() { return INVALID_HANDLE_VALUE; }
    static void Close(Type handle) { CloseHandle(handle); }
};

// Process, thread and event handles are null when empty.
struct HandleTraits {
    using Type = HANDLE;
    static Type Empty() { return nullptr; }
    static void Close(Type handle) { CloseHandle(handle); }
};

// A mutex that the calling thread owns: released, then closed (releasing one that the thread does
// not own only fails).
struct OwnedMutexTraits {
    using Type = HANDLE;
    static Type Empty() { return nullptr; }
    static void Close(Type mutex) {
        ReleaseMutex(mutex);
        CloseHandle(mutex);
    }
};

// Directory searches of FindFirstFile are ended by FindClose.
struct FindTraits {
    using Type = HANDLE;
    static Type Empty() { return INVALID_HANDLE_VALUE; }
    static void Close(Type search) { FindClose(search); }
};

// A folder's change notification is ended by FindCloseChangeNotification.
struct ChangeNotificationTraits {
    using Type = HANDLE;
    static Type Empty() { return INVALID_HANDLE_VALUE; }
    static void Close(Type notification) { FindCloseChangeNotification(notification); }
};

struct RegistryKeyTraits {
    using Type = HKEY;
    static Type Empty() { return nullptr; }
    static void Close(Type key) { RegCloseKey(key); }
};

struct LibraryTraits {
    using Type = HMODULE;
    static Type Empty() { return nullptr; }
    static void Close(Type library) { FreeLibrary(library); }
};

// A window of the program's; only the thread that made it may destroy it.
struct WindowTraits {
    using Type = HWND;
    static Type Empty() { return nullptr; }
    static void Close(Type window) { DestroyWindow(window); }
};

using UniqueFile = UniqueResource<FileTraits>;
using UniqueHandle = UniqueResource<HandleTraits>;
using UniqueOwnedMutex = UniqueResource<OwnedMutexTraits>;
using UniqueFind = UniqueResource<FindTraits>;
using UniqueChangeNotification = UniqueResource<ChangeNotificationTraits>;
using UniqueRegistryKey = UniqueResource<RegistryKeyTraits>;
using UniqueLibrary = UniqueResource<LibraryTraits>;
using UniqueWindow = UniqueResource<WindowTraits>;
