// Paired calls end however the code between them ends, and a failure of the closing call
// is reported, never lost and never fatal.

#include "EditorTestSupport.h"

#include "platform/testing/ScriptedDialogs.h"

#include <stdexcept>
#include <string>
#include <utility>

namespace ondrex::test {
namespace {

struct Thrower {
    void Fail(TObject*) { throw std::runtime_error("handler failed"); }
    TNotifyEvent Event() { return TNotifyEvent::bind<&Thrower::Fail>(this); }
};

TEST(LinesUpdate, FailingChangedHandlerReachesTheCallerWithTheBracketClosed) {
    TqvEditList lines;
    Thrower thrower;
    lines.OnChange = thrower.Event();
    // Used to end the program: the bracket closed in a destructor that may not throw.
    EXPECT_THROW(lines.Add("a"), std::runtime_error);
    EXPECT_EQ(lines.UpdateCount(), 0);
    EXPECT_EQ(lines.Count(), 1);

    // When the change itself fails, that first error is the one reported.
    struct AddFails {
        void Fail(TObject*) { throw std::logic_error("added"); }
    } addFails;
    lines.OnAdded = TNotifyEvent::bind<&AddFails::Fail>(&addFails);
    EXPECT_THROW(lines.Add("b"), std::logic_error);
    EXPECT_EQ(lines.UpdateCount(), 0);
}

TEST(PaintLock, EndsWhenACommandFails) {
    RecordingScreen screen;
    struct FailingEdit : TqvCustomEdit {
        void CommandProcessor(TqvEditorCommand, const std::string&, void*) override {
            SetCaretPos({3, 1});
            throw std::runtime_error("command failed");
        }
    };
    FailingEdit failing;
    TTestControlHost failingHost{failing};
    failingHost.SendResize();
    failing.SetText("abcdef");
    int reports = 0;
    struct StatusLog {
        int* reports;
        void Changed(TObject*, TqvStatusChanges) { ++*reports; }
    } log{&reports};
    failing.OnStatusChange = TqvStatusChangeEvent::bind<&StatusLog::Changed>(&log);
    EXPECT_THROW(failing.ExecuteCommand(ecRight, "", nullptr), std::runtime_error);
    // The caret move made inside the lock was reported when the lock ended.
    EXPECT_GT(reports, 0);
    failing.SetCaretPos({1, 1});
    EXPECT_GT(reports, 1); // and later changes report at once: the lock is not left held
}

TEST(TextDrawerBinding, LetGoOfTheCanvasWhenAPaintFails) {
    RecordingScreen screen;
    TqvCustomEdit edit;
    TTestControlHost host{edit};
    host.SendResize();
    edit.SetText("a\nb");
    TScriptedDialogs& dialogs = TScriptedDialogs::Install();
    struct FailOnce {
        bool armed = true;
        void Colors(TObject*, int, bool&, TColor&, TColor&) {
            if (std::exchange(armed, false)) throw std::runtime_error("colours failed");
        }
    } failOnce;
    edit.OnSpecialLineColors = TqvSpecialLineColorsEvent::bind<&FailOnce::Colors>(&failOnce);
    host.PaintAll(); // the failure goes to the application's handler
    // The next paint, on a canvas of its own, draws the text: the drawer is not still bound to
    // the failed paint's canvas.
    EXPECT_FALSE(host.PaintAll().CallsOf(TDrawKind::Text).empty());
    ASSERT_EQ(dialogs.Messages.size(), 1u);
    EXPECT_EQ(dialogs.Messages[0].Text, "colours failed");
    SetDialogs(nullptr);
}

} // namespace
} // namespace ondrex::test
