#include "highlighters/qvHighlighter.h"

#include "highlighters/qvExport.h"
#include "platform/CodePage.h"

#include <algorithm>

namespace ondrex {

TqvCustomHighLighter::TqvCustomHighLighter() = default;

TqvCustomHighLighter::~TqvCustomHighLighter() {
    while (!attributes_.empty())
        attributes_.pop_back();
}

TSynCharSet TqvCustomHighLighter::WordChars() const {
    TSynCharSet chars;
    for (int c = 33; c <= 255; ++c)
        chars.set(c);
    return chars;
}

int TqvCustomHighLighter::AttributeCount() const {
    return static_cast<int>(attributes_.size());
}

TqvHighLightAttributes* TqvCustomHighLighter::AttributeAt(int index) const {
    if (index < 0 || index >= AttributeCount()) return nullptr;
    return attributes_[index].get();
}

void TqvCustomHighLighter::SetDefaultFilter(const std::string& value) {
    if (value != defaultFilter_) defaultFilter_ = value;
}

void TqvCustomHighLighter::DoScanToLineEnd() {
    while (!AtLineEnd())
        NextToken();
}

void TqvCustomHighLighter::ExportTokens(const char* line, std::vector<TExportToken>& tokens) {
    // What the export sink would be handed; the tokens it would not be, in their own attribute.
    struct TRecorder : TqvExport {
        TqvCustomHighLighter& highlighter;
        std::vector<TExportToken>& tokens;
        bool handed = false;
        TRecorder(TqvCustomHighLighter& h, std::vector<TExportToken>& t)
            : highlighter(h), tokens(t) {}
        void WriteToken(std::string_view text, const TqvHighLightAttributes* attribute, bool,
                        bool) override {
            handed = true;
            if (attribute || !text.empty()) tokens.push_back({highlighter.TokenStart(), attribute});
        }
    } recorder(*this, tokens);
    struct TSinkSwap {
        TqvCustomHighLighter& highlighter;
        TqvExport* kept;
        ~TSinkSwap() { highlighter.SetExportSink(kept); }
    } swap{*this, ExportSink()};
    SetExportSink(&recorder);
    auto step = [&](auto advance) {
        recorder.handed = false;
        advance();
        if (!recorder.handed && !AtLineEnd()) tokens.push_back({TokenStart(), TokenAttribute()});
    };
    step([&] { StartExportLine(line); });
    while (!AtLineEnd())
        step([&] { ExportNextToken(); });
    tokens.push_back({TokenStart(), nullptr});
}

TqvHighLightAttributes*
TqvCustomHighLighter::AddAttribute(std::unique_ptr<TqvHighLightAttributes> attribute) {
    auto at = std::lower_bound(attributes_.begin(), attributes_.end(), attribute->Name(),
                               [](const auto& listed, const std::string& name) {
                                   return CompareText(listed->Name(), name) < 0;
                               });
    if (at != attributes_.end() && CompareText((*at)->Name(), attribute->Name()) == 0)
        return nullptr;
    return attributes_.insert(at, std::move(attribute))->get();
}

void TqvCustomHighLighter::HookAttributeChange(const TNotifyEvent& receiver) {
    attributeChangeChain_.Add(receiver);
}

void TqvCustomHighLighter::UnhookAttributeChange(const TNotifyEvent& receiver) {
    attributeChangeChain_.Remove(receiver);
}

void TqvCustomHighLighter::AttributeChanged(TObject*) {
    attributeChangeChain_.Fire();
}

void TqvCustomHighLighter::BindAttributeChanges() {
    for (auto it = attributes_.rbegin(); it != attributes_.rend(); ++it)
        (*it)->OnChange = TNotifyEvent::bind<&TqvCustomHighLighter::AttributeChanged>(this);
}

bool TqvCustomHighLighter::SaveAttributesToRegistry(HKEY rootKey, const std::string& key) {
    TBetterRegistry registry;
    registry.SetRootKey(rootKey);
    if (!registry.OpenKey(key, true)) return false;
    for (const auto& attribute : attributes_)
        if (!attribute->WriteToRegistry(registry)) return false;
    return true;
}

bool TqvCustomHighLighter::LoadAttributesFromRegistry(HKEY rootKey, const std::string& key) {
    TBetterRegistry registry;
    registry.SetRootKey(rootKey);
    if (!registry.OpenKeyReadOnly(key)) return false;
    for (const auto& attribute : attributes_)
        if (!attribute->ReadFromRegistry(registry)) return false;
    return true;
}

TqvHighLightAttributes* TqvCustomHighLighter::MakeAttribute(const char* name, TFontStyles style) {
    auto attribute = std::make_unique<TqvHighLightAttributes>(name);
    attribute->SetStyle(style);
    return AddAttribute(std::move(attribute));
}

} // namespace ondrex
