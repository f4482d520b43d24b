#include "highlighters/THighlighterList.h"
#include "highlighters/zkVBSSyn.h"

#include "platform/CodePage.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>
#include <string>
#include <sys/mman.h>
#include <unistd.h>
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

// Identifiers are read sixteen bytes at a time where those bytes lie in the page: every
// answer agrees with a slow reading of the words, for both schemes, with keywords of 1 to 20
// characters (around the 15 a key holds) and equal keys added twice, identifiers that
// change case or leave the class anywhere, ended by any byte (NUL, ASCII, Windows-1252
// letters, UTF-8 lead bytes), their end on the last bytes before an unreadable page or
// further from it.
TEST(KeywordTable, ReadingSixteenAtATimeAgreesWithASlowReading) {
    const long page = sysconf(_SC_PAGESIZE);
    char* const area = static_cast<char*>(
        mmap(nullptr, 2 * page, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0));
    ASSERT_NE(area, MAP_FAILED);
    ASSERT_EQ(mprotect(area + page, page, PROT_NONE), 0);
    std::mt19937 random(5);
    for (const THashScheme* scheme : {&THashScheme::Letters(), &THashScheme::CharacterCodes()}) {
        const std::string alphabet =
            scheme == &THashScheme::Letters() ? "abcxyzABCXYZ019_" : "abcxyzABCXYZ019_$%@";
        std::vector<std::pair<std::string, std::uint8_t>> keywords;
        TKeywordTable table(*scheme, 8000);
        for (int i = 0; i < 400; ++i) {
            std::string word;
            for (std::size_t n = 1 + random() % 20; word.size() < n;)
                word += alphabet[random() % alphabet.size()];
            if (i % 50 == 0 && !keywords.empty()) word = keywords[random() % keywords.size()].first;
            if (scheme->Hash(word) >= 8000) continue;
            keywords.emplace_back(word, std::uint8_t(2 + random() % 200));
            table.Add(word, keywords.back().second);
        }
        auto slow = [&](const char* text, int& length) -> std::uint8_t {
            for (length = 0; scheme->InClass(static_cast<unsigned char>(text[length]));)
                ++length;
            for (const auto& [word, kind] : keywords)
                if (int(word.size()) == length &&
                    std::equal(word.begin(), word.end(), text,
                               [&](char a, char b) { return scheme->Matches(a, b); }))
                    return kind;
            return 1;
        };
        const std::string ends[] = {
            std::string(1, '\0'), "-", " x", "\x80", "\xC9t", "\xff", "$", ".", "\xC3\xA9", "@"};
        for (int i = 0; i < 30000; ++i) {
            std::string text = keywords[random() % keywords.size()].first;
            for (char& c : text)
                if (random() % 8 == 0) c ^= 0x20; // letters change case, digits leave the class
            if (random() % 3 == 0) text.resize(random() % (text.size() + 1));
            if (random() % 3 == 0) text += alphabet[random() % alphabet.size()];
            text += ends[random() % std::size(ends)];
            const std::size_t gap = random() % 2 ? 0 : random() % 40;
            char* const at = area + page - text.size() - 1 - gap;
            std::copy(text.begin(), text.end(), at);
            at[text.size()] = '\0';
            int length = -1, plainLength = -1, want = -1;
            const std::uint8_t kind = slow(at, want);
            EXPECT_EQ(table.Classify(at, length), kind) << testing::PrintToString(text);
            EXPECT_EQ(length, want) << testing::PrintToString(text);
            EXPECT_EQ(table.ClassifyPlain(at, plainLength), kind) << testing::PrintToString(text);
            EXPECT_EQ(plainLength, want) << testing::PrintToString(text);
        }
    }
    munmap(area, 2 * page);
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
