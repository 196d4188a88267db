// The settings file's text reader on any bytes. What it keeps must survive
// the writer: written and read again, the keys and values come back the same
// and the text reads undamaged.
#include <cstddef>
#include <cstdint>

#include "filesettingsstore_format.h"
#include "fuzzinput.h"

namespace {

bool sameKeys(const std::vector<RegFileKey>& a, const std::vector<RegFileKey>& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t k = 0; k < a.size(); ++k) {
        if (a[k].path != b[k].path || a[k].values.size() != b[k].values.size()) return false;
        for (std::size_t v = 0; v < a[k].values.size(); ++v) {
            if (a[k].values[v].name != b[k].values[v].name ||
                !(a[k].values[v].value == b[k].values[v].value)) {
                return false;
            }
        }
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const RegFileContent read = parseRegFile(fuzz::asText(data, size));
    const RegFileContent reread = parseRegFile(formatRegFile(read.keys.keys()));
    fuzz::require(!reread.damaged, "a written settings text reads as damaged");
    fuzz::require(sameKeys(read.keys.keys(), reread.keys.keys()),
                  "a written settings text reads differently");
    return 0;
}
