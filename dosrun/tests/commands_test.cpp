// A DOS program run by dosrun behaves like a Linux command: it never waits
// on a keyboard, its standard error comes out, its last line is never lost,
// whatever keeps it from starting is a failure with its reason, a broken
// output ends the run, the settings file is the user's own, and a killed
// dosrun leaves nothing behind for long.
#include <signal.h>

#include <chrono>
#include <thread>

#include "dosrunfixture.h"

using namespace std::chrono_literals;

namespace {

using Clock = std::chrono::steady_clock;

TEST_F(Dosrun, TheProgramsInputIsEmptyUnlessDosrunsOwnIsPassedOn) {
    const auto started = Clock::now();
    auto result = run({"-t", "20", "pause"});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_LT(Clock::now() - started, 15s);
    result = run({"STAND.COM", "ask"});
    EXPECT_EQ(result.out, "Delete it [Yes/No] ? no answer\n");
    EXPECT_EQ(result.status, 5) << result.err;
    result = RunDosrun({"-i", "STAND.COM", "ask"}, project, environment,
                       DosrunStreams::withInput("y\r\n"));
    EXPECT_EQ(result.out, "Delete it [Yes/No] ? answered\n");
    EXPECT_EQ(result.status, 6) << result.err;
    // All of it, up to its end.
    result = RunDosrun({"-i", "STAND.COM", "cat"}, project, environment,
                       DosrunStreams::withInput("one\r\ntwo"));
    EXPECT_EQ(result.out, "one\ntwo");
    EXPECT_EQ(result.status, 0) << result.err;
}

TEST_F(Dosrun, StandardErrorComesOutOnStandardErrorInOrderWithTheOutput) {
    auto result = run({"STAND.COM", "err"});
    EXPECT_EQ(result.status, 4);
    EXPECT_EQ(result.out, "out 1\nout 2\nout 3\n");
    EXPECT_EQ(result.err, "err 1\nerr 2\nerr 3\nlast");
    result = RunDosrun({"STAND.COM", "err"}, project, environment, DosrunStreams::errorsOnOutput());
    EXPECT_EQ(result.out, "out 1\nerr 1\nout 2\nerr 2\nout 3\nerr 3\nlast");
}

TEST_F(Dosrun, TheLastLineWithoutLineEndComesOutHoweverTheRunEnds) {
    auto result = run({"-t", "3", "STAND.COM", "hang"});
    EXPECT_EQ(result.status, 124);
    EXPECT_EQ(result.out, "Delete it [Yes/No] ? ");
    EXPECT_EQ(result.err, "ready\nhalf a line\ndosrun: the time limit of 3 s ran out\n");

    DosrunChild stopped({"STAND.COM", "hang"}, project, environment);
    ASSERT_TRUE(stopped.waitForOutput("ready\n", 15s)) << stopped.err();
    std::this_thread::sleep_for(1s);  // for the half lines to come
    stopped.signal(SIGTERM);
    EXPECT_EQ(stopped.wait(), 143);
    EXPECT_EQ(stopped.out(), "Delete it [Yes/No] ? ");
    EXPECT_EQ(stopped.err(), "ready\nhalf a line");
}

TEST_F(Dosrun, AProgramThatCannotStartIsAFailureWithItsReason) {
    // No DOS name has a blank: DOSBox's shell would run another program or
    // nothing at all.
    for (const std::string name : {"NOPE X.EXE", "STAND.COM exit 3"}) {
        const auto result = run({name});
        EXPECT_EQ(result.status, 127) << name;
        EXPECT_EQ(result.err, "dosrun: DOS found no program or command " + name + "\n");
    }
    writeFile(project / "EMPTY.COM", "");
    // An .EXE header that asks for more memory than DOS has.
    std::string huge(512, '\0');
    huge.replace(0, 14, std::string("MZ\x00\x02\x01\x00\x00\x00\x02\x00\xff\xff\xff\xff", 14));
    writeFile(project / "HUGE.EXE", huge);
    for (const auto& [name, reason] :
         {std::pair{"EMPTY.COM", "access denied"}, std::pair{"HUGE", "not enough memory"}}) {
        const auto result = run({name});
        EXPECT_EQ(result.status, 126) << name;
        EXPECT_TRUE(result.err.starts_with(std::string("dosrun: DOS could not start ") + name +
                                           ": " + reason))
            << result.err;
    }
}

TEST_F(Dosrun, AWriteErrorEndsTheRunAndAClosedPipeEndsItAsItEndsACommand) {
    const auto full = RunDosrun({"STAND.COM", "msg", "A.C", "1", "0"}, project, environment,
                                DosrunStreams::outputInto("/dev/full"));
    EXPECT_EQ(full.status, 125);
    EXPECT_EQ(full.err, "dosrun: standard output: No space left on device\n");

    DosrunChild piped({"STAND.COM", "wait", "GO"}, project, environment);
    ASSERT_TRUE(piped.waitForOutput("waiting for GO\n", 15s)) << piped.err();
    piped.closeOutput();
    writeFile(project / "GO", "");
    EXPECT_EQ(piped.wait(), 128 + SIGPIPE) << piped.err();
    EXPECT_EQ(piped.err(), "");
}

TEST_F(Dosrun, TheSettingsFileMayBeALinkAndWhatCannotBeReadIsRefused) {
    const fs::path config = environment.home / ".config" / "vantor";
    fs::create_directories(config);
    const fs::path dotfiles = work.path() / "dotfiles";
    fs::create_directories(dotfiles);
    writeFile(dotfiles / "dosrun.conf", "\xEF\xBB\xBF# mine\r\ndrive E = /\r\n");
    fs::create_symlink(dotfiles / "dosrun.conf", config / "dosrun.conf");
    auto result = run({"--show"});
    EXPECT_NE(result.out.find("drive E = /\n"), std::string::npos) << result.out << result.err;
    fs::remove(config / "dosrun.conf");

    writeFile(config / "dosrun.conf", std::string(200, 'x') + "\n");
    result = run({"--show"});
    EXPECT_EQ(result.status, 125);
    EXPECT_NE(result.err.find(std::string(80, 'x') + "...\""), std::string::npos) << result.err;
    EXPECT_EQ(result.err.find(std::string(81, 'x')), std::string::npos) << result.err;
    fs::remove(config / "dosrun.conf");

    // A FIFO would hold a reader until someone writes: it is never opened.
    ASSERT_EQ(::mkfifo((config / "dosrun.conf").c_str(), 0600), 0);
    const auto started = Clock::now();
    result = run({"STAND.COM"});
    EXPECT_LT(Clock::now() - started, 5s);
    EXPECT_EQ(result.status, 125);
    EXPECT_EQ(result.err,
              "dosrun: " + (config / "dosrun.conf").string() + ": it is a FIFO, not a file\n");
    fs::remove(config / "dosrun.conf");
    fs::create_directory(config / "dosrun.conf");
    expectOwnFailure(run({"STAND.COM"}), "it is a folder");
    fs::remove_all(environment.home / ".config");
}

TEST_F(Dosrun, AKilledDosrunTakesDosboxAlongAtOnceAndTheNextRunRemovesItsFolder) {
    DosrunChild running({"STAND.COM", "wait", "GO"}, project, environment);
    ASSERT_TRUE(running.waitForOutput("waiting", 15s)) << running.err();
    DosrunChild killed({"STAND.COM", "wait", "NEVER"}, project, environment);
    ASSERT_TRUE(killed.waitForOutput("waiting", 15s)) << killed.err();
    const auto dosboxes = ProcessesMentioning(environment.tmp.string());
    ASSERT_EQ(dosboxes.size(), 2u);
    killed.signal(SIGKILL);
    const auto signalled = Clock::now();
    // The DOSBox of the killed dosrun ends; the other one runs on.
    while (IsRunning(dosboxes[0]) && IsRunning(dosboxes[1]) && Clock::now() - signalled < 3s)
        std::this_thread::sleep_for(2ms);
    EXPECT_LT(Clock::now() - signalled, 200ms);
    EXPECT_EQ(killed.wait(), 128 + SIGKILL);
    EXPECT_EQ(ProcessesMentioning(environment.tmp.string()).size(), 1u);
    // A link among the folders is never followed, nor removed.
    const fs::path elsewhere = work.path() / "elsewhere";
    fs::create_directories(elsewhere);
    writeFile(elsewhere / "KEEP", "");
    fs::create_directory_symlink(elsewhere, environment.tmp / "dosrun-link");
    // Folders of the same look that no dosrun made are the user's.
    for (const char* name : {"dosrun-notes1", "dosrun-test-1234"}) {
        fs::create_directories(environment.tmp / name);
        writeFile(environment.tmp / name / "KEEP", "");
    }
    EXPECT_EQ(std::distance(fs::directory_iterator(environment.tmp), fs::directory_iterator()), 5);

    EXPECT_EQ(run({"STAND.COM", "exit", "0"}).status, 0);
    // Left: the running dosrun's folder, the link and the user's folders.
    EXPECT_EQ(std::distance(fs::directory_iterator(environment.tmp), fs::directory_iterator()), 4);
    EXPECT_TRUE(fs::exists(elsewhere / "KEEP"));
    EXPECT_TRUE(fs::exists(environment.tmp / "dosrun-notes1" / "KEEP"));
    EXPECT_TRUE(fs::exists(environment.tmp / "dosrun-test-1234" / "KEEP"));
    fs::remove(environment.tmp / "dosrun-link");
    fs::remove_all(environment.tmp / "dosrun-notes1");
    fs::remove_all(environment.tmp / "dosrun-test-1234");
    writeFile(project / "GO", "");
    EXPECT_EQ(running.wait(), 3) << running.err();
    EXPECT_EQ(running.out(), "waiting for GO\nsaw GO\n");
}

}  // namespace
