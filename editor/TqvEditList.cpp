#include "editor/TqvEditList.h"

#include "platform/LineBreaks.h"
#include "platform/TextFile.h"

#include <algorithm>
#include <istream>
#include <iterator>
#include <memory>

namespace ondrex {

EStringListError::EStringListError(int index)
    : std::out_of_range("List index out of bounds (" + std::to_string(index) + ")") {}

void TqvEditList::check(int index, int count) const {
    if (index < 0 || index >= count) throw EStringListError(index);
}

std::string_view TqvEditList::Get(int index) const {
    check(index, Count());
    return store_.Text(std::size_t(index));
}

void* TqvEditList::GetObject(int index) const {
    check(index, Count());
    return store_.Object(std::size_t(index));
}

void TqvEditList::PutObject(int index, void* object) {
    check(index, Count());
    store_.SetObject(std::size_t(index), object);
}

std::string TqvEditList::GetText() const {
    std::size_t n = store_.Size();
    std::size_t total = n ? 2 * (n - 1) : 0;
    for (std::size_t i = 0; i < n; ++i)
        total += store_.Text(i).size();
    std::string text;
    text.reserve(total);
    for (std::size_t i = 0; i < n; ++i) {
        if (i) text += "\r\n";
        text += store_.Text(i);
    }
    return text;
}

void TqvEditList::BeginUpdate() {
    if (updateCount_++ == 0) OnChanging(this);
}

void TqvEditList::EndUpdate() {
    if (updateCount_ <= 0) return;
    if (--updateCount_ == 0) OnChange(this);
}

int TqvEditList::Add(std::string_view text) {
    TqvLinesUpdate update(*this);
    store_.Append(text);
    int index = Count() - 1;
    if (!addedMuted_) OnAdded(this);
    return index;
}

void TqvEditList::AddStrings(const TqvEditList& source) {
    TqvLinesUpdate update(*this);
    store_.AppendFrom(source.store_);
    OnBulkAdded(this);
}

void TqvEditList::Insert(int index, std::string_view text) {
    check(index, Count() + 1);
    TqvLinesUpdate update(*this);
    store_.Insert(std::size_t(index), text);
    OnInserted(this, index);
}

void TqvEditList::Put(int index, std::string_view text) {
    check(index, Count());
    TqvLinesUpdate update(*this);
    store_.Replace(std::size_t(index), text);
    OnLineChanged(this, index);
}

void TqvEditList::Delete(int index) {
    check(index, Count());
    TqvLinesUpdate update(*this);
    if (index == 0 && Count() == 1)
        store_.Replace(0, std::string_view());
    else
        store_.Erase(std::size_t(index));
    OnDeleted(this, index);
}

void TqvEditList::Clear() {
    passOwner_.reset();
    OnCleared(this);
    if (Count() != 0) {
        TqvLinesUpdate update(*this);
        store_.Clear();
    }
    if (loadingCount_ == 0 && Count() == 0) Add(std::string_view());
}

void TqvEditList::setTextShared(TLineStore::TBlock block) {
    if (!block) block = std::make_shared<const std::string>();
    TqvLinesUpdate update(*this);
    Clear();
    if (addedMuted_ || !OnAdded) {
        // No line is announced on its own: all at once, as views into the block when the list
        // holds nothing else (outside a bulk load Clear left one empty line of its own).
        store_.AdoptBlock(block);
        store_.AppendBlockLines(block);
    } else {
        // Every line "through Add": the receiver sees each appended line.
        std::string_view text(*block);
        store_.AdoptBlock(block);
        store_.ReserveForAppend(CountLines(text));
        ForEachLine(text, [this](std::string_view line) {
            TqvLinesUpdate each(*this);
            store_.AppendBlockLine(line);
            OnAdded(this);
        });
    }
    OnTextReplaced(this);
}

void TqvEditList::SetText(std::string_view block) {
    setTextShared(std::make_shared<const std::string>(block));
}

void TqvEditList::SetText(std::string&& block) {
    setTextShared(std::make_shared<const std::string>(std::move(block)));
}

void TqvEditList::EndLoading() {
    if (loadingCount_ <= 0) return;
    if (--loadingCount_ == 0 && Count() == 0) Add(std::string_view());
}

void TqvEditList::LoadFromBlock(std::string&& block) {
    LoadFromBlock(std::make_shared<const std::string>(std::move(block)));
}

void TqvEditList::LoadFromBlock(TLineStore::TBlock shared) {
    TqvLinesUpdate update(*this);
    TqvLinesLoading loading(*this);
    if (!OnBulkAdded) {
        setTextShared(std::move(shared));
        return;
    }
    {
        // A bulk listener hears once, and no line on its way in is announced on its own.
        TScopedValue<bool> quiet(addedMuted_, true);
        setTextShared(std::move(shared));
    }
    OnBulkAdded(this);
}

namespace {

// Where the last line of block[from, end) starts: after the break before its own.
std::size_t lastLineStart(const char* b, std::size_t from, std::size_t end) {
    std::size_t k = end;
    if (k > from && b[k - 1] == '\n') --k;
    if (k > from && b[k - 1] == '\r') --k;
    while (k > from && b[k - 1] != '\n' && b[k - 1] != '\r')
        --k;
    return k;
}

} // namespace

void TqvEditList::BeginLoadInPasses(TLineStore::TOwner owner, const char* base,
                                    std::size_t capacity) {
    if (!owner) {
        auto empty = std::make_shared<const char>(0);
        base = empty.get();
        capacity = 0;
        owner = std::move(empty);
    }
    TqvLinesUpdate update(*this);
    {
        TqvLinesLoading loading(*this);
        Clear();
        store_.AdoptBytes(owner, std::string_view(base, 0));
        store_.AppendBlockLine(std::string_view(base, 0)); // the line the first pass grows
    }
    passOwner_ = std::move(owner);
    passBase_ = base;
    passCapacity_ = capacity;
    tailLine_ = tailStart_ = searchFrom_ = passBytes_ = 0;
    OnTextReplaced(this);
}

void TqvEditList::GrowLoadedBlock(TLineStore::TOwner owner, const char* base,
                                  std::size_t capacity) {
    store_.ReplaceBytes(owner, std::string_view(base, passBytes_));
    passOwner_ = std::move(owner);
    passBase_ = base;
    passCapacity_ = capacity;
}

void TqvEditList::LoadPass(std::size_t bytes) {
    if (!passOwner_) return;
    const char* b = passBase_;
    const std::size_t end = std::min(bytes, passCapacity_);
    store_.ReplaceBytes(passOwner_, std::string_view(b, end));
    passBytes_ = end;
    TqvLinesUpdate update(*this);
    const std::size_t first = tailLine_;
    store_.TruncateTo(first);
    // The last line so far ends at the first break after it; only its last two bytes can
    // hold one that the previous pass did not see (a CR, or a CR LF, at the end).
    const char* e = FindLineBreak(b + std::max(tailStart_, searchFrom_), b + end);
    store_.AppendBlockLine(std::string_view(b + tailStart_, std::size_t(e - b) - tailStart_));
    std::size_t next = std::size_t(e - b);
    if (next < end) next += (b[next] == '\r' && next + 1 < end && b[next + 1] == '\n') ? 2 : 1;
    const std::string_view rest(b + next, end - next);
    if (first == 0 && end > 0 && end < passCapacity_) {
        // Room for the whole file's lines at this piece's density, so that the records are
        // not copied again and again as they grow; no more than records of twice the file's
        // size up front (a head of empty lines says little about the rest).
        const double perByte = double(CountLines(rest) + 1) / double(end);
        const double capacity = double(passCapacity_);
        store_.ReserveForAppend(std::size_t(std::min(perByte * 1.1, 0.125) * capacity));
    }
    if (store_.AppendBlockViews(rest) > 0) tailStart_ = lastLineStart(b, next, end);
    tailLine_ = store_.Size() - 1;
    searchFrom_ = end >= 2 ? end - 2 : 0;
    OnLoadPass(this, int(first));
}

void TqvEditList::LoadFromStream(std::istream& stream) {
    std::string block{std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>()};
    if (stream.bad()) throw std::runtime_error("stream read error");
    LoadFromBlock(std::move(block));
}

void TqvEditList::LoadFromFile(const std::string& path) {
    LoadFromBlock(ReadFileBytes(path));
}

void TqvEditList::Assign(const TqvEditList& source) {
    if (&source == this) return;
    TqvLinesUpdate update(*this);
    TqvLinesLoading loading(*this);
    Clear();
    AddStrings(source);
}

} // namespace ondrex
