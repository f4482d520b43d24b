#include "app/index/SiteSymbols.h"

#include "app/BlockLocator.h"
#include "editor/TqvEditList.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace ondrex {
namespace {

std::vector<TSiteSymbol> symbolsOf(const std::string& block) {
    TScriptScanner scanner;
    TScanResults results;
    scanner.ScanBlock(block, results);
    return CollectSymbols(block, results);
}

TEST(SiteSymbols, NamesFollowAKeywordThatStartsAWord) {
    const auto s = symbolsOf("Public Function GetUser(id)\n"
                             "MyFunction x\n"
                             "Exit Function \n"
                             "\tsub Pkg::Inner::run {\n"
                             "var f = function (a) {\n"
                             "Private Sub Class_Initialize\r\n"
                             "  function $élan(a) {\n");
    ASSERT_EQ(s.size(), 4u);
    EXPECT_EQ(s[0].name, "GetUser");
    EXPECT_FALSE(s[0].isSub);
    EXPECT_EQ(s[0].nameColumn, 16u);
    EXPECT_EQ(s[1].name, "Pkg::Inner::run");
    EXPECT_TRUE(s[1].isSub);
    EXPECT_EQ(s[1].lineText, "\tsub Pkg::Inner::run {");
    EXPECT_EQ(s[2].name, "Class_Initialize");
    EXPECT_EQ(s[2].lineText, "Private Sub Class_Initialize"); // without the CR LF
    EXPECT_EQ(s[3].name, "$élan");
    EXPECT_EQ(s[3].line, 7);
    EXPECT_EQ(s[3].lineOffset, 132u);
}

TEST(SiteSymbols, LongLinesAreCutOutsideACharacter) {
    std::string line = "function f() {" + std::string(kMaxSymbolLine - 15, 'x') + "é}";
    const auto s = symbolsOf(line);
    ASSERT_EQ(s.size(), 1u);
    EXPECT_TRUE(s[0].lineCut);
    EXPECT_EQ(s[0].lineText, line.substr(0, kMaxSymbolLine - 1)); // before the two-byte é
}

// The end lines against the block locator itself on the editor's lines, over random text
// made of headers, end markers and filler (with CR, LF and CR LF breaks and a Ctrl+Z).
TEST(SiteSymbols, EndLinesAreTheBlockLocatorsOnRandomText) {
    const char* pieces[] = {"Function A(x)",
                            "Sub B",
                            "function c(d) {",
                            "}",
                            "End Function",
                            "end sub",
                            "x = 1",
                            "",
                            "  If y Then",
                            "'Function q",
                            "\x1a",
                            "Sub C : End Sub",
                            "} function e() {"};
    const char* breaks[] = {"\n", "\r\n", "\r"};
    std::mt19937 random(23);
    for (int round = 0; round < 300; ++round) {
        std::string block;
        const int lines = int(random() % 40);
        for (int i = 0; i < lines; ++i)
            block += std::string(pieces[random() % std::size(pieces)]) + breaks[random() % 3];
        if (random() % 2 && !block.empty()) block.pop_back();
        TqvEditList editorLines;
        editorLines.LoadFromBlock(std::string(block));
        for (const TSiteSymbol& s : symbolsOf(block)) {
            ASSERT_EQ(s.endLine, TBlockLocator::FindEndLine(editorLines, s.line))
                << "line " << s.line << " of\n"
                << block;
            ASSERT_EQ(editorLines.Get(s.line - 1), s.lineText);
        }
    }
}

} // namespace
} // namespace ondrex
