#include "controls/HtmlMarkup.h"

#include "controls/HtmlMarkupColors.h"
#include "controls/HtmlMarkupImage.h"
#include "controls/HtmlMarkupTags.h"
#include "platform/Canvas.h"
#include "platform/ScopedGuard.h"

#include <algorithm>

namespace ondrex {

namespace {

// Text is drawn as written: "&" is no accelerator prefix. Words of different sizes on one
// line share its bottom edge.
constexpr unsigned kDrawFlags =
    DT_BOTTOM | DT_SINGLELINE | DT_EXPANDTABS | DT_EXTERNALLEADING | DT_NOPREFIX;
constexpr unsigned kMeasureFlags = DT_CALCRECT | DT_SINGLELINE | DT_EXPANDTABS | DT_NOPREFIX;
// Sizes and indents beyond these make no sense on screen and would overflow pixel sums.
constexpr int kMaxFontPoints = 500;
constexpr int kMaxIndent = 1 << 20;

enum class TAlign { Left, Right, Center };

// Layout fixes which source makes a line (and collects the plain text); Draw and HitTest go
// over that line again, drawing it or looking for the link under the test point.
enum class TPass { Layout, Draw, HitTest };

// The running font and the one the last FONT tag saved, carried from line to line.
struct TFonts {
    TFont Running;
    TFont Saved;
};

struct TLine {
    TRect Rect; // the line's rectangle
    TRect Cur;  // Left: where the next word or picture goes
    int Width = 0;
    int Height = 0;
    int TrailingBlank = 0;
    bool Ended = false;
    bool Stopped = false; // a picture did not fit: the rest of the item is dropped
    bool Found = false;
    std::string Target;
};

std::string_view NextWord(std::string_view source) {
    const std::size_t tag = source.find('<');
    const std::size_t blank = source.find(' ');
    if (tag == std::string_view::npos || blank < tag)
        return blank == std::string_view::npos ? source : source.substr(0, blank + 1);
    return source.substr(0, tag);
}

class TMarkupRenderer {
public:
    TMarkupRenderer(TCanvas& canvas, const TRect& rect, const TMarkupRequest& request,
                    TMarkupResult& result)
        : canvas_(canvas), rect_(rect), request_(request), result_(result),
          startBrush_(canvas.Brush.Color), savedBrush_(startBrush_) {}

    bool Run(std::string_view text);

private:
    std::string_view RenderLine(std::string_view& source, TLine& line, TPass pass);
    bool PlaceWord(std::string_view word, TLine& line, TPass pass);
    void DrawWord(std::string_view word, const TLine& line);
    int WordWidth(std::string_view word);
    void HandleTag(std::string_view tag, TLine& line, TPass pass);
    void OpenFont(std::string_view tag, TPass pass);
    void PlaceImage(std::string_view tag, TLine& line, TPass pass);
    void DrawRule(const TLine& line);
    void PaintBody(TColor color);
    void Load(const TFonts& fonts) {
        canvas_.Font = fonts.Running;
        saved_ = fonts.Saved;
    }
    void Store(TFonts& fonts) const {
        fonts.Running = canvas_.Font;
        fonts.Saved = saved_;
    }

