// Unit tests of the makefile writer: derived names, object groups, what the
// previous makefile decides, the composed text and putting the file in place.
#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/resource.h>
#include <unistd.h>
#endif

#include <filesystem>
#include <set>
#include <sstream>

#include "endstatus.h"
#include "fileaccess.h"
#include "goldens.h"
#include "heldfile.h"
#include "makefiletext.h"
#include "memoryfolder.h"
#include "sanitized.h"
#include "scratch_folder.h"
#include "userlink.h"
#include "writer.h"
#include "written.h"

namespace {

using depmill::GeneratorOptions;
using depmill::MacroTable;
using depmill::SourceFile;
using depmill::SourceKind;
using depmill_test::MemoryFolder;
using depmill_unit::readFile;
using depmill_unit::ScratchFolder;
using depmill_unit::writeFile;

std::vector<std::string> repeatedNames(std::size_t count, const std::string& prefix) {
    std::vector<std::string> names;
    for (std::size_t i = 1; i <= count; ++i)
        names.push_back(prefix + (i < 10 ? "0" : "") + std::to_string(i) + ".obj");
    return names;
}

std::vector<std::size_t> groupSizes(const std::vector<std::string>& names) {
    std::vector<std::size_t> sizes;
    for (const auto& group : depmill::groupObjectNames(names)) sizes.push_back(group.size());
    return sizes;
}

TEST(ObjectGroups, NamesAndSeparatorsStayBelowSeventy) {
    EXPECT_EQ(groupSizes(repeatedNames(7, "$(OUTDIR)\\mod")), (std::vector<std::size_t>{3, 3, 1}));
    EXPECT_EQ(groupSizes(repeatedNames(7, "mod")), (std::vector<std::size_t>{6, 1}));
    EXPECT_EQ(groupSizes(repeatedNames(12, "mod")), (std::vector<std::size_t>{6, 6}));
    EXPECT_EQ(groupSizes({}), std::vector<std::size_t>{0});

    const std::string wide(69, 'w');
    const std::string fits(68, 'f');
    EXPECT_EQ(groupSizes({wide, "a.obj"}), (std::vector<std::size_t>{0, 1, 1}));
    EXPECT_EQ(groupSizes({fits, "a"}), (std::vector<std::size_t>{1, 1}));
    EXPECT_EQ(groupSizes({"a.obj", wide, "b.obj"}), (std::vector<std::size_t>{1, 1, 1}));

    // Order is kept across groups.
    const auto names = repeatedNames(7, "mod");
    const auto groups = depmill::groupObjectNames(names);
    EXPECT_EQ(groups[1].front(), names.back());
}

TEST(ObjectGroups, ObjectNamesFromSourceNames) {
    GeneratorOptions options;
    EXPECT_EQ(depmill::objectName("main.c", options), "main.obj");
    options.objectExt = "o";
    options.outDir = "obj";
    EXPECT_EQ(depmill::objectName("parse.y", options), "$(OUTDIR)\\parse.o");
    EXPECT_EQ(depmill::objectName("Makefile", options), "$(OUTDIR)\\Makefile.o");
}

MacroTable macrosFrom(const std::string& text) {
    MemoryFolder folder;
    folder.file("makefile", text);
    MacroTable table;
    std::ostringstream err;
    table.readMacros("makefile", common::CodePage::Utf8, folder, err);
    EXPECT_EQ(err.str(), "");
    return table;
}

// No file but those a test writes.
MemoryFolder noFiles;

TEST(PreviousSettings, CompilerLibraryAndObjectFolder) {
    GeneratorOptions options;
    options.toolchain = 1;
    depmill::applyPreviousSettings(macrosFrom("CC = lcc\nOUTDIR = out\n"), options);
    EXPECT_EQ(options.toolchain, 2);
    EXPECT_FALSE(options.library);
    EXPECT_EQ(options.outDir, "out");

    options = {};
    options.toolchain = 2;
    options.outDir = "given";
    depmill::applyPreviousSettings(macrosFrom("CC = cl \nLIBRARY = x.lib\nOUTDIR = out\n"),
                                   options);
    EXPECT_EQ(options.toolchain, 2);
    EXPECT_TRUE(options.library);
    EXPECT_EQ(options.outDir, "given");

    for (const char* text : {"OUTDIR = .\n", "OUTDIR =\n", "OUTDIR = . \nCC = cc\n"}) {
        options = {};
        options.toolchain = 1;
        depmill::applyPreviousSettings(macrosFrom(text), options);
        // "." with a trailing blank is a folder name of its own.
        EXPECT_EQ(options.outDir.has_value(), std::string(text).starts_with("OUTDIR = . ")) << text;
    }
    options = {};
    options.toolchain = 1;
    depmill::applyPreviousSettings(macrosFrom("CC = cc\n"), options);
    EXPECT_EQ(options.toolchain, 0);
}

std::tm at(int year, int month, int day, int hour, int minute) {
    std::tm time{};
    time.tm_year = year - 1900;
    time.tm_mon = month - 1;
    time.tm_mday = day;
    time.tm_hour = hour;
    time.tm_min = minute;
    return time;
}

SourceFile source(SourceKind kind, const std::string& name,
                  std::vector<depmill::IncludeDep> deps = {}) {
    return {kind, name, std::move(deps)};
}

TEST(MakefileText, ClProgramWithObjectFolderLineForLine) {
    GeneratorOptions options;
    options.toolchain = 1;
    options.target = "prog.exe";
    options.outDir = "obj";
    options.includeDirs = {"..\\header"};
    const std::vector<SourceFile> sources{
        source(SourceKind::C, "main.c", {{"defs.h", "..\\header"}, {"util.h", std::nullopt}}),
        source(SourceKind::C, "util.c"),
        source(SourceKind::Assembler, "io.asm"),
    };
    EXPECT_EQ(
        depmill::composeMakefile(sources, options, MacroTable(), at(1998, 12, 5, 5, 13), noFiles),
        "# make makefile at: 98/12/5 5:13\n" + depmill_test::kClProgramWithObjectFolder);
}

// The text between the first line that starts with `from` and the next empty line.
std::string block(const std::string& text, const std::string& from) {
    const std::size_t start = text.starts_with(from) ? 0 : text.find("\n" + from) + 1;
    EXPECT_NE(start, 0u) << from;
    return text.substr(start, text.find("\n\n", start) + 1 - start);
}

std::string compose(const std::vector<SourceFile>& sources, const GeneratorOptions& options,
                    const std::string& previous = "") {
    const MacroTable table = macrosFrom(previous);
    return depmill::composeMakefile(sources, options, table, at(2000, 1, 2, 3, 4), noFiles);
}

TEST(MakefileText, HeaderAndMacroBlockChoices) {
    GeneratorOptions options;
    options.model = 's';
    options.database = true;
    const std::string db = compose({source(SourceKind::EmbeddedSql, "q.ec")}, options);
    EXPECT_TRUE(
        db.starts_with("# make makefile at: 100/1/2 3:4\n\nMODEL\t= s\nCC\t= cc\nLINKER\t= cc\n"
                       "DBLIB\t= -llibdb\n"));
    EXPECT_NE(db.find("\nECFLAGS\t= -L\nEC\t= esql\n\nHDRPATH\t=\nOUTDIR\t= .\n\nOF1\t= q.obj\n"),
              std::string::npos);
    EXPECT_NE(db.find("\nLIBS\t= ..\\tools\\tools.lib\n\n"), std::string::npos);
    EXPECT_EQ(block(db, "q.obj:"), "q.obj: q.ec\n\t$(EC) -c $(ECFLAGS) q.ec\n\trm q.c\n");

    // The previous CFLAGS brings its DBLIB and LDFLAGS along; MODEL stays
    // unless the command line chose one.
    options = {};
    options.toolchain = 2;
    options.database = true;
    const std::string previous =
        "MODEL = m\nCC = lcc -x\nCFLAGS = -O\nLDFLAGS = -s\nLINKER = tlink\n";
    const std::string kept = compose({source(SourceKind::C, "a.c")}, options, previous);
    EXPECT_TRUE(
        kept.find("MODEL\t= m\nCC\t= lcc -x\nLINKER\t= tlink\nCFLAGS\t= -O\nLDFLAGS\t= -s\n\n") !=
        std::string::npos)
        << kept;
    const std::string noFlags = compose({source(SourceKind::C, "a.c")}, options);
    EXPECT_NE(noFlags.find("\nLINKER\t= lcc\n\nHDRPATH"), std::string::npos) << noFlags;

    options = {};
    options.library = true;
    options.toolchain = 1;
    options.database = true;
    options.includeDirs = {"a", "b\\"};
    const std::string library = compose({source(SourceKind::C, "a.c")}, options);
    EXPECT_TRUE(library.find(
                    "MODEL\t= L\nCC\t= cl\nCFLAGS\t= /A$(MODEL) /FPa /W4 /G1 /Otgel /Gt /nologo\n\n"
                    "HDRPATH\t= a b\\\n") != std::string::npos)
        << library;
}

std::vector<SourceFile> manySources(std::size_t count) {
    std::vector<SourceFile> sources;
    for (std::size_t i = 1; i <= count; ++i)
        sources.push_back(source(SourceKind::C, "mod0" + std::to_string(i) + ".c"));
    return sources;
}

TEST(MakefileText, ObjectGroupsAndResponseFiles) {
    GeneratorOptions options;
    options.responseFiles = false;
    std::string text =
        compose(manySources(7), options, "MODEL = s\nLIBS1 = a.lib\nLIBS2 = b.lib\nLIBS4 = d\n");
    EXPECT_EQ(
        block(text, "OF1"),
        "OF1\t= mod01.obj mod02.obj mod03.obj mod04.obj mod05.obj mod06.obj\nOF2\t= mod07.obj\n");
    EXPECT_EQ(block(text, "OFILES"), "OFILES\t= $(OF1) $(OF2)\n");
    EXPECT_EQ(block(text, "LIBS1"), "LIBS1\t= a.lib\nLIBS2\t= b.lib\nLIBS\t= $(LIBS1) $(LIBS2)\n");
    EXPECT_EQ(block(text, "$(PROGRAM):"),
              "$(PROGRAM): $(OFILES) $(LIBS) link.cc\n\t@echo Linking...\n"
              "\t$(LINKER) $(LDFLAGS) -o$(PROGRAM) link.cc\n");
    // MODEL s in the previous makefile drops the far-call line.
    EXPECT_EQ(block(text, "link.cc:"),
              "link.cc: makefile\n\t@echo Creating link.cc...\n"
              "\t@echo -Wl,/SE:512,/NOE,/EXEPACK,/nologo>link.cc\n"
              "\t@echo $(OF1)>>link.cc\n\t@echo $(OF2)>>link.cc\n"
              "\t@echo $(LIBS1)>>link.cc\n\t@echo $(LIBS2)>>link.cc\n");
    EXPECT_TRUE(text.ends_with("clean:\n\t-rm link.cc\n\t-rm $(OF1)\n\t-rm $(OF2)\n"));

    options.toolchain = 1;
    options.database = true;
    text = compose(manySources(7), options, "LIBS1 = a.lib\nLIBS2 = b.lib\n");
    EXPECT_EQ(block(text, "link.cc:"),
              "link.cc: makefile\n\t@echo Creating link.cc...\n\t@echo /SE:512 /EXEPACK "
              "/nologo+>link.cc\n"
              "\t@echo $(OF1)+>>link.cc\n\t@echo $(OF2)>>link.cc\n\t@echo $(PROGRAM)>>link.cc\n"
              "\t@echo nul>>link.cc\n\t@echo $(LIBS1)+>>link.cc\n\t@echo $(LIBS2)>>link.cc\n"
              "\t@echo $(DBLIB) /FARCALLTRANSLATION /PACKCODE ;>>link.cc\n");

    options = {};
    options.toolchain = 2;
    text = compose(manySources(7), options, "LIBS = x.lib\nPROGRAM = p.exe\n");
    EXPECT_EQ(block(text, "PROGRAM"), "PROGRAM\t= p.exe\n");
    EXPECT_EQ(block(text, "$(PROGRAM):"),
              "$(PROGRAM): $(OFILES) $(LIBS) makefile\n\t@echo Linking...\n\t@echo # link.cc for "
              "lcc.exe>link.cc\n"
              "\t@echo $(OF1)>>link.cc\n\t@echo $(OF2)>>link.cc\n"
              "\t$(LINKER) $(LDFLAGS) -o$(PROGRAM) @link.cc $(LIBS)\n\t@-rm link.cc\n");
    EXPECT_TRUE(text.ends_with("clean:\n\t-rm $(OF1)\n\t-rm $(OF2)\n"));
}

TEST(MakefileText, DirectRulesWithoutResponseFiles) {
    GeneratorOptions options;
    options.responseFiles = false;
    for (int toolchain : {0, 1, 2}) {
        options.toolchain = toolchain;
        const std::string text = compose(manySources(2), options);
        EXPECT_EQ(block(text, "$(PROGRAM):"),
                  "$(PROGRAM): $(OFILES) $(LIBS) makefile\n\t$(LINKER) $(LDFLAGS)" +
                      std::string(toolchain == 1 ? " $(OFILES),$(PROGRAM),nul,$(LIBS);\n"
                                                 : " -o$(PROGRAM) $(OFILES) $(LIBS)\n"));
        EXPECT_EQ(text.find("link.cc"), std::string::npos);
        EXPECT_EQ(block(text, "PROGRAM"), "PROGRAM\t= $(OUTDIR)\\a.exe\n");
    }
    options.library = true;
    std::string text = compose(manySources(2), options);
    EXPECT_EQ(block(text, "LIBRARY"), "LIBRARY\t= $(OUTDIR)\\a.lib\n");
    EXPECT_EQ(block(text, "$(LIBRARY):"),
              "$(LIBRARY): $(OFILES) makefile\n\t-rm $(LIBRARY)\n\tlib $(LIBRARY)+$(OF1: =+);\n");
    EXPECT_TRUE(text.ends_with("clean:\n\t-rm $(OF1)\n"));
    EXPECT_EQ(text.find("LIBS"), std::string::npos);

    options.responseFiles = true;
    text = compose(manySources(7), options, "LIBRARY = old.lib\n");
    EXPECT_EQ(block(text, "LIBRARY"), "LIBRARY\t= old.lib\n");
    EXPECT_EQ(block(text, "makelib:"),
              "makelib: makefile\n\t@echo Creating makelib...\n\t@echo $(LIBRARY)>makelib\n\t@echo "
              "y>>makelib\n"
              "\t@echo $(OF1: =+)&>>makelib\n\t@echo $(OF2: =+);>>makelib\n");
    EXPECT_TRUE(text.ends_with("clean:\n\t-rm makelib\n\t-rm $(OF1)\n\t-rm $(OF2)\n"));
}

TEST(MakefileText, SourceRulesPerKindAndToolchain) {
    MemoryFolder folder;
    folder.file("calc.c", "");  // calc.y generates C, parse.y C++
    GeneratorOptions options;
    options.outDir = "out";
    const std::vector<SourceFile> sources{
        source(SourceKind::Cpp, "app.cpp",
               {{"a.h", "inc"},
                {"b.h", "lib/"},
                {"c.h", "inc"},
                {"d.h", std::nullopt},
                {"e.h", "lib/"}}),
        source(SourceKind::Assembler, "io.asm", {{"m.inc", "inc"}}),
        source(SourceKind::Grammar, "calc.y", {{"tok.h", "inc"}}),
        source(SourceKind::Grammar, "parse.y"),
    };
    const MacroTable none;
    std::string text =
        depmill::composeMakefile(sources, options, none, at(2024, 1, 1, 0, 0), folder);
    EXPECT_EQ(block(text, "$(OUTDIR)\\app.obj:"),
              "$(OUTDIR)\\app.obj: app.cpp inc\\a.h lib/b.h inc\\c.h d.h lib/e.h\n"
              "\t$(CC) -c $(CFLAGS) -Iinc -Ilib/ -W2,/Fo$(OUTDIR)\\ app.cpp\n");
    EXPECT_EQ(block(text, "$(OUTDIR)\\io.obj:"),
              "$(OUTDIR)\\io.obj: io.asm inc\\m.inc\n\t$(CC) -c $(CFLAGS) -Iinc -W2,/Fo$(OUTDIR)\\ "
              "io.asm\n");
    EXPECT_EQ(block(text, "calc.c:"), "calc.c: calc.y inc\\tok.h\n\tyacc -o calc.c calc.y\n");
    EXPECT_EQ(
        block(text, "$(OUTDIR)\\calc.obj:"),
        "$(OUTDIR)\\calc.obj: calc.c\n\t$(CC) -c $(CFLAGS) -Iinc -W2,/Fo$(OUTDIR)\\ calc.c\n");
    EXPECT_EQ(block(text, "parse.cpp:"), "parse.cpp: parse.y\n\tyacc -o parse.cpp parse.y\n");
    EXPECT_EQ(text.find("MASM"), std::string::npos);

    options.toolchain = 2;
    options.objectExt = "o";
    text = depmill::composeMakefile(sources, options, none, at(2024, 1, 1, 0, 0), folder);
    EXPECT_NE(text.find("MAFLAGS\t= /Mx /w2\nMASM\t= masm\n"), std::string::npos);
    EXPECT_EQ(
        block(text, "$(OUTDIR)\\io.o:"),
        "$(OUTDIR)\\io.o: io.asm inc\\m.inc\n\t$(MASM) $(MAFLAGS) -Iinc io.asm,$(OUTDIR)\\io.o;\n");
    EXPECT_EQ(
        block(text, "$(OUTDIR)\\parse.o:"),
        "$(OUTDIR)\\parse.o: parse.cpp\n\t$(CC) -c $(CFLAGS) -o$(OUTDIR)\\parse.o parse.cpp\n");

    // A name that kept its case (no lower-case twin on disk) is compiled as it is.
    text = depmill::composeMakefile({source(SourceKind::C, "MAIN.C")}, options, none,
                                    at(2024, 1, 1, 0, 0), folder);
    EXPECT_EQ(block(text, "$(OUTDIR)\\MAIN.o:"),
              "$(OUTDIR)\\MAIN.o: MAIN.C\n\t$(CC) -c $(CFLAGS) -o$(OUTDIR)\\MAIN.o MAIN.C\n");

    options.outDir.reset();
    options.toolchain = 1;
    text = depmill::composeMakefile(sources, options, none, at(2024, 1, 1, 0, 0), folder);
    EXPECT_EQ(block(text, "io.o:"),
              "io.o: io.asm inc\\m.inc\n\t$(MASM) $(MAFLAGS) /Iinc io.asm;\n");
    EXPECT_EQ(block(text, "app.o:").substr(block(text, "app.o:").find('\t')),
              "\t$(CC) -c $(CFLAGS) /Iinc /Ilib/ app.cpp\n");
}

struct Written {
    bool ok;
    std::string err;
};

Written write(depmill::FileSystem& files, GeneratorOptions options = {}) {
    std::ostringstream err;
    std::ostringstream warnings;
    const std::optional<int> status = depmill_testing::endStatus([&] {
        depmill::writeMakefile({source(SourceKind::C, "main.c")},
                               depmill::findPreviousMakefile(files), options, files, warnings, err);
    });
    EXPECT_TRUE(!status || *status == 2);
    return {!status, err.str()};
}

// In the current folder.
Written write(GeneratorOptions options = {}) {
    depmill::RealFileSystem files;
    return write(files, options);
}

// The names in the current folder.
std::set<std::string> folderEntries() {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator("."))
        names.insert(entry.path().filename().string());
    return names;
}

