// The Edit menu's keys through real key and mouse events, after the menu
// has been opened and closed: each item's state follows the output window
// (its selection, a clear, a new run), so its key works exactly when its
// item would, whenever the menu was last opened.
#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <functional>

#include "outputwindow.h"
#include "settings.h"
#include "uitestsupport.h"

class MainWindowEditKeysTest : public QObject {
    Q_OBJECT

  private slots:
    void keysFollowTheOutputAfterTheMenu_data();
    void keysFollowTheOutputAfterTheMenu();
};

namespace {

constexpr char kUntouched[] = "untouched";

// A project whose build prints a warning line and a plain one, built once
// through its key.
std::unique_ptr<MainWindow> startBuiltProject(UiTestWorld& world) {
    const std::string makefile = world.writeFile("hello/makefile", "PROGRAM\t= hello\n\nall:\n");
    world.writeFile("hello/build.sh", "echo 'a.c(3) : warning C4001: x'\necho second\n");
    world.storeRecentProject("hello", makefile);
    world.storeString(settingsschema::kBaseKey, "BuildCommand", "cmd /csh build.sh");
    auto mainWindow = world.startMainWindow();
    mainWindow->show();
    QApplication::setActiveWindow(mainWindow.get());
    if (!QTest::qWaitForWindowActive(mainWindow.get())) return nullptr;
    QTest::keyClick(mainWindow.get(), Qt::Key_F8, Qt::ShiftModifier);  // Build
    return mainWindow;
}

// Alt+E or a click on its title opens the Edit menu, Escape shuts it and a
// second Escape leaves the menu bar, as a user does.
bool openAndShutEditMenu(MainWindow& mainWindow, bool byClick) {
    QMenuBar* bar = mainWindow.menuBar();
    if (byClick) {
        QTest::mouseClick(bar, Qt::LeftButton, {},
                          bar->actionGeometry(mainWindow.editMenu->menuAction()).center());
    } else {
        QTest::keyClick(&mainWindow, Qt::Key_E, Qt::AltModifier);
    }
    // The window system's activations on the way are done, at a user's pace.
    QTest::qWait(50);
    if (!mainWindow.editMenu->isVisible()) return false;
    QTest::keyClick(mainWindow.editMenu, Qt::Key_Escape);
    QTest::keyClick(bar, Qt::Key_Escape);
    QTest::qWait(50);
    return !mainWindow.editMenu->isVisible() && QTest::qWaitForWindowActive(&mainWindow);
}

// A click on the line's third character.
void clickLine(OutputWindow& output, int line) {
    int start = 0;
    for (int i = 0; i < line; ++i) start += static_cast<int>(output.lineText(i).size()) + 1;
    QTest::mouseClick(output.viewport(), Qt::LeftButton, {}, output.cursorRect(start + 2).center());
}

using Step = std::function<void(MainWindow&)>;

}  // namespace

Q_DECLARE_METATYPE(Step)

void MainWindowEditKeysTest::keysFollowTheOutputAfterTheMenu_data() {
    QTest::addColumn<bool>("byClick");
    QTest::addColumn<Step>("beforeMenu");
    QTest::addColumn<Step>("afterMenu");
    QTest::addColumn<QString>("copied");  // kUntouched: Ctrl+C did nothing

    const Step nothing = [](MainWindow&) {};
    const Step clickMessageLine = [](MainWindow& w) { clickLine(w.output(), 1); };
    QTest::newRow("no selection at the menu, a clicked line at the key")
        << false << nothing << clickMessageLine << "a.c(3) : warning C4001: x";
    QTest::newRow("no selection at the menu nor at the key")
        << false << nothing << nothing << kUntouched;
    QTest::newRow("a selection at the menu, cleared through it before the key")
        << false << clickMessageLine << Step([](MainWindow& w) {
               QTest::keyClick(&w, Qt::Key_E, Qt::AltModifier);
               QTest::keyClick(w.editMenu, Qt::Key_D);
           })
        << kUntouched;
    QTest::newRow("a selection at the menu, a new build before the key")
        << false << clickMessageLine
        << Step([](MainWindow& w) { QTest::keyClick(&w, Qt::Key_F8, Qt::ShiftModifier); })
        << kUntouched;
    QTest::newRow("no selection at the menu, Ctrl+A before the key")
        << false << nothing
        << Step([](MainWindow& w) { QTest::keyClick(&w.output(), Qt::Key_A, Qt::ControlModifier); })
        << "Start Build.\na.c(3) : warning C4001: x\nsecond\nBuild Warning.";
    QTest::newRow("the menu clicked open, a clicked line at the key")
        << true << nothing << Step([](MainWindow& w) { clickLine(w.output(), 3); })
        << "Build Warning.";
}

void MainWindowEditKeysTest::keysFollowTheOutputAfterTheMenu() {
    QFETCH(bool, byClick);
    QFETCH(Step, beforeMenu);
    QFETCH(Step, afterMenu);
    QFETCH(QString, copied);
    UiTestWorld world;
    auto mainWindow = startBuiltProject(world);
    QVERIFY(mainWindow);
    QCOMPARE(mainWindow->output().lineCount(), 4);
    world.ui.clipboard = kUntouched;

    beforeMenu(*mainWindow);
    QVERIFY(openAndShutEditMenu(*mainWindow, byClick));
    afterMenu(*mainWindow);
    QTest::keyClick(&mainWindow->output(), Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QString::fromStdString(world.ui.clipboard), copied);
    // The Copy item, as the menu would show it now.
    QCOMPARE(mainWindow->copyAction->isEnabled(), copied != kUntouched);
}

QTEST_MAIN(MainWindowEditKeysTest)
#include "mainwindow_editkeys_test.moc"
