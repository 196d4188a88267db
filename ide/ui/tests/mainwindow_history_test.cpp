// The Reopen menu: built from the history each time the File menu opens,
// and reopening every entry whose caption matches the chosen one.
#include <QAction>
#include <QMenu>

#include "project.h"
#include "settings.h"
#include "uitestsupport.h"

class MainWindowHistoryTest : public QObject {
    Q_OBJECT

  private slots:
    void menuListsTheUsedEntriesAndFollowsTheHistory();
    void reopenMovesTheEntryToTheTop();
    void renamedProjectAddsANewEntryAndIsOpenedTwice();
    void equalCaptionsOpenEveryMatchFromTheTop();
    void captionsDifferingInCaseAreDistinct();
    void unreadableEntryLeavesNoProjectAndTheListAsItWas();
    void updateTitleRecordsTheProject();
};

namespace {

std::string makefileFor(UiTestWorld& world, const std::string& folder, const std::string& name) {
    return world.writeFile(folder + "/makefile", "PROGRAM\t= " + name + "\n\nall:\n");
}

void storeHistory(UiTestWorld& world,
                  const std::vector<std::pair<std::string, std::string>>& entries) {
    for (std::size_t i = 0; i < entries.size(); ++i) {
        world.storeString(settingsschema::kHistoryKey, ("Project" + std::to_string(i)).c_str(),
                          entries[i].first);
        world.storeString(settingsschema::kHistoryKey, ("ProjectFile" + std::to_string(i)).c_str(),
                          entries[i].second);
    }
}

QStringList reopenCaptions(MainWindow& mainWindow) {
    mainWindow.fillReopenMenu();
    QStringList captions;
    for (const QAction* item : mainWindow.reopenMenu->actions()) captions << item->text();
    return captions;
}

// Chooses the Reopen item with that caption.
void choose(MainWindow& mainWindow, const QString& caption) {
    mainWindow.fillReopenMenu();
    for (QAction* item : mainWindow.reopenMenu->actions()) {
        if (item->text() == caption) {
            item->trigger();
            return;
        }
    }
    QFAIL(qPrintable("no item " + caption));
}

std::vector<std::string> historyNames(MainWindow& mainWindow) {
    std::vector<std::string> names;
    for (const auto& entry : mainWindow.settings().history) {
        if (!entry.projectName.empty()) names.push_back(entry.projectName);
    }
    return names;
}

}  // namespace

void MainWindowHistoryTest::menuListsTheUsedEntriesAndFollowsTheHistory() {
    UiTestWorld world;
    const std::string a = makefileFor(world, "a", "alpha");
    const std::string b = makefileFor(world, "b", "beta");
    storeHistory(world, {{"alpha", a}, {"", ""}, {"beta", b}});
    auto mainWindow = world.startMainWindow();

    const QString folderA = QString::fromStdString(world.path("a"));
    const QString folderB = QString::fromStdString(world.path("b"));
    QCOMPARE(reopenCaptions(*mainWindow), QStringList({"alpha - " + folderA, "beta - " + folderB}));
    QVERIFY(mainWindow->reopenMenu->menuAction()->isVisible());

    // A later change shows the next time the menu opens.
    mainWindow->project().projectName = "gamma";
    mainWindow->project().projectFile = "/g/makefile";
    mainWindow->updateTitleAndHistory();
    QCOMPARE(reopenCaptions(*mainWindow).first(), QString("gamma - /g"));
    QCOMPARE(reopenCaptions(*mainWindow).size(), 3);
}

void MainWindowHistoryTest::reopenMovesTheEntryToTheTop() {
    UiTestWorld world;
    const std::string a = makefileFor(world, "a", "alpha");
    const std::string b = makefileFor(world, "b", "beta");
    storeHistory(world, {{"alpha", a}, {"beta", b}});
    auto mainWindow = world.startMainWindow();

    choose(*mainWindow, "beta - " + QString::fromStdString(world.path("b")));
    QCOMPARE(mainWindow->project().projectName, std::string("beta"));
    QCOMPARE(mainWindow->windowTitle(),
             "Vantor - beta (" + QString::fromStdString(world.path("b")) + ")");
    QCOMPARE(QDir::currentPath(), QString::fromStdString(world.path("b")));
    QCOMPARE(historyNames(*mainWindow), (std::vector<std::string>{"beta", "alpha"}));
}

