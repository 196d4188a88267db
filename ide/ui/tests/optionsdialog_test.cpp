// The environment options dialog on a real settings file: what it shows,
// what OK stores, applies and saves, what Cancel keeps, and the debug switch.
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>

#include "optionsdialog.h"
#include "outputwindow.h"
#include "settings.h"
#include "uitestsupport.h"

class OptionsDialogTest : public QObject {
    Q_OBJECT

  private slots:
    void showsTheLoadedSettings();
    void okStoresAppliesAndSavesEveryValue();
    void okWithoutChangesStillWritesTheOptions();
    void cancelKeepsTheTypedTextsButNoSetting();
    void debugSwitchIsLiveAndNeverStored();
    void storedModelOutsideTheListSelectsNothing();
    void storedEncodingOutsideTheListShowsAutomatic();
    void tabGoesThroughThePagesThenOkAndCancel();
};

namespace {

// The settings file's text, as UTF-8.
QString settingsText() {
    return QString::fromStdString(
        readFile(qEnvironmentVariable("XDG_CONFIG_HOME").toStdString() + "/vantor/settings.reg"));
}

// The settings as a fresh start reads them from the file.
Settings reload() {
    const auto store = CreateUserSettingsStore();
    Settings reg;
    LoadSettings(reg, *store);
    return reg;
}

// Opens the dialog through the Options menu; answer runs once it is up.
void openOptions(MainWindow& mainWindow, OptionsDialog& dialog,
                 const std::function<void()>& answer) {
    QTimer::singleShot(0, &dialog, [&dialog, answer] {
        answer();
        if (dialog.isVisible()) dialog.reject();  // a failed check must not hang the test
    });
    mainWindow.editOptions();
}

// The dialog's controls, found by their names.
QLineEdit* edit(const OptionsDialog& dialog, const char* name) {
    return dialog.findChild<QLineEdit*>(name);
}

QCheckBox* box(const OptionsDialog& dialog, const char* name) {
    return dialog.findChild<QCheckBox*>(name);
}

QComboBox* list(const OptionsDialog& dialog, const char* name) {
    return dialog.findChild<QComboBox*>(name);
}

void attach(MainWindow& mainWindow, OptionsDialog& dialog) {
    MainWindowDialogs dialogs;
    dialogs.optionsDialog = &dialog;
    mainWindow.setDialogs(dialogs);
}

// OK through the Options menu, as the user gives it.
void confirm(MainWindow& mainWindow, OptionsDialog& dialog) {
    attach(mainWindow, dialog);
    openOptions(mainWindow, dialog, [&dialog] { dialog.okButton->click(); });
}

}  // namespace

