// From output lines to the editor and to the error help: the line under the
// caret, the editor's command line (a real script stands in for the editor)
// and the help keyword reaching the help viewer.
#include <QApplication>
#include <QCheckBox>
#include <QMouseEvent>
#include <QStatusBar>

#include "childlines.h"
#include "editorworld.h"
#include "optionsdialog.h"
#include "outputwindow.h"
#include "project.h"
#include "settings.h"
#include "uitestsupport.h"

class MainWindowNavigationTest : public QObject {
    Q_OBJECT

  private slots:
    void clickSelectsTheWholeLineUnderTheCaret();
    void doubleClickStartsTheEditorInTheProjectFolder();
    void debugModeShowsStartThenEditcmd();
    void editorItemKeepsAHandMadeSelection();
    void lineWithoutParenthesisOpensTheFirstWord();
    void editProjectOpensTheWholeMakefilePath();
    void helpKeywordReachesTheHelpViewer();
    void helpSkipsLinesWithoutAMessageNumber();
    void emptyOutputDoesNothing();
};

namespace {

constexpr char kJumpLine[] =
    "jumptest.c(20) : warning C4001: This is editor/error jump test message.";

void putCaret(OutputWindow& output, int position) {
    output.select(position, 0);
}

}  // namespace

void MainWindowNavigationTest::clickSelectsTheWholeLineUnderTheCaret() {
    UiTestWorld world;
    auto mainWindow = world.startMainWindow();
    OutputWindow& output = mainWindow->output();
    output.append("first");
    output.append("");
    output.append("third line");

    putCaret(output, 0);
    mainWindow->selectClickedLine();
    QCOMPARE(output.selectedText(), QString("first"));

    putCaret(output, 6);  // the empty line
    mainWindow->selectClickedLine();
    QCOMPARE(output.selectionStart(), 6);
    QCOMPARE(output.selectionLength(), 0);

    output.select(9, 5);  // a drag inside the third line
    mainWindow->selectClickedLine();
    QCOMPARE(output.selectedText(), QString("third line"));

    // A real mouse click in the widget runs the handler too.
    output.resize(400, 200);
    mainWindow->show();
    const QRect firstLine = output.cursorRect(0);
    QTest::mouseClick(output.viewport(), Qt::LeftButton, {}, firstLine.center());
    QCOMPARE(output.selectedText(), QString("first"));
}

void MainWindowNavigationTest::doubleClickStartsTheEditorInTheProjectFolder() {
    EditorWorld editor;
    editor.mainWindow->output().append("Start Build.");
    editor.mainWindow->output().append("src/main.c(20) : warning C4001: text");
    putCaret(editor.mainWindow->output(), 20);
    editor.mainWindow->jumpToEditorOnDoubleClick();
    QCOMPARE(editor.editorCall(),
             QString::fromStdString(editor.folder + "\n[-l20]\n[src/main.c]\n"));
}

void MainWindowNavigationTest::debugModeShowsStartThenEditcmd() {
    EditorWorld editor;
    OptionsDialog options(editor.mainWindow.get(), editor.mainWindow->settings(),
                          editor.mainWindow->codePage());
    options.findChild<QCheckBox*>("debugModeBox")->setChecked(true);
    editor.mainWindow->setDialogs({nullptr, &options, nullptr, nullptr, nullptr});
    OutputWindow& output = editor.mainWindow->output();
    output.append("x");
    output.append(kJumpLine);

    QStringList shown;
    QObject::connect(editor.mainWindow->statusLine, &QStatusBar::messageChanged,
                     [&shown](const QString& text) { shown << text; });
    putCaret(output, 4);
    editor.mainWindow->jumpToEditorOnDoubleClick();
    QCOMPARE(shown.size(), 2);
    QCOMPARE(shown[0], QString("Start=2, Len=%1").arg(qstrlen(kJumpLine)));
    QVERIFY(shown[1].startsWith("Editcmd="));
    QVERIFY(shown[1].endsWith(" -l20 \"jumptest.c\""));
    editor.editorCall();
}

