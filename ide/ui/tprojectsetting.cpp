// The project dialog: its controls, its two modes and the handlers that
// derive the target name and write the answers into the current project.
#include "tprojectsetting.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <utility>

#include "codepage.h"
#include "formcontrols.h"
#include "qtext.h"
#include "regist.h"
#include "tvantor.h"

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

Tprojectsetting::Tprojectsetting(UiServices& ui, std::function<TPROJ&()> currentProject,
                                 const std::string& projectFolder, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint),
      ui_(ui),
      currentProject_(std::move(currentProject)) {
    setObjectName("projectsetting");
    setFont(dialogFont());
    setMinimumSize(494, 204);

    projectname = makeEdit(this, "projectname");
    projectfilename = makeEdit(this, "projectfilename");
    selectfile = makeButton(this, "selectfile", "参照");
    projecttargettype = makeList(this, "projecttargettype");
    projecttargettype->addItems({toQt("MS-DOSアプリケーション"), toQt("MS-DOSライブラリ")});
    targetmemorymodel = makeList(this, "targetmemorymodel");
    for (const char* item : kModelItemTexts) targetmemorymodel->addItem(toQt(item));
    targetname = makeEdit(this, "targetname");
    targetname->setReadOnly(true);
    targetname->setEnabled(false);
    targetname->setFocusPolicy(Qt::NoFocus);
    optDatabase = makeCheckBox(this, "optDatabase", "データベースアプリケーション");
    optDatabase->setEnabled(false);
    OKbutton = makeButton(this, "OKbutton", "OK");
    OKbutton->setDefault(true);
    CANCELbutton = makeButton(this, "CANCELbutton", "キャンセル");

    Label1 = makeLabel(this, "Label1", "プロジェクト名", projectname);
    Label2 = makeLabel(this, "Label2", "プロジェクトファイル名", projectfilename);
    Label3 = makeLabel(this, "Label3", "プロジェクト形式", projecttargettype);
    Label4 = makeLabel(this, "Label4", "メモリーモデル", targetmemorymodel);
    Label5 = makeLabel(this, "Label5", "ターゲットファイル名", targetname);

    auto* grid = new QGridLayout;
    grid->addWidget(Label1, 0, 0);
    grid->addWidget(projectname, 0, 1, 1, 2);
    grid->addWidget(Label2, 1, 0);
    grid->addWidget(projectfilename, 1, 1);
    grid->addWidget(selectfile, 1, 2);
    grid->addWidget(Label3, 2, 0);
    grid->addWidget(projecttargettype, 2, 1, 1, 2);
    grid->addWidget(Label4, 3, 0);
    grid->addWidget(targetmemorymodel, 3, 1, 1, 2);
    grid->addWidget(Label5, 4, 0);
    grid->addWidget(targetname, 4, 1, 1, 2);
    grid->setColumnStretch(1, 1);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(optDatabase);
    bottom->addStretch(1);
    bottom->addWidget(OKbutton);
    bottom->addWidget(CANCELbutton);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addStretch(1);
    layout->addLayout(bottom);

    setTabOrder(projectname, projectfilename);
    setTabOrder(projectfilename, selectfile);
    setTabOrder(selectfile, projecttargettype);
    setTabOrder(projecttargettype, targetmemorymodel);
    setTabOrder(targetmemorymodel, optDatabase);
    setTabOrder(optDatabase, OKbutton);
    setTabOrder(OKbutton, CANCELbutton);

    selectprojectfile.Title = "プロジェクトファイルの指定";
    selectprojectfile.Filter = kProjectFileFilter;
    selectprojectfile.InitialDir = projectFolder;

    connect(projectname, &QLineEdit::textChanged, this, &Tprojectsetting::projectnameChange);
    connect(optDatabase, &QCheckBox::clicked, this, &Tprojectsetting::optDatabaseClick);
    connect(selectfile, &QPushButton::clicked, this, &Tprojectsetting::selectfileClick);
    connect(OKbutton, &QPushButton::clicked, this, &Tprojectsetting::OKbuttonClick);
    connect(CANCELbutton, &QPushButton::clicked, this, &Tprojectsetting::CANCELbuttonClick);
}

