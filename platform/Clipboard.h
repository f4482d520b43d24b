#pragma once
// TClipboard: the system clipboard with plain text and named private formats (a control's
// own data, such as the editor's block type, travels beside the text). Writes between Open
// and the matching Close are published together by that Close, so the formats of one copy
// always arrive together; the first write of an Open empties the clipboard. A write outside
// Open opens and closes by itself. Text is in the active code page.
//
// The clipboard itself is a TClipboardSystem behind TClipboard: the Qt one by default, an
// in-memory one that can refuse in tests (platform/testing/TestClipboard.h).
//
// Failures are exceptions of EClipboardError: a Close whose data the system did not take,
// a read the system refused, and Close without Open.

#include <cstddef>
#include <map>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

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
// The name a private format was registered under; empty for CF_TEXT and unknown numbers.
std::string ClipboardFormatName(TClipFormat format);

// The bytes of one format: a slice of a shared buffer, so that formats made of the same
// bytes hold them once (the editor's block is its plain text with a byte before and a NUL
// after; a 50 MB copy must not become two).
struct TClipData {
    std::shared_ptr<const std::string> Buffer;
    std::size_t Offset = 0;
    std::size_t Length = 0;

    explicit TClipData(std::string bytes);
    TClipData(std::shared_ptr<const std::string> buffer, std::size_t offset, std::size_t length);
    std::string_view View() const { return std::string_view(*Buffer).substr(Offset, Length); }
};

using TClipFormats = std::map<TClipFormat, TClipData>;

// Where the data goes: the toolkit's clipboard, or a test's.
class TClipboardSystem {
public:
    virtual ~TClipboardSystem() = default;
    // Replaces the clipboard's content by these formats (none empties it); false when the
    // system did not take them all.
    virtual bool Publish(TClipFormats formats) = 0;
    virtual bool HasFormat(TClipFormat format) const = 0;
    // The data of a format (CF_TEXT in the active code page); none when the clipboard does
    // not hold it. Throws EClipboardError when the system refuses the read.
    virtual std::optional<std::string> Read(TClipFormat format) const = 0;
};

class TClipboard {
public:
    explicit TClipboard(std::unique_ptr<TClipboardSystem> system);
    ~TClipboard();
    TClipboard(const TClipboard&) = delete;
    TClipboard& operator=(const TClipboard&) = delete;

    // Puts `system` behind this clipboard and returns the one it replaces; null gives the
    // toolkit's clipboard back.
    std::unique_ptr<TClipboardSystem> SetSystem(std::unique_ptr<TClipboardSystem> system);

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
    void SetAsText(TClipData text);
    void SetBuffer(TClipFormat format, const std::string& data);
    void SetBuffer(TClipFormat format, TClipData data);
    // The data of a format; none when the clipboard does not hold it.
    std::optional<std::string> GetBuffer(TClipFormat format) const;

private:
    void Write(TClipFormat format, TClipData data);

    int openCount_ = 0;
    bool emptied_ = false;
    TClipFormats pending_;
    std::unique_ptr<TClipboardSystem> system_;
};

// The toolkit's clipboard.
std::unique_ptr<TClipboardSystem> MakeSystemClipboard();

// The process's clipboard object.
TClipboard& Clipboard();

} // namespace ondrex
