#pragma once
// Common ground of the export sinks that write styled text: decoding the line's bytes to
// UTF-8, switching style only where the attribute changes, and keeping a character whole
// when two tokens split it (its continuation bytes stay in the first token's style).
// A token with text but no attribute is written unstyled.

#include "highlighters/TqvHighLightAttributes.h"
#include "highlighters/qvExport.h"
#include "platform/CodePage.h"

#include <string>
#include <string_view>
#include <vector>

namespace ondrex {

class TqvCustomHighLighter;

// How an attribute is shown. Colours left at the window defaults fall back to a small
// theme chosen by the attribute's name, so a highlighter with default colours still reads
// in colour; explicit colours win. clNone = the medium's default.
struct TqvTokenLook {
    TColor foreground = clNone;
    TColor background = clNone;
    TFontStyles style = 0;
    bool operator==(const TqvTokenLook&) const = default;
};
TqvTokenLook LookOf(const TqvHighLightAttributes& attribute);

class TqvStyledExport : public TqvExport {
public:
    explicit TqvStyledExport(TCodePage codePage) : codePage_(codePage) {}

    void WriteToken(std::string_view text, const TqvHighLightAttributes* attribute, bool whitespace,
                    bool second) override;

    // Exports one line through the highlighter's export (this sink set as its export sink)
    // losing no byte: tokens the language keeps from export are written with their own
    // attribute, and the bytes after a NUL (where highlighting stops) unstyled. Whoever shows
    // a file exported calls this per line, so all of them write the same text.
    void ExportLine(TqvCustomHighLighter& highlighter, const std::string& line);

protected:
    // `id` numbers the distinct looks of this sink from 0, in the order they were first met,
    // so a sink can keep what it renders for a look.
    virtual void BeginStyle(const TqvTokenLook& look, std::size_t id) = 0;
    virtual void EndStyle() = 0;
    // UTF-8 text to escape and append.
    virtual void AppendText(std::string_view utf8) = 0;
    virtual void EndLine() = 0;

private:
    static constexpr std::size_t kPlain = std::size_t(-1); // the medium's default look

    void WriteText(std::string_view text, const TqvHighLightAttributes* attribute);
    void FinishLine();
    void AppendBytes(std::string_view bytes);
    void SwitchTo(std::size_t id);
    std::size_t LookIdOf(const TqvHighLightAttributes& attribute);

    // The look last worked out for an attribute, with the settings it came from: a token
    // costs a few compares instead of the theme lookup by name.
    struct TKnownAttribute {
        const TqvHighLightAttributes* attribute;
        TColor foreground, background;
        TFontStyles style;
        std::size_t id;
    };

    TCodePage codePage_;
    std::vector<TKnownAttribute> known_;
    std::vector<TqvTokenLook> looks_;
    std::size_t current_ = kPlain;
    bool exporting_ = false; // inside ExportLine: the line's end is written there
    bool passed_ = false;    // the highlighter handed the current token on
    std::string decoded_;
};

} // namespace ondrex
