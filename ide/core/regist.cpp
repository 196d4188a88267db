// Loading and saving the settings record, the tool list and the project
// history, value by value through nTRegistry.
#include "regist.h"

#include <algorithm>

#include "editorchoice.h"
#include "registry.h"

using namespace regschema;

std::string regschema::indexedName(const char* prefix, std::size_t index) {
    return prefix + std::to_string(index);
}

namespace {

// Counts the writes the store refused, so a save attempts every value and
// still reports whether all of them were kept.
class CountedWrites {
  public:
    explicit CountedWrites(nTRegistry& reg) : reg_(reg) {}

    template <typename Write>
    void attempt(Write&& write) {
        try {
            write();
        } catch (const RegistryError&) {
            ++failures_;
        }
    }
    void text(const char* name, const std::string& value) {
        attempt([&] { reg_.WriteString(name, value); });
    }
    void integer(const char* name, int value) {
        attempt([&] { reg_.WriteInteger(name, value); });
    }
    void flag(const char* name, bool value) {
        attempt([&] { reg_.WriteBool(name, value); });
    }
    void close() { count(reg_.CloseKey()); }
    void count(bool kept) { failures_ += kept ? 0 : 1; }
    bool allKept() const { return failures_ == 0; }

  private:
    nTRegistry& reg_;
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
        open_ = root_.OpenKey("\\", false);
    }
    bool isOpen() const { return open_; }
    bool close() { return root_.CloseKey(); }

  private:
    nTRegistry root_;
    bool open_ = false;
};

constexpr const char* kToolValues[] = {kToolName,   kToolCommand,        kToolArguments,
                                       kToolFolder, kToolOutputRedirect, kToolIconed};

// A text value; one stored with another type takes the default, and its
// error joins the others so that the load can go on.
std::string readText(nTRegistry& reg, const std::string& name, const std::string& def,
                     LoadErrors* errors) {
    try {
        return reg.ReadString(name, def);
    } catch (const RegistryError& error) {
        if (errors != nullptr) *errors += (errors->empty() ? "" : "\n") + std::string(error.what());
        return def;
    }
}

}  // namespace

LoadErrors LoadSettings(TREGIST& r, SettingsStore& store) {
    LoadErrors errors;
    StoreSession session(store);
    if (!session.isOpen()) return errors;
    nTRegistry reg(store);
    const auto text = [&](const char* name, const char* def) {
        return readText(reg, name, def, &errors);
    };
    if (reg.OpenKey(kBaseKey, true)) {
        r.BuildCommand = text(kBuildCommand, kDefBuildCommand);
        r.RebuildCommand = text(kRebuildCommand, kDefRebuildCommand);
        r.DepmillCommand = text(kDepmillCommand, kDefDepmillCommand);
        r.EditCommand = text(kEditCommand, DefaultEditCommand().c_str());
        r.ProjectFolder = text(kProjectFolder, kDefProjectFolder);
        r.Window = text(kWindow, kDefWindow);
        r.FoldOutput = reg.ReadBool(kFoldOutput, kDefFoldOutput);
        r.useStatusBar = reg.ReadBool(kUseStatusBar, kDefUseStatusBar);
        r.FontName = text(kFontName, kDefFontName);
        r.FontSize = reg.ReadInteger(kFontSize, kDefFontSize);
        r.defaultMemorymodel = reg.ReadInteger(kDefaultMemorymodel, kDefDefaultMemorymodel);
        r.defaultObjectFolder = text(kDefaultObjectFolder, kDefDefaultObjectFolder);
        r.OutputEncoding = reg.ReadInteger(kOutputEncoding, kDefOutputEncoding);
        r.loaded.main = true;
        reg.CloseKey();
    }
    if (reg.OpenKey(kHelpKey, true)) {
        r.Helpfile = text(kHelpfile, kDefHelpfile);
        r.Clang = text(kClang, kDefClang);
        r.Cerror = text(kCerror, kDefCerror);
        r.Buildtool = text(kBuildtool, kDefBuildtool);
        r.Quarry = text(kQuarry, kDefQuarry);
        r.loaded.help = true;
        reg.CloseKey();
    }
    if (reg.OpenKey(kHistoryKey, true)) {
        for (std::size_t i = 0; i < kHistorySize; ++i) {
            r.history[i].ProjectFile =
                readText(reg, indexedName(kHistoryProjectFile, i), "", &errors);
            r.history[i].Project = readText(reg, indexedName(kHistoryProject, i), "", &errors);
        }
        r.loaded.history = true;
        reg.CloseKey();
    }
    return errors;
}

bool SaveOptions(const TREGIST& r, SettingsStore& store) {
    StoreSession session(store);
    if (!session.isOpen()) return false;
    nTRegistry reg(store);
    CountedWrites writes(reg);
    if (r.loaded.main && reg.OpenKey(kBaseKey, true)) {
        writes.text(kBuildCommand, r.BuildCommand);
        writes.text(kRebuildCommand, r.RebuildCommand);
        writes.text(kDepmillCommand, r.DepmillCommand);
        writes.text(kEditCommand, r.EditCommand);
        writes.flag(kFoldOutput, r.FoldOutput);
        writes.flag(kUseStatusBar, r.useStatusBar);
        writes.text(kProjectFolder, r.ProjectFolder);
        writes.text(kFontName, r.FontName);
        writes.integer(kFontSize, r.FontSize);
        writes.integer(kDefaultMemorymodel, r.defaultMemorymodel);
        writes.text(kDefaultObjectFolder, r.defaultObjectFolder);
        writes.integer(kOutputEncoding, r.OutputEncoding);
        writes.close();
    }
    if (r.loaded.help && reg.OpenKey(kHelpKey, true)) {
        writes.text(kHelpfile, r.Helpfile);
        writes.text(kClang, r.Clang);
        writes.text(kCerror, r.Cerror);
        writes.text(kBuildtool, r.Buildtool);
        writes.text(kQuarry, r.Quarry);
        writes.close();
    }
    writes.count(session.close());
    return writes.allKept();
}

