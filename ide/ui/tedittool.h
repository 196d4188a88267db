// The tool editor: edits the six fields of one tool of the Tools menu.
#pragma once

#include <QDialog>

class TEditTool : public QDialog {
    Q_OBJECT

  public:
    explicit TEditTool(QWidget* parent);
};
