// The dialogs' font, centring and control factories.
#include "formcontrols.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>

#include "qtext.h"

QFont dialogFont() {
    QFont font(QStringLiteral("ＭＳ Ｐゴシック"));
    font.setPixelSize(12);
    return font;
}

void centreOnScreen(QWidget& window) {
    if (const QScreen* shown = window.screen()) {
        window.move(shown->availableGeometry().center() - window.rect().center());
    }
}

QLineEdit* makeEdit(QWidget* parent, const char* name) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(name);
    return edit;
}

QCheckBox* makeCheckBox(QWidget* parent, const char* name, const char* caption) {
    auto* box = new QCheckBox(wordsToQt(caption), parent);
    box->setObjectName(name);
    return box;
}

QPushButton* makeButton(QWidget* parent, const char* name, const char* caption) {
    auto* button = new QPushButton(wordsToQt(caption), parent);
    button->setObjectName(name);
    button->setAutoDefault(false);
    return button;
}

QLabel* makeLabel(QWidget* parent, const char* name, const char* caption, QWidget* buddy) {
    auto* label = new QLabel(wordsToQt(caption), parent);
    label->setObjectName(name);
    label->setBuddy(buddy);
    return label;
}
