// From output lines to the editor and to the error help: the line under the
// caret, the editor's command line (a real script stands in for the editor)
// and the help keyword reaching the help viewer.
#include <QApplication>
#include <QCheckBox>
#include <QMouseEvent>
#include <QStatusBar>

#include "editorworld.h"
#include "outputwindow.h"
#include "proj.h"
#include "regist.h"
#include "toptiondlg.h"
#include "uitestsupport.h"

class TVantorNavigationTest : public QObject {
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

void TVantorNavigationTest::clickSelectsTheWholeLineUnderTheCaret() {
    UiTestWorld world;
    auto vantor = world.startVantor();
    OutputWindow& output = vantor->output();
    output.append("first");
    output.append("");
    output.append("third line");

    putCaret(output, 0);
    vantor->output1Click();
    QCOMPARE(output.selectedText(), QString("first"));

    putCaret(output, 6);  // the empty line
    vantor->output1Click();
    QCOMPARE(output.selectionStart(), 6);
    QCOMPARE(output.selectionLength(), 0);

    output.select(9, 5);  // a drag inside the third line
    vantor->output1Click();
    QCOMPARE(output.selectedText(), QString("third line"));

    // A real mouse click in the widget runs the handler too.
    output.resize(400, 200);
    vantor->show();
    const QRect firstLine = output.cursorRect(QTextCursor(output.document()));
    QTest::mouseClick(output.viewport(), Qt::LeftButton, {}, firstLine.center());
    QCOMPARE(output.selectedText(), QString("first"));
}

void TVantorNavigationTest::doubleClickStartsTheEditorInTheProjectFolder() {
    EditorWorld editor;
    editor.vantor->output().append("Start Build.");
    editor.vantor->output().append("src/main.c(20) : warning C4001: text");
    putCaret(editor.vantor->output(), 20);
    editor.vantor->output1DblClick();
    QCOMPARE(editor.editorCall(),
             QString::fromStdString(editor.folder + "\n[-l20]\n[src/main.c]\n"));
}

void TVantorNavigationTest::debugModeShowsStartThenEditcmd() {
    EditorWorld editor;
    TOptionDlg options(*editor.vantor);
    options.IDEdebugmode->setChecked(true);
    editor.vantor->setDialogs({nullptr, &options, nullptr, nullptr, nullptr});
    OutputWindow& output = editor.vantor->output();
    output.append("x");
    output.append(kJumpLine);

    QStringList shown;
    QObject::connect(editor.vantor->StatusBar, &QStatusBar::messageChanged,
                     [&shown](const QString& text) { shown << text; });
    putCaret(output, 4);
    editor.vantor->output1DblClick();
    QCOMPARE(shown.size(), 2);
    QCOMPARE(shown[0], QString("Start=2, Len=%1").arg(qstrlen(kJumpLine)));
    QVERIFY(shown[1].startsWith("Editcmd="));
    QVERIFY(shown[1].endsWith(" -l20 \"jumptest.c\""));
    editor.editorCall();
}

void TVantorNavigationTest::editorItemKeepsAHandMadeSelection() {
    EditorWorld editor;
    OutputWindow& output = editor.vantor->output();
    output.append("see big.c(12) : error C2001: x");
    output.select(4, 9);  // "big.c(12)" chosen with the keyboard
    editor.vantor->jumpEditClick();
    QCOMPARE(editor.editorCall(), QString::fromStdString(editor.folder + "\n[-l12]\n[big.c]\n"));
}

void TVantorNavigationTest::lineWithoutParenthesisOpensTheFirstWord() {
    EditorWorld editor;
    editor.vantor->output().append("make: *** [all] Error 2");
    putCaret(editor.vantor->output(), 3);
    editor.vantor->jumpEditClick();  // nothing selected: the line is taken
    QCOMPARE(editor.editorCall(), QString::fromStdString(editor.folder + "\n[-l1]\n[make:]\n"));
}

void TVantorNavigationTest::editProjectOpensTheWholeMakefilePath() {
    EditorWorld editor;
    editor.vantor->EditProjectClick();
    QCOMPARE(editor.editorCall(),
             QString::fromStdString(editor.folder + "\n[-l1]\n[" + editor.folder + "/makefile]\n"));
}

void TVantorNavigationTest::helpKeywordReachesTheHelpViewer() {
    UiTestWorld world;
    world.storeString(regschema::kHelpKey, "Cerror", "errors.hlp");
    auto vantor = world.startVantor();
    OutputWindow& output = vantor->output();
    output.append("a.c(3) : error C2065: 'x' : undeclared");
    putCaret(output, 5);

    // F1 in the output window.
    vantor->show();
    QApplication::setActiveWindow(vantor.get());
    QVERIFY(QTest::qWaitForWindowActive(vantor.get()));
    output.setFocus();
    QTest::keyClick(&output, Qt::Key_F1);
    QCOMPARE(world.help.requests.size(), std::size_t(1));
    QCOMPARE(world.help.requests[0].command, FakeHelpViewer::Command::Keyword);
    QCOMPARE(world.help.requests[0].helpFile, std::string("errors.hlp"));
    QCOMPARE(world.help.requests[0].key, std::string("C2065"));
}

void TVantorNavigationTest::helpSkipsLinesWithoutAMessageNumber() {
    UiTestWorld world;
    auto vantor = world.startVantor();
    OutputWindow& output = vantor->output();
    output.append("LINK : error L2029: unresolved");
    output.append("b.c(9) : Warning C4101: unused");
    output.append("c.c(1) : fatal error C1083: cannot open");
    putCaret(output, 0);
    vantor->jumpHelpClick();  // the linker line borrows the number below it
    QCOMPARE(world.help.requests.back().key, std::string("C4101"));

    putCaret(output, output.text().indexOf("c.c"));
    vantor->jumpHelpClick();  // "fatal" begins with f: no help
    QCOMPARE(world.help.requests.size(), std::size_t(1));
}

void TVantorNavigationTest::emptyOutputDoesNothing() {
    EditorWorld editor;
    editor.vantor->output1DblClick();
    editor.vantor->jumpEditClick();
    editor.vantor->jumpHelpClick();
    QVERIFY(!editor.vantor->SelectCurrentLine());
    QVERIFY(editor.world.help.requests.empty());
    QTest::qWait(200);
    QVERIFY(!QFileInfo::exists(QString::fromStdString(editor.argsFile)));
}

QTEST_MAIN(TVantorNavigationTest)
#include "tvantor_navigation_test.moc"
