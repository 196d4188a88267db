// Times the settings operations of a start and a close of the IDE, and the
// tool list dialog's save, against a settings file in a temporary folder;
// then a start on settings files that hold many values besides the IDE's.
// Usage: bench_settings [rounds] [values...]   (values: 40000 100000 by default)
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "settings.h"
#include "settingsstore.h"

namespace {

template <typename Step>
double millisecondsPerRound(int rounds, Step&& step) {
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < rounds; ++i) step(i);
    const std::chrono::duration<double, std::milli> spent =
        std::chrono::steady_clock::now() - start;
    return spent.count() / rounds;
}

// A settings file with `count` further text values, half in the IDE's main
// key and half spread over keys of their own, as another program or a long
// history of hand edits might leave them.
void writeLargeSettingsFile(const std::string& file, int count) {
    std::ofstream out(file, std::ios::binary);
    out << "REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Halden\\Vantor]\n";
    for (int i = 0; i < count / 2; ++i) out << "\"Extra" << i << "\"=\"value " << i << "\"\n";
    for (int i = count / 2; i < count; ++i) {
        if (i % 10 == 0) out << "\n[HKEY_CURRENT_USER\\Software\\Other\\K" << i << "]\n";
        out << "\"V" << i << "\"=dword:" << std::hex << i << std::dec << "\n";
    }
}

}  // namespace

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 50;
    std::string folder = (std::filesystem::temp_directory_path() / "vantor-bench-XXXXXX").string();
    if (mkdtemp(folder.data()) == nullptr) return 1;
    setenv("XDG_CONFIG_HOME", folder.c_str(), 1);
    auto store = CreateUserSettingsStore();

    Settings reg;
    LoadSettings(reg, *store);
    for (int i = 0; i < 20; ++i) {
        AddHistory(reg, "project" + std::to_string(i),
                   "/home/user/p" + std::to_string(i) + "/makefile");
    }
    ToolTable tools;
    for (std::size_t i = 0; i < kMaxTools; ++i) {
        tools.tools[i] = Tool{"tool" + std::to_string(i),
                              "cmd" + std::to_string(i),
                              "$(Select)",
                              "/tmp",
                              true,
                              false};
    }
    tools.count = kMaxTools;
    SaveOptions(reg, *store);
    SaveAtClose(reg, *store);
    SaveTools(tools, *store);

    const double start = millisecondsPerRound(rounds, [&](int) {
        Settings loaded;
        ToolTable list;
        LoadSettings(loaded, *store);
        LoadTools(list, *store);
    });
    const double close = millisecondsPerRound(rounds, [&](int i) {
        reg.windowPlacement = std::to_string(i) + ",0,640,480";
        SaveAtClose(reg, *store);
    });
    const double options = millisecondsPerRound(rounds, [&](int i) {
        reg.fontSize = 10 + i % 2;
        SaveOptions(reg, *store);
    });
    const double toolList = millisecondsPerRound(rounds, [&](int i) {
        tools.tools[0].arguments = std::to_string(i);
        SaveTools(tools, *store);
    });
    std::printf("start (LoadSettings + LoadTools, 20 tools): %.2f ms\n", start);
    std::printf("close (SaveAtClose, 20 history entries):    %.2f ms\n", close);
    std::printf("options confirmed (SaveOptions):            %.2f ms\n", options);
    std::printf("tool list confirmed (SaveTools, 20 tools):  %.2f ms\n", toolList);

    std::vector<int> sizes;
    for (int i = 2; i < argc; ++i) sizes.push_back(std::atoi(argv[i]));
    if (sizes.empty()) sizes = {40000, 100000};
    const std::string file = folder + "/vantor/settings.reg";
    for (const int count : sizes) {
        writeLargeSettingsFile(file, count);
        const double large = millisecondsPerRound(1, [&](int) {
            Settings loaded;
            LoadSettings(loaded, *store);
        });
        std::printf("start on a file of %d further values (LoadSettings): %.1f ms\n", count, large);
    }
    std::filesystem::remove_all(folder);
    return 0;
}
