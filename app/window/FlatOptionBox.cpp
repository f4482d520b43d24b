// The three option check boxes: our flat check box in a host window.

#include "app/window/ControlAccessible.h"
#include "app/window/WindowControls.h"
#include "controls/TFlatCheckBox.h"
#include "platform/qt/QtControlHost.h"

namespace ondrex::window {

namespace {

class TFlatOptionBox : public TOptionBox {
public:
    TFlatOptionBox(QWidget* parent, const std::string& caption, bool checked) {
        box_.SetCaption(caption);
        box_.SetChecked(checked); // before OnClick is bound: the start state is no click
        // The panel's face and the window's font (Tahoma, 8 points).
        const QColor face = parent->palette().color(QPalette::Window);
        box_.ParentColorChanged(
            RGB(std::uint8_t(face.red()), std::uint8_t(face.green()), std::uint8_t(face.blue())));
        box_.ParentFontChanged(TFont("Tahoma", -11));
        box_.OnClick = TNotifyEvent::bind<&TFlatOptionBox::Clicked>(this);
        host_ = std::make_unique<TQtControlHost>(box_, parent);
        QWidget* widget = static_cast<QWidget*>(host_->Widget());
        MakeCheckBoxAccessible(widget, box_);
        widget->setAccessibleName(QString::fromStdString(caption));
    }
    ~TFlatOptionBox() override { box_.OnClick = {}; }

    QWidget* Widget() override { return static_cast<QWidget*>(host_->Widget()); }
    bool Checked() const override { return box_.Checked(); }
    void Click() override { box_.SetChecked(!box_.Checked()); }

private:
    void Clicked(TObject*) {
        if (OnClick) OnClick();
    }

    TFlatCheckBox box_;
    std::unique_ptr<TQtControlHost> host_;
};

} // namespace

std::unique_ptr<TOptionBox> MakeOptionBox(QWidget* parent, const std::string& caption,
                                          bool checked) {
    return std::make_unique<TFlatOptionBox>(parent, caption, checked);
}

} // namespace ondrex::window
