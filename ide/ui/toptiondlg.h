// The environment options dialog: start-up folder, status bar and output
// wrapping, the code page of the children's output, defaults for new
// projects, the four command lines and the five help files, and the IDE's
// debug switch, the check box IDEdebugmode, which is never stored and starts
// unchecked at every start.
#pragma once

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QTabWidget;
class TVantor;

class TOptionDlg : public QDialog {
    Q_OBJECT

  public:
    // Fills the controls from the main window's settings, which it has
    // loaded by then; they are never refilled, so between openings they keep
    // what the user typed, also after Cancel.
    explicit TOptionDlg(TVantor& main);

    void FormCreate();
    // Copies the controls into the settings, applies wrapping and the status
    // bar to the main window, saves the settings and closes with OK.
    void OKBtnClick();

    QTabWidget* PageControl1 = nullptr;
    QWidget* TabSheet1 = nullptr;
    QWidget* TabSheet2 = nullptr;
    QWidget* TabSheet3 = nullptr;
    QWidget* TabSheet4 = nullptr;

    QLineEdit* defaultProjectfolder = nullptr;
    QCheckBox* IDEuseStatusBar = nullptr;
    QCheckBox* IDEoutputFold = nullptr;
    QCheckBox* IDEdebugmode = nullptr;
    QComboBox* IDEoutputEncoding = nullptr;  // items in OutputEncoding's order

    QComboBox* targetmemorymodel = nullptr;
    QLineEdit* ObjectFolder = nullptr;

    QLineEdit* cmdBuild = nullptr;
    QLineEdit* cmdRebuild = nullptr;
    QLineEdit* cmdDepmill = nullptr;
    QLineEdit* cmdEdit = nullptr;

    QLineEdit* HelpfileBase = nullptr;
    QLineEdit* HelpfileClang = nullptr;
    QLineEdit* HelpfileCerror = nullptr;
    QLineEdit* HelpfileBuildtool = nullptr;
    QLineEdit* HelpfileQuarry = nullptr;

    QPushButton* OKBtn = nullptr;
    QPushButton* CancelBtn = nullptr;

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void createSettingsTab();
    void createProjectTab();
    void createCommandsTab();
    void createHelpTab();
    void setTabOrders();

    TVantor& main_;
};
