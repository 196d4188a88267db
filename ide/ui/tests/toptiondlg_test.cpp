// The environment options dialog on a real settings file: what it shows,
// what OK stores, applies and saves, what Cancel keeps, and the debug switch.
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>

#include "outputwindow.h"
#include "regist.h"
#include "toptiondlg.h"
#include "uitestsupport.h"

class TOptionDlgTest : public QObject {
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
TREGIST reload() {
    const auto store = openUserSettingsStore();
    TREGIST reg;
    LoadSettings(reg, *store);
    return reg;
}

// Opens the dialog through the Options menu; answer runs once it is up.
void openOptions(TVantor& vantor, TOptionDlg& dialog, const std::function<void()>& answer) {
    QTimer::singleShot(0, &dialog, [&dialog, answer] {
        answer();
        if (dialog.isVisible()) dialog.reject();  // a failed check must not hang the test
    });
    vantor.IDEOptionClick();
}

void attach(TVantor& vantor, TOptionDlg& dialog) {
    VantorDialogs dialogs;
    dialogs.OptionDlg = &dialog;
    vantor.setDialogs(dialogs);
}

}  // namespace

void TOptionDlgTest::showsTheLoadedSettings() {
    UiTestWorld world;
    world.storeString(regschema::kBaseKey, regschema::kBuildCommand, "make -k");
    world.storeString(regschema::kHelpKey, regschema::kQuarry, "/opt/q.hlp");
    world.storeInteger(regschema::kBaseKey, regschema::kFoldOutput, 0);
    world.storeInteger(regschema::kBaseKey, regschema::kOutputEncoding, 2);
    auto vantor = world.startVantor();
    TOptionDlg dialog(*vantor);

    QCOMPARE(dialog.cmdBuild->text(), QString("make -k"));
    QCOMPARE(dialog.cmdRebuild->text(), QString(regschema::kDefRebuildCommand));
    QCOMPARE(dialog.cmdDepmill->text(), QString("depmill -t1"));
    QCOMPARE(dialog.ObjectFolder->text(), QString("obj"));
    QCOMPARE(dialog.HelpfileQuarry->text(), QString("/opt/q.hlp"));
    QCOMPARE(dialog.HelpfileCerror->text(), QString(regschema::kDefCerror));
    QVERIFY(!dialog.IDEoutputFold->isChecked());
    QVERIFY(dialog.IDEuseStatusBar->isChecked());
    QVERIFY(!dialog.IDEdebugmode->isChecked());
    QCOMPARE(dialog.targetmemorymodel->currentText(), QString("L - Large model"));
    QCOMPARE(dialog.IDEoutputEncoding->count(), 3);
    QCOMPARE(dialog.IDEoutputEncoding->itemText(0), QString("自動"));
    QCOMPARE(dialog.IDEoutputEncoding->itemText(1), QString("UTF-8"));
    QCOMPARE(dialog.IDEoutputEncoding->currentText(), QString("シフトJIS"));
    QCOMPARE(dialog.IDEoutputEncoding->parentWidget(), dialog.TabSheet1);

    // Filled once: later changes of the settings do not reach it.
    vantor->settings().BuildCommand = "changed";
    openOptions(*vantor, dialog, [&] { dialog.CancelBtn->click(); });
    QCOMPARE(dialog.cmdBuild->text(), QString("make -k"));
}

