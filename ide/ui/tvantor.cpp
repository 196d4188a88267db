// The main window: layout and menus, start-up and close, the Edit, Options
// and Help menus. The other commands live beside it in tvantor_*.cpp.
#include "tvantor.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDir>
#include <QGuiApplication>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <climits>
#include <vector>

#include "helpviewer.h"
#include "mainwindowrules.h"
#include "outputwindow.h"
#include "proj.h"
#include "qtext.h"
#include "regist.h"
#include "sounds.h"
#include "taboutbox.h"
#include "toolopt.h"
#include "toptiondlg.h"
#include "uiservices.h"

namespace {

constexpr char kCaption[] = "Vantor";

// The design size of the client area, before a stored placement applies.
constexpr int kDesignClientWidth = 612;
constexpr int kDesignClientHeight = 154;

int clampToInt(long value) {
    if (value < INT_MIN) return INT_MIN;
    if (value > INT_MAX) return INT_MAX;
    return static_cast<int>(value);
}

}  // namespace

TVantor::TVantor(const VantorServices& services, QWidget* parent)
    : QMainWindow(parent),
      services_(services),
      codePage_(common::activeCodePage()),
      regist(std::make_unique<TREGIST>()),
      proj(std::make_unique<TPROJ>()),
      toolOptions(std::make_unique<tooloptions>()) {
    setObjectName("Vantor");
    setWindowTitle(kCaption);

    output1 = new OutputWindow(this);
    output1->setObjectName("output1");
    output1->setFont(QFont("Monospace", 10));
    setCentralWidget(output1);
    connect(output1, &OutputWindow::clicked, this, &TVantor::output1Click);
    connect(output1, &OutputWindow::doubleClicked, this, &TVantor::output1DblClick);
    followOutputReading();

    StatusBar = statusBar();
    StatusBar->setObjectName("StatusBar");
    StatusBar->setSizeGripEnabled(false);

    createMenus();
    createOutputMenu();
    resize(kDesignClientWidth,
           kDesignClientHeight + menuBar()->sizeHint().height() + StatusBar->sizeHint().height());
    output1->setFocus();

    FormCreate();
}

TVantor::~TVantor() = default;

void TVantor::setDialogs(const VantorDialogs& dialogs) {
    dialogs_ = dialogs;
}

bool TVantor::debugMode() const {
    return dialogs_.OptionDlg && dialogs_.OptionDlg->IDEdebugmode->isChecked();
}

QString TVantor::statusText() const {
    return StatusBar->currentMessage();
}

void TVantor::setStatusText(const QString& text) {
    StatusBar->showMessage(text);
}

// ---------------------------------------------------------------- layout

