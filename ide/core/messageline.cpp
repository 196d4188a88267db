// The table of built-in message forms and the reading of a line by it.
#include "messageline.h"

#include <algorithm>

namespace {

constexpr auto npos = std::string_view::npos;
using enum LineKind;

// Adding a compiler is one row. More particular forms come before the more
// general ones that would also take their lines.
constexpr BuiltInMessageForm kBuiltInForms[] = {
    // The compilers' own form: Microsoft C and MASM, with and without the
    // blank before ":", with a column, and their notes.
    {"Microsoft C, MASM", "%f(%l) : %t %n: %m", Error},
    {"Microsoft C, MASM", "%f(%l): %t %n: %m", Error},
    {"Microsoft C", "%f(%l,%c) : %t %n: %m", Error},
    {"Microsoft C", "%f(%l,%c): %t %n: %m", Error},
    {"Microsoft C", "%f(%l) : %t: %m", Error},
    {"Microsoft C", "%f(%l): %t: %m", Error},
    {"Microsoft C", "%f(%l) : see %m", Note},
    // Open Watcom: wpp gives the column in the message; wmake's own lines
    // put the number in parentheses.
    {"Open Watcom C++", "%f(%l): %t! %n: col(%c) %m", Error},
    {"Open Watcom", "%f(%l): %t! %n: %m", Error},
    {"Open Watcom make", "%f(%l): %t(%n): %m", Error},
    // Turbo C and Borland C++, the numbered form first.
    {"Borland C++", "%t %n %f %l: %m", Error},
    {"Turbo C", "%t %f %l: %m", Error},
    // Turbo Assembler.
    {"Turbo Assembler", "**%t** %f(%l) %m", Error},
    {"Turbo Assembler", "*%t* %f(%l) %m", Error},
    // GCC, Clang, ia16-gcc, NASM, the GNU assembler; bcc writes a dot
    // before the column.
    {"GCC", "%f:%l:%c: %t: %m", Error},
    {"bcc", "%f:%l.%c: %t: %m", Error},
    {"GCC, NASM", "%f:%l: %t: %m", Error},
    {"GCC", "In file included from %f:%l%*", Note},
    {"GCC", "                 from %f:%l%*", Note},
    // The source that refers to a symbol the Open Watcom linker misses.
    {"Open Watcom linker", "file %*(%f): undefined symbol %m", Note},
    // Messages that name no file: they count, but lead nowhere.
    {"Open Watcom linker", "%t! %n: %m", Error},
    {"Open Watcom librarian", "%t! %m", Error},
    {"Open Watcom make", "%t(%n): %m", Error},
    // The DOS extender of the DOS-hosted Open Watcom tools, about the
    // machine's state, not the program built: a note.
    {"DOS/32A", "DOS/32A warning (%n): %m", Note},
    {"Microsoft linker", "%* : %t %n: %m", Error},
    {"GNU linker", "%*undefined reference to %m", Error},
    {"ld86", "undefined symbol: %m", Error},
    {"a program's own message", "%*: %t: %m", Error},
};

// "12>" before a line: the build pane of a parallel build.
std::string_view withoutPanePrefix(std::string_view line) {
    std::size_t digits = 0;
    while (digits < line.size() && line[digits] >= '0' && line[digits] <= '9') ++digits;
    if (digits > 0 && digits < line.size() && line[digits] == '>') return line.substr(digits + 1);
    return line;
}

EditorJump jumpOf(const MessageReading& message) {
    return {message.file, message.line, message.column};
}

}  // namespace

std::span<const BuiltInMessageForm> BuiltInMessageForms() {
    return kBuiltInForms;
}

MessageReader::MessageReader(common::CodePage cp, const std::vector<UserMessageForm>& userForms,
                             std::vector<std::string>* unreadable) {
    for (const UserMessageForm& user : userForms) {
        auto compiled = MessageForm::compile(user.form, cp);
        if (compiled.form) {
            forms_.push_back(std::move(*compiled.form));
        } else if (unreadable != nullptr) {
            unreadable->push_back(user.caption + ": " + compiled.error);
        }
    }
    for (const BuiltInMessageForm& row : kBuiltInForms) {
        forms_.push_back(*MessageForm::compile(row.form, cp, row.kindWithoutWord).form);
    }
}

bool MessageReader::read(std::string_view line, MessageReading& reading) const {
    line = withoutPanePrefix(line);
    const LineProfile profile(line);
    for (const MessageForm& form : forms_) {
        if (form.match(line, profile, reading)) return true;
    }
    return false;
}

std::optional<MessageReading> MessageReader::read(std::string_view line) const {
    MessageReading reading;
    if (!read(line, reading)) return std::nullopt;
    return reading;
}

const MessageReader& BuiltInMessageReader(common::CodePage cp) {
    static const MessageReader utf8(common::CodePage::Utf8);
    static const MessageReader shiftJis(common::CodePage::ShiftJis);
    return cp == common::CodePage::ShiftJis ? shiftJis : utf8;
}

const OutputLine& OutputLineReader::read(std::string_view text) {
    line_.text.assign(text);
    folders_.feed(text);
    MessageReading& reading = line_.message ? *line_.message : spare_;
    if (reader_.read(text, reading)) {
        reading.directory = folders_.current();
        line_.kind = reading.kind;
        if (!line_.message) line_.message = std::move(spare_);
    } else {
        line_.kind = Plain;
        if (line_.message) spare_ = std::move(*line_.message);
        line_.message.reset();
    }
    return line_;
}

bool LeadsToFile(const MessageReading& message) {
    return !message.file.empty();
}

std::optional<EditorJump> ParseMessageLine(std::string_view line, const MessageReader& reader) {
    const auto message = reader.read(line);
    if (!message || !LeadsToFile(*message)) return std::nullopt;
    return jumpOf(*message);
}

std::optional<EditorJump> ParseEditorJump(std::string_view text, const MessageReader& reader) {
    if (auto place = ParseMessageLine(text, reader)) return place;
    std::size_t end = text.find('(');
    if (end == npos) end = text.find(' ');
    if (end == npos) end = text.size();
    if (end == 0) return std::nullopt;
    const std::string_view afterEnd = text.substr(std::min(end + 1, text.size()));
    const std::size_t digits = std::min(afterEnd.find_first_not_of("0123456789"), afterEnd.size());
    return EditorJump{std::string(text.substr(0, end)), DecimalValue(afterEnd.substr(0, digits)),
                      0};
}

std::optional<std::size_t> FindMessageLine(std::size_t lineCount, const ReadingAt& readingAt,
                                           std::optional<std::size_t> current,
                                           SearchDirection direction) {
    const auto leads = [&](std::size_t i) {
        const MessageReading* message = readingAt(i);
        return message != nullptr && LeadsToFile(*message);
    };
    if (direction == SearchDirection::Next) {
        for (std::size_t i = current ? *current + 1 : 0; i < lineCount; ++i) {
            if (leads(i)) return i;
        }
        return std::nullopt;
    }
    for (std::size_t i = current ? std::min(*current, lineCount) : 0; i > 0;) {
        --i;
        if (leads(i)) return i;
    }
    return std::nullopt;
}
