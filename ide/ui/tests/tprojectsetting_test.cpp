// The project dialog and the New, Open and Project options commands, with
// the real depmill writing the new project's makefile.
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include "projecttestide.h"
#include "regist.h"

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

class ProjectSettingTest : public QObject {
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
              ui, [this]() -> TPROJ& { return project; }, "/start/folder") {
        dialog.setNewProjectMode();
        dialog.startsetting();
    }
    FakeUiServices ui;
    TPROJ project;
    Tprojectsetting dialog;
};

void ProjectSettingTest::targetNameFollowsTheNameButNotTheType() {
    UiTestWorld env;
    StandaloneDialog d;
    d.dialog.projectname->setText("hello");
    QCOMPARE(d.dialog.targetname->text(), QString("hello.exe"));

    d.dialog.projecttargettype->setCurrentIndex(1);
    QCOMPARE(d.dialog.targetname->text(), QString("hello.exe"));

    d.dialog.projectfilename->setText("/work/hello/makefile");
    d.dialog.OKbuttonClick();
    QCOMPARE(d.dialog.result(), int(QDialog::Accepted));
    QVERIFY(d.ui.messages.empty());
    QCOMPARE(d.project.projectname, std::string("hello"));
    QCOMPARE(d.project.targetname, std::string("hello.exe"));
    QCOMPARE(int(d.project.targettype), 1);
    QCOMPARE(d.project.projectfilename, std::string("/work/hello/makefile"));
    QCOMPARE(d.project.projectfolder, std::string("/work/hello"));
    QCOMPARE(int(d.project.database), 0);

    // Editing the name again derives the library's extension.
    d.dialog.projectname->setText("tool");
    QCOMPARE(d.dialog.targetname->text(), QString("tool.lib"));
}

void ProjectSettingTest::incompleteSettingsKeepTheDialogOpenAndTheRecordUnchanged() {
    UiTestWorld env;
    StandaloneDialog d;
    d.project.projectname = "before";
    d.dialog.projectname->setText("hello");
    d.dialog.projectfilename->setText("/work/hello/makefile");
    d.dialog.projectname->clear();
    QVERIFY(d.dialog.targetname->text().isEmpty());

    d.dialog.OKbuttonClick();
    QCOMPARE(d.ui.messages.size(), std::size_t(1));
    QCOMPARE(d.ui.messages[0].text, std::string(kIncomplete));
    QCOMPARE(d.ui.messages[0].caption, std::string("Vantor"));
    QCOMPARE(d.ui.messages[0].icon, MessageIcon::Stop);
    QVERIFY(d.dialog.result() != QDialog::Accepted);
    QCOMPARE(d.project.projectname, std::string("before"));

    // A missing file name or a list without a selection is just as incomplete.
    d.dialog.projectname->setText("hello");
    d.dialog.projectfilename->clear();
    d.dialog.OKbuttonClick();
    d.dialog.projectfilename->setText("/work/hello/makefile");
    d.dialog.targetmemorymodel->setCurrentIndex(-1);
    d.dialog.OKbuttonClick();
    QCOMPARE(d.ui.messages.size(), std::size_t(3));
    QCOMPARE(d.project.projectname, std::string("before"));
}

void ProjectSettingTest::databaseBoxSelectsTheLargeModelWhichMayBeChangedAgain() {
    UiTestWorld env;
    StandaloneDialog d;
    d.dialog.targetmemorymodel->setCurrentIndex(0);
    d.dialog.optDatabase->click();
    QVERIFY(d.dialog.optDatabase->isChecked());
    QCOMPARE(d.dialog.targetmemorymodel->currentText(), QString("L - Large model"));

    d.dialog.targetmemorymodel->setCurrentIndex(1);
    d.dialog.optDatabase->click();  // unchecking changes no model
    QCOMPARE(d.dialog.targetmemorymodel->currentIndex(), 1);
    d.dialog.optDatabase->click();
    d.dialog.targetmemorymodel->setCurrentIndex(4);

    d.dialog.projectname->setText("dbapp");
    d.dialog.projectfilename->setText("/work/dbapp/makefile");
    d.dialog.OKbuttonClick();
    QCOMPARE(int(d.project.memorymodel), 4);
    QCOMPARE(int(d.project.database), 1);
}