void TVantor::createMenus() {
    QMenuBar* bar = menuBar();
    bar->setObjectName("MainMenu");
    const auto menu = [this, bar](const char* name, const char* caption) {
        auto* m = new QMenu(caption, this);
        m->setObjectName(name);
        m->menuAction()->setObjectName(name);
        bar->addMenu(m);
        return m;
    };
    const auto item = [this](QMenu* m, const char* name, const char* caption, const char* hint,
                             const QKeySequence& shortcut, void (TVantor::*handler)()) {
        auto* a = new QAction(caption, this);
        a->setObjectName(name);
        a->setStatusTip(hint);
        a->setShortcut(shortcut);
        connect(a, &QAction::triggered, this, handler);
        m->addAction(a);
        return a;
    };
    const auto separator = [](QMenu* m, const char* name) {
        m->addSeparator()->setObjectName(name);
    };
    const QKeySequence none;

    FileMenu = menu("FileMenu", "ファイル(&F)");
    connect(FileMenu, &QMenu::aboutToShow, this, &TVantor::FileMenuClick);
    NewProject = item(FileMenu, "NewProject", "新規作成(&N)...", "新規プロジェクトを作ります",
                      QKeySequence("Ctrl+N"), &TVantor::NewProjectClick);
    OpenProject = item(FileMenu, "OpenProject", "開く(&O)...", "既存のプロジェクトを開きます",
                       QKeySequence("Ctrl+O"), &TVantor::OpenProjectClick);
    Reopen = new QMenu("開き直す(&R)", this);
    Reopen->setObjectName("Reopen");
    Reopen->menuAction()->setObjectName("Reopen");
    Reopen->menuAction()->setStatusTip("以前にオープンしたプロジェクトを再度オープンします");
    FileMenu->addMenu(Reopen);
    Reopen->menuAction()->setVisible(false);
    separator(FileMenu, "N2");
    ExitProgram = item(FileMenu, "ExitProgram", "終了(&X)", "IDEを終了します",
                       QKeySequence("Alt+X"), &TVantor::ExitProgramClick);

    EditMenu = menu("EditMenu", "編集(&E)");
    connect(EditMenu, &QMenu::aboutToShow, this, &TVantor::EditMenuClick);
    Copy1 = item(EditMenu, "Copy1", "コピー(&C)",
                 "出力ウインドウの選択領域をクリップボードにコピーします。", QKeySequence("Ctrl+C"),
                 &TVantor::Copy1Click);
    copyall = item(EditMenu, "copyall", "すべてコピー(&E)",
                   "出力ウインドウのすべてをクリップボードにコピーします。", none,
                   &TVantor::copyallClick);
    separator(EditMenu, "N3");
    SelectAll = item(EditMenu, "SelectAll", "すべて選択(&A)", "出力ウインドウをすべて選択します。",
                     QKeySequence("Ctrl+A"), &TVantor::SelectAllClick);
    clear = item(EditMenu, "clear", "クリア(&D)", "出力ウインドウをクリアします", none,
                 &TVantor::clearClick);
    separator(EditMenu, "N5");
    NextMessage = item(EditMenu, "NextMessage", "次のメッセージ(&N)",
                       "次のエラーまたは警告の行を選び、エディタで開きます", QKeySequence("F4"),
                       &TVantor::NextMessageClick);
    PreviousMessage = item(EditMenu, "PreviousMessage", "前のメッセージ(&V)",
                           "前のエラーまたは警告の行を選び、エディタで開きます",
                           QKeySequence("Shift+F4"), &TVantor::PreviousMessageClick);

    ProjectMenu = menu("ProjectMenu", "プロジェクト(&P)");
    BuildProject = item(ProjectMenu, "BuildProject", "ビルド(&B)", "プロジェクトをビルドします",
                        QKeySequence("Shift+F8"), &TVantor::BuildProjectClick);
    RebuildProject =
        item(ProjectMenu, "RebuildProject", "リビルド(&R)", "プロジェクトを再構築します",
             QKeySequence("Alt+F8"), &TVantor::RebuildProjectClick);
    separator(ProjectMenu, "N1");
    CheckDepend = item(ProjectMenu, "CheckDepend", "依存関係の再チェック(&A)",
                       "ファイルの依存関係を再チェックします", QKeySequence("F5"),
                       &TVantor::CheckDependClick);
    StopRun = item(ProjectMenu, "StopRun", "実行の中止(&S)", "実行中のビルドやツールを中止します",
                   QKeySequence("Ctrl+F8"), &TVantor::StopRunClick);
    StopRun->setEnabled(false);
    EditProject = item(ProjectMenu, "EditProject", "プロジェクトを直接編集(&E)",
                       "Makefileをエディタで書き換えます", none, &TVantor::EditProjectClick);

    ToolsMenu = menu("ToolsMenu", "ツール(&T)");
    ToolsMenu->menuAction()->setStatusTip("ツールの起動");
    ToolsMenu->menuAction()->setVisible(false);

    OptionMenu = menu("OptionMenu", "オプション(&O)");
    ProjectOption = item(OptionMenu, "ProjectOption", "プロジェクト(&P)...",
                         "プロジェクトの設定を変更します", none, &TVantor::ProjectOptionClick);
    IDEOption = item(OptionMenu, "IDEOption", "環境(&E)...", "IDEの設定を変更します", none,
                     &TVantor::IDEOptionClick);
    ChangeFont = item(OptionMenu, "ChangeFont", "フォント(&F)...",
                      "出力ウインドウのフォントを指定します", none, &TVantor::ChangeFontClick);
    ToolsEdit = item(OptionMenu, "ToolsEdit", "ツールの設定(&T)...",
                     "ツールメニューの内容を変更します", none, &TVantor::ToolsEditClick);

    HelpMenu = menu("HelpMenu", "ヘルプ(&H)");
    HelpfileBase = item(HelpMenu, "HelpfileBase", "Vantorのヘルプ(&I)", "IDEのヘルプ", none,
                        &TVantor::HelpfileBaseClick);
    HelpClang = item(HelpMenu, "HelpClang", "C/C++ 言語のヘルプ(&C)", "C/C++言語のヘルプ", none,
                     &TVantor::HelpClangClick);
    HelpCerror = item(HelpMenu, "HelpCerror", "ビルドエラーのヘルプ(&E)", "ビルドエラーのヘルプ",
                      none, &TVantor::HelpCerrorClick);
    HelpBuildtool =
        item(HelpMenu, "HelpBuildtool", "ビルドツールのヘルプ(&B)",
             "コンパイル／リンクオプションのヘルプ", none, &TVantor::HelpBuildtoolClick);
    HelpQuarry = item(HelpMenu, "HelpQuarry", "Quarryのヘルプ(R)", "Quarry.libのヘルプ", none,
                      &TVantor::HelpQuarryClick);
    separator(HelpMenu, "N4");
    About1 = item(HelpMenu, "About1", "Vantorについて(&A)...", "Vantor について", none,
                  &TVantor::About1Click);
}

