// Keys reach commands through the keystroke table (chords included), characters become
// ecChar unless their key already ran a command, and every command runs in one frame:
// the processing hook, the paint lock, then OnCommandDone.

#include "EditorTestSupport.h"

#include <string>
#include <utility>
#include <vector>

namespace ondrex::test {
namespace {

struct Seen {
    TqvEditorCommand command;
    std::string character;
    bool user;
};

class EditorKeys : public EditorTest {
protected:
    EditorKeys() {
        edit.OnProcessCommand = TqvProcessCommandEvent::fromFunction(
            [](void* self, TObject*, TqvEditorCommand& c, std::string& ch, void*) {
                auto* t = static_cast<EditorKeys*>(self);
                t->seen.push_back({c, ch, false});
                if (c == t->cancel) c = ecNone;
            },
            this);
        edit.OnProcessUserCommand = TqvProcessCommandEvent::fromFunction(
            [](void* self, TObject*, TqvEditorCommand& c, std::string& ch, void*) {
                static_cast<EditorKeys*>(self)->seen.push_back({c, ch, true});
            },
            this);
        edit.OnCommandDone = TNotifyEvent::fromFunction(
            [](void* self, TObject*) { ++static_cast<EditorKeys*>(self)->done; }, this);
        edit.SetText("one\ntwo\nthree");
    }

    void Type(std::uint16_t key, TShiftState shift, const std::string& character = {}) {
        host.SendKeyDown(key, shift);
        if (!character.empty()) host.SendChar(character);
    }

    std::vector<Seen> seen;
    int done = 0;
    TqvEditorCommand cancel = ecNone;
};

TEST_F(EditorKeys, BoundKeyRunsItsCommandAndSwallowsItsCharacter) {
    Type(VK_RETURN, 0, "\r");
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].command, ecLineBreak);
    EXPECT_EQ(done, 1);

    Type('A', ssShift, "A");
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[1].command, ecChar);
    EXPECT_EQ(seen[1].character, "A");
}

TEST_F(EditorKeys, KeyDownHandlerSeesTheKeyFirst) {
    std::vector<std::uint16_t> keys;
    edit.OnKeyDown = TKeyEvent::fromFunction(
        [](void* out, TObject*, std::uint16_t& key, TShiftState) {
            static_cast<std::vector<std::uint16_t>*>(out)->push_back(key);
            if (key == VK_DOWN) key = 0;
        },
        &keys);
    Type(VK_UP, 0);
    Type(VK_DOWN, 0);
    EXPECT_EQ(keys, (std::vector<std::uint16_t>{VK_UP, VK_DOWN}));
    ASSERT_EQ(seen.size(), 1u) << "a key consumed by the handler runs nothing";
    EXPECT_EQ(seen[0].command, ecUp);
}

TEST_F(EditorKeys, ChordsCompleteWithTheSecondKey) {
    TqvKeyStroke& chord = edit.Keystrokes().Add();
    chord.SetShortCut(ShortCut('Q', ssCtrl));
    chord.SetShortCut2(ShortCut('B', ssCtrl));
    chord.SetCommand(ecMatchBracket);

    Type('Q', ssCtrl);
    Type('B', ssCtrl);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].command, ecMatchBracket);

    seen.clear();
    Type('Q', ssCtrl);
    Type('A', ssCtrl);
    ASSERT_EQ(seen.size(), 1u) << "no chord: the second key counts alone";
    EXPECT_EQ(seen[0].command, ecSelectAll);

    seen.clear();
    Type('Q', ssCtrl);
    Type(VK_SHIFT, ssShift);
    Type('B', ssCtrl);
    EXPECT_TRUE(seen.empty()) << "Shift alone (16) is no chord prefix and clears it";
}

TEST_F(EditorKeys, UserCommandsGoOnlyToTheirOwnHook) {
    edit.ExecuteCommand(ecUserFirst + 4, "x", nullptr);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_TRUE(seen[0].user);
    EXPECT_EQ(seen[0].command, 1005);
    EXPECT_EQ(done, 0);

    edit.ExecuteCommand(ecUserFirst - 1, {}, nullptr);
    EXPECT_FALSE(seen[1].user);
    EXPECT_EQ(done, 1);
}

TEST_F(EditorKeys, HookMayCancelACommand) {
    cancel = ecToggleMode;
    Type(VK_INSERT, 0);
    EXPECT_TRUE(edit.InsertMode());
    EXPECT_EQ(done, 0);
    cancel = ecNone;
    Type(VK_INSERT, 0);
    EXPECT_FALSE(edit.InsertMode());
    EXPECT_EQ(done, 1);
}

TEST_F(EditorKeys, CommandsRunInsideThePaintLock) {
    std::vector<TqvStatusChanges> reports;
    edit.OnStatusChange = TqvStatusChangeEvent::fromFunction(
        [](void* out, TObject*, TqvStatusChanges c) {
            static_cast<std::vector<TqvStatusChanges>*>(out)->push_back(c);
        },
        &reports);
    edit.ExecuteCommand(ecToggleMode, {}, nullptr);
    EXPECT_EQ(reports, (std::vector<TqvStatusChanges>{scInsertMode}));
    edit.ExecuteCommand(ecColumnSelect, {}, nullptr);
    EXPECT_EQ(edit.SelectionMode(), smColumn);
}

TEST_F(EditorKeys, KeyPressHandlerMayChangeTheCharacter) {
    edit.OnKeyPress =
        TKeyPressEvent::fromFunction([](void*, TObject*, std::string& ch) { ch = "z"; }, nullptr);
    host.SendChar("a");
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].character, "z");
}

TEST_F(EditorKeys, InputMethodTextIsInsertedOnceNotPerCharacter) {
    host.SendImeResult("h\xC3\xA9!");
    ASSERT_EQ(seen.size(), 1u) << "the three characters sent after it are swallowed";
    EXPECT_EQ(seen[0].command, ecImeStr);
    host.SendChar("x");
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[1].command, ecChar);
}

TEST_F(EditorKeys, TabIsInputOnlyWithWantTabs) {
    host.Focus();
    EXPECT_FALSE(host.WantsTab(0));
    edit.SetWantTabs(true);
    EXPECT_TRUE(host.WantsTab(0));
    EXPECT_FALSE(host.WantsTab(ssCtrl));
}

} // namespace
} // namespace ondrex::test
