#pragma once
// The compact store under TqvEditList: lines plus one pointer-sized data slot each, built
// for files of millions of lines.
//
// - A loaded block (a string, or a mapped file) stays one shared, immutable buffer; each of
//   its lines is an 8-byte record (32-bit offset, 31-bit length) that views into it. A line
//   is copied into a string of its own ("materialised") only when it is changed or added one
//   by one.
// - The records sit in a gap buffer, so runs of inserts or deletes near one place (typing,
//   pasting, deleting a block) move each record at most once. The data slots sit beside
//   them in the same layout, made only when a slot is first set (a load sets none), a byte
//   each while every value set is below 256 (the editor's range states), else pointer-sized.
// So a 50 MB file of 3 M lines costs the file's bytes plus 8 bytes a line, and one more once
// its range states are known.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace ondrex {

class TLineStore {
public:
    using TBlock = std::shared_ptr<const std::string>;
    // Whatever keeps a block's bytes alive (a string, a mapped file).
    using TOwner = std::shared_ptr<const void>;

    TLineStore() = default;
    TLineStore(const TLineStore&) = delete;
    TLineStore& operator=(const TLineStore&) = delete;

    std::size_t Size() const { return gapBegin_ + (capacity_ - gapEnd_); }
    bool Empty() const { return Size() == 0; }

    // The text of line i, valid until the store changes.
    std::string_view Text(std::size_t i) const {
        const TRecord& r = at(i);
        if (r.len & kOwned) return owned_[r.off];
        return std::string_view(base_ + r.off, r.len);
    }
    void* Object(std::size_t i) const;
    void SetObject(std::size_t i, void* object);

    // Copies the text (which may view into this store) into a line of its own.
    void Insert(std::size_t i, std::string_view text, void* object = nullptr);
    void Append(std::string_view text, void* object = nullptr) { Insert(Size(), text, object); }
    // Replaces the text and keeps the data slot.
    void Replace(std::size_t i, std::string_view text);
    void Erase(std::size_t i);
    void Clear();

    // Lines of a block appended as views into it (no copy of the text). Returns how many.
    // Appending line by line (AppendBlockLine) lets the caller raise a notification after
    // each; ReserveForAppend makes room for n records at once beforehand.
    void ReserveForAppend(std::size_t n);
    // Adopts the block for views when the store has none yet (or holds no lines); returns
    // false when another block is in use, and then AppendBlockLine copies.
    bool AdoptBlock(const TBlock& block);
    bool AdoptBytes(TOwner owner, std::string_view bytes);
    void AppendBlockLine(std::string_view lineInBlock);
    // All lines of the block at once (split as TLineSplitter does), as views when the block
    // could be adopted. Returns the number of lines appended.
    std::size_t AppendBlockLines(const TBlock& block);
    // The lines of a piece of the adopted block, as views (copied where a view cannot hold
    // them); room grows as for single appends. Returns the number of lines appended.
    std::size_t AppendBlockViews(std::string_view text);

    // Drops the lines from index n on.
    void TruncateTo(std::size_t n);
    // A block read piece by piece: `bytes` start with every byte of the adopted ones (the same
    // buffer grown in place, or a longer copy) and take their place, so the lines' views
    // (offsets) stay as they are.
    void ReplaceBytes(TOwner owner, std::string_view bytes);

    // Copies every line of `source` (not the data slots), viewing into the same block where
    // possible.
    void AppendFrom(const TLineStore& source);

    // Bytes held: block, records and materialised lines (for tests and benchmarks).
    std::size_t MemoryUsage() const;

private:
    static constexpr std::uint32_t kOwned = 0x80000000u;
    struct TRecord {
        std::uint32_t off; // offset into the block, or index into owned_ when len has kOwned
        std::uint32_t len;
    };
    static_assert(sizeof(TRecord) == 8);
    struct TFree {
        void operator()(unsigned char* p) const;
    };

    std::size_t slot(std::size_t i) const { return i < gapBegin_ ? i : i + (gapEnd_ - gapBegin_); }
    TRecord& at(std::size_t i) { return records_[slot(i)]; }
    const TRecord& at(std::size_t i) const { return records_[slot(i)]; }
    void clearObjects(std::size_t from, std::size_t to);
    void widenObjects(std::size_t width);
    void moveGap(std::size_t pos);
    void reallocate(std::size_t capacity);
    void ensureGap(std::size_t n);
    std::uint32_t newOwned(std::string&& text);
    void releaseOwned(const TRecord& r);
    bool canView(std::string_view text) const;
    void writeViews(std::string_view text, std::size_t n);

    // Records [0, gapBegin_) and [gapEnd_, capacity_) are lines; uninitialised memory between.
    // The data slots, when made, have the same layout, objectBytes_ (1 or 8) each.
    std::unique_ptr<TRecord[]> records_;
    std::unique_ptr<unsigned char[], TFree> objects_;
    std::size_t objectBytes_ = 0;
    std::size_t capacity_ = 0;
    std::size_t gapBegin_ = 0;
    std::size_t gapEnd_ = 0;
    TOwner owner_;
    const char* base_ = nullptr;
    std::size_t bytes_ = 0;
    std::vector<std::string> owned_;
    std::vector<std::uint32_t> freeOwned_;
};

} // namespace ondrex