TEST(WriteMakefile, PreviousMakefileBecomesTheBackup) {
    ScratchFolder folder;
    ASSERT_TRUE(write().ok);
    EXPECT_FALSE(std::filesystem::exists("makefile.old"));
    const std::string first = depmill_testing::withNewlines(readFile("makefile"));
    EXPECT_TRUE(first.starts_with("# make makefile at: "));

    writeFile("makefile", "CC = lcc\nPROGRAM = kept.exe\nall: x\n");
    writeFile("makefile.old", "stale");
    const Written second = write();
    EXPECT_TRUE(second.ok);
    EXPECT_EQ(second.err, "");
    EXPECT_EQ(readFile("makefile.old"), "CC = lcc\nPROGRAM = kept.exe\nall: x\n");
    EXPECT_NE(depmill_testing::withNewlines(readFile("makefile")).find("\nPROGRAM\t= kept.exe\n"),
              std::string::npos);

    // Without the old macros the file is still kept as the backup.
    GeneratorOptions ignore;
    ignore.ignoreOldMacros = true;
    ASSERT_TRUE(write(ignore).ok);
    EXPECT_NE(readFile("makefile.old").find("kept.exe"), std::string::npos);
    EXPECT_EQ(depmill_testing::withNewlines(readFile("makefile")).find("kept.exe"),
              std::string::npos);
    EXPECT_EQ(folderEntries(), (std::set<std::string>{"makefile", "makefile.old"}));
}

