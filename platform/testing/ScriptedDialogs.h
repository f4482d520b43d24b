#pragma once
// TScriptedDialogs: dialogs for tests. Each kind answers from its queue of scripted
// answers, in order, and records what it was asked. With its queue empty an open or input
// dialog is cancelled and a message box gives DefaultAnswer(buttons), so a forgotten answer
// never blocks a test.

#include "platform/Dialogs.h"

#include <deque>

namespace ondrex {

class TScriptedDialogs : public TDialogs {
public:
    // Installs a fresh one as Dialogs() and returns it (it stays installed until replaced).
    static TScriptedDialogs& Install();

    std::deque<std::optional<std::string>> OpenFileAnswers; // none = cancel
    std::deque<std::optional<std::string>> InputAnswers;    // none = cancel
    std::deque<TModalResult> MessageAnswers;

    struct TMessage {
        std::string Text;
        TMsgDlgType Type{};
        TMsgDlgButtons Buttons = 0;
        std::string Caption;
    };
    struct TInput {
        std::string Caption;
        std::string Prompt;
        std::string Preset;
    };
    std::vector<TOpenDialogOptions> OpenFileCalls;
    std::vector<TInput> InputCalls;
    std::vector<TMessage> Messages;

    // Progress: every one begun, with the steps it was told of. The user cancels when a
    // step reaches CancelAt.
    struct TProgressRecord {
        std::string Text;
        std::size_t Total = 0;
        std::vector<std::size_t> Steps;
        bool Shown = true; // until the work ends
    };
    std::vector<TProgressRecord> Progresses;
    std::optional<std::size_t> CancelAt;

    std::optional<std::string> OpenFile(const TOpenDialogOptions& options) override;
    bool InputQuery(const std::string& caption, const std::string& prompt,
                    std::string& value) override;
    TModalResult MessageDlg(const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons,
                            const std::string& caption = {}) override;
    std::unique_ptr<TProgress> BeginProgress(const std::string& text, std::size_t total) override;
};

} // namespace ondrex
