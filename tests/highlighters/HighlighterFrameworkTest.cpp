#include "highlighters/THighlighterList.h"
#include "highlighters/zkVBSSyn.h"

#include "platform/CodePage.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace ondrex {
namespace {

struct Counter {
    int calls = 0;
    TObject* sender = nullptr;
    void Changed(TObject* s) {
        ++calls;
        sender = s;
    }
};

TEST(HighLightAttributes, DefaultsAndChangeNotification) {
    TqvHighLightAttributes attribute("Comment");
    EXPECT_EQ(attribute.Background(), clSystemColor | 5);
    EXPECT_EQ(attribute.Foreground(), clSystemColor | 8);
    EXPECT_EQ(attribute.Style(), 0);
    Counter counter;
    attribute.OnChange = TNotifyEvent::bind<&Counter::Changed>(&counter);
    attribute.SetForeground(clSystemColor | 8);
    attribute.SetStyle(0);
    EXPECT_EQ(counter.calls, 0);
    attribute.SetForeground(clRed);
    attribute.SetBackground(clBlue);
    attribute.SetStyle(fsBold | fsUnderline);
    EXPECT_EQ(counter.calls, 3);
    EXPECT_EQ(counter.sender, &attribute);
}

TEST(HighLightAttributes, AssignCopiesAndNotifiesOnceOnlyForVisibleChanges) {
    TqvHighLightAttributes source("String"), target("Other");
    Counter counter;
    target.OnChange = TNotifyEvent::bind<&Counter::Changed>(&counter);
    target.Assign(&source);
    EXPECT_EQ(target.Name(), "String");
    EXPECT_EQ(counter.calls, 0);
    source.SetForeground(clRed);
    source.SetStyle(fsItalic);
    target.Assign(&source);
    EXPECT_EQ(counter.calls, 1);
    EXPECT_EQ(target.Foreground(), clRed);
    EXPECT_EQ(target.Style(), fsItalic);

    TzkVbsSyn notAnAttribute;
    try {
        target.Assign(&notAnAttribute);
        FAIL();
    } catch (const EConvertError& e) {
        EXPECT_STREQ(e.what(), "Cannot assign a TzkVbsSyn to a TqvHighLightAttributes");
    }
}

TEST(CustomHighLighter, AttributeListIsSortedByNameAndIgnoresDuplicates) {
    TzkVbsSyn syn;
    std::vector<std::string> names;
    for (int i = 0; i < syn.AttributeCount(); ++i)
        names.push_back(syn.AttributeAt(i)->Name());
    EXPECT_EQ(names, (std::vector<std::string>{"Comment", "Identifier", "Number", "Reserved word",
                                               "Space", "String", "Symbol"}));
    EXPECT_EQ(syn.AttributeAt(-1), nullptr);
    EXPECT_EQ(syn.AttributeAt(7), nullptr);
    EXPECT_EQ(syn.AddAttribute(std::make_unique<TqvHighLightAttributes>("comment")), nullptr);
    EXPECT_EQ(syn.AttributeCount(), 7);
    EXPECT_EQ(syn.AttributeAt(0), syn.CommentAttri);
}

TEST(CustomHighLighter, AttributeChangesReachHookedReceiversUntilUnhooked) {
    TzkVbsSyn syn;
    Counter editor1, editor2;
    const auto r1 = TNotifyEvent::bind<&Counter::Changed>(&editor1);
    const auto r2 = TNotifyEvent::bind<&Counter::Changed>(&editor2);
    syn.HookAttributeChange(r1);
    syn.HookAttributeChange(r2);
    syn.KeyAttri->SetForeground(clRed);
    syn.KeyAttri->SetForeground(clRed);
    EXPECT_EQ(editor1.calls, 1);
    EXPECT_EQ(editor2.calls, 1);
    EXPECT_EQ(editor1.sender, &syn);
    syn.UnhookAttributeChange(r1);
    syn.SymbolAttri->SetStyle(fsBold);
    EXPECT_EQ(editor1.calls, 1);
    EXPECT_EQ(editor2.calls, 2);
}

TEST(CustomHighLighter, BaseWordCharsAreAllButControlsAndSpace) {
    struct Bare : TqvCustomHighLighter {
        TqvHighLightAttributes* DefaultAttribute(int) const override { return nullptr; }
        std::string LanguageName() const override { return "bare"; }
        void ExportNextToken() override {}
        bool AtLineEnd() const override { return true; }
        TqvRangeState RangeState() const override { return 0; }
        std::string TokenText() const override { return {}; }
        TqvHighLightAttributes* TokenAttribute() const override { return nullptr; }
        int TokenKind() const override { return 0; }
        int TokenStart() const override { return 0; }
        void NextToken() override {}
        void StartLine(const char*, int) override {}
        void StartExportLine(const char*) override {}
        void SetRangeState(TqvRangeState) override {}
        void ResetRangeState() override {}
    } bare;
    EXPECT_EQ(bare.WordChars().count(), 223u);
    EXPECT_FALSE(bare.WordChars().test(32));
    EXPECT_TRUE(bare.WordChars().test(33));
    EXPECT_EQ(bare.Capabilities(), 2u);
}

TEST(KeywordTable, HashSchemes) {
    const THashScheme& letters = THashScheme::Letters();
    EXPECT_EQ(letters.Value('A'), 1);
    EXPECT_EQ(letters.Value('z'), 26);
    EXPECT_EQ(letters.Value('_'), 31);
    EXPECT_EQ(letters.Value('7'), 0);
    EXPECT_TRUE(letters.InClass('7'));
    EXPECT_FALSE(letters.InClass('$'));
    EXPECT_TRUE(letters.Matches('a', 'A'));
    EXPECT_TRUE(letters.Matches('1', '9'));
    const THashScheme& codes = THashScheme::CharacterCodes();
    EXPECT_EQ(codes.Hash("$NR"), 196u);
    EXPECT_FALSE(codes.Matches('a', 'A'));
    EXPECT_TRUE(codes.InClass('@') && codes.InClass('%') && !codes.InClass('-'));
}

TEST(KeywordTable, ClassifiesByHashLengthAndTestOrder) {
    TKeywordTable table(THashScheme::Letters(), 30);
    table.Add("ab", 7);
    table.Add("ba", 8); // same hash, tested second
    table.Add("c", 9);
    EXPECT_THROW(table.Add("zz", 2), std::logic_error);
    int length = 0;
    EXPECT_EQ(table.Classify("BA+", length), 8);
    EXPECT_EQ(length, 2);
    EXPECT_EQ(table.Classify("ab1", length), 1);
    EXPECT_EQ(length, 3);
    EXPECT_EQ(table.Classify("zzzz", length), 1); // hash 104, beyond the table
    EXPECT_EQ(table.Classify("", length), 1);
    EXPECT_EQ(length, 0);
}

TEST(HighlighterList, ChoosesByExtensionAndLanguage) {
    THighlighterList& list = THighlighterList::Instance();
    for (const char* name : {"page.htm", "lib.inc", "a.VBS", "x.Asp", "/d.x/y.html"})
        ASSERT_NE(list.FindForFile(name), nullptr) << name;
    EXPECT_EQ(list.FindForFile("lib.inc")->Language, "vbscript");
    EXPECT_EQ(list.FindForFile("a.txt"), nullptr);
    EXPECT_EQ(list.FindForFile("dir.asp/noext"), nullptr);
    ASSERT_NE(list.FindByLanguage("VBScript"), nullptr);
    EXPECT_EQ(list.FindByLanguage("VBScript")->Create()->LanguageName(), "MS VBScript");
    const int count = list.Count();
    RegisterHighlighter(list[0]);
    EXPECT_EQ(list.Count(), count);
}

// A language added with a slip (an extension or id another one already claims, a filter or
// title its highlighter does not report, styles for the wrong class) fails here.
TEST(HighlighterList, EveryLanguageIsWholeAndClaimsOnlyItsOwn) {
    const THighlighterList& list = THighlighterList::Instance();
    std::set<std::string> mimeTypes;
    for (int i = 0; i < list.Count(); ++i) {
        const THighlighterClass& language = list[i];
        SCOPED_TRACE(language.Language);
        EXPECT_EQ(list.IndexOf(language), i);
        EXPECT_EQ(list.FindByLanguage(language.Language), &language);
        EXPECT_EQ(list.FindByLanguage(language.WindowName), &language);
        const auto highlighter = language.Create();
        EXPECT_EQ(highlighter->ClassName(), language.ClassName);
        EXPECT_EQ(highlighter->LanguageName(), language.Title);
        EXPECT_EQ(highlighter->DefaultFilter(), language.Filter);
        language.ApplyWindowStyles(*highlighter);
        ASSERT_GE(language.OpenDialogExtensions, 1u);
        ASSERT_LE(language.OpenDialogExtensions, language.Extensions.size());
        for (const std::string& extension : language.Extensions) {
            EXPECT_EQ(extension, AnsiUpperCase(TCodePage::Utf8, extension));
            EXPECT_EQ(extension.rfind('.'), 0u) << extension;
            EXPECT_EQ(list.FindByExtension(extension), &language) << extension;
        }
        EXPECT_FALSE(language.MimeTypes.empty());
        for (const std::string& mime : language.MimeTypes)
            EXPECT_TRUE(mimeTypes.insert(mime).second) << mime << " claimed twice";
    }
    EXPECT_EQ(list.FindByLanguage("phpscript"), list.FindByLanguage("PHP"));
    EXPECT_EQ(list.FindByLanguage("perlscript"), list.FindByLanguage("perl"));
    EXPECT_EQ(list.FindByLanguage("script"), nullptr);
    EXPECT_EQ(list.IndexOf(THighlighterClass{}), -1);
    EXPECT_EQ(list.LanguageIds("|"), "vbscript|javascript|perl|php");
}

} // namespace
} // namespace ondrex
