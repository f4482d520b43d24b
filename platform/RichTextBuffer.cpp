#include "platform/RichTextBuffer.h"

#include "platform/Clipboard.h"
#include "platform/LineBreaks.h"
#include "platform/Printer.h"

#include <algorithm>

namespace ondrex {

TRichTextBuffer::TRichTextBuffer() : Font("Tahoma", -11) {}

void TRichTextBuffer::Clear() {
    lines_.clear();
    selStart_ = selLength_ = 0;
}

void TRichTextBuffer::Add(const std::string& line) {
    lines_.push_back(line);
}

std::string TRichTextBuffer::Text() const {
    std::string text;
    for (const std::string& line : lines_)
        text += line + "\r\n";
    return text;
}

void TRichTextBuffer::SetText(const std::string& text) {
    lines_.clear();
    ForEachLine(text, [&](std::string_view line) { lines_.emplace_back(line); });
    SetSelection(selStart_, selLength_);
}

void TRichTextBuffer::SetSelection(int start, int length) {
    const int size = static_cast<int>(Text().size());
    selStart_ = std::clamp(start, 0, size);
    selLength_ = std::clamp(length, 0, size - selStart_);
}

void TRichTextBuffer::SelectAll() {
    SetSelection(0, static_cast<int>(Text().size()));
}

std::string TRichTextBuffer::SelText() const {
    return Text().substr(selStart_, selLength_);
}

void TRichTextBuffer::CopyToClipboard() {
    if (selLength_ > 0) Clipboard().SetAsText(SelText());
}

void TRichTextBuffer::PasteFromClipboard() {
    const std::string pasted = Clipboard().AsText();
    std::string text = Text();
    text.replace(selStart_, selLength_, pasted);
    const int caret = selStart_ + static_cast<int>(pasted.size());
    SetText(text);
    SetSelection(caret, 0);
}

bool TRichTextBuffer::Print(const std::string& title) {
    return PrintLines(title, lines_, Font);
}

} // namespace ondrex
