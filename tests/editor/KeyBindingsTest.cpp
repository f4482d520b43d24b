#include "editor/TqvKeyStrokes.h"

#include <gtest/gtest.h>

namespace ondrex {
namespace {

constexpr TShortCut kF2 = VK_F1 + 1, kF5 = VK_F1 + 4, kF7 = VK_F1 + 6;

class KeyBindings : public ::testing::Test {
protected:
    KeyBindings() { strokes.LoadDefaultBindings(); }

    TqvEditorCommand CommandAt(int index) const {
        return index < 0 ? ecNone : strokes.Items(index).Command();
    }

    TObject editor;
    TqvKeyStrokes strokes{&editor};
};

TEST_F(KeyBindings, DefaultsAreSeventyNineSingleKeysInOrder) {
    ASSERT_EQ(strokes.Count(), 79);
    for (int i = 0; i < strokes.Count(); ++i)
        EXPECT_EQ(strokes.Items(i).Key2(), 0) << i;

    EXPECT_EQ(strokes.Items(0).ShortCut(), ShortCut(VK_UP, 0));
    EXPECT_EQ(strokes.Items(0).Command(), ecUp);
    EXPECT_EQ(strokes.Items(9).ShortCut(), ShortCut(VK_LEFT, ssShift | ssCtrl));
    EXPECT_EQ(strokes.Items(9).Command(), ecSelWordLeft);
    EXPECT_EQ(strokes.Items(38).ShortCut(), ShortCut(VK_BACK, ssShift | ssAlt));
    EXPECT_EQ(strokes.Items(38).Command(), ecRedo);
    EXPECT_EQ(strokes.Items(52).ShortCut(), ShortCut('Z', ssShift | ssCtrl));
    EXPECT_EQ(strokes.Items(52).Command(), ecRedo);
    for (int n = 0; n < 10; ++n) {
        EXPECT_EQ(strokes.Items(53 + n).ShortCut(), ShortCut(('0' + n), ssCtrl));
        EXPECT_EQ(strokes.Items(53 + n).Command(), ecGotoMarker0 + n);
        EXPECT_EQ(strokes.Items(63 + n).ShortCut(), ShortCut(('0' + n), ssShift | ssCtrl));
        EXPECT_EQ(strokes.Items(63 + n).Command(), ecSetMarker0 + n);
    }
    EXPECT_EQ(strokes.Items(73).Command(), ecNormalSelect);
    EXPECT_EQ(strokes.Items(76).ShortCut(), ShortCut(VK_TAB, 0));
    EXPECT_EQ(strokes.Items(77).ShortCut(), ShortCut(VK_TAB, ssShift));
    EXPECT_EQ(strokes.Items(78).ShortCut(), ShortCut('B', ssShift | ssCtrl));
    EXPECT_EQ(strokes.Items(78).Command(), ecMatchBracket);
}

TEST_F(KeyBindings, DefaultsHoldNoDuplicateKeys) {
    for (int i = 0; i < strokes.Count(); ++i)
        EXPECT_EQ(strokes.LookUpShortcutPair(strokes.Items(i).ShortCut(), 0), i);
}

TEST_F(KeyBindings, LookupsAnswerTheFirstMatch) {
    EXPECT_EQ(CommandAt(strokes.LookUpKey(VK_INSERT, ssCtrl)), ecCopy);
    EXPECT_EQ(CommandAt(strokes.LookUpKey('C', ssCtrl)), ecCopy);
    EXPECT_EQ(CommandAt(strokes.LookUpKey('M', ssCtrl)), ecLineBreak);
    EXPECT_EQ(strokes.LookUpKey('Q', ssCtrl), -1);
    EXPECT_EQ(strokes.LookUpKey(VK_UP, ssAlt), -1);

    TqvKeyStroke& chord = strokes.Add();
    chord.SetShortCut(ShortCut('K', ssCtrl));
    chord.SetShortCut2(ShortCut('B', ssCtrl));
    chord.SetCommand(ecUserFirst);
    EXPECT_EQ(strokes.LookUpChord('K', ssCtrl, 'B', ssCtrl), 79);
    EXPECT_EQ(strokes.LookUpChord('K', ssCtrl, 'B', 0), -1);
    EXPECT_EQ(strokes.LookUpKey('K', ssCtrl), -1); // a chord prefix is no single key
    EXPECT_EQ(strokes.LookUpShortcutPair(ShortCut('K', ssCtrl), ShortCut('B', ssCtrl)), 79);
    EXPECT_EQ(strokes.LookUpShortcutPair(ShortCut('K', ssCtrl), 0), -1);
}

TEST_F(KeyBindings, DuplicatePairIsRefusedAndOldKeysStay) {
    TqvKeyStroke& extra = strokes.Add();
    extra.SetShortCut(kF5);
    try {
        extra.SetShortCut(ShortCut('A', ssCtrl));
        FAIL() << "duplicate accepted";
    } catch (const EqvKeyError& e) {
        EXPECT_STREQ(e.what(), "Shortcut already exists");
    }
    EXPECT_EQ(extra.ShortCut(), kF5);

    // The same first key with a second key is another pair.
    extra.SetShortCut2('X');
    extra.SetShortCut(ShortCut('A', ssCtrl));
    EXPECT_EQ(extra.ShortCut(), ShortCut('A', ssCtrl));

    // Completing a pair another binding has is refused from either side.
    TqvKeyStroke& other = strokes.Add();
    other.SetShortCut2('X');
    EXPECT_THROW(other.SetShortCut(ShortCut('A', ssCtrl)), EqvKeyError);
    EXPECT_EQ(other.ShortCut(), 0);
    other.SetShortCut2('Y');
    other.SetShortCut(ShortCut('A', ssCtrl));
    EXPECT_THROW(other.SetShortCut2('X'), EqvKeyError);
    EXPECT_EQ(other.ShortCut2(), 'Y');
}

TEST_F(KeyBindings, NoKeyIsNeverADuplicate) {
    TqvKeyStroke& a = strokes.Add();
    TqvKeyStroke& b = strokes.Add();
    EXPECT_NO_THROW(a.SetShortCut(0));
    EXPECT_NO_THROW(b.SetShortCut2(0));
    a.SetShortCut(kF7);
    EXPECT_NO_THROW(a.SetShortCut(kF7)); // its own pair is no conflict
    EXPECT_THROW(b.SetShortCut(kF7), EqvKeyError);
}

TEST_F(KeyBindings, DisplayNameShowsCommandAndKeys) {
    EXPECT_EQ(strokes.Items(73).DisplayName(), "ecNormalSelect - Ctrl+Shift+N");
    TqvKeyStroke& chord = strokes.Add();
    chord.SetShortCut(ShortCut('K', ssCtrl));
    chord.SetShortCut2('B');
    chord.SetCommand(1500);
    EXPECT_EQ(chord.DisplayName(), "1500 - Ctrl+K B");
}

TEST_F(KeyBindings, AssignCopiesInOrderSoTheFirstOfEqualBindingsWins) {
    TqvKeyStrokes source(&editor);
    for (TqvEditorCommand command : {ecUserFirst, TqvEditorCommand(ecUserFirst + 1)}) {
        TqvKeyStroke& s = source.Add();
        s.SetCommand(command);
    }
    // Two equal bindings can only arise with no key at all.
    strokes.Assign(source);
    ASSERT_EQ(strokes.Count(), 2);
    EXPECT_EQ(strokes.Owner(), &editor);
    EXPECT_EQ(CommandAt(strokes.LookUpKey(0, 0)), ecUserFirst);

    TqvKeyStrokes defaults(&editor);
    defaults.LoadDefaultBindings();
    strokes.Assign(defaults);
    ASSERT_EQ(strokes.Count(), 79);
    for (int i = 0; i < 79; ++i) {
        EXPECT_EQ(strokes.Items(i).ShortCut(), defaults.Items(i).ShortCut());
        EXPECT_EQ(strokes.Items(i).Command(), defaults.Items(i).Command());
    }
    strokes.Items(0).SetShortCut(kF2); // copies, not shared bindings
    EXPECT_EQ(defaults.Items(0).ShortCut(), ShortCut(VK_UP, 0));
}

class KeyTranslation : public KeyBindings {
protected:
    TqvEditorCommand Press(std::uint16_t key, TShiftState shift = 0) {
        return strokes.TranslateKey(key, shift, prefix);
    }
    TKeyChordPrefix prefix;
};

TEST_F(KeyTranslation, UnboundKeyBecomesChordPrefix) {
    TqvKeyStroke& chord = strokes.Add();
    chord.SetShortCut(ShortCut('Q', ssCtrl));
    chord.SetShortCut2('F');
    chord.SetCommand(ecUserFirst);

    EXPECT_EQ(Press('Q', ssCtrl), ecNone);
    EXPECT_EQ(prefix.Key, 'Q');
    EXPECT_EQ(prefix.Shift, ssCtrl);
    EXPECT_EQ(Press('F'), ecUserFirst);
    EXPECT_EQ(prefix.Key, 0);
    // Without the prefix F alone is unbound.
    EXPECT_EQ(Press('F'), ecNone);
}

TEST_F(KeyTranslation, SecondKeyWithoutChordIsLookedUpAlone) {
    EXPECT_EQ(Press('Q', ssCtrl), ecNone);
    EXPECT_EQ(Press(VK_UP), ecUp);
    EXPECT_EQ(prefix.Key, 0);
    EXPECT_EQ(prefix.Shift, 0);
}

TEST_F(KeyTranslation, OnlyUnboundKeysInRangeAreRemembered) {
    EXPECT_EQ(Press(VK_SHIFT, ssShift), ecNone); // 16: below the range
    EXPECT_EQ(prefix.Key, 0);
    EXPECT_EQ(Press(0x1E), ecNone);
    EXPECT_EQ(prefix.Key, 0x1E);
    EXPECT_EQ(Press(0x91), ecNone);
    EXPECT_EQ(prefix.Key, 0x91);
    EXPECT_EQ(Press(0x92), ecNone);
    EXPECT_EQ(prefix.Key, 0);
    EXPECT_EQ(Press('Q'), ecNone);
    EXPECT_EQ(Press(VK_LEFT, ssCtrl), ecWordLeft); // bound: clears
    EXPECT_EQ(prefix.Key, 0);
}

TEST_F(KeyTranslation, MouseButtonsHeldDoNotHideBindings) {
    EXPECT_EQ(Press(VK_END, ssCtrl | ssLeft), ecEditorBottom);
}

} // namespace
} // namespace ondrex
