// How depmill finds sources and reads their include lines: order of the
// sources, the C and assembler include scanners, the include folder search,
// and the warnings written on standard output (in a folder in memory; a
// source that does not open with the real program in a real folder).
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "depmill_run.h"
#include "heldfile.h"
#include "memory_run.h"

namespace depmill_test {
namespace {

TEST(Scan, SourcesComeInKindOrderThenByName) {
    MemoryProject sb;
    for (const char* name : {"b.c", "a.c", "x.cpp", "io.asm", "gram.y", "q.ec", "a.b.c", "m.cc",
                             "defs.h", "notes.txt", "noext"})
        sb.write(name, "");
    RunResult run = sb.run({"-t1"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "");
    std::string makefile = sb.makefile();
    EXPECT_NE(makefile.find("\nOF1\t= q.obj x.obj a.obj b.obj io.obj gram.obj\nOFILES\t= $(OF1)\n"),
              std::string::npos)
        << makefile;
    EXPECT_EQ(makefile.find("a.b."), std::string::npos);
    EXPECT_EQ(makefile.find("m.cc"), std::string::npos);
}

TEST(Scan, CIncludeLinesAndTheirReports) {
    MemoryProject sb;
    sb.write("main.c",
             lines({"#include \"a.h\"", "  \t#include\t\"b.h\"", "# include \"c.h\"",
                    "#include x.h", "#include \"missing.h\"", "#include \"a.h\"", "#if 0",
                    "#include \"e.h\" /* disabled, still counted */", "#endif", "#INCLUDE \"c.h\"",
                    "#include \"g.h>", "#include <h.h\"", "#include \"noclose",
                    "#include <stdio.h>", "int main(void) { return 0; }"}) +
                 "#include bad");
    for (const char* name : {"a.h", "b.h", "c.h", "e.h", "g.h", "h.h"}) sb.write(name, "");
    RunResult run = sb.run();
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(run.out,
              "Depmill: illegal character\nmain.c 4: #include x.h\n\n"
              "Depmill: can't find missing.h (in main.c)\n"
              "Depmill: illegal character\nmain.c 11: #include \"g.h>\n\n"
              "Depmill: illegal character\nmain.c 12: #include <h.h\"\n\n"
              "Depmill: illegal character\nmain.c 13: #include \"noclose\n\n"
              "Depmill: illegal character\nmain.c 16: #include bad\n");
    EXPECT_EQ(
        blockFrom(sb.makefile(), "main.obj: main.c a.h b.h missing.h a.h e.h"),
        lines({"main.obj: main.c a.h b.h missing.h a.h e.h", "\t$(CC) -c $(CFLAGS) main.c", ""}));
}

// The folder of the source first, then the include folders in their order;
// each folder gives one include option, in the order of first use.
TEST(Scan, IncludeFolderSearchAndOptions) {
    MemoryProject sb;
    sb.write("main.c", lines({"#include \"x.h\"", "#include \"y.h\"", "#include \"z.h\"",
                              "#include \"w.h\"", "#include \"both.h\"", "#include <sys.h>",
                              "#include <local.h>", "#include <stdio.h>"}));
    sb.write("util.c", "#include \"local.h\"\n");
    sb.write("local.h", "");
    sb.write("both.h", "");
    sb.write("../i1/y.h", "");
    sb.write("../i1/both.h", "");
    sb.write("../i1/x.h", "");
    sb.write("../i2/x.h", "");
    sb.write("../i2/z.h", "");
    sb.write("../i2/sys.h", "");
    sb.write("../i3/w.h", "");
    RunResult run = sb.run({"-s", "-t1", "-I..\\i2", "-I..\\i1", "-I../i3/"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "Depmill: can't find stdio.h (in main.c)\n");
    std::string makefile = sb.makefile();
    EXPECT_EQ(blockFrom(makefile,
                        "main.obj: main.c ..\\i2\\x.h ..\\i1\\y.h ..\\i2\\z.h ../i3/w.h both.h "
                        "..\\i2\\sys.h local.h stdio.h"),
              lines({"main.obj: main.c ..\\i2\\x.h ..\\i1\\y.h ..\\i2\\z.h ../i3/w.h both.h "
                     "..\\i2\\sys.h local.h stdio.h",
                     "\t$(CC) -c $(CFLAGS) /I..\\i2 /I..\\i1 /I../i3/ main.c", ""}));
    // The options are collected per source.
    EXPECT_EQ(blockFrom(makefile, "util.obj: util.c local.h"),
              lines({"util.obj: util.c local.h", "\t$(CC) -c $(CFLAGS) util.c", ""}));
}

TEST(Scan, AssemblerIncludeLines) {
    MemoryProject sb;
    sb.write("io.asm",
             lines({"\tinclude model.mac", "INCLUDE DOS.MAC", "include macros.inc ; the macros",
                    "\tinclude \"a.inc\"", "include b.inc", "Include c.inc", "include \"bad.inc",
                    "include bad2\"", "include\tdos.mac.old", "\tmov ax, bx"}) +
                 "include d.inc");
    for (const char* name : {"macros.inc", "a.inc", "b.inc", "c.inc", "d.inc"}) sb.write(name, "");
    RunResult run = sb.run({"-t1"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out,
              "Depmill: illegal character\nio.asm 7: include \"bad.inc\n\n"
              "Depmill: illegal character\nio.asm 8: include bad2\"\n\n");
    EXPECT_EQ(
        blockFrom(sb.makefile(), "io.obj: io.asm macros.inc a.inc b.inc d.inc"),
        lines({"io.obj: io.asm macros.inc a.inc b.inc d.inc", "\t$(MASM) $(MAFLAGS) io.asm;", ""}));
}

// Here the source is a dangling link; on Windows a file another program
// holds open without sharing it.
TEST(Scan, SourceThatCannotBeOpenedKeepsItsRule) {
    Sandbox sb;
    sb.write("main.c", "");
#ifdef _WIN32
    sb.write("lost.c", "#include \"x.h\"\n");
    const HeldFile held(sb.path("lost.c"));
#else
    std::filesystem::create_symlink("gone.c", sb.path("lost.c"));
#endif
    RunResult run = sb.run();
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "Depmill: can't open lost.c\n");
    std::string makefile = sb.makefile();
    EXPECT_NE(makefile.find("\nOF1\t= lost.obj main.obj\n"), std::string::npos);
    EXPECT_EQ(blockFrom(makefile, "lost.obj: lost.c"),
              lines({"lost.obj: lost.c", "\t$(CC) -c $(CFLAGS) lost.c", ""}));
}

// A grammar is turned into C when a .c file of its name exists, else C++.
TEST(Scan, GrammarRules) {
    MemoryProject sb;
    sb.write("parse.y", "%{\n#include \"defs.h\"\n%}\n%%\n");
    sb.write("calc.y", "%%\n");
    sb.write("calc.c", "");
    sb.write("../inc/defs.h", "");
    RunResult run = sb.run({"-t1", "-O", "obj", "-I..\\inc"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "");
    std::string makefile = sb.makefile();
    EXPECT_NE(
        makefile.find("\nOF1\t= $(OUTDIR)\\calc.obj $(OUTDIR)\\calc.obj $(OUTDIR)\\parse.obj\n"),
        std::string::npos);
    std::string parse =
        "\tyacc -o parse.cpp parse.y\n\n$(OUTDIR)\\parse.obj: parse.cpp\n"
        "\t$(CC) -c $(CFLAGS) /I..\\inc /Fo$(OUTDIR)\\ parse.cpp\n\n";
    std::size_t at = makefile.find(parse);
    ASSERT_NE(at, std::string::npos) << makefile;
    std::size_t lineStart = makefile.rfind('\n', at - 2) + 1;
    EXPECT_NE(makefile.substr(lineStart, at - lineStart).find(" ..\\inc\\defs.h"),
              std::string::npos);
    EXPECT_NE(makefile.find("\tyacc -o calc.c calc.y\n\n$(OUTDIR)\\calc.obj: calc.c\n"
                            "\t$(CC) -c $(CFLAGS) /Fo$(OUTDIR)\\ calc.c\n\n"),
              std::string::npos);
}

}  // namespace
}  // namespace depmill_test
