#pragma once
// The fonts of one base font in each style, with the cell size of each, created on first
// use and shared through the process-wide registry with every stock of an equal font.

#include "editor/TuzFontsInfoManager.h"

#include <stdexcept>

namespace ondrex {

class EuzFontStockException : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class TuzFontStock {
public:
    TuzFontStock() = default;
    ~TuzFontStock();
    TuzFontStock(const TuzFontStock&) = delete;
    TuzFontStock& operator=(const TuzFontStock&) = delete;

    void SetBaseFont(const TFont* value);
    // Makes the font of the style index (fsBold | fsItalic | ...) current.
    void SelectStyle(int styleIndex);
    void GiveBackFontHandles();

    const TFont* FontHandle() const { return currentSlot_ ? currentSlot_->Handle.get() : nullptr; }
    int CellWidth() const { return currentSlot_ ? currentSlot_->CellWidth : 0; }
    int CellHeight() const { return currentSlot_ ? currentSlot_->CellHeight : 0; }
    int DBCharWidth() const { return currentSlot_ ? currentSlot_->DBCharWidth : 0; }
    int Style() const { return currentStyle_; }
    const TuzFontsInfo* FontsInfo() const { return info_; }

private:
    void ReleaseFontsInfo();
    void MakeFont(TuzFontSlot& slot, int styleIndex);

    TuzFontsInfo* info_ = nullptr;
    bool usingHandles_ = false;
    TuzFontKey baseKey_;
    TuzFontSlot* currentSlot_ = nullptr;
    int currentStyle_ = 0;
};

} // namespace ondrex
