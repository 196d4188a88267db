// The main window: layout and menus, start-up and close, the Edit, Options
// and Help menus. The other commands live beside it in mainwindow_*.cpp.
#include "mainwindow.h"

#include <QAction>
#include <QCloseEvent>
#include <QDir>
#include <QGuiApplication>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QVBoxLayout>
#include <QWindow>
#include <climits>
#include <vector>

#include "aboutbox.h"
#include "helpviewer.h"
#include "mainwindowrules.h"
#include "optionsdialog.h"
#include "outputfindbar.h"
#include "outputwindow.h"
#include "project.h"
#include "qtext.h"
#include "settings.h"
#include "soundplayer.h"
#include "statusline.h"
#include "tool.h"
#include "uiservices.h"

namespace {

constexpr char kCaption[] = "Vantor";

// The design size of the client area, before a stored placement applies.
constexpr int kDesignClientWidth = 612;
constexpr int kDesignClientHeight = 154;

// A window manager may frame the window some time after it is shown, and
// tells the window of it by no event: from the show the frame is looked at
// this often, until it is known and a second has passed, ten at most.
constexpr int kFrameWatchIntervalMs = 50;
constexpr qint64 kFrameWatchMinimumMs = 1000;
constexpr qint64 kFrameWatchLimitMs = 10000;

int clampToInt(long value) {
    if (value < INT_MIN) return INT_MIN;
    if (value > INT_MAX) return INT_MAX;
    return static_cast<int>(value);
}

std::vector<WindowPlacement> availableAreas() {
    std::vector<WindowPlacement> areas;
    for (const QScreen* screen : QGuiApplication::screens()) {
        const QRect area = screen->availableGeometry();
        areas.push_back({area.x(), area.y(), area.width(), area.height()});
    }
    return areas;
}

// The window's inner area moved and sized so that its frame lies on a screen.
QRect fittedGeometry(const WindowPlacement& placement, const QMargins& frame) {
    const WindowPlacement fitted = FitPlacementOnScreens(
        placement, availableAreas(), {frame.left(), frame.top(), frame.right(), frame.bottom()});
    return {clampToInt(fitted.left), clampToInt(fitted.top), clampToInt(fitted.width),
            clampToInt(fitted.height)};
}

}  // namespace

MainWindow::MainWindow(const MainWindowServices& services, QWidget* parent)
    : QMainWindow(parent),
      services_(services),
      codePage_(common::activeCodePage()),
      settings_(std::make_unique<Settings>()),
      project_(std::make_unique<Project>()),
      tools_(std::make_unique<ToolTable>()),
      messageReader_(std::make_unique<MessageReader>(codePage_)) {
    setObjectName("Vantor");
    setWindowTitle(kCaption);

    outputWindow = new OutputWindow(this);
    outputWindow->setObjectName("outputWindow");
    outputWindow->setFont(QFont("Monospace", 10));
    findBar = new OutputFindBar(outputWindow, this);
    findBar->setObjectName("findBar");
    findBar->hide();
    connect(findBar, &OutputFindBar::notFound, this, [this] { status_->showNotFound(); });
    auto* central = new QWidget(this);
    auto* column = new QVBoxLayout(central);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(outputWindow, 1);
    column->addWidget(findBar);
    setCentralWidget(central);
    connect(outputWindow, &OutputWindow::clicked, this, &MainWindow::selectClickedLine);
    connect(outputWindow, &OutputWindow::doubleClicked, this,
            &MainWindow::jumpToEditorOnDoubleClick);
    followOutputReading();

    statusLine = statusBar();
    statusLine->setObjectName("statusLine");
    statusLine->setSizeGripEnabled(false);
    status_ = std::make_unique<StatusLine>(*statusLine);

    createMenus();
    createOutputMenu();
    resize(kDesignClientWidth,
           kDesignClientHeight + menuBar()->sizeHint().height() + statusLine->sizeHint().height());
    outputWindow->setFocus();
    frameWatch_.setInterval(kFrameWatchIntervalMs);
    connect(&frameWatch_, &QTimer::timeout, this, &MainWindow::watchFrame);

    start();
}

MainWindow::~MainWindow() = default;

void MainWindow::setDialogs(const MainWindowDialogs& dialogs) {
    dialogs_ = dialogs;
}

bool MainWindow::debugMode() const {
    return dialogs_.optionsDialog && dialogs_.optionsDialog->debugMode();
}

QString MainWindow::statusText() const {
    return status_->text();
}

// ---------------------------------------------------------------- layout

