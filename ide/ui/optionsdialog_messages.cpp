// The page of the user's message forms: the list, the edits of the chosen
// form and the live reading of the example line.
#include "optionsdialog_messages.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>
#include <tuple>

#include "formcontrols.h"
#include "messageform.h"
#include "qtext.h"

namespace {

constexpr DataWord kNewCaption{"新しい書式", "\x90\x56\x82\xb5\x82\xa2\x8f\x91\x8e\xae"};
constexpr char kNewForm[] = "%f(%l): %t %n: %m";

}  // namespace

MessageFormsPage::MessageFormsPage(QWidget* parent, common::CodePage cp)
    : QWidget(parent), cp_(cp) {
    setObjectName("messageFormsPage");
    formList = new QListWidget(this);
    formList->setObjectName("messageFormList");
    captionEdit = makeEdit(this, "messageCaptionEdit");
    formEdit = makeEdit(this, "messageFormEdit");
    exampleEdit = makeEdit(this, "messageExampleEdit");
    readingLabel = new QLabel(this);
    readingLabel->setObjectName("messageReadingLabel");
    readingLabel->setWordWrap(true);
    addButton = makeButton(this, "addMessageFormButton", "追加(&A)");
    removeButton = makeButton(this, "removeMessageFormButton", "削除(&D)");

    auto* grid = new QGridLayout(this);
    grid->setColumnStretch(1, 1);
    grid->addWidget(formList, 0, 0, 1, 2);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(addButton);
    buttons->addWidget(removeButton);
    buttons->addStretch(1);
    grid->addLayout(buttons, 0, 2);
    int row = 1;
    for (const auto& [name, caption, edit] :
         {std::tuple{"messageCaptionLabel", "名前", captionEdit},
          std::tuple{"messageFormLabel", "書式", formEdit},
          std::tuple{"messageExampleLabel", "例の行", exampleEdit}}) {
        grid->addWidget(makeLabel(this, name, caption, edit), row, 0);
        grid->addWidget(edit, row++, 1, 1, 2);
    }
    grid->addWidget(readingLabel, row, 0, 1, 3);

    connect(formList, &QListWidget::currentRowChanged, this, [this] { showChosen(); });
    for (QLineEdit* edit : {captionEdit, formEdit}) {
        connect(edit, &QLineEdit::textChanged, this, [this] { takeEdits(); });
    }
    connect(exampleEdit, &QLineEdit::textChanged, this, [this] { showReading(); });
    connect(addButton, &QPushButton::clicked, this, [this] {
        forms_.push_back({kNewCaption.in(cp_), kNewForm});
        formList->addItem(toQt(forms_.back().caption, cp_));
        formList->setCurrentRow(formList->count() - 1);
    });
    connect(removeButton, &QPushButton::clicked, this, [this] {
        const int row = formList->currentRow();
        if (row < 0) return;
        forms_.erase(forms_.begin() + row);
        delete formList->takeItem(row);
        showChosen();
    });
    showChosen();
}

void MessageFormsPage::setForms(const std::vector<UserMessageForm>& forms) {
    forms_ = forms;
    filling_ = true;
    formList->clear();
    for (const UserMessageForm& form : forms_) formList->addItem(toQt(form.caption, cp_));
    filling_ = false;
    formList->setCurrentRow(forms_.empty() ? -1 : 0);
    showChosen();
}

void MessageFormsPage::showChosen() {
    if (filling_) return;
    const int row = formList->currentRow();
    const bool chosen = row >= 0 && row < static_cast<int>(forms_.size());
    filling_ = true;
    captionEdit->setText(chosen ? toQt(forms_[row].caption, cp_) : QString());
    formEdit->setText(chosen ? toQt(forms_[row].form, cp_) : QString());
    filling_ = false;
    for (QWidget* field : {static_cast<QWidget*>(captionEdit), static_cast<QWidget*>(formEdit),
                           static_cast<QWidget*>(removeButton)}) {
        field->setEnabled(chosen);
    }
    showReading();
}

void MessageFormsPage::takeEdits() {
    const int row = formList->currentRow();
    if (filling_ || row < 0 || row >= static_cast<int>(forms_.size())) return;
    forms_[row] = {fromQt(captionEdit->text(), cp_), fromQt(formEdit->text(), cp_)};
    formList->item(row)->setText(captionEdit->text());
    showReading();
}

void MessageFormsPage::showReading() {
    if (formList->currentRow() < 0 || exampleEdit->text().isEmpty()) {
        readingLabel->clear();
        return;
    }
    readingLabel->setText(toQt(
        DescribeFormReading(fromQt(formEdit->text(), cp_), fromQt(exampleEdit->text(), cp_), cp_),
        cp_));
}
