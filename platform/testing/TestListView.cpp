#include "platform/testing/TestListView.h"

#include <memory>

namespace ondrex {

namespace {
std::unique_ptr<TCanvas> CellCanvas() {
    auto canvas = std::make_unique<TRecordingCanvas>();
    canvas->SetCellSize(8, 13);
    return canvas;
}
} // namespace

TTestListView::TTestListView(TCustomListView& view, int width, int height)
    : view_((view.SetBounds(0, 0, width, height), view)), host_(view) {
    // The recording canvas gives a font of height 13 cells of 8 x 13, as the measure canvas.
    view_.Font().SetHeight(-13);
    view_.SetMeasureCanvas(CellCanvas());
}

TPoint TTestListView::HeaderPoint(int column) {
    const TRect r = view_.HeaderItemRect(column);
    return {(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2};
}

TPoint TTestListView::CellPoint(int row, int column) {
    const TRect r = view_.CellRect(row, column);
    // Past the pictures at the cell's left.
    return {std::min(r.Left + 60, (r.Left + r.Right) / 2 + 20), (r.Top + r.Bottom) / 2};
}

void TTestListView::Click(TPoint p, TShiftState shift) {
    host_.SendMouseDown(TMouseButton::mbLeft, shift | ssLeft, p.X, p.Y);
    host_.SendMouseUp(TMouseButton::mbLeft, shift, p.X, p.Y);
}

void TTestListView::DoubleClick(TPoint p) {
    Click(p);
    host_.SendDoubleClick(TMouseButton::mbLeft, ssLeft, p.X, p.Y);
    host_.SendMouseUp(TMouseButton::mbLeft, 0, p.X, p.Y);
}

void TTestListView::Hover(TPoint p) {
    host_.SendMouseMove(0, p.X, p.Y);
}

void TTestListView::Drag(TPoint from, TPoint to) {
    host_.SendMouseDown(TMouseButton::mbLeft, ssLeft, from.X, from.Y);
    host_.SendMouseMove(ssLeft, (from.X + to.X) / 2, (from.Y + to.Y) / 2);
    host_.SendMouseMove(ssLeft, to.X, to.Y);
    host_.SendMouseUp(TMouseButton::mbLeft, 0, to.X, to.Y);
}

void TTestListView::Key(std::uint16_t key, TShiftState shift) {
    host_.SendKeyDown(key, shift);
    host_.SendKeyUp(key, shift);
}

void TTestListView::Type(const std::string& text) {
    for (char c : text) host_.SendChar(std::string(1, c));
}

} // namespace ondrex
