// The output window and the runner seen from the user's side, offscreen:
// - a build whose command writes N compiler-style lines (200,000 by
//   default; 2,000,000 or more for the bounded-memory figures), through the
//   main window's Build into the output window, against the runner alone
//   counting the same lines: times, peak memory, longest gap between two
//   passes of event handling (how long the window could not react);
// - with the lines held, what the user does to them: a click on a line, F4,
//   Copy of one line, a repaint at the end and one in the middle, and a
//   search through every line for a text that is not there;
// - the latency of Stop, from the command to the summary line, for a child
//   that ends on the request and for one that ignores it;
// - the longest gap while a child has left a program holding the pipe, and
//   while a child runs on with its output closed.
// Usage: bench_ui [lines [bytes per line]]
#include <signal.h>

#include <QApplication>
#include <QMouseEvent>
#include <QScrollBar>
#include <algorithm>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "benchsupport.h"
#include "mainwindow.h"
#include "outputwindow.h"
#include "runner.h"

namespace {

using namespace benchui;

// A press and a release of the left button, as the window system sends them.
void clickAt(OutputWindow& output, QPoint point) {
    QWidget* viewport = output.viewport();
    const QPointF global = viewport->mapToGlobal(QPointF(point));
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(point), global, Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(viewport, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(point), global, Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(viewport, &release);
}

// Builds the project with the given command and returns the seconds from
// the Stop command (given once the child has printed "started" and 200 ms
// have passed) to the end of the build, whose summary line is its last act.
double stopLatency(MainWindow& mainWindow, TimedUi& ui, const std::string& command) {
    mainWindow.settings().buildCommand = command;
    ui.reset();
    QElapsedTimer started;
    QElapsedTimer sinceStop;
    ui.onPass = [&] {
        if (sinceStop.isValid() || !mainWindow.output().text().contains("started")) return;
        if (!started.isValid()) started.start();
        if (started.elapsed() < 200) return;
        sinceStop.start();
        mainWindow.stopRun();
    };
    mainWindow.buildProject();
    const double latency = seconds(sinceStop);
    const QStringList lines = mainWindow.output().text().split('\n');
    std::printf("  %-22s %.3f s, summary \"%s\", longest gap %s\n", command.c_str(), latency,
                qPrintable(lines.last()), ui.longestGap().c_str());
    return latency;
}

}  // namespace

int main(int argc, char* argv[]) {
    const long lineCount = argc > 1 ? std::atol(argv[1]) : 200000;
    const long lineBytes = argc > 2 ? std::atol(argv[2]) : 0;  // 0: about 70
    setenv("LC_ALL", "C.UTF-8", 1);
    std::setlocale(LC_ALL, "");
    if (!getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);

    BenchWorld world;
    const std::string folder = world.folder();
    // Made as they are read: no file of that size. A given length pads the
    // line with x.
    world.write("flood.sh",
                "line='src/module_042.c(123) : warning C4101: x : unreferenced local variable'\n"
                "[ \"$2\" -gt 0 ] && line=\"$line$(printf '%*s' $(($2 - ${#line} - 1)) '' | tr ' ' "
                "x)\"\n"
                "yes \"$line\" | head -n \"$1\"\n");
    world.write("term.sh", "echo started\nsleep 100\n");
    world.write("ignore.sh", "trap '' TERM\necho started\nwhile :; do sleep 0.05; done\n");
    world.write("behind.sh", "sleep 100 &\necho $! > behind.pid\necho started\n");
    world.write("closed.sh", "echo started\nexec >/dev/null 2>&1\nsleep 1\n");
    const std::string flood =
        "sh flood.sh " + std::to_string(lineCount) + " " + std::to_string(lineBytes);

    TimedUi ui;
    ChildProcesses& processes = world.processes();

    // The runner alone.
    CountedLines counted;
    Tool tool;
    tool.command = flood;
    tool.folder = folder;
    ui.reset();
    QElapsedTimer timer;
    timer.start();
    double cpuStart = cpuSeconds();
    RunCaptured(tool, &counted, {ui, processes, common::activeCodePage()}, false);
    const double runnerSeconds = seconds(timer);
    const double runnerCpu = cpuSeconds() - cpuStart;
    const std::string runnerGap = ui.longestGap();
    const long runnerPeak = peakKiB();

    // Build into the window.
    const std::unique_ptr<MainWindow> window = world.startMainWindow(ui);
    MainWindow& mainWindow = *window;
    mainWindow.settings().buildCommand = flood;
    mainWindow.show();
    QApplication::processEvents();
    ui.reset();
    timer.restart();
    cpuStart = cpuSeconds();
    mainWindow.buildProject();
    const double windowSeconds = seconds(timer);
    const double windowCpu = cpuSeconds() - cpuStart;
    const int shown = mainWindow.output().lineCount();

    // A click on the last line on screen, which reads that line only.
    OutputWindow& output = mainWindow.output();
    output.selectLine(output.lineCount() - 1);
    const QRect lastRow = output.cursorRect(output.selectionStart());
    output.select(0, 0);
    timer.restart();
    clickAt(output, lastRow.center());
    const double clickMs = milliseconds(timer);
    const bool clickSelected = output.selectionLength() > 0;

    // F4 from the first line: the next message line, selected and opened
    // in an editor that does nothing.
    mainWindow.settings().editorCommand = "true %s";
    output.select(0, 0);
    timer.restart();
    mainWindow.openNextMessage();
    const double nextMessageMs = milliseconds(timer);
    // The same without starting the editor: the selection and its scrolling.
    timer.restart();
    output.selectLine(output.lineCount() / 3);
    const double selectLineMs = milliseconds(timer);

    output.selectLine(output.lineCount() / 2);
    timer.restart();
    mainWindow.copySelection();
    const double copyMs = milliseconds(timer);

    output.selectLine(output.lineCount() - 1);
    timer.restart();
    output.viewport()->repaint();
    const double repaintEndMs = milliseconds(timer);
    // Repaints of rows not laid out before, at ten places: the median.
    std::vector<double> repaints;
    for (int i = 1; i <= 10; ++i) {
        output.verticalScrollBar()->setValue(output.verticalScrollBar()->maximum() * i / 11);
        timer.restart();
        output.viewport()->repaint();
        repaints.push_back(milliseconds(timer));
    }
    std::sort(repaints.begin(), repaints.end());
    const double repaintMiddleMs = repaints[repaints.size() / 2];

    output.select(0, 0);
    timer.restart();
    const bool found = output.find("no such text", true, Qt::CaseInsensitive);
    const double findMs = milliseconds(timer);

    std::printf("lines                      %ld of %ld bytes (window holds %d of them)\n",
                counted.count, lineBytes > 0 ? lineBytes : 74L, shown);
    std::printf("runner alone               %.3f s (CPU %.3f s), longest gap %s\n", runnerSeconds,
                runnerCpu, runnerGap.c_str());
    std::printf("Build into output window   %.3f s (CPU %.3f s), %.2f x the runner alone\n",
                windowSeconds, windowCpu, windowSeconds / runnerSeconds);
    std::printf("longest gap between passes %s\n", ui.longestGap().c_str());
    std::printf("peak memory                %.1f MB (runner alone %.1f MB), resident now %.1f MB\n",
                peakKiB() / 1024.0, runnerPeak / 1024.0, residentKiB() / 1024.0);
    std::printf("click on the last line     %.2f ms%s\n", clickMs,
                clickSelected ? "" : " (selected nothing)");
    std::printf(
        "F4 to the next message     %.2f ms with the editor's start, selecting a line %.2f ms\n",
        nextMessageMs, selectLineMs);
    std::printf("Copy of one line           %.2f ms\n", copyMs);
    std::printf("repaint at the end         %.2f ms, in the middle %.2f ms\n", repaintEndMs,
                repaintMiddleMs);
    std::printf("search of every line       %.1f ms%s\n", findMs, found ? " (found?)" : "");

    std::printf("Stop, from the command to the summary line:\n");
    const double onRequest = stopLatency(mainWindow, ui, "sh term.sh");
    const double ignoring = stopLatency(mainWindow, ui, "sh ignore.sh");

    std::printf("runs that end without their pipe's end:\n");
    for (const char* command : {"sh behind.sh", "sh closed.sh"}) {
        mainWindow.settings().buildCommand = command;
        ui.reset();
        timer.restart();
        mainWindow.buildProject();
        std::printf("  %-22s %.3f s, summary \"%s\", longest gap %s\n", command, seconds(timer),
                    qPrintable(mainWindow.output().text().split('\n').last()),
                    ui.longestGap().c_str());
    }
    long behind = 0;
    std::ifstream(folder + "/behind.pid") >> behind;
    if (behind > 0) ::kill(static_cast<pid_t>(behind), SIGKILL);

    mainWindow.close();
    // Every line reached the runner, and the window kept as many of the last
    // ones as its bounds allow.
    const long fitting = OutputWindow::kMaxCharacters / std::max(lineBytes, 74L);
    const bool complete =
        counted.count == lineCount &&
        shown >= std::min({lineCount + 2, fitting, long{OutputWindow::kMaxLines}}) - 1;
    return complete && onRequest < 0.2 && ignoring < 2.5 ? 0 : 1;
}