    TCanvas& canvas_;
    const TRect rect_;
    const TMarkupRequest& request_;
    TMarkupResult& result_;
    TFont saved_;
    const TColor startBrush_;
    TColor savedBrush_;
    bool inLink_ = false;
    std::string target_;
    TAlign align_ = TAlign::Left;
};

bool TMarkupRenderer::Run(std::string_view text) {
    canvas_.BkMode = TBkMode::bkTransparent;
    TFonts layoutFonts{canvas_.Font, canvas_.Font};
    TFonts drawFonts = layoutFonts;
    const bool draws = !request_.MeasureOnly;
    const TPass second = request_.TestOnly ? TPass::HitTest : TPass::Draw;
    bool onLink = false;
    int top = rect_.Top;
    while (!text.empty()) {
        // The second pass must meet the line in the link state the layout met it in.
        const bool inLink = inLink_;
        const std::string target = target_;
        Load(layoutFonts);
        TLine layout;
        layout.Rect = {rect_.Left, top, rect_.Right, top};
        const std::string_view source = RenderLine(text, layout, TPass::Layout);
        Store(layoutFonts);
        inLink_ = inLink;
        target_ = target;
        result_.Width = std::max(result_.Width, layout.Width);

        TLine line;
        line.Rect = {rect_.Left, top, rect_.Right, top + layout.Height};
        if (align_ == TAlign::Right)
            line.Rect.Left = line.Rect.Right - layout.Width;
        else if (align_ == TAlign::Center)
            line.Rect.Left += (rect_.Width() - layout.Width) / 2;
        if (draws) {
            Load(drawFonts);
            std::string_view again = source;
            RenderLine(again, line, second);
            Store(drawFonts);
            if (line.Found && top < request_.TestY && request_.TestY < top + layout.Height) {
                onLink = true;
                result_.LinkTarget = line.Target;
            }
        }
        top += layout.Height;
        result_.Height += layout.Height;
        if (draws && rect_.Bottom < top + layout.Height) break; // the next line would not fit
    }
    if (result_.Height == 0) result_.Height = canvas_.TextHeight("gh");
    return onLink;
}

// Takes one line's worth of source off `source` and returns it.
std::string_view TMarkupRenderer::RenderLine(std::string_view& source, TLine& line, TPass pass) {
    const std::string_view start = source;
    std::size_t used = 0;
    line.Height = canvas_.TextHeight("gh");
    line.Cur = line.Rect;
    while (!source.empty() && !line.Ended && !line.Stopped) {
        const std::string_view word = NextWord(source);
        if (!word.empty()) {
            if (!PlaceWord(word, line, pass)) break;
            source.remove_prefix(word.size());
            used += word.size();
        }
        if (source.empty() || source[0] != '<' || line.Ended) continue;
        const std::size_t close = source.find('>');
        // A tag without its ">" is dropped with what follows; what came before stays.
        if (close == std::string_view::npos) {
            source = {};
            break;
        }
        const std::string_view tag = source.substr(0, close + 1);
        HandleTag(tag, line, pass);
        if (line.Stopped) {
            source = {};
            break;
        }
        source.remove_prefix(tag.size());
        used += tag.size();
    }
    line.Width -= line.TrailingBlank;
    return start.substr(0, used);
}

int TMarkupRenderer::WordWidth(std::string_view word) {
    TRect r{0, 0, 0, 0};
    canvas_.DrawText(word, r, kMeasureFlags);
    return r.Width();
}

// False when the word does not fit and must start the next line (layout only).
bool TMarkupRenderer::PlaceWord(std::string_view word, TLine& line, TPass pass) {
    const int height = canvas_.TextHeight(word);
    if (pass == TPass::Draw) DrawWord(word, line);
    const int width = WordWidth(word);
    line.Width += width;
    if (pass == TPass::Layout) {
        const int room = line.Rect.Width();
        // A word wider than the whole line gets a line of its own and runs past the edge.
        const bool fits = line.Width < room || (width >= room && line.Width == width);
        if (!fits) {
            line.Width -= width;
            line.Ended = true;
            return false;
        }
        result_.PlainText += word;
    }
    if (pass == TPass::HitTest && inLink_) {
        const int x = request_.TestX - line.Rect.Left;
        const int y = request_.TestY;
        if (line.Width - width < x && x < line.Width && line.Rect.Top < y &&
            y < line.Rect.Top + height) {
            line.Found = true;
            line.Target = target_;
        }
    }
    line.Height = std::max(line.Height, height);
    line.Cur.Left += width;
    line.TrailingBlank = word.back() == ' ' ? canvas_.TextWidth(" ") : 0;
    return true;
}

void TMarkupRenderer::DrawWord(std::string_view word, const TLine& line) {
    // A background colour set by a tag shows behind the text.
    if (canvas_.Brush.Color != startBrush_) {
        canvas_.BkMode = TBkMode::bkOpaque;
        canvas_.BkColor = canvas_.Brush.Color;
    } else {
        canvas_.BkMode = TBkMode::bkTransparent;
    }
    TRect r{line.Cur.Left, line.Rect.Top, line.Rect.Right, line.Rect.Bottom};
    canvas_.DrawText(word, r, kDrawFlags);
}

void TMarkupRenderer::HandleTag(std::string_view tag, TLine& line, TPass pass) {
    TFont& font = canvas_.Font;
    switch (ClassifyTag(tag)) {
    case TMarkupTag::Anchor:
        font.SetStyle(font.Style() | fsUnderline);
        font.SetColor(request_.LinkColor);
        target_ = TagAttribute(tag, "href");
        inLink_ = true;
        break;
    case TMarkupTag::Bold:
        font.SetStyle(font.Style() | fsBold);
        break;
    case TMarkupTag::Break:
        line.Ended = true;
        if (pass == TPass::Layout) result_.PlainText += '\r';
        break;
    case TMarkupTag::Body:
        if (pass == TPass::Draw && ContainsNoCase(tag, "bgcolor"))
            PaintBody(MarkupColor(TagAttribute(tag, "bgcolor")));
        break;
    case TMarkupTag::Font:
        OpenFont(tag, pass);
        break;
    case TMarkupTag::Rule:
        line.Ended = true;
        if (pass == TPass::Draw) DrawRule(line);
        break;
    case TMarkupTag::Italic:
        font.SetStyle(font.Style() | fsItalic);
        break;
    case TMarkupTag::Indent:
        if (const std::optional<int> x = ParseMarkupInteger(TagAttribute(tag, "x"))) {
            const int indent = std::min(*x, kMaxIndent);
            if (indent > line.Width) {
                line.Width = indent;
                line.Cur.Left = line.Rect.Left + indent;
                line.TrailingBlank = 0;
            }
        }
        break;
    case TMarkupTag::Image:
        PlaceImage(tag, line, pass);
        break;
    case TMarkupTag::Paragraph:
        // Tested in this order: the last one found wins.
        if (ContainsNoCase(tag, "right")) align_ = TAlign::Right;
        if (ContainsNoCase(tag, "left")) align_ = TAlign::Left;
        if (ContainsNoCase(tag, "center")) align_ = TAlign::Center;
        break;
    case TMarkupTag::Underline:
        font.SetStyle(font.Style() | fsUnderline);
        break;
    case TMarkupTag::EndAnchor:
        font.SetStyle(font.Style() & ~fsUnderline);
        font.SetColor(saved_.Color());
        inLink_ = false;
        break;
    case TMarkupTag::EndBold:
        font.SetStyle(font.Style() & ~fsBold);
        break;
    case TMarkupTag::EndFont:
        font.SetName(saved_.Name());
        font.SetHeight(saved_.Height());
        font.SetColor(saved_.Color());
        if (pass == TPass::Draw) canvas_.Brush.Color = savedBrush_;
        break;
    case TMarkupTag::EndItalic:
        font.SetStyle(font.Style() & ~fsItalic);
        break;
    case TMarkupTag::EndParagraph:
        line.Ended = true;
        break;
    case TMarkupTag::EndUnderline:
        font.SetStyle(font.Style() & ~fsUnderline);
        break;
    case TMarkupTag::Unknown:
        break;
    }
}

void TMarkupRenderer::OpenFont(std::string_view tag, TPass pass) {
    TFont& font = canvas_.Font;
    if (ContainsNoCase(tag, "face")) {
        saved_.SetName(font.Name());
        font.SetName(TagAttribute(tag, "face"));
    }
    // "bgcolor" alone does not count; the value is read after the first "color" though.
    if (ContainsNoCase(tag, " color")) {
        saved_.SetColor(font.Color());
        font.SetColor(MarkupColor(TagAttribute(tag, "color")));
    }
    if (pass == TPass::Draw && ContainsNoCase(tag, "bgcolor")) {
        savedBrush_ = canvas_.Brush.Color;
        canvas_.Brush.Color = MarkupColor(TagAttribute(tag, "bgcolor"));
    }
    if (ContainsNoCase(tag, "size")) {
        // A size that is no number leaves the size as it is.
        if (const std::optional<int> points = ParseMarkupInteger(TagAttribute(tag, "size"))) {
            saved_.SetHeight(font.Height());
            font.SetSize(std::clamp(*points, 1, kMaxFontPoints));
        }
    }
}

void TMarkupRenderer::PlaceImage(std::string_view tag, TLine& line, TPass pass) {
    const TMarkupImage image(TagAttribute(tag, "src"), request_.Images);
    const int room = line.Rect.Width();
    if (pass == TPass::Layout && image.Width() < room && line.Width + image.Width() > room) {
        line.Stopped = true;
        return;
    }
    if (pass == TPass::Draw) image.Draw(canvas_, line.Cur.Left, line.Cur.Top);
    line.Width += image.Width();
    line.Cur.Left += image.Width();
    line.Height = std::max(line.Height, image.Height());
    line.TrailingBlank = 0;
}

void TMarkupRenderer::DrawRule(const TLine& line) {
    const TPen pen = canvas_.Pen;
    canvas_.Pen = TPen{clBlack, 1, TPenStyle::psSolid};
    const int y = line.Cur.Bottom + 1;
    canvas_.MoveTo(line.Rect.Left, y);
    canvas_.LineTo(line.Rect.Right, y);
    canvas_.Pen = pen;
}

void TMarkupRenderer::PaintBody(TColor color) {
    canvas_.Brush.Color = color;
    savedBrush_ = color;
    const TPen pen = canvas_.Pen;
    canvas_.Pen.Color = color;
    canvas_.Rectangle(rect_);
    canvas_.Pen = pen;
}

} // namespace

bool RenderMarkup(TCanvas& canvas, std::string_view text, const TRect& rect,
                  const TMarkupRequest& request, TMarkupResult& result) {
    result = {};
    const TCanvasState keep(canvas);
    return TMarkupRenderer(canvas, rect, request, result).Run(text);
}

} // namespace ondrex