void MainWindowHistoryTest::renamedProjectAddsANewEntryAndIsOpenedTwice() {
    UiTestWorld world;
    const std::string a = makefileFor(world, "a", "alpha");
    const std::string b = makefileFor(world, "b", "beta");
    storeHistory(world, {{"alpha", a}, {"beta", b}});
    auto mainWindow = world.startMainWindow();
    makefileFor(world, "b", "newbeta");  // the makefile now names it differently
    const auto counter = world.ui.messages.size();
    choose(*mainWindow, "beta - " + QString::fromStdString(world.path("b")));
    // The scan went on over the shifted list and met the old entry again.
    QCOMPARE(historyNames(*mainWindow), (std::vector<std::string>{"newbeta", "alpha", "beta"}));
    QCOMPARE(mainWindow->project().projectName, std::string("newbeta"));
    QCOMPARE(mainWindow->settings().history[2].projectFile, b);
    QCOMPARE(world.ui.messages.size(), counter);
}

void MainWindowHistoryTest::equalCaptionsOpenEveryMatchFromTheTop() {
    UiTestWorld world;
    const std::string first = makefileFor(world, "same", "twin");
    const std::string second = world.writeFile("same/twin.mak", "PROGRAM\t= twin\nMODEL = h\n");
    storeHistory(world,
                 {{"other", makefileFor(world, "o", "other")}, {"twin", first}, {"twin", second}});
    auto mainWindow = world.startMainWindow();
    const QString caption = "twin - " + QString::fromStdString(world.path("same"));
    QCOMPARE(reopenCaptions(*mainWindow).count(caption), 2);
    choose(*mainWindow, caption);
    // Both were opened in turn; the last one opened stays current.
    QCOMPARE(mainWindow->project().projectFile, second);
    QCOMPARE(mainWindow->project().memoryModel, std::uint8_t(4));
    QCOMPARE(mainWindow->settings().history[0].projectFile, second);
    QCOMPARE(mainWindow->settings().history[1].projectFile, first);
}

void MainWindowHistoryTest::captionsDifferingInCaseAreDistinct() {
    UiTestWorld world;
    const std::string lower = makefileFor(world, "p", "tool");
    const std::string upper = makefileFor(world, "P", "TOOL");
    storeHistory(world, {{"tool", lower}, {"TOOL", upper}});
    auto mainWindow = world.startMainWindow();
    // A case-blind match would go on to open the second entry after the first.
    choose(*mainWindow, "tool - " + QString::fromStdString(world.path("p")));
    QCOMPARE(mainWindow->project().projectFile, lower);
}

void MainWindowHistoryTest::unreadableEntryLeavesNoProjectAndTheListAsItWas() {
    UiTestWorld world;
    const std::string a = makefileFor(world, "a", "alpha");
    storeHistory(world, {{"alpha", a}, {"gone", world.path("gone/makefile")}});
    auto mainWindow = world.startMainWindow();
    const QString title = mainWindow->windowTitle();
    const QString folder = QDir::currentPath();
    choose(*mainWindow, "gone - " + QString::fromStdString(world.path("gone")));
    QCOMPARE(world.ui.messages.size(), std::size_t(1));  // the reader's message
    QVERIFY(mainWindow->project().projectFolder.empty());
    QCOMPARE(mainWindow->windowTitle(), title);
    QCOMPARE(QDir::currentPath(), folder);  // a missing folder is not entered
    QCOMPARE(historyNames(*mainWindow), (std::vector<std::string>{"alpha", "gone"}));
}

void MainWindowHistoryTest::updateTitleRecordsTheProject() {
    UiTestWorld world;
    auto mainWindow = world.startMainWindow();
    mainWindow->updateTitleAndHistory();  // no project: title only
    QCOMPARE(mainWindow->windowTitle(), QString("Vantor"));
    QVERIFY(historyNames(*mainWindow).empty());
    mainWindow->project().projectName = "p";
    mainWindow->project().projectFile = "/w/p/makefile";
    mainWindow->project().projectFolder = "/w/p";
    mainWindow->updateTitleAndHistory();
    QCOMPARE(mainWindow->windowTitle(), QString("Vantor - p (/w/p)"));
    QCOMPARE(mainWindow->settings().history[0].projectFile, std::string("/w/p/makefile"));
}

QTEST_MAIN(MainWindowHistoryTest)
#include "mainwindow_history_test.moc"
