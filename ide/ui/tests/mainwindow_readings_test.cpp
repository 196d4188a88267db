// The one reading of each line, seen through the window: real gcc and bcc
// builds whose every message F4 reaches, in its colour and counted; a child
// that prints the IDE's own texts; a message naming its file the DOS way;
// the user's own forms from the options page and from the settings.
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTextBlock>
#include <QTextDocument>
#include <QTimer>

#include "editorworld.h"
#include "optionsdialog.h"
#include "optionsdialog_messages.h"
#include "outputwindow.h"
#include "settings.h"
#include "uitestsupport.h"

class MainWindowReadingsTest : public QObject {
    Q_OBJECT

  private slots:
    void everyMessageOfARealBuild_data();
    void everyMessageOfARealBuild();
    void aChildPrintingTheIdesTextsIsAChild();
    void theUsersFormsComeFromTheOptionsPage();
    void anUnreadableStoredFormIsReportedOnce();
};

namespace {

constexpr char kNoMoreMessages[] = "これ以上メッセージはありません";

// A missing expression, an undeclared name, and (for gcc's -Wall) an unused
// variable.
constexpr char kBrokenSource[] =
    "int main()\n{\n  int x = ;\n  return y;\n}\nvoid g(void) { int unused; }\n";

// A message as this test reads it, on its own: which lines are messages of
// which kind and where they point.
struct Expected {
    QString line;
    QString kind;  // "error", "warning", "note"
    QString file;
    QString lineNumber;
    QString column;  // "1" when none
};

std::optional<Expected> expectedMessage(const QString& line) {
    static const QRegularExpression colon(R"(^(bad\.c):(\d+)[:.](\d+): (error|warning|note): )");
    static const QRegularExpression borland(R"(^(Error|Warning) [EW]\d+ (\S+) (\d+): )");
    if (const auto m = colon.match(line); m.hasMatch())
        return Expected{line, m.captured(4), m.captured(1), m.captured(2), m.captured(3)};
    if (const auto m = borland.match(line); m.hasMatch())
        return Expected{line, m.captured(1).toLower(), m.captured(2), m.captured(3), "1"};
    return std::nullopt;
}

QTextCharFormat formatOf(OutputWindow& output, const QString& line) {
    for (int i = 0; i < output.lineCount(); ++i) {
        if (output.lineText(i) == line) return output.lineFormat(i);
    }
    return {};
}

void activate(MainWindow& mainWindow) {
    mainWindow.show();
    QApplication::setActiveWindow(&mainWindow);
    QVERIFY(QTest::qWaitForWindowActive(&mainWindow));
    mainWindow.output().setFocus();
}

void putCaretOn(OutputWindow& output, const QString& line) {
    output.select(output.text().indexOf(line), 0);
}

}  // namespace

void MainWindowReadingsTest::everyMessageOfARealBuild_data() {
    QTest::addColumn<QString>("compile");
    QTest::newRow("gcc") << "gcc -Wall -fdiagnostics-color=never -c bad.c";
    QTest::newRow("bcc") << "bcc -ansi -c bad.c";
}

