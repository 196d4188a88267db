// The output window's lines: readers always see every appended line, the
// screen catches up at an event pass once a frame has passed, or when the
// loop goes idle; a first empty line and erasing behave as lines do; only
// the last lines (and characters) are kept, and one line is read without
// the rest; error, warning and summary lines carry their colour or weight,
// and what leaves the window is plain text.
#include <QEventLoop>
#include <QImage>
#include <QMimeData>
#include <QScrollBar>
#include <QTimer>

#include "outputwindow.h"
#include "uitestsupport.h"

class OutputWindowTest : public QObject {
    Q_OBJECT

  private slots:
    void readersSeeLinesNotYetHandedToTheWidget();
    void eventPassHandsOnLinesOnceDue();
    void emptyLinesKeepTheirPlace();
    void eraseDropsPendingLinesToo();
    void bytesAreTakenInTheSystemCodePage();
    void followsTheEndOnlyWhenAtTheEnd();
    void keepsOnlyTheLastLines();
    void longLinesLeaveByTheCharacterBound();
    void linesShowTheColourOfTheirKind();
    void lineAtReadsTheLineOfAPosition();
    void colouredLinesArePaintedInTheirColour();
};

namespace {

// A window one row high, shown: the range of its scroll bar is the number
// of lines the screen has caught up with.
struct OneRowWindow {
    OneRowWindow() {
        output.resize(300, 8);
        output.show();
        QVERIFY(QTest::qWaitForWindowExposed(&output));
        QCoreApplication::processEvents();
    }
    int shownLines() { return output.verticalScrollBar()->maximum() + 1; }
    OutputWindow output{nullptr};
};

QTextCharFormat formatOfLine(OutputWindow& output, int n) {
    return output.lineFormat(n);
}

}  // namespace

void OutputWindowTest::readersSeeLinesNotYetHandedToTheWidget() {
    OneRowWindow window;
    OutputWindow& output = window.output;
    output.appendLine("one");  // shown at once: nothing was shown before
    output.appendLine("two");  // within the frame: not yet on screen
    QCOMPARE(window.shownLines(), 1);
    QCOMPARE(output.lineCount(), 2);
    QCOMPARE(output.text(), QString("one\ntwo"));

    output.appendLine("three");
    output.select(8, 5);
    QCOMPARE(output.selectedText(), QString("three"));
    output.appendLine("four");
    QCOMPARE(output.selectionStart(), 8);
    output.appendLine("five");
    output.selectAllText();
    QCOMPARE(output.selectedText(), QString("one\ntwo\nthree\nfour\nfive"));
}

void OutputWindowTest::eventPassHandsOnLinesOnceDue() {
    OneRowWindow window;
    OutputWindow& output = window.output;
    output.appendLine("first");
    output.appendLine("second");
    QCOMPARE(window.shownLines(), 1);
    QCoreApplication::processEvents();  // not due yet
    QCOMPARE(window.shownLines(), 1);
    QTest::qSleep(20);
    QCoreApplication::processEvents();
    QCOMPARE(window.shownLines(), 2);

    // The event loop going idle shows everything at once.
    output.appendLine("third");
    QEventLoop loop;
    QTimer::singleShot(0, &loop, &QEventLoop::quit);
    loop.exec();
    QCOMPARE(window.shownLines(), 3);
    QCOMPARE(output.text(), QString("first\nsecond\nthird"));
}

void OutputWindowTest::emptyLinesKeepTheirPlace() {
    OutputWindow output(nullptr);
    output.appendLine("");
    output.flush();
    output.appendLine("Start Depmill.");
    output.appendLine("");
    QCOMPARE(output.lineCount(), 3);
    QCOMPARE(output.text(), QString("\nStart Depmill.\n"));
}

void OutputWindowTest::eraseDropsPendingLinesToo() {
    OutputWindow output(nullptr);
    output.appendLine("a");
    output.appendLine("b");
    output.erase();
    QCOMPARE(output.text(), QString());
    QCOMPARE(output.lineCount(), 0);
    output.appendLine("c");
    QCOMPARE(output.text(), QString("c"));
}

