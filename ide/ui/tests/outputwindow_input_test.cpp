// The output window under real mouse and key events, offscreen: a click
// places the caret and is one click, a double click is no extra click, a
// drag and Shift+click select, the keys move and select, the wheel
// scrolls, a right click asks for the context menu; wrapping and control
// characters; and the text as assistive technology reads it.
#include <QAccessible>
#include <QAccessibleTextInterface>
#include <QContextMenuEvent>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QWheelEvent>

#include "outputwindow.h"
#include "uitestsupport.h"

class OutputWindowInputTest : public QObject {
    Q_OBJECT

  private slots:
    void clickPlacesTheCaretAndIsOneClick();
    void dragAndShiftClickSelect();
    void keysMoveTheCaretAndShiftSelects();
    void pagesAndTheWheelScroll();
    void rightClickAsksForTheContextMenu();
    void wrappingSplitsRowsNotLines();
    void controlCharactersStayInTheirLine();
    void assistiveTechnologyReadsTheText();
};

namespace {

// A shown window with the focus, holding `count` lines "line 0", "line 1", ...
struct ShownWindow {
    explicit ShownWindow(int count, QSize size = {300, 120}) {
        for (int i = 0; i < count; ++i) output.appendLine(QString("line %1").arg(i));
        output.resize(size);
        output.show();
        QApplication::setActiveWindow(&output);
        output.setFocus();
        QVERIFY(QTest::qWaitForWindowActive(&output));
        output.flush();
    }
    // The left edge of the caret at a position: a press there puts the caret on it.
    QPoint pointAt(int position) {
        const QRect rect = output.cursorRect(position);
        return QPoint(rect.left(), rect.center().y());
    }
    int startOf(int line) {
        return output.lineAt(output.text().indexOf(QString("line %1").arg(line))).start;
    }
    OutputWindow output{nullptr};
};

}  // namespace

void OutputWindowInputTest::clickPlacesTheCaretAndIsOneClick() {
    ShownWindow window(5);
    OutputWindow& output = window.output;
    output.verticalScrollBar()->setValue(0);
    QSignalSpy clicks(&output, &OutputWindow::clicked);
    QSignalSpy doubleClicks(&output, &OutputWindow::doubleClicked);
    const int position = window.startOf(2) + 3;
    QTest::mouseClick(output.viewport(), Qt::LeftButton, {}, window.pointAt(position));
    QCOMPARE(output.selectionStart(), position);
    QCOMPARE(output.selectionLength(), 0);
    QCOMPARE(clicks.size(), 1);

    // A double click as the system delivers it: a click, then the second
    // press as a double click and its release, which is no click of its own.
    QTest::mouseClick(output.viewport(), Qt::LeftButton, {}, window.pointAt(position));
    QTest::mouseDClick(output.viewport(), Qt::LeftButton, {}, window.pointAt(position));
    QTest::mouseRelease(output.viewport(), Qt::LeftButton, {}, window.pointAt(position));
    QCOMPARE(doubleClicks.size(), 1);
    QCOMPARE(clicks.size(), 2);
    QTest::mouseClick(output.viewport(), Qt::LeftButton, {}, window.pointAt(position + 1));
    QCOMPARE(clicks.size(), 3);
    QCOMPARE(output.selectionStart(), position + 1);
}

void OutputWindowInputTest::dragAndShiftClickSelect() {
    ShownWindow window(5);
    OutputWindow& output = window.output;
    output.verticalScrollBar()->setValue(0);
    const int from = window.startOf(1) + 2;
    const int to = window.startOf(2) + 4;
    QTest::mousePress(output.viewport(), Qt::LeftButton, {}, window.pointAt(from));
    QTest::mouseMove(output.viewport(), window.pointAt(window.startOf(2)));
    QTest::mouseMove(output.viewport(), window.pointAt(to));
    QTest::mouseRelease(output.viewport(), Qt::LeftButton, {}, window.pointAt(to));
    QCOMPARE(output.selectedText(), QString("ne 1\nline"));

    // Shift+click moves the selection's end, the start stays.
    const int further = window.startOf(3) + 6;
    QTest::mouseClick(output.viewport(), Qt::LeftButton, Qt::ShiftModifier,
                      window.pointAt(further));
    QCOMPARE(output.selectionStart(), from);
    QCOMPARE(output.selectedText(), QString("ne 1\nline 2\nline 3"));

    // A click without Shift starts afresh.
    QTest::mouseClick(output.viewport(), Qt::LeftButton, {}, window.pointAt(from + 1));
    QCOMPARE(output.selectionLength(), 0);
    QCOMPARE(output.selectionStart(), from + 1);
}

