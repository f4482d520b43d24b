#include "editor/TqvSelectedColor.h"

#include "platform/SystemColors.h"

namespace ondrex {

TqvSelectedColor::TqvSelectedColor() : background_(clHighlight), foreground_(clHighlightText) {}

void TqvSelectedColor::SetBackground(TColor value) {
    if (background_ == value) return;
    background_ = value;
    OnChange(this);
}

void TqvSelectedColor::SetForeground(TColor value) {
    if (foreground_ == value) return;
    foreground_ = value;
    OnChange(this);
}

} // namespace ondrex
