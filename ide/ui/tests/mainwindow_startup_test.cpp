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
#include "project.h"
#include "settings.h"
#include "uitestsupport.h"

class MainWindowStartupTest : public QObject {
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
    void restoredWindowKeepsItsFrameOnTheScreenStartAfterStart();
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
Settings storedSettings(UiTestWorld& world) {
    Settings stored;
    LoadSettings(stored, *world.store);
    return stored;
}

// A makefile whose head block names the program "hello".
std::string writeHelloProject(UiTestWorld& world, const std::string& folder) {
    return world.writeFile(folder + "/makefile",
                           "MODEL\t= l\nOUTDIR\t= obj\nPROGRAM\t= $(OUTDIR)\\hello.exe\n\nall:\n");
}

}  // namespace

void MainWindowStartupTest::firstStartHasNoProjectNoHistoryNoTools() {
    UiTestWorld world;
    auto mainWindow = world.startMainWindow();
    QCOMPARE(mainWindow->windowTitle(), QString("Vantor"));
    QVERIFY(!mainWindow->reopenMenu->menuAction()->isVisible());
    QVERIFY(!mainWindow->toolsMenu->menuAction()->isVisible());
    QCOMPARE(mainWindow->output().text(), QString());
    QVERIFY(world.ui.messages.empty());
    QVERIFY(mainWindow->toolsLoaded());
    QCOMPARE(world.sounds.plays.size(), std::size_t(1));
    QCOMPARE(world.sounds.plays[0].event, std::string("Open"));
    QCOMPARE(world.sounds.plays[0].wait, SoundWait::No);
    QCOMPARE(world.sounds.plays[0].fallback, SoundFallback::None);
    QCOMPARE(mainWindow->settings().depmillCommand, std::string("depmill -t1"));

    // Opening the File menu with an empty history keeps Reopen hidden.
    mainWindow->fillReopenMenu();
    QVERIFY(!mainWindow->reopenMenu->menuAction()->isVisible());
}

void MainWindowStartupTest::menusCarryTheirCaptionsHintsAndShortcuts() {
    UiTestWorld world;
    auto mainWindow = world.startMainWindow();
    struct Expected {
        const char* name;
        const char* caption;
        const char* hint;
        const char* shortcut;
    };
    const Expected items[] = {
        {"newProjectAction", "新規作成(&N)...", "新規プロジェクトを作ります", "Ctrl+N"},
        {"openProjectAction", "開く(&O)...", "既存のプロジェクトを開きます", "Ctrl+O"},
        {"reopenMenu", "開き直す(&R)", "以前にオープンしたプロジェクトを再度オープンします", ""},
        {"exitAction", "終了(&X)", "IDEを終了します", "Alt+X"},
        {"copyAction", "コピー(&C)", "出力ウインドウの選択領域をクリップボードにコピーします。",
         "Ctrl+C"},
        {"selectAllAction", "すべて選択(&A)", "出力ウインドウをすべて選択します。", "Ctrl+A"},
        {"clearAction", "クリア(&D)", "出力ウインドウをクリアします", ""},
        {"nextMessageAction", "次のメッセージ(&N)",
         "次のエラーまたは警告の行を選び、エディタで開きます", "F4"},
        {"previousMessageAction", "前のメッセージ(&V)",
         "前のエラーまたは警告の行を選び、エディタで開きます", "Shift+F4"},
        {"findAction", "検索(&F)...", "出力ウインドウの中の文字列を検索します", "Ctrl+F"},
        {"buildAction", "ビルド(&B)", "プロジェクトをビルドします", "Shift+F8"},
        {"rebuildAction", "リビルド(&R)", "プロジェクトを再構築します", "Alt+F8"},
        {"checkDependenciesAction", "依存関係の再チェック(&A)",
         "ファイルの依存関係を再チェックします", "F5"},
        {"toolsMenu", "ツール(&T)", "ツールの起動", ""},
        {"buildToolHelpAction", "ビルドツールのヘルプ(&B)", "コンパイル／リンクオプションのヘルプ",
         ""},
        {"quarryHelpAction", "Quarryのヘルプ(R)", "Quarry.libのヘルプ", ""},
        {"aboutAction", "Vantorについて(&A)...", "Vantor について", ""},
        {"jumpToEditorAction", "エディタ(&E)", "ソースファイルの表示", ""},
        {"jumpToHelpAction", "ヘルプ(&H)", "エラーヘルプの表示", "F1"},
    };
    for (const Expected& expected : items) {
        const auto* action = mainWindow->findChild<QAction*>(expected.name);
        QVERIFY2(action, expected.name);
        QCOMPARE(action->text(), QString(expected.caption));
        QCOMPARE(action->statusTip(), QString(expected.hint));
        QCOMPARE(action->shortcut(), QKeySequence(expected.shortcut));
    }
    // Menu bar order.
    QStringList titles;
    for (const QAction* menu : mainWindow->menuBar()->actions()) titles << menu->text();
    QCOMPARE(titles, QStringList({"ファイル(&F)", "編集(&E)", "プロジェクト(&P)", "ツール(&T)",
                                  "オプション(&O)", "ヘルプ(&H)"}));
    // Reopen sits between Open and the separator above Exit.
    const QList<QAction*> file = mainWindow->fileMenu->actions();
    QCOMPARE(file.indexOf(mainWindow->reopenMenu->menuAction()),
             file.indexOf(mainWindow->openProjectAction) + 1);
    QVERIFY(file[file.indexOf(mainWindow->exitAction) - 1]->isSeparator());
    // The message items follow a separator, and Find ends the Edit menu
    // after one more.
    const QList<QAction*> edit = mainWindow->editMenu->actions();
    QVERIFY(edit[edit.size() - 5]->isSeparator());
    QCOMPARE(edit.mid(edit.size() - 4, 2),
             QList<QAction*>({mainWindow->nextMessageAction, mainWindow->previousMessageAction}));
    QVERIFY(edit[edit.size() - 2]->isSeparator());
    QCOMPARE(edit.last(), mainWindow->findAction);
}

