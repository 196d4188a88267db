// The lines the real Open Watcom tools print, captured here from broken
// sources, a missing symbol, a missing object and a broken makefile, each
// read by the built-in forms: the Linux-hosted tools, and the DOS-hosted
// ones inside DOSBox, whose DOS file names lead through dosrun's drives to
// the host file.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "commandoutput.h"
#include "dosdrivefile.h"
#include "messageline.h"
#include "programfolder.h"
#include "tempconfighome.h"
#include "tempfolder.h"
#include "watcomtoolchain.h"

namespace {

namespace fs = std::filesystem;

constexpr char kBrokenC[] =
    "int f(int a)\n{\n    int unused;\n    return x;\n}\nint g(void) { return f(1) }\n";
// An unused static, unused locals and a pointer put into a char.
constexpr char kWarnedC[] =
    "static int s(void) { return 1; }\nint h(void) { int a; return 0; }\n"
    "void k(int *p) { char c = p; }\n";

// One message as read: its kind, file, line, column and number.
std::string describe(const MessageReading& m) {
    const char* kind = m.kind == LineKind::Error     ? "error"
                       : m.kind == LineKind::Warning ? "warning"
                                                     : "note";
    return std::string(kind) + " [" + m.file + "] " + std::to_string(m.line) + ":" +
           std::to_string(m.column) + " " + m.number;
}

// The readings of every line read as a message, in a fixed order: the
// tools' standard output and standard error meet in one pipe in an order
// of their own.
std::vector<std::string> messagesOf(const std::vector<std::string>& lines) {
    std::vector<std::string> messages;
    for (const std::string& line : lines) {
        if (const auto reading = BuiltInMessageReader(common::CodePage::Utf8).read(line))
            messages.push_back(describe(*reading));
    }
    std::sort(messages.begin(), messages.end());
    return messages;
}

std::vector<std::string> sorted(std::vector<std::string> texts) {
    std::sort(texts.begin(), texts.end());
    return texts;
}

class WatcomLines : public testing::Test {
  protected:
    void SetUp() override {
        const auto found = FindWatcom();
        if (!found) GTEST_SKIP() << kNoWatcom;
        toolchain_ = *found;
        write("bad.c", kBrokenC);
        write("warn.c", kWarnedC);
        write("bad.cpp", "int main() { return y; }\n");
        write("bad.asm", ".model small\n.code\n  mov ax, [\n  foo bar\nend\n");
        write("m.c", "int g(void);\nint main(void) { return g(); }\n");
        write("g.c", "int g(void) { return 1; }\n");
    }

    void write(const std::string& name, const std::string& text) const {
        std::ofstream(work_.path() / name, std::ios::binary) << text;
    }

    std::string folder() const { return work_.path().string(); }

    // The lines the command prints, run in the folder with the toolchain's
    // environment.
    std::vector<std::string> linesOf(const std::string& command) const {
        return CommandOutputLines("cd '" + folder() + "' && " + toolchain_.shellExports() +
                                  command + " 2>&1");
    }

