#pragma once
// The input of a streaming command (cat, tokens, scan) in runs of whole lines, with the code
// page of the whole input known before the first run: memory stays at a few MiB plus the
// longest line, whatever the input's size.
//
// The code page (UTF-8 when every byte of the input is valid UTF-8, else Windows-1252) needs
// the whole input: a regular file is read once ahead to find it; a pipe is set aside in a
// temporary file as it is read, unless it ends within the first few MiB.

#include "app/CliSpool.h"
#include "platform/CodePage.h"
#include "platform/MappedFile.h"
#include "platform/TextFile.h"

#include <cstddef>
#include <cstdlib>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>

namespace ondrex::cli {

// Cuts what a source gives into runs of whole lines of about `runSize` bytes (longer when a
// line is): a run ends after LF, or after a CR that is not the first half of a CR LF. The
// byte after a run is writable (ExportLines ends lines with NULs in place).
class TWholeLines {
public:
    using TSource = std::function<std::size_t(char* into, std::size_t n)>; // 0 at the end
    TWholeLines(TSource source, std::size_t runSize);
    // The next run; empty once the source is done. Valid until the next call.
    std::span<char> Next();

private:
    void fill(); // reads once more, growing the buffer when it is full

    struct TFree {
        void operator()(char* p) const { std::free(p); }
    };
    TSource source_;
    std::size_t runSize_;
    std::unique_ptr<char, TFree> buffer_;
    std::size_t capacity_ = 0;
    std::size_t begin_ = 0, end_ = 0; // the bytes read and not yet handed out
    bool done_ = false;
};

class TStreamedInput {
public:
    // Runs of about `runSize` bytes (a command whose output per byte is large takes small
    // ones). Throws EFileError. `opened` is called once the input is open, before it is read
    // for its code page: output that does not depend on the text can go out at once.
    explicit TStreamedInput(const std::string& path, std::size_t runSize = kDefaultRunSize,
                            const std::function<void()>& opened = {});
    static constexpr std::size_t kDefaultRunSize = std::size_t(4) << 20;
    TCodePage CodePage() const { return codePage_; }
    // The next run of whole lines, as TWholeLines::Next.
    std::span<char> Next() { return lines_->Next(); }

private:
    TCodePage codePage_ = TCodePage::Utf8;
    std::unique_ptr<TFileReader> file_;
    std::unique_ptr<TSpool> spool_;
    std::string held_;       // the first bytes of a pipe
    std::size_t heldAt_ = 0; // how many of them were passed on
    std::unique_ptr<TWholeLines> lines_;
};

// The same runs for a command that only reads them, from a regular file mapped into memory:
// nothing is copied, and the pages of a run are let go once the next run is asked for, so
// memory stays small too. Anything else maps nothing (a pipe, an empty or UTF-16 file, a map
// that fails): the caller takes TStreamedInput, which also reports any error.
class TMappedInput {
public:
    TMappedInput(const std::string& path, std::size_t runSize);
    bool Mapped() const { return mapped_ && mapped_->Mapped(); }
    TCodePage CodePage() const { return codePage_; }
    // The next run of whole lines; empty at the end (at once when nothing is mapped). Throws EFileError once the file was
    // found shortened while it was read (what was lost read as zeros).
    std::string_view Next();

private:
    std::string path_;
    std::size_t runSize_;
    std::unique_ptr<TMappedFile> mapped_;
    TCodePage codePage_ = TCodePage::Utf8;
    std::size_t at_ = 0;      // where the next run starts
    std::size_t dropped_ = 0; // the pages before this one were let go
};

} // namespace ondrex::cli
