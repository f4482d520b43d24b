#pragma once
// TqvCustomEdit: the editor view. Shows and edits a list of text lines in a fixed character
// grid, with a gutter, a caret, scrolling, bookmarks and optional syntax highlighting.
//
// The model (lines, caret, view position, range states, bookmarks) lives here and works
// without a window: every service of the window is asked for through the control base, which
// does nothing while no host is attached.
//
// Positions are (column, line) pairs in a TPoint (X = column, Y = line), both 1-based;
// columns count bytes of the stored line.
//
// The sources are split by role: TqvCustomEdit.cpp (construction, properties, font and
// gutter), TqvCustomEditView.cpp (caret, scrolling, invalidation, paint lock, window
// messages), TqvCustomEditLines.cpp (line-list notifications, highlighter), and
// TqvCustomEditKeys.cpp (keys, characters, the command frame, bookmarks). The editing
// commands are grouped by family: TqvCustomEditSelection.cpp (the selection and the
// ReplaceSelection primitive), ...CaretMoves.cpp, ...Typing.cpp, ...Deleting.cpp,
// ...LineBreakTab.cpp (line break, tab, block indent), ...Clipboard.cpp and
// ...UndoReplay.cpp (recording, Undo and Redo).

#include "editor/DisplayCells.h"
#include "editor/LineCheckpoints.h"
#include "editor/RangeStates.h"
#include "editor/RowPainter.h"
#include "editor/TMarkList.h"
#include "editor/TUndoList.h"
#include "editor/TqvBookMarkOpt.h"
#include "editor/TqvEditList.h"
#include "editor/TqvEditSearch.h"
#include "editor/TqvEditorOptions.h"
#include "editor/TqvGutter.h"
#include "editor/TqvInternalImage.h"
#include "editor/TqvKeyStrokes.h"
#include "editor/TqvSelectedColor.h"
#include "editor/TuzTextDrawer.h"
#include "editor/qvEditorCommands.h"
#include "platform/Control.h"
#include "platform/Font.h"
#include "platform/Timer.h"

