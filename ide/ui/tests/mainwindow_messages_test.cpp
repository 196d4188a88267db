// The Edit menu's next and previous message over the output of real builds
// (gcc and bcc through make, a recursive make whose messages name files in
// its sub-folder), and the editor jump from a message line taking make's
// folder.
#include <QAction>
#include <QApplication>
#include <QRegularExpression>
#include <QStandardPaths>

#include "childlines.h"
#include "editorworld.h"
#include "outputwindow.h"
#include "settings.h"
#include "statusline.h"
#include "uitestsupport.h"

class MainWindowMessagesTest : public QObject {
    Q_OBJECT

  private slots:
    void f4AndShiftF4WalkTheMessagesOfARealBuild();
    void newOutputStartsTheSearchAtTheTop();
    void messagesOfARecursiveMakeOpenInItsFolder_data();
    void messagesOfARecursiveMakeOpenInItsFolder();
    void messageItemsWorkDuringARun();
};

namespace {

constexpr char kNoMoreMessages[] = "これ以上メッセージはありません";

// A missing expression on line 3 (column 11) and an undeclared name on line 4.
constexpr char kBrokenSource[] = "int main()\n{\n  int x = ;\n  return y;\n}\n";

// The editor's arguments for a message line, read here on their own: the
// compilers' form gives no column, the colon forms give one.
std::string argumentsFor(const QString& line, const std::string& folder = {}) {
    static const QRegularExpression compilers(R"(^(\S+)\((\d+)\) ?: )");
    static const QRegularExpression colon(R"(^([^:]+):(\d+)[:.](\d+): )");
    QString file;
    QString lineNumber;
    QString column = "1";
    if (const auto match = compilers.match(line); match.hasMatch()) {
        file = match.captured(1);
        lineNumber = match.captured(2);
    } else if (const auto match = colon.match(line); match.hasMatch()) {
        file = match.captured(1);
        lineNumber = match.captured(2);
        column = match.captured(3);
    }
    const std::string path = (folder.empty() ? "" : folder + "/") + file.toStdString();
    return "[-l" + lineNumber.toStdString() + "]\n[-c" + column.toStdString() + "]\n[" + path +
           "]\n";
}

// The window shown and active, so that its shortcuts reach the items.
void activate(MainWindow& mainWindow) {
    mainWindow.show();
    QApplication::setActiveWindow(&mainWindow);
    QVERIFY(QTest::qWaitForWindowActive(&mainWindow));
    mainWindow.output().setFocus();
}

void putCaret(OutputWindow& output, int line) {
    output.select(output.text().split('\n').mid(0, line).join('\n').size() + (line > 0), 0);
}

}  // namespace

