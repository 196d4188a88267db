// The tool-argument macros. Input lines: the tool's program, the argument
// text, the project's folder, its makefile's name, the project's name, its
// target name and, when present, the file the chooser answers (else the
// chooser is cancelled).
//
// Every value must reach the program as literal text. The check: the same
// argument text with each macro replaced by a plain marker word is taken
// apart by the rules the line will meet (the Windows rules, or the shell's
// for a "cmd /c" line, the program and the arguments together deciding, as
// the runner decides); with the markers' values put in, that must give the
// same arguments as taking apart the line that was really built, and the
// values must not change which rules those are.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <utility>

#include "codepage.h"
#include "commandline_posix.h"
#include "commandtemplate.h"
#include "dospath.h"
#include "fuzzinput.h"
#include "project.h"
#include "tool.h"

namespace {

using Words = std::vector<std::string>;

std::string field(const std::vector<std::string_view>& fields, std::size_t index) {
    return index < fields.size() ? std::string(fields[index]) : std::string();
}

// A byte that is no character's start in either code page and no shell
// syntax: in an argument taken apart it comes only from a marker.
constexpr std::string_view kMarker = "\xFF";

// Bytes the shell takes as they are in an unquoted word.
bool isPlainShellByte(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte >= 0x80 || (byte >= '0' && byte <= '9') || (byte >= 'a' && byte <= 'z') ||
           (byte >= 'A' && byte <= 'Z') ||
           std::string_view("_./:@%+,-").find(c) != std::string_view::npos;
}

// The words of a shell line made only of plain bytes, blanks and the three
// kinds of quoting; nullopt for a line with anything else in it.
std::optional<Words> shellWords(std::string_view line) {
    Words words;
    std::string word;
    bool inWord = false;
    for (std::size_t i = 0; i < line.size();) {
        const char c = line[i];
        if (c == ' ' || c == '\t') {
            if (inWord) words.push_back(std::exchange(word, {}));
            inWord = false;
            ++i;
            continue;
        }
        inWord = true;
        if (c == '\'') {
            const std::size_t end = line.find('\'', i + 1);
            if (end == std::string_view::npos) return std::nullopt;
            word += line.substr(i + 1, end - i - 1);
            i = end + 1;
        } else if (c == '\\') {
            if (i + 1 == line.size() || line[i + 1] == '\n') return std::nullopt;
            word += line[i + 1];
            i += 2;
        } else if (c == '"') {
            for (++i;; ++i) {
                if (i == line.size()) return std::nullopt;
                const char d = line[i];
                if (d == '"') break;
                if (d == '$' || d == '`') return std::nullopt;
                if (d == '\\' && i + 1 < line.size() &&
                    std::string_view("$`\"\\\n").find(line[i + 1]) != std::string_view::npos) {
                    if (line[i + 1] == '\n') return std::nullopt;
                    ++i;
                }
                word += line[i];
            }
            ++i;
        } else if (isPlainShellByte(c)) {
            word += c;
            ++i;
        } else {
            return std::nullopt;
        }
    }
    if (inWord) words.push_back(word);
    return words;
}

using Values = std::vector<std::pair<char, std::string>>;

std::string valueOf(const Values& values, char letter) {
    for (const auto& [key, value] : values) {
        if (key == letter) return value;
    }
    return {};
}

// The words with each marker replaced by its value.
Words withValues(const Words& words, const Values& values) {
    Words out;
    for (const std::string& word : words) {
        std::string filled;
        for (std::size_t pos = 0;;) {
            const std::size_t at = word.find(kMarker, pos);
            filled += word.substr(pos, at - pos);
            if (at == std::string::npos) break;
            filled += valueOf(values, word[at + 1]);
            pos = at + 2;
        }
        out.push_back(std::move(filled));
    }
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text = fuzz::asText(data, size);
    const std::vector<std::string_view> fields = fuzz::splitFields(text, '\n');
    const std::string command = field(fields, 0);
    const std::string original = field(fields, 1);
    const std::optional<std::string> answer =
        fields.size() > 6 ? std::optional<std::string>(fields[6]) : std::nullopt;
    Project project;
    project.projectFolder = field(fields, 2);
    // A file name without separators, so the path's parts are the folder and it.
    std::string fileName = field(fields, 3);
    std::erase_if(fileName, [](char c) { return c == '\\' || c == '/' || c == ':'; });
    project.projectFile = project.projectFolder + common::kNativeSeparator + fileName;
    project.projectName = field(fields, 4);
    project.targetName = field(fields, 5);

    const Values values = {{'D', project.projectFolder},
                           {'F', fileName},
                           {'N', project.projectName},
                           {'T', project.targetName},
                           {'S', answer.value_or("")}};
    // The same project with a marker, the byte and a letter, for each value
    // (an empty value stays empty: it adds nothing, which may join the
    // template's text around it).
    const auto marker = [&values](char letter) {
        return valueOf(values, letter).empty() ? std::string() : std::string(kMarker) + letter;
    };
    Project markers;
    markers.projectFolder = marker('D');
    markers.projectFile = markers.projectFolder + common::kNativeSeparator + marker('F');
    markers.projectName = marker('N');
    markers.targetName = marker('T');
    // Markers in the template itself, or bytes no command line can carry,
    // leave the comparison out.
    const bool comparable =
        text.find(kMarker) == std::string_view::npos && text.find('\0') == std::string_view::npos;

    for (const auto cp : {common::CodePage::Utf8, common::CodePage::ShiftJis}) {
        const auto expand = [&](const Project& which, std::optional<std::string> chosen,
                                std::string& arguments) {
            arguments = original;
            return ExpandToolArguments(
                arguments, which, std::string(), [&chosen](const std::string&) { return chosen; },
                cp, command);
        };
        std::string arguments;
        const bool expanded = expand(project, answer, arguments);
        fuzz::require(expanded || arguments == original, "a cancelled expansion changed the text");
        std::string marked;
        if (!expanded || !comparable ||
            !expand(markers, answer ? std::optional<std::string>(marker('S')) : std::nullopt,
                    marked)) {
            continue;
        }
        // The lines as the runner composes them, and their syntax as it
        // chooses it: a program "cmd" with arguments "/c ..." is the shell's.
        const std::string line = ComposeCommandLine(Tool{{}, command, arguments, {}});
        const std::string markedLine = ComposeCommandLine(Tool{{}, command, marked, {}});
        const CommandSyntax syntax = CommandSyntaxOf(line);
        fuzz::require(CommandSyntaxOf(markedLine) == syntax, "a value decided how the line runs");
        if (syntax == CommandSyntax::Shell) {
            const auto expected = shellWords(CommandInterpreterRest(markedLine).value_or(""));
            if (!expected) continue;
            const auto words = shellWords(CommandInterpreterRest(line).value_or(""));
            fuzz::require(words.has_value(), "a value brought shell syntax into the line");
            fuzz::require(*words == withValues(*expected, values),
                          "the shell takes a value for other words");
        } else if (cp == common::CodePage::Utf8 && command.find('"') == std::string::npos &&
                   command.find_first_not_of(" \t") != std::string::npos) {
            fuzz::require(
                SplitCommandLine(line, cp) == withValues(SplitCommandLine(markedLine, cp), values),
                "a Windows program takes a value for other arguments");
        }
    }
    return 0;
}
