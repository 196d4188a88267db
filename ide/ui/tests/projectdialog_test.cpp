// The project dialog and the New, Open and Project options commands, with
// the real depmill writing the new project's makefile.
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include "projecttestide.h"
#include "settings.h"

namespace {

constexpr char kIncomplete[] = "プロジェクト作成に必要な設定が完了していません。";

QString folderOfTest(const UiTestWorld& env, const char* name) {
    QDir(env.work()).mkpath(name);
    return env.work() + "/" + name;
}

// A makefile whose head block names a program, as depmill writes one.
void writeProgramMakefile(const QString& path, const QByteArray& program) {
    QVERIFY(writeTextFile(path,
                          "# make makefile at: 98/12/5 5:13\n\nMODEL\t= m\nCC\t= cl\n"
                          "OUTDIR\t= obj\n\nPROGRAM\t= $(OUTDIR)\\" +
                              program + "\n\nall: $(PROGRAM)\n"));
}

}  // namespace

class ProjectDialogTest : public QObject {
    Q_OBJECT

  private slots:
    void targetNameFollowsTheNameButNotTheType();
    void incompleteSettingsKeepTheDialogOpenAndTheRecordUnchanged();
    void databaseBoxSelectsTheLargeModelWhichMayBeChangedAgain();
    void browsingFillsTheFileMovesTheFolderAndUnchecksTheDatabaseBox();

    void newProjectRunsDepmillWithTheProjectsOptions();
    void cancelledNewProjectLeavesNoProject();
    void openProjectReadsTheChosenMakefile();
    void openingAMakefileWithoutDefinitionsLeavesNoProject();
    void projectOptionsChangeOnlyTypeAndModel();
    void projectOptionsWithoutAProjectDescribeANewOne();
};

// The dialog on a record of its own, in the new-project mode.
struct StandaloneDialog {
    StandaloneDialog()
        : dialog(
              ui, [this]() -> Project& { return project; }, "/start/folder") {
        dialog.setNewProjectMode();
        dialog.showCurrentProject();
    }
    FakeUiServices ui;
    Project project;
    ProjectDialog dialog;
};

void ProjectDialogTest::targetNameFollowsTheNameButNotTheType() {
    UiTestWorld env;
    StandaloneDialog d;
    d.dialog.projectName->setText("hello");
    QCOMPARE(d.dialog.targetName->text(), QString("hello.exe"));

    d.dialog.targetTypeList->setCurrentIndex(1);
    QCOMPARE(d.dialog.targetName->text(), QString("hello.exe"));

    d.dialog.projectFile->setText("/work/hello/makefile");
    d.dialog.confirm();
    QCOMPARE(d.dialog.result(), int(QDialog::Accepted));
    QVERIFY(d.ui.messages.empty());
    QCOMPARE(d.project.projectName, std::string("hello"));
    QCOMPARE(d.project.targetName, std::string("hello.exe"));
    QCOMPARE(int(d.project.targetType), 1);
    QCOMPARE(d.project.projectFile, std::string("/work/hello/makefile"));
    QCOMPARE(d.project.projectFolder, std::string("/work/hello"));
    QCOMPARE(int(d.project.database), 0);

    // Editing the name again derives the library's extension.
    d.dialog.projectName->setText("tool");
    QCOMPARE(d.dialog.targetName->text(), QString("tool.lib"));
}

void ProjectDialogTest::incompleteSettingsKeepTheDialogOpenAndTheRecordUnchanged() {
    UiTestWorld env;
    StandaloneDialog d;
    d.project.projectName = "before";
    d.dialog.projectName->setText("hello");
    d.dialog.projectFile->setText("/work/hello/makefile");
    d.dialog.projectName->clear();
    QVERIFY(d.dialog.targetName->text().isEmpty());

    d.dialog.confirm();
    QCOMPARE(d.ui.messages.size(), std::size_t(1));
    QCOMPARE(d.ui.messages[0].text, std::string(kIncomplete));
    QCOMPARE(d.ui.messages[0].caption, std::string("Vantor"));
    QCOMPARE(d.ui.messages[0].icon, MessageIcon::Stop);
    QVERIFY(d.dialog.result() != QDialog::Accepted);
    QCOMPARE(d.project.projectName, std::string("before"));

    // A missing file name or a list without a selection is just as incomplete.
    d.dialog.projectName->setText("hello");
    d.dialog.projectFile->clear();
    d.dialog.confirm();
    d.dialog.projectFile->setText("/work/hello/makefile");
    d.dialog.memoryModelList->setCurrentIndex(-1);
    d.dialog.confirm();
    QCOMPARE(d.ui.messages.size(), std::size_t(3));
    QCOMPARE(d.project.projectName, std::string("before"));
}