void MainWindowStartupTest::menuHintShowsInTheStatusBar() {
    UiTestWorld world;
    auto mainWindow = world.startMainWindow();
    mainWindow->buildAction->showStatusText(mainWindow->menuBar());
    QCOMPARE(mainWindow->statusText(), QString("プロジェクトをビルドします"));
}

void MainWindowStartupTest::startReopensTheMostRecentProject() {
    UiTestWorld world;
    const std::string makefile = writeHelloProject(world, "hello");
    world.storeRecentProject("hello", makefile);

    auto mainWindow = world.startMainWindow();
    const QString folder = QString::fromStdString(world.path("hello"));
    QCOMPARE(mainWindow->windowTitle(), "Vantor - hello (" + folder + ")");
    QCOMPARE(QDir::currentPath(), folder);
    QCOMPARE(mainWindow->project().memoryModel, std::uint8_t(3));
    // Start-up does not record the history again: the entry stays alone.
    QCOMPARE(mainWindow->settings().history[1].projectName, std::string());
}

void MainWindowStartupTest::unreadableLastProjectLeavesNoProject() {
    UiTestWorld world;
    world.storeRecentProject("gone", world.path("gone/makefile"));
    auto mainWindow = world.startMainWindow();
    QCOMPARE(mainWindow->windowTitle(), QString("Vantor"));
    QVERIFY(mainWindow->project().projectName.empty());
    // The reader told the user why; the start went on to its end.
    QCOMPARE(world.ui.messages.size(), std::size_t(1));
    QCOMPARE(world.sounds.plays.back().event, std::string("Open"));
}

void MainWindowStartupTest::storedToolsShowTheToolsMenu() {
    UiTestWorld world;
    ToolTable tools;
    tools.tools[0] = {"Lint & check", "lint", "", "", false, false};
    tools.tools[1] = {"-", "区切り線", "", "", false, false};
    tools.tools[2] = {"List", "ls", "", "", true, false};
    tools.count = 3;
    SaveTools(tools, *world.store);

    auto mainWindow = world.startMainWindow();
    QVERIFY(mainWindow->toolsMenu->menuAction()->isVisible());
    const QList<QAction*> items = mainWindow->toolsMenu->actions();
    QCOMPARE(items.size(), 3);
    QCOMPARE(items[0]->text(), QString("Lint && check"));  // shown with a literal "&"
    QVERIFY(items[1]->isSeparator());
    QCOMPARE(items[2]->text(), QString("List"));
}

