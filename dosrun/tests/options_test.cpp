#include "options.h"

#include <gtest/gtest.h>

#include "dosboxfiles.h"

#include <tuple>

using dosrun::Invocation;

namespace {

// The reason ParseOptions gives for the words; empty when it takes them.
std::string parseError(const std::vector<std::string>& words, common::DosrunSettings& settings,
                       Invocation& invocation) {
    std::string error;
    const bool taken = dosrun::ParseOptions(words, settings, invocation, &error);
    EXPECT_EQ(taken, error.empty()) << error;
    return error;
}

}  // namespace

TEST(DosrunOptions, OverrideTheSettingsFileAndStopAtTheProgram) {
    common::DosrunSettings settings;
    ASSERT_FALSE(common::ParseDosrunSettings(
        "root = /file\ndrive D = /file/d\nset LIB = X\ncycles = auto\n", settings));
    Invocation invocation;
    ASSERT_EQ(parseError({"-r", "/opt", "-dd=/opt/msc", "-e", "lib=D:\\LIB", "-e", "INCLUDE=D:\\H",
                          "-p", "D:\\BIN", "-t", "5", "-c", "max", "cl", "-c", "-r", "HELLO.C"},
                         settings, invocation),
              "");
    EXPECT_EQ(settings.root, "/opt");
    EXPECT_EQ(settings.drives.at('D'), "/opt/msc");
    EXPECT_EQ(settings.path, "D:\\BIN");
    ASSERT_EQ(settings.environment.size(), 2u);
    EXPECT_EQ(settings.environment[0].second, "D:\\LIB");
    EXPECT_EQ(settings.timeoutSeconds, 5);
    EXPECT_EQ(settings.cycles, "max");
    EXPECT_EQ(invocation.command, (std::vector<std::string>{"cl", "-c", "-r", "HELLO.C"}));
}

TEST(DosrunOptions, DoubleDashEndsTheOptions) {
    common::DosrunSettings settings;
    Invocation invocation;
    EXPECT_EQ(parseError({"--", "-v"}, settings, invocation), "");
    EXPECT_FALSE(invocation.showVersion);
    EXPECT_EQ(invocation.command, std::vector<std::string>{"-v"});
}

TEST(DosrunOptions, BadOnesAreErrors) {
    for (const std::vector<std::string>& words : {std::vector<std::string>{"-x", "cl"},
                                                  {"--verbose", "cl"},
                                                  {"-r"},
                                                  {"-d", "D", "cl"},
                                                  {"-d", "C=/x", "cl"},
                                                  {"-d", "DD=/x", "cl"},
                                                  {"-e", "=x", "cl"},
                                                  {"-t", "soon", "cl"},
                                                  {"-c", "max\n[dos]", "cl"},
                                                  {}}) {
        common::DosrunSettings settings;
        Invocation invocation;
        EXPECT_NE(parseError(words, settings, invocation), "") << (words.empty() ? "" : words[0]);
    }
    common::DosrunSettings settings;
    Invocation invocation;
    EXPECT_EQ(parseError({"--show"}, settings, invocation), "");
    EXPECT_EQ(parseError({"-v"}, settings, invocation), "");
}

TEST(DosrunOptions, EachWordIsReadAsItsOptionOrRefusedWithItsReason) {
    const auto shows = [](const Invocation& invocation) {
        return std::tuple{invocation.showVersion, invocation.showSettings, invocation.showUsage,
                          invocation.passInput};
    };
    const std::tuple<bool, bool, bool, bool> none{};
    for (const auto& [words, error, shown] : std::vector<
             std::tuple<std::vector<std::string>, std::string, std::tuple<bool, bool, bool, bool>>>{
             {{"--version"}, "", {true, false, false, false}},
             {{"-h"}, "", {false, false, true, false}},
             {{"--help", "-v"}, "", {true, false, true, false}},
             {{"-i", "cl"}, "", {false, false, false, true}},
             {{"-rD", "cl"}, "", none},
             {{"-", "x"}, "", none},
             {{"-i"}, "no DOS program given", none},
             {{"-vx"}, "unknown option -vx", none},
             {{"-ix", "cl"}, "unknown option -ix", none},
             {{"--show=x"}, "unknown option --show=x", none},
             {{"--root", "/x", "cl"}, "unknown option --root", none},
             {{"-s", "cl"}, "unknown option -s", none},
             {{"cl", "-r"}, "", none},
             {{"-p"}, "the option -p needs a value", none},
             {{"-d", "D", "cl"},
              "-d takes a drive letter, \"=\" and a folder: -d D=/opt/dos",
              none},
             {{"-d=/x", "cl"}, "-d takes a drive letter, \"=\" and a folder: -d D=/opt/dos", none},
             {{"-dz=/x", "cl"}, "-d z=/x: drive Z is DOSBox's own", none},
             {{"-d", "1=/x", "cl"}, "-d 1=/x: a drive is a letter from A to Z", none},
             {{"-e", "NAME", "cl"}, "-e takes NAME=VALUE", none},
             {{"-t", "-1", "cl"}, "-t takes a whole number of seconds, 0 for none", none},
             {{"-c", "fast", "cl"},
              "-c fast: cycles are \"max\", \"auto\", a number, \"fixed N\" or \"max N%\"",
              none},
         }) {
        common::DosrunSettings settings;
        Invocation invocation;
        EXPECT_EQ(parseError(words, settings, invocation), error) << words[0];
        if (error.empty()) {
            EXPECT_EQ(shows(invocation), shown) << words[0];
        }
    }
    common::DosrunSettings settings;
    Invocation invocation;
    parseError({"-rD", "-", "x"}, settings, invocation);
    EXPECT_EQ(settings.root, "D");
    EXPECT_EQ(invocation.command, (std::vector<std::string>{"-", "x"}));
}

