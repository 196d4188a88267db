// dosrun the whole way: the real program, the real DOSBox without a
// window, DOS programs built here with bcc standing in for a compiler.
#include <signal.h>

#include <chrono>
#include <thread>

#include "dosrunfixture.h"

using namespace std::chrono_literals;

namespace {

TEST_F(Dosrun, ExitStatusIsTheProgramsErrorlevelAndItsOutputComesWithUnixLineEnds) {
    for (const int code : {0, 1, 2, 255}) {
        const auto result = run({"STAND.COM", "msg", "HELLO.C", "3", std::to_string(code)});
        EXPECT_EQ(result.status, code) << result.err;
        EXPECT_EQ(result.out,
                  "HELLO.C(3) : error C2065: 'x' : undeclared identifier\n"
                  "HELLO.C(3) : warning C4013: 'f' undefined\n");
        EXPECT_EQ(result.err, "");
    }
    // Nothing of dosrun's own in the project.
    EXPECT_EQ(listing(project), std::vector<std::string>{(project / "STAND.COM").string()});
}

TEST_F(Dosrun, ALineArrivesWhileTheProgramStillRuns) {
    DosrunChild child({"STAND", "wait", "GO"}, project, environment);
    ASSERT_TRUE(child.waitForOutput("waiting for GO\n", 15s)) << child.err();
    EXPECT_EQ(child.out().find("saw"), std::string::npos);
    writeFile(project / "GO", "");
    EXPECT_EQ(child.wait(), 3) << child.err();
    EXPECT_EQ(child.out(), "waiting for GO\nsaw GO\n");
}

TEST_F(Dosrun, BytesBeyondAsciiAndLongLinesComeUnchanged) {
    auto result = run({"STAND.COM", "sjis"});
    EXPECT_EQ(result.out, "\x95\x5c\x8e\xa6 \x83\x65\x83\x58\x83\x67\n");
    result = run({"STAND.COM", "long", "3000"});
    ASSERT_EQ(result.status, 0) << result.err;
    ASSERT_EQ(result.out.size(), 3000u + 1 + 3);
    EXPECT_EQ(result.out.substr(0, 27), "abcdefghijklmnopqrstuvwxyza");
    // The last line has no line end, and keeps none.
    EXPECT_TRUE(result.out.ends_with("\nend"));
}

TEST_F(Dosrun, ArgumentsWithBlanksAndShellCharactersReachTheProgramAsOneWord) {
    const auto result = run({"STAND.COM", "args", "a b", "x>y", "100%", "%PATH%"});
    EXPECT_EQ(result.status, 0) << result.err;
    // bcc's start-up code splits at blanks, quotes or not: the program sees
    // the quoted words whole and no redirection happened.
    EXPECT_EQ(result.out, "<\"a><b\"><\"x>y\"><100%><%PATH%>\n");
    EXPECT_FALSE(fs::exists(project / "y\""));
    expectOwnFailure(run({"STAND.COM", std::string(121, 'x')}), "126");
}

TEST_F(Dosrun, RootMayHaveAnyNameButTheFoldersBelowItMustBeDosNames) {
    const fs::path root = work.path() / "My DOS 作業";
    fs::create_directories(root / "SRC" / "LIB");
    fs::copy_file(work.path() / "STAND.COM", root / "STAND.COM");
    // The DOS current folder is the place below the root, so "..\" works.
    auto result = RunDosrun({"-r", root.string(), "..\\..\\STAND.COM", "exit", "4"},
                            root / "SRC" / "LIB", environment);
    EXPECT_EQ(result.status, 4) << result.err;
    for (const char* name : {"with blank", "日本語"}) {
        fs::create_directories(root / name);
        expectOwnFailure(RunDosrun({"-r", root.string(), "STAND.COM"}, root / name, environment),
                         name);
    }
    expectOwnFailure(RunDosrun({"-r", (root / "SRC").string(), "STAND.COM"}, root, environment),
                     "not below");
}

TEST_F(Dosrun, DrivesPathAndEnvironmentComeFromTheSettingsFileAndTheOptionsOverrideIt) {
    const fs::path compiler = work.path() / "msc";
    fs::create_directories(compiler / "BIN");
    fs::rename(project / "STAND.COM", compiler / "BIN" / "CL.COM");
    fs::create_directories(environment.home / ".config" / "vantor");
    writeFile(environment.home / ".config" / "vantor" / "dosrun.conf",
              "# the compiler\ndrive D = " + compiler.string() +
                  "\npath = D:\\BIN;Z:\\\nset INCLUDE = D:\\H\n");
    // Found on drive D through the DOS PATH.
    auto result = run({"CL", "exit", "6"});
    EXPECT_EQ(result.status, 6) << result.err;
    writeFile(project / "SHOWENV.BAT", "@ECHO [%INCLUDE%]\r\n");
    result = run({"SHOWENV.BAT"});
    EXPECT_EQ(result.out, "[D:\\H]\n") << result.err;
    result = run({"-e", "INCLUDE=D:\\INC;C:\\", "SHOWENV"});
    EXPECT_EQ(result.out, "[D:\\INC;C:\\]\n");
    result = run({"--show"});
    EXPECT_NE(result.out.find("drive D = " + compiler.string() + "\n"), std::string::npos)
        << result.out;
    EXPECT_NE(result.out.find("root = " + project.string() + "\n"), std::string::npos)
        << result.out;
    fs::remove_all(environment.home / ".config");
}

TEST_F(Dosrun, ABatchFileRunsWithItsArgumentsItsOutputAndItsLastExitCode) {
    writeFile(project / "BUILD.BAT",
              "@ECHO OFF\r\nECHO building %1\r\nSTAND.COM msg C:\\PROJ\\HELLO.C 3 2\r\n");
    auto result = run({"BUILD.BAT", "all"});
    EXPECT_EQ(result.status, 2) << result.err;
    EXPECT_EQ(result.out,
              "building all\nC:\\PROJ\\HELLO.C(3) : error C2065: 'x' : undeclared identifier\n"
              "C:\\PROJ\\HELLO.C(3) : warning C4013: 'f' undefined\n");
    // Found without its extension too, as DOS finds it.
    EXPECT_EQ(run({"build", "x"}).status, 2);
    // DOSBox's second shell does not come back from a CALL: that is
    // reported, never taken for success.
    writeFile(project / "OUTER.BAT", "@ECHO OFF\r\nCALL BUILD.BAT\r\nSTAND.COM exit 0\r\n");
    result = run({"OUTER.BAT"});
    EXPECT_EQ(result.status, 125);
    EXPECT_NE(result.err.find("dosrun: "), std::string::npos);
}

TEST_F(Dosrun, ShellCommandsRunAndAMissingProgramIsNoSuccess) {
    writeFile(project / "NOTE.TXT", "hello\r\n");
    auto result = run({"TYPE", "NOTE.TXT"});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, "hello\n");
    result = run({"NOSUCH", "x"});
    EXPECT_EQ(result.status, 127);
    EXPECT_EQ(result.err, "dosrun: DOS found no program or command NOSUCH\n");
}

