#include "editor/TUndoList.h"

#include <utility>

namespace ondrex {

void TUndoList::AddChange(TChangeReason reason, TPoint start, TPoint end, std::string text,
                          TSelectionMode mode, std::vector<TLineSpan> spans, int unselected) {
    if (locked_) return;
    while (!items_.empty() && int(items_.size()) >= maxUndo_)
        items_.pop_front();
    items_.push_back({reason, start, end, std::move(text), mode, std::move(spans), unselected});
    OnAdded(nullptr);
}

TChangeReason TUndoList::GetChange(TUndoItem& item) {
    if (items_.empty()) return urNone;
    item = std::move(items_.back());
    items_.pop_back();
    return item.Reason;
}

void TUndoList::SetMaxUndo(int value) {
    while (int(items_.size()) > value && !items_.empty())
        items_.pop_front();
    maxUndo_ = value;
}

} // namespace ondrex
