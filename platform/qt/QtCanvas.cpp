#include "platform/qt/QtCanvas.h"

#include "platform/Bitmap.h"
#include "platform/CodePage.h"
#include "platform/SystemColors.h"
#include "platform/qt/QtApplication.h"
#include "platform/qt/QtFont.h"

#include <QGlyphRun>
#include <QImage>
#include <QPainter>

#include <cstdint>
#include <cstdlib>
#include <optional>
#include <utility>

namespace ondrex {

namespace {

QColor ToQColor(TColor color) {
    const TColor c = ColorToRGB(color);
    return QColor(GetRValue(c), GetGValue(c), GetBValue(c));
}

QRect ToQRect(const TRect& r) {
    return QRect(r.Left, r.Top, r.Width(), r.Height());
}

QImage WrapBitmap(const TBitmap& bitmap) {
    return QImage(reinterpret_cast<const uchar*>(bitmap.ScanLine(0)), bitmap.Width(),
                  bitmap.Height(), bitmap.Width() * 4, QImage::Format_ARGB32);
}

constexpr int kMaxRasterLine = 8192;

// The pixels of a 1-pixel line from a towards b, b itself left out.
void AppendSegment(TPoint a, TPoint b, std::vector<QPoint>& out) {
    const int dx = std::abs(b.X - a.X), dy = -std::abs(b.Y - a.Y);
    const int sx = a.X < b.X ? 1 : -1, sy = a.Y < b.Y ? 1 : -1;
    int err = dx + dy;
    for (int x = a.X, y = a.Y; x != b.X || y != b.Y;) {
        out.emplace_back(x, y);
        const int e2 = 2 * err;
        if (e2 >= dy) err += dy, x += sx;
        if (e2 <= dx) err += dx, y += sy;
    }
}

// Text decoded from the code page, with where each character starts in the bytes and in
// the UTF-16 text.
struct TDecoded {
    QString Text;
    std::vector<std::size_t> Byte;
    std::vector<char32_t> CodePoint;
    std::vector<qsizetype> Unit; // one more entry than characters: the end

    std::size_t Count() const { return Byte.size(); }
    QString Char(std::size_t i) const { return Text.mid(Unit[i], Unit[i + 1] - Unit[i]); }
};

TDecoded Decode(std::string_view bytes) {
    TDecoded d;
    d.Text.reserve(qsizetype(bytes.size()));
    const TCodePage cp = ActiveCodePage();
    for (std::size_t pos = 0; pos < bytes.size();) {
        const TDecodedChar c = DecodeChar(cp, bytes, pos);
        d.Byte.push_back(pos);
        d.CodePoint.push_back(c.codePoint);
        d.Unit.push_back(d.Text.size());
        if (QChar::requiresSurrogates(c.codePoint)) {
            d.Text += QChar(QChar::highSurrogate(c.codePoint));
            d.Text += QChar(QChar::lowSurrogate(c.codePoint));
        } else {
            d.Text += QChar(char16_t(c.codePoint));
        }
        pos += c.length;
    }
    d.Unit.push_back(d.Text.size());
    return d;
}

} // namespace

struct TQtCanvas::TImpl {
    std::unique_ptr<QImage> OwnedImage;
    QPaintDevice* Device = nullptr;
    QPainter Painter;
    std::optional<TFont> FontKey;
    std::shared_ptr<const qt::TResolvedFont> Resolved;
    // Reused by every text output, so drawing a row allocates nothing.
    QList<quint32> Glyphs;
    QList<QPointF> Positions;

    // Rebuilt only when the canvas font changes.
    const qt::TResolvedFont& UseFont(const TFont& font) {
        if (!FontKey || !FontKey->SameFont(font)) {
            FontKey.emplace(font);
            Resolved = qt::ResolveFont(font);
        }
        return *Resolved;
    }

