// The tool editor: four labelled edits, two check boxes, OK and Cancel.
#include "tooleditor.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "formcontrols.h"
#include "qtext.h"
#include "tooltable.h"
#include "uiservices.h"

namespace {

constexpr int kClientWidth = 392;
constexpr int kClientHeight = 199;
constexpr char kRequiredMessage[] = "タイトルとプログラムは必須です。";

}  // namespace

ToolEditor::ToolEditor(QWidget* parent, UiServices& ui)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint), ui_(ui) {
    setObjectName("toolEditor");
    setWindowTitle(wordsToQt("ツールメニューの設定"));
    setFont(dialogFont());
    setFixedSize(kClientWidth, kClientHeight);

    titleEdit = makeEdit(this, "titleEdit");
    programEdit = makeEdit(this, "programEdit");
    folderEdit = makeEdit(this, "folderEdit");
    argumentsEdit = makeEdit(this, "argumentsEdit");
    captureOutputBox = makeCheckBox(this, "captureOutputBox", "出力ウインドウに標準出力を表示する");
    minimisedBox = makeCheckBox(this, "minimisedBox", "アイコン化して実行");
    okButton = makeButton(this, "okButton", "OK");
    okButton->setDefault(true);
    cancelButton = makeButton(this, "cancelButton", "キャンセル");

    auto* grid = new QGridLayout;
    const struct {
        const char* name;
        const char* caption;
        QLineEdit* edit;
    } rows[] = {{"titleLabel", "タイトル", titleEdit},
                {"programLabel", "プログラム", programEdit},
                {"folderLabel", "フォルダ", folderEdit},
                {"argumentsLabel", "パラメータ", argumentsEdit}};
    for (const auto& row : rows) {
        const int at = grid->rowCount();
        grid->addWidget(makeLabel(this, row.name, row.caption, row.edit), at, 0);
        grid->addWidget(row.edit, at, 1);
    }
    grid->addWidget(captureOutputBox, grid->rowCount(), 0, 1, 2);
    grid->addWidget(minimisedBox, grid->rowCount(), 0, 1, 2);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(grid->rowCount(), 1);

    auto* buttons = new QVBoxLayout;
    buttons->addWidget(okButton);
    buttons->addWidget(cancelButton);
    buttons->addStretch(1);

    auto* layout = new QHBoxLayout(this);
    layout->addLayout(grid, 1);
    layout->addLayout(buttons);

    // OK first, then the rows from top to bottom.
    QWidget::setTabOrder(okButton, cancelButton);
    QWidget::setTabOrder(cancelButton, titleEdit);
    QWidget::setTabOrder(titleEdit, programEdit);
    QWidget::setTabOrder(programEdit, folderEdit);
    QWidget::setTabOrder(folderEdit, argumentsEdit);
    QWidget::setTabOrder(argumentsEdit, captureOutputBox);
    QWidget::setTabOrder(captureOutputBox, minimisedBox);

    connect(okButton, &QPushButton::clicked, this, &ToolEditor::confirm);
    connect(cancelButton, &QPushButton::clicked, this, &ToolEditor::cancel);
}

void ToolEditor::showEvent(QShowEvent* event) {
    centreOnScreen(*this);
    QDialog::showEvent(event);
}

void ToolEditor::setTool(const Tool& tool) {
    titleEdit->setText(toQt(tool.name));
    programEdit->setText(toQt(tool.command));
    argumentsEdit->setText(toQt(tool.arguments));
    folderEdit->setText(toQt(tool.folder));
    captureOutputBox->setChecked(tool.captureOutput);
    minimisedBox->setChecked(tool.minimised);
}

Tool ToolEditor::tool() const {
    return {fromQt(titleEdit->text()),     fromQt(programEdit->text()),
            fromQt(argumentsEdit->text()), fromQt(folderEdit->text()),
            captureOutputBox->isChecked(), minimisedBox->isChecked()};
}

void ToolEditor::confirm() {
    std::string command = fromQt(programEdit->text());
    const bool complete = CompleteToolEntry(fromQt(titleEdit->text()), command);
    programEdit->setText(toQt(command));
    if (!complete) {
        ui_.showMessage(kRequiredMessage, "Vantor", MessageIcon::None);
        return;
    }
    accept();
}

void ToolEditor::cancel() {
    reject();
}
