#include "editor/TuzFontStock.h"

#include "platform/Canvas.h"

#include <climits>

namespace ondrex {

TuzFontStock::~TuzFontStock() {
    ReleaseFontsInfo();
}

void TuzFontStock::ReleaseFontsInfo() {
    if (!info_) return;
    GiveBackFontHandles();
    GetFontsInfoManager().DropFontsInfoRef(info_);
    info_ = nullptr;
    currentSlot_ = nullptr;
}

void TuzFontStock::SetBaseFont(const TFont* value) {
    if (!value) throw EuzFontStockException("SetBaseFont: 'Value' must be specified.");
    TuzFontsInfoManager& manager = GetFontsInfoManager();
    TuzFontsInfo* info = manager.FindOrAddFontsInfo(value);
    if (info == info_) {
        manager.DropFontsInfoRef(info);
        return;
    }
    ReleaseFontsInfo();
    info_ = info;
    baseKey_ = info->BaseKey;
    SelectStyle(value->Style());
}

void TuzFontStock::SelectStyle(int styleIndex) {
    if (styleIndex < 0 || styleIndex > uzMaxStyleIndex)
        throw EuzAssertion("SelectStyle: style index out of range.");
    if (!info_) throw EuzAssertion("SelectStyle before SetBaseFont.");
    if (!usingHandles_) {
        GetFontsInfoManager().HoldFontHandles(info_);
        usingHandles_ = true;
    }
    TuzFontSlot& slot = info_->Slots[styleIndex];
    currentStyle_ = styleIndex;
    if (&slot == currentSlot_ && slot.Handle) return;
    if (!slot.Handle) MakeFont(slot, styleIndex);
    currentSlot_ = &slot;
}

// The cell is the advance of "M" with its overhang; a font without ABC widths (not
// scalable) gives its average character width instead.
void TuzFontStock::MakeFont(TuzFontSlot& slot, int styleIndex) {
    auto font = std::make_unique<TFont>(
        baseKey_.Face, baseKey_.Height,
        TFontStyles((styleIndex & (fsBold | fsItalic | fsUnderline | fsStrikeOut))));
    font->SetCharset(baseKey_.Charset);
    font->SetPitch(baseKey_.Pitch);

    TCanvas& canvas = GetFontsInfoManager().ScreenCanvas();
    const TFont saved = canvas.Font;
    canvas.Font = *font;
    const TTextMetric metrics = canvas.GetTextMetrics();
    TABC abc;
    int overhang = metrics.Overhang;
    const bool haveAbc = canvas.GetCharABCWidths(U'M', abc);
    if (!haveAbc) {
        abc = {0, metrics.AveCharWidth, 0};
        overhang = 0;
    }
    slot.CellWidth = abc.Advance() + overhang;
    slot.CellHeight = metrics.Height < 0 ? -metrics.Height : metrics.Height;
    slot.DBCharWidth = 0;
    if (info_->IsDBCSFont) {
        slot.DBCharWidth = INT_MAX;
        TABC first, second;
        if (baseKey_.Charset == SHIFTJIS_CHARSET && haveAbc &&
            canvas.GetCharABCWidths(0x8201, first) && canvas.GetCharABCWidths(0x82A0, second) &&
            first.Advance() * 2 > slot.CellWidth * 3 && first.Advance() == second.Advance())
            slot.DBCharWidth = first.Advance();
    }
    canvas.Font = saved;
    slot.Handle = std::move(font);
}

void TuzFontStock::GiveBackFontHandles() {
    if (!usingHandles_) return;
    GetFontsInfoManager().DeactivateFontsInfo(info_);
    usingHandles_ = false;
    currentSlot_ = nullptr;
}

} // namespace ondrex
