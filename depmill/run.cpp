#include "run.h"

#include <algorithm>
#include <new>

#include "macros.h"
#include "makefilenames.h"
#include "options.h"
#include "runend.h"
#include "sources.h"
#include "writer.h"

namespace depmill {

namespace {

void run(const Invocation& invocation, FileSystem& files, std::ostream& out, std::ostream& err) {
    GeneratorOptions options;
    options.codePage = invocation.codePage;
    if (invocation.optionVariable) applyOptionVariable(*invocation.optionVariable, options);
    parseArguments(invocation.args, options, out, err);
    // Whatever the previous makefile's name holds, it is read, or moved
    // aside as the backup, only when it is a regular file that opens, also
    // where its macros are ignored.
    const std::optional<std::string> previous = findPreviousMakefile(files);
    if (previous && !files.opens(*previous)) endRun(err, 2, "Depmill: can't open Makefile\n");
    if (previous && !options.ignoreOldMacros)
        readHeaderPath(*previous, options.includeDirs, files, err);
    // A folder that cannot stand in the makefile is neither searched nor written.
    std::erase_if(options.includeDirs, [&out](const std::string& folder) {
        if (isUsableName(folder, NameUse::Folder)) return false;
        out << skippedNameWarning(folder);
        return true;
    });
    const std::vector<SourceFile> sources = scanSources(options, files, out, err);
    if (sources.empty()) endRun(out, 2, "Depmill: no files presents\n");
    writeMakefile(sources, previous, options, files, out, err);
}

}  // namespace

int runDepmill(const Invocation& invocation, FileSystem& files, std::ostream& out,
               std::ostream& err) {
    try {
        run(invocation, files, out, err);
        return 0;
    } catch (const RunEnd& end) {
        return end.status;
    } catch (const std::bad_alloc&) {
        // Out of memory before the previous makefile was touched: the
        // options, the text of the new makefile.
        err << "Depmill: memory overflow\n";
        return 2;
    }
}

}  // namespace depmill
