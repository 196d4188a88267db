// The tool editor: four labelled edits, two check boxes, OK and Cancel.
#include "tedittool.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "formcontrols.h"
#include "qtext.h"
#include "tooltable.h"
#include "tvantor.h"
#include "uiservices.h"

namespace {

constexpr int kClientWidth = 392;
constexpr int kClientHeight = 199;
constexpr char kRequiredMessage[] = "タイトルとプログラムは必須です。";

}  // namespace

TEditTool::TEditTool(TVantor* main)
    : QDialog(main, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      ui_(main->services().ui) {
    setObjectName("EditTool");
    setWindowTitle(toQt("ツールメニューの設定"));
    setFont(dialogFont());
    setFixedSize(kClientWidth, kClientHeight);

    editTitle = makeEdit(this, "editTitle");
    editCommand = makeEdit(this, "editCommand");
    editFolder = makeEdit(this, "editFolder");
    editParameter = makeEdit(this, "editParameter");
    isConsolemode = makeCheckBox(this, "isConsolemode", "出力ウインドウに標準出力を表示する");
    isIconed = makeCheckBox(this, "isIconed", "アイコン化して実行");
    OKBtn = makeButton(this, "OKBtn", "OK");
    OKBtn->setDefault(true);
    CancelBtn = makeButton(this, "CancelBtn", "キャンセル");

    auto* grid = new QGridLayout;
    const struct {
        const char* name;
        const char* caption;
        QLineEdit* edit;
    } rows[] = {{"Label1", "タイトル", editTitle},
                {"Label2", "プログラム", editCommand},
                {"Label3", "フォルダ", editFolder},
                {"Label4", "パラメータ", editParameter}};
    for (const auto& row : rows) {
        const int at = grid->rowCount();
        grid->addWidget(makeLabel(this, row.name, row.caption, row.edit), at, 0);
        grid->addWidget(row.edit, at, 1);
    }
    grid->addWidget(isConsolemode, grid->rowCount(), 0, 1, 2);
    grid->addWidget(isIconed, grid->rowCount(), 0, 1, 2);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(grid->rowCount(), 1);

    auto* buttons = new QVBoxLayout;
    buttons->addWidget(OKBtn);
    buttons->addWidget(CancelBtn);
    buttons->addStretch(1);

    auto* layout = new QHBoxLayout(this);
    layout->addLayout(grid, 1);
    layout->addLayout(buttons);

    // OK first, then the rows from top to bottom.
    QWidget::setTabOrder(OKBtn, CancelBtn);
    QWidget::setTabOrder(CancelBtn, editTitle);
    QWidget::setTabOrder(editTitle, editCommand);
    QWidget::setTabOrder(editCommand, editFolder);
    QWidget::setTabOrder(editFolder, editParameter);
    QWidget::setTabOrder(editParameter, isConsolemode);
    QWidget::setTabOrder(isConsolemode, isIconed);

    connect(OKBtn, &QPushButton::clicked, this, &TEditTool::OKBtnClick);
    connect(CancelBtn, &QPushButton::clicked, this, &TEditTool::CancelBtnClick);
}

void TEditTool::showEvent(QShowEvent* event) {
    centreOnScreen(*this);
    QDialog::showEvent(event);
}

void TEditTool::setTool(const toolopt& tool) {
    editTitle->setText(toQt(tool.Name));
    editCommand->setText(toQt(tool.Command));
    editParameter->setText(toQt(tool.Arguments));
    editFolder->setText(toQt(tool.Folder));
    isConsolemode->setChecked(tool.OutputRedirect);
    isIconed->setChecked(tool.Iconed);
}

toolopt TEditTool::tool() const {
    return {fromQt(editTitle->text()),  fromQt(editCommand->text()), fromQt(editParameter->text()),
            fromQt(editFolder->text()), isConsolemode->isChecked(),  isIconed->isChecked()};
}

void TEditTool::OKBtnClick() {
    std::string command = fromQt(editCommand->text());
    const bool complete = CompleteToolEntry(fromQt(editTitle->text()), command);
    editCommand->setText(toQt(command));
    if (!complete) {
        ui_.showMessage(kRequiredMessage, "Vantor", MessageIcon::None);
        return;
    }
    accept();
}

void TEditTool::CancelBtnClick() {
    reject();
}
