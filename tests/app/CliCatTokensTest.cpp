// ondrex cat and ondrex tokens, run as a user runs them.
#include "tests/support/RunOndrex.h"

#include "highlighters/AnsiExport.h"
#include "highlighters/HtmlExport.h"
#include "highlighters/jxPHPSyn.h"
#include "platform/LineBreaks.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace {

using ondrex::testsupport::RunOndrex;
using ondrex::testsupport::TRunResult;

class CliCatTokens : public ::testing::Test {
protected:
    void SetUp() override {
        dir = std::filesystem::temp_directory_path() / ("ondrex-cli-" + std::to_string(getpid()));
        std::filesystem::create_directories(dir);
    }
    void TearDown() override { std::filesystem::remove_all(dir); }
    std::string File(const std::string& name, const std::string& bytes) {
        const auto path = dir / name;
        std::ofstream(path, std::ios::binary) << bytes;
        return path.string();
    }
    std::filesystem::path dir;
};

TEST_F(CliCatTokens, TokensAsJsonLines) {
    const std::string file = File("a.vbs", "Dim x\r\n\r\n\"q\\\"\n");
    const TRunResult run = RunOndrex({"tokens", "--format", "json", file});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "{\"line\": 1, \"range\": 1, \"tokens\": [[2, 0, \"Dim\"], [5, 3, \" \"], "
                       "[1, 4, \"x\"]]}\n"
                       "{\"line\": 2, \"range\": 1, \"tokens\": []}\n"
                       "{\"line\": 3, \"range\": 1, \"tokens\": [[6, 0, \"\\\"q\\\\\\\"\"]]}\n");
}

TEST_F(CliCatTokens, TokensDecodeWindows1252AndStopAtNul) {
    const std::string file = File("b.txt", std::string("'\xe9\0x", 4));
    const TRunResult run = RunOndrex({"tokens", "--format", "json", file});
    EXPECT_EQ(run.out, "{\"line\": 1, \"range\": 1, \"tokens\": [[0, 0, \"'\xc3\xa9\"]]}\n");
}

TEST_F(CliCatTokens, LanguageChoice) {
    const std::string file = File("c.txt", "Dim");
    EXPECT_NE(RunOndrex({"tokens", file}).out.find("[[2, 0, \"Dim\"]]"), std::string::npos);
    const TRunResult bad = RunOndrex({"tokens", "--lang", "cobol", file});
    EXPECT_EQ(bad.status, 2);
    EXPECT_NE(bad.err.find("unknown language 'cobol' (known: vbscript, javascript, perl, php)"),
              std::string::npos);
    // The window's spelling of a language names it too.
    const std::string perl = File("p.txt", "my $x; # c");
    const std::string asPerl = RunOndrex({"tokens", "--lang", "perl", perl}).out;
    EXPECT_EQ(RunOndrex({"tokens", "--lang", "PerlScript", perl}).out, asPerl);
    EXPECT_NE(RunOndrex({"tokens", "--lang", "vbscript", perl}).out, asPerl);
    EXPECT_EQ(RunOndrex({"cat", "--lang", "phpscript", "--color=always", perl}).out,
              RunOndrex({"cat", "--lang", "php", "--color=always", perl}).out);
    EXPECT_EQ(RunOndrex({"tokens", "--format", "text", file}).status, 2);
}

TEST_F(CliCatTokens, MissingFileIsBadInputNamingTheFile) {
    const TRunResult run = RunOndrex({"cat", (dir / "none.vbs").string()});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("none.vbs"), std::string::npos);
}

TEST_F(CliCatTokens, CatColourChoice) {
    const std::string file = File("d.asp", "Dim x\r\nEnd");
    EXPECT_EQ(RunOndrex({"cat", "--color=never", file}).out, "Dim x\nEnd\n");
    // Not a terminal, and NO_COLOR: plain either way under auto.
    EXPECT_EQ(RunOndrex({"cat", file}).out, "Dim x\nEnd\n");
    EXPECT_EQ(RunOndrex({"cat", "--color=auto", file}, {.environment = {"NO_COLOR=1"}}).out,
              "Dim x\nEnd\n");
    EXPECT_EQ(RunOndrex({"cat", "--color=always", file}).out,
              "\x1b[0;1;94mDim\x1b[0m x\n\x1b[0;1;94mEnd\x1b[0m\n");
    EXPECT_EQ(RunOndrex({"cat", "--color=sometimes", file}).status, 2);
}

