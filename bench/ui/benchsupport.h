// What the window benchmarks share: a project and a settings home of their
// own with the main window on them, the real services timing the gaps
// between event passes, a line list that counts, and the process's clocks
// and memory.
#pragma once

#include <sys/resource.h>
#include <time.h>

#include <QByteArray>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <functional>
#include <memory>
#include <string>

#include "childprocess.h"
#include "fakehelpviewer.h"
#include "fakesoundplayer.h"
#include "mainwindow.h"
#include "outputline.h"
#include "qtuiservices.h"
#include "registry.h"
#include "settings.h"
#include "settingsstore.h"
#include "textconversion.h"

namespace benchui {

// CPU nanoseconds of this process: on a busy machine a gap in wall time may
// be another process's turn; its CPU time is this process's own work.
inline qint64 cpuNs() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return now.tv_sec * 1000000000LL + now.tv_nsec;
}

// The real services, timing the gaps between the starts of two passes of
// event handling (so a pass that is slow itself counts too), in wall time
// and in CPU time.
class TimedUi : public QtUiServices {
  public:
    void processEvents() override {
        const qint64 now = clock_.nsecsElapsed();
        const qint64 cpu = cpuNs();
        if (passes_ > 0) {
            longestGapNs = std::max(longestGapNs, now - last_);
            longestCpuGapNs = std::max(longestCpuGapNs, cpu - lastCpu_);
        }
        last_ = now;
        lastCpu_ = cpu;
        ++passes_;
        QtUiServices::processEvents();
        if (onPass) onPass();
    }
    void reset() {
        clock_.start();
        passes_ = 0;
        longestGapNs = 0;
        longestCpuGapNs = 0;
        onPass = nullptr;
    }
    // "W ms (CPU C ms)"
    std::string longestGap() const {
        char text[64];
        std::snprintf(text, sizeof text, "%.1f ms (CPU %.1f ms)",
                      static_cast<double>(longestGapNs) / 1e6,
                      static_cast<double>(longestCpuGapNs) / 1e6);
        return text;
    }
    void showMessage(const UiText& text, const UiText&, MessageIcon) override {
        std::fprintf(stderr, "message: %s\n", text.bytes().c_str());
    }

    qint64 longestGapNs = 0;
    qint64 longestCpuGapNs = 0;
    std::function<void()> onPass;

  private:
    QElapsedTimer clock_;
    qint64 last_ = 0;
    qint64 lastCpu_ = 0;
    long passes_ = 0;
};

struct CountedLines : OutputLines {
    void append(const OutputLine&) override { ++count; }
    long count = 0;
};

// CPU seconds of this process (user and system), so the figures stay
// meaningful on a busy machine.
inline double cpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto sec = [](const timeval& t) { return t.tv_sec + t.tv_usec / 1e6; };
    return sec(usage.ru_utime) + sec(usage.ru_stime);
}

inline long peakKiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

inline long residentKiB() {
    std::ifstream status("/proc/self/status");
    std::string key;
    long value = 0;
    while (status >> key) {
        if (key == "VmRSS:") {
            status >> value;
            return value;
        }
        status.ignore(1 << 20, '\n');
    }
    return 0;
}

inline double seconds(const QElapsedTimer& timer) {
    return static_cast<double>(timer.nsecsElapsed()) / 1e9;
}

inline double milliseconds(const QElapsedTimer& timer) {
    return static_cast<double>(timer.nsecsElapsed()) / 1e6;
}

// A project folder and a settings home of the benchmark's own, the project
// the most recent one, and the main window on it with the system's services
// (sounds and help are fakes).
class BenchWorld {
  public:
    BenchWorld() {
        qputenv("XDG_CONFIG_HOME", config_.path().toLocal8Bit());
        store_ = CreateUserSettingsStore();
        write("makefile", "PROGRAM\t= bench\n\nall:\n");
    }

    std::string folder() const { return work_.path().toStdString(); }
    std::string path(const std::string& name) const { return folder() + "/" + name; }
    void write(const std::string& name, const std::string& text) const {
        std::ofstream(path(name)) << text;
    }
    ChildProcesses& processes() { return *processes_; }
    TextConversion& conversion() { return *conversion_; }

    std::unique_ptr<MainWindow> startMainWindow(QtUiServices& ui) {
        {
            RegistryAccess reg(*store_);
            reg.openKey(settingsschema::kHistoryKey, true);
            reg.writeString("Project0", "bench");
            reg.writeString("ProjectFile0", path("makefile"));
        }
        auto mainWindow = std::make_unique<MainWindow>(
            MainWindowServices{ui, *store_, *processes_, sounds_, help_, *conversion_});
        ui.setParentWindow(mainWindow.get());
        return mainWindow;
    }

  private:
    QTemporaryDir config_;
    QTemporaryDir work_;
    std::unique_ptr<ChildProcesses> processes_ = CreateSystemChildProcesses();
    std::unique_ptr<TextConversion> conversion_ = CreateSystemTextConversion();
    std::unique_ptr<SettingsStore> store_;  // made once the settings home is set
    FakeSoundPlayer sounds_;
    FakeHelpViewer help_;
};

}  // namespace benchui
