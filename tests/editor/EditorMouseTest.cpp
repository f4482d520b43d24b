// Mouse sequences on the test host: clicks, Shift+click, double-click, drag-selection with
// automatic scrolling past each edge, a press inside the selection, dragging the selection
// to move or copy it with one step of undo, gutter clicks, and clicks on lines with tabs
// and wide characters.

#include "EditorTestSupport.h"

#include "platform/SystemColors.h"

#include <string>
#include <vector>

namespace ondrex::test {
namespace {

class EditorMouse : public EditorTest {
protected:
    static constexpr int kText = 32; // the default gutter and its 2-pixel strip

    EditorMouse() {
        SizeFor(20, 5);
        host.Focus();
    }

    // A point in the left half of a cell, so it lands before that character.
    TPoint At(int column, int line) const {
        return {kText + (column - 1 - (edit.LeftColumn() - 1)) * kCharWidth + 1,
                (line - edit.TopLine()) * kLineHeight + 5};
    }
    void Down(TPoint p, TShiftState shift = 0) {
        host.SendMouseDown(TMouseButton::mbLeft, ssLeft | shift, p.X, p.Y);
    }
    void Move(TPoint p, TShiftState shift = 0) { host.SendMouseMove(ssLeft | shift, p.X, p.Y); }
    void Up(TPoint p, TShiftState shift = 0) {
        host.SendMouseUp(TMouseButton::mbLeft, shift, p.X, p.Y);
    }
    void Click(TPoint p, TShiftState shift = 0) {
        Down(p, shift);
        Up(p, shift);
    }
    void Select(TPoint from, TPoint to) {
        edit.SetSelectionStart(from);
        edit.SetSelectionEnd(to);
    }
    // Presses inside the selection, moves past the drag distance and drops at `to`.
    void DragSelection(TPoint from, TPoint to) {
        Down(from);
        Move({from.X + 6, from.Y});
        ASSERT_TRUE(host.Dragging());
        Move(to);
        Up(to);
    }
    void Tick() {
        ASSERT_NE(edit.AutoScrollTimer(), nullptr);
        edit.AutoScrollTimer()->OnTimer()(nullptr);
    }
    std::string Line(int line) const { return std::string(edit.Lines().Get(line - 1)); }
};

TEST_F(EditorMouse, ClickPlacesTheCaretAndCollapsesTheSelection) {
    edit.SetText("hello world\nsecond");
    Select({1, 1}, {6, 1});
    Down(At(4, 2));
    EXPECT_TRUE(host.MouseCapture());
    Up(At(4, 2));
    EXPECT_FALSE(host.MouseCapture());
    EXPECT_EQ(edit.CaretPos(), (TPoint{4, 2}));
    EXPECT_EQ(edit.SelectionStart(), (TPoint{4, 2}));
    EXPECT_FALSE(edit.HasSelection());

    Click({At(3, 1).X + 5, At(3, 1).Y});
    EXPECT_EQ(edit.CaretPos(), (TPoint{4, 1})) << "the right half of a character: after it";
}

TEST_F(EditorMouse, ShiftClickExtendsFromTheAnchor) {
    edit.SetText("hello world\nsecond");
    Click(At(2, 1));
    Click(At(5, 2), ssShift);
    EXPECT_EQ(edit.SelectionStart(), (TPoint{2, 1}));
    EXPECT_EQ(edit.SelectionEnd(), (TPoint{5, 2}));
    EXPECT_EQ(edit.CaretPos(), (TPoint{5, 2}));

    edit.SetOptions(edit.Options() | qveoNoSelection);
    Click(At(2, 1));
    Click(At(5, 2), ssShift);
    EXPECT_FALSE(edit.HasSelection());
}

TEST_F(EditorMouse, DoubleClickSelectsTheWordButNotInTheGutter) {
    edit.SetText("foo_bar(x) tail");
    struct Counter {
        int clicks = 0;
        void Count(TObject*) { ++clicks; }
    } counter;
    edit.OnDblClick = TNotifyEvent::bind<&Counter::Count>(&counter);
    Click(At(5, 1));
    host.SendDoubleClick(TMouseButton::mbLeft, ssLeft, At(5, 1).X, At(5, 1).Y);
    Move(At(12, 1));
    Up(At(12, 1));
    EXPECT_EQ(edit.SelectionStart(), (TPoint{1, 1}));
    EXPECT_EQ(edit.SelectionEnd(), (TPoint{8, 1})) << "not extended by the move after it";
    EXPECT_EQ(counter.clicks, 1);

    Click(At(13, 1));
    host.SendDoubleClick(TMouseButton::mbLeft, ssLeft, 5, 5);
    Up({5, 5});
    EXPECT_FALSE(edit.HasSelection());
    EXPECT_EQ(counter.clicks, 2);
}

TEST_F(EditorMouse, DragSelectionFollowsThePointer) {
    edit.SetText("hello world\nsecond line");
    Down(At(2, 1));
    Move(At(6, 2));
    EXPECT_EQ(edit.SelectionStart(), (TPoint{2, 1}));
    EXPECT_EQ(edit.SelectionEnd(), (TPoint{6, 2}));
    Move(At(3, 1));
    Up(At(3, 1));
    EXPECT_EQ(edit.SelectionEnd(), (TPoint{3, 1}));
    EXPECT_EQ(edit.CaretPos(), (TPoint{3, 1}));
}

TEST_F(EditorMouse, DragSelectionBelowAndAboveScrollsByLineOrPage) {
    FillLines(50);
    Down(At(2, 1));
    const int bottom = edit.ClientHeight();
    Move({60, bottom + 3});
    EXPECT_EQ(edit.TopLine(), 2) << "a first step at once";
    EXPECT_EQ(edit.SelectionEnd().Y, 6) << "the last visible line";
    EXPECT_TRUE(edit.AutoScrollTimer()->Enabled());
    EXPECT_EQ(edit.AutoScrollTimer()->Interval(), 100);
    Tick();
    EXPECT_EQ(edit.TopLine(), 3) << "and one per tick while the pointer stays out";
    host.SetPointer({60, bottom + 20});
    Tick();
    EXPECT_EQ(edit.TopLine(), 8) << "far below: a page";
    host.SetPointer({60, bottom + 50});
    Tick();
    EXPECT_EQ(edit.AutoScrollTimer()->Interval(), 10) << "very far: no pause between steps";

    host.SetPointer({60, -3});
    Tick();
    EXPECT_EQ(edit.TopLine(), 12);
    EXPECT_EQ(edit.SelectionEnd().Y, 12) << "the first visible line";
    host.SetPointer({60, -20});
    Tick();
    EXPECT_EQ(edit.TopLine(), 7);

    Move(At(3, 8));
    EXPECT_FALSE(edit.AutoScrollTimer()->Enabled()) << "back inside: no more steps";
    Up(At(3, 8));
    EXPECT_EQ(edit.SelectionStart(), (TPoint{2, 1}));
    EXPECT_EQ(edit.SelectionEnd(), (TPoint{3, 8}));
}

TEST_F(EditorMouse, DragSelectionLeftAndRightScrollsByColumns) {
    edit.SetText(std::string(200, 'x') + "\n" + std::string(200, 'y'));
    Down(At(3, 1));
    Move({edit.ClientWidth() + 2, 5});
    EXPECT_EQ(edit.LeftColumn(), 2);
    EXPECT_EQ(edit.SelectionEnd(), (TPoint{2 + 20, 1})) << "the column past the last visible";
    host.SetPointer({edit.ClientWidth() + 15, 5});
    Tick();
    EXPECT_EQ(edit.LeftColumn(), 10);
    host.SetPointer({10, 5});
    Tick();
    EXPECT_EQ(edit.LeftColumn(), 2);
    EXPECT_EQ(edit.SelectionEnd(), (TPoint{2, 1}));
    Up({10, 5});
    EXPECT_FALSE(edit.AutoScrollTimer()->Enabled());
    Tick();
    EXPECT_EQ(edit.LeftColumn(), 2) << "a tick after the release does nothing";
}

TEST_F(EditorMouse, PressInsideTheSelectionAndReleaseCollapsesThere) {
    edit.SetText("hello world");
    Select({1, 1}, {8, 1});
    EXPECT_EQ(host.CursorAt(At(3, 1).X, At(3, 1).Y), crArrow);
    Down(At(3, 1));
    EXPECT_TRUE(edit.HasSelection()) << "it may still become a drag";
    Move({At(3, 1).X + 2, At(3, 1).Y}); // within the drag distance
    EXPECT_FALSE(host.Dragging());
    Up(At(5, 1));
    EXPECT_FALSE(edit.HasSelection());
    EXPECT_EQ(edit.CaretPos(), (TPoint{5, 1}));
}

TEST_F(EditorMouse, DraggingMovesTheTextAndOneUndoTakesItBack) {
    edit.SetText("abcdef ghij\nklm");
    Select({1, 1}, {4, 1});
    DragSelection(At(2, 1), At(9, 1)); // before h
    EXPECT_EQ(Line(1), "def gabchij");
    EXPECT_EQ(edit.CaretPos(), (TPoint{9, 1})) << "after the dropped text";
    edit.Undo();
    EXPECT_EQ(Line(1), "abcdef ghij");
    EXPECT_FALSE(edit.CanUndo());

    // Onto the next line, before the selection's line moves up.
    edit.SetText("one\ntwo\nthree");
    Select({1, 1}, {1, 2}); // "one" and its line break
    DragSelection(At(2, 1), At(3, 3));
    EXPECT_EQ(edit.Text(), "two\r\nthone\r\nree");
}

// Moving text off a line's end trims the tab before it; undo gives the tab back, for a
// stream and for a column block, and a drop is a new edit that empties the redo list.
TEST_F(EditorMouse, UndoOfADragMoveGivesBackTheTrimmedTab) {
    const std::string original = "ab\tcd\r\nxy\r\nlast line";
    struct Case {
        TSelectionMode mode;
        TPoint end;
        std::string moved;
    };
    for (const Case& c : {Case{smNormal, {6, 1}, "ab\r\nxy\r\nlacdst line"},
                          Case{smColumn, {6, 2}, "ab\r\nxy\r\nlacd\r\n  st line"}}) {
        edit.SetText(original);
        edit.SetSelectionMode(c.mode);
        Select({4, 1}, c.end);
        DragSelection(At(10, 1), At(3, 3)); // "cd" is shown after the tab
        EXPECT_EQ(edit.Text(), c.moved);
        edit.Undo();
        EXPECT_EQ(edit.Text(), original);
        edit.Redo();
        EXPECT_EQ(edit.Text(), c.moved);
        edit.Undo();
    }
    ASSERT_TRUE(edit.CanRedo());
    Select({1, 3}, {3, 3});
    DragSelection(At(2, 3), At(1, 1));
    EXPECT_FALSE(edit.CanRedo());
}

TEST_F(EditorMouse, CtrlDraggingCopiesAndOneUndoRemovesTheCopy) {
    edit.SetText("abcdef ghij");
    Select({1, 1}, {4, 1});
    Down(At(2, 1));
    host.SetKeyboardState(ssCtrl);
    Move(At(5, 1));
    Move(At(9, 1));
    EXPECT_EQ(host.ShownCursor, crMultiDrag);
    Up(At(9, 1), ssCtrl);
    host.SetKeyboardState(0);
    EXPECT_EQ(Line(1), "abcdef gabchij");
    edit.Undo();
    EXPECT_EQ(Line(1), "abcdef ghij");
    EXPECT_FALSE(edit.CanUndo());
}

TEST_F(EditorMouse, DropInsideTheSelectionChangesNothing) {
    edit.SetText("abcdef ghij");
    Select({1, 1}, {7, 1});
    DragSelection(At(2, 1), At(5, 1));
    EXPECT_EQ(Line(1), "abcdef ghij");
    EXPECT_FALSE(edit.CanUndo());
}

// One number of column + line x visible columns would take column 83 of line 1 for
// column 43 of line 2, inside the selection.
TEST_F(EditorMouse, DropRightOfTheVisibleWidthLandsWhereShown) {
    SizeFor(50, 5);
    edit.SetText(std::string(100, '-') + "\n" + std::string(41, ' ') + "SEL");
    Select({42, 2}, {45, 2});
    edit.SetLeftColumn(40);
    ASSERT_EQ(edit.VisibleColumns(), 50);
    DragSelection(At(43, 2), At(83, 1));
    EXPECT_EQ(Line(1), std::string(82, '-') + "SEL" + std::string(18, '-'));
    EXPECT_EQ(Line(2), "") << "trailing blanks trimmed";
}

TEST_F(EditorMouse, ReadOnlyEditorStartsANewSelectionInsideTheOld) {
    edit.SetText("hello world");
    edit.SetReadOnly(true);
    Select({1, 1}, {10, 1});
    EXPECT_NE(host.CursorAt(At(3, 1).X, At(3, 1).Y), crArrow);
    Down(At(3, 1));
    Move(At(6, 1));
    Up(At(6, 1));
    EXPECT_FALSE(host.Dragging());
    EXPECT_EQ(edit.SelectionStart(), (TPoint{3, 1}));
    EXPECT_EQ(edit.SelectionEnd(), (TPoint{6, 1}));
}

TEST_F(EditorMouse, GutterClickReportsTheLineAndTheMarkUnderThePointer) {
    FillLines(4);
    auto mark = std::make_unique<TMark>(&edit);
    mark->SetLine(3);
    mark->SetVisible(true);
    TMark* plain = mark.get();
    edit.Marks().Add(std::move(mark));
    edit.SetBookmark(1, 1, 3);
    struct Log {
        std::vector<std::pair<int, TMark*>> clicks;
        void Click(TObject*, int, int, int line, TMark* mark) { clicks.push_back({line, mark}); }
    } log;
    edit.OnGutterClick = TqvGutterClickEvent::bind<&Log::Click>(&log);
    const int y = 2 * kLineHeight + 4;
    for (int x : {5, 15, 28})
        Click({x, y});
    Click({5, kLineHeight + 4});
    Click({5, 4 * kLineHeight + 4}); // below the last line
    ASSERT_EQ(log.clicks.size(), 4u);
    EXPECT_EQ(log.clicks[0], (std::pair<int, TMark*>{3, plain}));
    EXPECT_EQ(log.clicks[1], (std::pair<int, TMark*>{3, edit.Bookmark(1)}));
    EXPECT_EQ(log.clicks[2], (std::pair<int, TMark*>{3, nullptr}));
    EXPECT_EQ(log.clicks[3], (std::pair<int, TMark*>{2, nullptr}));
}

TEST_F(EditorMouse, ClicksAndSelectionsLineUpWithTabsAndWideCharacters) {
    edit.SetTabWidth(4);
    edit.SetText("a\tb\n\xC3\xA9\xE4\xB8\xAD"
                 "x");                      // e-acute, a wide ideograph, x
    Click({kText + 4 * kCharWidth + 1, 5}); // the cell where b is drawn
    EXPECT_EQ(edit.CaretPos(), (TPoint{3, 1}));
    EXPECT_EQ(host.Caret().X, kText + 4 * kCharWidth - 1);

    // From before e-acute to after the wide character, which spans cells 1 and 2.
    Down({kText + 1, kLineHeight + 5});
    Move({kText + 3 * kCharWidth + 1, kLineHeight + 5});
    Up({kText + 3 * kCharWidth + 1, kLineHeight + 5});
    EXPECT_EQ(edit.SelectedText(), "\xC3\xA9\xE4\xB8\xAD");
    TRecordingCanvas& canvas = host.PaintAll();
    std::string selected;
    for (const TDrawCall& call : canvas.CallsOf(TDrawKind::Text))
        if (call.BkColor == ColorToRGB(clHighlight) && call.Rect.Top == kLineHeight) {
            selected += call.Text;
            EXPECT_EQ(call.Rect, Rect(kText, kLineHeight, kText + 3 * kCharWidth, 26));
        }
    EXPECT_EQ(selected, "\xC3\xA9\xE4\xB8\xAD");
}

} // namespace
} // namespace ondrex::test
