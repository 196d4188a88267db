// What a build looks like in the window: a real make and gcc build's error
// and warning lines in colour, the summary in bold, the counts and time in
// the status bar; and a child's Shift-JIS or UTF-8 bytes decoded by the
// stored output encoding.
#include <QRegularExpression>
#include <QTextCharFormat>

#include "outputwindow.h"
#include "settings.h"
#include "uitestsupport.h"

class MainWindowBuildPaneTest : public QObject {
    Q_OBJECT

  private slots:
    void realBuildShowsKindsAndCounts();
    void outputEncodingDecodesTheChildsBytes_data();
    void outputEncodingDecodesTheChildsBytes();
};

namespace {

// A project "pane" whose build command is `build`, run by the shell in the
// project folder.
std::unique_ptr<MainWindow> openProject(UiTestWorld& world, const std::string& build,
                                        int outputEncoding = 0) {
    const std::string makefile = world.writeFile("pane/makefile", "PROGRAM\t= pane\n\nall:\n");
    world.storeRecentProject("pane", makefile);
    world.storeString(settingsschema::kBaseKey, "BuildCommand", build);
    world.storeInteger(settingsschema::kBaseKey, "OutputEncoding", outputEncoding);
    return world.startMainWindow();
}

// The line of the window that starts with `head`, with the format of its
// first character.
struct ShownLine {
    QString text;
    QTextCharFormat format;
};

ShownLine lineStartingWith(OutputWindow& output, const QString& head) {
    for (int i = 0; i < output.lineCount(); ++i) {
        if (output.lineText(i).startsWith(head)) return {output.lineText(i), output.lineFormat(i)};
    }
    return {};
}

}  // namespace

void MainWindowBuildPaneTest::realBuildShowsKindsAndCounts() {
    UiTestWorld world;
    // One error (an undeclared name), its note, and two warnings (an unused
    // variable, the end of a function without a return).
    world.writeFile("pane/bad.c", "int f(void)\n{\n  int unused;\n  return missing;\n}\n");
    world.writeFile("pane/makefile.real", "all:\n\tgcc -Wall -c bad.c\n");
    auto mainWindow = openProject(world, "make -f makefile.real");
    mainWindow->buildProject();
    OutputWindow& output = mainWindow->output();

    const ShownLine error = lineStartingWith(output, "bad.c:4:10: error:");
    QVERIFY2(!error.text.isEmpty(), qPrintable(output.text()));
    QCOMPARE(error.format.foreground().color(), QColor(Qt::darkRed));
    const ShownLine warning = lineStartingWith(output, "bad.c:3:7: warning:");
    QVERIFY2(!warning.text.isEmpty(), qPrintable(output.text()));
    QCOMPARE(warning.format.foreground().color(), QColor(Qt::darkYellow));
    const ShownLine command = lineStartingWith(output, "gcc -Wall");
    QCOMPARE(command.format.foreground().color(), QTextCharFormat().foreground().color());
    QCOMPARE(command.format.fontWeight(), int(QFont::Normal));
    const ShownLine summary = lineStartingWith(output, "Build Error (2).");
    QCOMPARE(summary.format.fontWeight(), int(QFont::Bold));
    QVERIFY(output.text().endsWith("\nBuild Error (2)."));

    // Notes and make's own "Error 2" line are not counted.
    const QString status = mainWindow->statusText();
    QVERIFY2(
        QRegularExpression("^エラー 1 件、警告 2 件 \\(\\d+\\.\\d 秒\\)$").match(status).hasMatch(),
        qPrintable(status));
}

void MainWindowBuildPaneTest::outputEncodingDecodesTheChildsBytes_data() {
    QTest::addColumn<int>("encoding");
    QTest::addColumn<bool>("shiftJisReadable");
    QTest::addColumn<bool>("utf8Readable");
    QTest::newRow("automatic") << 0 << true << true;
    QTest::newRow("UTF-8") << 1 << false << true;
    QTest::newRow("Shift-JIS") << 2 << true << false;
}

// The child writes one line in Shift-JIS and one in UTF-8; a line in
// another encoding than the chosen one turns into other text.
void MainWindowBuildPaneTest::outputEncodingDecodesTheChildsBytes() {
    QFETCH(int, encoding);
    QFETCH(bool, shiftJisReadable);
    QFETCH(bool, utf8Readable);
    UiTestWorld world;
    world.writeFile(
        "pane/lines.txt",
        "\x83\x5c\x81\x5b\x83\x58.c(3) : error C2065: \x83\x47\x83\x89\x81\x5b\n"
        "\xe3\x82\xbd\xe3\x83\xbc\xe3\x82\xb9.c(4) : warning C4101: \xe8\xad\xa6\xe5\x91\x8a\n");
    auto mainWindow = openProject(world, "cat lines.txt", encoding);
    mainWindow->buildProject();
    const QStringList lines = mainWindow->output().text().split('\n');
    QCOMPARE(lines.size(), 4);  // start, the two lines, the summary
    QCOMPARE(lines[1] == QString::fromUtf8("ソース.c(3) : error C2065: エラー"), shiftJisReadable);
    QCOMPARE(lines[2] == QString::fromUtf8("ソース.c(4) : warning C4101: 警告"), utf8Readable);
    // Whatever the choice, the lines keep their kind: the markers are ASCII.
    QCOMPARE(lines[3], QString("Build Error."));
    QVERIFY(mainWindow->statusText().startsWith(QString::fromUtf8("エラー 1 件、警告 1 件 (")));
}

QTEST_MAIN(MainWindowBuildPaneTest)
#include "mainwindow_buildpane_test.moc"
