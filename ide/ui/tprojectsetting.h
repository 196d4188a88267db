// The project dialog: describes a new project (name, makefile, type, memory
// model, database) or changes the type and model of the current one, and
// owns the chooser through which a project's makefile is picked.
#pragma once

#include <QDialog>
#include <functional>
#include <optional>
#include <string>

#include "proj.h"
#include "uiservices.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class TVantor;

// The file-open dialog for a project's makefile; it reopens in the folder
// of the last file chosen through it.
struct ProjectFileChooser {
    std::string Title;
    std::string Filter;
    std::string InitialDir;
};

class Tprojectsetting : public QDialog {
    Q_OBJECT

  public:
    // currentProject gives the main window's current project, which the
    // dialog shows and OK writes into; projectFolder is the chooser's first
    // folder (the ProjectFolder setting).
    Tprojectsetting(UiServices& ui, std::function<TPROJ&()> currentProject,
                    const std::string& projectFolder, QWidget* parent = nullptr);
    // The main window's dialog: its current project, its settings' folder.
    explicit Tprojectsetting(TVantor& vantor);

    // Fills the controls from a project; the database box is left alone.
    void setproject(const TPROJ& project);
    // setproject with the main window's current project.
    void startsetting();

    // Shows the chooser; a chosen path goes into projectfilename and its
    // folder becomes the chooser's next folder and the current folder.
    std::optional<std::string> chooseProjectFile();

    // The two modes of the dialog: describing a new project (everything
    // usable, the database box shown) or changing the current one (only type
    // and memory model usable, the database box hidden and unchecked).
    void setNewProjectMode();
    void setOptionsMode();
    // Hides, disables and unchecks the database box.
    void hideDatabaseBox();

    void projectnameChange();
    void optDatabaseClick();
    void selectfileClick();
    void OKbuttonClick();
    void CANCELbuttonClick();

    QLabel* Label1;
    QLabel* Label2;
    QLabel* Label3;
    QLabel* Label4;
    QLabel* Label5;
    QLineEdit* projectname;
    QLineEdit* projectfilename;
    QPushButton* selectfile;
    QComboBox* projecttargettype;
    QComboBox* targetmemorymodel;
    QLineEdit* targetname;
    QCheckBox* optDatabase;
    QPushButton* OKbutton;
    QPushButton* CANCELbutton;
    ProjectFileChooser selectprojectfile;

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    UiServices& ui_;
    std::function<TPROJ&()> currentProject_;
};
