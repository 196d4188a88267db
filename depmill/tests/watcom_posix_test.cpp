// Makefiles of toolchain 3 built by the real Open Watcom toolchain: the
// sample in every memory model with the Linux-hosted tools under make, its
// programs run in DOSBox through the real dosrun; what make rebuilds and what
// clean removes; a library made by wlib; a C++ source; forty sources through
// the directive file; the same makefile under the Linux-hosted wmake and,
// with the DOS-hosted tools, under wmake inside DOSBox.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "programfolder.h"
#include "tempfolder.h"
#include "watcomtoolchain.h"

namespace {

namespace fs = std::filesystem;

struct Shell {
    std::string output;  // standard output and standard error, merged
    int status = -1;
};

// Runs the command through /bin/sh in the folder, with the toolchain's
// environment.
Shell run(const WatcomToolchain& toolchain, const fs::path& folder, const std::string& command) {
    const std::string line =
        "cd '" + folder.string() + "' && " + toolchain.shellExports() + command + " 2>&1";
    Shell result;
    FILE* child = popen(line.c_str(), "r");
    if (child == nullptr) return result;
    char buffer[4096];
    for (std::size_t got; (got = fread(buffer, 1, sizeof buffer, child)) > 0;)
        result.output.append(buffer, got);
    const int status = pclose(child);
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

std::string depmill() {
    return "'" DEPMILL_PATH "'";
}

std::string dosrun() {
    return "'" + TestProgram("dosrun").string() + "'";
}

std::string readFile(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeFile(const fs::path& file, const std::string& text) {
    fs::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << text;
}

// The lines of the output that start with one of the tools' names.
std::vector<std::string> toolLines(const std::string& output) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < output.size()) {
        std::size_t end = output.find('\n', start);
        if (end == std::string::npos) end = output.size();
        const std::string line = output.substr(start, end - start);
        for (const char* tool : {"wcc ", "wpp ", "wasm ", "wlink ", "wlib "})
            if (line.starts_with(tool)) lines.push_back(line);
        start = end + 1;
    }
    return lines;
}

// What the sample prints in DOSBox for the pointer sizes of its model.
std::string sampleOutput(int codePointer, int dataPointer) {
    return "Hello from Open Watcom!\nMS-DOS 5.00\ncode pointers " + std::to_string(codePointer) +
           " bytes, data pointers " + std::to_string(dataPointer) + " bytes\n";
}

class WatcomBuild : public testing::Test {
  protected:
    void SetUp() override {
        const std::optional<WatcomToolchain> found = FindWatcom();
        if (!found) GTEST_SKIP() << kNoWatcom;
        toolchain_ = *found;
    }

    // The sample project copied into the folder, its object folder made as
    // Vantor makes it before a build.
    fs::path copySample(const std::string& name) const {
        const fs::path project = work_.path() / name;
        fs::copy(fs::path(VANTOR_SOURCE_DIR) / "examples" / "watcom-hello", project,
                 fs::copy_options::recursive);
        fs::create_directory(project / "obj");
        return project;
    }

    Shell in(const fs::path& folder, const std::string& command) const {
        return run(toolchain_, folder, command);
    }

    // depmill and make, each expected to succeed.
    void generateAndMake(const fs::path& project, const std::string& options) const {
        const Shell generated = in(project, depmill() + " " + options);
        ASSERT_EQ(generated.status, 0) << generated.output;
        const Shell made = in(project, "make");
        ASSERT_EQ(made.status, 0) << made.output;
    }

