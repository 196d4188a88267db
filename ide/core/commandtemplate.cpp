// Building command lines whose inserted values stay literal: the template is
// followed through the quoting rules of the syntax that will take the line
// apart, and each value is written so that those rules give back its bytes.
#include "commandtemplate.h"

#include <algorithm>
#include <utility>

#include "whitespace.h"

namespace {

using common::isBlank;
using common::skipBlanks;

char asciiLower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// How a line's beginning meets the "cmd /c" form.
enum class InterpreterForm { Open, Missed, Matched };

struct InterpreterMatch {
    InterpreterForm form;
    std::size_t restAt;  // where the rest of a Matched line begins
};

InterpreterMatch matchInterpreter(std::string_view text) {
    std::size_t pos = skipBlanks(text, 0);
    InterpreterForm form = InterpreterForm::Matched;
    // Steps over word, ASCII letter case aside; false when the text ends
    // within it (still Open) or differs from it (Missed).
    const auto word = [&](std::string_view expected) {
        for (const char c : expected) {
            if (pos == text.size()) {
                form = InterpreterForm::Open;
                return false;
            }
            if (asciiLower(text[pos]) != c) {
                form = InterpreterForm::Missed;
                return false;
            }
            ++pos;
        }
        return true;
    };
    if (!word("cmd")) return {form, pos};
    if (pos < text.size() && text[pos] == '.' && !word(".exe")) return {form, pos};
    pos = skipBlanks(text, pos);
    if (!word("/c")) return {form, pos};
    return {InterpreterForm::Matched, skipBlanks(text, pos)};
}

// A value written into a quoted part under the Windows rules: a backslash
// run before a quote doubled and the quote escaped. The run at the end is
// left out, its length returned in trailing, for the writer to double when
// a quote follows.
std::string escapeForQuotes(std::string_view value, common::CodePage cp, std::size_t& trailing) {
    std::string out;
    std::size_t run = 0;
    for (std::size_t pos = 0; pos < value.size();) {
        const std::size_t length = common::charLength(cp, value, pos);
        const char c = length == 1 ? value[pos] : '\0';
        if (c == '\\') {
            ++run;
        } else {
            out.append(c == '"' ? 2 * run + 1 : run, '\\');
            out.append(value.substr(pos, length));
            run = 0;
        }
        pos += length;
    }
    trailing = run;
    return out;
}

// A program started under the Windows rules reads its line as text of the
// code page, where a Shift-JIS lead byte cut off from its second byte would
// take the line's next byte along (a "\" before a quote, say) and change
// how the rest splits. Such a byte is no text, so it goes in as the "?" the
// system shows for it.
std::string withoutCutLeadBytes(std::string_view value, common::CodePage cp) {
    std::string text(value);
    if (cp != common::CodePage::ShiftJis) return text;
    for (std::size_t pos = 0; pos < text.size();) {
        const std::size_t length = common::charLength(cp, text, pos);
        if (length == 1 && common::isLeadByte(cp, static_cast<unsigned char>(text[pos])))
            text[pos] = '?';
        pos += length;
    }
    return text;
}

// Bytes that the shell takes as they are in an unquoted word anywhere on the
// line. Each byte counts on its own: the shell knows nothing of double-byte
// characters, whose second byte may be "\" or "|".
bool isPlainShellWord(std::string_view value) {
    return std::all_of(value.begin(), value.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte >= 0x80 || (byte >= '0' && byte <= '9') || (byte >= 'a' && byte <= 'z') ||
               (byte >= 'A' && byte <= 'Z') ||
               std::string_view("_./:@%+,-").find(c) != std::string_view::npos;
    });
}

// Inside single quotes every byte but the quote itself is literal; a quote
// closes them, comes escaped, and opens them again.
std::string withinSingleQuotes(std::string_view value) {
    std::string out;
    for (char c : value) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out;
}

}  // namespace

std::optional<std::string> CommandInterpreterRest(std::string_view commandLine) {
    const InterpreterMatch match = matchInterpreter(commandLine);
    if (match.form != InterpreterForm::Matched) return std::nullopt;
    return std::string(commandLine.substr(match.restAt));
}

std::optional<CommandSyntax> SettledCommandSyntax(std::string_view start) {
#ifdef _WIN32
    (void)start;
    return CommandSyntax::Windows;
#else
    switch (matchInterpreter(start).form) {
        case InterpreterForm::Matched:
            return CommandSyntax::Shell;
        case InterpreterForm::Missed:
            return CommandSyntax::Windows;
        case InterpreterForm::Open:
            break;
    }
    return std::nullopt;
#endif
}

