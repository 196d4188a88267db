// The main window's captured runs: Build, Rebuild and Check dependencies,
// the one run at a time that every captured child goes through, Stop, and
// the items that are shut while a run is in progress.
#include <QAction>
#include <QElapsedTimer>
#include <QMenu>
#include <QMetaObject>
#include <chrono>

#include "buildsteps.h"
#include "mainwindow.h"
#include "outputwindow.h"
#include "project.h"
#include "runner.h"
#include "settings.h"
#include "statusline.h"
#include "uiservices.h"

namespace {

constexpr char kCaption[] = "Vantor";

}  // namespace

void MainWindow::appendLine(const std::string& line, LineKind kind) {
    outputWindow->append(line, kind);
}

OutputLineSink MainWindow::outputSink() {
    return [this](const std::string& line, LineKind kind) { appendLine(line, kind); };
}

// A step starts only when no run is in progress and a project is open.
bool MainWindow::readyForStep() {
    if (runInProgress_) return false;
    if (project_->projectFolder.empty()) {
        services_.ui.showMessage(kNoProjectMessage, kCaption, MessageIcon::Stop);
        return false;
    }
    return true;
}

// ---------------------------------------------------------------- the run in progress

RunResult MainWindow::runCaptured(const Tool& request) {
    stopRequest_ = StopRequest();
    setRunInProgress(true);
    QElapsedTimer clock;
    clock.start();
    const RunServices services{services_.ui,
                               services_.processes,
                               codePage_,
                               &stopRequest_,
                               ToOutputEncoding(settings_->outputEncoding),
                               &services_.textConversion,
                               messageReader_.get()};
    const RunResult result = RunCaptured(request, outputWindow, services, debugMode());
    setRunInProgress(false);
    outputWindow->flush();
    if (result.stopped || result.code != kRunFailed) {
        status_->showRunCounts(result.counts, std::chrono::milliseconds(clock.elapsed()));
    }
    // A close asked for during the run comes once the command has finished.
    if (closeAfterRun_) QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
    return result;
}

// Everything that would start another run or change what a run works on is
// shut; reading and copying the output, the font, help, the jumps and Stop
// stay open.
void MainWindow::setRunInProgress(bool running) {
    runInProgress_ = running;
    for (QAction* starter : {buildAction, rebuildAction, checkDependenciesAction, newProjectAction,
                             openProjectAction, reopenMenu->menuAction(), projectOptionsAction,
                             optionsAction, editToolsAction, toolsMenu->menuAction()}) {
        starter->setEnabled(!running);
    }
    stopAction->setEnabled(running);
}

void MainWindow::stopRun() {
    if (runInProgress_) stopRequest_.requested = true;
}

// The window stays until the run has stopped (the runner gives up on a
// child after kStopGiveUp), then closes as usual, settings saved.
bool MainWindow::closeWaitsForRun() {
    if (!runInProgress_) return false;
    closeAfterRun_ = true;
    stopRun();
    return true;
}

// ---------------------------------------------------------------- build steps

void MainWindow::buildProject() {
    if (!startBuild(settings_->buildCommand, "Start Build.", "Build")) return;
    // Written by the IDE, yet read as a message: it is there to try the jumps.
    if (debugMode()) {
        OutputLine test = OutputLineReader(*messageReader_).read(kJumpTestLine);
        outputWindow->append(std::move(test));
    }
}

void MainWindow::rebuildProject() {
    startBuild(settings_->rebuildCommand, "Start Rebuild.", "Rebuild");
}

bool MainWindow::startBuild(const std::string& command, const char* startLine, const char* name) {
    if (!readyForStep()) return false;
    const std::string commandLine = command;  // the settings may change during the run
    outputWindow->erase();
    appendLine(startLine);
    outputWindow->flush();
    outputWindow->repaint();
    createOutputFolder(project_->projectFile);
    runBuildStep(commandLine, name);
    return true;
}

RunResult MainWindow::runBuildStep(const std::string& command, const std::string& name) {
    const RunResult result = runCaptured(BuildStepRequest(command, name, project_->projectFolder));
    FinishBuildStep(name, result, outputSink(), services_.sounds);
    outputWindow->flush();
    return result;
}

void MainWindow::createOutputFolder(const std::string& makefilePath) {
    Project project = *project_;
    project.projectFile = makefilePath;
    ::CreateOutputFolder(project, debugMode(), outputSink(), services_.ui);
}

bool MainWindow::runDepmill(bool newProject) {
    if (!readyForStep()) return false;
    const std::string commandLine = DepmillCommandLine(settings_->depmillCommand, *project_,
                                                       newProject, settings_->defaultObjectFolder);
    appendLine("");
    appendLine("Start Depmill.");
    if (runBuildStep(commandLine, "").stopped) appendLine(kDepmillStoppedLine, LineKind::Summary);
    appendLine("End Depmill.");
    outputWindow->flush();
    return true;
}

void MainWindow::checkDependencies() {
    runDepmill(false);
}
