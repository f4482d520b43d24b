// Construction, the published properties, font measures and the gutter.

#include "editor/TqvCustomEdit.h"

#include "highlighters/qvHighlighter.h"
#include "platform/Canvas.h"
#include "platform/HintWindow.h"
#include "platform/SystemColors.h"

#include <algorithm>

namespace ondrex {

TqvCustomEdit::TqvCustomEdit() : font_("Courier New", -13), drawer_(0, &font_), color_(clWindow) {
    lines_.Add("");
    bindings_.Bind<&TqvCustomEdit::ListAdded>(lines_.OnAdded, this);
    bindings_.Bind<&TqvCustomEdit::ListBulkAdded>(lines_.OnBulkAdded, this);
    bindings_.Bind<&TqvCustomEdit::ListLoadPass>(lines_.OnLoadPass, this);
    bindings_.Bind<&TqvCustomEdit::ListCleared>(lines_.OnCleared, this);
    bindings_.Bind<&TqvCustomEdit::ListDeleted>(lines_.OnDeleted, this);
    bindings_.Bind<&TqvCustomEdit::ListInserted>(lines_.OnInserted, this);
    bindings_.Bind<&TqvCustomEdit::ListLineChanged>(lines_.OnLineChanged, this);
    bindings_.Bind<&TqvCustomEdit::ListTextReplaced>(lines_.OnTextReplaced, this);
    bindings_.Bind<&TqvCustomEdit::SelectedColorChanged>(selectedColor_.OnChange, this);
    bindings_.Bind<&TqvCustomEdit::BookMarkOptionsChanged>(bookMarkOptions_.OnChange, this);
    bindings_.Bind<&TqvCustomEdit::GutterChanged>(gutter_.OnChange, this);
    gutterWidth_ = gutter_.RealGutterWidth(charWidth_);
    UpdateTextOffset();
    SetCursor(crIBeam);
    bindings_.Bind<&TqvCustomEdit::FontChanged>(font_.OnChange, this);
    FontChanged(&font_);
    bindings_.Bind<&TqvCustomEdit::LinesChanging>(lines_.OnChanging, this);
    bindings_.Bind<&TqvCustomEdit::LinesChanged>(lines_.OnChange, this);
    bindings_.Bind<&TqvCustomEdit::MarkListChanged>(marks_.OnChange, this);
    bindings_.Bind<&TqvCustomEdit::UndoChangeAdded>(undoList_.OnAdded, this);
    bindings_.Bind<&TqvCustomEdit::UndoChangeAdded>(redoList_.OnAdded, this);
    SetDefaultKeystrokes();
}

// The parts and the highlighter outlive this body; none of them may call back into a
// half-destroyed editor.
TqvCustomEdit::~TqvCustomEdit() {
    highlighterBindings_.Clear();
    bindings_.Clear();
}

// ---- Text ------------------------------------------------------------------------------

// Copied also before a window exists: dropping the text would lose it without a word.
void TqvCustomEdit::SetLines(const TqvEditList& source) {
    lines_.Assign(source);
}

void TqvCustomEdit::SetText(std::string_view text) {
    TqvLinesLoading loading(lines_);
    lines_.SetText(text);
}

std::string TqvCustomEdit::CurrentLineText() const {
    if (caretY_ < 0 || caretY_ >= lines_.Count()) return {};
    return std::string(lines_.Get(caretY_));
}

void TqvCustomEdit::SetCurrentLineText(std::string_view text) {
    if (caretY_ >= 0 && caretY_ < lines_.Count()) lines_.Put(caretY_, text);
}

// ---- Properties ------------------------------------------------------------------------

void TqvCustomEdit::SetBorderStyle(TBorderStyle value) {
    borderStyle_ = value;
}

void TqvCustomEdit::SetColor(TColor value) {
    if (value == color_) return;
    color_ = value;
    Invalidate();
}

void TqvCustomEdit::SetExtraLineSpacing(int value) {
    if (value == extraLineSpacing_) return;
    extraLineSpacing_ = value;
    FontChanged(&font_);
}

void TqvCustomEdit::SetHideSelection(bool value) {
    if (value == hideSelection_) return;
    hideSelection_ = value;
    if (selStart_ != selEnd_) Invalidate();
}

void TqvCustomEdit::SetInsertCaret(TCaretType value) {
    if (value == insertCaret_) return;
    insertCaret_ = value;
    InitializeCaret();
}

void TqvCustomEdit::SetOverwriteCaret(TCaretType value) {
    if (value == overwriteCaret_) return;
    overwriteCaret_ = value;
    InitializeCaret();
}

void TqvCustomEdit::SetInsertMode(bool value) {
    if (value == insertMode_) return;
    insertMode_ = value;
    InitializeCaret();
    StatusChanged(scInsertMode);
}

void TqvCustomEdit::SetOptions(TqvEditorOptions value) {
    if (value == options_) return;
    const bool dropFilesChanged = ((value ^ options_) & qveoDropFiles) != 0;
    options_ = value;
    if (!(options_ & qveoScrollPastEol)) SetCaretPosition(CaretPos());
    if (dropFilesChanged && HandleAllocated()) DragAcceptFiles((options_ & qveoDropFiles) != 0);
}

void TqvCustomEdit::SetRightEdge(int value) {
    if (value == rightEdge_) return;
    rightEdge_ = value;
    InvalidateLines(-1, -1);
}

void TqvCustomEdit::SetRightEdgeColor(TColor value) {
    if (value == rightEdgeColor_) return;
    rightEdgeColor_ = value;
    InvalidateLines(-1, -1);
}

void TqvCustomEdit::SetScrollBars(TScrollStyle value) {
    if (value == scrollBars_) return;
    scrollBars_ = value;
    ShowScrollBar(TScrollBarKind::sbHorizontal, value == ssHorizontal || value == ssBoth);
    ShowScrollBar(TScrollBarKind::sbVertical, value == ssVertical || value == ssBoth);
    UpdateScrollBars();
}

void TqvCustomEdit::SetSelectionMode(TSelectionMode value) {
    if (value == selectionMode_) return;
    selectionMode_ = value;
    if (selStart_ != selEnd_) Invalidate();
    StatusChanged(scSelection);
}

void TqvCustomEdit::SetTabWidth(int value) {
    value = std::clamp(value, 0, 256);
    if (value == tabWidth_) return;
    tabWidth_ = value;
    MeasureWidestLine();
    UpdateScrollBars();
    InvalidateLines(-1, -1);
}

// ---- Font ------------------------------------------------------------------------------

void TqvCustomEdit::SetFont(const TFont& value) {
    TCanvas& screen = GetFontsInfoManager().ScreenCanvas();
    const TFont saved = screen.Font;
    screen.Font = value;
    const TTextMetric metrics = screen.GetTextMetrics();
    screen.Font = saved;
    if (!metrics.FixedPitch && metrics.AveCharWidth != metrics.MaxCharWidth) {
        TFont fixed = font_;
        fixed.SetColor(value.Color());
        fixed.SetHeight(value.Height());
        fixed.SetStyle(value.Style());
        fixed.SetPitch(TFontPitch::fpFixed);
        font_ = fixed;
    } else {
        font_ = value;
    }
    if (gutter_.ShowLineNumbers()) GutterChanged(&gutter_);
}

void TqvCustomEdit::FontChanged(TObject*) {
    MeasureFont();
    SizeOrFontChanged(true);
}

// Every style shares one cell: the line is as high as the italic face when any token is
// italic, a column as wide as the bold face when any token is bold.
void TqvCustomEdit::MeasureFont() {
    bool italic = (font_.Style() & fsItalic) != 0;
    bool bold = (font_.Style() & fsBold) != 0;
    if (TqvCustomHighLighter* highLighter = HighLighter()) {
        italic = bold = false;
        for (int i = 0; i < highLighter->AttributeCount(); ++i) {
            const TFontStyles style = highLighter->AttributeAt(i)->Style();
            italic = italic || (style & fsItalic);
            bold = bold || (style & fsBold);
        }
    }
    drawer_.SetBaseFont(&font_);
    drawer_.SetBaseStyle(italic ? fsItalic : 0);
    // A cell of no pixels would divide by zero when the visible area is computed.
    lineHeight_ = std::max(1, drawer_.CharHeight() + extraLineSpacing_);
    drawer_.SetBaseStyle(bold ? fsBold : 0);
    charWidth_ = std::max(1, drawer_.CharWidth());
}

// ---- Gutter ----------------------------------------------------------------------------

bool TqvCustomEdit::GutterAutoSizes() const {
    return gutter_.ShowLineNumbers() && gutter_.AutoSize();
}

void TqvCustomEdit::GutterChanged(TObject*) {
    if (GutterAutoSizes()) gutter_.AutoSizeDigitCount(LineCount());
    const int width = gutter_.RealGutterWidth(charWidth_);
    if (width == gutterWidth_)
        InvalidateGutterLines(-1, -1);
    else
        SetGutterWidth(width);
}

void TqvCustomEdit::SetGutterWidth(int value) {
    gutterWidth_ = std::max(value, 0);
    UpdateTextOffset();
    if (!HandleAllocated()) return;
    ComputeVisibleArea();
    UpdateScrollBars();
    Invalidate();
}

void TqvCustomEdit::BookMarkOptionsChanged(TObject*) {
    InvalidateGutterLines(-1, -1);
}

void TqvCustomEdit::SelectedColorChanged(TObject*) {
    Invalidate();
}

} // namespace ondrex
