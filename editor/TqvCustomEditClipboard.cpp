// Copy, cut and paste through the system clipboard: plain text for other programs plus the
// editor's private block (mode byte, text, NUL), so that column and line blocks paste back
// as what they were.

#include "editor/LineText.h"
#include "editor/TqvCustomEdit.h"
#include "editor/TqvScopedGuards.h"
#include "platform/Clipboard.h"

#include <algorithm>
#include <memory>

namespace ondrex {

namespace {

constexpr const char* kCopyFailed = "Clipboard copy operation failed";
constexpr const char* kPasteFailed = "Clipboard paste operation failed.";

TClipFormat BlockFormat() {
    static const TClipFormat format = RegisterClipboardFormat("qvEdit Control Block Type");
    return format;
}
// Registered once per process, before any editor exists.
[[maybe_unused]] const TClipFormat kRegisteredBlockFormat = BlockFormat();

void CloseQuietly(TClipboard& clipboard) {
    try {
        clipboard.Close();
    } catch (const EClipboardError&) {
        // The copy already failed; that failure is the one reported.
    }
}

} // namespace

void TqvCustomEdit::CopyToClipboard() {
    if (!HasSelection()) return;
    // The block is the text itself with the mode in front and NUL behind; the plain text is
    // the middle of the same buffer.
    auto block = std::make_shared<std::string>(1, char(selectionMode_));
    AppendSelectedText(*block);
    block->push_back('\0');
    const std::size_t textLength = block->size() - 2;
    TClipboard& clipboard = Clipboard();
    clipboard.Open();
    try {
        clipboard.SetAsText(TClipData(block, 1, textLength));
        clipboard.SetBuffer(BlockFormat(), TClipData(std::move(block), 0, textLength + 2));
    } catch (const EClipboardError&) {
        CloseQuietly(clipboard);
        throw EqvEditError(kCopyFailed);
    }
    try {
        clipboard.Close();
    } catch (const EClipboardError&) {
        throw EqvEditError(kCopyFailed);
    }
}

void TqvCustomEdit::CutToClipboard() {
    if (!HasSelection()) return;
    CopyToClipboard();
    TqvPaintLock paint(*this);
    RecordSelectionRemoval(urDeleteBackward);
    TUndoLock lock(undoList_, redoList_);
    ReplaceSelection(smNormal, {});
}

bool TqvCustomEdit::CanPaste() const {
    const TClipboard& clipboard = Clipboard();
    return clipboard.HasFormat(CF_TEXT) || clipboard.HasFormat(BlockFormat());
}

void TqvCustomEdit::PasteFromClipboard() {
    const TClipboard& clipboard = Clipboard();
    std::optional<std::string> block;
    std::string text;
    try {
        block = clipboard.GetBuffer(BlockFormat());
        if (!block) {
            if (!clipboard.HasFormat(CF_TEXT)) return;
            text = clipboard.AsText();
        }
    } catch (const EClipboardError&) {
        throw EqvEditError(kPasteFailed);
    }
    TqvPaintLock paint(*this);
    if (block) {
        if (block->empty() || std::uint8_t(block->front()) > smLine)
            throw EqvEditError(kPasteFailed);
        const auto mode = TSelectionMode(block->front());
        // Only the final NUL ends the block: a NUL inside the text is kept.
        const std::size_t end = block->back() == '\0' ? block->size() - 1 : block->size();
        PasteBlock(mode, std::string_view(*block).substr(std::min<std::size_t>(1, end), end - 1));
    } else {
        PasteBlock(smNormal, text);
    }
    EnsureCaretVisible();
    StatusChanged(scSelection);
}

void TqvCustomEdit::PasteBlock(TSelectionMode mode, std::string_view text) {
    if (HasSelection()) {
        RecordSelectionRemoval(urReplaceSelection);
        TUndoLock lock(undoList_, redoList_);
        ReplaceSelection(smNormal, {});
    }
    const TPoint at = CaretPos();
    if (mode == smColumn) {
        // Lines a column block needs below the text are added as an edit of their own, so
        // that taking the block back leaves no lines behind.
        const int pieces = int(CountLineBreaks(text)) + 1;
        const int missing = at.Y - 1 + pieces - LineCount();
        if (missing > 0) {
            const TPoint last{int(lines_.Get(LineCount() - 1).size()) + 1, LineCount()};
            SetCaretPosition(last);
            std::string breaks;
            for (int i = 0; i < missing; ++i)
                breaks.append("\r\n");
            {
                TUndoLock lock(undoList_, redoList_);
                ReplaceSelection(smNormal, breaks);
            }
            RecordChange(urInsert, last, CaretPos(), {}, smNormal);
            SetCaretPosition(at);
        }
    }
    std::vector<TLineSpan> spans;
    TPoint start;
    {
        TUndoLock lock(undoList_, redoList_);
        start = ReplaceSelectionAt(mode, text, &spans);
    }
    const TPoint end = CaretPos();
    if (text.empty()) return;
    switch (mode) {
    case smNormal:
        RecordChange(urPaste, start, end, {}, smNormal);
        break;
    case smColumn:
        RecordChange(urPaste, at, end, {}, smColumn, std::move(spans));
        SetCaretPosition({std::min(at.X, end.X), std::max(at.Y, end.Y) + 1});
        break;
    case smLine:
        if (end.X == 1)
            RecordChange(urPaste, {1, at.Y}, {std::max(visibleColumns_, 2), end.Y - 1}, {}, smLine);
        else
            RecordChange(urPaste, {1, at.Y}, end, {}, smNormal);
        break;
    }
}

} // namespace ondrex
