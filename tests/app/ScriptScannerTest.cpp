#include "app/ScriptScanner.h"
#include "editor/TqvEditList.h"
#include "platform/CodePage.h"
#include "platform/LineBreaks.h"
#include "platform/TextFile.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <random>
#include <string>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace ondrex {
namespace {

using namespace std::string_literals;

struct Row {
    std::string caption;
    int image;
    std::string name;
    int line;
    std::string text;
    bool operator==(const Row&) const = default;
};

void PrintTo(const Row& r, std::ostream* os) {
    *os << "{" << testing::PrintToString(r.caption) << ", " << r.image << ", "
        << testing::PrintToString(r.name) << ", " << r.line << ", "
        << testing::PrintToString(r.text) << "}";
}

std::vector<Row> rowsOf(const TScanResults& r) {
    std::vector<Row> out;
    for (const auto& x : r.rows)
        out.push_back({std::string(x.caption), x.image, x.name, x.line, x.text});
    return out;
}

TScanResults scan(const std::string& block, TScanOptions o = {}) {
    TScriptScanner s;
    s.options = o;
    TScanResults r;
    s.ScanBlock(block, r);
    return r;
}

TScanOptions all() {
    return {true, true, true};
}

TEST(ScriptScanner, EndFunctionAndEndSubLinesGiveNoEntry) {
    auto r = scan("End Function\r\nend sub\r\nx = 1 : End Sub\r\n  END   FUNCTION x\n", all());
    // The last line has two blanks inside: not "END FUNCTION", so its FUNCTION hit counts.
    ASSERT_EQ(r.rows.size(), 1u);
    EXPECT_EQ(rowsOf(r)[0], (Row{"Function", 2, "END    x", 4, "END   FUNCTION x"}));
    EXPECT_EQ(r.counters.functionCount, 1);
    EXPECT_EQ(r.counters.subCount, 0);
    EXPECT_EQ(r.counters.statementCount, 0);
}

TEST(ScriptScanner, NamesKeepWhatIsLeftOfTheLine) {
    auto r = scan("Function Foo()\nSub Foo()\nPublic Sub Bar\nFunction Foo(a)");
    EXPECT_EQ(rowsOf(r), (std::vector<Row>{{"Function", 2, " Foo()", 1, "Function Foo()"},
                                           {"Sub", 1, "Foo()", 2, "Sub Foo()"},
                                           {"Sub", 1, "Public Bar", 3, "Public Sub Bar"},
                                           {"Function", 2, " Foo(a)", 4, "Function Foo(a)"}}));
    EXPECT_EQ(r.counters.functionCount, 2);
    EXPECT_EQ(r.counters.subCount, 2);
}

TEST(ScriptScanner, UnlistedStatementsAreCountedAllTheSame) {
    auto r = scan("  Dim a, b\n");
    EXPECT_TRUE(r.rows.empty());
    EXPECT_EQ(r.counters.statementCount, 1);
    EXPECT_FALSE(r.anyFound);

    r = scan("  Dim a, b\n", {true, false, true});
    EXPECT_EQ(rowsOf(r), (std::vector<Row>{{"Dim", 0, "a, b", 1, "Dim a, b"}}));
}

TEST(ScriptScanner, ElseIfGivesIfElseIfAndElseInThisOrder) {
    auto r = scan("ElseIf x Then", all());
    EXPECT_EQ(rowsOf(r), (std::vector<Row>{{"If ", 3, "Elsex Then", 1, "ElseIf x Then"},
                                           {"ElseIf ", 3, "x Then", 1, "ElseIf x Then"},
                                           {"Else ", 3, "f x Then", 1, "ElseIf x Then"}}));
    EXPECT_EQ(r.counters.statementCount, 3);
    EXPECT_EQ(scan("ElseIf x Then").counters.statementCount, 3);
    EXPECT_TRUE(scan("ElseIf x Then").rows.empty());
}

TEST(ScriptScanner, IfThenCallGivesTwoRowsOnTheSameLine) {
    auto r = scan("x\nIf x Then Call Foo", all());
    EXPECT_EQ(rowsOf(r),
              (std::vector<Row>{{"If ", 3, "x Then Call Foo", 2, "If x Then Call Foo"},
                                {"Call ", 2, "If x Then Foo", 2, "If x Then Call Foo"}}));
    r = scan("x\nIf x Then Call Foo", {false, true, false});
    EXPECT_EQ(r.rows.size(), 1u);
    EXPECT_EQ(r.counters.statementCount, 2);
}

TEST(ScriptScanner, AnyApostropheClearsTheLine) {
    auto r = scan("Function x = 1 ' set x to one\ns = \"don't\" : Call Foo\nSub a 'b'\n", all());
    EXPECT_TRUE(r.rows.empty());
    EXPECT_EQ(r.counters.functionCount + r.counters.subCount + r.counters.statementCount, 0);
}

TEST(ScriptScanner, JavaScriptFunctions) {
    auto r = scan("function foo(a) {\nvar f = function(a) { return a; };\n");
    EXPECT_EQ(rowsOf(r), (std::vector<Row>{{"Function", 2, " foo(a) {", 1, "function foo(a) {"}}));
}

TEST(ScriptScanner, ExitFunctionNeedsATrailingBlank) {
    EXPECT_TRUE(scan("  Exit Function").rows.empty());
    auto r = scan("  Exit Function ");
    EXPECT_EQ(rowsOf(r), (std::vector<Row>{{"Function", 2, "Exit  ", 1, "Exit Function "}}));
}

TEST(ScriptScanner, SubstringTestsIgnoreWordBoundaries) {
    auto r = scan("MyFunction x\nSubmit y\nClub Sub x\nSUBMIT \n");
    EXPECT_EQ(rowsOf(r), (std::vector<Row>{{"Function", 2, "My x", 1, "MyFunction x"},
                                           {"Sub", 1, "Club x", 3, "Club Sub x"}}));
}

TEST(ScriptScanner, TabsStayUntilAHitAndNeverReachNamesOrTexts) {
    auto r = scan("\tFunction\tFoo ()\n\t\tDim\tx\n", {true, false, true});
    // "FUNCTION " needs a blank after it: the first line is no hit, so its tabs stay.
    // The second: "DIM\t" is no hit either.
    EXPECT_TRUE(r.rows.empty());
    r = scan("\tFunction Foo()\n \t Call  x\n  \tIf a Then\n", all());
    EXPECT_EQ(rowsOf(r),
              (std::vector<Row>{{"Function", 2, " Foo()", 1, "Function Foo()"},
                                // Call: leading blanks first, then tabs: a blank stays in front.
                                {"Call ", 2, "  x", 2, " Call  x"},
                                // If: tabs first, then leading blanks.
                                {"If ", 3, "a Then", 3, "If a Then"}}));
    for (const auto& row : r.rows) {
        EXPECT_EQ(row.name.find('\t'), std::string::npos);
        EXPECT_EQ(row.text.find('\t'), std::string::npos);
    }
}

TEST(ScriptScanner, LaterTestsSeeTheNormalisedLine) {
    // Removing the tab after the first hit makes "SUB " appear.
    auto r = scan("Function x Sub\t y");
    EXPECT_EQ(rowsOf(r), (std::vector<Row>{{"Function", 2, " x Sub y", 1, "Function x Sub y"},
                                           {"Sub", 1, "Function x y", 1, "Function x Sub y"}}));
    // An unlisted hit does not normalise: "CALL\t" stays no hit.
    r = scan("Dim x Call\t y");
    EXPECT_TRUE(r.rows.empty());
    EXPECT_EQ(r.counters.statementCount, 1);
}

TEST(ScriptScanner, DeletingPastTheEndStopsAtTheEnd) {
    auto r = scan("x Else", all());
    EXPECT_EQ(rowsOf(r), (std::vector<Row>{{"Else ", 3, "x ", 1, "x Else"}}));
}

TEST(ScriptScanner, AnEmptyFileGivesNoRowsAndZeroCounters) {
    auto r = scan("");
    EXPECT_TRUE(r.rows.empty());
    EXPECT_EQ(r.info,
              (std::vector<TInfoRow>{
                  {"Functions found", "0"}, {"Subs found", "0"}, {"Dim statements found", "0"}}));
    EXPECT_FALSE(r.resultsEnabled);
}

TEST(ScriptScanner, CounterRowsAreWrittenAfterTheScan) {
    auto r = scan("Function a \nSub b \nDim c \nIf d \n");
    EXPECT_EQ(r.info,
              (std::vector<TInfoRow>{
                  {"Functions found", "1"}, {"Subs found", "1"}, {"Dim statements found", "2"}}));
    EXPECT_TRUE(r.anyFound);
    EXPECT_TRUE(r.resultsEnabled);
}

TEST(ScriptScanner, AResultListOnceEnabledStaysEnabled) {
    TScriptScanner s;
    TScanResults r;
    s.ScanBlock("Sub a()\n", r);
    EXPECT_TRUE(r.resultsEnabled);
    s.ScanBlock("nothing\n", r);
    EXPECT_FALSE(r.anyFound);
    EXPECT_TRUE(r.resultsEnabled);
    EXPECT_TRUE(r.rows.empty());
}

TEST(ScriptScanner, CtrlZAtTheStartOfALineEndsTheScan) {
    auto r = scan("Sub a()\r\n\x1aSub b()\r\nSub c()\r\n");
    EXPECT_EQ(r.rows.size(), 1u);
    EXPECT_EQ(r.linesRead, 1);
    // Inside a line it is an ordinary byte.
    r = scan("Sub a()\x1a\r\nx\x1aSub b()\r\n");
    EXPECT_EQ(r.rows.size(), 2u);
    EXPECT_EQ(r.rows[1].line, 2);
    EXPECT_EQ(scan("\x1aSub a()").linesRead, 0);
}

TEST(ScriptScanner, LineNumbersCountEveryLineAsTheLineListSplitsThem) {
    auto r = scan("\r\n' Sub x\r\rEnd Sub\nSub a \n\n\rSub b \r\n");
    ASSERT_EQ(r.rows.size(), 2u);
    EXPECT_EQ(r.rows[0].line, 5);
    EXPECT_EQ(r.rows[1].line, 8);
    EXPECT_EQ(r.linesRead, 8);
}

TEST(ScriptScanner, NulBytesDoNotEndALine) {
    auto r = scan("x\0 Sub a\r\nSub b"s);
    ASSERT_EQ(r.rows.size(), 2u);
    EXPECT_EQ(r.rows[0].name, "x\0 a"s);
    EXPECT_EQ(r.rows[1].line, 2);
}

TEST(ScriptScanner, TextRoutines) {
    EXPECT_EQ(TScriptScanner::TrimLeadingSpaces("  \t a "), "\t a ");
    EXPECT_EQ(TScriptScanner::TrimLeadingSpaces("   "), "");
    EXPECT_EQ(TScriptScanner::RemoveTabs("\ta\t\tb\t"), "ab");
}

TEST(ScriptScanner, ThePumpRunsOncePerLineRead) {
    struct Counter {
        int calls = 0;
        void Pump() { ++calls; }
    } counter;
    TScriptScanner s;
    s.processMessages = TMessagePump::bind<&Counter::Pump>(&counter);
    TScanResults r;
    s.ScanBlock("a\nb\r\nc\x1a\n\x1a"
                "d",
                r);
    EXPECT_EQ(counter.calls, 3);
}

TEST(ScriptScanner, AScanStartedFromThePumpTakesOverTheLists) {
    struct Nested {
        TScriptScanner* scanner = nullptr;
        TScanResults* results = nullptr;
        int calls = 0;
        void Pump() {
            if (++calls == 2) scanner->ScanBlock("Function inner \n", *results);
        }
    } nested;
    TScriptScanner s;
    TScanResults r;
    nested.scanner = &s;
    nested.results = &r;
    s.processMessages = TMessagePump::bind<&Nested::Pump>(&nested);
    s.ScanBlock("Sub outer1 \nSub outer2 \nSub outer3 \n", r);
    // The outer scan stopped after the nested one; the lists hold the nested scan only.
    ASSERT_EQ(r.rows.size(), 1u);
    EXPECT_EQ(r.rows[0].caption, "Function");
    EXPECT_EQ(r.counters.subCount, 0);
    EXPECT_EQ(r.counters.functionCount, 1);
}

// ---- Scan: the whole Button1Click -------------------------------------------------------

std::string tempFile(const std::string& name, const std::string& bytes) {
    std::string path = ::testing::TempDir() + std::to_string(getpid()) + "_" +
                       name; // unique per process: ctest runs cases in parallel
    std::ofstream f(path, std::ios::binary | std::ios::trunc);
    f << bytes;
    return path;
}

TEST(ScriptScanner, ScanLoadsTheEditorLinesAndScansTheSameBytes) {
    std::string path = tempFile("scanner_scan.asp", "<%\r\nSub a()\r\nEnd Sub\r\n\x1aSub b()\r\n");
    TScriptScanner s;
    TqvEditList lines;
    TScanResults r;
    s.Scan(path, lines, r);
    EXPECT_EQ(lines.Count(), 4); // the editor shows the whole file
    EXPECT_EQ(lines.Get(3), "\x1aSub b()");
    EXPECT_EQ(r.rows.size(), 1u); // the scanner stops at the Ctrl+Z
    std::remove(path.c_str());
}

TEST(ScriptScanner, AnEmptyFileNameDoesNothing) {
    TScriptScanner s;
    TqvEditList lines;
    lines.Add("kept");
    TScanResults r;
    r.info = {{"x", "y"}};
    s.Scan("", lines, r);
    EXPECT_EQ(lines.Count(), 1);
    EXPECT_EQ(lines.Get(0), "kept");
    EXPECT_EQ(r.info.size(), 1u);
}

TEST(ScriptScanner, AFailedLoadKeepsThePreviousResultsAndEmptiesTheEditor) {
    std::string path = tempFile("scanner_prev.asp", "Sub a()\nFunction b()\n");
    TScriptScanner s;
    TqvEditList lines;
    TScanResults r;
    s.Scan(path, lines, r);
    ASSERT_EQ(r.rows.size(), 2u);
    auto before = rowsOf(r);
    auto info = r.info;
    auto generation = r.generation;
    EXPECT_THROW(s.Scan("/no/such/file.asp", lines, r), EFileError);
    EXPECT_EQ(rowsOf(r), before);
    EXPECT_EQ(r.info, info);
    EXPECT_EQ(r.counters.subCount, 1);
    EXPECT_EQ(r.generation, generation);
    EXPECT_EQ(lines.Count(), 1);
    EXPECT_EQ(lines.Get(0), "");
    try {
        s.Scan("/tmp", lines, r);
    } catch (const EFileError& e) {
        EXPECT_STREQ(e.what(), "/tmp: is a directory");
    }
    std::remove(path.c_str());
}

// ---- The pre-test is exact --------------------------------------------------------------

// The line-processing rules written out as literally as possible, with one upper-cased
// copy per test, as the oracle for the scanner's faster version.
void referenceLine(const std::string& raw, int lineNumber, const TScanOptions& o,
                   std::vector<Row>& rows, TScanCounters& c) {
    auto upper = [](std::string s) {
        for (char& ch : s)
            if (ch >= 'a' && ch <= 'z') ch = char(ch - 32);
        return s;
    };
    auto pos = [](const std::string& x, const std::string& y) -> std::size_t {
        std::size_t p = y.find(x);
        return p == std::string::npos ? 0 : p + 1;
    };
    std::string line = TScriptScanner::TrimLeadingSpaces(raw);
    if (pos("END FUNCTION", upper(line))) line = "";
    if (pos("END SUB", upper(line))) line = "";
    if (pos("'", line)) line = "";
    struct T {
        const char* s;
        std::size_t n;
        const char* cap;
        int img;
        int counter;
        int listed;
    } tests[] = {{"FUNCTION ", 8, "Function", 2, 0, 0}, {"SUB ", 4, "Sub", 1, 1, 0},
                 {"DIM ", 4, "Dim", 0, 2, 1},           {"IF ", 3, "If ", 3, 2, 2},
                 {"ELSEIF", 7, "ElseIf ", 3, 2, 2},     {"ELSE", 5, "Else ", 3, 2, 2},
                 {"CALL ", 5, "Call ", 2, 2, 3}};
    for (int t = 0; t < 7; ++t) {
        std::size_t p = pos(tests[t].s, upper(line));
        if (!p) continue;
        (tests[t].counter == 0   ? c.functionCount
         : tests[t].counter == 1 ? c.subCount
                                 : c.statementCount)++;
        bool listed = tests[t].listed == 0 || (tests[t].listed == 1 && o.dim) ||
                      (tests[t].listed == 2 && o.ifs) || (tests[t].listed == 3 && o.calls);
        if (!listed) continue;
        std::string name = line;
        name.erase(p - 1, tests[t].n);
        name = TScriptScanner::RemoveTabs(name);
        line = t == 6 ? TScriptScanner::RemoveTabs(TScriptScanner::TrimLeadingSpaces(line))
                      : TScriptScanner::TrimLeadingSpaces(TScriptScanner::RemoveTabs(line));
        rows.push_back({tests[t].cap, tests[t].img, name, lineNumber, line});
    }
}

TEST(ScriptScanner, MatchesTheLiteralAlgorithmOnRandomLines) {
    const char* pieces[] = {"Function", "function", "FUNCTION", "Sub",  "sUB",    "Dim",    "dim",
                            "If",       "if",       "Else",     "ELSE", "ElseIf", "elseif", "Call",
                            "call",     "End",      "end",      " ",    " ",      "  ",     "\t",
                            "'",        "x",        "L",        "E",    "(",      "{",      "}",
                            "F",        "N",        "\xC3\xA9", "\0"};
    std::mt19937 rng(99);
    for (int round = 0; round < 20000; ++round) {
        std::string line;
        int n = int(rng() % 16);
        for (int i = 0; i < n; ++i) {
            const char* p = pieces[rng() % std::size(pieces)];
            line += *p ? std::string(p) : std::string(1, '\0');
        }
        TScanOptions o{bool(rng() & 1), bool(rng() & 2), bool(rng() & 4)};
        std::vector<Row> want;
        TScanCounters wc;
        referenceLine(line, 7, o, want, wc);
        TScriptScanner s;
        s.options = o;
        TScanResults got;
        s.ProcessLine(line, 7, got);
        ASSERT_EQ(rowsOf(got), want) << testing::PrintToString(line);
        ASSERT_EQ(got.counters.functionCount, wc.functionCount);
        ASSERT_EQ(got.counters.subCount, wc.subCount);
        ASSERT_EQ(got.counters.statementCount, wc.statementCount);
        // Inside a block, with bytes after it, the line is tested many bytes at a time.
        std::vector<Row> inBlock = want;
        for (Row& row : inBlock)
            row.line = 1;
        ASSERT_EQ(rowsOf(scan(line + "\n" + std::string(40, 'x'), o)), inBlock)
            << testing::PrintToString(line);
        bool anyHit = wc.functionCount + wc.subCount + wc.statementCount > 0;
        if (anyHit) {
            ASSERT_TRUE(TScriptScanner::MayHit(line)) << testing::PrintToString(line);
        }
    }
}

TEST(ScriptScanner, ScanLineNumbersNameTheEditorsLines) {
    const char* pieces[] = {"Sub a ", "x", "\r", "\n", "\r\n", "\x1a", "\0", " "};
    std::mt19937 rng(5);
    for (int round = 0; round < 2000; ++round) {
        std::string block;
        int n = int(rng() % 20);
        for (int i = 0; i < n; ++i) {
            const char* p = pieces[rng() % std::size(pieces)];
            block += *p ? std::string(p) : std::string(1, '\0');
        }
        TqvEditList lines;
        lines.LoadFromBlock(std::string(block));
        auto r = scan(block);
        for (const auto& row : r.rows) {
            ASSERT_GE(row.line, 1);
            ASSERT_LE(row.line, lines.Count());
            ASSERT_NE(lines.Get(row.line - 1).find("Sub a "), std::string::npos);
        }
        ASSERT_LE(r.linesRead, int(CountLines(block)));
    }
}

} // namespace
} // namespace ondrex