// Names the user owns are never written through nor taken over: a
// makefile.tmp stays as it is, a makefile.old link is replaced as a name.
// The links are the ones any user can make (hard links on Windows).
TEST(WriteMakefile, LinksAndTheUsersFilesAreNotWrittenThrough) {
    ScratchFolder folder;
    const std::string previous = "X = 1\nall: x\n";
    writeFile("makefile", previous);
    writeFile("victim", "keep\n");
    writeFile("other", "keep too\n");
    MakeUserLink("victim", "makefile.tmp");
    MakeUserLink("other", "makefile.old");
    const Written w = write();
    EXPECT_TRUE(w.ok) << w.err;
    EXPECT_EQ(readFile("victim"), "keep\n");
    EXPECT_EQ(readFile("other"), "keep too\n");
    EXPECT_TRUE(IsUserLinkTo("makefile.tmp", "victim"));
    EXPECT_FALSE(IsUserLinkTo("makefile.old", "other"));
    EXPECT_EQ(readFile("makefile.old"), previous);
    EXPECT_TRUE(
        depmill_testing::withNewlines(readFile("makefile")).starts_with("# make makefile at: "));
    EXPECT_EQ(folderEntries(), (std::set<std::string>{"makefile", "makefile.old", "makefile.tmp",
                                                      "other", "victim"}));
}

