// The real depmill under a Shift-JIS locale, then the real make and /bin/sh
// over what it wrote: make and the shell read bytes, so a name or value
// that would make them act (a pattern, a glob, a quote, an option, a
// continued line, a command substitution hidden in a second byte) is left
// out with one warning line, and make reads the whole makefile and its
// clean rule runs and removes nothing else.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "depmill_run.h"
#include "shiftjislocale.h"

namespace depmill_test {
namespace {

std::string skipped(const std::string& shown) {
    return "Depmill: skipped " + shown + ": not usable in a makefile\n";
}

// The first line whose last byte is 0x5C, which make would join to the next.
std::string lineEndingInBackslashByte(const std::string& text) {
    std::size_t start = 0;
    for (std::size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1) {
        if (end > start && text[end - 1] == '\\') return text.substr(start, end - start);
    }
    return {};
}

RunSettings underShiftJis(std::vector<std::string> args = {}) {
    return RunSettings{.args = std::move(args), .env = TestShiftJisLocale().environment};
}

const std::string kData = "\x83\x66\x81\x5B\x83\x5E";  // データ: "[" and "^" as second bytes
const std::string kMap = "\x93\xFA\x96\x7B\x92\x6E\x90\x7D";  // 日本地図: "{" then "}"
const std::string kSo = "\x83\x5C";                           // ソ: 0x5C second byte
const std::string kHyou = "\x95\x5C";                         // 表: 0x5C second byte

TEST(HostileNames, SourcesAndIncludesThatMakeOrTheShellWouldActOnAreLeftOut) {
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
    sb.write(kData + ".c", "#include \"ok.h\"\n");
    sb.write(kMap + ".c", "");
    sb.write("ok.h", "");
    sb.write("ok.c", "#include \"x|touch.h\"\n/*\n#include \"c:x.h\"\n*/\n#include \"" + kSo +
                         "\"\n#include \"nul" + std::string(1, '\0') +
                         ".h\"\n#include \"e\x1B[31m.h\"\n#include \"~/x.h\"\n"
                         "#include \"ok.h\"\n");
    const RunResult run = sb.run(underShiftJis());
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(run.out, skipped("%.c") + skipped("*.c") + skipped("--help.c") + skipped("-rf.c") +
                           skipped("A\x83`pw\x83`.c") + skipped("a(b).c") + skipped("dq\"x.c") +
                           skipped("q'x.c") + skipped(report + ".c") + skipped(kHyou + ".c") +
                           skipped("x|touch.h") + skipped("c:x.h") + skipped(kSo) +
                           skipped("nul?.h") + skipped("e?[31m.h") + skipped("~/x.h"));
    const std::string makefile = sb.makefile();
    EXPECT_NE(makefile.find("\nOF1\t= ok.obj " + kData + ".obj " + kMap + ".obj\n"),
              std::string::npos)
        << makefile;
    EXPECT_NE(makefile.find("\nok.obj: ok.c ok.h\n\t$(CC) -c $(CFLAGS) ok.c\n"), std::string::npos);
    EXPECT_EQ(lineEndingInBackslashByte(makefile), "");

    const MakeRun parsed = runMake(sb, "-n");
    EXPECT_EQ(parsed.status, 0) << parsed.output;
    const MakeRun clean = runMake(sb, "clean", sb.path("../bin").string());
    EXPECT_EQ(clean.status, 0) << clean.output;
    EXPECT_FALSE(sb.exists("PWNED"));
    EXPECT_EQ(sb.read("keep.obj"), "not the project's\n");
}

// Include folders, kept definitions and option values end no line in a
// 0x5C byte: what cannot be written otherwise is left out (a folder, a
// definition of the previous makefile) or refused (an option's value).
TEST(HostileNames, NoLineEndsInABackslashByte) {
    if (!TestShiftJisLocale().whyNot.empty()) GTEST_SKIP() << TestShiftJisLocale().whyNot;
    Sandbox sb;
    sb.write("main.c", "#include \"defs.h\"\n");
    sb.write("inc/defs.h", "");
    const std::string previous = "PROGRAM\t= " + kSo + "\nCFLAGS\t= -DT=" + kHyou +
                                 "\nHDRPATH\t= " + kHyou + " inc n" + std::string(1, '\0') +
                                 "x\n\nall: $(PROGRAM)\n";
    sb.write("makefile", previous);
    for (const char* option : {"-O", "-o"}) {
        const RunResult refused = sb.run(underShiftJis({option, kHyou}));
        EXPECT_EQ(refused.status, 1);
        EXPECT_EQ(refused.err, std::string("Depmill: illegal ") + option + " option\n");
        EXPECT_EQ(sb.read("makefile"), previous);
    }

    const RunResult run = sb.run(underShiftJis({"-I", kSo}));
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(run.out, skipped(kSo) + skipped(kHyou) + skipped("n?x") +
                           skipped("PROGRAM = " + kSo) + skipped("CFLAGS = -DT=" + kHyou));
    const std::string makefile = sb.makefile();
    EXPECT_EQ(lineEndingInBackslashByte(makefile), "");
    EXPECT_NE(makefile.find("\nCFLAGS\t= -m$(MODEL) -W0,/W4,/G1,/Otgel,/Gt,/nologo\n"),
              std::string::npos)
        << makefile;
    EXPECT_NE(makefile.find("\nHDRPATH\t= inc\nOUTDIR\t= .\n"), std::string::npos);
    EXPECT_NE(makefile.find("\nPROGRAM\t= $(OUTDIR)\\a.exe\n"), std::string::npos);
    EXPECT_NE(makefile.find("\nmain.obj: main.c inc\\defs.h\n\t$(CC) -c $(CFLAGS) -Iinc main.c\n"),
              std::string::npos);
    const MakeRun parsed = runMake(sb, "-n clean");
    EXPECT_EQ(parsed.status, 0) << parsed.output;
}

}  // namespace
}  // namespace depmill_test
