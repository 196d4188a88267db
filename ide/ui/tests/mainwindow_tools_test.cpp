// A click on a Tools menu item: the status line, the argument macros, and
// the tool run captured into the output window or started on its own.
#include <QAction>
#include <QElapsedTimer>
#include <QMenu>
#include <QStatusBar>

#include "outputwindow.h"
#include "settings.h"
#include "uitestsupport.h"

class MainWindowToolsTest : public QObject {
    Q_OBJECT

  private slots:
    void capturedToolAppendsToTheOutput();
    void detachedToolStartsWithoutWaiting();
    void cancelledFileChoiceStartsNothing();
    void itemOfADuplicateNameStartsTheFirstTool();
    void everyMacroReachesTheTool();
    void chosenFilesFillEverySelect();
    void detachedToolIsNotWaitedFor();
    void separatorIsALineThatStartsNothing();
};

namespace {

std::unique_ptr<MainWindow> startWithTools(UiTestWorld& world, const std::vector<Tool>& list) {
    const std::string makefile = world.writeFile("proj/makefile", "PROGRAM\t= hello\n\nall:\n");
    world.storeRecentProject("hello", makefile);
    ToolTable tools;
    for (const Tool& tool : list) tools.tools[tools.count++] = tool;
    SaveTools(tools, *world.store);
    return world.startMainWindow();
}

void click(MainWindow& mainWindow, int index) {
    mainWindow.toolsMenu->actions().at(index)->trigger();
}

// Starts tool `index` and returns the last command line the status bar
// showed for it.
QString commandShown(MainWindow& mainWindow, int index) {
    QString shown;
    const QMetaObject::Connection watch = QObject::connect(
        mainWindow.statusBar(), &QStatusBar::messageChanged, [&](const QString& text) {
            if (text.startsWith("Tool: ")) shown = text;
        });
    click(mainWindow, index);
    QObject::disconnect(watch);
    return shown;
}

}  // namespace

void MainWindowToolsTest::capturedToolAppendsToTheOutput() {
    UiTestWorld world;
    auto mainWindow = startWithTools(
        world, {{"Show", "cmd /cecho", "$(ProjName) $(TargetName)", "", true, true}});
    mainWindow->output().append("before");
    QCOMPARE(commandShown(*mainWindow, 0), QString("Tool: cmd /cecho hello hello.exe"));
    QCOMPARE(mainWindow->output().text(), QString("before\nhello hello.exe"));
    // Once it has ended, the status bar sums up what it printed.
    QVERIFY(mainWindow->statusText().startsWith(QString::fromUtf8("エラー 0 件、警告 0 件 (")));
    QCOMPARE(world.sounds.plays.size(), std::size_t(1));  // no summary, no sound
}

void MainWindowToolsTest::detachedToolStartsWithoutWaiting() {
    UiTestWorld world;
    const std::string mark = world.path("started.txt");
    const std::string script = world.writeFile(
        "tool.sh", "#!/bin/sh\npwd > '" + mark + "'\necho \"$1\" >> '" + mark + "'\n", true);
    auto mainWindow = startWithTools(world, {{"Run", script, "$(ProjDir)", "", false, false}});
    click(*mainWindow, 0);
    QVERIFY(waitForFile(mark));
    const std::string folder = world.path("proj");
    QCOMPARE(QString::fromStdString(readFile(mark)),
             QString::fromStdString(QDir::currentPath().toStdString() + "\n" + folder + "\n"));
    QCOMPARE(mainWindow->output().text(), QString());
}

void MainWindowToolsTest::cancelledFileChoiceStartsNothing() {
    UiTestWorld world;
    auto mainWindow = startWithTools(world, {{"Pick", "cmd /cecho", "$(Select)", "", true, false}});
    click(*mainWindow, 0);  // the chooser gets no answer: cancelled
    QCOMPARE(world.ui.fileRequests.size(), std::size_t(1));
    QCOMPARE(world.ui.fileRequests[0].title, std::string("ツール Pick で使うファイルを選択"));
    QCOMPARE(world.ui.fileRequests[0].initialFolder, world.path("proj"));
    QCOMPARE(mainWindow->statusText(), QString("Tool: cmd /cecho $(Select)"));
    QCOMPARE(mainWindow->output().text(), QString());
}

void MainWindowToolsTest::itemOfADuplicateNameStartsTheFirstTool() {
    UiTestWorld world;
    auto mainWindow = startWithTools(world, {{"Say", "cmd /cecho", "first", "", true, false},
                                             {"Say", "cmd /cecho", "second", "", true, false}});
    click(*mainWindow, 1);
    QCOMPARE(mainWindow->output().text(), QString("first"));
}

// A script that writes each of its arguments on a line of its own.
std::string argumentWriter(UiTestWorld& world, const std::string& mark) {
    return world.writeFile(
        "args.sh", "#!/bin/sh\nfor a in \"$@\"; do echo \"$a\"; done > '" + mark + "'\n", true);
}

