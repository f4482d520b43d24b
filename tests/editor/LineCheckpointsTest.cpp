// Long lines reached through checkpoints against the same lines laid out and highlighted
// whole: cells, columns, pixels and the colours painted far along a line, with tabs, wide,
// invalid and control characters, long tokens and a NUL placed across checkpoint edges.

#include "EditorTestSupport.h"

#include "editor/LineCheckpoints.h"
#include "highlighters/jxPHPSyn.h"
#include "platform/CodePage.h"
#include "platform/SystemColors.h"

#include <algorithm>
#include <map>
#include <numeric>
#include <random>
#include <string>
#include <tuple>
#include <vector>

namespace ondrex::test {
namespace {

constexpr int kSpacing = TLineCheckpoints::kSpacing;

// Pieces chosen so that every kind of character and token lands on checkpoint edges.
std::string RandomLine(std::mt19937& random, std::size_t size, bool withNul) {
    static const std::vector<std::string> pieces = {"a",
                                                    "xyz",
                                                    " ",
                                                    "\t",
                                                    "\xE4\xB8\xAD",
                                                    "\xF0\x9F\x98\x80",
                                                    "\xC3\xA9",
                                                    "\xFF",
                                                    "\x01",
                                                    "$v1",
                                                    "12.5",
                                                    "function",
                                                    "'str'",
                                                    "/* c */",
                                                    "\xEF\xBB\xBF",
                                                    "\"dq\"",
                                                    ";"};
    std::string line;
    while (line.size() < size) {
        const std::size_t edge = (line.size() / kSpacing + 1) * std::size_t(kSpacing);
        if (edge - line.size() < 8 && edge < size) // close to an edge: small steps across it
            line += pieces[random() % pieces.size()];
        else if (random() % 40000 == 0) // a token longer than the spacing between checkpoints
            line += random() % 2 ? "/*" + std::string(kSpacing + random() % 1000, 'c') + "*/"
                                 : "'" + std::string(2 * kSpacing, 's') + "'";
        else
            line += pieces[random() % pieces.size()];
    }
    if (withNul) line[size / 2] = '\0';
    return line;
}

TEST(LineCheckpoints, ALayoutFromACheckpointAgreesWithTheWholeLine) {
    std::mt19937 random(7);
    for (const TCodePage codePage : {TCodePage::Utf8, TCodePage::Windows1252})
        for (const int tabWidth : {1, 4, 8}) {
            const std::string line = RandomLine(random, 4 * kSpacing + 333, false);
            TDisplayCells whole;
            whole.Layout(line, tabWidth, codePage);
            TLineCheckpoints checkpoints(line, 0, tabWidth, codePage);
            TDisplayCells part;
            std::vector<int> bytes = {0, int(line.size()), int(line.size()) + 3};
            for (int k = 1; k <= 4; ++k)
                for (int d = -3; d <= 3; ++d)
                    bytes.push_back(k * kSpacing + d);
            for (int i = 0; i < 200; ++i)
                bytes.push_back(int(random() % line.size()));
            for (const int byte : bytes) {
                const int k = checkpoints.AtByte(byte);
                ASSERT_LE(checkpoints.Cells(k).Byte, byte);
                part.Layout(line.substr(0, std::min<std::size_t>(line.size(), byte + 4)), tabWidth,
                            codePage, INT_MAX, checkpoints.Cells(k));
                ASSERT_EQ(part.CellOfByte(byte), whole.CellOfByte(byte))
                    << "byte " << byte << " tab " << tabWidth;
            }
            for (int i = 0; i < 300; ++i) {
                const double cell = (random() % (whole.Cells() + 10)) + (random() % 4) / 4.0;
                const int k = checkpoints.AtCell(int(cell));
                part.Layout(line, tabWidth, codePage, int(cell) + 8, checkpoints.Cells(k));
                ASSERT_EQ(part.ByteAtCell(cell), whole.ByteAtCell(cell)) << "cell " << cell;
                const int c = int(cell);
                ASSERT_EQ(part.Text().substr(part.TextIndexOfCell(c), 4),
                          whole.Text().substr(whole.TextIndexOfCell(c), 4))
                    << "cell " << c;
                ASSERT_EQ(part.CellOfTextIndex(part.TextIndexOfCell(c)),
                          whole.CellOfTextIndex(whole.TextIndexOfCell(c)));
            }
        }
}

// The slow way: each checkpoint's token found in one scan of the whole line from its start.
std::vector<TTokenCheckpoint> WholeScanTokens(TqvCustomHighLighter& highlighter,
                                              const std::string& line, TqvRangeState range,
                                              const std::vector<int>& checkpointBytes) {
    std::vector<TTokenCheckpoint> tokens = {{0, 0, nullptr, range}};
    highlighter.SetRangeState(range);
    highlighter.StartLine(line.c_str(), 0);
    TqvRangeState after = range;
    while (!highlighter.AtLineEnd() && tokens.size() < checkpointBytes.size()) {
        const int start = highlighter.TokenStart();
        const TqvHighLightAttributes* attribute = highlighter.TokenAttribute();
        after = highlighter.RangeState();
        highlighter.NextToken();
        while (tokens.size() < checkpointBytes.size() &&
               checkpointBytes[tokens.size()] < highlighter.TokenStart())
            tokens.push_back({start, highlighter.TokenStart(), attribute, after});
    }
    // Past a NUL: no token, and the state after the last one.
    const int end = highlighter.TokenStart();
    while (tokens.size() < checkpointBytes.size())
        tokens.push_back({end, end, nullptr, after});
    return tokens;
}

void ExpectSameTokens(TLineCheckpoints& checkpoints, TqvCustomHighLighter& highlighter,
                      TqvRangeState range, const std::vector<TTokenCheckpoint>& expected,
                      const char* how) {
    for (std::size_t k = 0; k < expected.size(); ++k) {
        const TTokenCheckpoint& token = checkpoints.Tokens(int(k), highlighter, range);
        ASSERT_EQ(std::tie(token.Start, token.End, token.Attribute, token.RangeAfter),
                  std::tie(expected[k].Start, expected[k].End, expected[k].Attribute,
                           expected[k].RangeAfter))
            << how << ", checkpoint " << k;
    }
}

// However the tokens are reached (ahead between events, asked for in any order with only
// some cells known, within a scan budget, the start state changing half way), each
// checkpoint holds what one scan of the whole line finds.
TEST(LineCheckpoints, TokensFoundAheadOrOnDemandEqualAWholeScan) {
    std::mt19937 random(5);
    TjxPHPSyn php;
    // Words that are a comment or code by the start state, pieces of every kind, a comment
    // longer than a scanned piece, and a NUL after which the tokens end.
    std::string line;
    while (line.size() < std::size_t(3 * kSpacing))
        line += "w ";
    line += RandomLine(random, 20 * kSpacing, false);
    line += "/*" + std::string(std::size_t(24 * kSpacing), 'c') + "*/ $x = 1; ";
    line += RandomLine(random, 6 * kSpacing, false);
    line[line.size() - 2 * kSpacing] = '\0';
    constexpr TqvRangeState kCode = TjxPHPSyn::rsCode, kComment = TjxPHPSyn::rsComment;

    std::vector<int> bytes;
    {
        TLineCheckpoints cells(line, 0, 4, TCodePage::Utf8);
        for (int k = 0, last = cells.AtByte(int(line.size())); k <= last; ++k)
            bytes.push_back(cells.Cells(k).Byte);
    }
    const auto wholeCode = WholeScanTokens(php, line, kCode, bytes);
    const auto wholeComment = WholeScanTokens(php, line, kComment, bytes);
    ASSERT_NE(wholeCode[1].Attribute, wholeComment[1].Attribute) << "the start state matters";
    const auto make = [&] { return TLineCheckpoints(line, 0, 4, TCodePage::Utf8); };

    {
        TLineCheckpoints ahead = make();
        int steps = 0;
        for (; !ahead.Complete(&php, kComment); ++steps)
            ahead.WorkAhead(&php, kComment);
        EXPECT_GT(steps, 5) << "a little at a time";
        ExpectSameTokens(ahead, php, kComment, wholeComment, "ahead");
    }
    {
        // Asked for in random order, each time with only the cells up to it known.
        TLineCheckpoints asked = make();
        std::vector<int> order(bytes.size());
        std::iota(order.begin(), order.end(), 0);
        std::shuffle(order.begin(), order.end(), random);
        for (const int k : order) {
            ASSERT_EQ(asked.AtByte(bytes[std::size_t(k)]), k);
            const TTokenCheckpoint& token = asked.Tokens(k, php, kCode);
            ASSERT_EQ(std::tie(token.Start, token.End, token.Attribute, token.RangeAfter),
                      std::tie(wholeCode[k].Start, wholeCode[k].End, wholeCode[k].Attribute,
                               wholeCode[k].RangeAfter))
                << "asked for checkpoint " << k;
        }
    }
    {
        // A budget reaches what is near and refuses what is far at no cost; the start
        // state changes half way through the work ahead.
        TLineCheckpoints mixed = make();
        const int last = mixed.AtByte(int(line.size()));
        std::size_t budget = 2u << 20;
        EXPECT_EQ(mixed.Tokens(last, php, kComment, budget), nullptr);
        EXPECT_EQ(budget, 2u << 20) << "nothing spent on what cannot be reached";
        ASSERT_NE(mixed.Tokens(5, php, kComment, budget), nullptr);
        EXPECT_LT(budget, 2u << 20);
        mixed.WorkAhead(&php, kComment);
        ASSERT_FALSE(mixed.Complete(&php, kComment));
        EXPECT_FALSE(mixed.Complete(&php, kCode));
        while (!mixed.Complete(&php, kCode))
            mixed.WorkAhead(&php, kCode);
        ExpectSameTokens(mixed, php, kCode, wholeCode, "after the start state changed");
        EXPECT_FALSE(mixed.Complete(&php, kComment));
        EXPECT_TRUE(mixed.Complete(nullptr, 0)) << "no highlighter: the cells are all";
    }
}

// What a paint showed on row 0: per cell, the character drawn there and its colour.
struct TShown {
    std::string Text;
    TColor Color;
    bool operator==(const TShown&) const = default;
};

class LongLineEditor : public EditorTest {
protected:
    static constexpr int kColumns = 40;

