// A click on a Tools menu item: the status line, the argument macros, and
// the tool run captured into the output window or started on its own.
#include <QAction>
#include <QElapsedTimer>
#include <QMenu>
#include <QStatusBar>

#include "outputwindow.h"
#include "regist.h"
#include "uitestsupport.h"

class TVantorToolsTest : public QObject {
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

std::unique_ptr<TVantor> startWithTools(UiTestWorld& world, const std::vector<toolopt>& list) {
    const std::string makefile = world.writeFile("proj/makefile", "PROGRAM\t= hello\n\nall:\n");
    world.storeString(regschema::kHistoryKey, "Project0", "hello");
    world.storeString(regschema::kHistoryKey, "ProjectFile0", makefile);
    tooloptions tools;
    for (const toolopt& tool : list) tools.tools[tools.count++] = tool;
    SaveTools(tools, *world.store);
    return world.startVantor();
}

void click(TVantor& vantor, int index) {
    vantor.ToolsMenu->actions().at(index)->trigger();
}

// Starts tool `index` and returns the last command line the status bar
// showed for it.
QString commandShown(TVantor& vantor, int index) {
    QString shown;
    const QMetaObject::Connection watch =
        QObject::connect(vantor.statusBar(), &QStatusBar::messageChanged, [&](const QString& text) {
            if (text.startsWith("Tool: ")) shown = text;
        });
    click(vantor, index);
    QObject::disconnect(watch);
    return shown;
}

}  // namespace

void TVantorToolsTest::capturedToolAppendsToTheOutput() {
    UiTestWorld world;
    auto vantor = startWithTools(
        world, {{"Show", "cmd /cecho", "$(ProjName) $(TargetName)", "", true, true}});
    vantor->output().append("before");
    QCOMPARE(commandShown(*vantor, 0), QString("Tool: cmd /cecho hello hello.exe"));
    QCOMPARE(vantor->output().text(), QString("before\nhello hello.exe"));
    // Once it has ended, the status bar sums up what it printed.
    QVERIFY(vantor->statusText().startsWith(QString::fromUtf8("エラー 0 件、警告 0 件 (")));
    QCOMPARE(world.sounds.plays.size(), std::size_t(1));  // no summary, no sound
}

void TVantorToolsTest::detachedToolStartsWithoutWaiting() {
    UiTestWorld world;
    const std::string mark = world.path("started.txt");
    const std::string script = world.writeFile(
        "tool.sh", "#!/bin/sh\npwd > '" + mark + "'\necho \"$1\" >> '" + mark + "'\n", true);
    auto vantor = startWithTools(world, {{"Run", script, "$(ProjDir)", "", false, false}});
    click(*vantor, 0);
    QVERIFY(waitForFile(mark));
    const std::string folder = world.path("proj");
    QCOMPARE(QString::fromStdString(readFile(mark)),
             QString::fromStdString(QDir::currentPath().toStdString() + "\n" + folder + "\n"));
    QCOMPARE(vantor->output().text(), QString());
}

void TVantorToolsTest::cancelledFileChoiceStartsNothing() {
    UiTestWorld world;
    auto vantor = startWithTools(world, {{"Pick", "cmd /cecho", "$(Select)", "", true, false}});
    click(*vantor, 0);  // the chooser gets no answer: cancelled
    QCOMPARE(world.ui.fileRequests.size(), std::size_t(1));
    QCOMPARE(world.ui.fileRequests[0].title, std::string("ツール Pick で使うファイルを選択"));
    QCOMPARE(world.ui.fileRequests[0].initialFolder, world.path("proj"));
    QCOMPARE(vantor->statusText(), QString("Tool: cmd /cecho $(Select)"));
    QCOMPARE(vantor->output().text(), QString());
}

void TVantorToolsTest::itemOfADuplicateNameStartsTheFirstTool() {
    UiTestWorld world;
    auto vantor = startWithTools(world, {{"Say", "cmd /cecho", "first", "", true, false},
                                         {"Say", "cmd /cecho", "second", "", true, false}});
    click(*vantor, 1);
    QCOMPARE(vantor->output().text(), QString("first"));
}

