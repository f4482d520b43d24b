#include "highlighters/AnsiExport.h"
#include "highlighters/HtmlExport.h"
#include "highlighters/THighlighterList.h"
#include "highlighters/jxPHPSyn.h"
#include "highlighters/zkVBSSyn.h"

#include <gtest/gtest.h>

#include <random>
#include <regex>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

namespace ondrex {
namespace {

struct RecordingSink : TqvExport {
    std::vector<std::tuple<std::string, const TqvHighLightAttributes*, bool, bool>> calls;
    void WriteToken(std::string_view text, const TqvHighLightAttributes* attribute, bool ws,
                    bool second) override {
        calls.emplace_back(std::string(text), attribute, ws, second);
    }
};

void ExportLine(TqvCustomHighLighter& h, const std::string& line) {
    h.StartExportLine(line.c_str());
    for (std::size_t count = 0; !h.AtLineEnd() && count <= line.size(); ++count)
        h.ExportNextToken();
}

TEST(Export, VbsPassesEveryTokenWithItsFlagsAndEndsTheLineOnce) {
    TzkVbsSyn syn;
    RecordingSink sink;
    syn.SetExportSink(&sink);
    ExportLine(syn, "If a=\"s\" '");
    using C = std::tuple<std::string, const TqvHighLightAttributes*, bool, bool>;
    EXPECT_EQ(sink.calls, (std::vector<C>{{"If", syn.KeyAttri, false, false},
                                          {" ", syn.SpaceAttri, true, false},
                                          {"a", syn.IdentifierAttri, false, false},
                                          {"=", syn.SymbolAttri, false, true},
                                          {"\"s\"", syn.StringAttri, false, true},
                                          {" ", syn.SpaceAttri, true, false},
                                          {"'", syn.CommentAttri, false, true},
                                          {"", nullptr, false, false}}));
    sink.calls.clear();
    ExportLine(syn, "");
    EXPECT_EQ(sink.calls.size(), 1u);
}

TEST(Export, WithoutSinkExportIsPlainScanning) {
    TzkVbsSyn syn;
    syn.StartExportLine("Dim x");
    EXPECT_EQ(syn.TokenKind(), TzkVbsSyn::tkKey);
    syn.ExportNextToken();
    EXPECT_EQ(syn.TokenStart(), 3);
}

TEST(AnsiExport, StylesChangeOnlyWhereTheLookChanges) {
    TzkVbsSyn syn;
    std::string out;
    TAnsiExport ansi(out, TCodePage::Utf8);
    syn.SetExportSink(&ansi);
    ExportLine(syn, "Dim x 'c");
    EXPECT_EQ(out, "\x1b[0;1;94mDim\x1b[0m x \x1b[0;3;90m'c\x1b[0m\n");
}

TEST(AnsiExport, ExplicitColoursWinOverTheTheme) {
    TzkVbsSyn syn;
    syn.KeyAttri->SetForeground(RGB(1, 2, 3));
    syn.KeyAttri->SetBackground(clMaroon);
    syn.KeyAttri->SetStyle(fsUnderline | fsStrikeOut);
    std::string out;
    TAnsiExport ansi(out, TCodePage::Utf8);
    syn.SetExportSink(&ansi);
    ExportLine(syn, "End");
    EXPECT_EQ(out, "\x1b[0;4;9;38;2;1;2;3;41mEnd\x1b[0m\n");
}

TEST(AnsiExport, ControlCharactersCannotDriveTheTerminal) {
    TqvHighLightAttributes plain("Identifier");
    std::string out;
    TAnsiExport ansi(out, TCodePage::Utf8);
    ansi.WriteToken("\x1b]0;x\x07\t\x7f", &plain, false, false);
    EXPECT_EQ(out, "^[]0;x^G\t^?");
}

TEST(AnsiExport, CharacterSplitAcrossTokensStaysWhole) {
    TqvHighLightAttributes key("Reserved word"), plain("Identifier");
    key.SetStyle(fsBold);
    std::string out;
    TAnsiExport ansi(out, TCodePage::Utf8);
    ansi.WriteToken("a\xc3", &key, false, false);
    ansi.WriteToken("\xa9z", &plain, false, false);
    ansi.WriteToken({}, nullptr, false, false);
    EXPECT_EQ(out, "\x1b[0;1;94ma\xc3\xa9\x1b[0mz\n");
}

TEST(AnsiExport, Windows1252IsDecoded) {
    TqvHighLightAttributes plain("Identifier");
    std::string out;
    TAnsiExport ansi(out, TCodePage::Windows1252);
    ansi.WriteToken("caf\xe9 \x80", &plain, false, false);
    EXPECT_EQ(out, "caf\xc3\xa9 \xe2\x82\xac");
}

TEST(HtmlExport, StandalonePageWithEscapedTextAndOneClassPerLook) {
    TzkVbsSyn syn;
    THtmlExport html(TCodePage::Utf8);
    syn.SetExportSink(&html);
    ExportLine(syn, "If a<b & \"x\" Then");
    const std::string page = html.Page("t<1>.asp");
    EXPECT_EQ(page.rfind("<!DOCTYPE html>", 0), 0u);
    EXPECT_NE(page.find("<title>t&lt;1&gt;.asp</title>"), std::string::npos);
    EXPECT_NE(page.find(".t0 { color:#0000ff;font-weight:bold; }"), std::string::npos);
    EXPECT_NE(
        page.find("<pre><span class=\"t0\">If</span> a&lt;b &amp; <span class=\"t1\">&quot;x&quot;"
                  "</span> <span class=\"t0\">Then</span>\n</pre>"),
        std::string::npos)
        << page;
    EXPECT_EQ(page.find(".t2"), std::string::npos);
}

TEST(HtmlExport, ControlCharactersBecomePictures) {
    std::string out;
    AppendHtmlText(out, std::string("a\0b\x1b", 4));
    EXPECT_EQ(out, "a\xe2\x90\x80"
                   "b\xe2\x90\x9b");
}

// A whole line through the sink's own line export: what cat and the window both write.
std::string AnsiLine(TqvCustomHighLighter& h, const std::string& line) {
    std::string out;
    TAnsiExport ansi(out, TCodePage::Utf8);
    h.SetExportSink(&ansi);
    ansi.ExportLine(h, line);
    h.SetExportSink(nullptr);
    return out;
}

TEST(LineExport, EveryLanguageLosesNoByteOfTheLine) {
    // Hidden kinds (PHP's backtick, JavaScript's stray bytes), text after a NUL, UTF-8.
    const std::string lines[] = {"<?php `ls` \\x; ?>", "a = `b` + \x01 + 'caf\xc3\xa9';",
                                 std::string("Dim x\0 rest", 11), "my $s = \"\\\"\";", ""};
    const THighlighterList& list = THighlighterList::Instance();
    for (int i = 0; i < list.Count(); ++i) {
        auto h = list[i].Create();
        for (const std::string& line : lines) {
            const std::string out = AnsiLine(*h, line);
            std::string want;
            for (char c : line)
                want += (static_cast<unsigned char>(c) < 0x20) ? std::string{'^', char(c ^ 0x40)}
                                                               : std::string(1, c);
            EXPECT_EQ(std::regex_replace(out, std::regex("\x1b\\[[0-9;]*m"), ""), want + "\n")
                << list[i].Language << ": " << testing::PrintToString(line);
        }
    }
}

TEST(LineExport, BytesAfterANulAreUnstyled) {
    TzkVbsSyn syn;
    EXPECT_EQ(AnsiLine(syn, std::string("Dim\0Dim", 7)), "\x1b[0;1;94mDim\x1b[0m^@Dim\n");
}

TEST(LineExport, ASinkFollowsAttributesChangedWhileItIsInUse) {
    TzkVbsSyn syn;
    std::string out;
    TAnsiExport ansi(out, TCodePage::Utf8);
    syn.SetExportSink(&ansi);
    ansi.ExportLine(syn, "End");
    syn.KeyAttri->SetForeground(clRed);
    syn.KeyAttri->SetStyle(0);
    ansi.ExportLine(syn, "End");
    EXPECT_EQ(out, "\x1b[0;1;94mEnd\x1b[0m\n\x1b[0;91mEnd\x1b[0m\n");
}

TEST(HtmlExport, ThePageInPiecesIsTheWholePage) {
    TzkVbsSyn syn;
    THtmlExport html(TCodePage::Windows1252);
    syn.SetExportSink(&html);
    html.ExportLine(syn, "Dim caf\xe9 ' x");
    html.ExportLine(syn, "If");
    const std::string page = html.Page("p");
    EXPECT_EQ(html.PageHead("p") + html.PageBody() + std::string(THtmlExport::PageTail()), page);
    EXPECT_NE(page.find(".t1 "), std::string::npos);
    EXPECT_EQ(page.find(".t2 "), std::string::npos) << "the keyword look is one class";
    EXPECT_NE(page.find("caf\xc3\xa9"), std::string::npos);
}

// The later lines written by a sibling on another thread, the looks of the earlier ones met
// first, and appended after the earlier ones: the same text, its looks numbered the same, as
// one sink writing every line in turn.
TEST(LineExport, ASiblingWritesLinesAsItsSinkWould) {
    const std::vector<std::string> lines = {
        "<?php $\xc3\xa4 = 1; // caf\xc3\xa9", "/* open \xf0\x9f\x98\x80",
        "*/ echo 'x\xe2\x82\xac' . \"y\x01\"; # \xf0\x9f\x98\x80", "$b = 2.5 <=> f($\xc3\xa4);"};
    constexpr std::size_t kEarlier = 2;
    TjxPHPSyn php;
    std::vector<std::vector<TExportToken>> tokens(lines.size());
    for (std::size_t i = 0; i < lines.size(); ++i)
        php.ExportTokens(lines[i].c_str(), tokens[i]);
    auto writeInTurn = [&](TStyledExport& sink) {
        for (std::size_t i = 0; i < lines.size(); ++i)
            sink.WriteLine(lines[i], tokens[i]);
    };
    auto writeSplit = [&](TStyledExport& sink) {
        std::string later;
        const auto sibling = sink.MakeSibling(later);
        std::thread([&] {
            for (std::size_t i = 0; i < kEarlier; ++i)
                sibling->MeetLooks(lines[i], tokens[i]);
            for (std::size_t i = kEarlier; i < lines.size(); ++i)
                sibling->WriteLine(lines[i], tokens[i]);
        }).join();
        for (std::size_t i = 0; i < kEarlier; ++i)
            sink.WriteLine(lines[i], tokens[i]);
        sink.AppendWritten(later);
    };
    std::string whole, split;
    TAnsiExport wholeAnsi(whole, TCodePage::Utf8), splitAnsi(split, TCodePage::Utf8);
    writeInTurn(wholeAnsi);
    writeSplit(splitAnsi);
    EXPECT_EQ(split, whole);
    THtmlExport wholeHtml(TCodePage::Utf8), splitHtml(TCodePage::Utf8);
    writeInTurn(wholeHtml);
    writeSplit(splitHtml);
    EXPECT_EQ(splitHtml.Page("p"), wholeHtml.Page("p"));
    EXPECT_NE(wholeHtml.Page("p").find(".t3 "), std::string::npos) << "several looks";
}

TEST(LineExport, TokensOfALineComeInOneCall) {
    TjxPHPSyn php;
    std::vector<TExportToken> tokens = {{7, nullptr}}; // appended to, not replaced
    php.ExportTokens("f(); `x`", tokens);
    using T = std::pair<int, const TqvHighLightAttributes*>;
    std::vector<T> got;
    for (const TExportToken& token : tokens)
        got.emplace_back(token.start, token.attribute);
    // The three symbols as one; the backtick, hidden from the export sink, in its own
    // attribute (the identifier's).
    EXPECT_EQ(got, (std::vector<T>{{7, nullptr},
                                   {0, php.IdentifierAttri},
                                   {1, php.SymbolAttri},
                                   {4, php.SpaceAttri},
                                   {5, php.IdentifierAttri},
                                   {8, nullptr}}));
    tokens.clear();
    php.ExportTokens("/* a", tokens);
    EXPECT_EQ(php.RangeState(), TjxPHPSyn::rsComment) << "the range carries on to the next line";
    tokens.clear();
    php.ExportTokens(std::string("b */ $v\0$w", 10).c_str(), tokens);
    ASSERT_EQ(tokens.size(), 4u);
    EXPECT_EQ(tokens[0].attribute, php.CommentAttri);
    EXPECT_EQ(tokens[2].attribute, php.VariableAttri);
    EXPECT_EQ(tokens[3].start, 7) << "the tokens end at the NUL";
}

bool IsListed(const TqvCustomHighLighter& highlighter, const TqvHighLightAttributes* attribute) {
    for (int i = 0; i < highlighter.AttributeCount(); ++i)
        if (highlighter.AttributeAt(i) == attribute) return true;
    return false;
}

// A page's head may be written ahead of its text once every look the attribute list gives has
// been met, by the sink or a sibling; attributes shown in the default look do not count.
TEST(LineExport, EveryLookIsMetOnceEachAttributeWithALookHasBeenWritten) {
    TjxPHPSyn php;
    THtmlExport html(TCodePage::Utf8);
    std::string later;
    const auto sibling = html.MakeSibling(later);
    EXPECT_FALSE(html.MetEveryLookOf(php));
    html.ExportLine(php, "$a = 'b' . 1; // c");
    html.ExportLine(php, "echo f();");
    EXPECT_FALSE(html.MetEveryLookOf(php)) << "the invalid symbol's look is not met yet";
    std::vector<TExportToken> tokens;
    php.ExportTokens("@f();", tokens);
    sibling->MeetLooks("@f();", tokens);
    EXPECT_TRUE(html.MetEveryLookOf(php));
    EXPECT_TRUE(sibling->MetEveryLookOf(php));
    php.NumberAttri->SetForeground(clMaroon);
    EXPECT_FALSE(html.MetEveryLookOf(php)) << "a changed attribute gives a look not yet met";
}

TEST(LineExport, EveryLanguageFindsTheTokensTheExportSinkWouldBeHanded) {
    // The base's way (through the export sink, the hidden tokens added) and each language's
    // own give one list, but for neighbours of one attribute the language may join.
    const std::string lines[] = {"<?php `ls` \\x; /* a",
                                 "b */ $c = \"d",
                                 "e\" . 'f' # g",
                                 "a = `b` + \x01 + 'caf\xc3\xa9'; /*",
                                 "*/ my $s = \"\\\"\";",
                                 std::string("Dim x\0 rest", 11),
                                 "",
                                 "\x80\xff @ \\ ?>"};
    // Two instances: the attributes compare by name.
    auto joined = [](std::vector<TExportToken> tokens) {
        std::vector<std::pair<int, std::string>> kept;
        for (std::size_t i = 0; i < tokens.size(); ++i)
            if (i == 0 || i + 1 == tokens.size() || tokens[i].attribute != tokens[i - 1].attribute)
                kept.emplace_back(tokens[i].start,
                                  tokens[i].attribute ? tokens[i].attribute->Name() : "none");
        return kept;
    };
    const THighlighterList& list = THighlighterList::Instance();
    for (int i = 0; i < list.Count(); ++i) {
        auto viaSink = list[i].Create();
        auto direct = list[i].Create();
        RecordingSink sink;
        viaSink->SetExportSink(&sink);
        for (const std::string& line : lines) {
            std::vector<TExportToken> base, own;
            viaSink->TqvCustomHighLighter::ExportTokens(line.c_str(), base);
            direct->ExportTokens(line.c_str(), own);
            EXPECT_EQ(joined(base), joined(own)) << list[i].Language << ": " << line;
            EXPECT_EQ(viaSink->RangeState(), direct->RangeState());
            // A sink that knows the looks of the attribute list knows every look it is handed.
            for (const TExportToken& token : own)
                EXPECT_TRUE(!token.attribute || IsListed(*direct, token.attribute))
                    << list[i].Language << ": " << token.attribute->Name() << " is not listed";
        }
        EXPECT_EQ(viaSink->ExportSink(), &sink) << "the sink is put back";
        EXPECT_TRUE(sink.calls.empty());
    }
}

// The line export's text without its styles, for every byte value at every place in lines
// longer and shorter than the sixteen bytes scanned at a time.
TEST(LineExport, EveryByteIsWrittenAsTheMediumWantsIt) {
    std::mt19937 random(7);
    for (TCodePage codePage : {TCodePage::Windows1252, TCodePage::Utf8}) {
        TjxPHPSyn php;
        std::string ansiText;
        TAnsiExport ansi(ansiText, codePage);
        THtmlExport html(codePage);
        std::string wantAnsi, wantHtml;
        for (int n = 0; n < 603; ++n) {
            // Short lines, then a few longer than the sinks put together at a time.
            std::string line(n < 600 ? std::size_t(n % 60) : std::size_t(3000 * (n - 598)), ' ');
            for (char& c : line)
                c = static_cast<char>(random() % 256);
            ansi.ExportLine(php, line);
            html.ExportLine(php, line);
            std::string text = line; // UTF-8 passes as it is
            if (codePage == TCodePage::Windows1252) text = ToUtf8(codePage, line);
            for (char c : text)
                wantAnsi += (static_cast<unsigned char>(c) < 0x20 && c != '\t') || c == 0x7F
                                ? std::string{'^', char(c ^ 0x40)}
                                : std::string(1, c);
            wantAnsi += '\n';
            AppendHtmlText(wantHtml, text);
            wantHtml += '\n';
        }
        EXPECT_TRUE(std::regex_replace(ansiText, std::regex("\x1b\\[[0-9;]*m"), "") == wantAnsi);
        EXPECT_TRUE(std::regex_replace(html.PageBody(), std::regex("</?span[^>]*>"), "") ==
                    wantHtml);
    }
}

} // namespace
} // namespace ondrex