TEST(WriteMakefile, FailuresLeaveTheMakefileAsItWas) {
    ScratchFolder folder;
    const std::string previous = "X = 1\nall: x\n";
    writeFile("makefile", previous);

    // A backup name that cannot be freed.
    writeFile("makefile.old/keep", "");
    Written w = write();
    EXPECT_FALSE(w.ok);
    EXPECT_EQ(w.err, "Depmill: can't rename old Makefile\n");
    EXPECT_EQ(depmill_testing::withNewlines(readFile("makefile")), previous);
    std::filesystem::remove_all("makefile.old");
#ifdef _WIN32
    // Nor one that another program holds open without sharing it.
    writeFile("makefile.old", "held\n");
    {
        const HeldFile held(std::filesystem::absolute("makefile.old"));
        w = write();
    }
    EXPECT_FALSE(w.ok);
    EXPECT_EQ(w.err, "Depmill: can't rename old Makefile\n");
    EXPECT_EQ(depmill_testing::withNewlines(readFile("makefile")), previous);
    EXPECT_EQ(readFile("makefile.old"), "held\n");
    std::filesystem::remove("makefile.old");
#endif

    std::string overflow;
    for (int i = 0; i <= 200; ++i) overflow += "M" + std::to_string(i) + " = x\n";
    writeFile("makefile", overflow);
    w = write();
    EXPECT_EQ(w.err, "Depmill: macro table overflow\n");
    EXPECT_EQ(depmill_testing::withNewlines(readFile("makefile")), overflow);
    EXPECT_EQ(folderEntries(), std::set<std::string>{"makefile"});
}

