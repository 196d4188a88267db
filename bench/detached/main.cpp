// What a detached start costs while the IDE holds much memory: 100 starts
// of `true` with a small process, then again with 500 MB allocated and
// touched (about what a long build's output makes resident).
// Usage: bench_detached [megabytes]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "childprocess.h"

using Clock = std::chrono::steady_clock;

namespace {

constexpr int kStarts = 100;

// Milliseconds per start, the median of kStarts.
double MedianStartMs(ChildProcesses& processes, int& failures) {
    std::vector<double> times;
    for (int i = 0; i < kStarts; ++i) {
        const auto begin = Clock::now();
        if (!processes.startDetached("true", "", false)) ++failures;
        times.push_back(std::chrono::duration<double, std::milli>(Clock::now() - begin).count());
    }
    std::nth_element(times.begin(), times.begin() + kStarts / 2, times.end());
    return times[kStarts / 2];
}

}  // namespace

int main(int argc, char** argv) {
    const std::size_t megabytes = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 500;
    const std::unique_ptr<ChildProcesses> processes = CreateSystemChildProcesses();
    int failures = 0;
    const double small = MedianStartMs(*processes, failures);

    const std::size_t bytes = megabytes << 20;
    const std::unique_ptr<char[]> resident(new char[bytes]);
    std::memset(resident.get(), 1, bytes);  // every page touched, so resident
    const double large = MedianStartMs(*processes, failures);

    std::printf("startDetached(\"true\"), median of %d: %.3f ms small, %.3f ms with %zu MB\n",
                kStarts, small, large, megabytes);
    std::printf("failed starts: %d (checksum %d)\n", failures, resident[bytes / 2]);
    return failures == 0 ? 0 : 1;
}
