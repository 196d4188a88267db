// The project dialog: its controls, its two modes and the handlers that
// derive the target name and write the answers into the current project.
#include "projectdialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <utility>

#include "dospath.h"
#include "formcontrols.h"
#include "qtext.h"
#include "settings.h"

namespace {

constexpr char kCaption[] = "Vantor";
constexpr char kIncompleteMessage[] = "プロジェクト作成に必要な設定が完了していません。";

#ifdef _WIN32
constexpr char kProjectFileFilter[] =
    "プロジェクトファイル (*.mak)|Makefile;*.mak|すべてのファイル (*.*)|*.*";
#else
// File names are case-sensitive here and "*.*" would miss "Makefile".
constexpr char kProjectFileFilter[] =
    "プロジェクトファイル (*.mak)|Makefile;makefile;*.mak|すべてのファイル (*.*)|*";
#endif

constexpr int kItemApplication = 0;
constexpr int kItemLibrary = 1;
constexpr int kItemLargeModel = 3;

QComboBox* makeList(QWidget* parent, const char* name) {
    auto* list = new QComboBox(parent);
    list->setObjectName(name);
    list->setEditable(false);
    return list;
}

// The folder part of a makefile's path; a drive's root keeps its separator.
std::string folderOf(const std::string& path) {
    return common::folderPart(path, common::activeCodePage());
}

}  // namespace

ProjectDialog::ProjectDialog(UiServices& ui, std::function<Project&()> currentProject,
                             const std::string& projectFolder, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint),
      ui_(ui),
      currentProject_(std::move(currentProject)) {
    setObjectName("projectDialog");
    setFont(dialogFont());
    setMinimumSize(494, 204);

    projectName = makeEdit(this, "projectName");
    projectFile = makeEdit(this, "projectFile");
    browseButton = makeButton(this, "browseButton", "参照");
    targetTypeList = makeList(this, "targetTypeList");
    targetTypeList->addItems({wordsToQt("MS-DOSアプリケーション"), wordsToQt("MS-DOSライブラリ")});
    memoryModelList = makeList(this, "memoryModelList");
    for (const char* item : kModelItemTexts) memoryModelList->addItem(wordsToQt(item));
    targetName = makeEdit(this, "targetName");
    targetName->setReadOnly(true);
    targetName->setEnabled(false);
    targetName->setFocusPolicy(Qt::NoFocus);
    databaseBox = makeCheckBox(this, "databaseBox", "データベースアプリケーション");
    databaseBox->setEnabled(false);
    okButton = makeButton(this, "okButton", "OK");
    okButton->setDefault(true);
    cancelButton = makeButton(this, "cancelButton", "キャンセル");

    nameLabel = makeLabel(this, "nameLabel", "プロジェクト名", projectName);
    makefileLabel = makeLabel(this, "makefileLabel", "プロジェクトファイル名", projectFile);
    typeLabel = makeLabel(this, "typeLabel", "プロジェクト形式", targetTypeList);
    memoryModelLabel = makeLabel(this, "memoryModelLabel", "メモリーモデル", memoryModelList);
    targetNameLabel = makeLabel(this, "targetNameLabel", "ターゲットファイル名", targetName);

    auto* grid = new QGridLayout;
    grid->addWidget(nameLabel, 0, 0);
    grid->addWidget(projectName, 0, 1, 1, 2);
    grid->addWidget(makefileLabel, 1, 0);
    grid->addWidget(projectFile, 1, 1);
    grid->addWidget(browseButton, 1, 2);
    grid->addWidget(typeLabel, 2, 0);
    grid->addWidget(targetTypeList, 2, 1, 1, 2);
    grid->addWidget(memoryModelLabel, 3, 0);
    grid->addWidget(memoryModelList, 3, 1, 1, 2);
    grid->addWidget(targetNameLabel, 4, 0);
    grid->addWidget(targetName, 4, 1, 1, 2);
    grid->setColumnStretch(1, 1);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(databaseBox);
    bottom->addStretch(1);
    bottom->addWidget(okButton);
    bottom->addWidget(cancelButton);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addStretch(1);
    layout->addLayout(bottom);

    setTabOrder(projectName, projectFile);
    setTabOrder(projectFile, browseButton);
    setTabOrder(browseButton, targetTypeList);
    setTabOrder(targetTypeList, memoryModelList);
    setTabOrder(memoryModelList, databaseBox);
    setTabOrder(databaseBox, okButton);
    setTabOrder(okButton, cancelButton);

    projectFileChooser.title = "プロジェクトファイルの指定";
    projectFileChooser.filter = kProjectFileFilter;
    projectFileChooser.initialFolder = projectFolder;

    connect(projectName, &QLineEdit::textChanged, this, &ProjectDialog::updateTargetName);
    connect(databaseBox, &QCheckBox::clicked, this, &ProjectDialog::databaseToggled);
    connect(browseButton, &QPushButton::clicked, this, &ProjectDialog::browseProjectFile);
    connect(okButton, &QPushButton::clicked, this, &ProjectDialog::confirm);
    connect(cancelButton, &QPushButton::clicked, this, &ProjectDialog::cancel);
}

