// Build, Rebuild and Check dependencies through the main window, with real
// children (sh scripts printing compiler-style lines, make, depmill), and
// Stop, the items shut during a run and closing during one.
#include <QAction>
#include <QCheckBox>
#include <QMenu>
#include <csignal>
#include <functional>

#include "processstate.h"

#include "optionsdialog.h"
#include "outputwindow.h"
#include "project.h"
#include "settings.h"
#include "uitestsupport.h"

class MainWindowBuildTest : public QObject {
    Q_OBJECT

  private slots:
    void buildSummarisesTheWorstLine_data();
    void buildSummarisesTheWorstLine();
    void buildThatCannotStartFailsWithoutSound();
    void debugModeAddsTheJumpTestLineAndCreatesOutdir();
    void rebuildUsesItsOwnCommandAndErasesTheOutput();
    void noProjectStopsEveryCommand();
    void checkDependenciesRunsDepmillBesideTheIde();
    void buildRunsRealMakeInTheProjectFolder();
    void defaultBuildReportsAFailedMake();
    void stopEndsTheStepAndWhatItStarted_data();
    void stopEndsTheStepAndWhatItStarted();
    void stoppedGeneratorAndToolSayWhatStopped();
    void closingDuringARunStopsItThenCloses();
    void childLeavingAProgramBehindEndsTheBuild();
};

namespace {

struct BuildTestProject {
    std::unique_ptr<MainWindow> mainWindow;
    std::string folder;
};

// A project "hello" in the work folder, whose build command runs `script`
// (written into the project folder) through the shell.
BuildTestProject openProject(UiTestWorld& world, const std::string& script,
                             const std::string& outdir = "obj") {
    const std::string makefile =
        world.writeFile("hello/makefile", "OUTDIR\t= " + outdir + "\nPROGRAM\t= hello\n\nall:\n");
    world.writeFile("hello/build.sh", script);
    world.storeRecentProject("hello", makefile);
    world.storeString(settingsschema::kBaseKey, "BuildCommand", "cmd /csh build.sh");
    world.storeString(settingsschema::kBaseKey, "RebuildCommand", "cmd /csh build.sh rebuild");
    return {world.startMainWindow(), world.path("hello")};
}

QStringList lines(MainWindow& mainWindow) {
    return mainWindow.output().text().split('\n');
}

// The sound events played after start-up's "Open".
std::vector<std::string> buildSounds(const UiTestWorld& world) {
    std::vector<std::string> events;
    for (std::size_t i = 1; i < world.sounds.plays.size(); ++i) {
        events.push_back(world.sounds.plays[i].event);
    }
    return events;
}

// Calls act once, at the first event pass of a run whose output holds the
// line "started".
void onceStarted(UiTestWorld& world, MainWindow& mainWindow, std::function<void()> act) {
    world.ui.onProcessEvents = [&world, &mainWindow, act] {
        if (!mainWindow.output().text().split('\n').contains("started")) return;
        const std::function<void()> once = act;  // resetting the hook ends this closure
        world.ui.onProcessEvents = nullptr;
        once();
    };
}

pid_t pidIn(const std::string& file) {
    return static_cast<pid_t>(std::stol("0" + readFile(file)));
}

}  // namespace

void MainWindowBuildTest::buildSummarisesTheWorstLine_data() {
    QTest::addColumn<QString>("script");
    QTest::addColumn<QString>("summary");
    QTest::addColumn<QString>("sound");
    QTest::newRow("clean") << "echo compiling"
                           << "End Build."
                           << "BuildComplete";
    QTest::newRow("warning in any case") << "echo 'a.c(3) : WaRnInG C4001: x'"
                                         << "Build Warning."
                                         << "BuildWarning";
    QTest::newRow("error outranks an earlier warning")
        << "echo 'a.c(3) : warning C4001: x'; echo 'a.c(4) : error C2001: y'"
        << "Build Error."
        << "BuildError";
    QTest::newRow("fatal error is no error line") << "echo 'a.c(4) : fatal error C1001: y'"
                                                  << "End Build."
                                                  << "BuildComplete";
    QTest::newRow("exit status wins over the lines") << "echo 'a.c(3) : warning C4001: x'; exit 2"
                                                     << "Build Error (2)."
                                                     << "BuildError";
    QTest::newRow("a status of 253 is no result code") << "exit 253"
                                                       << "Build Error (253)."
                                                       << "BuildError";
}

