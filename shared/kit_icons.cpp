#include "kit_icons.h"

#include "resource_ids.h"

void SetKitIcons(HWND window) {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    auto loadIcon = [instance](int widthMetric, int heightMetric) {
        return reinterpret_cast<LPARAM>(LoadImageW(instance, MAKEINTRESOURCEW(KIT_ICON_ID),
                                                   IMAGE_ICON, GetSystemMetrics(widthMetric),
                                                   GetSystemMetrics(heightMetric), LR_SHARED));
    };
    SendMessageW(window, WM_SETICON, ICON_BIG, loadIcon(SM_CXICON, SM_CYICON));
    SendMessageW(window, WM_SETICON, ICON_SMALL, loadIcon(SM_CXSMICON, SM_CYSMICON));
}
