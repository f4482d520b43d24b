#include "editor/qvEditorCommands.h"

#include <gtest/gtest.h>

#include <set>

namespace ondrex {
namespace {

TEST(EditorCommandNames, TableHoldsEveryNamedCodeOnce) {
    auto names = EditorCommandNames();
    EXPECT_EQ(names.size(), 89u);
    std::set<TqvEditorCommand> codes;
    std::set<std::string_view> texts;
    for (const auto& entry : names) {
        codes.insert(entry.Command);
        texts.insert(entry.Name);
        EXPECT_EQ(entry.Name.substr(0, 2), "ec");
    }
    EXPECT_EQ(codes.size(), 89u);
    EXPECT_EQ(texts.size(), 89u);
}

TEST(EditorCommandNames, CodesKeepTheirNumbers) {
    EXPECT_EQ(CommandFromName("ecGotoXY"), 17);
    EXPECT_EQ(CommandFromName("ecSelGotoXY"), 117);
    EXPECT_EQ(CommandFromName("ecSelectAll"), 199);
    EXPECT_EQ(CommandFromName("ecChar"), 411);
    EXPECT_EQ(CommandFromName("ecImeStr"), 500);
    EXPECT_EQ(CommandFromName("ecMatchBracket"), 620);
    EXPECT_EQ(CommandFromName("ecGotoMarker9"), 710);
    EXPECT_EQ(CommandFromName("ecSetMarker0"), 751);
    EXPECT_EQ(CommandFromName("ecUserFirst"), 1001);
    // Every movement has its selecting twin 100 higher.
    for (TqvEditorCommand c = ecLeft; c <= ecGotoXY; ++c) {
        auto name = CommandToName(c);
        ASSERT_TRUE(name);
        EXPECT_EQ(CommandToName(TqvEditorCommand(c + 100)), "ecSel" + std::string(name->substr(2)));
    }
}

TEST(EditorCommandNames, NamesRoundTripWithoutRegardToCase) {
    for (const auto& entry : EditorCommandNames()) {
        EXPECT_EQ(CommandFromName(entry.Name), entry.Command);
        EXPECT_EQ(CommandToName(entry.Command), entry.Name);
    }
    EXPECT_EQ(CommandFromName("ECUP"), ecUp);
    EXPECT_EQ(CommandFromName("ecdeletelastword"), ecDeleteLastWord);
    EXPECT_FALSE(CommandFromName("ecUpp"));
    EXPECT_FALSE(CommandFromName(""));
    EXPECT_FALSE(CommandToName(18));
}

TEST(EditorCommandNames, TextFallsBackToTheNumber) {
    EXPECT_EQ(CommandToText(620), "ecMatchBracket");
    EXPECT_EQ(CommandToText(0), "ecNone");
    EXPECT_EQ(CommandToText(1500), "1500");
    EXPECT_EQ(CommandToText(65535), "65535");
}

} // namespace
} // namespace ondrex