    LongLineEditor() {
        SizeFor(kColumns, 3);
        php.CommentAttri->SetForeground(clGreen);
        php.StringAttri->SetForeground(clRed);
        php.KeyAttri->SetForeground(clNavy);
        php.NumberAttri->SetForeground(clPurple);
        php.VariableAttri->SetForeground(clTeal);
        php.SymbolAttri->SetForeground(clOlive);
        php.InvalidSymbolAttri->SetForeground(clMaroon);
        edit.SetHighLighter(&php);
    }
    ~LongLineEditor() override { edit.SetHighLighter(nullptr); }

    std::map<int, TShown> Painted(int row) {
        std::map<int, TShown> shown;
        for (const TDrawCall& call : host.PaintAll().CallsOf(TDrawKind::Text)) {
            if (call.Rect.Top != row * kLineHeight || call.Rect.Left < 32) continue;
            int x = call.Points[0].X;
            for (std::size_t i = 0; i < call.Text.size(); ++i) {
                if (call.Advances[i] == 0) continue;
                std::size_t n = 1;
                while (i + n < call.Text.size() && call.Advances[i + n] == 0)
                    ++n;
                if (x >= call.Rect.Left && x < call.Rect.Right)
                    shown[(x - edit.TextOffset()) / kCharWidth] = {call.Text.substr(i, n),
                                                                   call.Color};
                x += call.Advances[i];
            }
        }
        return shown;
    }

