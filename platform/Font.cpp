#include "platform/Font.h"

#include <cmath>

namespace ondrex {

TFont::TFont(const std::string& name, int height, TFontStyles style)
    : name_(name), height_(height), style_(style) {}

TFont::TFont(const TFont& other)
    : TObject(), name_(other.name_), height_(other.height_), style_(other.style_),
      color_(other.color_), charset_(other.charset_), pitch_(other.pitch_) {}

TFont& TFont::operator=(const TFont& other) {
    if (SameFont(other) && color_ == other.color_) return *this;
    name_ = other.name_;
    height_ = other.height_;
    style_ = other.style_;
    color_ = other.color_;
    charset_ = other.charset_;
    pitch_ = other.pitch_;
    Changed();
    return *this;
}

namespace {
// Setters store and notify only on a real change.
template <class T> bool Store(T& field, const T& value) {
    if (field == value) return false;
    field = value;
    return true;
}
} // namespace

void TFont::SetName(const std::string& name) {
    if (Store(name_, name)) Changed();
}
void TFont::SetHeight(int height) {
    if (Store(height_, height)) Changed();
}
void TFont::SetStyle(TFontStyles style) {
    if (Store(style_, style)) Changed();
}
void TFont::SetColor(TColor color) {
    if (Store(color_, color)) Changed();
}
void TFont::SetCharset(std::uint8_t charset) {
    if (Store(charset_, charset)) Changed();
}
void TFont::SetPitch(TFontPitch pitch) {
    if (Store(pitch_, pitch)) Changed();
}

int TFont::Size() const {
    return int(std::lround(-height_ * 72.0 / 96.0));
}

void TFont::SetSize(int points) {
    SetHeight(-int(std::lround(points * 96.0 / 72.0)));
}

void TFont::SetWeight(int weight) {
    SetStyle(weight >= 600 ? TFontStyles(style_ | fsBold) : TFontStyles(style_ & ~fsBold));
}

bool TFont::SameFont(const TFont& other) const {
    return name_ == other.name_ && height_ == other.height_ && style_ == other.style_ &&
           charset_ == other.charset_ && pitch_ == other.pitch_;
}

} // namespace ondrex