// The output window's context menu; its F1 works wherever the output
// window has the focus.
void MainWindow::createOutputMenu() {
    outputMenu = new QMenu(this);
    outputMenu->setObjectName("outputMenu");
    jumpToEditorAction =
        outputMenu->addAction("エディタ(&E)", this, &MainWindow::jumpToEditorFromSelection);
    jumpToEditorAction->setObjectName("jumpToEditorAction");
    jumpToEditorAction->setStatusTip("ソースファイルの表示");
    jumpToHelpAction = outputMenu->addAction("ヘルプ(&H)", this, &MainWindow::jumpToHelp);
    jumpToHelpAction->setObjectName("jumpToHelpAction");
    jumpToHelpAction->setStatusTip("エラーヘルプの表示");
    jumpToHelpAction->setShortcut(QKeySequence("F1"));
    jumpToHelpAction->setShortcutContext(Qt::WidgetShortcut);
    outputWindow->addAction(jumpToHelpAction);
    outputWindow->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(outputWindow, &QWidget::customContextMenuRequested, this, [this](const QPoint& pos) {
        outputMenu->exec(outputWindow->viewport()->mapToGlobal(pos));
    });
}

// An item whose caption is a user's text: "&" shows as itself, and the text
// as given is kept for the handler to compare.
QAction* MainWindow::addCaptionedItem(QMenu* menu, const std::string& caption) {
    const QString text = toQt(caption);
    QString shown = text;
    shown.replace('&', "&&");
    QAction* action = menu->addAction(shown);
    action->setData(text);
    return action;
}

// ---------------------------------------------------------------- start and close

void MainWindow::start() {
    // Menu hints reach the status line through event() from the start. A string
    // setting stored with another type is reported and takes its default.
    const LoadErrors errors = LoadSettings(*settings_, services_.settings);
    if (!errors.empty()) services_.ui.showMessage(errors, kCaption, MessageIcon::Stop);
    applyFoldOutput();
    applyStatusBar();
    applyFont();
    applyWindowPlacement();
    openLastProject();
    setWindowTitle(toQt(WindowTitle(*project_)));
    if (!project_->projectName.empty()) QDir::setCurrent(pathToQt(project_->projectFolder));
    if (loadTools() && tools_->count >= 1) rebuildToolsMenu();
    LoadErrors formErrors;
    messageFormsLoaded_ =
        LoadMessageForms(settings_->messageForms, services_.settings, &formErrors);
    useMessageForms(formErrors);
    services_.sounds.play("Open", SoundFallback::None, SoundWait::No);
}

void MainWindow::useMessageForms(const std::string& notStored) {
    std::vector<std::string> unreadable;
    if (!notStored.empty()) unreadable.push_back(notStored);
    messageReader_ =
        std::make_unique<MessageReader>(codePage_, settings_->messageForms, &unreadable);
    if (unreadable.empty()) return;
    std::string text = "次のメッセージ書式は読めないため使いません。";
    for (const std::string& form : unreadable) text += "\n" + form;
    services_.ui.showMessage(text, kCaption, MessageIcon::Stop);
}

void MainWindow::applyFoldOutput() {
    outputWindow->setWrapping(settings_->foldOutput);
}

void MainWindow::applyStatusBar() {
    statusLine->setVisible(settings_->useStatusBar);
}

void MainWindow::applyFont() {
    QFont font(toQt(settings_->fontName));
    font.setStyleHint(QFont::TypeWriter);  // a name this system lacks still gets a fixed pitch
    if (settings_->fontSize > 0) font.setPointSize(settings_->fontSize);
    outputWindow->setFont(font);
}

// "Window" holds the geometry without the frame, written at close the same
// way, so that start and close never move the window by its frame. Before
// the window is shown its frame is not known: the placement is fitted as if
// it had none, and again once the window manager has framed it.
void MainWindow::applyWindowPlacement() {
    if (settings_->windowPlacement.empty()) return;
    setGeometry(fittedGeometry(ParseWindowPlacement(settings_->windowPlacement), fittedFrame_));
}

// Once the frame is known, or whenever it changes, the frame's outer bounds
// are fitted onto the screen, so that the title bar can always be reached.
// A window placed within the screen stays where it is: moving the window by
// hand changes no frame and is left alone. The frame is asked of the window
// system each time: the widget's own frame geometry keeps what it had at the
// last move or resize.
void MainWindow::keepFrameOnScreen() {
    if (!isVisible() || !windowHandle() ||
        (windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen))) {
        return;
    }
    const QRect inner = geometry();
    const QMargins frame = windowHandle()->frameMargins();
    if (frame == fittedFrame_) return;
    fittedFrame_ = frame;
    const QRect fitted =
        fittedGeometry({inner.x(), inner.y(), inner.width(), inner.height()}, frame);
    if (fitted != inner) setGeometry(fitted);
}

void MainWindow::watchFrame() {
    keepFrameOnScreen();
    const qint64 shown = sinceShown_.elapsed();
    if ((shown >= kFrameWatchMinimumMs && !fittedFrame_.isNull()) || shown >= kFrameWatchLimitMs) {
        frameWatch_.stop();
    }
}