// The output window's context menu; its F1 works wherever the output
// window has the focus.
void TVantor::createOutputMenu() {
    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName("PopupMenu1");
    jumpEdit = PopupMenu1->addAction("エディタ(&E)", this, &TVantor::jumpEditClick);
    jumpEdit->setObjectName("jumpEdit");
    jumpEdit->setStatusTip("ソースファイルの表示");
    jumpHelp = PopupMenu1->addAction("ヘルプ(&H)", this, &TVantor::jumpHelpClick);
    jumpHelp->setObjectName("jumpHelp");
    jumpHelp->setStatusTip("エラーヘルプの表示");
    jumpHelp->setShortcut(QKeySequence("F1"));
    jumpHelp->setShortcutContext(Qt::WidgetShortcut);
    output1->addAction(jumpHelp);
    output1->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(output1, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& pos) { PopupMenu1->exec(output1->viewport()->mapToGlobal(pos)); });
}

// An item whose caption is a user's text: "&" shows as itself, and the text
// as given is kept for the handler to compare.
QAction* TVantor::addCaptionedItem(QMenu* menu, const std::string& caption) {
    const QString text = toQt(caption);
    QString shown = text;
    shown.replace('&', "&&");
    QAction* action = menu->addAction(shown);
    action->setData(text);
    return action;
}

// ---------------------------------------------------------------- start and close

void TVantor::FormCreate() {
    // Menu hints reach ShowHint through event() from the start. A string
    // setting stored with another type is reported and takes its default.
    const LoadErrors errors = LoadSettings(*regist, services_.settings);
    if (!errors.empty()) services_.ui.showMessage(errors, kCaption, MessageIcon::Stop);
    applyFoldOutput();
    applyStatusBar();
    applyFont();
    applyWindowPlacement();
    openLastProject();
    setWindowTitle(toQt(WindowTitle(*proj)));
    if (!proj->projectname.empty()) QDir::setCurrent(toQt(proj->projectfolder));
    if (loadTools() && toolOptions->count >= 1) rebuildToolsMenu();
    services_.sounds.play("Open", SoundFallback::None, SoundWait::No);
}

void TVantor::applyFoldOutput() {
    output1->setWrapping(regist->FoldOutput);
}

void TVantor::applyStatusBar() {
    StatusBar->setVisible(regist->useStatusBar);
}

void TVantor::applyFont() {
    QFont font(toQt(regist->FontName));
    font.setStyleHint(QFont::TypeWriter);  // a name this system lacks still gets a fixed pitch
    if (regist->FontSize > 0) font.setPointSize(regist->FontSize);
    output1->setFont(font);
}

