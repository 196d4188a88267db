// Fills GeneratorOptions from the DEPMILLOPT variable and the command line,
// writing the banner, usage line, help text and option errors.
#include "options.h"

#include "helptext.h"
#include "makefilenames.h"
#include "runend.h"
#include "toolchains.h"

namespace depmill {

namespace {

bool isAsciiLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// A DEPMILLOPT letter's value: a digit from "0" to the last toolchain's.
bool isOptionVariableValue(char c) {
    return toolchainOfDigit(c).has_value();
}

// A DEPMILLOPT flag takes "0" or "1"; any other value leaves it alone.
void applyFlagValue(char value, bool& flag) {
    if (value == '0') flag = false;
    if (value == '1') flag = true;
}

void applyVariableLetter(char letter, char value, GeneratorOptions& options) {
    switch (letter) {
        case 'D':
        case 'd':
            applyFlagValue(value, options.database);
            break;
        case 'L':
        case 'l':
            applyFlagValue(value, options.responseFiles);
            break;
        case 'S':
        case 's':
            applyFlagValue(value, options.systemIncludes);
            break;
        case 'T':
        case 't':
            if (const std::optional<int> number = toolchainOfDigit(value))
                options.toolchain = *number;
            break;
        default:
            break;
    }
}

class ArgumentReader {
  public:
    ArgumentReader(const std::vector<std::string>& args, GeneratorOptions& options,
                   std::ostream& out, std::ostream& err)
        : args_(args), options_(options), out_(out), err_(err) {}

    void run() {
        for (index_ = 0; index_ < args_.size(); ++index_) readArgument(args_[index_]);
    }

  private:
    [[noreturn]] void fail(int status, std::string_view message) { endRun(err_, status, message); }

    [[noreturn]] void usageError() { fail(2, kUsageLine); }

    static bool isOption(const std::string& arg) {
        if (arg.empty()) return false;
        return arg[0] == '-' || (arg[0] == '/' && arg.size() > 1 && arg[1] == '?');
    }

    void readArgument(const std::string& arg) {
        if (!isOption(arg)) usageError();
        bool illegalLetter = false;
        for (std::size_t pos = 1; pos < arg.size();) {
            // A double-byte character is one letter, none of the options'.
            const std::size_t length = common::charLength(options_.codePage, arg, pos);
            const std::size_t start = pos;
            pos += length;
            if (length > 1 || !readLetter(arg[start], arg, pos)) {
                err_ << "Depmill: illegal option " << arg.substr(start, length) << '\n';
                illegalLetter = true;
            }
        }
        if (illegalLetter) usageError();
    }

    // Acts on one option letter; pos is just after it and moves past what the
    // letter consumes (to the end of the argument when the rest is its value).
    // False for an unknown letter.
    bool readLetter(char letter, const std::string& arg, std::size_t& pos) {
        switch (letter) {
            case 'l':
                options_.library = true;
                return true;
            case 's':
                options_.systemIncludes = true;
                return true;
            case 'U':
                options_.ignoreOldMacros = true;
                return true;
            case 'm':
                if (pos == arg.size() ||
                    std::string_view("scmlh").find(arg[pos]) == std::string_view::npos) {
                    fail(1, "Depmill: illegal -m option\n");
                }
                options_.model = arg[pos++];
                return true;
            case 't': {
                const std::optional<int> number =
                    pos < arg.size() ? toolchainOfDigit(arg[pos]) : std::nullopt;
                if (!number) fail(1, "Depmill: illegal -t option\n");
                options_.toolchain = *number;
                ++pos;
                return true;
            }
            case 'o':
                options_.target = takeLineEndValue(letter, arg, pos);
                return true;
            case 'O':
                options_.outDir = takeLineEndValue(letter, arg, pos);
                return true;
            case 'I':
                requireIncludeRoom();
                options_.includeDirs.push_back(takeValue(letter, arg, pos));
                return true;
            case 'b': {
                std::string ext = takeValue(letter, arg, pos);
                if (ext.size() > 3) fail(1, "Depmill: illegal -b extention\n");
                options_.objectExt = std::move(ext);
                return true;
            }
            case 'd':
                options_.database = true;
                if (options_.model == 0) options_.model = 'l';
                requireIncludeRoom();
                options_.includeDirs.emplace_back(kDatabaseHeaderDir);
                pos = arg.size();
                return true;
            case 'V':
            case 'v':
                writeBanner(err_);
                return true;
            case '-':
            case '?':
                writeBanner(err_);
                out_ << helpText(options_.codePage);
                usageError();
            default:
                return false;
        }
    }

    void requireIncludeRoom() {
        if (options_.includeDirs.size() >= kMaxIncludeDirs)
            fail(1, "Depmill: too many include path\n");
    }

    // The value of o, O, I or b: the rest of this argument, else the whole
    // next one, whatever it looks like.
    std::string takeValue(char letter, const std::string& arg, std::size_t& pos) {
        if (pos < arg.size()) {
            std::string value = arg.substr(pos);
            pos = arg.size();
            return value;
        }
        if (index_ + 1 >= args_.size()) {
            fail(1, std::string("Depmill: illegal -") + letter + " option\n");
        }
        pos = arg.size();
        return args_[++index_];
    }

    // A value that ends the line of its definition (PROGRAM, LIBRARY, OUTDIR).
    std::string takeLineEndValue(char letter, const std::string& arg, std::size_t& pos) {
        std::string value = takeValue(letter, arg, pos);
        if (!isUsableValue(value))
            fail(1, std::string("Depmill: illegal -") + letter + " option\n");
        return value;
    }

    const std::vector<std::string>& args_;
    GeneratorOptions& options_;
    std::ostream& out_;
    std::ostream& err_;
    std::size_t index_ = 0;
};

}  // namespace

void writeBanner(std::ostream& err) {
    err << "Depmill "
        << "Ver.2.00"
        << " by Halden\n";
}

void applyOptionVariable(std::string_view text, GeneratorOptions& options) {
    // Character by character: the second byte of a double-byte character is
    // neither a letter nor a value.
    const auto next = [&](std::size_t pos) {
        return pos + common::charLength(options.codePage, text, pos);
    };
    std::size_t pos = 0;
    for (;;) {
        while (pos < text.size() && !isAsciiLetter(text[pos])) pos = next(pos);
        if (pos == text.size()) break;
        const char letter = text[pos++];
        // Whatever stands between a letter and its value, letters too, is passed over.
        while (pos < text.size() && !isOptionVariableValue(text[pos])) pos = next(pos);
        applyVariableLetter(letter, pos < text.size() ? text[pos] : '\0', options);
    }
    if (options.database) options.includeDirs.emplace_back(kDatabaseHeaderDir);
}

void parseArguments(const std::vector<std::string>& args, GeneratorOptions& options,
                    std::ostream& out, std::ostream& err) {
    ArgumentReader(args, options, out, err).run();
}

}  // namespace depmill
