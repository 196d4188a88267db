// The main window's menu bar as one table: each menu and, in order, its
// items (object name, caption, hint shown in the status bar, key, handler,
// and the member that keeps the action) and separators; the Reopen and
// Tools menus are filled while the IDE runs.
#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <span>

#include "mainwindow.h"
#include "outputwindow.h"

namespace {

using M = MainWindow;

struct MenuItem {
    const char* name;
    const char* caption = nullptr;  // nullptr: a separator
    const char* hint = nullptr;
    const char* key = "";
    void (MainWindow::*handler)() = nullptr;
    QAction* MainWindow::*action = nullptr;
};

constexpr MenuItem separator(const char* name) {
    return {name};
}

struct Menu {
    const char* name;
    const char* caption;
    QMenu* MainWindow::*menu;
    std::span<const MenuItem> items;
};

constexpr MenuItem kFileItems[] = {
    {"newProjectAction", "新規作成(&N)...", "新規プロジェクトを作ります", "Ctrl+N",
     &M::createNewProject, &M::newProjectAction},
    {"openProjectAction", "開く(&O)...", "既存のプロジェクトを開きます", "Ctrl+O",
     &M::chooseAndOpenProject, &M::openProjectAction},
    // The Reopen menu comes here, before the separator.
    separator("fileSeparator"),
    {"exitAction", "終了(&X)", "IDEを終了します", "Alt+X", &M::exitProgram, &M::exitAction},
};

constexpr MenuItem kEditItems[] = {
    {"copyAction", "コピー(&C)", "出力ウインドウの選択領域をクリップボードにコピーします。",
     "Ctrl+C", &M::copySelection, &M::copyAction},
    {"copyAllAction", "すべてコピー(&E)", "出力ウインドウのすべてをクリップボードにコピーします。",
     "", &M::copyAll, &M::copyAllAction},
    separator("editSeparator"),
    {"selectAllAction", "すべて選択(&A)", "出力ウインドウをすべて選択します。", "Ctrl+A",
     &M::selectAllOutput, &M::selectAllAction},
    {"clearAction", "クリア(&D)", "出力ウインドウをクリアします", "", &M::clearOutput,
     &M::clearAction},
    separator("messageSeparator"),
    {"nextMessageAction", "次のメッセージ(&N)",
     "次のエラーまたは警告の行を選び、エディタで開きます", "F4", &M::openNextMessage,
     &M::nextMessageAction},
    {"previousMessageAction", "前のメッセージ(&V)",
     "前のエラーまたは警告の行を選び、エディタで開きます", "Shift+F4", &M::openPreviousMessage,
     &M::previousMessageAction},
    separator("findSeparator"),
    {"findAction", "検索(&F)...", "出力ウインドウの中の文字列を検索します", "Ctrl+F",
     &M::openFindBar, &M::findAction},
};

constexpr MenuItem kProjectItems[] = {
    {"buildAction", "ビルド(&B)", "プロジェクトをビルドします", "Shift+F8", &M::buildProject,
     &M::buildAction},
    {"rebuildAction", "リビルド(&R)", "プロジェクトを再構築します", "Alt+F8", &M::rebuildProject,
     &M::rebuildAction},
    separator("projectSeparator"),
    {"checkDependenciesAction", "依存関係の再チェック(&A)", "ファイルの依存関係を再チェックします",
     "F5", &M::checkDependencies, &M::checkDependenciesAction},
    {"stopAction", "実行の中止(&S)", "実行中のビルドやツールを中止します", "Ctrl+F8", &M::stopRun,
     &M::stopAction},
    {"editMakefileAction", "プロジェクトを直接編集(&E)", "Makefileをエディタで書き換えます", "",
     &M::editMakefile, &M::editMakefileAction},
};

constexpr MenuItem kOptionsItems[] = {
    {"projectOptionsAction", "プロジェクト(&P)...", "プロジェクトの設定を変更します", "",
     &M::editProjectOptions, &M::projectOptionsAction},
    {"optionsAction", "環境(&E)...", "IDEの設定を変更します", "", &M::editOptions,
     &M::optionsAction},
    {"fontAction", "フォント(&F)...", "出力ウインドウのフォントを指定します", "", &M::changeFont,
     &M::fontAction},
    {"editToolsAction", "ツールの設定(&T)...", "ツールメニューの内容を変更します", "",
     &M::editTools, &M::editToolsAction},
};

constexpr MenuItem kHelpItems[] = {
    {"ideHelpAction", "Vantorのヘルプ(&I)", "IDEのヘルプ", "", &M::showIdeHelp, &M::ideHelpAction},
    {"languageHelpAction", "C/C++ 言語のヘルプ(&C)", "C/C++言語のヘルプ", "", &M::showLanguageHelp,
     &M::languageHelpAction},
    {"errorHelpAction", "ビルドエラーのヘルプ(&E)", "ビルドエラーのヘルプ", "", &M::showErrorHelp,
     &M::errorHelpAction},
    {"buildToolHelpAction", "ビルドツールのヘルプ(&B)", "コンパイル／リンクオプションのヘルプ", "",
     &M::showBuildToolHelp, &M::buildToolHelpAction},
    {"quarryHelpAction", "Quarryのヘルプ(R)", "Quarry.libのヘルプ", "", &M::showQuarryHelp,
     &M::quarryHelpAction},
    separator("helpSeparator"),
    {"aboutAction", "Vantorについて(&A)...", "Vantor について", "", &M::showAbout, &M::aboutAction},
};

// The menu bar in its order; the Tools menu has no fixed items.
constexpr Menu kMenus[] = {
    {"fileMenu", "ファイル(&F)", &M::fileMenu, kFileItems},
    {"editMenu", "編集(&E)", &M::editMenu, kEditItems},
    {"projectMenu", "プロジェクト(&P)", &M::projectMenu, kProjectItems},
    {"toolsMenu", "ツール(&T)", &M::toolsMenu, {}},
    {"optionsMenu", "オプション(&O)", &M::optionsMenu, kOptionsItems},
    {"helpMenu", "ヘルプ(&H)", &M::helpMenu, kHelpItems},
};

}  // namespace

