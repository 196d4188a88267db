// The main window's Reopen menu: the captions of the project history, and
// opening a chosen entry.
#include <QAction>
#include <QDir>
#include <QMenu>

#include "mainwindowrules.h"
#include "proj.h"
#include "qtext.h"
#include "regist.h"
#include "tvantor.h"

void TVantor::FileMenuClick() {
    Reopen->clear();
    for (const ProjectHistory& entry : regist->history) {
        if (entry.Project.empty()) continue;
        QAction* item = addCaptionedItem(Reopen, HistoryCaption(entry, codePage_));
        connect(item, &QAction::triggered, this, [this, item] { HistoryMenuClick(item); });
    }
    Reopen->menuAction()->setVisible(!Reopen->isEmpty());
}

// Every entry whose caption matches is opened in turn; opening one moves
// entries, and the scan goes on over the list as it then stands.
void TVantor::HistoryMenuClick(QObject* sender) {
    const auto* item = qobject_cast<const QAction*>(sender);
    if (!item) return;
    const std::string chosen = fromQt(item->data().toString());
    for (std::size_t i = 0; i < kHistorySize; ++i) {
        const ProjectHistory entry = regist->history[i];
        if (HistoryCaption(entry, codePage_) != chosen) continue;
        ResetProject(*proj);
        QDir::setCurrent(toQt(common::folderPart(entry.ProjectFile, codePage_)));
        if (LoadProject(*proj, entry.ProjectFile, services_.ui, codePage_)) UpdateTitle();
    }
}
