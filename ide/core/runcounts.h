// What each output line is for the window's colours and the run's counts:
// an error or warning line by the same rule as the run's result (": error"
// or ": warning" in any letter case), or the summary line of a build step;
// and the status text that sums up a captured run.
#pragma once

#include <chrono>
#include <string>
#include <string_view>

#include "codepage.h"
#include "outputline.h"

// True for a line a build step ends with: "End Build.", "Build Failed.",
// "Build Warning.", "Build Error.", "Build Error (2)." and the same for any
// other step name of one word.
bool IsSummaryLine(std::string_view line);

// A summary line is Summary; otherwise a line holding ": error" is Error,
// else one holding ": warning" is Warning (letter case aside, in code page
// cp), else Plain.
LineKind ClassifyOutputLine(std::string_view line, common::CodePage cp);

// The error and warning lines of one captured run, counted as they come.
struct RunCounts {
    int errors = 0;
    int warnings = 0;

    void add(LineKind kind);
    bool operator==(const RunCounts&) const = default;
};

// "エラー N 件、警告 M 件 (T 秒)", T the run's time in seconds with one
// decimal.
std::string RunCountsStatusText(const RunCounts& counts, std::chrono::milliseconds elapsed);
