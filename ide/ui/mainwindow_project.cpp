// The main window's project commands: New project and Project options show
// the project dialog, Open project reads a chosen makefile. All three work on
// the one current project, which New and Open first reset to a fresh one.
#include <QComboBox>
#include <QLineEdit>

#include "mainwindow.h"
#include "newprojectmakefile.h"
#include "project.h"
#include "projectdialog.h"
#include "qtext.h"
#include "settings.h"
#include "uiservices.h"

void MainWindow::createNewProject() {
    ProjectDialog& dialog = *projectDialog();
    // The previous project is gone, whatever the user answers.
    Project& current = project();
    ResetProject(current);
    current.memoryModel = ModelFromIndex(settings().defaultMemoryModel);

    dialog.setNewProjectMode();
    dialog.showCurrentProject();
    dialog.projectName->setFocus();
    dialog.setWindowTitle(wordsToQt("新規プロジェクトの作成"));
    clearOutput();
    dialog.exec();

    current.projectFile = NewProjectMakefile(current.projectFile, codePage());
    updateTitleAndHistory();
    dialog.hideDatabaseBox();
    // A name means the dialog was confirmed; the generator then writes the
    // makefile in the project folder.
    if (!current.projectName.empty()) runDepmill(true);
}

void MainWindow::chooseAndOpenProject() {
    const auto path = projectDialog()->chooseProjectFile();
    if (!path) return;
    ResetProject(project());
    // After a failed reading the project stays fresh and the title keeps
    // naming the previous one.
    if (LoadProject(project(), *path, services().ui, codePage())) updateTitleAndHistory();
}

void MainWindow::editProjectOptions() {
    if (project().projectName.empty()) {
        createNewProject();
        return;
    }
    ProjectDialog& dialog = *projectDialog();
    dialog.setOptionsMode();
    dialog.showCurrentProject();
    dialog.setWindowTitle(wordsToQt("プロジェクトの設定"));
    dialog.targetTypeList->setFocus();
    dialog.exec();
    updateTitleAndHistory();
}