void ProjectDialogTest::databaseBoxSelectsTheLargeModelWhichMayBeChangedAgain() {
    UiTestWorld env;
    StandaloneDialog d;
    d.dialog.memoryModelList->setCurrentIndex(0);
    d.dialog.databaseBox->click();
    QVERIFY(d.dialog.databaseBox->isChecked());
    QCOMPARE(d.dialog.memoryModelList->currentText(), QString("L - Large model"));

    d.dialog.memoryModelList->setCurrentIndex(1);
    d.dialog.databaseBox->click();  // unchecking changes no model
    QCOMPARE(d.dialog.memoryModelList->currentIndex(), 1);
    d.dialog.databaseBox->click();
    d.dialog.memoryModelList->setCurrentIndex(4);

    d.dialog.projectName->setText("dbapp");
    d.dialog.projectFile->setText("/work/dbapp/makefile");
    d.dialog.confirm();
    QCOMPARE(int(d.project.memoryModel), 4);
    QCOMPARE(int(d.project.database), 1);
}

void ProjectDialogTest::browsingFillsTheFileMovesTheFolderAndUnchecksTheDatabaseBox() {
    UiTestWorld env;
    StandaloneDialog d;
    const QString folder = folderOfTest(env, "browse");
    const std::string chosen = fromQt(folder + "/proj.mak");

    d.ui.fileAnswers = {std::nullopt, chosen};
    d.dialog.databaseBox->click();
    d.dialog.browseProjectFile();  // cancelled: nothing changes
    QVERIFY(d.dialog.databaseBox->isChecked());
    QVERIFY(d.dialog.projectFile->text().isEmpty());

    d.dialog.browseProjectFile();
    QCOMPARE(d.dialog.projectFile->text(), toQt(chosen));
    QVERIFY(!d.dialog.databaseBox->isChecked());
    QCOMPARE(QDir::currentPath(), QDir(folder).canonicalPath());

    QCOMPARE(d.ui.fileRequests.size(), std::size_t(2));
    QCOMPARE(d.ui.fileRequests[0].title, std::string("プロジェクトファイルの指定"));
    QCOMPARE(d.ui.fileRequests[0].initialFolder, std::string("/start/folder"));
    QVERIFY(d.ui.fileRequests[0].filter.find("Makefile") != std::string::npos);
    QVERIFY(d.ui.fileRequests[0].filter.find("*.mak") != std::string::npos);

    // The chooser reopens where the last file was chosen.
    d.dialog.browseProjectFile();
    QCOMPARE(d.ui.fileRequests[2].initialFolder, fromQt(folder));
}

