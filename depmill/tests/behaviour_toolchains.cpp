// Whole makefiles for each toolchain, for programs, libraries and database
// applications, written by depmill's run over a project folder in memory.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "goldens.h"
#include "memory_run.h"

namespace depmill_test {
namespace {

// main.c includes defs.h (in ../header) and util.h (in the folder); util.c
// includes nothing; io.asm is an assembler source.
const ProjectFiles kSmallProject{
    {"main.c", "#include \"defs.h\"\n#include \"util.h\"\nint main(void) { return 0; }\n"},
    {"util.c", "int util(void) { return 1; }\n"},
    {"util.h", "int util(void);\n"},
    {"io.asm", "\t.model large\n\tend\n"},
    {"../header/defs.h", "#define DEFS 1\n"},
};

struct WholeMakefileCase {
    const char* what;
    ProjectFiles files;
    std::vector<std::string> args;
    const std::string& makefile;  // after its first line
};

class WholeMakefiles : public testing::TestWithParam<WholeMakefileCase> {};

// A run without a word that writes the whole makefile, and no backup where
// there was no previous makefile.
TEST_P(WholeMakefiles, PerToolchainAndProject) {
    const WholeMakefileCase& c = GetParam();
    MemoryProject sb;
    sb.write(c.files);
    expectMakefile(sb, sb.run(c.args), c.makefile);
    EXPECT_FALSE(sb.exists("makefile.old"));
}

INSTANTIATE_TEST_SUITE_P(
    Toolchains, WholeMakefiles,
    testing::Values(WholeMakefileCase{"cl and link, an object folder",
                                      kSmallProject,
                                      {"-t1", "-o", "prog.exe", "-O", "obj", "-I..\\header"},
                                      kClProgramWithObjectFolder},
                    WholeMakefileCase{"the cc driver's defaults",
                                      {{"main.c", "#include \"util.h\"\n#include <stdio.h>\n"},
                                       {"util.c", "#include \"util.h\"\n"},
                                       {"util.h", ""}},
                                      {},
                                      kCcProgram},
                    WholeMakefileCase{"LSI C, an object folder and extension",
                                      {{"main.c", "#include \"defs.h\"\n#include \"util.h\"\n"},
                                       {"util.c", ""},
                                       {"util.h", ""},
                                       {"../header/defs.h", ""}},
                                      {"-t2", "-O", "obj", "-b", "o", "-I", "..\\header"},
                                      kLsiProgramWithObjectFolder},
                    // An include folder written the DOS way is written with "/" too.
                    WholeMakefileCase{
                        "Open Watcom, an object folder, C++ and assembler",
                        {{"main.c", "#include \"defs.h\"\n#include \"sub\\util.h\"\n"},
                         {"util.c", ""},
                         {"sub/util.h", ""},
                         {"view.cpp", "#include \"defs.h\"\n"},
                         {"io.asm", "\t.model large\n\tend\n"},
                         {"../header/defs.h", ""}},
                        {"-t3", "-o", "prog.exe", "-O", "obj", "-I..\\header"},
                        kWatcomProgramWithObjectFolder}));

TEST(Toolchains, CcDriverRulesWithObjectFolderAndAssembler) {
    MemoryProject sb;
    sb.write(kSmallProject);
    RunResult run = sb.run({"-O", "obj", "-I..\\header", "-ms"});
    ASSERT_EQ(run.status, 0) << run.err;
    std::string makefile = sb.makefile();
    EXPECT_EQ(blockFrom(makefile, "MODEL\t= s"),
              lines({"MODEL\t= s", "CC\t= cc", "LINKER\t= cc",
                     "CFLAGS\t= -m$(MODEL) -W0,/W4,/G1,/Otgel,/Gt,/nologo",
                     "LDFLAGS\t= -m$(MODEL) -s4096", ""}));
    EXPECT_EQ(blockFrom(makefile, "$(OUTDIR)\\main.obj: main.c ..\\header\\defs.h util.h"),
              lines({"$(OUTDIR)\\main.obj: main.c ..\\header\\defs.h util.h",
                     "\t$(CC) -c $(CFLAGS) -I..\\header -W2,/Fo$(OUTDIR)\\ main.c", ""}));
    // An assembler source goes through the driver like a C source.
    EXPECT_EQ(
        blockFrom(makefile, "$(OUTDIR)\\io.obj: io.asm"),
        lines({"$(OUTDIR)\\io.obj: io.asm", "\t$(CC) -c $(CFLAGS) -W2,/Fo$(OUTDIR)\\ io.asm", ""}));
    // The far-call line depends on the previous makefile's MODEL, not on -m.
    EXPECT_NE(makefile.find("\t@echo -Wl,/FARCALLTRANSLATION,/PACKCODE>>link.cc\n"),
              std::string::npos);
}

struct LibraryCase {
    const char* toolchain;
    const char* model;
    const char* cc;
    const char* cflags;
};

class LibraryPerToolchain : public testing::TestWithParam<LibraryCase> {};

TEST_P(LibraryPerToolchain, WritesOnlyCompilerMacrosAndTheMakelibRules) {
    const LibraryCase& c = GetParam();
    MemoryProject sb;
    sb.write("alpha.c", "#include \"alpha.h\"\n");
    sb.write("beta.cpp", "");
    sb.write("alpha.h", "");
    RunResult run = sb.run({"-l", c.toolchain});
    expectMakefile(sb, run,
                   lines({"",
                          c.model,
                          c.cc,
                          c.cflags,
                          "",
                          "HDRPATH\t=",
                          "OUTDIR\t= .",
                          "",
                          "OF1\t= beta.obj alpha.obj",
                          "OFILES\t= $(OF1)",
                          "",
                          "LIBRARY\t= $(OUTDIR)\\a.lib",
                          "",
                          "all: $(LIBRARY)",
                          "",
                          "$(LIBRARY): $(OFILES) makelib",
                          "\t-rm $(LIBRARY)",
                          "\tlib @makelib",
                          "",
                          "makelib: makefile",
                          "\t@echo Creating makelib...",
                          "\t@echo $(LIBRARY)>makelib",
                          "\t@echo y>>makelib",
                          "\t@echo $(OF1: =+);>>makelib",
                          "",
                          "beta.obj: beta.cpp",
                          "\t$(CC) -c $(CFLAGS) beta.cpp",
                          "",
                          "alpha.obj: alpha.c alpha.h",
                          "\t$(CC) -c $(CFLAGS) alpha.c",
                          "",
                          "clean:",
                          "\t-rm makelib",
                          "\t-rm $(OF1)"}));
}

INSTANTIATE_TEST_SUITE_P(
    Toolchains, LibraryPerToolchain,
    testing::Values(LibraryCase{"-t0", "MODEL\t= l", "CC\t= cc",
                                "CFLAGS\t= -m$(MODEL) -W0,/W4,/G1,/Otgel,/Gt,/nologo"},
                    LibraryCase{"-t1", "MODEL\t= L", "CC\t= cl",
                                "CFLAGS\t= /A$(MODEL) /FPa /W4 /G1 /Otgel /Gt /nologo"},
                    LibraryCase{"-t2", "MODEL\t= l", "CC\t= lcc", "CFLAGS\t= "}));

struct DatabaseCase {
    const char* toolchain;
    std::string macros;      // the first macro block
    const char* includeOpt;  // include option for ../header
    const char* linkLine;    // the line of the link rules that differs
};

class DatabasePerToolchain : public testing::TestWithParam<DatabaseCase> {};

// -d turns on the database defaults, the large model, ..\header as include
// folder and the tools library; an embedded-SQL source adds its preprocessor.
TEST_P(DatabasePerToolchain, ProgramGetsDatabaseDefaults) {
    const DatabaseCase& c = GetParam();
    MemoryProject sb;
    sb.write("query.ec", "#include \"defs.h\"\nEXEC SQL BEGIN DECLARE SECTION;\n");
    sb.write("main.c", "#include \"defs.h\"\n");
    sb.write("../header/defs.h", "");
    RunResult run = sb.run({"-d", c.toolchain});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "");
    std::string makefile = sb.makefile();
    EXPECT_EQ(blockFrom(makefile, c.macros.substr(0, c.macros.find('\n'))), c.macros);
    EXPECT_EQ(blockFrom(makefile, "HDRPATH\t= ..\\header"),
              lines({"HDRPATH\t= ..\\header", "OUTDIR\t= .", ""}));
    EXPECT_EQ(blockFrom(makefile, "OF1\t= query.obj main.obj"),
              lines({"OF1\t= query.obj main.obj", "OFILES\t= $(OF1)", ""}));
    EXPECT_EQ(blockFrom(makefile, "LIBS\t= ..\\tools\\tools.lib"),
              lines({"LIBS\t= ..\\tools\\tools.lib", ""}));
    EXPECT_NE(makefile.find(std::string("\n") + c.linkLine + "\n"), std::string::npos) << makefile;
    EXPECT_EQ(blockFrom(makefile, "query.obj: query.ec ..\\header\\defs.h"),
              "query.obj: query.ec ..\\header\\defs.h\n\t$(EC) -c $(ECFLAGS)" +
                  std::string(c.includeOpt) + " query.ec\n\trm query.c\n\n");
}

INSTANTIATE_TEST_SUITE_P(
    Toolchains, DatabasePerToolchain,
    testing::Values(
        DatabaseCase{"-t0",
                     lines({"MODEL\t= l", "CC\t= cc", "LINKER\t= cc", "DBLIB\t= -llibdb",
                            "CFLAGS\t= -m$(MODEL) -W0,/W4,/G1,/Otgel,/Gt1024,/Gs,/nologo",
                            "LDFLAGS\t= -m$(MODEL) -s20480 $(DBLIB) -TCPC98", "ECFLAGS\t= -L",
                            "EC\t= esql", ""}),
                     " -I..\\header", "\t$(LINKER) $(LDFLAGS) -o$(PROGRAM) link.cc $(LIBS)"},
        DatabaseCase{"-t1",
                     lines({"MODEL\t= L", "CC\t= cl", "LINKER\t= link",
                            "DBLIB\t= $(MODEL)libdb.lib $(MODEL)$(TARGET).lib",
                            "CFLAGS\t= /A$(MODEL) /FPa /W4 /G1 /Otgel /Gt1024 /Gs /nologo",
                            "LDFLAGS\t= /stack:20480", "ECFLAGS\t= -L", "EC\t= esql", ""}),
                     " /I..\\header",
                     "\t@echo $(LIBS) $(DBLIB) /FARCALLTRANSLATION /PACKCODE ;>>link.cc"},
        DatabaseCase{
            "-t2",
            lines({"MODEL\t= l", "CC\t= lcc", "LINKER\t= lcc", "ECFLAGS\t= -L", "EC\t= esql", ""}),
            " -I..\\header", "\t$(LINKER) $(LDFLAGS) -o$(PROGRAM) @link.cc $(LIBS)"}));

TEST(Toolchains, DatabaseLibraryKeepsTheOrdinaryCompilerFlags) {
    MemoryProject sb;
    sb.write("main.c", "");
    RunResult run = sb.run({"-l", "-d", "-t1"});
    ASSERT_EQ(run.status, 0) << run.err;
    std::string makefile = sb.makefile();
    EXPECT_EQ(blockFrom(makefile, "MODEL\t= L"),
              lines({"MODEL\t= L", "CC\t= cl",
                     "CFLAGS\t= /A$(MODEL) /FPa /W4 /G1 /Otgel /Gt /nologo", ""}));
    EXPECT_EQ(makefile.find("LIBS"), std::string::npos);
    EXPECT_EQ(makefile.find("DBLIB"), std::string::npos);
}

}  // namespace
}  // namespace depmill_test
