// The source scan: the current folder's entries matched against the source
// patterns in their fixed order, each group sorted, and every source read
// for the files it includes directly.
#include "sources.h"

#include <algorithm>
#include <new>

#include "dospath.h"
#include "fileaccess.h"
#include "includescan.h"
#include "includesearch.h"
#include "linereader.h"
#include "makefilenames.h"
#include "pattern.h"
#include "runend.h"

namespace depmill {

namespace {

constexpr std::size_t kMaxLineBytes = 4096;

struct SourcePattern {
    std::string_view glob;
    SourceKind kind;
};

constexpr SourcePattern kSourcePatterns[] = {
    {"*.ec", SourceKind::EmbeddedSql}, {"*.cpp", SourceKind::Cpp},   {"*.c", SourceKind::C},
    {"*.asm", SourceKind::Assembler},  {"*.y", SourceKind::Grammar},
};

// Sources are named in lower case, as on a file system that ignores case.
// Where the lower-case name would open another file or none, the name as
// listed is kept, so the makefile never names a missing file.
std::string nameToUse(const std::string& listed, common::CodePage cp) {
    std::string lower = common::toLowerAscii(listed, cp);
    if (lower == listed || isSameFile(lower, listed)) return lower;
    return listed;
}

void reportIllegalLine(std::ostream& warnings, const std::string& source, int lineNumber,
                       const std::string& line) {
    warnings << "Depmill: illegal character\n"
             << source << ' ' << lineNumber << ": " << line << '\n';
}

void addDependency(SourceFile& source, const std::string& name, IncludeSearch& search,
                   std::ostream& warnings, common::CodePage cp) {
    const SearchResult& result = search.find(name);
    // Judged as the dependency line holds it: with the folder it was found
    // in, which may make a wildcard set with the name.
    const std::string written = result.dir ? common::joinFolder(*result.dir, name, cp) : name;
    if (!isUsableName(written, NameUse::Prerequisite)) {
        warnings << skippedNameWarning(name);
        return;
    }
    if (!result.found)
        warnings << "Depmill: can't find " << name << " (in " << source.name << ")\n";
    source.deps.push_back({name, result.dir});
}

void readIncludes(SourceFile& source, const GeneratorOptions& options, IncludeSearch& search,
                  std::ostream& warnings) {
    common::LineReader reader(openInput(source.name));
    if (!reader.isOpen()) {
        warnings << "Depmill: can't open " << source.name << '\n';
        return;
    }
    const bool assembler = source.kind == SourceKind::Assembler;
    std::string line;
    int lineNumber = 1;
    for (; reader.next(line, kMaxLineBytes); ++lineNumber) {
        const IncludeLine include = assembler ? parseAsmInclude(line) : parseCInclude(line);
        switch (include.kind) {
            case IncludeLine::Kind::None:
                break;
            case IncludeLine::Kind::Illegal:
                reportIllegalLine(warnings, source.name, lineNumber, line);
                break;
            case IncludeLine::Kind::Angled:
                if (options.systemIncludes)
                    addDependency(source, include.name, search, warnings, options.codePage);
                break;
            case IncludeLine::Kind::Quoted:
                addDependency(source, include.name, search, warnings, options.codePage);
                break;
        }
    }
}

// The names of the folder that match the pattern, sorted by the names as
// listed, byte by byte, before lower-casing.
std::vector<std::string> matchingNames(const std::vector<std::string>& entries,
                                       std::string_view glob, std::size_t held) {
    std::vector<std::string> matches;
    for (const std::string& entry : entries) {
        if (!matchesPattern(glob, entry)) continue;
        if (held + matches.size() >= kMaxSources) endRun(1, "Depmill: too many files\n");
        matches.push_back(entry);
    }
    std::sort(matches.begin(), matches.end());
    return matches;
}

}  // namespace

std::vector<SourceFile> scanSources(const GeneratorOptions& options, std::ostream& warnings) {
    std::vector<SourceFile> sources;
    // Memory that runs out while names are stored ends the run with status
    // 2, while dependencies are stored with status 1.
    try {
        const std::optional<std::vector<std::string>> entries = listCurrentFolder();
        if (!entries) endRun(2, "Depmill: can't open directory\n");
        IncludeSearch search(options.includeDirs, options.codePage);
        for (const SourcePattern& pattern : kSourcePatterns) {
            const std::size_t first = sources.size();
            for (const std::string& match : matchingNames(*entries, pattern.glob, first)) {
                if (!isUsableSource(match, options.objectExt, options.codePage)) {
                    warnings << skippedNameWarning(match);
                    continue;
                }
                sources.push_back({pattern.kind, nameToUse(match, options.codePage), {}});
            }
            try {
                for (std::size_t i = first; i < sources.size(); ++i)
                    readIncludes(sources[i], options, search, warnings);
            } catch (const std::bad_alloc&) {
                endRun(1, "Depmill: memory overflow\n");
            }
        }
    } catch (const std::bad_alloc&) {
        endRun(2, "Depmill: memory overflow\n");
    }
    return sources;
}

}  // namespace depmill