void MainWindowMessagesTest::f4AndShiftF4WalkTheMessagesOfARealBuild() {
    EditorWorld editor(" -l%n -c%c %s");
    MainWindow& mainWindow = *editor.mainWindow;
    editor.world.writeFile("my proj/bad.c", kBrokenSource);
    editor.world.writeFile("my proj/makefile",
                           "all:\n\t@echo 'hello.c(12): Warning! W202: Symbol x unused'\n"
                           "\tgcc -fdiagnostics-color=never -c bad.c\n");
    mainWindow.settings().buildCommand = "make";
    mainWindow.buildProject();
    OutputWindow& output = mainWindow.output();
    const QStringList lines = output.text().split('\n');
    QStringList messages;
    for (const QString& line : lines) {
        if (line.startsWith("hello.c(") ||
            (line.startsWith("bad.c:") &&
             (line.contains(": error: ") || line.contains(": note: "))))
            messages << line;
    }
    QVERIFY2(messages.size() >= 3, qPrintable(lines.join('\n')));
    QVERIFY(lines.contains("gcc -fdiagnostics-color=never -c bad.c"));
    QVERIFY(lines.last().startsWith("Build Error"));

    activate(mainWindow);
    for (const QString& message : messages) {
        QTest::keyClick(&output, Qt::Key_F4);
        QCOMPARE(output.selectedText(), message);
        QCOMPARE(editor.editorCall(), editor.expectedCall(argumentsFor(message)));
    }
    const int lastStart = output.selectionStart();
    QTest::keyClick(&output, Qt::Key_F4);
    QCOMPARE(mainWindow.statusText(), QString(kNoMoreMessages));
    QCOMPARE(output.selectionStart(), lastStart);
    QCOMPARE(output.selectedText(), messages.last());

    for (qsizetype i = messages.size() - 2; i >= 0; --i) {
        QTest::keyClick(&output, Qt::Key_F4, Qt::ShiftModifier);
        QCOMPARE(output.selectedText(), messages[i]);
        QCOMPARE(editor.editorCall(), editor.expectedCall(argumentsFor(messages[i])));
    }
    mainWindow.status().clear();
    QTest::keyClick(&output, Qt::Key_F4, Qt::ShiftModifier);
    QCOMPARE(mainWindow.statusText(), QString(kNoMoreMessages));
    QCOMPARE(output.selectedText(), messages.first());
    QTest::qWait(200);
    QVERIFY(!QFileInfo::exists(QString::fromStdString(editor.argsFile)));  // no editor at the ends
}

void MainWindowMessagesTest::newOutputStartsTheSearchAtTheTop() {
    EditorWorld editor;
    MainWindow& mainWindow = *editor.mainWindow;
    OutputWindow& output = mainWindow.output();
    output.append("Start Build.", LineKind::Ide);
    appendChildLines(output, {"a.c(1) : error C2001: x", "cl -c b.c", "b.c(2) : error C2002: y"});
    output.append("Build Error.", LineKind::Summary);
    mainWindow.openNextMessage();
    QCOMPARE(output.selectedText(), QString("a.c(1) : error C2001: x"));
    mainWindow.openNextMessage();
    QCOMPARE(output.selectedText(), QString("b.c(2) : error C2002: y"));
    editor.editorCall();

    appendChildLines(output, {"c.c(3) : warning C4001: z"});  // new output: from the top again
    mainWindow.openNextMessage();
    QCOMPARE(output.selectedText(), QString("a.c(1) : error C2001: x"));
    editor.editorCall();

    putCaret(output, 3);  // placed by hand: from the caret's line
    mainWindow.openNextMessage();
    QCOMPARE(output.selectedText(), QString("c.c(3) : warning C4001: z"));
    QCOMPARE(editor.editorCall(), editor.expectedCall("[-l3]\n[c.c]\n"));

    // A selection over several lines: Next goes on after its last line,
    // Previous before its first.
    const int aStart = output.text().indexOf("a.c(1)");
    output.select(aStart + 3, output.text().indexOf("b.c(2)") + 3 - aStart - 3);
    mainWindow.openNextMessage();
    QCOMPARE(output.selectedText(), QString("c.c(3) : warning C4001: z"));
    editor.editorCall();
    const int bStart = output.text().indexOf("b.c(2)");
    output.select(bStart, output.text().indexOf("c.c(3)") + 2 - bStart);
    mainWindow.openPreviousMessage();
    QCOMPARE(output.selectedText(), QString("a.c(1) : error C2001: x"));
    editor.editorCall();

    // Cleared and written again.
    mainWindow.clearOutput();
    appendChildLines(output, {"d.c(4) : error C2003: w", "done"});
    putCaret(output, 1);
    appendChildLines(output, {"e.c(5) : error C2004: v"});
    mainWindow.openNextMessage();
    QCOMPARE(output.selectedText(), QString("d.c(4) : error C2003: w"));
    editor.editorCall();
}

void MainWindowMessagesTest::messagesOfARecursiveMakeOpenInItsFolder_data() {
    QTest::addColumn<QString>("compile");
    QTest::newRow("gcc") << "gcc -fdiagnostics-color=never -c bad.c";
    QTest::newRow("bcc") << "bcc -ansi -c bad.c";
}

