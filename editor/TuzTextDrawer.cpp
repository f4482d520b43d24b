#include "editor/TuzTextDrawer.h"

#include "platform/Canvas.h"
#include "platform/SystemColors.h"

namespace ondrex {

TuzTextDrawer::TuzTextDrawer(TFontStyles baseStyle, const TFont* baseFont)
    : baseStyle_(baseStyle), foreColor_(clWindowText), backColor_(clWindow) {
    SetBaseFont(baseFont);
}

void TuzTextDrawer::BindContext(TCanvas* canvas) {
    if (!canvas) throw EuzAssertion("BindContext needs a canvas.");
    if (canvas != canvas_) {
        if (canvas_ || drawingCount_ != 0)
            throw EuzAssertion("BindContext: another canvas is bound.");
        canvas_ = canvas;
        canvas_->Save();
        ApplyFont();
        canvas_->BkColor = backColor_;
    }
    ++drawingCount_;
}

void TuzTextDrawer::UnbindContext() {
    if (drawingCount_ <= 0) throw EuzAssertion("UnbindContext without BindContext.");
    if (--drawingCount_ > 0) return;
    canvas_->Restore();
    canvas_ = nullptr;
}

// The canvas writes text in its font's colour, so the foreground travels with the font.
void TuzTextDrawer::ApplyFont() {
    if (!canvas_) return;
    if (const TFont* font = stock_.FontHandle()) canvas_->Font = *font;
    canvas_->Font.SetColor(foreColor_);
}

void TuzTextDrawer::CacheCellSize() {
    charWidth_ = stock_.CellWidth();
    charHeight_ = stock_.CellHeight();
}

void TuzTextDrawer::SetBaseFont(const TFont* value) {
    if (!value) throw EuzTextDrawerException("SetBaseFont: 'Value' must be specified.");
    spacing_.clear();
    stock_.SetBaseFont(value);
    stock_.SelectStyle(baseStyle_);
    CacheCellSize();
    SetStyle(value->Style());
}

void TuzTextDrawer::SetBaseStyle(TFontStyles value) {
    if (value == baseStyle_) return;
    baseStyle_ = value;
    spacing_.clear();
    stock_.SelectStyle(value);
    CacheCellSize();
}

void TuzTextDrawer::SetStyle(TFontStyles value) {
    stock_.SelectStyle(value);
    ApplyFont();
}

void TuzTextDrawer::SetForeColor(TColor value) {
    if (value == foreColor_) return;
    foreColor_ = value;
    if (canvas_) canvas_->Font.SetColor(value);
}

void TuzTextDrawer::SetBackColor(TColor value) {
    if (value == backColor_) return;
    backColor_ = value;
    if (canvas_) canvas_->BkColor = value;
}

// The spacing table is refilled too: entries of the old width beside new ones would write
// a line with uneven cells.
void TuzTextDrawer::SetCharExtra(int value) {
    if (value == charExtra_) return;
    charExtra_ = value;
    spacing_.clear();
}

void TuzTextDrawer::PutText(int x, int y, std::string_view text) {
    canvas_->ExtTextOut(x, y, 0, nullptr, text, {});
}

void TuzTextDrawer::PutTextSpaced(int x, int y, unsigned options, const TRect& clip,
                                  std::string_view text) {
    if (spacing_.size() < text.size()) spacing_.resize(text.size() / 64 * 64 + 64, CharWidth());
    canvas_->ExtTextOut(x, y, options, &clip, text,
                        std::span<const int>(spacing_.data(), text.size()));
}

void TuzTextDrawer::PutTextCells(int x, int y, unsigned options, const TRect& clip,
                                 std::string_view text, std::span<const int> cells) {
    cellAdvances_.resize(text.size());
    const int width = CharWidth();
    for (std::size_t i = 0; i < text.size(); ++i)
        cellAdvances_[i] = (i < cells.size() ? cells[i] : 1) * width;
    canvas_->ExtTextOut(x, y, options, &clip, text, cellAdvances_);
}

} // namespace ondrex
