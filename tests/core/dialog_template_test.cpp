#include "dialog_template.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using Words = std::vector<uint16_t>;

Words TextWords(std::u16string_view text) {
    Words words(text.begin(), text.end());
    words.push_back(0);
    return words;
}

Words operator+(Words a, const Words& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

constexpr uint32_t kPopupWithFont = 0x80C000D4;

} // namespace

TEST(DialogTemplate, HeaderItemsAndPaddingWordForWord) {
    DialogFrame frame{kPopupWithFont, 0, 275, 225, 382, 109, u"Abc", 8, u"MS"};
    DialogItem items[] = {
        {1001, u"EDIT", u"z", 170, 15, 212, 45, 0x50A11004, 0x200},
        {1009, u"BUTTON", u"X", -1, 0, 14, 15, 0x50810F00, 0},
    };
    // Header: style, extended style, 2 items, x, y, cx, cy, no menu, standard class, caption,
    // then the font's points and name: 11 + 4 + 1 + 3 words, so a padding word follows.
    Words expected = Words{0x00D4, 0x80C0, 0, 0, 2, 275, 225, 382, 109, 0, 0} + TextWords(u"Abc") +
                     Words{8} + TextWords(u"MS") + Words{0};
    // Style, extended style, x, y, cx, cy, id, class, caption, no creation data: 9 + 5 + 2 + 1
    // words, padded again.
    expected = expected + Words{0x1004, 0x50A1, 0x0200, 0, 170, 15, 212, 45, 1001} +
               TextWords(u"EDIT") + TextWords(u"z") + Words{0} + Words{0};
    expected = expected + Words{0x0F00, 0x5081, 0, 0, 0xFFFF, 0, 14, 15, 1009} +
               TextWords(u"BUTTON") + TextWords(u"X") + Words{0};
    EXPECT_EQ(DialogTemplateWords(frame, items), expected);
}

TEST(DialogTemplate, EveryItemStartsOnAFourByteBoundary) {
    // Texts of every length parity, so that each item may or may not need a padding word.
    DialogFrame frame{kPopupWithFont, 0, 0, 0, 10, 10, u"", 8, u"MS Sans Serif"};
    std::vector<DialogItem> items;
    const std::u16string_view texts[] = {u"", u"a", u"ab", u"abc"};
    for (uint16_t id = 0; id < 16; ++id)
        items.push_back({id, texts[id % 4], texts[id / 4], 0, 0, 1, 1, 0x50000000, 0});
    Words words = DialogTemplateWords(frame, items);

    size_t at = 13 + 1 + 14; // header with an empty caption, points, "MS Sans Serif"
    for (const DialogItem& item : items) {
        at += at % 2;
        ASSERT_LT(at + 9, words.size());
        EXPECT_EQ(words[at + 8], item.id) << "item " << item.id << " starts at word " << at;
        at += 9 + item.className.size() + 1 + item.caption.size() + 1 + 1;
    }
    EXPECT_EQ(at, words.size());
    EXPECT_EQ(words[4], 16u);
}

TEST(DialogTemplate, FontBlockOnlyWithTheSetFontStyle) {
    DialogItem none[1] = {};
    DialogFrame withFont{kDialogSetFont, 0, 0, 0, 1, 1, u"T", 8, u"F"};
    DialogFrame withoutFont{0, 0, 0, 0, 1, 1, u"T", 8, u"F"};
    EXPECT_EQ(DialogTemplateWords(withFont, std::span(none, 0)).size(), 11u + 2 + 1 + 2);
    EXPECT_EQ(DialogTemplateWords(withoutFont, std::span(none, 0)).size(), 11u + 2);
}
