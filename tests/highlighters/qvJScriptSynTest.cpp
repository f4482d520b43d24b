#include "highlighters/qvJScriptSyn.h"

#include "highlighters/THighlighterList.h"
#include "tests/highlighters/TokenRecorder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <set>

namespace ondrex {
namespace {

using namespace ondrex::test;
using J = TqvJScriptSyn;

// The word list as published for the language, two letter cases of one word joined by "/".
const char* const kKeywordText = R"(
abs acos action alert alinkColor Anchor/anchor anchors appCodeName Applet applets appName
appVersion Area arguments Array/array asin atan atan2 back bgColor big blink blur bold Boolean
border break Button caller ceil charAt Checkbox checked clearTimeout click close closed comment
complete confirm constructor continue cookie cos current Date defaultChecked defaultSelected
defaultStatus defaultValue description document domain E elements else embeds enabledPlugin
encoding escape eval exp fgColor filename FileUpload fixed floor focus fontcolor fontsize for
Form/form forms forward Frame frames Function/function getDate getDay getHours getMinutes
getMonth getSeconds getTime getTimezoneOffset getYear go hash height Hidden history host
hostname href hspace if Image images in index indexOf isNaN italics javaEnabled join
lastIndexOf lastModified length Link/link linkColor links LN10 LN2 location log LOG10E LOG2E
loop lowsrc Math max MAX_VALUE method MimeType mimeTypes min MIN_VALUE name NaN navigator
NEGATIVE_INFINITY new next Number object onAbort onBlur onChange onClick onError onFocus onLoad
onMouseOut onMouseOver onReset onSelect onSubmit onUnload open opener Option options parent
parse parseFloat parseInt Password pathname PI Plugin plugins port POSITIVE_INFINITY pow
previous prompt property protocol prototype Radio random referrer refresh reload replace
Reset/reset return reverse round scroll search Select/select selected selectedIndex self
setDate setHours setMinutes setMonth setSeconds setTime setTimeout setYear sin small sort split
sqrt SQRT1_2 SQRT2 src status strike String sub submit substring suffixes sup taint
taintEnabled tan target Text/text Textarea this title toGMTString toLocaleString toLowerCase top
toString toUpperCase type unescape untaint URL userAgent UTC value valueOf var vlinkColor vspace
while width window with write writeln)";

std::vector<std::string> TableWords() {
    std::vector<std::string> words;
    for (const std::string& entry : Words(kKeywordText)) {
        std::size_t slash = entry.find('/');
        words.push_back(entry.substr(0, slash));
        if (slash != std::string::npos) words.push_back(entry.substr(slash + 1));
    }
    return words;
}

// Keywords compare letters regardless of case and every digit equal to every other.
std::string Folded(std::string word) {
    for (char& c : word)
        c = std::isdigit(static_cast<unsigned char>(c))
                ? '0'
                : static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return word;
}

std::string Upper(std::string word) {
    for (char& c : word)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return word;
}

TEST(JScriptKeywords, TableHoldsEveryListedWordUnderItsLetterSum) {
    const TKeywordTable& table = J::Keywords();
    ASSERT_EQ(table.Size(), 253);
    const std::vector<std::string> words = TableWords();
    EXPECT_EQ(words.size(), 248u);
    EXPECT_EQ(std::set<std::string>(words.begin(), words.end()).size(), 248u);
    std::multiset<std::string> held;
    for (int h = 0; h < table.Size(); ++h)
        for (std::string_view word : table.KeywordsAt(h)) {
            EXPECT_EQ(static_cast<int>(THashScheme::Letters().Hash(word)), h) << word;
            held.insert(std::string(word));
        }
    EXPECT_EQ(held, std::multiset<std::string>(words.begin(), words.end()));

    auto at = [&](int h) { return table.KeywordsAt(h); };
    EXPECT_EQ(at(5), std::vector<std::string_view>{"E"});
    EXPECT_EQ(at(15), std::vector<std::string_view>{"if"});
    EXPECT_EQ(at(220), std::vector<std::string_view>{"NEGATIVE_INFINITY"});
    EXPECT_EQ(at(252), std::vector<std::string_view>{"POSITIVE_INFINITY"});
}

TEST(JScriptKeywords, EveryWordIsAKeyInAnyLetterCase) {
    J js;
    for (const std::string& word : TableWords()) {
        EXPECT_EQ(KindOfWhole(js, word), J::tkKey) << word;
        EXPECT_EQ(KindOfWhole(js, Upper(word)), J::tkKey) << word;
        std::string lower = word;
        std::transform(lower.begin(), lower.end(), lower.begin(), ::tolower);
        EXPECT_EQ(KindOfWhole(js, lower), J::tkKey) << word;
    }
}

// Anagrams and digit-extended forms land in the same table entry; only a real match is a key.
TEST(JScriptKeywords, OtherWordsOfTheSameEntryAreIdentifiers) {
    J js;
    std::set<std::string> folded;
    for (const std::string& word : TableWords())
        folded.insert(Folded(word));
    int checked = 0;
    for (const std::string& word : TableWords()) {
        std::string reversed(word.rbegin(), word.rend());
        for (const std::string& other : {reversed, word + "0"}) {
            if (!std::isalpha(static_cast<unsigned char>(other[0])) && other[0] != '_') continue;
            ASSERT_EQ(THashScheme::Letters().Hash(other), THashScheme::Letters().Hash(word));
            const int expected = folded.count(Folded(other)) ? J::tkKey : J::tkIdentifier;
            EXPECT_EQ(KindOfWhole(js, other), expected) << other;
            checked += expected == J::tkIdentifier;
        }
    }
    EXPECT_GT(checked, 400);
}

TEST(JScriptKeywords, NearMissesAndStatementWordsOutsideTheList) {
    J js;
    for (const char* word : {"switch", "case", "do", "typeof", "f0r", "whi1e", "iff", "e_",
                             "zzzzzzzzzzzz", "POSITIVE_INFINITYA", "NEGATIVE_INFINITz"})
        EXPECT_EQ(KindOfWhole(js, word), J::tkIdentifier) << word;
    // All digits compare equal, so a different digit in the same place still matches.
    for (const char* word : {"atan3", "LN99", "SQRT7", "log20e"})
        EXPECT_EQ(KindOfWhole(js, word), J::tkKey) << word;
}

struct Case {
    const char* Name;
    std::string Line;
    Pieces Expected;
};

class JScriptLine : public ::testing::TestWithParam<Case> {};

TEST_P(JScriptLine, Tokens) {
    J js;
    ScannedLine scanned = ScanLine(js, GetParam().Line, J::rsCode);
    EXPECT_EQ(scanned.AsPieces(), GetParam().Expected);
    scanned.ExpectContiguous();
}

const Case kCases[] = {
    {"Statement",
     "var a = 1;",
     {{2, "var"}, {5, " "}, {1, "a"}, {5, " "}, {8, "="}, {5, " "}, {4, "1"}, {8, ";"}}},
    {"DoubleQuotedHoldsSingle", R"("it's" 'a"b')", {{6, R"("it's")"}, {5, " "}, {6, R"('a"b')"}}},
    {"DoubledQuoteEndsString", R"("a""b")", {{6, R"("a")"}, {6, R"("b")"}}},
    {"ThreeQuotesOpen", R"("""x")", {{6, R"("""x")"}}},
    {"ThreeQuotesAlone", R"(""")", {{6, R"(""")"}}},
    {"EmptyString", "''", {{6, "''"}}},
    {"NoBackslashEscape", R"('\'x')", {{6, R"('\')"}, {1, "x"}, {6, "'"}}},
    {"UnclosedStringToEnd", R"("abc)", {{6, R"("abc)"}}},
    {"DollarHex", "$1F $1Fg", {{4, "$1F"}, {5, " "}, {4, "$1F"}, {1, "g"}}},
    {"DollarAlone", "$", {{4, "$"}}},
    {"HashDigits", "#13 #x", {{6, "#13"}, {5, " "}, {6, "#"}, {1, "x"}}},
    {"ModAndStarAreSpace",
     "%= *= * %",
     {{5, "%="}, {5, " "}, {5, "*="}, {5, " "}, {5, "*"}, {5, " "}, {5, "%"}}},
    {"DoubledSymbols",
     "&&&=&++ +=+--",
     {{7, "&&"}, {7, "&="}, {7, "&"}, {7, "++"}, {5, " "}, {7, "+="}, {7, "+"}, {7, "--"}}},
    {"MinusForms", "-=->- -", {{7, "-="}, {7, "->"}, {7, "-"}, {5, " "}, {7, "-"}}},
    {"BarForms", "|||=|", {{7, "||"}, {7, "|="}, {7, "|"}}},
    {"Dots", "... .. .", {{7, "..."}, {5, " "}, {7, "."}, {7, "."}, {5, " "}, {7, "."}}},
    {"OneCharSymbols", "(),{}~", {{7, "("}, {7, ")"}, {7, ","}, {7, "{"}, {7, "}"}, {7, "~"}}},
    {"SlashForms", "/=/ x // c", {{7, "/="}, {7, "/"}, {5, " "}, {1, "x"}, {5, " "}, {0, "// c"}}},
    {"Numbers",
     "1.5e3 12eb 0x1F",
     {{4, "1.5e3"}, {5, " "}, {4, "12e"}, {1, "b"}, {5, " "}, {4, "0"}, {1, "x1F"}}},
    {"TwoDotsEndNumber", "1..2", {{4, "1"}, {7, "."}, {7, "."}, {4, "2"}}},
    {"ThreeDotsAfterNumber", "1...", {{4, "1"}, {7, "..."}}},
    {"UnknownCharacters",
     "!:;<=>?[\\]^@`",
     {{8, "!"},
      {8, ":"},
      {8, ";"},
      {8, "<"},
      {8, "="},
      {8, ">"},
      {8, "?"},
      {8, "["},
      {8, "\\"},
      {8, "]"},
      {8, "^"},
      {8, "@"},
      {8, "`"}}},
    {"HighBytesAreUnknown", "\x7f\xc3\xa9", {{8, "\x7f"}, {8, "\xc3"}, {8, "\xa9"}}},
    {"ControlsAndBlanksAreOneSpace", "\t \x01\x1f x", {{5, "\t \x01\x1f "}, {1, "x"}}},
    {"LineBreaks", "a\r\nb\n\r", {{1, "a"}, {5, "\r\n"}, {1, "b"}, {5, "\n"}, {5, "\r"}}},
    {"IdentifiersWithDigitsAndUnderscore",
     "_x1 IF If1",
     {{1, "_x1"}, {5, " "}, {2, "IF"}, {5, " "}, {1, "If1"}}},
};

INSTANTIATE_TEST_SUITE_P(Cases, JScriptLine, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST(JScriptLines, EmptyLineEndsAtOnce) {
    J js;
    js.StartLine("", 0);
    EXPECT_TRUE(js.AtLineEnd());
    EXPECT_EQ(js.TokenText(), "");
    EXPECT_EQ(js.TokenStart(), 0);
    EXPECT_EQ(js.TokenAttribute(), nullptr);
}

TEST(JScriptLines, NulEndsTheLineAndTheEndRepeats) {
    J js;
    for (const std::string& line :
         {std::string("ab\0cd", 5), std::string("\"ab\0\"", 5), std::string("// x\0y", 6),
          std::string("/* x\0*/", 7), std::string("1.\0.", 4), std::string("$\0a", 3)}) {
        ScannedLine scanned = ScanLine(js, line, J::rsCode);
        std::string covered;
        for (const Token& t : scanned.Tokens)
            covered += t.Text;
        EXPECT_EQ(covered, std::string(line.c_str())) << line.c_str();
        for (int i = 0; i < 3; ++i) {
            js.NextToken();
            EXPECT_TRUE(js.AtLineEnd());
            EXPECT_EQ(js.TokenStart(), static_cast<int>(std::strlen(line.c_str())));
            EXPECT_EQ(js.TokenText(), "");
        }
    }
}

TEST(JScriptRange, OpenBlockCommentIsRecordedButNotResumed) {
    J js;
    std::vector<ScannedLine> lines =
        ScanLines(js, {"x /* open", "still */ y", "", "/* a */ b", "z"});
    EXPECT_EQ(lines[0].AsPieces(), (Pieces{{1, "x"}, {5, " "}, {0, "/* open"}}));
    EXPECT_EQ(lines[0].EndState, J::rsComment);
    // The next line is code again: the closing pair is a space-kind star and a slash.
    EXPECT_EQ(lines[1].AsPieces(),
              (Pieces{{1, "still"}, {5, " "}, {5, "*"}, {7, "/"}, {5, " "}, {1, "y"}}));
    // Only a comment changes the range, so it stays until a comment closes.
    EXPECT_EQ(lines[1].EndState, J::rsComment);
    EXPECT_EQ(lines[2].EndState, J::rsComment);
    EXPECT_EQ(lines[3].AsPieces(), (Pieces{{0, "/* a */"}, {5, " "}, {1, "b"}}));
    EXPECT_EQ(lines[3].EndState, J::rsCode);
    EXPECT_EQ(lines[4].EndState, J::rsCode);
}

TEST(JScriptRange, SlashStarSlashIsAClosedComment) {
    J js;
    ScannedLine line = ScanLine(js, "/*/ a", J::rsComment);
    EXPECT_EQ(line.AsPieces(), (Pieces{{0, "/*/"}, {5, " "}, {1, "a"}}));
    EXPECT_EQ(line.EndState, J::rsCode);
    EXPECT_EQ(ScanLine(js, "/**/", J::rsCode).EndState, J::rsCode);
    EXPECT_EQ(ScanLine(js, "/**", J::rsCode).EndState, J::rsComment);
    EXPECT_EQ(ScanLine(js, "a // /*", J::rsCode).EndState, J::rsCode);
}

TEST(JScriptRange, ResetAndSetUseTheLowByte) {
    J js;
    EXPECT_EQ(js.RangeState(), J::rsCode);
    js.SetRangeState(0x1202);
    EXPECT_EQ(js.RangeState(), 2u);
    js.ResetRangeState();
    EXPECT_EQ(js.RangeState(), J::rsCode);
}

TEST(JScriptAttributes, KindsMapToTheirAttributes) {
    J js;
    const std::pair<std::string, TqvHighLightAttributes*> expected[] = {
        {"// c", js.CommentAttri}, {"a", js.IdentifierAttri}, {"if", js.KeyAttri},
        {"1", js.NumberAttri},     {" ", js.SpaceAttri},      {"'s'", js.StringAttri},
        {"(", js.SymbolAttri},     {";", js.StringAttri},     {"*", js.SpaceAttri}};
    for (const auto& [text, attribute] : expected) {
        js.ResetRangeState();
        js.StartLine(text.c_str(), 0);
        EXPECT_EQ(js.TokenAttribute(), attribute) << text;
    }
}

TEST(JScriptAttributes, NamesStylesAndRoles) {
    J js;
    std::vector<std::string> names;
    for (int i = 0; i < js.AttributeCount(); ++i)
        names.push_back(js.AttributeAt(i)->Name());
    EXPECT_EQ(names, (std::vector<std::string>{"Comment", "Identifier", "Number", "Reserved word",
                                               "Space", "String", "Symbol"}));
    EXPECT_EQ(js.CommentAttri->Style(), fsItalic);
    EXPECT_EQ(js.KeyAttri->Style(), fsBold);
    EXPECT_EQ(js.StringAttri->Style(), 0);
    EXPECT_EQ(js.DefaultAttribute(SYN_ATTR_WHITESPACE), js.SpaceAttri);
    EXPECT_EQ(js.DefaultAttribute(SYN_ATTR_COMMENT), js.CommentAttri);
    EXPECT_EQ(js.DefaultAttribute(SYN_ATTR_KEYWORD), js.KeyAttri);
    EXPECT_EQ(js.DefaultAttribute(3), nullptr);
}

TEST(JScriptAttributes, LanguageFacts) {
    J js;
    EXPECT_EQ(js.LanguageName(), "Javascript");
    EXPECT_EQ(js.DefaultFilter(), "Javascript files (*.js)|*.js");
    EXPECT_EQ(js.Capabilities(), 6u);
    TSynCharSet word = js.WordChars();
    EXPECT_EQ(word.count(), 63u);
    EXPECT_TRUE(word['_'] && word['0'] && word['Z'] && word['z']);
    EXPECT_FALSE(word['$'] || word[' '] || word[200]);
    const THighlighterClass* byExtension = THighlighterList::Instance().FindByExtension(".js");
    ASSERT_NE(byExtension, nullptr);
    EXPECT_EQ(byExtension->ClassName, "TqvJScriptSyn");
    EXPECT_EQ(THighlighterList::Instance().FindByLanguage("javascript"), byExtension);
}

TEST(JScriptExport, FlagsPerKindAndUnknownCharactersLeftOut) {
    J js;
    std::vector<ExportedToken> out = ExportLine(js, "a /*c*/ 's';(1");
    ASSERT_EQ(out.size(), 8u);
    auto expect = [&](int i, const char* text, const TqvHighLightAttributes* attribute,
                      bool whitespace, bool second) {
        EXPECT_EQ(out[i].Text, text) << i;
        EXPECT_EQ(out[i].Attribute, attribute) << i;
        EXPECT_EQ(out[i].Whitespace, whitespace) << i;
        EXPECT_EQ(out[i].Second, second) << i;
    };
    expect(0, "a", js.IdentifierAttri, false, false);
    expect(1, " ", js.SpaceAttri, true, false);
    expect(2, "/*c*/", js.CommentAttri, false, true);
    expect(3, " ", js.SpaceAttri, true, false);
    expect(4, "'s'", js.StringAttri, false, true);
    expect(5, "(", js.SymbolAttri, false, true);
    expect(6, "1", js.NumberAttri, false, false);
    expect(7, "", nullptr, false, false);
}

} // namespace
} // namespace ondrex
