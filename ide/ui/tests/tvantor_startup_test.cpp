// The main window from start to close: menus, title, the settings it
// applies and stores, the Edit, font and Help commands.
#include <QAction>
#include <QGuiApplication>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>
#include <QStatusTipEvent>

#include "editorchoice.h"
#include "mainwindowrules.h"
#include "outputwindow.h"
#include "proj.h"
#include "regist.h"
#include "uitestsupport.h"

class TVantorStartupTest : public QObject {
    Q_OBJECT

  private slots:
    void firstStartHasNoProjectNoHistoryNoTools();
    void menusCarryTheirCaptionsHintsAndShortcuts();
    void menuHintShowsInTheStatusBar();
    void startReopensTheMostRecentProject();
    void unreadableLastProjectLeavesNoProject();
    void storedToolsShowTheToolsMenu();
    void displaySettingsAreApplied();
    void windowPlacementIsWrittenAtCloseAndRestored();
    void placementOffTheScreenComesBackOntoIt();
    void shortPlacementSetsTheMissingValuesToZero();
    void closeQuitsTheHelpFilesThenPlaysCloseAndWaits();
    void dataTypeErrorIsReportedAndStartUpGoesOn();
    void copyTakesTheSelectionOrEverything();
    void editMenuEnablesCopyOnlyWithASelection();
    void fontChoiceIsStoredAtOnce();
    void cancelledFontChoiceChangesNothing();
    void helpMenuOpensTheConfiguredFiles();
};

namespace {

// The settings as a later start of the IDE reads them.
TREGIST storedSettings(UiTestWorld& world) {
    TREGIST stored;
    LoadSettings(stored, *world.store);
    return stored;
}

// A makefile whose head block names the program "hello".
std::string writeHelloProject(UiTestWorld& world, const std::string& folder) {
    return world.writeFile(folder + "/makefile",
                           "MODEL\t= l\nOUTDIR\t= obj\nPROGRAM\t= $(OUTDIR)\\hello.exe\n\nall:\n");
}

}  // namespace

void TVantorStartupTest::firstStartHasNoProjectNoHistoryNoTools() {
    UiTestWorld world;
    auto vantor = world.startVantor();
    QCOMPARE(vantor->windowTitle(), QString("Vantor"));
    QVERIFY(!vantor->Reopen->menuAction()->isVisible());
    QVERIFY(!vantor->ToolsMenu->menuAction()->isVisible());
    QCOMPARE(vantor->output().text(), QString());
    QVERIFY(world.ui.messages.empty());
    QVERIFY(vantor->toolsLoaded());
    QCOMPARE(world.sounds.plays.size(), std::size_t(1));
    QCOMPARE(world.sounds.plays[0].event, std::string("Open"));
    QCOMPARE(world.sounds.plays[0].wait, SoundWait::No);
    QCOMPARE(world.sounds.plays[0].fallback, SoundFallback::None);
    QCOMPARE(vantor->settings().DepmillCommand, std::string("depmill -t1"));

    // Opening the File menu with an empty history keeps Reopen hidden.
    vantor->FileMenuClick();
    QVERIFY(!vantor->Reopen->menuAction()->isVisible());
}

