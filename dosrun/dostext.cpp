#include "dostext.h"

#include <algorithm>

#include "codepage.h"

namespace dosrun {

namespace {

bool isControl(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte < 0x20 || byte == 0x7f;
}

bool needsQuotes(std::string_view word) {
    return word.empty() || word.find_first_of(" \t<>|") != std::string_view::npos;
}

bool endsWithIgnoringCase(std::string_view name, std::string_view extension) {
    return name.size() >= extension.size() &&
           common::equalsIgnoreCase(name.substr(name.size() - extension.size()), extension, common::CodePage::Utf8);
}

}  // namespace

DosCommandLine JoinDosCommandLine(const std::vector<std::string>& words) {
    DosCommandLine result;
    for (const std::string& word : words) {
        if (std::any_of(word.begin(), word.end(), isControl))
            return {{}, "the argument \"" + word + "\" holds a control character"};
        const auto quotes = std::count(word.begin(), word.end(), '"');
        // The DOS shell has no escape for a quote: one more or one less in
        // the line would turn a quoted ">" into a live redirection.
        if (quotes % 2 != 0 || (quotes > 0 && needsQuotes(word)))
            return {{}, "DOS cannot take the argument " + word + " as one word"};
        if (!result.line.empty()) result.line += ' ';
        result.line += needsQuotes(word) ? '"' + word + '"' : word;
    }
    if (result.line.size() > kMaxDosCommandLine)
        return {{}, "the DOS command line is " + std::to_string(result.line.size()) +
                        " characters long; DOS takes at most " +
                        std::to_string(kMaxDosCommandLine)};
    return result;
}

bool CanNameAProgram(std::string_view word) {
    return !needsQuotes(word) && word.find('"') == std::string_view::npos;
}

std::optional<std::string> RefusalOfDosValue(std::string_view text) {
    if (std::any_of(text.begin(), text.end(), isControl)) return "it holds a control character";
    if (text.find_first_of("<>|\"") != std::string_view::npos)
        return "DOS would read its \"<\", \">\", \"|\" or double quote as part of the command";
    return std::nullopt;
}

std::optional<std::string> RefusalOfMountFolder(std::string_view folder) {
    if (std::any_of(folder.begin(), folder.end(), isControl)) return "it holds a control character";
    if (folder.find('"') != std::string_view::npos) return "DOSBox cannot mount a name with a double quote";
    return std::nullopt;
}

std::string BatchLiteral(std::string_view text) {
    std::string literal;
    for (const char c : text) {
        literal += c;
        if (c == '%') literal += '%';
    }
    return literal;
}

bool IsBatchProgram(std::string_view program) {
    return endsWithIgnoringCase(program, ".bat");
}

bool IsProgramFile(std::string_view program) {
    return endsWithIgnoringCase(program, ".com") || endsWithIgnoringCase(program, ".exe");
}

}  // namespace dosrun
