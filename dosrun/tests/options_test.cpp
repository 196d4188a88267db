#include "options.h"

#include <gtest/gtest.h>

#include "dosboxfiles.h"

#include <tuple>

using dosrun::ParseOptions;

TEST(DosrunOptions, OverrideTheSettingsFileAndStopAtTheProgram) {
    common::DosrunSettings settings;
    ASSERT_FALSE(common::ParseDosrunSettings("root = /file\ndrive D = /file/d\nset LIB = X\ncycles = auto\n", settings));
    const auto result = ParseOptions({"-r", "/opt", "-dd=/opt/msc", "-e", "lib=D:\\LIB", "-e", "INCLUDE=D:\\H",
                                      "-p", "D:\\BIN", "-t", "5", "-c", "max", "cl", "-c", "-r", "HELLO.C"},
                                     settings);
    ASSERT_EQ(result.error, "");
    EXPECT_EQ(settings.root, "/opt");
    EXPECT_EQ(settings.drives.at('D'), "/opt/msc");
    EXPECT_EQ(settings.path, "D:\\BIN");
    ASSERT_EQ(settings.environment.size(), 2u);
    EXPECT_EQ(settings.environment[0].second, "D:\\LIB");
    EXPECT_EQ(settings.timeoutSeconds, 5);
    EXPECT_EQ(settings.cycles, "max");
    EXPECT_EQ(result.invocation.command, (std::vector<std::string>{"cl", "-c", "-r", "HELLO.C"}));
}

TEST(DosrunOptions, DoubleDashEndsTheOptions) {
    common::DosrunSettings settings;
    const auto result = ParseOptions({"--", "-v"}, settings);
    EXPECT_EQ(result.error, "");
    EXPECT_FALSE(result.invocation.showVersion);
    EXPECT_EQ(result.invocation.command, std::vector<std::string>{"-v"});
}

TEST(DosrunOptions, BadOnesAreErrors) {
    for (const std::vector<std::string>& words :
         {std::vector<std::string>{"-x", "cl"}, {"--verbose", "cl"}, {"-r"}, {"-d", "D", "cl"}, {"-d", "C=/x", "cl"},
          {"-d", "DD=/x", "cl"}, {"-e", "=x", "cl"}, {"-t", "soon", "cl"}, {"-c", "max\n[dos]", "cl"}, {}}) {
        common::DosrunSettings settings;
        EXPECT_NE(ParseOptions(words, settings).error, "") << (words.empty() ? "" : words[0]);
    }
    common::DosrunSettings settings;
    EXPECT_EQ(ParseOptions({"--show"}, settings).error, "");
    EXPECT_EQ(ParseOptions({"-v"}, settings).error, "");
}

TEST(DosrunOptions, TheSettingsShownReadBackAsTheSame) {
    common::DosrunSettings settings;
    ParseOptions({"-r", "/p", "-d", "E=/e", "-p", "C:\\BIN", "-e", "A=1", "-t", "9", "-c", "fixed 3000", "x"},
                 settings);
    common::DosrunSettings again;
    ASSERT_FALSE(common::ParseDosrunSettings(dosrun::SettingsText(settings), again));
    EXPECT_EQ(dosrun::SettingsText(again), dosrun::SettingsText(settings));
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
    EXPECT_NE(program.find("IF ERRORLEVEL 0 IF NOT ERRORLEVEL 1 ECHO 0 >>Y:\\STATUS.TXT\r\n"), std::string::npos);
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
    for (const char* bad : {"", "X \r\n", "X 1", "Q 1\r\n", "X1\r\n", "E 65536\r\n", "X 1\r\nX 2\r\n"})
        EXPECT_FALSE(dosrun::ParseLaunchRecord(bad)) << bad;
}
