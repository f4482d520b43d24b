#pragma once
// Drives a list view in a test window: fixed 8 x 13 text cells (so a header is 19 pixels
// and a row 17), points inside rows, cells and header items, clicks, hovers and paints.

#include "platform/ListView.h"
#include "platform/testing/TestControlHost.h"

namespace ondrex {

class TTestListView {
public:
    // Sizes the list view to width x height and puts it in a test host.
    TTestListView(TCustomListView& view, int width = 400, int height = 200);

    TCustomListView& View() { return view_; }
    TTestControlHost& Host() { return host_; }

    // The middle of a header item, of the caption text of a row, and of a cell.
    TPoint HeaderPoint(int column);
    TPoint RowPoint(int row) { return CellPoint(row, 0); }
    TPoint CellPoint(int row, int column);

    void Click(TPoint p, TShiftState shift = 0);
    void DoubleClick(TPoint p);
    // The pointer moves to p (no button held).
    void Hover(TPoint p);
    void Drag(TPoint from, TPoint to);
    void Key(std::uint16_t key, TShiftState shift = 0);
    void Type(const std::string& text);

    TRecordingCanvas& PaintAll() { return host_.PaintAll(); }

private:
    TCustomListView& view_;
    TTestControlHost host_;
};

} // namespace ondrex