// A fresh name that is taken is passed over for another; when none can be
// had, the run ends with the previous makefile as it was.
TEST(WriteMakefile, TakenNamesArePassedOver) {
    MemoryFolder folder;
    const std::string previous = "X = 1\nall: x\n";
    folder.file("makefile", previous);
    folder.takeNames(3);
    const Written passed = write(folder);
    EXPECT_TRUE(passed.ok) << passed.err;
    EXPECT_EQ(folder.bytes("makefile.old"), previous);
    EXPECT_EQ(folder.names(), (std::set<std::string>{"makefile", "makefile.old"}));

    const std::optional<std::string> first = folder.bytes("makefile");
    folder.takeNames(1000);
    const Written none = write(folder);
    EXPECT_FALSE(none.ok);
    EXPECT_EQ(none.err, "Depmill: can't create Makefile\n");
    EXPECT_EQ(folder.bytes("makefile"), first);
    EXPECT_EQ(folder.bytes("makefile.old"), previous);
}

// A new file whose bytes do not all reach it is removed, and nothing is
// renamed.
TEST(WriteMakefile, FailedWriteLeavesNoNewFile) {
    MemoryFolder folder;
    const std::string previous = "X = 1\nall: x\n";
    folder.file("makefile", previous).file("makefile.old", "stale");
    folder.failWrites();
    const Written w = write(folder);
    EXPECT_FALSE(w.ok);
    EXPECT_EQ(w.err, "Depmill: can't write Makefile\n");
    EXPECT_EQ(folder.bytes("makefile"), previous);
    EXPECT_EQ(folder.bytes("makefile.old"), "stale");
    EXPECT_EQ(folder.names(), (std::set<std::string>{"makefile", "makefile.old"}));
}

