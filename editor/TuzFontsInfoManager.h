#pragma once
// One process-wide registry of measured fonts, so that every editor using an equal base
// font shares one set of per-style fonts and cell sizes. Records are found by a normalised
// key: the style flags other than the weight do not make another record.

#include "platform/Font.h"

#include <array>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace ondrex {

class TCanvas;

// Broken call pairing of the text drawer unit: a programming error, never a user's.
class EuzAssertion : public std::logic_error {
public:
    explicit EuzAssertion(const std::string& what);
};

// The style index: fsBold, fsItalic, fsUnderline, fsStrikeOut bits (0..15); 16 is accepted.
constexpr int uzMaxStyleIndex = 16;

// What makes two base fonts equal for sharing: everything but italic, underline,
// strike-out and the colour.
struct TuzFontKey {
    std::string Face;
    int Height = 0;
    bool Bold = false;
    std::uint8_t Charset = DEFAULT_CHARSET;
    TFontPitch Pitch = TFontPitch::fpDefault;
    bool operator==(const TuzFontKey&) const = default;

    static TuzFontKey Of(const TFont& font);
};

struct TuzFontSlot {
    std::unique_ptr<TFont> Handle; // the style's font, none until first needed
    int CellWidth = 0;
    int CellHeight = 0;
    // 0 unless the font's character set is double-byte; then the measured advance of a
    // double-byte character, or INT_MAX when none was measured.
    int DBCharWidth = 0;
};

struct TuzFontsInfo {
    int RefCount = 0;
    int HandleLockCount = 0;
    TFont BaseFont;
    TuzFontKey BaseKey;
    bool IsDBCSFont = false;
    std::array<TuzFontSlot, uzMaxStyleIndex + 1> Slots;
};

class TuzFontsInfoManager {
public:
    TuzFontsInfoManager() = default;
    TuzFontsInfoManager(const TuzFontsInfoManager&) = delete;
    TuzFontsInfoManager& operator=(const TuzFontsInfoManager&) = delete;

    // Adds a reference to the record of an equal font, creating it when there is none.
    TuzFontsInfo* FindOrAddFontsInfo(const TFont* font);
    // Drops a reference; the last one removes the record. Its handles must be given back.
    void DropFontsInfoRef(TuzFontsInfo* info);
    void HoldFontHandles(TuzFontsInfo* info) { ++info->HandleLockCount; }
    // The last holder to let go deletes every per-style font of the record.
    void DeactivateFontsInfo(TuzFontsInfo* info);

    int Count() const { return int(records_.size()); }

    // The canvas fonts are measured on: a screen canvas unless one was given (a headless
    // program may measure on a recording canvas).
    TCanvas& ScreenCanvas();
    void SetScreenCanvas(std::unique_ptr<TCanvas> canvas);

private:
    std::vector<std::unique_ptr<TuzFontsInfo>> records_;
    std::unique_ptr<TCanvas> screen_;
};

// The registry of the process, created on first use and kept to the end.
TuzFontsInfoManager& GetFontsInfoManager();

} // namespace ondrex