void MainWindowStartupTest::displaySettingsAreApplied() {
    UiTestWorld world;
    world.storeInteger(settingsschema::kBaseKey, "FoldOutput", 0);
    world.storeInteger(settingsschema::kBaseKey, "useStatusBar", 0);
    world.storeString(settingsschema::kBaseKey, "FontName", "DejaVu Sans Mono");
    world.storeInteger(settingsschema::kBaseKey, "FontSize", 14);
    auto mainWindow = world.startMainWindow();
    mainWindow->show();
    QVERIFY(!mainWindow->outputWindow->wrapping());
    QCOMPARE(mainWindow->outputWindow->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    QVERIFY(!mainWindow->statusLine->isVisible());
    QCOMPARE(mainWindow->outputWindow->font().family(), QString("DejaVu Sans Mono"));
    QCOMPARE(mainWindow->outputWindow->font().pointSize(), 14);

    // Defaults: wrapping with a vertical scroll bar only, status bar shown.
    UiTestWorld defaults;
    auto plain = defaults.startMainWindow();
    plain->show();
    QVERIFY(plain->outputWindow->wrapping());
    QCOMPARE(plain->outputWindow->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    QVERIFY(plain->statusLine->isVisible());
}

void MainWindowStartupTest::windowPlacementIsWrittenAtCloseAndRestored() {
    UiTestWorld world;
    const QRect chosen(120, 80, 500, 300);
    {
        auto mainWindow = world.startMainWindow();
        mainWindow->show();
        mainWindow->setGeometry(chosen);
        QVERIFY(mainWindow->close());
        QCOMPARE(QString::fromStdString(storedSettings(world).windowPlacement),
                 QString("120,80,500,300"));
    }
    // Close writes the whole history, free entries as empty values.
    RegistryAccess reg(*world.store);
    QVERIFY(reg.openKey(settingsschema::kHistoryKey, false));
    QVERIFY(reg.hasValue("ProjectFile19"));
    QVERIFY(reg.hasValue("Project19"));
    reg.closeKey();

    // Start and close again and again: the window stays where it was.
    for (int round = 0; round < 3; ++round) {
        auto again = world.startMainWindow();
        again->show();
        QCOMPARE(again->geometry(), chosen);
        QVERIFY(again->close());
    }
    QCOMPARE(QString::fromStdString(storedSettings(world).windowPlacement),
             QString("120,80,500,300"));
}

void MainWindowStartupTest::placementOffTheScreenComesBackOntoIt() {
    UiTestWorld world;
    world.storeString(settingsschema::kBaseKey, "Window", "-3000,-2000,100000,400");
    auto mainWindow = world.startMainWindow();
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    QVERIFY(screen.contains(mainWindow->geometry()));
    QCOMPARE(mainWindow->geometry().width(), screen.width());
    QCOMPARE(mainWindow->geometry().height(), 400);
}

// The offscreen platform frames a window as a window manager does, with a
// border on each side, once it is shown.
void MainWindowStartupTest::restoredWindowKeepsItsFrameOnTheScreenStartAfterStart() {
    UiTestWorld world;
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    // What a window fitted by its inner area left behind: the whole screen.
    world.storeString(
        settingsschema::kBaseKey, "Window",
        FormatWindowPlacement({screen.x(), screen.y(), screen.width(), screen.height()}));
    QString stored;
    for (int round = 0; round < 4; ++round) {
        auto mainWindow = world.startMainWindow();
        mainWindow->show();
        QCoreApplication::processEvents();
        if (mainWindow->frameGeometry() == mainWindow->geometry())
            QSKIP("this platform gives the window no frame");
        QVERIFY2(screen.contains(mainWindow->frameGeometry()), qPrintable(QString::number(round)));
        QVERIFY(mainWindow->close());
        const QString now = QString::fromStdString(storedSettings(world).windowPlacement);
        // Fixed at the first start; the starts after it do not move it.
        if (round > 0) QCOMPARE(now, stored);
        stored = now;
    }
}

void MainWindowStartupTest::shortPlacementSetsTheMissingValuesToZero() {
    UiTestWorld world;
    world.storeString(settingsschema::kBaseKey, "Window", "30,x40");
    auto mainWindow = world.startMainWindow();
    QCOMPARE(mainWindow->pos(), QPoint(30, 0));
    // Width and height 0 leave the smallest window the system allows.
    QVERIFY(mainWindow->width() <= mainWindow->minimumSizeHint().width() + 1);
}

void MainWindowStartupTest::closeQuitsTheHelpFilesThenPlaysCloseAndWaits() {
    UiTestWorld world;
    world.storeString(settingsschema::kHelpKey, "Clang", "lang.hlp");
    auto mainWindow = world.startMainWindow();
    mainWindow->exitProgram();
    std::vector<std::string> quit;
    for (const auto& request : world.help.requests) {
        QCOMPARE(request.command, FakeHelpViewer::Command::Quit);
        quit.push_back(request.helpFile);
    }
    const Settings defaults = DefaultSettings();
    QCOMPARE(quit,
             (std::vector<std::string>{defaults.ideHelpFile, "lang.hlp", defaults.errorHelpFile,
                                       defaults.buildToolHelpFile, defaults.quarryHelpFile}));
    QCOMPARE(world.sounds.plays.back().event, std::string("Close"));
    QCOMPARE(world.sounds.plays.back().wait, SoundWait::UntilEnd);
    QCOMPARE(world.sounds.plays.back().fallback, SoundFallback::None);
}

void MainWindowStartupTest::dataTypeErrorIsReportedAndStartUpGoesOn() {
    UiTestWorld world;
    const std::string makefile = writeHelloProject(world, "hello");
    world.storeRecentProject("hello", makefile);
    world.storeString(settingsschema::kBaseKey, "FontName", "Courier");
    world.storeInteger(settingsschema::kBaseKey, "EditCommand", 7);
    ToolTable tools;
    tools.tools[0] = {"List", "ls", "", "", true, false};
    tools.count = 1;
    SaveTools(tools, *world.store);

    auto mainWindow = world.startMainWindow();
    QCOMPARE(world.ui.messages.size(), std::size_t(1));
    QCOMPARE(world.ui.messages[0].caption, std::string("Vantor"));
    QCOMPARE(world.ui.messages[0].text, std::string("'EditCommand' のﾃﾞｰﾀ型が不正です"));
    // The bad value takes its default; everything else is read and applied.
    QCOMPARE(mainWindow->settings().editorCommand, DefaultEditCommand());
    QCOMPARE(mainWindow->settings().fontName, std::string("Courier"));
    QCOMPARE(mainWindow->project().projectName, std::string("hello"));
    QCOMPARE(mainWindow->tools().count, std::size_t(1));
    QVERIFY(mainWindow->toolsLoaded());
    QVERIFY(mainWindow->toolsMenu->menuAction()->isVisible());
    QCOMPARE(world.sounds.plays.front().event, std::string("Open"));

    // Closing keeps the history and the options that were read.
    QVERIFY(mainWindow->close());
    const Settings stored = storedSettings(world);
    QCOMPARE(stored.history[0].projectFile, makefile);
    QCOMPARE(stored.fontName, std::string("Courier"));
}

void MainWindowStartupTest::copyTakesTheSelectionOrEverything() {
    UiTestWorld world;
    auto mainWindow = world.startMainWindow();
    OutputWindow& output = mainWindow->output();
    output.append("first line");
    output.append("second line");

    mainWindow->copySelection();
    QCOMPARE(world.ui.clipboard, std::string("first line\nsecond line"));

    output.select(6, 4);
    mainWindow->copySelection();
    QCOMPARE(world.ui.clipboard, std::string("line"));

    output.select(6, 10);  // across the line break
    mainWindow->copySelection();
    QCOMPARE(world.ui.clipboard, std::string("line\nsecon"));

    mainWindow->copyAll();
    QCOMPARE(world.ui.clipboard, std::string("first line\nsecond line"));
    QCOMPARE(output.selectionLength(), output.text().size());

    mainWindow->clearOutput();
    mainWindow->copySelection();
    QCOMPARE(world.ui.clipboard, std::string());
}

// The menu need not open for the item to follow the selection.
void MainWindowStartupTest::editMenuEnablesCopyOnlyWithASelection() {
    UiTestWorld world;
    auto mainWindow = world.startMainWindow();
    OutputWindow& output = mainWindow->output();
    QVERIFY(!mainWindow->copyAction->isEnabled());
    output.append("text");
    QVERIFY(!mainWindow->copyAction->isEnabled());
    mainWindow->selectAllOutput();
    QVERIFY(mainWindow->copyAction->isEnabled());
    output.select(2, 0);  // a caret, no selection
    QVERIFY(!mainWindow->copyAction->isEnabled());
    output.select(1, 2);
    mainWindow->clearOutput();
    QVERIFY(!mainWindow->copyAction->isEnabled());
}

void MainWindowStartupTest::fontChoiceIsStoredAtOnce() {
    UiTestWorld world;
    auto mainWindow = world.startMainWindow();
    world.ui.fontAnswer = FontChoice{"DejaVu Sans Mono", 13};
    mainWindow->changeFont();
    QCOMPARE(world.ui.fontRequests.size(), std::size_t(1));
    QCOMPARE(world.ui.fontRequests[0].name, std::string("FixedSys"));
    QCOMPARE(world.ui.fontRequests[0].size, 11);
    QCOMPARE(mainWindow->outputWindow->font().family(), QString("DejaVu Sans Mono"));
    QCOMPARE(mainWindow->outputWindow->font().pointSize(), 13);
    // Stored before any close: a crash now would not lose it.
    const Settings stored = storedSettings(world);
    QCOMPARE(stored.fontName, std::string("DejaVu Sans Mono"));
    QCOMPARE(stored.fontSize, 13);
}

void MainWindowStartupTest::cancelledFontChoiceChangesNothing() {
    UiTestWorld world;
    auto mainWindow = world.startMainWindow();
    const QFont before = mainWindow->outputWindow->font();
    mainWindow->changeFont();  // no answer scripted: cancelled
    QCOMPARE(mainWindow->outputWindow->font(), before);
    RegistryAccess reg(*world.store);
    QVERIFY(reg.openKey(settingsschema::kBaseKey, false));
    QVERIFY(!reg.hasValue("FontName"));
}

void MainWindowStartupTest::helpMenuOpensTheConfiguredFiles() {
    UiTestWorld world;
    world.storeString(settingsschema::kHelpKey, "Helpfile", "ide.hlp");
    auto mainWindow = world.startMainWindow();
    mainWindow->showIdeHelp();
    mainWindow->showLanguageHelp();
    mainWindow->showErrorHelp();
    mainWindow->showBuildToolHelp();
    mainWindow->showQuarryHelp();
    using C = FakeHelpViewer::Command;
    const auto& r = world.help.requests;
    QCOMPARE(r.size(), std::size_t(5));
    QCOMPARE(r[0].command, C::Contents);
    QCOMPARE(r[0].helpFile, std::string("ide.hlp"));
    QCOMPARE(r[1].helpFile, DefaultSettings().languageHelpFile);
    QCOMPARE(r[2].command, C::PartialKey);
    QCOMPARE(r[2].helpFile, DefaultSettings().errorHelpFile);
    QCOMPARE(r[2].key, std::string());
    QCOMPARE(r[3].command, C::Contents);
    QCOMPARE(r[4].helpFile, DefaultSettings().quarryHelpFile);
}

QTEST_MAIN(MainWindowStartupTest)
#include "mainwindow_startup_test.moc"
