#include "dosdrives.h"

#ifdef _WIN32
#include <fstream>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#endif

#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include "dospath.h"

namespace common {

namespace {

bool isDigits(std::string_view text) {
    return !text.empty() && text.size() <= 9 &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::string_view trim(std::string_view text) {
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
    while (!text.empty() && blank(text.front())) text.remove_prefix(1);
    while (!text.empty() && blank(text.back())) text.remove_suffix(1);
    return text;
}

char upper(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

// The text in double quotes, cut after 80 characters (UTF-8, never inside one).
std::string quoted(std::string_view text) {
    constexpr int kMaxCharacters = 80;
    int characters = 0;
    std::size_t end = 0;
    for (; end < text.size(); ++end) {
        const bool startsCharacter = (static_cast<unsigned char>(text[end]) & 0xC0) != 0x80;
        if (startsCharacter && ++characters > kMaxCharacters) break;
    }
    return "\"" + std::string(text.substr(0, end)) + (end < text.size() ? "...\"" : "\"");
}

using Reason = std::optional<std::string>;
using Lines = std::vector<std::pair<std::string, std::string>>;

Lines oneLine(std::string value) {
    return {{{}, std::move(value)}};
}

// A key whose value is taken as it is, and one written as it is.
template <std::string DosrunSettings::*field>
Reason readText(std::string_view, const std::string& value, DosrunSettings& settings) {
    settings.*field = value;
    return std::nullopt;
}

template <std::string DosrunSettings::*field>
Lines textLine(const DosrunSettings& settings) {
    return oneLine(settings.*field);
}

// One key of the settings file: how its line is read into the settings and
// how the settings in force are written as such lines. A named key ("drive
// D", "set LIB") is its word, a blank or a tab, and the name.
struct SettingsKey {
    std::string_view word;
    bool named;
    // The reason the value is refused, or nothing.
    Reason (*read)(std::string_view name, const std::string& value, DosrunSettings& settings);
    // Its lines' names (empty for a key without one) and values.
    Lines (*lines)(const DosrunSettings& settings);
};

// The keys in the order the settings are written.
constexpr SettingsKey kSettingsKeys[] = {
    {"root", false, readText<&DosrunSettings::root>, textLine<&DosrunSettings::root>},
    {"drive", true,
     [](std::string_view letter, const std::string& folder, DosrunSettings& settings) -> Reason {
         if (letter.size() != 1) return "a drive is one letter";
         if (auto reason = CheckDriveLetter(letter[0])) return reason;
         settings.drives[upper(letter[0])] = folder;
         return std::nullopt;
     },
     [](const DosrunSettings& settings) {
         Lines lines;
         for (const auto& [letter, folder] : settings.drives)
             lines.emplace_back(std::string(1, letter), folder);
         return lines;
     }},
    {"path", false, readText<&DosrunSettings::path>, textLine<&DosrunSettings::path>},
    {"set", true,
     [](std::string_view name, const std::string& value, DosrunSettings& settings) -> Reason {
         SetDosVariable(settings, std::string(name), value);
         return std::nullopt;
     },
     [](const DosrunSettings& settings) { return settings.environment; }},
    {"cycles", false,
     [](std::string_view, const std::string& value, DosrunSettings& settings) -> Reason {
         if (auto reason = CheckCycles(value)) return reason;
         settings.cycles = value;
         return std::nullopt;
     },
     textLine<&DosrunSettings::cycles>},
    {"timeout", false,
     [](std::string_view, const std::string& value, DosrunSettings& settings) -> Reason {
         const auto seconds = ParseTimeoutSeconds(value);
         if (!seconds) return "the timeout is a whole number of seconds, 0 for none";
         settings.timeoutSeconds = *seconds;
         return std::nullopt;
     },
     [](const DosrunSettings& settings) {
         return oneLine(std::to_string(settings.timeoutSeconds));
     }},
};

// One settings line, read into `settings`; the reason when it is refused.
// The key is trimmed, so a named key's name is never empty.
Reason applyLine(std::string_view line, DosrunSettings& settings) {
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos) return "no \"=\" in the line " + quoted(line);
    const std::string_view key = trim(line.substr(0, equals));
    const std::string value(trim(line.substr(equals + 1)));
    for (const SettingsKey& row : kSettingsKeys) {
        if (!row.named && key == row.word) return row.read({}, value, settings);
        const bool blankAfterWord = key.size() > row.word.size() &&
                                    (key[row.word.size()] == ' ' || key[row.word.size()] == '\t');
        if (row.named && key.starts_with(row.word) && blankAfterWord)
            return row.read(trim(key.substr(row.word.size() + 1)), value, settings);
    }
    return "unknown setting " + quoted(key);
}

}  // namespace

void SetDosVariable(DosrunSettings& settings, const std::string& name, const std::string& value) {
    auto& variables = settings.environment;
    const auto same = std::find_if(variables.begin(), variables.end(), [&](const auto& variable) {
        return equalsIgnoreCase(variable.first, name, CodePage::Utf8);
    });
    if (same != variables.end()) {
        same->second = value;
    } else {
        variables.emplace_back(name, value);
    }
}

std::optional<std::string> CheckDriveLetter(char letter) {
    const char drive = upper(letter);
    if (drive < 'A' || drive > 'Z') return "a drive is a letter from A to Z";
    if (drive == 'C') return "drive C is the root";
    if (drive == 'Z') return "drive Z is DOSBox's own";
    return std::nullopt;
}

std::optional<std::string> CheckCycles(std::string_view cycles) {
    // What DOSBox takes: "max", "auto", a number, "fixed N", "max N%".
    if (cycles == "max" || cycles == "auto" || isDigits(cycles)) return std::nullopt;
    if (cycles.starts_with("fixed ") && isDigits(cycles.substr(6))) return std::nullopt;
    if (cycles.starts_with("max ") && cycles.ends_with("%") &&
        isDigits(cycles.substr(4, cycles.size() - 5)))
        return std::nullopt;
    return "cycles are \"max\", \"auto\", a number, \"fixed N\" or \"max N%\"";
}

std::optional<int> ParseTimeoutSeconds(std::string_view text) {
    if (!isDigits(text)) return std::nullopt;
    return std::atoi(std::string(text).c_str());
}

std::optional<SettingsError> ParseDosrunSettings(std::string_view text, DosrunSettings& settings) {
    if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
    int number = 0;
    while (!text.empty()) {
        ++number;
        const std::size_t end = text.find('\n');
        const std::string_view line = trim(text.substr(0, end));
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (line.empty() || line.front() == '#') continue;
        if (auto reason = applyLine(line, settings)) return SettingsError{number, *reason};
    }
    return std::nullopt;
}

std::string DosrunSettingsText(const DosrunSettings& settings) {
    std::string text;
    for (const SettingsKey& row : kSettingsKeys) {
        for (const auto& [name, value] : row.lines(settings))
            text += std::string(row.word) + (row.named ? " " + name : std::string()) + " = " +
                    value + "\n";
    }
    return text;
}

std::string DosrunSettingsPath() {
#ifdef _WIN32
    const char* appData = std::getenv("APPDATA");
    if (appData == nullptr || *appData == '\0') return {};
    return std::string(appData) + "\\vantor\\dosrun.conf";
#else
    const char* config = std::getenv("XDG_CONFIG_HOME");
    if (config != nullptr && *config == '/') return std::string(config) + "/vantor/dosrun.conf";
    const char* home = std::getenv("HOME");
    if (home == nullptr || *home == '\0') return {};
    return std::string(home) + "/.config/vantor/dosrun.conf";
#endif
}

#ifdef _WIN32
DosrunSettingsFile LoadDosrunSettingsFile(const std::string& path) {
    std::error_code error;
    const auto status = std::filesystem::status(path, error);
    if (status.type() == std::filesystem::file_type::not_found) return {};
    if (error) return {std::nullopt, error.message()};
    if (status.type() != std::filesystem::file_type::regular)
        return {std::nullopt, "it is not a file"};
    std::ifstream file(std::filesystem::path(path), std::ios::binary);
    std::string text;
    char bytes[4096];
    while (file && text.size() <= kDosrunSettingsLimit) {
        file.read(bytes, sizeof bytes);
        text.append(bytes, static_cast<std::size_t>(file.gcount()));
    }
    if (file.bad() || (!file.eof() && text.size() <= kDosrunSettingsLimit))
        return {std::nullopt, "it cannot be read"};
    if (text.size() > kDosrunSettingsLimit) return {std::nullopt, "it is larger than 64 KiB"};
    return {text, {}};
}
#else
namespace {

std::string kindOf(mode_t mode) {
    if (S_ISDIR(mode)) return "it is a folder, not a file";
    if (S_ISFIFO(mode)) return "it is a FIFO, not a file";
    if (S_ISCHR(mode) || S_ISBLK(mode)) return "it is a device, not a file";
    return "it is not a regular file";
}

}  // namespace

DosrunSettingsFile LoadDosrunSettingsFile(const std::string& path) {
    struct stat named {};
    if (::stat(path.c_str(), &named) != 0) {
        struct stat link {};
        if (errno == ENOENT && ::lstat(path.c_str(), &link) != 0) return {};
        return {std::nullopt, errno == ENOENT ? "it is a link to nothing" : std::strerror(errno)};
    }
    // Looked at before it is opened: a device may act on the open alone.
    if (!S_ISREG(named.st_mode)) return {std::nullopt, kindOf(named.st_mode)};
    if (named.st_size > static_cast<off_t>(kDosrunSettingsLimit))
        return {std::nullopt, "it is larger than 64 KiB"};
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return {std::nullopt, std::strerror(errno)};
    struct stat opened {};
    std::string text;
    std::string refusal;
    if (::fstat(fd, &opened) != 0 || opened.st_dev != named.st_dev ||
        opened.st_ino != named.st_ino) {
        refusal = "it was replaced while it was read";
    } else {
        char bytes[4096];
        while (text.size() <= kDosrunSettingsLimit) {
            const ssize_t got = ::read(fd, bytes, sizeof bytes);
            if (got < 0 && errno == EINTR) continue;
            if (got < 0) refusal = std::strerror(errno);
            if (got <= 0) break;
            text.append(bytes, static_cast<std::size_t>(got));
        }
        if (refusal.empty() && text.size() > kDosrunSettingsLimit)
            refusal = "it is larger than 64 KiB";
    }
    ::close(fd);
    if (!refusal.empty()) return {std::nullopt, refusal};
    return {text, {}};
}
#endif

std::optional<std::string> ReadDosrunSettingsFile(const std::string& path) {
    return LoadDosrunSettingsFile(path).text;
}

std::optional<std::string> HostPathOfDosPath(std::string_view dosPath,
                                             const DosrunSettings& settings,
                                             const std::string& defaultRoot, CodePage cp) {
    if (!hasDrivePrefix(dosPath)) return std::nullopt;
    const char letter = upper(dosPath[0]);
    std::string folder;
    if (letter == 'C') {
        folder = settings.root.empty() ? defaultRoot : settings.root;
    } else if (const auto drive = settings.drives.find(letter); drive != settings.drives.end()) {
        folder = drive->second;
    }
    if (folder.empty()) return std::nullopt;

    std::filesystem::path host = folder;
    for (const std::string& name : dosPathNames(dosPath.substr(2), cp)) {
        if (name == "..") {
            host = host.parent_path();
        } else if (name != ".") {
            host = EntryIgnoringCase(host, name, cp, false).value_or(host / name);
        }
    }
    return host.string();
}

}  // namespace common
