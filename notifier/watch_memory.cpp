#include "watch_memory.h"

#include "handle.h"

namespace {

std::wstring KeyPath() {
    wchar_t computer[MAX_COMPUTERNAME_LENGTH + 1] = {};
    DWORD length = MAX_COMPUTERNAME_LENGTH + 1;
    if (!GetComputerNameW(computer, &length))
        length = 0;
    return L"Software\\Recordatorio\\AvisoDiario\\" + std::wstring(computer, length);
}

} // namespace

std::optional<SeenRecord> RecallSeen(const std::wstring& folderName) {
    char bytes[kSeenRecordMostBytes];
    DWORD size = sizeof bytes, type = REG_NONE;
    // Not RRF_RT_REG_BINARY | RRF_RT_REG_QWORD: that is RRF_RT_QWORD, which takes 8 bytes alone.
    if (RegGetValueW(HKEY_CURRENT_USER, KeyPath().c_str(), folderName.c_str(), RRF_RT_ANY, &type,
                     bytes, &size) != ERROR_SUCCESS ||
        (type != REG_BINARY && type != REG_QWORD))
        return std::nullopt;
    return ReadSeenRecord(std::string_view(bytes, size));
}

LONG KeepSeen(const std::wstring& folderName, const SeenRecord& seen) {
    HKEY opened = nullptr;
    LONG error = RegCreateKeyExW(HKEY_CURRENT_USER, KeyPath().c_str(), 0, nullptr, 0, KEY_SET_VALUE,
                                 nullptr, &opened, nullptr);
    if (error != ERROR_SUCCESS)
        return error;
    UniqueRegistryKey key(opened);
    std::string bytes = SeenRecordBytes(seen);
    error = RegSetValueExW(key.get(), folderName.c_str(), 0, REG_BINARY,
                           reinterpret_cast<const BYTE*>(bytes.data()),
                           static_cast<DWORD>(bytes.size()));
    return error != ERROR_SUCCESS ? error : RegFlushKey(key.get());
}
