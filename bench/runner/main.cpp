// How fast RunCaptured turns a child's output into lines: a child that writes
// 200,000 compiler-style lines as fast as it can (cat of a generated file),
// compared with cat into /dev/null, and the peak memory of the run.
// Usage: bench_runner [lines]   (run from any folder; uses a temporary one)
#include <malloc.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "childprocess.h"
#include "runner.h"

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

struct VectorLines : OutputLines {
    void append(OutputLine line) override { lines.push_back(std::move(line.text)); }
    std::vector<std::string> lines;
};

long PeakKiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// Writes the sample output and returns its size in bytes.
std::size_t WriteSample(const fs::path& path, long lines) {
    std::ofstream out(path, std::ios::binary);
    // Warnings only, so that every line is classified; the error comes last.
    static const char* const kinds[] = {"warning C4101: 'x' : unreferenced local variable",
                                        "warning C4013: 'printf' undefined; assuming extern",
                                        "error C2065: 'count' : undeclared identifier"};
    for (long i = 0; i < lines; ++i) {
        char line[160];
        std::snprintf(line, sizeof line, "src/module_%03ld.c(%ld) : %s\n", i % 1000, i % 5000 + 1,
                      kinds[i + 1 == lines ? 2 : i % 2]);
        out << line;
    }
    out.flush();
    return static_cast<std::size_t>(out.tellp());
}

template <typename Work>
double BestSeconds(int rounds, Work work) {
    double best = 1e9;
    for (int i = 0; i < rounds; ++i) {
        const auto start = Clock::now();
        work();
        best = std::min(best, std::chrono::duration<double>(Clock::now() - start).count());
    }
    return best;
}

}  // namespace

int main(int argc, char** argv) {
    const long lineCount = argc > 1 ? std::atol(argv[1]) : 200000;
    const fs::path folder =
        fs::temp_directory_path() / ("vantor-bench-runner-" + std::to_string(::getpid()));
    fs::create_directories(folder);
    const std::size_t fileBytes = WriteSample(folder / "output.txt", lineCount);

    const double catSeconds = BestSeconds(5, [&] {
        const std::string command = "cat '" + (folder / "output.txt").string() + "' > /dev/null";
        if (std::system(command.c_str()) != 0) std::fprintf(stderr, "cat failed\n");
    });

    QuietUi ui;
    const std::unique_ptr<ChildProcesses> processes = CreateSystemChildProcesses();
    const RunServices services{ui, *processes, common::CodePage::Utf8};
    Tool tool;
    tool.command = "cat output.txt";
    tool.folder = folder.string();

    const long baseKiB = PeakKiB();
    std::size_t received = 0;
    std::size_t lineBytes = 0;  // what the lines themselves take: objects and text
    std::size_t heapBytes = 0;  // the same with the allocator's rounding and block headers
    int result = 0;
    const double runSeconds = BestSeconds(5, [&] {
        VectorLines out;
        out.lines.reserve(static_cast<std::size_t>(lineCount));
        result = RunCaptured(tool, &out, services, false).code;
        received = out.lines.size();
        lineBytes = out.lines.capacity() * sizeof(std::string);
        heapBytes = malloc_usable_size(out.lines.data());
        for (const auto& line : out.lines) {
            if (line.capacity() <= 15) continue;  // kept inside the object
            lineBytes += line.capacity() + 1;
            heapBytes += malloc_usable_size(const_cast<char*>(line.data())) + sizeof(void*);
        }
    });
    const long peakKiB = PeakKiB();
    fs::remove_all(folder);

    std::printf("lines: %zu of %ld (%.1f MB), result %d\n", received, lineCount, fileBytes / 1e6,
                result);
    std::printf("RunCaptured: %.3f s, %.0f lines/s\n", runSeconds, received / runSeconds);
    std::printf("cat > /dev/null: %.3f s; RunCaptured takes %.1f times as long\n", catSeconds,
                runSeconds / catSeconds);
    const double grownMiB = (peakKiB - baseKiB) / 1024.0;
    std::printf("peak memory: %.1f MB over a base of %.1f MB\n", grownMiB, baseKiB / 1024.0);
    std::printf("the lines need %.1f MB (%.2fx of it), %.1f MB as allocated blocks (%.2fx)\n",
                lineBytes / 1048576.0, grownMiB * 1048576.0 / static_cast<double>(lineBytes),
                heapBytes / 1048576.0, grownMiB * 1048576.0 / static_cast<double>(heapBytes));
    return received == static_cast<std::size_t>(lineCount) ? 0 : 1;
}
