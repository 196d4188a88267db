// The build output on a real screen. The main window runs on an X server of
// the benchmark's own with a window manager on it (xsession.h: Xvfb on a
// free display and openbox, ended by their process ids when the benchmark
// ends); Build is given as the key Shift+F8, and the time runs
// until the window has drawn the end of the output and the server holds it.
// The command is cat of a file of 75-byte compiler lines, then the time cat
// ended, written to a file. Beside the figure on screen, for the same
// command: the reading alone (RunCaptured into a list that counts, with the
// same event passes), when the child ended in each, the longest gap between
// two event passes; and once the lines are held, the resident memory in all
// and what each part costs a line: text, line places and readings in a
// store of the same lines, layouts of the rows kept.
// Usage: bench_screen [lines...]   (default 200000 1000000; nothing to do
// without Xvfb and openbox)
#include <malloc.h>
#include <sys/resource.h>
#include <unistd.h>

#include <QApplication>
#include <QTest>
#include <chrono>
#include <clocale>
#include <cstdlib>
#include <string>
#include <vector>

#include "benchsupport.h"
#include "messageline.h"
#include "outputrows.h"
#include "outputstore.h"
#include "outputwindow.h"
#include "runner.h"
#include "sample.h"
#include "xsession.h"

namespace {

using namespace benchui;

double realNow() {
    return std::chrono::duration<double>(std::chrono::system_clock::now().time_since_epoch())
        .count();
}

// What a phase took: wall time, this process's time in user and system
// mode, and the pages it touched for the first time.
struct Usage {
    double wall = realNow();
    double user = 0;
    double system = 0;
    long faults = 0;

    Usage() {
        rusage usage{};
        getrusage(RUSAGE_SELF, &usage);
        const auto sec = [](const timeval& t) { return t.tv_sec + t.tv_usec / 1e6; };
        user = sec(usage.ru_utime);
        system = sec(usage.ru_stime);
        faults = usage.ru_minflt;
    }
    Usage since(const Usage& start) const {
        Usage taken = *this;
        taken.wall -= start.wall;
        taken.user -= start.user;
        taken.system -= start.system;
        taken.faults -= start.faults;
        return taken;
    }
    // "W s (CPU U s user, S s system; F page faults)"
    std::string text() const {
        char line[128];
        std::snprintf(line, sizeof line, "%.3f s (CPU %.3f s user, %.3f s system; %ld page faults)",
                      wall, user, system, faults);
        return line;
    }
};

// When the command's child wrote that cat had ended, in seconds after `since`.
double childEnded(const BenchWorld& world, double since) {
    long long ns = 0;
    std::ifstream(world.path("ended.txt")) >> ns;
    return static_cast<double>(ns) / 1e9 - since;
}

std::size_t heapBytes() {
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
}

// Notes when the viewport has painted the summary line that ends the build
// as the last of `lines` lines.
class EndWatch : public QObject {
  public:
    EndWatch(OutputWindow& output, int lines) : output_(output), lines_(lines) {
        output.viewport()->installEventFilter(this);
    }
    bool drawn = false;

  protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint && output_.lineCount() == lines_ &&
            output_.lineText(lines_ - 1) == "End Build.")
            drawn = true;
        return false;
    }

  private:
    OutputWindow& output_;
    int lines_;
};

// What each part of the held lines costs a line: a store of the same lines
// with and without their readings, and the layouts of the rows kept.
void printParts(long count, const OutputWindow& output) {
    const MessageReader& reader = BuiltInMessageReader(common::CodePage::Utf8);
    std::vector<std::string> lines;
    for (long i = 0; i < std::min(count, 1000L); ++i) lines.push_back(benchsample::Line(i, count));
    const auto fill = [&](OutputStore& store, bool withReadings) {
        OutputLineReader reading(reader);
        for (long i = 0; i < count; ++i) {
            const OutputLine& line = reading.read(lines[static_cast<std::size_t>(i % 1000)]);
            store.appendLatin1(line.text, line.kind,
                               withReadings && line.message ? &*line.message : nullptr);
        }
    };
    const std::size_t before = heapBytes();
    OutputStore plain;
    fill(plain, false);
    const std::size_t withText = heapBytes() - before;
    OutputStore read;
    fill(read, true);
    const std::size_t withReadings = heapBytes() - before - withText;
    const double text = static_cast<double>(plain.textBytes()) / static_cast<double>(count);
    const double places = static_cast<double>(withText) / static_cast<double>(count) - text;
    const double readings =
        static_cast<double>(withReadings - withText) / static_cast<double>(count);

    OutputRows rows(read);
    rows.setFont(output.font());
    rows.setWidth(output.viewport()->width());
    const std::size_t laidBefore = heapBytes();
    constexpr int kLaidOut = 2048;  // the layouts the rows keep
    rows.endTop(kLaidOut);
    const double layout = static_cast<double>(heapBytes() - laidBefore) / kLaidOut;
    std::printf(
        "  a line: text %.1f B, line place %.1f B, reading %.1f B (%.1f MiB for %ld lines)\n", text,
        places, readings, (text + places + readings) * count / 1048576.0, count);
    std::printf("  layouts: %.0f B each, %.1f MiB for the %d kept\n", layout,
                layout * kLaidOut / 1048576.0, kLaidOut);
}

}  // namespace

