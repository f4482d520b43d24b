#pragma once
// The About box: the product, its maker and where to read more.

#include "app/window/DialogWindow.h"

namespace ondrex::window {

class Tfrm_about : public TDialogWindow {
public:
    explicit Tfrm_about(QWidget* parent = nullptr);
};

} // namespace ondrex::window
