#pragma once
// What the editor's painter talks to: binds a canvas, selects the font of the current style
// and the colours, and writes text in a fixed grid where every character advances by
// exactly one cell, whatever its style.

#include "editor/TuzFontStock.h"
#include "platform/Color.h"
#include "platform/Geometry.h"

#include <span>
#include <stdexcept>
#include <string_view>
#include <vector>

namespace ondrex {

class TCanvas;

class EuzTextDrawerException : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class TuzTextDrawer {
public:
    TuzTextDrawer(TFontStyles baseStyle, const TFont* baseFont);
    TuzTextDrawer(const TuzTextDrawer&) = delete;
    TuzTextDrawer& operator=(const TuzTextDrawer&) = delete;

    // Calls nest: binding the bound canvas again is allowed, another one is not while
    // drawing. Each BindContext needs its UnbindContext.
    void BindContext(TCanvas* canvas);
    void UnbindContext();
    TCanvas* BoundCanvas() const { return canvas_; }

    void SetBaseFont(const TFont* value);
    TFontStyles BaseStyle() const { return baseStyle_; }
    void SetBaseStyle(TFontStyles value);
    // The style the next text is written in.
    void SetStyle(TFontStyles value);

    TColor ForeColor() const { return foreColor_; }
    void SetForeColor(TColor value);
    TColor BackColor() const { return backColor_; }
    void SetBackColor(TColor value);
    int CharExtra() const { return charExtra_; }
    void SetCharExtra(int value);

    // The cell of the base style; the width includes the extra character spacing.
    int CharWidth() const { return charWidth_ + charExtra_; }
    int CharHeight() const { return charHeight_; }

    void PutText(int x, int y, std::string_view text);
    // Every byte advances by one cell; `options` are ETO_OPAQUE / ETO_CLIPPED.
    void PutTextSpaced(int x, int y, unsigned options, const TRect& clip, std::string_view text);

    // As PutTextSpaced, but each character advances by its own count of cells: `cells` holds
    // one entry per byte, the character's cells on its first byte and 0 on the others.
    void PutTextCells(int x, int y, unsigned options, const TRect& clip, std::string_view text,
                      std::span<const int> cells);

    void ReleaseTemporaryResources() { stock_.GiveBackFontHandles(); }

    int SpacingTableLength() const { return int(spacing_.size()); }

private:
    void ApplyFont();
    void CacheCellSize();

    TuzFontStock stock_;
    TCanvas* canvas_ = nullptr;
    int drawingCount_ = 0;
    TFontStyles baseStyle_ = 0;
    int charWidth_ = 0;
    int charHeight_ = 0;
    TColor foreColor_;
    TColor backColor_;
    int charExtra_ = 0;
    std::vector<int> spacing_;
    std::vector<int> cellAdvances_;
};

} // namespace ondrex
