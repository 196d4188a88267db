// The run's result rule for a line, and counting a run's errors and warnings.
#include "runcounts.h"

#include <algorithm>

namespace {

// True when ": " followed by the letter in either case occurs in the line,
// which a line must hold for its lower-cased copy to contain ": error" or
// ": warning" (neither ':' nor ' ' is ever part of a double-byte character).
// It settles most lines without making the copy.
bool mayHoldMarker(std::string_view line) {
    for (std::size_t pos = line.find(": "); pos != std::string_view::npos;
         pos = line.find(": ", pos + 1)) {
        if (pos + 2 >= line.size()) break;
        const char letter = static_cast<char>(line[pos + 2] | 0x20);
        if (letter == 'e' || letter == 'w') return true;
    }
    return false;
}

}  // namespace

LineKind SeverityByResultRule(std::string_view line, common::CodePage cp) {
    if (!mayHoldMarker(line)) return LineKind::Plain;
    const std::string lower = common::toLowerAscii(line, cp);
    if (lower.find(": error") != std::string::npos) return LineKind::Error;
    if (lower.find(": warning") != std::string::npos) return LineKind::Warning;
    return LineKind::Plain;
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
