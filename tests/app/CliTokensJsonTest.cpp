#include "app/CliTokensJson.h"

#include "app/CliSupport.h"
#include "highlighters/THighlighterList.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace ondrex::cli {
namespace {

// The line's object written the plain way: string appends and the shared JSON string escape.
std::string plainLine(TqvCustomHighLighter& h, int lineNumber, TqvRangeState range,
                      TCodePage codePage) {
    std::string text = "{\"line\": ";
    AppendNumber(text, lineNumber);
    text += ", \"range\": ";
    AppendNumber(text, range);
    text += ", \"tokens\": [";
    for (bool first = true; !h.AtLineEnd(); first = false) {
        text += first ? "[" : ", [";
        AppendNumber(text, h.TokenKind());
        text += ", ";
        AppendNumber(text, h.TokenStart());
        text += ", ";
        AppendJsonString(text, h.TokenText(), codePage);
        text += ']';
        h.NextToken();
    }
    return text + "]}\n";
}

// Every byte value, in both code pages, in lines long enough for token starts of three and
// more digits and for strings and comments that run on: the table-driven writer gives the
// same text as the plain one.
TEST(TokensJson, WritesWhatThePlainWriterWrites) {
    const char* pieces[] = {"Dim ", "\"",   "'",        "x",    "  ",   "\t", "<%",
                            "%>",   "/*",   "*/",       "//",   "#",    "$a", "\\",
                            "\x7f", "\x01", "\xc3\xa9", "\x80", "\xff", "12"};
    std::mt19937 rng(77);
    const THighlighterList& list = THighlighterList::Instance();
    for (int l = 0; l < list.Count(); ++l)
        for (TCodePage codePage : {TCodePage::Utf8, TCodePage::Windows1252}) {
            auto fast = list[l].Create(), plain = list[l].Create();
            TTokensJson json(*fast, codePage);
            std::string want;
            TqvRangeState range = fast->RangeState();
            for (int lineNumber = 1; lineNumber <= 300; ++lineNumber) {
                std::string line;
                const int n = int(rng() % 90);
                for (int i = 0; i < n; ++i) {
                    const int pick = int(rng() % (std::size(pieces) + 4));
                    line += pick < int(std::size(pieces)) ? std::string(pieces[pick])
                                                          : std::string(1, char(rng() % 128));
                }
                for (auto* h : {fast.get(), plain.get()}) {
                    h->SetRangeState(range);
                    h->StartLine(line.c_str(), lineNumber - 1);
                }
                json.AppendLine(lineNumber, range);
                want += plainLine(*plain, lineNumber, range, codePage);
                range = fast->RangeState();
            }
            ASSERT_EQ(json.Text(), want) << list[l].Language;
            json.Clear();
            EXPECT_TRUE(json.Text().empty());
        }
}

// A line of megabytes with comments and strings far longer than a slice, multi-byte and
// invalid bytes and escapes wherever a slice may end: written out in pieces of about a MiB
// as it goes, the pieces together are what the plain writer gives for the whole line.
TEST(TokensJson, ALongLineGoesOutInPiecesThatJoinToTheWhole) {
    const char* pieces[] = {
        "\xc3\xa9", "\xe4\xb8\xad", "\xf0\x9f\x98\x80", "\xff", "\x80", "\"", "\\", "\x01", "a"};
    std::mt19937 rng(5);
    std::string comment;
    while (comment.size() < 300000)
        comment += pieces[rng() % std::size(pieces)];
    std::string line;
    for (int i = 0; i < 40000; ++i)
        line += "x = 1 ' ";
    line += "/* " + comment + " */ \"" + comment + "\" ' " + comment;
    const THighlighterList& list = THighlighterList::Instance();
    for (const char* language : {"javascript", "vbscript"})
        for (TCodePage codePage : {TCodePage::Utf8, TCodePage::Windows1252}) {
            auto fast = list.FindByLanguage(language)->Create();
            auto plain = list.FindByLanguage(language)->Create();
            std::string written;
            std::size_t largest = 0;
            TTokensJson json(*fast, codePage, [&](std::string_view text) {
                written += text;
                largest = std::max(largest, text.size());
            });
            for (auto* h : {fast.get(), plain.get()})
                h->StartLine(line.c_str(), 0);
            json.AppendLine(1, 0);
            json.Flush();
            EXPECT_TRUE(json.Text().empty());
            ASSERT_EQ(written, plainLine(*plain, 1, 0, codePage)) << language;
            EXPECT_GT(written.size(), 1u << 20);
            EXPECT_LT(largest, (1u << 20) + 6 * 65536) << "written as it goes";
        }
}

} // namespace
} // namespace ondrex::cli
