// The source scan: the current folder's entries matched against the source
// patterns in their fixed order, each group sorted, and every source read
// for the files it includes directly.
#include "sources.h"

#include <algorithm>
#include <new>

#ifdef _WIN32
#include <windows.h>
#else
#include <dirent.h>
#endif

#include "fileprobe.h"
#include "includescan.h"
#include "includesearch.h"
#include "linereader.h"
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

// The names in the current folder, in the order the platform gives them.
std::vector<std::string> listCurrentFolder() {
    std::vector<std::string> names;
#ifdef _WIN32
    WIN32_FIND_DATAA entry;
    HANDLE find = FindFirstFileA(".\\*.*", &entry);
    if (find == INVALID_HANDLE_VALUE) endRun(2, "Depmill: can't open directory\n");
    do {
        names.emplace_back(entry.cFileName);
    } while (FindNextFileA(find, &entry));
    FindClose(find);
#else
    DIR* folder = opendir(".");
    if (folder == nullptr) endRun(2, "Depmill: can't open directory\n");
    while (const dirent* entry = readdir(folder)) names.emplace_back(entry->d_name);
    closedir(folder);
#endif
    return names;
}

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
                   std::ostream& warnings) {
    const SearchResult& result = search.find(name);
    if (!result.found)
        warnings << "Depmill: can't find " << name << " (in " << source.name << ")\n";
    try {
        source.deps.push_back({name, result.dir});
    } catch (const std::bad_alloc&) {
        endRun(1, "Depmill: memory overflow\n");
    }
}

void readIncludes(SourceFile& source, bool systemIncludes, IncludeSearch& search,
                  std::ostream& warnings) {
    common::LineReader reader(source.name);
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
                if (systemIncludes) addDependency(source, include.name, search, warnings);
                break;
            case IncludeLine::Kind::Quoted:
                addDependency(source, include.name, search, warnings);
                break;
        }
    }
    // A folder opens here but reads as nothing; it is no source that opens.
    if (lineNumber == 1 && !canOpenForReading(source.name)) {
        warnings << "Depmill: can't open " << source.name << '\n';
    }
}

}  // namespace

std::vector<SourceFile> scanSources(const GeneratorOptions& options, std::ostream& warnings) {
    const std::vector<std::string> entries = listCurrentFolder();
    IncludeSearch search(options.includeDirs, options.codePage);
    std::vector<SourceFile> sources;
    for (const SourcePattern& pattern : kSourcePatterns) {
        std::vector<std::string> matches;
        for (const std::string& entry : entries) {
            if (!matchesPattern(pattern.glob, entry)) continue;
            if (sources.size() + matches.size() >= kMaxSources)
                endRun(1, "Depmill: too many files\n");
            try {
                matches.push_back(entry);
            } catch (const std::bad_alloc&) {
                endRun(2, "Depmill: memory overflow\n");
            }
        }
        // Sorted by the names as listed, byte by byte, before lower-casing.
        std::sort(matches.begin(), matches.end());
        for (const std::string& match : matches) {
            SourceFile& source = sources.emplace_back(
                SourceFile{pattern.kind, nameToUse(match, options.codePage), {}});
            readIncludes(source, options.systemIncludes, search, warnings);
        }
    }
    return sources;
}

}  // namespace depmill
