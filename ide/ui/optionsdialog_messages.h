// The options dialog's page "メッセージ": the user's own message forms, tried
// before the built-in ones, each a caption and a form, with an example line
// that the page reads back at once by the form being edited.
#pragma once

#include <QWidget>
#include <string>
#include <vector>

#include "codepage.h"
#include "messageline.h"

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

class MessageFormsPage : public QWidget {
    Q_OBJECT

  public:
    MessageFormsPage(QWidget* parent, common::CodePage cp);

    void setForms(const std::vector<UserMessageForm>& forms);
    const std::vector<UserMessageForm>& forms() const { return forms_; }

    QListWidget* formList = nullptr;  // the captions, in the order tried
    QLineEdit* captionEdit = nullptr;
    QLineEdit* formEdit = nullptr;
    QLineEdit* exampleEdit = nullptr;
    QLabel* readingLabel = nullptr;  // what the form reads in the example
    QPushButton* addButton = nullptr;
    QPushButton* removeButton = nullptr;

  private:
    void showChosen();
    void takeEdits();
    void showReading();

    common::CodePage cp_;
    std::vector<UserMessageForm> forms_;
    bool filling_ = false;  // the edits are being filled, not typed in
};
