#pragma once
// Export sink for a standalone HTML page: the text in a <pre>, each attribute's look as a
// CSS class defined in the page's head. Control characters (other than tab) are shown as
// their Unicode control pictures.

#include "highlighters/TqvStyledExport.h"

#include <string>
#include <vector>

namespace ondrex {

class TqvHtmlExport : public TqvStyledExport {
public:
    explicit TqvHtmlExport(TCodePage codePage) : TqvStyledExport(codePage) {}

    // The whole page with what was written so far; the title is UTF-8.
    std::string Page(const std::string& title) const;

protected:
    void BeginStyle(const TqvTokenLook& look) override;
    void EndStyle() override { body_ += "</span>"; }
    void AppendText(std::string_view utf8) override;
    void EndLine() override { body_ += '\n'; }

private:
    std::string body_;
    std::vector<TqvTokenLook> classes_;
};

// Escapes &, <, > and " and shows control characters as control pictures.
void AppendHtmlText(std::string& out, std::string_view utf8);

} // namespace ondrex
