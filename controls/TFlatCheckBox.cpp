#include "controls/TFlatCheckBox.h"

#include "platform/Canvas.h"
#include "platform/CodePage.h"
#include "platform/SystemColors.h"
#include "platform/Timer.h"

#include <algorithm>
#include <memory>

namespace ondrex {

namespace {

constexpr int kHoverInterval = 100;
constexpr int kSquareSize = 11;

// Shared by every flat check box: the timer lives while at least one box does.
struct THoverTracking {
    std::unique_ptr<TTimer> Timer;
    int Instances = 0;
    TFlatCheckBox* Tracked = nullptr;
};

THoverTracking& Hover() {
    static THoverTracking hover;
    return hover;
}

// The six strokes of the tick, from the square's top-left corner.
constexpr struct {
    int X1, Y1, X2, Y2;
} kTick[] = {{2, 4, 6, 8}, {2, 5, 5, 8}, {2, 6, 5, 9}, {8, 2, 4, 6}, {8, 3, 4, 7}, {8, 4, 5, 7}};

// True when `character` is the letter after a single "&" of `caption`.
bool IsAccel(const std::string& character, const std::string& caption) {
    if (character.size() != 1) return false;
    for (std::size_t i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != '&') continue;
        if (caption[i + 1] == '&') {
            ++i; // "&&" is a literal ampersand
            continue;
        }
        return AsciiUpper(caption[i + 1]) == AsciiUpper(character[0]);
    }
    return false;
}

void StoreColor(TCustomControl& control, TColor& field, TColor color) {
    if (field == color) return;
    field = color;
    control.Invalidate();
}

} // namespace

TFlatCheckBox::TFlatCheckBox() {
    SetBounds(0, 0, 121, 17);
    THoverTracking& hover = Hover();
    if (hover.Instances++ == 0) {
        hover.Timer = std::make_unique<TTimer>();
        hover.Timer->SetEnabled(false);
        hover.Timer->SetInterval(kHoverInterval);
    }
}

TFlatCheckBox::~TFlatCheckBox() {
    StopTracking();
    THoverTracking& hover = Hover();
    if (--hover.Instances == 0) hover.Timer.reset();
}

TTimer* TFlatCheckBox::HoverTimer() {
    return Hover().Timer.get();
}

TFlatCheckBox* TFlatCheckBox::Tracked() {
    return Hover().Tracked;
}

// ---- Properties --------------------------------------------------------------------------

void TFlatCheckBox::SetCaption(const std::string& caption) {
    if (caption_ == caption) return;
    caption_ = caption;
    Invalidate();
}

void TFlatCheckBox::SetChecked(bool checked) {
    if (checked_ == checked) return;
    checked_ = checked;
    OnClick(this);
    RedrawCheckRect();
}

void TFlatCheckBox::SetLayout(TCheckBoxLayout layout) {
    if (layout_ == layout) return;
    layout_ = layout;
    Invalidate();
}

void TFlatCheckBox::SetColor(TColor color) {
    parentColor_ = false;
    if (color_ == color) return;
    color_ = color;
    Invalidate();
}

void TFlatCheckBox::SetParentColor(bool parentColor) {
    parentColor_ = parentColor;
    if (parentColor && parentColorValue_ && color_ != *parentColorValue_) {
        color_ = *parentColorValue_;
        Invalidate();
    }
}

void TFlatCheckBox::SetFont(const TFont& font) {
    parentFont_ = false;
    font_ = font;
    Invalidate();
}

void TFlatCheckBox::SetParentFont(bool parentFont) {
    parentFont_ = parentFont;
}

void TFlatCheckBox::SetColorFocused(TColor color) {
    StoreColor(*this, colorFocused_, color);
}
void TFlatCheckBox::SetColorDown(TColor color) {
    StoreColor(*this, colorDown_, color);
}
void TFlatCheckBox::SetColorCheck(TColor color) {
    StoreColor(*this, colorCheck_, color);
}
void TFlatCheckBox::SetColorBorder(TColor color) {
    StoreColor(*this, colorBorder_, color);
}

