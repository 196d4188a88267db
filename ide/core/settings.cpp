// Loading and saving the settings record, the tool list and the project
// history, value by value through RegistryAccess.
#include "settings.h"

#include <algorithm>

#include "registry.h"
#include "settingsfields.h"
#include "settingstable.h"

using namespace settingsschema;

std::string settingsschema::indexedName(const char* prefix, std::size_t index) {
    return prefix + std::to_string(index);
}

namespace {

// Counts the writes the store refused, so a save attempts every value and
// still reports whether all of them were kept.
class CountedWrites {
  public:
    explicit CountedWrites(RegistryAccess& reg) : reg_(reg) {}

    void text(const char* name, const std::string& value) { count(reg_.writeString(name, value)); }
    void integer(const char* name, int value) { count(reg_.writeInteger(name, value)); }
    template <typename Record>
    void field(const std::string& name, const StoredField<Record>& stored, const Record& record) {
        count(WriteField(reg_, name, stored, record));
    }
    void close() { count(reg_.closeKey()); }
    void count(bool kept) { failures_ += kept ? 0 : 1; }
    bool allKept() const { return failures_ == 0; }

  private:
    RegistryAccess& reg_;
    int failures_ = 0;
};

// Keeps the root key open while an operation opens and closes its own keys,
// so that a store that reads and saves per session (the settings file) does
// so once per operation; its close reports whether the changes were kept.
// A store that cannot be read at all (its file locked by another process
// for too long) opens no session: the operation then reads and writes
// nothing.
class StoreSession {
  public:
    explicit StoreSession(SettingsStore& store) : root_(store) {
        open_ = root_.openKey("\\", false);
    }
    bool isOpen() const { return open_; }
    bool close() { return root_.closeKey(); }

  private:
    RegistryAccess root_;
    bool open_ = false;
};

// The values of each history entry and of each tool, their names followed
// by the index.
constexpr NamedField<ProjectHistory> kHistoryValues[] = {
    {"ProjectFile", textField(&ProjectHistory::projectFile)},
    {"Project", textField(&ProjectHistory::projectName)},
};

constexpr NamedField<Tool> kToolValues[] = {
    {"Name", textField(&Tool::name)},
    {"Command", textField(&Tool::command)},
    {"Arguments", textField(&Tool::arguments)},
    {"Folder", textField(&Tool::folder)},
    {"OutputRedirect", flagField(&Tool::captureOutput)},
    {"Iconed", flagField(&Tool::minimised)},
};

template <typename Record, std::size_t N>
void readIndexed(RegistryAccess& reg, const NamedField<Record> (&values)[N], std::size_t index,
                 Record& record, LoadErrors* errors) {
    for (const NamedField<Record>& value : values) {
        ReadField(reg, indexedName(value.name, index), value.field, record, errors);
    }
}

// The stored settings of one group that are saved with `when`, in order.
std::vector<const StoredSetting*> savedRows(const SettingsGroup& group, SavedWith when) {
    std::vector<const StoredSetting*> rows;
    for (const StoredSetting& row : StoredSettings()) {
        if (row.group == &group && row.savedWith == when) rows.push_back(&row);
    }
    return rows;
}

}  // namespace

Settings DefaultSettings() {
    Settings r;
    for (const StoredSetting& row : StoredSettings()) SetDefault(row.field, r);
    return r;
}

LoadErrors LoadSettings(Settings& r, SettingsStore& store) {
    LoadErrors errors;
    StoreSession session(store);
    if (!session.isOpen()) return errors;
    RegistryAccess reg(store);
    for (const SettingsGroup* group : kSettingsGroups) {
        if (!reg.openKey(group->key, true)) continue;
        for (const StoredSetting& row : StoredSettings()) {
            if (row.group == group) ReadField(reg, row.name, row.field, r, &errors);
        }
        r.loaded.*group->loaded = true;
        reg.closeKey();
    }
    if (reg.openKey(kHistoryKey, true)) {
        for (std::size_t i = 0; i < kHistorySize; ++i) {
            readIndexed(reg, kHistoryValues, i, r.history[i], &errors);
        }
        r.loaded.history = true;
        reg.closeKey();
    }
    return errors;
}