void MainWindowNavigationTest::editorItemKeepsAHandMadeSelection() {
    EditorWorld editor;
    OutputWindow& output = editor.mainWindow->output();
    output.append("see big.c(12) : error C2001: x");
    output.select(4, 9);  // "big.c(12)" chosen with the keyboard
    editor.mainWindow->jumpToEditorFromSelection();
    QCOMPARE(editor.editorCall(), QString::fromStdString(editor.folder + "\n[-l12]\n[big.c]\n"));
}

void MainWindowNavigationTest::lineWithoutParenthesisOpensTheFirstWord() {
    EditorWorld editor;
    editor.mainWindow->output().append("make: *** [all] Error 2");
    putCaret(editor.mainWindow->output(), 3);
    editor.mainWindow->jumpToEditorFromSelection();  // nothing selected: the line is taken
    QCOMPARE(editor.editorCall(), QString::fromStdString(editor.folder + "\n[-l1]\n[make:]\n"));
}

void MainWindowNavigationTest::editProjectOpensTheWholeMakefilePath() {
    EditorWorld editor;
    editor.mainWindow->editMakefile();
    QCOMPARE(editor.editorCall(),
             QString::fromStdString(editor.folder + "\n[-l1]\n[" + editor.folder + "/makefile]\n"));
}

void MainWindowNavigationTest::helpKeywordReachesTheHelpViewer() {
    UiTestWorld world;
    world.storeString(settingsschema::kHelpKey, "Cerror", "errors.hlp");
    auto mainWindow = world.startMainWindow();
    OutputWindow& output = mainWindow->output();
    appendChildLines(output, {"a.c(3) : error C2065: 'x' : undeclared"});
    putCaret(output, 5);

    // F1 in the output window.
    mainWindow->show();
    QApplication::setActiveWindow(mainWindow.get());
    QVERIFY(QTest::qWaitForWindowActive(mainWindow.get()));
    output.setFocus();
    QTest::keyClick(&output, Qt::Key_F1);
    QCOMPARE(world.help.requests.size(), std::size_t(1));
    QCOMPARE(world.help.requests[0].command, FakeHelpViewer::Command::Keyword);
    QCOMPARE(world.help.requests[0].helpFile, std::string("errors.hlp"));
    QCOMPARE(world.help.requests[0].key, std::string("C2065"));
}

void MainWindowNavigationTest::helpSkipsLinesWithoutAMessageNumber() {
    UiTestWorld world;
    auto mainWindow = world.startMainWindow();
    OutputWindow& output = mainWindow->output();
    appendChildLines(output, {"make: *** [all] Error 2", "b.c(9) : Warning C4101: unused",
                              "c.c(1) : fatal error C1083: cannot open",
                              "LINK : error L2029: unresolved", "done"});
    putCaret(output, 0);
    mainWindow->jumpToHelp();  // make's line borrows the number below it
    QCOMPARE(world.help.requests.back().key, std::string("C4101"));

    // Every message's own number: a fatal error's, a linker's.
    putCaret(output, output.text().indexOf("c.c"));
    mainWindow->jumpToHelp();
    QCOMPARE(world.help.requests.back().key, std::string("C1083"));
    putCaret(output, output.text().indexOf("LINK"));
    mainWindow->jumpToHelp();
    QCOMPARE(world.help.requests.back().key, std::string("L2029"));
    putCaret(output, output.text().indexOf("done"));
    mainWindow->jumpToHelp();  // nothing below
    QCOMPARE(world.help.requests.size(), std::size_t(3));
}

void MainWindowNavigationTest::emptyOutputDoesNothing() {
    EditorWorld editor;
    editor.mainWindow->jumpToEditorOnDoubleClick();
    editor.mainWindow->jumpToEditorFromSelection();
    editor.mainWindow->jumpToHelp();
    QVERIFY(!editor.mainWindow->selectCurrentLine());
    QVERIFY(editor.world.help.requests.empty());
    QTest::qWait(200);
    QVERIFY(!QFileInfo::exists(QString::fromStdString(editor.argsFile)));
}

QTEST_MAIN(MainWindowNavigationTest)
#include "mainwindow_navigation_test.moc"