void TVantorStartupTest::menusCarryTheirCaptionsHintsAndShortcuts() {
    UiTestWorld world;
    auto vantor = world.startVantor();
    struct Expected {
        const char* name;
        const char* caption;
        const char* hint;
        const char* shortcut;
    };
    const Expected items[] = {
        {"NewProject", "新規作成(&N)...", "新規プロジェクトを作ります", "Ctrl+N"},
        {"OpenProject", "開く(&O)...", "既存のプロジェクトを開きます", "Ctrl+O"},
        {"Reopen", "開き直す(&R)", "以前にオープンしたプロジェクトを再度オープンします", ""},
        {"ExitProgram", "終了(&X)", "IDEを終了します", "Alt+X"},
        {"Copy1", "コピー(&C)", "出力ウインドウの選択領域をクリップボードにコピーします。",
         "Ctrl+C"},
        {"SelectAll", "すべて選択(&A)", "出力ウインドウをすべて選択します。", "Ctrl+A"},
        {"clear", "クリア(&D)", "出力ウインドウをクリアします", ""},
        {"NextMessage", "次のメッセージ(&N)", "次のエラーまたは警告の行を選び、エディタで開きます",
         "F4"},
        {"PreviousMessage", "前のメッセージ(&V)",
         "前のエラーまたは警告の行を選び、エディタで開きます", "Shift+F4"},
        {"BuildProject", "ビルド(&B)", "プロジェクトをビルドします", "Shift+F8"},
        {"RebuildProject", "リビルド(&R)", "プロジェクトを再構築します", "Alt+F8"},
        {"CheckDepend", "依存関係の再チェック(&A)", "ファイルの依存関係を再チェックします", "F5"},
        {"ToolsMenu", "ツール(&T)", "ツールの起動", ""},
        {"HelpBuildtool", "ビルドツールのヘルプ(&B)", "コンパイル／リンクオプションのヘルプ", ""},
        {"HelpQuarry", "Quarryのヘルプ(R)", "Quarry.libのヘルプ", ""},
        {"About1", "Vantorについて(&A)...", "Vantor について", ""},
        {"jumpEdit", "エディタ(&E)", "ソースファイルの表示", ""},
        {"jumpHelp", "ヘルプ(&H)", "エラーヘルプの表示", "F1"},
    };
    for (const Expected& expected : items) {
        const auto* action = vantor->findChild<QAction*>(expected.name);
        QVERIFY2(action, expected.name);
        QCOMPARE(action->text(), QString(expected.caption));
        QCOMPARE(action->statusTip(), QString(expected.hint));
        QCOMPARE(action->shortcut(), QKeySequence(expected.shortcut));
    }
    // Menu bar order.
    QStringList titles;
    for (const QAction* menu : vantor->menuBar()->actions()) titles << menu->text();
    QCOMPARE(titles, QStringList({"ファイル(&F)", "編集(&E)", "プロジェクト(&P)", "ツール(&T)",
                                  "オプション(&O)", "ヘルプ(&H)"}));
    // Reopen sits between Open and the separator above Exit.
    const QList<QAction*> file = vantor->FileMenu->actions();
    QCOMPARE(file.indexOf(vantor->Reopen->menuAction()), file.indexOf(vantor->OpenProject) + 1);
    QVERIFY(file[file.indexOf(vantor->ExitProgram) - 1]->isSeparator());
    // The message items end the Edit menu, after a separator.
    const QList<QAction*> edit = vantor->EditMenu->actions();
    QVERIFY(edit[edit.size() - 3]->isSeparator());
    QCOMPARE(edit.mid(edit.size() - 2),
             QList<QAction*>({vantor->NextMessage, vantor->PreviousMessage}));
}

void TVantorStartupTest::menuHintShowsInTheStatusBar() {
    UiTestWorld world;
    auto vantor = world.startVantor();
    vantor->BuildProject->showStatusText(vantor->menuBar());
    QCOMPARE(vantor->statusText(), QString("プロジェクトをビルドします"));
}

void TVantorStartupTest::startReopensTheMostRecentProject() {
    UiTestWorld world;
    const std::string makefile = writeHelloProject(world, "hello");
    world.storeString(regschema::kHistoryKey, "Project0", "hello");
    world.storeString(regschema::kHistoryKey, "ProjectFile0", makefile);

    auto vantor = world.startVantor();
    const QString folder = QString::fromStdString(world.path("hello"));
    QCOMPARE(vantor->windowTitle(), "Vantor - hello (" + folder + ")");
    QCOMPARE(QDir::currentPath(), folder);
    QCOMPARE(vantor->project().memorymodel, std::uint8_t(3));
    // Start-up does not record the history again: the entry stays alone.
    QCOMPARE(vantor->settings().history[1].Project, std::string());
}