void MainWindowBuildTest::buildSummarisesTheWorstLine() {
    QFETCH(QString, script);
    QFETCH(QString, summary);
    QFETCH(QString, sound);
    UiTestWorld world;
    auto [mainWindow, folder] = openProject(world, script.toStdString());
    mainWindow->output().append("left over");
    mainWindow->buildProject();

    const QStringList output = lines(*mainWindow);
    QCOMPARE(output.first(), QString("Start Build."));
    QCOMPARE(output.last(), summary);
    QCOMPARE(buildSounds(world), std::vector<std::string>{sound.toStdString()});
    QCOMPARE(world.sounds.plays.back().fallback, SoundFallback::SystemDefault);
    QCOMPARE(world.sounds.plays.back().wait, SoundWait::No);
    QVERIFY(!world.ui.busyCursor);
}

void MainWindowBuildTest::buildThatCannotStartFailsWithoutSound() {
    UiTestWorld world;
    auto [mainWindow, folder] = openProject(world, "");
    mainWindow->settings().buildCommand = "";
    mainWindow->buildProject();
    QCOMPARE(world.ui.messages.size(), std::size_t(1));
    QCOMPARE(world.ui.messages[0].text, std::string("プログラムの起動に失敗しました。"));
    QCOMPARE(lines(*mainWindow), QStringList({"Start Build.", "Build Failed."}));
    QVERIFY(buildSounds(world).empty());
}

void MainWindowBuildTest::debugModeAddsTheJumpTestLineAndCreatesOutdir() {
    UiTestWorld world;
    auto [mainWindow, folder] = openProject(world, "echo done");
    OptionsDialog options(mainWindow.get(), mainWindow->settings(), mainWindow->codePage());
    options.findChild<QCheckBox*>("debugModeBox")->setChecked(true);
    mainWindow->setDialogs({nullptr, &options, nullptr, nullptr, nullptr});

    mainWindow->buildProject();
    const QStringList output = lines(*mainWindow);
    const QString outdir = QString::fromStdString(folder + "/obj");
    QCOMPARE(output[0], QString("Start Build."));
    QCOMPARE(output[1], "Creating Folder: " + outdir);
    QVERIFY(output.contains("Command: cmd /csh build.sh"));
    QVERIFY(output.contains("done"));
    QCOMPARE(output[output.size() - 2], QString("End Build."));
    QCOMPARE(output.last(),
             QString("jumptest.c(20) : warning C4001: This is editor/error jump test message."));
    QVERIFY(QFileInfo(outdir).isDir());
}

void MainWindowBuildTest::rebuildUsesItsOwnCommandAndErasesTheOutput() {
    UiTestWorld world;
    auto [mainWindow, folder] = openProject(world, "echo \"args: $1\"", ".");
    OptionsDialog options(mainWindow.get(), mainWindow->settings(), mainWindow->codePage());
    options.findChild<QCheckBox*>("debugModeBox")
        ->setChecked(true);  // no test line after a rebuild
    mainWindow->setDialogs({nullptr, &options, nullptr, nullptr, nullptr});
    mainWindow->output().append("old");
    mainWindow->rebuildProject();
    const QStringList output = lines(*mainWindow);
    QCOMPARE(output.first(), QString("Start Rebuild."));
    QVERIFY(!output.contains("old"));
    QVERIFY(output.contains("args: rebuild"));
    QVERIFY(!output.join('\n').contains("Creating Folder"));  // OUTDIR "." makes none
    QCOMPARE(output.last(), QString("End Rebuild."));
}

void MainWindowBuildTest::noProjectStopsEveryCommand() {
    UiTestWorld world;
    auto mainWindow = world.startMainWindow();
    mainWindow->output().append("kept");
    mainWindow->buildProject();
    mainWindow->rebuildProject();
    mainWindow->checkDependencies();
    QVERIFY(!mainWindow->runDepmill(true));
    QCOMPARE(world.ui.messages.size(), std::size_t(4));
    for (const auto& message : world.ui.messages) {
        QCOMPARE(message.text, std::string("プロジェクトの指定がありません。"));
        QCOMPARE(message.caption, std::string("Vantor"));
        QCOMPARE(message.icon, MessageIcon::Stop);
    }
    QCOMPARE(mainWindow->output().text(), QString("kept"));
    QCOMPARE(world.sounds.plays.size(), std::size_t(1));
}

