// The Open Watcom toolchain of the tests and benchmarks that run the real
// compiler: the folder WATCOM names, else ../shared/toolchains/openwatcom
// beside the source tree. Nothing of it is copied into the project; where
// neither folder holds the Linux-hosted tools, the tests skip and say why.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#ifndef VANTOR_SOURCE_DIR
#error "the build names the source tree's root in VANTOR_SOURCE_DIR"
#endif

struct WatcomToolchain {
    std::filesystem::path root;

    std::filesystem::path linuxTools() const { return root / "binl"; }

    // WATCOM (wlink finds its libraries through it), INCLUDE (the headers)
    // and PATH (the Linux-hosted tools first), for the children of a test.
    std::vector<std::pair<std::string, std::string>> environment() const {
        const char* path = std::getenv("PATH");
        return {{"WATCOM", root.string()},
                {"INCLUDE", (root / "h").string()},
                {"PATH", linuxTools().string() + (path ? ":" + std::string(path) : "")}};
    }

    // The same as the export that starts a shell command line.
    std::string shellExports() const {
        std::string text = "export";
        for (const auto& [name, value] : environment()) text += " " + name + "='" + value + "'";
        return text + "; ";
    }

    // Whether this copy has the Linux-hosted tool (some leave wmake or wpp out).
    bool hasLinuxTool(const std::string& name) const {
        std::error_code error;
        return std::filesystem::is_regular_file(linuxTools() / name, error);
    }

    // The lines of dosrun's settings file that run the DOS-hosted tools:
    // the toolchain as drive D:, its DOS programs on the DOS PATH, its
    // headers on INCLUDE before the further folders (";C:\\INC").
    std::string dosrunSettings(const std::string& moreIncludes = "") const {
        return "drive D = " + root.string() +
               "\npath = D:\\BINW;Z:\\\nset WATCOM = D:\\\nset INCLUDE = D:\\H" + moreIncludes +
               "\n";
    }
};

inline constexpr char kNoWatcom[] =
    "no Open Watcom toolchain: WATCOM names none, nor is there one at "
    "../shared/toolchains/openwatcom beside the source tree";

// The toolchain, if WATCOM or the shared folder holds its Linux-hosted wcc.
inline std::optional<WatcomToolchain> FindWatcom() {
    namespace fs = std::filesystem;
    std::vector<fs::path> candidates;
    if (const char* watcom = std::getenv("WATCOM"); watcom && *watcom)
        candidates.emplace_back(watcom);
    candidates.push_back(fs::path(VANTOR_SOURCE_DIR).parent_path() / "shared" / "toolchains" /
                         "openwatcom");
    for (const fs::path& root : candidates) {
        std::error_code error;
        if (fs::is_regular_file(root / "binl" / "wcc", error))
            return WatcomToolchain{fs::absolute(root, error).lexically_normal()};
    }
    return std::nullopt;
}