// A script that writes each of its arguments on a line of its own.
std::string argumentWriter(UiTestWorld& world, const std::string& mark) {
    return world.writeFile(
        "args.sh", "#!/bin/sh\nfor a in \"$@\"; do echo \"$a\"; done > '" + mark + "'\n", true);
}

void TVantorToolsTest::everyMacroReachesTheTool() {
    UiTestWorld world;
    const std::string mark = world.path("args.txt");
    const std::string script = argumentWriter(world, mark);
    auto vantor = startWithTools(
        world, {{"Args", script,
                 "$(ProjName) $(ProjFile) $(ProjPath) $(ProjDir) $(ProjFolder) -o$(TargetName).map "
                 "$(Target) $$x $(select) $(Other) $y end$",
                 "", true, false}});
    const QString shown = commandShown(*vantor, 0);
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
    QCOMPARE(vantor->tools().tools[0].Arguments.substr(0, 12), std::string("$(ProjName) "));
}

void TVantorToolsTest::chosenFilesFillEverySelect() {
    UiTestWorld world;
    const std::string mark = world.path("args.txt");
    const std::string script = argumentWriter(world, mark);
    const std::string toolFolder = world.path("tooldir");
    QDir().mkpath(QString::fromStdString(toolFolder));
    auto vantor = startWithTools(
        world, {{"Two files", script, "-a $(Select) -b $(Select)", toolFolder, true, false}});
    world.ui.fileAnswers = {std::string("/data/one.c"), std::string("/data/two.c")};
    const QString shown = commandShown(*vantor, 0);
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
    click(*vantor, 0);
    QCOMPARE(vantor->statusText(),
             QString::fromStdString("Tool: " + script + " -a $(Select) -b $(Select)"));
    QVERIFY(!QFileInfo::exists(QString::fromStdString(mark)));
}

void TVantorToolsTest::detachedToolIsNotWaitedFor() {
    UiTestWorld world;
    const std::string mark = world.path("late.txt");
    const std::string script =
        world.writeFile("late.sh", "#!/bin/sh\nsleep 2\necho done > '" + mark + "'\n", true);
    auto vantor = startWithTools(world, {{"Late", script, "", "", false, true}});
    QElapsedTimer clock;
    clock.start();
    click(*vantor, 0);
    QVERIFY(clock.elapsed() < 1500);
    QVERIFY(!QFileInfo::exists(QString::fromStdString(mark)));
    QVERIFY(waitForFile(mark, 10000));
    QCOMPARE(vantor->statusText(), QString::fromStdString("Tool: " + script + " "));
}

void TVantorToolsTest::separatorIsALineThatStartsNothing() {
    UiTestWorld world;
    const std::string mark = world.path("separator.txt");
    const std::string script =
        world.writeFile("sep.sh", "#!/bin/sh\necho ran > '" + mark + "'\n", true);
    auto vantor = startWithTools(world, {{"First", "cmd /cecho first", "", "", true, false},
                                         {"-", script, "", "", true, false},
                                         {"Last", "cmd /cecho last", "", "", true, false}});
    const QList<QAction*> items = vantor->ToolsMenu->actions();
    QCOMPARE(items.size(), 3);
    QVERIFY(items[1]->isSeparator());
    QVERIFY(!items[0]->isSeparator() && !items[2]->isSeparator());
    QVERIFY(vantor->ToolsMenu->menuAction()->isVisible());
    click(*vantor, 1);
    QVERIFY(!QFileInfo::exists(QString::fromStdString(mark)));
    QCOMPARE(vantor->statusText(), QString());
    click(*vantor, 2);
    QCOMPARE(vantor->output().text(), QString("last"));
}

QTEST_MAIN(TVantorToolsTest)
#include "tvantor_tools_test.moc"
