#include "outputrelay.h"

#include <utility>

#include "codepage.h"

namespace dosrun {

OutputRelay::OutputRelay(std::string marker, std::string missingProgramLine)
    : marker_(std::move(marker)), missingProgramLine_(std::move(missingProgramLine)) {}

// `line` holds its "\n". The marker ends a line of its own, or the
// program's last line when that had no line end.
std::string OutputRelay::completeLine(std::string line) {
    line.pop_back();
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.ends_with(marker_)) {
        ended_ = true;
        line.resize(line.size() - marker_.size());
        return line;
    }
    if (!missingProgramLine_.empty() &&
        common::equalsIgnoreCase(line, missingProgramLine_, common::CodePage::Utf8))
        sawMissingProgram_ = true;
    return line + '\n';
}

std::string OutputRelay::feed(std::string_view bytes) {
    std::string out;
    while (!ended_ && !bytes.empty()) {
        const std::size_t lf = bytes.find('\n');
        if (lf == std::string_view::npos) {
            pending_.append(bytes);
            break;
        }
        pending_.append(bytes.substr(0, lf + 1));
        bytes.remove_prefix(lf + 1);
        out += completeLine(std::exchange(pending_, {}));
    }
    return out;
}

std::string OutputRelay::finish() {
    return std::exchange(pending_, {});
}

}  // namespace dosrun
