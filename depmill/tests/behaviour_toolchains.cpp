// Whole makefiles for each toolchain, for programs, libraries and database
// applications, written by the real depmill in a temporary project folder.
#include <gtest/gtest.h>

#include <string>

#include "depmill_run.h"

namespace depmill_test {
namespace {

// main.c includes defs.h (in ../header) and util.h (in the folder); util.c
// includes nothing; io.asm is an assembler source.
void writeSmallProject(const Sandbox& sb) {
    sb.write("main.c", "#include \"defs.h\"\n#include \"util.h\"\nint main(void) { return 0; }\n");
    sb.write("util.c", "int util(void) { return 1; }\n");
    sb.write("util.h", "int util(void);\n");
    sb.write("io.asm", "\t.model large\n\tend\n");
    sb.write("../header/defs.h", "#define DEFS 1\n");
}

TEST(Toolchains, ClAndLinkProgramWithObjectFolder) {
    Sandbox sb;
    writeSmallProject(sb);
    RunResult run = sb.run({"-t1", "-o", "prog.exe", "-O", "obj", "-I..\\header"});
    expectMakefile(sb, run,
                   lines({"",
                          "MODEL\t= L",
                          "CC\t= cl",
                          "LINKER\t= link",
                          "CFLAGS\t= /A$(MODEL) /FPa /W4 /G1 /Otgel /Gt /nologo",
                          "LDFLAGS\t= /stack:4096",
                          "MAFLAGS\t= /Mx /w2",
                          "MASM\t= masm",
                          "",
                          "HDRPATH\t= ..\\header",
                          "OUTDIR\t= obj",
                          "",
                          "OF1\t= $(OUTDIR)\\main.obj $(OUTDIR)\\util.obj $(OUTDIR)\\io.obj",
                          "OFILES\t= $(OF1)",
                          "",
                          "LIBS\t=",
                          "",
                          "PROGRAM\t= prog.exe",
                          "",
                          "all: $(PROGRAM)",
                          "",
                          "$(PROGRAM): $(OFILES) $(LIBS) link.cc",
                          "\t@echo Linking...",
                          "\t$(LINKER) $(LDFLAGS) @link.cc;",
                          "",
                          "link.cc: makefile",
                          "\t@echo Creating link.cc...",
                          "\t@echo /SE:512 /EXEPACK /nologo+>link.cc",
                          "\t@echo $(OF1)>>link.cc",
                          "\t@echo $(PROGRAM)>>link.cc",
                          "\t@echo nul>>link.cc",
                          "\t@echo $(LIBS) /FARCALLTRANSLATION /PACKCODE ;>>link.cc",
                          "",
                          "$(OUTDIR)\\main.obj: main.c ..\\header\\defs.h util.h",
                          "\t$(CC) -c $(CFLAGS) /I..\\header /Fo$(OUTDIR)\\ main.c",
                          "",
                          "$(OUTDIR)\\util.obj: util.c",
                          "\t$(CC) -c $(CFLAGS) /Fo$(OUTDIR)\\ util.c",
                          "",
                          "$(OUTDIR)\\io.obj: io.asm",
                          "\t$(MASM) $(MAFLAGS) io.asm,$(OUTDIR)\\io.obj;",
                          "",
                          "clean:",
                          "\t-rm link.cc",
                          "\t-rm $(OF1)"}));
    EXPECT_FALSE(sb.exists("makefile.old"));
}

TEST(Toolchains, CcDriverProgramWithDefaults) {
    Sandbox sb;
    sb.write("main.c", "#include \"util.h\"\n#include <stdio.h>\n");
    sb.write("util.c", "#include \"util.h\"\n");
    sb.write("util.h", "");
    RunResult run = sb.run();
    expectMakefile(sb, run,
                   lines({"",
                          "MODEL\t= l",
                          "CC\t= cc",
                          "LINKER\t= cc",
                          "CFLAGS\t= -m$(MODEL) -W0,/W4,/G1,/Otgel,/Gt,/nologo",
                          "LDFLAGS\t= -m$(MODEL) -s4096",
                          "",
                          "HDRPATH\t=",
                          "OUTDIR\t= .",
                          "",
                          "OF1\t= main.obj util.obj",
                          "OFILES\t= $(OF1)",
                          "",
                          "LIBS\t=",
                          "",
                          "PROGRAM\t= $(OUTDIR)\\a.exe",
                          "",
                          "all: $(PROGRAM)",
                          "",
                          "$(PROGRAM): $(OFILES) $(LIBS) link.cc",
                          "\t@echo Linking...",
                          "\t$(LINKER) $(LDFLAGS) -o$(PROGRAM) link.cc $(LIBS)",
                          "",
                          "link.cc: makefile",
                          "\t@echo Creating link.cc...",
                          "\t@echo -Wl,/SE:512,/NOE,/EXEPACK,/nologo>link.cc",
                          "\t@echo -Wl,/FARCALLTRANSLATION,/PACKCODE>>link.cc",
                          "\t@echo $(OF1)>>link.cc",
                          "",
                          "main.obj: main.c util.h",
                          "\t$(CC) -c $(CFLAGS) main.c",
                          "",
                          "util.obj: util.c util.h",
                          "\t$(CC) -c $(CFLAGS) util.c",
                          "",
                          "clean:",
                          "\t-rm link.cc",
                          "\t-rm $(OF1)"}));
}

TEST(Toolchains, CcDriverRulesWithObjectFolderAndAssembler) {
    Sandbox sb;
    writeSmallProject(sb);
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

TEST(Toolchains, LsiProgramWithObjectFolderAndExtension) {
    Sandbox sb;
    sb.write("main.c", "#include \"defs.h\"\n#include \"util.h\"\n");
    sb.write("util.c", "");
    sb.write("util.h", "");
    sb.write("../header/defs.h", "");
    RunResult run = sb.run({"-t2", "-O", "obj", "-b", "o", "-I", "..\\header"});
    expectMakefile(sb, run,
                   lines({"",
                          "MODEL\t= l",
                          "CC\t= lcc",
                          "LINKER\t= lcc",
                          "CFLAGS\t= ",
                          "LDFLAGS\t= -k'-s 1000'",
                          "",
                          "HDRPATH\t= ..\\header",
                          "OUTDIR\t= obj",
                          "",
                          "OF1\t= $(OUTDIR)\\main.o $(OUTDIR)\\util.o",
                          "OFILES\t= $(OF1)",
                          "",
                          "LIBS\t=",
                          "",
                          "PROGRAM\t= $(OUTDIR)\\a.exe",
                          "",
                          "all: $(PROGRAM)",
                          "",
                          "$(PROGRAM): $(OFILES) $(LIBS) makefile",
                          "\t@echo Linking...",
                          "\t@echo # link.cc for lcc.exe>link.cc",
                          "\t@echo $(OF1)>>link.cc",
                          "\t$(LINKER) $(LDFLAGS) -o$(PROGRAM) @link.cc $(LIBS)",
                          "\t@-rm link.cc",
                          "",
                          "$(OUTDIR)\\main.o: main.c ..\\header\\defs.h util.h",
                          "\t$(CC) -c $(CFLAGS) -I..\\header -o$(OUTDIR)\\main.o main.c",
                          "",
                          "$(OUTDIR)\\util.o: util.c",
                          "\t$(CC) -c $(CFLAGS) -o$(OUTDIR)\\util.o util.c",
                          "",
                          "clean:",
                          "\t-rm $(OF1)"}));
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
    Sandbox sb;
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
    Sandbox sb;
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
    Sandbox sb;
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
