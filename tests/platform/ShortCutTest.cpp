// Shortcut values: the 16-bit encoding and its text.

#include "platform/ShortCut.h"

#include <gtest/gtest.h>

using namespace ondrex;

TEST(ShortCut, EncodesKeyAndModifiers) {
    EXPECT_EQ(ShortCut('N', ssCtrl | ssShift), 0x6000 | 'N');
    EXPECT_EQ(ShortCut((VK_F1 + 3), ssAlt), 0x8000 | (VK_F1 + 3));
    // Mouse buttons and the double-click flag are no part of a shortcut.
    EXPECT_EQ(ShortCut(VK_HOME, ssLeft | ssDouble), VK_HOME);
    std::uint16_t key = 0;
    TShiftState shift = 0;
    ShortCutToKey(0xE000 | VK_DELETE, key, shift);
    EXPECT_EQ(key, VK_DELETE);
    EXPECT_EQ(shift, ssShift | ssCtrl | ssAlt);
}

TEST(ShortCut, TextNamesModifiersThenKey) {
    EXPECT_EQ(ShortCutToText(ShortCut('N', ssCtrl | ssShift)), "Ctrl+Shift+N");
    EXPECT_EQ(ShortCutToText(ShortCut((VK_F1 + 3), ssAlt)), "Alt+F4");
    EXPECT_EQ(ShortCutToText(ShortCut(VK_NEXT, ssShift)), "Shift+PgDn");
    EXPECT_EQ(ShortCutToText(ShortCut(VK_NUMPAD0 + 7, 0)), "Num 7");
    EXPECT_EQ(ShortCutToText(ShortCut(VK_OEM_4, ssCtrl)), "Ctrl+[");
    EXPECT_EQ(ShortCutToText(0), "");
    EXPECT_EQ(ShortCutToText(0x4000 | 0xFF), ""); // no such key
}

TEST(ShortCut, TextRoundTripsForEveryNamedKey) {
    for (unsigned key = 1; key < 256; ++key) {
        if (KeyName(static_cast<std::uint16_t>(key)).empty()) continue;
        for (TShiftState shift :
             {TShiftState(0), TShiftState(ssCtrl | ssAlt), TShiftState(ssShift)}) {
            const TShortCut sc = ShortCut(static_cast<std::uint16_t>(key), shift);
            EXPECT_EQ(TextToShortCut(ShortCutToText(sc)), sc) << ShortCutToText(sc);
        }
    }
    EXPECT_EQ(TextToShortCut("ctrl+shift+n"), ShortCut('N', ssCtrl | ssShift));
    EXPECT_EQ(TextToShortCut("Ctrl+"), 0);
    EXPECT_EQ(TextToShortCut("Hyper+X"), 0);
}
