// TCanvas::DrawText: line breaking, alignment, tabs, ellipsis and "&" accelerators, built on
// TextExtent and ExtTextOut so every canvas lays text out the same way.

#include "platform/Canvas.h"
#include "platform/CodePage.h"

#include <algorithm>
#include <string>

namespace ondrex {

namespace {

constexpr std::string_view kEllipsis = "...";

struct TLine {
    std::string Text;
    int Underline = -1; // byte index of the accelerator character, -1 when none
};

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

// "&&" becomes "&"; "&x" shows x underlined (the first one only); a lone trailing "&" goes.
std::string StripPrefixes(std::string_view text, int& underline) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '&') {
            out += text[i];
            continue;
        }
        if (++i == text.size()) break;
        if (text[i] != '&' && underline < 0) underline = int(out.size());
        out += text[i];
    }
    return out;
}

class TLayout {
public:
    TLayout(TCanvas& canvas, unsigned flags) : canvas_(canvas), flags_(flags) {
        tabWidth_ = std::max(1, 8 * canvas.GetTextMetrics().AveCharWidth);
    }

    int Width(std::string_view s) const {
        if (!(flags_ & DT_EXPANDTABS)) return canvas_.TextWidth(s);
        int x = 0;
        for (;;) {
            const std::size_t tab = s.find('\t');
            x += canvas_.TextWidth(s.substr(0, tab));
            if (tab == std::string_view::npos) return x;
            x = (x / tabWidth_ + 1) * tabWidth_;
            s.remove_prefix(tab + 1);
        }
    }

    // Draws one line's text at (x, y), a piece between tabs at a time.
    void Output(int x, int y, std::string_view s, unsigned options, const TRect& rect) const {
        if (!(flags_ & DT_EXPANDTABS)) {
            canvas_.ExtTextOut(x, y, options, &rect, s, {});
            return;
        }
        int offset = 0;
        for (;;) {
            const std::size_t tab = s.find('\t');
            const std::string_view piece = s.substr(0, tab);
            if (!piece.empty()) canvas_.ExtTextOut(x + offset, y, options, &rect, piece, {});
            offset += canvas_.TextWidth(piece);
            if (tab == std::string_view::npos) return;
            offset = (offset / tabWidth_ + 1) * tabWidth_;
            s.remove_prefix(tab + 1);
        }
    }

    // Breaks [begin, end) of `text` into lines no wider than `width` where blanks allow.
    void Wrap(const std::string& text, std::size_t begin, std::size_t end, int width,
              std::vector<std::pair<std::size_t, std::size_t>>& lines) const {
        std::size_t pos = begin;
        do {
            const std::size_t lineStart = pos;
            std::size_t lineEnd = pos;
            for (std::size_t i = pos;;) {
                std::size_t j = i;
                while (j < end && IsBlank(text[j]))
                    ++j;
                while (j < end && !IsBlank(text[j]))
                    ++j;
                if (j == i) break;
                const std::string_view candidate(text.data() + lineStart, j - lineStart);
                if (lineEnd != lineStart && Width(candidate) > width) break;
                lineEnd = i = j;
            }
            std::size_t trimmed = lineEnd;
            while (trimmed > lineStart && IsBlank(text[trimmed - 1]))
                --trimmed;
            lines.emplace_back(lineStart, trimmed);
            pos = lineEnd;
            while (pos < end && IsBlank(text[pos]))
                ++pos;
        } while (pos < end);
    }

    // Cuts a line that is too wide and ends it with "...".
    void Ellipsize(TLine& line, int width) const {
        if (Width(line.Text) <= width) return;
        const int room = width - Width(kEllipsis);
        const TCodePage cp = ActiveCodePage();
        // The longest prefix that fits, found by halving: long cells stay cheap.
        const std::string_view s = line.Text;
        std::size_t fits = 0, tooLong = s.size();
        while (tooLong - fits > 1) {
            const std::size_t half = (fits + tooLong) / 2;
            std::size_t mid = PrevCharBoundary(cp, s, half);
            if (mid <= fits) mid = NextCharBoundary(cp, s, half);
            if (mid >= tooLong) break;
            (Width(s.substr(0, mid)) <= room ? fits : tooLong) = mid;
        }
        const std::size_t cut = fits;
        line.Text.resize(cut);
        line.Text += kEllipsis;
        if (line.Underline >= int(cut)) line.Underline = -1;
    }

private:
    TCanvas& canvas_;
    unsigned flags_;
    int tabWidth_;
};

} // namespace

int TCanvas::DrawText(std::string_view source, TRect& rect, unsigned flags) {
    TLayout layout(*this, flags);
    int underline = -1;
    const std::string text =
        (flags & DT_NOPREFIX) ? std::string(source) : StripPrefixes(source, underline);

    // Paragraphs, then lines, as byte ranges of `text`.
    std::vector<std::pair<std::size_t, std::size_t>> ranges;
    std::size_t begin = 0;
    for (;;) {
        std::size_t end =
            (flags & DT_SINGLELINE) ? std::string::npos : text.find_first_of("\r\n", begin);
        const std::size_t stop = end == std::string::npos ? text.size() : end;
        if (flags & DT_WORDBREAK)
            layout.Wrap(text, begin, stop, rect.Width(), ranges);
        else
            ranges.emplace_back(begin, stop);
        if (end == std::string::npos) break;
        begin =
            end + ((text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ? 2 : 1);
    }

    std::vector<TLine> lines;
    for (auto [b, e] : ranges) {
        TLine line{text.substr(b, e - b)};
        if (underline >= int(b) && underline < int(e)) line.Underline = underline - int(b);
        if (flags & DT_END_ELLIPSIS) layout.Ellipsize(line, rect.Width());
        lines.push_back(std::move(line));
    }

    const TTextMetric tm = GetTextMetrics();
    const int lineHeight = tm.Height + ((flags & DT_EXTERNALLEADING) ? tm.ExternalLeading : 0);
    const int total = lineHeight * int(lines.size());

    if (flags & DT_CALCRECT) {
        int widest = 0;
        for (const TLine& line : lines)
            widest = std::max(widest, layout.Width(line.Text));
        rect.Right = rect.Left + widest;
        rect.Bottom = rect.Top + total;
        return total;
    }

    int y = rect.Top;
    if (flags & DT_SINGLELINE) {
        if (flags & DT_VCENTER)
            y = rect.Top + (rect.Height() - lineHeight) / 2;
        else if (flags & DT_BOTTOM)
            y = rect.Bottom - lineHeight;
    }
    const unsigned options = (flags & DT_NOCLIP) ? 0u : unsigned(ETO_CLIPPED);
    const TCodePage cp = ActiveCodePage();
    for (const TLine& line : lines) {
        const int width = layout.Width(line.Text);
        int x = rect.Left;
        if (flags & DT_RIGHT)
            x = rect.Right - width;
        else if (flags & DT_CENTER)
            x = rect.Left + (rect.Width() - width) / 2;
        layout.Output(x, y, line.Text, options, rect);
        if (line.Underline >= 0) {
            const std::string_view s = line.Text;
            const std::size_t u = std::size_t(line.Underline);
            const int ux = x + layout.Width(s.substr(0, u));
            const int uw = layout.Width(s.substr(u, CharLength(cp, s, u)));
            Save();
            if (!(flags & DT_NOCLIP)) IntersectClipRect(rect);
            Brush = {Font.Color(), TBrushStyle::bsSolid, nullptr};
            FillRect({ux, y + tm.Ascent + 1, ux + uw, y + tm.Ascent + 2});
            Restore();
        }
        y += lineHeight;
    }
    return total;
}

} // namespace ondrex
