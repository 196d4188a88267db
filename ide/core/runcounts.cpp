// Classifying output lines and counting a run's errors and warnings.
#include "runcounts.h"

#include <algorithm>
#include <charconv>
#include <optional>

#include "buildsteps.h"
#include "runner.h"

namespace {

// A step name as the build commands use them: one capitalised word of
// letters ("Build", "Rebuild", "Depmill").
bool isStepName(std::string_view name) {
    if (name.empty() || name.front() < 'A' || name.front() > 'Z') return false;
    for (const char c : name) {
        const char lower = static_cast<char>(c | 0x20);
        if (lower < 'a' || lower > 'z') return false;
    }
    return true;
}

// The child's exit status in "Build Error (2).", if the line has that shape.
std::optional<int> statusInErrorLine(std::string_view rest) {
    constexpr std::string_view kOpen = " Error (";
    constexpr std::string_view kClose = ").";
    if (!rest.starts_with(kOpen) || !rest.ends_with(kClose)) return std::nullopt;
    const std::string_view digits =
        rest.substr(kOpen.size(), rest.size() - kOpen.size() - kClose.size());
    int status = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), status);
    if (error != std::errc() || end != digits.data() + digits.size()) return std::nullopt;
    return status;
}

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

// Longer than the summary line of any step the IDE runs.
constexpr std::size_t kLongestSummary = 64;

}  // namespace

bool IsSummaryLine(std::string_view line) {
    // Settles nearly every line before anything is written to compare.
    if (line.size() > kLongestSummary || !line.ends_with('.') || line.front() < 'A' ||
        line.front() > 'Z')
        return false;
    // Whatever the shape, the line must be exactly what the step would write.
    const auto written = [&](std::string_view name, const RunResult& result) {
        return isStepName(name) && SummarizeBuildStep(std::string(name), result).line == line;
    };
    constexpr std::string_view kEnd = "End ";
    if (line.starts_with(kEnd) && line.ends_with('.'))
        return written(line.substr(kEnd.size(), line.size() - kEnd.size() - 1), {});
    const std::size_t blank = line.find(' ');
    if (blank == std::string_view::npos) return false;
    const std::string_view name = line.substr(0, blank);
    for (const RunResult result : {RunResult{false, kRunFailed}, RunResult{false, kRunWarning},
                                   RunResult{false, kRunError}, RunResult{true, 0}}) {
        if (written(name, result)) return true;
    }
    const auto status = statusInErrorLine(line.substr(blank));
    return status && written(name, {false, *status});
}

LineKind ClassifyOutputLine(std::string_view line, common::CodePage cp) {
    if (IsSummaryLine(line)) return LineKind::Summary;
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
