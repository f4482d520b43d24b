#include "platform/Clipboard.h"

#include <algorithm>
#include <utility>

namespace ondrex {

namespace {

std::map<std::string, TClipFormat>& Formats() {
    static std::map<std::string, TClipFormat> formats;
    return formats;
}

} // namespace

TClipFormat RegisterClipboardFormat(const std::string& name) {
    auto [it, added] = Formats().try_emplace(name, 0xC000 + TClipFormat(Formats().size()));
    return it->second;
}

std::string ClipboardFormatName(TClipFormat format) {
    for (const auto& [name, number] : Formats())
        if (number == format) return name;
    return {};
}

TClipData::TClipData(std::string bytes)
    : Buffer(std::make_shared<const std::string>(std::move(bytes))), Length(Buffer->size()) {}

TClipData::TClipData(std::shared_ptr<const std::string> buffer, std::size_t offset,
                     std::size_t length)
    : Buffer(std::move(buffer)), Offset(std::min(offset, Buffer->size())),
      Length(std::min(length, Buffer->size() - Offset)) {}

TClipboard::TClipboard(std::unique_ptr<TClipboardSystem> system) : system_(std::move(system)) {}
TClipboard::~TClipboard() = default;

std::unique_ptr<TClipboardSystem> TClipboard::SetSystem(std::unique_ptr<TClipboardSystem> system) {
    if (!system) system = MakeSystemClipboard();
    std::swap(system_, system);
    return system;
}

void TClipboard::Open() {
    if (openCount_++ == 0) {
        emptied_ = false;
        pending_.clear();
    }
}

void TClipboard::Close() {
    if (openCount_ == 0) throw EClipboardError("The clipboard is not open");
    if (--openCount_ > 0 || !emptied_) return;
    // A refused publish leaves nothing pending behind for the next Open.
    if (!system_->Publish(std::exchange(pending_, {})))
        throw EClipboardError("Cannot write to the clipboard");
}

void TClipboard::Clear() {
    Open();
    emptied_ = true;
    Close();
}

void TClipboard::Write(TClipFormat format, TClipData data) {
    if (format != CF_TEXT && ClipboardFormatName(format).empty())
        throw EClipboardError("Unknown clipboard format " + std::to_string(format));
    Open();
    emptied_ = true;
    pending_.insert_or_assign(format, std::move(data));
    Close();
}

bool TClipboard::HasFormat(TClipFormat format) const {
    return system_->HasFormat(format);
}

std::string TClipboard::AsText() const {
    return system_->Read(CF_TEXT).value_or(std::string());
}

void TClipboard::SetAsText(const std::string& text) {
    Write(CF_TEXT, TClipData(text));
}

void TClipboard::SetAsText(TClipData text) {
    Write(CF_TEXT, std::move(text));
}

void TClipboard::SetBuffer(TClipFormat format, const std::string& data) {
    Write(format, TClipData(data));
}

void TClipboard::SetBuffer(TClipFormat format, TClipData data) {
    Write(format, std::move(data));
}

std::optional<std::string> TClipboard::GetBuffer(TClipFormat format) const {
    return system_->Read(format);
}

TClipboard& Clipboard() {
    static TClipboard clipboard(MakeSystemClipboard());
    return clipboard;
}

} // namespace ondrex