#include <array>
#include <climits>
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace ondrex {

class TCanvas;
class THintWindow;
class TqvCustomHighLighter;

// Failures of editor operations a user can cause (the clipboard refusing data).
class EqvEditError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

enum TqvPrintStatus : std::uint8_t { psBegin, psNewPage, psEnd };
enum TqvReplaceAction : std::uint8_t { raCancel, raSkip, raReplace, raReplaceAll };

// (sender, in-out command, in-out character, data)
using TqvProcessCommandEvent = TEvent<TObject*, TqvEditorCommand&, std::string&, void*>;
// (sender, X, Y, dropped file names)
using TqvDropFilesEvent = TEvent<TObject*, int, int, const std::vector<std::string>&>;
// (sender, X, Y, 1-based line, mark or none)
using TqvGutterClickEvent = TEvent<TObject*, int, int, int, TMark*>;
using TqvPaintEvent = TEvent<TObject*, TCanvas&>;
// (sender, in-out mark): set the mark to none to place nothing.
using TqvPlaceMarkEvent = TEvent<TObject*, TMark*&>;
// (sender, status, page number, in-out abort)
using TqvPrintStatusEvent = TEvent<TObject*, TqvPrintStatus, int, bool&>;
// (sender, search, replace, line, column, in-out action)
using TqvReplaceTextEvent =
    TEvent<TObject*, const std::string&, const std::string&, int, int, TqvReplaceAction&>;
// (sender, 1-based line, in-out special, in-out foreground, in-out background)
using TqvSpecialLineColorsEvent = TEvent<TObject*, int, bool&, TColor&, TColor&>;
using TqvStatusChangeEvent = TEvent<TObject*, TqvStatusChanges>;

class TqvCustomEdit : public TCustomControl, public TMarkOwner {
public:
    TqvCustomEdit();
    ~TqvCustomEdit() override;

    std::string ClassName() const override { return "TqvCustomEdit"; }

    // ---- Text -------------------------------------------------------------------------
    TqvEditList& Lines() { return lines_; }
    const TqvEditList& Lines() const { return lines_; }
    // Copies the source's lines.
    void SetLines(const TqvEditList& source);
    int LineCount() const { return lines_.Count(); }
    // All lines joined with CR LF; setting replaces them all.
    std::string Text() const { return lines_.GetText(); }
    void SetText(std::string_view text);
    // The caret line's text (empty when the caret is beyond the list).
    std::string CurrentLineText() const;
    void SetCurrentLineText(std::string_view text);

    // ---- Caret and view ---------------------------------------------------------------
    TPoint CaretPos() const { return {caretX_ + 1, caretY_ + 1}; }
    void SetCaretPos(TPoint value) { SetCaretPosition(value); }
    int CaretColumn() const { return caretX_ + 1; }
    void SetCaretColumn(int value) { SetCaretPosition({value, CaretLine()}); }
    int CaretLine() const { return caretY_ + 1; }
    void SetCaretLine(int value) { SetCaretPosition({CaretColumn(), value}); }
    // Scrolls so that the caret is inside the visible columns and lines.
    void EnsureCaretVisible();

    int TopLine() const { return topLine_ + 1; }
    void SetTopLine(int value);
    int LeftColumn() const { return leftColumn_ + 1; }
    void SetLeftColumn(int value);

    int CharWidth() const { return charWidth_; }
    int LineHeight() const { return lineHeight_; }
    int VisibleColumns() const { return visibleColumns_; }
    int VisibleLines() const { return visibleLines_; }
    int GutterWidth() const { return gutterWidth_; }
    // Pixel x of column 1.
    long long TextOffset() const { return textOffset_; }
    int MaxColumn() const { return maxColumn_; }
    // The horizontal scroll range in cells: MaxColumn, or more where a line is wider, so
    // that every line can be brought into view (a minified script is one long line).
    int ScrollColumns() const { return std::max(maxColumn_, widestCells_); }

    // The pixel of a position's top-left corner and the position at a pixel (the mouse's).
    TPoint RowColumnToPixels(TPoint pos) const;
    TPoint PixelsToRowColumn(TPoint pixel) const;

    // The timer of automatic scrolling during a drag-selection, or none before the first.
    const TTimer* AutoScrollTimer() const { return autoScroll_.get(); }
    // The timer that works out the checkpoints of the long lines on screen between events,
    // enabled while some are missing (a move far along such a line may find them so); none
    // before the first long line is painted.
    const TTimer* CheckpointsTimer() const { return checkpointsAhead_.get(); }

    // ---- Display cells (TqvCustomEditPaint.cpp) ----------------------------------------
    // Stored positions count bytes; the screen counts cells (tabs expanded, a character one
    // cell or two when wide). The 0-based cell where the 1-based byte column of the 1-based
    // line is drawn, and the byte column nearest a fractional 0-based cell.
    int CellOfColumn(int line, int column) const;
    int ColumnAtCell(int line, double cell) const;

    // ==== Selection (TqvCustomEditSelection.cpp) ======================================
    // The raw ends: the anchor and the moving end, in any order.
    TPoint SelectionStart() const { return selStart_; }
    TPoint SelectionEnd() const { return selEnd_; }
    // Collapses the selection at the position (clamped to the text; in smNormal to the
    // line's end + 1).
    void SetSelectionStart(TPoint value);
    // Moves the moving end (clamped, never inside a character); ignored with
    // qveoNoSelection.
    void SetSelectionEnd(TPoint value);
    // The ends in text order (smaller line, then smaller column).
    TPoint BlockBegin() const;
    TPoint BlockEnd() const;
    // A column selection of zero width is empty whatever its height.
    bool HasSelection() const;
    // Lines joined with CR LF; a column block is padded with spaces to its width.
    std::string SelectedText() const;
    // The same, added to `out` (a caller building a larger buffer saves a copy).
    void AppendSelectedText(std::string& out) const;
    // Replaces the selection by a stream of text.
    void SetSelectedText(std::string_view text) { ReplaceSelection(smNormal, text); }
    // The primitive behind every edit: deletes the selection by SelectionMode, then inserts
    // the text at the caret as a stream, a column block or whole lines (by `mode`), moving
    // bookmarks with the lines. Records nothing for undo; callers do.
    void ReplaceSelection(TSelectionMode mode, std::string_view text);
    bool IsPointInSelection(TPoint pos) const;
    void SelectAll();
    // Selects the word at the position: by the highlighter's word characters, or without
    // one (or on a multi-byte character) by character classes.
    void SelectWordAt(TPoint pos);

    // ---- Painting control -------------------------------------------------------------
    // While locked, caret and scroll-bar updates and status reports wait for the last
    // UnlockPaint.
    void LockPaint() { ++paintLock_; }
    void UnlockPaint();
    // 1-based, inclusive, in either order; (-1, -1) is the whole text area or gutter.
    void InvalidateLines(int first, int last);
    void InvalidateGutterLines(int first, int last) override;
    void InvalidateLine(int line);

    // ---- Commands ---------------------------------------------------------------------
    // `character` is one character's bytes for ecChar; `data` points at a TPoint for
    // ecGotoXY/ecSelGotoXY and at a std::string for ecImeStr.
    virtual void ExecuteCommand(TqvEditorCommand command, std::string character, void* data);

    // ==== Editing operations (CaretMoves, LineBreakTab) ================================
    // Moves the caret onto the partner of the bracket right of it, if there is one.
    virtual void FindMatchingBracket();
    // The caret's target for a word move right / left.
    virtual TPoint NextWordPos();
    virtual TPoint PrevWordPos();
    // Inserts spaces up to the next tab stop, or under the next word above (smart tabs).
    void InsertTab();
    // Indents / unindents the selected lines by TabWidth spaces.
    void BlockIndent();
    void BlockUnindent();

    // ==== Clipboard (TqvCustomEditClipboard.cpp) =======================================
    // Plain text plus the private block type, so that column and line blocks paste back as
    // what they were. Failures raise EqvEditError.
    void CopyToClipboard();
    void CutToClipboard();
    void PasteFromClipboard();
    bool CanPaste() const;

    // ==== Undo (TqvCustomEditUndoReplay.cpp) ===========================================
    void Undo();
    void Redo();
    bool CanUndo() const { return undoList_.Count() > 0; }
    bool CanRedo() const { return redoList_.Count() > 0; }
    // Empties both lists.
    void ClearUndo();
    // Both lists together.
    void LockUndo();
    void UnlockUndo();
    TUndoList& UndoList() { return undoList_; }
    TUndoList& RedoList() { return redoList_; }
    // Records a new edit on the undo list, and the redo list, whose positions were taken
    // before this edit, is emptied. Nothing while the lists are locked.
    void RecordChange(TChangeReason reason, TPoint start, TPoint end, std::string text,
                      TSelectionMode mode, std::vector<TLineSpan> spans = {}, int unselected = 0);
    // Set whenever a change is recorded; only the application clears it.
    bool Modified() const { return modified_; }
    void SetModified(bool value);

    // ---- Bookmarks --------------------------------------------------------------------
    TMarkList& Marks() override { return marks_; }
    void SetBookmark(int number, int column, int line);
    void ClearBookmark(int number);
    void GotoBookmark(int number);
    // The bookmark with the number, or none.
    TMark* Bookmark(int number) const;
    // OnPlaceBookmark may change the offered mark (its line too) or set it to none to place
    // nothing; a different mark put in its place is ignored.

    // ---- Published properties ---------------------------------------------------------
    TqvBookMarkOpt& BookMarkOptions() { return bookMarkOptions_; }
    TBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TBorderStyle value);
    TColor Color() const { return color_; }
    void SetColor(TColor value);
    int ExtraLineSpacing() const { return extraLineSpacing_; }
    void SetExtraLineSpacing(int value);
    const TFont& Font() const { return font_; }
    // A font that is not fixed-pitch gives only its size, style and colour.
    void SetFont(const TFont& value);
    TqvGutter& Gutter() { return gutter_; }
    bool HideSelection() const { return hideSelection_; }
    void SetHideSelection(bool value);
    TqvCustomHighLighter* HighLighter() const { return ranges_.HighLighter(); }
    void SetHighLighter(TqvCustomHighLighter* value);
    // The highlighter's range state at the start of the line (0-based). States are computed
    // from the top as painting needs them, and ahead of it while the editor is idle.
    std::uintptr_t LineStartState(int index);
    bool AllLineStatesKnown() const { return ranges_.KnownLines() >= lines_.Count(); }
    TCaretType InsertCaret() const { return insertCaret_; }
    void SetInsertCaret(TCaretType value);
    bool InsertMode() const { return insertMode_; }
    void SetInsertMode(bool value);
    TqvKeyStrokes& Keystrokes() { return keystrokes_; }
    void SetKeystrokes(const TqvKeyStrokes& value) { keystrokes_.Assign(value); }
    int MaxUndo() const { return undoList_.MaxUndo(); }
    // Applies to both lists; a negative value is ignored.
    void SetMaxUndo(int value);
    TqvEditorOptions Options() const { return options_; }
    void SetOptions(TqvEditorOptions value);
    TCaretType OverwriteCaret() const { return overwriteCaret_; }
    void SetOverwriteCaret(TCaretType value);
    bool ReadOnly() const { return GetReadOnly(); }
    virtual void SetReadOnly(bool value) { readOnly_ = value; }
    int RightEdge() const { return rightEdge_; }
    void SetRightEdge(int value);
    TColor RightEdgeColor() const { return rightEdgeColor_; }
    void SetRightEdgeColor(TColor value);
    TScrollStyle ScrollBars() const { return scrollBars_; }
    void SetScrollBars(TScrollStyle value);
    TqvSelectedColor& SelectedColor() { return selectedColor_; }
    TSelectionMode SelectionMode() const { return selectionMode_; }
    void SetSelectionMode(TSelectionMode value);
    int TabWidth() const { return tabWidth_; }
    void SetTabWidth(int value);
    bool WantTabs() const { return wantTabs_; }
    void SetWantTabs(bool value) { wantTabs_ = value; }

    TuzTextDrawer& TextDrawer() { return drawer_; }
    TqvEditSearch& Search() { return search_; }

    // ---- Events -----------------------------------------------------------------------
    TNotifyEvent OnChange;
    TNotifyEvent OnCommandDone;
    TqvDropFilesEvent OnDropFiles;
    TqvGutterClickEvent OnGutterClick;
    TqvPaintEvent OnPaint;
    TqvPlaceMarkEvent OnPlaceBookmark;
    TqvPrintStatusEvent OnPrintStatus;
    TqvProcessCommandEvent OnProcessCommand;
    TqvProcessCommandEvent OnProcessUserCommand;
    TqvReplaceTextEvent OnReplaceText;
    TNotifyEvent OnSelectionChange;
    TqvSpecialLineColorsEvent OnSpecialLineColors;
    TqvStatusChangeEvent OnStatusChange;

protected:
    // ---- Overridable operations -------------------------------------------------------
    virtual bool GetReadOnly() const { return readOnly_; }
    virtual void DoOnProcessCommand(TqvEditorCommand& command, std::string& character, void* data);
    virtual void DoOnSelectionChange() { OnSelectionChange(this); }
    virtual void SetCaretPosition(TPoint value);
    virtual void SetDefaultKeystrokes() { keystrokes_.LoadDefaultBindings(); }
    // Runs one command of 1..1000 (inside the paint lock).
    virtual void CommandProcessor(TqvEditorCommand command, const std::string& character,
                                  void* data);

    // ---- Window messages --------------------------------------------------------------
    void KeyDown(std::uint16_t& key, TShiftState shift) override;
    void KeyPress(std::string& character) override;
    void ImeResult(const std::string& text) override;
    bool MouseWheel(TShiftState shift, int delta, int x, int y) override;
    void FocusIn() override;
    void FocusOut() override;
    void Resize() override;
    // The tab key reaches the editor only with WantTabs, and never with Ctrl held.
    bool WantsTab(TShiftState shift) override { return wantTabs_ && !(shift & ssCtrl); }
    void Scroll(TScrollBarKind bar, int code, int pos) override;
    void DropFiles(int x, int y, const std::vector<std::string>& files) override;
    TCursor CursorAt(int x, int y) override;

    // ---- Painting (TqvCustomEditPaint.cpp) ---------------------------------------------
    // Every pixel of the clip is painted; nothing is erased beforehand.
    void Paint(TCanvas& canvas, const TRect& clip) override;
    virtual void PaintGutter(TCanvas& canvas, const TRect& rect, int firstLine, int lastLine);
    // Cells [firstCell, lastCell) of the 1-based lines firstLine..lastLine.
    virtual void PaintTextLines(TCanvas& canvas, TRect rect, int firstLine, int lastLine,
                                int firstCell, int lastCell);
    // Answers whether the application marked the line; it may set both colours then.
    virtual bool DoOnSpecialLineColors(int line, TColor& foreground, TColor& background);

    // ---- Mouse (TqvCustomEditMouse.cpp, TqvCustomEditDragDrop.cpp) ---------------------
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void DblClick(int x, int y) override;
    // Only this control's own selection is accepted, moved or (with Ctrl) copied.
    void DragOver(TObject* source, int x, int y, TDragState state, bool& accept) override;
    void DragDrop(TObject* source, int x, int y) override;
    // Works out the line and the mark under a release in the gutter and raises
    // OnGutterClick.
    virtual void DoOnGutterClick(int x, int y);

    // Adds flags to the pending status changes and reports them unless painting is locked.
    void StatusChanged(TqvStatusChanges changes);
    void UpdateCaret();
    void UpdateScrollBars();
    // Recomputes the visible area; `full` also redoes the gutter, caret and whole window.
    void SizeOrFontChanged(bool full);

private:
    // ==== Editing internals (one group per command family file) ========================
    // Selection
    TPoint ClampSelectionPos(TPoint value) const;
    void SnapCaretToCharacter();
    // Deleting a stream selection that ends its line trims the blanks before it (with
    // qveoScrollPastEol, outside undo and redo): where the line will end then, else the
    // selection's begin. Stream ends beyond their lines are first brought to the lines' ends.
    TPoint TrimmedBegin();
    // Records the selection's text, and the blanks its removal will trim, as `reason`.
    void RecordSelectionRemoval(TChangeReason reason);
    void DeleteSelection();
    // A column selection's bytes on each line from its top line down: both edges moved off
    // the inside of a character, and on a line that the removal leaves ending in blanks
    // those blanks too, since the line is trimmed.
    std::vector<TLineSpan> ColumnSelectionSpans() const;
    // The spans' bytes from topLine (1-based) down, a piece per line joined by CR LF; taking
    // them out; putting such pieces back where the spans say.
    std::string SpannedText(int topLine, const std::vector<TLineSpan>& spans) const;
    void RemoveSpans(int topLine, const std::vector<TLineSpan>& spans);
    void InsertSpans(int topLine, const std::vector<TLineSpan>& spans, std::string_view text);
    void TakeOutSpans(const TUndoItem& item, TUndoList& replay);
    // `columnSpans`, when given, receives where a column block's bytes went on each line.
    void InsertText(TSelectionMode mode, std::string_view text,
                    std::vector<TLineSpan>* columnSpans = nullptr);
    void InsertStream(const std::vector<std::string_view>& pieces);
    std::vector<TLineSpan> InsertColumn(const std::vector<std::string_view>& pieces);
    void InsertLines(const std::vector<std::string_view>& pieces);
    // Marks on fromLine and below move by delta (never above line 1); marks strictly
    // between first and last move to `to`.
    void MoveMarks(int fromLine, int delta);
    void MoveMarksInside(int first, int last, int to);
    // Caret moves
    void MoveCaret(TPoint from, TPoint to, bool selecting);
    void MoveCaretHorizontal(int delta, bool selecting);
    void MoveCaretVertical(int delta, bool selecting);
    void ScrollCommand(TqvEditorCommand command);
    // The caret column whose 0-based cell is `cell`, or else the nearest one before it
    // (side < 0) or after it (side > 0).
    int ColumnNearCell(int line, int cell, int side) const;
    bool MovementCommand(TqvEditorCommand command, void* data);
    // Typing and deleting
    void TypeText(const std::string& text, bool ime);
    bool DeleteSelectionAs(TChangeReason reason);
    void DeleteRange(TPoint from, TPoint to, TChangeReason reason);
    std::size_t RemoveFromLine(std::size_t from, std::size_t to);
    void DeleteLastChar();
    void DeleteChar();
    void DeleteWordCommand(bool forward);
    void DeleteToLineEdge(bool toStart);
    void DeleteLine();
    bool EditingCommand(TqvEditorCommand command, const std::string& character, void* data);
    // Line break, tab and indent
    // forcedIndent (when not negative) replaces the auto-indent: a redo repeats the break
    // as it was made, whatever the options are now.
    void LineBreak(bool moveCaret, int forcedIndent = -1);
    // Undo
    void UndoChangeAdded(TObject* sender);
    void UndoItem(TUndoItem& item);
    void UndoPairedItem(TChangeReason reason);
    void RedoItem(TUndoItem& item);
    void InsertColumnBlock(TPoint from, TPoint to, std::string_view text);
    int IndentWidth(const TUndoItem& item) const;
    // ReplaceSelection that tells where the text went in (the caret after the deletion) and,
    // for a column block, where its bytes went on each line.
    // A stream put beyond the line's end pads the line: the padding counts as inserted.
    TPoint ReplaceSelectionAt(TSelectionMode mode, std::string_view text,
                              std::vector<TLineSpan>* columnSpans = nullptr);
    // Clipboard
    void PasteBlock(TSelectionMode mode, std::string_view text);

    // Line-list and support-object notifications.
    void ListAdded(TObject* sender);
    void ListBulkAdded(TObject* sender);
    void ListLoadPass(TObject* sender, int first);
    void RunBetweenEvents(std::unique_ptr<TTimer>& timer, TNotifyEvent tick);
    void ComputeStatesLater();
    void StatesAheadTick(TObject* sender);
    void ComputeCheckpointsLater();
    void CheckpointsAheadTick(TObject* sender);
    bool CheckpointsAheadStep();
    void ListCleared(TObject* sender);
    void ListDeleted(TObject* sender, int index);
    void ListInserted(TObject* sender, int index);
    void ListLineChanged(TObject* sender, int index);
    void WidenFor(int index);
    void WidenForGrowing(int index);
    void MeasureWidestLine();
    void ListTextReplaced(TObject* sender);
    void LinesChanging(TObject* sender);
    void LinesChanged(TObject* sender);
    void FontChanged(TObject* sender);
    void GutterChanged(TObject* sender);
    void BookMarkOptionsChanged(TObject* sender);
    void SelectedColorChanged(TObject* sender);
    void MarkListChanged(TObject* sender);
    void HighlighterAttrChanged(TObject* sender);
    void HighlighterFreed(TObject* sender);

    void MeasureFont();
    void SetGutterWidth(int value);
    void ComputeVisibleArea();
    void UpdateTextOffset();
    void InitializeCaret();
    void HideCaretIfShown();
    void InvalidateArea(const TRect& rect);
    void InvalidateRows(int first, int last, int left, int right);
    bool GutterAutoSizes() const;
    void ShowScrollHint();
    void HideScrollHint();
    int ScrollThumbToTopLine(int pos) const;
    // Caret column limit of a 0-based line.
    int ColumnLimit(int line) const;

    // Painting helpers (TqvCustomEditPaint.cpp).
    struct TPaintSelection;
    TPaintSelection PaintSelection(int firstLine, int lastLine) const;
    TRowSelection RowSelection(const TPaintSelection& selection, int line,
                               std::string_view text) const;
    TColor EditorBackground() const;
    void PaintRow(int line, int top, const TPaintSelection& selection, const TPaintFrame& frame);
    bool PaintTokens(TqvCustomHighLighter& highLighter, int line, std::string_view text,
                     TLineCheckpoints* checkpoints, int checkpoint, const TPaintFrame& frame);
    void PaintMarks(TCanvas& canvas, int firstLine, int lastLine);
    void DrawMark(TCanvas& canvas, const TMark& mark, int& offset);

    // Mouse helpers.
    bool InTextArea(int x, int y) const;
    bool CanDragSelection() const;
    void AutoScrollTick(TObject* sender);
    void StopAutoScroll();

    // Owned parts; construction order matters: the line list first, the drawer after the
    // font, the range keeper after the line list.
    TqvEditList lines_;
    TFont font_;
    TqvSelectedColor selectedColor_;
    TqvBookMarkOpt bookMarkOptions_{this};
    TqvGutter gutter_;
    TuzTextDrawer drawer_;
    TqvKeyStrokes keystrokes_{this};
    TMarkList marks_{this};
    TqvEditSearch search_;
    TRangeStates ranges_{lines_};
    std::array<TMark*, 10> bookmarks_{};
    TUndoList undoList_;
    TUndoList redoList_;
    bool modified_ = false;
    // Set while Undo or Redo replays: their own recordings keep the redo list.
    bool replaying_ = false;
    // Bytes the last vertical move stepped the caret left off the inside of a character;
    // the next vertical move gives them back.
    int columnShift_ = 0;
    std::unique_ptr<THintWindow> scrollHint_;
    std::unique_ptr<TqvInternalImage> internalImage_; // made when first drawn
    TRowPainter rowPainter_{drawer_};
    TDisplayCells paintCells_;
    mutable TDisplayCells hitCells_;
    mutable TLineCheckpointCache checkpoints_;
    std::string paintLine_; // the highlighter reads a terminated copy
    // Bytes of long lines a paint may still scan for tokens before it leaves the rest of
    // them to be worked out between events.
    std::size_t tokenScanBudget_ = 0;

    // Mouse state: the selection (in text order) and the pixel of a press inside it.
    TPoint dragBegin_;
    TPoint dragEnd_;
    TPoint pressPixel_;
    bool dragPending_ = false;
    bool doubleClicked_ = false;
    bool pressedInGutter_ = false;
    // Repeats the scroll steps while a drag-selection is held outside the text area; made
    // on first use.
    std::unique_ptr<TTimer> autoScroll_;
    // Computes range states below the painted ones between events, so that a jump to the end
    // of a long file finds them ready; made on first use.
    std::unique_ptr<TTimer> statesAhead_;
    // Works out the checkpoints of the long lines on screen between events.
    std::unique_ptr<TTimer> checkpointsAhead_;

    // View state (0-based where the public value is 1-based).
    int caretX_ = 0;
    int caretY_ = 0;
    TPoint selStart_{1, 1};
    TPoint selEnd_{1, 1};
    TSelectionMode selectionMode_ = smNormal;
    int topLine_ = 0;
    int leftColumn_ = 0;
    int charWidth_ = 1;
    int lineHeight_ = 1;
    int visibleColumns_ = 0;
    int visibleLines_ = 0;
    int gutterWidth_ = 0;
    long long textOffset_ = 0; // far below an int's range on a view far along a long line
    int maxColumn_ = 1024;
    // At least the cells of the widest line: grown as lines change, measured anew on a load.
    int widestCells_ = 0;
    // The line a load in passes is still growing, and the tabs in its bytes measured so far.
    struct TGrowingLine {
        int index = -1;
        const char* data = nullptr;
        std::size_t bytes = 0;
        std::size_t tabs = 0;
    } growing_;

    // Properties.
    TBorderStyle borderStyle_ = bsSingle;
    TColor color_;
    int extraLineSpacing_ = 0;
    bool hideSelection_ = false;
    TCaretType insertCaret_ = ctVerticalLine;
    TCaretType overwriteCaret_ = ctBlock;
    bool insertMode_ = true;
    TqvEditorOptions options_ = qvDefaultEditorOptions;
    bool readOnly_ = false;
    int rightEdge_ = 80;
    TColor rightEdgeColor_ = 12632256;
    TScrollStyle scrollBars_ = ssBoth;
    int tabWidth_ = 8;
    bool wantTabs_ = false;

    // Deferred work.
    int paintLock_ = 0;
    bool caretUpdatePending_ = false;
    bool scrollBarUpdatePending_ = false;
    TqvStatusChanges pendingStatus_ = 0;
    bool linesChanging_ = false;
    TRect invalidRect_;

    // Caret and input.
    TPoint caretOffset_;
    bool caretShown_ = false;
    int wheelRemainder_ = 0;
    TKeyChordPrefix chordPrefix_;
    bool keyWasCommand_ = false;
    int imePendingCount_ = 0;

    // What the editor bound to its parts, and to the attached highlighter.
    TEventBindings bindings_;
    TEventBindings highlighterBindings_;
};

} // namespace ondrex
