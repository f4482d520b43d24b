#include "platform/testing/ScriptedDialogs.h"

namespace ondrex {

namespace {

class TScriptedProgress : public TProgress {
public:
    TScriptedProgress(TScriptedDialogs& dialogs, std::size_t index)
        : dialogs_(dialogs), index_(index) {}
    ~TScriptedProgress() override { record().Shown = false; }
    bool Advance(std::size_t done) override {
        record().Steps.push_back(done);
        return !(dialogs_.CancelAt && done >= *dialogs_.CancelAt);
    }

private:
    // By index: the record vector may grow while this progress lives.
    TScriptedDialogs::TProgressRecord& record() { return dialogs_.Progresses[index_]; }
    TScriptedDialogs& dialogs_;
    std::size_t index_;
};

} // namespace

TScriptedDialogs& TScriptedDialogs::Install() {
    auto dialogs = std::make_unique<TScriptedDialogs>();
    TScriptedDialogs& result = *dialogs;
    SetDialogs(std::move(dialogs));
    return result;
}

std::optional<std::string> TScriptedDialogs::OpenFile(const TOpenDialogOptions& options) {
    OpenFileCalls.push_back(options);
    if (OpenFileAnswers.empty()) return {};
    std::optional<std::string> answer = OpenFileAnswers.front();
    OpenFileAnswers.pop_front();
    if (answer) answer = ApplyDefaultExt(*answer, options.DefaultExt);
    return answer;
}

bool TScriptedDialogs::InputQuery(const std::string& caption, const std::string& prompt,
                                  std::string& value) {
    InputCalls.push_back({caption, prompt, value});
    if (InputAnswers.empty()) return false;
    const std::optional<std::string> answer = InputAnswers.front();
    InputAnswers.pop_front();
    if (answer) value = *answer;
    return answer.has_value();
}

TModalResult TScriptedDialogs::MessageDlg(const std::string& text, TMsgDlgType type,
                                          TMsgDlgButtons buttons, const std::string& caption) {
    Messages.push_back({text, type, buttons, caption});
    if (MessageAnswers.empty()) return DefaultAnswer(buttons);
    const TModalResult answer = MessageAnswers.front();
    MessageAnswers.pop_front();
    return answer;
}

std::unique_ptr<TProgress> TScriptedDialogs::BeginProgress(const std::string& text,
                                                           std::size_t total) {
    Progresses.push_back({text, total, {}, true});
    return std::make_unique<TScriptedProgress>(*this, Progresses.size() - 1);
}

} // namespace ondrex
