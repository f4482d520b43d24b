#pragma once
// The one accessibility factory of the window's own controls: each control's host widget is
// registered with the maker of its interface, which Qt asks for when assistive technology
// first looks at the widget.

#include <QAccessibleInterface>

#include <functional>

class QWidget;

namespace ondrex::window {

using TAccessibleMaker = std::function<QAccessibleInterface*(QWidget*)>;

// Registers `widget` for as long as it lives. Call before anything asks for the widget's
// interface (setting its accessible name does), which Qt keeps once made.
void RegisterAccessible(QWidget* widget, TAccessibleMaker maker);

// True when an event would reach anyone (assistive technology or a test's announcer).
bool Announcing();
// Hands an event to assistive technology, or to the announcer a test set.
void Announce(QAccessibleEvent& event);

} // namespace ondrex::window
