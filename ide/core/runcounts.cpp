// The run's result rule for a line, and counting a run's errors and warnings.
#include "runcounts.h"

#include <algorithm>

namespace {

// True when the text begins with the lower-case ASCII word, letters in
// either case.
bool startsWithLetters(std::string_view text, std::string_view word) {
    if (text.size() < word.size()) return false;
    for (std::size_t i = 0; i < word.size(); ++i) {
        if ((text[i] | 0x20) != word[i]) return false;
    }
    return true;
}

}  // namespace

// Neither ':' nor ' ' is ever part of a double-byte character, so each
// letter after ": " starts a character of its own, one that the lower-casing
// lowers: the marker is found in the line as it is, in any code page,
// without a lower-cased copy.
LineKind SeverityByResultRule(std::string_view line) {
    bool warning = false;
    for (std::size_t colon = line.find(':'); colon != std::string_view::npos;
         colon = line.find(':', colon + 1)) {
        if (colon + 1 == line.size() || line[colon + 1] != ' ') continue;
        const std::string_view after = line.substr(colon + 2);
        if (startsWithLetters(after, "error")) return LineKind::Error;
        warning = warning || startsWithLetters(after, "warning");
    }
    return warning ? LineKind::Warning : LineKind::Plain;
}

void RunCounts::add(LineKind kind) {
    if (kind == LineKind::Error) ++errors;
    if (kind == LineKind::Warning) ++warnings;
}

std::string RunCountsStatusText(const RunCounts& counts, std::chrono::milliseconds elapsed) {
    // Rounded to tenths and written without the locale's decimal mark.
    const long long tenths = (std::max<long long>(elapsed.count(), 0) + 50) / 100;
    return "エラー " + std::to_string(counts.errors) + " 件、警告 " +
           std::to_string(counts.warnings) + " 件 (" + std::to_string(tenths / 10) + "." +
           std::to_string(tenths % 10) + " 秒)";
}