namespace ondrex {
namespace {

// With a pump the scanner walks every line; without, it jumps between possible hits. Both
// must give the same rows, counters and line count on any block.
TEST(ScriptScanner, TheHeadlessScanEqualsTheLineByLineScan) {
    const char* pieces[] = {"Function ", "sub ",    "SUB", "Dim ", "if ", "ELSE", "els", "el",
                            "Call ",     "end sub", " ",   "\t",   "'",   "x",    "\r",  "\n",
                            "\r\n",      "\x1a",    "\0",  "N",    "L ",  "eLs",  "E"};
    std::mt19937 rng(31337);
    struct NoPump {
        void Pump() {}
    } noPump;
    for (int round = 0; round < 20000; ++round) {
        std::string block;
        int n = int(rng() % 60);
        for (int i = 0; i < n; ++i) {
            const char* p = pieces[rng() % std::size(pieces)];
            block += *p ? std::string(p) : std::string(1, '\0');
        }
        TScanOptions o{bool(rng() & 1), bool(rng() & 2), bool(rng() & 4)};
        TScriptScanner fast, slow;
        fast.options = slow.options = o;
        slow.processMessages = TMessagePump::bind<&NoPump::Pump>(&noPump);
        TScanResults a, b;
        fast.ScanBlock(block, a);
        slow.ScanBlock(block, b);
        ASSERT_EQ(rowsOf(a), rowsOf(b)) << testing::PrintToString(block);
        ASSERT_EQ(a.counters.functionCount, b.counters.functionCount);
        ASSERT_EQ(a.counters.subCount, b.counters.subCount);
        ASSERT_EQ(a.counters.statementCount, b.counters.statementCount);
        ASSERT_EQ(a.linesRead, b.linesRead) << testing::PrintToString(block);
        TScriptScanner counting;
        counting.options = o;
        counting.countOnly = true;
        TScanResults c;
        counting.ScanBlock(block, c);
        ASSERT_TRUE(c.rows.empty());
        ASSERT_EQ(c.anyFound, a.anyFound);
        ASSERT_EQ(c.info, a.info);
    }
}

} // namespace
} // namespace ondrex