void MainWindowBuildTest::checkDependenciesRunsDepmillBesideTheIde() {
    UiTestWorld world;
    auto [mainWindow, folder] = openProject(world, "");
    world.writeFile("hello/hello.c", "#include \"hello.h\"\nint main(void) { return 0; }\n");
    world.writeFile("hello/hello.h", "\n");
    mainWindow->output().append("kept");
    mainWindow->checkDependencies();  // the stored default "depmill -t1"

    const QStringList output = lines(*mainWindow);
    QCOMPARE(output.mid(0, 3), QStringList({"kept", "", "Start Depmill."}));
    QCOMPARE(output.last(), QString("End Depmill."));
    QVERIFY(world.ui.messages.empty());  // found and started
    QCOMPARE(buildSounds(world), std::vector<std::string>());
    const std::string makefile = readFile(folder + "/makefile");
    QVERIFY(makefile.find("hello.h") != std::string::npos);
    QVERIFY(QFileInfo::exists(QString::fromStdString(folder + "/makefile.old")));
}

void MainWindowBuildTest::buildRunsRealMakeInTheProjectFolder() {
    UiTestWorld world;
    auto [mainWindow, folder] = openProject(world, "");
    world.writeFile("hello/makefile",
                    "OUTDIR\t= out\nPROGRAM\t= hello\n\nall:\n\t@echo 'hello.c(7) : error C2065: "
                    "undeclared'\n");
    mainWindow->settings().buildCommand = "make";
    mainWindow->buildProject();
    QCOMPARE(lines(*mainWindow),
             QStringList({"Start Build.", "hello.c(7) : error C2065: undeclared", "Build Error."}));
    QVERIFY(QFileInfo(QString::fromStdString(folder + "/out")).isDir());
}

void MainWindowBuildTest::defaultBuildReportsAFailedMake() {
    UiTestWorld world;
    const std::string makefile =
        world.writeFile("hello/makefile", "PROGRAM\t= hello\n\nall:\n\t@echo compiling; false\n");
    world.storeRecentProject("hello", makefile);
    auto mainWindow = world.startMainWindow();
    mainWindow->buildProject();  // the stored default
    QCOMPARE(lines(*mainWindow).last(), QString("Build Error (2)."));
    QCOMPARE(buildSounds(world), std::vector<std::string>{"BuildError"});
}

void MainWindowBuildTest::stopEndsTheStepAndWhatItStarted_data() {
    QTest::addColumn<bool>("rebuild");
    QTest::addColumn<QString>("summary");
    QTest::newRow("build") << false << "Build Stopped.";
    QTest::newRow("rebuild") << true << "Rebuild Stopped.";
}

void MainWindowBuildTest::stopEndsTheStepAndWhatItStarted() {
    QFETCH(bool, rebuild);
    QFETCH(QString, summary);
    UiTestWorld world;
    auto [mainWindow, folder] =
        openProject(world, "sleep 30 &\necho $! > bg.pid\necho started\nwait\n");
    MainWindow& ide = *mainWindow;
    const auto shut = [&ide] {
        return QList<QAction*>{ide.buildAction,
                               ide.rebuildAction,
                               ide.checkDependenciesAction,
                               ide.newProjectAction,
                               ide.openProjectAction,
                               ide.reopenMenu->menuAction(),
                               ide.projectOptionsAction,
                               ide.optionsAction,
                               ide.editToolsAction,
                               ide.toolsMenu->menuAction()};
    };
    const auto open = [&ide] {
        return QList<QAction*>{ide.copyAction,       ide.copyAllAction,   ide.selectAllAction,
                               ide.fontAction,       ide.errorHelpAction, ide.jumpToEditorAction,
                               ide.jumpToHelpAction, ide.exitAction};
    };
    ide.fillReopenMenu();  // the project's history entry shows the Reopen menu
    ide.tools().tools[0] = {"Echo", "echo", "", "", true, true};
    ide.tools().count = 1;
    ide.rebuildToolsMenu();
    for (QAction* item : shut()) QVERIFY2(item->isEnabled(), qPrintable(item->objectName()));
    QVERIFY(!ide.stopAction->isEnabled());
    QCOMPARE(ide.stopAction->shortcut(), QKeySequence("Ctrl+F8"));
    QCOMPARE(ide.stopAction->text(), QString("実行の中止(&S)"));
    QCOMPARE(ide.stopAction->statusTip(), QString("実行中のビルドやツールを中止します"));
    const QList<QAction*> projectItems = ide.projectMenu->actions();
    QCOMPARE(projectItems.indexOf(ide.stopAction),
             projectItems.indexOf(ide.checkDependenciesAction) + 1);

    bool checked = false;
    onceStarted(world, ide, [&] {
        QVERIFY(ide.runInProgress());
        ide.output().selectLine(1);  // Copy needs a selection, run or no run
        for (QAction* item : shut()) QVERIFY2(!item->isEnabled(), qPrintable(item->objectName()));
        for (QAction* item : open()) QVERIFY2(item->isEnabled(), qPrintable(item->objectName()));
        QVERIFY(ide.stopAction->isEnabled());
        // A second run is refused while this one goes on.
        ide.checkDependencies();
        ide.stopAction->trigger();
        checked = true;
    });
    QElapsedTimer timer;
    timer.start();
    if (rebuild) {
        ide.rebuildProject();
    } else {
        ide.buildProject();
    }
    QVERIFY(timer.elapsed() < 2000);
    QVERIFY(checked);
    QCOMPARE(lines(ide),
             QStringList({rebuild ? "Start Rebuild." : "Start Build.", "started", summary}));
    QCOMPARE(buildSounds(world), std::vector<std::string>{"BuildError"});
    QVERIFY(!ProcessRuns(pidIn(folder + "/bg.pid")));
    QVERIFY(!ide.runInProgress());
    for (QAction* item : shut()) QVERIFY2(item->isEnabled(), qPrintable(item->objectName()));
    QVERIFY(!ide.stopAction->isEnabled());
    QVERIFY(!world.ui.busyCursor);
}

