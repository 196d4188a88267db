// The output window's batching: readers always see every appended line,
// the widget gets them at an event pass once a frame has passed, or when
// the loop goes idle; a first empty line and erasing behave as lines do;
// only the last lines (and characters) are kept, and one line is read
// without the rest; error, warning and summary lines carry their colour or
// weight, and what leaves the widget is plain text.
#include <QEventLoop>
#include <QMimeData>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextDocument>
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
};

namespace {

// The format of the first character of line n.
QTextCharFormat formatOfLine(OutputWindow& output, int n) {
    output.flush();
    const QTextBlock block = output.document()->findBlockByNumber(n);
    return block.begin().fragment().charFormat();
}

}  // namespace

void OutputWindowTest::readersSeeLinesNotYetHandedToTheWidget() {
    OutputWindow output(nullptr);
    output.appendLine("one");  // handed on at once: nothing was shown before
    output.appendLine("two");  // within the frame: pending
    QCOMPARE(output.toPlainText(), QString("one"));
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
    OutputWindow output(nullptr);
    output.appendLine("first");
    output.appendLine("second");
    QCOMPARE(output.toPlainText(), QString("first"));
    QCoreApplication::processEvents();  // not due yet
    QCOMPARE(output.toPlainText(), QString("first"));
    QTest::qSleep(20);
    QCoreApplication::processEvents();
    QCOMPARE(output.toPlainText(), QString("first\nsecond"));

    // The event loop going idle shows everything at once.
    output.appendLine("third");
    QEventLoop loop;
    QTimer::singleShot(0, &loop, &QEventLoop::quit);
    loop.exec();
    QCOMPARE(output.toPlainText(), QString("first\nsecond\nthird"));
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
    for (int i = 0; i < extra; ++i) output.appendLine(QString::number(OutputWindow::kMaxLines + i));
    QCOMPARE(output.lineCount(), OutputWindow::kMaxLines);
    QCOMPARE(output.document()->blockCount(), OutputWindow::kMaxLines);
    const QString text = output.text();
    QVERIFY(text.startsWith(QString("%1\n").arg(extra)));
    QVERIFY(text.endsWith(QString("\n%1").arg(OutputWindow::kMaxLines + extra - 1)));

    // Erasing keeps the bound; so does a flood that never reaches the widget.
    output.erase();
    for (int i = 0; i < OutputWindow::kMaxLines + extra; ++i) output.appendLine("x");
    QCOMPARE(output.lineCount(), OutputWindow::kMaxLines);
    QCOMPARE(output.document()->blockCount(), OutputWindow::kMaxLines);
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
    QCOMPARE(output.document()->blockCount(), kept);
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

QTEST_MAIN(OutputWindowTest)
#include "outputwindow_test.moc"
