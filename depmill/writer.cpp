// Puts the new makefile in place: the whole text goes to a new file of a
// fresh name first, and only once that is complete is the previous makefile
// renamed to "makefile.old" and the new one renamed to "makefile".
#include "writer.h"

#include <ctime>

#include "macros.h"
#include "makefilenames.h"
#include "makefiletext.h"
#include "runend.h"

namespace depmill {

namespace {

constexpr const char* kMakefile = "makefile";
constexpr const char* kOtherCaseMakefile = "Makefile";
constexpr const char* kBackup = "makefile.old";

std::tm localNow() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &now);
#else
    localtime_r(&now, &local);
#endif
    return local;
}

}  // namespace

std::string withLineEnds(std::string text, std::string_view lineEnd) {
    if (lineEnd == "\n") return text;
    std::string converted;
    converted.reserve(text.size() + text.size() / 16);
    std::size_t start = 0;
    for (std::size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1) {
        converted.append(text, start, end - start).append(lineEnd);
    }
    converted.append(text, start);
    return converted;
}

std::optional<std::string> findPreviousMakefile(FileSystem& files) {
    for (const char* name : {kMakefile, kOtherCaseMakefile}) {
        if (files.entryKind(name) != EntryKind::Missing) return name;
    }
    return std::nullopt;
}

void writeMakefile(const std::vector<SourceFile>& sources,
                   const std::optional<std::string>& previousMakefile, GeneratorOptions& options,
                   FileSystem& files, std::ostream& warnings, std::ostream& err) {
    MacroTable previous;
    if (previousMakefile && !options.ignoreOldMacros)
        previous.readMacros(*previousMakefile, options.codePage, files, err);
    applyPreviousSettings(previous, options);
    const std::string text =
        withLineEnds(composeMakefile(sources, options, previous, localNow(), files), kLineEnd);
    for (const common::MacroDefinition& left : previous.refused())
        warnings << skippedNameWarning(left.name + " = " + left.value);

    const FreshFile created = writeFreshFile(files, kMakefile, text);
    if (created.result == NewFileWrite::NotCreated)
        endRun(err, 2, "Depmill: can't create Makefile\n");
    const std::string& temporary = created.name;
    // Whatever fails from here leaves no new file behind.
    const auto fail = [&](std::string_view message) {
        files.remove(temporary);
        endRun(err, 2, message);
    };
    if (created.result == NewFileWrite::NotWritten) fail("Depmill: can't write Makefile\n");
    // The old backup goes first, and the previous makefile then takes a
    // free name: a rename over a file makes ext4 write the renamed file's
    // blocks out at once and free the replaced one's, waiting for the disk.
    // Should the backup's name not free (a folder), the rename reports it.
    if (previousMakefile) files.remove(kBackup);
    if (previousMakefile && !files.rename(*previousMakefile, kBackup))
        fail("Depmill: can't rename old Makefile\n");
    if (!files.rename(temporary, kMakefile)) {
        // Put the previous makefile back where it was.
        if (previousMakefile) files.rename(kBackup, *previousMakefile);
        fail("Depmill: can't write Makefile\n");
    }
}

}  // namespace depmill
