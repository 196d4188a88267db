// The environment options dialog. It carries the IDE's debug switch, the
// check box IDEdebugmode, which is never stored and starts unchecked.
#pragma once

#include <QDialog>

class QCheckBox;
class TVantor;

class TOptionDlg : public QDialog {
    Q_OBJECT

  public:
    explicit TOptionDlg(TVantor& main);

    QCheckBox* IDEdebugmode = nullptr;

  private:
    TVantor& main_;
};
