#include "editor/TqvGutter.h"

#include "editor/qvSupportProcs.h"
#include "platform/SystemColors.h"

namespace ondrex {

namespace {

int DecimalDigits(int value) {
    return int(std::to_string(value).size());
}

} // namespace

TqvGutter::TqvGutter() : color_(clBtnFace) {}

template <class T> void TqvGutter::Change(T& field, T value) {
    if (field == value) return;
    field = value;
    Changed();
}

void TqvGutter::Assign(const TqvGutter& source) {
    if (&source == this) return;
    autoSize_ = source.autoSize_;
    color_ = source.color_;
    digitCount_ = source.digitCount_;
    autoSizeDigitCount_ = source.autoSizeDigitCount_;
    leadingZeros_ = source.leadingZeros_;
    leftOffset_ = source.leftOffset_;
    rightOffset_ = source.rightOffset_;
    showLineNumbers_ = source.showLineNumbers_;
    visible_ = source.visible_;
    width_ = source.width_;
    zeroStart_ = source.zeroStart_;
    Changed();
}

void TqvGutter::AutoSizeDigitCount(int lineCount) {
    if (visible_ && autoSize_ && showLineNumbers_) {
        int digits = MaxInt(digitCount_, DecimalDigits(zeroStart_ ? lineCount - 1 : lineCount));
        Change(autoSizeDigitCount_, digits);
    } else {
        autoSizeDigitCount_ = digitCount_;
    }
}

std::string TqvGutter::FormatLineNumber(int line) const {
    std::string number = std::to_string(zeroStart_ ? line - 1 : line);
    int pad = MaxInt(autoSizeDigitCount_ - int(number.size()), 0);
    return std::string(std::size_t(pad), leadingZeros_ ? '0' : ' ') + number;
}

int TqvGutter::RealGutterWidth(int charWidth) const {
    if (!visible_) return 0;
    if (showLineNumbers_) return leftOffset_ + rightOffset_ + charWidth * autoSizeDigitCount_ + 2;
    return width_;
}

void TqvGutter::SetAutoSize(bool value) {
    Change(autoSize_, value);
}
void TqvGutter::SetColor(TColor value) {
    Change(color_, value);
}

void TqvGutter::SetDigitCount(int value) {
    value = ClampInt(value, 2, 12);
    if (digitCount_ == value) return;
    digitCount_ = value;
    autoSizeDigitCount_ = value;
    Changed();
}

void TqvGutter::SetLeadingZeros(bool value) {
    Change(leadingZeros_, value);
}
void TqvGutter::SetLeftOffset(int value) {
    Change(leftOffset_, MaxInt(value, 0));
}
void TqvGutter::SetRightOffset(int value) {
    Change(rightOffset_, MaxInt(value, 0));
}
void TqvGutter::SetShowLineNumbers(bool value) {
    Change(showLineNumbers_, value);
}
void TqvGutter::SetUseFontStyle(bool value) {
    Change(useFontStyle_, value);
}
void TqvGutter::SetVisible(bool value) {
    Change(visible_, value);
}
void TqvGutter::SetWidth(int value) {
    Change(width_, MaxInt(value, 0));
}
void TqvGutter::SetZeroStart(bool value) {
    Change(zeroStart_, value);
}

} // namespace ondrex
