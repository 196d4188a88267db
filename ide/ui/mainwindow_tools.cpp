// The main window's Tools menu: the items built from the tool table, a
// click that expands the arguments and runs the tool, and the tool list.
#include <QAction>
#include <QMenu>
#include <algorithm>

#include "buildsteps.h"
#include "mainwindow.h"
#include "outputwindow.h"
#include "qtext.h"
#include "runner.h"
#include "settings.h"
#include "statusline.h"
#include "tool.h"
#include "toollistdialog.h"
#include "uiservices.h"

namespace {

constexpr char kCaption[] = "Vantor";

}  // namespace

bool MainWindow::addToolItem(QMenu* menu, const QString& caption) {
    QAction* item = addCaptionedItem(menu, fromQt(caption));
    item->setSeparator(caption == "-");
    connect(item, &QAction::triggered, this, [this, item] { runTool(item); });
    return true;
}

void MainWindow::rebuildToolsMenu() {
    toolsMenu->clear();
    for (std::size_t i = 0; i < tools_->count; ++i) {
        addToolItem(toolsMenu, toQt(tools_->tools[i].name));
    }
    toolsMenu->menuAction()->setVisible(tools_->count >= 1);
}

bool MainWindow::loadTools() {
    LoadErrors errors;
    if (!LoadTools(*tools_, services_.settings, &errors)) return false;
    if (!errors.empty()) services_.ui.showMessage(errors, kCaption, MessageIcon::Stop);
    toolsLoaded_ = true;
    return true;
}

void MainWindow::runTool(QObject* sender) {
    const auto* item = qobject_cast<const QAction*>(sender);
    if (!item || item->isSeparator()) return;  // a separator line is never a choice
    if (runInProgress()) return;
    const std::string caption = fromQt(item->data().toString());
    const auto first = tools_->tools.begin();
    const auto last = first + static_cast<std::ptrdiff_t>(tools_->count);
    const auto found =
        std::find_if(first, last, [&](const Tool& tool) { return tool.name == caption; });
    if (found == last) return;
    Tool tool = *found;
    status_->showToolCommand(tool);
    if (!ExpandToolArguments(tool.arguments, *project_, tool, services_.ui)) return;
    status_->showToolCommand(tool);
    if (tool.captureOutput) {
        if (runCaptured(tool).stopped) appendLine(kToolStoppedLine, LineKind::Summary);
    } else {
        RunDetached(tool, services_.processes);
    }
}

// When the tools could not be read at start-up, they are read now, so that
// the list shows them and its finish button saves them back rather than an
// empty list over them; while they cannot be read the list stays shut.
void MainWindow::editTools() {
    if (!dialogs_.toolListDialog) return;
    if (!toolsLoaded_ && !loadTools()) return;
    if (dialogs_.toolListDialog->exec() != QDialog::Accepted) return;
    rebuildToolsMenu();
    // After a start-up cut short by a settings error the table may not hold
    // the stored tools; it is then never saved over them.
    if (toolsLoaded_) SaveTools(*tools_, services_.settings);
}
