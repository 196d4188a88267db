// A click on a Tools menu item: the status line, the argument macros, and
// the tool run captured into the output window or started on its own.
#include <QAction>
#include <QMenu>

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

}  // namespace

void TVantorToolsTest::capturedToolAppendsToTheOutput() {
    UiTestWorld world;
    auto vantor = startWithTools(
        world, {{"Show", "cmd /cecho", "$(ProjName) $(TargetName)", "", true, true}});
    vantor->output().append("before");
    click(*vantor, 0);
    QCOMPARE(vantor->output().text(), QString("before\nhello hello.exe"));
    QCOMPARE(vantor->statusText(), QString("Tool: cmd /cecho hello hello.exe"));
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

QTEST_MAIN(TVantorToolsTest)
#include "tvantor_tools_test.moc"