void MainWindowToolsTest::everyMacroReachesTheTool() {
    UiTestWorld world;
    const std::string mark = world.path("args.txt");
    const std::string script = argumentWriter(world, mark);
    auto mainWindow = startWithTools(
        world, {{"Args", script,
                 "$(ProjName) $(ProjFile) $(ProjPath) $(ProjDir) $(ProjFolder) -o$(TargetName).map "
                 "$(Target) $$x $(select) $(Other) $y end$",
                 "", true, false}});
    const QString shown = commandShown(*mainWindow, 0);
    const std::string folder = world.path("proj");
    const std::string expected = "hello\nmakefile\n" + folder + "/makefile\n" + folder + "\n" +
                                 folder + "\n-ohello.exe.map\n" + folder +
                                 "/hello.exe\n$x\n(select)\n(Other)\ny\nend\n";
    QCOMPARE(QString::fromStdString(readFile(mark)), QString::fromStdString(expected));
    QVERIFY(world.ui.fileRequests.empty());
    QCOMPARE(shown,
             QString::fromStdString("Tool: " + script + " hello makefile " + folder + "/makefile " +
                                    folder + " " + folder + " -ohello.exe.map " + folder +
                                    "/hello.exe $x (select) (Other) y end"));
    QCOMPARE(mainWindow->tools().tools[0].arguments.substr(0, 12), std::string("$(ProjName) "));
}

void MainWindowToolsTest::chosenFilesFillEverySelect() {
    UiTestWorld world;
    const std::string mark = world.path("args.txt");
    const std::string script = argumentWriter(world, mark);
    const std::string toolFolder = world.path("tooldir");
    QDir().mkpath(QString::fromStdString(toolFolder));
    auto mainWindow = startWithTools(
        world, {{"Two files", script, "-a $(Select) -b $(Select)", toolFolder, true, false}});
    world.ui.fileAnswers = {std::string("/data/one.c"), std::string("/data/two.c")};
    const QString shown = commandShown(*mainWindow, 0);
    QCOMPARE(world.ui.fileRequests.size(), std::size_t(2));
    for (const auto& request : world.ui.fileRequests) {
        QCOMPARE(request.title, std::string("ツール Two files で使うファイルを選択"));
        QCOMPARE(request.initialFolder, toolFolder);
        QCOMPARE(request.filter, std::string());
    }
    QCOMPARE(QString::fromStdString(readFile(mark)), QString("-a\n/data/one.c\n-b\n/data/two.c\n"));
    QCOMPARE(shown, QString::fromStdString("Tool: " + script + " -a /data/one.c -b /data/two.c"));

    // The second chooser cancelled: nothing runs, the status keeps the template.
    QFile::remove(QString::fromStdString(mark));
    world.ui.fileAnswers = {std::string("/data/one.c")};
    click(*mainWindow, 0);
    QCOMPARE(mainWindow->statusText(),
             QString::fromStdString("Tool: " + script + " -a $(Select) -b $(Select)"));
    QVERIFY(!QFileInfo::exists(QString::fromStdString(mark)));
}

void MainWindowToolsTest::detachedToolIsNotWaitedFor() {
    UiTestWorld world;
    const std::string mark = world.path("late.txt");
    const std::string script =
        world.writeFile("late.sh", "#!/bin/sh\nsleep 2\necho done > '" + mark + "'\n", true);
    auto mainWindow = startWithTools(world, {{"Late", script, "", "", false, true}});
    QElapsedTimer clock;
    clock.start();
    click(*mainWindow, 0);
    QVERIFY(clock.elapsed() < 1500);
    QVERIFY(!QFileInfo::exists(QString::fromStdString(mark)));
    QVERIFY(waitForFile(mark, 10000));
    QCOMPARE(mainWindow->statusText(), QString::fromStdString("Tool: " + script + " "));
}

void MainWindowToolsTest::separatorIsALineThatStartsNothing() {
    UiTestWorld world;
    const std::string mark = world.path("separator.txt");
    const std::string script =
        world.writeFile("sep.sh", "#!/bin/sh\necho ran > '" + mark + "'\n", true);
    auto mainWindow = startWithTools(world, {{"First", "cmd /cecho first", "", "", true, false},
                                             {"-", script, "", "", true, false},
                                             {"Last", "cmd /cecho last", "", "", true, false}});
    const QList<QAction*> items = mainWindow->toolsMenu->actions();
    QCOMPARE(items.size(), 3);
    QVERIFY(items[1]->isSeparator());
    QVERIFY(!items[0]->isSeparator() && !items[2]->isSeparator());
    QVERIFY(mainWindow->toolsMenu->menuAction()->isVisible());
    click(*mainWindow, 1);
    QVERIFY(!QFileInfo::exists(QString::fromStdString(mark)));
    QCOMPARE(mainWindow->statusText(), QString());
    click(*mainWindow, 2);
    QCOMPARE(mainWindow->output().text(), QString("last"));
}

QTEST_MAIN(MainWindowToolsTest)
#include "mainwindow_tools_test.moc"