    // The slow way: the whole line laid out, its tokens read from its start in `range`.
    std::map<int, TShown> Expected(const std::string& line, TqvRangeState range) {
        std::vector<TColor> colors(line.size(), ColorToRGB(edit.Font().Color()));
        const std::string copy = line;
        php.SetRangeState(range);
        for (php.StartLine(copy.c_str(), 0); !php.AtLineEnd(); php.NextToken())
            if (const TqvHighLightAttributes* a = php.TokenAttribute();
                a && a->Foreground() != clNone)
                for (std::size_t b = php.TokenStart();
                     b < php.TokenStart() + php.TokenView().size(); ++b)
                    colors[b] = ColorToRGB(a->Foreground());
        TDisplayCells whole;
        whole.Layout(line, edit.TabWidth(), ActiveCodePage());
        std::map<int, TShown> shown;
        const int first = edit.LeftColumn() - 1;
        for (int c = first; c < first + kColumns && c < whole.Cells(); ++c) {
            const int index = whole.TextIndexOfCell(c);
            if (whole.CellOfTextIndex(index) != c) continue; // the right half of a wide one
            int end = index + 1;
            while (end < int(whole.Text().size()) && whole.CellWidthAt(end) == 0)
                ++end;
            shown[c] = {std::string(whole.Text().substr(index, end - index)),
                        colors[std::size_t(whole.ByteAtCell(c))]};
        }
        return shown;
    }