// When the new file cannot take the name "makefile", the previous makefile
// gets its name back and nothing else is left.
TEST(WriteMakefile, FailedFinalRenamePutsThePreviousMakefileBack) {
    MemoryFolder folder;
    const std::string previous = "X = 1\nall: x\n";
    folder.file("makefile", previous);
    folder.failRenameTo("makefile");
    const Written w = write(folder);
    EXPECT_FALSE(w.ok);
    EXPECT_EQ(w.err, "Depmill: can't write Makefile\n");
    EXPECT_EQ(folder.bytes("makefile"), previous);
    EXPECT_EQ(folder.names(), std::set<std::string>{"makefile"});
}

// The old backup is removed before the previous makefile takes its name
// (no rename over a file); should that rename still fail, the makefile is
// as it was and the new file gone.
TEST(WriteMakefile, TheOldBackupIsRemovedBeforeTheRename) {
    MemoryFolder folder;
    const std::string previous = "X = 1\nall: x\n";
    folder.file("makefile", previous).file("makefile.old", "stale");
    folder.failRenameTo("makefile.old");
    const Written w = write(folder);
    EXPECT_FALSE(w.ok);
    EXPECT_EQ(w.err, "Depmill: can't rename old Makefile\n");
    EXPECT_EQ(folder.bytes("makefile"), previous);
    EXPECT_EQ(folder.names(), std::set<std::string>{"makefile"});
}

