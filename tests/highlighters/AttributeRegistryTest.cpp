#include "highlighters/zkVBSSyn.h"
#include "platform/SettingsStore.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <unistd.h>

namespace ondrex {
namespace {

class AttributeRegistryTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir = std::filesystem::temp_directory_path() /
              ("ondrex-attr-" + std::to_string(::getpid()) + "-" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(dir);
        TSettingsStore::SetDefaultFileName((dir / "registry.ini").string());
    }
    void TearDown() override {
        TSettingsStore::SetDefaultFileName("");
        std::filesystem::remove_all(dir);
    }
    static void Put(const std::string& key, const std::string& name, std::int32_t value) {
        TBetterRegistry registry;
        ASSERT_TRUE(registry.OpenKey(key, true));
        registry.WriteInteger(name, value);
    }
    static void PutText(const std::string& key, const std::string& name, const std::string& value) {
        TBetterRegistry registry;
        ASSERT_TRUE(registry.OpenKey(key, true));
        registry.WriteString(name, value);
    }

    std::filesystem::path dir;
};

TEST_F(AttributeRegistryTest, SaveThenLoadRestoresEveryAttribute) {
    TzkVbsSyn saved;
    saved.KeyAttri->SetForeground(clRed);
    saved.CommentAttri->SetStyle(fsItalic | fsUnderline | fsStrikeOut);
    saved.StringAttri->SetBackground(clYellow);
    ASSERT_TRUE(saved.SaveAttributesToRegistry(HKEY_CURRENT_USER, "\\Software\\Ondrex\\VBS"));

    TBetterRegistry registry;
    ASSERT_TRUE(registry.OpenKeyReadOnly("\\Software\\Ondrex\\VBS\\Reserved word"));
    EXPECT_EQ(registry.ReadInteger("Foreground"), static_cast<std::int32_t>(clRed));
    EXPECT_EQ(registry.ReadInteger("Style"), fsBold);
    EXPECT_EQ(registry.ReadInteger("Background"), static_cast<std::int32_t>(clSystemColor | 5));

    TzkVbsSyn loaded;
    ASSERT_TRUE(loaded.LoadAttributesFromRegistry(HKEY_CURRENT_USER, "\\Software\\Ondrex\\VBS"));
    EXPECT_EQ(loaded.KeyAttri->Foreground(), clRed);
    EXPECT_EQ(loaded.CommentAttri->Style(), fsItalic | fsUnderline | fsStrikeOut);
    EXPECT_EQ(loaded.StringAttri->Background(), clYellow);
}

TEST_F(AttributeRegistryTest, MissingKeyChangesNothingAndIsNotCreated) {
    TzkVbsSyn syn;
    EXPECT_FALSE(syn.LoadAttributesFromRegistry(HKEY_CURRENT_USER, "\\Software\\Nothing"));
    EXPECT_EQ(syn.KeyAttri->Style(), fsBold);
    EXPECT_FALSE(TBetterRegistry().KeyExists("\\Software\\Nothing"));
}

TEST_F(AttributeRegistryTest, MissingSecondSubkeyStopsAfterTheFirst) {
    // List order: Comment, Identifier, Number, ...; Identifier is missing.
    Put("\\S\\Comment", "Foreground", static_cast<std::int32_t>(clGreen));
    Put("\\S\\Number", "Foreground", static_cast<std::int32_t>(clBlue));
    TzkVbsSyn syn;
    EXPECT_FALSE(syn.LoadAttributesFromRegistry(HKEY_CURRENT_USER, "\\S"));
    EXPECT_EQ(syn.CommentAttri->Foreground(), clGreen);
    EXPECT_EQ(syn.NumberAttri->Foreground(), clSystemColor | 8);
}

TEST_F(AttributeRegistryTest, StyleBitsAreAppliedOneSetterAtATime) {
    Put("\\S\\Comment", "Style", fsBold | fsUnderline);
    TzkVbsSyn syn;
    std::vector<TFontStyles> seen;
    struct Recorder {
        std::vector<TFontStyles>* seen;
        TqvHighLightAttributes* attribute;
        void Changed(TObject*) { seen->push_back(attribute->Style()); }
    } recorder{&seen, syn.CommentAttri};
    syn.CommentAttri->OnChange = TNotifyEvent::bind<&Recorder::Changed>(&recorder);
    TBetterRegistry registry;
    ASSERT_TRUE(registry.OpenKeyReadOnly("\\S"));
    EXPECT_TRUE(syn.CommentAttri->ReadFromRegistry(registry));
    EXPECT_EQ(seen, (std::vector<TFontStyles>{fsBold, fsBold | fsUnderline}));
    EXPECT_EQ(registry.CurrentPath(), "S");
}

TEST_F(AttributeRegistryTest, WrongValueTypeReachesTheCaller) {
    PutText("\\S\\Comment", "Background", "white");
    TzkVbsSyn syn;
    try {
        syn.LoadAttributesFromRegistry(HKEY_CURRENT_USER, "\\S");
        FAIL();
    } catch (const ERegistryException& e) {
        EXPECT_STREQ(e.what(), "Invalid data type for 'Background'");
    }
}

TEST_F(AttributeRegistryTest, ImportNewLayout) {
    const std::string key = "\\Editor\\Colors\\Comment";
    Put(key, "Foreground Color", 9);
    Put(key, "Background Color", 14);
    PutText(key, "Bold", "True");
    PutText(key, "Italic", "false");
    PutText(key, "Underline", "1");
    PutText(key, "Default Foreground", "0");
    PutText(key, "Default Background", "-1");
    TqvHighLightAttributes attribute("Comment");
    ASSERT_TRUE(
        attribute.ImportEditorColors(HKEY_CURRENT_USER, "\\Editor\\Colors", true, "Comment"));
    EXPECT_EQ(attribute.Foreground(), clRed);
    EXPECT_EQ(attribute.Background(), clSystemColor | 5);
    EXPECT_EQ(attribute.Style(), fsBold | fsUnderline);

    TqvHighLightAttributes untouched("x");
    PutText("\\Editor\\Colors\\Partial", "Bold", "1");
    EXPECT_FALSE(
        untouched.ImportEditorColors(HKEY_CURRENT_USER, "\\Editor\\Colors", true, "Partial"));
    EXPECT_FALSE(
        untouched.ImportEditorColors(HKEY_CURRENT_USER, "\\Editor\\Colors", true, "Missing"));
    EXPECT_EQ(untouched.Style(), 0);
}

TEST_F(AttributeRegistryTest, ImportOldLayout) {
    PutText("\\Old", "Comment", "x,y,BIU,0,1,12,4");
    PutText("\\Old", "Keyword", "x,y,,1,0,3,15");
    TqvHighLightAttributes a("a"), b("b");
    ASSERT_TRUE(a.ImportEditorColors(HKEY_CURRENT_USER, "\\Old", false, "Comment"));
    EXPECT_EQ(a.Background(), clSystemColor | 5);
    EXPECT_EQ(a.Foreground(), clBlue);
    EXPECT_EQ(a.Style(), fsBold | fsItalic | fsUnderline);
    ASSERT_TRUE(b.ImportEditorColors(HKEY_CURRENT_USER, "\\Old", false, "Keyword"));
    EXPECT_EQ(b.Background(), clWhite);
    EXPECT_EQ(b.Foreground(), clSystemColor | 8);
    EXPECT_FALSE(b.ImportEditorColors(HKEY_CURRENT_USER, "\\Old", false, "Missing"));
}

TEST_F(AttributeRegistryTest, ImportNeverReadsOutsideThePalette) {
    PutText("\\Old", "Big", "x,y,B,1,0,0,16");
    PutText("\\Old", "Negative", "x,y,B,1,0,0,-1");
    PutText("\\Old", "Text", "x,y,B,0,0,1,red");
    PutText("\\Old", "Short", "x,y,B");
    TqvHighLightAttributes attribute("a");
    for (const char* name : {"Big", "Negative", "Text", "Short"})
        EXPECT_FALSE(attribute.ImportEditorColors(HKEY_CURRENT_USER, "\\Old", false, name)) << name;
    EXPECT_EQ(attribute.Background(), clSystemColor | 5);
    EXPECT_EQ(attribute.Style(), 0);

    // The background was applied before the foreground index failed; it stays.
    PutText("\\Old", "Half", "x,y,B,0,0,99,2");
    EXPECT_FALSE(attribute.ImportEditorColors(HKEY_CURRENT_USER, "\\Old", false, "Half"));
    EXPECT_EQ(attribute.Background(), clGreen);
}

} // namespace
} // namespace ondrex
