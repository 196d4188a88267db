// The registry as the settings store, under a test key of its own that
// stands in for HKEY_CURRENT_USER (TempConfigHome): value types and bytes,
// key creation, and that nothing lands outside the test key.
#include <windows.h>

#include <gtest/gtest.h>

#include <optional>

#include "settingsstore.h"
#include "tempconfighome.h"

namespace {

const char* const kMainKey = "Software\\Halden\\Vantor";

// A value read with the registry calls themselves, from below `root`.
std::optional<SettingsValue> ReadDirectly(HKEY root, const std::string& path,
                                          const std::string& name) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return std::nullopt;
    DWORD type = 0;
    DWORD size = 0;
    std::optional<SettingsValue> value;
    if (RegQueryValueExA(key, name.c_str(), nullptr, &type, nullptr, &size) == ERROR_SUCCESS) {
        std::string data(size, '\0');
        if (RegQueryValueExA(key, name.c_str(), nullptr, &type,
                             reinterpret_cast<BYTE*>(data.data()), &size) == ERROR_SUCCESS) {
            data.resize(size);
            value = SettingsValue{type, data};
        }
    }
    RegCloseKey(key);
    return value;
}

bool KeyExists(HKEY root, const std::string& path) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}

TEST(RegistryStore, ValuesKeepTheirTypeAndBytes) {
    TempConfigHome home;
    auto store = CreateUserSettingsStore();
    auto key = store->openKey(kMainKey, true);
    ASSERT_TRUE(key);
    const std::string dword("\x0b\x00\x00\x00", 4);
    const SettingsValue text{kSettingsString, std::string("cmd /cmake |cat -u\0", 19)};
    const SettingsValue expand{kSettingsExpandString, std::string("%PATH%\0", 7)};
    const SettingsValue number{kSettingsDword, dword};
    const SettingsValue binary{3, std::string("\x00\xff\x0a\x0d", 4)};
    EXPECT_TRUE(key->write("BuildCommand", text));
    EXPECT_TRUE(key->write("Expand", expand));
    EXPECT_TRUE(key->write("FontSize", number));
    EXPECT_TRUE(key->write("Blob", binary));
    EXPECT_EQ(key->read("buildcommand"), text);  // value names ignore case
    EXPECT_EQ(key->read("Expand"), expand);
    EXPECT_EQ(key->read("FontSize"), number);
    EXPECT_EQ(key->read("Blob"), binary);
    EXPECT_EQ(key->read("Missing"), std::nullopt);

    EXPECT_TRUE(key->remove("Blob"));
    EXPECT_FALSE(key->remove("Blob"));
    EXPECT_EQ(key->read("Blob"), std::nullopt);
    EXPECT_TRUE(key->close());
    EXPECT_TRUE(key->close());  // closing twice is harmless
    EXPECT_FALSE(key->write("After", text));
    EXPECT_EQ(key->read("FontSize"), std::nullopt);

    // The values are the registry's own, below the test key.
    EXPECT_EQ(ReadDirectly(home.key(), kMainKey, "FontSize"), number);
}

TEST(RegistryStore, KeysAreCreatedOnlyWhenAsked) {
    TempConfigHome home;
    auto store = CreateUserSettingsStore();
    EXPECT_EQ(store->openKey("Software\\Halden\\Vantor\\Tools", false), nullptr);
    EXPECT_FALSE(KeyExists(home.key(), "Software\\Halden"));
    ASSERT_NE(store->openKey("Software\\Halden\\Vantor\\Tools", true), nullptr);
    EXPECT_TRUE(KeyExists(home.key(), "Software\\Halden\\Vantor\\Tools"));
    EXPECT_NE(store->openKey("SOFTWARE\\halden\\VANTOR", false), nullptr);  // names ignore case
}

TEST(RegistryStore, TestKeyIsRemovedAndTheUsersKeyNeverTouched) {
    std::string testKey;
    {
        TempConfigHome home;
        testKey = home.keyPath();
        auto key = CreateUserSettingsStore()->openKey(kMainKey, true);
        ASSERT_TRUE(key);
        EXPECT_TRUE(key->write("VantorTestMarker", {kSettingsString, "test"}));
    }
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, testKey));
    EXPECT_EQ(ReadDirectly(HKEY_CURRENT_USER, kMainKey, "VantorTestMarker"), std::nullopt);
}

}  // namespace
