// libFuzzer target: the list box's markup renderer on any bytes. The first bytes choose the
// rectangle and the test points; the rest is the item. The item is measured, drawn into a
// recording canvas and hit-tested; drawing never lays out more than measuring did, a link
// found names a target written in the item, and the canvas is left as it was.

#include "controls/HtmlMarkup.h"
#include "platform/Bitmap.h"
#include "platform/ImageList.h"
#include "platform/testing/RecordingCanvas.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

void Check(bool ok) {
    if (!ok) std::abort();
}

const ondrex::TImageList& Images() {
    static ondrex::TImageList list = [] {
        ondrex::TImageList l(8, 8);
        l.Add(ondrex::TBitmap(16, 8));
        return l;
    }();
    return list;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace ondrex;
    if (size < 3) return 0;
    const TRect rect{0, 0, int(data[0]) - 16, int(data[1]) / 4};
    const int points = data[2] % 8;
    const std::string text(reinterpret_cast<const char*>(data) + 3, size - 3);

    TRecordingCanvas canvas;
    canvas.Font.SetHeight(10);
    canvas.Brush.Color = clWhite;
    const TFont before = canvas.Font;

    TMarkupRequest request;
    request.Images = &Images();
    request.MeasureOnly = true;
    TMarkupResult measured;
    RenderMarkup(canvas, text, {rect.Left, rect.Top, rect.Right, 1000}, request, measured);
    Check(measured.Height > 0 && measured.Width >= 0);
    Check(measured.PlainText.size() <= text.size());

    request.MeasureOnly = false;
    TMarkupResult drawn;
    RenderMarkup(canvas, text, rect, request, drawn);
    Check(drawn.Height <= measured.Height);
    Check(canvas.Font.SameFont(before) && canvas.Font.Color() == before.Color());
    Check(canvas.Brush.Color == clWhite && canvas.BkMode == TBkMode::bkOpaque);

    request.TestOnly = true;
    for (int i = 0; i < points; ++i) {
        request.TestX = int(data[(3 + 2 * i) % size]) - 8;
        request.TestY = int(data[(4 + 2 * i) % size]) / 2;
        TMarkupResult tested;
        if (RenderMarkup(canvas, text, rect, request, tested))
            Check(text.find(tested.LinkTarget) != std::string::npos);
    }
    return 0;
}
