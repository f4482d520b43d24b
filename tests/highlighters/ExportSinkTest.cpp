#include "highlighters/AnsiExport.h"
#include "highlighters/HtmlExport.h"
#include "highlighters/THighlighterList.h"
#include "highlighters/jxPHPSyn.h"
#include "highlighters/zkVBSSyn.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <random>
#include <regex>
#include <string>
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
    THtmlExport html(TCodePage::Utf8, syn);
    syn.SetExportSink(&html);
    ExportLine(syn, "If a<b & \"x\" Then");
    const std::string page = html.Page("t<1>.asp");
    EXPECT_EQ(page.rfind("<!DOCTYPE html>", 0), 0u);
    EXPECT_NE(page.find("<title>t&lt;1&gt;.asp</title>"), std::string::npos);
    EXPECT_NE(page.find(".t2 { color:#0000ff;font-weight:bold; }"), std::string::npos);
    EXPECT_NE(
        page.find("<pre><span class=\"t2\">If</span> a&lt;b &amp; <span class=\"t3\">&quot;x&quot;"
                  "</span> <span class=\"t2\">Then</span>\n</pre>"),
        std::string::npos)
        << page;
}

// The head is known before any text: one class for each look the attribute list gives, in its
// order, the default look and repeated looks left out. A look no attribute gave when the page
// began (an attribute changed since) is styled in place instead of naming a class the head
// does not hold.
TEST(HtmlExport, TheHeadListsEveryLookOfTheAttributesBeforeAnyText) {
    const THighlighterList& list = THighlighterList::Instance();
    for (int i = 0; i < list.Count(); ++i) {
        auto h = list[i].Create();
        THtmlExport html(TCodePage::Utf8, *h);
        const std::string head = html.PageHead("p");
        std::vector<TTokenLook> looks;
        for (int a = 0; a < h->AttributeCount(); ++a) {
            const TTokenLook look = LookOf(*h->AttributeAt(a));
            if (!(look == TTokenLook{}) &&
                std::find(looks.begin(), looks.end(), look) == looks.end())
                looks.push_back(look);
        }
        ASSERT_GE(looks.size(), 4u) << list[i].Language;
        const std::string lastClass = ".t" + std::to_string(looks.size() - 1) + " { ";
        EXPECT_NE(head.find(lastClass), std::string::npos) << list[i].Language;
        EXPECT_EQ(head.find(".t" + std::to_string(looks.size()) + " "), std::string::npos);
        EXPECT_EQ(html.PageHead("p"), head) << "writing text leaves the head as it was";
    }
    TzkVbsSyn syn;
    THtmlExport html(TCodePage::Utf8, syn);
    const std::string head = html.PageHead("p");
    syn.KeyAttri->SetForeground(RGB(1, 2, 3));
    html.ExportLine(syn, "End x");
    EXPECT_EQ(html.PageHead("p"), head);
    EXPECT_EQ(html.PageBody(), "<span style=\"color:#010203;font-weight:bold;\">End</span> x\n");
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

// A sink remembers the look of each attribute it met by the attribute's address: with more
// attributes than it keeps (several sharing a place), some changed between lines and one
// changed back, every line reads as a fresh sink writes it.
TEST(LineExport, ManyAttributesKeepTheirOwnLooks) {
    std::vector<std::unique_ptr<TqvHighLightAttributes>> attributes;
    for (int i = 0; i < 100; ++i) {
        attributes.push_back(std::make_unique<TqvHighLightAttributes>("a" + std::to_string(i)));
        attributes.back()->SetForeground(RGB(i, 7, 9));
    }
    std::mt19937 random(11);
    std::string kept;
    TAnsiExport keeping(kept, TCodePage::Utf8);
    for (int round = 0; round < 40; ++round) {
        for (int i = 0; i < 5; ++i) {
            TqvHighLightAttributes& changed = *attributes[random() % attributes.size()];
            changed.SetForeground(RGB(random() % 3, 7, 9));
            changed.SetStyle(random() % 2 ? fsBold : 0);
        }
        std::string line;
        std::vector<TExportToken> tokens;
        for (int i = 0; i < 150; ++i) {
            tokens.push_back({int(line.size()), attributes[random() % attributes.size()].get()});
            line += "ab";
        }
        tokens.push_back({int(line.size()), nullptr});
        std::string fresh;
        TAnsiExport once(fresh, TCodePage::Utf8);
        once.WriteLine(line, tokens);
        once.Flush();
        kept.clear();
        keeping.WriteLine(line, tokens);
        keeping.Flush();
        ASSERT_EQ(kept, fresh) << "round " << round;
    }
}

TEST(HtmlExport, ThePageInPiecesIsTheWholePage) {
    TzkVbsSyn syn;
    THtmlExport html(TCodePage::Windows1252, syn);
    syn.SetExportSink(&html);
    html.ExportLine(syn, "Dim caf\xe9 ' x");
    html.ExportLine(syn, "If");
    const std::string page = html.Page("p");
    EXPECT_EQ(html.PageHead("p") + html.PageBody() + std::string(THtmlExport::PageTail()), page);
    EXPECT_NE(page.find("<span class=\"t2\">Dim</span>"), std::string::npos);
    EXPECT_NE(page.find("<span class=\"t2\">If</span>"), std::string::npos);
    EXPECT_NE(page.find("caf\xc3\xa9"), std::string::npos);
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
        THtmlExport html(codePage, php);
        std::string wantAnsi, wantHtml;
        for (int n = 0; n < 603; ++n) {
            // Short lines, then a few longer than the sinks put together at a time.
            std::string line(n < 600 ? std::size_t(n % 60) : std::size_t(9000 * (n - 598)), ' ');
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

// A line written whole (short tokens from locals, any other the long way) reads as its tokens
// handed over one by one: random tokens of up to about forty bytes over the bytes that matter
// (replaced ones, characters of two to four bytes split anywhere), in the default look, short
// looks and one whose change is longer than the short ones; lines of every length around the
// sixteen bytes read at a time, past a piece, and with unstyled text after the tokens' end;
// with the bytes after the line readable or not.
TEST(LineExport, AWholeLineReadsAsItsTokensOneByOne) {
    std::mt19937 random(11);
    TzkVbsSyn syn;
    TqvHighLightAttributes wide("Wide");
    wide.SetForeground(RGB(201, 202, 203));
    wide.SetBackground(RGB(1, 2, 3));
    wide.SetStyle(fsBold | fsItalic | fsUnderline | fsStrikeOut);
    const TqvHighLightAttributes* const attributes[] = {
        syn.IdentifierAttri, syn.KeyAttri, syn.StringAttri, syn.CommentAttri, &wide, nullptr};
    const std::string bytes[] = {
        "a",    "b",   " ", "<", "&", "\t", "\x01", "\xc3\xa9", "\xe2\x82\xac", "\xf0\x9f\x98\x80",
        "\x80", "\x7f"};
    for (TCodePage codePage : {TCodePage::Utf8, TCodePage::Windows1252}) {
        std::string ansiWhole, ansiByToken;
        TAnsiExport ansi(ansiWhole, codePage), ansiReference(ansiByToken, codePage);
        THtmlExport html(codePage, syn), htmlReference(codePage, syn);
        for (int n = 0; n < 3000; ++n) {
            std::string text;
            std::vector<TExportToken> tokens;
            const int count = n % 500 == 499 ? 3000 : int(random() % 12);
            for (int t = 0; t < count; ++t) {
                tokens.push_back({int(text.size()), attributes[random() % std::size(attributes)]});
                for (int length = int(random() % 4 == 0 ? random() % 40 : random() % 12);
                     int(text.size()) < tokens.back().start + length;)
                    text += bytes[random() % std::size(bytes)];
            }
            tokens.push_back({int(text.size()), nullptr});
            if (random() % 4 == 0) text += "x \xc3\xa9 <" + std::string(random() % 20, 'y');
            // Followed by as many readable bytes (of other text) as the caller says and no
            // more, so that a read past them is caught by the sanitizers.
            const std::size_t readable = text.size() + (random() % 2 ? 0 : random() % 24);
            const auto line = std::make_unique<char[]>(readable);
            std::fill_n(line.get(), readable, '"');
            std::copy(text.begin(), text.end(), line.get());
            for (TStyledExport* sink :
                 {static_cast<TStyledExport*>(&ansi), static_cast<TStyledExport*>(&html)})
                sink->WriteLine(std::string_view(line.get(), text.size()), tokens, readable);
            for (TStyledExport* sink : {static_cast<TStyledExport*>(&ansiReference),
                                        static_cast<TStyledExport*>(&htmlReference)}) {
                const std::size_t end = std::size_t(tokens.back().start);
                for (std::size_t t = 0; t + 1 < tokens.size(); ++t) {
                    const std::size_t start = std::size_t(tokens[t].start);
                    const std::size_t next = std::size_t(tokens[t + 1].start);
                    if (next > start) // an empty text without attribute would end the line
                        sink->WriteToken(std::string_view(text).substr(start, next - start),
                                         tokens[t].attribute, false, false);
                }
                if (end < text.size()) sink->WriteToken(text.substr(end), nullptr, false, false);
                sink->WriteToken({}, nullptr, false, false);
            }
        }
        ansi.Flush();
        EXPECT_TRUE(ansiWhole == ansiByToken);
        EXPECT_TRUE(html.PageBody() == htmlReference.PageBody());
        EXPECT_NE(html.PageBody().find("<span style="), std::string::npos) << "a long change";
    }
}

} // namespace
} // namespace ondrex
