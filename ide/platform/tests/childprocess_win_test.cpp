// The runner over the Windows child processes, with a real child of its own
// (vantor_testchild.exe beside the test program): anonymous pipes, exit
// statuses up to STILL_ACTIVE's 259, the prompt, output larger than a pipe
// holds, start failures and the detached start.
#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include "childprocess.h"
#include "fakeuiservices.h"
#include "programfolder.h"
#include "runner.h"
#include "tempfolder.h"

namespace fs = std::filesystem;
using Lines = std::vector<std::string>;

namespace {

struct VectorLines : OutputLines {
    void append(const OutputLine& line) override { lines.push_back(line.text); }
    Lines lines;
};

class WinRunnerTest : public ::testing::Test {
  protected:
    // A tool that runs the test child with these steps (see common/testsupport/testchild.cpp).
    Tool child(const std::string& steps, std::string folder = "") const {
        Tool t;
        t.command = "\"" + TestProgram("vantor_testchild").string() + "\"";
        t.arguments = steps;
        t.folder = std::move(folder);
        t.captureOutput = true;
        t.minimised = true;
        return t;
    }
    int run(const Tool& t) { return RunCaptured(t, &out_, services_, false).code; }

    FakeUiServices ui_;
    const std::unique_ptr<ChildProcesses> processes_ = CreateSystemChildProcesses();
    RunServices services_{ui_, *processes_, common::CodePage::ShiftJis};
    VectorLines out_;
    TempFolder temp_;
};

TEST_F(WinRunnerTest, ExitStatusWinsOverTheLinesAndStillActiveIsAStatusToo) {
    EXPECT_EQ(run(child("out:plain")), kRunSucceeded);
    EXPECT_EQ(run(child("\"out:x.c(3) : warning C4001: w\"")), kRunWarning);
    EXPECT_EQ(run(child("\"out:x.c(4) : error C2065: e\" \"out:x.c(5) : Warning C1: w\"")),
              kRunError);
    EXPECT_EQ(run(child("\"out:x.c(1) : fatal error C1083: f\"")), kRunSucceeded);
    EXPECT_EQ(run(child("\"out:x.c(4) : error C2065: e\" exit:2")), 2);
    EXPECT_EQ(run(child("exit:1")), 1);
    // 259 is what a running process reports: the runner waits for the end
    // itself, so a child that ends with 259 does not run on forever.
    EXPECT_EQ(run(child("exit:259")), 259);
    EXPECT_EQ(run(child("exit:-1073741510")), -1073741510);  // ended by Ctrl+C
    EXPECT_TRUE(ui_.messages.empty());
}

TEST_F(WinRunnerTest, OutputAndErrorShareOnePipeAndCarriageReturnsAreDropped) {
    EXPECT_EQ(run(child("out:1 err:2 \"raw:a\r\n\" out:3 err:4 raw:last")), kRunSucceeded);
    EXPECT_EQ(out_.lines, (Lines{"1", "2", "a", "3", "4", "last"}));
}

TEST_F(WinRunnerTest, PromptIsAnsweredOnceWithACarriageReturn) {
    // The child reads one byte after the prompt, then looks whether a second
    // answer followed while it was silent on a completed line.
    EXPECT_EQ(run(child("\"raw:Enter new file spec:\" answer sleep:300 pending")), kRunSucceeded);
    EXPECT_EQ(out_.lines, (Lines{"Enter new file spec:", "answer 0d", "pending 0"}));
}

TEST_F(WinRunnerTest, SilenceWithoutThePromptGetsNoInput) {
    EXPECT_EQ(run(child("\"raw:Enter file:\" sleep:300 pending")), kRunSucceeded);
    EXPECT_EQ(out_.lines, (Lines{"Enter file:pending 0"}));
}

TEST_F(WinRunnerTest, OutputLargerThanThePipeHoldsArrivesWhole) {
    // 2 MB, many times what an anonymous pipe buffers, then an exit status.
    EXPECT_EQ(run(child("fill:20000 out:end exit:3")), 3);
    ASSERT_EQ(out_.lines.size(), 20001u);
    EXPECT_EQ(out_.lines[0], std::string(99, 'x'));
    EXPECT_EQ(out_.lines[19999], std::string(99, 'x'));
    EXPECT_EQ(out_.lines.back(), "end");
}

TEST_F(WinRunnerTest, WorkingFolderIsTheToolsFolderElseTheCurrentOne) {
    EXPECT_EQ(run(child("cwd", temp_.path().string())), kRunSucceeded);
    EXPECT_EQ(run(child("cwd")), kRunSucceeded);
    ASSERT_EQ(out_.lines.size(), 2u);
    EXPECT_TRUE(fs::equivalent(out_.lines[0], temp_.path()));
    EXPECT_TRUE(fs::equivalent(out_.lines[1], fs::current_path()));
}

TEST_F(WinRunnerTest, StartFailuresShowOneMessageAndRestoreTheCursor) {
    Tool empty = child("");
    empty.command.clear();
    Tool missingProgram = child("");
    missingProgram.command = "no-such-program-vantor";
    Tool notAProgram = child("");
    std::ofstream(temp_.path() / "plain.exe") << "not a program\n";
    notAProgram.command = "\"" + (temp_.path() / "plain.exe").string() + "\"";
    const Tool missingFolder = child("out:x", (temp_.path() / "missing").string());
    for (const Tool& t : {empty, missingProgram, notAProgram, missingFolder}) {
        ui_ = FakeUiServices();
        EXPECT_EQ(run(t), kRunFailed) << t.command;
        ASSERT_EQ(ui_.messages.size(), 1u) << t.command;
        EXPECT_EQ(ui_.messages[0].text, "プログラムの起動に失敗しました。");
        EXPECT_EQ(ui_.messages[0].icon, MessageIcon::Stop);
        EXPECT_FALSE(ui_.busyCursor);
    }
    EXPECT_TRUE(out_.lines.empty());
}

TEST_F(WinRunnerTest, StandardHandlesOfTheIdeAreRestoredAfterARun) {
    const HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
    const HANDLE output = GetStdHandle(STD_OUTPUT_HANDLE);
    const HANDLE error = GetStdHandle(STD_ERROR_HANDLE);
    EXPECT_EQ(run(child("out:x")), kRunSucceeded);
    Tool missing = child("");
    missing.command = "no-such-program-vantor";
    EXPECT_EQ(run(missing), kRunFailed);
    EXPECT_EQ(GetStdHandle(STD_INPUT_HANDLE), input);
    EXPECT_EQ(GetStdHandle(STD_OUTPUT_HANDLE), output);
    EXPECT_EQ(GetStdHandle(STD_ERROR_HANDLE), error);
}

TEST_F(WinRunnerTest, DetachedStartReturnsAtOnceAndTheChildRuns) {
    const fs::path marker = temp_.path() / "started";
    const auto begin = std::chrono::steady_clock::now();
    EXPECT_TRUE(RunDetached(child("sleep:1500 touch:started", temp_.path().string()), *processes_));
    EXPECT_LT(std::chrono::steady_clock::now() - begin, std::chrono::milliseconds(1000));
    EXPECT_FALSE(fs::exists(marker));
    for (int i = 0; i < 200 && !fs::exists(marker); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(25));
    EXPECT_TRUE(fs::exists(marker));

    Tool missing = child("");
    missing.command = "no-such-program-vantor";
    EXPECT_FALSE(RunDetached(missing, *processes_));
    missing.command = "  ";
    EXPECT_FALSE(RunDetached(missing, *processes_));
    EXPECT_TRUE(ui_.messages.empty());
}

}  // namespace
