// Build, Rebuild and Check dependencies through the main window, with real
// children (sh scripts printing compiler-style lines, make, depmill), and
// Stop, the items shut during a run and closing during one.
#include <QAction>
#include <QCheckBox>
#include <QMenu>
#include <csignal>
#include <functional>

#include "processstate.h"

#include "outputwindow.h"
#include "proj.h"
#include "regist.h"
#include "toptiondlg.h"
#include "uitestsupport.h"

class TVantorBuildTest : public QObject {
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

struct Project {
    std::unique_ptr<TVantor> vantor;
    std::string folder;
};

// A project "hello" in the work folder, whose build command runs `script`
// (written into the project folder) through the shell.
Project openProject(UiTestWorld& world, const std::string& script,
                    const std::string& outdir = "obj") {
    const std::string makefile =
        world.writeFile("hello/makefile", "OUTDIR\t= " + outdir + "\nPROGRAM\t= hello\n\nall:\n");
    world.writeFile("hello/build.sh", script);
    world.storeString(regschema::kHistoryKey, "Project0", "hello");
    world.storeString(regschema::kHistoryKey, "ProjectFile0", makefile);
    world.storeString(regschema::kBaseKey, "BuildCommand", "cmd /csh build.sh");
    world.storeString(regschema::kBaseKey, "RebuildCommand", "cmd /csh build.sh rebuild");
    return {world.startVantor(), world.path("hello")};
}

QStringList lines(TVantor& vantor) {
    return vantor.output().text().split('\n');
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
void onceStarted(UiTestWorld& world, TVantor& vantor, std::function<void()> act) {
    world.ui.onProcessEvents = [&world, &vantor, act] {
        if (!vantor.output().text().split('\n').contains("started")) return;
        const std::function<void()> once = act;  // resetting the hook ends this closure
        world.ui.onProcessEvents = nullptr;
        once();
    };
}

pid_t pidIn(const std::string& file) {
    return static_cast<pid_t>(std::stol("0" + readFile(file)));
}

}  // namespace

void TVantorBuildTest::buildSummarisesTheWorstLine_data() {
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

void TVantorBuildTest::buildSummarisesTheWorstLine() {
    QFETCH(QString, script);
    QFETCH(QString, summary);
    QFETCH(QString, sound);
    UiTestWorld world;
    auto [vantor, folder] = openProject(world, script.toStdString());
    vantor->output().append("left over");
    vantor->BuildProjectClick();

    const QStringList output = lines(*vantor);
    QCOMPARE(output.first(), QString("Start Build."));
    QCOMPARE(output.last(), summary);
    QCOMPARE(buildSounds(world), std::vector<std::string>{sound.toStdString()});
    QCOMPARE(world.sounds.plays.back().fallback, SoundFallback::SystemDefault);
    QCOMPARE(world.sounds.plays.back().wait, SoundWait::No);
    QVERIFY(!world.ui.busyCursor);
}

void TVantorBuildTest::buildThatCannotStartFailsWithoutSound() {
    UiTestWorld world;
    auto [vantor, folder] = openProject(world, "");
    vantor->settings().BuildCommand = "";
    vantor->BuildProjectClick();
    QCOMPARE(world.ui.messages.size(), std::size_t(1));
    QCOMPARE(world.ui.messages[0].text, std::string("プログラムの起動に失敗しました。"));
    QCOMPARE(lines(*vantor), QStringList({"Start Build.", "Build Failed."}));
    QVERIFY(buildSounds(world).empty());
}

void TVantorBuildTest::debugModeAddsTheJumpTestLineAndCreatesOutdir() {
    UiTestWorld world;
    auto [vantor, folder] = openProject(world, "echo done");
    TOptionDlg options(*vantor);
    options.IDEdebugmode->setChecked(true);
    vantor->setDialogs({nullptr, &options, nullptr, nullptr, nullptr});

    vantor->BuildProjectClick();
    const QStringList output = lines(*vantor);
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

void TVantorBuildTest::rebuildUsesItsOwnCommandAndErasesTheOutput() {
    UiTestWorld world;
    auto [vantor, folder] = openProject(world, "echo \"args: $1\"", ".");
    TOptionDlg options(*vantor);
    options.IDEdebugmode->setChecked(true);  // no test line after a rebuild
    vantor->setDialogs({nullptr, &options, nullptr, nullptr, nullptr});
    vantor->output().append("old");
    vantor->RebuildProjectClick();
    const QStringList output = lines(*vantor);
    QCOMPARE(output.first(), QString("Start Rebuild."));
    QVERIFY(!output.contains("old"));
    QVERIFY(output.contains("args: rebuild"));
    QVERIFY(!output.join('\n').contains("Creating Folder"));  // OUTDIR "." makes none
    QCOMPARE(output.last(), QString("End Rebuild."));
}

void TVantorBuildTest::noProjectStopsEveryCommand() {
    UiTestWorld world;
    auto vantor = world.startVantor();
    vantor->output().append("kept");
    vantor->BuildProjectClick();
    vantor->RebuildProjectClick();
    vantor->CheckDependClick();
    QVERIFY(!vantor->RunDepmill(true));
    QCOMPARE(world.ui.messages.size(), std::size_t(4));
    for (const auto& message : world.ui.messages) {
        QCOMPARE(message.text, std::string("プロジェクトの指定がありません。"));
        QCOMPARE(message.caption, std::string("Vantor"));
        QCOMPARE(message.icon, MessageIcon::Stop);
    }
    QCOMPARE(vantor->output().text(), QString("kept"));
    QCOMPARE(world.sounds.plays.size(), std::size_t(1));
}

void TVantorBuildTest::checkDependenciesRunsDepmillBesideTheIde() {
    UiTestWorld world;
    auto [vantor, folder] = openProject(world, "");
    world.writeFile("hello/hello.c", "#include \"hello.h\"\nint main(void) { return 0; }\n");
    world.writeFile("hello/hello.h", "\n");
    vantor->output().append("kept");
    vantor->CheckDependClick();  // the stored default "depmill -t1"

    const QStringList output = lines(*vantor);
    QCOMPARE(output.mid(0, 3), QStringList({"kept", "", "Start Depmill."}));
    QCOMPARE(output.last(), QString("End Depmill."));
    QVERIFY(world.ui.messages.empty());  // found and started
    QCOMPARE(buildSounds(world), std::vector<std::string>());
    const std::string makefile = readFile(folder + "/makefile");
    QVERIFY(makefile.find("hello.h") != std::string::npos);
    QVERIFY(QFileInfo::exists(QString::fromStdString(folder + "/makefile.old")));
}

void TVantorBuildTest::buildRunsRealMakeInTheProjectFolder() {
    UiTestWorld world;
    auto [vantor, folder] = openProject(world, "");
    world.writeFile("hello/makefile",
                    "OUTDIR\t= out\nPROGRAM\t= hello\n\nall:\n\t@echo 'hello.c(7) : error C2065: "
                    "undeclared'\n");
    vantor->settings().BuildCommand = "make";
    vantor->BuildProjectClick();
    QCOMPARE(lines(*vantor),
             QStringList({"Start Build.", "hello.c(7) : error C2065: undeclared", "Build Error."}));
    QVERIFY(QFileInfo(QString::fromStdString(folder + "/out")).isDir());
}

void TVantorBuildTest::defaultBuildReportsAFailedMake() {
    UiTestWorld world;
    const std::string makefile =
        world.writeFile("hello/makefile", "PROGRAM\t= hello\n\nall:\n\t@echo compiling; false\n");
    world.storeString(regschema::kHistoryKey, "Project0", "hello");
    world.storeString(regschema::kHistoryKey, "ProjectFile0", makefile);
    auto vantor = world.startVantor();
    vantor->BuildProjectClick();  // the stored default
    QCOMPARE(lines(*vantor).last(), QString("Build Error (2)."));
    QCOMPARE(buildSounds(world), std::vector<std::string>{"BuildError"});
}

void TVantorBuildTest::stopEndsTheStepAndWhatItStarted_data() {
    QTest::addColumn<bool>("rebuild");
    QTest::addColumn<QString>("summary");
    QTest::newRow("build") << false << "Build Stopped.";
    QTest::newRow("rebuild") << true << "Rebuild Stopped.";
}

void TVantorBuildTest::stopEndsTheStepAndWhatItStarted() {
    QFETCH(bool, rebuild);
    QFETCH(QString, summary);
    UiTestWorld world;
    auto [vantor, folder] =
        openProject(world, "sleep 30 &\necho $! > bg.pid\necho started\nwait\n");
    TVantor& ide = *vantor;
    const auto shut = [&ide] {
        return QList<QAction*>{
            ide.BuildProject, ide.RebuildProject,         ide.CheckDepend,   ide.NewProject,
            ide.OpenProject,  ide.Reopen->menuAction(),   ide.ProjectOption, ide.IDEOption,
            ide.ToolsEdit,    ide.ToolsMenu->menuAction()};
    };
    const auto open = [&ide] {
        return QList<QAction*>{ide.Copy1,      ide.copyall,  ide.SelectAll, ide.ChangeFont,
                               ide.HelpCerror, ide.jumpEdit, ide.jumpHelp,  ide.ExitProgram};
    };
    ide.FileMenuClick();  // the project's history entry shows the Reopen menu
    ide.tools().tools[0] = {"Echo", "echo", "", "", true, true};
    ide.tools().count = 1;
    ide.rebuildToolsMenu();
    for (QAction* item : shut()) QVERIFY2(item->isEnabled(), qPrintable(item->objectName()));
    QVERIFY(!ide.StopRun->isEnabled());
    QCOMPARE(ide.StopRun->shortcut(), QKeySequence("Ctrl+F8"));
    QCOMPARE(ide.StopRun->text(), QString("実行の中止(&S)"));
    QCOMPARE(ide.StopRun->statusTip(), QString("実行中のビルドやツールを中止します"));
    const QList<QAction*> projectItems = ide.ProjectMenu->actions();
    QCOMPARE(projectItems.indexOf(ide.StopRun), projectItems.indexOf(ide.CheckDepend) + 1);

    bool checked = false;
    onceStarted(world, ide, [&] {
        QVERIFY(ide.runInProgress());
        for (QAction* item : shut()) QVERIFY2(!item->isEnabled(), qPrintable(item->objectName()));
        for (QAction* item : open()) QVERIFY2(item->isEnabled(), qPrintable(item->objectName()));
        QVERIFY(ide.StopRun->isEnabled());
        // A second run is refused while this one goes on.
        ide.CheckDependClick();
        ide.StopRun->trigger();
        checked = true;
    });
    QElapsedTimer timer;
    timer.start();
    if (rebuild) {
        ide.RebuildProjectClick();
    } else {
        ide.BuildProjectClick();
    }
    QVERIFY(timer.elapsed() < 2000);
    QVERIFY(checked);
    QCOMPARE(lines(ide),
             QStringList({rebuild ? "Start Rebuild." : "Start Build.", "started", summary}));
    QCOMPARE(buildSounds(world), std::vector<std::string>{"BuildError"});
    QVERIFY(!ProcessRuns(pidIn(folder + "/bg.pid")));
    QVERIFY(!ide.runInProgress());
    for (QAction* item : shut()) QVERIFY2(item->isEnabled(), qPrintable(item->objectName()));
    QVERIFY(!ide.StopRun->isEnabled());
    QVERIFY(!world.ui.busyCursor);
}

void TVantorBuildTest::stoppedGeneratorAndToolSayWhatStopped() {
    UiTestWorld world;
    auto [vantor, folder] = openProject(world, "echo started\nsleep 30\n");
    vantor->settings().DepmillCommand = "sh build.sh";
    onceStarted(world, *vantor, [&] { vantor->StopRunClick(); });
    vantor->CheckDependClick();
    QCOMPARE(lines(*vantor),
             QStringList({"", "Start Depmill.", "started", "Depmill Stopped.", "End Depmill."}));

    tooloptions& tools = vantor->tools();
    tools.tools[0] = {"Slow", "sh", "build.sh", folder, true, true};
    tools.count = 1;
    vantor->rebuildToolsMenu();
    vantor->output().erase();
    onceStarted(world, *vantor, [&] { vantor->StopRunClick(); });
    vantor->ToolsMenu->actions().at(0)->trigger();
    QCOMPARE(lines(*vantor), QStringList({"started", "Tool Stopped."}));
    QVERIFY(buildSounds(world).empty());
}

void TVantorBuildTest::closingDuringARunStopsItThenCloses() {
    UiTestWorld world;
    auto [vantor, folder] = openProject(world, "echo started\nexec sleep 30\n");
    vantor->show();
    bool closedAtOnce = true;
    onceStarted(world, *vantor, [&] { closedAtOnce = vantor->close(); });
    vantor->BuildProjectClick();
    QVERIFY(!closedAtOnce);  // the window waited for the run
    QCOMPARE(lines(*vantor).last(), QString("Build Stopped."));
    QTRY_VERIFY_WITH_TIMEOUT(!vantor->isVisible(), 2000);
    QCOMPARE(world.sounds.plays.back().event, std::string("Close"));
    // The placement was written at the close.
    TREGIST stored;
    LoadSettings(stored, *world.store);
    QVERIFY(!stored.Window.empty());
}

void TVantorBuildTest::childLeavingAProgramBehindEndsTheBuild() {
    UiTestWorld world;
    auto [vantor, folder] = openProject(world, "sleep 30 &\necho $! > bg.pid\necho compiled\n");
    QElapsedTimer timer;
    timer.start();
    vantor->BuildProjectClick();
    QVERIFY(timer.elapsed() < 1500);
    QCOMPARE(lines(*vantor), QStringList({"Start Build.", "compiled", "End Build."}));
    const pid_t background = pidIn(folder + "/bg.pid");
    QVERIFY(ProcessRuns(background));
    ::kill(background, SIGKILL);
}

QTEST_MAIN(TVantorBuildTest)
#include "tvantor_build_test.moc"
