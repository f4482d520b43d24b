// The editor on the real screen fonts: "Courier New" resolves to a fixed-pitch face whose
// cells fit the classic 96-dpi figures, and a proportional face lends only its size.

#include "editor/TqvCustomEdit.h"

#include <gtest/gtest.h>

namespace ondrex {
namespace {

TEST(EditorScreenFont, CourierNewHasClassicCells) {
    TqvCustomEdit edit;
    EXPECT_GE(edit.CharWidth(), 7);
    EXPECT_LE(edit.CharWidth(), 9);
    EXPECT_GE(edit.LineHeight(), 13);
    EXPECT_LE(edit.LineHeight(), 17);
    edit.SetFont(TFont("Courier New", -16, fsBold));
    EXPECT_EQ(edit.Font().Name(), "Courier New") << "recognised as fixed-pitch";
}

TEST(EditorScreenFont, ProportionalFaceKeepsTheEditorsFace) {
    TqvCustomEdit edit;
    edit.SetFont(TFont("Liberation Sans", -16));
    EXPECT_EQ(edit.Font().Name(), "Courier New");
    EXPECT_EQ(edit.Font().Height(), -16);
}

} // namespace
} // namespace ondrex
