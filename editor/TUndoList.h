#pragma once
// TUndoList: a bounded stack of change records. An editor owns two: the undo list, onto
// which every edit records what it did, and the redo list, onto which Undo records what it
// took back. A record holds just enough to replay the change backwards (the editor's undo
// replay reads it by reason).

#include "editor/TqvEditorOptions.h"
#include "platform/Event.h"
#include "platform/Geometry.h"

#include <cstdint>
#include <deque>
#include <string>
#include <vector>

namespace ondrex {

enum TChangeReason : std::uint8_t {
    urInsert,           // typing, tab, text inserted over a selection; text: overwritten bytes
    urPaste,            // paste
    urDropInsert,       // dropping dragged text
    urDeleteForward,    // delete key and its kin; text: the removed text
    urDeleteBackward,   // backspace, delete to line start, cut, a selection removed first
    urReplaceSelection, // the selection removed before typing or pasting over it
    urDropDelete,       // the selection removed by a drag move
    urLineBreak,        // line break and insert line; text: what moved to the new line
    urIndent,           // block indent
    urUnindent,         // block unindent; text: the removed spaces, a piece per line, CR LF
    urNone,             // never recorded: what an empty list answers
};

// Where a column edit's bytes sit on one line: from the 0-based byte At, Length bytes.
struct TLineSpan {
    int At = 0;
    int Length = 0;
    bool operator==(const TLineSpan&) const = default;
};

struct TUndoItem {
    TChangeReason Reason = urNone;
    TPoint Start;
    TPoint End;
    std::string Text;
    TSelectionMode Mode = smNormal;
    // A column block's edges fall on different bytes on each line (characters of several
    // bytes, tabs, trimmed blanks), so a column edit keeps, for each line from the block's
    // top line down, exactly which bytes it removed or inserted; the text then holds the
    // removed bytes, a piece per line joined by CR LF. Empty for every other record.
    std::vector<TLineSpan> Spans;
    // A removed stream selection: the bytes at the front of Text that were not selected but
    // trimmed with it (the blanks before a selection that ended its line). They go back with
    // the text; the selection restored is what was selected.
    int Unselected = 0;
};

class TUndoList {
public:
    TUndoList() = default;
    TUndoList(const TUndoList&) = delete;
    TUndoList& operator=(const TUndoList&) = delete;

    // Nothing while locked. At capacity the oldest record goes first, so even a capacity of 0
    // keeps the newest record. Raises OnAdded after the record is in.
    void AddChange(TChangeReason reason, TPoint start, TPoint end, std::string text,
                   TSelectionMode mode, std::vector<TLineSpan> spans = {}, int unselected = 0);
    // Takes the newest record out; urNone (and `item` untouched) when the list is empty.
    TChangeReason GetChange(TUndoItem& item);
    TChangeReason PeekReason() const { return items_.empty() ? urNone : items_.back().Reason; }
    int Count() const { return int(items_.size()); }
    // The record `index` places from the newest (0 = newest); for tests and inspection.
    const TUndoItem& Peek(int index = 0) const { return items_.at(items_.size() - 1 - index); }

    int MaxUndo() const { return maxUndo_; }
    // Drops the oldest records down to the new capacity.
    void SetMaxUndo(int value);
    void Clear() { items_.clear(); }

    // Not counted: one Unlock ends any number of Locks (scoped code uses TUndoLock).
    void Lock() { locked_ = true; }
    void Unlock() { locked_ = false; }
    bool Locked() const { return locked_; }

    // After every record added (the editor sets Modified and raises its OnChange).
    TNotifyEvent OnAdded;

private:
    std::deque<TUndoItem> items_;
    int maxUndo_ = 10;
    bool locked_ = false;
};

// Locks the lists for the scope and gives each back the locked state it had, so that a
// locked stretch inside another keeps the outer one locked.
class TUndoLock {
public:
    TUndoLock(TUndoList& a, TUndoList& b) : a_(a), b_(b), aWas_(a.Locked()), bWas_(b.Locked()) {
        a_.Lock();
        b_.Lock();
    }
    ~TUndoLock() {
        if (!aWas_) a_.Unlock();
        if (!bWas_) b_.Unlock();
    }
    TUndoLock(const TUndoLock&) = delete;
    TUndoLock& operator=(const TUndoLock&) = delete;

private:
    TUndoList& a_;
    TUndoList& b_;
    bool aWas_;
    bool bWas_;
};

} // namespace ondrex
