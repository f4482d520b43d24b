#include "app/lsp/TextDocument.h"

#include <gtest/gtest.h>

#include <random>

namespace ondrex::lsp {
namespace {

std::vector<std::string> linesOf(const TTextDocument& d) {
    std::vector<std::string> out;
    for (int i = 0; i < d.LineCount(); ++i)
        out.emplace_back(d.Line(i));
    return out;
}

std::string joined(const std::vector<std::string>& lines) {
    std::string text;
    for (std::size_t i = 0; i < lines.size(); ++i)
        text += (i ? "\n" : "") + lines[i];
    return text;
}

// The slow reference: the text as one string, edited there, split again.
void replaceInReference(std::vector<std::string>& lines, TBytePosition a, TBytePosition b,
                        const std::string& text) {
    std::string all = joined(lines);
    auto offset = [&](TBytePosition p) {
        std::size_t o = 0;
        for (int i = 0; i < p.line; ++i)
            o += lines[std::size_t(i)].size() + 1;
        return o + p.column;
    };
    all.replace(offset(a), offset(b) - offset(a), text);
    lines.clear();
    std::size_t start = 0;
    for (std::size_t i = 0; i <= all.size(); ++i)
        if (i == all.size() || all[i] == '\n') {
            lines.push_back(all.substr(start, i - start));
            start = i + 1;
        }
}

TEST(TextDocument, RandomEditsGiveTheTextAndStartStatesOfTheSameTextOpenedAfresh) {
    const char* pieces[] = {"a", "/*", "*/", "\n", "\"", "'", "x = 1", "\r\n", "// c", "é"};
    std::mt19937 random(22);
    TTextDocument document("file:///t.php", "php", "<?php $a = 1;\n/* b */\nc();\n");
    std::vector<std::string> reference = linesOf(document);
    document.LoadState(0); // the states exist from here on: every edit rescans incrementally
    for (int round = 0; round < 400; ++round) {
        auto place = [&] {
            const int line = int(random() % reference.size());
            return TBytePosition{line, random() % (reference[std::size_t(line)].size() + 1)};
        };
        TBytePosition a = place(), b = place();
        if (b.line < a.line || (b.line == a.line && b.column < a.column)) std::swap(a, b);
        std::string text;
        for (int k = int(random() % 4); k > 0; --k)
            text += pieces[random() % std::size(pieces)];
        document.Replace(a, b, text);
        // The reference knows one line break only: "\r\n" reads as one.
        for (std::size_t p; (p = text.find("\r\n")) != std::string::npos;)
            text.erase(p, 1);
        replaceInReference(reference, a, b, text);
        ASSERT_EQ(linesOf(document), reference) << "round " << round;

        TTextDocument fresh("file:///t.php", "php", joined(reference));
        for (int i = 0; i < document.LineCount(); ++i) {
            document.LoadState(i);
            fresh.LoadState(i);
            ASSERT_EQ(document.Highlighter().RangeState(), fresh.Highlighter().RangeState())
                << "round " << round << " line " << i;
        }
    }
}

TEST(TextDocument, AnEditRescansOnlyTheLinesWhoseStartStateItChanged) {
    std::string text;
    for (int i = 0; i < 2000; ++i)
        text += "$v" + std::to_string(i) + " = 'text'; // note\n";
    TTextDocument document("file:///big.php", "php", "<?php\n" + text);
    document.LoadState(0);

    document.Replace({1000, 4}, {1000, 5}, "w"); // one character, no state changes
    EXPECT_EQ(document.LastRescan(), (std::pair<int, int>{1000, 1000}));
    document.Replace({1000, 0}, {1000, 0}, "/*"); // every later line is now in a comment
    // (line 0 is "<?php", the last one is empty)
    EXPECT_EQ(document.LastRescan(), (std::pair<int, int>{1000, 2001}));
    document.Replace({1500, 0}, {1500, 0}, "*/"); // the comment ends again
    EXPECT_EQ(document.LastRescan(), (std::pair<int, int>{1500, 2001}));
    document.Replace({1000, 0}, {1000, 2}, ""); // and without its start the two end at once
    EXPECT_EQ(document.LastRescan(), (std::pair<int, int>{1000, 1500}));
}

} // namespace
} // namespace ondrex::lsp
