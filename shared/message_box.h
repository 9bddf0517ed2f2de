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

// The line break inside the boxes' texts.
constexpr char kCrLf[] = "\r\n";

// Shows the box and waits until the user closes it; returns the button pressed.
int ShowMessageBox(std::string_view text, std::string_view caption, unsigned style);

// The file error box: "Err:  70 Permission denied", caption "Quenda Soft", one OK button. Waits
// until it is closed. Allocates nothing, so that it can report running out of memory. The file
// routines return their numbers; a program's own reporting routine shows them here.
void ShowFileErrorBox(int number);
