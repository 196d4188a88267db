// The IDE under a real Shift-JIS locale, made for this test with localedef:
// its own words show as written, data keeps its code page, and a project in
// a folder with a Japanese name opens and builds.
#include <QCheckBox>
#include <QComboBox>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTabWidget>
#include <filesystem>

#include "optionsdialog.h"
#include "outputwindow.h"
#include "project.h"
#include "qtext.h"
#include "tool.h"
#include "tooltable.h"
#include "uitestsupport.h"

class ShiftJisLocaleTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase();
    void cleanupTestCase();
    void programWordsShowAsWritten();
    void wordsAndDataOfOneTextEachKeepTheirCodePage();
    void wordsPutIntoToolRecordsAreInTheCodePage();
    void projectInAJapaneseFolderOpensAndBuilds();

  private:
    QTemporaryDir locales_;
};

namespace {

// "表" in Shift-JIS: its second byte is the code of "\".
const std::string kHyouShiftJis = "\x95\x5c";

}  // namespace

void ShiftJisLocaleTest::initTestCase() {
    const QString localedef = QStandardPaths::findExecutable("localedef");
    if (localedef.isEmpty()) QSKIP("localedef is missing: no Shift-JIS locale can be made");
    QProcess make;
    make.start(localedef, {"-i", "ja_JP", "-f", "SHIFT_JIS", locales_.filePath("ja_JP.SJIS")});
    make.waitForFinished(60000);
    // localedef warns that Shift-JIS is no ASCII superset, and exits with 1.
    if (!QFileInfo(locales_.filePath("ja_JP.SJIS")).isDir())
        QSKIP(qPrintable("localedef made no Shift-JIS locale: " + make.readAllStandardError()));
    qputenv("LOCPATH", locales_.path().toLocal8Bit());
    if (std::setlocale(LC_ALL, "ja_JP.SJIS") == nullptr)
        QSKIP("the Shift-JIS locale cannot be set");
    QCOMPARE(common::activeCodePage(), common::CodePage::ShiftJis);
}

void ShiftJisLocaleTest::cleanupTestCase() {
    std::setlocale(LC_ALL, "C.UTF-8");
}

void ShiftJisLocaleTest::programWordsShowAsWritten() {
    UiTestWorld world;
    auto mainWindow = world.startMainWindow();
    OptionsDialog options(mainWindow.get(), mainWindow->settings(), mainWindow->codePage());
    QCOMPARE(options.windowTitle(), QString::fromUtf8("Vantorの環境設定"));
    const auto* pages = options.findChild<QTabWidget*>();
    QVERIFY(pages != nullptr);
    QCOMPARE(pages->tabText(0), QString::fromUtf8("設定"));
    QCOMPARE(options.findChild<QCheckBox*>("statusBarBox")->text(),
             QString::fromUtf8("ステータスバーを表示する"));
    QCOMPARE(options.findChild<QPushButton*>("cancelButton")->text(),
             QString::fromUtf8("キャンセル"));
    QCOMPARE(options.findChild<QComboBox*>("outputEncodingList")->itemText(2),
             QString::fromUtf8("シフトJIS"));
}

void ShiftJisLocaleTest::wordsAndDataOfOneTextEachKeepTheirCodePage() {
    // The chooser's title of a tool named "表", as the click asks for it.
    FakeUiServices ui;
    Tool tool;
    tool.name = kHyouShiftJis;
    std::string arguments = "$(Select)";
    QVERIFY(!ExpandToolArguments(arguments, Project{}, tool, ui));
    QCOMPARE(toQt(ui.shownTexts.back()), QString::fromUtf8("ツール 表 で使うファイルを選択"));
    QCOMPARE(toQt(UiText("ヘルプファイル \"").data(kHyouShiftJis + ".hlp").words("\"")),
             QString::fromUtf8("ヘルプファイル \"表.hlp\""));
}

void ShiftJisLocaleTest::wordsPutIntoToolRecordsAreInTheCodePage() {
    std::string command;
    QVERIFY(CompleteToolEntry(kSeparatorTitle, command));
    QCOMPARE(toQt(command), QString::fromUtf8("区切り線"));
    QCOMPARE(toQt(kNewToolName.in(common::activeCodePage())), QString::fromUtf8("新規"));
}

void ShiftJisLocaleTest::projectInAJapaneseFolderOpensAndBuilds() {
    UiTestWorld world;
    // The folder as Qt's file chooser names it here, made by a real shell.
    const std::string folder = world.path("日本語のプロジェクト");
    QCOMPARE(QProcess::execute("/bin/sh", {"-c",
                                           "mkdir \"$1\" && printf 'PROGRAM\\t= hello\\n\\nall:\\n"
                                           "\\t@echo built\\n' > \"$1/makefile\"",
                                           "sh", QString::fromStdString(folder)}),
             0);
    world.storeRecentProject("hello", folder + "/makefile");
    world.storeString(settingsschema::kBaseKey, "BuildCommand", "cmd /cmake");
    auto mainWindow = world.startMainWindow();
    QCOMPARE(std::filesystem::current_path().string(), folder);
    mainWindow->buildProject();
    QVERIFY2(mainWindow->output().text().split('\n').contains("built"),
             qPrintable(mainWindow->output().text()));
    QVERIFY2(mainWindow->statusLine->currentMessage().startsWith(
                 QString::fromUtf8("エラー 0 件、警告 0 件")),
             qPrintable(mainWindow->statusLine->currentMessage()));
}

QTEST_MAIN(ShiftJisLocaleTest)
#include "shiftjis_locale_test.moc"
