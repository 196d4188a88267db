// Depmill's makefile text from fuzzed source, include and folder names,
// admitted as the scan and the main flow admit them, composed under UTF-8
// and under Shift-JIS. Promises: each source has exactly one rule line (a
// grammar two: its generated file and its object), every other rule line
// is one of the writer's own, no line is broken up or continued by a name
// (none ends in a 0x5C byte), every "$" is either written "$$" or opens one
// of the writer's own macro references, and a command holds no byte that
// /bin/sh would act on beyond the writer's own (the "\" of an include
// folder's option aside).
//
// Input: fields separated by NUL bytes. The first byte of the first field
// picks toolchain, program or library, object folder and response files;
// a field beginning with "S" names a source (its second byte picks the
// kind), one beginning with "F" an include folder, one beginning with "I"
// an include name of the last source, not found, and one beginning with
// "J" an include name of the last source found in the last folder.
#include <cstddef>
#include <cstdint>
#include <ctime>
#include <map>
#include <regex>
#include <string>

#include "dospath.h"
#include "fileaccess.h"
#include "fuzzinput.h"
#include "makefilenames.h"
#include "makefiletext.h"
#include "toolchains.h"

namespace {

using depmill::NameUse;
using depmill::SourceKind;

constexpr SourceKind kKinds[] = {SourceKind::EmbeddedSql, SourceKind::Cpp, SourceKind::C,
                                 SourceKind::Assembler, SourceKind::Grammar};

depmill::GeneratorOptions optionsFrom(std::string_view field, common::CodePage cp) {
    const unsigned bits = field.empty() ? 0 : static_cast<unsigned char>(field[0]);
    depmill::GeneratorOptions options;
    options.toolchain = static_cast<int>(bits % depmill::toolchains().size());
    options.library = (bits & 4) != 0;
    if ((bits & 8) != 0) options.outDir = "obj";
    options.responseFiles = (bits & 16) != 0;
    options.codePage = cp;
    return options;
}

std::vector<depmill::SourceFile> sourcesFrom(const std::vector<std::string_view>& fields,
                                             depmill::GeneratorOptions& options) {
    const common::CodePage cp = options.codePage;
    std::vector<depmill::SourceFile> sources;
    bool lastAdmitted = false;
    for (std::size_t i = 1; i < fields.size() && sources.size() < 50; ++i) {
        std::string_view field = fields[i];
        if (field.size() < 2) continue;
        const char tag = field[0];
        const std::string name(field.substr(tag == 'S' ? 2 : 1));
        if (tag == 'S') {
            const SourceKind kind = kKinds[static_cast<unsigned char>(field[1]) % 5];
            lastAdmitted = depmill::isUsableSource(name, options.objectExt, cp);
            if (lastAdmitted) sources.push_back({kind, name, {}});
        } else if (tag == 'F') {
            if (depmill::isUsableName(name, NameUse::Folder) &&
                options.includeDirs.size() < depmill::kMaxIncludeDirs) {
                options.includeDirs.push_back(name);
            }
        } else if (tag == 'I' && lastAdmitted) {
            if (depmill::isUsableName(name, NameUse::Prerequisite))
                sources.back().deps.push_back({name, std::nullopt});
        } else if (tag == 'J' && lastAdmitted && !options.includeDirs.empty()) {
            const std::string& folder = options.includeDirs.back();
            if (depmill::isUsableName(common::joinFolder(folder, name, cp), NameUse::Prerequisite))
                sources.back().deps.push_back({name, folder});
        }
    }
    return sources;
}

// True when every "$" is "$$" or opens one of the writer's macro references.
bool dollarsAreEscaped(const std::string& text) {
    static const std::regex reference(R"(^\$\((?:[A-Z]+[0-9]*|OF[0-9]+: =\+)\))");
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '$') continue;
        if (i + 1 < text.size() && text[i + 1] == '$') {
            ++i;
            continue;
        }
        std::smatch match;
        const std::string rest = text.substr(i, 24);
        if (!std::regex_search(rest, match, reference)) return false;
    }
    return true;
}

bool isDefinition(const std::string& line) {
    static const std::regex definition(R"(^[A-Z]+[0-9]*\t=.*)");
    return std::regex_match(line, definition);
}

