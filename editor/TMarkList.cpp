#include "editor/TMarkList.h"

#include <algorithm>

namespace ondrex {

TMarkOwner* TMark::Owner() const {
    // The reference is kept: a mark is set up before it is added to the list.
    return owner_ && owner_->Marks().IndexOf(this) >= 0 ? owner_ : nullptr;
}

void TMark::InvalidateLine(int line) {
    if (TMarkOwner* owner = Owner()) owner->InvalidateGutterLines(line, line);
}

void TMark::SetLine(int value) {
    if (visible_) {
        if (line_ > 0) InvalidateLine(line_);
        InvalidateLine(value);
    }
    line_ = value;
}

void TMark::SetImageIndex(int value) {
    imageIndex_ = value;
    if (visible_) InvalidateLine(line_);
}

void TMark::SetInternalImage(bool value) {
    internalImage_ = value;
    if (visible_) InvalidateLine(line_);
}

void TMark::SetVisible(bool value) {
    if (visible_ == value) return;
    visible_ = value;
    InvalidateLine(line_);
}

int TMarkList::Add(std::unique_ptr<TMark> mark) {
    items_.push_back(std::move(mark));
    OnChange(this);
    return Count() - 1;
}

int TMarkList::Remove(TMark* mark) {
    int index = IndexOf(mark);
    if (index < 0) return -1;
    items_.erase(items_.begin() + index);
    OnChange(this);
    return index;
}

int TMarkList::IndexOf(const TMark* mark) const {
    auto it = std::ranges::find(items_, mark, &std::unique_ptr<TMark>::get);
    return it == items_.end() ? -1 : int(it - items_.begin());
}

void TMarkList::GetMarksForLine(int line, TMarks& marks) const {
    marks.fill(nullptr);
    std::size_t found = 0;
    for (const auto& mark : items_) {
        if (mark->Line() != line) continue;
        marks[found++] = mark.get();
        if (found == marks.size()) break;
    }
}

} // namespace ondrex
