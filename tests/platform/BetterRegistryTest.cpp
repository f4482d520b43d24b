#include "platform/BetterRegistry.h"
#include "platform/SettingsStore.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace ondrex {
namespace {

class BetterRegistryTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir = std::filesystem::temp_directory_path() /
              ("ondrex-registry-" + std::to_string(::getpid()) + "-" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(dir);
        file = (dir / "ondrex" / "registry.ini").string();
    }
    void TearDown() override { std::filesystem::remove_all(dir); }

    std::shared_ptr<TSettingsStore> Store() { return std::make_shared<TSettingsStore>(file); }
    std::string FileText() {
        std::ifstream in(file);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }

    std::filesystem::path dir;
    std::string file;
};

TEST_F(BetterRegistryTest, ValuesSurviveInTheFileWithTheirTypes) {
    {
        TBetterRegistry registry(Store());
        ASSERT_TRUE(registry.OpenKey("\\Software\\Ondrex\\Colors", true));
        registry.WriteInteger("Background", static_cast<std::int32_t>(0x80000005));
        registry.WriteInteger("Negative", -7);
        registry.WriteString("Title", "quote \" back \\ tab\t line\nend");
    }
    TBetterRegistry reread(Store());
    ASSERT_TRUE(reread.OpenKeyReadOnly("Software\\ondrex\\COLORS"));
    EXPECT_EQ(static_cast<std::uint32_t>(reread.ReadInteger("background")), 0x80000005u);
    EXPECT_EQ(reread.ReadInteger("Negative"), -7);
    EXPECT_EQ(reread.ReadString("Title"), "quote \" back \\ tab\t line\nend");
    EXPECT_NE(FileText().find("[HKEY_CURRENT_USER\\Software\\Ondrex\\Colors]"), std::string::npos);
}

TEST_F(BetterRegistryTest, WrongTypeAndMissingValueRaiseNamedErrors) {
    TBetterRegistry registry(Store());
    ASSERT_TRUE(registry.OpenKey("Software\\T", true));
    registry.WriteString("Style", "bold");
    registry.WriteInteger("Count", 3);
    try {
        registry.ReadInteger("Style");
        FAIL();
    } catch (const ERegistryException& e) {
        EXPECT_STREQ(e.what(), "Invalid data type for 'Style'");
    }
    EXPECT_THROW(registry.ReadString("Count"), ERegistryException);
    EXPECT_THROW(registry.ReadInteger("Missing"), ERegistryException);
    EXPECT_EQ(registry.ReadString("Missing"), "");
}

TEST_F(BetterRegistryTest, RelativeAndAbsolutePathsAndReadOnlyAccess) {
    TBetterRegistry registry(Store());
    EXPECT_FALSE(registry.OpenKeyReadOnly("\\A"));
    EXPECT_FALSE(registry.OpenKey("\\A", false));
    ASSERT_TRUE(registry.OpenKey("\\A", true));
    ASSERT_TRUE(registry.OpenKey("B\\C", true));
    EXPECT_EQ(registry.CurrentPath(), "A\\B\\C");
    ASSERT_TRUE(registry.OpenKeyReadOnly("\\A\\B"));
    EXPECT_EQ(registry.CurrentPath(), "A\\B");
    EXPECT_EQ(registry.GetKeyNames(), std::vector<std::string>{"C"});
    EXPECT_THROW(registry.WriteInteger("X", 1), ERegistryException);
    EXPECT_FALSE(registry.OpenKeyReadOnly("Nope"));
    EXPECT_EQ(registry.CurrentPath(), "A\\B");
}

TEST_F(BetterRegistryTest, RootKeysAreSeparateAndKeysCanBeDeleted) {
    TBetterRegistry registry(Store());
    ASSERT_TRUE(registry.OpenKey("\\K\\Sub", true));
    registry.SetRootKey(HKEY_LOCAL_MACHINE);
    EXPECT_FALSE(registry.KeyExists("\\K"));
    registry.SetRootKey(HKEY_CURRENT_USER);
    EXPECT_TRUE(registry.KeyExists("\\K\\Sub"));
    EXPECT_TRUE(registry.DeleteKey("\\K"));
    EXPECT_FALSE(registry.KeyExists("\\K\\Sub"));
    EXPECT_FALSE(Store()->KeyExists("HKEY_CURRENT_USER\\K"));
}

TEST_F(BetterRegistryTest, DamagedLinesAreSkipped) {
    std::filesystem::create_directories(dir / "ondrex");
    std::ofstream(file)
        << "[HKEY_CURRENT_USER\\S]\n\"Good\"=dword:0000002a\n"
           "\"Bad\"=dword:xyz\nrubbish\n\"Open=\"x\n\"Text\"=\"t\"\n[broken\n\"Lost\"=\"t\"\n";
    TBetterRegistry registry(Store());
    ASSERT_TRUE(registry.OpenKeyReadOnly("\\S"));
    EXPECT_EQ(registry.ReadInteger("Good"), 42);
    EXPECT_FALSE(registry.ValueExists("Bad"));
    EXPECT_EQ(registry.GetValueNames(), (std::vector<std::string>{"Good", "Text"}));
}

TEST_F(BetterRegistryTest, DefaultFileFollowsXdgConfigHome) {
    const char* old = std::getenv("XDG_CONFIG_HOME");
    const std::string saved = old ? old : "";
    setenv("XDG_CONFIG_HOME", dir.c_str(), 1);
    TSettingsStore::SetDefaultFileName("");
    EXPECT_EQ(TSettingsStore::DefaultFileName(), file);
    {
        TBetterRegistry registry;
        ASSERT_TRUE(registry.OpenKey("\\X", true));
        registry.WriteInteger("V", 1);
    }
    EXPECT_TRUE(std::filesystem::exists(file));
    if (old)
        setenv("XDG_CONFIG_HOME", saved.c_str(), 1);
    else
        unsetenv("XDG_CONFIG_HOME");
    TSettingsStore::SetDefaultFileName("");
}

} // namespace
} // namespace ondrex