void TFlatCheckBox::SetUseAdvColors(bool use) {
    if (useAdvColors_ == use) return;
    useAdvColors_ = use;
    SetParentColor(use);
    CalcAdvColors();
    Invalidate();
}

void TFlatCheckBox::SetAdvColorFocused(TAdvColors step) {
    StoreAdvColor(advColorFocused_, step);
}
void TFlatCheckBox::SetAdvColorDown(TAdvColors step) {
    StoreAdvColor(advColorDown_, step);
}
void TFlatCheckBox::SetAdvColorBorder(TAdvColors step) {
    StoreAdvColor(advColorBorder_, step);
}

void TFlatCheckBox::StoreAdvColor(TAdvColors& field, TAdvColors step) {
    field = std::clamp(step, 0, MaxAdvColors);
    CalcAdvColors();
    Invalidate();
}

void TFlatCheckBox::CalcAdvColors() {
    if (!useAdvColors_) return;
    colorFocused_ =
        CalcAdvancedColor(color_, colorFocused_, advColorFocused_, TColorCalcType::lighten);
    colorDown_ = CalcAdvancedColor(color_, colorDown_, advColorDown_, TColorCalcType::darken);
    colorBorder_ = CalcAdvancedColor(color_, colorBorder_, advColorBorder_, TColorCalcType::darken);
}

// ---- From the window ---------------------------------------------------------------------

void TFlatCheckBox::ParentColorChanged(TColor parentColor) {
    parentColorValue_ = parentColor;
    if (parentColor_) color_ = parentColor;
    SysColorsChanged();
}

void TFlatCheckBox::SysColorsChanged() {
    if (useAdvColors_) {
        SetParentColor(true);
        CalcAdvColors();
    }
    Invalidate();
}

void TFlatCheckBox::ParentFontChanged(const TFont& parentFont) {
    if (!parentFont_) return;
    font_ = parentFont;
    Invalidate();
}

bool TFlatCheckBox::DialogChar(const std::string& character) {
    if (IsAccel(character, caption_) && Enabled() && Visible() && HandleAllocated()) {
        SetFocus();
        if (Focused()) SetChecked(!checked_);
        return true;
    }
    if (character == " " && hasFocus_) {
        SetChecked(!checked_);
        return true;
    }
    return false;
}

// ---- Painting ----------------------------------------------------------------------------

TRect TFlatCheckBox::CheckRect() const {
    const TRect c = ClientRect();
    const int left =
        layout_ == TCheckBoxLayout::checkboxLeft ? c.Left + 1 : c.Right - 1 - kSquareSize;
    return Bounds(left, c.Top + 3, kSquareSize, kSquareSize);
}

void TFlatCheckBox::Paint(TCanvas& canvas, const TRect& clip) {
    // Nothing is erased before a paint: the background is ours to fill.
    canvas.Brush.Style = TBrushStyle::bsSolid;
    canvas.Brush.Color = color_;
    canvas.FillRect(clip);
    DrawCheckRect(canvas);
    DrawCheckText(canvas);
}

void TFlatCheckBox::DrawCheckRect(TCanvas& canvas) {
    const TRect square = CheckRect();
    canvas.Pen.Style = TPenStyle::psSolid;
    canvas.Pen.Width = 1;
    const TColor fill = !hasFocus_ && !mouseIn_ ? color_
                        : mouseIsDown_          ? colorDown_
                                                : colorFocused_;
    canvas.Brush.Style = TBrushStyle::bsSolid;
    canvas.Brush.Color = fill;
    canvas.Pen.Color = fill;
    canvas.FillRect(square);
    if (checked_) {
        canvas.Pen.Color = Enabled() ? colorCheck_ : clBtnShadow;
        for (const auto& s : kTick) {
            canvas.MoveTo(square.Left + s.X1, square.Top + s.Y1);
            canvas.LineTo(square.Left + s.X2, square.Top + s.Y2);
        }
    }
    canvas.Brush.Color = colorBorder_;
    canvas.FrameRect(square);
}

