// The output window's find bar.
#include "outputfindbar.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QShortcut>

#include "outputwindow.h"

OutputFindBar::OutputFindBar(OutputWindow* output, QWidget* parent)
    : QWidget(parent), output_(output) {
    findText = new QLineEdit(this);
    findText->setObjectName("findText");
    matchCaseBox = new QCheckBox("大文字と小文字を区別する", this);
    matchCaseBox->setObjectName("matchCaseBox");
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(2, 2, 2, 2);
    row->addWidget(findText, 1);
    row->addWidget(matchCaseBox);
    connect(findText, &QLineEdit::returnPressed, this, &OutputFindBar::findNext);
    // F3 works wherever the focus is in the main window while the bar shows.
    const auto shortcut = [this](const char* keys, Qt::ShortcutContext context, auto handler) {
        auto* key = new QShortcut(QKeySequence(keys), this);
        key->setContext(context);
        connect(key, &QShortcut::activated, this, handler);
    };
    shortcut("F3", Qt::WindowShortcut, &OutputFindBar::findNext);
    shortcut("Shift+F3", Qt::WindowShortcut, &OutputFindBar::findPrevious);
    shortcut("Escape", Qt::WidgetWithChildrenShortcut, &OutputFindBar::close);
}

void OutputFindBar::open() {
    show();
    findText->setFocus();
    findText->selectAll();
}

void OutputFindBar::findNext() {
    find(true);
}

void OutputFindBar::findPrevious() {
    find(false);
}

void OutputFindBar::find(bool forward) {
    const Qt::CaseSensitivity sensitivity =
        matchCaseBox->isChecked() ? Qt::CaseSensitive : Qt::CaseInsensitive;
    if (!output_->find(findText->text(), forward, sensitivity)) emit notFound();
}

void OutputFindBar::close() {
    hide();
    output_->setFocus();
}
