// The summary lines as the IDE writes them, the run's result rule for a
// line, and the status text of a finished run.
#include "runcounts.h"

#include <gtest/gtest.h>

#include "buildsteps.h"
#include "fakesoundplayer.h"
#include "messageline.h"

namespace {

using namespace std::string_view_literals;
using namespace std::chrono_literals;

// A summary line is the IDE's because the IDE writes it; the same text
// from a child is a plain line.
TEST(RunCounts, EverySummaryLineOfAStepIsSummary) {
    FakeSoundPlayer sounds;
    OutputLineReader child(BuiltInMessageReader(common::CodePage::Utf8));
    for (const char* step : {"Build", "Rebuild", "Depmill"}) {
        for (const RunResult result :
             {RunResult{false, 0}, RunResult{false, -1}, RunResult{false, -2}, RunResult{false, -3},
              RunResult{false, 1}, RunResult{false, 2}, RunResult{false, 255},
              RunResult{false, -1073741819}, RunResult{true, 0}}) {
            std::vector<std::pair<std::string, LineKind>> written;
            FinishBuildStep(
                step, result,
                [&](const std::string& line, LineKind kind) { written.emplace_back(line, kind); },
                sounds);
            ASSERT_EQ(written.size(), 1u);
            EXPECT_EQ(written[0].first, SummarizeBuildStep(step, result).line);
            EXPECT_EQ(written[0].second, LineKind::Summary) << written[0].first;
            EXPECT_EQ(child.read(written[0].first).kind, LineKind::Plain) << written[0].first;
        }
    }
    for (auto line :
         {"Start Build."sv, "End Build"sv, "End of file."sv, "End of."sv, "End Build Now."sv,
          "Build Error (x)."sv, "Build Error (2)"sv, "Build Error (02)."sv, "Build Error ()."sv,
          "my Build Error."sv, "Build Errors."sv, "End ."sv, "Build-1 Error."sv, ""sv}) {
        EXPECT_EQ(child.read(std::string(line)).kind, LineKind::Plain) << line;
    }
}

TEST(RunCounts, ErrorsAndWarningsByTheRunsRule) {
    const std::pair<std::string_view, LineKind> lines[] = {
        {"bad.c:3:11: error: expected expression", LineKind::Error},
        {"hello.c(12): Error! E1009: Expecting ';'", LineKind::Error},
        {"jumptest.c(20) : warning C4001: test", LineKind::Warning},
        {"hello.c(7): Warning! W202: Symbol 'x' unused", LineKind::Warning},
        {"x.c:1: warning: a : error inside", LineKind::Error},  // an error outranks a warning
        {"bad.c:4:10: note: each undeclared identifier", LineKind::Plain},
        {"gcc -c -Werror bad.c", LineKind::Plain},
        {"make: *** [all] Error 1", LineKind::Plain},
        {"\x83\x47\x83\x89\x81\x5b: ERROR", LineKind::Error},
        {"", LineKind::Plain},
    };
    RunCounts counts;
    for (const auto& [line, kind] : lines) {
        EXPECT_EQ(SeverityByResultRule(line), kind) << line;
        counts.add(SeverityByResultRule(line));
    }
    counts.add(LineKind::Summary);
    EXPECT_EQ(counts.errors, 4);
    EXPECT_EQ(counts.warnings, 2);
}

TEST(RunCounts, StatusTextWithTenthsOfASecond) {
    EXPECT_EQ(RunCountsStatusText({2, 1}, 3456ms), "エラー 2 件、警告 1 件 (3.5 秒)");
    EXPECT_EQ(RunCountsStatusText({}, 0ms), "エラー 0 件、警告 0 件 (0.0 秒)");
    EXPECT_EQ(RunCountsStatusText({}, 49ms), "エラー 0 件、警告 0 件 (0.0 秒)");
    EXPECT_EQ(RunCountsStatusText({}, 50ms), "エラー 0 件、警告 0 件 (0.1 秒)");
    EXPECT_EQ(RunCountsStatusText({12, 0}, 999'960ms), "エラー 12 件、警告 0 件 (1000.0 秒)");
}

}  // namespace