// A command line with the writer's own text taken out: its macro
// references (with the "\" or "/" after $(OUTDIR)), the redirection into a
// response file, a closing ";", the comment lcc's response file starts
// with, and the quotes Open Watcom's options put around a path. What is
// left came from names and folders.
std::string namesOfCommand(const std::string& line) {
    if (line == "\t@echo # link.cc for lcc.exe>link.cc") return {};
    static const std::regex own(
        R"(\$\(OUTDIR\)[\\/]|\$\([^)]*\)|[&;]?>>?(?:link\.cc|makelib(?:\.lbc)?)$|;$)");
    static const std::regex quotedPath(R"re((-fo=|-i=)"([^" ]*)")re");
    return std::regex_replace(std::regex_replace(line.substr(1), own, ""), quotedPath, "$1$2");
}

// The promise of a command: no byte the shell acts on but the writer's
// own, and no "\\" but in a folder's include option.
void requireNoShellByteInCommand(const std::string& line) {
    const std::string rest = namesOfCommand(line);
    fuzz::require(rest.find_first_of("`|&;<>()$'\"*?") == std::string::npos,
                  "a byte the shell acts on reaches a command");
    static const std::regex includeOption(R"((^| )(?:[-/]I|-i=)[^ ]*)");
    fuzz::require(std::regex_replace(rest, includeOption, "").find('\\') == std::string::npos,
                  "a backslash of a name reaches a command");
}

// The promises over one makefile text.
void checkText(const std::string& text, const std::vector<depmill::SourceFile>& sources,
               const depmill::GeneratorOptions& options) {
    // The rule lines that may stand in the text, and how often.
    const std::string libraryResponseFile(
        depmill::toolchainNumbered(options.toolchain).library.responseFile);
    std::map<std::string, int> expected = {
        {"all", 1},     {"$(PROGRAM)", 1},        {"$(LIBRARY)", 1},
        {"link.cc", 1}, {libraryResponseFile, 1}, {"clean", 1}};
    std::map<std::string, int> wanted;
    for (const depmill::SourceFile& source : sources) {
        ++wanted[depmill::objectName(source.name, options)];
        if (source.kind == SourceKind::Grammar) wanted["(generated)"] += 1;
    }
    std::map<std::string, int> found;
    int generated = 0;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        fuzz::require(end != std::string::npos, "the text does not end with a line end");
        const std::string line = text.substr(start, end - start);
        start = end + 1;
        fuzz::require(line.empty() || line.back() != '\\', "a line ends in a 0x5C byte");
        if (!line.empty() && line[0] == '\t') requireNoShellByteInCommand(line);
        if (line.empty() || line[0] == '\t' || line[0] == '#' || isDefinition(line)) continue;
        // A rule's own ":" is the only byte of its line that make acts on.
        const std::size_t colon = line.find(':');
        fuzz::require(colon != std::string::npos &&
                          line.find(':', colon + 1) == std::string::npos &&
                          line.find_first_of("|*?;=#") == std::string::npos,
                      "a line that is no rule, recipe or definition");
        const std::string target = line.substr(0, colon);
        if (expected.count(target) != 0 || wanted.count(target) != 0) {
            ++found[target];
        } else {
            ++generated;  // a grammar's generated C or C++ file
        }
    }
    for (const auto& [target, count] : wanted) {
        if (target == "(generated)") {
            fuzz::require(generated == count, "a grammar without its one generated-file rule");
        } else {
            fuzz::require(found[target] == count, "a source without its one rule");
        }
    }
    if (wanted.count("(generated)") == 0)
        fuzz::require(generated == 0, "a rule line that no source or template wrote");
    for (const auto& [target, count] : expected)
        fuzz::require(found[target] <= count, "a template rule written twice");
    fuzz::require(dollarsAreEscaped(text), "a $ of a name left unescaped");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::vector<std::string_view> fields = fuzz::splitFields(fuzz::asText(data, size), '\0');
    for (const common::CodePage cp : {common::CodePage::Utf8, common::CodePage::ShiftJis}) {
        depmill::GeneratorOptions options = optionsFrom(fields[0], cp);
        const std::vector<depmill::SourceFile> sources = sourcesFrom(fields, options);
        if (sources.empty()) continue;
        const depmill::MacroTable previous;
        std::tm now{};
        depmill::RealFileSystem files;
        checkText(depmill::composeMakefile(sources, options, previous, now, files), sources,
                  options);
    }
    return 0;
}