    QImage* Image() const {
        return Device->devType() == QInternal::Image ? static_cast<QImage*>(Device) : nullptr;
    }
};

TQtCanvas::TQtCanvas(QPaintDevice* device, const TRect& clip) : impl_(std::make_unique<TImpl>()) {
    qt::ensureApplication();
    impl_->Device = device;
    impl_->Painter.begin(device);
    SetInitialClip(clip.IsEmpty() ? TRect{0, 0, device->width(), device->height()} : clip);
    ClipChanged();
}

TQtCanvas::TQtCanvas(std::unique_ptr<QImage> image) : TQtCanvas(image.get()) {
    impl_->OwnedImage = std::move(image);
}

TQtCanvas::~TQtCanvas() {
    impl_->Painter.end();
}

void TQtCanvas::ClipChanged() {
    impl_->Painter.setClipRect(ToQRect(ClipRect()));
}

void TQtCanvas::FillRect(const TRect& r) {
    if (r.IsEmpty() || Brush.Style == TBrushStyle::bsClear) return;
    if (Brush.Bitmap && !Brush.Bitmap->Empty()) {
        impl_->Painter.setBrushOrigin(0, 0);
        impl_->Painter.fillRect(ToQRect(r), QBrush(WrapBitmap(*Brush.Bitmap)));
        return;
    }
    if (Brush.Color == clNone) return;
    impl_->Painter.fillRect(ToQRect(r), ToQColor(Brush.Color));
}

void TQtCanvas::FrameRect(const TRect& r) {
    if (r.IsEmpty() || Brush.Color == clNone) return;
    const QColor c = ToQColor(Brush.Color);
    QPainter& p = impl_->Painter;
    p.fillRect(QRect(r.Left, r.Top, r.Width(), 1), c);
    p.fillRect(QRect(r.Left, r.Bottom - 1, r.Width(), 1), c);
    p.fillRect(QRect(r.Left, r.Top, 1, r.Height()), c);
    p.fillRect(QRect(r.Right - 1, r.Top, 1, r.Height()), c);
}

void TQtCanvas::Rectangle(const TRect& r) {
    FillRect(r);
    if (Pen.Style == TPenStyle::psClear || Pen.Color == clNone || r.IsEmpty()) return;
    const TPoint outline[5] = {{r.Left, r.Top},
                               {r.Right - 1, r.Top},
                               {r.Right - 1, r.Bottom - 1},
                               {r.Left, r.Bottom - 1},
                               {r.Left, r.Top}};
    Polyline(outline);
}

void TQtCanvas::Polyline(std::span<const TPoint> points) {
    if (points.size() < 2 || Pen.Style == TPenStyle::psClear || Pen.Color == clNone) return;
    QPainter& p = impl_->Painter;
    if (Pen.Width > 1) {
        QPolygon polygon;
        for (TPoint pt : points)
            polygon << QPoint(pt.X, pt.Y);
        p.setPen(QPen(ToQColor(Pen.Color), Pen.Width, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
        p.drawPolyline(polygon);
        return;
    }
    const QColor color = ToQColor(Pen.Color);
    const bool dotted = Pen.Style == TPenStyle::psDot;
    std::vector<QPoint> pixels;
    for (std::size_t i = 1; i < points.size(); ++i) {
        const TPoint a = points[i - 1], b = points[i];
        const std::int64_t dx = std::int64_t(b.X) - a.X, dy = std::int64_t(b.Y) - a.Y;
        if (dx == 0 && dy == 0) continue;
        if (!dotted && (dx == 0 || dy == 0)) {
            // Straight solid runs as rectangles, cut to the clip; the end point stays out.
            const TRect clip = ClipRect();
            auto run = [](int from, int to, int lo, int hi) {
                std::int64_t first = from, last = to;
                if (to > from)
                    --last;
                else
                    ++last;
                if (first > last) std::swap(first, last);
                return std::pair{std::max<std::int64_t>(first, lo),
                                 std::min<std::int64_t>(last, hi)};
            };
            const auto [x0, x1] = dx ? run(a.X, b.X, clip.Left, clip.Right - 1)
                                     : std::pair<std::int64_t, std::int64_t>{a.X, a.X};
            const auto [y0, y1] = dy ? run(a.Y, b.Y, clip.Top, clip.Bottom - 1)
                                     : std::pair<std::int64_t, std::int64_t>{a.Y, a.Y};
            if (x0 <= x1 && y0 <= y1)
                p.fillRect(QRect(int(x0), int(y0), int(x1 - x0 + 1), int(y1 - y0 + 1)), color);
        } else if (std::max(std::abs(dx), std::abs(dy)) <= kMaxRasterLine) {
            AppendSegment(a, b, pixels);
        } else {
            // Far beyond any surface: let Qt clip it rather than visit every pixel.
            p.setPen(QPen(color, 1, dotted ? Qt::DotLine : Qt::SolidLine));
            p.drawLine(a.X, a.Y, b.X, b.Y);
        }
    }
    if (dotted) {
        std::size_t kept = 0;
        for (std::size_t i = 0; i < pixels.size(); i += 2)
            pixels[kept++] = pixels[i];
        pixels.resize(kept);
    }
    p.setPen(QPen(color, 1));
    p.drawPoints(pixels.data(), int(pixels.size()));
}

void TQtCanvas::SetPixel(int x, int y, TColor color) {
    if (color == clNone) return;
    impl_->Painter.fillRect(QRect(x, y, 1, 1), ToQColor(color));
}

TColor TQtCanvas::GetPixel(int x, int y) const {
    const QImage* image = impl_->Image();
    if (!image || !image->valid(x, y)) return clNone;
    const QRgb c = image->pixel(x, y);
    return RGB(qRed(c), qGreen(c), qBlue(c));
}

void TQtCanvas::DrawFocusRect(const TRect& r) {
    if (r.IsEmpty()) return;
    // Every other pixel of the outline, inverted, so a second call restores the picture.
    std::vector<QPoint> dots;
    auto dot = [&](int x, int y) {
        if (((x + y) & 1) == 0 && ClipRect().Contains({x, y})) dots.emplace_back(x, y);
    };
    for (int x = r.Left; x < r.Right; ++x)
        dot(x, r.Top);
    for (int y = r.Top + 1; y < r.Bottom; ++y)
        dot(r.Right - 1, y);
    if (r.Bottom - 1 > r.Top)
        for (int x = r.Left; x < r.Right - 1; ++x)
            dot(x, r.Bottom - 1);
    if (r.Right - 1 > r.Left)
        for (int y = r.Top + 1; y < r.Bottom - 1; ++y)
            dot(r.Left, y);
    if (QImage* image = impl_->Image()) {
        for (QPoint pt : dots)
            if (image->valid(pt)) image->setPixel(pt, image->pixel(pt) ^ 0x00FFFFFF);
        return;
    }
    QPainter& p = impl_->Painter;
    p.save();
    p.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    p.setPen(QPen(Qt::white, 1));
    p.drawPoints(dots.data(), int(dots.size()));
    p.restore();
}

TTextMetric TQtCanvas::GetTextMetrics() {
    const qt::TResolvedFont& use = impl_->UseFont(Font);
    const QFontMetrics& fm = use.Metrics;
    TTextMetric tm;
    tm.Ascent = fm.ascent();
    tm.Descent = fm.descent();
    tm.Height = tm.Ascent + tm.Descent;
    tm.InternalLeading = std::max(0, tm.Height - use.Font.pixelSize());
    tm.ExternalLeading = std::max(0, fm.leading());
    tm.AveCharWidth = fm.horizontalAdvance(QLatin1Char('x'));
    tm.MaxCharWidth = fm.maxWidth();
    tm.Weight = Font.Weight();
    tm.FixedPitch = use.FixedPitch;
    tm.Charset = Font.Charset();
    return tm;
}

bool TQtCanvas::GetCharABCWidths(char32_t ch, TABC& abc) {
    const qt::TResolvedFont& use = impl_->UseFont(Font);
    if (!use.Metrics.inFontUcs4(uint(ch))) return false;
    const QString s = QString::fromUcs4(&ch, 1);
    const QRect ink = use.Metrics.boundingRect(s);
    const int advance = use.Metrics.horizontalAdvance(s);
    abc.A = ink.left();
    abc.B = ink.width();
    abc.C = advance - abc.A - abc.B;
    return true;
}

TSize TQtCanvas::TextExtent(std::string_view text) {
    const qt::TResolvedFont& use = impl_->UseFont(Font);
    const QFontMetrics& fm = use.Metrics;
    return {fm.horizontalAdvance(Decode(text).Text), fm.ascent() + fm.descent()};
}

// Glyphs and their positions of text drawn with per-byte advances, when every byte is a
// printable ASCII character the face has: the common case of an editor row, done without
// decoding or a glyph lookup per call. False otherwise.
bool TQtCanvas::AsciiRun(const qt::TResolvedFont& use, int x, std::string_view text,
                         std::span<const int> advances, int& width) {
    if (advances.size() < text.size() || !use.Raw.isValid()) return false;
    TImpl& m = *impl_;
    m.Glyphs.clear();
    m.Positions.clear();
    width = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const quint32 glyph = use.AsciiGlyph(static_cast<unsigned char>(text[i]));
        if (glyph == 0) return false;
        m.Glyphs.append(glyph);
        m.Positions.append(QPointF(x + width, 0));
        width += advances[i];
    }
    return true;
}

void TQtCanvas::ExtTextOut(int x, int y, unsigned options, const TRect* rect, std::string_view text,
                           std::span<const int> advances) {
    const qt::TResolvedFont& use = impl_->UseFont(Font);
    QPainter& p = impl_->Painter;
    TImpl& m = *impl_;
    int width = 0;
    const bool ascii = AsciiRun(use, x, text, advances, width);
    TDecoded d;
    std::vector<int> left;
    if (!ascii) {
        // Each character's left edge: from the advances where given, else the font's own.
        width = 0;
        d = Decode(text);
        left.resize(d.Count());
        for (std::size_t i = 0; i < d.Count(); ++i) {
            left[i] = width;
            const std::size_t end = i + 1 < d.Byte.size() ? d.Byte[i + 1] : text.size();
            if (end <= advances.size())
                for (std::size_t b = d.Byte[i]; b < end; ++b)
                    width += advances[b];
            else
                width += use.Metrics.horizontalAdvance(d.Char(i));
        }
    }
    const int height = use.Metrics.ascent() + use.Metrics.descent();
    const TRect extent{x, y, x + width, y + height};

    // Clipping to the rectangle only when the text would cross it; the canvas clip is put
    // back afterwards.
    const auto holds = [&](const TRect& r) {
        return extent.IsEmpty() || r.Intersect(extent) == extent;
    };
    const bool clip = rect && (options & ETO_CLIPPED) && !holds(*rect);
    if (clip) p.setClipRect(ToQRect(rect->Intersect(ClipRect())));
    const bool opaqueRect = rect && (options & ETO_OPAQUE) && BkColor != clNone;
    if (opaqueRect) p.fillRect(ToQRect(*rect), ToQColor(BkColor));
    // The opaque rectangle already covers the cells it holds.
    if (BkMode == TBkMode::bkOpaque && BkColor != clNone && !(opaqueRect && holds(*rect)))
        p.fillRect(ToQRect(extent), ToQColor(BkColor));
    if (Font.Color() != clNone && !text.empty()) {
        const int baseline = y + use.Metrics.ascent();
        p.setPen(ToQColor(Font.Color()));
        p.setFont(use.Font);
        if (ascii) {
            DrawGlyphs(use.Raw, use.Font, baseline);
        } else if (advances.empty()) {
            p.drawText(QPoint(x, baseline), d.Text);
        } else {
            // Glyphs at the given positions, in runs of one face each: the font's own, or
            // the face the system falls back to for a character it lacks.
            const QRawFont* face = nullptr;
            m.Glyphs.clear();
            m.Positions.clear();
            for (std::size_t i = 0; i < d.Count(); ++i) {
                const qt::TGlyph glyph = use.GlyphOf(d.CodePoint[i]);
                if (glyph.Face != face && !m.Glyphs.isEmpty()) {
                    DrawGlyphs(*face, use.Font, baseline);
                    m.Glyphs.clear();
                    m.Positions.clear();
                }
                face = glyph.Face;
                m.Glyphs.append(glyph.Index);
                m.Positions.append(QPointF(x + left[i], 0));
            }
            if (face && !m.Glyphs.isEmpty()) DrawGlyphs(*face, use.Font, baseline);
        }
    }
    if (clip) ClipChanged();
}

void TQtCanvas::DrawGlyphs(const QRawFont& face, const QFont& style, int baseline) {
    QGlyphRun run;
    run.setRawFont(face);
    run.setGlyphIndexes(impl_->Glyphs);
    run.setPositions(impl_->Positions);
    run.setUnderline(style.underline());
    run.setStrikeOut(style.strikeOut());
    impl_->Painter.drawGlyphRun(QPointF(0, baseline), run);
}

void TQtCanvas::DrawBitmap(int x, int y, const TBitmap& bitmap, const TRect& source) {
    if (bitmap.Empty()) return;
    impl_->Painter.drawImage(QPoint(x, y), WrapBitmap(bitmap), ToQRect(source));
}

std::unique_ptr<TCanvas> CreateScreenCanvas() {
    auto image = std::make_unique<QImage>(1, 1, QImage::Format_ARGB32);
    return std::make_unique<TQtCanvas>(std::move(image));
}

} // namespace ondrex
