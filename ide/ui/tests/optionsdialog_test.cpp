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

void attach(MainWindow& mainWindow, OptionsDialog& dialog) {
    MainWindowDialogs dialogs;
    dialogs.optionsDialog = &dialog;
    mainWindow.setDialogs(dialogs);
}

}  // namespace

void OptionsDialogTest::showsTheLoadedSettings() {
    UiTestWorld world;
    world.storeString(settingsschema::kBaseKey, settingsschema::kBuildCommand, "make -k");
    world.storeString(settingsschema::kHelpKey, settingsschema::kQuarry, "/opt/q.hlp");
    world.storeInteger(settingsschema::kBaseKey, settingsschema::kFoldOutput, 0);
    world.storeInteger(settingsschema::kBaseKey, settingsschema::kOutputEncoding, 2);
    auto mainWindow = world.startMainWindow();
    OptionsDialog dialog(*mainWindow);

    QCOMPARE(dialog.buildCommandEdit->text(), QString("make -k"));
    QCOMPARE(dialog.rebuildCommandEdit->text(), QString(settingsschema::kDefRebuildCommand));
    QCOMPARE(dialog.depmillCommandEdit->text(), QString("depmill -t1"));
    QCOMPARE(dialog.objectFolderEdit->text(), QString("obj"));
    QCOMPARE(dialog.quarryHelpFileEdit->text(), QString("/opt/q.hlp"));
    QCOMPARE(dialog.errorHelpFileEdit->text(), QString(settingsschema::kDefCerror));
    QVERIFY(!dialog.wrapOutputBox->isChecked());
    QVERIFY(dialog.statusBarBox->isChecked());
    QVERIFY(!dialog.debugModeBox->isChecked());
    QCOMPARE(dialog.memoryModelList->currentText(), QString("L - Large model"));
    QCOMPARE(dialog.outputEncodingList->count(), 3);
    QCOMPARE(dialog.outputEncodingList->itemText(0), QString("自動"));
    QCOMPARE(dialog.outputEncodingList->itemText(1), QString("UTF-8"));
    QCOMPARE(dialog.outputEncodingList->currentText(), QString("シフトJIS"));
    QCOMPARE(dialog.outputEncodingList->parentWidget(), dialog.settingsPage);

    // Filled once: later changes of the settings do not reach it.
    mainWindow->settings().buildCommand = "changed";
    openOptions(*mainWindow, dialog, [&] { dialog.cancelButton->click(); });
    QCOMPARE(dialog.buildCommandEdit->text(), QString("make -k"));
}