void MainWindow::openLastProject() {
    const std::string& makefile = settings_->history[0].projectFile;
    if (makefile.empty() || !LoadProject(*project_, makefile, services_.ui, codePage_)) {
        project_->projectName.clear();
    }
}

void MainWindow::updateTitleAndHistory() {
    setWindowTitle(toQt(WindowTitle(*project_)));
    if (project_->projectName.empty()) return;
    AddHistory(*settings_, project_->projectName, project_->projectFile, codePage_);
}

bool MainWindow::event(QEvent* event) {
    if (event->type() == QEvent::StatusTip) {
        status_->showHint(static_cast<QStatusTipEvent*>(event)->tip());
        return true;
    }
    const bool handled = QMainWindow::event(event);
    // The window manager frames the window once it is shown, and a frame that
    // changes later comes with a move or a resize.
    const QEvent::Type type = event->type();
    if (type == QEvent::Show) {
        sinceShown_.start();
        frameWatch_.start();
    } else if (type == QEvent::Hide) {
        frameWatch_.stop();
    }
    if (type == QEvent::Show || type == QEvent::Move || type == QEvent::Resize) keepFrameOnScreen();
    return handled;
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (closeWaitsForRun()) {
        event->ignore();
        return;
    }
    if (settings_) shutDown();
    event->accept();
}

void MainWindow::shutDown() {
    for (const std::string* file :
         {&settings_->ideHelpFile, &settings_->languageHelpFile, &settings_->errorHelpFile,
          &settings_->buildToolHelpFile, &settings_->quarryHelpFile}) {
        services_.help.quit(*file);
    }
    const QRect bounds = geometry();
    settings_->windowPlacement =
        FormatWindowPlacement({bounds.x(), bounds.y(), bounds.width(), bounds.height()});
    SaveAtClose(*settings_, services_.settings);
    settings_.reset();
    project_.reset();
    tools_.reset();
    services_.sounds.play("Close", SoundFallback::None, SoundWait::UntilEnd);
}

void MainWindow::exitProgram() {
    close();
}

// ---------------------------------------------------------------- Edit menu

// Copy needs a selection; the other items act on any output, even none.
void MainWindow::updateEditMenu() {
    copyAction->setEnabled(outputWindow->selectionLength() > 0);
}

void MainWindow::copySelection() {
    const QString text =
        outputWindow->selectionLength() > 0 ? outputWindow->selectedText() : outputWindow->text();
    services_.ui.setClipboardText(fromQt(text));
}

void MainWindow::copyAll() {
    selectAllOutput();
    copySelection();
}

void MainWindow::selectAllOutput() {
    outputWindow->selectAllText();
}

void MainWindow::clearOutput() {
    outputWindow->erase();
}

void MainWindow::openFindBar() {
    findBar->open();
}

// ---------------------------------------------------------------- Options and Help

void MainWindow::editOptions() {
    OptionsDialog* dialog = dialogs_.optionsDialog;
    if (dialog != nullptr && dialog->exec() == QDialog::Accepted)
        applyOptions(dialog->chosen(*settings_));
}

void MainWindow::applyOptions(const Settings& chosen) {
    const bool formsChanged = chosen.messageForms != settings_->messageForms;
    *settings_ = chosen;
    applyFoldOutput();
    applyStatusBar();
    SaveOptions(*settings_, services_.settings);
    if (formsChanged) {
        // Forms that could not be read at start-up are not written over.
        if (messageFormsLoaded_) SaveMessageForms(settings_->messageForms, services_.settings);
        useMessageForms();
    }
}

void MainWindow::changeFont() {
    const QFont current = outputWindow->font();
    const auto chosen = services_.ui.chooseFont({fromQt(current.family()), current.pointSize()});
    if (!chosen) return;
    settings_->fontName = chosen->name;
    settings_->fontSize = chosen->size;
    applyFont();
    SaveOptions(*settings_, services_.settings);
}

void MainWindow::showIdeHelp() {
    services_.help.contents(settings_->ideHelpFile);
}
void MainWindow::showLanguageHelp() {
    services_.help.contents(settings_->languageHelpFile);
}
void MainWindow::showErrorHelp() {
    services_.help.partialKey(settings_->errorHelpFile, "");
}
void MainWindow::showBuildToolHelp() {
    services_.help.contents(settings_->buildToolHelpFile);
}
void MainWindow::showQuarryHelp() {
    services_.help.contents(settings_->quarryHelpFile);
}

void MainWindow::showAbout() {
    if (!dialogs_.aboutBox) return;
    dialogs_.aboutBox->updateVersion();
    dialogs_.aboutBox->exec();
}
