#include "platform/Dialogs.h"

#include <algorithm>
#include <stdexcept>

namespace ondrex {

namespace {

std::string_view Trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t'))
        s.remove_suffix(1);
    return s;
}

std::vector<std::string_view> Split(std::string_view s, char sep) {
    std::vector<std::string_view> parts;
    for (std::size_t start = 0;;) {
        const std::size_t end = s.find(sep, start);
        parts.push_back(s.substr(start, end == std::string_view::npos ? end : end - start));
        if (end == std::string_view::npos) return parts;
        start = end + 1;
    }
}

std::unique_ptr<TDialogs>& Installed() {
    static std::unique_ptr<TDialogs> dialogs;
    return dialogs;
}

TDialogsFactory& ToolkitFactory() {
    static TDialogsFactory factory = nullptr;
    return factory;
}

} // namespace

TModalResult DefaultAnswer(TMsgDlgButtons buttons) {
    if (buttons & mbCancel) return mrCancel;
    if (buttons & mbNo) return mrNo;
    constexpr std::pair<TMsgDlgButtons, TModalResult> order[] = {
        {mbOK, mrOk}, {mbYes, mrYes}, {mbAbort, mrAbort}, {mbRetry, mrRetry}, {mbIgnore, mrIgnore}};
    for (const auto& [button, result] : order)
        if (buttons & button) return result;
    return mrOk;
}

std::vector<TFileFilter> ParseFilter(std::string_view filter) {
    std::vector<TFileFilter> result;
    if (filter.empty()) return result;
    const std::vector<std::string_view> parts = Split(filter, '|');
    for (std::size_t i = 0; i + 1 < parts.size(); i += 2) {
        TFileFilter f{std::string(Trim(parts[i])), {}};
        for (std::string_view p : Split(parts[i + 1], ';'))
            if (!Trim(p).empty()) f.Patterns.emplace_back(Trim(p));
        if (!f.Patterns.empty()) result.push_back(std::move(f));
    }
    return result;
}

std::string ApplyDefaultExt(const std::string& path, std::string_view defaultExt) {
    if (!defaultExt.empty() && defaultExt.front() == '.') defaultExt.remove_prefix(1);
    if (defaultExt.empty() || path.empty()) return path;
    const std::size_t slash = path.find_last_of('/');
    const std::string_view name =
        std::string_view(path).substr(slash == std::string::npos ? 0 : slash + 1);
    if (name.empty() || name.find('.') != std::string_view::npos) return path;
    return path + "." + std::string(defaultExt);
}

std::string TDialogs::InputBox(const std::string& caption, const std::string& prompt,
                               const std::string& preset) {
    std::string value = preset;
    return InputQuery(caption, prompt, value) ? value : preset;
}

void TDialogs::ShowMessage(const std::string& text) {
    MessageDlg(text, TMsgDlgType::mtCustom, mbOK);
}

TDialogs& Dialogs() {
    if (Installed()) return *Installed();
    static const std::unique_ptr<TDialogs> toolkit =
        ToolkitFactory() ? ToolkitFactory()() : nullptr;
    if (!toolkit) throw std::logic_error("no dialogs: no toolkit is linked in");
    return *toolkit;
}

void SetToolkitDialogs(TDialogsFactory factory) {
    ToolkitFactory() = factory;
}

std::unique_ptr<TDialogs> SetDialogs(std::unique_ptr<TDialogs> dialogs) {
    std::swap(Installed(), dialogs);
    return dialogs;
}

} // namespace ondrex
