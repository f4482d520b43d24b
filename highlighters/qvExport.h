#pragma once
// Where ExportNextToken hands its tokens: a sink that writes them out in some format. Each
// language says per token kind which flags it passes. The end of a line arrives as a token
// with no text and no attribute.

#include <string_view>

namespace ondrex {

class TqvHighLightAttributes;

class TqvExport {
public:
    virtual ~TqvExport() = default;

    // whitespace: the token is white space; second: a comment, a string or a symbol.
    virtual void WriteToken(std::string_view text, const TqvHighLightAttributes* attribute,
                            bool whitespace, bool second) = 0;
};

} // namespace ondrex
