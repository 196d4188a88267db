// The bundled sample project end to end: the IDE starts on it from its
// history, builds and rebuilds it with the stored default commands through
// real make and gcc, jumps from the warning line to the editor, and fails
// a build that has a compile error.
#include <QtTest>
#include <filesystem>

#include "projecttestide.h"
#include "settings.h"

namespace {

// examples/ of the source tree, as the build names it.
QString examplesFolder() {
    return QStringLiteral(VANTOR_EXAMPLES_DIR);
}

// A registry export text, as the settings file holds it.
QByteArray quoted(const QString& text) {
    QByteArray bytes = text.toUtf8();
    bytes.replace("\\", "\\\\").replace("\"", "\\\"");
    return '"' + bytes + '"';
}

}  // namespace

class SampleProjectTest : public QObject {
    Q_OBJECT

  private slots:
    void buildsWithAWarningAndJumpsToTheEditor();
};

void SampleProjectTest::buildsWithAWarningAndJumpsToTheEditor() {
    UiTestWorld env;
    std::filesystem::copy(fromQt(examplesFolder()), fromQt(env.work()),
                          std::filesystem::copy_options::recursive);
    const QString folder = env.work() + "/sample";
    const QString makefile = folder + "/makefile";
    QVERIFY(QFile::exists(makefile));

    // An "editor" that records the arguments it was started with.
    const QString editorArgs = env.work() + "/editor-args";
    QVERIFY(writeTextFile(
        env.work() + "/editor.sh",
        "printf '%s\\n' \"$@\" > \"$0.tmp\" && mv \"$0.tmp\" " + editorArgs.toUtf8() + "\n"));

    // The settings file that scripts/run.sh seeds: the sample heads the history.
    const QString config = qEnvironmentVariable("XDG_CONFIG_HOME") + "/vantor";
    QVERIFY(QDir().mkpath(config));
    QVERIFY(writeTextFile(config + "/settings.reg",
                          "REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Halden\\Vantor]\n"
                          "\"EditCommand\"=" +
                              quoted("sh " + env.work() + "/editor.sh %n %s") +
                              "\n\n[HKEY_CURRENT_USER\\Software\\Halden\\Vantor\\history]\n"
                              "\"ProjectFile0\"=" +
                              quoted(makefile) + "\n\"Project0\"=\"sample\"\n"));

    ProjectTestIde ide(env);
    QCOMPARE(ide.title(), "Vantor - sample (" + folder + ")");
    QCOMPARE(QDir::currentPath(), QDir(folder).canonicalPath());
    QCOMPARE(ide.mainWindow->settings().buildCommand, std::string("make"));

    ide.mainWindow->buildProject();
    QStringList lines = ide.outputLines();
    QVERIFY2(!lines.isEmpty(), "no output");
    QCOMPARE(lines.first(), QString("Start Build."));
    QCOMPARE(lines.last(), QString("Build Warning."));
    QCOMPARE(ide.sounds.plays.back().event, std::string("BuildWarning"));
    const qsizetype warning = lines.indexOf(QRegularExpression("main\\.c\\(\\d+\\) : warning: .*"));
    QVERIFY2(warning > 0, qPrintable(lines.join('\n')));
    QVERIFY(QFileInfo(folder + "/obj").isDir());
    QVERIFY(QFileInfo(folder + "/sample").isExecutable());
    QVERIFY(ide.ui.messages.empty());

    // Double-click on the warning: the editor opens main.c at that line.
    OutputWindow& output = ide.mainWindow->output();
    output.select(int(output.text().indexOf(lines[warning])) + 3, 0);
    ide.mainWindow->jumpToEditorOnDoubleClick();
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(editorArgs), 10000);
    const QString lineNumber = QRegularExpression("\\((\\d+)\\)").match(lines[warning]).captured(1);
    QCOMPARE(QString::fromUtf8(readTextFile(editorArgs)), lineNumber + "\nmain.c\n");

    // Rebuild cleans first, so the warning comes again.
    ide.mainWindow->rebuildProject();
    lines = ide.outputLines();
    QCOMPARE(lines.first(), QString("Start Rebuild."));
    QVERIFY(lines.contains(QRegularExpression("rm -f .*")));
    QCOMPARE(lines.last(), QString("Rebuild Warning."));

    // A compile error fails the build with make's own exit status.
    QVERIFY(writeTextFile(folder + "/greet.c", "int greet(void) { return missing; }\n"));
    ide.mainWindow->buildProject();
    lines = ide.outputLines();
    QVERIFY2(lines.indexOf(QRegularExpression("greet\\.c\\(1\\) : error: .*")) > 0,
             qPrintable(lines.join('\n')));
    QCOMPARE(lines.last(), QString("Build Error (2)."));
}

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    SampleProjectTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "sample_project_test.moc"