TEST_F(Dosrun, ItsOwnFailuresAreOneLineAndStatus125BeforeAnythingRuns) {
    expectOwnFailure(run({"-r", (work.path() / "none").string(), "STAND.COM"}), "none");
    expectOwnFailure(run({"-d", "D=" + (work.path() / "none").string(), "STAND.COM"}), "drive D");
    expectOwnFailure(run({"-q", "STAND.COM"}), "-q");
    expectOwnFailure(run({}), "no DOS program");
    expectOwnFailure(run({"-e", "A=x>y", "STAND.COM"}), "A");
    environment.path = "/nonexistent";
    expectOwnFailure(run({"STAND.COM"}), "DOSBox is not installed");
    // A DOSBox that ends at once, before any DOS command ran: how it ended
    // and the end of its log tell why.
    const fs::path broken = work.path() / "broken";
    fs::create_directories(broken);
    environment.path = broken.string() + ":/usr/bin:/bin";
    for (const auto& [script, end] :
         {std::pair{"echo 'Exit to error: it broke'; exit 0", "exit status 0"},
          std::pair{"kill -SEGV $$", "signal 11 (Segmentation fault)"}}) {
        writeFile(broken / "dosbox",
                  std::string("#!/bin/sh\necho 'CONFIG:Loading'\n") + script + "\n");
        fs::permissions(broken / "dosbox", fs::perms::owner_all);
        const auto result = run({"STAND.COM"});
        expectOwnFailure(result, "DOSBox ended (" + std::string(end) + ") before the program did");
        if (std::string(end) == "exit status 0") {
            EXPECT_TRUE(result.err.ends_with(
                "\ndosrun:   CONFIG:Loading\ndosrun:   Exit to error: it broke\n"))
                << result.err;
        }
    }
    environment.path.clear();
    fs::create_directories(environment.home / ".config" / "vantor");
    writeFile(environment.home / ".config" / "vantor" / "dosrun.conf", "root = /\nspeed = high\n");
    expectOwnFailure(run({"STAND.COM"}), "dosrun.conf:2:");
    fs::remove_all(environment.home / ".config");
}