void ProjectDialog::showEvent(QShowEvent* event) {
    // Centred on the screen rather than over the main window.
    centreOnScreen(*this);
    QDialog::showEvent(event);
}

void ProjectDialog::showProject(const Project& project) {
    projectName->setText(toQt(project.projectName));
    projectFile->setText(pathToQt(project.projectFile));
    // After the name, whose change handler derived a target of its own.
    targetName->setText(toQt(project.targetName));
    targetTypeList->setCurrentIndex(project.targetType == 1 ? kItemLibrary : kItemApplication);
    memoryModelList->setCurrentIndex(IndexFromModel(project.memoryModel));
}

void ProjectDialog::showCurrentProject() {
    showProject(currentProject_());
}

std::optional<std::string> ProjectDialog::chooseProjectFile() {
    auto path = ui_.chooseFile(projectFileChooser.title, projectFileChooser.initialFolder,
                               projectFileChooser.filter);
    if (!path) return std::nullopt;
    projectFile->setText(pathToQt(*path));
    projectFileChooser.initialFolder = folderOf(*path);
    QDir::setCurrent(pathToQt(projectFileChooser.initialFolder));
    return path;
}

void ProjectDialog::setNewProjectMode() {
    projectName->setEnabled(true);
    browseButton->setEnabled(true);
    projectFile->setEnabled(true);
    databaseBox->setEnabled(true);
    databaseBox->setVisible(true);
}

void ProjectDialog::setOptionsMode() {
    projectName->setEnabled(false);
    browseButton->setEnabled(false);
    projectFile->setEnabled(false);
    hideDatabaseBox();
}

void ProjectDialog::hideDatabaseBox() {
    databaseBox->setVisible(false);
    databaseBox->setEnabled(false);
    databaseBox->setChecked(false);
}

void ProjectDialog::updateTargetName() {
    if (projectName->text().isEmpty()) {
        targetName->clear();
        return;
    }
    const char* extension = targetTypeList->currentIndex() == kItemApplication ? ".exe" : ".lib";
    targetName->setText(projectName->text() + QLatin1String(extension));
}

void ProjectDialog::databaseToggled() {
    if (databaseBox->isChecked()) memoryModelList->setCurrentIndex(kItemLargeModel);
}

void ProjectDialog::browseProjectFile() {
    if (chooseProjectFile()) databaseBox->setChecked(false);
}

void ProjectDialog::confirm() {
    const int model = memoryModelList->currentIndex();
    const int type = targetTypeList->currentIndex();
    const bool complete = model >= 0 && model <= 4 &&
                          (type == kItemApplication || type == kItemLibrary) &&
                          !projectName->text().isEmpty() && !projectFile->text().isEmpty() &&
                          !targetName->text().isEmpty();
    if (!complete) {
        ui_.showMessage(kIncompleteMessage, kCaption, MessageIcon::Stop);
        return;
    }
    Project& project = currentProject_();
    project.memoryModel = ModelFromIndex(model);
    project.targetType = type == kItemLibrary ? 1 : 0;
    project.projectName = fromQt(projectName->text());
    project.projectFile = pathFromQt(projectFile->text());
    project.targetName = fromQt(targetName->text());
    project.projectFolder = folderOf(project.projectFile);
    project.database = databaseBox->isChecked() ? 1 : 0;
    accept();
}

void ProjectDialog::cancel() {
    reject();
}
