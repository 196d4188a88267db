// The rows of the stored settings on a real settings file: each row keeps
// its own field under its own name, key and type, and a fresh record's
// defaults are those a fresh settings file loads.
#include "settingstable.h"

#include <gtest/gtest.h>

#include <type_traits>

#include "settings.h"
#include "tempconfighome.h"

namespace {

// A value of the row's type that is no row's default and no other row's
// value: a text naming the row, the flag inverted, a number by position.
void setOwnValue(const StoredSetting& row, std::int32_t position, Settings& reg) {
    std::visit(
        [&](const auto& f) {
            using Value = std::remove_reference_t<decltype(reg.*f.field)>;
            if constexpr (std::is_same_v<Value, std::string>) {
                reg.*f.field = std::string("value of ") + row.name;
            } else if constexpr (std::is_same_v<Value, bool>) {
                reg.*f.field = !f.byDefault();
            } else {
                reg.*f.field = 1000 + position;
            }
        },
        row.field);
}

bool sameField(const StoredSetting& row, const Settings& a, const Settings& b) {
    return std::visit([&](const auto& f) { return a.*f.field == b.*f.field; }, row.field);
}

// The value as it stands in the row's key, read by the row's type.
bool storedAsInRecord(const StoredSetting& row, const Settings& reg, SettingsStore& store) {
    RegistryAccess access(store);
    if (!access.openKey(row.group->key, false) || !access.hasValue(row.name)) return false;
    return std::visit(
        [&](const auto& f) {
            const auto expected = reg.*f.field;
            return f.read(access, row.name, f.byDefault(), nullptr) == expected;
        },
        row.field);
}

class SettingsTableTest : public ::testing::Test {
  protected:
    TempConfigHome home;
    std::unique_ptr<SettingsStore> store = CreateUserSettingsStore();
};

TEST_F(SettingsTableTest, EachRowKeepsItsOwnFieldUnderItsOwnNameAndKey) {
    Settings saved;
    LoadSettings(saved, *store);
    std::int32_t position = 0;
    for (const StoredSetting& row : StoredSettings()) setOwnValue(row, position++, saved);
    ASSERT_TRUE(SaveOptions(saved, *store));
    ASSERT_TRUE(SaveAtClose(saved, *store));

    Settings loaded;
    EXPECT_EQ(LoadSettings(loaded, *CreateUserSettingsStore()), "");
    for (const StoredSetting& row : StoredSettings()) {
        EXPECT_TRUE(sameField(row, loaded, saved)) << row.name;
        EXPECT_TRUE(storedAsInRecord(row, saved, *store)) << row.name;
    }
}

TEST_F(SettingsTableTest, DefaultsAreWhatAFreshSettingsFileLoads) {
    Settings loaded;
    LoadSettings(loaded, *store);
    const Settings defaults = DefaultSettings();
    for (const StoredSetting& row : StoredSettings()) {
        EXPECT_TRUE(sameField(row, loaded, defaults)) << row.name;
    }
    EXPECT_FALSE(defaults.loaded.main || defaults.loaded.help || defaults.loaded.history);
}

}  // namespace