CommandSyntax CommandSyntaxOf(std::string_view commandLine) {
    // A whole line that is still open is no "cmd /c" line.
    return SettledCommandSyntax(commandLine).value_or(CommandSyntax::Windows);
}

CommandLineBuilder::CommandLineBuilder(common::CodePage cp) : cp_(cp) {}

CommandSyntax CommandLineBuilder::syntax() const {
    return syntax_.value_or(CommandSyntaxOf(unsettled_));
}

// The text held while the syntax was open goes through the settled rules.
void CommandLineBuilder::settle(CommandSyntax syntax) {
    syntax_ = syntax;
    appendSettledTemplate(std::exchange(unsettled_, {}));
}

void CommandLineBuilder::appendTemplate(std::string_view text) {
    if (syntax_) {
        appendSettledTemplate(text);
        return;
    }
    unsettled_ += text;
    if (const auto syntax = SettledCommandSyntax(unsettled_)) settle(*syntax);
}

void CommandLineBuilder::appendSettledTemplate(std::string_view text) {
    for (std::size_t pos = 0; pos < text.size();) {
        const std::size_t length = common::charLength(cp_, text, pos);
        if (syntax_ == CommandSyntax::Shell) {
            for (std::size_t i = 0; i < length; ++i) appendShellTemplate(text[pos + i]);
        } else {
            appendWindowsTemplate(text.substr(pos, length));
        }
        pos += length;
    }
}

void CommandLineBuilder::appendValue(std::string_view value, ValueQuotes quotes) {
    if (value.empty()) return;
    if (!syntax_) {
        // The line could still become a "cmd /c" line, and the value must
        // not make it one. Written as it is, it may show that the line is
        // none; otherwise it goes in quoted, which no "cmd /c" line has at
        // this point. Either way the line runs by the Windows rules.
        CommandLineBuilder asItIs = *this;
        asItIs.settle(CommandSyntax::Windows);
        asItIs.appendValue(value, quotes);
        if (SettledCommandSyntax(asItIs.text()) == CommandSyntax::Windows) {
            *this = std::move(asItIs);
            return;
        }
        settle(CommandSyntax::Windows);
        quotes = ValueQuotes::Always;
    }
    if (syntax_ == CommandSyntax::Shell) {
        appendShellValue(value, quotes);
        return;
    }
    const std::string text = withoutCutLeadBytes(value, cp_);
    if (phase_ != Phase::Arguments) {
        appendProgramNameValue(text, quotes);
    } else {
        appendWindowsValue(text, quotes);
    }
}

// Under the Windows rules the meaning of backslashes and of a closing quote
// depends on what follows them, so they are held back until it is known:
// `pendingBackslashes_` literal ones, `templateBackslashes_` the template's
// own, and after them a closing quote when `closing_` says so.
void CommandLineBuilder::appendWindowsTemplate(std::string_view character) {
    const char c = character.size() == 1 ? character.front() : '\0';
    if (phase_ == Phase::Leading && !isBlank(c)) phase_ = Phase::Program;
    if (phase_ != Phase::Arguments) {
        // The program name: quotes group and nothing escapes.
        if (c == '"') quoted_ = !quoted_;
        if (phase_ == Phase::Program && isBlank(c) && !quoted_) phase_ = Phase::Arguments;
        line_ += character;
        return;
    }
    if (closing_ != Closing::None) {
        const Closing closing = std::exchange(closing_, Closing::None);
        if (c == '"') {
            quoted_ = true;
            // "" inside quotes is the template's literal quote; after a
            // value's closing quote this opening one cancels it out.
            if (closing == Closing::ByTemplate) writeQuote(true);
            return;
        }
        writeQuote(false);  // the quote did close
    }
    if (c == '\\') {
        ++templateBackslashes_;
        return;
    }
    if (c == '"') {
        const bool escaped = templateBackslashes_ % 2 == 1;
        pendingBackslashes_ += templateBackslashes_ / 2;
        templateBackslashes_ = 0;
        if (escaped) {
            writeQuote(true);
        } else if (quoted_) {
            quoted_ = false;
            closing_ = Closing::ByTemplate;
        } else {
            quoted_ = true;
            writeQuote(false);
        }
        return;
    }
    line_.append(pendingBackslashes_ + templateBackslashes_, '\\');
    pendingBackslashes_ = templateBackslashes_ = 0;
    line_ += character;
}

