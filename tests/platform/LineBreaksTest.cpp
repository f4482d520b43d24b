#include "platform/LineBreaks.h"

#include "platform/RichTextBuffer.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace ondrex {
namespace {

using namespace std::string_literals;

std::vector<std::string> split(std::string_view block) {
    std::vector<std::string> out;
    TLineSplitter s(block);
    std::string_view line;
    // A splitter that stops moving fails the comparison instead of hanging.
    while (out.size() <= block.size() && s.Next(line))
        out.emplace_back(line);
    return out;
}

// The rule written the slow way.
std::vector<std::string> reference(const std::string& b) {
    std::vector<std::string> out;
    std::string cur;
    std::size_t i = 0;
    bool open = false;
    while (i < b.size()) {
        char c = b[i];
        if (c == '\r' || c == '\n') {
            out.push_back(cur);
            cur.clear();
            open = false;
            i += (c == '\r' && i + 1 < b.size() && b[i + 1] == '\n') ? 2 : 1;
        } else {
            cur += c;
            open = true;
            ++i;
        }
    }
    if (open) out.push_back(cur);
    return out;
}

TEST(LineBreaks, BreaksAtCrLfAndCrLfWithoutAnExtraLastLine) {
    EXPECT_EQ(split(""), std::vector<std::string>{});
    EXPECT_EQ(split("a"), std::vector<std::string>{"a"});
    EXPECT_EQ(split("a\r\n"), std::vector<std::string>{"a"});
    EXPECT_EQ(split("a\n\n"), (std::vector<std::string>{"a", ""}));
    EXPECT_EQ(split("a\n\r"), (std::vector<std::string>{"a", ""}));
    EXPECT_EQ(split("\0\r\n\0"s), (std::vector<std::string>{"\0"s, "\0"s}));
    EXPECT_EQ(CountLines("x\ry\r\nz\n"), 3u);
}

TEST(LineBreaks, EveryUserAgreesWithTheRuleOnRandomBlocks) {
    std::mt19937 rng(7);
    // Also bytes that differ from a break in the lowest bit (a borrow in the eight-byte test).
    const char alphabet[] = {'a', ' ', '\r', '\n', '\0', '\x1a', char(0xC3), '\x0b', '\x0c'};
    for (int round = 0; round < 2000; ++round) {
        std::string b;
        int n = int(rng() % 64);
        for (int i = 0; i < n; ++i)
            b += alphabet[rng() % sizeof alphabet];
        const std::vector<std::string> lines = reference(b);
        ASSERT_EQ(split(b), lines) << round;
        ASSERT_EQ(CountLines(b), lines.size());
        ASSERT_EQ(CountLineBreaks(b), lines.size() - (b.empty() || EndsInLineBreak(b) ? 0 : 1));
        TRichTextBuffer printed;
        printed.SetText(b);
        ASSERT_EQ(printed.Lines(), lines) << round;
    }
}

} // namespace
} // namespace ondrex
