// The tool list dialog: shows the tools of the Tools menu by name and lets
// the user edit, add, delete and reorder them through the tool editor.
#pragma once

#include <QDialog>

class TEditTool;
class TVantor;

class TToolListEdit : public QDialog {
    Q_OBJECT

  public:
    TToolListEdit(TVantor& main, TEditTool& editor);

  private:
    TVantor& main_;
    TEditTool& editor_;
};
