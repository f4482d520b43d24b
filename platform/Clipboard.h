#pragma once
// TClipboard: the system clipboard with plain text and named private formats (a control's
// own data, such as the editor's block type, travels beside the text). Writes between Open
// and the matching Close are published together by that Close, so the formats of one copy
// always arrive together; the first write of an Open empties the clipboard. A write outside
// Open opens and closes by itself. Text is in the active code page.
//
// Failures are exceptions of EClipboardError: a Close whose data the system did not take,
// and Close without Open.

#include <memory>
#include <optional>
#include <stdexcept>
#include <string>

namespace ondrex {

class EClipboardError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

using TClipFormat = unsigned;
constexpr TClipFormat CF_TEXT = 1;

// The number of a named private format; the same name always gets the same number
// (0xC000 and above). Names are case-sensitive.
TClipFormat RegisterClipboardFormat(const std::string& name);

class TClipboard {
public:
    TClipboard();
    ~TClipboard();
    TClipboard(const TClipboard&) = delete;
    TClipboard& operator=(const TClipboard&) = delete;

    // Opens are counted; the outermost Close publishes.
    void Open();
    void Close();
    bool IsOpen() const { return openCount_ > 0; }
    // Empties the clipboard (at the outermost Close when open).
    void Clear();

    bool HasFormat(TClipFormat format) const;
    // Empty when the clipboard holds no text.
    std::string AsText() const;
    void SetAsText(const std::string& text);
    void SetBuffer(TClipFormat format, const std::string& data);
    // The data of a format; none when the clipboard does not hold it.
    std::optional<std::string> GetBuffer(TClipFormat format) const;

private:
    struct TImpl;
    void BeginWrite();

    int openCount_ = 0;
    bool emptied_ = false;
    std::unique_ptr<TImpl> impl_;
};

// The process's clipboard object.
TClipboard& Clipboard();

} // namespace ondrex