namespace ondrex {
namespace {

void expectSameScan(const std::string& block, TScanOptions o = {true, true, true}) {
    std::string path = tempFile("scanner_file.asp", block);
    TScriptScanner s;
    s.options = o;
    TScanResults a, b;
    s.ScanBlock(block, a);
    TFileScan info = s.ScanFile(path, b, true);
    EXPECT_EQ(info.bytes, block.size());
    EXPECT_EQ(info.validUtf8, IsValidUtf8(block));
    ASSERT_EQ(rowsOf(a), rowsOf(b));
    EXPECT_EQ(a.counters.statementCount, b.counters.statementCount);
    EXPECT_EQ(a.counters.functionCount, b.counters.functionCount);
    EXPECT_EQ(a.counters.subCount, b.counters.subCount);
    EXPECT_EQ(a.linesRead, b.linesRead);
    EXPECT_EQ(a.info, b.info);
    std::remove(path.c_str());

    // A pipe is read in pieces rather than mapped.
    const std::string fifo = testing::TempDir() + std::to_string(getpid()) + "_scanner_fifo.asp";
    std::remove(fifo.c_str());
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    std::thread writer([&] { std::ofstream(fifo, std::ios::binary) << block; });
    TScanResults c;
    info = s.ScanFile(fifo, c, true);
    writer.join();
    EXPECT_EQ(info.bytes, block.size());
    EXPECT_EQ(info.validUtf8, IsValidUtf8(block));
    EXPECT_EQ(rowsOf(c), rowsOf(a));
    EXPECT_EQ(c.linesRead, a.linesRead);
    EXPECT_EQ(c.info, a.info);
    std::remove(fifo.c_str());
}

TEST(ScriptScanner, ScanningAFileInPiecesEqualsScanningItWhole) {
    const char* pieces[] = {"Function f ", "Sub s ", "Dim d ", "If i ", "Else", "Call c ",  "x",
                            "  ",          "\t",     "\r\n",   "\n",    "\r",   "\xC3\xA9", "'"};
    std::mt19937 rng(4242);
    std::string block;
    // Past the first of the mapped scan's 4 MiB slices, and the read buffer's pieces.
    while (block.size() < 4'500'000)
        block += pieces[rng() % std::size(pieces)];
    expectSameScan(block);
    expectSameScan(block + "\xFF"); // one invalid byte at the very end
    expectSameScan(block + "\r");   // ends in a lone CR
    block[4'300'000] = '\n';
    block[4'300'001] = '\x1a';      // a Ctrl+Z after the first slice
    expectSameScan(block + "\xFF"); // stops there, still checks the rest for UTF-8
}

TEST(ScriptScanner, ALineLongerThanTheReadBufferIsScannedWhole) {
    std::string longLine(5'000'000, 'x'); // longer than a read piece and a mapped slice
    longLine += " Sub tail\rSub after\r"; // CR-only breaks: no LF to cut at
    expectSameScan(longLine);
    expectSameScan("Sub a\n" + longLine + "\nFunction z \n");
}

TEST(ScriptScanner, SmallFilesScanTheSameAsBlocks) {
    for (const char* b : {"", "\x1a", "Sub a", "Sub a\r\n", "\r\n\r\n", "x\n\x1aSub b\n",
                          "Sub a\r\x1a", "If x Then Call y\r\nElseIf z\n"})
        expectSameScan(b);
}

TEST(ScriptScanner, ScanFileOfAMissingFileChangesNothing) {
    TScriptScanner s;
    TScanResults r;
    s.ScanBlock("Sub a\n", r);
    EXPECT_THROW(s.ScanFile("/no/such.asp", r, false), EFileError);
    EXPECT_EQ(r.rows.size(), 1u);
}

} // namespace
} // namespace ondrex