// The pending literal backslashes as they must stand before a quote
// (doubled), then the quote: an escaped, literal one or one that acts.
void CommandLineBuilder::writeQuote(bool literal) {
    line_.append(2 * pendingBackslashes_ + (literal ? 1 : 0), '\\');
    line_ += '"';
    pendingBackslashes_ = 0;
}

void CommandLineBuilder::appendWindowsValue(std::string_view value, ValueQuotes quotes) {
    // The template's backslashes before a value were followed by no quote.
    pendingBackslashes_ += templateBackslashes_;
    templateBackslashes_ = 0;
    bool closeAfter = false;
    if (closing_ != Closing::None) {
        // The value joins the quoted part that was about to close.
        closing_ = Closing::None;
        quoted_ = true;
        closeAfter = true;
    }
    const bool needsQuotes =
        quotes == ValueQuotes::Always || value.find_first_of(" \t\"") != std::string_view::npos;
    if (!quoted_ && needsQuotes) {
        writeQuote(false);
        quoted_ = true;
        closeAfter = true;
    }
    // Unquoted, the value holds no quote, and its backslashes stay as they are.
    std::size_t trailing = 0;
    const std::string body = escapeForQuotes(value, cp_, trailing);
    if (!body.empty()) {
        const std::size_t firstOther = body.find_first_not_of('\\');
        const bool quoteFollows = firstOther != std::string::npos && body[firstOther] == '"';
        line_.append(quoteFollows ? 2 * pendingBackslashes_ : pendingBackslashes_, '\\');
        line_ += body;
        pendingBackslashes_ = 0;
    }
    pendingBackslashes_ += trailing;
    if (closeAfter) {
        quoted_ = false;
        closing_ = Closing::ByValue;
    }
}

std::string CommandLineBuilder::text() const {
    // An open beginning holds only blanks and letters of "cmd /c", which
    // both syntaxes write as they are.
    std::string line = line_ + unsettled_;
    if (closing_ != Closing::None) {
        line.append(2 * pendingBackslashes_, '\\');
        line += '"';
    } else {
        line.append(pendingBackslashes_ + templateBackslashes_, '\\');
    }
    return line;
}

void CommandLineBuilder::appendProgramNameValue(std::string_view value, ValueQuotes quotes) {
    std::string name(value);
    std::erase(name, '"');
    if (phase_ == Phase::Leading) phase_ = Phase::Program;
    const bool wrap = !quoted_ && (quotes == ValueQuotes::Always ||
                                   name.find_first_of(" \t") != std::string::npos);
    line_ += wrap ? '"' + name + '"' : name;
}

void CommandLineBuilder::appendShellTemplate(char byte) {
    if (std::exchange(shellEscape_, false)) {
        line_ += byte;
        return;
    }
    switch (shellQuote_) {
        case ShellQuote::None:
            if (byte == '\\') shellEscape_ = true;
            if (byte == '\'') shellQuote_ = ShellQuote::Single;
            if (byte == '"') shellQuote_ = ShellQuote::Double;
            break;
        case ShellQuote::Single:
            if (byte == '\'') shellQuote_ = ShellQuote::None;
            break;
        case ShellQuote::Double:
            if (byte == '\\') shellEscape_ = true;
            if (byte == '"') shellQuote_ = ShellQuote::None;
            break;
    }
    line_ += byte;
}

void CommandLineBuilder::appendShellValue(std::string_view value, ValueQuotes quotes) {
    switch (shellQuote_) {
        case ShellQuote::None:
            // The template's backslash would only have escaped the value's
            // first character, which is literal anyway.
            if (std::exchange(shellEscape_, false)) line_.pop_back();
            if (quotes == ValueQuotes::WhenNeeded && isPlainShellWord(value)) {
                line_ += value;
            } else {
                line_ += '\'' + withinSingleQuotes(value) + '\'';
            }
            break;
        case ShellQuote::Single:
            line_ += withinSingleQuotes(value);
            break;
        case ShellQuote::Double:
            // Before an ordinary character the template's backslash is one.
            if (std::exchange(shellEscape_, false)) line_ += '\\';
            for (char c : value) {
                if (c == '$' || c == '`' || c == '"' || c == '\\') line_ += '\\';
                line_ += c;
            }
            break;
    }
}
