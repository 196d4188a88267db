// The environment options dialog: start-up folder, status bar and output
// wrapping, the code page of the children's output, defaults for new
// projects, the four command lines, the five help files, the user's own
// message forms, and the IDE's
// debug switch, the check box debugModeBox, which is never stored and starts
// unchecked at every start. Every other control of the first four pages is
// bound through SettingControls to the field of Settings it edits.
#pragma once

#include <QDialog>
#include <initializer_list>
#include <string>

#include "optionsdialog_fields.h"

class QCheckBox;
class QComboBox;
class QGridLayout;
class QLineEdit;
class QPushButton;
class QTabWidget;
class MainWindow;
class MessageFormsPage;

class OptionsDialog : public QDialog {
    Q_OBJECT

  public:
    // Fills the controls from the main window's settings, which it has
    // loaded by then; they are never refilled, so between openings they keep
    // what the user typed, also after Cancel.
    explicit OptionsDialog(MainWindow& main);

    void fillFromSettings();
    // Copies the controls into the settings, applies wrapping, the status
    // bar and the message forms to the main window, saves the settings and
    // the forms and closes with OK.
    void confirm();

    QTabWidget* pages = nullptr;
    QWidget* settingsPage = nullptr;
    QWidget* projectDefaultsPage = nullptr;
    QWidget* commandsPage = nullptr;
    QWidget* helpFilesPage = nullptr;
    MessageFormsPage* messageFormsPage = nullptr;  // "メッセージ"

    QLineEdit* startFolderEdit = nullptr;
    QCheckBox* statusBarBox = nullptr;
    QCheckBox* wrapOutputBox = nullptr;
    QCheckBox* debugModeBox = nullptr;
    QComboBox* outputEncodingList = nullptr;  // items in OutputEncoding's order

    QComboBox* memoryModelList = nullptr;
    QLineEdit* objectFolderEdit = nullptr;

    QLineEdit* buildCommandEdit = nullptr;
    QLineEdit* rebuildCommandEdit = nullptr;
    QLineEdit* depmillCommandEdit = nullptr;
    QLineEdit* editorCommandEdit = nullptr;

    QLineEdit* ideHelpFileEdit = nullptr;
    QLineEdit* languageHelpFileEdit = nullptr;
    QLineEdit* errorHelpFileEdit = nullptr;
    QLineEdit* buildToolHelpFileEdit = nullptr;
    QLineEdit* quarryHelpFileEdit = nullptr;

    QPushButton* okButton = nullptr;
    QPushButton* cancelButton = nullptr;

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    // An edit of a stored text with its label in front, named prefix +
    // "Edit" and prefix + "Label".
    struct EditRow {
        const char* prefix;
        const char* caption;
        QLineEdit* OptionsDialog::*control;
        std::string Settings::*field;
    };
    // The edits in rows below those the page has.
    void addEdits(QWidget* page, QGridLayout* grid, std::initializer_list<EditRow> rows);
    // A tab page of edits alone.
    QWidget* editPage(const char* name, const char* caption, std::initializer_list<EditRow> rows);
    void createSettingsTab();
    void createProjectTab();
    void createCommandsTab();
    void createHelpTab();
    void setTabOrders();

    MainWindow& main_;
    SettingControls controls_;
};
