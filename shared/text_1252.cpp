#include "text_1252.h"

#include <windows.h>

namespace {
constexpr UINT kCodePage = 1252;
}

std::wstring WideFrom1252(std::string_view text) {
    if (text.empty())
        return {};
    int size =
        MultiByteToWideChar(kCodePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(size), L'\0');
    MultiByteToWideChar(kCodePage, 0, text.data(), static_cast<int>(text.size()), wide.data(),
                        size);
    return wide;
}

std::string Text1252FromWide(std::wstring_view text) {
    if (text.empty())
        return {};
    // Without WC_NO_BEST_FIT_CHARS Windows would turn, say, a Polish "ł" into "l" silently.
    int size = WideCharToMultiByte(kCodePage, WC_NO_BEST_FIT_CHARS, text.data(),
                                   static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string narrow(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(kCodePage, WC_NO_BEST_FIT_CHARS, text.data(), static_cast<int>(text.size()),
                        narrow.data(), size, nullptr, nullptr);
    return narrow;
}