bool SaveOptions(const Settings& r, SettingsStore& store) {
    StoreSession session(store);
    if (!session.isOpen()) return false;
    RegistryAccess reg(store);
    CountedWrites writes(reg);
    for (const SettingsGroup* group : kSettingsGroups) {
        if (!(r.loaded.*group->loaded) || !reg.openKey(group->key, true)) continue;
        for (const StoredSetting* row : savedRows(*group, SavedWith::Options)) {
            writes.field(row->name, row->field, r);
        }
        writes.close();
    }
    writes.count(session.close());
    return writes.allKept();
}

bool SaveAtClose(const Settings& r, SettingsStore& store) {
    StoreSession session(store);
    if (!session.isOpen()) return false;
    RegistryAccess reg(store);
    CountedWrites writes(reg);
    if (r.loaded.history && reg.openKey(kHistoryKey, true)) {
        for (std::size_t i = 0; i < kHistorySize; ++i) {
            for (const NamedField<ProjectHistory>& value : kHistoryValues) {
                writes.field(indexedName(value.name, i), value.field, r.history[i]);
            }
        }
        writes.close();
    }
    for (const SettingsGroup* group : kSettingsGroups) {
        const auto rows = savedRows(*group, SavedWith::Close);
        if (rows.empty() || !reg.openKey(group->key, false)) continue;
        for (const StoredSetting* row : rows) writes.field(row->name, row->field, r);
        writes.close();
    }
    writes.count(session.close());
    return writes.allKept();
}

int ReadToolCount(SettingsStore& store) {
    RegistryAccess reg(store);
    if (!reg.openKey(kToolsKey, true)) return 0;
    return std::clamp(reg.readInteger(kNumTools, 0), 0, static_cast<int>(kMaxTools));
}

bool LoadTool(Tool& tool, std::size_t index, SettingsStore& store, LoadErrors* errors) {
    RegistryAccess reg(store);
    if (!reg.openKey(kToolsKey, true)) return false;
    readIndexed(reg, kToolValues, index, tool, errors);
    return true;
}

bool LoadTools(ToolTable& list, SettingsStore& store, LoadErrors* errors) {
    StoreSession session(store);
    if (!session.isOpen()) return false;
    const int stored = ReadToolCount(store);
    std::size_t kept = 0;
    for (int j = 0; j < stored; ++j) {
        Tool& slot = list.tools[kept];
        if (LoadTool(slot, static_cast<std::size_t>(j), store, errors) && !slot.name.empty() &&
            !slot.command.empty()) {
            ++kept;
        }
    }
    // A skipped last entry may have left its texts in the first free slot.
    std::fill(list.tools.begin() + static_cast<std::ptrdiff_t>(kept), list.tools.end(), Tool{});
    list.count = kept;
    return true;
}

bool SaveTool(const Tool& tool, std::size_t index, SettingsStore& store) {
    RegistryAccess reg(store);
    if (!reg.openKey(kToolsKey, true)) return false;
    for (const NamedField<Tool>& value : kToolValues) {
        if (!WriteField(reg, indexedName(value.name, index), value.field, tool)) return false;
    }
    return reg.closeKey();
}

bool SaveTools(const ToolTable& list, SettingsStore& store) {
    StoreSession session(store);
    if (!session.isOpen()) return false;
    int old = ReadToolCount(store);
    const std::size_t count = std::min(list.count, kMaxTools);
    bool allKept = true;
    for (std::size_t i = 0; i < count; ++i) {
        allKept = SaveTool(list.tools[i], i, store) && allKept;
    }
    RegistryAccess reg(store);
    if (!reg.openKey(kToolsKey, true)) return false;
    CountedWrites writes(reg);
    while (static_cast<int>(count) < old) {
        --old;
        // The values of one index go together: the first that cannot be
        // deleted ends that index.
        for (const NamedField<Tool>& value : kToolValues) {
            if (!reg.deleteValue(indexedName(value.name, static_cast<std::size_t>(old)))) break;
        }
    }
    writes.integer(kNumTools, static_cast<int>(count));
    writes.close();
    writes.count(session.close());
    return writes.allKept() && allKept;
}

