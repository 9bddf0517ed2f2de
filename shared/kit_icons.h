// The kit's icon on a window of its own: its title bar, the taskbar and Alt+Tab.
#pragma once

#include <windows.h>

// At the sizes of the screen's scale (32 and 16 pixels at 100 %, 48 and 24 at 150 %).
void SetKitIcons(HWND window);
