// Loading and saving the settings record, the tool list and the project
// history, value by value through RegistryAccess.
#include "settings.h"

#include <algorithm>

#include "editorchoice.h"
#include "registry.h"

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

    template <typename Write>
    void attempt(Write&& write) {
        try {
            write();
        } catch (const RegistryError&) {
            ++failures_;
        }
    }
    void text(const char* name, const std::string& value) {
        attempt([&] { reg_.writeString(name, value); });
    }
    void integer(const char* name, int value) {
        attempt([&] { reg_.writeInteger(name, value); });
    }
    void flag(const char* name, bool value) {
        attempt([&] { reg_.writeBool(name, value); });
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

constexpr const char* kToolValues[] = {kToolName,   kToolCommand,        kToolArguments,
                                       kToolFolder, kToolOutputRedirect, kToolIconed};

// A text value; one stored with another type takes the default, and its
// error joins the others so that the load can go on.
std::string readText(RegistryAccess& reg, const std::string& name, const std::string& def,
                     LoadErrors* errors) {
    try {
        return reg.readString(name, def);
    } catch (const RegistryError& error) {
        if (errors != nullptr) *errors += (errors->empty() ? "" : "\n") + std::string(error.what());
        return def;
    }
}

}  // namespace

LoadErrors LoadSettings(Settings& r, SettingsStore& store) {
    LoadErrors errors;
    StoreSession session(store);
    if (!session.isOpen()) return errors;
    RegistryAccess reg(store);
    const auto text = [&](const char* name, const char* def) {
        return readText(reg, name, def, &errors);
    };
    if (reg.openKey(kBaseKey, true)) {
        r.buildCommand = text(kBuildCommand, kDefBuildCommand);
        r.rebuildCommand = text(kRebuildCommand, kDefRebuildCommand);
        r.depmillCommand = text(kDepmillCommand, kDefDepmillCommand);
        r.editorCommand = text(kEditCommand, DefaultEditCommand().c_str());
        r.projectFolder = text(kProjectFolder, kDefProjectFolder);
        r.windowPlacement = text(kWindow, kDefWindow);
        r.foldOutput = reg.readBool(kFoldOutput, kDefFoldOutput);
        r.useStatusBar = reg.readBool(kUseStatusBar, kDefUseStatusBar);
        r.fontName = text(kFontName, kDefFontName);
        r.fontSize = reg.readInteger(kFontSize, kDefFontSize);
        r.defaultMemoryModel = reg.readInteger(kDefaultMemorymodel, kDefDefaultMemorymodel);
        r.defaultObjectFolder = text(kDefaultObjectFolder, kDefDefaultObjectFolder);
        r.outputEncoding = reg.readInteger(kOutputEncoding, kDefOutputEncoding);
        r.loaded.main = true;
        reg.closeKey();
    }
    if (reg.openKey(kHelpKey, true)) {
        r.ideHelpFile = text(kHelpfile, kDefHelpfile);
        r.languageHelpFile = text(kClang, kDefClang);
        r.errorHelpFile = text(kCerror, kDefCerror);
        r.buildToolHelpFile = text(kBuildtool, kDefBuildtool);
        r.quarryHelpFile = text(kQuarry, kDefQuarry);
        r.loaded.help = true;
        reg.closeKey();
    }
    if (reg.openKey(kHistoryKey, true)) {
        for (std::size_t i = 0; i < kHistorySize; ++i) {
            r.history[i].projectFile =
                readText(reg, indexedName(kHistoryProjectFile, i), "", &errors);
            r.history[i].projectName = readText(reg, indexedName(kHistoryProject, i), "", &errors);
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
    if (r.loaded.main && reg.openKey(kBaseKey, true)) {
        writes.text(kBuildCommand, r.buildCommand);
        writes.text(kRebuildCommand, r.rebuildCommand);
        writes.text(kDepmillCommand, r.depmillCommand);
        writes.text(kEditCommand, r.editorCommand);
        writes.flag(kFoldOutput, r.foldOutput);
        writes.flag(kUseStatusBar, r.useStatusBar);
        writes.text(kProjectFolder, r.projectFolder);
        writes.text(kFontName, r.fontName);
        writes.integer(kFontSize, r.fontSize);
        writes.integer(kDefaultMemorymodel, r.defaultMemoryModel);
        writes.text(kDefaultObjectFolder, r.defaultObjectFolder);
        writes.integer(kOutputEncoding, r.outputEncoding);
        writes.close();
    }
    if (r.loaded.help && reg.openKey(kHelpKey, true)) {
        writes.text(kHelpfile, r.ideHelpFile);
        writes.text(kClang, r.languageHelpFile);
        writes.text(kCerror, r.errorHelpFile);
        writes.text(kBuildtool, r.buildToolHelpFile);
        writes.text(kQuarry, r.quarryHelpFile);
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
            writes.text(indexedName(kHistoryProjectFile, i).c_str(), r.history[i].projectFile);
            writes.text(indexedName(kHistoryProject, i).c_str(), r.history[i].projectName);
        }
        writes.close();
    }
    if (reg.openKey(kBaseKey, false)) {
        writes.text(kWindow, r.windowPlacement);
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
    tool.name = readText(reg, indexedName(kToolName, index), "", errors);
    tool.command = readText(reg, indexedName(kToolCommand, index), "", errors);
    tool.arguments = readText(reg, indexedName(kToolArguments, index), "", errors);
    tool.folder = readText(reg, indexedName(kToolFolder, index), "", errors);
    tool.captureOutput = reg.readBool(indexedName(kToolOutputRedirect, index), false);
    tool.minimised = reg.readBool(indexedName(kToolIconed, index), false);
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
    try {
        reg.writeString(indexedName(kToolName, index), tool.name);
        reg.writeString(indexedName(kToolCommand, index), tool.command);
        reg.writeString(indexedName(kToolArguments, index), tool.arguments);
        reg.writeString(indexedName(kToolFolder, index), tool.folder);
        reg.writeBool(indexedName(kToolOutputRedirect, index), tool.captureOutput);
        reg.writeBool(indexedName(kToolIconed, index), tool.minimised);
    } catch (const RegistryError&) {
        return false;
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
        for (const char* prefix : kToolValues) {
            if (!reg.deleteValue(indexedName(prefix, static_cast<std::size_t>(old)))) break;
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
        const std::string value = readText(reg, name, "", &valueError);
        const std::size_t bar = value.find(kMessageFormSeparator);
        if (valueError.empty() && bar == std::string::npos && !value.empty())
            valueError = "'" + name + "' に「|」がありません";
        if (!valueError.empty() && errors != nullptr)
            *errors += (errors->empty() ? "" : "\n") + valueError;
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
