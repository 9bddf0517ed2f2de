#include "dialog_template.h"

namespace {

class TemplateWriter {
  public:
    explicit TemplateWriter(std::vector<uint16_t>& words) : words_(words) {}
    void Word(uint16_t value) { words_.push_back(value); }
    void Short(int16_t value) { Word(static_cast<uint16_t>(value)); }
    // Little-endian, as the template is read.
    void Dword(uint32_t value) {
        Word(static_cast<uint16_t>(value & 0xFFFF));
        Word(static_cast<uint16_t>(value >> 16));
    }
    // A zero-terminated UTF-16 text; an embedded zero would end it early, so it ends there.
    void Text(std::u16string_view text) {
        for (char16_t c : text.substr(0, text.find(u'\0')))
            Word(static_cast<uint16_t>(c));
        Word(0);
    }
    void AlignToDword() {
        if (words_.size() % 2 != 0)
            Word(0);
    }

  private:
    std::vector<uint16_t>& words_;
};

void WriteItem(TemplateWriter& out, const DialogItem& item) {
    out.AlignToDword();
    out.Dword(item.style);
    out.Dword(item.exStyle);
    out.Short(item.x);
    out.Short(item.y);
    out.Short(item.width);
    out.Short(item.height);
    out.Word(item.id);
    out.Text(item.className);
    out.Text(item.caption);
    out.Word(0); // no creation data
}

} // namespace

std::vector<uint16_t> DialogTemplateWords(const DialogFrame& frame,
                                          std::span<const DialogItem> items) {
    std::vector<uint16_t> words;
    TemplateWriter out(words);
    out.Dword(frame.style);
    out.Dword(frame.exStyle);
    out.Word(static_cast<uint16_t>(items.size()));
    out.Short(frame.x);
    out.Short(frame.y);
    out.Short(frame.width);
    out.Short(frame.height);
    out.Word(0); // no menu
    out.Word(0); // the standard dialog class
    out.Text(frame.caption);
    if (frame.style & kDialogSetFont) {
        out.Word(frame.fontPoints);
        out.Text(frame.fontName);
    }
    for (const DialogItem& item : items)
        WriteItem(out, item);
    return words;
}