void MainWindowBuildTest::stoppedGeneratorAndToolSayWhatStopped() {
    UiTestWorld world;
    auto [mainWindow, folder] = openProject(world, "echo started\nsleep 30\n");
    mainWindow->settings().depmillCommand = "sh build.sh";
    onceStarted(world, *mainWindow, [&] { mainWindow->stopRun(); });
    mainWindow->checkDependencies();
    QCOMPARE(lines(*mainWindow),
             QStringList({"", "Start Depmill.", "started", "Depmill Stopped.", "End Depmill."}));

    ToolTable& tools = mainWindow->tools();
    tools.tools[0] = {"Slow", "sh", "build.sh", folder, true, true};
    tools.count = 1;
    mainWindow->rebuildToolsMenu();
    mainWindow->output().erase();
    onceStarted(world, *mainWindow, [&] { mainWindow->stopRun(); });
    mainWindow->toolsMenu->actions().at(0)->trigger();
    QCOMPARE(lines(*mainWindow), QStringList({"started", "Tool Stopped."}));
    QVERIFY(buildSounds(world).empty());
}

void MainWindowBuildTest::closingDuringARunStopsItThenCloses() {
    UiTestWorld world;
    auto [mainWindow, folder] = openProject(world, "echo started\nexec sleep 30\n");
    mainWindow->show();
    bool closedAtOnce = true;
    onceStarted(world, *mainWindow, [&] { closedAtOnce = mainWindow->close(); });
    mainWindow->buildProject();
    QVERIFY(!closedAtOnce);  // the window waited for the run
    QCOMPARE(lines(*mainWindow).last(), QString("Build Stopped."));
    QTRY_VERIFY_WITH_TIMEOUT(!mainWindow->isVisible(), 2000);
    QCOMPARE(world.sounds.plays.back().event, std::string("Close"));
    // The placement was written at the close.
    Settings stored;
    LoadSettings(stored, *world.store);
    QVERIFY(!stored.windowPlacement.empty());
}

void MainWindowBuildTest::childLeavingAProgramBehindEndsTheBuild() {
    UiTestWorld world;
    auto [mainWindow, folder] = openProject(world, "sleep 30 &\necho $! > bg.pid\necho compiled\n");
    QElapsedTimer timer;
    timer.start();
    mainWindow->buildProject();
    QVERIFY(timer.elapsed() < 1500);
    QCOMPARE(lines(*mainWindow), QStringList({"Start Build.", "compiled", "End Build."}));
    const pid_t background = pidIn(folder + "/bg.pid");
    QVERIFY(ProcessRuns(background));
    ::kill(background, SIGKILL);
}

QTEST_MAIN(MainWindowBuildTest)
#include "mainwindow_build_test.moc"
