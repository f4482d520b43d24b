#pragma once
// The common frame of the three small dialog windows: fixed size, the framed picture at
// (8, 8), one flat button in a bevel that closes the dialog, and the move to the screen's
// (20, 20) every time the window is activated.

#include <QDialog>

class QToolButton;

namespace ondrex::window {

class TDialogWindow : public QDialog {
public:
    TDialogWindow(QWidget* parent, const QString& caption, QSize clientSize);

    QToolButton* CloseButton() const { return closeButton_; }

protected:
    // The button in its bevel (both rectangles in client pixels); `glyph` puts a picture on
    // the text's right.
    void AddCloseButton(const QString& text, const QRect& button, const QRect& bevel, bool glyph);
    bool event(QEvent* e) override;
    // Called on every activation (and when shown), after the move.
    virtual void Activated() {}

private:
    QToolButton* closeButton_ = nullptr;
};

// "MS Sans Serif", 8 points, as the desktop resolves it.
QFont SansSerif8();

} // namespace ondrex::window