TEST(DosrunOptions, UsageNamesEveryOption) {
    EXPECT_EQ(dosrun::UsageText(),
              "usage: dosrun [-r FOLDER] [-d X=FOLDER]... [-p DOSPATH] [-e NAME=VALUE]...\n"
              "              [-t SECONDS] [-c CYCLES] [-i] PROGRAM [ARGUMENTS...]\n"
              "       dosrun -v | --show | --help\n");
}

TEST(DosrunOptions, TheSettingsShownReadBackAsTheSame) {
    common::DosrunSettings settings;
    Invocation invocation;
    parseError({"-r", "/p", "-d", "E=/e", "-p", "C:\\BIN", "-e", "A=1", "-t", "9", "-c",
                "fixed 3000", "x"},
               settings, invocation);
    EXPECT_EQ(
        common::DosrunSettingsText(settings),
        "root = /p\ndrive E = /e\npath = C:\\BIN\nset A = 1\ncycles = fixed 3000\ntimeout = 9\n");
    common::DosrunSettings again;
    ASSERT_FALSE(common::ParseDosrunSettings(common::DosrunSettingsText(settings), again));
    EXPECT_EQ(common::DosrunSettingsText(again), common::DosrunSettingsText(settings));
    EXPECT_EQ(again.drives, settings.drives);
    EXPECT_EQ(again.environment, settings.environment);
}

TEST(DosboxFiles, StatusFileHoldsOneCodeFrom0To255) {
    EXPECT_EQ(dosrun::ParseStatusText("0 \r\n"), 0);
    EXPECT_EQ(dosrun::ParseStatusText("255 \r\n"), 255);
    EXPECT_EQ(dosrun::ParseStatusText("7"), 7);
    for (const char* bad : {"", " \r\n", "256 \r\n", "7 \r\n8 \r\n", "x", "1000"})
        EXPECT_EQ(dosrun::ParseStatusText(bad), -1) << bad;
}

TEST(DosboxFiles, ThePrivateDriveTakesNoLetterOfTheUsers) {
    common::DosrunSettings settings;
    EXPECT_EQ(dosrun::FreeDriveLetter(settings), 'Y');
    settings.drives['Y'] = "/y";
    settings.drives['X'] = "/x";
    EXPECT_EQ(dosrun::FreeDriveLetter(settings), 'W');
}

TEST(DosboxFiles, ABatchProgramIsFollowedByTheStatusChainOnALineOfItsOwn) {
    dosrun::RunPlan plan;
    plan.batchText = "@ECHO ON\r\nCL %1";
    plan.batchArguments = "100%";
    const std::string program = dosrun::ProgramBatch(plan);
    EXPECT_TRUE(program.starts_with("@ECHO ON\r\nCL %1\r\n@ECHO OFF\r\n")) << program;
    EXPECT_NE(program.find("IF ERRORLEVEL 255 ECHO 255 >>Y:\\STATUS.TXT\r\n"), std::string::npos);
    EXPECT_NE(program.find("IF ERRORLEVEL 0 IF NOT ERRORLEVEL 1 ECHO 0 >>Y:\\STATUS.TXT\r\n"),
              std::string::npos);
    // The second shell's command tail is no batch line: "%" stays single.
    EXPECT_EQ(dosrun::JobText(plan),
              "Z:\\COMMAND.COM\r\n /C Y:\\PROGRAM.BAT 100%\r\nY:\\INPUT.DAT\r\nY:\\RESULT.TXT\r\n");
}

TEST(DosboxFiles, TheLaunchRecordIsAnExitCodeOrTheDosErrorOfWhatFailed) {
    using dosrun::LaunchRecord;
    for (const auto& [text, kind, number] : {std::tuple{"X 0\r\n", LaunchRecord::Exited, 0},
                                             {"X 255\r\n", LaunchRecord::Exited, 255},
                                             {"E 8\r\n", LaunchRecord::NotStarted, 8},
                                             {"F 65535\r\n", LaunchRecord::NoHandles, 65535}}) {
        const auto record = dosrun::ParseLaunchRecord(text);
        ASSERT_TRUE(record) << text;
        EXPECT_EQ(record->kind, kind);
        EXPECT_EQ(record->number, number);
    }
    for (const char* bad :
         {"", "X \r\n", "X 1", "Q 1\r\n", "X1\r\n", "E 65536\r\n", "X 1\r\nX 2\r\n"})
        EXPECT_FALSE(dosrun::ParseLaunchRecord(bad)) << bad;
}
