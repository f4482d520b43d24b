#include "platform/qt/QtDialogs.h"

#include "platform/Application.h"
#include "platform/qt/QtApplication.h"
#include "platform/qt/QtProgress.h"
#include "platform/qt/QtText.h"

#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>

namespace ondrex {

namespace {

QStringList NameFilters(const std::string& filter) {
    QStringList result;
    for (const TFileFilter& f : ParseFilter(filter)) {
        QStringList patterns;
        for (const std::string& p : f.Patterns)
            patterns << qt::ToQString(p);
        result << qt::ToQString(f.Description) + " (" + patterns.join(' ') + ")";
    }
    return result;
}

QMessageBox::Icon Icon(TMsgDlgType type) {
    switch (type) {
    case TMsgDlgType::mtWarning:
        return QMessageBox::Warning;
    case TMsgDlgType::mtError:
        return QMessageBox::Critical;
    case TMsgDlgType::mtInformation:
        return QMessageBox::Information;
    case TMsgDlgType::mtConfirmation:
        return QMessageBox::Question;
    default:
        return QMessageBox::NoIcon;
    }
}

constexpr struct {
    TMsgDlgButtons button;
    QMessageBox::StandardButton qt;
    TModalResult result;
} kButtons[] = {
    {mbYes, QMessageBox::Yes, mrYes},
    {mbNo, QMessageBox::No, mrNo},
    {mbOK, QMessageBox::Ok, mrOk},
    {mbCancel, QMessageBox::Cancel, mrCancel},
    {mbAbort, QMessageBox::Abort, mrAbort},
    {mbRetry, QMessageBox::Retry, mrRetry},
    {mbIgnore, QMessageBox::Ignore, mrIgnore},
};

} // namespace

std::optional<std::string> TQtDialogs::OpenFile(const TOpenDialogOptions& options) {
    qt::ensureApplication();
    QFileDialog dialog(QApplication::activeWindow(), qt::ToQString(options.Title),
                       qt::ToQString(options.InitialDir));
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    const QStringList filters = NameFilters(options.Filter);
    if (!filters.isEmpty()) {
        dialog.setNameFilters(filters);
        const int index = std::clamp(options.FilterIndex, 1, int(filters.size())) - 1;
        dialog.selectNameFilter(filters[index]);
    }
    std::string ext = options.DefaultExt;
    if (!ext.empty() && ext.front() == '.') ext.erase(0, 1);
    dialog.setDefaultSuffix(qt::ToQString(ext));
    if (!options.FileName.empty()) dialog.selectFile(qt::ToQString(options.FileName));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return ApplyDefaultExt(qt::FromQString(dialog.selectedFiles().front()), ext);
}

bool TQtDialogs::InputQuery(const std::string& caption, const std::string& prompt,
                            std::string& value) {
    qt::ensureApplication();
    bool ok = false;
    const QString text =
        QInputDialog::getText(QApplication::activeWindow(), qt::ToQString(caption),
                              qt::ToQString(prompt), QLineEdit::Normal, qt::ToQString(value), &ok);
    if (ok) value = qt::FromQString(text);
    return ok;
}

TModalResult TQtDialogs::MessageDlg(const std::string& text, TMsgDlgType type,
                                    TMsgDlgButtons buttons, const std::string& caption) {
    qt::ensureApplication();
    QMessageBox box(Icon(type), qt::ToQString(caption.empty() ? Application().Title : caption),
                    qt::ToQString(text), QMessageBox::NoButton, QApplication::activeWindow());
    for (const auto& b : kButtons)
        if (buttons & b.button) box.addButton(b.qt);
    if (box.buttons().isEmpty()) box.addButton(QMessageBox::Ok);
    const int answer = box.exec();
    for (const auto& b : kButtons)
        if (answer == b.qt) return b.result;
    return DefaultAnswer(buttons);
}

std::unique_ptr<TProgress> TQtDialogs::BeginProgress(const std::string& text, std::size_t total) {
    return std::make_unique<TQtProgress>(text, total);
}

} // namespace ondrex
