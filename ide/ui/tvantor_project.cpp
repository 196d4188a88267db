// The main window's project commands: New project and Project options show
// the project dialog, Open project reads a chosen makefile. All three work on
// the one current project, which New and Open first reset to a fresh one.
#include <QComboBox>
#include <QLineEdit>

#include "newprojectmakefile.h"
#include "proj.h"
#include "qtext.h"
#include "regist.h"
#include "tprojectsetting.h"
#include "tvantor.h"
#include "uiservices.h"

void TVantor::NewProjectClick() {
    Tprojectsetting& dialog = *projectsetting();
    // The previous project is gone, whatever the user answers.
    TPROJ& current = project();
    ResetProject(current);
    current.memorymodel = ModelFromIndex(settings().defaultMemorymodel);

    dialog.setNewProjectMode();
    dialog.startsetting();
    dialog.projectname->setFocus();
    dialog.setWindowTitle(toQt("新規プロジェクトの作成"));
    clearClick();
    dialog.exec();

    current.projectfilename = NewProjectMakefile(current.projectfilename, codePage());
    UpdateTitle();
    dialog.hideDatabaseBox();
    // A name means the dialog was confirmed; the generator then writes the
    // makefile in the project folder.
    if (!current.projectname.empty()) RunDepmill(true);
}

void TVantor::OpenProjectClick() {
    const auto path = projectsetting()->chooseProjectFile();
    if (!path) return;
    ResetProject(project());
    // After a failed reading the project stays fresh and the title keeps
    // naming the previous one.
    if (LoadProject(project(), *path, services().ui, codePage())) UpdateTitle();
}

void TVantor::ProjectOptionClick() {
    if (project().projectname.empty()) {
        NewProjectClick();
        return;
    }
    Tprojectsetting& dialog = *projectsetting();
    dialog.setOptionsMode();
    dialog.startsetting();
    dialog.setWindowTitle(toQt("プロジェクトの設定"));
    dialog.projecttargettype->setFocus();
    dialog.exec();
    UpdateTitle();
}
