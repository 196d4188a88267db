// Puts the new makefile in place: the whole text goes to a temporary file
// first, and only once that is complete is the previous makefile renamed to
// "makefile.old" and the new one renamed to "makefile".
#include "writer.h"

#include <cstdio>
#include <ctime>
#include <string>

#include "fileprobe.h"
#include "macros.h"
#include "makefiletext.h"

namespace depmill {

namespace {

constexpr const char* kMakefile = "makefile";
constexpr const char* kBackup = "makefile.old";
constexpr const char* kTemporary = "makefile.tmp";

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

// Writes the text to the file; false (and nothing left behind) when it
// cannot be written completely.
bool writeWholeFile(std::FILE* file, const std::string& text) {
    const bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
    const bool flushed = std::fflush(file) == 0;
    const bool closed = std::fclose(file) == 0;
    return written && flushed && closed;
}

}  // namespace

bool writeMakefile(const std::vector<SourceFile>& sources, GeneratorOptions& options,
                   std::ostream& err) {
    MacroTable previous;
    const bool hadMakefile = canOpenForReading(kMakefile);
    if (hadMakefile && !options.ignoreOldMacros && !previous.readMacros(kMakefile, err))
        return false;
    applyPreviousSettings(previous, options);
    const std::string text = composeMakefile(sources, options, previous, localNow());

    std::FILE* file = std::fopen(kTemporary, "wb");
    if (file == nullptr) {
        err << "Depmill: can't create Makefile\n";
        return false;
    }
    if (!writeWholeFile(file, text)) {
        std::remove(kTemporary);
        err << "Depmill: can't write Makefile\n";
        return false;
    }
    if (hadMakefile) {
        std::remove(kBackup);  // may not exist
        if (std::rename(kMakefile, kBackup) != 0) {
            std::remove(kTemporary);
            err << "Depmill: can't rename old Makefile\n";
            return false;
        }
    }
    if (std::rename(kTemporary, kMakefile) != 0) {
        // Put the previous makefile back where it was.
        if (hadMakefile) std::rename(kBackup, kMakefile);
        std::remove(kTemporary);
        err << "Depmill: can't write Makefile\n";
        return false;
    }
    return true;
}

}  // namespace depmill
