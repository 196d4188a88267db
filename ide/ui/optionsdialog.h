// The environment options dialog: start-up folder, status bar and output
// wrapping, the code page of the children's output, defaults for new
// projects, the four command lines, the five help files, the user's own
// message forms, and the IDE's debug switch, the check box debugModeBox,
// which is never stored and starts unchecked at every start. The edit pages
// are made from their lines (optionspages.h); each control of a stored
// setting is bound through SettingControls to the field it edits.
#pragma once

#include <QDialog>

#include "codepage.h"
#include "optionsdialog_fields.h"

class QCheckBox;
class QPushButton;
class QTabWidget;
class MessageFormsPage;

class OptionsDialog : public QDialog {
    Q_OBJECT

  public:
    // Fills the controls from the settings; they are never refilled, so
    // between openings they keep what the user typed, also after Cancel.
    // The forms' example lines are read in cp.
    OptionsDialog(QWidget* parent, const Settings& settings, common::CodePage cp);

    // The debug switch, live: it counts from the moment it is clicked,
    // whether the dialog ends with OK or Cancel.
    bool debugMode() const;
    // What OK hands back: the current settings with the controls' values
    // and the page's message forms.
    Settings chosen(const Settings& current) const;

    QTabWidget* pages = nullptr;
    MessageFormsPage* messageFormsPage = nullptr;  // "メッセージ"
    QPushButton* okButton = nullptr;
    QPushButton* cancelButton = nullptr;

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    QWidget* addPage(const OptionsPage& page);
    void setTabOrders(const std::vector<QWidget*>& editPages);

    SettingControls controls_;
    QCheckBox* debugModeBox_ = nullptr;
};