    // Blanks take the colour of the run before them: only their place is compared.
    static void ExpectSame(std::map<int, TShown> painted, std::map<int, TShown> expected,
                           int left) {
        for (auto* shown : {&painted, &expected})
            for (auto& [cell, what] : *shown)
                if (what.Text == " ") what.Color = clNone;
        ASSERT_EQ(painted, expected) << "left column " << left;
    }

    TjxPHPSyn php;
};

TEST_F(LongLineEditor, CaretPixelsAndPaintFarAlongALineAgreeWithTheWholeLine) {
    std::mt19937 random(11);
    // Words first, which are a comment or code by the state the line starts in.
    std::string line;
    for (int i = 0; i < kSpacing; ++i)
        line += "w ";
    line += RandomLine(random, 4 * kSpacing + 77, true);
    edit.SetText("/* open\n" + line + "\nx");
    const auto checkAt = [&](int left, TqvRangeState range) {
        edit.SetLeftColumn(left);
        ExpectSame(Painted(1), Expected(line, range), edit.LeftColumn());
    };
    TDisplayCells whole;
    const auto checkCaretAndMouse = [&](int column) {
        const TPoint pixel = edit.RowColumnToPixels({column, 2});
        ASSERT_EQ(pixel.X, whole.CellOfByte(column - 1) * kCharWidth + edit.TextOffset())
            << "column " << column;
        const int x = pixel.X + int(random() % 30) - 10;
        ASSERT_EQ(edit.PixelsToRowColumn({x, kLineHeight + 1}).X,
                  whole.ByteAtCell(double(x - edit.TextOffset()) / kCharWidth) + 1)
            << "pixel " << x;
    };

    for (const int tabWidth : {8, 3}) {
        edit.SetTabWidth(tabWidth);
        whole.Layout(line, tabWidth, ActiveCodePage());
        for (int i = 0; i < 25; ++i) {
            const int cell = i < 5 ? whole.CellOfByte(i * kSpacing + kSpacing) - int(random() % 3)
                                   : int(random() % whole.Cells());
            checkAt(cell, TjxPHPSyn::rsComment);
            checkCaretAndMouse(int(random() % line.size()) + 1);
        }
        edit.SetCaretPos({1, 2});
        edit.ExecuteCommand(ecLineEnd, {}, nullptr);
        EXPECT_EQ(edit.CaretPos(), (TPoint{int(line.size()) + 1, 2}));
        checkCaretAndMouse(int(line.size()) + 1);
        ExpectSame(Painted(1), Expected(line, TjxPHPSyn::rsComment), edit.LeftColumn());
    }

    // The line above no longer leaves a comment open: the line starts in code.
    edit.Lines().Put(0, "$open = 1;");
    checkAt(kSpacing + 1000, TjxPHPSyn::rsCode);
    checkAt(whole.Cells() / 2, TjxPHPSyn::rsCode);
    // The long line itself changes: a character in front moves every cell by one.
    line = "\t" + line;
    edit.Lines().Put(1, line);
    whole.Layout(line, edit.TabWidth(), ActiveCodePage());
    checkAt(whole.Cells() / 3, TjxPHPSyn::rsCode);
    checkCaretAndMouse(int(line.size()) - 5);
}

// End at once on a line longer than a paint scans: the caret is there and the row plain; the
// work between events then brings its colours, also when the start state, the line, the
// text or the read-only flag change while it is half done.
TEST_F(LongLineEditor, ALongLineIsWorkedOutBetweenEventsWhateverChangesMeanwhile) {
    std::mt19937 random(3);
    std::string line;
    for (int i = 0; i < kSpacing; ++i)
        line += "w ";
    line += RandomLine(random, std::size_t(12) << 20, false);
    edit.SetText("/* open\n" + line + "\nx");
    const auto pending = [&] {
        const TTimer* timer = edit.CheckpointsTimer();
        return timer && timer->Enabled();
    };
    const auto tick = [&] { edit.CheckpointsTimer()->OnTimer()(nullptr); };
    const auto finish = [&] {
        for (int i = 0; pending() && i < 100000; ++i)
            tick();
    };

    edit.SetCaretPos({1, 2});
    edit.ExecuteCommand(ecLineEnd, {}, nullptr);
    EXPECT_EQ(edit.CaretPos(), (TPoint{int(line.size()) + 1, 2}));
    const std::map<int, TShown> plain = Painted(1);
    ASSERT_FALSE(plain.empty());
    for (const auto& [cell, shown] : plain)
        ASSERT_EQ(shown.Color, ColorToRGB(edit.Font().Color())) << "cell " << cell;
    ASSERT_TRUE(pending());
    host.ClearRecords();
    finish();
    ASSERT_FALSE(pending());
    ASSERT_FALSE(host.Invalidations.empty()) << "the plain row is painted again";
    EXPECT_EQ(host.Invalidations.back().Top, kLineHeight);
    ExpectSame(Painted(1), Expected(line, TjxPHPSyn::rsComment), edit.LeftColumn());

    // The line above stops opening a comment while the work is half done.
    edit.Lines().Put(0, "$open = 1;");
    Painted(1);
    tick();
    ASSERT_TRUE(pending());
    edit.SetReadOnly(true);
    finish();
    ExpectSame(Painted(1), Expected(line, TjxPHPSyn::rsCode), edit.LeftColumn());

    // The long line itself changes half way.
    line = "\t" + line;
    edit.Lines().Put(1, line);
    Painted(1);
    tick();
    ASSERT_TRUE(pending());
    edit.SetReadOnly(false);
    line.resize(line.size() - 100);
    edit.Lines().Put(1, line);
    finish();
    ExpectSame(Painted(1), Expected(line, TjxPHPSyn::rsCode), edit.LeftColumn());

    // Another text comes half way; its long line is in the same place.
    Painted(1);
    line = RandomLine(random, std::size_t(9) << 20, false);
    edit.SetText("/* open\n" + line);
    edit.SetCaretPos({1, 2});
    edit.ExecuteCommand(ecLineEnd, {}, nullptr);
    Painted(1);
    tick();
    ASSERT_TRUE(pending());
    finish();
    ExpectSame(Painted(1), Expected(line, TjxPHPSyn::rsComment), edit.LeftColumn());
}

// 160 M cells of tabs: wider than an int of pixels at 8 pixels a cell. End still brings the
// line's end on screen, with the caret and the text there where their cells are.
TEST_F(LongLineEditor, ALineWiderThanAnIntOfPixelsScrollsToItsEnd) {
    edit.SetHighLighter(nullptr);
    const std::string line = std::string(std::size_t(20) << 20, '\t') + "end";
    const int cells = (20 << 20) * 8 + 3;
    edit.SetText(line);
    edit.SetCaretPos({1, 1});
    edit.ExecuteCommand(ecLineEnd, {}, nullptr);
    ASSERT_EQ(edit.CaretPos(), (TPoint{int(line.size()) + 1, 1}));
    const int firstShown = edit.LeftColumn() - 1;
    EXPECT_GE(firstShown, cells - kColumns);
    const TPoint caret = edit.RowColumnToPixels(edit.CaretPos());
    EXPECT_EQ(caret.X, edit.GutterWidth() + 2 + (cells - firstShown) * kCharWidth);
    EXPECT_EQ(edit.PixelsToRowColumn({caret.X - kCharWidth - 6, 1}).X, int(line.size()) - 1);
    const std::map<int, TShown> shown = Painted(0);
    ASSERT_EQ(shown.count(cells - 3), 1u);
    EXPECT_EQ(shown.at(cells - 3).Text + shown.at(cells - 2).Text + shown.at(cells - 1).Text,
              "end");
    EXPECT_EQ(shown.at(cells - 4).Text, " ");
    EXPECT_EQ(shown.begin()->first, firstShown);
}

} // namespace
} // namespace ondrex::test
