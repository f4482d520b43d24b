#include "highlighters/jxPHPSyn.h"

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
using P = TjxPHPSyn;

const std::vector<std::string> kKeywords = Words(R"(
__FILE__ __LINE__ and array break case cfunction class const continue default die do double
echo else elseif empty endfor endif endswitch endwhile eval exit extends false float for
function global highlight_file highlight_string if include int integer isset list new object
old_function or print real require return show_source static string switch true unset var
while xor)");

std::string Upper(std::string word) {
    for (char& c : word)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return word;
}

std::string Capitalised(std::string word) {
    for (char& c : word)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    auto first = std::find_if(word.begin(), word.end(), ::isalpha);
    *first = static_cast<char>(std::toupper(static_cast<unsigned char>(*first)));
    return word;
}

TEST(PHPKeywords, TableHoldsTheWordsAndSharedEntriesTestInOrder) {
    const TKeywordTable& table = P::Keywords();
    ASSERT_EQ(table.Size(), 207);
    ASSERT_EQ(kKeywords.size(), 55u);
    std::set<std::string> held;
    for (int h = 0; h < table.Size(); ++h)
        for (std::string_view word : table.KeywordsAt(h)) {
            EXPECT_EQ(static_cast<int>(THashScheme::Letters().Hash(word)), h) << word;
            held.insert(std::string(word));
        }
    EXPECT_EQ(held, std::set<std::string>(kKeywords.begin(), kKeywords.end()));
    EXPECT_EQ(table.KeywordsAt(206), std::vector<std::string_view>{"highlight_string"});

    using V = std::vector<std::string_view>;
    const std::pair<int, V> shared[] = {{19, {"and", "do"}},
                                        {41, {"var", "else"}},
                                        {43, {"false", "int"}},
                                        {54, {"float", "class"}},
                                        {57, {"while", "xor"}},
                                        {72, {"isset", "static"}},
                                        {79, {"empty", "unset"}},
                                        {105, {"cfunction", "endswitch"}},
                                        {164, {"old_function", "__LINE__"}}};
    int multi = 0;
    for (int h = 0; h < table.Size(); ++h)
        multi += table.KeywordsAt(h).size() > 1;
    EXPECT_EQ(multi, 9);
    for (const auto& [hash, words] : shared)
        EXPECT_EQ(table.KeywordsAt(hash), words) << hash;
}

TEST(PHPKeywords, EveryWordIsAKeyInAnyLetterCase) {
    P php;
    for (const std::string& word : kKeywords) {
        EXPECT_EQ(KindOfWhole(php, word), P::tkKey) << word;
        EXPECT_EQ(KindOfWhole(php, Upper(word)), P::tkKey) << word;
        EXPECT_EQ(KindOfWhole(php, Capitalised(word)), P::tkKey) << word;
    }
}

// Anagrams and a trailing digit keep the hash, so they are tested by the keyword's entry.
TEST(PHPKeywords, OtherWordsOfTheSameEntryAreIdentifiers) {
    P php;
    const std::set<std::string> keys(kKeywords.begin(), kKeywords.end());
    for (const std::string& word : kKeywords) {
        std::string reversed(word.rbegin(), word.rend());
        for (const std::string& other : {reversed, word + "0"}) {
            if (keys.count(other)) continue;
            ASSERT_EQ(THashScheme::Letters().Hash(other), THashScheme::Letters().Hash(word));
            EXPECT_EQ(KindOfWhole(php, other), P::tkIdentifier) << other;
        }
    }
    for (const char* word : {"php", "foreach", "elsif", "echos", "ech0", "zzzzzzzzz", "__file_"})
        EXPECT_EQ(KindOfWhole(php, word), P::tkIdentifier) << word;
}

struct Case {
    const char* Name;
    std::string Line;
    Pieces Expected;
};

class PHPLine : public ::testing::TestWithParam<Case> {};

TEST_P(PHPLine, Tokens) {
    P php;
    ScannedLine scanned = ScanLine(php, GetParam().Line, P::rsCode);
    EXPECT_EQ(scanned.AsPieces(), GetParam().Expected);
    scanned.ExpectContiguous();
}

