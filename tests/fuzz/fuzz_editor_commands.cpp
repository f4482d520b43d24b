// libFuzzer target: any bytes become an editing session (the first byte picks single-byte
// text with column blocks, text with multi-byte characters and tabs, or that text with
// column blocks; then the text and the commands). Every line keeps whole characters, undoing
// everything gives back the text, redoing everything gives back the edit.

#include "../editor/RandomEditing.h"
#include "editor/TqvCustomEdit.h"
#include "editor/TuzFontsInfoManager.h"
#include "platform/Clipboard.h"
#include "platform/testing/RecordingCanvas.h"
#include "platform/testing/TestControlHost.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    ondrex::GetFontsInfoManager().SetScreenCanvas(std::make_unique<ondrex::TRecordingCanvas>());
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace ondrex;
    using namespace ondrex::test;
    if (size == 0) return 0;
    const TSessionKind kind = SessionKindOf(data[0]);
    TChoiceSource source(data + 1, size - 1);
    TqvCustomEdit edit;
    TTestControlHost host{edit};
    host.SendResize();
    edit.SetBounds(0, 0, 32 + 40 * 8, 10 * 13);
    edit.SetMaxUndo(int(size) * 4 + 10);
    Clipboard().Clear();
    edit.SetText(RandomText(source, kind.MultiByte));
    const std::string original = edit.Text();
    // Pasting the whole text again and again doubles it each time: a session stops growing
    // there, since time spent on megabytes finds nothing that kilobytes do not.
    constexpr int kMaxLines = 20000;
    while (!source.Exhausted() && edit.LineCount() < kMaxLines) {
        RandomStep(edit, source, kind);
        if (kind.MultiByte && !LinesAreWholeCharacters(edit)) std::abort();
    }
    while (edit.CanRedo())
        edit.Redo();
    const std::string edited = edit.Text();
    while (edit.CanUndo())
        edit.Undo();
    if (edit.Text() != original) std::abort();
    while (edit.CanRedo())
        edit.Redo();
    if (edit.Text() != edited) std::abort();
    return 0;
}