void OutputWindowInputTest::keysMoveTheCaretAndShiftSelects() {
    ShownWindow window(5);
    OutputWindow& output = window.output;
    output.select(window.startOf(1) + 2, 0);
    QTest::keyClick(&output, Qt::Key_Right);
    QTest::keyClick(&output, Qt::Key_Down);
    QCOMPARE(output.selectionStart(), window.startOf(2) + 3);  // the same column a row down
    QTest::keyClick(&output, Qt::Key_End, Qt::ShiftModifier);
    QCOMPARE(output.selectedText(), QString("e 2"));
    QTest::keyClick(&output, Qt::Key_Home);
    QCOMPARE(output.selectionStart(), window.startOf(2));
    QCOMPARE(output.selectionLength(), 0);
    QTest::keyClick(&output, Qt::Key_Up, Qt::ShiftModifier);
    QTest::keyClick(&output, Qt::Key_Left, Qt::ShiftModifier);
    QCOMPARE(output.selectedText(), QString("\nline 1\n"));
    // From the anchor to the end, and to the start.
    QTest::keyClick(&output, Qt::Key_End, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(output.selectionStart(), window.startOf(2));
    QCOMPARE(output.selectionStart() + output.selectionLength(), output.text().size());
    QTest::keyClick(&output, Qt::Key_Home, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(output.selectionStart(), 0);
    QCOMPARE(output.selectedText(), QString("line 0\nline 1\n"));
}

void OutputWindowInputTest::pagesAndTheWheelScroll() {
    ShownWindow window(500);
    OutputWindow& output = window.output;
    QScrollBar* bar = output.verticalScrollBar();
    QCOMPARE(bar->value(), bar->maximum());  // following the end

    QTest::keyClick(&output, Qt::Key_Home, Qt::ControlModifier);
    QCOMPARE(bar->value(), 0);
    QVERIFY(!output.cursorRect(0).isNull());
    QTest::keyClick(&output, Qt::Key_PageDown);
    const int page = bar->value();
    QVERIFY(page > 1);
    QCOMPARE(output.lineNumberAt(output.selectionStart()), page);  // the caret moved with the page
    QVERIFY(!output.cursorRect(output.selectionStart()).isNull());
    QTest::keyClick(&output, Qt::Key_PageDown, Qt::ShiftModifier);
    QCOMPARE(bar->value(), 2 * page);
    QCOMPARE(output.lineNumberAt(output.selectionStart()), page);
    QCOMPARE(output.lineNumberAt(output.selectionStart() + output.selectionLength()), 2 * page);
    QTest::keyClick(&output, Qt::Key_PageUp);
    QCOMPARE(bar->value(), page);
    // Paging stops with the last row at the bottom.
    for (int i = 0; i < 500 / page + 2; ++i) QTest::keyClick(&output, Qt::Key_PageDown);
    QCOMPARE(bar->value(), bar->maximum());
    QCOMPARE(output.lineNumberAt(output.selectionStart()), 499);
    QVERIFY(output.cursorRect(output.lineAt(output.text().size()).start).bottom() <
            output.viewport()->height());
    for (int i = 0; i < 500 / page + 2; ++i) QTest::keyClick(&output, Qt::Key_PageUp);
    QCOMPARE(bar->value(), 0);
    QCOMPARE(output.lineNumberAt(output.selectionStart()), 0);
    bar->setValue(page);

    // One notch down of the wheel scrolls a few lines; new output leaves the view where it is.
    QWheelEvent wheel(QPointF(50, 50), output.viewport()->mapToGlobal(QPointF(50, 50)), QPoint(),
                      QPoint(0, -120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(output.viewport(), &wheel);
    QVERIFY(bar->value() > page);
    const int scrolled = bar->value();
    output.appendLine("more");
    output.flush();
    QCOMPARE(bar->value(), scrolled);

    // Ctrl+End goes to the end, and the view follows new output again.
    QTest::keyClick(&output, Qt::Key_End, Qt::ControlModifier);
    output.appendLine("and more");
    output.flush();
    QCOMPARE(bar->value(), bar->maximum());
    QVERIFY(!output.cursorRect(output.text().size()).isNull());
}

void OutputWindowInputTest::rightClickAsksForTheContextMenu() {
    ShownWindow window(3);
    OutputWindow& output = window.output;
    output.setContextMenuPolicy(Qt::CustomContextMenu);
    QSignalSpy asked(&output, &QWidget::customContextMenuRequested);
    const QPoint at(20, 10);
    QContextMenuEvent menu(QContextMenuEvent::Mouse, at, output.viewport()->mapToGlobal(at));
    QApplication::sendEvent(output.viewport(), &menu);
    QCOMPARE(asked.size(), 1);
    QCOMPARE(asked[0][0].toPoint(), at);
}

void OutputWindowInputTest::wrappingSplitsRowsNotLines() {
    const QString longLine = QString("word ").repeated(60);
    ShownWindow window(0, {200, 300});
    OutputWindow& output = window.output;
    output.appendLine(longLine);
    output.appendLine("next");
    output.flush();
    QCOMPARE(output.lineCount(), 2);
    // Wrapped: the line's end is rows below its start, and "next" below that.
    output.verticalScrollBar()->setValue(0);
    const QRect start = output.cursorRect(0);
    const QRect end = output.cursorRect(longLine.size());
    QVERIFY(end.top() >= start.top() + 3 * start.height());
    QVERIFY(output.cursorRect(longLine.size() + 1).top() > end.top());
    QCOMPARE(output.horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);

    // Not wrapped: one row each, and a horizontal bar to reach the end.
    output.setWrapping(false);
    output.verticalScrollBar()->setValue(0);
    QCOMPARE(output.horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    QCOMPARE(output.cursorRect(longLine.size() + 1).top(),
             output.cursorRect(0).top() + output.cursorRect(0).height());
    QVERIFY(output.horizontalScrollBar()->maximum() > 0);
    // End brings the line's end into view.
    output.select(0, 0);
    QTest::keyClick(&output, Qt::Key_End);
    const QRect shown = output.cursorRect(longLine.size());
    QVERIFY(!shown.isNull());
    QVERIFY(shown.left() >= 0 && shown.left() < output.viewport()->width());
}

// U+2029 and U+2028 would each start a new paragraph or row in a text
// widget; here they, a form feed and a carriage return are drawn in their line.
void OutputWindowInputTest::controlCharactersStayInTheirLine() {
    ShownWindow window(0);
    OutputWindow& output = window.output;
    const QString odd = QString("a") + QChar(0x2029) + "b" + QChar(0x2028) + "c\fd\re";
    output.appendLine(odd);
    output.appendLine("after");
    QCOMPARE(output.lineCount(), 2);
    QCOMPARE(output.lineText(0), odd);
    QCOMPARE(output.text(), odd + "\nafter");
    output.verticalScrollBar()->setValue(0);
    const int row = output.cursorRect(0).top();
    for (int i = 1; i <= odd.size(); ++i) QCOMPARE(output.cursorRect(i).top(), row);
    output.selectLine(0);
    QCOMPARE(output.selectedText(), odd);
    QCOMPARE(output.lineNumberAt(odd.size() + 1), 1);
}

void OutputWindowInputTest::assistiveTechnologyReadsTheText() {
    ShownWindow window(3);
    OutputWindow& output = window.output;
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(&output);
    QVERIFY(accessible);
    QCOMPARE(accessible->role(), QAccessible::EditableText);
    QVERIFY(accessible->state().readOnly);
    QVERIFY(accessible->state().multiLine);
    QAccessibleTextInterface* text = accessible->textInterface();
    QVERIFY(text);
    QCOMPARE(text->characterCount(), output.text().size());
    QCOMPARE(text->text(0, text->characterCount()), QString("line 0\nline 1\nline 2"));
    QCOMPARE(text->text(7, 13), QString("line 1"));

    output.select(7, 6);
    QCOMPARE(text->selectionCount(), 1);
    int start = 0;
    int end = 0;
    text->selection(0, &start, &end);
    QCOMPARE(start, 7);
    QCOMPARE(end, 13);
    text->setSelection(0, 14, 18);
    QCOMPARE(output.selectedText(), QString("line"));
    text->setCursorPosition(2);
    QCOMPARE(output.selectionLength(), 0);
    QCOMPARE(text->cursorPosition(), 2);
    QCOMPARE(text->selectionCount(), 0);

    // Points and characters meet where the window draws them.
    output.verticalScrollBar()->setValue(0);
    const QRect second = text->characterRect(8);
    QVERIFY(second.isValid());
    QCOMPARE(text->offsetAtPoint(second.topLeft() + QPoint(1, second.height() / 2)), 8);
}

QTEST_MAIN(OutputWindowInputTest)
#include "outputwindow_input_test.moc"
