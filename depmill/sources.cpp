// The source scan: the current folder's entries matched against the source
// patterns in their fixed order, each group sorted, and every source read
// for the files it includes directly.
#include "sources.h"

#include <algorithm>
#include <functional>
#include <new>
#include <string_view>
#include <unordered_map>

#include "dospath.h"
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
std::string nameToUse(const std::string& listed, common::CodePage cp, FileSystem& files) {
    std::string lower = common::toLowerAscii(listed, cp);
    if (lower == listed || files.isSameFile(lower, listed)) return lower;
    return listed;
}

void reportIllegalLine(std::ostream& warnings, const std::string& source, int lineNumber,
                       std::string_view line) {
    warnings << "Depmill: illegal character\n"
             << source << ' ' << lineNumber << ": " << line << '\n';
}

// What an include name comes to, the same in every source that names it:
// where it was found, and whether the dependency line can hold it.
struct KnownInclude {
    SearchResult where;
    bool usable = false;
};

// Each include name is looked for and judged once per run: the folders
// and the rules stay the same for every source.
class KnownIncludes {
  public:
    KnownIncludes(const std::vector<std::string>& includeDirs, common::CodePage cp,
                  FileSystem& files)
        : search_(includeDirs, cp, files), cp_(cp) {}

    const KnownInclude& find(std::string_view name) {
        auto known = known_.find(name);
        if (known == known_.end()) known = known_.emplace(name, judge(name)).first;
        return known->second;
    }

  private:
    KnownInclude judge(std::string_view name) const {
        KnownInclude include{search_.find(std::string(name))};
        // Judged as the dependency line holds it: with the folder it was
        // found in, which may make a wildcard set with the name.
        const std::string written = include.where.dir
                                        ? common::joinFolder(*include.where.dir, name, cp_)
                                        : std::string(name);
        include.usable = isUsableName(written, NameUse::Prerequisite);
        return include;
    }

    struct NameHash {
        using is_transparent = void;
        std::size_t operator()(std::string_view name) const {
            return std::hash<std::string_view>{}(name);
        }
    };

    IncludeSearch search_;
    common::CodePage cp_;
    std::unordered_map<std::string, KnownInclude, NameHash, std::equal_to<>> known_;
};

void addDependency(SourceFile& source, std::string_view name, KnownIncludes& includes,
                   std::ostream& warnings) {
    const KnownInclude& include = includes.find(name);
    if (!include.usable) {
        warnings << skippedNameWarning(name);
        return;
    }
    if (!include.where.found)
        warnings << "Depmill: can't find " << name << " (in " << source.name << ")\n";
    source.deps.push_back({std::string(name), include.where.dir});
}

void readIncludes(SourceFile& source, const GeneratorOptions& options, FileSystem& files,
                  KnownIncludes& includes, std::ostream& warnings) {
    common::LineReader reader = files.readLines(source.name);
    if (!reader.isOpen()) {
        warnings << "Depmill: can't open " << source.name << '\n';
        return;
    }
    const bool assembler = source.kind == SourceKind::Assembler;
    std::string_view line;
    for (int lineNumber = 1;; ++lineNumber) {
        // A C include line holds a "#": the lines without one are passed over.
        if (!assembler) lineNumber += static_cast<int>(reader.skipLinesWithout('#', kMaxLineBytes));
        if (!reader.next(line, kMaxLineBytes)) break;
        const IncludeLine include = assembler ? parseAsmInclude(line) : parseCInclude(line);
        switch (include.kind) {
            case IncludeLine::Kind::None:
                break;
            case IncludeLine::Kind::Illegal:
                reportIllegalLine(warnings, source.name, lineNumber, line);
                break;
            case IncludeLine::Kind::Angled:
                if (options.systemIncludes) addDependency(source, include.name, includes, warnings);
                break;
            case IncludeLine::Kind::Quoted:
                addDependency(source, include.name, includes, warnings);
                break;
        }
    }
}

// The names of the folder that match the pattern, sorted by the names as
// listed, byte by byte, before lower-casing.
std::vector<std::string> matchingNames(const std::vector<std::string>& entries,
                                       std::string_view glob, std::size_t held, std::ostream& err) {
    std::vector<std::string> matches;
    for (const std::string& entry : entries) {
        if (!matchesPattern(glob, entry)) continue;
        if (held + matches.size() >= kMaxSources) endRun(err, 1, "Depmill: too many files\n");
        matches.push_back(entry);
    }
    std::sort(matches.begin(), matches.end());
    return matches;
}

}  // namespace

std::vector<SourceFile> scanSources(const GeneratorOptions& options, FileSystem& files,
                                    std::ostream& warnings, std::ostream& err) {
    std::vector<SourceFile> sources;
    // Memory that runs out while names are stored ends the run with status
    // 2, while dependencies are stored with status 1.
    try {
        const std::optional<std::vector<std::string>> entries = files.listFolder();
        if (!entries) endRun(err, 2, "Depmill: can't open directory\n");
        KnownIncludes includes(options.includeDirs, options.codePage, files);
        for (const SourcePattern& pattern : kSourcePatterns) {
            const std::size_t first = sources.size();
            for (const std::string& match : matchingNames(*entries, pattern.glob, first, err)) {
                if (!isUsableSource(match, options.objectExt, options.codePage)) {
                    warnings << skippedNameWarning(match);
                    continue;
                }
                sources.push_back({pattern.kind, nameToUse(match, options.codePage, files), {}});
            }
            try {
                for (std::size_t i = first; i < sources.size(); ++i)
                    readIncludes(sources[i], options, files, includes, warnings);
            } catch (const std::bad_alloc&) {
                endRun(err, 1, "Depmill: memory overflow\n");
            }
        }
    } catch (const std::bad_alloc&) {
        endRun(err, 2, "Depmill: memory overflow\n");
    }
    return sources;
}

}  // namespace depmill