void TVantorStartupTest::unreadableLastProjectLeavesNoProject() {
    UiTestWorld world;
    world.storeString(regschema::kHistoryKey, "Project0", "gone");
    world.storeString(regschema::kHistoryKey, "ProjectFile0", world.path("gone/makefile"));
    auto vantor = world.startVantor();
    QCOMPARE(vantor->windowTitle(), QString("Vantor"));
    QVERIFY(vantor->project().projectname.empty());
    // The reader told the user why; the start went on to its end.
    QCOMPARE(world.ui.messages.size(), std::size_t(1));
    QCOMPARE(world.sounds.plays.back().event, std::string("Open"));
}

void TVantorStartupTest::storedToolsShowTheToolsMenu() {
    UiTestWorld world;
    tooloptions tools;
    tools.tools[0] = {"Lint & check", "lint", "", "", false, false};
    tools.tools[1] = {"-", "区切り線", "", "", false, false};
    tools.tools[2] = {"List", "ls", "", "", true, false};
    tools.count = 3;
    SaveTools(tools, *world.store);

    auto vantor = world.startVantor();
    QVERIFY(vantor->ToolsMenu->menuAction()->isVisible());
    const QList<QAction*> items = vantor->ToolsMenu->actions();
    QCOMPARE(items.size(), 3);
    QCOMPARE(items[0]->text(), QString("Lint && check"));  // shown with a literal "&"
    QVERIFY(items[1]->isSeparator());
    QCOMPARE(items[2]->text(), QString("List"));
}

