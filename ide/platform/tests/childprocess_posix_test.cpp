// The system's child processes with real children: pipes, folders, exit
// statuses, the process group and its signals, start failures and detached
// starts that leave no zombie.
#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>
#include <vector>

#include "childprocess.h"
#include "processstate.h"
#include "tempfolder.h"

namespace fs = std::filesystem;

namespace {

// The parent of a process, from /proc; 0 when it is gone.
pid_t ParentOf(pid_t pid) {
    std::string line;
    std::getline(std::ifstream("/proc/" + std::to_string(pid) + "/stat"), line);
    // "pid (name) state ppid ...", where the name may hold blanks.
    std::istringstream fields(line.substr(line.rfind(')') + 1));
    std::string state;
    pid_t parent = 0;
    fields >> state >> parent;
    return parent;
}

// The processes whose parent is this test process, zombies included.
std::vector<pid_t> OwnChildren() {
    std::vector<pid_t> children;
    for (const auto& entry : fs::directory_iterator("/proc")) {
        const std::string name = entry.path().filename().string();
        if (name.find_first_not_of("0123456789") != std::string::npos) continue;
        const pid_t pid = std::stoi(name);
        if (ParentOf(pid) == ::getpid()) children.push_back(pid);
    }
    return children;
}

// The exit status, reading on (and so waiting) until the child has ended.
int WaitForExit(CapturedChild& child) {
    char buffer[64];
    for (;;) {
        if (const auto status = child.exitStatus()) return *status;
        child.read(buffer, sizeof buffer, 1000);
    }
}

class ChildProcessTest : public ::testing::Test {
  protected:
    // Everything the child writes, until the pipe ends.
    static std::string readAll(CapturedChild& child) {
        std::string all;
        char buffer[7];  // small, so that reads come in several pieces
        for (;;) {
            const ChildReadResult got = child.read(buffer, sizeof buffer, 1000);
            if (got.status == ChildReadStatus::End) return all;
            all.append(buffer, got.count);
        }
    }

    // Output and exit status of a command line run to its end.
    std::pair<std::string, int> run(const std::string& commandLine,
                                    const std::string& folder = "") {
        auto child = processes_->newCapturedChild();
        EXPECT_EQ(child->start(commandLine, folder, true), ChildStartFailure::None);
        std::string output = readAll(*child);
        child->closePipes();
        return {output, WaitForExit(*child)};
    }

    const std::unique_ptr<ChildProcesses> processes_ = CreateSystemChildProcesses();
    TempFolder temp_;
    const fs::path folder_ = temp_.path();
};

TEST_F(ChildProcessTest, OutputAndErrorShareOnePipeInOrder) {
    const auto [output, status] =
        run("sh -c \"echo one; echo two >&2; printf three; echo four >&2\"");
    EXPECT_EQ(output, "one\ntwo\nthreefour\n");
    EXPECT_EQ(status, 0);
}

TEST_F(ChildProcessTest, ExitStatusesAndSignals) {
    EXPECT_EQ(run("sh -c \"exit 1\"").second, 1);
    EXPECT_EQ(run("cmd /c exit 2").second, 2);
    EXPECT_EQ(run("sh -c \"exit 255\"").second, 255);
    EXPECT_EQ(run("sh -c \"kill -TERM $$\"").second, 128 + SIGTERM);
    EXPECT_EQ(run("sh -c \"kill -KILL $$\"").second, 128 + SIGKILL);
}

TEST_F(ChildProcessTest, WorkingFolderOrCurrentFolder) {
    EXPECT_EQ(run("pwd", folder_.string()).first, fs::canonical(folder_).string() + "\n");
    EXPECT_EQ(run("pwd").first, fs::current_path().string() + "\n");
}

TEST_F(ChildProcessTest, ArgumentsReachTheChildAsSplit) {
    std::ofstream(folder_ / "args.sh") << "for a in \"$@\"; do printf '[%s]' \"$a\"; done\n";
    const auto [output, status] = run(R"(sh args.sh "a b" c\"d "" e\\f)", folder_.string());
    EXPECT_EQ(output, R"([a b][c"d][][e\\f])");
}

