// The environment options dialog: caption and the debug switch.
#include "toptiondlg.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QVBoxLayout>

#include "tvantor.h"

TOptionDlg::TOptionDlg(TVantor& main) : QDialog(&main), main_(main) {
    setObjectName("OptionDlg");
    setWindowTitle("Vantorの環境設定");
    auto* layout = new QVBoxLayout(this);
    IDEdebugmode = new QCheckBox("IDE自体をデバッグモードで動かす", this);
    IDEdebugmode->setObjectName("IDEdebugmode");
    layout->addWidget(IDEdebugmode);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}
