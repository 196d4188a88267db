// The project reader on real makefiles in a temporary folder.
#include "project.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <tuple>

#include "childprocess.h"
#include "devicenames.h"
#include "environment.h"
#include "fakeuiservices.h"
#include "openwatch.h"
#include "programfolder.h"
#include "runner.h"
#include "tempfolder.h"

namespace {

namespace fs = std::filesystem;

class ProjectReaderTest : public ::testing::Test {
  protected:
    std::string write(const std::string& content, const std::string& name = "makefile") {
        const auto path = folder_ / name;
        std::ofstream(path, std::ios::binary) << content;
        return path.string();
    }

    MakefileMacros read(const std::string& content, int expectedCount) {
        MakefileMacros macros;
        EXPECT_EQ(ReadMakefileMacros(write(content), macros, ui_), expectedCount);
        return macros;
    }

    // A project that must come out of a failed load unchanged.
    static Project sentinel() {
        Project project;
        project.projectName = "keep";
        project.projectFile = "/old/makefile";
        project.projectFolder = "/old";
        project.targetName = "keep.lib";
        project.targetType = 1;
        project.memoryModel = 4;
        project.database = 1;
        return project;
    }

    static void expectSame(const Project& a, const Project& b) {
        auto fields = [](const Project& p) {
            return std::tie(p.projectName, p.projectFile, p.projectFolder, p.targetName,
                            p.targetType, p.memoryModel, p.database);
        };
        EXPECT_TRUE(fields(a) == fields(b));
    }

