#pragma once
// Menu-shortcut values: one 16-bit number holding a virtual-key code in its low byte and
// the modifiers in the high bits, the form key bindings are stored and compared in.

#include "platform/Keys.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace ondrex {

using TShortCut = std::uint16_t;

enum : TShortCut {
    scShift = 0x2000,
    scCtrl = 0x4000,
    scAlt = 0x8000,
    scNone = 0,
};

// Only the low byte of the key and the keyboard modifiers of the shift state count.
TShortCut ShortCut(std::uint16_t key, TShiftState shift);
void ShortCutToKey(TShortCut shortCut, std::uint16_t& key, TShiftState& shift);

// "Ctrl+Shift+N", "Alt+F4", "Shift+Del", "" for 0. Modifiers come in the order Ctrl,
// Shift, Alt.
std::string ShortCutToText(TShortCut shortCut);
// The inverse, case-insensitive; 0 for text that names no key ("Ctrl+" alone, "Foo").
TShortCut TextToShortCut(std::string_view text);

// The name of a key alone ("N", "PgUp", "F5", "Num 7"); empty for codes without a name.
std::string KeyName(std::uint16_t key);

} // namespace ondrex