TEST_F(ChildProcessTest, InputPipeReachesTheChildAndEndsOnClose) {
    auto child = processes_->newCapturedChild();
    ASSERT_EQ(child->start("sh -c \"head -c 3; echo; cat\"", "", true), ChildStartFailure::None);
    EXPECT_TRUE(child->write("abc"));
    EXPECT_TRUE(child->write("xyz"));
    std::string output;
    char buffer[64];
    while (output.size() < 7) {
        const ChildReadResult got = child->read(buffer, sizeof buffer, 2000);
        ASSERT_EQ(got.status, ChildReadStatus::Data);
        output.append(buffer, got.count);
    }
    EXPECT_EQ(output, "abc\nxyz");
    // cat ends only when its input does.
    EXPECT_EQ(child->read(buffer, sizeof buffer, 100).status, ChildReadStatus::NothingYet);
    child->closePipes();
    EXPECT_EQ(WaitForExit(*child), 0);
}

TEST_F(ChildProcessTest, WritingToAChildThatLeftIsHarmless) {
    auto child = processes_->newCapturedChild();
    ASSERT_EQ(child->start("sh -c \"exec 0<&-; echo gone\"", "", true), ChildStartFailure::None);
    EXPECT_EQ(readAll(*child), "gone\n");
    EXPECT_FALSE(child->write("\r"));  // no SIGPIPE: the test process lives on
    child->closePipes();
    EXPECT_EQ(WaitForExit(*child), 0);
}

TEST_F(ChildProcessTest, StartFailuresAreLaunchFailures) {
    for (const char* line : {"", "  ", "no-such-program-vantor", "\"\""}) {
        EXPECT_EQ(processes_->newCapturedChild()->start(line, "", true), ChildStartFailure::Launch)
            << line;
    }
    EXPECT_EQ(processes_->newCapturedChild()->start("pwd", (folder_ / "missing").string(), true),
              ChildStartFailure::Launch);
    std::ofstream(folder_ / "plain") << "not a program\n";
    EXPECT_EQ(processes_->newCapturedChild()->start((folder_ / "plain").string(), "", true),
              ChildStartFailure::Launch);
}

TEST_F(ChildProcessTest, SilentChildGivesNothingYet) {
    auto child = processes_->newCapturedChild();
    ASSERT_EQ(child->start("sh -c \"sleep 0.3; echo late\"", "", true), ChildStartFailure::None);
    char buffer[16];
    EXPECT_EQ(child->read(buffer, sizeof buffer, 20).status, ChildReadStatus::NothingYet);
    EXPECT_EQ(readAll(*child), "late\n");
    child->closePipes();
    EXPECT_EQ(WaitForExit(*child), 0);
}

TEST_F(ChildProcessTest, ChildLeadsAProcessGroupOfItsOwn) {
    // Field 5 of /proc/PID/stat is the process group ("sh" has no blank).
    const auto [output, status] = run("sh -c \"echo $$; cut -d' ' -f5 /proc/$$/stat\"");
    std::istringstream numbers(output);
    pid_t pid = 0;
    pid_t group = 0;
    numbers >> pid >> group;
    EXPECT_GT(pid, 0);
    EXPECT_EQ(group, pid);
    EXPECT_NE(group, ::getpgrp());
}

