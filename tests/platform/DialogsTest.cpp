// Dialog helpers and the scripted dialogs tests rely on.

#include "platform/Dialogs.h"
#include "platform/testing/ScriptedDialogs.h"

#include <gtest/gtest.h>

using namespace ondrex;

TEST(Dialogs, FilterStringsBecomeDescribedPatternLists) {
    const auto filters = ParseFilter("Webfiles|*.asp;*.inc; *.js|All files|*.*|Broken");
    ASSERT_EQ(filters.size(), 2u);
    EXPECT_EQ(filters[0], (TFileFilter{"Webfiles", {"*.asp", "*.inc", "*.js"}}));
    EXPECT_EQ(filters[1], (TFileFilter{"All files", {"*.*"}}));
    EXPECT_TRUE(ParseFilter("").empty());
}

TEST(Dialogs, DefaultExtensionOnlyForNamesWithoutOne) {
    EXPECT_EQ(ApplyDefaultExt("/tmp/page", ".asp"), "/tmp/page.asp");
    EXPECT_EQ(ApplyDefaultExt("/tmp/page", "asp"), "/tmp/page.asp");
    EXPECT_EQ(ApplyDefaultExt("/tmp/page.js", ".asp"), "/tmp/page.js");
    EXPECT_EQ(ApplyDefaultExt("/tmp.d/page", ".asp"), "/tmp.d/page.asp");
    EXPECT_EQ(ApplyDefaultExt("/tmp/page", ""), "/tmp/page");
}

TEST(Dialogs, ClosingABoxPicksCancelThenNoThenTheFirstButton) {
    EXPECT_EQ(DefaultAnswer(mbYesNoCancel), mrCancel);
    EXPECT_EQ(DefaultAnswer(mbYesNo), mrNo);
    EXPECT_EQ(DefaultAnswer(mbOK), mrOk);
    EXPECT_EQ(DefaultAnswer(mbAbort | mbRetry | mbIgnore), mrAbort);
}

TEST(ScriptedDialogs, AnswersInOrderRecordsAndNeverBlocks) {
    TScriptedDialogs& d = TScriptedDialogs::Install();
    EXPECT_EQ(&Dialogs(), &d);
    d.OpenFileAnswers = {"/tmp/a", std::nullopt};
    d.InputAnswers = {"myFunc"};
    d.MessageAnswers = {mrYes};

    TOpenDialogOptions options;
    options.DefaultExt = ".asp";
    EXPECT_EQ(Dialogs().OpenFile(options), "/tmp/a.asp");
    EXPECT_EQ(Dialogs().OpenFile(options), std::nullopt);
    EXPECT_EQ(Dialogs().OpenFile(options), std::nullopt); // nothing scripted: cancelled
    EXPECT_EQ(d.OpenFileCalls.size(), 3u);

    EXPECT_EQ(Dialogs().InputBox("Find", "Name:", "x"), "myFunc");
    EXPECT_EQ(Dialogs().InputBox("Find", "Name:", "x"), "x");
    ASSERT_EQ(d.InputCalls.size(), 2u);
    EXPECT_EQ(d.InputCalls[0].Prompt, "Name:");

    EXPECT_EQ(Dialogs().MessageDlg("Sure?", TMsgDlgType::mtConfirmation, mbYesNo), mrYes);
    EXPECT_EQ(Dialogs().MessageDlg("Sure?", TMsgDlgType::mtConfirmation, mbYesNo), mrNo);
    Dialogs().ShowMessage("done");
    ASSERT_EQ(d.Messages.size(), 3u);
    EXPECT_EQ(d.Messages[2].Text, "done");
    EXPECT_EQ(d.Messages[2].Buttons, mbOK);
}
