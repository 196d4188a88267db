// The rows of the stored settings on a real settings file: each row keeps
// its own field under its own name, key and type, and a fresh record's
// defaults are those a fresh settings file loads.
#include "settingstable.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <type_traits>

#include "optionspages.h"
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

// The control a row shows by its stored type.
ControlKind kindOfField(const StoredField<Settings>& field) {
    switch (field.index()) {
        case 0:
            return ControlKind::Edit;
        case 1:
            return ControlKind::CheckBox;
        default:
            return ControlKind::List;
    }
}

// Every control of a row stands on exactly one page, shown as its stored
// type asks, and every line of a page is a row's or a control of no value;
// no two controls share an object name.
TEST(OptionsPagesTest, EachEditedRowStandsOnceOnAPageAsItsTypeAsks) {
    std::map<std::string, int> lines;
    std::set<std::string> objectNames;
    for (const OptionsPage& page : OptionsPages()) {
        for (const OptionsLine& line : page.lines) {
            const OptionControl& control = ControlOf(line);
            EXPECT_NE(control.kind, ControlKind::None) << page.name;
            EXPECT_TRUE(objectNames.insert(ControlObjectName(control)).second) << control.name;
            if (line.setting == nullptr) {
                // Nothing to bind: a switch of the session or a heading.
                EXPECT_TRUE(control.kind == ControlKind::CheckBox ||
                            control.kind == ControlKind::Heading);
                continue;
            }
            ASSERT_NE(SettingOf(line), nullptr) << line.setting;
            ++lines[line.setting];
        }
    }
    for (const StoredSetting& row : StoredSettings()) {
        if (row.control.kind == ControlKind::None) {
            EXPECT_EQ(lines.count(row.name), 0u) << row.name;
            continue;
        }
        EXPECT_EQ(lines[row.name], 1) << row.name;
        EXPECT_EQ(row.control.kind, kindOfField(row.field)) << row.name;
        EXPECT_NE(row.control.caption, nullptr) << row.name;
        if (row.control.kind == ControlKind::List) {
            EXPECT_FALSE(row.control.items.empty()) << row.name;
            EXPECT_NE(row.control.shownItem, nullptr) << row.name;
        }
    }
    EXPECT_EQ(StoredSettingNamed("NoSuchValue"), nullptr);
}

// A stored number outside a list's items shows as its row says: no model
// selected, the automatic code page for an unknown one.
TEST(OptionsPagesTest, AStoredNumberOutsideTheItemsShowsAsItsRowSays) {
    const struct {
        const char* row;
        std::int32_t stored;
        int shown;
    } cases[] = {{"defaultMemorymodel", 4, 4},   {"defaultMemorymodel", 5, -1},
                 {"defaultMemorymodel", -1, -1}, {"OutputEncoding", 2, 2},
                 {"OutputEncoding", 3, 0},       {"OutputEncoding", -1, 0}};
    for (const auto& c : cases) {
        const StoredSetting* row = StoredSettingNamed(c.row);
        ASSERT_NE(row, nullptr);
        EXPECT_EQ(row->control.shownItem(c.stored), c.shown) << c.row << " " << c.stored;
    }
}

}  // namespace
