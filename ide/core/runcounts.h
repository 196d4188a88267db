// The run's result rule for a line (": error" or ": warning" in any letter
// case), which stands apart from the reading of messages; the counts of a
// run's error and warning messages and the status text that sums it up.
#pragma once

#include <chrono>
#include <string>
#include <string_view>

#include "outputline.h"

// What a line makes of the run's result: a line holding ": error" is Error,
// else one holding ": warning" is Warning (letter case aside, in either code
// page alike), else Plain. A line that says "fatal error" after the colon
// holds neither.
LineKind SeverityByResultRule(std::string_view line);

// The error and warning messages of one captured run, counted as they come.
struct RunCounts {
    int errors = 0;
    int warnings = 0;

    void add(LineKind kind);
    bool operator==(const RunCounts&) const = default;
};

// "エラー N 件、警告 M 件 (T 秒)", T the run's time in seconds with one
// decimal.
std::string RunCountsStatusText(const RunCounts& counts, std::chrono::milliseconds elapsed);