void OutputWindowTest::bytesAreTakenInTheSystemCodePage() {
    OutputWindow output(nullptr);
    output.append("ソース.c(3) : warning");
    QCOMPARE(output.text(), QString("ソース.c(3) : warning"));
}

void OutputWindowTest::followsTheEndOnlyWhenAtTheEnd() {
    OutputWindow output(nullptr);
    output.resize(300, 100);
    output.show();
    for (int i = 0; i < 200; ++i) output.appendLine(QString("line %1").arg(i));
    output.flush();
    QScrollBar* bar = output.verticalScrollBar();
    QVERIFY(bar->maximum() > 0);
    QCOMPARE(bar->value(), bar->maximum());

    bar->setValue(0);  // the user scrolled up to read
    output.appendLine("more");
    output.flush();
    QCOMPARE(bar->value(), 0);
}

void OutputWindowTest::keepsOnlyTheLastLines() {
    OutputWindow output(nullptr);
    const int extra = 5;
    // Some lines reach the widget in batches, the last ones pending at once.
    for (int i = 0; i < OutputWindow::kMaxLines; ++i) output.appendLine(QString::number(i));
    output.flush();
    output.selectLine(10);
    const int tenth = output.selectionStart();
    for (int i = 0; i < extra; ++i) output.appendLine(QString::number(OutputWindow::kMaxLines + i));
    QCOMPARE(output.lineCount(), OutputWindow::kMaxLines);
    QCOMPARE(output.lineText(OutputWindow::kMaxLines - 1),
             QString::number(OutputWindow::kMaxLines + extra - 1));
    QCOMPARE(output.lineText(OutputWindow::kMaxLines), QString());
    // The selection stays on its line as the lines before it leave.
    QCOMPARE(output.selectedText(), QString("10"));
    QCOMPARE(output.selectionStart(), tenth - 10);  // "0\n" to "4\n"
    const QString text = output.text();
    QVERIFY(text.startsWith(QString("%1\n").arg(extra)));
    QVERIFY(text.endsWith(QString("\n%1").arg(OutputWindow::kMaxLines + extra - 1)));

    // Erasing keeps the bound; so does a flood that never reaches the widget.
    output.erase();
    for (int i = 0; i < OutputWindow::kMaxLines + extra; ++i) output.appendLine("x");
    QCOMPARE(output.lineCount(), OutputWindow::kMaxLines);
    QCOMPARE(output.lineText(OutputWindow::kMaxLines - 1), QString("x"));
    QCOMPARE(output.text().size(), 2 * OutputWindow::kMaxLines - 1);
}

void OutputWindowTest::lineAtReadsTheLineOfAPosition() {
    OutputWindow output(nullptr);
    output.appendLine("one");
    output.appendLine("");
    output.appendLine("three");  // pending: lineAt sees it all the same
    QCOMPARE(output.lineAt(0).text, QString("one"));
    QCOMPARE(output.lineAt(3).start, 0);  // the end of a line belongs to it
    QCOMPARE(output.lineAt(4).start, 4);
    QCOMPARE(output.lineAt(4).text, QString());
    QCOMPARE(output.lineAt(7).start, 5);
    QCOMPARE(output.lineAt(7).text, QString("three"));
}

void OutputWindowTest::longLinesLeaveByTheCharacterBound() {
    OutputWindow output(nullptr);
    const int length = 4000;
    const int fit = static_cast<int>(OutputWindow::kMaxCharacters / length);
    for (int i = 0; i < fit + 50; ++i) {
        output.appendLine(QString::number(i).leftJustified(length, 'x'));
    }
    const int kept = output.lineCount();
    QVERIFY(kept <= fit);
    QVERIFY(kept >= fit - 1);
    QVERIFY(!output.lineText(kept - 1).isEmpty());
    QCOMPARE(output.lineText(kept), QString());
    QVERIFY(output.lineAt(0).text.startsWith(QString::number(fit + 50 - kept) + "x"));
    QVERIFY(output.text().size() <= OutputWindow::kMaxCharacters + kept);

    // Short lines that follow are kept up to the line bound again.
    for (int i = 0; i < 1000; ++i) output.appendLine("short");
    QVERIFY(output.lineCount() <= kept + 1000);
    QVERIFY(output.lineCount() >= kept + 1000 - 3);  // 5,000 characters: two long lines go
}

