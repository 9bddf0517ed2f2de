// The multi-line text box in which the user writes a reminder.
#pragma once

#include <windows.h>

// A multi-line edit in a dialog answers Esc by closing the dialog, which would throw away the
// text being written. After this call the text box ignores Esc, whichever message loop delivers
// it: the dialog's own, or that of a message box open meanwhile. Every other key still goes to
// the text box.
void KeepEscapeFromTextBox(HWND textBox);
