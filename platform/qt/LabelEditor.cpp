#include "platform/LabelEditor.h"

#include "platform/Control.h"
#include "platform/qt/QtControlHost.h"
#include "platform/qt/QtFont.h"
#include "platform/qt/QtText.h"

#include <QAbstractScrollArea>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPointer>

namespace ondrex {

namespace {

// Enter accepts, Escape cancels, leaving the box accepts; each box ends once.
class TLineEdit : public QLineEdit {
public:
    TLineEdit(QWidget* parent, std::function<void(bool)> end)
        : QLineEdit(parent), end_(std::move(end)) {}

    void Finish(bool accept) {
        if (done_) return;
        done_ = true;
        // A copy: the handler may free the editor that owns the original.
        const std::function<void(bool)> end = end_;
        if (end) end(accept);
    }
    void Detach() { done_ = true; }

protected:
    void keyPressEvent(QKeyEvent* e) override {
        switch (e->key()) {
        case Qt::Key_Escape:
            Finish(false);
            return;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            Finish(true);
            return;
        default:
            QLineEdit::keyPressEvent(e);
        }
    }
    void focusOutEvent(QFocusEvent* e) override {
        QLineEdit::focusOutEvent(e);
        Finish(true);
    }

private:
    std::function<void(bool)> end_;
    bool done_ = false;
};

class TQtLabelEditor : public TLabelEditor {
public:
    explicit TQtLabelEditor(QWidget* parent)
        : edit_(new TLineEdit(parent, [this](bool accept) {
              const std::function<void(bool)> end = OnEnd;
              if (end) end(accept);
          })) {
        edit_->hide();
    }
    ~TQtLabelEditor() override {
        if (!edit_) return;
        edit_->Detach();
        edit_->hide();
        edit_->deleteLater(); // it may be inside its own key or focus handler now
    }

    std::string Text() const override {
        return edit_ ? qt::FromQString(edit_->text()) : TLabelEditor::Text();
    }
    void SetText(const std::string& text) override {
        TLabelEditor::SetText(text);
        if (edit_) edit_->setText(qt::ToQString(text));
    }
    void Show(const TRect& bounds, const std::string& text, const TFont& font) override {
        TLabelEditor::Show(bounds, text, font);
        if (!edit_) return;
        edit_->setFont(qt::ToQFont(font));
        edit_->setGeometry(bounds.Left, bounds.Top, bounds.Width(), bounds.Height());
        edit_->selectAll();
        edit_->show();
        edit_->setFocus(Qt::OtherFocusReason);
    }
    void Hide() override {
        if (!edit_) return;
        TLabelEditor::SetText(qt::FromQString(edit_->text()));
        edit_->Detach();
        const bool hadFocus = edit_->hasFocus();
        edit_->hide();
        if (QWidget* area = edit_->parentWidget() ? edit_->parentWidget()->parentWidget() : nullptr;
            hadFocus && area)
            area->setFocus();
    }

private:
    QPointer<TLineEdit> edit_;
};

} // namespace

std::unique_ptr<TLabelEditor> CreateLabelEditor(TCustomControl& control) {
    if (auto* host = dynamic_cast<TQtControlHost*>(control.Host())) {
        auto* area = static_cast<QAbstractScrollArea*>(static_cast<QWidget*>(host->Widget()));
        return std::make_unique<TQtLabelEditor>(area->viewport());
    }
    return std::make_unique<TLabelEditor>();
}

} // namespace ondrex
