#pragma once
// The markup renderer of the HTML list box: one item's text, with its small set of tags
// (see HtmlMarkupTags.h), laid out in a rectangle: words wrap onto further lines, tags change
// the font, colours, alignment and link state, and stay in force across line breaks until
// closed or until the item ends. The same call draws the item, only measures it, or only
// finds the link under a point. The canvas's state is the same after the call as before.

#include "platform/Canvas.h"
#include "platform/Color.h"
#include "platform/Geometry.h"
#include "platform/ScopedGuard.h"

#include <string>
#include <string_view>

namespace ondrex {

class TImageList;

struct TMarkupRequest {
    TColor LinkColor = clBlue; // text colour of links
    bool MeasureOnly = false;  // lay out without drawing: Height and Width only
    bool TestOnly = false;     // lay out without drawing and look for a link at TestX, TestY
    int TestX = 0;
    int TestY = 0;
    const TImageList* Images = nullptr; // source of "idx:" pictures; none when null
};

struct TMarkupResult {
    int Height = 0;         // of all lines laid out
    int Width = 0;          // of the widest line
    std::string PlainText;  // the words without the tags; "\r" for every <BR>
    std::string LinkTarget; // the target of the link under the test point
};

// Returns true when the test point lies on the text of a link (TestOnly); `result.LinkTarget`
// then names it. Without MeasureOnly, lines that do not fit in `rect` are left out.
// Keeps a canvas's state (font, brush, pen, clip, ...) for one scope.
using TCanvasState = TScopedPair<TCanvas, &TCanvas::Save, &TCanvas::Restore>;

bool RenderMarkup(TCanvas& canvas, std::string_view text, const TRect& rect,
                  const TMarkupRequest& request, TMarkupResult& result);

} // namespace ondrex
