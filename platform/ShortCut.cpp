#include "platform/ShortCut.h"

#include "platform/CodePage.h"

#include <algorithm>
#include <utility>

namespace ondrex {

namespace {

struct TKeyName {
    std::uint16_t key;
    const char* name;
};

// Keys whose name is not the character they type.
constexpr TKeyName kKeyNames[] = {
    {VK_BACK, "BkSp"},        {VK_TAB, "Tab"},
    {VK_RETURN, "Enter"},     {VK_PAUSE, "Pause"},
    {VK_ESCAPE, "Esc"},       {VK_SPACE, "Space"},
    {VK_PRIOR, "PgUp"},       {VK_NEXT, "PgDn"},
    {VK_END, "End"},          {VK_HOME, "Home"},
    {VK_LEFT, "Left"},        {VK_UP, "Up"},
    {VK_RIGHT, "Right"},      {VK_DOWN, "Down"},
    {VK_INSERT, "Ins"},       {VK_DELETE, "Del"},
    {VK_MULTIPLY, "Num *"},   {VK_ADD, "Num +"},
    {VK_SUBTRACT, "Num -"},   {VK_DECIMAL, "Num Del"},
    {VK_DIVIDE, "Num /"},     {VK_APPS, "Menu"},
    {VK_SNAPSHOT, "PrtSc"},   {VK_CAPITAL, "Caps Lock"},
    {VK_NUMLOCK, "Num Lock"}, {VK_SCROLL, "Scroll Lock"},
    {VK_OEM_1, ";"},          {VK_OEM_PLUS, "="},
    {VK_OEM_COMMA, ","},      {VK_OEM_MINUS, "-"},
    {VK_OEM_PERIOD, "."},     {VK_OEM_2, "/"},
    {VK_OEM_3, "`"},          {VK_OEM_4, "["},
    {VK_OEM_5, "\\"},         {VK_OEM_6, "]"},
    {VK_OEM_7, "'"},
};

constexpr std::pair<TShortCut, const char*> kModifiers[] = {
    {scCtrl, "Ctrl+"}, {scShift, "Shift+"}, {scAlt, "Alt+"}};

} // namespace

TShortCut ShortCut(std::uint16_t key, TShiftState shift) {
    TShortCut result = key & 0xFF;
    if (shift & ssShift) result |= scShift;
    if (shift & ssCtrl) result |= scCtrl;
    if (shift & ssAlt) result |= scAlt;
    return result;
}

void ShortCutToKey(TShortCut shortCut, std::uint16_t& key, TShiftState& shift) {
    key = shortCut & 0xFF;
    shift = 0;
    if (shortCut & scShift) shift |= ssShift;
    if (shortCut & scCtrl) shift |= ssCtrl;
    if (shortCut & scAlt) shift |= ssAlt;
}

std::string KeyName(std::uint16_t key) {
    if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z'))
        return std::string(1, static_cast<char>(key));
    if (key >= VK_NUMPAD0 && key <= VK_NUMPAD0 + 9)
        return "Num " + std::to_string(key - VK_NUMPAD0);
    if (key >= VK_F1 && key <= VK_F24) return "F" + std::to_string(key - VK_F1 + 1);
    for (const TKeyName& k : kKeyNames)
        if (k.key == key) return k.name;
    return {};
}

std::string ShortCutToText(TShortCut shortCut) {
    std::string name = KeyName(shortCut & 0xFF);
    if (name.empty()) return {};
    std::string text;
    for (const auto& [bit, prefix] : kModifiers)
        if (shortCut & bit) text += prefix;
    return text + name;
}

TShortCut TextToShortCut(std::string_view text) {
    TShortCut modifiers = 0;
    for (bool found = true; found;) {
        found = false;
        for (const auto& [bit, prefix] : kModifiers) {
            std::string_view p(prefix);
            if (text.size() > p.size() && SameText(text.substr(0, p.size()), p)) {
                modifiers |= bit;
                text.remove_prefix(p.size());
                found = true;
            }
        }
    }
    for (unsigned key = 1; key <= 0xFF; ++key) {
        std::string name = KeyName(static_cast<std::uint16_t>(key));
        if (!name.empty() && SameText(name, text)) return modifiers | key;
    }
    return 0;
}

} // namespace ondrex
