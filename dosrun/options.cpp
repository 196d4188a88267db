#include "options.h"

#include <cctype>
#include <string_view>

namespace dosrun {

namespace {

enum class Kind {
    Value,  // takes a value: "-r FOLDER" or "-rFOLDER"
    Flag,   // a switch of the run
    Query,  // shows something; then the command line may name no program
};

// One option of the command line. A new option is one row (and its part of
// the manual page).
struct Option {
    char letter;                // '\0': a long name only
    std::string_view longName;  // after "--"; empty: a letter only
    Kind kind;
    std::string_view usage;  // its part of the usage text
    // Stores the option (`value` empty but for Kind::Value); false, with the
    // reason in `error`, for a value that is refused.
    bool (*store)(const std::string& value, Invocation& invocation,
                  common::DosrunSettings& settings, std::string* error);
};

// NAME=VALUE with a name before the "=".
bool splitAssignment(const std::string& text, std::string& name, std::string& value) {
    const std::size_t equals = text.find('=');
    if (equals == 0 || equals == std::string::npos) return false;
    name = text.substr(0, equals);
    value = text.substr(equals + 1);
    return true;
}

// An option whose value is taken as it is.
template <std::string common::DosrunSettings::*field>
bool storeText(const std::string& value, Invocation&, common::DosrunSettings& settings,
               std::string*) {
    settings.*field = value;
    return true;
}

// An option that is a switch.
template <bool Invocation::*field>
bool storeSwitch(const std::string&, Invocation& invocation, common::DosrunSettings&,
                 std::string*) {
    invocation.*field = true;
    return true;
}

constexpr Option kOptions[] = {
    {'r', {}, Kind::Value, "[-r FOLDER]", storeText<&common::DosrunSettings::root>},
    {'d',
     {},
     Kind::Value,
     "[-d X=FOLDER]...",
     [](const std::string& value, Invocation&, common::DosrunSettings& settings,
        std::string* error) {
         std::string letter;
         std::string folder;
         if (!splitAssignment(value, letter, folder) || letter.size() != 1) {
             *error = "-d takes a drive letter, \"=\" and a folder: -d D=/opt/dos";
             return false;
         }
         if (auto reason = common::CheckDriveLetter(letter[0])) {
             *error = "-d " + value + ": " + *reason;
             return false;
         }
         settings.drives[static_cast<char>(std::toupper(static_cast<unsigned char>(letter[0])))] =
             folder;
         return true;
     }},
    {'p', {}, Kind::Value, "[-p DOSPATH]", storeText<&common::DosrunSettings::path>},
    {'e',
     {},
     Kind::Value,
     "[-e NAME=VALUE]...",
     [](const std::string& assignment, Invocation&, common::DosrunSettings& settings,
        std::string* error) {
         std::string name;
         std::string value;
         if (!splitAssignment(assignment, name, value)) {
             *error = "-e takes NAME=VALUE";
             return false;
         }
         common::SetDosVariable(settings, name, value);
         return true;
     }},
    {'t',
     {},
     Kind::Value,
     "[-t SECONDS]",
     [](const std::string& value, Invocation&, common::DosrunSettings& settings,
        std::string* error) {
         const auto seconds = common::ParseTimeoutSeconds(value);
         if (!seconds) {
             *error = "-t takes a whole number of seconds, 0 for none";
             return false;
         }
         settings.timeoutSeconds = *seconds;
         return true;
     }},
    {'c',
     {},
     Kind::Value,
     "[-c CYCLES]",
     [](const std::string& cycles, Invocation&, common::DosrunSettings& settings,
        std::string* error) {
         if (auto reason = common::CheckCycles(cycles)) {
             *error = "-c " + cycles + ": " + *reason;
             return false;
         }
         settings.cycles = cycles;
         return true;
     }},
    {'i', {}, Kind::Flag, "[-i]", storeSwitch<&Invocation::passInput>},
    {'v', "version", Kind::Query, "-v", storeSwitch<&Invocation::showVersion>},
    {'\0', "show", Kind::Query, "--show", storeSwitch<&Invocation::showSettings>},
    {'h', "help", Kind::Query, "--help", storeSwitch<&Invocation::showUsage>},
};

// The option a word of two characters or more, starting with "-", names:
// "--show" by its long name, "-i" by its letter, "-rFOLDER" by its letter
// and a value; nothing when it names none.
const Option* optionOf(const std::string& word) {
    const bool longName = word.starts_with("--");
    for (const Option& option : kOptions) {
        if (longName ? word.substr(2) == option.longName
                     : option.letter != '\0' && word[1] == option.letter &&
                           (word.size() == 2 || option.kind == Kind::Value))
            return &option;
    }
    return nullptr;
}

// The value of an option: the rest of a letter's word, else the next word.
bool takeValue(const std::vector<std::string>& arguments, std::size_t& index, std::string& value) {
    const std::string& word = arguments[index];
    if (word.size() > 2 && !word.starts_with("--")) {
        value = word.substr(2);
        return true;
    }
    if (index + 1 >= arguments.size()) return false;
    value = arguments[++index];
    return true;
}

}  // namespace

bool ParseOptions(const std::vector<std::string>& arguments, common::DosrunSettings& settings,
                  Invocation& invocation, std::string* error) {
    bool queried = false;
    std::size_t index = 0;
    for (; index < arguments.size(); ++index) {
        const std::string& word = arguments[index];
        if (word == "--") {
            ++index;
            break;
        }
        if (word.size() < 2 || word[0] != '-') break;
        const Option* option = optionOf(word);
        if (option == nullptr) {
            *error = "unknown option " + word;
            return false;
        }
        std::string value;
        if (option->kind == Kind::Value && !takeValue(arguments, index, value)) {
            *error = "the option " + word + " needs a value";
            return false;
        }
        if (!option->store(value, invocation, settings, error)) return false;
        queried = queried || option->kind == Kind::Query;
    }
    invocation.command.assign(arguments.begin() + static_cast<std::ptrdiff_t>(index),
                              arguments.end());
    if (invocation.command.empty() && !queried) {
        *error = "no DOS program given";
        return false;
    }
    return true;
}

std::string UsageText() {
    constexpr std::size_t kWidth = 80;
    const std::string_view head = "usage: dosrun ";
    std::string text(head);
    std::size_t lineStart = 0;
    // The run's options and the program, lines wrapped under the first option.
    const auto add = [&](std::string_view word) {
        if (text.size() > head.size()) {
            if (text.size() - lineStart + 1 + word.size() > kWidth) {
                text += '\n';
                lineStart = text.size();
                text.append(head.size(), ' ');
            } else {
                text += ' ';
            }
        }
        text += word;
    };
    for (const Option& option : kOptions) {
        if (option.kind != Kind::Query) add(option.usage);
    }
    add("PROGRAM");
    add("[ARGUMENTS...]");
    // The options that show something, alone.
    text += "\n       dosrun";
    std::string_view separator = " ";
    for (const Option& option : kOptions) {
        if (option.kind != Kind::Query) continue;
        text += separator;
        text += option.usage;
        separator = " | ";
    }
    return text + "\n";
}

}  // namespace dosrun
