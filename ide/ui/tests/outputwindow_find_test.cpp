// Find in the output, through the main window's keys: Ctrl+F opens the bar
// under the output window, Enter and F3 find the next match, Shift+F3 the
// previous one, case counts only when asked; at either end the status bar
// says so and the selection stays; Escape closes the bar. Copy, Select all
// and Clear through their keys and items.
#include <QCheckBox>
#include <QLineEdit>
#include <QTest>

#include "outputfindbar.h"
#include "outputwindow.h"
#include "statusline.h"
#include "uitestsupport.h"

class OutputWindowFindTest : public QObject {
    Q_OBJECT

  private slots:
    void findBarWalksTheMatches();
    void findReachesLinesFarAway();
    void copySelectAllAndClearThroughTheirKeys();
};

namespace {

void activate(MainWindow& mainWindow) {
    mainWindow.show();
    QApplication::setActiveWindow(&mainWindow);
    QVERIFY(QTest::qWaitForWindowActive(&mainWindow));
    mainWindow.output().setFocus();
}

}  // namespace

void OutputWindowFindTest::findBarWalksTheMatches() {
    UiTestWorld world;
    auto mainWindow = world.startMainWindow();
    OutputWindow& output = mainWindow->output();
    for (const char* line : {"gcc -c a.c", "a.c:3: Error: one", "plain", "b.c:4: error: two",
                             "an error and an ERROR"}) {
        output.append(line);
    }
    activate(*mainWindow);
    output.select(0, 0);

    QVERIFY(!mainWindow->findBar->isVisible());
    QTest::keyClick(mainWindow.get(), Qt::Key_F, Qt::ControlModifier);
    QVERIFY(mainWindow->findBar->isVisible());
    QLineEdit* text = mainWindow->findBar->findText;
    QVERIFY(text->hasFocus());
    QTest::keyClicks(text, "error");

    const QString all = output.text();
    const auto matchAt = [&](int from) { return all.indexOf("error", from, Qt::CaseInsensitive); };
    QTest::keyClick(text, Qt::Key_Return);
    QCOMPARE(output.selectionStart(), matchAt(0));  // "Error": case does not count
    QCOMPARE(output.selectedText(), QString("Error"));
    QTest::keyClick(text, Qt::Key_F3);
    QCOMPARE(output.selectionStart(), matchAt(matchAt(0) + 1));
    QVERIFY(!output.cursorRect(output.selectionStart()).isNull());  // scrolled into view
    // F3 works from the output window too while the bar is open.
    output.setFocus();
    QTest::keyClick(&output, Qt::Key_F3);
    const int third = output.selectionStart();
    QCOMPARE(output.lineNumberAt(third), 4);
    QTest::keyClick(&output, Qt::Key_F3);
    QCOMPARE(output.selectedText(), QString("ERROR"));
    const int last = output.selectionStart();

    QTest::keyClick(&output, Qt::Key_F3);
    QCOMPARE(mainWindow->statusText(), QString("見つかりません"));
    QCOMPARE(output.selectionStart(), last);
    QCOMPARE(output.selectedText(), QString("ERROR"));

    QTest::keyClick(&output, Qt::Key_F3, Qt::ShiftModifier);
    QCOMPARE(output.selectionStart(), third);

    // With case counting, "ERROR" and "Error" are no matches.
    mainWindow->findBar->matchCaseBox->setChecked(true);
    output.select(0, 0);
    QTest::keyClick(&output, Qt::Key_F3);
    QCOMPARE(output.lineNumberAt(output.selectionStart()), 3);
    QTest::keyClick(&output, Qt::Key_F3);
    QCOMPARE(output.selectionStart(), third);
    QTest::keyClick(&output, Qt::Key_F3);
    QCOMPARE(output.selectionStart(), third);
    mainWindow->status().clear();
    QTest::keyClick(&output, Qt::Key_F3, Qt::ShiftModifier);
    QTest::keyClick(&output, Qt::Key_F3, Qt::ShiftModifier);
    QCOMPARE(mainWindow->statusText(), QString("見つかりません"));
    QCOMPARE(output.lineNumberAt(output.selectionStart()), 3);

    // Escape closes the bar and F3 finds nothing more.
    text->setFocus();
    QTest::keyClick(text, Qt::Key_Escape);
    QVERIFY(!mainWindow->findBar->isVisible());
    QVERIFY(output.hasFocus());
    const int before = output.selectionStart();
    QTest::keyClick(&output, Qt::Key_F3);
    QCOMPARE(output.selectionStart(), before);
}

// A match in the first of many lines, searched for from the last one and
// back: every line is searched, and the match is shown.
void OutputWindowFindTest::findReachesLinesFarAway() {
    OutputWindow output(nullptr);
    output.resize(300, 100);
    output.show();
    output.appendLine("the needle");
    for (int i = 0; i < 100000; ++i) output.appendLine(QString("hay %1").arg(i));
    output.flush();
    output.selectLine(output.lineCount() - 1);
    QVERIFY(!output.find("needle", true, Qt::CaseInsensitive));
    QCOMPARE(output.lineNumberAt(output.selectionStart()), output.lineCount() - 1);
    QVERIFY(output.find("needle", false, Qt::CaseInsensitive));
    QCOMPARE(output.selectionStart(), 4);
    QCOMPARE(output.selectionLength(), 6);
    QVERIFY(!output.cursorRect(4).isNull());
    QVERIFY(output.find("hay 99999", true, Qt::CaseSensitive));
    QCOMPARE(output.lineNumberAt(output.selectionStart()), 100000);
}

void OutputWindowFindTest::copySelectAllAndClearThroughTheirKeys() {
    UiTestWorld world;
    auto mainWindow = world.startMainWindow();
    OutputWindow& output = mainWindow->output();
    output.append("first line");
    output.append("second line");
    activate(*mainWindow);
    output.select(6, 4);
    QTest::keyClick(&output, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(world.ui.clipboard, std::string("line"));
    QTest::keyClick(&output, Qt::Key_A, Qt::ControlModifier);
    QCOMPARE(output.selectedText(), QString("first line\nsecond line"));
    QTest::keyClick(&output, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(world.ui.clipboard, std::string("first line\nsecond line"));
    mainWindow->clearAction->trigger();
    QCOMPARE(output.lineCount(), 0);
    QCOMPARE(output.selectionLength(), 0);
    QCOMPARE(output.text(), QString());
}

QTEST_MAIN(OutputWindowFindTest)
#include "outputwindow_find_test.moc"