void ProjectSettingTest::browsingFillsTheFileMovesTheFolderAndUnchecksTheDatabaseBox() {
    UiTestWorld env;
    StandaloneDialog d;
    const QString folder = folderOfTest(env, "browse");
    const std::string chosen = fromQt(folder + "/proj.mak");

    d.ui.fileAnswers = {std::nullopt, chosen};
    d.dialog.optDatabase->click();
    d.dialog.selectfileClick();  // cancelled: nothing changes
    QVERIFY(d.dialog.optDatabase->isChecked());
    QVERIFY(d.dialog.projectfilename->text().isEmpty());

    d.dialog.selectfileClick();
    QCOMPARE(d.dialog.projectfilename->text(), toQt(chosen));
    QVERIFY(!d.dialog.optDatabase->isChecked());
    QCOMPARE(QDir::currentPath(), QDir(folder).canonicalPath());

    QCOMPARE(d.ui.fileRequests.size(), std::size_t(2));
    QCOMPARE(d.ui.fileRequests[0].title, std::string("プロジェクトファイルの指定"));
    QCOMPARE(d.ui.fileRequests[0].initialFolder, std::string("/start/folder"));
    QVERIFY(d.ui.fileRequests[0].filter.find("Makefile") != std::string::npos);
    QVERIFY(d.ui.fileRequests[0].filter.find("*.mak") != std::string::npos);

    // The chooser reopens where the last file was chosen.
    d.dialog.selectfileClick();
    QCOMPARE(d.ui.fileRequests[2].initialFolder, fromQt(folder));
}

