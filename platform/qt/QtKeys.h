#pragma once
// Internal to platform/: Qt key events in the terms our controls use.

#include "platform/Keys.h"

#include <Qt>

#include <cstdint>

namespace ondrex::qt {

// The virtual-key code of a Qt key (keypad keys need the keypad modifier); 0 for keys
// without one.
std::uint16_t VirtualKey(int qtKey, Qt::KeyboardModifiers modifiers);
// The Qt key of a virtual-key code (the inverse, for synthesising events); 0 when unknown.
int QtKey(std::uint16_t virtualKey);

TShiftState ShiftState(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons = {});

} // namespace ondrex::qt
