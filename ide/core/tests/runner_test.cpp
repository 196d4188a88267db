// RunCaptured and RunDetached with real children: small sh scripts that
// print compiler-style lines, prompt, fall silent, fail, get killed, leave
// programs running behind them or are stopped. What a child does the same
// way on both systems is written as the steps of the platform's test child,
// which runs them on Windows and a sh script here (PosixRunnerTest holds
// the rest).
#include <gtest/gtest.h>
#include <signal.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "childprocess.h"
#include "commandtemplate.h"
#include "fakeuiservices.h"
#include "processstate.h"
#include "programfolder.h"
#include "runner.h"
#include "tempfolder.h"
#include "textconversion.h"

namespace fs = std::filesystem;
using Lines = std::vector<std::string>;
using Clock = std::chrono::steady_clock;

namespace {

const char* const kStartFailed = "プログラムの起動に失敗しました。";

struct VectorLines : OutputLines {
    void append(const OutputLine& line) override {
        lines.push_back(line.text);
        kinds.push_back(line.kind);
        read.push_back(line);
    }
    Lines lines;
    std::vector<LineKind> kinds;
    std::vector<OutputLine> read;
};

#ifndef _WIN32
// A step of the test child as a line of sh: out:, err:, raw:, sleep:, exit:.
std::string ShellStep(const std::string& step) {
    const std::size_t colon = step.find(':');
    const std::string verb = step.substr(0, colon);
    std::string quoted = "'";  // the value, literal within single quotes
    for (const char c : step.substr(colon + 1))
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    quoted += "'";
    if (verb == "out") return "printf '%s\\n' " + quoted;
    if (verb == "err") return "printf '%s\\n' " + quoted + " >&2";
    if (verb == "raw") return "printf '%s' " + quoted;
    if (verb == "sleep") return "sleep $(echo " + quoted + " | awk '{ print $1 / 1000 }')";
    if (verb == "exit") return "exit " + quoted;
    ADD_FAILURE() << "no such step " << step;
    return "exit 125";
}
#endif

class RunnerTest : public ::testing::Test {
  protected:
    // A child that does these steps in order (see common/testsupport/testchild.cpp), in
    // the test folder: the test child on Windows, a sh script here.
    Tool child(const std::vector<std::string>& steps) {
#ifdef _WIN32
        CommandLineBuilder line(common::CodePage::Utf8);
        line.appendValue(TestProgram("vantor_testchild").string(), ValueQuotes::Always);
        for (const std::string& step : steps) {
            line.appendTemplate(" ");
            line.appendValue(step, ValueQuotes::Always);
        }
        return tool(line.text(), folder_.string());
#else
        std::string body;
        for (const std::string& step : steps) body += ShellStep(step) + "\n";
        return script(body);
#endif
    }

    // Writes a script into the test folder; the returned tool runs it there.
    // Each script has a file of its own, named by its full path, so that a
    // nested run never rewrites the script of the run around it.
    Tool script(const std::string& body) {
        const fs::path file = folder_ / ("child" + std::to_string(++scripts_) + ".sh");
        std::ofstream(file) << body;
        return tool("sh " + file.string(), folder_.string());
    }
    static Tool tool(std::string command, std::string folder = "") {
        Tool t;
        t.command = std::move(command);
        t.folder = std::move(folder);
        t.captureOutput = true;
        t.minimised = true;
        return t;
    }
    int run(const Tool& t, bool debug = false) {
        const RunResult result = RunCaptured(t, &out_, services_, debug);
        EXPECT_FALSE(result.stopped);
        return result.code;
    }

    // The process id a script wrote into a file of the test folder.
    pid_t pidIn(const std::string& file) const {
        pid_t pid = 0;
        std::ifstream(folder_ / file) >> pid;
        return pid;
    }