    WatcomToolchain toolchain_;
    TempFolder work_{"watcom-test-"};
};

// One makefile per model from the sample's own, each program run in one
// DOSBox session: the pointer sizes show the model reached every compile.
TEST_F(WatcomBuild, EveryMemoryModelBuildsAndRuns) {
    struct Model {
        char letter;
        int code;
        int data;
    };
    const Model models[] = {{'s', 2, 2}, {'m', 4, 2}, {'c', 2, 4}, {'l', 4, 4}, {'h', 4, 4}};
    std::string batch = "@ECHO OFF\r\n";
    std::string expected;
    for (const Model& model : models) {
        const std::string letter(1, model.letter);
        SCOPED_TRACE(letter);
        const fs::path project = copySample(letter);
        generateAndMake(project, "-t3 -m" + letter);
        EXPECT_NE(readFile(project / "makefile").find("\nMODEL\t= " + letter + "\n"),
                  std::string::npos);
        EXPECT_NE(readFile(project / "makefile").find("\nPROGRAM\t= hello.exe\n"),
                  std::string::npos);
        ASSERT_TRUE(fs::is_regular_file(project / "hello.exe"));
        batch += letter + "\\HELLO.EXE\r\n";
        expected += sampleOutput(model.code, model.data);
    }
    writeFile(work_.path() / "models.bat", batch);
    const Shell ran = in(work_.path(), dosrun() + " models.bat");
    EXPECT_EQ(ran.status, 0);
    EXPECT_EQ(ran.output, expected);
}

// make after make does nothing; a header touched rebuilds exactly the
// sources that include it, then the program.
TEST_F(WatcomBuild, MakeRebuildsWhatAHeaderReaches) {
    const fs::path project = copySample("hello");
    generateAndMake(project, "-t3");
    const Shell again = in(project, "make");
    EXPECT_EQ(again.status, 0);
    EXPECT_EQ(again.output, "make: Nothing to be done for 'all'.\n");

    fs::last_write_time(project / "greet.h", fs::file_time_type::clock::now());
    const Shell rebuilt = in(project, "make");
    EXPECT_EQ(rebuilt.status, 0) << rebuilt.output;
    EXPECT_EQ(toolLines(rebuilt.output),
              (std::vector<std::string>{"wcc -q -bt=dos -ml -w4 -ox -fo=\"obj/greet.obj\" greet.c",
                                        "wcc -q -bt=dos -ml -w4 -ox -fo=\"obj/main.obj\" main.c",
                                        "wlink system dos op q @link.cc"}))
        << rebuilt.output;
}

// clean removes the objects and the directive file, and says nothing when
// they are gone already.
TEST_F(WatcomBuild, CleanRemovesObjectsAndTheDirectiveFile) {
    const fs::path project = copySample("hello");
    generateAndMake(project, "-t3");
    ASSERT_TRUE(fs::exists(project / "link.cc"));
    const Shell clean = in(project, "make clean");
    EXPECT_EQ(clean.status, 0) << clean.output;
    EXPECT_TRUE(fs::is_empty(project / "obj"));
    EXPECT_FALSE(fs::exists(project / "link.cc"));
    const Shell again = in(project, "make clean");
    EXPECT_EQ(again.status, 0);
    EXPECT_EQ(again.output.find("rror"), std::string::npos) << again.output;
}

// A library made by wlib from its response file, then named in a program's
// LIBS: the program's makefile links it with a library directive.
TEST_F(WatcomBuild, LibraryFromWlibLinksIntoAProgram) {
    const fs::path library = work_.path() / "greetlib";
    writeFile(library / "greet.h", "void greet(const char *who);\nint greetings(void);\n");
    writeFile(library / "greet.c",
              "#include <stdio.h>\n#include \"greet.h\"\n"
              "void greet(const char *who) { printf(\"Hello from %s!\\n\", who); }\n");
    writeFile(library / "count.c", "#include \"greet.h\"\nint greetings(void) { return 1; }\n");
    generateAndMake(library, "-t3 -l -o greet.lib");
    ASSERT_TRUE(fs::is_regular_file(library / "greet.lib"));
    EXPECT_TRUE(fs::is_regular_file(library / "makelib.lbc"));

    const fs::path program = work_.path() / "prog";
    writeFile(program / "main.c",
              "#include \"greet.h\"\nint main(void) { greet(\"a library\"); return greetings(); "
              "}\n");
    writeFile(program / "makefile", "CC\t= wcc\nLIBS\t= " + (library / "greet.lib").string() +
                                        "\nPROGRAM\t= prog.exe\n\nall: $(PROGRAM)\n");
    generateAndMake(program, "-I" + library.string());
    EXPECT_NE(readFile(program / "link.cc").find("library { " + (library / "greet.lib").string()),
              std::string::npos);
    const Shell ran = in(program, dosrun() + " prog.exe");
    EXPECT_EQ(ran.output, "Hello from a library!\n");
    EXPECT_EQ(ran.status, 1);  // greetings()
}

// A C++ source goes to wpp through CXX; wlink takes the C++ library the
// objects ask for.
TEST_F(WatcomBuild, CppSourceCompiledByWpp) {
    if (!toolchain_.hasLinuxTool("wpp"))
        GTEST_SKIP() << "this copy of the toolchain has no Linux-hosted wpp";
    const fs::path project = work_.path() / "cpp";
    writeFile(project / "count.h", "#ifdef __cplusplus\nextern \"C\"\n#endif\nint count(void);\n");
    writeFile(project / "count.cpp",
              "#include \"count.h\"\nclass Counter {\n  public:\n    Counter() : n(3) {}\n"
              "    int n;\n};\nint count(void) { Counter c; return c.n; }\n");
    writeFile(project / "main.c",
              "#include <stdio.h>\n#include \"count.h\"\n"
              "int main(void) { printf(\"%d\\n\", count()); return 0; }\n");
    generateAndMake(project, "-t3 -o cpp.exe");
    EXPECT_NE(
        readFile(project / "makefile").find("\n\t$(CXX) $(CFLAGS) -fo=\"count.obj\" count.cpp\n"),
        std::string::npos);
    const Shell ran = in(project, dosrun() + " cpp.exe");
    EXPECT_EQ(ran.output, "3\n");
}

// More objects than a DOS command line can name go to wlink through the
// directive file, one "file" line per group.
TEST_F(WatcomBuild, FortySourcesLinkThroughTheDirectiveFile) {
    const fs::path project = work_.path() / "forty";
    std::string declarations;
    std::string sum;
    for (int n = 1; n <= 40; ++n) {
        const std::string name = "part" + std::to_string(n);
        writeFile(project / (name + ".c"),
                  "int " + name + "(void) { return " + std::to_string(n) + "; }\n");
        declarations += "int " + name + "(void);\n";
        sum += (n > 1 ? " + " : "") + name + "()";
    }
    writeFile(project / "main.c", "#include <stdio.h>\n" + declarations +
                                      "int main(void) { printf(\"%d\\n\", " + sum +
                                      "); return 0; }\n");
    fs::create_directory(project / "obj");
    generateAndMake(project, "-t3 -O obj -o forty.exe");
    const std::string directives = readFile(project / "link.cc");
    EXPECT_TRUE(directives.starts_with("name forty.exe\nfile { obj/main.obj obj/part1.obj "))
        << directives;
    std::size_t fileLines = 0;
    for (std::size_t at = 0; (at = directives.find("\nfile { ", at)) != std::string::npos; ++at)
        ++fileLines;
    EXPECT_EQ(fileLines, 14u) << directives;  // three objects to a group
    EXPECT_GT(directives.size(), 126u * 3);   // the objects' names alone
    EXPECT_NE(directives.find(" obj/part40.obj "), std::string::npos);
    const Shell ran = in(project, dosrun() + " forty.exe");
    EXPECT_EQ(ran.output, "820\n");
    EXPECT_EQ(ran.status, 0);
}

// The same makefile under the Linux-hosted wmake, which needs -c for a
// clean that leaves no file named clean behind.
TEST_F(WatcomBuild, LinuxHostedWmakeBuildsTheSameProgram) {
    if (!toolchain_.hasLinuxTool("wmake"))
        GTEST_SKIP() << "this copy of the toolchain has no Linux-hosted wmake";
    const fs::path project = copySample("hello");
    generateAndMake(project, "-t3");
    const std::string byMake = readFile(project / "hello.exe");
    const Shell clean = in(project, "wmake -h -c clean");
    ASSERT_EQ(clean.status, 0) << clean.output;
    fs::remove(project / "hello.exe");
    const Shell built = in(project, "wmake -h");
    ASSERT_EQ(built.status, 0) << built.output;
    EXPECT_EQ(readFile(project / "hello.exe"), byMake);
    EXPECT_EQ(in(project, "wmake -h").output, "");  // nothing to do
}

// The DOS-hosted tools inside DOSBox, the whole make there with wmake:
// the program it links is the one the Linux-hosted tools link.
TEST_F(WatcomBuild, DosHostedToolsInsideDosboxBuildTheSameProgram) {
    if (std::system("command -v dosbox >/dev/null") != 0) GTEST_SKIP() << "needs dosbox";
    const fs::path project = copySample("hello");
    generateAndMake(project, "-t3");
    const std::string native = readFile(project / "hello.exe");
    ASSERT_EQ(in(project, "make clean && rm hello.exe").status, 0);

    const fs::path config = work_.path() / "config";
    writeFile(config / "vantor" / "dosrun.conf", toolchain_.dosrunSettings() + "timeout = 300\n");
    const Shell built =
        in(project, "XDG_CONFIG_HOME='" + config.string() + "' " + dosrun() + " wmake -h -e");
    ASSERT_EQ(built.status, 0) << built.output;
    EXPECT_NE(built.output.find("wcc -q -bt=dos -ml -w4 -ox -fo=\"obj/main.obj\" main.c"),
              std::string::npos)
        << built.output;
    // DOSBox writes the names it creates in capitals.
    EXPECT_EQ(readFile(project / "HELLO.EXE"), native);
    const Shell ran = in(project, dosrun() + " hello.exe");
    EXPECT_EQ(ran.output, sampleOutput(4, 4));
}

}  // namespace