bool SaveAtClose(const TREGIST& r, SettingsStore& store) {
    StoreSession session(store);
    if (!session.isOpen()) return false;
    nTRegistry reg(store);
    CountedWrites writes(reg);
    if (r.loaded.history && reg.OpenKey(kHistoryKey, true)) {
        for (std::size_t i = 0; i < kHistorySize; ++i) {
            writes.text(indexedName(kHistoryProjectFile, i).c_str(), r.history[i].ProjectFile);
            writes.text(indexedName(kHistoryProject, i).c_str(), r.history[i].Project);
        }
        writes.close();
    }
    if (reg.OpenKey(kBaseKey, false)) {
        writes.text(kWindow, r.Window);
        writes.close();
    }
    writes.count(session.close());
    return writes.allKept();
}

int ReadToolCount(SettingsStore& store) {
    nTRegistry reg(store);
    if (!reg.OpenKey(kToolsKey, true)) return 0;
    return std::clamp(reg.ReadInteger(kNumTools, 0), 0, static_cast<int>(kMaxTools));
}

bool LoadTool(toolopt& tool, std::size_t index, SettingsStore& store, LoadErrors* errors) {
    nTRegistry reg(store);
    if (!reg.OpenKey(kToolsKey, true)) return false;
    tool.Name = readText(reg, indexedName(kToolName, index), "", errors);
    tool.Command = readText(reg, indexedName(kToolCommand, index), "", errors);
    tool.Arguments = readText(reg, indexedName(kToolArguments, index), "", errors);
    tool.Folder = readText(reg, indexedName(kToolFolder, index), "", errors);
    tool.OutputRedirect = reg.ReadBool(indexedName(kToolOutputRedirect, index), false);
    tool.Iconed = reg.ReadBool(indexedName(kToolIconed, index), false);
    return true;
}

bool LoadTools(tooloptions& list, SettingsStore& store, LoadErrors* errors) {
    StoreSession session(store);
    if (!session.isOpen()) return false;
    const int stored = ReadToolCount(store);
    std::size_t kept = 0;
    for (int j = 0; j < stored; ++j) {
        toolopt& slot = list.tools[kept];
        if (LoadTool(slot, static_cast<std::size_t>(j), store, errors) && !slot.Name.empty() &&
            !slot.Command.empty()) {
            ++kept;
        }
    }
    // A skipped last entry may have left its texts in the first free slot.
    std::fill(list.tools.begin() + static_cast<std::ptrdiff_t>(kept), list.tools.end(), toolopt{});
    list.count = kept;
    return true;
}

bool SaveTool(const toolopt& tool, std::size_t index, SettingsStore& store) {
    nTRegistry reg(store);
    if (!reg.OpenKey(kToolsKey, true)) return false;
    try {
        reg.WriteString(indexedName(kToolName, index), tool.Name);
        reg.WriteString(indexedName(kToolCommand, index), tool.Command);
        reg.WriteString(indexedName(kToolArguments, index), tool.Arguments);
        reg.WriteString(indexedName(kToolFolder, index), tool.Folder);
        reg.WriteBool(indexedName(kToolOutputRedirect, index), tool.OutputRedirect);
        reg.WriteBool(indexedName(kToolIconed, index), tool.Iconed);
    } catch (const RegistryError&) {
        return false;
    }
    return reg.CloseKey();
}

bool SaveTools(const tooloptions& list, SettingsStore& store) {
    StoreSession session(store);
    if (!session.isOpen()) return false;
    int old = ReadToolCount(store);
    const std::size_t count = std::min(list.count, kMaxTools);
    bool allKept = true;
    for (std::size_t i = 0; i < count; ++i) {
        allKept = SaveTool(list.tools[i], i, store) && allKept;
    }
    nTRegistry reg(store);
    if (!reg.OpenKey(kToolsKey, true)) return false;
    CountedWrites writes(reg);
    while (static_cast<int>(count) < old) {
        --old;
        // The values of one index go together: the first that cannot be
        // deleted ends that index.
        for (const char* prefix : kToolValues) {
            if (!reg.DeleteValue(indexedName(prefix, static_cast<std::size_t>(old)))) break;
        }
    }
    writes.integer(kNumTools, static_cast<int>(count));
    writes.close();
    writes.count(session.close());
    return writes.allKept() && allKept;
}

bool SameProjectFile(const std::string& a, const std::string& b, common::CodePage cp) {
#ifdef _WIN32
    return common::equalsIgnoreCase(a, b, cp);
#else
    (void)cp;
    return a == b;
#endif
}

void AddHistory(TREGIST& reg, const std::string& name, const std::string& file,
                common::CodePage cp) {
    if (name.empty() || file.empty()) return;
    auto& history = reg.history;
    const auto same = std::find_if(history.begin(), history.end(), [&](const ProjectHistory& h) {
        return common::equalsIgnoreCase(h.Project, name, cp) &&
               SameProjectFile(h.ProjectFile, file, cp);
    });
    if (same == history.begin()) return;
    // The matching entry, or entry 19 when there is none, is overwritten
    // by the ones above it moving down a place.
    const auto dropped = same == history.end() ? history.end() - 1 : same;
    std::move_backward(history.begin(), dropped, dropped + 1);
    history.front() = ProjectHistory{name, file};
}
