// The main window: menus, the output window and the status bar, start-up and
// close, the build commands and Stop, the jumps from output lines to the
// editor and to help, the Reopen and Tools menus. Handlers are public so
// tests drive them directly. The class is split over files by concern:
// tvantor.cpp (layout, start and close, Edit, Options and Help menus),
// tvantor_runs.cpp, tvantor_navigation.cpp, tvantor_history.cpp,
// tvantor_tools.cpp and tvantor_project.cpp.
#pragma once

#include <QMainWindow>
#include <memory>
#include <string>

#include "codepage.h"
#include "messageline.h"
#include "runner.h"

class QAction;
class QMenu;
class QStatusBar;
class ChildProcesses;
class HelpViewer;
class OutputWindow;
class SettingsStore;
class SoundPlayer;
class TAboutBox;
class TEditTool;
class TOptionDlg;
class Tprojectsetting;
class TToolListEdit;
class UiServices;
struct TPROJ;
struct TREGIST;
struct toolopt;
struct tooloptions;

// The system around the main window; main passes the real ones, tests fakes
// for the modal boxes, the sounds and the help viewer.
struct VantorServices {
    UiServices& ui;
    SettingsStore& settings;
    ChildProcesses& processes;
    SoundPlayer& sounds;
    HelpViewer& help;
};

// The dialogs created after the main window, which its commands show.
struct VantorDialogs {
    TEditTool* EditTool = nullptr;
    TOptionDlg* OptionDlg = nullptr;
    Tprojectsetting* projectsetting = nullptr;
    TToolListEdit* ToolListEdit = nullptr;
    TAboutBox* AboutBox = nullptr;
};

class TVantor : public QMainWindow {
    Q_OBJECT

  public:
    // Creates the owned settings record, project and tool table, lays out the
    // window and runs FormCreate.
    explicit TVantor(const VantorServices& services, QWidget* parent = nullptr);
    ~TVantor() override;

    // Called by the process start once the dialogs exist.
    void setDialogs(const VantorDialogs& dialogs);

    // What the other forms work on.
    TREGIST& settings() { return *regist; }
    TPROJ& project() { return *proj; }
    tooloptions& tools() { return *toolOptions; }
    OutputWindow& output() { return *output1; }
    const VantorServices& services() const { return services_; }
    const VantorDialogs& dialogs() const { return dialogs_; }
    Tprojectsetting* projectsetting() const { return dialogs_.projectsetting; }
    common::CodePage codePage() const { return codePage_; }
    // The check box IDEdebugmode of the options dialog.
    bool debugMode() const;
    // False while the stored tools could not be read: the table is then
    // empty and must not be saved over them.
    bool toolsLoaded() const { return toolsLoaded_; }
    // The status bar's simple text.
    QString statusText() const;
    void setStatusText(const QString& text);

    // Start-up and close.
    void FormCreate();
    void FormClose();
    void UpdateTitle();
    void ShowHint(const QString& hint);
    // Wrapping of the output window and visibility of the status bar, from
    // the settings record (also after the options dialog's OK).
    void applyFoldOutput();
    void applyStatusBar();

    // File menu.
    void FileMenuClick();
    void HistoryMenuClick(QObject* sender);
    void NewProjectClick();
    void OpenProjectClick();
    void ExitProgramClick();

    // Edit menu.
    void EditMenuClick();
    void Copy1Click();
    void copyallClick();
    void SelectAllClick();
    void clearClick();
    // The next or previous message line: selected, scrolled into view and
    // opened in the editor.
    void NextMessageClick();
    void PreviousMessageClick();

    // Project menu and the build steps.
    void BuildProjectClick();
    void RebuildProjectClick();
    void CheckDependClick();
    void StopRunClick();
    void EditProjectClick();
    bool RunDepmill(bool newProject);
    RunResult RunBuildStep(const std::string& command, const std::string& name);
    void CreateOutputFolder(const std::string& makefilePath);
    // True from the start of a captured run (a build step, the generator, a
    // tool with capture) to its end.
    bool runInProgress() const { return runInProgress_; }

