// The Reopen menu: built from the history each time the File menu opens,
// and reopening every entry whose caption matches the chosen one.
#include <QAction>
#include <QMenu>

#include "proj.h"
#include "regist.h"
#include "uitestsupport.h"

class TVantorHistoryTest : public QObject {
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
        world.storeString(regschema::kHistoryKey, ("Project" + std::to_string(i)).c_str(),
                          entries[i].first);
        world.storeString(regschema::kHistoryKey, ("ProjectFile" + std::to_string(i)).c_str(),
                          entries[i].second);
    }
}

QStringList reopenCaptions(TVantor& vantor) {
    vantor.FileMenuClick();
    QStringList captions;
    for (const QAction* item : vantor.Reopen->actions()) captions << item->text();
    return captions;
}

// Chooses the Reopen item with that caption.
void choose(TVantor& vantor, const QString& caption) {
    vantor.FileMenuClick();
    for (QAction* item : vantor.Reopen->actions()) {
        if (item->text() == caption) {
            item->trigger();
            return;
        }
    }
    QFAIL(qPrintable("no item " + caption));
}

std::vector<std::string> historyNames(TVantor& vantor) {
    std::vector<std::string> names;
    for (const auto& entry : vantor.settings().history) {
        if (!entry.Project.empty()) names.push_back(entry.Project);
    }
    return names;
}

}  // namespace

void TVantorHistoryTest::menuListsTheUsedEntriesAndFollowsTheHistory() {
    UiTestWorld world;
    const std::string a = makefileFor(world, "a", "alpha");
    const std::string b = makefileFor(world, "b", "beta");
    storeHistory(world, {{"alpha", a}, {"", ""}, {"beta", b}});
    auto vantor = world.startVantor();

    const QString folderA = QString::fromStdString(world.path("a"));
    const QString folderB = QString::fromStdString(world.path("b"));
    QCOMPARE(reopenCaptions(*vantor), QStringList({"alpha - " + folderA, "beta - " + folderB}));
    QVERIFY(vantor->Reopen->menuAction()->isVisible());

    // A later change shows the next time the menu opens.
    vantor->project().projectname = "gamma";
    vantor->project().projectfilename = "/g/makefile";
    vantor->UpdateTitle();
    QCOMPARE(reopenCaptions(*vantor).first(), QString("gamma - /g"));
    QCOMPARE(reopenCaptions(*vantor).size(), 3);
}

void TVantorHistoryTest::reopenMovesTheEntryToTheTop() {
    UiTestWorld world;
    const std::string a = makefileFor(world, "a", "alpha");
    const std::string b = makefileFor(world, "b", "beta");
    storeHistory(world, {{"alpha", a}, {"beta", b}});
    auto vantor = world.startVantor();

    choose(*vantor, "beta - " + QString::fromStdString(world.path("b")));
    QCOMPARE(vantor->project().projectname, std::string("beta"));
    QCOMPARE(vantor->windowTitle(),
             "Vantor - beta (" + QString::fromStdString(world.path("b")) + ")");
    QCOMPARE(QDir::currentPath(), QString::fromStdString(world.path("b")));
    QCOMPARE(historyNames(*vantor), (std::vector<std::string>{"beta", "alpha"}));
}

void TVantorHistoryTest::renamedProjectAddsANewEntryAndIsOpenedTwice() {
    UiTestWorld world;
    const std::string a = makefileFor(world, "a", "alpha");
    const std::string b = makefileFor(world, "b", "beta");
    storeHistory(world, {{"alpha", a}, {"beta", b}});
    auto vantor = world.startVantor();
    makefileFor(world, "b", "newbeta");  // the makefile now names it differently
    const auto counter = world.ui.messages.size();
    choose(*vantor, "beta - " + QString::fromStdString(world.path("b")));
    // The scan went on over the shifted list and met the old entry again.
    QCOMPARE(historyNames(*vantor), (std::vector<std::string>{"newbeta", "alpha", "beta"}));
    QCOMPARE(vantor->project().projectname, std::string("newbeta"));
    QCOMPARE(vantor->settings().history[2].ProjectFile, b);
    QCOMPARE(world.ui.messages.size(), counter);
}

void TVantorHistoryTest::equalCaptionsOpenEveryMatchFromTheTop() {
    UiTestWorld world;
    const std::string first = makefileFor(world, "same", "twin");
    const std::string second = world.writeFile("same/twin.mak", "PROGRAM\t= twin\nMODEL = h\n");
    storeHistory(world,
                 {{"other", makefileFor(world, "o", "other")}, {"twin", first}, {"twin", second}});
    auto vantor = world.startVantor();
    const QString caption = "twin - " + QString::fromStdString(world.path("same"));
    QCOMPARE(reopenCaptions(*vantor).count(caption), 2);
    choose(*vantor, caption);
    // Both were opened in turn; the last one opened stays current.
    QCOMPARE(vantor->project().projectfilename, second);
    QCOMPARE(vantor->project().memorymodel, std::uint8_t(4));
    QCOMPARE(vantor->settings().history[0].ProjectFile, second);
    QCOMPARE(vantor->settings().history[1].ProjectFile, first);
}

void TVantorHistoryTest::captionsDifferingInCaseAreDistinct() {
    UiTestWorld world;
    const std::string lower = makefileFor(world, "p", "tool");
    const std::string upper = makefileFor(world, "P", "TOOL");
    storeHistory(world, {{"tool", lower}, {"TOOL", upper}});
    auto vantor = world.startVantor();
    // A case-blind match would go on to open the second entry after the first.
    choose(*vantor, "tool - " + QString::fromStdString(world.path("p")));
    QCOMPARE(vantor->project().projectfilename, lower);
}

void TVantorHistoryTest::unreadableEntryLeavesNoProjectAndTheListAsItWas() {
    UiTestWorld world;
    const std::string a = makefileFor(world, "a", "alpha");
    storeHistory(world, {{"alpha", a}, {"gone", world.path("gone/makefile")}});
    auto vantor = world.startVantor();
    const QString title = vantor->windowTitle();
    const QString folder = QDir::currentPath();
    choose(*vantor, "gone - " + QString::fromStdString(world.path("gone")));
    QCOMPARE(world.ui.messages.size(), std::size_t(1));  // the reader's message
    QVERIFY(vantor->project().projectfolder.empty());
    QCOMPARE(vantor->windowTitle(), title);
    QCOMPARE(QDir::currentPath(), folder);  // a missing folder is not entered
    QCOMPARE(historyNames(*vantor), (std::vector<std::string>{"alpha", "gone"}));
}

void TVantorHistoryTest::updateTitleRecordsTheProject() {
    UiTestWorld world;
    auto vantor = world.startVantor();
    vantor->UpdateTitle();  // no project: title only
    QCOMPARE(vantor->windowTitle(), QString("Vantor"));
    QVERIFY(historyNames(*vantor).empty());
    vantor->project().projectname = "p";
    vantor->project().projectfilename = "/w/p/makefile";
    vantor->project().projectfolder = "/w/p";
    vantor->UpdateTitle();
    QCOMPARE(vantor->windowTitle(), QString("Vantor - p (/w/p)"));
    QCOMPARE(vantor->settings().history[0].ProjectFile, std::string("/w/p/makefile"));
}

QTEST_MAIN(TVantorHistoryTest)
#include "tvantor_history_test.moc"
