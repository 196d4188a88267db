// The tool editor: edits the six fields of one tool of the Tools menu. The
// tool list dialog fills it, shows it modally and, after OK, reads it back.
#pragma once

#include <QDialog>

#include "tool.h"

class QCheckBox;
class QLineEdit;
class QPushButton;
class UiServices;

class ToolEditor : public QDialog {
    Q_OBJECT

  public:
    // A tool without a title or a program is refused through ui.
    ToolEditor(QWidget* parent, UiServices& ui);

    // The controls from a tool, and a tool from the controls.
    void setTool(const Tool& tool);
    Tool tool() const;

    // A lone "-" title without a program gets the separator program; then
    // closes with OK only when title and program are given, else says so.
    void confirm();
    void cancel();

    QLineEdit* titleEdit = nullptr;
    QLineEdit* programEdit = nullptr;
    QLineEdit* folderEdit = nullptr;
    QLineEdit* argumentsEdit = nullptr;
    QCheckBox* captureOutputBox = nullptr;
    QCheckBox* minimisedBox = nullptr;
    QPushButton* okButton = nullptr;
    QPushButton* cancelButton = nullptr;

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    UiServices& ui_;
};
