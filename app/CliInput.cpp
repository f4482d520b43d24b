#include "app/CliInput.h"

#include "platform/LineBreaks.h"
#include "platform/Utf16.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>
#include <vector>

namespace ondrex::cli {

namespace {

constexpr std::size_t kHeldPipe = std::size_t(8) << 20; // a pipe this short needs no spool

// Where a run may end in b[0, n): after the last LF, or after the last CR that is followed by
// a byte (not an LF, or that LF would have been found first); 0 when there is no such place.
std::size_t afterLastBreak(const char* b, std::size_t n) {
    for (std::size_t k = n; k > 0; --k) {
        if (b[k - 1] == '\n') return k;
        if (b[k - 1] == '\r' && k < n) return k;
    }
    return 0;
}

TWholeLines::TSource readerOf(TFileReader& file) {
    return [&file](char* into, std::size_t n) { return file.Read(into, n); };
}

// Bytes at the end of b[0, n) that start a UTF-8 character the next bytes may complete.
std::size_t cutCharacter(const char* b, std::size_t n) {
    for (std::size_t back = 1; back <= std::min<std::size_t>(3, n); ++back) {
        const unsigned char c = static_cast<unsigned char>(b[n - back]);
        if ((c & 0xC0) == 0x80) continue;
        const std::size_t length = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
        return length > back ? back : 0;
    }
    return 0;
}

// Whether the file is UTF-8, read in pieces whatever its lines (a character cut by a piece's
// end goes on to the next), so a long line is not held for it.
bool IsUtf8File(TFileReader& file, std::size_t pieceSize) {
    std::vector<char> piece(pieceSize + 4);
    std::size_t carried = 0;
    for (;;) {
        const std::size_t got = file.Read(piece.data() + carried, pieceSize);
        const std::size_t n = carried + got;
        const std::size_t cut = got == 0 ? 0 : cutCharacter(piece.data(), n);
        if (!IsValidUtf8(std::string_view(piece.data(), n - cut))) return false;
        if (got == 0) return true;
        std::memmove(piece.data(), piece.data() + n - cut, cut);
        carried = cut;
    }
}

// Whether the mapped bytes are UTF-8, checked a piece at a time and each piece let go once
// checked. A piece ends where a character starts (past the one it starts with, when that is
// longer than a piece), so no character is cut.
bool isUtf8Map(const TMappedFile& mapped, std::size_t pieceSize) {
    const std::string_view bytes = mapped.Bytes();
    const auto continues = [&](std::size_t k) {
        return k < bytes.size() && (static_cast<unsigned char>(bytes[k]) & 0xC0) == 0x80;
    };
    for (std::size_t at = 0; at < bytes.size();) {
        std::size_t end = std::min(bytes.size(), at + pieceSize);
        std::size_t back = end;
        while (back > at && continues(back))
            --back;
        if (back > at)
            end = back;
        else
            while (continues(end))
                ++end;
        if (!IsValidUtf8(bytes.substr(at, end - at))) return false;
        mapped.Drop(at, end);
        at = end;
    }
    return true;
}

} // namespace

TWholeLines::TWholeLines(TSource source, std::size_t runSize)
    : source_(std::move(source)), runSize_(runSize) {}

std::span<char> TWholeLines::Next() {
    // Drop what was handed out; keep the rest at the front.
    if (begin_ > 0) {
        std::memmove(buffer_.get(), buffer_.get() + begin_, end_ - begin_);
        end_ -= begin_;
        begin_ = 0;
    }
    std::size_t searched = 0; // bytes known to hold no place to cut
    for (;;) {
        if (!done_ && end_ < runSize_) {
            fill();
            continue;
        }
        if (done_) {
            begin_ = end_;
            return {buffer_.get(), end_};
        }
        if (const std::size_t cut = afterLastBreak(buffer_.get() + searched, end_ - searched)) {
            begin_ = searched + cut;
            return {buffer_.get(), begin_};
        }
        searched = end_ - 1; // a CR at the end still needs its next byte
        fill();
    }
}

void TWholeLines::fill() {
    if (end_ + 1 >= capacity_) {
        // realloc leaves the new room untouched (for a large block the pages are only
        // remapped), so a long line costs about its own size.
        const std::size_t capacity = std::max(capacity_ * 2, runSize_ + 1);
        char* grown = static_cast<char*>(std::realloc(buffer_.get(), capacity));
        if (!grown) throw std::bad_alloc();
        buffer_.release();
        buffer_.reset(grown);
        capacity_ = capacity;
    }
    const std::size_t got = source_(buffer_.get() + end_, capacity_ - 1 - end_);
    done_ = got == 0;
    end_ += got;
}

TStreamedInput::TStreamedInput(const std::string& path, std::size_t runSize,
                               const std::function<void()>& opened)
    : file_(std::make_unique<TFileReader>(path)) {
    if (opened) opened();
    if (file_->SizeHint() > 0) {
        // A regular file: read once ahead for the code page, then again for the lines.
        TFileReader ahead(path);
        if (!IsUtf8File(ahead, runSize)) codePage_ = TCodePage::Windows1252;
        lines_ = std::make_unique<TWholeLines>(readerOf(*file_), runSize);
        return;
    }
    // A pipe (or a device, or an empty file): what it gives first is held in memory, and
    // whole when the pipe ends within it.
    held_.resize(kHeldPipe);
    std::size_t have = 0;
    while (have < held_.size())
        if (const std::size_t got = file_->Read(held_.data() + have, held_.size() - have))
            have += got;
        else
            break;
    held_.resize(have);
    const bool whole = have < kHeldPipe;
    // The held bytes first, then the rest of the pipe (nothing more for a whole one).
    auto heldThenPipe = [this](char* into, std::size_t n) {
        if (heldAt_ == held_.size()) return file_->Read(into, n);
        const std::size_t count = std::min(n, held_.size() - heldAt_);
        std::memcpy(into, held_.data() + heldAt_, count);
        heldAt_ += count;
        return count;
    };
    if (whole) {
        codePage_ = DetectCodePage(held_);
        lines_ = std::make_unique<TWholeLines>(heldThenPipe, runSize);
        return;
    }
    // A long pipe: set aside in whole lines, checked as they pass, then read back.
    spool_ = std::make_unique<TSpool>();
    bool valid = true;
    TWholeLines incoming(heldThenPipe, runSize);
    for (std::span<char> run; !(run = incoming.Next()).empty();) {
        const std::string_view bytes(run.data(), run.size());
        valid = valid && IsValidUtf8(bytes);
        spool_->Append(bytes);
        if (heldAt_ == held_.size() && heldAt_ > 0) {
            std::string().swap(held_); // all passed on: give the memory back
            heldAt_ = 0;
        }
    }
    codePage_ = valid ? TCodePage::Utf8 : TCodePage::Windows1252;
    lines_ = std::make_unique<TWholeLines>(
        [this](char* into, std::size_t n) { return spool_->Read(into, n); }, runSize);
}

TMappedInput::TMappedInput(const std::string& path, std::size_t runSize)
    : path_(path), runSize_(runSize), mapped_(std::make_unique<TMappedFile>(path)) {
    if (!mapped_->Mapped() || Utf16Mark(mapped_->Bytes())) {
        mapped_.reset(); // the reader converts UTF-16
        return;
    }
    if (!isUtf8Map(*mapped_, runSize)) codePage_ = TCodePage::Windows1252;
    mapped_->ThrowIfShortened(path_);
}

std::string_view TMappedInput::Next() {
    if (!mapped_) return {};
    mapped_->ThrowIfShortened(path_);
    const std::string_view bytes = mapped_->Bytes();
    const std::size_t n = bytes.size();
    const char* b = bytes.data();
    const std::size_t start = at_;
    if (start >= n) return {};
    // As TWholeLines cuts.
    const std::size_t end = WholeLinesEnd(b, n, start, start + runSize_);
    mapped_->Drop(dropped_, start); // the run before is done with
    dropped_ = start;
    at_ = end;
    return bytes.substr(start, end - start);
}

} // namespace ondrex::cli
