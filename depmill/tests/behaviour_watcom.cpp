// Open Watcom makefiles (-t3) as the real depmill writes them: paths with
// "/", object files always named, wlink directives, wlib, and the row picked
// by a previous CC of wcc. The real toolchain builds them in
// watcom_posix_test.cpp.
#include <gtest/gtest.h>

#include <string>

#include "depmill_run.h"

namespace depmill_test {
namespace {

TEST(Watcom, ProgramWithObjectFolderIncludeFolderCppAndAssembler) {
    Sandbox sb;
    sb.write("main.c", "#include \"defs.h\"\n#include \"sub\\util.h\"\n");
    sb.write("util.c", "");
    sb.write("sub/util.h", "");
    sb.write("view.cpp", "#include \"defs.h\"\n");
    sb.write("io.asm", "\t.model large\n\tend\n");
    sb.write("../header/defs.h", "");
    // An include folder written the DOS way is written with "/" too.
    RunResult run = sb.run({"-t3", "-o", "prog.exe", "-O", "obj", "-I..\\header"});
    expectMakefile(sb, run,
                   lines({"",
                          "MODEL\t= l",
                          "CC\t= wcc",
                          "LINKER\t= wlink",
                          "CFLAGS\t= -q -bt=dos -m$(MODEL) -w4 -ox",
                          "LDFLAGS\t= system dos op q",
                          "CXX\t= wpp",
                          "ASFLAGS\t= -q -bt=dos -m$(MODEL)",
                          "AS\t= wasm",
                          "",
                          "HDRPATH\t= ..\\header",
                          "OUTDIR\t= obj",
                          "",
                          "OF1\t= $(OUTDIR)/view.obj $(OUTDIR)/main.obj $(OUTDIR)/util.obj",
                          "OF2\t= $(OUTDIR)/io.obj",
                          "",
                          "OFILES\t= $(OF1) $(OF2)",
                          "",
                          "LIBS\t=",
                          "",
                          "PROGRAM\t= prog.exe",
                          "",
                          "all: $(PROGRAM)",
                          "",
                          "$(PROGRAM): $(OFILES) $(LIBS) link.cc",
                          "\t@echo Linking...",
                          "\t$(LINKER) $(LDFLAGS) @link.cc",
                          "",
                          "link.cc: makefile",
                          "\t@echo Creating link.cc...",
                          "\t@echo name $(PROGRAM)>link.cc",
                          "\t@echo file { $(OF1) }>>link.cc",
                          "\t@echo file { $(OF2) }>>link.cc",
                          "",
                          "$(OUTDIR)/view.obj: view.cpp ../header/defs.h",
                          "\t$(CXX) $(CFLAGS) -i=\"../header\" -fo=\"$(OUTDIR)/view.obj\" view.cpp",
                          "",
                          "$(OUTDIR)/main.obj: main.c ../header/defs.h sub/util.h",
                          "\t$(CC) $(CFLAGS) -i=\"../header\" -fo=\"$(OUTDIR)/main.obj\" main.c",
                          "",
                          "$(OUTDIR)/util.obj: util.c",
                          "\t$(CC) $(CFLAGS) -fo=\"$(OUTDIR)/util.obj\" util.c",
                          "",
                          "$(OUTDIR)/io.obj: io.asm",
                          "\t$(AS) $(ASFLAGS) -fo=\"$(OUTDIR)/io.obj\" io.asm",
                          "",
                          "clean:",
                          "\t-rm -f link.cc",
                          "\t-rm -f $(OF1)",
                          "\t-rm -f $(OF2)"}));
}

// wlib makes the library anew from its response file (*.lbc), or from the
// one group directly.
TEST(Watcom, LibraryThroughWlib) {
    Sandbox sb;
    sb.write("alpha.c", "");
    sb.write("beta.c", "");
    RunResult run = sb.run({"-t3", "-l", "-b", "o"});
    ASSERT_EQ(run.status, 0) << run.err;
    std::string makefile = sb.makefile();
    EXPECT_EQ(blockFrom(makefile, "MODEL\t= l"),
              lines({"MODEL\t= l", "CC\t= wcc", "CFLAGS\t= -q -bt=dos -m$(MODEL) -w4 -ox", ""}));
    EXPECT_EQ(makefile.substr(makefile.find("LIBRARY\t=")),
              lines({"LIBRARY\t= $(OUTDIR)/a.lib",
                     "",
                     "all: $(LIBRARY)",
                     "",
                     "$(LIBRARY): $(OFILES) makelib.lbc",
                     "\t-rm -f $(LIBRARY)",
                     "\twlib -q -n $(LIBRARY) @makelib.lbc",
                     "",
                     "makelib.lbc: makefile",
                     "\t@echo Creating makelib.lbc...",
                     "\t@echo $(OF1)>makelib.lbc",
                     "",
                     "alpha.o: alpha.c",
                     "\t$(CC) $(CFLAGS) -fo=\"alpha.o\" alpha.c",
                     "",
                     "beta.o: beta.c",
                     "\t$(CC) $(CFLAGS) -fo=\"beta.o\" beta.c",
                     "",
                     "clean:",
                     "\t-rm -f makelib.lbc",
                     "\t-rm -f $(OF1)"}));

    ASSERT_EQ(sb.run({"-t3", "-l"}, "L0").status, 0);
    EXPECT_EQ(blockFrom(sb.makefile(), "$(LIBRARY): $(OFILES) makefile"),
              lines({"$(LIBRARY): $(OFILES) makefile", "\t-rm -f $(LIBRARY)",
                     "\twlib -q -n $(LIBRARY) $(OF1)", ""}));
}

// wlink refuses an empty library list: a library directive comes only with
// libraries, one per group that names some. A previous CC of wcc picks the
// row.
TEST(Watcom, LibraryDirectivesOnlyForNamedLibraries) {
    Sandbox sb;
    sb.write("main.c", "");
    for (const char* previous : {"", "CC\t= wcc\nLIBS\t= \t\n\nall: $(PROGRAM)\n"}) {
        if (*previous != '\0') sb.write("makefile", previous);
        ASSERT_EQ(sb.run({"-t3"}, "L0").status, 0);
        EXPECT_EQ(blockFrom(sb.makefile(), "$(PROGRAM): $(OFILES) $(LIBS) makefile"),
                  lines({"$(PROGRAM): $(OFILES) $(LIBS) makefile",
                         "\t$(LINKER) $(LDFLAGS) name $(PROGRAM) file { $(OFILES) }", ""}));
    }

    sb.write("makefile", "CC\t= wcc\nLIBS\t= tools.lib\n\nall: $(PROGRAM)\n");
    ASSERT_EQ(sb.run({"-t1"}, "L0").status, 0);
    EXPECT_EQ(
        blockFrom(sb.makefile(), "$(PROGRAM): $(OFILES) $(LIBS) makefile"),
        lines({"$(PROGRAM): $(OFILES) $(LIBS) makefile",
               "\t$(LINKER) $(LDFLAGS) name $(PROGRAM) file { $(OFILES) } library { $(LIBS) }",
               ""}));

    sb.write("makefile",
             "CC\t= wcc\nLIBS1\t= a.lib\nLIBS2\t=\nLIBS3\t= c.lib\n\nall: $(PROGRAM)\n");
    ASSERT_EQ(sb.run().status, 0);
    EXPECT_EQ(blockFrom(sb.makefile(), "link.cc: makefile"),
              lines({"link.cc: makefile", "\t@echo Creating link.cc...",
                     "\t@echo name $(PROGRAM)>link.cc", "\t@echo file { $(OF1) }>>link.cc",
                     "\t@echo library { $(LIBS1) }>>link.cc",
                     "\t@echo library { $(LIBS3) }>>link.cc", ""}));
    EXPECT_EQ(blockFrom(sb.makefile(), "main.obj: main.c"),
              lines({"main.obj: main.c", "\t$(CC) $(CFLAGS) -fo=\"main.obj\" main.c", ""}));
}

}  // namespace
}  // namespace depmill_test
