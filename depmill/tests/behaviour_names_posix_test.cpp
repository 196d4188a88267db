// The real depmill under a Shift-JIS locale, then the real make and /bin/sh
// over what it wrote: make and the shell read bytes, so a name or value
// that would make them act (a pattern, a glob, a quote, an option, a
// continued line, a command substitution hidden in a second byte) is left
// out with one warning line, and make reads the whole makefile and its
// clean rule runs and removes nothing else.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "depmill_run.h"
#include "shiftjislocale.h"

namespace depmill_test {
namespace {

std::string skipped(const std::string& shown) {
    return "Depmill: skipped " + shown + ": not usable in a makefile\n";
}

const std::string kData = "\x83\x66\x81\x5B\x83\x5E";  // データ: "[" and "^" as second bytes
const std::string kMap = "\x93\xFA\x96\x7B\x92\x6E\x90\x7D";  // 日本地図: "{" then "}"
const std::string kSo = "\x83\x5C";                           // ソ: 0x5C second byte
const std::string kHyou = "\x95\x5C";                         // 表: 0x5C second byte

TEST(HostileNames, WhatMakeOrTheShellWouldActOnIsLeftOut) {
    if (!TestShiftJisLocale().whyNot.empty()) GTEST_SKIP() << TestShiftJisLocale().whyNot;
    Sandbox sb;
    // A program that a command substitution in a name would run.
    sb.write("../bin/pw\x83", "#!/bin/sh\ntouch PWNED\n");
    std::filesystem::permissions(sb.path("../bin/pw\x83"), std::filesystem::perms::owner_all);
    sb.write("keep.obj", "not the project's\n");
    const std::string report = "\x83\x8C\x83\x7C\x81\x5B\x83\x67";  // レポート: ポ ends in "|"
    for (const std::string& name :
         std::vector<std::string>{"%.c", "*.c", "--help.c", "-rf.c", "A\x83`pw\x83`.c", "a(b).c",
                                  "dq\"x.c", "q'x.c", report + ".c", kHyou + ".c"}) {
        sb.write(name, "");
    }
    sb.write(kData + ".c", "");
    sb.write(kMap + ".c", "");
    sb.write("inc/defs.h", "");
    sb.write("ok.c", "#include \"x|touch.h\"\n/*\n#include \"c:x.h\"\n*/\n#include \"" + kSo +
                         "\"\n#include \"nul" + std::string(1, '\0') +
                         ".h\"\n#include \"e\x1B[31m.h\"\n#include \"~/x.h\"\n"
                         "#include \"defs.h\"\n");
    sb.write("makefile", "PROGRAM\t= " + kSo + "\nCFLAGS\t= -DT=" + kHyou + "\nHDRPATH\t= " +
                             kHyou + " inc n" + std::string(1, '\0') + "x\n\nall: $(PROGRAM)\n");
    const RunResult run =
        sb.run(RunSettings{.args = {"-I", kSo}, .env = TestShiftJisLocale().environment});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(run.out, skipped(kSo) + skipped(kHyou) + skipped("n?x") + skipped("%.c") +
                           skipped("*.c") + skipped("--help.c") + skipped("-rf.c") +
                           skipped("A\x83`pw\x83`.c") + skipped("a(b).c") + skipped("dq\"x.c") +
                           skipped("q'x.c") + skipped(report + ".c") + skipped(kHyou + ".c") +
                           skipped("x|touch.h") + skipped("c:x.h") + skipped(kSo) +
                           skipped("nul?.h") + skipped("e?[31m.h") + skipped("~/x.h") +
                           skipped("PROGRAM = " + kSo) + skipped("CFLAGS = -DT=" + kHyou));
    const std::string makefile = sb.makefile();
    EXPECT_EQ(makefile.find("\\\n"), std::string::npos) << "a line ends in a 0x5C byte";
    for (const std::string& line : std::vector<std::string>{
             "CFLAGS\t= -m$(MODEL) -W0,/W4,/G1,/Otgel,/Gt,/nologo", "HDRPATH\t= inc",
             "OF1\t= ok.obj " + kData + ".obj " + kMap + ".obj", "PROGRAM\t= $(OUTDIR)\\a.exe",
             "ok.obj: ok.c inc\\defs.h\n\t$(CC) -c $(CFLAGS) -Iinc ok.c"}) {
        EXPECT_NE(makefile.find("\n" + line + "\n"), std::string::npos) << line << "\n" << makefile;
    }

    // make reads the whole makefile; its clean rule runs nothing and removes
    // nothing but what Depmill named.
    EXPECT_EQ(runMake(sb, "clean", sb.path("../bin").string()), 0);
    EXPECT_FALSE(sb.exists("PWNED"));
    EXPECT_EQ(sb.read("keep.obj"), "not the project's\n");
}

}  // namespace
}  // namespace depmill_test
