#include "platform/CodePage.h"

#include <gtest/gtest.h>

#include <string>

namespace ondrex {
namespace {

using namespace std::string_literals;
constexpr TCodePage U = TCodePage::Utf8;
constexpr TCodePage W = TCodePage::Windows1252;

TEST(CodePage, Utf8IsTheDefaultAndWindows1252CanBeChosen) {
    EXPECT_EQ(ActiveCodePage(), U);
    SetActiveCodePage(W);
    EXPECT_EQ(ActiveCodePage(), W);
    SetActiveCodePage(U);
}

TEST(CodePage, CharLengthsOfWellFormedUtf8) {
    const std::string s = "a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80"; // a é € 😀
    EXPECT_EQ(CharLength(U, s, 0), 1u);
    EXPECT_EQ(CharLength(U, s, 1), 2u);
    EXPECT_EQ(CharLength(U, s, 3), 3u);
    EXPECT_EQ(CharLength(U, s, 6), 4u);
    EXPECT_EQ(CharLength(U, s, 10), 0u);
    EXPECT_TRUE(IsLeadByteAt(U, s, 1));
    EXPECT_FALSE(IsLeadByteAt(U, s, 0));
    for (std::size_t i = 0; i < s.size(); ++i)
        EXPECT_EQ(CharLength(W, s, i), 1u);
}

TEST(CodePage, InvalidBytesAreCharactersOfTheirOwn) {
    // Overlong, surrogate, out of range, truncated, stray continuation bytes.
    for (std::string bad :
         {"\xC0\x80"s, "\xC1\xBF"s, "\xED\xA0\x80"s, "\xF5\x80\x80\x80"s, "\xF4\x90\x80\x80"s,
          "\xE2\x82"s, "\x80"s, "\xBF\xBF"s, "\xE0\x80\x80"s, "\xF0\x80\x80\x80"s}) {
        EXPECT_EQ(CharLength(U, bad, 0), 1u) << testing::PrintToString(bad);
        for (std::size_t i = 0; i < bad.size(); ++i)
            EXPECT_TRUE(IsCharBoundary(U, bad, i)) << testing::PrintToString(bad) << i;
        EXPECT_FALSE(IsValidUtf8(bad));
    }
    // A bad byte anywhere in text long enough for the wide steps over ASCII, and in their tail.
    for (std::size_t at = 0; at < 200; ++at) {
        std::string text(200, 'a');
        text[at] = '\x80';
        EXPECT_FALSE(IsValidUtf8(text)) << at;
        text.replace(at, 1, "\xc3\xa9");
        EXPECT_TRUE(IsValidUtf8(text)) << at;
    }
}

TEST(CodePage, AFourByteCharacterIsOneCharacter) {
    const std::string s = "a\xF0\x9F\x98\x80"
                          "b"; // a, U+1F600, b
    EXPECT_EQ(CharLength(U, s, 1), 4u);
    EXPECT_TRUE(IsCharBoundary(U, s, 1));
    for (std::size_t i = 2; i <= 4; ++i) {
        EXPECT_FALSE(IsCharBoundary(U, s, i)) << i;
        EXPECT_EQ(CharStart(U, s, i), 1u) << i;
        EXPECT_EQ(NextCharBoundary(U, s, i), 5u) << i;
        EXPECT_EQ(PrevCharBoundary(U, s, i), 1u) << i;
    }
    EXPECT_TRUE(IsCharBoundary(U, s, 5));
    EXPECT_EQ(NextCharBoundary(U, s, 1), 1u);
}

TEST(CodePage, AColumnNeverLandsInsideACharacter) {
    const std::string s = "x\xE2\x82\xACy\xC3\xA9";
    EXPECT_EQ(CharStart(U, s, 0), 0u);
    EXPECT_EQ(CharStart(U, s, 2), 1u);
    EXPECT_EQ(CharStart(U, s, 3), 1u);
    EXPECT_EQ(CharStart(U, s, 4), 4u);
    EXPECT_EQ(CharStart(U, s, 6), 5u);
    EXPECT_FALSE(IsCharBoundary(U, s, 2));
    EXPECT_TRUE(IsCharBoundary(U, s, 7)); // the end
    EXPECT_TRUE(IsCharBoundary(U, s, 99));
    EXPECT_EQ(NextCharBoundary(U, s, 2), 4u);
    EXPECT_EQ(NextCharBoundary(U, s, 1), 1u);
    EXPECT_EQ(PrevCharBoundary(U, s, 3), 1u);
    EXPECT_EQ(NextCharBoundary(U, s, 6), 7u);
    EXPECT_EQ(PrevCharBoundary(U, s, 20), 7u);
    // A continuation byte after an ASCII byte is a character of its own.
    const std::string stray = "a\x82\x82";
    EXPECT_EQ(CharStart(U, stray, 1), 1u);
    EXPECT_EQ(CharStart(U, stray, 2), 2u);
    // A truncated sequence does not own the bytes after it.
    const std::string cut = "\xE2\x82z";
    EXPECT_EQ(CharStart(U, cut, 1), 1u);
    // In Windows-1252 every byte is a character.
    for (std::size_t i = 0; i < s.size(); ++i)
        EXPECT_TRUE(IsCharBoundary(W, s, i));
}

TEST(CodePage, LeadAndContinuationBytesWithoutContext) {
    EXPECT_TRUE(IsLeadByte(U, 0xC3));
    EXPECT_TRUE(IsLeadByte(U, 0xF4));
    EXPECT_FALSE(IsLeadByte(U, 0xC1));
    EXPECT_FALSE(IsLeadByte(U, 0xF5));
    EXPECT_FALSE(IsLeadByte(U, 'a'));
    EXPECT_TRUE(IsContinuationByte(U, 0x80));
    EXPECT_TRUE(IsContinuationByte(U, 0xBF));
    EXPECT_FALSE(IsContinuationByte(U, 0xC0));
    EXPECT_FALSE(IsLeadByte(W, 0xC3));
    EXPECT_FALSE(IsContinuationByte(W, 0x80));
}

TEST(CodePage, DecodesCharacters) {
    const std::string s = "\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80\xFF";
    EXPECT_EQ(DecodeChar(U, s, 0).codePoint, U'é');
    EXPECT_EQ(DecodeChar(U, s, 2).codePoint, U'€');
    EXPECT_EQ(DecodeChar(U, s, 5).codePoint, char32_t(0x1F600));
    EXPECT_EQ(DecodeChar(U, s, 9).codePoint, char32_t(0xFFFD));
    EXPECT_EQ(DecodeChar(U, s, 9).length, 1u);
    EXPECT_EQ(DecodeChar(W, "\x80", 0).codePoint, U'€');
    EXPECT_EQ(DecodeChar(W, "\x9F", 0).codePoint, U'Ÿ');
    EXPECT_EQ(DecodeChar(W, "\x81", 0).codePoint, char32_t(0x81));
    EXPECT_EQ(DecodeChar(W, "\xE9", 0).codePoint, U'é');
}

TEST(CodePage, CharacterClassesForWordSelection) {
    EXPECT_EQ(CharClassOf(U'\t'), ccTab);
    EXPECT_EQ(CharClassOf(U' '), ccOther);
    EXPECT_EQ(CharClassOf(U'a'), ccHalfWidth);
    EXPECT_EQ(CharClassOf(U'_'), ccHalfWidth);
    EXPECT_EQ(CharClassOf(U'7'), ccHalfWidth);
    EXPECT_EQ(CharClassOf(U'é'), ccHalfWidth);
    EXPECT_EQ(CharClassOf(U'ж'), ccHalfWidth);
    EXPECT_EQ(CharClassOf(U'('), ccHalfWidthSymbol);
    EXPECT_EQ(CharClassOf(U'×'), ccHalfWidthSymbol);
    EXPECT_EQ(CharClassOf(U'€'), ccHalfWidthSymbol);
    EXPECT_EQ(CharClassOf(U'ｱ'), ccHalfWidthIdeo);
    EXPECT_EQ(CharClassOf(U'Ａ'), ccFullWidth);
    EXPECT_EQ(CharClassOf(U'漢'), ccFullWidthIdeo);
    EXPECT_EQ(CharClassOf(U'カ'), ccFullWidthIdeo);
    EXPECT_EQ(CharClassOf(U'。'), ccFullWidthSymbol);
    EXPECT_EQ(CharClassOf(U'ひ'), ccHiragana);
    EXPECT_EQ(CharClassOf(U'\u0640'), ccKashida);
    EXPECT_EQ(CharClassOf(U'\u3000'), ccOther);
}

TEST(CodePage, AnsiLowerCasingOfUtf8MapsOnlyAscii) {
    const std::uint8_t* t = AnsiLowerTable(U);
    EXPECT_EQ(t[std::uint8_t('A')], 'a');
    EXPECT_EQ(t[std::uint8_t('Z')], 'z');
    EXPECT_EQ(t[std::uint8_t('a')], 'a');
    EXPECT_EQ(t[std::uint8_t('@')], '@');
    EXPECT_EQ(t[std::uint8_t('[')], '[');
    for (int c = 0x80; c < 256; ++c)
        EXPECT_EQ(t[c], c);
    EXPECT_EQ(AnsiLowerCase(U, "ÉCOLE École"), "École École"); // É is two bytes: unchanged
    EXPECT_EQ(AnsiUpperTable(U)[std::uint8_t('q')], 'Q');
    for (int c = 0; c < 256; ++c) // the single-byte helper folds exactly as the table
        ASSERT_EQ(std::uint8_t(AsciiUpper(char(c))), AnsiUpperTable(U)[c]) << c;
}

TEST(CodePage, AnsiLowerCasingOfWindows1252MapsItsLetters) {
    const std::uint8_t* t = AnsiLowerTable(W);
    EXPECT_EQ(t[std::uint8_t('A')], 'a');
    EXPECT_EQ(t[0xC0], 0xE0); // À
    EXPECT_EQ(t[0xDE], 0xFE); // Þ
    EXPECT_EQ(t[0xD7], 0xD7); // × stays
    EXPECT_EQ(t[0xDF], 0xDF); // ß has no capital here
    EXPECT_EQ(t[0x8A], 0x9A); // Š
    EXPECT_EQ(t[0x8C], 0x9C); // Œ
    EXPECT_EQ(t[0x8E], 0x9E); // Ž
    EXPECT_EQ(t[0x9F], 0xFF); // Ÿ
    EXPECT_EQ(t[0xE9], 0xE9);
    EXPECT_EQ(AnsiUpperTable(W)[0xFF], 0x9F);
    EXPECT_EQ(AnsiUpperTable(W)[0xF7], 0xF7); // ÷ stays
}

TEST(CodePage, LettersAndDigitsForTheSearchEnginesDelimiters) {
    EXPECT_TRUE(IsAnsiAlphaNumeric(U, 'a'));
    EXPECT_TRUE(IsAnsiAlphaNumeric(U, '5'));
    EXPECT_FALSE(IsAnsiAlphaNumeric(U, '_'));
    EXPECT_FALSE(IsAnsiAlphaNumeric(U, ' '));
    EXPECT_TRUE(IsAnsiAlphaNumeric(U, 0xC3)); // parts of multi-byte characters
    EXPECT_TRUE(IsAnsiAlphaNumeric(W, 0xE9));
    EXPECT_TRUE(IsAnsiAlphaNumeric(W, 0x8A));
    EXPECT_FALSE(IsAnsiAlphaNumeric(W, 0xD7));
    EXPECT_FALSE(IsAnsiAlphaNumeric(W, 0x80)); // €
}

TEST(CodePage, DecodingForOutput) {
    const std::string utf8 = "caf\xC3\xA9 \xE2\x82\xAC";
    EXPECT_TRUE(IsValidUtf8(utf8));
    EXPECT_TRUE(IsValidUtf8(""));
    EXPECT_TRUE(IsValidUtf8(std::string(100, 'x') + utf8 + std::string(9, 'y')));
    EXPECT_EQ(DetectCodePage(utf8), U);
    EXPECT_EQ(ToUtf8(U, utf8), utf8);

    const std::string latin = "caf\xE9 \x80 \x93q\x94";
    EXPECT_EQ(DetectCodePage(latin), W);
    EXPECT_EQ(ToUtf8(W, latin), "caf\xC3\xA9 \xE2\x82\xAC \xE2\x80\x9Cq\xE2\x80\x9D");
    EXPECT_EQ(ToUtf8(U, "a\xFF"
                        "b"),
              "a\xEF\xBF\xBD"
              "b"); // a stray byte shows as U+FFFD
    EXPECT_EQ(ToUtf8(W, std::string("\0x", 2)), std::string("\0x", 2));

    std::string out;
    AppendCodePoint(0x1F600, out);
    EXPECT_EQ(out, "\xF0\x9F\x98\x80");
}

TEST(CodePage, CompareTextFoldsThroughTheCodePageTableOnly) {
    EXPECT_TRUE(SameText("Ins", "INS"));
    EXPECT_FALSE(SameText("Ins", "INSERT"));
    // Ordered as the C locale's strcasecmp: letters fold to lower case, so '_' sorts before them.
    EXPECT_LT(CompareText("A_B", "AaB"), 0);
    EXPECT_LT(CompareText("abc", "ABCD"), 0);
    EXPECT_GT(CompareText("b", "A"), 0);
    // Bytes above 0x7F count as unsigned and fold only where the code page says so.
    EXPECT_GT(CompareText("\xC9", "z"), 0);
    EXPECT_FALSE(SameText("caf\xC9", "caf\xE9"));
    EXPECT_TRUE(SameText("caf\xC9", "caf\xE9", TCodePage::Windows1252));
    EXPECT_EQ(AnsiUpperCase(TCodePage::Utf8, "end sub \xC3\xA9"), "END SUB \xC3\xA9");
}

} // namespace
} // namespace ondrex