void TFlatCheckBox::DrawCheckText(TCanvas& canvas) {
    const TRect c = ClientRect();
    TRect text;
    unsigned flags = DT_WORDBREAK;
    if (layout_ == TCheckBoxLayout::checkboxLeft) {
        text = {c.Left + 16, c.Top + 1, c.Right - 1, c.Bottom - 1};
    } else {
        text = {c.Left + 1, c.Top + 1, c.Right - 16, c.Bottom - 1};
        flags |= DT_RIGHT;
    }
    canvas.BkMode = TBkMode::bkTransparent;
    canvas.Font = font_;
    if (Enabled()) {
        canvas.DrawText(caption_, text, flags);
        return;
    }
    // Embossed: a light copy one pixel down and right, the shadow in place.
    TRect raised = text.Offset(1, 1);
    canvas.Font.SetColor(clBtnHighlight);
    canvas.DrawText(caption_, raised, flags);
    canvas.Font.SetColor(clBtnShadow);
    canvas.DrawText(caption_, text, flags);
}

void TFlatCheckBox::RedrawCheckRect() {
    InvalidateRect(CheckRect(), false);
    Update();
}

// ---- Mouse -------------------------------------------------------------------------------

void TFlatCheckBox::MouseMove(TShiftState shift, int x, int y) {
    TCustomControl::MouseMove(shift, x, y);
    THoverTracking& hover = Hover();
    if (hover.Tracked == this || !ClientRect().Contains({x, y})) return;
    if (hover.Tracked) hover.Tracked->PointerLeft();
    if (!ApplicationActive()) return;
    hover.Timer->SetEnabled(false);
    hover.Tracked = this;
    hover.Timer->SetOnTimer(TNotifyEvent::bind<&TFlatCheckBox::HoverTick>(this));
    hover.Timer->SetEnabled(true);
    PointerEntered();
}

void TFlatCheckBox::HoverTick(TObject*) {
    if (!ClientRect().Contains(CursorPos())) PointerLeft();
}

void TFlatCheckBox::MouseLeave() {
    TCustomControl::MouseLeave();
    PointerLeft();
}

void TFlatCheckBox::PointerEntered() {
    if (!Enabled() || mouseIn_) return;
    mouseIn_ = true;
    RedrawCheckRect();
}

void TFlatCheckBox::PointerLeft() {
    // While the button is held the box keeps the mouse: a release off it still toggles.
    if (!Enabled() || !mouseIn_ || mouseIsDown_) return;
    mouseIn_ = false;
    StopTracking();
    RedrawCheckRect();
}

void TFlatCheckBox::StopTracking() {
    THoverTracking& hover = Hover();
    if (hover.Tracked != this) return;
    hover.Timer->SetEnabled(false);
    hover.Tracked = nullptr;
}

void TFlatCheckBox::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    if (button != TMouseButton::mbLeft || !Enabled()) return;
    SetFocus();
    mouseIsDown_ = true;
    RedrawCheckRect();
    TCustomControl::MouseDown(button, shift, x, y);
}

void TFlatCheckBox::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    if (button != TMouseButton::mbLeft || !Enabled()) return;
    mouseIsDown_ = false;
    if (mouseIn_) SetChecked(!checked_);
    RedrawCheckRect();
    TCustomControl::MouseUp(button, shift, x, y);
}

void TFlatCheckBox::Click() {
    // OnClick follows Checked; the host's click would raise it a second time.
}

// ---- Focus, keys, state ------------------------------------------------------------------

void TFlatCheckBox::FocusIn() {
    TCustomControl::FocusIn();
    hasFocus_ = true;
    RedrawCheckRect();
}

void TFlatCheckBox::FocusOut() {
    TCustomControl::FocusOut();
    if (Enabled()) {
        mouseIn_ = false;
        // Else the box stays tracked without its hover state and never shows it again.
        StopTracking();
    }
    hasFocus_ = false;
    RedrawCheckRect();
}

void TFlatCheckBox::KeyPress(std::string& character) {
    TCustomControl::KeyPress(character);
    if (character == " " && DialogChar(character)) character.clear();
}

void TFlatCheckBox::EnabledChanged() {
    if (!Enabled()) {
        mouseIn_ = false;
        mouseIsDown_ = false;
        StopTracking();
    }
    Invalidate();
}

} // namespace ondrex
