// The command line and DEPMILLOPT: option errors with their messages,
// streams and statuses, and help under a UTF-8 locale, from the real
// program; the banner and what the options change in the written makefile
// from runs over a folder in memory.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "depmill_run.h"
#include "memory_run.h"

namespace depmill_test {
namespace {

const std::string kUsage =
    "Usage: Depmill [-oTarget] [-Iinclude] [-Ooutdir] [-l -s -d -m] [-b ext] [-t{0|1|2|3}]\n";
const std::string kBanner = "Depmill Ver.2.00 by Halden\n";
const std::string kOldMakefile = "# the user's own makefile\nCC\t= cl\n\nall: prog.exe\n";

std::vector<std::string> includeOptions(int count) {
    std::vector<std::string> args;
    for (int i = 1; i <= count; ++i) args.push_back("-I..\\inc" + std::to_string(i));
    return args;
}

struct RejectedCase {
    std::vector<std::string> args;
    std::string err;
    int status;
};

class RejectedOptions : public testing::TestWithParam<RejectedCase> {};

// A rejected command line writes its message, leaves the makefile alone and
// makes no backup.
TEST_P(RejectedOptions, ReportOnStandardErrorAndLeaveTheMakefile) {
    const RejectedCase& c = GetParam();
    Sandbox sb;
    sb.write("main.c", "");
    sb.write("makefile", kOldMakefile);
    RunResult run = sb.run(c.args);
    EXPECT_EQ(run.status, c.status);
    EXPECT_EQ(run.err, c.err);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(sb.makefile(), kOldMakefile);
    EXPECT_FALSE(sb.exists("makefile.old"));
}

std::vector<std::string> withDatabaseAfterTenFolders() {
    std::vector<std::string> args = includeOptions(10);
    args.push_back("-d");
    return args;
}

INSTANTIATE_TEST_SUITE_P(
    Options, RejectedOptions,
    testing::Values(
        RejectedCase{{"-m"}, "Depmill: illegal -m option\n", 1},
        RejectedCase{{"-mL"}, "Depmill: illegal -m option\n", 1},
        RejectedCase{{"-l", "-m", "s"}, "Depmill: illegal -m option\n", 1},
        RejectedCase{{"-t4"}, "Depmill: illegal -t option\n", 1},
        RejectedCase{{"-t"}, "Depmill: illegal -t option\n", 1},
        RejectedCase{{"-l", "-o"}, "Depmill: illegal -o option\n", 1},
        RejectedCase{{"-O"}, "Depmill: illegal -O option\n", 1},
        RejectedCase{{"-I"}, "Depmill: illegal -I option\n", 1},
        RejectedCase{{"-b"}, "Depmill: illegal -b option\n", 1},
        RejectedCase{{"-b", "abcd"}, "Depmill: illegal -b extention\n", 1},
        RejectedCase{{"-bexe1"}, "Depmill: illegal -b extention\n", 1},
        RejectedCase{includeOptions(11), "Depmill: too many include path\n", 1},
        RejectedCase{withDatabaseAfterTenFolders(), "Depmill: too many include path\n", 1},
        RejectedCase{{"-x"}, "Depmill: illegal option x\n" + kUsage, 2},
        // The letters after an illegal one are still read; later arguments are not.
        RejectedCase{
            {"-xly", "-m"}, "Depmill: illegal option x\nDepmill: illegal option y\n" + kUsage, 2},
        RejectedCase{{"/x"}, kUsage, 2}, RejectedCase{{"main.c"}, kUsage, 2},
        RejectedCase{{"-l", "prog"}, kUsage, 2}));

const std::string kHelpUtf8 = lines({
    "    -l           EXEではなく、ライブラリファイルを作る",
    "    -o filename  最終的に出来るファイルの名前(a.exe)",
    "    -O dirname   make結果の出力ディレクトリ",
    "    -I pathname  インクルードファイルを捜すディレクトリ",
    "    -s           #include <file.h> の依存関係も記述する",
    "    -d           データベースアプリケーション用Makefile",
    "    -m[smclh]    メモリーモデルの指定",
    "    -b ext       オブジェクトファイルの拡張子(obj)",
    "    -t{0|1|2|3}  Makefileのタイプ(0=cc, 1=cl+link, 2=LSI C-86, 3=Open Watcom)",
    "    -U           元のMakefileのマクロを無視する",
});

// Under a UTF-8 locale the help text is written in UTF-8.
TEST(Options, HelpRequestsWriteBannerUsageAndHelpText) {
    for (std::vector<std::string> args : std::vector<std::vector<std::string>>{
             {"-?"}, {"/?"}, {"-l?x"}, {"-s-", "-m"}, {"-?", "word"}}) {
        SCOPED_TRACE(args.front());
        Sandbox sb;
        sb.write("main.c", "");
        RunResult run = sb.run(RunSettings{.args = args, .env = {"LC_ALL=C.UTF-8"}});
        EXPECT_EQ(run.status, 2);
        EXPECT_EQ(run.err, kBanner + kUsage);
        EXPECT_EQ(run.out, kHelpUtf8);
        EXPECT_FALSE(sb.exists("makefile"));
    }
}

TEST(Options, BannerThenTheUsualRun) {
    for (const char* arg : {"-v", "-V", "-lv"}) {
        SCOPED_TRACE(arg);
        MemoryProject sb;
        sb.write("main.c", "");
        RunResult run = sb.run({arg});
        EXPECT_EQ(run.status, 0);
        EXPECT_EQ(run.err, kBanner);
        EXPECT_EQ(run.out, "");
        std::string makefile = sb.makefile();
        EXPECT_TRUE(headerFitsRun(makefile, run));
        bool library = std::string(arg) == "-lv";
        EXPECT_EQ(makefile.find("all: $(LIBRARY)\n") != std::string::npos, library);
        EXPECT_EQ(makefile.find("all: $(PROGRAM)\n") != std::string::npos, !library);
    }
}

TEST(Options, NoSourcesIsReportedOnStandardOutput) {
    MemoryProject sb;
    RunResult empty = sb.run();
    EXPECT_EQ(empty.status, 2);
    EXPECT_EQ(empty.out, "Depmill: no files presents\n");
    EXPECT_EQ(empty.err, "");
    EXPECT_FALSE(sb.exists("makefile"));

    // Headers and other files are no sources; an old makefile stays as it is.
    sb.write("defs.h", "");
    sb.write("notes.txt", "");
    sb.write("main.cc", "");
    sb.write("makefile", kOldMakefile);
    RunResult others = sb.run({"-l"});
    EXPECT_EQ(others.status, 2);
    EXPECT_EQ(others.out, "Depmill: no files presents\n");
    EXPECT_EQ(sb.makefile(), kOldMakefile);
    EXPECT_FALSE(sb.exists("makefile.old"));
}

// What the accepted options do, seen in the makefile; -U keeps each run
// from taking the macros of the one before.
TEST(Options, ValuesAndCombinedLetters) {
    MemoryProject sb;
    sb.write("main.c", "#include \"defs.h\"\n");
    sb.write("defs.h", "");

    // A lone "-" is ignored; "-o" takes the next argument whatever it is.
    ASSERT_EQ(sb.run({"-", "-o", "-l"}).status, 0);
    std::string makefile = sb.makefile();
    EXPECT_NE(makefile.find("\nPROGRAM\t= -l\n"), std::string::npos);
    EXPECT_EQ(makefile.find("LIBRARY"), std::string::npos);

    // The model letter may be followed by more letters; -t2 is accepted.
    ASSERT_EQ(sb.run({"-U", "-mct2", "-oprog.exe"}).status, 0);
    makefile = sb.makefile();
    EXPECT_NE(makefile.find("\nMODEL\t= c\nCC\t= lcc\nLINKER\t= lcc\n"), std::string::npos);
    EXPECT_NE(makefile.find("\nPROGRAM\t= prog.exe\n"), std::string::npos);

    // The toolchain 1 model is written in upper case; the later -t wins.
    ASSERT_EQ(sb.run({"-U", "-t2", "-mmt1"}).status, 0);
    EXPECT_NE(sb.makefile().find("\nMODEL\t= M\nCC\t= cl\n"), std::string::npos);

    // -b with a separate value, and the last -b wins.
    ASSERT_EQ(sb.run({"-U", "-bexe", "-b", "o"}).status, 0);
    EXPECT_NE(sb.makefile().find("\nOF1\t= main.o\n"), std::string::npos);

    // Ten include folders are accepted, in their order.
    std::vector<std::string> ten = includeOptions(10);
    ten.push_back("-U");
    ASSERT_EQ(sb.run(ten).status, 0);
    EXPECT_NE(sb.makefile().find(
                  "\nHDRPATH\t= ..\\inc1 ..\\inc2 ..\\inc3 ..\\inc4 ..\\inc5 ..\\inc6 ..\\inc7 "
                  "..\\inc8 ..\\inc9 ..\\inc10\n"),
              std::string::npos);
}

// -d sets the model only while none is given, and ends its argument.
TEST(Options, DatabaseOptionAndModel) {
    MemoryProject sb;
    sb.write("main.c", "#include <stdio.h>\n");
    for (std::vector<std::string> args :
         std::vector<std::vector<std::string>>{{"-U", "-ms", "-d"}, {"-U", "-d", "-ms"}}) {
        ASSERT_EQ(sb.run(args).status, 0);
        EXPECT_NE(sb.makefile().find("\nMODEL\t= s\n"), std::string::npos);
    }
    // -ds: the s after d is not read, so <stdio.h> is not looked for.
    RunResult ds = sb.run({"-U", "-ds"});
    EXPECT_EQ(ds.status, 0);
    EXPECT_EQ(ds.out, "");
    std::string makefile = sb.makefile();
    EXPECT_NE(makefile.find("\nMODEL\t= l\n"), std::string::npos);
    EXPECT_NE(makefile.find("\nDBLIB\t= -llibdb\n"), std::string::npos);
    EXPECT_NE(makefile.find("\nmain.obj: main.c\n"), std::string::npos);
    // -sd: both.
    RunResult sd = sb.run({"-U", "-sd"});
    EXPECT_EQ(sd.status, 0);
    EXPECT_EQ(sd.out, "Depmill: can't find stdio.h (in main.c)\n");
    makefile = sb.makefile();
    EXPECT_NE(makefile.find("\nDBLIB\t= -llibdb\n"), std::string::npos);
    EXPECT_NE(makefile.find("\nmain.obj: main.c stdio.h\n"), std::string::npos);
}

TEST(Options, OptionVariable) {
    MemoryProject sb;
    sb.write("main.c", "#include <stdio.h>\n#include \"defs.h\"\n");
    sb.write("../inc/defs.h", "");

    // Letters in either case, unknown letters skipped with their value.
    for (const char* text : {"T2", "t2", "X1 T2", "T1,T2"}) {
        SCOPED_TRACE(text);
        ASSERT_EQ(sb.run({"-U", "-I..\\inc"}, text).status, 0);
        EXPECT_NE(sb.makefile().find("\nCC\t= lcc\n"), std::string::npos);
    }
    // T3 is Open Watcom; a value past the last toolchain changes nothing; the
    // command line comes last.
    ASSERT_EQ(sb.run({"-U", "-I..\\inc"}, "T3").status, 0);
    EXPECT_NE(sb.makefile().find("\nCC\t= wcc\n"), std::string::npos);
    ASSERT_EQ(sb.run({"-U", "-I..\\inc"}, "T4").status, 0);
    EXPECT_NE(sb.makefile().find("\nCC\t= cc\n"), std::string::npos);
    ASSERT_EQ(sb.run({"-U", "-I..\\inc", "-t1"}, "T2").status, 0);
    EXPECT_NE(sb.makefile().find("\nCC\t= cl\n"), std::string::npos);

    // S1 looks for angle-bracket includes too.
    RunResult system = sb.run({"-U", "-I..\\inc"}, "S1");
    EXPECT_EQ(system.out, "Depmill: can't find stdio.h (in main.c)\n");
    EXPECT_NE(sb.makefile().find("\nmain.obj: main.c stdio.h ..\\inc\\defs.h\n"),
              std::string::npos);

    // D1: database on, ..\header ahead of -I folders, the model left unset so
    // that the previous makefile's MODEL stays.
    sb.write("makefile", "MODEL\t= s\n\nall: $(PROGRAM)\n");
    ASSERT_EQ(sb.run({"-I..\\inc"}, "D1").status, 0);
    std::string makefile = sb.makefile();
    EXPECT_NE(makefile.find("\nMODEL\t= s\n"), std::string::npos);
    EXPECT_NE(makefile.find("\nDBLIB\t= -llibdb\n"), std::string::npos);
    EXPECT_NE(makefile.find("\nHDRPATH\t= ..\\header ..\\inc\n"), std::string::npos);

    // D and -d each add ..\header.
    ASSERT_EQ(sb.run({"-U", "-d"}, "D1").status, 0);
    EXPECT_NE(sb.makefile().find("\nHDRPATH\t= ..\\header ..\\header\n"), std::string::npos);

    // "D L0": D takes the 0 of L0 and L is never read.
    ASSERT_EQ(sb.run({"-U"}, "D L0").status, 0);
    makefile = sb.makefile();
    EXPECT_EQ(makefile.find("DBLIB"), std::string::npos);
    EXPECT_NE(makefile.find("\nlink.cc: makefile\n"), std::string::npos);
}

}  // namespace
}  // namespace depmill_test
