#pragma once
// TQtDialogs: the dialogs on screen, modal over the active window.

#include "platform/Dialogs.h"

namespace ondrex {

class TQtDialogs : public TDialogs {
public:
    std::optional<std::string> OpenFile(const TOpenDialogOptions& options) override;
    bool InputQuery(const std::string& caption, const std::string& prompt,
                    std::string& value) override;
    // An empty caption is the application's title.
    TModalResult MessageDlg(const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons,
                            const std::string& caption = {}) override;
    std::unique_ptr<TProgress> BeginProgress(const std::string& text, std::size_t total) override;
};

} // namespace ondrex
