// The main window's Reopen menu: the captions of the project history, and
// opening a chosen entry.
#include <QAction>
#include <QDir>
#include <QMenu>

#include "dospath.h"
#include "mainwindow.h"
#include "mainwindowrules.h"
#include "project.h"
#include "qtext.h"
#include "settings.h"

void MainWindow::fillReopenMenu() {
    reopenMenu->clear();
    for (const ProjectHistory& entry : settings_->history) {
        if (entry.projectName.empty()) continue;
        QAction* item = addCaptionedItem(reopenMenu, HistoryCaption(entry, codePage_));
        connect(item, &QAction::triggered, this, [this, item] { openHistoryEntry(item); });
    }
    reopenMenu->menuAction()->setVisible(!reopenMenu->isEmpty());
}

// Every entry whose caption matches is opened in turn; opening one moves
// entries, and the scan goes on over the list as it then stands.
void MainWindow::openHistoryEntry(QObject* sender) {
    const auto* item = qobject_cast<const QAction*>(sender);
    if (!item) return;
    const std::string chosen = fromQt(item->data().toString());
    for (std::size_t i = 0; i < kHistorySize; ++i) {
        const ProjectHistory entry = settings_->history[i];
        if (HistoryCaption(entry, codePage_) != chosen) continue;
        ResetProject(*project_);
        QDir::setCurrent(pathToQt(common::folderPart(entry.projectFile, codePage_)));
        if (LoadProject(*project_, entry.projectFile, services_.ui, codePage_))
            updateTitleAndHistory();
    }
}
