#pragma once
// TRichTextBuffer: the hidden plain-text buffer the application copies and prints through.
// It holds lines; its text is every line followed by CR LF. A selection (byte offsets into
// that text) is what copy takes and paste replaces.

#include "platform/Font.h"

#include <string>
#include <vector>

namespace ondrex {

class TRichTextBuffer {
public:
    TRichTextBuffer();

    TFont Font; // Tahoma, 8 points: used for printing

    void Clear();
    void Add(const std::string& line);
    const std::vector<std::string>& Lines() const { return lines_; }
    std::string Text() const;
    // Replaces everything; CR, LF and CR LF end lines (a final break adds no empty line).
    void SetText(const std::string& text);

    int SelStart() const { return selStart_; }
    int SelLength() const { return selLength_; }
    // Clamped to the text.
    void SetSelection(int start, int length);
    void SelectAll();
    std::string SelText() const;

    // The selection as plain text; an empty selection leaves the clipboard alone.
    void CopyToClipboard();
    // The clipboard's text replaces the selection; the caret (empty selection) ends after it.
    void PasteFromClipboard();
    // One job titled `title` on the default printer (or the PDF of ONDREX_PRINT_TO_PDF).
    // False when the user cancelled it. Throws EPrinterError.
    bool Print(const std::string& title);

private:
    std::vector<std::string> lines_;
    int selStart_ = 0;
    int selLength_ = 0;
};

} // namespace ondrex
