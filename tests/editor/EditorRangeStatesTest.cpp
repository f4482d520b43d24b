// The start state of every line follows the text through every kind of change, and a
// change rescans no more lines than its effect on the carried state requires.

#include "EditorTestSupport.h"

#include "highlighters/jxPHPSyn.h"

#include <string>

namespace ondrex::test {
namespace {

class CountingPHP : public TjxPHPSyn {
public:
    void StartLine(const char* line, int lineIndex) override {
        ++linesStarted;
        TjxPHPSyn::StartLine(line, lineIndex);
    }
    long long linesStarted = 0;
};

class EditorRangeStates : public EditorTest {
protected:
    EditorRangeStates() { SizeFor(40, 20); }
    ~EditorRangeStates() override { edit.SetHighLighter(nullptr); }

    TqvRangeState State(int index) { return edit.LineStartState(index); }
    void Load(int lines, const std::string& text) {
        std::string block;
        block.reserve(std::size_t(lines) * (text.size() + 1));
        for (int i = 0; i < lines; ++i)
            block.append(text).push_back('\n');
        edit.Lines().LoadFromBlock(std::move(block));
    }

    CountingPHP php;
};

constexpr TqvRangeState kCode = TjxPHPSyn::rsCode;
constexpr TqvRangeState kComment = TjxPHPSyn::rsComment;

TEST_F(EditorRangeStates, AttachingComputesTheStartOfEveryLine) {
    edit.SetText("a = 1;\n/* open\nstill\nclosed */ b\nc");
    edit.SetHighLighter(&php);
    EXPECT_EQ(State(0), kCode);
    EXPECT_EQ(State(1), kCode);
    EXPECT_EQ(State(2), kComment);
    EXPECT_EQ(State(3), kComment);
    EXPECT_EQ(State(4), kCode);
}

TEST_F(EditorRangeStates, OneLineChangeThatKeepsTheStateRescansOneLine) {
    Load(1'000'000, "$x = 1; // note");
    edit.SetHighLighter(&php);
    State(999'999); // every line painted once
    php.linesStarted = 0;
    edit.Lines().Put(500'000, "$y = 'two';");
    EXPECT_EQ(php.linesStarted, 1);
}

TEST_F(EditorRangeStates, OpeningACommentAtTheTopRescansToTheEnd) {
    Load(1'000'000, "$x = 1;");
    edit.SetHighLighter(&php);
    State(999'999);
    php.linesStarted = 0;
    edit.Lines().Put(0, "/* never closed");
    EXPECT_EQ(php.linesStarted, 1'000'000);
    EXPECT_EQ(State(999'999), kComment);

    php.linesStarted = 0;
    edit.Lines().Put(0, "$x = 1;");
    EXPECT_EQ(php.linesStarted, 1'000'000);
    EXPECT_EQ(State(999'999), kCode);
}

TEST_F(EditorRangeStates, ChangedLinesAreTheOnlyOnesRepainted) {
    Load(1000, "$x = 1;");
    edit.SetHighLighter(&php);
    State(999);
    host.ClearRecords();
    edit.Lines().Put(9, "$x = 2;");
    ASSERT_EQ(host.Invalidations.size(), 1u);
    EXPECT_EQ(host.Invalidations[0], (TRect{30, 9 * kLineHeight, 352, 10 * kLineHeight}));

    host.ClearRecords();
    edit.Lines().Put(9, "/* open");
    ASSERT_EQ(host.Invalidations.size(), 1u);
    EXPECT_EQ(host.Invalidations[0], (TRect{30, 9 * kLineHeight, 352, 20 * kLineHeight}))
        << "down to the last visible row";
}

TEST_F(EditorRangeStates, StatesAreComputedOnlyDownToTheLineAskedForAndChangesBelowCostNothing) {
    Load(100'000, "/* a */ $x = 1; /* b");
    edit.SetHighLighter(&php);
    EXPECT_EQ(php.linesStarted, 0) << "a load computes no state";
    EXPECT_EQ(State(0), kCode);
    EXPECT_EQ(State(99), kComment);
    EXPECT_EQ(php.linesStarted, 99);
    EXPECT_FALSE(edit.AllLineStatesKnown());

    php.linesStarted = 0;
    edit.Lines().Put(50'000, "*/ $y = 2;");
    edit.Lines().Insert(60'000, "*/ $z = 3;");
    edit.Lines().Delete(70'000);
    EXPECT_EQ(php.linesStarted, 0) << "no line below the known ones was painted";
    // The last known line changed: the state it passes on is computed when asked for.
    edit.Lines().Put(99, "*/ $closed = 1;");
    EXPECT_EQ(State(100), kCode);
    EXPECT_EQ(State(101), kComment);
    EXPECT_EQ(State(50'001), kCode) << "after the changed line 50,000";
    EXPECT_EQ(State(60'001), kCode) << "after the inserted line";
    EXPECT_EQ(State(60'002), kComment);
    EXPECT_EQ(State(99'999), kComment);

    // Deleting a known line above unknown ones keeps the count of known lines right.
    Load(10, "x");
    edit.Lines().Put(3, "/* open");
    EXPECT_EQ(State(2), kCode);
    edit.Lines().Delete(1);
    edit.Lines().Delete(0);
    EXPECT_EQ(State(0), kCode);
    EXPECT_EQ(State(1), kCode) << "the line that opens the comment is line 1 now";
    EXPECT_EQ(State(2), kComment);
}

TEST_F(EditorRangeStates, InsertedLinesCarryTheirOwnState) {
    edit.SetText("a\nb\nc");
    edit.SetHighLighter(&php);
    // The new line's empty slot equals the code state that line 0 passes on; the line
    // must still be scanned, or the comment it opens would not reach the lines below.
    edit.Lines().Insert(1, "/* open");
    EXPECT_EQ(State(1), kCode);
    EXPECT_EQ(State(2), kComment);
    EXPECT_EQ(State(3), kComment);

    edit.Lines().Insert(0, "*/");
    EXPECT_EQ(State(1), kCode) << "a closing mark outside a comment is code";
    edit.Lines().Delete(2);
    EXPECT_EQ(State(2), kCode);
    EXPECT_EQ(State(3), kCode);
}

TEST_F(EditorRangeStates, DeletingTheOpeningLineClosesTheRest) {
    edit.SetText("a\n/* open\nb\nc");
    edit.SetHighLighter(&php);
    edit.Lines().Delete(1);
    EXPECT_EQ(State(1), kCode);
    EXPECT_EQ(State(2), kCode);
    edit.Lines().Delete(0);
    EXPECT_EQ(State(0), kCode);
}

TEST_F(EditorRangeStates, AppendedAndLoadedLinesAreScanned) {
    edit.SetHighLighter(&php);
    edit.Lines().Add("/* open");
    edit.Lines().Add("x");
    EXPECT_EQ(State(2), kComment);

    Load(3, "/* a */ /* b");
    EXPECT_EQ(State(1), kComment);
    EXPECT_EQ(State(2), kComment);
}

TEST_F(EditorRangeStates, DetachedHighlighterIsNoLongerAsked) {
    edit.SetText("a\nb");
    edit.SetHighLighter(&php);
    edit.SetHighLighter(nullptr);
    php.linesStarted = 0;
    edit.Lines().Put(0, "/* x");
    edit.Lines().Insert(1, "y");
    EXPECT_EQ(php.linesStarted, 0);
}

TEST_F(EditorRangeStates, AttributeChangesRepaintTheEditor) {
    edit.SetHighLighter(&php);
    host.ClearRecords();
    php.KeyAttri->SetForeground(clRed);
    ASSERT_FALSE(host.Invalidations.empty());
    EXPECT_EQ(host.Invalidations.back(), edit.ClientRect());

    edit.SetHighLighter(nullptr);
    host.ClearRecords();
    php.KeyAttri->SetForeground(clBlue);
    EXPECT_TRUE(host.Invalidations.empty()) << "unhooked when detached";
}

} // namespace
} // namespace ondrex::test
