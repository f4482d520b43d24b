#include "editor/LineStore.h"

#include "platform/HugePages.h"
#include "platform/LineBreaks.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <new>
#include <stdexcept>

namespace ondrex {

void TLineStore::TFree::operator()(unsigned char* p) const {
    std::free(p);
}

namespace {

// Zeroed by the system, page by page as touched: slots never set cost no memory.
unsigned char* newObjects(std::size_t bytes) {
    void* p = std::calloc(bytes ? bytes : 1, 1);
    if (!p) throw std::bad_alloc();
    return static_cast<unsigned char*>(p);
}

} // namespace

void TLineStore::moveGap(std::size_t pos) {
    if (pos == gapBegin_) return;
    TRecord* d = records_.get();
    unsigned char* o = objects_.get();
    const std::size_t w = objectBytes_;
    if (pos < gapBegin_) {
        std::size_t n = gapBegin_ - pos;
        std::memmove(d + gapEnd_ - n, d + pos, n * sizeof(TRecord));
        if (o) std::memmove(o + (gapEnd_ - n) * w, o + pos * w, n * w);
        gapBegin_ = pos;
        gapEnd_ -= n;
    } else {
        std::size_t n = pos - gapBegin_;
        std::memmove(d + gapBegin_, d + gapEnd_, n * sizeof(TRecord));
        if (o) std::memmove(o + gapBegin_ * w, o + gapEnd_ * w, n * w);
        gapBegin_ += n;
        gapEnd_ += n;
    }
}

void TLineStore::reallocate(std::size_t cap) {
    // Uninitialised (TRecord is trivial): a bulk load writes each record once.
    std::unique_ptr<TRecord[]> grown(new TRecord[cap]);
    AdviseHugePages(grown.get(), cap * sizeof(TRecord)); // written once, right away
    const std::size_t w = objectBytes_;
    std::unique_ptr<unsigned char[], TFree> grownObjects(objects_ ? newObjects(cap * w) : nullptr);
    std::size_t tail = capacity_ - gapEnd_;
    if (gapBegin_) {
        std::memcpy(grown.get(), records_.get(), gapBegin_ * sizeof(TRecord));
        if (objects_) std::memcpy(grownObjects.get(), objects_.get(), gapBegin_ * w);
    }
    if (tail) {
        std::memcpy(grown.get() + cap - tail, records_.get() + gapEnd_, tail * sizeof(TRecord));
        if (objects_)
            std::memcpy(grownObjects.get() + (cap - tail) * w, objects_.get() + gapEnd_ * w,
                        tail * w);
    }
    gapEnd_ = cap - tail;
    capacity_ = cap;
    records_ = std::move(grown);
    objects_ = std::move(grownObjects);
}

void* TLineStore::Object(std::size_t i) const {
    if (!objects_) return nullptr;
    const unsigned char* at = objects_.get() + slot(i) * objectBytes_;
    if (objectBytes_ == 1) return reinterpret_cast<void*>(std::uintptr_t(*at));
    void* object;
    std::memcpy(&object, at, sizeof object);
    return object;
}

void TLineStore::SetObject(std::size_t i, void* object) {
    const auto value = reinterpret_cast<std::uintptr_t>(object);
    const std::size_t width = value < 256 ? 1 : sizeof(void*);
    if (!objects_ && value == 0) return;
    if (width > objectBytes_) widenObjects(width);
    unsigned char* at = objects_.get() + slot(i) * objectBytes_;
    if (objectBytes_ == 1)
        *at = static_cast<unsigned char>(value);
    else
        std::memcpy(at, &object, sizeof object);
}

// Slots of `width` bytes, holding the values the narrower ones held.
void TLineStore::widenObjects(std::size_t width) {
    std::unique_ptr<unsigned char[], TFree> wide(newObjects(capacity_ * width));
    for (std::size_t i = 0, n = objects_ ? Size() : 0; i < n; ++i) {
        void* object = Object(i);
        std::memcpy(wide.get() + slot(i) * width, &object, sizeof object);
    }
    objects_ = std::move(wide);
    objectBytes_ = width;
}

// New lines at [from, to) start with empty slots (the gap may hold old ones).
void TLineStore::clearObjects(std::size_t from, std::size_t to) {
    if (objects_ && from < to)
        std::memset(objects_.get() + from * objectBytes_, 0, (to - from) * objectBytes_);
}

void TLineStore::ensureGap(std::size_t n) {
    if (gapEnd_ - gapBegin_ >= n) return;
    reallocate(std::max({Size() + n, capacity_ + capacity_ / 2, std::size_t(16)}));
}

void TLineStore::ReserveForAppend(std::size_t n) {
    moveGap(Size());
    // Exactly what is asked, so that a bulk load does not over-allocate.
    if (gapEnd_ - gapBegin_ < n) reallocate(gapBegin_ + n);
}

std::uint32_t TLineStore::newOwned(std::string&& text) {
    if (!freeOwned_.empty()) {
        std::uint32_t i = freeOwned_.back();
        freeOwned_.pop_back();
        owned_[i] = std::move(text);
        return i;
    }
    if (owned_.size() >= kOwned) throw std::length_error("TLineStore: too many changed lines");
    owned_.push_back(std::move(text));
    return std::uint32_t(owned_.size() - 1);
}

void TLineStore::releaseOwned(const TRecord& r) {
    if (!(r.len & kOwned)) return;
    owned_[r.off] = std::string();
    freeOwned_.push_back(r.off);
}

void TLineStore::Insert(std::size_t i, std::string_view text, void* object) {
    std::string copy(text); // before anything moves: text may view into this store
    ensureGap(1);
    moveGap(i);
    std::uint32_t idx = newOwned(std::move(copy));
    records_[gapBegin_] = TRecord{idx, kOwned};
    clearObjects(gapBegin_, gapBegin_ + 1);
    ++gapBegin_;
    if (object) SetObject(i, object);
}

void TLineStore::Replace(std::size_t i, std::string_view text) {
    TRecord& r = at(i);
    if (r.len & kOwned) {
        owned_[r.off].assign(text.data(), text.size()); // assign copes with self-overlap
        return;
    }
    std::string copy(text);
    r.off = newOwned(std::move(copy));
    r.len = kOwned;
}

void TLineStore::Erase(std::size_t i) {
    moveGap(i + 1);
    releaseOwned(records_[gapBegin_ - 1]);
    --gapBegin_;
    if (Empty()) Clear();
}

void TLineStore::Clear() {
    records_.reset();
    objects_.reset();
    objectBytes_ = 0;
    capacity_ = gapBegin_ = gapEnd_ = 0;
    owner_.reset();
    base_ = nullptr;
    bytes_ = 0;
    std::vector<std::string>().swap(owned_);
    std::vector<std::uint32_t>().swap(freeOwned_);
}

bool TLineStore::AdoptBlock(const TBlock& block) {
    return block ? AdoptBytes(block, *block) : AdoptBytes(nullptr, {});
}

bool TLineStore::AdoptBytes(TOwner owner, std::string_view bytes) {
    if (owner_ == owner && base_ == bytes.data()) {
        bytes_ = std::max(bytes_, bytes.size());
        return true;
    }
    if (owner_ && !Empty()) return false;
    if (bytes.size() >= kOwned) return false; // offsets and lengths must fit
    owner_ = std::move(owner);
    base_ = owner_ ? bytes.data() : nullptr;
    bytes_ = owner_ ? bytes.size() : 0;
    return true;
}

void TLineStore::TruncateTo(std::size_t n) {
    if (n >= Size()) return;
    moveGap(Size());
    for (std::size_t i = n; i < gapBegin_; ++i)
        releaseOwned(records_[i]);
    gapBegin_ = n;
}

void TLineStore::ReplaceBytes(TOwner owner, std::string_view bytes) {
    if (!owner || bytes.size() >= kOwned) return;
    owner_ = std::move(owner);
    base_ = bytes.data();
    bytes_ = bytes.size();
}

bool TLineStore::canView(std::string_view text) const {
    if (!owner_ || text.size() >= kOwned) return false;
    const char* b = base_;
    return text.data() >= b && text.data() + text.size() <= b + bytes_ &&
           std::size_t(text.data() - b) <= std::numeric_limits<std::uint32_t>::max();
}

void TLineStore::AppendBlockLine(std::string_view line) {
    if (!canView(line)) {
        Append(line);
        return;
    }
    ensureGap(1);
    moveGap(Size());
    records_[gapBegin_] = TRecord{std::uint32_t(line.data() - base_), std::uint32_t(line.size())};
    clearObjects(gapBegin_, gapBegin_ + 1);
    ++gapBegin_;
}

std::size_t TLineStore::AppendBlockLines(const TBlock& block) {
    if (!block) return 0;
    const std::string_view text(*block);
    const std::size_t n = CountLines(text);
    ReserveForAppend(n);
    if (!AdoptBlock(block) || owner_ != block) {
        ForEachLine(text, [this](std::string_view line) { Append(line); });
        return n;
    }
    writeViews(text, n);
    return n;
}

std::size_t TLineStore::AppendBlockViews(std::string_view text) {
    if (!canView(text)) {
        std::size_t n = 0;
        ForEachLine(text, [this, &n](std::string_view line) {
            AppendBlockLine(line);
            ++n;
        });
        return n;
    }
    // One walk over the text: records go straight into the gap, which grows as for single
    // appends when the room reserved beforehand runs out.
    moveGap(Size());
    const std::size_t first = gapBegin_;
    TRecord* out = records_.get() + gapBegin_;
    TRecord* room = records_.get() + gapEnd_;
    const char* base = base_;
    ForEachLine(text, [&](std::string_view line) {
        if (out == room) {
            gapBegin_ = std::size_t(out - records_.get());
            ensureGap(1);
            out = records_.get() + gapBegin_;
            room = records_.get() + gapEnd_;
        }
        *out++ = TRecord{std::uint32_t(line.data() - base), std::uint32_t(line.size())};
    });
    gapBegin_ = std::size_t(out - records_.get());
    clearObjects(first, gapBegin_);
    return gapBegin_ - first;
}

// The n lines of `text` (which lies in the block) into the gap at its start.
void TLineStore::writeViews(std::string_view text, std::size_t n) {
    TRecord* out = records_.get() + gapBegin_;
    const char* base = base_;
    ForEachLine(text, [&out, base](std::string_view line) {
        *out++ = TRecord{std::uint32_t(line.data() - base), std::uint32_t(line.size())};
    });
    clearObjects(gapBegin_, gapBegin_ + n);
    gapBegin_ += n;
}

void TLineStore::AppendFrom(const TLineStore& source) {
    if (&source == this) {
        std::vector<std::string> copy;
        for (std::size_t i = 0; i < Size(); ++i)
            copy.emplace_back(Text(i));
        for (auto& s : copy)
            Append(s);
        return;
    }
    std::size_t n = source.Size();
    if (source.owner_) AdoptBytes(source.owner_, std::string_view(source.base_, source.bytes_));
    ReserveForAppend(n);
    for (std::size_t i = 0; i < n; ++i)
        AppendBlockLine(source.Text(i));
}

std::size_t TLineStore::MemoryUsage() const {
    std::size_t bytes = capacity_ * sizeof(TRecord) + bytes_;
    if (objects_) bytes += capacity_ * objectBytes_;
    bytes += owned_.capacity() * sizeof(std::string) + freeOwned_.capacity() * 4;
    for (const auto& s : owned_)
        bytes += s.capacity() > 15 ? s.capacity() : 0;
    return bytes;
}

} // namespace ondrex