Tprojectsetting::Tprojectsetting(TVantor& vantor)
    : Tprojectsetting(
          vantor.services().ui, [&vantor]() -> TPROJ& { return vantor.project(); },
          vantor.settings().ProjectFolder, &vantor) {}

void Tprojectsetting::showEvent(QShowEvent* event) {
    // Centred on the screen rather than over the main window.
    centreOnScreen(*this);
    QDialog::showEvent(event);
}

void Tprojectsetting::setproject(const TPROJ& project) {
    projectname->setText(toQt(project.projectname));
    projectfilename->setText(toQt(project.projectfilename));
    // After the name, whose change handler derived a target of its own.
    targetname->setText(toQt(project.targetname));
    projecttargettype->setCurrentIndex(project.targettype == 1 ? kItemLibrary : kItemApplication);
    targetmemorymodel->setCurrentIndex(IndexFromModel(project.memorymodel));
}

void Tprojectsetting::startsetting() {
    setproject(currentProject_());
}

std::optional<std::string> Tprojectsetting::chooseProjectFile() {
    auto path = ui_.chooseFile(selectprojectfile.Title, selectprojectfile.InitialDir,
                               selectprojectfile.Filter);
    if (!path) return std::nullopt;
    projectfilename->setText(toQt(*path));
    selectprojectfile.InitialDir = folderOf(*path);
    QDir::setCurrent(toQt(selectprojectfile.InitialDir));
    return path;
}

void Tprojectsetting::setNewProjectMode() {
    projectname->setEnabled(true);
    selectfile->setEnabled(true);
    projectfilename->setEnabled(true);
    optDatabase->setEnabled(true);
    optDatabase->setVisible(true);
}

void Tprojectsetting::setOptionsMode() {
    projectname->setEnabled(false);
    selectfile->setEnabled(false);
    projectfilename->setEnabled(false);
    hideDatabaseBox();
}

void Tprojectsetting::hideDatabaseBox() {
    optDatabase->setVisible(false);
    optDatabase->setEnabled(false);
    optDatabase->setChecked(false);
}

void Tprojectsetting::projectnameChange() {
    if (projectname->text().isEmpty()) {
        targetname->clear();
        return;
    }
    const char* extension = projecttargettype->currentIndex() == kItemApplication ? ".exe" : ".lib";
    targetname->setText(projectname->text() + QLatin1String(extension));
}

void Tprojectsetting::optDatabaseClick() {
    if (optDatabase->isChecked()) targetmemorymodel->setCurrentIndex(kItemLargeModel);
}

void Tprojectsetting::selectfileClick() {
    if (chooseProjectFile()) optDatabase->setChecked(false);
}

void Tprojectsetting::OKbuttonClick() {
    const int model = targetmemorymodel->currentIndex();
    const int type = projecttargettype->currentIndex();
    const bool complete = model >= 0 && model <= 4 &&
                          (type == kItemApplication || type == kItemLibrary) &&
                          !projectname->text().isEmpty() && !projectfilename->text().isEmpty() &&
                          !targetname->text().isEmpty();
    if (!complete) {
        ui_.showMessage(kIncompleteMessage, kCaption, MessageIcon::Stop);
        return;
    }
    TPROJ& project = currentProject_();
    project.memorymodel = ModelFromIndex(model);
    project.targettype = type == kItemLibrary ? 1 : 0;
    project.projectname = fromQt(projectname->text());
    project.projectfilename = fromQt(projectfilename->text());
    project.targetname = fromQt(targetname->text());
    project.projectfolder = folderOf(project.projectfilename);
    project.database = optDatabase->isChecked() ? 1 : 0;
    accept();
}

void Tprojectsetting::CANCELbuttonClick() {
    reject();
}
