// depmill: writes the makefile of the current folder from its sources, the
// options of DEPMILLOPT and the command line, and the previous makefile.
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <new>
#include <string>
#include <vector>

#include "codepage.h"
#include "fileaccess.h"
#include "macros.h"
#include "makefilenames.h"
#include "options.h"
#include "runend.h"
#include "sources.h"
#include "writer.h"

namespace {

int run(const std::vector<std::string>& args) {
    using namespace depmill;
    GeneratorOptions options;
    std::setlocale(LC_CTYPE, "");
    options.codePage = common::activeCodePage();
    const char* variable = std::getenv("DEPMILLOPT");
    if (variable != nullptr) applyOptionVariable(variable, options);
    if (const std::optional<int> status = parseArguments(args, options, std::cout, std::cerr)) {
        return *status;
    }
    // Whatever the previous makefile's name holds, it is read, or moved
    // aside as the backup, only when it is a regular file that opens, also
    // where its macros are ignored.
    RealFileSystem files;
    const std::optional<std::string> previous = findPreviousMakefile(files);
    if (previous && !files.openRegularFile(*previous)) {
        std::cerr << "Depmill: can't open Makefile\n";
        return 2;
    }
    if (previous && !options.ignoreOldMacros && !readHeaderPath(*previous, options.includeDirs)) {
        return 2;
    }
    // A folder that cannot stand in the makefile is neither searched nor written.
    std::erase_if(options.includeDirs, [](const std::string& folder) {
        if (isUsableName(folder, NameUse::Folder)) return false;
        std::cout << skippedNameWarning(folder);
        return true;
    });
    const std::vector<SourceFile> sources = scanSources(options);
    if (sources.empty()) {
        std::cout << "Depmill: no files presents\n";
        return 2;
    }
    return writeMakefile(sources, previous, options, files) ? 0 : 2;
}

}  // namespace

int main(int argc, char** argv) {
    depmill::letOversizedWritesFail();
    try {
        return run(std::vector<std::string>(argv + 1, argv + argc));
    } catch (const depmill::RunEnd& end) {
        return end.status;
    } catch (const std::bad_alloc&) {
        // Out of memory before the previous makefile was touched: the
        // options, the text of the new makefile.
        std::fputs("Depmill: memory overflow\n", stderr);
        return 2;
    }
}