void MainWindow::createMenus() {
    QMenuBar* bar = menuBar();
    bar->setObjectName("menuBar");
    for (const Menu& row : kMenus) {
        auto* menu = new QMenu(row.caption, this);
        menu->setObjectName(row.name);
        menu->menuAction()->setObjectName(row.name);
        bar->addMenu(menu);
        this->*row.menu = menu;
        for (const MenuItem& item : row.items) {
            if (item.caption == nullptr) {
                menu->addSeparator()->setObjectName(item.name);
                continue;
            }
            auto* action = new QAction(item.caption, this);
            action->setObjectName(item.name);
            action->setStatusTip(item.hint);
            action->setShortcut(QKeySequence(item.key));
            connect(action, &QAction::triggered, this, item.handler);
            menu->addAction(action);
            this->*item.action = action;
        }
    }

    connect(fileMenu, &QMenu::aboutToShow, this, &MainWindow::fillReopenMenu);
    reopenMenu = new QMenu("開き直す(&R)", this);
    reopenMenu->setObjectName("reopenMenu");
    reopenMenu->menuAction()->setObjectName("reopenMenu");
    reopenMenu->menuAction()->setStatusTip("以前にオープンしたプロジェクトを再度オープンします");
    fileMenu->insertMenu(fileMenu->findChild<QAction*>("fileSeparator"), reopenMenu);
    reopenMenu->menuAction()->setVisible(false);

    // The items follow the output window as it changes, not only when the
    // menu opens: a shortcut works exactly when its item would.
    connect(outputWindow, &OutputWindow::selectionChanged, this, &MainWindow::updateEditMenu);
    connect(outputWindow, &OutputWindow::contentsChanged, this, &MainWindow::updateEditMenu);
    updateEditMenu();

    stopAction->setEnabled(false);
    toolsMenu->menuAction()->setStatusTip("ツールの起動");
    toolsMenu->menuAction()->setVisible(false);
}
