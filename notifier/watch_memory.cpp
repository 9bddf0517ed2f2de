#include "watch_memory.h"

#include "handle.h"
#include "local_moment.h"

namespace {

std::wstring KeyPath() {
    wchar_t computer[MAX_COMPUTERNAME_LENGTH + 1] = {};
    DWORD length = MAX_COMPUTERNAME_LENGTH + 1;
    if (!GetComputerNameW(computer, &length))
        length = 0;
    return L"Software\\Recordatorio\\AvisoDiario\\" + std::wstring(computer, length);
}

} // namespace

std::optional<int64_t> RecallLastLook(const std::wstring& folderName) {
    int64_t moment = 0;
    DWORD size = sizeof moment;
    if (RegGetValueW(HKEY_CURRENT_USER, KeyPath().c_str(), folderName.c_str(), RRF_RT_QWORD,
                     nullptr, &moment, &size) != ERROR_SUCCESS ||
        !IsLocalMoment(moment))
        return std::nullopt;
    return moment;
}

LONG RememberLastLook(const std::wstring& folderName, int64_t moment) {
    HKEY opened = nullptr;
    LONG error = RegCreateKeyExW(HKEY_CURRENT_USER, KeyPath().c_str(), 0, nullptr, 0, KEY_SET_VALUE,
                                 nullptr, &opened, nullptr);
    if (error != ERROR_SUCCESS)
        return error;
    UniqueRegistryKey key(opened);
    error = RegSetValueExW(key.get(), folderName.c_str(), 0, REG_QWORD,
                           reinterpret_cast<const BYTE*>(&moment), sizeof moment);
    return error != ERROR_SUCCESS ? error : RegFlushKey(key.get());
}
