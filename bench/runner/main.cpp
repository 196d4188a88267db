// How fast RunCaptured turns a child's output into lines: cat of a file of
// compiler-style lines of 75 bytes (200,000 by default), every line split,
// decoded and read as a message, against `cat FILE > /dev/null` and
// `cat FILE | wc -l` on the same file. Best of five runs each, in wall time
// and, for RunCaptured, in the CPU time of this process.
// Usage: bench_runner [lines]   (run from any folder; uses a temporary one)
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "childprocess.h"
#include "runner.h"
#include "sample.h"
#include "textconversion.h"

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

class QuietUi : public UiServices {
  public:
    void showMessage(const UiText& text, const UiText&, MessageIcon) override {
        std::fprintf(stderr, "message: %s\n", text.bytes().c_str());
    }
    std::optional<std::string> chooseFile(const UiText&, const std::string&,
                                          const std::string&) override {
        return std::nullopt;
    }
    std::optional<FontChoice> chooseFont(const FontChoice&) override { return std::nullopt; }
    void setClipboardText(const std::string&) override {}
    void setBusyCursor(bool) override {}
    void processEvents() override {}
};

// Takes each line as a window would and lets it go.
struct CountedLines : OutputLines {
    void append(const OutputLine& line) override {
        ++lines;
        if (line.message) ++readings;
    }
    long lines = 0;
    long readings = 0;
};

double CpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto sec = [](const timeval& t) { return t.tv_sec + t.tv_usec / 1e6; };
    return sec(usage.ru_utime) + sec(usage.ru_stime);
}

struct Times {
    double wall = 1e9;
    double cpu = 1e9;
};

template <typename Work>
Times Best(int rounds, Work work) {
    Times best;
    for (int i = 0; i < rounds; ++i) {
        const auto start = Clock::now();
        const double cpuStart = CpuSeconds();
        work();
        best.wall =
            std::min(best.wall, std::chrono::duration<double>(Clock::now() - start).count());
        best.cpu = std::min(best.cpu, CpuSeconds() - cpuStart);
    }
    return best;
}

Times Shell(const std::string& command) {
    return Best(5, [&] {
        if (std::system(command.c_str()) != 0)
            std::fprintf(stderr, "failed: %s\n", command.c_str());
    });
}

}  // namespace

int main(int argc, char** argv) {
    const long lineCount = argc > 1 ? std::atol(argv[1]) : 200000;
    const fs::path folder =
        fs::temp_directory_path() / ("vantor-bench-runner-" + std::to_string(::getpid()));
    fs::create_directories(folder);
    const std::string file = (folder / "output.txt").string();
    benchsample::WriteLines(file, lineCount);

    const Times toNull = Shell("cat '" + file + "' > /dev/null");
    const Times counted = Shell("cat '" + file + "' | wc -l > /dev/null");

    QuietUi ui;
    const std::unique_ptr<ChildProcesses> processes = CreateSystemChildProcesses();
    const std::unique_ptr<TextConversion> conversion = CreateSystemTextConversion();
    RunServices services{ui, *processes, common::CodePage::Utf8};
    services.convert = conversion.get();
    Tool tool;
    tool.command = "cat output.txt";
    tool.folder = folder.string();
    CountedLines out;
    int result = 0;
    const Times run = Best(5, [&] {
        out = {};
        result = RunCaptured(tool, &out, services, false).code;
    });
    fs::remove_all(folder);

    const double perLine = 1e9 / static_cast<double>(std::max(out.lines, 1L));
    std::printf("lines: %ld of %ld, %ld read as messages, result %d\n", out.lines, lineCount,
                out.readings, result);
    std::printf("RunCaptured:        %.3f s (CPU %.3f s), %.0f ns a line (CPU %.0f ns)\n", run.wall,
                run.cpu, run.wall * perLine, run.cpu * perLine);
    std::printf("cat | wc -l:        %.3f s; RunCaptured takes %.1f times as long\n", counted.wall,
                run.wall / counted.wall);
    std::printf("cat > /dev/null:    %.3f s; RunCaptured takes %.1f times as long\n", toNull.wall,
                run.wall / toNull.wall);
    return out.lines == lineCount && out.readings == lineCount ? 0 : 1;
}
