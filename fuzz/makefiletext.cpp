// Depmill's makefile text from fuzzed source and include names, admitted as
// the scan admits them. Promises: each source has exactly one rule line
// (a grammar two: its generated file and its object), every other rule line
// is one of the writer's own, no line is broken up by a name, and every "$"
// is either written "$$" or opens one of the writer's own macro references.
//
// Input: fields separated by NUL bytes. The first byte of the first field
// picks toolchain, program or library, object folder and response files;
// a field beginning with "S" names a source (its second byte picks the
// kind), one beginning with "I" an include name of the last source.
#include <cstddef>
#include <cstdint>
#include <ctime>
#include <map>
#include <regex>
#include <string>

#include "fuzzinput.h"
#include "makefilenames.h"
#include "makefiletext.h"
#include "toolchains.h"

namespace {

using depmill::SourceKind;

constexpr SourceKind kKinds[] = {SourceKind::EmbeddedSql, SourceKind::Cpp, SourceKind::C,
                                 SourceKind::Assembler, SourceKind::Grammar};

depmill::GeneratorOptions optionsFrom(std::string_view field) {
    const unsigned bits = field.empty() ? 0 : static_cast<unsigned char>(field[0]);
    depmill::GeneratorOptions options;
    options.toolchain = static_cast<int>(bits % depmill::toolchains().size());
    options.library = (bits & 4) != 0;
    if ((bits & 8) != 0) options.outDir = "obj";
    options.responseFiles = (bits & 16) != 0;
    options.codePage = (bits & 32) != 0 ? common::CodePage::ShiftJis : common::CodePage::Utf8;
    return options;
}

std::vector<depmill::SourceFile> sourcesFrom(const std::vector<std::string_view>& fields,
                                             common::CodePage cp) {
    std::vector<depmill::SourceFile> sources;
    bool lastAdmitted = false;
    for (std::size_t i = 1; i < fields.size() && sources.size() < 50; ++i) {
        std::string_view field = fields[i];
        if (field.size() < 2) continue;
        const char tag = field[0];
        if (tag == 'S') {
            const SourceKind kind = kKinds[static_cast<unsigned char>(field[1]) % 5];
            const std::string name(field.substr(2));
            lastAdmitted = depmill::isUsableName(name, depmill::NameUse::Command, cp);
            if (lastAdmitted) sources.push_back({kind, name, {}});
        } else if (tag == 'I' && lastAdmitted) {
            const std::string name(field.substr(1));
            if (depmill::isUsableName(name, depmill::NameUse::Prerequisite, cp))
                sources.back().deps.push_back({name, std::nullopt});
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

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::vector<std::string_view> fields = fuzz::splitFields(fuzz::asText(data, size), '\0');
    const depmill::GeneratorOptions options = optionsFrom(fields[0]);
    const std::vector<depmill::SourceFile> sources = sourcesFrom(fields, options.codePage);
    if (sources.empty()) return 0;
    const depmill::MacroTable previous;
    std::tm now{};
    const std::string text = depmill::composeMakefile(sources, options, previous, now);

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
        if (line.empty() || line[0] == '\t' || line[0] == '#' || isDefinition(line)) continue;
        const std::size_t colon = line.find(": ");
        const std::string target =
            line.substr(0, colon == std::string::npos ? line.find(':') : colon);
        fuzz::require(line.find(':') != std::string::npos,
                      "a line that is no rule, recipe or definition");
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
    return 0;
}