void OptionsDialogTest::showsTheLoadedSettings() {
    UiTestWorld world;
    world.storeString(settingsschema::kBaseKey, "BuildCommand", "make -k");
    world.storeString(settingsschema::kHelpKey, "Quarry", "/opt/q.hlp");
    world.storeInteger(settingsschema::kBaseKey, "FoldOutput", 0);
    world.storeInteger(settingsschema::kBaseKey, "OutputEncoding", 2);
    auto mainWindow = world.startMainWindow();
    OptionsDialog dialog(mainWindow.get(), mainWindow->settings(), mainWindow->codePage());

    QCOMPARE(edit(dialog, "buildCommandEdit")->text(), QString("make -k"));
    QCOMPARE(edit(dialog, "rebuildCommandEdit")->text(),
             QString::fromStdString(DefaultSettings().rebuildCommand));
    QCOMPARE(edit(dialog, "depmillCommandEdit")->text(), QString("depmill -t1"));
    QCOMPARE(edit(dialog, "objectFolderEdit")->text(), QString("obj"));
    QCOMPARE(edit(dialog, "quarryHelpFileEdit")->text(), QString("/opt/q.hlp"));
    QCOMPARE(edit(dialog, "errorHelpFileEdit")->text(),
             QString::fromStdString(DefaultSettings().errorHelpFile));
    QVERIFY(!box(dialog, "wrapOutputBox")->isChecked());
    QVERIFY(box(dialog, "statusBarBox")->isChecked());
    QVERIFY(!box(dialog, "debugModeBox")->isChecked());
    QCOMPARE(list(dialog, "memoryModelList")->currentText(), QString("L - Large model"));
    QCOMPARE(list(dialog, "outputEncodingList")->count(), 3);
    QCOMPARE(list(dialog, "outputEncodingList")->itemText(0), QString("自動"));
    QCOMPARE(list(dialog, "outputEncodingList")->itemText(1), QString("UTF-8"));
    QCOMPARE(list(dialog, "outputEncodingList")->currentText(), QString("シフトJIS"));
    QCOMPARE(list(dialog, "outputEncodingList")->parentWidget(),
             dialog.findChild<QWidget*>("settingsPage"));

    // Filled once: later changes of the settings do not reach it.
    mainWindow->settings().buildCommand = "changed";
    openOptions(*mainWindow, dialog, [&] { dialog.cancelButton->click(); });
    QCOMPARE(edit(dialog, "buildCommandEdit")->text(), QString("make -k"));
}