// The sub-make's compiler names bad.c relative to "my proj/sub"; the line
// after make has left that folder names main.c relative to the project.
void MainWindowMessagesTest::messagesOfARecursiveMakeOpenInItsFolder() {
    QFETCH(QString, compile);
    const QString compiler = compile.section(' ', 0, 0);
    if (QStandardPaths::findExecutable(compiler).isEmpty())
        QSKIP(qPrintable(compiler + " is not installed"));
    EditorWorld editor(" -l%n -c%c %s");
    MainWindow& mainWindow = *editor.mainWindow;
    editor.world.writeFile("my proj/sub/bad.c", kBrokenSource);
    editor.world.writeFile("my proj/sub/makefile", "all:\n\t" + compile.toStdString() + "\n");
    editor.world.writeFile(
        "my proj/makefile",
        "all:\n\t-$(MAKE) -C sub\n\t@echo 'main.c(5) : warning C4001: after the sub-make'\n");
    mainWindow.settings().buildCommand = "make";
    mainWindow.buildProject();
    OutputWindow& output = mainWindow.output();
    const QStringList lines = output.text().split('\n');
    const std::string sub = editor.folder + "/sub";
    QVERIFY2(lines.contains(QString::fromStdString("make[1]: Entering directory '" + sub + "'")),
             qPrintable(lines.join('\n')));

    // A double click on the first message of the sub-make.
    const auto first = std::find_if(lines.begin(), lines.end(),
                                    [](const QString& line) { return line.startsWith("bad.c:3"); });
    QVERIFY(first != lines.end());
    putCaret(output, static_cast<int>(first - lines.begin()));
    mainWindow.jumpToEditorOnDoubleClick();
    const QString call = editor.editorCall();
    QCOMPARE(call, editor.expectedCall(argumentsFor(*first, sub)));
    QVERIFY(call.contains("[-l3]\n[-c11]\n"));

    // The compiler's command in the sub-folder is no message: its first word
    // is opened as before.
    putCaret(output, static_cast<int>(lines.indexOf(compile)));
    mainWindow.jumpToEditorFromSelection();
    QCOMPARE(editor.editorCall(),
             editor.expectedCall("[-l1]\n[-c1]\n[" + compiler.toStdString() + "]\n"));

    // The top make's line after the sub-make's messages is the last one.
    mainWindow.openNextMessage();
    while (mainWindow.statusText() != kNoMoreMessages) {
        const QString message = output.selectedText();
        const std::string folder = message.startsWith("bad.c") ? sub : std::string();
        QCOMPARE(editor.editorCall(), editor.expectedCall(argumentsFor(message, folder)));
        mainWindow.openNextMessage();
    }
    QCOMPARE(output.selectedText(), QString("main.c(5) : warning C4001: after the sub-make"));
}

void MainWindowMessagesTest::messageItemsWorkDuringARun() {
    EditorWorld editor;
    MainWindow& mainWindow = *editor.mainWindow;
    editor.world.writeFile("my proj/makefile",
                           "all:\n\t@echo 'w.c(7) : warning C4001: x'; echo started; sleep 1\n");
    mainWindow.settings().buildCommand = "make";
    bool enabledDuringRun = false;
    QString during;
    editor.world.ui.onProcessEvents = [&] {
        if (!during.isEmpty() || !mainWindow.output().text().contains("started")) return;
        enabledDuringRun = mainWindow.nextMessageAction->isEnabled() &&
                           mainWindow.previousMessageAction->isEnabled();
        mainWindow.nextMessageAction->trigger();
        during = editor.editorCall();
    };
    mainWindow.buildProject();
    QVERIFY(enabledDuringRun);
    QCOMPARE(during, editor.expectedCall("[-l7]\n[w.c]\n"));
}

QTEST_MAIN(MainWindowMessagesTest)
#include "mainwindow_messages_test.moc"
