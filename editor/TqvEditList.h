#pragma once
// TqvEditList: the editor's text store. A string list — ordered byte-string lines,
// each with one pointer-sized data slot, BeginUpdate/EndUpdate with the list's own changing
// and changed events, GetText — plus seven change notifications and the rule that the list
// is never empty outside a bulk load.
//
// Deliberate (ARCHITECTURE.md, "Decided behaviour"): loading never drops data. SetText and the
// loads split at CR, LF and CR LF only; a NUL byte is an ordinary byte of its line and does not end
// the text. A block ending in a line break yields no extra empty line.
//
// Storage is a TLineStore: a loaded file stays one shared buffer that the lines view into,
// so loading a 50 MB file of 3 M lines needs about the file's size plus 16 bytes a line.

#include "editor/LineStore.h"
#include "platform/Event.h"
#include "platform/Object.h"
#include "platform/ScopedGuard.h"

#include <iosfwd>
#include <stdexcept>
#include <string>
#include <string_view>

namespace ondrex {

// An index outside the list: "List index out of bounds (N)".
class EStringListError : public std::out_of_range {
public:
    explicit EStringListError(int index);
};

// (sender, 0-based line index)
using TLineIndexEvent = TEvent<TObject*, int>;

class TqvEditList : public TObject {
public:
    TqvEditList() = default;
    TqvEditList(const TqvEditList&) = delete;
    TqvEditList& operator=(const TqvEditList&) = delete;

    std::string ClassName() const override { return "TqvEditList"; }

    // ---- The string list -------------------------------------------------------------
    int Count() const { return int(store_.Size()); }
    // The line's bytes, without terminator. The view is valid until the list changes.
    std::string_view Get(int index) const;
    void* GetObject(int index) const;
    // Sets the data slot; raises no notification (the slot is not text).
    void PutObject(int index, void* object);
    // All lines joined with CR LF (no CR LF after the last line).
    std::string GetText() const;

    void BeginUpdate();
    void EndUpdate();
    int UpdateCount() const { return updateCount_; }
    TNotifyEvent OnChanging; // the outermost BeginUpdate starts
    TNotifyEvent OnChange;   // the outermost EndUpdate ends

    // ---- The edit list ---------------------------------------------------------------
    int Add(std::string_view text);
    void AddStrings(const TqvEditList& source);
    void Insert(int index, std::string_view text);
    void Put(int index, std::string_view text);
    void Delete(int index);
    void Clear();
    // Replaces the text by the lines of one block. Outside BeginLoading/EndLoading the empty
    // line that Clear leaves stays in front of them ; callers that replace the whole
    // text wrap the call. The rvalue form keeps the block as the lines' storage (no copy).
    void SetText(std::string_view block);
    void SetText(std::string&& block);
    void SetText(const char* block) { SetText(std::string_view(block)); }
    // Reads the rest of the stream as one block.
    void LoadFromStream(std::istream& stream);
    // Loading from a file is loading from a stream on it; the file's bytes become the
    // lines' storage. Throws EFileError (naming the file and the cause) before any change.
    void LoadFromFile(const std::string& path);
    // The whole file's bytes as one block, as LoadFromStream does with them. The shared form
    // lets a caller (the scanner) keep reading the same bytes without a second copy.
    void LoadFromBlock(std::string&& block);
    void LoadFromBlock(TLineStore::TBlock block);
    void Assign(const TqvEditList& source);

    // A load in passes: a large file shown while it is still being read. BeginLoadInPasses
    // empties the list and takes the block (`capacity` bytes at `base`, kept alive by
    // `owner`: a string being filled, or a mapped file) as the lines' storage; the reader
    // then fills the block from its start (so that the lines' views stay valid), or hands a
    // longer copy to GrowLoadedBlock. After each piece LoadPass(bytes read so far) makes the
    // list hold the lines of those bytes exactly as a whole load of them would: the last
    // line may still grow, and a CR at the end may still become a CR LF. The list is never
    // empty meanwhile, and is not to be edited until the load is over.
    void BeginLoadInPasses(TLineStore::TOwner owner, const char* base, std::size_t capacity);
    void GrowLoadedBlock(TLineStore::TOwner owner, const char* base, std::size_t capacity);
    void LoadPass(std::size_t bytes);
    // The load of this block is over (read to its end, or given up): its block is the lines'
    // storage like any other. A newer load's block is left alone.
    void EndLoadInPasses(const void* owner) {
        if (passOwner_.get() == owner) passOwner_.reset();
    }
    bool LoadingInPasses() const { return passOwner_ != nullptr; }
    void BeginLoading() { ++loadingCount_; }
    void EndLoading();
    int LoadingCount() const { return loadingCount_; }

    TNotifyEvent OnAdded;          // after Add appended one line
    TNotifyEvent OnCleared;        // before Clear empties the list
    TLineIndexEvent OnDeleted;     // after the line at the index was removed (or emptied)
    TLineIndexEvent OnInserted;    // after a line was inserted at the index
    TNotifyEvent OnTextReplaced;   // after SetText replaced the whole text
    TLineIndexEvent OnLineChanged; // after Put replaced the line's text
    TNotifyEvent OnBulkAdded;      // once after AddStrings / a load appended many lines
    TLineIndexEvent OnLoadPass;    // after a pass: the lines from the index on are new or grew

    // Bytes held by the store (for benchmarks and tests).
    std::size_t MemoryUsage() const { return store_.MemoryUsage(); }

private:
    void check(int index, int count) const;
    void setTextShared(TLineStore::TBlock block);

    TLineStore store_;
    // The load in passes: its block, the last line (which may still grow), where that line
    // starts and from where a break after it is still to be looked for.
    TLineStore::TOwner passOwner_;
    const char* passBase_ = nullptr;
    std::size_t passCapacity_ = 0;
    std::size_t passBytes_ = 0;
    std::size_t tailLine_ = 0;
    std::size_t tailStart_ = 0;
    std::size_t searchFrom_ = 0;
    int updateCount_ = 0;
    int loadingCount_ = 0;
    bool addedMuted_ = false;
};

// BeginUpdate/EndUpdate and BeginLoading/EndLoading for one scope.
using TqvLinesUpdate = TScopedPair<TqvEditList, &TqvEditList::BeginUpdate, &TqvEditList::EndUpdate>;
using TqvLinesLoading =
    TScopedPair<TqvEditList, &TqvEditList::BeginLoading, &TqvEditList::EndLoading>;

} // namespace ondrex
