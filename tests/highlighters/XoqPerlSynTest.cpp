#include "highlighters/XoqPerlSyn.h"

#include "highlighters/THighlighterList.h"
#include "highlighters/qvExport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace ondrex {
namespace {

using K = TXoqPerlSyn;

struct Token {
    int Kind;
    int Start;
    std::string Text;
};

// The line as the editor scans it: text must stay alive while tokens are read.
std::vector<Token> Scan(TXoqPerlSyn& syn, const std::string& line) {
    std::vector<Token> tokens;
    syn.ResetRangeState();
    syn.StartLine(line.c_str(), 0);
    while (!syn.AtLineEnd()) {
        if (tokens.size() > line.size()) {
            ADD_FAILURE() << "no end of line: " << line;
            break;
        }
        tokens.push_back({syn.TokenKind(), syn.TokenStart(), syn.TokenText()});
        syn.NextToken();
    }
    return tokens;
}

// Kinds and texts only, for readable expectations.
using Pieces = std::vector<std::pair<int, std::string>>;

Pieces Split(TXoqPerlSyn& syn, const std::string& line) {
    Pieces pieces;
    for (const Token& t : Scan(syn, line))
        pieces.emplace_back(t.Kind, t.Text);
    return pieces;
}

std::vector<std::string> Words(const char* text) {
    std::istringstream in(text);
    std::vector<std::string> words;
    for (std::string w; in >> w;)
        words.push_back(w);
    return words;
}

// Written out independently of the generator, so a slip in either shows up here.
const std::vector<std::string> kKeys = Words(R"(
abs accept alarm atan2 bind binmode bless caller chdir chmod chomp chop chown chr chroot close
closedir connect cos crypt dbmclose dbmopen defined delete die do dump each else elsif endgrent
endhostent endnetent endprotoent endpwent endservent eof eval exec exists exit exp fcntl fileno
flock for foreach fork format formline getc getgrent getgrgid getgrnam gethostbyaddr
gethostbyname gethostent getlogin getnetbyaddr getnetbyname getnetent getpeername getpgrp
getppid getpriority getprotobyname getprotobynumber getprotoent getpwent getpwnam getpwuid
getservbyname getservbyport getservent getsockname getsockopt glob gmtime goto grep hex if
import index int ioctl join keys kill last lc lcfirst length link listen local localtime log
lstat m map mkdir msgctl msgget msgrcv msgsnd my next no oct open opendir ord pack package pipe
pop pos print push q qq quotemeta qw qx rand read readdir readlink recv redo ref rename require
reset return reverse rewinddir rindex rmdir scalar seek seekdir select semctl semget semop send
setgrent sethostent setnetent setpgrp setpriority setprotoent setpwent setservent setsockopt
shift shmctl shmget shmread shmwrite shutdown sin sleep socket socketpair sort splice split
sprintf sqrt srand stat study sub substr symlink syscall sysread system syswrite tell telldir
tie time times tr truncate uc ucfirst umask undef unless unlink unpack unshift untie use utime
values vec wait waitpid wantarray warn while write)");
const std::vector<std::string> kOperators = Words("and cmp eq ge gt le lt ne not or xor");
const std::vector<std::string> kPragmas =
    Words("constant diagnostics integer less locale sigtrap strict subs vars");
const std::vector<std::string> kVariables = Words(R"(
$ACCUMULATOR $ARG $ARGV $BASETIME $CHILD_ERROR $DEBUGGING $EFFECTIVE_GROUP_ID
$EFFECTIVE_USER_ID $EGID $ENV $ERRNO $EUID $EVAL_ERROR $EXECUTABLE_NAME $FORMAT_FORMFEED
$FORMAT_LINE_BREAK_CHARACTERS $FORMAT_LINES_LEFT $FORMAT_LINES_PER_PAGE $FORMAT_NAME
$FORMAT_PAGE_NUMBER $FORMAT_TOP_NAME $GID $INPLACE_EDIT $INPUT_LINE_NUMBER
$INPUT_RECORD_SEPARATOR $LAST_PAREN_MATCH $LIST_SEPARATOR $MATCH $MULTILINE_MATCHING $NR $OFMT
$ORS $OS_ERROR $OUTPUT_AUTOFLUSH $OUTPUT_FIELD_SEPARATOR $PERL_VERSION $PERLDB $PID $POSTMATCH
$PREMATCH $PROCESS_ID $PROGRAM_NAME $REAL_GROUP_ID $REAL_USER_ID $RS $SIG $SUBSCRIPT_SEPARATOR
$SUBSEP $SYSTEM_FD_MAX $UID $WARNING %INC @ARGV @INC)");

struct KindGroup {
    const std::vector<std::string>* Words;
    int Kind;
};
const KindGroup kGroups[] = {{&kKeys, K::tkKey},
                             {&kOperators, K::tkOperator},
                             {&kPragmas, K::tkPragma},
                             {&kVariables, K::tkVariable}};

bool IsKeyword(const std::string& word) {
    for (const KindGroup& g : kGroups)
        if (std::find(g.Words->begin(), g.Words->end(), word) != g.Words->end()) return true;
    return false;
}

int ByteSum(const std::string& word) {
    int sum = 0;
    for (unsigned char c : word)
        sum += c;
    return sum;
}

TEST(PerlKeywords, TableHoldsEachListedWordOnceUnderItsByteSum) {
    const TKeywordTable& table = TXoqPerlSyn::Keywords();
    ASSERT_EQ(table.Size(), 2168);
    EXPECT_EQ(ByteSum("$FORMAT_LINE_BREAK_CHARACTERS"), table.Size() - 1);
    EXPECT_EQ(ByteSum("$NR"), 196);
    std::set<std::string_view> seen;
    for (int h = 0; h < table.Size(); ++h)
        for (std::string_view word : table.KeywordsAt(h)) {
            EXPECT_EQ(ByteSum(std::string(word)), h) << word;
            EXPECT_TRUE(seen.insert(word).second) << word;
            EXPECT_TRUE(IsKeyword(std::string(word))) << word;
        }
    EXPECT_EQ(seen.size(), kKeys.size() + kOperators.size() + kPragmas.size() + kVariables.size());
    EXPECT_EQ(kKeys.size(), 208u);
    EXPECT_EQ(kVariables.size(), 54u);
    EXPECT_EQ(table.KeywordsAt(211), (std::vector<std::string_view>{"ne", "do"}));
}

TEST(PerlKeywords, EveryWordIsClassifiedWithItsKind) {
    TXoqPerlSyn syn;
    for (const KindGroup& g : kGroups)
        for (const std::string& word : *g.Words) {
            EXPECT_EQ(Split(syn, word), (Pieces{{g.Kind, word}})) << word;
            EXPECT_EQ(Split(syn, " " + word + ";"),
                      (Pieces{{K::tkSpace, " "}, {g.Kind, word}, {K::tkSymbol, ";"}}))
                << word;
        }
}

TEST(PerlKeywords, CaseMatters) {
    TXoqPerlSyn syn;
    EXPECT_EQ(Split(syn, "if IF If"), (Pieces{{K::tkKey, "if"},
                                              {K::tkSpace, " "},
                                              {K::tkIdentifier, "IF"},
                                              {K::tkSpace, " "},
                                              {K::tkIdentifier, "If"}}));
    for (const KindGroup& g : kGroups)
        for (std::string word : *g.Words) {
            for (char& c : word)
                c = char(std::islower(c) ? std::toupper(c) : std::tolower(c));
            EXPECT_EQ(Split(syn, word), (Pieces{{K::tkIdentifier, word}})) << word;
        }
}

// A rotation of a word has the word's hash and length, so only the character
// comparison can tell it apart.
TEST(PerlKeywords, OtherNamesInTheSameEntryAreIdentifiers) {
    TXoqPerlSyn syn;
    int checked = 0;
    for (const KindGroup& g : kGroups)
        for (const std::string& word : *g.Words)
            for (std::size_t k = 1; k < word.size(); ++k) {
                const std::string other = word.substr(k) + word.substr(0, k);
                const char c = other[0];
                if (other == word || IsKeyword(other) || !(std::isalpha(c) || c == '_') || c == 'x')
                    continue;
                EXPECT_EQ(Split(syn, other), (Pieces{{K::tkIdentifier, other}})) << word;
                ++checked;
                break;
            }
    EXPECT_GT(checked, 270);
    // Same hash as "do" (211) but three characters long.
    EXPECT_EQ(Split(syn, "AAQ"), (Pieces{{K::tkIdentifier, "AAQ"}}));
    EXPECT_EQ(Split(syn, "$NRs"), (Pieces{{K::tkIdentifier, "$NRs"}}));
    EXPECT_EQ(Split(syn, "$FORMAT_LINE_BREAK_CHARACTERS_"),
              (Pieces{{K::tkIdentifier, "$FORMAT_LINE_BREAK_CHARACTERS_"}}));
}

TEST(PerlVariables, PunctuationVariablesAreTwoCharacters) {
    TXoqPerlSyn syn;
    for (char c : std::string("!\"#$%&'()*+-./0123456789:;<=>?@[\\]_`|~")) {
        const std::string var = std::string("$") + c;
        EXPECT_EQ(Split(syn, var), (Pieces{{K::tkVariable, var}})) << var;
    }
    EXPECT_EQ(Split(syn, "$10"), (Pieces{{K::tkVariable, "$1"}, {K::tkNumber, "0"}}));
    EXPECT_EQ(Split(syn, "$_foo"), (Pieces{{K::tkVariable, "$_"}, {K::tkIdentifier, "foo"}}));
    EXPECT_EQ(Split(syn, "$,"), (Pieces{{K::tkIdentifier, "$"}, {K::tkSymbol, ","}}));
    EXPECT_EQ(Split(syn, "${x}"), (Pieces{{K::tkIdentifier, "$"},
                                          {K::tkSymbol, "{"},
                                          {K::tkIdentifier, "x"},
                                          {K::tkSymbol, "}"}}));
}

TEST(PerlVariables, CaretVariables) {
    TXoqPerlSyn syn;
    for (char c : std::string("ADFILPTWX")) {
        const std::string var = std::string("$^") + c;
        EXPECT_EQ(Split(syn, var + "1"), (Pieces{{K::tkVariable, var}, {K::tkNumber, "1"}}));
    }
    EXPECT_EQ(Split(syn, "$^E"),
              (Pieces{{K::tkIdentifier, "$"}, {K::tkSymbol, "^"}, {K::tkIdentifier, "E"}}));
    EXPECT_EQ(Split(syn, "$^"), (Pieces{{K::tkVariable, "$^"}}));
    EXPECT_EQ(Split(syn, "$^\n"), (Pieces{{K::tkVariable, "$^"}, {K::tkSpace, "\n"}}));
}

TEST(PerlVariables, SigilsBeforeOrdinaryNamesAreIdentifiers) {
    TXoqPerlSyn syn;
    EXPECT_EQ(Split(syn, "$foo @bar %baz"), (Pieces{{K::tkIdentifier, "$foo"},
                                                    {K::tkSpace, " "},
                                                    {K::tkIdentifier, "@bar"},
                                                    {K::tkSpace, " "},
                                                    {K::tkIdentifier, "%baz"}}));
    // Sigils inside a name belong to it.
    EXPECT_EQ(Split(syn, "a$b@c%d"), (Pieces{{K::tkIdentifier, "a$b@c%d"}}));
    EXPECT_EQ(Split(syn, "@"), (Pieces{{K::tkIdentifier, "@"}}));
}

TEST(PerlVariables, PercentAndXAloneAreOperators) {
    TXoqPerlSyn syn;
    for (std::string op : {"%", "x"}) {
        EXPECT_EQ(Split(syn, op + " "), (Pieces{{K::tkIdentifier, op}, {K::tkSpace, " "}}));
        EXPECT_EQ(Split(syn, op + "="), (Pieces{{K::tkSymbol, op + "="}}));
        EXPECT_EQ(Split(syn, op), (Pieces{{K::tkSymbol, op}}));
        EXPECT_EQ(Split(syn, op + "\r\n"), (Pieces{{K::tkSymbol, op}, {K::tkSpace, "\r\n"}}));
    }
    EXPECT_EQ(Split(syn, "x2"), (Pieces{{K::tkIdentifier, "x2"}}));
}

TEST(PerlSymbols, OperatorsTakeTheirLongestListedForm) {
    TXoqPerlSyn syn;
    for (const char* op :
         {"!",  "!=", "!~", "&",  "&&", "&&=", "&=",  "*",  "**", "**=", "*=",  "+",   "++",  "+=",
          "-",  "--", "-=", "->", "/",  "/=",  ":",   "::", "<",  "<<",  "<<=", "<=",  "<=>", "=",
          "==", "=>", "=~", ">",  ">=", ">>",  ">>=", "^",  "^=", "|",   "|=",  "||",  "||=", "(",
          ")",  "[",  "]",  "{",  "}",  ",",   ";",   "?",  "\\", "~",   "..",  "...", ".="})
        EXPECT_EQ(Split(syn, op), (Pieces{{K::tkSymbol, op}})) << op;
    EXPECT_EQ(Split(syn, "=<"), (Pieces{{K::tkSymbol, "="}, {K::tkSymbol, "<"}}));
    EXPECT_EQ(Split(syn, ">=>"), (Pieces{{K::tkSymbol, ">="}, {K::tkSymbol, ">"}}));
    EXPECT_EQ(Split(syn, "...."), (Pieces{{K::tkSymbol, "..."}, {K::tkNumber, "."}}));
    EXPECT_EQ(Split(syn, ".y"), (Pieces{{K::tkSymbol, "."}, {K::tkIdentifier, "y"}}));
    EXPECT_EQ(Split(syn, "$a lt $b"), (Pieces{{K::tkIdentifier, "$a"},
                                              {K::tkSpace, " "},
                                              {K::tkOperator, "lt"},
                                              {K::tkSpace, " "},
                                              {K::tkIdentifier, "$b"}}));
}

TEST(PerlSymbols, BackquoteAndHighBytesAreIllegalCharacters) {
    TXoqPerlSyn syn;
    EXPECT_EQ(Split(syn, "`ls`"),
              (Pieces{{K::tkUnknown, "`"}, {K::tkIdentifier, "ls"}, {K::tkUnknown, "`"}}));
    EXPECT_EQ(Split(syn, "\x7f\xc3\xa9"),
              (Pieces{{K::tkUnknown, "\x7f"}, {K::tkUnknown, "\xc3"}, {K::tkUnknown, "\xa9"}}));
    syn.StartLine("`", 0);
    EXPECT_EQ(syn.TokenAttribute(), syn.InvalidAttri);
}

TEST(PerlNumbers, DigitsDotsAndExponents) {
    TXoqPerlSyn syn;
    EXPECT_EQ(Split(syn, "1e-5"),
              (Pieces{{K::tkNumber, "1e"}, {K::tkSymbol, "-"}, {K::tkNumber, "5"}}));
    EXPECT_EQ(Split(syn, "1-e"), (Pieces{{K::tkNumber, "1-e"}}));
    EXPECT_EQ(Split(syn, "1.5E-3"),
              (Pieces{{K::tkNumber, "1.5E"}, {K::tkSymbol, "-"}, {K::tkNumber, "3"}}));
    EXPECT_EQ(Split(syn, "0x1F_ab"), (Pieces{{K::tkNumber, "0x1F_ab"}}));
    EXPECT_EQ(Split(syn, "1..9"),
              (Pieces{{K::tkNumber, "1"}, {K::tkSymbol, ".."}, {K::tkNumber, "9"}}));
    EXPECT_EQ(Split(syn, "12g"), (Pieces{{K::tkNumber, "12"}, {K::tkIdentifier, "g"}}));
    EXPECT_EQ(Split(syn, ". "), (Pieces{{K::tkNumber, "."}, {K::tkSpace, " "}}));
    EXPECT_EQ(Split(syn, ".5"), (Pieces{{K::tkNumber, ".5"}}));
    EXPECT_EQ(Split(syn, "."), (Pieces{{K::tkNumber, "."}}));
}

TEST(PerlStrings, DoubleQuotedHonoursEscapedQuotesOnly) {
    TXoqPerlSyn syn;
    EXPECT_EQ(Split(syn, R"("a\"b" y)"),
              (Pieces{{K::tkString, R"("a\"b")"}, {K::tkSpace, " "}, {K::tkIdentifier, "y"}}));
    // A doubled backslash does not protect the quote after it either.
    EXPECT_EQ(Split(syn, R"("a\\" b")"), (Pieces{{K::tkString, R"("a\\" b")"}}));
    EXPECT_EQ(Split(syn, R"(""y)"), (Pieces{{K::tkString, R"("")"}, {K::tkIdentifier, "y"}}));
    EXPECT_EQ(Split(syn, R"("""a"b)"), (Pieces{{K::tkString, R"("""a")"}, {K::tkIdentifier, "b"}}));
    EXPECT_EQ(Split(syn, R"("""")"), (Pieces{{K::tkString, R"("""")"}}));
    EXPECT_EQ(Split(syn, R"(""")"), (Pieces{{K::tkString, R"(""")"}}));
    EXPECT_EQ(Split(syn, R"("open \")"), (Pieces{{K::tkString, R"("open \")"}}));
}

TEST(PerlStrings, SingleQuotedIgnoresBackslashes) {
    TXoqPerlSyn syn;
    EXPECT_EQ(Split(syn, R"('a\'b')"),
              (Pieces{{K::tkString, R"('a\')"}, {K::tkIdentifier, "b"}, {K::tkString, "'"}}));
    EXPECT_EQ(Split(syn, "'open"), (Pieces{{K::tkString, "'open"}}));
    EXPECT_EQ(Split(syn, "''"), (Pieces{{K::tkString, "''"}}));
}

TEST(PerlStrings, UnterminatedStringsTakeTheLineBreakWithThem) {
    TXoqPerlSyn syn;
    EXPECT_EQ(Split(syn, "'a\nb"), (Pieces{{K::tkString, "'a\n"}, {K::tkIdentifier, "b"}}));
    EXPECT_EQ(Split(syn, "\"a\rb"), (Pieces{{K::tkString, "\"a\r"}, {K::tkIdentifier, "b"}}));
}

TEST(PerlComments, RunToTheLineBreak) {
    TXoqPerlSyn syn;
    EXPECT_EQ(Split(syn, "print; # done \"'"), (Pieces{{K::tkKey, "print"},
                                                       {K::tkSymbol, ";"},
                                                       {K::tkSpace, " "},
                                                       {K::tkComment, "# done \"'"}}));
    EXPECT_EQ(Split(syn, "#a\r\nb"),
              (Pieces{{K::tkComment, "#a"}, {K::tkSpace, "\r\n"}, {K::tkIdentifier, "b"}}));
    EXPECT_EQ(Split(syn, "#"), (Pieces{{K::tkComment, "#"}}));
}

TEST(PerlSpace, ControlCharactersAndLineBreaks) {
    TXoqPerlSyn syn;
    EXPECT_EQ(Split(syn, " \t\x01\x0b\x0c\x1f y"),
              (Pieces{{K::tkSpace, " \t\x01\x0b\x0c\x1f "}, {K::tkIdentifier, "y"}}));
    EXPECT_EQ(Split(syn, "\n\n\r\r\n "), (Pieces{{K::tkSpace, "\n"},
                                                 {K::tkSpace, "\n"},
                                                 {K::tkSpace, "\r"},
                                                 {K::tkSpace, "\r\n"},
                                                 {K::tkSpace, " "}}));
}

TEST(PerlPragmas, UseLine) {
    TXoqPerlSyn syn;
    EXPECT_EQ(Split(syn, "use strict 'vars';"), (Pieces{{K::tkKey, "use"},
                                                        {K::tkSpace, " "},
                                                        {K::tkPragma, "strict"},
                                                        {K::tkSpace, " "},
                                                        {K::tkString, "'vars'"},
                                                        {K::tkSymbol, ";"}}));
}

TEST(PerlLine, EmptyLineEndsAtOnceAndTheEndRepeats) {
    TXoqPerlSyn syn;
    syn.StartLine("", 0);
    EXPECT_TRUE(syn.AtLineEnd());
    EXPECT_EQ(syn.TokenText(), "");
    EXPECT_EQ(syn.TokenKind(), K::tkNull);
    EXPECT_EQ(syn.TokenAttribute(), nullptr);
    syn.StartLine("x;", 0);
    syn.NextToken();
    syn.NextToken();
    for (int i = 0; i < 3; ++i) {
        EXPECT_TRUE(syn.AtLineEnd());
        EXPECT_EQ(syn.TokenStart(), 2);
        syn.NextToken();
    }
}

TEST(PerlLine, NulEndsTheLine) {
    TXoqPerlSyn syn;
    for (const char* head : {"ab", "\"ab", "'ab", "# ab", "$", "%", "$^", "1.", "  "}) {
        std::string line = std::string(head) + std::string("\0\"zz\"", 5);
        const auto tokens = Scan(syn, line);
        ASSERT_FALSE(tokens.empty()) << head;
        EXPECT_EQ(tokens.back().Start + int(tokens.back().Text.size()), int(std::strlen(head)))
            << head;
    }
}

TEST(PerlLine, RangeStateStaysZero) {
    TXoqPerlSyn syn;
    syn.ResetRangeState();
    EXPECT_EQ(syn.RangeState(), 0u);
    Scan(syn, "=pod \"open 'open");
    EXPECT_EQ(syn.RangeState(), 0u);
    syn.SetRangeState(0x1234);
    EXPECT_EQ(syn.RangeState(), 0x34u);
}

TEST(PerlHighlighter, Attributes) {
    TXoqPerlSyn syn;
    EXPECT_EQ(syn.LanguageName(), "Perl");
    EXPECT_EQ(syn.DefaultFilter(), "Perl files (*.pl,*.pm,*.cgi)|*.pl;*.pm;*.cgi");
    EXPECT_EQ(syn.DefaultAttribute(0), syn.SpaceAttri);
    EXPECT_EQ(syn.DefaultAttribute(1), syn.CommentAttri);
    EXPECT_EQ(syn.DefaultAttribute(2), syn.KeyAttri);
    EXPECT_EQ(syn.DefaultAttribute(3), nullptr);
    EXPECT_EQ(syn.CommentAttri->Style(), fsItalic);
    EXPECT_EQ(syn.KeyAttri->Style(), fsBold);
    EXPECT_EQ(syn.PragmaAttri->Style(), fsBold);
    EXPECT_EQ(syn.VariableAttri->Style(), fsBold);
    EXPECT_EQ(syn.SpaceAttri->Foreground(), syn.SpaceAttri->Background());
    EXPECT_EQ(syn.IdentifierAttri->Style(), 0);
    EXPECT_EQ(syn.Capabilities(), THighlighterCapabilities(hcUserSettings | hcExportable));
}

TEST(PerlHighlighter, ChosenForPerlFilesAndByName) {
    const THighlighterList& list = THighlighterList::Instance();
    for (const char* file : {"a.pl", "lib/B.PM", "x.cgi"}) {
        ASSERT_NE(list.FindForFile(file), nullptr) << file;
        EXPECT_EQ(list.FindForFile(file)->ClassName, "TXoqPerlSyn") << file;
    }
    ASSERT_NE(list.FindByLanguage("perl"), nullptr);
    EXPECT_EQ(list.FindByLanguage("perl")->Create()->LanguageName(), "Perl");
}

TEST(PerlHighlighter, WordCharsIncludeSigils) {
    TXoqPerlSyn syn;
    const auto chars = syn.WordChars();
    std::string in;
    for (int c = 0; c < 256; ++c)
        if (chars[c]) in += char(c);
    EXPECT_EQ(in, "$%0123456789@ABCDEFGHIJKLMNOPQRSTUVWXYZ_abcdefghijklmnopqrstuvwxyz");
}

TEST(PerlHighlighter, AttributesAreListedByName) {
    TXoqPerlSyn syn;
    std::vector<std::string> names;
    for (int i = 0; i < syn.AttributeCount(); ++i)
        names.push_back(syn.AttributeAt(i)->Name());
    EXPECT_EQ(names, (std::vector<std::string>{"Comment", "Identifier", "Illegal char", "Number",
                                               "Operator", "Pragma", "Reserved word", "Space",
                                               "String", "Symbol", "Variable"}));
}

TEST(PerlHighlighter, EachKindPaintsWithItsAttribute) {
    TXoqPerlSyn syn;
    const std::pair<const char*, TqvHighLightAttributes*> cases[] = {
        {"#", syn.CommentAttri}, {"a", syn.IdentifierAttri}, {"if", syn.KeyAttri},
        {"1", syn.NumberAttri},  {"eq", syn.OperatorAttri},  {"vars", syn.PragmaAttri},
        {" ", syn.SpaceAttri},   {"''", syn.StringAttri},    {";", syn.SymbolAttri},
        {"`", syn.InvalidAttri}, {"$0", syn.VariableAttri}};
    for (const auto& [text, attribute] : cases) {
        syn.StartLine(text, 0);
        EXPECT_EQ(syn.TokenAttribute(), attribute) << text;
    }
}

struct RecordingSink : TqvExport {
    struct Written {
        std::string Text;
        const TqvHighLightAttributes* Attribute;
        bool Whitespace;
        bool Second;
    };
    std::vector<Written> Tokens;
    void WriteToken(std::string_view text, const TqvHighLightAttributes* attribute, bool whitespace,
                    bool second) override {
        Tokens.push_back({std::string(text), attribute, whitespace, second});
    }
};

TEST(PerlHighlighter, ExportFlagsAndTheBackquoteAsSymbol) {
    TXoqPerlSyn syn;
    RecordingSink sink;
    syn.SetExportSink(&sink);
    syn.StartExportLine("`x` #c");
    for (int count = 0; !syn.AtLineEnd() && count < 10; ++count)
        syn.ExportNextToken();
    ASSERT_EQ(sink.Tokens.size(), 6u);
    EXPECT_EQ(sink.Tokens[0].Attribute, syn.SymbolAttri);
    EXPECT_TRUE(sink.Tokens[0].Second);
    EXPECT_EQ(sink.Tokens[1].Attribute, syn.IdentifierAttri);
    EXPECT_FALSE(sink.Tokens[1].Second || sink.Tokens[1].Whitespace);
    EXPECT_TRUE(sink.Tokens[3].Whitespace);
    EXPECT_FALSE(sink.Tokens[3].Second);
    EXPECT_EQ(sink.Tokens[4].Text, "#c");
    EXPECT_TRUE(sink.Tokens[4].Second);
    EXPECT_EQ(sink.Tokens[5].Text, "");
    EXPECT_EQ(sink.Tokens[5].Attribute, nullptr);
}

// Real scripts: every line is covered by contiguous tokens, and the state stays 0.
TEST(PerlHighlighter, CorpusLinesAreCoveredContiguously) {
    const std::filesystem::path corpus = ONDREX_CORPUS_DIR;
    if (!std::filesystem::is_directory(corpus)) GTEST_SKIP() << "no corpus at " << corpus;
    TXoqPerlSyn syn;
    int files = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(corpus)) {
        const std::string ext = entry.path().extension().string();
        if (ext != ".pl" && ext != ".pm" && ext != ".cgi") continue;
        std::ifstream in(entry.path(), std::ios::binary);
        std::string line;
        ++files;
        for (int n = 0; std::getline(in, line); ++n) {
            const std::size_t end = std::min(line.size(), std::strlen(line.c_str()));
            int expected = 0;
            for (const Token& t : Scan(syn, line)) {
                ASSERT_EQ(t.Start, expected) << entry.path() << ":" << n + 1;
                ASSERT_FALSE(t.Text.empty()) << entry.path() << ":" << n + 1;
                expected += int(t.Text.size());
            }
            ASSERT_EQ(std::size_t(expected), end) << entry.path() << ":" << n + 1;
            ASSERT_EQ(syn.RangeState(), 0u);
        }
    }
    EXPECT_GT(files, 0);
}

} // namespace
} // namespace ondrex