void OptionsDialogTest::okStoresAppliesAndSavesEveryValue() {
    UiTestWorld world;
    auto mainWindow = world.startMainWindow();
    OptionsDialog dialog(mainWindow.get(), mainWindow->settings(), mainWindow->codePage());
    attach(*mainWindow, dialog);
    const QString folder = QString::fromStdString(world.path("start"));

    openOptions(*mainWindow, dialog, [&] {
        edit(dialog, "startFolderEdit")->setText(folder);
        box(dialog, "statusBarBox")->setChecked(false);
        box(dialog, "wrapOutputBox")->setChecked(false);
        list(dialog, "memoryModelList")->setCurrentIndex(2);
        list(dialog, "outputEncodingList")->setCurrentIndex(1);
        edit(dialog, "objectFolderEdit")->setText("  out ");  // stored as typed
        edit(dialog, "buildCommandEdit")->setText("make all");
        edit(dialog, "rebuildCommandEdit")->setText("make clean all");
        edit(dialog, "depmillCommandEdit")->setText("");  // no check: empty is stored too
        edit(dialog, "editorCommandEdit")->setText("vi +%n %s");
        edit(dialog, "ideHelpFileEdit")->setText("base.hlp");
        edit(dialog, "languageHelpFileEdit")->setText("clang.hlp");
        edit(dialog, "errorHelpFileEdit")->setText("エラー.hlp");
        edit(dialog, "buildToolHelpFileEdit")->setText("tool.hlp");
        edit(dialog, "quarryHelpFileEdit")->setText("quarry.hlp");
        QTest::keyClick(&dialog, Qt::Key_Return);  // OK is the default button
    });

    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    // Applied to the main window at once.
    QVERIFY(mainWindow->statusLine->isHidden());
    QVERIFY(!mainWindow->output().wrapping());
    QCOMPARE(mainWindow->output().horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);

    const Settings stored = reload();
    QCOMPARE(QString::fromStdString(stored.projectFolder), folder);
    QVERIFY(!stored.useStatusBar);
    QVERIFY(!stored.foldOutput);
    QCOMPARE(stored.defaultMemoryModel, 2);
    QCOMPARE(stored.outputEncoding, 1);
    QCOMPARE(stored.defaultObjectFolder, std::string("  out "));
    QCOMPARE(stored.buildCommand, std::string("make all"));
    QCOMPARE(stored.rebuildCommand, std::string("make clean all"));
    QCOMPARE(stored.depmillCommand, std::string());
    QCOMPARE(stored.editorCommand, std::string("vi +%n %s"));
    QCOMPARE(stored.ideHelpFile, std::string("base.hlp"));
    QCOMPARE(stored.languageHelpFile, std::string("clang.hlp"));
    QCOMPARE(stored.errorHelpFile, std::string("エラー.hlp"));
    QCOMPARE(stored.buildToolHelpFile, std::string("tool.hlp"));
    QCOMPARE(stored.quarryHelpFile, std::string("quarry.hlp"));
    QCOMPARE(stored.fontName, mainWindow->settings().fontName);  // the font goes along unchanged
    QCOMPARE(stored.fontSize, mainWindow->settings().fontSize);

    // Turned back on, wrapping and the status bar return at once.
    openOptions(*mainWindow, dialog, [&] {
        box(dialog, "statusBarBox")->setChecked(true);
        box(dialog, "wrapOutputBox")->setChecked(true);
        dialog.okButton->click();
    });
    QVERIFY(!mainWindow->statusLine->isHidden());
    QVERIFY(mainWindow->output().wrapping());
    QCOMPARE(mainWindow->output().horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
}

void OptionsDialogTest::okWithoutChangesStillWritesTheOptions() {
    UiTestWorld world;
    auto mainWindow = world.startMainWindow();  // defaults only: nothing stored yet but the keys
    QVERIFY(!settingsText().contains("BuildCommand"));
    OptionsDialog dialog(mainWindow.get(), mainWindow->settings(), mainWindow->codePage());
    confirm(*mainWindow, dialog);
    const QString text = settingsText();
    for (const char* name : {"BuildCommand", "RebuildCommand", "DepmillCommand", "EditCommand",
                             "ProjectFolder", "FoldOutput", "useStatusBar", "FontName", "FontSize",
                             "defaultMemorymodel", "defaultObjectFolder", "OutputEncoding",
                             "Helpfile", "Clang", "Cerror", "Buildtool", "Quarry"}) {
        QVERIFY2(text.contains(QString("\"%1\"=").arg(name)), name);
    }
    QVERIFY(!text.contains("\"Window\"="));
    QCOMPARE(reload().buildCommand, DefaultSettings().buildCommand);
}

void OptionsDialogTest::cancelKeepsTheTypedTextsButNoSetting() {
    UiTestWorld world;
    world.storeString(settingsschema::kBaseKey, "BuildCommand", "make old");
    auto mainWindow = world.startMainWindow();
    OptionsDialog dialog(mainWindow.get(), mainWindow->settings(), mainWindow->codePage());
    attach(*mainWindow, dialog);
    const QString before = settingsText();

    openOptions(*mainWindow, dialog, [&] {
        edit(dialog, "buildCommandEdit")->setText("make new");
        box(dialog, "statusBarBox")->setChecked(false);
        QTest::keyClick(&dialog, Qt::Key_Escape);
    });
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    QCOMPARE(mainWindow->settings().buildCommand, std::string("make old"));
    QVERIFY(!mainWindow->statusLine->isHidden());
    QVERIFY(mainWindow->settings().useStatusBar);
    QCOMPARE(settingsText(), before);

    // The next opening shows the typed text, and its OK stores it.
    QString shown;
    openOptions(*mainWindow, dialog, [&] {
        shown = edit(dialog, "buildCommandEdit")->text();
        dialog.okButton->click();
    });
    QCOMPARE(shown, QString("make new"));
    QCOMPARE(reload().buildCommand, std::string("make new"));
    QVERIFY(!reload().useStatusBar);
}

void OptionsDialogTest::debugSwitchIsLiveAndNeverStored() {
    UiTestWorld world;
    auto mainWindow = world.startMainWindow();
    OptionsDialog dialog(mainWindow.get(), mainWindow->settings(), mainWindow->codePage());
    attach(*mainWindow, dialog);
    QVERIFY(!mainWindow->debugMode());

    openOptions(*mainWindow, dialog, [&] {
        box(dialog, "debugModeBox")->setChecked(true);
        dialog.cancelButton->click();
    });
    QVERIFY(mainWindow->debugMode());  // on at once, Cancel notwithstanding

    openOptions(*mainWindow, dialog, [&] { dialog.okButton->click(); });
    QVERIFY(mainWindow->debugMode());
    QVERIFY(!settingsText().contains("debug", Qt::CaseInsensitive));

    // The next start begins with it off (the dialogs die with their window).
    auto again = world.startMainWindow();
    OptionsDialog fresh(again.get(), again->settings(), again->codePage());
    QVERIFY(!box(fresh, "debugModeBox")->isChecked());
}

void OptionsDialogTest::storedModelOutsideTheListSelectsNothing() {
    UiTestWorld world;
    world.storeInteger(settingsschema::kBaseKey, "defaultMemorymodel", 7);
    auto mainWindow = world.startMainWindow();
    OptionsDialog dialog(mainWindow.get(), mainWindow->settings(), mainWindow->codePage());
    QCOMPARE(list(dialog, "memoryModelList")->currentIndex(), -1);
    confirm(*mainWindow, dialog);
    QCOMPARE(reload().defaultMemoryModel, -1);

    world.storeInteger(settingsschema::kBaseKey, "defaultMemorymodel", -3);
    auto negative = world.startMainWindow();
    OptionsDialog other(negative.get(), negative->settings(), negative->codePage());
    QCOMPARE(list(other, "memoryModelList")->currentIndex(), -1);
}

void OptionsDialogTest::storedEncodingOutsideTheListShowsAutomatic() {
    UiTestWorld world;
    world.storeInteger(settingsschema::kBaseKey, "OutputEncoding", 9);
    auto mainWindow = world.startMainWindow();
    OptionsDialog dialog(mainWindow.get(), mainWindow->settings(), mainWindow->codePage());
    QCOMPARE(list(dialog, "outputEncodingList")->currentText(), QString("自動"));
    confirm(*mainWindow, dialog);
    QCOMPARE(reload().outputEncoding, 0);
}

void OptionsDialogTest::tabGoesThroughThePagesThenOkAndCancel() {
    UiTestWorld world;
    auto mainWindow = world.startMainWindow();
    OptionsDialog dialog(mainWindow.get(), mainWindow->settings(), mainWindow->codePage());
    const QList<QWidget*> expected = {edit(dialog, "startFolderEdit"),
                                      box(dialog, "statusBarBox"),
                                      box(dialog, "wrapOutputBox"),
                                      box(dialog, "debugModeBox"),
                                      list(dialog, "outputEncodingList"),
                                      list(dialog, "memoryModelList"),
                                      edit(dialog, "objectFolderEdit"),
                                      edit(dialog, "buildCommandEdit"),
                                      edit(dialog, "rebuildCommandEdit"),
                                      edit(dialog, "depmillCommandEdit"),
                                      edit(dialog, "editorCommandEdit"),
                                      edit(dialog, "ideHelpFileEdit"),
                                      edit(dialog, "languageHelpFileEdit"),
                                      edit(dialog, "errorHelpFileEdit"),
                                      edit(dialog, "quarryHelpFileEdit"),
                                      edit(dialog, "buildToolHelpFileEdit"),
                                      dialog.okButton,
                                      dialog.cancelButton};
    // The Quarry file before the build tool's, although it stands below it.
    QList<QWidget*> reached = {edit(dialog, "startFolderEdit")};
    for (QWidget* next = edit(dialog, "startFolderEdit")->nextInFocusChain();
         next != edit(dialog, "startFolderEdit") && reached.size() < expected.size();
         next = next->nextInFocusChain()) {
        if (next->focusPolicy() & Qt::TabFocus) reached.append(next);
    }
    QCOMPARE(reached, expected);
}

QTEST_MAIN(OptionsDialogTest)
#include "optionsdialog_test.moc"
