// Depmill's options as main reads them: the DEPMILLOPT text (the input's
// first line), then the command line (one argument per further line).
// Where a run would end, the status it ends with is checked.
#include <cstddef>
#include <cstdint>
#include <sstream>

#include "fuzzinput.h"
#include "options.h"
#include "runend.h"
#include "toolchains.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::vector<std::string_view> fields = fuzz::splitFields(fuzz::asText(data, size), '\n');
    depmill::GeneratorOptions options;
    depmill::applyOptionVariable(fields.front(), options);
    const std::vector<std::string> args(fields.begin() + 1, fields.end());
    std::ostringstream out;
    std::ostringstream err;
    std::optional<int> status;
    try {
        depmill::parseArguments(args, options, out, err);
    } catch (const depmill::RunEnd& end) {
        status = end.status;
    }
    fuzz::require(!status || *status == 1 || *status == 2, "an exit status other than 1 or 2");
    fuzz::require(!status || !err.str().empty(), "a run ends without a message");
    fuzz::require(options.includeDirs.size() <= depmill::kMaxIncludeDirs,
                  "more include folders than the table holds");
    fuzz::require(options.toolchain >= 0 &&
                      static_cast<std::size_t>(options.toolchain) < depmill::toolchains().size(),
                  "a toolchain number without its row");
    fuzz::require(status || options.objectExt.size() <= 3, "an object extension of more than 3");
    return 0;
}