void ProjectDialogTest::newProjectRunsDepmillWithTheProjectsOptions() {
    struct Case {
        const char* name;
        int type;
        bool database;
        int model;
        QList<QByteArray> expected;
    };
    const QList<Case> cases = {
        {"hello",
         0,
         true,
         -1,  // the database box picks the large model
         {"MODEL\t= L\n", "DBLIB\t= ", "OUTDIR\t= obj\n", "PROGRAM\t= hello.exe\n"}},
        {"tool", 1, false, 1, {"MODEL\t= M\n", "OUTDIR\t= obj\n", "LIBRARY\t= tool.lib\n"}},
    };
    for (const Case& c : cases) {
        UiTestWorld env;
        ProjectTestIde ide(env);
        const QString folder = folderOfTest(env, c.name);
        QVERIFY(writeTextFile(folder + "/main.c", "int main(void) { return 0; }\n"));
        ide.mainWindow->output().append("left from before");

        QString caption;
        bool databaseUsable = false;
        ide.whenDialogShown([&] {
            caption = ide.dialog->windowTitle();
            databaseUsable =
                ide.dialog->databaseBox->isVisible() && ide.dialog->databaseBox->isEnabled();
            // The settings' default model (large) is preselected.
            QCOMPARE(ide.dialog->memoryModelList->currentIndex(), 3);
            ide.dialog->projectName->setText(c.name);
            ide.dialog->targetTypeList->setCurrentIndex(c.type);
            ide.dialog->projectName->setText(QString(c.name) + "x");
            ide.dialog->projectName->setText(c.name);  // derives the type's extension
            ide.dialog->projectFile->setText(folder + "/Makefile");
            if (c.database) ide.dialog->databaseBox->click();
            if (c.model >= 0) ide.dialog->memoryModelList->setCurrentIndex(c.model);
            ide.dialog->okButton->click();
        });
        ide.mainWindow->createNewProject();

        QCOMPARE(caption, QString("新規プロジェクトの作成"));
        QVERIFY(databaseUsable);
        QVERIFY(!ide.dialog->databaseBox->isEnabled() && !ide.dialog->databaseBox->isChecked());
        QVERIFY(ide.ui.messages.empty());

        // The project names the makefile that depmill wrote in its folder.
        const std::string makefile = fromQt(folder + "/makefile");
        QCOMPARE(ide.mainWindow->project().projectFile, makefile);
        QCOMPARE(ide.title(), "Vantor - " + QString(c.name) + " (" + folder + ")");
        QCOMPARE(ide.mainWindow->settings().history[0].projectName, std::string(c.name));
        QCOMPARE(ide.mainWindow->settings().history[0].projectFile, makefile);

        const QStringList lines = ide.outputLines();
        QVERIFY2(lines.size() >= 3, qPrintable(lines.join('|')));
        QCOMPARE(lines.first(), QString());
        QCOMPARE(lines[1], QString("Start Depmill."));
        QCOMPARE(lines.last(), QString("End Depmill."));

        const QByteArray written = readTextFile(folder + "/makefile");
        for (const QByteArray& line : c.expected) {
            QVERIFY2(written.contains(line), written.constData());
        }
    }
}

void ProjectDialogTest::cancelledNewProjectLeavesNoProject() {
    UiTestWorld env;
    const QString folder = folderOfTest(env, "old");
    writeProgramMakefile(folder + "/makefile", "old.exe");
    ProjectTestIde ide(env);
    ide.ui.fileAnswers = {fromQt(folder + "/makefile")};
    ide.mainWindow->chooseAndOpenProject();
    QCOMPARE(ide.title(), "Vantor - old (" + folder + ")");

    ide.whenDialogShown([&] {
        ide.dialog->projectName->setText("never");
        ide.dialog->cancelButton->click();
    });
    ide.mainWindow->createNewProject();
    QVERIFY(ide.mainWindow->project().projectName.empty());
    QVERIFY(ide.mainWindow->project().projectFolder.empty());
    QCOMPARE(ide.title(), QString("Vantor"));
    QVERIFY(ide.outputLines().isEmpty());
    QVERIFY(!QFile::exists(folder + "/makefile.old"));

    // Without a project the build commands say so.
    ide.mainWindow->checkDependencies();
    QCOMPARE(ide.ui.messages.size(), std::size_t(1));
    QCOMPARE(ide.ui.messages[0].text, std::string("プロジェクトの指定がありません。"));
}

void ProjectDialogTest::openProjectReadsTheChosenMakefile() {
    UiTestWorld env;
    const QString folder = folderOfTest(env, "hello");
    writeProgramMakefile(folder + "/makefile", "hello.exe");
    ProjectTestIde ide(env);

    ide.mainWindow->chooseAndOpenProject();  // cancelled
    QCOMPARE(ide.title(), QString("Vantor"));

    const std::string makefile = fromQt(folder + "/makefile");
    ide.ui.fileAnswers = {makefile};
    ide.mainWindow->chooseAndOpenProject();
    const Project& project = ide.mainWindow->project();
    QCOMPARE(project.projectName, std::string("hello"));
    QCOMPARE(project.targetName, std::string("hello.exe"));
    QCOMPARE(int(project.memoryModel), 1);
    QCOMPARE(project.projectFolder, fromQt(folder));
    QCOMPARE(ide.title(), "Vantor - hello (" + folder + ")");
    QCOMPARE(ide.mainWindow->settings().history[0].projectFile, makefile);
    QCOMPARE(QDir::currentPath(), QDir(folder).canonicalPath());
    QCOMPARE(ide.dialog->projectFile->text(), toQt(makefile));
    QCOMPARE(ide.ui.fileRequests[1].initialFolder, std::string());  // ProjectFolder unset
}