void TOptionDlgTest::okStoresAppliesAndSavesEveryValue() {
    UiTestWorld world;
    auto vantor = world.startVantor();
    TOptionDlg dialog(*vantor);
    attach(*vantor, dialog);
    const QString folder = QString::fromStdString(world.path("start"));

    openOptions(*vantor, dialog, [&] {
        dialog.defaultProjectfolder->setText(folder);
        dialog.IDEuseStatusBar->setChecked(false);
        dialog.IDEoutputFold->setChecked(false);
        dialog.targetmemorymodel->setCurrentIndex(2);
        dialog.IDEoutputEncoding->setCurrentIndex(1);
        dialog.ObjectFolder->setText("  out ");  // stored as typed
        dialog.cmdBuild->setText("make all");
        dialog.cmdRebuild->setText("make clean all");
        dialog.cmdDepmill->setText("");  // no check: empty is stored too
        dialog.cmdEdit->setText("vi +%n %s");
        dialog.HelpfileBase->setText("base.hlp");
        dialog.HelpfileClang->setText("clang.hlp");
        dialog.HelpfileCerror->setText("エラー.hlp");
        dialog.HelpfileBuildtool->setText("tool.hlp");
        dialog.HelpfileQuarry->setText("quarry.hlp");
        QTest::keyClick(&dialog, Qt::Key_Return);  // OK is the default button
    });

    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    // Applied to the main window at once.
    QVERIFY(vantor->StatusBar->isHidden());
    QCOMPARE(vantor->output().lineWrapMode(), QPlainTextEdit::NoWrap);
    QCOMPARE(vantor->output().horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);

    const TREGIST stored = reload();
    QCOMPARE(QString::fromStdString(stored.ProjectFolder), folder);
    QVERIFY(!stored.useStatusBar);
    QVERIFY(!stored.FoldOutput);
    QCOMPARE(stored.defaultMemorymodel, 2);
    QCOMPARE(stored.OutputEncoding, 1);
    QCOMPARE(stored.defaultObjectFolder, std::string("  out "));
    QCOMPARE(stored.BuildCommand, std::string("make all"));
    QCOMPARE(stored.RebuildCommand, std::string("make clean all"));
    QCOMPARE(stored.DepmillCommand, std::string());
    QCOMPARE(stored.EditCommand, std::string("vi +%n %s"));
    QCOMPARE(stored.Helpfile, std::string("base.hlp"));
    QCOMPARE(stored.Clang, std::string("clang.hlp"));
    QCOMPARE(stored.Cerror, std::string("エラー.hlp"));
    QCOMPARE(stored.Buildtool, std::string("tool.hlp"));
    QCOMPARE(stored.Quarry, std::string("quarry.hlp"));
    QCOMPARE(stored.FontName, vantor->settings().FontName);  // the font goes along unchanged
    QCOMPARE(stored.FontSize, vantor->settings().FontSize);

    // Turned back on, wrapping and the status bar return at once.
    openOptions(*vantor, dialog, [&] {
        dialog.IDEuseStatusBar->setChecked(true);
        dialog.IDEoutputFold->setChecked(true);
        dialog.OKBtn->click();
    });
    QVERIFY(!vantor->StatusBar->isHidden());
    QCOMPARE(vantor->output().lineWrapMode(), QPlainTextEdit::WidgetWidth);
    QCOMPARE(vantor->output().horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
}

void TOptionDlgTest::okWithoutChangesStillWritesTheOptions() {
    UiTestWorld world;
    auto vantor = world.startVantor();  // defaults only: nothing stored yet but the keys
    QVERIFY(!settingsText().contains("BuildCommand"));
    TOptionDlg dialog(*vantor);
    dialog.OKBtnClick();
    const QString text = settingsText();
    for (const char* name : {"BuildCommand", "RebuildCommand", "DepmillCommand", "EditCommand",
                             "ProjectFolder", "FoldOutput", "useStatusBar", "FontName", "FontSize",
                             "defaultMemorymodel", "defaultObjectFolder", "OutputEncoding",
                             "Helpfile", "Clang", "Cerror", "Buildtool", "Quarry"}) {
        QVERIFY2(text.contains(QString("\"%1\"=").arg(name)), name);
    }
    QVERIFY(!text.contains("\"Window\"="));
    QCOMPARE(reload().BuildCommand, std::string(regschema::kDefBuildCommand));
}

void TOptionDlgTest::cancelKeepsTheTypedTextsButNoSetting() {
    UiTestWorld world;
    world.storeString(regschema::kBaseKey, regschema::kBuildCommand, "make old");
    auto vantor = world.startVantor();
    TOptionDlg dialog(*vantor);
    attach(*vantor, dialog);
    const QString before = settingsText();

    openOptions(*vantor, dialog, [&] {
        dialog.cmdBuild->setText("make new");
        dialog.IDEuseStatusBar->setChecked(false);
        QTest::keyClick(&dialog, Qt::Key_Escape);
    });
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    QCOMPARE(vantor->settings().BuildCommand, std::string("make old"));
    QVERIFY(!vantor->StatusBar->isHidden());
    QVERIFY(vantor->settings().useStatusBar);
    QCOMPARE(settingsText(), before);

    // The next opening shows the typed text, and its OK stores it.
    QString shown;
    openOptions(*vantor, dialog, [&] {
        shown = dialog.cmdBuild->text();
        dialog.OKBtn->click();
    });
    QCOMPARE(shown, QString("make new"));
    QCOMPARE(reload().BuildCommand, std::string("make new"));
    QVERIFY(!reload().useStatusBar);
}

void TOptionDlgTest::debugSwitchIsLiveAndNeverStored() {
    UiTestWorld world;
    auto vantor = world.startVantor();
    TOptionDlg dialog(*vantor);
    attach(*vantor, dialog);
    QVERIFY(!vantor->debugMode());

    openOptions(*vantor, dialog, [&] {
        dialog.IDEdebugmode->setChecked(true);
        dialog.CancelBtn->click();
    });
    QVERIFY(vantor->debugMode());  // on at once, Cancel notwithstanding

    openOptions(*vantor, dialog, [&] { dialog.OKBtn->click(); });
    QVERIFY(vantor->debugMode());
    QVERIFY(!settingsText().contains("debug", Qt::CaseInsensitive));

    // The next start begins with it off (the dialogs die with their window).
    auto again = world.startVantor();
    TOptionDlg fresh(*again);
    QVERIFY(!fresh.IDEdebugmode->isChecked());
}

void TOptionDlgTest::storedModelOutsideTheListSelectsNothing() {
    UiTestWorld world;
    world.storeInteger(regschema::kBaseKey, regschema::kDefaultMemorymodel, 7);
    auto vantor = world.startVantor();
    TOptionDlg dialog(*vantor);
    QCOMPARE(dialog.targetmemorymodel->currentIndex(), -1);
    dialog.OKBtnClick();
    QCOMPARE(reload().defaultMemorymodel, -1);

    world.storeInteger(regschema::kBaseKey, regschema::kDefaultMemorymodel, -3);
    auto negative = world.startVantor();
    TOptionDlg other(*negative);
    QCOMPARE(other.targetmemorymodel->currentIndex(), -1);
}

void TOptionDlgTest::storedEncodingOutsideTheListShowsAutomatic() {
    UiTestWorld world;
    world.storeInteger(regschema::kBaseKey, regschema::kOutputEncoding, 9);
    auto vantor = world.startVantor();
    TOptionDlg dialog(*vantor);
    QCOMPARE(dialog.IDEoutputEncoding->currentText(), QString("自動"));
    dialog.OKBtnClick();
    QCOMPARE(reload().OutputEncoding, 0);
}

QTEST_MAIN(TOptionDlgTest)
#include "toptiondlg_test.moc"