int main(int argc, char* argv[]) {
    const XSession session(1280, 1024);
    if (!session.ready()) {
        std::printf("%s: nothing measured\n", session.reason().c_str());
        return 0;
    }
    setenv("QT_QPA_PLATFORM", "xcb", 1);
    setenv("LC_ALL", "C.UTF-8", 1);
    std::setlocale(LC_ALL, "");
    QApplication app(argc, argv);
    std::vector<long> counts;
    for (int i = 1; i < argc; ++i) counts.push_back(std::atol(argv[i]));
    if (counts.empty()) counts = {200000, 1000000};

    BenchWorld world;
    world.write("build.sh", "cat lines.txt\ndate +%s%N > ended.txt\n");
    TimedUi ui;
    const std::unique_ptr<MainWindow> mainWindow = world.startMainWindow(ui);
    mainWindow->settings().buildCommand = "sh build.sh";
    mainWindow->resize(1000, 700);
    mainWindow->show();
    mainWindow->activateWindow();
    if (!QTest::qWaitForWindowActive(mainWindow.get())) {
        std::printf("the main window did not become active on %s\n", session.display().c_str());
        return 1;
    }
    OutputWindow& output = mainWindow->output();
    const long emptyKiB = residentKiB();
    std::printf("display %s, resident with no output %.1f MiB\n", session.display().c_str(),
                emptyKiB / 1024.0);

    bool complete = true;
    for (const long count : counts) {
        benchsample::WriteLines(world.path("lines.txt"), count);
        // The reading alone, with the window's services and event passes.
        CountedLines counted;
        Tool tool;
        tool.command = "sh build.sh";
        tool.folder = world.folder();
        const RunServices services{ui,      world.processes(),         common::activeCodePage(),
                                   nullptr, OutputEncoding::Automatic, &world.conversion(),
                                   nullptr};
        ui.reset();
        const Usage readingStart;
        RunCaptured(tool, &counted, services, false);
        const Usage reading = Usage().since(readingStart);
        const double readingChild = childEnded(world, readingStart.wall);
        const std::string readingGap = ui.longestGap();

        // Shift+F8 to the end on screen.
        const int shown = static_cast<int>(std::min<long>(count + 2, OutputWindow::kMaxLines));
        EndWatch watch(output, shown);
        ui.reset();
        const Usage screenStart;
        QTest::keyClick(mainWindow.get(), Qt::Key_F8, Qt::ShiftModifier);
        const double built = realNow() - screenStart.wall;
        for (int i = 0; i < 2000 && !watch.drawn; ++i)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
        QGuiApplication::sync();
        const Usage onScreen = Usage().since(screenStart);
        const double screenChild = childEnded(world, screenStart.wall);
        complete = complete && counted.count == count && watch.drawn;

        std::printf("%ld lines of 75 bytes:\n", count);
        std::printf("  reading alone   %s\n    child ended after %.3f s, longest gap %s\n",
                    reading.text().c_str(), readingChild, readingGap.c_str());
        std::printf(
            "  on screen       %s, %.2f x the reading alone\n    build ended after %.3f s, "
            "child after %.3f s, longest gap %s\n",
            onScreen.text().c_str(), onScreen.wall / reading.wall, built, screenChild,
            ui.longestGap().c_str());
        std::printf("  resident in all %.1f MiB (%.1f MiB over no output)\n",
                    residentKiB() / 1024.0, (residentKiB() - emptyKiB) / 1024.0);
    }
    std::printf("what the held lines cost, for %ld lines:\n", counts.back());
    printParts(counts.back(), output);
    mainWindow->close();
    return complete ? 0 : 1;
}