void TVantorStartupTest::displaySettingsAreApplied() {
    UiTestWorld world;
    world.storeInteger(regschema::kBaseKey, "FoldOutput", 0);
    world.storeInteger(regschema::kBaseKey, "useStatusBar", 0);
    world.storeString(regschema::kBaseKey, "FontName", "DejaVu Sans Mono");
    world.storeInteger(regschema::kBaseKey, "FontSize", 14);
    auto vantor = world.startVantor();
    vantor->show();
    QCOMPARE(vantor->output1->lineWrapMode(), QPlainTextEdit::NoWrap);
    QCOMPARE(vantor->output1->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    QVERIFY(!vantor->StatusBar->isVisible());
    QCOMPARE(vantor->output1->font().family(), QString("DejaVu Sans Mono"));
    QCOMPARE(vantor->output1->font().pointSize(), 14);

    // Defaults: wrapping with a vertical scroll bar only, status bar shown.
    UiTestWorld defaults;
    auto plain = defaults.startVantor();
    plain->show();
    QCOMPARE(plain->output1->lineWrapMode(), QPlainTextEdit::WidgetWidth);
    QCOMPARE(plain->output1->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    QVERIFY(plain->StatusBar->isVisible());
}

void TVantorStartupTest::windowPlacementIsWrittenAtCloseAndRestored() {
    UiTestWorld world;
    const QRect chosen(120, 80, 500, 300);
    {
        auto vantor = world.startVantor();
        vantor->show();
        vantor->setGeometry(chosen);
        QVERIFY(vantor->close());
        QCOMPARE(QString::fromStdString(storedSettings(world).Window), QString("120,80,500,300"));
    }
    // Close writes the whole history, free entries as empty values.
    nTRegistry reg(*world.store);
    QVERIFY(reg.OpenKey(regschema::kHistoryKey, false));
    QVERIFY(reg.ValueExists("ProjectFile19"));
    QVERIFY(reg.ValueExists("Project19"));
    reg.CloseKey();

    // Start and close again and again: the window stays where it was.
    for (int round = 0; round < 3; ++round) {
        auto again = world.startVantor();
        again->show();
        QCOMPARE(again->geometry(), chosen);
        QVERIFY(again->close());
    }
    QCOMPARE(QString::fromStdString(storedSettings(world).Window), QString("120,80,500,300"));
}

void TVantorStartupTest::placementOffTheScreenComesBackOntoIt() {
    UiTestWorld world;
    world.storeString(regschema::kBaseKey, "Window", "-3000,-2000,100000,400");
    auto vantor = world.startVantor();
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    QVERIFY(screen.contains(vantor->geometry()));
    QCOMPARE(vantor->geometry().width(), screen.width());
    QCOMPARE(vantor->geometry().height(), 400);
}

void TVantorStartupTest::shortPlacementSetsTheMissingValuesToZero() {
    UiTestWorld world;
    world.storeString(regschema::kBaseKey, "Window", "30,x40");
    auto vantor = world.startVantor();
    QCOMPARE(vantor->pos(), QPoint(30, 0));
    // Width and height 0 leave the smallest window the system allows.
    QVERIFY(vantor->width() <= vantor->minimumSizeHint().width() + 1);
}

void TVantorStartupTest::closeQuitsTheHelpFilesThenPlaysCloseAndWaits() {
    UiTestWorld world;
    world.storeString(regschema::kHelpKey, "Clang", "lang.hlp");
    auto vantor = world.startVantor();
    vantor->ExitProgramClick();
    std::vector<std::string> quit;
    for (const auto& request : world.help.requests) {
        QCOMPARE(request.command, FakeHelpViewer::Command::Quit);
        quit.push_back(request.helpFile);
    }
    QCOMPARE(quit, (std::vector<std::string>{regschema::kDefHelpfile, "lang.hlp",
                                             regschema::kDefCerror, regschema::kDefBuildtool,
                                             regschema::kDefQuarry}));
    QCOMPARE(world.sounds.plays.back().event, std::string("Close"));
    QCOMPARE(world.sounds.plays.back().wait, SoundWait::UntilEnd);
    QCOMPARE(world.sounds.plays.back().fallback, SoundFallback::None);
}

void TVantorStartupTest::dataTypeErrorIsReportedAndStartUpGoesOn() {
    UiTestWorld world;
    const std::string makefile = writeHelloProject(world, "hello");
    world.storeString(regschema::kHistoryKey, "Project0", "hello");
    world.storeString(regschema::kHistoryKey, "ProjectFile0", makefile);
    world.storeString(regschema::kBaseKey, "FontName", "Courier");
    world.storeInteger(regschema::kBaseKey, "EditCommand", 7);
    tooloptions tools;
    tools.tools[0] = {"List", "ls", "", "", true, false};
    tools.count = 1;
    SaveTools(tools, *world.store);

    auto vantor = world.startVantor();
    QCOMPARE(world.ui.messages.size(), std::size_t(1));
    QCOMPARE(world.ui.messages[0].caption, std::string("Vantor"));
    QCOMPARE(world.ui.messages[0].text, std::string("'EditCommand' のﾃﾞｰﾀ型が不正です"));
    // The bad value takes its default; everything else is read and applied.
    QCOMPARE(vantor->settings().EditCommand, DefaultEditCommand());
    QCOMPARE(vantor->settings().FontName, std::string("Courier"));
    QCOMPARE(vantor->project().projectname, std::string("hello"));
    QCOMPARE(vantor->tools().count, std::size_t(1));
    QVERIFY(vantor->toolsLoaded());
    QVERIFY(vantor->ToolsMenu->menuAction()->isVisible());
    QCOMPARE(world.sounds.plays.front().event, std::string("Open"));

    // Closing keeps the history and the options that were read.
    QVERIFY(vantor->close());
    const TREGIST stored = storedSettings(world);
    QCOMPARE(stored.history[0].ProjectFile, makefile);
    QCOMPARE(stored.FontName, std::string("Courier"));
}

void TVantorStartupTest::copyTakesTheSelectionOrEverything() {
    UiTestWorld world;
    auto vantor = world.startVantor();
    OutputWindow& output = vantor->output();
    output.append("first line");
    output.append("second line");

    vantor->Copy1Click();
    QCOMPARE(world.ui.clipboard, std::string("first line\nsecond line"));

    output.select(6, 4);
    vantor->Copy1Click();
    QCOMPARE(world.ui.clipboard, std::string("line"));

    output.select(6, 10);  // across the line break
    vantor->Copy1Click();
    QCOMPARE(world.ui.clipboard, std::string("line\nsecon"));

    vantor->copyallClick();
    QCOMPARE(world.ui.clipboard, std::string("first line\nsecond line"));
    QCOMPARE(output.selectionLength(), output.text().size());

    vantor->clearClick();
    vantor->Copy1Click();
    QCOMPARE(world.ui.clipboard, std::string());
}

void TVantorStartupTest::editMenuEnablesCopyOnlyWithASelection() {
    UiTestWorld world;
    auto vantor = world.startVantor();
    vantor->output().append("text");
    vantor->EditMenuClick();
    QVERIFY(!vantor->Copy1->isEnabled());
    vantor->SelectAllClick();
    QVERIFY(!vantor->Copy1->isEnabled());  // recomputed only when the menu opens
    vantor->EditMenuClick();
    QVERIFY(vantor->Copy1->isEnabled());
}

void TVantorStartupTest::fontChoiceIsStoredAtOnce() {
    UiTestWorld world;
    auto vantor = world.startVantor();
    world.ui.fontAnswer = FontChoice{"DejaVu Sans Mono", 13};
    vantor->ChangeFontClick();
    QCOMPARE(world.ui.fontRequests.size(), std::size_t(1));
    QCOMPARE(world.ui.fontRequests[0].name, std::string("FixedSys"));
    QCOMPARE(world.ui.fontRequests[0].size, 11);
    QCOMPARE(vantor->output1->font().family(), QString("DejaVu Sans Mono"));
    QCOMPARE(vantor->output1->font().pointSize(), 13);
    // Stored before any close: a crash now would not lose it.
    const TREGIST stored = storedSettings(world);
    QCOMPARE(stored.FontName, std::string("DejaVu Sans Mono"));
    QCOMPARE(stored.FontSize, 13);
}

void TVantorStartupTest::cancelledFontChoiceChangesNothing() {
    UiTestWorld world;
    auto vantor = world.startVantor();
    const QFont before = vantor->output1->font();
    vantor->ChangeFontClick();  // no answer scripted: cancelled
    QCOMPARE(vantor->output1->font(), before);
    nTRegistry reg(*world.store);
    QVERIFY(reg.OpenKey(regschema::kBaseKey, false));
    QVERIFY(!reg.ValueExists("FontName"));
}

void TVantorStartupTest::helpMenuOpensTheConfiguredFiles() {
    UiTestWorld world;
    world.storeString(regschema::kHelpKey, "Helpfile", "ide.hlp");
    auto vantor = world.startVantor();
    vantor->HelpfileBaseClick();
    vantor->HelpClangClick();
    vantor->HelpCerrorClick();
    vantor->HelpBuildtoolClick();
    vantor->HelpQuarryClick();
    using C = FakeHelpViewer::Command;
    const auto& r = world.help.requests;
    QCOMPARE(r.size(), std::size_t(5));
    QCOMPARE(r[0].command, C::Contents);
    QCOMPARE(r[0].helpFile, std::string("ide.hlp"));
    QCOMPARE(r[1].helpFile, std::string(regschema::kDefClang));
    QCOMPARE(r[2].command, C::PartialKey);
    QCOMPARE(r[2].helpFile, std::string(regschema::kDefCerror));
    QCOMPARE(r[2].key, std::string());
    QCOMPARE(r[3].command, C::Contents);
    QCOMPARE(r[4].helpFile, std::string(regschema::kDefQuarry));
}

QTEST_MAIN(TVantorStartupTest)
#include "tvantor_startup_test.moc"
