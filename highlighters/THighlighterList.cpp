#include "highlighters/THighlighterList.h"

#include "platform/CodePage.h"

#include <algorithm>

namespace ondrex {

THighlighterList& THighlighterList::Instance() {
    static THighlighterList* list = [] {
        auto* created = new THighlighterList;
        RegisterBuiltinHighlighters(*created);
        return created;
    }();
    return *list;
}

bool THighlighterClass::IsNamed(std::string_view id) const {
    return SameText(Language, id) || SameText(WindowName, id);
}

int THighlighterList::IndexOf(const THighlighterClass& highlighterClass) const {
    for (std::size_t i = 0; i < classes_.size(); ++i)
        if (&classes_[i] == &highlighterClass) return static_cast<int>(i);
    return -1;
}

void THighlighterList::Add(const THighlighterClass& highlighterClass) {
    for (const THighlighterClass& listed : classes_)
        if (listed.ClassName == highlighterClass.ClassName) return;
    classes_.push_back(highlighterClass);
}

const THighlighterClass* THighlighterList::FindByLanguage(std::string_view language) const {
    for (const THighlighterClass& listed : classes_)
        if (listed.IsNamed(language)) return &listed;
    return nullptr;
}

const THighlighterClass* THighlighterList::FindByExtension(std::string_view extension) const {
    for (const THighlighterClass& listed : classes_)
        for (const std::string& known : listed.Extensions)
            if (SameText(known, extension)) return &listed;
    return nullptr;
}

const THighlighterClass* THighlighterList::FindForFile(std::string_view fileName) const {
    std::size_t slash = fileName.find_last_of('/');
    std::string_view base = slash == std::string_view::npos ? fileName : fileName.substr(slash + 1);
    std::size_t dot = base.find_last_of('.');
    if (dot == std::string_view::npos) return nullptr;
    return FindByExtension(base.substr(dot));
}

std::string THighlighterList::LanguageIds(std::string_view separator) const {
    std::string ids;
    for (const THighlighterClass& listed : classes_)
        ids.append(ids.empty() ? "" : separator).append(listed.Language);
    return ids;
}

std::string THighlighterList::OpenDialogPatterns() const {
    std::vector<const THighlighterClass*> offered;
    for (const THighlighterClass& listed : classes_)
        offered.push_back(&listed);
    std::stable_sort(offered.begin(), offered.end(), [](auto* a, auto* b) {
        return a->OpenDialogPosition < b->OpenDialogPosition;
    });
    std::string patterns;
    for (const THighlighterClass* listed : offered)
        for (std::size_t i = 0; i < listed->OpenDialogExtensions; ++i)
            patterns.append(patterns.empty() ? "*" : ";*")
                .append(AnsiLowerCase(TCodePage::Utf8, listed->Extensions.at(i)));
    return patterns;
}

void RegisterHighlighter(const THighlighterClass& highlighterClass) {
    THighlighterList::Instance().Add(highlighterClass);
}

} // namespace ondrex