TEST_F(ChildProcessTest, EndOfOutputIsNotTheEndOfTheChild) {
    auto child = processes_->newCapturedChild();
    ASSERT_EQ(child->start("sh -c \"exec >/dev/null 2>&1; sleep 0.3; exit 3\"", "", true),
              ChildStartFailure::None);
    EXPECT_EQ(readAll(*child), "");
    EXPECT_EQ(child->exitStatus(), std::nullopt);
    // A read after the end waits for the child instead of returning at once.
    char buffer[8];
    const auto started = std::chrono::steady_clock::now();
    EXPECT_EQ(child->read(buffer, sizeof buffer, 100).status, ChildReadStatus::End);
    EXPECT_GE(std::chrono::steady_clock::now() - started, std::chrono::milliseconds(90));
    EXPECT_EQ(WaitForExit(*child), 3);
    EXPECT_EQ(child->exitStatus(), 3);  // the status stays known
}

TEST_F(ChildProcessTest, SignalsReachTheWholeGroup) {
    auto child = processes_->newCapturedChild();
    // The grandchild ignores the request to end; only the kill ends it.
    std::ofstream(folder_ / "group.sh")
        << "sh -c 'trap \"\" TERM; echo $$; exec sleep 30' &\nwait\n";
    ASSERT_EQ(child->start("sh group.sh", folder_.string(), true), ChildStartFailure::None);
    std::string line;
    char buffer[32];
    while (line.find('\n') == std::string::npos) {
        const ChildReadResult got = child->read(buffer, sizeof buffer, 2000);
        ASSERT_EQ(got.status, ChildReadStatus::Data);
        line.append(buffer, got.count);
    }
    const pid_t grandchild = std::stoi(line);
    EXPECT_TRUE(child->groupAlive());

    child->signalGroup(GroupSignal::Terminate);
    EXPECT_EQ(WaitForExit(*child), 128 + SIGTERM);
    EXPECT_TRUE(ProcessRuns(grandchild));
    EXPECT_TRUE(child->groupAlive());

    child->signalGroup(GroupSignal::Kill);
    for (int i = 0; i < 100 && child->groupAlive(); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    // Ended, even when no one reaps it.
    EXPECT_FALSE(child->groupAlive());
    EXPECT_FALSE(ProcessRuns(grandchild));
}

TEST_F(ChildProcessTest, DetachedStartIsNotWaitedForAndLeavesNoZombie) {
    const fs::path pidFile = folder_ / "pid";
    const std::vector<pid_t> before = OwnChildren();
    const auto started = std::chrono::steady_clock::now();
    ASSERT_TRUE(processes_->startDetached("sh -c \"echo $$ > pid.tmp; mv pid.tmp pid; sleep 1\"",
                                          folder_.string(), true));
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::milliseconds(800));

    for (int i = 0; i < 200 && !fs::exists(pidFile); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    pid_t pid = 0;
    std::ifstream(pidFile) >> pid;
    ASSERT_GT(pid, 0);
    // The program runs on, leading a session of its own: neither Stop nor
    // the terminal's signals to the IDE reach it.
    EXPECT_TRUE(ProcessRuns(pid));
    EXPECT_EQ(::getsid(pid), pid);
    EXPECT_NE(::getsid(pid), ::getsid(0));

    // Once it has ended, the test process has no child left to reap, not
    // even a zombie.
    for (int i = 0; i < 300 && OwnChildren() != before; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    EXPECT_EQ(OwnChildren(), before);
    EXPECT_FALSE(ProcessRuns(pid));
}

TEST_F(ChildProcessTest, DetachedStartFailures) {
    const std::vector<pid_t> before = OwnChildren();
    EXPECT_FALSE(processes_->startDetached("", "", false));
    EXPECT_FALSE(processes_->startDetached("no-such-program-vantor", "", false));
    EXPECT_FALSE(processes_->startDetached("true", (folder_ / "missing").string(), false));
    std::ofstream(folder_ / "plain") << "not a program\n";
    fs::permissions(folder_ / "plain", fs::perms::owner_all);
    EXPECT_FALSE(processes_->startDetached((folder_ / "plain").string(), "", false));
    EXPECT_EQ(OwnChildren(), before);
}

}  // namespace
