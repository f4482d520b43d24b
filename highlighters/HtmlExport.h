#pragma once
// Export sink for a standalone HTML page: the text in a <pre>, each attribute's look as a
// CSS class defined in the page's head. Control characters (other than tab) are shown as
// their Unicode control pictures.

#include "highlighters/StyledExport.h"

#include <string>
#include <string_view>
#include <vector>

namespace ondrex {

class THtmlExport : public TStyledExport {
public:
    explicit THtmlExport(TCodePage codePage) : TStyledExport(codePage, body_) {}

    // The whole page with what was written so far; the title is UTF-8.
    std::string Page(const std::string& title) const;
    // The same page in three pieces, for writing a large one without a copy.
    std::string PageHead(const std::string& title) const;
    const std::string& PageBody() const { return body_; }
    // Forgets the body written so far (once it has been written out), keeping its room.
    void ClearBody() { body_.clear(); }
    static std::string_view PageTail() { return "</pre>\n</body>\n</html>\n"; }
    // Room for about this many bytes of body text, allotted once.
    void Reserve(std::size_t bytes) { body_.reserve(bytes); }

protected:
    std::string Opening(const TTokenLook& look) override;
    std::string Closing() const override { return "</span>"; }
    std::string Escaped(char ascii) const override;
    bool NumbersLooks() const override { return true; }

private:
    std::string body_;
    std::vector<TTokenLook> classes_; // in the order of first use: .t0, .t1, ...
};

// Escapes &, <, > and " and shows control characters as control pictures.
void AppendHtmlText(std::string& out, std::string_view utf8);

} // namespace ondrex
