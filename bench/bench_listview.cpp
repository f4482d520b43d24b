// The results list at the size a 50 MB script gives: appending rows inside
// BeginUpdate/EndUpdate, a smart sort of mixed texts, scrolling to the end and painting a
// page, and the memory a row costs, beside a plain QStandardItemModel + QTreeView doing the
// same appends and a sort in the same run.
//
//   bench_listview [ROWS [PEER_ROWS]]    (defaults 700000 and 100000: the peer's appends
//                                         slow down as its view grows)
// Times are printed as wall/processor milliseconds.
//   bench_listview --screenshot OUT.png  (a small list with arrows, grid lines, state
//                                         pictures and a hovered row, saved as PNG)

#include "controls/TExtListView.h"
#include "platform/ImageList.h"
#include "platform/qt/QtControlHost.h"

#include <QApplication>
#include <QHeaderView>
#include <QPixmap>
#include <QStandardItemModel>
#include <QTreeView>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <malloc.h>
#include <string>
#include <vector>

using namespace ondrex;

namespace {

// Wall time and this thread's processor time since a start; the machine may be shared, so
// both are reported.
struct TClock {
    std::chrono::steady_clock::time_point Wall = std::chrono::steady_clock::now();
    double Cpu = CpuMs();

    static double CpuMs() {
        timespec t{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
        return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
    }
    std::string Since() const {
        char text[64];
        std::snprintf(
            text, sizeof text, "%.1f/%.1f",
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - Wall)
                .count(),
            CpuMs() - Cpu);
        return text;
    }
};

std::size_t HeapInUse() {
    return mallinfo2().uordblks;
}

const char* const kTypes[] = {"Function", "Sub", "Dim", "If", "Call"};

// What the sort column holds: numbers, dates in the short format, times and names.
std::string MixedText(std::size_t i) {
    switch (i % 5) {
    case 0:
        return std::to_string((i * 7919) % 100000);
    case 1:
        return std::to_string(1 + i % 12) + "/" + std::to_string(1 + i % 28) + "/" +
               std::to_string(1990 + i % 40);
    case 2:
        return std::to_string(i % 24) + ":" + std::to_string(10 + i % 50);
    case 3:
        return "Sub_" + std::to_string((i * 31) % 99991);
    default:
        return "name" + std::to_string((i * 131) % 77777) + "x";
    }
}

// The state pictures of the results list: four coloured squares.
void FillStateImages(TImageList& images) {
    const TColor colours[] = {RGB(200, 40, 40), RGB(40, 140, 40), RGB(40, 40, 200),
                              RGB(200, 160, 0)};
    TBitmap strip(64, 16);
    for (int k = 0; k < 4; ++k)
        for (int y = 3; y < 13; ++y)
            for (int x = 3; x < 13; ++x)
                strip.SetPixel(16 * k + x, y, colours[k]);
    images.AddMasked(strip, clWhite);
}

void SetupResultsList(TExtListView& view, TImageList& states) {
    view.Columns().Add()->SetCaption("Type");
    view.Columns()[0]->SetWidth(75);
    view.Columns().Add()->SetCaption("Name");
    view.Columns()[1]->SetWidth(250);
    view.SetExtendedStyles(lvxGridLines | lvxTrackSelect | lvxFullRowSelect | lvxFlatScrollBar);
    view.SetShowSortArrows(true);
    view.SetReverseSortArrows(true);
    view.SetColumnClick(false);
    view.SetStateImages(&states);
    view.Font().SetName("Tahoma");
    view.Font().SetSize(8);
}

int Screenshot(const char* path) {
    TImageList states(16, 16);
    FillStateImages(states);
    TExtListView view;
    SetupResultsList(view, states);
    view.SetBounds(0, 0, 340, 200);
    TQtControlHost host(view);
    view.SetAutoColumnSort(TAutoColumnSort::acsSort); // so the sort column shows its arrow
    view.Loaded();
    const char* names[] = {"Main",        "LoadOrders", "strTotal",  "x > 10",
                           "WriteFooter", "i",          "CheckUser", "Render"};
    for (int i = 0; i < 8; ++i) {
        TListItem* item = view.Items().Add();
        item->SetCaption(kTypes[i % 5]);
        item->SetStateIndex(i % 4);
        item->AddSubItem(names[i]);
    }
    view.SortColumn(0, true);
    const TRect row = view.ItemRect(3);
    host.SendMouseMove(0, 120, (row.Top + row.Bottom) / 2);
    auto* widget = static_cast<QWidget*>(host.Widget());
    widget->show();
    QApplication::processEvents();
    if (!widget->grab().save(path)) {
        std::fprintf(stderr, "bench_listview: cannot write %s\n", path);
        return 1;
    }
    std::printf("wrote %s (hot row %d)\n", path, view.HotItem());
    return 0;
}

void BenchOurs(std::size_t rows) {
    TImageList states(16, 16);
    FillStateImages(states);
    auto view = std::make_unique<TExtListView>();
    SetupResultsList(*view, states);
    view->SetBounds(0, 0, 340, 600);
    TQtControlHost host(*view);
    view->Loaded();
    auto* widget = static_cast<QWidget*>(host.Widget());
    widget->show();
    QApplication::processEvents();

    std::vector<std::string> names(rows);
    std::size_t textBytes = 0;
    for (std::size_t i = 0; i < rows; ++i) {
        names[i] = MixedText(i);
        textBytes += names[i].size() + std::strlen(kTypes[i % 5]);
    }
    const std::size_t heapBefore = HeapInUse();
    TClock t0;
    view->BeginUpdate();
    for (std::size_t i = 0; i < rows; ++i) {
        TListItem* item = view->Items().Add();
        item->SetCaption(kTypes[i % 5]);
        item->SetStateIndex(int(i % 4));
        item->AddSubItem(names[i]);
    }
    view->EndUpdate();
    const std::string append = t0.Since();
    const std::size_t heap = HeapInUse() - heapBefore;

    view->SetAutoSortStyle(TAutoSortStyle::assSmart);
    t0 = TClock();
    view->SortColumn(1, true);
    const std::string sort = t0.Since();

    t0 = TClock();
    view->SetTopIndex(view->ItemCount());
    widget->repaint();
    const std::string page = t0.Since();

    std::printf("ours:  rows=%zu append_ms=%s smart_sort_ms=%s scroll_end_paint_ms=%s "
                "heap_bytes_per_row=%.1f text_bytes_per_row=%.1f overhead_per_row=%.1f\n",
                rows, append.c_str(), sort.c_str(), page.c_str(), double(heap) / double(rows),
                double(textBytes) / double(rows),
                (double(heap) - double(textBytes)) / double(rows));
}

void BenchPeer(std::size_t rows) {
    QStandardItemModel model(0, 2);
    model.setHorizontalHeaderLabels({"Type", "Name"});
    QTreeView tree;
    tree.setModel(&model);
    tree.setUniformRowHeights(true);
    tree.setRootIsDecorated(false);
    tree.resize(340, 600);
    tree.show();
    QApplication::processEvents();
    std::vector<QString> names(rows);
    for (std::size_t i = 0; i < rows; ++i)
        names[i] = QString::fromStdString(MixedText(i));
    const std::size_t heapBefore = HeapInUse();
    TClock t0;
    for (std::size_t i = 0; i < rows; ++i)
        model.appendRow({new QStandardItem(kTypes[i % 5]), new QStandardItem(names[i])});
    const std::string append = t0.Since();
    const std::size_t heap = HeapInUse() - heapBefore;
    t0 = TClock();
    model.sort(1);
    const std::string sort = t0.Since();
    t0 = TClock();
    tree.scrollToBottom();
    tree.viewport()->repaint();
    const std::string page = t0.Since();
    std::printf("peer:  rows=%zu append_ms=%s text_sort_ms=%s scroll_end_paint_ms=%s "
                "heap_bytes_per_row=%.1f\n",
                rows, append.c_str(), sort.c_str(), page.c_str(), double(heap) / double(rows));
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc > 2 && std::strcmp(argv[1], "--screenshot") == 0) return Screenshot(argv[2]);
    const std::size_t rows = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 700000;
    const std::size_t peerRows = argc > 2 ? std::strtoul(argv[2], nullptr, 10) : 100000;
    BenchOurs(std::min(rows, peerRows));
    BenchPeer(std::min(rows, peerRows));
    if (rows > peerRows) BenchOurs(rows);
    return 0;
}
