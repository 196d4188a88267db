// How fast a build's output reaches the real output window: a build command
// that writes 200,000 compiler-style lines (cat of a generated file), run
// through the main window's Build into the output window (offscreen), against
// the runner alone collecting the same lines into a vector. Reports the
// times, their ratio, the peak memory and the longest gap between two event
// passes (how long the window could not react).
// Usage: bench_ui [lines]
#include <sys/resource.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "childprocess_system.h"
#include "fakehelpviewer.h"
#include "fakesoundplayer.h"
#include "outputwindow.h"
#include "proj.h"
#include "qtuiservices.h"
#include "regist.h"
#include "registry.h"
#include "runner.h"
#include "tvantor.h"
#include "usersettingsstore.h"

namespace {

// The real services, timing the gaps between the passes of event handling.
class TimedUi : public QtUiServices {
  public:
    void processEvents() override {
        const qint64 now = clock_.nsecsElapsed();
        if (passes_ > 0) longestGapNs = std::max(longestGapNs, now - last_);
        QtUiServices::processEvents();
        last_ = clock_.nsecsElapsed();
        ++passes_;
    }
    void reset() {
        clock_.start();
        passes_ = 0;
        longestGapNs = 0;
    }
    void showMessage(const std::string& text, const std::string&, MessageIcon) override {
        std::fprintf(stderr, "message: %s\n", text.c_str());
    }

    qint64 longestGapNs = 0;

  private:
    QElapsedTimer clock_;
    qint64 last_ = 0;
    long passes_ = 0;
};

struct VectorLines : OutputLines {
    void append(std::string line) override { lines.push_back(std::move(line)); }
    std::vector<std::string> lines;
};

// CPU seconds of this process (user and system), so the figures stay
// meaningful on a busy machine.
double cpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto sec = [](const timeval& t) { return t.tv_sec + t.tv_usec / 1e6; };
    return sec(usage.ru_utime) + sec(usage.ru_stime);
}

long peakKiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

void writeSample(const std::string& path, long lines) {
    std::ofstream out(path, std::ios::binary);
    for (long i = 0; i < lines; ++i) {
        out << "src/module_" << i % 1000 << ".c(" << i % 5000 + 1
            << ") : warning C4101: 'x' : unreferenced local variable\n";
    }
}

double seconds(const QElapsedTimer& timer) {
    return static_cast<double>(timer.nsecsElapsed()) / 1e9;
}

}  // namespace

int main(int argc, char* argv[]) {
    const long lineCount = argc > 1 ? std::atol(argv[1]) : 200000;
    setenv("LC_ALL", "C.UTF-8", 1);
    std::setlocale(LC_ALL, "");
    if (!getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);

    QTemporaryDir config;
    QTemporaryDir work;
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    const std::string folder = work.path().toStdString();
    writeSample(folder + "/out.txt", lineCount);
    std::ofstream(folder + "/makefile") << "PROGRAM\t= bench\n\nall:\n";
    const std::string command = "cat out.txt";

    TimedUi ui;
    SystemChildProcesses processes;
    FakeSoundPlayer sounds;
    FakeHelpViewer help;

    // The runner alone.
    VectorLines collected;
    toolopt tool;
    tool.Command = command;
    tool.Folder = folder;
    ui.reset();
    QElapsedTimer timer;
    timer.start();
    double cpuStart = cpuSeconds();
    RunCaptured(tool, &collected, {ui, processes, common::activeCodePage()}, false);
    const double runnerSeconds = seconds(timer);
    const double runnerCpu = cpuSeconds() - cpuStart;
    const long runnerPeak = peakKiB();

    // Build into the window.
    const auto store = openUserSettingsStore();
    {
        nTRegistry reg(*store);
        reg.OpenKey(regschema::kBaseKey, true);
        reg.WriteString(regschema::kBuildCommand, command);
        reg.OpenKey(regschema::kHistoryKey, true);
        reg.WriteString("Project0", "bench");
        reg.WriteString("ProjectFile0", folder + "/makefile");
    }
    TVantor vantor({ui, *store, processes, sounds, help});
    ui.setParentWindow(&vantor);
    vantor.show();
    QApplication::processEvents();
    ui.reset();
    timer.restart();
    cpuStart = cpuSeconds();
    vantor.BuildProjectClick();
    const double windowSeconds = seconds(timer);
    const double windowCpu = cpuSeconds() - cpuStart;
    const int shown = vantor.output().lineCount();

    std::printf("lines                      %ld (window holds %d)\n", lineCount, shown);
    std::printf("runner alone               %.3f s (CPU %.3f s)\n", runnerSeconds, runnerCpu);
    std::printf("Build into output window   %.3f s (CPU %.3f s), %.2f x the runner alone\n",
                windowSeconds, windowCpu, windowSeconds / runnerSeconds);
    std::printf("longest gap between passes %.1f ms\n", static_cast<double>(ui.longestGapNs) / 1e6);
    std::printf("peak memory                %ld KiB (runner alone %ld KiB, %zu lines kept)\n",
                peakKiB(), runnerPeak, collected.lines.size());
    vantor.close();
    return shown == lineCount + 2 ? 0 : 1;
}
