// Turns a command line written for Windows into a program path and an
// argument vector here: arguments split as Windows programs split their own
// command line, the program searched as Windows searches it, "cmd /c" mapped
// to /bin/sh -c.
#include "commandline_posix.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "dospath.h"
#include "whitespace.h"

namespace {

// The program name: quotes group and are dropped, nothing is escaped.
std::string ReadProgramName(std::string_view line, std::size_t& pos) {
    std::string name;
    bool quoted = false;
    for (; pos < line.size() && (quoted || !common::isBlank(line[pos])); ++pos) {
        if (line[pos] == '"') {
            quoted = !quoted;
        } else {
            name += line[pos];
        }
    }
    return name;
}

std::string ReadArgument(std::string_view line, std::size_t& pos, common::CodePage cp) {
    std::string arg;
    bool quoted = false;
    while (pos < line.size() && (quoted || !common::isBlank(line[pos]))) {
        const char c = line[pos];
        if (c == '\\') {
            std::size_t count = 0;
            while (pos < line.size() && line[pos] == '\\') ++count, ++pos;
            const bool beforeQuote = pos < line.size() && line[pos] == '"';
            arg.append(beforeQuote ? count / 2 : count, '\\');
            if (beforeQuote && count % 2 == 1) {
                arg += '"';
                ++pos;
            }
        } else if (c == '"') {
            if (quoted && pos + 1 < line.size() && line[pos + 1] == '"') {
                arg += '"';
                pos += 2;
            } else {
                quoted = !quoted;
                ++pos;
            }
        } else {
            const std::size_t len = common::charLength(cp, line, pos);
            arg.append(line.substr(pos, len));
            pos += len;
        }
    }
    return arg;
}

bool IsExecutableFile(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
           ::access(path.c_str(), X_OK) == 0;
}

std::optional<std::string> SearchFolders(const std::string& name, const std::string& ownFolder,
                                         const std::string& searchPath) {
    const auto tryIn = [&name](const std::string& folder) -> std::optional<std::string> {
        if (folder.empty()) return std::nullopt;
        std::string candidate = folder + "/" + name;
        if (IsExecutableFile(candidate)) return candidate;
        return std::nullopt;
    };
    if (auto found = tryIn(ownFolder)) return found;
    std::size_t start = 0;
    while (start <= searchPath.size()) {
        std::size_t end = searchPath.find(':', start);
        if (end == std::string::npos) end = searchPath.size();
        if (auto found = tryIn(searchPath.substr(start, end - start))) return found;
        start = end + 1;
    }
    return std::nullopt;
}

bool EndsWithExe(const std::string& name) {
    return name.size() > 4 &&
           common::equalsIgnoreCase(std::string_view(name).substr(name.size() - 4), ".exe",
                                    common::CodePage::Utf8);
}

}  // namespace

std::vector<std::string> SplitCommandLine(std::string_view commandLine, common::CodePage cp) {
    std::vector<std::string> args;
    std::size_t pos = common::skipBlanks(commandLine, 0);
    if (pos == commandLine.size()) return args;
    args.push_back(ReadProgramName(commandLine, pos));
    while ((pos = common::skipBlanks(commandLine, pos)) < commandLine.size()) {
        args.push_back(ReadArgument(commandLine, pos, cp));
    }
    return args;
}

std::optional<std::string> FindProgram(const std::string& name, const std::string& ownFolder,
                                       const std::string& searchPath, common::CodePage cp) {
    if (name.empty()) return std::nullopt;
    const std::string native = common::nativePath(name, cp);
    const bool isPath = native.find('/') != std::string::npos;
    const auto look = [&](const std::string& candidate) -> std::optional<std::string> {
        if (!isPath) return SearchFolders(candidate, ownFolder, searchPath);
        if (IsExecutableFile(candidate)) return candidate;
        return std::nullopt;
    };
    if (auto found = look(native)) return found;
    if (EndsWithExe(native)) return look(native.substr(0, native.size() - 4));
    return std::nullopt;
}

std::string OwnProgramFolder() {
    std::error_code error;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::string() : self.parent_path().string();
}

std::optional<ResolvedCommand> ResolveCommandLine(std::string_view commandLine,
                                                  common::CodePage cp) {
    if (CommandSyntaxOf(commandLine) == CommandSyntax::Shell) {
        return ResolvedCommand{"/bin/sh", {"sh", "-c", *CommandInterpreterRest(commandLine)}};
    }
    std::vector<std::string> args = SplitCommandLine(commandLine, cp);
    if (args.empty()) return std::nullopt;
    const char* path = std::getenv("PATH");
    auto program =
        FindProgram(args[0], OwnProgramFolder(), path != nullptr ? path : "/usr/bin:/bin", cp);
    if (!program) return std::nullopt;
    return ResolvedCommand{*program, std::move(args)};
}
