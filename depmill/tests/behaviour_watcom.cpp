// Open Watcom makefiles (-t3) as depmill's run writes them: wlib, wlink's
// library directives, and the row picked by a previous CC of wcc (a whole
// program's makefile is a row of behaviour_toolchains.cpp). The real
// toolchain builds them in watcom_posix_test.cpp.
#include <gtest/gtest.h>

#include <string>

#include "memory_run.h"

namespace depmill_test {
namespace {

// wlib makes the library anew from its response file (*.lbc), or from the
// one group directly.
TEST(Watcom, LibraryThroughWlib) {
    MemoryProject sb;
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
    MemoryProject sb;
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
