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
// TqvCustomEditKeys.cpp (keys, characters, the command frame, bookmarks).

#include "editor/DisplayCells.h"
#include "editor/TMarkList.h"
#include "editor/TqvBookMarkOpt.h"
#include "editor/TqvEditList.h"
#include "editor/TqvEditSearch.h"
#include "editor/TqvEditorOptions.h"
#include "editor/TqvGutter.h"
#include "editor/TqvInternalImage.h"
#include "editor/TqvKeyStrokes.h"
#include "editor/TqvRangeStates.h"
#include "editor/TqvRowPainter.h"
#include "editor/TqvSelectedColor.h"
#include "editor/TuzTextDrawer.h"
#include "editor/qvEditorCommands.h"
#include "platform/Control.h"
#include "platform/Font.h"

#include <array>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace ondrex {

class TCanvas;
class THintWindow;
class TqvCustomHighLighter;

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

class TqvCustomEdit : public TCustomControl, public TqvMarkOwner {
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
    int TextOffset() const { return textOffset_; }
    int MaxColumn() const { return maxColumn_; }

    // The pixel of a position's top-left corner and the position at a pixel (the mouse's).
    TPoint RowColumnToPixels(TPoint pos) const;
    TPoint PixelsToRowColumn(TPoint pixel) const;

    // ---- Display cells (TqvCustomEditPaint.cpp) ----------------------------------------
    // Stored positions count bytes; the screen counts cells (tabs expanded, a character one
    // cell or two when wide). The 0-based cell where the 1-based byte column of the 1-based
    // line is drawn, and the byte column nearest a fractional 0-based cell.
    int CellOfColumn(int line, int column) const;
    int ColumnAtCell(int line, double cell) const;

    // Raw selection ends as stored; the selection operations come with the mouse.
    TPoint SelectionStart() const { return selStart_; }
    TPoint SelectionEnd() const { return selEnd_; }

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
    virtual void ExecuteCommand(TqvEditorCommand command, std::string character, void* data);

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
    TCaretType InsertCaret() const { return insertCaret_; }
    void SetInsertCaret(TCaretType value);
    bool InsertMode() const { return insertMode_; }
    void SetInsertMode(bool value);
    TqvKeyStrokes& Keystrokes() { return keystrokes_; }
    void SetKeystrokes(const TqvKeyStrokes& value) { keystrokes_.Assign(value); }
    int MaxUndo() const { return maxUndo_; }
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

    // Adds flags to the pending status changes and reports them unless painting is locked.
    void StatusChanged(TqvStatusChanges changes);
    void UpdateCaret();
    void UpdateScrollBars();
    // Recomputes the visible area; `full` also redoes the gutter, caret and whole window.
    void SizeOrFontChanged(bool full);

private:
    // Line-list and support-object notifications.
    void ListAdded(TObject* sender);
    void ListBulkAdded(TObject* sender);
    void ListCleared(TObject* sender);
    void ListDeleted(TObject* sender, int index);
    void ListInserted(TObject* sender, int index);
    void ListLineChanged(TObject* sender, int index);
    void ListTextReplaced(TObject* sender);
    void LinesChanging(TObject* sender);
    void LinesChanged(TObject* sender);
    void FontChanged(TObject* sender);
    void GutterChanged(TObject* sender);
    void BookMarkOptionsChanged(TObject* sender);
    void SelectedColorChanged(TObject* sender);
    void MarkListChanged(TObject* sender);
    void HighlighterAttrChanged(TObject* sender);

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
    TqvRowSelection RowSelection(const TPaintSelection& selection, int line,
                                 std::string_view text) const;
    TColor EditorBackground() const;
    void PaintRow(int line, int top, const TPaintSelection& selection, const TqvPaintFrame& frame);
    void PaintMarks(TCanvas& canvas, int firstLine, int lastLine);
    void DrawMark(TCanvas& canvas, const TMark& mark, int& offset);

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
    TqvRangeStates ranges_{lines_};
    std::array<TMark*, 10> bookmarks_{};
    std::unique_ptr<THintWindow> scrollHint_;
    std::unique_ptr<TqvInternalImage> internalImage_; // made when first drawn
    TqvRowPainter rowPainter_{drawer_};
    TDisplayCells paintCells_;
    mutable TDisplayCells hitCells_;
    std::string paintLine_; // the highlighter reads a terminated copy

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
    int textOffset_ = 0;
    int maxColumn_ = 1024;

    // Properties.
    TBorderStyle borderStyle_ = bsSingle;
    TColor color_;
    int extraLineSpacing_ = 0;
    bool hideSelection_ = false;
    TCaretType insertCaret_ = ctVerticalLine;
    TCaretType overwriteCaret_ = ctBlock;
    bool insertMode_ = true;
    int maxUndo_ = 10;
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
    TqvKeyChordPrefix chordPrefix_;
    bool keyWasCommand_ = false;
    int imePendingCount_ = 0;
};

} // namespace ondrex
