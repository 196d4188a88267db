#include "dostext.h"

#include <algorithm>
#include <utility>

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
           common::equalsIgnoreCase(name.substr(name.size() - extension.size()), extension,
                                    common::CodePage::Utf8);
}

// False, with the reason in `error`, for a text with a control character or
// one of the characters `refused`, which `refusal` tells.
bool checkText(std::string_view text, std::string_view refused, const char* refusal,
               std::string* error) {
    if (std::any_of(text.begin(), text.end(), isControl)) {
        *error = "it holds a control character";
        return false;
    }
    if (text.find_first_of(refused) != std::string_view::npos) {
        *error = refusal;
        return false;
    }
    return true;
}

}  // namespace

bool JoinDosCommandLine(const std::vector<std::string>& words, std::string* line,
                        std::string* error) {
    std::string joined;
    for (const std::string& word : words) {
        if (std::any_of(word.begin(), word.end(), isControl)) {
            *error = "the argument \"" + word + "\" holds a control character";
            return false;
        }
        const auto quotes = std::count(word.begin(), word.end(), '"');
        // The DOS shell has no escape for a quote: one more or one less in
        // the line would turn a quoted ">" into a live redirection.
        if (quotes % 2 != 0 || (quotes > 0 && needsQuotes(word))) {
            *error = "DOS cannot take the argument " + word + " as one word";
            return false;
        }
        if (!joined.empty()) joined += ' ';
        joined += needsQuotes(word) ? '"' + word + '"' : word;
    }
    if (joined.size() > kMaxDosCommandLine) {
        *error = "the DOS command line is " + std::to_string(joined.size()) +
                 " characters long; DOS takes at most " + std::to_string(kMaxDosCommandLine);
        return false;
    }
    *line = std::move(joined);
    return true;
}

bool CanNameAProgram(std::string_view word) {
    return !needsQuotes(word) && word.find('"') == std::string_view::npos;
}

bool CheckDosValue(std::string_view text, std::string* error) {
    return checkText(
        text, "<>|\"",
        "DOS would read its \"<\", \">\", \"|\" or double quote as part of the command", error);
}

bool CheckMountFolder(std::string_view folder, std::string* error) {
    return checkText(folder, "\"", "DOSBox cannot mount a name with a double quote", error);
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