TEST_F(CliCatTokens, CatLosesNoTextAfterANul) {
    const std::string file = File("e.vbs", std::string("ab\0cd", 5));
    EXPECT_EQ(RunOndrex({"cat", "--color=always", file}).out, "ab^@cd\n");
}

TEST_F(CliCatTokens, CatHtmlPage) {
    // Blanks and quotes in the name reach ondrex as they are.
    const std::string file = File("f 'g' $(x).vbs", "If a < b Then");
    const TRunResult run = RunOndrex({"cat", "--html", file});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out.rfind("<!DOCTYPE html>", 0), 0u);
    EXPECT_NE(run.out.find("a &lt; b"), std::string::npos);
    EXPECT_NE(run.out.find("f 'g' $(x).vbs</title>"), std::string::npos);
}

// cat of the file equals what the window's export writes line by line. Enough lines for the command
// to work in several runs and pieces: comments and strings open across most line ends (and so
// across the runs and the pieces) show that no state is lost between them.
void ExpectCatIsEveryLineExportedInTurn(const std::string& file, const std::string& bytes,
                                        ondrex::TCodePage codePage) {
    using namespace ondrex;
    TjxPHPSyn php;
    std::string ansiText;
    TAnsiExport ansi(ansiText, codePage);
    THtmlExport html(codePage, php);
    for (TStyledExport* exporter :
         {static_cast<TStyledExport*>(&ansi), static_cast<TStyledExport*>(&html)}) {
        php.ResetRangeState();
        TLineSplitter splitter(bytes);
        for (std::string_view line; splitter.Next(line);)
            exporter->ExportLine(php, std::string(line));
    }
    const TRunResult colored = RunOndrex({"cat", "--color=always", file});
    EXPECT_EQ(colored.status, 0);
    EXPECT_TRUE(colored.out == ansiText) << "the terminal text differs";
    const TRunResult page = RunOndrex({"cat", "--html", file});
    EXPECT_EQ(page.status, 0);
    EXPECT_TRUE(page.out == html.Page(file)) << "the page differs";
}

TEST_F(CliCatTokens, CatOfALongFileIsEveryLineExportedInTurn) {
    // Every line break, NULs, Windows-1252 and control characters.
    std::string bytes;
    const char* const lines[] = {"<?php $a = @f(1); // c\r\n",       "/* open\n",
                                 "still */ $b /* again\r",           "*/ echo \"open\n",
                                 "string\"; `ls` \x01 caf\xe9 /*\n", "*/ $c\n"};
    for (int i = 0; i < 250000; ++i) // about 5 MB
        bytes += i % 997 == 0 ? std::string("x\0y <\n", 6) : std::string(lines[i % 6]);
    ExpectCatIsEveryLineExportedInTurn(File("long.php", bytes), bytes,
                                       ondrex::TCodePage::Windows1252);
}

TEST_F(CliCatTokens, CatOfALongUtf8FileIsEveryLineExportedInTurn) {
    // Characters of two to four bytes inside and next to tokens, and looks first met late.
    std::string bytes;
    const char* const lines[] = {"<?php $\xc3\xa4 = '\xe2\x82\xac'; // \xf0\x9f\x98\x80\n",
                                 "/* \xc3\xa9 open\n",
                                 "\xf0\x9f\x98\x80 */ $b\xc3\xbc /* again\r\n",
                                 "*/ echo \"\xe2\x82\xac open\n",
                                 "string\xc3\xa7\"; 12.5e3 \x01 /*\n",
                                 "*/ $c; # \xf0\x9f\x98\x80\n"};
    for (int i = 0; i < 220000; ++i) // about 5 MB; the last look is met past the middle
        bytes += i == 150000 ? "@x();\n" : lines[i % 6];
    ExpectCatIsEveryLineExportedInTurn(File("long-utf8.php", bytes), bytes,
                                       ondrex::TCodePage::Utf8);
}

} // namespace