// No new file can be made (here: no file descriptor left): the previous
// makefile stays, no backup is made.
TEST(WriteMakefile, NoRoomForTheNewFile) {
#ifdef _WIN32
    GTEST_SKIP() << "the file descriptor limit is POSIX only";
#else
    if (depmill_testing::kSanitized)
        GTEST_SKIP() << "the sanitizers' runtime needs file descriptors of its own";
    ScratchFolder folder;
    const std::string previous = "X = 1\nall: x\n";
    writeFile("makefile", previous);
    GeneratorOptions ignore;
    ignore.ignoreOldMacros = true;
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_NOFILE, &saved), 0);
    const int lowestFree = dup(0);
    ASSERT_GE(lowestFree, 0);
    close(lowestFree);
    rlimit none = saved;
    none.rlim_cur = static_cast<rlim_t>(lowestFree);
    ASSERT_EQ(setrlimit(RLIMIT_NOFILE, &none), 0);
    const Written w = write(ignore);
    setrlimit(RLIMIT_NOFILE, &saved);
    EXPECT_FALSE(w.ok);
    EXPECT_EQ(w.err, "Depmill: can't create Makefile\n");
    EXPECT_EQ(folderEntries(), std::set<std::string>{"makefile"});
    EXPECT_EQ(depmill_testing::withNewlines(readFile("makefile")), previous);
#endif
}

TEST(LineEnds, ThePlatformsLineEndReplacesEveryNewline) {
#ifdef _WIN32
    EXPECT_EQ(depmill::kLineEnd, "\r\n");
#else
    EXPECT_EQ(depmill::kLineEnd, "\n");
#endif
    EXPECT_EQ(depmill::withLineEnds("a\n\nb\tc\nd", "\r\n"), "a\r\n\r\nb\tc\r\nd");
    EXPECT_EQ(depmill::withLineEnds("\n", "\r\n"), "\r\n");
    EXPECT_EQ(depmill::withLineEnds("a\nb\n", "\n"), "a\nb\n");
    EXPECT_EQ(depmill::withLineEnds("", "\r\n"), "");

    // The written file itself: every line ends with the platform's line end.
    ScratchFolder folder;
    ASSERT_TRUE(write().ok);
    const std::string bytes = readFile("makefile");
    std::size_t ends = 0;
    for (std::size_t pos = bytes.find('\n'); pos != std::string::npos;
         pos = bytes.find('\n', pos + 1)) {
        ++ends;
        EXPECT_EQ(pos >= 1 && bytes[pos - 1] == '\r', depmill::kLineEnd == "\r\n") << pos;
    }
    EXPECT_GT(ends, 10u);
}

}  // namespace