void ProjectDialogTest::openingAMakefileWithoutDefinitionsLeavesNoProject() {
    UiTestWorld env;
    const QString good = folderOfTest(env, "good");
    const QString bare = folderOfTest(env, "bare");
    writeProgramMakefile(good + "/makefile", "good.exe");
    QVERIFY(writeTextFile(bare + "/makefile", "# rules only\nall:\n\techo all\n"));
    ProjectTestIde ide(env);
    ide.ui.fileAnswers = {fromQt(good + "/makefile"), fromQt(bare + "/makefile")};
    ide.mainWindow->chooseAndOpenProject();
    const ProjectHistory head = ide.mainWindow->settings().history[0];

    ide.mainWindow->chooseAndOpenProject();
    QVERIFY(ide.mainWindow->project().projectName.empty());
    QVERIFY(ide.mainWindow->project().projectFolder.empty());
    QCOMPARE(ide.title(), "Vantor - good (" + good + ")");
    QCOMPARE(ide.mainWindow->settings().history[0].projectFile, head.projectFile);
    QVERIFY(ide.mainWindow->settings().history[1].projectFile.empty());
    QCOMPARE(QDir::currentPath(), QDir(bare).canonicalPath());
    QVERIFY(ide.ui.messages.empty());
}

void ProjectDialogTest::projectOptionsChangeOnlyTypeAndModel() {
    UiTestWorld env;
    const QString folder = folderOfTest(env, "hello");
    writeProgramMakefile(folder + "/makefile", "hello.exe");
    ProjectTestIde ide(env);
    ide.ui.fileAnswers = {fromQt(folder + "/makefile")};
    ide.mainWindow->chooseAndOpenProject();
    const QByteArray makefileBefore = readTextFile(folder + "/makefile");

    // Cancelled: nothing changes.
    ide.whenDialogShown([&] {
        ide.dialog->targetTypeList->setCurrentIndex(1);
        ide.dialog->cancelButton->click();
    });
    ide.mainWindow->editProjectOptions();
    QCOMPARE(int(ide.mainWindow->project().targetType), 0);

    QString caption;
    bool fixedFields = false;
    bool databaseHidden = false;
    ide.whenDialogShown([&] {
        caption = ide.dialog->windowTitle();
        fixedFields = !ide.dialog->projectName->isEnabled() &&
                      !ide.dialog->projectFile->isEnabled() &&
                      !ide.dialog->browseButton->isEnabled();
        databaseHidden = !ide.dialog->databaseBox->isVisible();
        ide.dialog->targetTypeList->setCurrentIndex(1);
        ide.dialog->memoryModelList->setCurrentIndex(2);
        ide.dialog->okButton->click();
    });
    ide.mainWindow->editProjectOptions();
    QCOMPARE(caption, QString("プロジェクトの設定"));
    QVERIFY(fixedFields);
    QVERIFY(databaseHidden);

    const Project& project = ide.mainWindow->project();
    QCOMPARE(int(project.targetType), 1);
    QCOMPARE(int(project.memoryModel), 2);
    QCOMPARE(project.projectName, std::string("hello"));
    QCOMPARE(project.targetName, std::string("hello.exe"));
    QCOMPARE(ide.title(), "Vantor - hello (" + folder + ")");
    QCOMPARE(readTextFile(folder + "/makefile"), makefileBefore);
}

void ProjectDialogTest::projectOptionsWithoutAProjectDescribeANewOne() {
    UiTestWorld env;
    ProjectTestIde ide(env);
    QString caption;
    bool nameUsable = false;
    ide.whenDialogShown([&] {
        caption = ide.dialog->windowTitle();
        nameUsable = ide.dialog->projectName->isEnabled() && ide.dialog->databaseBox->isVisible();
        ide.dialog->cancelButton->click();
    });
    ide.mainWindow->editProjectOptions();
    QCOMPARE(caption, QString("新規プロジェクトの作成"));
    QVERIFY(nameUsable);
    QCOMPARE(ide.title(), QString("Vantor"));
}

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    ProjectDialogTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "projectdialog_test.moc"
