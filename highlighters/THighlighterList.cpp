#include "highlighters/THighlighterList.h"

#include "platform/CodePage.h"

namespace ondrex {

THighlighterList& THighlighterList::Instance() {
    static THighlighterList* list = [] {
        auto* created = new THighlighterList;
        RegisterBuiltinHighlighters(*created);
        return created;
    }();
    return *list;
}

void THighlighterList::Add(const THighlighterClass& highlighterClass) {
    for (const THighlighterClass& listed : classes_)
        if (listed.ClassName == highlighterClass.ClassName) return;
    classes_.push_back(highlighterClass);
}

const THighlighterClass* THighlighterList::FindByLanguage(std::string_view language) const {
    for (const THighlighterClass& listed : classes_)
        if (SameText(listed.Language, language)) return &listed;
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

void RegisterHighlighter(const THighlighterClass& highlighterClass) {
    THighlighterList::Instance().Add(highlighterClass);
}

} // namespace ondrex
