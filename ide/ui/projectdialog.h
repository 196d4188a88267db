// The project dialog: describes a new project (name, makefile, type, memory
// model, database) or changes the type and model of the current one, and
// owns the chooser through which a project's makefile is picked.
#pragma once

#include <QDialog>
#include <functional>
#include <optional>
#include <string>

#include "project.h"
#include "uiservices.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

// The file-open dialog for a project's makefile; it reopens in the folder
// of the last file chosen through it.
struct ProjectFileChooser {
    std::string title;
    std::string filter;
    std::string initialFolder;
};

class ProjectDialog : public QDialog {
    Q_OBJECT

  public:
    // currentProject gives the main window's current project, which the
    // dialog shows and OK writes into; projectFolder is the chooser's first
    // folder (the ProjectFolder setting).
    ProjectDialog(UiServices& ui, std::function<Project&()> currentProject,
                  const std::string& projectFolder, QWidget* parent = nullptr);

    // Fills the controls from a project; the database box is left alone.
    void showProject(const Project& project);
    // showProject with the main window's current project.
    void showCurrentProject();

    // Shows the chooser; a chosen path goes into projectFile and its
    // folder becomes the chooser's next folder and the current folder.
    std::optional<std::string> chooseProjectFile();

    // The two modes of the dialog: describing a new project (everything
    // usable, the database box shown) or changing the current one (only type
    // and memory model usable, the database box hidden and unchecked).
    void setNewProjectMode();
    void setOptionsMode();
    // Hides, disables and unchecks the database box.
    void hideDatabaseBox();

    void updateTargetName();
    void databaseToggled();
    void browseProjectFile();
    void confirm();
    void cancel();

    QLabel* nameLabel;
    QLabel* makefileLabel;
    QLabel* typeLabel;
    QLabel* memoryModelLabel;
    QLabel* targetNameLabel;
    QLineEdit* projectName;
    QLineEdit* projectFile;
    QPushButton* browseButton;
    QComboBox* targetTypeList;
    QComboBox* memoryModelList;
    QLineEdit* targetName;
    QCheckBox* databaseBox;
    QPushButton* okButton;
    QPushButton* cancelButton;
    ProjectFileChooser projectFileChooser;

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    UiServices& ui_;
    std::function<Project&()> currentProject_;
};
