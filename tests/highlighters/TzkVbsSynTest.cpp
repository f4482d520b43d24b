#include "highlighters/zkVBSSyn.h"

#include <gtest/gtest.h>

#include <cctype>
#include <string>
#include <utility>
#include <vector>

namespace ondrex {
namespace {

using K = TzkVbsSyn;
using Tokens = std::vector<std::pair<int, std::string>>;

Tokens Scan(TzkVbsSyn& syn, const std::string& line) {
    Tokens tokens;
    syn.StartLine(line.c_str(), 0);
    int expectedStart = 0;
    while (!syn.AtLineEnd()) {
        if (tokens.size() > line.size()) {
            ADD_FAILURE() << "no end of line: " << line;
            break;
        }
        EXPECT_EQ(syn.TokenStart(), expectedStart) << line;
        tokens.emplace_back(syn.TokenKind(), syn.TokenText());
        expectedStart += static_cast<int>(syn.TokenText().size());
        syn.NextToken();
    }
    EXPECT_EQ(syn.TokenText(), "");
    EXPECT_EQ(syn.TokenAttribute(), nullptr);
    return tokens;
}

class VbsTest : public ::testing::Test {
protected:
    TzkVbsSyn syn;
};

TEST_F(VbsTest, DimStatement) {
    // The highlighter reads the caller's line in place, so it must outlive the scan.
    const std::string line = "Dim x";
    EXPECT_EQ(Scan(syn, line),
              (Tokens{{K::tkKey, "Dim"}, {K::tkSpace, " "}, {K::tkIdentifier, "x"}}));
    EXPECT_EQ(syn.TokenKind(), K::tkNull);
    syn.NextToken();
    EXPECT_TRUE(syn.AtLineEnd());
    EXPECT_EQ(syn.TokenStart(), 5);
}

TEST_F(VbsTest, EmptyLineIsAtItsEndAtOnce) {
    syn.StartLine("", 0);
    EXPECT_TRUE(syn.AtLineEnd());
    EXPECT_EQ(syn.TokenText(), "");
}

TEST_F(VbsTest, OnlyTheApostropheStartsAComment) {
    EXPECT_EQ(Scan(syn, "REM a b"), (Tokens{{K::tkKey, "REM"},
                                            {K::tkSpace, " "},
                                            {K::tkIdentifier, "a"},
                                            {K::tkSpace, " "},
                                            {K::tkIdentifier, "b"}}));
    EXPECT_EQ(Scan(syn, "x ' it's \"all\" comment"),
              (Tokens{{K::tkIdentifier, "x"},
                      {K::tkSpace, " "},
                      {K::tkComment, "' it's \"all\" comment"}}));
}

TEST_F(VbsTest, Strings) {
    // A doubled quote is not an escape.
    EXPECT_EQ(Scan(syn, "\"a\"\"b\""), (Tokens{{K::tkString, "\"a\""}, {K::tkString, "\"b\""}}));
    EXPECT_EQ(Scan(syn, "\"\"\"abc\""), (Tokens{{K::tkString, "\"\"\"abc\""}}));
    EXPECT_EQ(Scan(syn, "\"\""), (Tokens{{K::tkString, "\"\""}}));
    EXPECT_EQ(Scan(syn, "x = \"open"), (Tokens{{K::tkIdentifier, "x"},
                                               {K::tkSpace, " "},
                                               {K::tkSymbol, "="},
                                               {K::tkSpace, " "},
                                               {K::tkString, "\"open"}}));
}

TEST_F(VbsTest, UnclosedStringTakesTheLineBreakWithIt) {
    EXPECT_EQ(Scan(syn, "\"ab\r\nc"),
              (Tokens{{K::tkString, "\"ab\r"}, {K::tkSpace, "\n"}, {K::tkIdentifier, "c"}}));
    EXPECT_EQ(Scan(syn, "a\r\nb\rc\n"), (Tokens{{K::tkIdentifier, "a"},
                                                {K::tkSpace, "\r\n"},
                                                {K::tkIdentifier, "b"},
                                                {K::tkSpace, "\r"},
                                                {K::tkIdentifier, "c"},
                                                {K::tkSpace, "\n"}}));
}

TEST_F(VbsTest, DateLiterals) {
    EXPECT_EQ(Scan(syn, "#1/1/2000#"), (Tokens{{K::tkString, "#1/1/2000#"}}));
    EXPECT_EQ(Scan(syn, "d #12 x"),
              (Tokens{{K::tkIdentifier, "d"}, {K::tkSpace, " "}, {K::tkString, "#12 x"}}));
    // No three-quote rule for dates.
    EXPECT_EQ(Scan(syn, "###"), (Tokens{{K::tkString, "##"}, {K::tkString, "#"}}));
}

TEST_F(VbsTest, Symbols) {
    EXPECT_EQ(
        Scan(syn, "<><=>=>"),
        (Tokens{
            {K::tkSymbol, "<>"}, {K::tkSymbol, "<="}, {K::tkSymbol, ">="}, {K::tkSymbol, ">"}}));
    EXPECT_EQ(Scan(syn, "=>"), (Tokens{{K::tkSymbol, "="}, {K::tkSymbol, ">"}}));
    EXPECT_EQ(Scan(syn, "&H1F"), (Tokens{{K::tkSymbol, "&"}, {K::tkIdentifier, "H1F"}}));
    for (char c : std::string("&()*+,-./:;=^{}"))
        EXPECT_EQ(Scan(syn, std::string(1, c)), (Tokens{{K::tkSymbol, std::string(1, c)}})) << c;
    for (char c : std::string("[]?$!%\\~|@`"))
        EXPECT_EQ(Scan(syn, std::string(2, c)), (Tokens{{K::tkIdentifier, std::string(1, c)},
                                                        {K::tkIdentifier, std::string(1, c)}}))
            << c;
}

TEST_F(VbsTest, Numbers) {
    EXPECT_EQ(Scan(syn, "1.5e3"), (Tokens{{K::tkNumber, "1.5e3"}}));
    EXPECT_EQ(Scan(syn, "1.2.3E"), (Tokens{{K::tkNumber, "1.2.3E"}}));
    EXPECT_EQ(Scan(syn, "12abc"), (Tokens{{K::tkNumber, "12"}, {K::tkIdentifier, "abc"}}));
    EXPECT_EQ(Scan(syn, "12eabc"), (Tokens{{K::tkNumber, "12e"}, {K::tkIdentifier, "abc"}}));
}

TEST_F(VbsTest, BytesAboveAsciiAreOneCharacterIdentifiers) {
    EXPECT_EQ(Scan(syn, "\xc3\xa9"),
              (Tokens{{K::tkIdentifier, "\xc3"}, {K::tkIdentifier, "\xa9"}}));
    EXPECT_EQ(Scan(syn, "a\x7f"), (Tokens{{K::tkIdentifier, "a"}, {K::tkIdentifier, "\x7f"}}));
}

TEST_F(VbsTest, ControlCharactersAreSpace) {
    EXPECT_EQ(
        Scan(syn, "a\t\x01\x1f b"),
        (Tokens{{K::tkIdentifier, "a"}, {K::tkSpace, "\t\x01\x1f "}, {K::tkIdentifier, "b"}}));
}

TEST_F(VbsTest, LineEndsAtNul) {
    const std::string line("ab\0cd", 5);
    EXPECT_EQ(Scan(syn, line), (Tokens{{K::tkIdentifier, "ab"}}));
    const std::string inString("\"ab\0cd\"", 7);
    EXPECT_EQ(Scan(syn, inString), (Tokens{{K::tkString, "\"ab"}}));
}

struct KeywordAtHash {
    int hash;
    const char* word;
};

constexpr KeywordAtHash kKeywords[] = {
    {15, "If"},         {17, "Each"},      {19, "Do"},      {19, "And"},      {23, "End"},
    {26, "Dim"},        {28, "Case"},      {28, "Call"},    {28, "Is"},       {29, "On"},
    {32, "Mod"},        {32, "Get"},       {33, "Or"},      {36, "Rem"},      {37, "Let"},
    {38, "Imp"},        {39, "For"},       {41, "Else"},    {42, "Sub"},      {44, "Eqv"},
    {44, "Set"},        {46, "Wend"},      {47, "Then"},    {48, "Erase"},    {49, "ReDim"},
    {49, "Not"},        {54, "Class"},     {57, "Xor"},     {57, "While"},    {58, "Loop"},
    {58, "Exit"},       {63, "Next"},      {63, "Public"},  {64, "Select"},   {71, "Const"},
    {74, "Error"},      {89, "Option"},    {91, "Private"}, {98, "Explicit"}, {102, "Function"},
    {105, "Randomize"}, {133, "property"},
};

std::string WithCase(const std::string& word, int (*convert)(int)) {
    std::string out;
    for (char c : word)
        out += static_cast<char>(convert(static_cast<unsigned char>(c)));
    return out;
}

TEST_F(VbsTest, EveryKeywordSitsAtItsHashAndMatchesInAnyCase) {
    const TKeywordTable& table = TzkVbsSyn::Keywords();
    EXPECT_EQ(table.Size(), 134);
    int count = 0;
    for (int h = 0; h < table.Size(); ++h)
        count += static_cast<int>(table.KeywordsAt(h).size());
    EXPECT_EQ(count, 42);
    for (const auto& [hash, word] : kKeywords) {
        EXPECT_EQ(static_cast<int>(table.Scheme().Hash(word)), hash) << word;
        for (const std::string& spelled :
             {std::string(word), WithCase(word, ::toupper), WithCase(word, ::tolower)})
            EXPECT_EQ(Scan(syn, spelled), (Tokens{{K::tkKey, spelled}})) << spelled;
    }
    // Test order within an entry.
    EXPECT_EQ(table.KeywordsAt(28), (std::vector<std::string_view>{"Case", "Call", "Is"}));
    EXPECT_EQ(table.KeywordsAt(63), (std::vector<std::string_view>{"Next", "Public"}));
}

TEST_F(VbsTest, NearKeywordsAreIdentifiers) {
    // A digit in place of a letter; a keyword with a suffix; same hash, other word.
    for (const char* word : {"D1m", "Dimx", "Dim_", "Fi", "Sbu", "Function1", "Do_"})
        EXPECT_EQ(Scan(syn, word), (Tokens{{K::tkIdentifier, word}})) << word;
    // Hash far beyond the table.
    EXPECT_EQ(Scan(syn, "zzzzzzzzzzzz"), (Tokens{{K::tkIdentifier, "zzzzzzzzzzzz"}}));
}

TEST_F(VbsTest, RangeStateIsAlwaysOne) {
    EXPECT_EQ(syn.RangeState(), 1u);
    syn.SetRangeState(0x1234);
    EXPECT_EQ(syn.RangeState(), 0x34u);
    syn.ResetRangeState();
    Scan(syn, "\"open #date 'c");
    EXPECT_EQ(syn.RangeState(), 1u);
}

TEST_F(VbsTest, AttributesAndIdentity) {
    EXPECT_EQ(syn.LanguageName(), "MS VBScript");
    EXPECT_EQ(syn.DefaultFilter(), "VBScript files (*.vbs)|*.vbs");
    EXPECT_EQ(syn.Capabilities(), 6u);
    EXPECT_EQ(syn.CommentAttri->Style(), fsItalic);
    EXPECT_EQ(syn.KeyAttri->Style(), fsBold);
    EXPECT_EQ(syn.StringAttri->Style(), 0);
    EXPECT_EQ(syn.DefaultAttribute(0), syn.SpaceAttri);
    EXPECT_EQ(syn.DefaultAttribute(1), syn.CommentAttri);
    EXPECT_EQ(syn.DefaultAttribute(2), syn.KeyAttri);
    EXPECT_EQ(syn.DefaultAttribute(3), nullptr);
    Scan(syn, "'c");
    syn.StartLine("'c x", 0);
    EXPECT_EQ(syn.TokenAttribute(), syn.CommentAttri);
    syn.StartLine("\"s\"", 0);
    EXPECT_EQ(syn.TokenAttribute(), syn.StringAttri);
    const TSynCharSet word = syn.WordChars();
    EXPECT_EQ(word.count(), 63u);
    EXPECT_TRUE(word.test('_') && word.test('z') && word.test('0'));
    EXPECT_FALSE(word.test('$'));
}

} // namespace
} // namespace ondrex
