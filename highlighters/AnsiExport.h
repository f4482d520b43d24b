#pragma once
// Export sink for a terminal: SGR escape sequences (the sixteen classic colours by their
// own codes, any other colour as 24-bit), one line of output per line of text. Control
// characters of the text are shown in caret notation (^[), so a file cannot drive the
// terminal.

#include "highlighters/StyledExport.h"

#include <string>

namespace ondrex {

class TAnsiExport : public TStyledExport {
public:
    TAnsiExport(std::string& out, TCodePage codePage) : TStyledExport(codePage, out) {}

protected:
    std::string Opening(const TTokenLook& look) const override;
    std::string Closing() const override { return "\x1b[0m"; }
    std::string Escaped(char ascii) const override;
};

} // namespace ondrex
