// The pieces the dialogs are built from: the dialogs' font, centring on the
// screen, and controls created with their object names and captions, the
// captions given as byte strings in the system's code page.
#pragma once

#include <QFont>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

// "ＭＳ Ｐゴシック" at 12 pixels.
QFont dialogFont();

// Moves a window to the middle of the screen it is on.
void centreOnScreen(QWidget& window);

QLineEdit* makeEdit(QWidget* parent, const char* name);
QCheckBox* makeCheckBox(QWidget* parent, const char* name, const char* caption);
// A button that Enter does not press unless it is made the default.
QPushButton* makeButton(QWidget* parent, const char* name, const char* caption);
// A label whose access key, if any, gives the buddy the focus.
QLabel* makeLabel(QWidget* parent, const char* name, const char* caption, QWidget* buddy);