// "Window" holds the geometry without the frame, written at close the same
// way, so that start and close never move the window by its frame.
void TVantor::applyWindowPlacement() {
    if (regist->Window.empty()) return;
    std::vector<WindowPlacement> screens;
    for (const QScreen* screen : QGuiApplication::screens()) {
        const QRect area = screen->availableGeometry();
        screens.push_back({area.x(), area.y(), area.width(), area.height()});
    }
    const WindowPlacement placement =
        FitPlacementOnScreens(ParseWindowPlacement(regist->Window), screens);
    setGeometry(clampToInt(placement.left), clampToInt(placement.top), clampToInt(placement.width),
                clampToInt(placement.height));
}

void TVantor::openLastProject() {
    const std::string& makefile = regist->history[0].ProjectFile;
    if (makefile.empty() || !LoadProject(*proj, makefile, services_.ui, codePage_)) {
        proj->projectname.clear();
    }
}

void TVantor::UpdateTitle() {
    setWindowTitle(toQt(WindowTitle(*proj)));
    if (proj->projectname.empty()) return;
    AddHistory(*regist, proj->projectname, proj->projectfilename, codePage_);
}

void TVantor::ShowHint(const QString& hint) {
    StatusBar->showMessage(hint);
}

bool TVantor::event(QEvent* event) {
    if (event->type() == QEvent::StatusTip) {
        ShowHint(static_cast<QStatusTipEvent*>(event)->tip());
        return true;
    }
    return QMainWindow::event(event);
}

void TVantor::closeEvent(QCloseEvent* event) {
    if (closeWaitsForRun()) {
        event->ignore();
        return;
    }
    if (regist) FormClose();
    event->accept();
}

void TVantor::FormClose() {
    for (const std::string* file : {&regist->Helpfile, &regist->Clang, &regist->Cerror,
                                    &regist->Buildtool, &regist->Quarry}) {
        services_.help.quit(*file);
    }
    const QRect bounds = geometry();
    regist->Window =
        FormatWindowPlacement({bounds.x(), bounds.y(), bounds.width(), bounds.height()});
    SaveAtClose(*regist, services_.settings);
    regist.reset();
    proj.reset();
    toolOptions.reset();
    services_.sounds.play("Close", SoundFallback::None, SoundWait::UntilEnd);
}

void TVantor::ExitProgramClick() {
    close();
}

// ---------------------------------------------------------------- Edit menu

void TVantor::EditMenuClick() {
    Copy1->setEnabled(output1->selectionLength() > 0);
}

void TVantor::Copy1Click() {
    const QString text = output1->selectionLength() > 0 ? output1->selectedText() : output1->text();
    services_.ui.setClipboardText(fromQt(text));
}

void TVantor::copyallClick() {
    SelectAllClick();
    Copy1Click();
}

void TVantor::SelectAllClick() {
    output1->selectAllText();
}

void TVantor::clearClick() {
    output1->erase();
}

// ---------------------------------------------------------------- Options and Help

void TVantor::IDEOptionClick() {
    if (dialogs_.OptionDlg) dialogs_.OptionDlg->exec();
}

void TVantor::ChangeFontClick() {
    const QFont current = output1->font();
    const auto chosen = services_.ui.chooseFont({fromQt(current.family()), current.pointSize()});
    if (!chosen) return;
    regist->FontName = chosen->name;
    regist->FontSize = chosen->size;
    applyFont();
    SaveOptions(*regist, services_.settings);
}

void TVantor::HelpfileBaseClick() {
    services_.help.contents(regist->Helpfile);
}
void TVantor::HelpClangClick() {
    services_.help.contents(regist->Clang);
}
void TVantor::HelpCerrorClick() {
    services_.help.partialKey(regist->Cerror, "");
}
void TVantor::HelpBuildtoolClick() {
    services_.help.contents(regist->Buildtool);
}
void TVantor::HelpQuarryClick() {
    services_.help.contents(regist->Quarry);
}

void TVantor::About1Click() {
    if (!dialogs_.AboutBox) return;
    dialogs_.AboutBox->updateVersion();
    dialogs_.AboutBox->exec();
}
