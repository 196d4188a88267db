#include "options.h"

#include <cctype>

namespace dosrun {

namespace {

// The value of an option: the rest of its word, else the next word.
bool takeValue(const std::vector<std::string>& arguments, std::size_t& index, std::string& value) {
    const std::string& word = arguments[index];
    if (word.size() > 2) {
        value = word.substr(2);
        return true;
    }
    if (index + 1 >= arguments.size()) return false;
    value = arguments[++index];
    return true;
}

// NAME=VALUE with a name before the "=".
bool splitAssignment(const std::string& text, std::string& name, std::string& value) {
    const std::size_t equals = text.find('=');
    if (equals == 0 || equals == std::string::npos) return false;
    name = text.substr(0, equals);
    value = text.substr(equals + 1);
    return true;
}

std::string applyOption(char option, const std::string& value, common::DosrunSettings& settings) {
    std::string name;
    std::string text;
    switch (option) {
    case 'r':
        settings.root = value;
        return {};
    case 'd':
        if (!splitAssignment(value, name, text) || name.size() != 1)
            return "-d takes a drive letter, \"=\" and a folder: -d D=/opt/dos";
        if (auto reason = common::CheckDriveLetter(name[0])) return "-d " + value + ": " + *reason;
        settings.drives[static_cast<char>(std::toupper(static_cast<unsigned char>(name[0])))] = text;
        return {};
    case 'p':
        settings.path = value;
        return {};
    case 'e':
        if (!splitAssignment(value, name, text)) return "-e takes NAME=VALUE";
        common::SetDosVariable(settings, name, text);
        return {};
    case 't':
        if (const auto seconds = common::ParseTimeoutSeconds(value)) {
            settings.timeoutSeconds = *seconds;
            return {};
        }
        return "-t takes a whole number of seconds, 0 for none";
    case 'c':
        if (auto reason = common::CheckCycles(value)) return "-c " + value + ": " + *reason;
        settings.cycles = value;
        return {};
    }
    return "unknown option -" + std::string(1, option);
}

}  // namespace

OptionsResult ParseOptions(const std::vector<std::string>& arguments, common::DosrunSettings& settings) {
    OptionsResult result;
    std::size_t index = 0;
    for (; index < arguments.size(); ++index) {
        const std::string& word = arguments[index];
        if (word == "--") {
            ++index;
            break;
        }
        if (word.size() < 2 || word[0] != '-') break;
        if (word == "-v" || word == "--version") {
            result.invocation.showVersion = true;
        } else if (word == "-h" || word == "--help") {
            result.invocation.showUsage = true;
        } else if (word == "--show") {
            result.invocation.showSettings = true;
        } else if (word == "-i") {
            result.invocation.passInput = true;
        } else if (word.starts_with("--") || std::string("rdpetc").find(word[1]) == std::string::npos) {
            result.error = "unknown option " + word;
            return result;
        } else {
            std::string value;
            if (!takeValue(arguments, index, value)) {
                result.error = "the option " + word + " needs a value";
                return result;
            }
            result.error = applyOption(word[1], value, settings);
            if (!result.error.empty()) return result;
        }
    }
    result.invocation.command.assign(arguments.begin() + static_cast<std::ptrdiff_t>(index), arguments.end());
    const Invocation& invocation = result.invocation;
    if (invocation.command.empty() && !invocation.showVersion && !invocation.showSettings &&
        !invocation.showUsage)
        result.error = "no DOS program given";
    return result;
}

std::string SettingsText(const common::DosrunSettings& settings) {
    std::string text = "root = " + settings.root + "\n";
    for (const auto& [letter, folder] : settings.drives)
        text += std::string("drive ") + letter + " = " + folder + "\n";
    text += "path = " + settings.path + "\n";
    for (const auto& [name, value] : settings.environment) text += "set " + name + " = " + value + "\n";
    text += "cycles = " + settings.cycles + "\n";
    text += "timeout = " + std::to_string(settings.timeoutSeconds) + "\n";
    return text;
}

std::string UsageText() {
    return "usage: dosrun [-r FOLDER] [-d X=FOLDER]... [-p DOSPATH] [-e NAME=VALUE]...\n"
           "              [-t SECONDS] [-c CYCLES] [-i] PROGRAM [ARGUMENTS...]\n"
           "       dosrun -v | --show | --help\n";
}

}  // namespace dosrun
