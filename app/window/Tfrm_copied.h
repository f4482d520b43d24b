#pragma once
// The confirmation shown after a block was copied.

#include "app/window/DialogWindow.h"

namespace ondrex::window {

class Tfrm_copied : public TDialogWindow {
public:
    explicit Tfrm_copied(QWidget* parent = nullptr);
};

} // namespace ondrex::window
