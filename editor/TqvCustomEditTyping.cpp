// Typing: a character (ecChar) or an input method's string (ecImeStr), inserted or
// overwriting, over a selection or at the caret.

#include "editor/LineText.h"
#include "editor/TqvCustomEdit.h"
#include "editor/TqvScopedGuards.h"
#include "platform/ScopedGuard.h"

#include <algorithm>

namespace ondrex {

// Overwriting never leaves part of a character: a character is replaced whole, and a
// string overwrites up to the end of the character its last byte falls in.
void TqvCustomEdit::TypeText(const std::string& text, bool ime) {
    if (text.empty()) return;
    TqvPaintLock paint(*this);
    if (HasSelection()) {
        RecordSelectionRemoval(urReplaceSelection);
        ReplaceSelection(smNormal, {});
        const TPoint at = ReplaceSelectionAt(smNormal, text);
        RecordChange(urInsert, at, CaretPos(), {}, smNormal);
        return;
    }
    const TScopedValue<TqvEditorOptions> pastEol(options_, options_ | qveoScrollPastEol);
    std::string line(lines_.Get(caretY_));
    const std::size_t had = line.size();
    std::size_t x = std::size_t(caretX_);
    if (line.size() < x)
        line.resize(x, ' ');
    else
        x = CharEndAt(line, x);
    std::string replaced;
    if (!insertMode_ && x < line.size()) {
        const std::size_t end = ime ? CharEndAt(line, std::min(x + text.size(), line.size()))
                                    : x + CharLengthAt(line, x);
        replaced = line.substr(x, end - x);
        line.erase(x, end - x);
    }
    line.insert(x, text);
    const TPoint end{int(x + text.size()) + 1, caretY_ + 1};
    // Only typing that ends the line trims it. The record covers all the typing changed: from
    // the padding, and from the blanks of the line's own that the trim took before it (they
    // come back on undo as overwritten bytes do).
    std::size_t start = std::min(x, had);
    std::size_t kept = line.size();
    if (x + text.size() == line.size()) kept = TrimTrailing(line).size();
    if (kept < start) {
        replaced.insert(0, line.substr(kept, start - kept));
        start = kept;
    }
    lines_.Put(caretY_, std::string_view(line).substr(0, kept));
    RecordChange(urInsert, {int(start) + 1, end.Y}, end, std::move(replaced), smNormal);
    SetCaretPosition(end);
    if (CellOfColumn(CaretLine(), CaretColumn()) + 1 >= LeftColumn() + visibleColumns_)
        SetLeftColumn(LeftColumn() + std::min(25, visibleColumns_ - 1));
}

} // namespace ondrex
