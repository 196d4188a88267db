// The main window: menus, the output window and the status bar, start-up and
// close, the build commands and Stop, the jumps from output lines to the
// editor and to help, the Reopen and Tools menus. Handlers are public so
// tests drive them directly. The class is split over files by concern:
// mainwindow.cpp (layout, start and close, Edit, Options and Help menus),
// mainwindow_menus.cpp (the menu bar's table), mainwindow_runs.cpp, mainwindow_navigation.cpp,
// mainwindow_history.cpp, mainwindow_tools.cpp and mainwindow_project.cpp.
#pragma once

#include <QElapsedTimer>
#include <QMainWindow>
#include <QMargins>
#include <QTimer>
#include <memory>
#include <string>

#include "buildsteps.h"
#include "codepage.h"
#include "messageline.h"
#include "runner.h"

class QAction;
class QMenu;
class QStatusBar;
class AboutBox;
class ChildProcesses;
class HelpViewer;
class OptionsDialog;
class OutputFindBar;
class OutputWindow;
class ProjectDialog;
class SettingsStore;
class SoundPlayer;
class StatusLine;
class TextConversion;
class ToolEditor;
class ToolListDialog;
class UiServices;
struct Project;
struct Settings;
struct Tool;
struct ToolTable;

// The system around the main window; main passes the real ones, tests fakes
// for the modal boxes, the sounds and the help viewer.
struct MainWindowServices {
    UiServices& ui;
    SettingsStore& settings;
    ChildProcesses& processes;
    SoundPlayer& sounds;
    HelpViewer& help;
    const TextConversion& textConversion;  // of the children's output
};

// The dialogs created after the main window, which its commands show.
struct MainWindowDialogs {
    ToolEditor* toolEditor = nullptr;
    OptionsDialog* optionsDialog = nullptr;
    ProjectDialog* projectDialog = nullptr;
    ToolListDialog* toolListDialog = nullptr;
    AboutBox* aboutBox = nullptr;
};

class MainWindow : public QMainWindow {
    Q_OBJECT

  public:
    // Creates the owned settings record, project and tool table, lays out the
    // window and runs start.
    explicit MainWindow(const MainWindowServices& services, QWidget* parent = nullptr);
    ~MainWindow() override;

    // Called by the process start once the dialogs exist.
    void setDialogs(const MainWindowDialogs& dialogs);

    // What the other forms work on.
    Settings& settings() { return *settings_; }
    Project& project() { return *project_; }
    ToolTable& tools() { return *tools_; }
    OutputWindow& output() { return *outputWindow; }
    const MainWindowServices& services() const { return services_; }
    const MainWindowDialogs& dialogs() const { return dialogs_; }
    ProjectDialog* projectDialog() const { return dialogs_.projectDialog; }
    common::CodePage codePage() const { return codePage_; }
    // The options dialog's debug switch.
    bool debugMode() const;
    // False while the stored tools could not be read: the table is then
    // empty and must not be saved over them.
    bool toolsLoaded() const { return toolsLoaded_; }
    // The status bar's text and its one owner.
    QString statusText() const;
    StatusLine& status() { return *status_; }

    // Start-up and close.
    void start();
    void shutDown();
    void updateTitleAndHistory();
    // Wrapping of the output window and visibility of the status bar, from
    // the settings record (also after the options dialog's OK).
    void applyFoldOutput();
    void applyStatusBar();

    // File menu.
    void fillReopenMenu();
    void openHistoryEntry(QObject* sender);
    void createNewProject();
    void chooseAndOpenProject();
    void exitProgram();

    // Edit menu. The items' states follow the output window.
    void updateEditMenu();
    void copySelection();
    void copyAll();
    void selectAllOutput();
    void clearOutput();
    // The next or previous message line: selected, scrolled into view and
    // opened in the editor.
    void openNextMessage();
    void openPreviousMessage();
    // The find bar under the output window, opened with its text selected.
    void openFindBar();

    // Project menu and the build steps.
    void buildProject();
    void rebuildProject();
    void checkDependencies();
    void stopRun();
    void editMakefile();
    bool runDepmill(bool newProject);
    RunResult runBuildStep(const std::string& command, const std::string& name);
    void createOutputFolder(const std::string& makefilePath);
    // True from the start of a captured run (a build step, the generator, a
    // tool with capture) to its end.
    bool runInProgress() const { return runInProgress_; }

    // Tools menu.
    bool addToolItem(QMenu* menu, const QString& caption);
    void rebuildToolsMenu();
    // Reads the stored tools into the table; false, after showing the error,
    // when a stored tool cannot be read.
    bool loadTools();
    void runTool(QObject* sender);

    // Message forms: the reader of the settings' forms, built at start-up
    // and after the options dialog's OK. The forms that cannot be read are
    // reported in one message box, with notStored (the stored values that
    // could not be read, if any), and left out. The stored forms are written
    // only when they were read.
    const MessageReader& messageReader() const { return *messageReader_; }
    void useMessageForms(const std::string& notStored = {});
    bool messageFormsLoaded() const { return messageFormsLoaded_; }

