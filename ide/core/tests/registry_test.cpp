// RegistryAccess over the user's real settings file: key paths, typed reads
// with their defaults and errors, writes and deletion.
#include "registry.h"

#include <gtest/gtest.h>

#include "settingsstore.h"
#include "tempconfighome.h"

namespace {

class RegistryAccessTest : public ::testing::Test {
  protected:
    // Stores a value of any type directly, as another program might have.
    void putRaw(const std::string& path, const std::string& name, std::uint32_t type,
                const std::string& bytes) {
        auto key = store->openKey(path, true);
        ASSERT_TRUE(key);
        ASSERT_TRUE(key->write(name, SettingsValue{type, bytes}));
        ASSERT_TRUE(key->close());
    }

    TempConfigHome home;
    std::unique_ptr<SettingsStore> store = CreateUserSettingsStore();
};

TEST_F(RegistryAccessTest, PathsAreAbsoluteWithLeadingBackslashElseBelowTheOpenKey) {
    RegistryAccess reg(*store);
    EXPECT_FALSE(reg.openKey("\\Software\\Test", false));
    EXPECT_EQ(reg.currentPath(), "");
    ASSERT_TRUE(reg.openKey("\\Software\\Test", true));
    EXPECT_EQ(reg.currentPath(), "Software\\Test");
    ASSERT_TRUE(reg.openKey("Sub", true));
    EXPECT_EQ(reg.currentPath(), "Software\\Test\\Sub");
    reg.writeString("Where", "sub");
    // A failed open leaves the open key as it was.
    EXPECT_FALSE(reg.openKey("\\Software\\Missing", false));
    EXPECT_EQ(reg.currentPath(), "Software\\Test\\Sub");
    ASSERT_TRUE(reg.openKey("\\software\\test", false));  // key names ignore case
    EXPECT_FALSE(reg.hasValue("Where"));
    ASSERT_TRUE(reg.openKey("\\Software\\Test\\Sub", false));
    EXPECT_EQ(reg.readString("where", ""), "sub");  // value names too
    EXPECT_TRUE(reg.closeKey());
    EXPECT_EQ(reg.currentPath(), "");
    EXPECT_FALSE(reg.hasValue("Where"));
}

TEST_F(RegistryAccessTest, StringsReadFromBothTextTypesUpToTheFirstZeroByte) {
    putRaw("A", "Plain", kSettingsString, std::string("before\0after", 12));
    putRaw("A", "Expand", kSettingsExpandString, std::string("%HOME%\\x\0", 9));
    putRaw("A", "Empty", kSettingsString, "");
    RegistryAccess reg(*store);
    ASSERT_TRUE(reg.openKey("\\A", false));
    EXPECT_EQ(reg.readString("Plain", "d"), "before");
    EXPECT_EQ(reg.readString("Expand", "d"), "%HOME%\\x");  // never expanded
    EXPECT_EQ(reg.readString("Empty", "d"), "");
    EXPECT_EQ(reg.readString("Missing", "d"), "d");
}

TEST_F(RegistryAccessTest, StringOfAnotherTypeIsTheDataTypeErrorNamingTheValue) {
    putRaw("A", "BuildCommand", kSettingsDword, std::string("\1\0\0\0", 4));
    putRaw("A", "Blob", 3, "xy");
    RegistryAccess reg(*store);
    ASSERT_TRUE(reg.openKey("\\A", false));
    std::string err;
    EXPECT_EQ(reg.readString("BuildCommand", "d", &err), "d");
    EXPECT_EQ(err, "'BuildCommand' のﾃﾞｰﾀ型が不正です");
    err.clear();
    EXPECT_EQ(reg.readString("Blob", "d", &err), "d");
    EXPECT_EQ(err, "'Blob' のﾃﾞｰﾀ型が不正です");
    EXPECT_TRUE(reg.hasValue("Blob"));
}

TEST_F(RegistryAccessTest, IntegersAndFlagsFallBackToTheDefaultUnlessAStoredDword) {
    putRaw("A", "Short", kSettingsDword, std::string("\x34\x12", 2));
    putRaw("A", "Long", kSettingsDword, std::string("\1\0\0\0\0", 5));
    putRaw("A", "Text", kSettingsString, "12");
    putRaw("A", "Two", kSettingsDword, std::string("\2\0\0\0", 4));
    RegistryAccess reg(*store);
    ASSERT_TRUE(reg.openKey("\\A", false));
    reg.writeInteger("Negative", -4);
    reg.writeBool("Off", false);
    EXPECT_EQ(reg.readInteger("Negative", 0), -4);
    EXPECT_EQ(reg.readInteger("Short", 0), 0x1234);
    EXPECT_EQ(reg.readInteger("Long", 7), 7);
    EXPECT_EQ(reg.readInteger("Text", 11), 11);
    EXPECT_EQ(reg.readInteger("Missing", 3), 3);
    EXPECT_TRUE(reg.readBool("Two", false));
    EXPECT_FALSE(reg.readBool("Off", true));
    EXPECT_TRUE(reg.readBool("Text", true));
    EXPECT_FALSE(reg.readBool("Missing", false));
}

TEST_F(RegistryAccessTest, WritesNeedAnOpenKeyAndDeletionReportsWhetherAValueWent) {
    RegistryAccess reg(*store);
    std::string err;
    EXPECT_FALSE(reg.writeString("X", "y", &err));
    EXPECT_EQ(err, "'X' を書き込めません");
    EXPECT_FALSE(reg.writeBool("X", true));
    EXPECT_FALSE(reg.deleteValue("X"));
    ASSERT_TRUE(reg.openKey("\\A", true));
    EXPECT_TRUE(reg.writeString("X", "y"));
    EXPECT_TRUE(reg.deleteValue("x"));
    EXPECT_FALSE(reg.deleteValue("X"));
    EXPECT_FALSE(reg.hasValue("X"));
}

TEST_F(RegistryAccessTest, WriteThatCannotBeKeptMakesCloseKeyFail) {
#ifdef _WIN32
    GTEST_SKIP() << "the registry saves each write at once; only a settings file fails at close";
#endif
    // A plain file where the settings folder belongs: nothing can be saved.
    std::ofstream(home.root() / "vantor") << "in the way";
    RegistryAccess reg(*store);
    ASSERT_TRUE(reg.openKey("\\A", true));
    reg.writeString("X", "y");
    EXPECT_FALSE(reg.closeKey());
}

}  // namespace
