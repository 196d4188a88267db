// The main window's captured runs: Build, Rebuild and Check dependencies,
// the one run at a time that every captured child goes through, Stop, and
// the items that are shut while a run is in progress.
#include <QAction>
#include <QElapsedTimer>
#include <QMenu>
#include <QMetaObject>
#include <chrono>

#include "buildsteps.h"
#include "outputwindow.h"
#include "proj.h"
#include "qtext.h"
#include "regist.h"
#include "runcounts.h"
#include "runner.h"
#include "textconversion.h"
#include "tvantor.h"
#include "uiservices.h"

namespace {

constexpr char kCaption[] = "Vantor";

}  // namespace

void TVantor::appendLine(const std::string& line) {
    output1->append(line, ClassifyOutputLine(line, codePage_));
}

// ---------------------------------------------------------------- the run in progress

RunResult TVantor::runCaptured(const toolopt& request) {
    stopRequest_ = StopRequest();
    setRunInProgress(true);
    QElapsedTimer clock;
    clock.start();
    const RunServices services{services_.ui,
                               services_.processes,
                               codePage_,
                               &stopRequest_,
                               ToOutputEncoding(regist->OutputEncoding),
                               &ConvertCodePage};
    const RunResult result = RunCaptured(request, output1, services, debugMode());
    setRunInProgress(false);
    output1->flush();
    if (result.stopped || result.code != kRunFailed) {
        setStatusText(
            toQt(RunCountsStatusText(result.counts, std::chrono::milliseconds(clock.elapsed()))));
    }
    // A close asked for during the run comes once the command has finished.
    if (closeAfterRun_) QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
    return result;
}

// Everything that would start another run or change what a run works on is
// shut; reading and copying the output, the font, help, the jumps and Stop
// stay open.
void TVantor::setRunInProgress(bool running) {
    runInProgress_ = running;
    for (QAction* starter :
         {BuildProject, RebuildProject, CheckDepend, NewProject, OpenProject, Reopen->menuAction(),
          ProjectOption, IDEOption, ToolsEdit, ToolsMenu->menuAction()}) {
        starter->setEnabled(!running);
    }
    StopRun->setEnabled(running);
}

void TVantor::StopRunClick() {
    if (runInProgress_) stopRequest_.requested = true;
}

// The window stays until the run has stopped (the runner gives up on a
// child after kStopGiveUp), then closes as usual, settings saved.
bool TVantor::closeWaitsForRun() {
    if (!runInProgress_) return false;
    closeAfterRun_ = true;
    StopRunClick();
    return true;
}

// ---------------------------------------------------------------- build steps

void TVantor::BuildProjectClick() {
    if (!startBuild(regist->BuildCommand, "Start Build.", "Build")) return;
    if (debugMode()) appendLine(kJumpTestLine);
}

void TVantor::RebuildProjectClick() {
    startBuild(regist->RebuildCommand, "Start Rebuild.", "Rebuild");
}

bool TVantor::startBuild(const std::string& command, const char* startLine, const char* name) {
    if (runInProgress_) return false;
    if (proj->projectfolder.empty()) {
        services_.ui.showMessage(kNoProjectMessage, kCaption, MessageIcon::Stop);
        return false;
    }
    const std::string commandLine = command;  // the settings may change during the run
    output1->erase();
    appendLine(startLine);
    output1->flush();
    output1->repaint();
    CreateOutputFolder(proj->projectfilename);
    RunBuildStep(commandLine, name);
    return true;
}

RunResult TVantor::RunBuildStep(const std::string& command, const std::string& name) {
    const RunResult result = runCaptured(BuildStepRequest(command, name, proj->projectfolder));
    FinishBuildStep(
        name, result, [this](const std::string& line) { appendLine(line); }, services_.sounds);
    output1->flush();
    return result;
}

void TVantor::CreateOutputFolder(const std::string& makefilePath) {
    TPROJ project = *proj;
    project.projectfilename = makefilePath;
    ::CreateOutputFolder(
        project, debugMode(), [this](const std::string& line) { appendLine(line); }, services_.ui);
}

bool TVantor::RunDepmill(bool newProject) {
    if (runInProgress_) return false;
    if (proj->projectfolder.empty()) {
        services_.ui.showMessage(kNoProjectMessage, kCaption, MessageIcon::Stop);
        return false;
    }
    const std::string commandLine =
        DepmillCommandLine(regist->DepmillCommand, *proj, newProject, regist->defaultObjectFolder);
    appendLine("");
    appendLine("Start Depmill.");
    if (RunBuildStep(commandLine, "").stopped) appendLine(kDepmillStoppedLine);
    appendLine("End Depmill.");
    output1->flush();
    return true;
}

void TVantor::CheckDependClick() {
    RunDepmill(false);
}