    TempFolder temp_;
    const fs::path folder_ = temp_.path();
    FakeUiServices ui_;
};

TEST_F(ProjectReaderTest, DepmillProgramGivesNameTargetAndFolder) {
    const std::string path = write(
        "# make makefile at: 98/12/5 5:13\n\nMODEL\t= L\nCC\t= cl\n\nHDRPATH\t= ..\\header\n"
        "OUTDIR\t= obj\n\nOF1\t= $(OUTDIR)\\main.obj\nOFILES\t= $(OF1)\n\nLIBS\t=\n\n"
        "PROGRAM\t= $(OUTDIR)\\prog.exe\n\nall: $(PROGRAM)\n\nLIBRARY = not.lib\n");
    Project project = sentinel();
    ASSERT_TRUE(LoadProject(project, path, ui_));
    EXPECT_EQ(project.projectName, "prog");
    EXPECT_EQ(project.targetName, "prog.exe");
    EXPECT_EQ(project.targetType, 0);
    EXPECT_EQ(project.memoryModel, 3);
    EXPECT_EQ(project.projectFile, path);
    EXPECT_EQ(project.projectFolder, folder_.string());
    EXPECT_EQ(project.database, 0);  // the makefile does not record it
    EXPECT_TRUE(ui_.messages.empty());
}

TEST_F(ProjectReaderTest, LibraryWinsOverProgramAndNamesKeepLaterBackslashes) {
    Project project;
    ASSERT_TRUE(LoadProject(project, write("PROGRAM = a.exe\nLIBRARY = tool.lib\n"), ui_));
    EXPECT_EQ(project.targetType, 1);
    EXPECT_EQ(project.projectName, "tool");
    EXPECT_EQ(project.targetName, "tool.lib");

    ASSERT_TRUE(LoadProject(project, write("PROGRAM = $(OUTDIR)\\sub\\my.prog.exe\n"), ui_));
    EXPECT_EQ(project.targetType, 0);
    EXPECT_EQ(project.projectName, "sub\\my");
    EXPECT_EQ(project.targetName, "sub\\my.exe");
}

TEST_F(ProjectReaderTest, WithoutNameSourceOrModelTheOldValuesStay) {
    Project project = sentinel();
    ASSERT_TRUE(LoadProject(project, write("CC = cl\n"), ui_));
    EXPECT_EQ(project.projectName, "keep");
    EXPECT_EQ(project.memoryModel, 4);
    EXPECT_EQ(project.targetType, 0);
    EXPECT_EQ(project.targetName, "keep.exe");
    EXPECT_EQ(project.database, 0);
}

TEST_F(ProjectReaderTest, ModelTakesOnlyTheFirstLetterInAnyCase) {
    const std::pair<const char*, int> cases[] = {{"L", 3}, {"l", 3}, {"large", 3},
                                                 {"M", 1}, {"c", 2}, {"H", 4},
                                                 {"s", 0}, {"x", 0}, {"", 0}};
    for (const auto& [value, model] : cases) {
        Project project = sentinel();
        ASSERT_TRUE(LoadProject(project, write(std::string("MODEL = ") + value + "\n"), ui_));
        EXPECT_EQ(project.memoryModel, model) << value;
    }
}

TEST_F(ProjectReaderTest, NoDefinitionBeforeTheFirstRuleLoadsNothingSilently) {
    Project project = sentinel();
    EXPECT_FALSE(LoadProject(project, write("# only\n\nall: prog.exe\nPROGRAM = prog.exe\n"), ui_));
    EXPECT_FALSE(LoadProject(project, write(""), ui_));
    expectSame(project, sentinel());
    EXPECT_TRUE(ui_.messages.empty());
    EXPECT_EQ(GetMakefileMacro(write("all:\nOUTDIR = obj\n"), "OUTDIR", ui_), "");
}

TEST_F(ProjectReaderTest, MissingFileShowsTheOpenFailure) {
    Project project = sentinel();
    const std::string missing = (folder_ / "nothere").string();
    EXPECT_FALSE(LoadProject(project, missing, ui_));
    expectSame(project, sentinel());
    EXPECT_EQ(GetMakefileMacro(missing, "OUTDIR", ui_), "");
    EXPECT_FALSE(LoadProject(project, folder_.string(), ui_));
    expectSame(project, sentinel());
    ASSERT_EQ(ui_.messages.size(), 3u);
    for (const auto& message : ui_.messages) {
        EXPECT_EQ(message.text, "プロジェクトのオープン");
        EXPECT_EQ(message.caption, "プロジェクトファイルがオープンできません。");
        EXPECT_EQ(message.icon, MessageIcon::None);
    }
}

// A makefile that is a FIFO or a device would block the reader for ever:
// it is refused at once, as a file that cannot be opened.
TEST_F(ProjectReaderTest, FifoOrDeviceMakefileIsRefusedWithoutWaiting) {
#ifdef _WIN32
    const std::string fifo = "NUL", device = "NUL";  // no FIFO lives in a Windows folder
#else
    const std::string fifo = (folder_ / "makefile").string(), device = "/dev/zero";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
#endif
    Project project = sentinel();
    EXPECT_FALSE(LoadProject(project, fifo, ui_));
    expectSame(project, sentinel());
    EXPECT_EQ(GetMakefileMacro(fifo, "OUTDIR", ui_), "");
    EXPECT_FALSE(LoadProject(project, device, ui_));
    ASSERT_EQ(ui_.messages.size(), 3u);
    for (const auto& message : ui_.messages) {
        EXPECT_EQ(message.caption, "プロジェクトファイルがオープンできません。");
    }
}

// The makefile's entry is looked at before anything is opened: a FIFO is
// never opened, and a link, even to a good makefile, is not followed. On
// Windows a device name stands for the device in every folder, also where
// a real file has that name; COM7 leads to the watch's pipe.
TEST_F(ProjectReaderTest, OnlyARegularFileIsEverOpened) {
#ifdef _WIN32
    WriteUnderDeviceName(folder_ / "com7.mak", "PROGRAM = prog.exe\n");
    DeviceWatch watch("COM7");
    Project project = sentinel();
    for (const char* device : {"COM1", "nul.mak", "CON", "com7.mak", "Com7"}) {
        EXPECT_FALSE(LoadProject(project, (folder_ / device).string(), ui_)) << device;
    }
    EXPECT_FALSE(watch.opened());
    expectSame(project, sentinel());
    EXPECT_EQ(ui_.messages.size(), 5u);
    ASSERT_TRUE(LoadProject(project, write("PROGRAM = prog.exe\n", "good.mak"), ui_));
#elif !defined(__linux__)
    GTEST_SKIP() << "which files were opened is watched with inotify";
#else
    const std::string good = write("PROGRAM = prog.exe\n", "good.mak");
    const std::string fifo = (folder_ / "makefile").string();
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    fs::create_symlink("good.mak", folder_ / "link.mak");
    OpenWatch watch(folder_);
    Project project = sentinel();
    EXPECT_FALSE(LoadProject(project, fifo, ui_));
    EXPECT_FALSE(LoadProject(project, (folder_ / "link.mak").string(), ui_));
    expectSame(project, sentinel());
    EXPECT_EQ(watch.opened(), std::set<std::string>{});
    EXPECT_EQ(ui_.messages.size(), 2u);
    ASSERT_TRUE(LoadProject(project, good, ui_));
    EXPECT_EQ(watch.opened(), std::set<std::string>{"good.mak"});
#endif
}

TEST_F(ProjectReaderTest, TwoHundredDefinitionsLoadAndOneMoreIsRefused) {
    std::string content;
    for (int i = 0; i < kMaxMakefileMacros; ++i) content += "M" + std::to_string(i) + " = v\n";
    const auto macros = read(content + "all:\n", kMaxMakefileMacros);
    EXPECT_EQ(macros.back().name, "M199");
    EXPECT_TRUE(ui_.messages.empty());

    // A line without a name does not count towards the limit.
    read(" = x\n" + content, kMaxMakefileMacros);
    EXPECT_TRUE(ui_.messages.empty());

    Project project = sentinel();
    const std::string tooMany = write(content + "PROGRAM = late.exe\n");
    MakefileMacros macros201;
    EXPECT_EQ(ReadMakefileMacros(tooMany, macros201, ui_), -1);
    EXPECT_TRUE(macros201.empty());
    EXPECT_FALSE(LoadProject(project, tooMany, ui_));
    expectSame(project, sentinel());
    EXPECT_EQ(GetMakefileMacro(tooMany, "M0", ui_), "");
    ASSERT_EQ(ui_.messages.size(), 3u);
    EXPECT_EQ(ui_.messages[0].text, "プロジェクトのオープン");
    EXPECT_EQ(ui_.messages[0].caption, "マクロ定義が多すぎます。");
}

TEST_F(ProjectReaderTest, DefinitionLinesKeepTheirValueAsWritten) {
    const auto macros = read(
        "  CFLAGS junk =   -a = b  \r\nEMPTY=\nOUTDIR = $(X)\\obj \"q\"\nCFLAGS = second\n", 4);
    EXPECT_EQ(macros[0].name, "CFLAGS");
    EXPECT_EQ(macros[0].value, "-a = b  ");
    EXPECT_EQ(macros[1].name, "EMPTY");
    EXPECT_EQ(macros[1].value, "");
    EXPECT_EQ(FindMakefileMacro(macros, "OUTDIR"), "$(X)\\obj \"q\"");
    EXPECT_EQ(FindMakefileMacro(macros, "CFLAGS"), "-a = b  ");  // the first definition counts
    EXPECT_EQ(FindMakefileMacro(macros, "outdir"), "");          // case matters
}

TEST_F(ProjectReaderTest, CommentsAndContinuationsJoinLogicalLines) {
    // The continuation skips a comment and an empty line and keeps its blanks.
    auto macros = read("A = one \\\n# note\n\n   two\nB = 2\n", 2);
    EXPECT_EQ(macros[0].value, "one    two");
    EXPECT_EQ(macros[1].value, "2");

    // A "#" only comments in the first column; a line of blanks ends the block.
    macros = read("A = 1\n #X = 2\n   \nB = 3\n", 2);
    EXPECT_EQ(macros[1].name, "#X");

    // The file ending after a backslash keeps it; a line joined with a rule
    // line holds "=" and so is a definition.
    macros = read("A = x\\\n", 1);
    EXPECT_EQ(macros[0].value, "x\\");
    macros = read("A = x\\\nall: y\nB = z\n", 2);
    EXPECT_EQ(macros[0].value, "xall: y");
}

// Under Shift-JIS "表" (0x95 0x5C) at a line end is a whole character, no
// backslash: the line is not continued and the next definition stays.
TEST_F(ProjectReaderTest, ShiftJisTrailByteAtTheLineEndContinuesNothing) {
    const std::string hyo = "\x95\x5C";
    const std::string path = write("PROGRAM = " + hyo + "\nCC = cl\nOUTDIR = " + hyo + "\\\nobj\n");
    MakefileMacros macros;
    ASSERT_EQ(ReadMakefileMacros(path, macros, ui_, common::CodePage::ShiftJis), 3);
    EXPECT_EQ(FindMakefileMacro(macros, "PROGRAM"), hyo);
    EXPECT_EQ(FindMakefileMacro(macros, "CC"), "cl");
    // A backslash after the character still continues.
    EXPECT_EQ(GetMakefileMacro(path, "OUTDIR", ui_, common::CodePage::ShiftJis), hyo + "obj");
    Project project;
    ASSERT_TRUE(LoadProject(project, path, ui_, common::CodePage::ShiftJis));
    EXPECT_EQ(project.projectName, hyo);
    EXPECT_EQ(project.targetName, hyo + ".exe");
}

TEST_F(ProjectReaderTest, LongLinesAreReadInPiecesWithinTheBuffer) {
    // The first 4096 bytes are one line; the rest, without "=", ends the block.
    const std::string value(5000, 'v');
    auto macros = read("LONG = " + value + "\nNEXT = 1\n", 1);
    EXPECT_EQ(macros[0].value, value.substr(0, 4096 - 7));

    // The rest of a long line is a line of its own when it holds "=".
    macros = read("A = " + std::string(4092, 'a') + "B = c\n", 2);
    EXPECT_EQ(macros[1].name, "B");

    // A continuation gets only the room left in the buffer.
    const std::string head = "A = " + std::string(4000, 'a') + "\\\n";
    macros = read(head + "  " + std::string(200, 'b') + "\n", 1);
    EXPECT_EQ(macros[0].value.size(), 4095u - 4);
}

TEST_F(ProjectReaderTest, MakefileOfTheRealGenerator) {
    const fs::path generator = TestProgram("depmill");
    if (!fs::exists(generator)) GTEST_SKIP() << "depmill is not built beside the tests";
    std::ofstream(folder_ / "main.c") << "int main(void) { return 0; }\n";
    RemoveEnvironment("DEPMILLOPT");
    const std::unique_ptr<ChildProcesses> processes = CreateSystemChildProcesses();
    const RunServices services{ui_, *processes, common::CodePage::Utf8};
    const Tool run{"",
                   "\"" + generator.string() + "\"",
                   "-t1 -l -o tool.lib -O obj -ml",
                   folder_.string(),
                   true,
                   true};
    ASSERT_EQ(RunCaptured(run, nullptr, services, false).code, kRunSucceeded);
    Project project;
    ASSERT_TRUE(LoadProject(project, (folder_ / "makefile").string(), ui_));
    EXPECT_EQ(project.projectName, "tool");
    EXPECT_EQ(project.targetName, "tool.lib");
    EXPECT_EQ(project.targetType, 1);
    EXPECT_EQ(project.memoryModel, 3);
    EXPECT_EQ(GetMakefileMacro((folder_ / "makefile").string(), "OUTDIR", ui_), "obj");
}

TEST(ProjFolders, FolderAndNameComeFromThePath) {
    const MakefileMacros macros{{"PROGRAM", "$(OUTDIR)\\hello.exe"}};
    const std::pair<const char*, const char*> cases[] = {
        {"C:\\WORK\\HELLO\\MAKEFILE", "C:\\WORK\\HELLO"},
        {"C:\\makefile", "C:\\"},
        {"makefile", ""}};
    for (const auto& [path, folder] : cases) {
        Project project;
        ApplyMakefileMacros(project, path, macros, common::CodePage::Utf8);
        EXPECT_EQ(project.projectFolder, folder) << path;
        EXPECT_EQ(project.projectFile, path);
    }
    // A Shift-JIS character whose trail byte is 0x5C separates nothing.
    Project project;
    ApplyMakefileMacros(project, "C:\\\x95\x5C\\makefile", {{"PROGRAM", "\x95\x5C.exe"}},
                        common::CodePage::ShiftJis);
    EXPECT_EQ(project.projectName, "\x95\x5C");
    EXPECT_EQ(project.projectFolder, "C:\\\x95\x5C");
}

TEST(ProjModels, CodesLettersAndListItems) {
    const char letters[] = "smclh";
    for (int code = 0; code < 5; ++code) {
        EXPECT_EQ(ModelLetter(code), letters[code]);
        EXPECT_EQ(ModelFromLetter(letters[code]), code);
        EXPECT_EQ(ModelFromLetter(static_cast<char>(letters[code] - 'a' + 'A')), code);
        EXPECT_EQ(ModelFromIndex(code), code);
        EXPECT_EQ(IndexFromModel(code), code);
    }
    for (int outside : {-1, 5, 255}) {
        EXPECT_EQ(ModelLetter(outside), 's');
        EXPECT_EQ(ModelFromIndex(outside), 0);
        EXPECT_EQ(IndexFromModel(outside), 0);
    }
    EXPECT_EQ(ModelFromLetter('\0'), 0);
    EXPECT_STREQ(kModelItemTexts[1], "M - Meadium model");
    EXPECT_STREQ(kModelItemTexts[4], "H - Hude model");

    Project project = {"n", "f", "d", "t", 1, 3, 1};
    ResetProject(project);
    EXPECT_TRUE(project.projectName.empty() && project.projectFile.empty() &&
                project.projectFolder.empty() && project.targetName.empty());
    EXPECT_EQ(project.targetType + project.memoryModel + project.database, 0);
}

}  // namespace