    WatcomToolchain toolchain_;
    TempFolder work_{"watcom-lines-"};
};

TEST_F(WatcomLines, EveryLineOfTheLinuxHostedTools) {
    const std::string m = folder() + "/m.c";
    struct ToolCase {
        const char* what;
        std::string command;
        std::vector<std::string> messages;
        const char* tool = nullptr;  // a Linux-hosted tool not every copy has
    };
    const ToolCase cases[] = {
        {"wcc: errors and a warning",
         "wcc -q -w4 -ml -bt=dos -fo=bad.obj bad.c",
         {"error [bad.c] 4:0 E1011", "warning [bad.c] 3:0 W202", "error [bad.c] 6:0 E1009"}},
        {"wcc: warnings and their notes",
         "wcc -q -w4 -fo=warn.obj warn.c",
         {"warning [warn.c] 2:0 W202", "warning [warn.c] 3:0 W102", "note [warn.c] 3:0 N2003",
          "note [warn.c] 3:0 N2004", "warning [warn.c] 3:0 W202", "warning [warn.c] 1:0 W202"}},
        {"wpp: the column in the message",
         "wpp -q -fo=bad.obj bad.cpp",
         {"error [bad.cpp] 1:21 E029"},
         "wpp"},
        {"wasm",
         "wasm -q -fo=bada.obj bad.asm",
         {"error [bad.asm] 3:0 E066", "error [bad.asm] 4:0 E032"}},
        // The missing symbol names no file; the line after it names the
        // source that refers to it.
        {"wlink: an undefined symbol",
         "wcc -q -fo=m.obj m.c && wlink op q system dos name a.exe file m.obj",
         {"error [] 0:0 E2028", "note [" + m + "] 0:0 "}},
        // Its banner and progress lines are no messages.
        {"wlink: a symbol defined twice, with the banner",
         "wcc -q -fo=g.obj g.c && wlink system dos name a.exe file m.obj,g.obj,g.obj",
         {"warning [] 0:0 W1027"}},
        {"wlink: a missing object",
         "wlink op q system dos name a.exe file m.obj,nothere.obj",
         {"error [] 0:0 E2008"}},
        {"wlib: a missing object", "wlib -q -n x.lib missing.obj", {"error [] 0:0 "}},
        {"wmake: a command that fails",
         "printf 'all: bad.obj\\n\\nbad.obj: bad.c\\n\\twcc -q "
         "-w4 -fo=bad.obj bad.c\\n' >wm1 && wmake -h -f wm1",
         {"error [bad.c] 4:0 E1011", "warning [bad.c] 3:0 W202", "error [bad.c] 6:0 E1009",
          "error [] 0:0 E42", "error [] 0:0 E02"},
         "wmake"},
        {"wmake: lines it cannot read",
         "printf 'all:\\n\\n.SYMBOLIC:\\n' >wm2 && wmake -h -f wm2",
         {"error [wm2] 3:0 E09", "warning [wm2] 3:0 W79", "error [wm2] 3:0 E09",
          "warning [wm2] 3:0 W79", "error [] 0:0 E02"},
         "wmake"},
    };
    std::string missing;
    for (const ToolCase& c : cases) {
        SCOPED_TRACE(c.what);
        if (c.tool != nullptr && !toolchain_.hasLinuxTool(c.tool)) {
            missing += std::string(" ") + c.what;
            continue;
        }
        const std::vector<std::string> lines = linesOf(c.command);
        std::string all;
        for (const std::string& line : lines) all += line + "\n";
        EXPECT_EQ(messagesOf(lines), sorted(c.messages)) << all;
    }
    if (!missing.empty()) GTEST_SKIP() << "this copy lacks the tool of:" << missing;
}

// Inside DOSBox the tools name a source given with its drive in DOS form;
// the message leads to the host file through dosrun's drives (drive C: the
// folder dosrun runs in). wmake's own lines come on DOS's standard error.
TEST_F(WatcomLines, TheDosHostedToolsInsideDosbox) {
    if (std::system("command -v dosbox >/dev/null") != 0) GTEST_SKIP() << "needs dosbox";
    TempConfigHome home;
    fs::create_directories(home.root() / "vantor");
    std::ofstream(home.root() / "vantor" / "dosrun.conf") << toolchain_.dosrunSettings();
    write("wm1", "all: bad.obj\r\n\r\nbad.obj: bad.c\r\n\twcc -q -w4 -fo=bad.obj bad.c\r\n");
    write("tools.bat",
          "@ECHO OFF\r\nwcc -q -w4 C:\\BAD.C\r\nwcc -q C:\\M.C\r\n"
          "wlink op q system dos name a.exe file m.obj\r\nwlib -q -n x.lib missing.obj\r\n"
          "wpp -q bad.cpp\r\nwasm -q bad.asm\r\nwmake -h -f wm1\r\n");
    const std::vector<std::string> lines =
        linesOf("'" + TestProgram("dosrun").string() + "' tools.bat");
    std::string all;
    for (const std::string& line : lines) all += line + "\n";
    EXPECT_EQ(
        messagesOf(lines),
        sorted({"error [C:\\BAD.C] 4:0 E1011", "warning [C:\\BAD.C] 3:0 W202",
                "error [C:\\BAD.C] 6:0 E1009", "error [] 0:0 E2028", "note [C:\\M.C] 0:0 ",
                "error [] 0:0 ", "error [bad.cpp] 1:21 E029", "error [bad.asm] 3:0 E066",
                "error [bad.asm] 4:0 E032",
                // wmake: the compiler's lines, the DOS extender's notes as
                // wmake ends, its own lines on DOS's standard error
                "error [bad.c] 4:0 E1011", "warning [bad.c] 3:0 W202", "error [bad.c] 6:0 E1009",
                "note [] 0:0 9003", "note [] 0:0 9003", "error [] 0:0 E42", "error [] 0:0 E02"}))
        << all;
    for (const auto& [line, host] :
         {std::pair{"C:\\BAD.C(4): Error! E1011: x", "bad.c"},
          std::pair{"file m.obj(C:\\M.C): undefined symbol g_", "m.c"}}) {
        const auto jump = ParseMessageLine(line);
        ASSERT_TRUE(jump.has_value()) << line;
        EXPECT_EQ(HostFileOfDosDriveFile(jump->fileName, folder(), common::CodePage::Utf8),
                  (work_.path() / host).string());
    }
}

}  // namespace
