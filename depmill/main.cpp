// depmill: writes the makefile of the current folder from its sources, the
// options of DEPMILLOPT and the command line, and the previous makefile.
#include <clocale>
#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

#include "codepage.h"
#include "fileprobe.h"
#include "macros.h"
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
    if (!options.ignoreOldMacros && canOpenForReading("makefile") &&
        !readHeaderPath("makefile", options.includeDirs)) {
        return 2;
    }
    const std::vector<SourceFile> sources = scanSources(options);
    if (sources.empty()) {
        std::cout << "Depmill: no files presents\n";
        return 2;
    }
    return writeMakefile(sources, options) ? 0 : 2;
}

}  // namespace

int main(int argc, char** argv) {
    try {
        return run(std::vector<std::string>(argv + 1, argv + argc));
    } catch (const depmill::RunEnd& end) {
        return end.status;
    }
}