// Every message line the compiler, a Borland-style line and a linker wrote:
// F4 stops at each that names a file, in order, and opens it there; each is
// in its kind's colour; the status bar counts the errors and warnings.
void MainWindowReadingsTest::everyMessageOfARealBuild() {
    QFETCH(QString, compile);
    const QString compiler = compile.section(' ', 0, 0);
    if (QStandardPaths::findExecutable(compiler).isEmpty())
        QSKIP(qPrintable(compiler + " is not installed"));
    EditorWorld editor(" -l%n -c%c %s");
    MainWindow& mainWindow = *editor.mainWindow;
    editor.world.writeFile("my proj/bad.c", kBrokenSource);
    editor.world.writeFile("my proj/makefile",
                           "all:\n\t@echo 'Warning W8004 other.c 7: x is assigned a value'\n"
                           "\t@echo 'LINK : fatal error L1104: hello.obj : not valid'\n"
                           "\t" +
                               compile.toStdString() + "\n");
    mainWindow.settings().buildCommand = "make";
    mainWindow.buildProject();
    OutputWindow& output = mainWindow.output();
    const QStringList lines = output.text().split('\n');

    std::vector<Expected> messages;
    int errors = 1;  // the linker's
    int warnings = 0;
    for (const QString& line : lines) {
        if (const auto message = expectedMessage(line)) {
            messages.push_back(*message);
            errors += message->kind == "error";
            warnings += message->kind == "warning";
        }
    }
    QVERIFY2(messages.size() >= 3, qPrintable(lines.join('\n')));
    QVERIFY2(QRegularExpression(QString("^エラー %1 件、警告 %2 件 ").arg(errors).arg(warnings))
                 .match(mainWindow.statusText())
                 .hasMatch(),
             qPrintable(mainWindow.statusText() + "\n" + lines.join('\n')));
    QCOMPARE(
        formatOf(output, "LINK : fatal error L1104: hello.obj : not valid").foreground().color(),
        QColor(Qt::darkRed));
    for (const Expected& message : messages) {
        const QColor shown = formatOf(output, message.line).foreground().color();
        if (message.kind == "error") QCOMPARE(shown, QColor(Qt::darkRed));
        if (message.kind == "warning") QCOMPARE(shown, QColor(Qt::darkYellow));
    }

    activate(mainWindow);
    for (const Expected& message : messages) {
        QTest::keyClick(&output, Qt::Key_F4);
        QCOMPARE(output.selectedText(), message.line);
        QCOMPARE(editor.editorCall(),
                 editor.expectedCall(("[-l" + message.lineNumber + "]\n[-c" + message.column +
                                      "]\n[" + message.file + "]\n")
                                         .toStdString()));
    }
    QTest::keyClick(&output, Qt::Key_F4);  // the linker's line leads nowhere
    QCOMPARE(mainWindow.statusText(), QString(kNoMoreMessages));
    QCOMPARE(output.selectedText(), messages.back().line);
}

// A child's "Entering directory", "Start Build." and "Build Error." are its
// own plain lines: nothing bold but the IDE's summary, and the folder make
// reported still holds for the message after them, whose DOS-style name
// finds its file.
void MainWindowReadingsTest::aChildPrintingTheIdesTextsIsAChild() {
    EditorWorld editor;
    MainWindow& mainWindow = *editor.mainWindow;
    const std::string sub = editor.folder + "/sub";
    editor.world.writeFile("my proj/sub/src/hello.c", "int x;\n");
    editor.world.writeFile("my proj/makefile",
                           "all:\n\t@echo \"make[1]: Entering directory '" + sub +
                               "'\"\n\t@echo 'Start Build.'\n\t@echo 'Build Error.'\n"
                               "\t@printf '%s\\n' 'SRC\\HELLO.C(3) : error C2065: x'\n\t@exit 2\n");
    mainWindow.settings().buildCommand = "make";
    mainWindow.buildProject();
    OutputWindow& output = mainWindow.output();
    const QStringList lines = output.text().split('\n');
    QCOMPARE(lines.count("Start Build."), 2);
    QVERIFY2(lines.contains("Build Error."), qPrintable(lines.join('\n')));
    QCOMPARE(lines.last(), QString("Build Error (2)."));
    for (int i = 0; i < output.lineCount(); ++i) {
        const bool bold = output.lineFormat(i).fontWeight() == QFont::Bold;
        QCOMPARE(bold, i == output.lineCount() - 1);
    }
    QVERIFY(output.messageAt(static_cast<int>(lines.indexOf("Build Error."))) == nullptr);

    QVERIFY2(lines.contains("SRC\\HELLO.C(3) : error C2065: x"), qPrintable(lines.join('\n')));
    putCaretOn(output, "SRC\\HELLO.C(3)");
    mainWindow.jumpToEditorOnDoubleClick();
    QCOMPARE(editor.editorCall(), editor.expectedCall("[-l3]\n[" + sub + "/src/hello.c]\n"));
}

