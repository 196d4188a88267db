// Reading compiler message lines: the compilers' "file(line)" form and the
// colon forms "file:line:column:", "file:line:" and "file:line.column:".
#include "messageline.h"

#include <algorithm>
#include <limits>

#include "codepage.h"

namespace {

constexpr auto npos = std::string_view::npos;

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

bool isAsciiAlphanumeric(char c) {
    const char lower = static_cast<char>(c | 0x20);
    return isDigit(c) || (lower >= 'a' && lower <= 'z');
}

// The decimal digits at pos, pos moved past them; nullopt when there are
// none. An absurdly long number stays at the largest one rather than wrapping.
std::optional<unsigned long> readNumber(std::string_view text, std::size_t& pos) {
    if (pos >= text.size() || !isDigit(text[pos])) return std::nullopt;
    constexpr auto kMax = std::numeric_limits<unsigned long>::max();
    unsigned long number = 0;
    for (; pos < text.size() && isDigit(text[pos]); ++pos) {
        const auto digit = static_cast<unsigned long>(text[pos] - '0');
        number = number > (kMax - digit) / 10 ? kMax : number * 10 + digit;
    }
    return number;
}

void skipBlanks(std::string_view text, std::size_t& pos) {
    while (pos < text.size() && text[pos] == ' ') ++pos;
}

// The end of the message's kind word at pos (error, warning, note, fatal
// error or fatal, in any letter case, not followed by a letter or digit),
// or npos when none begins there.
std::size_t kindWordEnd(std::string_view text, std::size_t pos) {
    for (std::string_view word : {"fatal error", "error", "warning", "note", "fatal"}) {
        if (pos > text.size() || text.size() - pos < word.size()) continue;
        const std::size_t end = pos + word.size();
        if (common::equalsIgnoreCase(text.substr(pos, word.size()), word, common::CodePage::Utf8) &&
            (end == text.size() || !isAsciiAlphanumeric(text[end])))
            return end;
    }
    return npos;
}

// "file:line:column: kind:", "file:line.column: kind:" or "file:line: kind:"
// at the head of the text, the file name holding neither "(" nor ": " (a
// "(" before the head leaves the line to the compilers' form).
std::optional<EditorJump> parseColonForm(std::string_view text) {
    if (text.starts_with(':')) return std::nullopt;  // no file name
    for (std::size_t colon = text.find(':'); colon != npos; colon = text.find(':', colon + 1)) {
        std::size_t pos = colon + 1;
        const auto line = readNumber(text, pos);
        if (!line) continue;
        unsigned long column = 0;
        if (pos < text.size() && (text[pos] == ':' || text[pos] == '.')) {
            std::size_t after = pos + 1;
            if (const auto given = readNumber(text, after)) {
                column = *given;
                pos = after;
            }
        }
        if (pos >= text.size() || text[pos] != ':') continue;
        ++pos;
        skipBlanks(text, pos);
        const std::size_t kindEnd = kindWordEnd(text, pos);
        if (kindEnd == npos || kindEnd >= text.size() || text[kindEnd] != ':') continue;
        const std::string_view file = text.substr(0, colon);
        if (file.find('(') != npos || file.find(": ") != npos) return std::nullopt;
        return EditorJump{std::string(file), *line, column};
    }
    return std::nullopt;
}

// "file(line)", blanks, ":", blanks and the kind word.
std::optional<EditorJump> parseParenthesisForm(std::string_view text) {
    const std::size_t open = text.find('(');
    if (open == npos || open == 0) return std::nullopt;
    std::size_t pos = open + 1;
    const auto line = readNumber(text, pos);
    if (!line || pos >= text.size() || text[pos] != ')') return std::nullopt;
    ++pos;
    skipBlanks(text, pos);
    if (pos >= text.size() || text[pos] != ':') return std::nullopt;
    ++pos;
    skipBlanks(text, pos);
    if (kindWordEnd(text, pos) == npos) return std::nullopt;
    return EditorJump{std::string(text.substr(0, open)), *line, 0};
}

}  // namespace

std::optional<EditorJump> ParseEditorJump(std::string_view text) {
    if (auto colonForm = parseColonForm(text)) return colonForm;
    std::size_t end = text.find('(');
    if (end == npos) end = text.find(' ');
    if (end == npos) end = text.size();
    if (end == 0) return std::nullopt;
    std::size_t digits = end + 1;
    return EditorJump{std::string(text.substr(0, end)), readNumber(text, digits).value_or(0), 0};
}

std::optional<EditorJump> ParseMessageLine(std::string_view line) {
    auto jump = parseColonForm(line);
    if (!jump) jump = parseParenthesisForm(line);
    if (!jump || jump->lineNumber == 0) return std::nullopt;
    return jump;
}

std::optional<std::size_t> FindMessageLine(std::size_t lineCount, const LineAt& lineAt,
                                           std::optional<std::size_t> current,
                                           SearchDirection direction) {
    if (direction == SearchDirection::Next) {
        for (std::size_t i = current ? *current + 1 : 0; i < lineCount; ++i) {
            if (ParseMessageLine(lineAt(i))) return i;
        }
        return std::nullopt;
    }
    for (std::size_t i = current ? std::min(*current, lineCount) : 0; i > 0;) {
        --i;
        if (ParseMessageLine(lineAt(i))) return i;
    }
    return std::nullopt;
}
