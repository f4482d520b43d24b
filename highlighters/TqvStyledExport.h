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

namespace ondrex {

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

protected:
    virtual void BeginStyle(const TqvTokenLook& look) = 0;
    virtual void EndStyle() = 0;
    // UTF-8 text to escape and append.
    virtual void AppendText(std::string_view utf8) = 0;
    virtual void EndLine() = 0;

private:
    void AppendBytes(std::string_view bytes);
    void SwitchTo(const TqvTokenLook* look);

    TCodePage codePage_;
    TqvTokenLook current_;
    bool styled_ = false;
    std::string decoded_;
};

} // namespace ondrex
