// The in-memory form of a dialog that DialogBoxIndirectParam or CreateDialogIndirectParam makes:
// a DLGTEMPLATE with its menu, class, caption and font, then one DLGITEMTEMPLATE per control.
// Plain C++: texts are UTF-16 as char16_t, so the layout can be checked on any system.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

// The dialog's style bit that says a font block follows the caption.
constexpr uint32_t kDialogSetFont = 0x40;

// The dialog window; position and size in dialog units.
struct DialogFrame {
    uint32_t style;
    uint32_t exStyle;
    int16_t x, y, width, height;
    std::u16string_view caption;
    uint16_t fontPoints; // used only with kDialogSetFont in style
    std::u16string_view fontName;
};

// One control; position and size in dialog units, relative to the client area.
struct DialogItem {
    uint16_t id;
    std::u16string_view className;
    std::u16string_view caption;
    int16_t x, y, width, height;
    uint32_t style;
    uint32_t exStyle;
};

// The template as 16-bit words, controls in the given (creation and tab) order. The dialog has
// no menu and the standard dialog class; every control starts on a 4-byte boundary. The
// vector's storage is aligned for any scalar type, so its data can be passed as the template.
std::vector<uint16_t> DialogTemplateWords(const DialogFrame& frame,
                                          std::span<const DialogItem> items);
