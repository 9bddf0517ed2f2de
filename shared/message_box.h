// Message boxes as both programs show them: no owner window, no icon, text in Windows-1252.
#pragma once

#include <string_view>

constexpr unsigned kBoxOk = 0;    // MB_OK: one OK button
constexpr unsigned kBoxYesNo = 4; // MB_YESNO
constexpr int kAnswerYes = 6;     // IDYES
// Added to a style: the box shows above other windows (MB_SYSTEMMODAL). For the boxes that come
// while the user works in another program. MB_TOPMOST would do on Windows, but not under Wine 8,
// where only this flag makes the box topmost; on Windows both do.
constexpr unsigned kBoxAboveOthers = 0x1000;

// Shows the box and waits until the user closes it; returns the button pressed.
int ShowMessageBox(std::string_view text, std::string_view caption, unsigned style);
