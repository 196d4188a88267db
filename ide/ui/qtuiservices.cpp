// Qt's message box, file and font dialogs, clipboard and cursor behind the
// IDE's UiServices.
#include "qtuiservices.h"

#include <QApplication>
#include <QClipboard>
#include <QFileDialog>
#include <QFontDialog>
#include <QMessageBox>

#include "qtext.h"

namespace {

QMessageBox::Icon boxIcon(MessageIcon icon) {
    switch (icon) {
        case MessageIcon::Stop:
            return QMessageBox::Critical;
        case MessageIcon::Information:
            return QMessageBox::Information;
        case MessageIcon::None:
            break;
    }
    return QMessageBox::NoIcon;
}

// "makefile|*" or "Makefiles|makefile;*.mak|All|*": description and pattern
// pairs as the Windows dialogs take them, into Qt's "Makefiles (makefile *.mak)".
QString qtFilter(const std::string& filter) {
    const QStringList parts = wordsToQt(filter).split('|');
    QStringList entries;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts[i + 1];
        patterns.replace(';', ' ');
        entries << parts[i] + " (" + patterns + ")";
    }
    return entries.join(";;");
}

}  // namespace

void QtUiServices::showMessage(const UiText& text, const UiText& caption, MessageIcon icon) {
    QMessageBox box(boxIcon(icon), toQt(caption), toQt(text), QMessageBox::Ok, parent_);
    box.exec();
}

std::optional<std::string> QtUiServices::chooseFile(const UiText& title,
                                                    const std::string& initialFolder,
                                                    const std::string& filter) {
    const QString chosen = QFileDialog::getOpenFileName(parent_, toQt(title),
                                                        pathToQt(initialFolder), qtFilter(filter));
    if (chosen.isEmpty()) return std::nullopt;
    return pathFromQt(chosen);
}

std::optional<FontChoice> QtUiServices::chooseFont(const FontChoice& current) {
    QFont preset(toQt(current.name));
    if (current.size > 0) preset.setPointSize(current.size);
    bool ok = false;
    const QFont chosen = QFontDialog::getFont(&ok, preset, parent_);
    if (!ok) return std::nullopt;
    return FontChoice{fromQt(chosen.family()), chosen.pointSize()};
}

void QtUiServices::setClipboardText(const std::string& text) {
    QApplication::clipboard()->setText(toQt(text));
}

void QtUiServices::setBusyCursor(bool busy) {
    if (busy) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
    } else {
        QApplication::restoreOverrideCursor();
    }
}

void QtUiServices::processEvents() {
    QCoreApplication::processEvents();
}