const Case kCases[] = {
    {"OpenAndCloseTags",
     "<?php echo $a; ?>",
     {{8, "<"},
      {8, "?"},
      {1, "php"},
      {6, " "},
      {3, "echo"},
      {6, " "},
      {10, "$a"},
      {8, ";"},
      {6, " "},
      {8, "?"},
      {8, ">"}}},
    {"KeywordCases", "ECHO Echo", {{3, "ECHO"}, {6, " "}, {3, "Echo"}}},
    {"Variables",
     "$ $_x1y $$a",
     {{10, "$"}, {6, " "}, {10, "$_x1y"}, {6, " "}, {10, "$"}, {10, "$a"}}},
    {"AtSign", "@f()", {{2, "@"}, {1, "f"}, {8, "("}, {8, ")"}}},
    {"NumberWithMinus", "1-2", {{5, "1-2"}}},
    {"TwoDotsEndNumber", "1..2", {{5, "1"}, {8, "."}, {8, "."}, {5, "2"}}},
    {"HexAndLongForms",
     "0x1Fl 9LX 1.5e3 12g",
     {{5, "0x1Fl"}, {6, " "}, {5, "9LX"}, {6, " "}, {5, "1.5e3"}, {6, " "}, {5, "12"}, {1, "g"}}},
    {"LineComments", "a # b // c", {{1, "a"}, {6, " "}, {0, "# b // c"}}},
    {"SlashComment", "// c", {{0, "// c"}}},
    {"SlashSymbols", "/= /", {{8, "/="}, {6, " "}, {8, "/"}}},
    {"OneCharacterForms",
     "! % & * + - = > ^ | <",
     {{8, "!"}, {6, " "}, {8, "%"}, {6, " "}, {8, "&"}, {6, " "}, {8, "*"},
      {6, " "}, {8, "+"}, {6, " "}, {8, "-"}, {6, " "}, {8, "="}, {6, " "},
      {8, ">"}, {6, " "}, {8, "^"}, {6, " "}, {8, "|"}, {6, " "}, {8, "<"}}},
    {"ShiftForms",
     "<<= << <= >>= >=",
     {{8, "<<="},
      {6, " "},
      {8, "<<"},
      {6, " "},
      {8, "<="},
      {6, " "},
      {8, ">>"},
      {8, "="},
      {6, " "},
      {8, ">="}}},
    {"OneCharSymbols",
     "()[]{},.:;?~",
     {{8, "("},
      {8, ")"},
      {8, "["},
      {8, "]"},
      {8, "{"},
      {8, "}"},
      {8, ","},
      {8, "."},
      {8, ":"},
      {8, ";"},
      {8, "?"},
      {8, "~"}}},
    {"UnknownCharacters", "\\`\x7f\xff", {{9, "\\"}, {9, "`"}, {9, "\x7f"}, {9, "\xff"}}},
    {"ClosedStrings",
     R"('a' "b\"c" "")",
     {{7, "'a'"}, {6, " "}, {7, R"("b\"c")"}, {6, " "}, {7, R"("")"}}},
    {"NoEscapeInSingleQuotes", R"('a\'b)", {{7, R"('a\')"}, {1, "b"}}},
    {"ControlsAndBlanksAreOneSpace", "\t \x01\x1f x", {{6, "\t \x01\x1f "}, {1, "x"}}},
    {"LineBreaks", "a\r\nb\n\r", {{1, "a"}, {6, "\r\n"}, {1, "b"}, {6, "\n"}, {6, "\r"}}},
    {"StarSlashInCode", "*/", {{8, "*"}, {8, "/"}}},
};

INSTANTIATE_TEST_SUITE_P(Cases, PHPLine, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST(PHPLines, OperatorsAreSingleSymbolTokens) {
    P php;
    for (const std::string& op :
         Words("!= %= && &= *= ++ += -- -= -> <<= << <= == => >= >> ^= |= ||"))
        EXPECT_EQ(KindOfWhole(php, op), P::tkSymbol) << op;
}

TEST(PHPLines, NulEndsTheLineInEveryRange) {
    P php;
    struct NulCase {
        std::string Line;
        TqvRangeState Start, End;
    };
    const NulCase lines[] = {{std::string("ab\0cd", 5), P::rsCode, P::rsCode},
                             {std::string("'ab\0'", 5), P::rsCode, P::rsSingleQuote},
                             {std::string("\"a\\\0\"", 5), P::rsCode, P::rsDoubleQuote},
                             {std::string("/* x\0*/", 7), P::rsCode, P::rsComment},
                             {std::string("ab\0'", 4), P::rsSingleQuote, P::rsSingleQuote},
                             {std::string("a\\\0\"", 4), P::rsDoubleQuote, P::rsDoubleQuote},
                             {std::string("x*\0/", 4), P::rsComment, P::rsComment},
                             {std::string("\0x", 2), P::rsComment, P::rsComment}};
    for (const NulCase& c : lines) {
        ScannedLine scanned = ScanLine(php, c.Line, c.Start);
        std::string covered;
        for (const Token& t : scanned.Tokens)
            covered += t.Text;
        EXPECT_EQ(covered, std::string(c.Line.c_str())) << c.Line.c_str();
        EXPECT_EQ(scanned.EndState, c.End) << c.Line.c_str();
        for (int i = 0; i < 3; ++i) {
            php.NextToken();
            EXPECT_TRUE(php.AtLineEnd());
            EXPECT_EQ(php.TokenText(), "");
        }
    }
}

TEST(PHPRange, SingleQuotedStringContinuesOnTheNextLine) {
    P php;
    std::vector<ScannedLine> lines = ScanLines(php, {"$s = 'abc", "def' . $t"});
    EXPECT_EQ(lines[0].AsPieces(), (Pieces{{10, "$s"}, {6, " "}, {8, "="}, {6, " "}, {7, "'abc"}}));
    EXPECT_EQ(lines[0].EndState, P::rsSingleQuote);
    EXPECT_EQ(lines[1].AsPieces(), (Pieces{{7, "def'"}, {6, " "}, {8, "."}, {6, " "}, {10, "$t"}}));
    EXPECT_EQ(lines[1].EndState, P::rsCode);
}

TEST(PHPRange, BlockCommentOverThreeLines) {
    P php;
    std::vector<ScannedLine> lines = ScanLines(php, {"a /* one", "two", "", "three */ b"});
    EXPECT_EQ(lines[0].AsPieces(), (Pieces{{1, "a"}, {6, " "}, {0, "/* one"}}));
    EXPECT_EQ(lines[0].EndState, P::rsComment);
    EXPECT_EQ(lines[1].AsPieces(), (Pieces{{0, "two"}}));
    EXPECT_EQ(lines[1].EndState, P::rsComment);
    EXPECT_TRUE(lines[2].Tokens.empty());
    EXPECT_EQ(lines[2].EndState, P::rsComment);
    EXPECT_EQ(lines[3].AsPieces(), (Pieces{{0, "three */"}, {6, " "}, {1, "b"}}));
    EXPECT_EQ(lines[3].EndState, P::rsCode);
}

// The editor computes states with ScanToLineEnd alone; it must resume open ranges too.
TEST(PHPRange, ScanToLineEndCarriesTheSameStates) {
    P php;
    const std::vector<std::string> text = {"a /* x", "y", "*/ 'b", "c", "d' \"e\\\"", "f\""};
    std::vector<ScannedLine> tokenwise = ScanLines(php, text);
    php.ResetRangeState();
    for (std::size_t i = 0; i < text.size(); ++i) {
        php.StartLine(text[i].c_str(), static_cast<int>(i));
        php.ScanToLineEnd();
        EXPECT_EQ(php.RangeState(), tokenwise[i].EndState) << i;
    }
    EXPECT_EQ(tokenwise[0].EndState, P::rsComment);
    EXPECT_EQ(tokenwise[2].EndState, P::rsSingleQuote);
    EXPECT_EQ(tokenwise[4].EndState, P::rsDoubleQuote);
    EXPECT_EQ(tokenwise[5].EndState, P::rsCode);
}

TEST(PHPRange, CommentOpensAfterTheStar) {
    P php;
    EXPECT_EQ(ScanLine(php, "/*/", P::rsCode).EndState, P::rsComment);
    EXPECT_EQ(ScanLine(php, "/**/ x", P::rsCode).AsPieces(),
              (Pieces{{0, "/**/"}, {6, " "}, {1, "x"}}));
    EXPECT_EQ(ScanLine(php, "/**/", P::rsCode).EndState, P::rsCode);
    EXPECT_EQ(ScanLine(php, "*/", P::rsComment).AsPieces(), (Pieces{{0, "*/"}}));
}

TEST(PHPRange, EscapedDoubleQuoteNeverCloses) {
    P php;
    std::vector<ScannedLine> lines = ScanLines(php, {R"(x = "a\"b)", R"(c\"d" e)", R"(\")"});
    EXPECT_EQ(lines[0].AsPieces(),
              (Pieces{{1, "x"}, {6, " "}, {8, "="}, {6, " "}, {7, R"("a\"b)"}}));
    EXPECT_EQ(lines[0].EndState, P::rsDoubleQuote);
    EXPECT_EQ(lines[1].AsPieces(), (Pieces{{7, R"(c\"d")"}, {6, " "}, {1, "e"}}));
    EXPECT_EQ(lines[1].EndState, P::rsCode);
    EXPECT_EQ(ScanLine(php, R"(\"")", P::rsDoubleQuote).AsPieces(), (Pieces{{7, R"(\"")"}}));
    EXPECT_EQ(ScanLine(php, R"(\")", P::rsDoubleQuote).EndState, P::rsDoubleQuote);
}

TEST(PHPRange, QuoteInSurroundingHtmlRunsOverLines) {
    P php;
    std::vector<ScannedLine> lines = ScanLines(php, {"<p title='x>", "<?php echo 1; ?>", "'>"});
    EXPECT_EQ(lines[0].AsPieces(),
              (Pieces{{8, "<"}, {1, "p"}, {6, " "}, {1, "title"}, {8, "="}, {7, "'x>"}}));
    EXPECT_EQ(lines[1].AsPieces(), (Pieces{{7, "<?php echo 1; ?>"}}));
    EXPECT_EQ(lines[1].EndState, P::rsSingleQuote);
    EXPECT_EQ(lines[2].AsPieces(), (Pieces{{7, "'"}, {8, ">"}}));
    EXPECT_EQ(lines[2].EndState, P::rsCode);
}

TEST(PHPRange, LineBreaksInsideAnOpenRangeAreTheirOwnTokens) {
    P php;
    ScannedLine comment = ScanLine(php, "a\rb\r\n*/x", P::rsComment);
    EXPECT_EQ(comment.AsPieces(),
              (Pieces{{0, "a"}, {6, "\r"}, {0, "b"}, {6, "\r\n"}, {0, "*/"}, {1, "x"}}));
    EXPECT_EQ(ScanLine(php, "a\nb'", P::rsSingleQuote).AsPieces(),
              (Pieces{{7, "a"}, {6, "\n"}, {7, "b'"}}));
    // An opening quote takes the break that stops it into its token.
    EXPECT_EQ(ScanLine(php, "'ab\rc", P::rsCode).AsPieces(), (Pieces{{7, "'ab\r"}, {7, "c"}}));
}

TEST(PHPRange, OnlyTheLowByteCountsAndUnknownRangesAreCode) {
    P php;
    EXPECT_EQ(ScanLine(php, "x", 0x103).AsPieces(), (Pieces{{0, "x"}}));
    ScannedLine unknown = ScanLine(php, "'", 7);
    EXPECT_EQ(unknown.AsPieces(), (Pieces{{7, "'"}}));
    EXPECT_EQ(unknown.EndState, P::rsSingleQuote);
    EXPECT_EQ(ScanLine(php, "x", 9).EndState, P::rsCode);
    php.ResetRangeState();
    EXPECT_EQ(php.RangeState(), P::rsCode);
}

TEST(PHPAttributes, KindsMapToTheirAttributes) {
    P php;
    const std::pair<std::string, TqvHighLightAttributes*> expected[] = {
        {"# c", php.CommentAttri}, {"a", php.IdentifierAttri}, {"@", php.InvalidSymbolAttri},
        {"if", php.KeyAttri},      {"1", php.NumberAttri},     {" ", php.SpaceAttri},
        {"'s'", php.StringAttri},  {";", php.SymbolAttri},     {"\\", php.IdentifierAttri},
        {"$v", php.VariableAttri}};
    for (const auto& [text, attribute] : expected) {
        php.ResetRangeState();
        php.StartLine(text.c_str(), 0);
        EXPECT_EQ(php.TokenAttribute(), attribute) << text;
    }
    php.StartLine("", 0);
    EXPECT_EQ(php.TokenKind(), P::tkNull);
    EXPECT_EQ(php.TokenAttribute(), nullptr);
}

TEST(PHPAttributes, NamesStylesRolesAndLanguageFacts) {
    P php;
    std::vector<std::string> names;
    for (int i = 0; i < php.AttributeCount(); ++i)
        names.push_back(php.AttributeAt(i)->Name());
    EXPECT_EQ(names,
              (std::vector<std::string>{"Comment", "Identifier", "Invalid symbol", "Number",
                                        "Reserved word", "Space", "String", "Symbol", "Variable"}));
    EXPECT_EQ(php.CommentAttri->Style(), fsItalic);
    EXPECT_EQ(php.KeyAttri->Style(), fsBold);
    EXPECT_EQ(php.VariableAttri->Style(), 0);
    EXPECT_EQ(php.DefaultAttribute(SYN_ATTR_WHITESPACE), php.SpaceAttri);
    EXPECT_EQ(php.DefaultAttribute(SYN_ATTR_COMMENT), php.CommentAttri);
    EXPECT_EQ(php.DefaultAttribute(SYN_ATTR_KEYWORD), php.KeyAttri);
    EXPECT_EQ(php.DefaultAttribute(-1), nullptr);
    EXPECT_EQ(php.LanguageName(), "PHP");
    EXPECT_EQ(php.DefaultFilter(),
              "PHP files (*.php,*.php3,*.phtml,*.inc)|*.php;*.php3;*.phtml;*.inc");
    EXPECT_EQ(php.Capabilities(), 6u);
    TSynCharSet word = php.WordChars();
    EXPECT_EQ(word.count(), 63u);
    EXPECT_FALSE(word['$']);
    for (const char* extension : {".php", ".PHP3", ".Php4"}) {
        const THighlighterClass* found = THighlighterList::Instance().FindByExtension(extension);
        ASSERT_NE(found, nullptr) << extension;
        EXPECT_EQ(found->ClassName, "TjxPHPSyn");
    }
    EXPECT_EQ(THighlighterList::Instance().FindByLanguage("php")->ClassName, "TjxPHPSyn");
}

TEST(PHPExport, FlagsPerKindAndUnknownCharactersLeftOut) {
    P php;
    std::vector<ExportedToken> out = ExportLine(php, "@$v`;'s'#c");
    ASSERT_EQ(out.size(), 6u);
    const std::tuple<const char*, const TqvHighLightAttributes*, bool, bool> expected[] = {
        {"@", php.InvalidSymbolAttri, false, false}, {"$v", php.VariableAttri, false, false},
        {";", php.SymbolAttri, false, true},         {"'s'", php.StringAttri, false, true},
        {"#c", php.CommentAttri, false, true},       {"", nullptr, false, false}};
    for (int i = 0; i < 6; ++i) {
        const auto& [text, attribute, whitespace, second] = expected[i];
        EXPECT_EQ(out[i].Text, text) << i;
        EXPECT_EQ(out[i].Attribute, attribute) << i;
        EXPECT_EQ(out[i].Whitespace, whitespace) << i;
        EXPECT_EQ(out[i].Second, second) << i;
    }
}

} // namespace
} // namespace ondrex