    // Tools menu.
    bool addmenu(QMenu* menu, const QString& caption);
    void rebuildToolsMenu();
    // Reads the stored tools into the table; false, after showing the error,
    // when a stored tool cannot be read.
    bool loadTools();
    void ToolsMenuClick(QObject* sender);

    // Options menu.
    void ProjectOptionClick();
    void IDEOptionClick();
    void ChangeFontClick();
    void ToolsEditClick();

    // Help menu.
    void HelpfileBaseClick();
    void HelpClangClick();
    void HelpCerrorClick();
    void HelpBuildtoolClick();
    void HelpQuarryClick();
    void About1Click();

    // Output window and its context menu.
    void output1Click();
    void output1DblClick();
    void jumpEditClick();
    void jumpHelpClick();
    bool SelectCurrentLine();
    // The editor at the selected text. A message line's relative file name
    // is taken from the folder make reported for that line.
    void JumpToEditor();

    // Controls, named as the items they are (also their objectNames).
    QMenu* FileMenu = nullptr;
    QAction* NewProject = nullptr;
    QAction* OpenProject = nullptr;
    QMenu* Reopen = nullptr;
    QAction* ExitProgram = nullptr;
    QMenu* EditMenu = nullptr;
    QAction* Copy1 = nullptr;
    QAction* copyall = nullptr;
    QAction* SelectAll = nullptr;
    QAction* clear = nullptr;
    QAction* NextMessage = nullptr;
    QAction* PreviousMessage = nullptr;
    QMenu* ProjectMenu = nullptr;
    QAction* BuildProject = nullptr;
    QAction* RebuildProject = nullptr;
    QAction* CheckDepend = nullptr;
    QAction* StopRun = nullptr;
    QAction* EditProject = nullptr;
    QMenu* ToolsMenu = nullptr;
    QMenu* OptionMenu = nullptr;
    QAction* ProjectOption = nullptr;
    QAction* IDEOption = nullptr;
    QAction* ChangeFont = nullptr;
    QAction* ToolsEdit = nullptr;
    QMenu* HelpMenu = nullptr;
    QAction* HelpfileBase = nullptr;
    QAction* HelpClang = nullptr;
    QAction* HelpCerror = nullptr;
    QAction* HelpBuildtool = nullptr;
    QAction* HelpQuarry = nullptr;
    QAction* About1 = nullptr;
    QMenu* PopupMenu1 = nullptr;
    QAction* jumpEdit = nullptr;
    QAction* jumpHelp = nullptr;
    OutputWindow* output1 = nullptr;
    QStatusBar* StatusBar = nullptr;

  protected:
    void closeEvent(QCloseEvent* event) override;
    bool event(QEvent* event) override;

  private:
    void createMenus();
    void createOutputMenu();
    void applyFont();
    void applyWindowPlacement();
    void openLastProject();
    bool startBuild(const std::string& command, const char* startLine, const char* name);
    // Every captured child runs through here, one at a time.
    RunResult runCaptured(const toolopt& request);
    void setRunInProgress(bool running);
    // During a run: stops it and closes the window once it has ended.
    bool closeWaitsForRun();
    void startEditor(const std::string& commandLine);
    void followOutputReading();
    void selectMessage(SearchDirection direction);
    void appendLine(const std::string& line);
    QAction* addCaptionedItem(QMenu* menu, const std::string& caption);

    VantorServices services_;
    VantorDialogs dialogs_;
    common::CodePage codePage_;
    std::unique_ptr<TREGIST> regist;
    std::unique_ptr<TPROJ> proj;
    std::unique_ptr<tooloptions> toolOptions;
    bool toolsLoaded_ = false;
    StopRequest stopRequest_;
    bool runInProgress_ = false;
    bool closeAfterRun_ = false;
    // True from new output until the caret or the selection is placed: the
    // message search then starts at the top.
    bool searchFromTop_ = true;
};