namespace ondrex {
namespace {

// A keyword line whose keyword, or whose CR LF, lies on the edge of the sliced scan's 64 KiB
// slices: the line-by-line scan, the headless one, the sliced one and the file scan agree.
TEST(ScriptScanner, KeywordsOnSliceEdgesAreFoundByEveryScan) {
    struct NoPump {
        void Pump() {}
    } noPump;
    const std::string line = "Function f \r\n";
    for (std::size_t edge : {std::size_t(64) << 10, std::size_t(128) << 10})
        for (std::size_t shift = 0; shift < line.size() + 2; ++shift) {
            std::string block;
            while (block.size() + line.size() + 4 < edge - line.size() + shift)
                block += "x\r\n";
            block.append(edge - line.size() + shift - block.size(), 'y');
            block += line + "Call c\r\nElse\r";
            TScriptScanner s;
            s.options = all();
            TScanResults byLine, headless, sliced;
            s.ScanBlock(block, headless);
            s.ScanBlockInSlices(block, sliced, {});
            s.processMessages = TMessagePump::bind<&NoPump::Pump>(&noPump);
            s.ScanBlock(block, byLine);
            ASSERT_EQ(rowsOf(byLine).size(), 3u) << shift;
            ASSERT_EQ(rowsOf(headless), rowsOf(byLine)) << shift;
            ASSERT_EQ(rowsOf(sliced), rowsOf(byLine)) << shift;
            ASSERT_EQ(sliced.linesRead, byLine.linesRead);
            expectSameScan(block);
        }
}

} // namespace
} // namespace ondrex
