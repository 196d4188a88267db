// depmill: writes the makefile of the current folder from its sources, the
// options of DEPMILLOPT and the command line, and the previous makefile.
#include <clocale>
#include <cstdlib>
#include <iostream>

#include "fileaccess.h"
#include "run.h"

int main(int argc, char** argv) {
    depmill::letOversizedWritesFail();
    std::setlocale(LC_CTYPE, "");
    const char* variable = std::getenv("DEPMILLOPT");
    const depmill::Invocation invocation{
        std::vector<std::string>(argv + 1, argv + argc),
        variable ? std::optional<std::string>(variable) : std::nullopt, common::activeCodePage()};
    depmill::RealFileSystem files;
    return depmill::runDepmill(invocation, files, std::cout, std::cerr);
}
