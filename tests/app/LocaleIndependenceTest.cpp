// The window sets the process locale from the environment. Case-insensitive answers must not
// change with it: a Turkish locale folds I to a dotless i, so a C library comparison would no
// longer find ".inc" as ".INC" or "INIT" as "init".

#include "app/ScriptScanner.h"
#include "editor/qvEditorCommands.h"
#include "highlighters/THighlighterList.h"
#include "highlighters/jxPHPSyn.h"
#include "platform/SettingsStore.h"
#include "platform/ShortCut.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>
#include <string>
#include <unistd.h>

namespace ondrex {
namespace {

// Runs `check` in the C locale and again in a Turkish one.
class UnderATurkishLocale : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* name : {"tr_TR.ISO-8859-9", "tr_TR.iso88599", "tr_TR.UTF-8", "tr_TR.utf8"})
            if (std::setlocale(LC_ALL, name)) {
                std::setlocale(LC_ALL, "C");
                turkish_ = name;
                return;
            }
        GTEST_SKIP() << "no Turkish locale installed (see `locale -a`); scripts/deps.sh "
                        "generates tr_TR.ISO-8859-9";
    }
    void TearDown() override { std::setlocale(LC_ALL, "C"); }

    template <class Check> void InBothLocales(Check check) {
        check();
        std::setlocale(LC_ALL, turkish_);
        check();
        std::setlocale(LC_ALL, "C");
    }

private:
    const char* turkish_ = nullptr;
};

TEST_F(UnderATurkishLocale, HighlighterLookupsFindEveryCase) {
    InBothLocales([] {
        const THighlighterList& list = THighlighterList::Instance();
        const THighlighterClass* vbs = list.FindByExtension(".INC");
        ASSERT_NE(vbs, nullptr);
        EXPECT_EQ(list.FindByExtension(".inc"), vbs);
        EXPECT_EQ(list.FindByLanguage("VBSCRIPT"), vbs);
        EXPECT_EQ(list.FindByLanguage("vbscrIpt"), vbs);

        // Attributes are unique by name without regard to case.
        TjxPHPSyn php;
        const int count = php.AttributeCount();
        EXPECT_EQ(php.AddAttribute(std::make_unique<TqvHighLightAttributes>("IDENTIFIER")),
                  nullptr);
        EXPECT_EQ(php.AttributeCount(), count);
    });
}

TEST_F(UnderATurkishLocale, ScannerFindsTheSameRows) {
    const std::string block = "FUNCTION Init()\nsub Initialise\nIf x Then Call Fill\nDIM i\n";
    TScanResults inC;
    TScriptScanner scanner;
    scanner.options = {true, true, true};
    scanner.ScanBlock(block, inC);
    ASSERT_EQ(inC.rows.size(), 5u);
    InBothLocales([&] {
        TScanResults results;
        scanner.ScanBlock(block, results);
        ASSERT_EQ(results.rows.size(), inC.rows.size());
        for (std::size_t i = 0; i < results.rows.size(); ++i)
            EXPECT_EQ(results.rows[i].name, inC.rows[i].name);
    });
}

TEST_F(UnderATurkishLocale, NamesOfCommandsKeysAndSettingsFoldOnlyAscii) {
    char path[] = "/tmp/ondrex-locale-XXXXXX";
    const int fd = mkstemp(path);
    ASSERT_GE(fd, 0);
    close(fd);
    InBothLocales([&] {
        EXPECT_EQ(CommandFromName("ECINSERTMODE"), CommandFromName("ecInsertMode"));
        EXPECT_TRUE(CommandFromName("ECINSERTMODE").has_value());
        EXPECT_EQ(TextToShortCut("SHIFT+INS"), TextToShortCut("Shift+Ins"));
        EXPECT_NE(TextToShortCut("SHIFT+INS"), 0);

        TSettingsStore store(path);
        ASSERT_TRUE(store.CreateKey("HKEY_CURRENT_USER\\Software\\Ondrex\\Items"));
        ASSERT_TRUE(
            store.SetValue("HKEY_CURRENT_USER\\Software\\Ondrex\\Items", "Limit", {true, 7, {}}));
        EXPECT_TRUE(store.KeyExists("hkey_current_user\\software\\ondrex\\ITEMS"));
        const auto value = store.FindValue("HKEY_CURRENT_USER\\SOFTWARE\\ONDREX\\items", "LIMIT");
        ASSERT_TRUE(value.has_value());
        EXPECT_EQ(value->integer, 7);
    });
    std::remove(path);
}

} // namespace
} // namespace ondrex
