// The tool editor: edits the six fields of one tool of the Tools menu. The
// tool list dialog fills it, shows it modally and, after OK, reads it back.
#pragma once

#include <QDialog>

#include "toolopt.h"

class QCheckBox;
class QLineEdit;
class QPushButton;
class TVantor;
class UiServices;

class TEditTool : public QDialog {
    Q_OBJECT

  public:
    explicit TEditTool(TVantor* main);

    // The controls from a tool, and a tool from the controls.
    void setTool(const toolopt& tool);
    toolopt tool() const;

    // A lone "-" title without a program gets the separator program; then
    // closes with OK only when title and program are given, else says so.
    void OKBtnClick();
    void CancelBtnClick();

    QLineEdit* editTitle = nullptr;
    QLineEdit* editCommand = nullptr;
    QLineEdit* editFolder = nullptr;
    QLineEdit* editParameter = nullptr;
    QCheckBox* isConsolemode = nullptr;
    QCheckBox* isIconed = nullptr;
    QPushButton* OKBtn = nullptr;
    QPushButton* CancelBtn = nullptr;

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    UiServices& ui_;
};
