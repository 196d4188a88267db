// Object groups and response files in the makefiles depmill writes (runs
// over a folder in memory): how object names are spread over OF1, OF2, ..., and when the link and
// library rules go through "link.cc" and "makelib" or name the objects.
#include <gtest/gtest.h>

#include <string>

#include "memory_run.h"

namespace depmill_test {
namespace {

// mod01.c to mod07.c: seven objects of nine characters.
void writeSevenModules(MemoryProject& sb) {
    for (int i = 1; i <= 7; ++i) sb.write("mod0" + std::to_string(i) + ".c", "");
}

// Six nine-character names and their separators fill 60 columns; a seventh
// reaches 70 and opens a second group. Two groups need "link.cc" even when
// DEPMILLOPT asks for direct rules.
TEST(Groups, SevenShortNamesMakeTwoGroupsAndForceTheResponseFile) {
    MemoryProject sb;
    writeSevenModules(sb);
    RunResult run = sb.run({"-t1", "-oprog.exe"}, "L0");
    std::string body = lines({"",
                              "MODEL\t= L",
                              "CC\t= cl",
                              "LINKER\t= link",
                              "CFLAGS\t= /A$(MODEL) /FPa /W4 /G1 /Otgel /Gt /nologo",
                              "LDFLAGS\t= /stack:4096",
                              "",
                              "HDRPATH\t=",
                              "OUTDIR\t= .",
                              "",
                              "OF1\t= mod01.obj mod02.obj mod03.obj mod04.obj mod05.obj mod06.obj",
                              "OF2\t= mod07.obj",
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
                              "\t$(LINKER) $(LDFLAGS) @link.cc;",
                              "",
                              "link.cc: makefile",
                              "\t@echo Creating link.cc...",
                              "\t@echo /SE:512 /EXEPACK /nologo+>link.cc",
                              "\t@echo $(OF1)+>>link.cc",
                              "\t@echo $(OF2)>>link.cc",
                              "\t@echo $(PROGRAM)>>link.cc",
                              "\t@echo nul>>link.cc",
                              "\t@echo $(LIBS) /FARCALLTRANSLATION /PACKCODE ;>>link.cc",
                              ""});
    for (int i = 1; i <= 7; ++i) {
        std::string n = "mod0" + std::to_string(i);
        body += lines({n + ".obj: " + n + ".c", "\t$(CC) -c $(CFLAGS) " + n + ".c", ""});
    }
    body += lines({"clean:", "\t-rm link.cc", "\t-rm $(OF1)", "\t-rm $(OF2)"});
    expectMakefile(sb, run, body);
}

struct GroupedLinkCase {
    const char* toolchain;
    std::string linkRules;
    std::string clean;
};

class GroupedLinkPerToolchain : public testing::TestWithParam<GroupedLinkCase> {};

TEST_P(GroupedLinkPerToolchain, EchoesEachGroupIntoLinkCc) {
    const GroupedLinkCase& c = GetParam();
    MemoryProject sb;
    writeSevenModules(sb);
    RunResult run = sb.run({c.toolchain}, "L0");
    ASSERT_EQ(run.status, 0) << run.err;
    std::string makefile = sb.makefile();
    EXPECT_NE(makefile.find("\nall: $(PROGRAM)\n\n" + c.linkRules + "mod01.obj: mod01.c\n"),
              std::string::npos)
        << makefile;
    EXPECT_EQ(makefile.substr(makefile.find("\nclean:\n") + 1), c.clean);
}

INSTANTIATE_TEST_SUITE_P(
    Groups, GroupedLinkPerToolchain,
    testing::Values(
        GroupedLinkCase{"-t0",
                        lines({"$(PROGRAM): $(OFILES) $(LIBS) link.cc", "\t@echo Linking...",
                               "\t$(LINKER) $(LDFLAGS) -o$(PROGRAM) link.cc $(LIBS)", "",
                               "link.cc: makefile", "\t@echo Creating link.cc...",
                               "\t@echo -Wl,/SE:512,/NOE,/EXEPACK,/nologo>link.cc",
                               "\t@echo -Wl,/FARCALLTRANSLATION,/PACKCODE>>link.cc",
                               "\t@echo $(OF1)>>link.cc", "\t@echo $(OF2)>>link.cc", ""}),
                        lines({"clean:", "\t-rm link.cc", "\t-rm $(OF1)", "\t-rm $(OF2)"})},
        GroupedLinkCase{
            "-t2",
            lines({"$(PROGRAM): $(OFILES) $(LIBS) makefile", "\t@echo Linking...",
                   "\t@echo # link.cc for lcc.exe>link.cc", "\t@echo $(OF1)>>link.cc",
                   "\t@echo $(OF2)>>link.cc",
                   "\t$(LINKER) $(LDFLAGS) -o$(PROGRAM) @link.cc $(LIBS)", "\t@-rm link.cc", ""}),
            lines({"clean:", "\t-rm $(OF1)", "\t-rm $(OF2)"})}));

// Names of 19 characters go three to a group; 60 + 9 columns still fit one.
TEST(Groups, GroupWidthBoundaries) {
    MemoryProject sb;
    writeSevenModules(sb);
    ASSERT_EQ(sb.run({"-O", "obj"}).status, 0);
    EXPECT_NE(sb.makefile().find(
                  "\nOF1\t= $(OUTDIR)\\mod01.obj $(OUTDIR)\\mod02.obj $(OUTDIR)\\mod03.obj\n"
                  "OF2\t= $(OUTDIR)\\mod04.obj $(OUTDIR)\\mod05.obj $(OUTDIR)\\mod06.obj\n"
                  "OF3\t= $(OUTDIR)\\mod07.obj\n\nOFILES\t= $(OF1) $(OF2) $(OF3)\n\n"),
              std::string::npos);

    Sandbox fits;
    for (const char* name :
         {"mod01.c", "mod02.c", "mod03.c", "mod04.c", "mod05.c", "mod06.c", "zzzz.c"})
        fits.write(name, "");
    ASSERT_EQ(fits.run({}, "L0").status, 0);
    std::string makefile = fits.makefile();
    EXPECT_NE(makefile.find("\nOF1\t= mod01.obj mod02.obj mod03.obj mod04.obj mod05.obj mod06.obj "
                            "zzzz.obj\nOFILES\t= $(OF1)\n\n"),
              std::string::npos);
    EXPECT_EQ(makefile.find("link.cc"), std::string::npos);

    // A name of 69 characters stands alone, even when it is the first.
    Sandbox wide;
    const std::string longName(65, 'w');
    wide.write(longName + ".c", "");
    wide.write("x.c", "");
    ASSERT_EQ(wide.run().status, 0);
    EXPECT_NE(wide.makefile().find("\nOF1\t=\nOF2\t= " + longName + ".obj\nOF3\t= x.obj\n\n" +
                                   "OFILES\t= $(OF1) $(OF2) $(OF3)\n\n"),
              std::string::npos);
}

TEST(Groups, LibraryGroupsGoThroughMakelib) {
    MemoryProject sb;
    writeSevenModules(sb);
    RunResult run = sb.run({"-l", "-O", "obj", "-o", "app.lib"}, "L0");
    ASSERT_EQ(run.status, 0) << run.err;
    std::string makefile = sb.makefile();
    EXPECT_EQ(blockFrom(makefile, "$(LIBRARY): $(OFILES) makelib"),
              lines({"$(LIBRARY): $(OFILES) makelib", "\t-rm $(LIBRARY)", "\tlib @makelib", ""}));
    EXPECT_EQ(
        blockFrom(makefile, "makelib: makefile"),
        lines({"makelib: makefile", "\t@echo Creating makelib...", "\t@echo $(LIBRARY)>makelib",
               "\t@echo y>>makelib", "\t@echo $(OF1: =+)&>>makelib", "\t@echo $(OF2: =+)&>>makelib",
               "\t@echo $(OF3: =+);>>makelib", ""}));
    EXPECT_EQ(makefile.substr(makefile.find("\nclean:\n") + 1),
              lines({"clean:", "\t-rm makelib", "\t-rm $(OF1)", "\t-rm $(OF2)", "\t-rm $(OF3)"}));
}

struct DirectCase {
    std::vector<std::string> args;
    std::string rule;
};

class DirectRules : public testing::TestWithParam<DirectCase> {};

// With L0, one object group and at most one library group the rule names
// the objects itself, and clean removes only the objects.
TEST_P(DirectRules, NameTheObjectsWithoutResponseFile) {
    const DirectCase& c = GetParam();
    MemoryProject sb;
    sb.write("main.c", "");
    sb.write("util.c", "");
    RunResult run = sb.run(c.args, "L0");
    ASSERT_EQ(run.status, 0) << run.err;
    std::string makefile = sb.makefile();
    EXPECT_EQ(blockFrom(makefile, c.rule.substr(0, c.rule.find('\n'))), c.rule);
    EXPECT_EQ(makefile.find("link.cc"), std::string::npos);
    EXPECT_EQ(makefile.find("makelib"), std::string::npos);
    EXPECT_EQ(makefile.substr(makefile.find("\nclean:\n") + 1), lines({"clean:", "\t-rm $(OF1)"}));
}

const std::string kDirectCcLink =
    lines({"$(PROGRAM): $(OFILES) $(LIBS) makefile",
           "\t$(LINKER) $(LDFLAGS) -o$(PROGRAM) $(OFILES) $(LIBS)", ""});

const std::string kDirectLibrary = lines(
    {"$(LIBRARY): $(OFILES) makefile", "\t-rm $(LIBRARY)", "\tlib $(LIBRARY)+$(OF1: =+);", ""});

INSTANTIATE_TEST_SUITE_P(
    Groups, DirectRules,
    testing::Values(DirectCase{{"-t0"}, kDirectCcLink}, DirectCase{{"-t2"}, kDirectCcLink},
                    DirectCase{{"-t0", "-d"}, kDirectCcLink},
                    DirectCase{
                        {"-t1"},
                        lines({"$(PROGRAM): $(OFILES) $(LIBS) makefile",
                               "\t$(LINKER) $(LDFLAGS) $(OFILES),$(PROGRAM),nul,$(LIBS);", ""})},
                    DirectCase{{"-l"}, kDirectLibrary}, DirectCase{{"-l", "-t1"}, kDirectLibrary},
                    DirectCase{{"-l", "-t2"}, kDirectLibrary}));

struct LibraryGroupCase {
    const char* toolchain;
    std::string linkRules;
};

class LibraryGroupsPerToolchain : public testing::TestWithParam<LibraryGroupCase> {};

// LIBS1, LIBS2 of the previous makefile are written back as they run without
// a gap, and each is echoed into the response file; LIBS joins them.
TEST_P(LibraryGroupsPerToolchain, OldLibraryGroupsAreEchoedIntoLinkCc) {
    const LibraryGroupCase& c = GetParam();
    MemoryProject sb;
    sb.write("main.c", "");
    sb.write("makefile", lines({"MODEL\t= s", "LIBS\t= plain.lib", "LIBS1\t= a.lib b.lib",
                                "LIBS2\t= c.lib", "LIBS4\t= gap.lib"}));
    RunResult run = sb.run({c.toolchain}, "L0");
    ASSERT_EQ(run.status, 0) << run.err;
    std::string makefile = sb.makefile();
    EXPECT_NE(makefile.find("\nOFILES\t= $(OF1)\n\nLIBS1\t= a.lib b.lib\nLIBS2\t= c.lib\n"
                            "LIBS\t= $(LIBS1) $(LIBS2)\n\nPROGRAM\t= $(OUTDIR)\\a.exe\n\n"),
              std::string::npos)
        << makefile;
    EXPECT_NE(makefile.find("\nall: $(PROGRAM)\n\n" + c.linkRules + "main.obj: main.c\n"),
              std::string::npos)
        << makefile;
    // Clean follows the object groups and L only, so this link.cc stays.
    EXPECT_EQ(makefile.substr(makefile.find("\nclean:\n") + 1), lines({"clean:", "\t-rm $(OF1)"}));
}

INSTANTIATE_TEST_SUITE_P(
    Groups, LibraryGroupsPerToolchain,
    testing::Values(
        // An old MODEL other than l leaves out the far-call line.
        LibraryGroupCase{
            "-t0",
            lines({"$(PROGRAM): $(OFILES) $(LIBS) link.cc", "\t@echo Linking...",
                   "\t$(LINKER) $(LDFLAGS) -o$(PROGRAM) link.cc", "", "link.cc: makefile",
                   "\t@echo Creating link.cc...",
                   "\t@echo -Wl,/SE:512,/NOE,/EXEPACK,/nologo>link.cc", "\t@echo $(OF1)>>link.cc",
                   "\t@echo $(LIBS1)>>link.cc", "\t@echo $(LIBS2)>>link.cc", ""})},
        LibraryGroupCase{
            "-t1",
            lines({"$(PROGRAM): $(OFILES) $(LIBS) link.cc", "\t@echo Linking...",
                   "\t$(LINKER) $(LDFLAGS) @link.cc;", "", "link.cc: makefile",
                   "\t@echo Creating link.cc...", "\t@echo /SE:512 /EXEPACK /nologo+>link.cc",
                   "\t@echo $(OF1)>>link.cc", "\t@echo $(PROGRAM)>>link.cc", "\t@echo nul>>link.cc",
                   "\t@echo $(LIBS1)+>>link.cc", "\t@echo $(LIBS2)>>link.cc",
                   "\t@echo /FARCALLTRANSLATION /PACKCODE ;>>link.cc", ""})},
        LibraryGroupCase{
            "-t2", lines({"$(PROGRAM): $(OFILES) $(LIBS) makefile", "\t@echo Linking...",
                          "\t@echo # link.cc for lcc.exe>link.cc", "\t@echo $(OF1)>>link.cc",
                          "\t@echo $(LIBS1)>>link.cc", "\t@echo $(LIBS2)>>link.cc",
                          "\t$(LINKER) $(LDFLAGS) -o$(PROGRAM) @link.cc", "\t@-rm link.cc", ""})}));

// The far-call line of the cc response file follows the previous makefile's
// MODEL only: present without one or with exactly l.
TEST(Groups, FarCallLineFollowsTheOldModel) {
    const std::string farCall = "\t@echo -Wl,/FARCALLTRANSLATION,/PACKCODE>>link.cc\n";
    struct Case {
        const char* old;
        const char* option;
        bool present;
    };
    for (const Case& c : {Case{"MODEL\t= l\n", "-ms", true}, Case{"MODEL\t= s\n", "-ml", false},
                          Case{"MODEL\t= L\n", "-ml", false}, Case{"CC\t= cc\n", "-ms", true}}) {
        SCOPED_TRACE(c.old);
        MemoryProject sb;
        sb.write("main.c", "");
        sb.write("makefile", c.old);
        ASSERT_EQ(sb.run({c.option}).status, 0);
        EXPECT_EQ(sb.makefile().find(farCall) != std::string::npos, c.present);
    }
}

}  // namespace
}  // namespace depmill_test