void OptionsDialogTest::okStoresAppliesAndSavesEveryValue() {
    UiTestWorld world;
    auto mainWindow = world.startMainWindow();
    OptionsDialog dialog(*mainWindow);
    attach(*mainWindow, dialog);
    const QString folder = QString::fromStdString(world.path("start"));

    openOptions(*mainWindow, dialog, [&] {
        dialog.startFolderEdit->setText(folder);
        dialog.statusBarBox->setChecked(false);
        dialog.wrapOutputBox->setChecked(false);
        dialog.memoryModelList->setCurrentIndex(2);
        dialog.outputEncodingList->setCurrentIndex(1);
        dialog.objectFolderEdit->setText("  out ");  // stored as typed
        dialog.buildCommandEdit->setText("make all");
        dialog.rebuildCommandEdit->setText("make clean all");
        dialog.depmillCommandEdit->setText("");  // no check: empty is stored too
        dialog.editorCommandEdit->setText("vi +%n %s");
        dialog.ideHelpFileEdit->setText("base.hlp");
        dialog.languageHelpFileEdit->setText("clang.hlp");
        dialog.errorHelpFileEdit->setText("エラー.hlp");
        dialog.buildToolHelpFileEdit->setText("tool.hlp");
        dialog.quarryHelpFileEdit->setText("quarry.hlp");
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
        dialog.statusBarBox->setChecked(true);
        dialog.wrapOutputBox->setChecked(true);
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
    OptionsDialog dialog(*mainWindow);
    dialog.confirm();
    const QString text = settingsText();
    for (const char* name : {"BuildCommand", "RebuildCommand", "DepmillCommand", "EditCommand",
                             "ProjectFolder", "FoldOutput", "useStatusBar", "FontName", "FontSize",
                             "defaultMemorymodel", "defaultObjectFolder", "OutputEncoding",
                             "Helpfile", "Clang", "Cerror", "Buildtool", "Quarry"}) {
        QVERIFY2(text.contains(QString("\"%1\"=").arg(name)), name);
    }
    QVERIFY(!text.contains("\"Window\"="));
    QCOMPARE(reload().buildCommand, std::string(settingsschema::kDefBuildCommand));
}

void OptionsDialogTest::cancelKeepsTheTypedTextsButNoSetting() {
    UiTestWorld world;
    world.storeString(settingsschema::kBaseKey, settingsschema::kBuildCommand, "make old");
    auto mainWindow = world.startMainWindow();
    OptionsDialog dialog(*mainWindow);
    attach(*mainWindow, dialog);
    const QString before = settingsText();

    openOptions(*mainWindow, dialog, [&] {
        dialog.buildCommandEdit->setText("make new");
        dialog.statusBarBox->setChecked(false);
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
        shown = dialog.buildCommandEdit->text();
        dialog.okButton->click();
    });
    QCOMPARE(shown, QString("make new"));
    QCOMPARE(reload().buildCommand, std::string("make new"));
    QVERIFY(!reload().useStatusBar);
}

void OptionsDialogTest::debugSwitchIsLiveAndNeverStored() {
    UiTestWorld world;
    auto mainWindow = world.startMainWindow();
    OptionsDialog dialog(*mainWindow);
    attach(*mainWindow, dialog);
    QVERIFY(!mainWindow->debugMode());

    openOptions(*mainWindow, dialog, [&] {
        dialog.debugModeBox->setChecked(true);
        dialog.cancelButton->click();
    });
    QVERIFY(mainWindow->debugMode());  // on at once, Cancel notwithstanding

    openOptions(*mainWindow, dialog, [&] { dialog.okButton->click(); });
    QVERIFY(mainWindow->debugMode());
    QVERIFY(!settingsText().contains("debug", Qt::CaseInsensitive));

    // The next start begins with it off (the dialogs die with their window).
    auto again = world.startMainWindow();
    OptionsDialog fresh(*again);
    QVERIFY(!fresh.debugModeBox->isChecked());
}

void OptionsDialogTest::storedModelOutsideTheListSelectsNothing() {
    UiTestWorld world;
    world.storeInteger(settingsschema::kBaseKey, settingsschema::kDefaultMemorymodel, 7);
    auto mainWindow = world.startMainWindow();
    OptionsDialog dialog(*mainWindow);
    QCOMPARE(dialog.memoryModelList->currentIndex(), -1);
    dialog.confirm();
    QCOMPARE(reload().defaultMemoryModel, -1);

    world.storeInteger(settingsschema::kBaseKey, settingsschema::kDefaultMemorymodel, -3);
    auto negative = world.startMainWindow();
    OptionsDialog other(*negative);
    QCOMPARE(other.memoryModelList->currentIndex(), -1);
}

void OptionsDialogTest::storedEncodingOutsideTheListShowsAutomatic() {
    UiTestWorld world;
    world.storeInteger(settingsschema::kBaseKey, settingsschema::kOutputEncoding, 9);
    auto mainWindow = world.startMainWindow();
    OptionsDialog dialog(*mainWindow);
    QCOMPARE(dialog.outputEncodingList->currentText(), QString("自動"));
    dialog.confirm();
    QCOMPARE(reload().outputEncoding, 0);
}

QTEST_MAIN(OptionsDialogTest)
#include "optionsdialog_test.moc"
