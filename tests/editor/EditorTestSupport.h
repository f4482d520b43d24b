#pragma once
// A headless editor for tests: fonts are measured on a recording canvas, so "Courier New"
// at height -13 has cells of 8 x 13 pixels on every machine, and the editor sits in a test
// host whose client area is exactly the size given.

#include "editor/TqvCustomEdit.h"
#include "platform/testing/RecordingCanvas.h"
#include "platform/testing/TestControlHost.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace ondrex::test {

// Installs the recording canvas before anything is measured and removes it afterwards.
class RecordingScreen {
public:
    RecordingScreen() {
        GetFontsInfoManager().SetScreenCanvas(std::make_unique<TRecordingCanvas>());
    }
    ~RecordingScreen() { GetFontsInfoManager().SetScreenCanvas(nullptr); }
};

// Marks one line yellow on blue through OnSpecialLineColors, as the application marks its
// caret line.
struct YellowOnBlueLine {
    int line = 0;
    void Attach(TqvCustomEdit& edit) {
        edit.OnSpecialLineColors = TqvSpecialLineColorsEvent::bind<&YellowOnBlueLine::Colors>(this);
    }
    void Colors(TObject*, int l, bool& special, TColor& fg, TColor& bg) {
        if (l != line) return;
        special = true;
        fg = clYellow;
        bg = clBlue;
    }
};

class EditorTest : public ::testing::Test {
protected:
    static constexpr int kCharWidth = 8;
    static constexpr int kLineHeight = 13;

    EditorTest() { host.SendResize(); }

    // A client area of `columns` whole columns right of the default 30-pixel gutter and
    // `lines` whole lines.
    void SizeFor(int columns, int lines) {
        edit.SetBounds(0, 0, 30 + 2 + columns * kCharWidth, lines * kLineHeight);
    }

    void FillLines(int count, const std::string& text = "line") {
        std::string block;
        for (int i = 1; i <= count; ++i)
            block += text + std::to_string(i) + "\n";
        edit.SetText(block);
    }

    RecordingScreen screen;
    TqvCustomEdit edit;
    TTestControlHost host{edit};
};

} // namespace ondrex::test