    // Runs t and asks for a stop at the first event pass after its first
    // line; returns the result and the time from the request to the end.
    std::pair<RunResult, Clock::duration> runStopped(const Tool& t) {
        StopRequest stop;
        services_.stop = &stop;
        std::optional<Clock::time_point> asked;
        ui_.onProcessEvents = [&] {
            if (asked || out_.lines.empty()) return;
            stop.requested = true;
            asked = Clock::now();
        };
        const RunResult result = RunCaptured(t, &out_, services_, false);
        const Clock::time_point ended = Clock::now();
        services_.stop = nullptr;
        ui_.onProcessEvents = nullptr;
        return {result, ended - asked.value_or(ended)};
    }

    FakeUiServices ui_;
    const std::unique_ptr<ChildProcesses> processes_ = CreateSystemChildProcesses();
    RunServices services_{ui_, *processes_, common::CodePage::Utf8};
    VectorLines out_;
    TempFolder temp_;
    const fs::path folder_ = temp_.path();
    int scripts_ = 0;
};

// Children that only sh can be: prompts read with head and od, programs
// left running, process groups, files written by cat.
class PosixRunnerTest : public RunnerTest {
  protected:
    void SetUp() override {
#ifdef _WIN32
        GTEST_SKIP() << "the child is a sh script; WinRunnerTest covers the same on Windows";
#endif
    }
};

TEST_F(RunnerTest, WarningsAndErrorsSumUpTheRun) {
    const std::string warning = "out:x.c(3) : warning C4001: nonstandard extension";
    const std::string error = "out:x.c(4) : error C2065: undeclared identifier";
    EXPECT_EQ(run(child({warning, error})), kRunError);
    EXPECT_EQ(out_.lines, (Lines{"x.c(3) : warning C4001: nonstandard extension",
                                 "x.c(4) : error C2065: undeclared identifier"}));
    EXPECT_EQ(run(child({error, warning})), kRunError);
    EXPECT_EQ(run(child({warning})), kRunWarning);
    EXPECT_EQ(run(child({"out:X.C(3) : WaRnInG C4001"})), kRunWarning);
    EXPECT_EQ(run(child({"out:LINK : see below : ERROR L2029", "out:ok"})), kRunError);
    EXPECT_EQ(run(child({"out:plain output"})), kRunSucceeded);
}

TEST_F(RunnerTest, FatalErrorIsNoErrorLineAndExitStatusWins) {
    const std::string fatal = "out:x.c(1) : fatal error C1083: cannot open";
    EXPECT_EQ(run(child({fatal})), kRunSucceeded);
    EXPECT_EQ(run(child({fatal, "exit:2"})), 2);
    EXPECT_EQ(run(child({"out:x.c(4) : error C2065: y", "exit:1"})), 1);
    EXPECT_EQ(run(child({"exit:1"})), 1);
    EXPECT_TRUE(ui_.messages.empty());
}

TEST_F(PosixRunnerTest, ChildKilledByASignalGivesANonZeroResult) {
    EXPECT_EQ(run(script("kill -KILL $$\n")), 128 + 9);
    EXPECT_TRUE(ui_.messages.empty());
}

TEST_F(RunnerTest, CarriageReturnsDroppedLastLineKeptUnclassified) {
    EXPECT_EQ(run(child({"raw:a\r\nb"})), kRunSucceeded);
    EXPECT_EQ(out_.lines, (Lines{"a", "b"}));
    out_.lines.clear();
    EXPECT_EQ(run(child({"raw:one\n\n\r\nt\rwo\nx.c(1) : error C1: last"})), kRunSucceeded);
    EXPECT_EQ(out_.lines, (Lines{"one", "", "", "two", "x.c(1) : error C1: last"}));
}

TEST_F(RunnerTest, OutputAndErrorArriveInOneStreamInOrder) {
    EXPECT_EQ(run(child({"out:1", "err:2", "out:3", "err:4"})), kRunSucceeded);
    EXPECT_EQ(out_.lines, (Lines{"1", "2", "3", "4"}));
}

TEST_F(PosixRunnerTest, PromptGetsOneCarriageReturnAndShowsUnchanged) {
    // The child reads one byte after the prompt and reports what it got.
    const int result =
        run(script("printf 'Enter new file spec:'\n"
                   "answer=$(head -c 1 | od -An -tx1 | tr -d ' ')\n"
                   "echo\necho \"answer $answer\"\n"));
    EXPECT_EQ(result, kRunSucceeded);
    EXPECT_EQ(out_.lines, (Lines{"Enter new file spec:", "answer 0d"}));
}

TEST_F(PosixRunnerTest, SilentChildWithoutPromptGetsNoInput) {
    EXPECT_EQ(run(script("printf 'Enter file:'; sleep 0.2\n"
                         "got=$(timeout 0.2 head -c 1 | od -An -tx1); echo \"[$got]\"\n")),
              kRunSucceeded);
    EXPECT_EQ(out_.lines, (Lines{"Enter file:[]"}));
}

TEST_F(RunnerTest, StartFailuresShowTheMessageAndRestoreTheCursor) {
    Tool inMissingFolder = child({"out:never"});
    inMissingFolder.folder = (folder_ / "missing").string();
    for (const Tool& t : {tool(""), tool("no-such-program-vantor", ""), inMissingFolder}) {
        ui_ = FakeUiServices();
        EXPECT_EQ(run(t), kRunFailed) << t.command;
        ASSERT_EQ(ui_.messages.size(), 1u);
        EXPECT_EQ(ui_.messages[0].text, kStartFailed);
        EXPECT_EQ(ui_.messages[0].caption, "Vantor");
        EXPECT_EQ(ui_.messages[0].icon, MessageIcon::Stop);
        EXPECT_FALSE(ui_.busyCursor);
    }
    EXPECT_TRUE(out_.lines.empty());
}

TEST_F(RunnerTest, BusyCursorCoversTheRun) {
    ui_.onProcessEvents = [this] { EXPECT_TRUE(ui_.busyCursor); };
    EXPECT_EQ(run(child({"out:a"})), kRunSucceeded);
    EXPECT_EQ(ui_.busyChanges, (std::vector<bool>{true, false}));
}

TEST_F(RunnerTest, DebugLinesComeBeforeTheOutput) {
    Tool t = child({"out:out"});
    t.folder.clear();
    t.arguments = t.command.substr(t.command.find(' ') + 1);
    t.command.resize(t.command.find(' '));
    EXPECT_EQ(run(t, true), kRunSucceeded);
    EXPECT_EQ(out_.lines, (Lines{"Command: " + t.command + " " + t.arguments,
                                 "Folder: ", "Create Process OK, Start Pipe.", "out"}));

    out_.lines.clear();
    const Tool missing = tool("no-such-program-vantor", "C:\\WORK");
    EXPECT_EQ(run(missing, true), kRunFailed);
    EXPECT_EQ(out_.lines, (Lines{"Command: no-such-program-vantor", "Folder: C:\\WORK"}));

    out_.lines.clear();
    EXPECT_EQ(run(t, false), kRunSucceeded);
    EXPECT_EQ(out_.lines, Lines{"out"});
}

TEST_F(PosixRunnerTest, WorkingFolderEmptyMeansTheCurrentOne) {
    EXPECT_EQ(run(tool("pwd", folder_.string())), kRunSucceeded);
    EXPECT_EQ(run(tool("pwd")), kRunSucceeded);
    EXPECT_EQ(out_.lines, (Lines{fs::canonical(folder_).string(), fs::current_path().string()}));
}

TEST_F(PosixRunnerTest, CommandInterpreterLinesRunThroughTheShell) {
    Tool t = tool("cmd /cecho one |cat -u");
    EXPECT_EQ(run(t), kRunSucceeded);
    t.command = "CMD.EXE /C";
    t.arguments = "echo two; exit 4";
    EXPECT_EQ(run(t), 4);
    EXPECT_EQ(out_.lines, (Lines{"one", "two"}));
}

TEST_F(PosixRunnerTest, LongLinesComeInPiecesOfAtMost4095Bytes) {
    const std::string marked = "x.c(9) : warning C4001: " + std::string(5000, 'w');
    std::ofstream(folder_ / "long.txt") << std::string(4095, 'a') << "\n"
                                        << std::string(10000, 'b') << "\r\n"
                                        << marked << "\n"
                                        << std::string(9000, 'c');
    EXPECT_EQ(run(tool("cat long.txt", folder_.string())), kRunWarning);
    const Lines expected{std::string(4095, 'a'), std::string(4095, 'b'), std::string(4095, 'b'),
                         std::string(1810, 'b'), marked.substr(0, 4095), marked.substr(4095),
                         std::string(4095, 'c'), std::string(4095, 'c'), std::string(810, 'c')};
    EXPECT_EQ(out_.lines, expected);
}

TEST_F(PosixRunnerTest, LongLinePieceNeverSplitsADoubleByteCharacter) {
    services_.codePage = common::CodePage::ShiftJis;
    // "\x83\x5c" is one character; it would straddle the 4095-byte limit.
    const std::string line = std::string(4094, 'a') + "\x83\x5c" + "tail";
    std::ofstream(folder_ / "sjis.txt") << line << "\n";
    EXPECT_EQ(run(tool("cat sjis.txt", folder_.string())), kRunSucceeded);
    EXPECT_EQ(out_.lines, (Lines{std::string(4094, 'a'),
                                 "\x83\x5c"
                                 "tail"}));
}

TEST_F(RunnerTest, LinesJoinAcrossReadsAndEventsRunWhileSilent) {
    long passesWhileSilent = 0;
    ui_.onProcessEvents = [&] {
        if (out_.lines.size() == 1) ++passesWhileSilent;
    };
    EXPECT_EQ(run(child({"out:first", "raw:sec", "sleep:400", "out:ond"})), kRunSucceeded);
    EXPECT_EQ(out_.lines, (Lines{"first", "second"}));
    EXPECT_GE(passesWhileSilent, 4);  // about one per 50 ms of silence
}

// A child that floods the pipe still lets the window in while its lines
// come, each pass after the lines of a read rather than after every line.
TEST_F(PosixRunnerTest, EventsPassWhileAFloodOfLinesComes) {
    std::vector<std::size_t> linesAtPass;
    ui_.onProcessEvents = [&] { linesAtPass.push_back(out_.lines.size()); };
    EXPECT_EQ(run(tool("seq 300000", folder_.string())), kRunSucceeded);
    ASSERT_EQ(out_.lines.size(), 300000u);
    EXPECT_EQ(out_.lines.back(), "300000");
    EXPECT_GE(std::count_if(linesAtPass.begin(), linesAtPass.end(),
                            [](std::size_t n) { return n > 0 && n < 300000; }),
              3);
    EXPECT_LT(linesAtPass.size(), out_.lines.size() / 10);
}

TEST_F(RunnerTest, NestedRunInsideEventProcessing) {
    int innerResult = 1;
    bool nested = false;
    ui_.onProcessEvents = [&] {
        if (nested || out_.lines.empty()) return;  // once the outer child has begun
        nested = true;
        const Tool inner = child({"out:inner", "out:i.c(1) : warning W1: w"});
        innerResult = RunCaptured(inner, &out_, services_, false).code;
    };
    EXPECT_EQ(run(child({"out:outer1", "sleep:100", "out:o.c(2) : error E1: e", "exit:0"})),
              kRunError);
    EXPECT_EQ(innerResult, kRunWarning);
    EXPECT_EQ(out_.lines,
              (Lines{"outer1", "inner", "i.c(1) : warning W1: w", "o.c(2) : error E1: e"}));
    EXPECT_EQ(ui_.busyChanges.back(), false);
}

TEST_F(PosixRunnerTest, ChildLeavingAProgramBehindEndsTheRunAllDrained) {
    const auto started = Clock::now();
    EXPECT_EQ(run(script("sleep 30 &\necho $! > bg.pid\nseq 3000\nexit 2\n")), 2);
    EXPECT_LT(Clock::now() - started, std::chrono::seconds(1));
    ASSERT_EQ(out_.lines.size(), 3000u);
    EXPECT_EQ(out_.lines.back(), "3000");
    const pid_t background = pidIn("bg.pid");
    EXPECT_TRUE(ProcessRuns(background));  // not the IDE's to end
#ifndef _WIN32
    ::kill(background, SIGKILL);  // the fixture runs these only on POSIX systems
#endif
}

TEST_F(PosixRunnerTest, ChildThatClosedItsOutputIsAwaitedWithEventsFlowing) {
    long passes = 0;
    ui_.onProcessEvents = [&] { ++passes; };
    EXPECT_EQ(run(script("echo before\nexec >/dev/null 2>&1\nsleep 0.4\nexit 5\n")), 5);
    EXPECT_EQ(out_.lines, Lines{"before"});
    EXPECT_GE(passes, 8);  // about one per 20 ms of the wait
}

TEST_F(PosixRunnerTest, StopEndsTheChildAndWhatItStarted) {
    const auto [result, took] =
        runStopped(script("echo $$ > sh.pid\nsleep 30 &\necho $! > bg.pid\necho ready\nwait\n"));
    EXPECT_TRUE(result.stopped);
    EXPECT_LT(took, std::chrono::seconds(1));
    EXPECT_EQ(out_.lines, Lines{"ready"});
    EXPECT_FALSE(ProcessRuns(pidIn("sh.pid")));
    EXPECT_FALSE(ProcessRuns(pidIn("bg.pid")));
    EXPECT_FALSE(ui_.busyCursor);
    EXPECT_TRUE(ui_.messages.empty());
}

TEST_F(PosixRunnerTest, StopKillsAGroupThatIgnoresTheRequest) {
    const auto [result, took] =
        runStopped(script("trap '' TERM\necho $$ > sh.pid\necho ready\n"
                          "while :; do sleep 0.05; done\n"));
    EXPECT_TRUE(result.stopped);
    EXPECT_GE(took, kStopGrace - std::chrono::milliseconds(50));
    EXPECT_LT(took, kStopGiveUp);
    EXPECT_FALSE(ProcessRuns(pidIn("sh.pid")));
}

TEST_F(PosixRunnerTest, StopReachesAChildThatClosedItsOutput) {
    const auto [result, took] = runStopped(script("echo ready\nexec >/dev/null 2>&1\nsleep 30\n"));
    EXPECT_TRUE(result.stopped);
    EXPECT_LT(took, std::chrono::seconds(1));
}

TEST_F(RunnerTest, WithoutLineListTheRunStillCounts) {
    const Tool t = child({"out:x.c(1) : warning C1: w", "raw:tail"});
    EXPECT_EQ(RunCaptured(t, nullptr, services_, true), (RunResult{false, kRunWarning, {0, 1}}));
}

TEST_F(RunnerTest, EveryLineIsClassifiedAndCountedButTheUnfinishedLast) {
    const Tool t =
        child({"out:a.c:3:5: error: x", "out:b.c(9) : Warning C4101: y", "out:End Build.",
               "out:plain", "out:c.c(1) : error C2: z", "raw:LINK : error L2029"});
    const RunResult result = RunCaptured(t, &out_, services_, false);
    EXPECT_EQ(result.code, kRunError);
    EXPECT_EQ(result.counts, (RunCounts{2, 1}));
    // A child's "End Build." is a plain line: only the IDE writes summaries.
    EXPECT_EQ(out_.kinds,
              (std::vector<LineKind>{LineKind::Error, LineKind::Warning, LineKind::Plain,
                                     LineKind::Plain, LineKind::Error, LineKind::Plain}));
}

// The counts and colours come from the reading, the result code from its
// own rule: a fatal error counts as an error although ": error" is not in
// it, and each message keeps what it says and make's folder.
TEST_F(RunnerTest, TheReadingCountsTheResultRuleDecides) {
    const Tool t = child({"out:make: Entering directory '/p/sub'",
                          "out:x.c:1:10: fatal error: y.h: No such file or directory",
                          "out:Error E2451 hello.c 12: Undefined symbol",
                          "out:make: Leaving directory '/p/sub'"});
    const RunResult result = RunCaptured(t, &out_, services_, false);
    EXPECT_EQ(result.code, kRunSucceeded);
    EXPECT_EQ(result.counts, (RunCounts{2, 0}));
    ASSERT_EQ(out_.read.size(), 4u);
    ASSERT_TRUE(out_.read[1].message.has_value());
    EXPECT_EQ(out_.read[1].kind, LineKind::Error);
    EXPECT_EQ(out_.read[1].message->file, "x.c");
    EXPECT_EQ(out_.read[1].message->column, 10u);
    EXPECT_EQ(out_.read[1].message->directory, "/p/sub");
    ASSERT_TRUE(out_.read[2].message.has_value());
    EXPECT_EQ(out_.read[2].message->number, "E2451");
    EXPECT_FALSE(out_.read[0].message.has_value());
}

// "エラー" in Shift-JIS and in UTF-8, as a DOS compiler and a Linux tool write it.
constexpr char kErrorWordShiftJis[] = "\x83\x47\x83\x89\x81\x5b";
constexpr char kErrorWordUtf8[] = "\xe3\x82\xa8\xe3\x83\xa9\xe3\x83\xbc";

TEST_F(PosixRunnerTest, ChildOutputIsDecodedIntoTheIdesCodePageByChoice) {
    std::ofstream(folder_ / "mixed.txt", std::ios::binary)
        << "a.c(1) : error " << kErrorWordShiftJis << "\n"
        << "b.c(2) : warning " << kErrorWordUtf8 << "\n";
    const std::unique_ptr<TextConversion> conversion = CreateSystemTextConversion();
    services_.convert = conversion.get();
    const Tool cat = tool("cat mixed.txt", folder_.string());
    const std::string sjisAsUtf8 = std::string("a.c(1) : error ") + kErrorWordUtf8;
    const std::string utf8Line = std::string("b.c(2) : warning ") + kErrorWordUtf8;

    services_.outputEncoding = OutputEncoding::Automatic;
    EXPECT_EQ(run(cat), kRunError);
    EXPECT_EQ(out_.lines, (Lines{sjisAsUtf8, utf8Line}));

    out_ = {};
    services_.outputEncoding = OutputEncoding::ShiftJis;  // the UTF-8 line turns into other text
    run(cat);
    ASSERT_EQ(out_.lines.size(), 2u);
    EXPECT_EQ(out_.lines[0], sjisAsUtf8);
    EXPECT_NE(out_.lines[1], utf8Line);
    EXPECT_TRUE(IsValidUtf8(out_.lines[1]));

    out_ = {};
    services_.outputEncoding = OutputEncoding::Utf8;  // invalid bytes are replaced, not passed on
    run(cat);
    ASSERT_EQ(out_.lines.size(), 2u);
    EXPECT_TRUE(IsValidUtf8(out_.lines[0]));
    EXPECT_TRUE(out_.lines[0].starts_with("a.c(1) : error "));
    EXPECT_EQ(out_.lines[1], utf8Line);
}

TEST_F(RunnerTest, DetachedStartDoesNotWait) {
    const auto started = std::chrono::steady_clock::now();
    EXPECT_TRUE(RunDetached(child({"sleep:2000"}), *processes_));
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(1));
    EXPECT_FALSE(RunDetached(tool("no-such-program-vantor"), *processes_));
    EXPECT_FALSE(RunDetached(tool(""), *processes_));
    EXPECT_TRUE(ui_.messages.empty());
}

TEST(RunnerCommandLine, CommandAndArgumentsJoinWithOneBlank) {
    Tool t;
    t.command = "make";
    EXPECT_EQ(ComposeCommandLine(t), "make");
    t.arguments = "-f x.mak";
    EXPECT_EQ(ComposeCommandLine(t), "make -f x.mak");
    t.command.clear();
    EXPECT_EQ(ComposeCommandLine(t), " -f x.mak");
}

}  // namespace
