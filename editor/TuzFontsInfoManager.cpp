#include "editor/TuzFontsInfoManager.h"

#include "platform/Canvas.h"

#include <algorithm>

namespace ondrex {

EuzAssertion::EuzAssertion(const std::string& what)
    : std::logic_error("Assertion failed: " + what + " (uTextDrawer)") {}

TuzFontKey TuzFontKey::Of(const TFont& font) {
    return {font.Name(), font.Height(), (font.Style() & fsBold) != 0, font.Charset(), font.Pitch()};
}

namespace {
bool IsDoubleByteCharset(std::uint8_t charset) {
    return charset == SHIFTJIS_CHARSET || charset == HANGEUL_CHARSET || charset == GB2312_CHARSET ||
           charset == CHINESEBIG5_CHARSET;
}
} // namespace

TuzFontsInfo* TuzFontsInfoManager::FindOrAddFontsInfo(const TFont* font) {
    if (!font) throw EuzAssertion("FindOrAddFontsInfo needs a font.");
    const TuzFontKey key = TuzFontKey::Of(*font);
    auto found = std::find_if(records_.begin(), records_.end(),
                              [&](const auto& r) { return r->BaseKey == key; });
    TuzFontsInfo* info;
    if (found != records_.end()) {
        info = found->get();
    } else {
        auto record = std::make_unique<TuzFontsInfo>();
        record->BaseFont = *font;
        record->BaseKey = key;
        record->IsDBCSFont = IsDoubleByteCharset(font->Charset());
        info = record.get();
        records_.push_back(std::move(record));
    }
    ++info->RefCount;
    return info;
}

void TuzFontsInfoManager::DropFontsInfoRef(TuzFontsInfo* info) {
    if (info->HandleLockCount >= info->RefCount)
        throw EuzAssertion("Call DeactivateFontsInfo before calling this.");
    if (info->RefCount >= 2) {
        --info->RefCount;
        return;
    }
    std::erase_if(records_, [&](const auto& r) { return r.get() == info; });
}

void TuzFontsInfoManager::DeactivateFontsInfo(TuzFontsInfo* info) {
    if (info->HandleLockCount <= 0) throw EuzAssertion("DeactivateFontsInfo without holding.");
    if (--info->HandleLockCount > 0) return;
    for (TuzFontSlot& slot : info->Slots)
        slot.Handle.reset();
}

TCanvas& TuzFontsInfoManager::ScreenCanvas() {
    if (!screen_) screen_ = CreateScreenCanvas();
    return *screen_;
}

void TuzFontsInfoManager::SetScreenCanvas(std::unique_ptr<TCanvas> canvas) {
    screen_ = std::move(canvas);
}

// Never destroyed: its screen canvas holds toolkit objects that must not outlive the
// toolkit, and static destruction comes after the application object is gone.
TuzFontsInfoManager& GetFontsInfoManager() {
    static TuzFontsInfoManager* manager = new TuzFontsInfoManager;
    return *manager;
}

} // namespace ondrex
