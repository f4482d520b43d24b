#pragma once
// The gutter's settings and its line-number formatting. The gutter knows nothing of fonts:
// its pixel width is asked for a given character width.

#include "platform/Color.h"
#include "platform/Cursor.h"
#include "platform/Event.h"
#include "platform/Object.h"

#include <string>

namespace ondrex {

class TqvGutter : public TObject {
public:
    TqvGutter();
    std::string ClassName() const override { return "TqvGutter"; }

    // Copies every setting but Cursor and UseFontStyle, plus the automatic digit count,
    // then announces one change.
    void Assign(const TqvGutter& source);

    // Grows the digit count to fit the largest line number of lineCount lines when the
    // gutter is visible, auto-sized and numbered; otherwise it falls back to DigitCount.
    void AutoSizeDigitCount(int lineCount);
    // The number of the 1-based line, right-aligned to the automatic digit count.
    std::string FormatLineNumber(int line) const;
    // Pixel width for a font whose characters are charWidth pixels wide.
    int RealGutterWidth(int charWidth) const;

    int AutoSizedDigitCount() const { return autoSizeDigitCount_; }

    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool value);
    TColor Color() const { return color_; }
    void SetColor(TColor value);
    // Changing it repaints nothing, so it announces no change.
    TCursor Cursor() const { return cursor_; }
    void SetCursor(TCursor value) { cursor_ = value; }
    // Clamped to 2..12.
    int DigitCount() const { return digitCount_; }
    void SetDigitCount(int value);
    bool LeadingZeros() const { return leadingZeros_; }
    void SetLeadingZeros(bool value);
    // The offsets and the width never go below 0.
    int LeftOffset() const { return leftOffset_; }
    void SetLeftOffset(int value);
    int RightOffset() const { return rightOffset_; }
    void SetRightOffset(int value);
    bool ShowLineNumbers() const { return showLineNumbers_; }
    void SetShowLineNumbers(bool value);
    bool UseFontStyle() const { return useFontStyle_; }
    void SetUseFontStyle(bool value);
    bool Visible() const { return visible_; }
    void SetVisible(bool value);
    int Width() const { return width_; }
    void SetWidth(int value);
    bool ZeroStart() const { return zeroStart_; }
    void SetZeroStart(bool value);

    TNotifyEvent OnChange;

private:
    template <class T> void Change(T& field, T value);
    void Changed() { OnChange(this); }

    bool autoSize_ = false;
    TColor color_;
    TCursor cursor_ = crDefault;
    int digitCount_ = 4;
    int autoSizeDigitCount_ = 4;
    bool leadingZeros_ = false;
    int leftOffset_ = 16;
    int rightOffset_ = 2;
    bool showLineNumbers_ = false;
    bool useFontStyle_ = false;
    bool visible_ = true;
    int width_ = 30;
    bool zeroStart_ = false;
};

} // namespace ondrex
