#pragma once
// Export sink for a standalone HTML page: the text in a <pre>, each look the highlighter's
// attributes can give as a CSS class defined in the page's head, numbered in the order of the
// attribute list, so that the head is known before any text and the page can be written as
// it goes. A look no attribute gave when the sink was made (an attribute changed later) is
// styled in place. Control characters (other than tab) are shown as their Unicode control
// pictures.

#include "highlighters/StyledExport.h"

#include <string>
#include <string_view>
#include <vector>

namespace ondrex {

class THtmlExport : public TStyledExport {
public:
    THtmlExport(TCodePage codePage, const TqvCustomHighLighter& highlighter);

    // The whole page with what was written so far; the title is UTF-8.
    std::string Page(const std::string& title);
    // The same page in three pieces, for writing a large one without a copy.
    std::string PageHead(const std::string& title) const;
    const std::string& PageBody() {
        Flush();
        return body_;
    }
    // Forgets the body written so far (once it has been written out), keeping its room.
    void ClearBody() {
        Flush();
        body_.clear();
    }
    static std::string_view PageTail() { return "</pre>\n</body>\n</html>\n"; }

protected:
    std::string Opening(const TTokenLook& look) const override;
    std::string Closing() const override { return "</span>"; }
    std::string Escaped(char ascii) const override;

private:
    std::string body_;
    std::vector<TTokenLook> classes_; // .t0, .t1, ...
};

// Escapes &, <, > and " and shows control characters as control pictures.
void AppendHtmlText(std::string& out, std::string_view utf8);

} // namespace ondrex