// The page reads its example back as the form is typed; after OK the form
// is stored and read before the built-in ones.
void MainWindowReadingsTest::theUsersFormsComeFromTheOptionsPage() {
    EditorWorld editor;
    MainWindow& mainWindow = *editor.mainWindow;
    OptionsDialog options(&mainWindow, mainWindow.settings(), mainWindow.codePage());
    mainWindow.setDialogs({nullptr, &options, nullptr, nullptr, nullptr});
    const auto confirm = [&] {
        QTimer::singleShot(0, options.okButton, &QPushButton::click);
        mainWindow.editOptions();
    };
    MessageFormsPage& page = *options.messageFormsPage;
    QCOMPARE(options.pages->tabText(options.pages->indexOf(&page)), QString("メッセージ"));
    QCOMPARE(page.formList->count(), 0);
    page.addButton->click();
    QCOMPARE(page.formList->count(), 1);
    page.captionEdit->setText("lcc");
    page.formEdit->setText("%f %l: %t: %m");
    page.exampleEdit->setText("hello.c 12: warning: unused x");
    QCOMPARE(page.readingLabel->text(), QString("ファイル: hello.c  行: 12  種類: 警告"));
    page.formEdit->setText("%f %l: %q");
    QCOMPARE(page.readingLabel->text(), QString("「%q」は書式にない指定です。"));
    page.formEdit->setText("%f %l: %t: %m");
    QCOMPARE(page.formList->item(0)->text(), QString("lcc"));
    confirm();

    RegistryAccess reg(*editor.world.store);
    QVERIFY(reg.openKey(settingsschema::kMessageFormsKey, false));
    QCOMPARE(reg.readInteger("Count", 0), 1);
    QCOMPARE(QString::fromStdString(reg.readString("Form0", "")), QString("lcc|%f %l: %t: %m"));
    reg.closeKey();

    editor.world.writeFile("my proj/makefile", "all:\n\t@echo 'hello.c 12: warning: unused x'\n");
    mainWindow.settings().buildCommand = "make";
    mainWindow.buildProject();
    OutputWindow& output = mainWindow.output();
    mainWindow.openNextMessage();
    QCOMPARE(output.selectedText(), QString("hello.c 12: warning: unused x"));
    QCOMPARE(editor.editorCall(), editor.expectedCall("[-l12]\n[hello.c]\n"));
    QVERIFY(mainWindow.statusText().startsWith("エラー 0 件、警告 1 件"));

    page.removeButton->click();
    confirm();
    QVERIFY(reg.openKey(settingsschema::kMessageFormsKey, false));
    QCOMPARE(reg.readInteger("Count", 9), 0);
    QVERIFY(!reg.hasValue("Form0"));
}

// A stored form that cannot be read is named once at start-up; the others
// are used.
void MainWindowReadingsTest::anUnreadableStoredFormIsReportedOnce() {
    UiTestWorld world;
    world.storeInteger(settingsschema::kMessageFormsKey, "Count", 3);
    world.storeString(settingsschema::kMessageFormsKey, "Form0", "broken|%f(%l): %x");
    world.storeString(settingsschema::kMessageFormsKey, "Form1", "no separator");
    world.storeString(settingsschema::kMessageFormsKey, "Form2", "lcc|%f %l: %t: %m");
    auto mainWindow = world.startMainWindow();
    QCOMPARE(world.ui.messages.size(), std::size_t(1));
    const QString reported = QString::fromStdString(world.ui.messages[0].text);
    QVERIFY2(reported.contains("Form1") && reported.contains("broken: "), qPrintable(reported));
    QCOMPARE(mainWindow->settings().messageForms.size(), std::size_t(2));
    const auto reading = mainWindow->messageReader().read("a.c 3: error: x");
    QVERIFY(reading.has_value());
    QCOMPARE(reading->file, std::string("a.c"));
}

QTEST_MAIN(MainWindowReadingsTest)
#include "mainwindow_readings_test.moc"