void ProjectSettingTest::newProjectRunsDepmillWithTheProjectsOptions() {
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
        ide.vantor->output().append("left from before");

        QString caption;
        bool databaseUsable = false;
        ide.whenDialogShown([&] {
            caption = ide.dialog->windowTitle();
            databaseUsable =
                ide.dialog->optDatabase->isVisible() && ide.dialog->optDatabase->isEnabled();
            // The settings' default model (large) is preselected.
            QCOMPARE(ide.dialog->targetmemorymodel->currentIndex(), 3);
            ide.dialog->projectname->setText(c.name);
            ide.dialog->projecttargettype->setCurrentIndex(c.type);
            ide.dialog->projectname->setText(QString(c.name) + "x");
            ide.dialog->projectname->setText(c.name);  // derives the type's extension
            ide.dialog->projectfilename->setText(folder + "/Makefile");
            if (c.database) ide.dialog->optDatabase->click();
            if (c.model >= 0) ide.dialog->targetmemorymodel->setCurrentIndex(c.model);
            ide.dialog->OKbutton->click();
        });
        ide.vantor->NewProjectClick();

        QCOMPARE(caption, QString("新規プロジェクトの作成"));
        QVERIFY(databaseUsable);
        QVERIFY(!ide.dialog->optDatabase->isEnabled() && !ide.dialog->optDatabase->isChecked());
        QVERIFY(ide.ui.messages.empty());

        // The project names the makefile that depmill wrote in its folder.
        const std::string makefile = fromQt(folder + "/makefile");
        QCOMPARE(ide.vantor->project().projectfilename, makefile);
        QCOMPARE(ide.title(), "Vantor - " + QString(c.name) + " (" + folder + ")");
        QCOMPARE(ide.vantor->settings().history[0].Project, std::string(c.name));
        QCOMPARE(ide.vantor->settings().history[0].ProjectFile, makefile);

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

void ProjectSettingTest::cancelledNewProjectLeavesNoProject() {
    UiTestWorld env;
    const QString folder = folderOfTest(env, "old");
    writeProgramMakefile(folder + "/makefile", "old.exe");
    ProjectTestIde ide(env);
    ide.ui.fileAnswers = {fromQt(folder + "/makefile")};
    ide.vantor->OpenProjectClick();
    QCOMPARE(ide.title(), "Vantor - old (" + folder + ")");

    ide.whenDialogShown([&] {
        ide.dialog->projectname->setText("never");
        ide.dialog->CANCELbutton->click();
    });
    ide.vantor->NewProjectClick();
    QVERIFY(ide.vantor->project().projectname.empty());
    QVERIFY(ide.vantor->project().projectfolder.empty());
    QCOMPARE(ide.title(), QString("Vantor"));
    QVERIFY(ide.outputLines().isEmpty());
    QVERIFY(!QFile::exists(folder + "/makefile.old"));

    // Without a project the build commands say so.
    ide.vantor->CheckDependClick();
    QCOMPARE(ide.ui.messages.size(), std::size_t(1));
    QCOMPARE(ide.ui.messages[0].text, std::string("プロジェクトの指定がありません。"));
}

void ProjectSettingTest::openProjectReadsTheChosenMakefile() {
    UiTestWorld env;
    const QString folder = folderOfTest(env, "hello");
    writeProgramMakefile(folder + "/makefile", "hello.exe");
    ProjectTestIde ide(env);

    ide.vantor->OpenProjectClick();  // cancelled
    QCOMPARE(ide.title(), QString("Vantor"));

    const std::string makefile = fromQt(folder + "/makefile");
    ide.ui.fileAnswers = {makefile};
    ide.vantor->OpenProjectClick();
    const TPROJ& project = ide.vantor->project();
    QCOMPARE(project.projectname, std::string("hello"));
    QCOMPARE(project.targetname, std::string("hello.exe"));
    QCOMPARE(int(project.memorymodel), 1);
    QCOMPARE(project.projectfolder, fromQt(folder));
    QCOMPARE(ide.title(), "Vantor - hello (" + folder + ")");
    QCOMPARE(ide.vantor->settings().history[0].ProjectFile, makefile);
    QCOMPARE(QDir::currentPath(), QDir(folder).canonicalPath());
    QCOMPARE(ide.dialog->projectfilename->text(), toQt(makefile));
    QCOMPARE(ide.ui.fileRequests[1].initialFolder, std::string());  // ProjectFolder unset
}

void ProjectSettingTest::openingAMakefileWithoutDefinitionsLeavesNoProject() {
    UiTestWorld env;
    const QString good = folderOfTest(env, "good");
    const QString bare = folderOfTest(env, "bare");
    writeProgramMakefile(good + "/makefile", "good.exe");
    QVERIFY(writeTextFile(bare + "/makefile", "# rules only\nall:\n\techo all\n"));
    ProjectTestIde ide(env);
    ide.ui.fileAnswers = {fromQt(good + "/makefile"), fromQt(bare + "/makefile")};
    ide.vantor->OpenProjectClick();
    const ProjectHistory head = ide.vantor->settings().history[0];

    ide.vantor->OpenProjectClick();
    QVERIFY(ide.vantor->project().projectname.empty());
    QVERIFY(ide.vantor->project().projectfolder.empty());
    QCOMPARE(ide.title(), "Vantor - good (" + good + ")");
    QCOMPARE(ide.vantor->settings().history[0].ProjectFile, head.ProjectFile);
    QVERIFY(ide.vantor->settings().history[1].ProjectFile.empty());
    QCOMPARE(QDir::currentPath(), QDir(bare).canonicalPath());
    QVERIFY(ide.ui.messages.empty());
}

void ProjectSettingTest::projectOptionsChangeOnlyTypeAndModel() {
    UiTestWorld env;
    const QString folder = folderOfTest(env, "hello");
    writeProgramMakefile(folder + "/makefile", "hello.exe");
    ProjectTestIde ide(env);
    ide.ui.fileAnswers = {fromQt(folder + "/makefile")};
    ide.vantor->OpenProjectClick();
    const QByteArray makefileBefore = readTextFile(folder + "/makefile");

    // Cancelled: nothing changes.
    ide.whenDialogShown([&] {
        ide.dialog->projecttargettype->setCurrentIndex(1);
        ide.dialog->CANCELbutton->click();
    });
    ide.vantor->ProjectOptionClick();
    QCOMPARE(int(ide.vantor->project().targettype), 0);

    QString caption;
    bool fixedFields = false;
    bool databaseHidden = false;
    ide.whenDialogShown([&] {
        caption = ide.dialog->windowTitle();
        fixedFields = !ide.dialog->projectname->isEnabled() &&
                      !ide.dialog->projectfilename->isEnabled() &&
                      !ide.dialog->selectfile->isEnabled();
        databaseHidden = !ide.dialog->optDatabase->isVisible();
        ide.dialog->projecttargettype->setCurrentIndex(1);
        ide.dialog->targetmemorymodel->setCurrentIndex(2);
        ide.dialog->OKbutton->click();
    });
    ide.vantor->ProjectOptionClick();
    QCOMPARE(caption, QString("プロジェクトの設定"));
    QVERIFY(fixedFields);
    QVERIFY(databaseHidden);

    const TPROJ& project = ide.vantor->project();
    QCOMPARE(int(project.targettype), 1);
    QCOMPARE(int(project.memorymodel), 2);
    QCOMPARE(project.projectname, std::string("hello"));
    QCOMPARE(project.targetname, std::string("hello.exe"));
    QCOMPARE(ide.title(), "Vantor - hello (" + folder + ")");
    QCOMPARE(readTextFile(folder + "/makefile"), makefileBefore);
}

void ProjectSettingTest::projectOptionsWithoutAProjectDescribeANewOne() {
    UiTestWorld env;
    ProjectTestIde ide(env);
    QString caption;
    bool nameUsable = false;
    ide.whenDialogShown([&] {
        caption = ide.dialog->windowTitle();
        nameUsable = ide.dialog->projectname->isEnabled() && ide.dialog->optDatabase->isVisible();
        ide.dialog->CANCELbutton->click();
    });
    ide.vantor->ProjectOptionClick();
    QCOMPARE(caption, QString("新規プロジェクトの作成"));
    QVERIFY(nameUsable);
    QCOMPARE(ide.title(), QString("Vantor"));
}

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    ProjectSettingTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tprojectsetting_test.moc"
