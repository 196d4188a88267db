// Unit tests of the source scan: pattern order and sorting, names (on real
// files, as the system compares them), both include scanners, the include
// search and its warnings (in a folder in memory).
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "fileaccess.h"
#include "includescan.h"
#include "memoryfolder.h"
#include "runend.h"
#include "scratch_folder.h"
#include "sources.h"

namespace {

using depmill::GeneratorOptions;
using depmill::IncludeDep;
using depmill::IncludeLine;
using depmill::SourceFile;
using depmill::SourceKind;
using depmill_test::MemoryFolder;
using depmill_unit::ScratchFolder;
using depmill_unit::writeFile;

struct Scan {
    std::vector<SourceFile> sources;
    std::string warnings;
};

Scan scan(depmill::FileSystem& files, const GeneratorOptions& options = {}) {
    std::ostringstream warnings;
    std::ostringstream err;
    Scan result;
    result.sources = depmill::scanSources(options, files, warnings, err);
    result.warnings = warnings.str();
    EXPECT_EQ(err.str(), "");
    return result;
}

// The current folder as it is.
Scan scan(const GeneratorOptions& options = {}) {
    depmill::RealFileSystem files;
    return scan(files, options);
}

std::vector<std::string> names(const std::vector<SourceFile>& sources) {
    std::vector<std::string> list;
    for (const SourceFile& s : sources) list.push_back(s.name);
    return list;
}

// "name" for a dependency without folder, "dir|name" with one.
std::vector<std::string> deps(const SourceFile& source) {
    std::vector<std::string> list;
    for (const IncludeDep& d : source.deps) list.push_back(d.dir ? *d.dir + "|" + d.name : d.name);
    return list;
}

// On Windows B.c is b.c written again, and C.c is named c.c, which opens it.
TEST(SourceScan, PatternOrderThenBytewiseSortOfTheListedNames) {
    ScratchFolder folder;
    for (const char* name : {"b.c", "B.c", "C.c", "x.cpp", "m.asm", "g.y", "q.ec", "a.h",
                             "notes.txt", "a.b.c", "main.cpp~"}) {
        writeFile(name, "");
    }
    std::filesystem::create_directory("dir.y");  // folders are not told apart
    const Scan s = scan();
#ifdef _WIN32
    EXPECT_EQ(names(s.sources),
              (std::vector<std::string>{"q.ec", "x.cpp", "c.c", "b.c", "m.asm", "dir.y", "g.y"}));
    const std::vector<SourceKind> kinds{
        SourceKind::EmbeddedSql, SourceKind::Cpp,     SourceKind::C,      SourceKind::C,
        SourceKind::Assembler,   SourceKind::Grammar, SourceKind::Grammar};
#else
    EXPECT_EQ(names(s.sources), (std::vector<std::string>{"q.ec", "x.cpp", "B.c", "C.c", "b.c",
                                                          "m.asm", "dir.y", "g.y"}));
    const std::vector<SourceKind> kinds{
        SourceKind::EmbeddedSql, SourceKind::Cpp,       SourceKind::C,       SourceKind::C,
        SourceKind::C,           SourceKind::Assembler, SourceKind::Grammar, SourceKind::Grammar};
#endif
    ASSERT_EQ(s.sources.size(), kinds.size());
    for (std::size_t i = 0; i < kinds.size(); ++i) EXPECT_EQ(s.sources[i].kind, kinds[i]) << i;
    // A source that does not open keeps its place without dependencies.
    EXPECT_EQ(s.warnings, "Depmill: can't open dir.y\n");
    EXPECT_TRUE(s.sources[kinds.size() - 2].deps.empty());
}

// On Windows every name opens the file its lower-case name opens.
TEST(SourceScan, LowerCaseNamesOnlyWhereTheyOpenTheSameFile) {
    ScratchFolder folder;
#ifdef _WIN32
    GeneratorOptions shiftJis;
    shiftJis.codePage = common::CodePage::ShiftJis;
    for (const char* name : {"MAIN.C", "Util.c", "Io.c", "\x83\x41X.c"}) writeFile(name, "");
    EXPECT_EQ(names(scan(shiftJis).sources),
              (std::vector<std::string>{"io.c", "main.c", "util.c", "\x83\x41x.c"}));
#else
    writeFile("MAIN.C", "");  // no main.c here: the listed name stays
    writeFile("Util.c", "");
    writeFile("util.c", "");  // another file: both keep their names
    writeFile("Io.c", "");
    std::filesystem::create_symlink("Io.c", "io.c");  // one file under two names
    // A Shift-JIS character whose trail byte is "A" keeps that byte.
    const std::string katakana = "\x83\x41";
    writeFile(katakana + "X.c", "");
    std::filesystem::create_symlink(katakana + "X.c", katakana + "x.c");

    GeneratorOptions options;
    options.codePage = common::CodePage::ShiftJis;
    EXPECT_EQ(names(scan(options).sources),
              (std::vector<std::string>{"io.c", "MAIN.C", "Util.c", "io.c", "util.c",
                                        katakana + "x.c", katakana + "x.c"}));
#endif
}

TEST(SourceScan, LimitOfFiveHundredSources) {
    MemoryFolder folder;
    for (int i = 0; i < 499; ++i) folder.file("m" + std::to_string(i) + ".c", "");
    folder.file("z.asm", "");
    EXPECT_EQ(scan(folder).sources.size(), 500u);

    folder.file("one-more.y", "");
    std::ostringstream warnings;
    std::ostringstream err;
    try {
        depmill::scanSources({}, folder, warnings, err);
        ADD_FAILURE() << "the 501st source was accepted";
    } catch (const depmill::RunEnd& end) {
        EXPECT_EQ(end.status, 1);
    }
    EXPECT_EQ(err.str(), "Depmill: too many files\n");
}

TEST(SourceScan, EmptyFolderGivesNoSources) {
    MemoryFolder folder;
    folder.file("readme.txt", "#include \"x.h\"\n");
    const Scan s = scan(folder);
    EXPECT_TRUE(s.sources.empty());
    EXPECT_EQ(s.warnings, "");
}

const std::string kCSource =
    "#include \"a.h\"\n"
    "  #include\t<stdio.h>\n"
    "# include \"skipped.h\"\n"
    "#include x.h\n"
    "#include \"c.h>\n"
    "#include <d.h\"\n"
    "#include \"a.h\" /* again */\n"
    "/*\n"
    "#include \"e.h\"\n"
    "*/\n"
    "#include \"\"\n"
    "#include \"x\"\n"
    "#include \"open\n"
    "int main(void) { return 0; }";

TEST(CScanner, IncludeLinesIllegalLinesAndMissingFiles) {
    for (const bool crlf : {false, true}) {
        MemoryFolder folder;
        std::string text = kCSource;
        if (crlf) {
            for (std::size_t pos = 0; (pos = text.find('\n', pos)) != std::string::npos; pos += 2) {
                text.insert(pos, "\r");
            }
        }
        folder.file("main.c", text);
        folder.file("a.h", "");
        folder.file("x", "");
        const Scan s = scan(folder);
        ASSERT_EQ(s.sources.size(), 1u);
        EXPECT_EQ(deps(s.sources[0]), (std::vector<std::string>{"a.h", "a.h", "e.h", "x"}));
        EXPECT_EQ(s.warnings,
                  "Depmill: illegal character\nmain.c 4: #include x.h\n\n"
                  "Depmill: illegal character\nmain.c 5: #include \"c.h>\n\n"
                  "Depmill: illegal character\nmain.c 6: #include <d.h\"\n\n"
                  "Depmill: can't find e.h (in main.c)\n"
                  "Depmill: illegal character\nmain.c 11: #include \"\"\n\n"
                  "Depmill: illegal character\nmain.c 13: #include \"open\n\n")
            << (crlf ? "CRLF" : "LF");
    }
}

// Each name is looked for and judged once, yet every line that names it
// counts: each is listed, and each that cannot be written or found is
// told, with the source it is in.
TEST(IncludeSearch, EveryIncludeOfANameCountsThoughItIsLookedForOnce) {
    MemoryFolder folder;
    folder.file("a.c",
                "#include \"x|y.h\"\n#include \"gone.h\"\n#include \"inc.h\"\n"
                "#include \"x|y.h\"\n");
    folder.file("b.c", "#include \"inc.h\"\n#include \"gone.h\"\n#include \"x|y.h\"\n");
    folder.file("inc/inc.h", "");
    GeneratorOptions options;
    options.includeDirs = {"inc"};
    const Scan s = scan(folder, options);
    ASSERT_EQ(s.sources.size(), 2u);
    EXPECT_EQ(deps(s.sources[0]), (std::vector<std::string>{"gone.h", "inc|inc.h"}));
    EXPECT_EQ(deps(s.sources[1]), (std::vector<std::string>{"inc|inc.h", "gone.h"}));
    const std::string skipped = "Depmill: skipped x|y.h: not usable in a makefile\n";
    EXPECT_EQ(s.warnings, skipped + "Depmill: can't find gone.h (in a.c)\n" + skipped +
                              "Depmill: can't find gone.h (in b.c)\n" + skipped);
}

TEST(CScanner, SystemIncludesAreLookedForOnRequest) {
    MemoryFolder folder;
    folder.file("main.cpp", "#include <stdio.h>\n#include <sys.h>\n#include \"sys.h\"\n");
    folder.file("inc/sys.h", "");
    GeneratorOptions options;
    options.includeDirs = {"inc"};
    Scan s = scan(folder, options);
    EXPECT_EQ(deps(s.sources[0]), std::vector<std::string>{"inc|sys.h"});
    EXPECT_EQ(s.warnings, "");

    options.systemIncludes = true;
    s = scan(folder, options);
    EXPECT_EQ(deps(s.sources[0]), (std::vector<std::string>{"stdio.h", "inc|sys.h", "inc|sys.h"}));
    EXPECT_EQ(s.warnings, "Depmill: can't find stdio.h (in main.cpp)\n");
}

TEST(IncludeSearch, CurrentFolderFirstThenTheFoldersInOrder) {
    MemoryFolder folder;
    folder.file("main.c",
                "#include \"both.h\"\n#include \"second.h\"\n#include \"sub\\x.h\"\n"
                "#include \"sub/y.h\"\n#include \"deep\\z.h\"\n#include \"first.h\"\n");
    folder.file("both.h", "");
    folder.file("sub/x.h", "");
    folder.file("../inc1/both.h", "");
    folder.file("../inc1/first.h", "");
    folder.file("../inc1/sub/y.h", "");
    folder.file("../inc2/second.h", "");
    folder.file("../inc2/first.h", "");
    folder.file("../inc2/deep/z.h", "");
    folder.folder("../inc2/folder.h");  // a folder is not a header
    GeneratorOptions options;
    options.includeDirs = {"..\\inc1", "../inc2/"};
    const Scan s = scan(folder, options);
    EXPECT_EQ(deps(s.sources[0]), (std::vector<std::string>{
                                      "both.h", "../inc2/|second.h", "sub\\x.h", "..\\inc1|sub/y.h",
                                      "../inc2/|deep\\z.h", "..\\inc1|first.h"}));
    EXPECT_EQ(s.warnings, "");
}

// "a/b/.." is "" by the names, as for DOS, whether or not "a/b" exists.
TEST(IncludeSearch, ParentFoldersGoByTheNames) {
    MemoryFolder folder;
    folder.file("main.c", "#include \"a/b/../../x.h\"\n#include \"no\\..\\inc\\y.h\"\n");
    folder.file("x.h", "");
    folder.file("inc/y.h", "");
    const Scan s = scan(folder);
    EXPECT_EQ(deps(s.sources[0]), (std::vector<std::string>{"a/b/../../x.h", "no\\..\\inc\\y.h"}));
    EXPECT_EQ(s.warnings, "");
}

TEST(AssemblerScanner, KeywordFormsAndSkippedNames) {
    MemoryFolder folder;
    folder.file("start.asm",
                "\tinclude model.mac\n"
                "INCLUDE DOS.MAC\n"
                "include model.macro\n"
                "Include other.inc\n"
                "include macros.inc ; the macros\n"
                "include \"a.inc\"\n"
                "includelib x\n"
                "include \"bad\n"
                "INCLUDE bad\"\n"
                "include\ttab.inc;x\n"
                "mov ax, bx\n"
                "include macros.inc");
    for (const char* name : {"macros.inc", "a.inc", "tab.inc"}) folder.file(name, "");
    const Scan s = scan(folder);
    EXPECT_EQ(deps(s.sources[0]),
              (std::vector<std::string>{"macros.inc", "a.inc", "lib", "tab.inc", "macros.inc"}));
    EXPECT_EQ(s.warnings,
              "Depmill: can't find lib (in start.asm)\n"
              "Depmill: illegal character\nstart.asm 8: include \"bad\n\n"
              "Depmill: illegal character\nstart.asm 9: INCLUDE bad\"\n\n");
}

TEST(IncludeLineParsers, NamesAndVerdicts) {
    using Kind = IncludeLine::Kind;
    auto c = [](std::string_view line) { return depmill::parseCInclude(line); };
    EXPECT_EQ(c("#include \"a.h\" trailing\n").name, "a.h");
    EXPECT_EQ(c("\t #include<sys/a.h>\n").kind, Kind::Angled);
    EXPECT_EQ(c("#include <a.h>\n").name, "a.h");
    EXPECT_EQ(c("#includes \"a.h\"\n").kind, Kind::Illegal);
    EXPECT_EQ(c("#include\n").kind, Kind::Illegal);
    EXPECT_EQ(c("#INCLUDE \"a.h\"\n").kind, Kind::None);
    EXPECT_EQ(c("x #include \"a.h\"\n").kind, Kind::None);

    auto a = [](std::string_view line) { return depmill::parseAsmInclude(line); };
    EXPECT_EQ(a("include a.inc\n").name, "a.inc");
    EXPECT_EQ(a("include a.inc").name, "a.inc");
    EXPECT_EQ(a("include \"dos.mac\"\n").kind, Kind::None);
    EXPECT_EQ(a("include\n").kind, Kind::Illegal);
    EXPECT_EQ(a("; include a.inc\n").kind, Kind::None);
}

}  // namespace
