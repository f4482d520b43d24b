#pragma once
// The clippad: shows the clipboard's text as it is when the window is activated. The text
// can be edited there; it goes nowhere.

#include "app/window/DialogWindow.h"

class QPlainTextEdit;

namespace ondrex::window {

class Tclippad : public TDialogWindow {
public:
    explicit Tclippad(QWidget* parent = nullptr);

    QPlainTextEdit* Memo() const { return memo_; }

protected:
    void Activated() override;

private:
    QPlainTextEdit* memo_;
};

} // namespace ondrex::window
