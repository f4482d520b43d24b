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
        const bool stream = selectionMode_ == smNormal;
        const TPoint begin = RecordSelectionRemoval(urReplaceSelection);
        ReplaceSelection(smNormal, {});
        // Where the selection began, also when blanks before it were trimmed away.
        if (stream) SetCaretPosition(begin);
        const TPoint at = ReplaceSelectionAt(smNormal, text);
        RecordChange(urInsert, at, CaretPos(), {}, smNormal);
        return;
    }
    const TScopedValue<TqvEditorOptions> pastEol(options_, options_ | qveoScrollPastEol);
    std::string line(lines_.Get(caretY_));
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
    const std::size_t kept = TrimTrailing(line).size();
    lines_.Put(caretY_, std::string_view(line).substr(0, kept));
    // Overwriting the end of a line with blanks trims the blanks before them too: the
    // record then starts there and holds them, so that undo brings them back.
    std::size_t start = x;
    if (!replaced.empty() && kept < x) {
        start = kept;
        replaced.insert(0, line.substr(kept, x - kept));
    }
    RecordChange(urInsert, {int(start) + 1, end.Y}, end, std::move(replaced), smNormal);
    SetCaretPosition(end);
    if (CellOfColumn(CaretLine(), CaretColumn()) + 1 >= LeftColumn() + visibleColumns_)
        SetLeftColumn(LeftColumn() + std::min(25, visibleColumns_ - 1));
}

} // namespace ondrex