void OutputWindowTest::linesShowTheColourOfTheirKind() {
    struct PeekableOutput : OutputWindow {
        using OutputWindow::createMimeDataFromSelection;
        using OutputWindow::OutputWindow;
    } output(nullptr);
    output.appendLine("gcc -c a.c");
    output.appendLine("a.c:3:5: error: x", LineKind::Error);
    output.appendLine("a.c:4:1: error: y", LineKind::Error);
    output.appendLine("a.c:9:2: warning: z", LineKind::Warning);
    output.appendLine("plain after");
    output.appendLine("Build Error.", LineKind::Summary);
    QCOMPARE(formatOfLine(output, 0).foreground().color(), QTextCharFormat().foreground().color());
    QCOMPARE(formatOfLine(output, 1).foreground().color(), QColor(Qt::darkRed));
    QCOMPARE(formatOfLine(output, 2).foreground().color(), QColor(Qt::darkRed));
    QCOMPARE(formatOfLine(output, 3).foreground().color(), QColor(Qt::darkYellow));
    QVERIFY(formatOfLine(output, 4).fontWeight() != QFont::Bold);
    QCOMPARE(formatOfLine(output, 4).foreground().color(), QTextCharFormat().foreground().color());
    QCOMPARE(formatOfLine(output, 5).fontWeight(), int(QFont::Bold));
    QCOMPARE(output.text(), QString("gcc -c a.c\na.c:3:5: error: x\na.c:4:1: error: y\n"
                                    "a.c:9:2: warning: z\nplain after\nBuild Error."));

    // Copied or dragged out, the selection is plain text with "\n" breaks.
    output.select(11, 35);
    std::unique_ptr<QMimeData> data(output.createMimeDataFromSelection());
    QCOMPARE(data->formats(), QStringList{"text/plain"});
    QCOMPARE(data->text(), QString("a.c:3:5: error: x\na.c:4:1: error: y"));
}

// What reaches the screen, not only the format: the pixels of an error row
// are dark red, those of a warning row dark yellow, those of a plain row
// neither.
void OutputWindowTest::colouredLinesArePaintedInTheirColour() {
    OutputWindow output(nullptr);
    output.resize(400, 200);
    output.appendLine("plain plain plain");
    output.appendLine("error error error", LineKind::Error);
    output.appendLine("warning warning", LineKind::Warning);
    output.show();
    QVERIFY(QTest::qWaitForWindowExposed(&output));
    const QImage image = output.viewport()->grab().toImage();
    const auto rowHas = [&](int line, auto wanted) {
        const QRect row = output.cursorRect(output.lineAt(0).start);
        const int top = row.top() + line * row.height();
        for (int y = top; y < top + row.height(); ++y) {
            for (int x = 0; x < image.width() / 2; ++x) {
                if (wanted(image.pixelColor(x, y))) return true;
            }
        }
        return false;
    };
    const auto red = [](const QColor& c) {
        return c.red() > 60 && c.green() < 40 && c.blue() < 40;
    };
    const auto yellow = [](const QColor& c) {
        return c.red() > 60 && c.green() > 60 && c.blue() < 40 &&
               std::abs(c.red() - c.green()) < 30;
    };
    QVERIFY(rowHas(1, red));
    QVERIFY(!rowHas(1, yellow));
    QVERIFY(rowHas(2, yellow));
    QVERIFY(!rowHas(0, red));
    QVERIFY(!rowHas(0, yellow));
}

QTEST_MAIN(OutputWindowTest)
#include "outputwindow_test.moc"