    // Options menu.
    void editProjectOptions();
    // The options dialog; its OK's settings applied to the window and saved.
    void editOptions();
    void changeFont();
    void editTools();

    // Help menu.
    void showIdeHelp();
    void showLanguageHelp();
    void showErrorHelp();
    void showBuildToolHelp();
    void showQuarryHelp();
    void showAbout();

    // Output window and its context menu.
    void selectClickedLine();
    void jumpToEditorOnDoubleClick();
    void jumpToEditorFromSelection();
    void jumpToHelp();
    bool selectCurrentLine();
    // The editor at the selected text. A message line's relative file name
    // is taken from the folder make reported for that line.
    void jumpToEditor();

    // Controls, named as the items they are (also their objectNames).
    QMenu* fileMenu = nullptr;
    QAction* newProjectAction = nullptr;
    QAction* openProjectAction = nullptr;
    QMenu* reopenMenu = nullptr;
    QAction* exitAction = nullptr;
    QMenu* editMenu = nullptr;
    QAction* copyAction = nullptr;
    QAction* copyAllAction = nullptr;
    QAction* selectAllAction = nullptr;
    QAction* clearAction = nullptr;
    QAction* nextMessageAction = nullptr;
    QAction* previousMessageAction = nullptr;
    QAction* findAction = nullptr;
    QMenu* projectMenu = nullptr;
    QAction* buildAction = nullptr;
    QAction* rebuildAction = nullptr;
    QAction* checkDependenciesAction = nullptr;
    QAction* stopAction = nullptr;
    QAction* editMakefileAction = nullptr;
    QMenu* toolsMenu = nullptr;
    QMenu* optionsMenu = nullptr;
    QAction* projectOptionsAction = nullptr;
    QAction* optionsAction = nullptr;
    QAction* fontAction = nullptr;
    QAction* editToolsAction = nullptr;
    QMenu* helpMenu = nullptr;
    QAction* ideHelpAction = nullptr;
    QAction* languageHelpAction = nullptr;
    QAction* errorHelpAction = nullptr;
    QAction* buildToolHelpAction = nullptr;
    QAction* quarryHelpAction = nullptr;
    QAction* aboutAction = nullptr;
    QMenu* outputMenu = nullptr;
    QAction* jumpToEditorAction = nullptr;
    QAction* jumpToHelpAction = nullptr;
    OutputWindow* outputWindow = nullptr;
    OutputFindBar* findBar = nullptr;
    QStatusBar* statusLine = nullptr;

  protected:
    void closeEvent(QCloseEvent* event) override;
    bool event(QEvent* event) override;

  private:
    // The menu bar from its table, with the Reopen and Tools menus empty.
    void createMenus();
    void createOutputMenu();
    void applyFont();
    void applyOptions(const Settings& chosen);
    void applyWindowPlacement();
    void keepFrameOnScreen();
    void watchFrame();
    void openLastProject();
    bool readyForStep();
    bool startBuild(const std::string& command, const char* startLine, const char* name);
    // Every captured child runs through here, one at a time.
    RunResult runCaptured(const Tool& request);
    void setRunInProgress(bool running);
    // During a run: stops it and closes the window once it has ended.
    bool closeWaitsForRun();
    void startEditor(const std::string& commandLine);
    void followOutputReading();
    void selectMessage(SearchDirection direction);
    // A line the IDE writes itself.
    void appendLine(const std::string& line, LineKind kind = LineKind::Ide);
    OutputLineSink outputSink();  // appendLine, for the build-step helpers
    // The line of the window's line at the selection start, when the whole
    // of it is selected and it is a message.
    const MessageReading* selectedMessage();
    QAction* addCaptionedItem(QMenu* menu, const std::string& caption);

    MainWindowServices services_;
    std::unique_ptr<StatusLine> status_;
    MainWindowDialogs dialogs_;
    common::CodePage codePage_;
    std::unique_ptr<Settings> settings_;
    std::unique_ptr<Project> project_;
    std::unique_ptr<ToolTable> tools_;
    bool toolsLoaded_ = false;
    // The frame the window's placement was last fitted with: none until the
    // window manager has framed the window.
    QMargins fittedFrame_;
    // Looks for the frame for a while after the window is shown.
    QTimer frameWatch_;
    QElapsedTimer sinceShown_;
    bool messageFormsLoaded_ = false;
    // Built-in forms and the user's, rebuilt when the user's change.
    std::unique_ptr<MessageReader> messageReader_;
    StopRequest stopRequest_;
    bool runInProgress_ = false;
    bool closeAfterRun_ = false;
    // True from new output until the caret or the selection is placed: the
    // message search then starts at the top.
    bool searchFromTop_ = true;
};
