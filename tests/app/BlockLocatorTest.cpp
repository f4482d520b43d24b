#include "app/BlockLocator.h"
#include "editor/TqvEditList.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace ondrex {
namespace {

// A scanned text and its editor lines, as the main window holds them after a scan.
struct Scanned {
    explicit Scanned(const std::string& text, TScanOptions o = {true, true, true}) {
        lines.BeginLoading();
        lines.SetText(text);
        lines.EndLoading();
        TScriptScanner s;
        s.options = o;
        s.ScanBlock(text, results);
    }
    TBlockLocation at(int line) const {
        auto row = TBlockLocator::RowAtLine(results, line);
        EXPECT_TRUE(row) << "no row at line " << line;
        return *TBlockLocator::Locate(results, row.value_or(0), lines);
    }
    TqvEditList lines;
    TScanResults results;
};

std::string numbered(int from, int to) {
    std::string s;
    for (int i = from; i <= to; ++i)
        s += "x" + std::to_string(i) + "\r\n";
    return s;
}

TEST(BlockLocator, AFunctionRunsToItsEndFunction) {
    Scanned s(numbered(1, 9) + "Function Foo()\r\n" + numbered(11, 14) + "End Function\r\n" +
              numbered(16, 20));
    TBlockLocation b = s.at(10);
    EXPECT_FALSE(b.single);
    EXPECT_TRUE(b.copyPrintEnabled());
    EXPECT_EQ(b.start, 10);
    EXPECT_EQ(b.end, 15);
    EXPECT_EQ(b.info, (std::vector<TInfoRow>{{"Functions found", "1"},
                                             {"Subs found", "0"},
                                             {"Dim statements found", "0"},
                                             {"", ""},
                                             {"Function / Sub name", "Function Foo()"},
                                             {"Start at line", "10"},
                                             {"Ends at line", "15"},
                                             {"Lines in codeblock", "5"}}));
}

TEST(BlockLocator, ABraceBlockEndsAtTheFirstClosingBrace) {
    Scanned s("// x\r\n\r\nfunction f(a) {\r\n  if (a) { a++;\r\n  } return a;\r\n}\r\n");
    TBlockLocation b = s.at(3);
    EXPECT_EQ(b.end, 5);
    EXPECT_EQ(b.info[6], (TInfoRow{"Ends at line", "5"}));
    EXPECT_EQ(b.info[7], (TInfoRow{"Lines in codeblock", "2"}));
}

TEST(BlockLocator, EndSubInAnyCaseAndTheFirstMarkerWins) {
    Scanned s("Sub a()\nx\n  x = 1 : end sub\nEnd Function\n");
    EXPECT_EQ(s.at(1).end, 3);
}

TEST(BlockLocator, ABlockWithoutAnEndRunsToTheLastLine) {
    Scanned s("Sub a()\nx\ny\n");
    EXPECT_EQ(s.at(1).end, 3);
}

TEST(BlockLocator, AnEndOnTheLineAfterTheHeaderEndsTheBlockThere) {
    for (const char* text : {"Sub a()\nEnd Sub\nx\n", "function f()\n}\nx\n}\n"}) {
        Scanned s(text);
        TBlockLocation b = s.at(1);
        EXPECT_EQ(b.end, 2) << text;
        EXPECT_EQ(b.info[7], (TInfoRow{"Lines in codeblock", "1"})) << text;
    }
}

TEST(BlockLocator, AHeaderOnTheLastLineEndsWhereItStarts) {
    Scanned s("x\nSub a()");
    TBlockLocation b = s.at(2);
    EXPECT_EQ(b.start, 2);
    EXPECT_EQ(b.end, 2);
    EXPECT_EQ(b.info[7], (TInfoRow{"Lines in codeblock", "0"}));
}

TEST(BlockLocator, ManyHeadersAtOnceEndAsEachAlone) {
    // Headers in any order, sharing an end, one without an end, one on and one past the last
    // line: every answer is FindEndLine's.
    Scanned s("Sub a()\nSub b()\nEnd Sub\nx\nSub c()\n}\nSub d()\ny\nSub e()");
    const std::vector<int> starts = {7, 1, 2, 9, 5, 12, 3, 0};
    std::vector<int> one;
    for (int start : starts)
        one.push_back(TBlockLocator::FindEndLine(s.lines, start));
    EXPECT_EQ(TBlockLocator::FindEndLines(s.lines, starts), one);
    EXPECT_EQ(one, (std::vector<int>{9, 3, 3, 9, 6, 12, 6, 3}));
}

TEST(BlockLocator, TheHeaderLineItselfIsNeverTested) {
    Scanned s("function f() { return 1; }\nx\n}\n");
    EXPECT_EQ(s.at(1).end, 3);
}

TEST(BlockLocator, HeadersWithDimIfOrCallInsideAreSingleStatements) {
    for (const char* header : {"Function Modify()", "Sub Dimension()", "Function Callback()"}) {
        Scanned s(std::string(header) + "\nx\nEnd Function\n");
        TBlockLocation b = s.at(1);
        EXPECT_TRUE(b.single) << header;
        EXPECT_FALSE(b.copyPrintEnabled());
        EXPECT_EQ(b.start, 1);
        EXPECT_EQ(b.end, 1);
        EXPECT_EQ(b.info.size(), 3u);
    }
}

TEST(BlockLocator, StatementRowsSetBothLinesToTheHit) {
    Scanned s("Sub a()\n  Dim x\n  If x Then\n    Call b\n  ElseIf y Then\n  End If\nEnd Sub\n");
    for (int line : {2, 3, 4, 5}) {
        TBlockLocation b = s.at(line);
        EXPECT_TRUE(b.single) << line;
        EXPECT_EQ(b.start, line);
        EXPECT_EQ(b.end, line);
    }
}

TEST(BlockLocator, AnElseRowIsLocatedLikeABlockHeader) {
    Scanned s("If a Then\n  x\nElse\n  y\n}\n");
    auto row = TBlockLocator::RowAtLine(s.results, 3);
    ASSERT_TRUE(row);
    TBlockLocation b = *TBlockLocator::Locate(s.results, *row, s.lines);
    EXPECT_EQ(s.results.rows[*row].caption, "Else ");
    EXPECT_FALSE(b.single);
    EXPECT_EQ(b.end, 5);
}

TEST(BlockLocator, NoRowNoLocation) {
    Scanned s("Sub a()\n");
    EXPECT_FALSE(TBlockLocator::Locate(s.results, 1, s.lines));
    EXPECT_FALSE(TBlockLocator::RowAtLine(s.results, 2));
}

TEST(BlockLocator, LinesBeyondTheEditorsEndAreNotRead) {
    Scanned s("x\nSub a()\ny\nEnd Sub\n");
    TqvEditList shorter;
    shorter.Add("only");
    auto b = TBlockLocator::Locate(s.results, 0, shorter);
    ASSERT_TRUE(b);
    EXPECT_EQ(b->end, b->start);
}

TEST(BlockLocator, FindMatchesAfterTheFirstCharacterOnly) {
    Scanned s("x\nFunction Foo()\nSub Bar()\n");
    auto hit = TBlockLocator::Find(s.results, "foo");
    ASSERT_TRUE(hit);
    EXPECT_EQ(*hit, 0u);
    EXPECT_EQ(TBlockLocator::FoundMessage(s.results, *hit), "Function / Sub found at line : 2");
    EXPECT_FALSE(TBlockLocator::Find(s.results, "function foo"));
    EXPECT_FALSE(TBlockLocator::Find(s.results, ""));
    EXPECT_FALSE(TBlockLocator::Find(s.results, "nothing"));
    EXPECT_EQ(*TBlockLocator::Find(s.results, "BAR"), 1u);
    // Only the first occurrence is looked at: "SUB" first stands at the first character.
    Scanned t("Sub SubX()\n");
    EXPECT_FALSE(TBlockLocator::Find(t.results, "sub"));
}

TEST(BlockLocator, OnlyTheCaretLineIsPaintedYellowOnBlue) {
    bool special = false;
    TColor fg = clBlack, bg = clWhite;
    TBlockLocator::SpecialLineColors(9, 10, special, fg, bg);
    EXPECT_FALSE(special);
    EXPECT_EQ(fg, clBlack);
    TBlockLocator::SpecialLineColors(10, 10, special, fg, bg);
    EXPECT_TRUE(special);
    EXPECT_EQ(fg, RGB(255, 255, 0));
    EXPECT_EQ(bg, RGB(0, 0, 255));
}

TEST(BlockLocator, SingleStatementTest) {
    EXPECT_TRUE(TBlockLocator::IsSingleStatement("x dim"));
    EXPECT_TRUE(TBlockLocator::IsSingleStatement("Gift"));
    EXPECT_TRUE(TBlockLocator::IsSingleStatement("recall"));
    EXPECT_FALSE(TBlockLocator::IsSingleStatement("Function Foo()"));
    EXPECT_FALSE(TBlockLocator::IsSingleStatement("Else"));
}

} // namespace
} // namespace ondrex
