#include "highlighters/TqvHighLightAttributes.h"

#include "platform/CodePage.h"
#include "platform/SystemColors.h"

#include <array>
#include <stdexcept>
#include <vector>

namespace ondrex {

namespace {

constexpr std::array<TColor, 16> Palette = {clBlack, clMaroon,  clGreen, clOlive, clNavy, clPurple,
                                            clTeal,  clSilver,  clGray,  clRed,   clLime, clYellow,
                                            clBlue,  clFuchsia, clAqua,  clWhite};

// Stored colour indices are not trusted: anything outside the table is malformed data.
TColor PaletteColor(long index) {
    if (index < 0 || index >= static_cast<long>(Palette.size()))
        throw std::out_of_range("colour index out of range");
    return Palette[index];
}

long ParseInteger(const std::string& text) {
    std::size_t used = 0;
    long value = std::stol(text, &used);
    while (used < text.size() && text[used] == ' ')
        ++used;
    if (used != text.size()) throw std::invalid_argument("not a number: " + text);
    return value;
}

bool IsTrueText(const std::string& text) {
    return !SameText(text, "FALSE") && text != "0";
}

std::vector<std::string> SplitFields(const std::string& text, std::size_t count) {
    std::vector<std::string> fields(count);
    std::size_t start = 0;
    for (std::size_t i = 0; i < count && start <= text.size(); ++i) {
        std::size_t comma = text.find(',', start);
        fields[i] =
            text.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
        if (comma == std::string::npos) break;
        start = comma + 1;
    }
    return fields;
}

} // namespace

TqvHighLightAttributes::TqvHighLightAttributes(std::string name)
    : name_(std::move(name)), background_(clWindow), foreground_(clWindowText) {}

void TqvHighLightAttributes::Changed() {
    OnChange(this);
}

void TqvHighLightAttributes::SetBackground(TColor value) {
    if (value == background_) return;
    background_ = value;
    Changed();
}

void TqvHighLightAttributes::SetForeground(TColor value) {
    if (value == foreground_) return;
    foreground_ = value;
    Changed();
}

void TqvHighLightAttributes::SetStyle(TFontStyles value) {
    if (value == style_) return;
    style_ = value;
    Changed();
}

void TqvHighLightAttributes::Assign(const TObject* source) {
    const auto* other = dynamic_cast<const TqvHighLightAttributes*>(source);
    if (!other)
        throw EConvertError("Cannot assign a " + (source ? source->ClassName() : "nil") + " to a " +
                            ClassName());
    name_ = other->name_;
    bool changed = background_ != other->background_ || foreground_ != other->foreground_ ||
                   style_ != other->style_;
    background_ = other->background_;
    foreground_ = other->foreground_;
    style_ = other->style_;
    if (changed) Changed();
}

bool TqvHighLightAttributes::ReadFromRegistry(TBetterRegistry& registry) {
    const std::string saved = registry.CurrentPath();
    const bool savedReadOnly = registry.ReadOnly();
    if (!registry.OpenKeyReadOnly(name_)) return false;
    if (registry.ValueExists("Background")) SetBackground(registry.ReadInteger("Background"));
    if (registry.ValueExists("Foreground")) SetForeground(registry.ReadInteger("Foreground"));
    if (registry.ValueExists("Style")) {
        const std::int32_t bits = registry.ReadInteger("Style");
        SetStyle(bits & fsBold ? fsBold : 0);
        for (TFontStyle flag : {fsItalic, fsUnderline, fsStrikeOut})
            if (bits & flag) SetStyle(style_ | flag);
    }
    if (savedReadOnly)
        registry.OpenKeyReadOnly("\\" + saved);
    else
        registry.OpenKey("\\" + saved, false);
    return true;
}

bool TqvHighLightAttributes::WriteToRegistry(TBetterRegistry& registry) {
    const std::string saved = registry.CurrentPath();
    if (!registry.OpenKey(name_, true)) return false;
    registry.WriteInteger("Background", static_cast<std::int32_t>(background_));
    registry.WriteInteger("Foreground", static_cast<std::int32_t>(foreground_));
    registry.WriteInteger("Style", style_);
    registry.OpenKey("\\" + saved, false);
    return true;
}

bool TqvHighLightAttributes::ImportEditorColors(HKEY rootKey, const std::string& key,
                                                bool newLayout, const std::string& valueName) {
    try {
        TBetterRegistry registry;
        registry.SetRootKey(rootKey);
        return newLayout ? ImportNewLayout(registry, key, valueName)
                         : ImportOldLayout(registry, key, valueName);
    } catch (const std::exception&) {
        return false;
    }
}

bool TqvHighLightAttributes::ImportNewLayout(TBetterRegistry& registry, const std::string& key,
                                             const std::string& valueName) {
    if (!registry.OpenKeyReadOnly(key + "\\" + valueName)) return false;
    for (const char* name : {"Foreground Color", "Background Color", "Bold", "Italic", "Underline",
                             "Default Foreground", "Default Background"})
        if (!registry.ValueExists(name)) return false;
    const std::int32_t foregroundIndex = registry.ReadInteger("Foreground Color");
    const std::int32_t backgroundIndex = registry.ReadInteger("Background Color");
    SetBackground(IsTrueText(registry.ReadString("Default Background"))
                      ? clWindow
                      : PaletteColor(backgroundIndex));
    SetForeground(IsTrueText(registry.ReadString("Default Foreground"))
                      ? clWindowText
                      : PaletteColor(foregroundIndex));
    SetStyle(0);
    if (IsTrueText(registry.ReadString("Bold"))) SetStyle(style_ | fsBold);
    if (IsTrueText(registry.ReadString("Italic"))) SetStyle(style_ | fsItalic);
    if (IsTrueText(registry.ReadString("Underline"))) SetStyle(style_ | fsUnderline);
    return true;
}

bool TqvHighLightAttributes::ImportOldLayout(TBetterRegistry& registry, const std::string& key,
                                             const std::string& valueName) {
    if (!registry.OpenKeyReadOnly(key) || !registry.ValueExists(valueName)) return false;
    // Fields 1 and 2 are not used; 3 holds the style letters, 4 and 5 the "default colour"
    // flags, 6 and 7 the palette indices.
    const std::vector<std::string> fields = SplitFields(registry.ReadString(valueName), 7);
    SetBackground(fields[4] == "1" ? clWindow : PaletteColor(ParseInteger(fields[6])));
    SetForeground(fields[3] == "1" ? clWindowText : PaletteColor(ParseInteger(fields[5])));
    SetStyle(0);
    if (fields[2].find('B') != std::string::npos) SetStyle(style_ | fsBold);
    if (fields[2].find('I') != std::string::npos) SetStyle(style_ | fsItalic);
    if (fields[2].find('U') != std::string::npos) SetStyle(style_ | fsUnderline);
    return true;
}

} // namespace ondrex