namespace {

// The stored "Count" of the open "\\MessageForms" key, limited to 0 to
// kMaxMessageForms.
int storedFormCount(RegistryAccess& reg) {
    return std::clamp(reg.readInteger(kMessageFormCount, 0), 0, static_cast<int>(kMaxMessageForms));
}

}  // namespace

bool LoadMessageForms(std::vector<UserMessageForm>& forms, SettingsStore& store,
                      LoadErrors* errors) {
    StoreSession session(store);
    if (!session.isOpen()) return false;
    RegistryAccess reg(store);
    if (!reg.openKey(kMessageFormsKey, true)) return false;
    const int stored = storedFormCount(reg);
    std::vector<UserMessageForm> read;
    for (int i = 0; i < stored; ++i) {
        const std::string name = indexedName(kMessageForm, static_cast<std::size_t>(i));
        LoadErrors valueError;
        const std::string value = ReadText(reg, name, "", &valueError);
        const std::size_t bar = value.find(kMessageFormSeparator);
        if (valueError.empty() && bar == std::string::npos && !value.empty())
            valueError = "'" + name + "' に「|」がありません";
        if (!valueError.empty()) AppendLoadError(errors, valueError);
        if (!valueError.empty() || value.empty()) continue;
        read.push_back({value.substr(0, bar), value.substr(bar + 1)});
    }
    forms = std::move(read);
    return true;
}

bool SaveMessageForms(const std::vector<UserMessageForm>& forms, SettingsStore& store) {
    StoreSession session(store);
    if (!session.isOpen()) return false;
    RegistryAccess reg(store);
    if (!reg.openKey(kMessageFormsKey, true)) return false;
    int old = storedFormCount(reg);
    const std::size_t count = std::min(forms.size(), kMaxMessageForms);
    CountedWrites writes(reg);
    for (std::size_t i = 0; i < count; ++i) {
        // A caption cannot hold the separator: the first "|" ends it.
        std::string caption = forms[i].caption;
        std::replace(caption.begin(), caption.end(), kMessageFormSeparator, '/');
        writes.text(indexedName(kMessageForm, i).c_str(),
                    caption + kMessageFormSeparator + forms[i].form);
    }
    while (static_cast<int>(count) < old) {
        --old;
        reg.deleteValue(indexedName(kMessageForm, static_cast<std::size_t>(old)));
    }
    writes.integer(kMessageFormCount, static_cast<int>(count));
    writes.close();
    writes.count(session.close());
    return writes.allKept();
}

bool SameProjectFile(const std::string& a, const std::string& b, common::CodePage cp) {
#ifdef _WIN32
    return common::equalsIgnoreCase(a, b, cp);
#else
    (void)cp;
    return a == b;
#endif
}

void AddHistory(Settings& reg, const std::string& name, const std::string& file,
                common::CodePage cp) {
    if (name.empty() || file.empty()) return;
    auto& history = reg.history;
    const auto same = std::find_if(history.begin(), history.end(), [&](const ProjectHistory& h) {
        return common::equalsIgnoreCase(h.projectName, name, cp) &&
               SameProjectFile(h.projectFile, file, cp);
    });
    if (same == history.begin()) return;
    // The matching entry, or entry 19 when there is none, is overwritten
    // by the ones above it moving down a place.
    const auto dropped = same == history.end() ? history.end() - 1 : same;
    std::move_backward(history.begin(), dropped, dropped + 1);
    history.front() = ProjectHistory{name, file};
}
