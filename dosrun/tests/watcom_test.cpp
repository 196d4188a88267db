// dosrun with a genuine DOS toolchain: the DOS-hosted Open Watcom tools,
// whose make runs the compiler and the linker inside the same DOSBox and
// writes its own messages to standard error. The tools are found through
// WATCOM, else in ../shared/toolchains/openwatcom beside the project.
#include <cctype>
#include <chrono>
#include <cstdlib>
#include <thread>

#include "dosrunfixture.h"

using namespace std::chrono_literals;

namespace {

fs::path watcomFolder() {
    const char* watcom = std::getenv("WATCOM");
    if (watcom != nullptr && *watcom != '\0') return watcom;
    return fs::path(VANTOR_SOURCE_DIR) / ".." / "shared" / "toolchains" / "openwatcom";
}

// A file that DOS made, in whatever letter case.
bool existsInAnyCase(const fs::path& folder, const std::string& name) {
    for (const auto& entry : fs::directory_iterator(folder)) {
        std::string found = entry.path().filename().string();
        for (char& c : found) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        if (found == name) return true;
    }
    return false;
}

class DosrunWatcom : public Dosrun {
  protected:
    void SetUp() override {
        Dosrun::SetUp();
        if (IsSkipped()) return;
        const fs::path watcom = watcomFolder();
        if (!fs::exists(watcom / "binw" / "wmake.exe"))
            GTEST_SKIP() << "no DOS-hosted Open Watcom tools in " << watcom
                         << " (set WATCOM to their folder)";
        toolchain = {"-d", "D=" + fs::canonical(watcom).string(),
                     "-p", "D:\\BINW;Z:\\",
                     "-e", "WATCOM=D:\\",
                     "-e", "INCLUDE=D:\\H",
                     "-e", "DOS32A=/NOWARN:9003",
                     "-t", "120"};
        writeFile(project / "main.c",
                  "#include <stdio.h>\nint util(void);\n"
                  "int main(void) { printf(\"hello %d\\n\", util()); return 0; }\n");
        writeFile(project / "util.c", "int util(void) { return 42; }\n");
        writeFile(project / "makefile.wat",
                  "hello.exe: main.obj util.obj\n\twlink op q system dos name hello.exe file "
                  "main.obj,util.obj\n\n"
                  "main.obj: main.c\n\twcc -q -ml -bt=dos main.c -fo=main.obj\n\n"
                  "util.obj: util.c\n\twcc -q -ml -bt=dos util.c -fo=util.obj\n");
    }
    DosrunResult withToolchain(const std::vector<std::string>& command) {
        std::vector<std::string> arguments = toolchain;
        arguments.insert(arguments.end(), command.begin(), command.end());
        return run(arguments);
    }
    DosrunResult wmake() { return withToolchain({"wmake", "-h", "-f", "makefile.wat"}); }

    std::vector<std::string> toolchain;
};

TEST_F(DosrunWatcom, MakeBuildsAndACompileErrorIsShownWithWmakesOwnLinesAndNoQuestionWaited) {
    auto result = wmake();
    ASSERT_EQ(result.status, 0) << result.out << result.err;
    EXPECT_NE(result.out.find("wlink op q system dos"), std::string::npos) << result.out;
    ASSERT_TRUE(existsInAnyCase(project, "HELLO.EXE"));
    result = withToolchain({"HELLO"});
    EXPECT_EQ(result.out, "hello 42\n");
    EXPECT_EQ(result.status, 0);

    // DOS file times step by two seconds: a change within the same two
    // seconds as the object would be taken for up to date.
    std::this_thread::sleep_for(2100ms);
    writeFile(project / "util.c", "int util(void) { return x; }\n");
    // util.obj exists: wmake asks whether to delete it, and reads no answer.
    const auto started = std::chrono::steady_clock::now();
    result = wmake();
    EXPECT_LT(std::chrono::steady_clock::now() - started, 60s);
    EXPECT_EQ(result.status, 2) << result.err;
    EXPECT_NE(result.out.find("util.c(1): Error! E1011: Symbol 'x' has not been declared\n"),
              std::string::npos)
        << result.out;
    EXPECT_NE(result.out.find("[Yes/No] ?"), std::string::npos) << result.out;
    EXPECT_NE(result.err.find("Error(E42): Last command making (util.obj) returned a bad status\n"),
              std::string::npos)
        << result.err;

    result = withToolchain({"wmake", "-h", "nosuch"});
    EXPECT_EQ(result.status, 4);
    EXPECT_NE(result.err.find("Error(F38): (nosuch) does not exist"), std::string::npos)
        << result.err;
}

// Each run starts a DOS-extended make, and with it the extender, in a
// fresh DOSBox: every one of them ends with make's own status.
TEST_F(DosrunWatcom, FortyRunsInARowEndWithMakesStatus) {
    ASSERT_EQ(wmake().status, 0);
    for (int run = 0; run < 40; ++run) {
        const auto result = wmake();
        ASSERT_EQ(result.status, 0) << "run " << run << ": " << result.err;
        EXPECT_EQ(result.err, "");
    }
}

}  // namespace
