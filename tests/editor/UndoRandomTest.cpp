// Undo never loses text: long random editing sessions undone completely give back the
// original bytes, and redone completely give back the edited bytes.

#include "EditorTestSupport.h"
#include "RandomEditing.h"

namespace ondrex::test {
namespace {

class UndoRandom : public EditorTest, public ::testing::WithParamInterface<int> {};

TEST_P(UndoRandom, UndoAllRestoresTheOriginalAndRedoAllTheEdit) {
    SizeFor(40, 10);
    constexpr int kSteps = 300;
    edit.SetMaxUndo(4 * kSteps + 10);
    for (int session = 0; session < 4; ++session) {
        const auto seed = std::uint32_t(GetParam() * 4 + session);
        TChoiceSource source(seed);
        const TSessionKind kind = SessionKindOf(seed);
        Clipboard().Clear();
        edit.SetText(RandomText(source, kind.MultiByte));
        const std::string original = edit.Text();
        edit.SetReadOnly(false);
        edit.SetInsertMode(true);
        for (int step = 0; step < kSteps; ++step) {
            RandomStep(edit, source, kind);
            ASSERT_TRUE(LinesAreWholeCharacters(edit)) << "seed " << seed << " step " << step;
        }
        // What an undo in the session left for redo is part of the edit.
        while (edit.CanRedo())
            edit.ExecuteCommand(ecRedo, {}, nullptr);
        const std::string edited = edit.Text();
        while (edit.CanUndo())
            edit.ExecuteCommand(ecUndo, {}, nullptr);
        ASSERT_EQ(edit.Text(), original) << "seed " << seed;
        while (edit.CanRedo())
            edit.ExecuteCommand(ecRedo, {}, nullptr);
        ASSERT_EQ(edit.Text(), edited) << "seed " << seed;
    }
}

// Each step on its own: undoing what it recorded gives the text before it, redoing that
// gives the text after it. Names the step that breaks undo.
TEST_P(UndoRandom, EveryStepUndoesAndRedoesOnItsOwn) {
    SizeFor(40, 10);
    edit.SetMaxUndo(1000);
    const auto seed = std::uint32_t(1000 + GetParam());
    TChoiceSource source(seed);
    const TSessionKind kind = SessionKindOf(seed);
    Clipboard().Clear();
    edit.SetText(RandomText(source, kind.MultiByte));
    for (int step = 0; step < 300; ++step) {
        const std::string before = edit.Text();
        const int undoBefore = edit.UndoList().Count();
        std::string trace;
        RandomStep(edit, source, kind, &trace);
        const std::string after = edit.Text();
        const int records = edit.UndoList().Count() - undoBefore;
        if (trace.find("ecUndo") != std::string::npos ||
            trace.find("ecRedo") != std::string::npos || records <= 0)
            continue;
        int undos = 0;
        while (edit.UndoList().Count() > undoBefore) {
            edit.Undo();
            ++undos;
        }
        ASSERT_EQ(edit.Text(), before) << "seed " << seed << " step " << step << "\n" << trace;
        for (int i = 0; i < undos; ++i)
            edit.Redo();
        ASSERT_EQ(edit.Text(), after) << "seed " << seed << " step " << step << "\n" << trace;
    }
}

INSTANTIATE_TEST_SUITE_P(Seeds, UndoRandom, ::testing::Range(0, 60));

} // namespace
} // namespace ondrex::test
