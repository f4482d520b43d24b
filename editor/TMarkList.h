#pragma once
// Marks are glyphs attached to editor lines; a bookmark is a mark numbered 0..9. The mark
// list holds an editor's marks in order of placement and owns them.

#include "platform/Event.h"
#include "platform/Object.h"

#include <array>
#include <memory>
#include <vector>

namespace ondrex {

class TMarkList;

// What a mark needs of the editor that shows it.
class TMarkOwner {
public:
    virtual TMarkList& Marks() = 0;
    // Repaints the gutter rows of the 1-based lines first..last.
    virtual void InvalidateGutterLines(int first, int last) = 0;

protected:
    ~TMarkOwner() = default;
};

class TMark : public TObject {
public:
    explicit TMark(TMarkOwner* owner) : owner_(owner) {}
    std::string ClassName() const override { return "TMark"; }

    // The owner while its mark list holds this mark, else none: a mark repaints nothing
    // before it is added. A mark must not outlive its owner.
    virtual TMarkOwner* Owner() const;
    virtual void SetColumn(int value) { column_ = value; }
    virtual void SetImageIndex(int value);
    virtual void SetLine(int value);

    int Line() const { return line_; }
    int Column() const { return column_; }
    int ImageIndex() const { return imageIndex_; }
    int BookmarkNumber() const { return bookmarkNumber_; }
    void SetBookmarkNumber(int value) { bookmarkNumber_ = value; }
    bool Visible() const { return visible_; }
    void SetVisible(bool value);
    bool InternalImage() const { return internalImage_; }
    void SetInternalImage(bool value);
    bool IsBookmark() const { return bookmarkNumber_ >= 0; }

private:
    void InvalidateLine(int line);

    TMarkOwner* owner_;
    int line_ = 0;
    int column_ = 0;
    int imageIndex_ = 0;
    int bookmarkNumber_ = -1;
    bool visible_ = false;
    bool internalImage_ = false;
};

// Room for the marks of one line that a gutter click reports.
using TMarks = std::array<TMark*, 16>;

class TMarkList : public TObject {
public:
    explicit TMarkList(TMarkOwner* owner) : owner_(owner) {}
    std::string ClassName() const override { return "TMarkList"; }

    TMarkOwner* Owner() const { return owner_; }

    // Takes the mark over; returns its index.
    int Add(std::unique_ptr<TMark> mark);
    // Frees the mark; returns the index it had, or -1 when the list does not hold it.
    int Remove(TMark* mark);
    int IndexOf(const TMark* mark) const;
    int Count() const { return int(items_.size()); }
    TMark* Items(int index) const { return items_.at(index).get(); }

    // The marks on the 1-based line in list order, at most 16; the rest of the array is
    // cleared.
    void GetMarksForLine(int line, TMarks& marks) const;

    TNotifyEvent OnChange;

private:
    TMarkOwner* owner_;
    std::vector<std::unique_ptr<TMark>> items_;
};

} // namespace ondrex
