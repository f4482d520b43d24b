#pragma once
// Export sink for a terminal: SGR escape sequences (the sixteen classic colours by their
// own codes, any other colour as 24-bit), one line of output per line of text. Control
// characters of the text are shown in caret notation (^[), so a file cannot drive the
// terminal.

#include "highlighters/TqvStyledExport.h"

#include <string>
#include <vector>

namespace ondrex {

class TqvAnsiExport : public TqvStyledExport {
public:
    TqvAnsiExport(std::string& out, TCodePage codePage) : TqvStyledExport(codePage), out_(out) {}

protected:
    void BeginStyle(const TqvTokenLook& look, std::size_t id) override;
    void EndStyle() override;
    void AppendText(std::string_view utf8) override;
    void EndLine() override { out_ += '\n'; }

private:
    std::string& out_;
    std::vector<std::string> sequences_; // the escape sequence of each look id
};

} // namespace ondrex