TEST_F(Dosrun, TheTimeLimitEndsDosboxAndGives124) {
    const auto started = std::chrono::steady_clock::now();
    const auto result = run({"-t", "2", "STAND.COM", "wait", "NEVER"});
    EXPECT_EQ(result.status, 124);
    EXPECT_EQ(result.out, "waiting for NEVER\n");
    EXPECT_TRUE(result.err.starts_with("dosrun: the time limit")) << result.err;
    EXPECT_LT(std::chrono::steady_clock::now() - started, 5s);
}

TEST_F(Dosrun, EndingSignalsEndDosboxRemoveItsFilesAndGiveTheShellsStatus) {
    for (const auto& [number, status] :
         {std::pair{SIGTERM, 143}, std::pair{SIGINT, 130}, std::pair{SIGHUP, 129}}) {
        DosrunChild child({"STAND.COM", "wait", "NEVER"}, project, environment);
        ASSERT_TRUE(child.waitForOutput("waiting", 15s)) << child.err();
        child.signal(number);
        EXPECT_EQ(child.wait(3s), status);
        EXPECT_TRUE(ProcessesMentioning(environment.tmp.string()).empty());
    }
}

TEST_F(Dosrun, StopOfTheWholeGroupEndsBoth) {
    DosrunChild stopped({"STAND.COM", "wait", "NEVER"}, project, environment);
    ASSERT_TRUE(stopped.waitForOutput("waiting", 15s)) << stopped.err();
    const auto signalled = std::chrono::steady_clock::now();
    stopped.signalGroup(SIGTERM);
    EXPECT_EQ(stopped.wait(3s), 143);
    EXPECT_LT(std::chrono::steady_clock::now() - signalled, 2500ms);
}

TEST_F(Dosrun, TwoRunsAtOnceShareNothing) {
    DosrunChild first({"STAND.COM", "wait", "ONE"}, project, environment);
    DosrunChild second({"STAND.COM", "wait", "TWO"}, project, environment);
    ASSERT_TRUE(first.waitForOutput("waiting for ONE\n", 15s)) << first.err();
    ASSERT_TRUE(second.waitForOutput("waiting for TWO\n", 15s)) << second.err();
    writeFile(project / "TWO", "");
    EXPECT_EQ(second.wait(), 3);
    writeFile(project / "ONE", "");
    EXPECT_EQ(first.wait(), 3);
    EXPECT_EQ(first.out(), "waiting for ONE\nsaw ONE\n");
    EXPECT_EQ(second.out(), "waiting for TWO\nsaw TWO\n");
}

TEST_F(Dosrun, ShowsItsVersion) {
    const auto result = run({"-v"});
    EXPECT_EQ(result.status, 0);
    EXPECT_TRUE(result.out.starts_with("dosrun ")) << result.out;
}

}  // namespace
