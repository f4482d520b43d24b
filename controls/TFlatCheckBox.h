#pragma once
// TFlatCheckBox: a check box drawn entirely by us in a flat style: an 11 x 11 square whose
// fill shows hovering, focus and a held button, a six-stroke tick and a word-wrapped caption
// beside it. The whole control reacts to the mouse, so clicking the caption toggles too.
//
// Checked changes raise OnClick, whatever changed them (mouse, Space, accelerator, code);
// the host's own click is not passed on, so one toggle is one OnClick.
//
// All flat check boxes of the process share one hover timer and one hovered box: moving
// from one to another moves the highlight at once, and the timer ends a hover the pointer
// left without a leave message.
//
// There is no parent control: the window tells the box its background colour and font
// (ParentColorChanged, ParentFontChanged), which it takes while ParentColor / ParentFont.

#include "controls/FlatUtilitys.h"
#include "platform/Control.h"
#include "platform/Font.h"

#include <optional>
#include <string>

namespace ondrex {

class TTimer;

enum class TCheckBoxLayout { checkboxLeft, checkboxRight };

class TFlatCheckBox : public TCustomControl {
public:
    TFlatCheckBox();
    ~TFlatCheckBox() override;

    std::string ClassName() const override { return "TFlatCheckBox"; }

    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& caption);

    bool Checked() const { return checked_; }
    void SetChecked(bool checked);

    TCheckBoxLayout Layout() const { return layout_; }
    void SetLayout(TCheckBoxLayout layout);

    // The background; setting it turns ParentColor off.
    TColor Color() const { return color_; }
    void SetColor(TColor color);
    bool ParentColor() const { return parentColor_; }
    void SetParentColor(bool parentColor);
    // Setting it turns ParentFont off.
    const TFont& Font() const { return font_; }
    void SetFont(const TFont& font);
    bool ParentFont() const { return parentFont_; }
    void SetParentFont(bool parentFont);

    TColor ColorFocused() const { return colorFocused_; }
    void SetColorFocused(TColor color);
    TColor ColorDown() const { return colorDown_; }
    void SetColorDown(TColor color);
    TColor ColorCheck() const { return colorCheck_; }
    void SetColorCheck(TColor color);
    TColor ColorBorder() const { return colorBorder_; }
    void SetColorBorder(TColor color);

    // With UseAdvColors the focused, down and border colours follow the parent's colour by
    // these lightness steps (0..100, clamped; 0 keeps the colour as it is).
    bool UseAdvColors() const { return useAdvColors_; }
    void SetUseAdvColors(bool use);
    TAdvColors AdvColorFocused() const { return advColorFocused_; }
    void SetAdvColorFocused(TAdvColors step);
    TAdvColors AdvColorDown() const { return advColorDown_; }
    void SetAdvColorDown(TAdvColors step);
    TAdvColors AdvColorBorder() const { return advColorBorder_; }
    void SetAdvColorBorder(TAdvColors step);

    // ---- From the window ----
    void ParentColorChanged(TColor parentColor);
    void ParentFontChanged(const TFont& parentFont);
    void SysColorsChanged();
    // A character the window offers its controls (Alt + a letter): the caption's accelerator
    // focuses and toggles the box, Space toggles it while focused. True when consumed.
    bool DialogChar(const std::string& character);

    // ---- State ----
    bool MouseIn() const { return mouseIn_; }
    bool MouseIsDown() const { return mouseIsDown_; }
    bool HasFocus() const { return hasFocus_; }
    // The 11 x 11 square in client pixels.
    TRect CheckRect() const;

    // The hover timer all flat check boxes share; null while there are none.
    static TTimer* HoverTimer();
    // The box shown hovered, if any.
    static TFlatCheckBox* Tracked();

protected:
    void Paint(TCanvas& canvas, const TRect& clip) override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void Click() override;
    void MouseLeave() override;
    void FocusIn() override;
    void FocusOut() override;
    void KeyPress(std::string& character) override;
    void EnabledChanged() override;

    void DrawCheckRect(TCanvas& canvas);
    void DrawCheckText(TCanvas& canvas);

private:
    // Repaints the square at once.
    void RedrawCheckRect();
    void PointerEntered();
    void PointerLeft();
    void StopTracking();
    void HoverTick(TObject*);
    void StoreAdvColor(TAdvColors& field, TAdvColors step);
    void CalcAdvColors();

    std::string caption_;
    bool checked_ = false;
    TCheckBoxLayout layout_ = TCheckBoxLayout::checkboxLeft;
    TColor color_ = 0xE1EAEB;
    bool parentColor_ = true;
    std::optional<TColor> parentColorValue_;
    TFont font_;
    bool parentFont_ = true;
    TColor colorFocused_ = 0xFFFFFF;
    TColor colorDown_ = 0xC5D6D9;
    TColor colorCheck_ = 0x000000;
    TColor colorBorder_ = 0x8396A0;
    bool useAdvColors_ = false;
    TAdvColors advColorFocused_ = 10;
    TAdvColors advColorDown_ = 10;
    TAdvColors advColorBorder_ = 50;
    bool mouseIn_ = false;
    bool mouseIsDown_ = false;
    bool hasFocus_ = false;
};

} // namespace ondrex
