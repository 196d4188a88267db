// The main window's Tools menu: the items built from the tool table, a
// click that expands the arguments and runs the tool, and the tool list.
#include <QAction>
#include <QMenu>
#include <algorithm>

#include "buildsteps.h"
#include "outputwindow.h"
#include "qtext.h"
#include "regist.h"
#include "runner.h"
#include "toolopt.h"
#include "ttoollistedit.h"
#include "tvantor.h"
#include "uiservices.h"

namespace {

constexpr char kCaption[] = "Vantor";

}  // namespace

bool TVantor::addmenu(QMenu* menu, const QString& caption) {
    QAction* item = addCaptionedItem(menu, fromQt(caption));
    item->setSeparator(caption == "-");
    connect(item, &QAction::triggered, this, [this, item] { ToolsMenuClick(item); });
    return true;
}

void TVantor::rebuildToolsMenu() {
    ToolsMenu->clear();
    for (std::size_t i = 0; i < toolOptions->count; ++i) {
        addmenu(ToolsMenu, toQt(toolOptions->tools[i].Name));
    }
    ToolsMenu->menuAction()->setVisible(toolOptions->count >= 1);
}

bool TVantor::loadTools() {
    LoadErrors errors;
    if (!LoadTools(*toolOptions, services_.settings, &errors)) return false;
    if (!errors.empty()) services_.ui.showMessage(errors, kCaption, MessageIcon::Stop);
    toolsLoaded_ = true;
    return true;
}

void TVantor::ToolsMenuClick(QObject* sender) {
    const auto* item = qobject_cast<const QAction*>(sender);
    if (!item || item->isSeparator()) return;  // a separator line is never a choice
    if (runInProgress()) return;
    const std::string caption = fromQt(item->data().toString());
    const auto first = toolOptions->tools.begin();
    const auto last = first + static_cast<std::ptrdiff_t>(toolOptions->count);
    const auto found =
        std::find_if(first, last, [&](const toolopt& tool) { return tool.Name == caption; });
    if (found == last) return;
    toolopt tool = *found;
    const auto showCommand = [this, &tool] {
        setStatusText("Tool: " + toQt(tool.Command) + " " + toQt(tool.Arguments));
    };
    showCommand();
    if (!ExpandToolArguments(tool.Arguments, *proj, tool, services_.ui)) return;
    showCommand();
    if (tool.OutputRedirect) {
        if (runCaptured(tool).stopped) appendLine(kToolStoppedLine);
    } else {
        RunDetached(tool, services_.processes);
    }
}

// When the tools could not be read at start-up, they are read now, so that
// the list shows them and its finish button saves them back rather than an
// empty list over them; while they cannot be read the list stays shut.
void TVantor::ToolsEditClick() {
    if (!dialogs_.ToolListEdit) return;
    if (!toolsLoaded_ && !loadTools()) return;
    dialogs_.ToolListEdit->exec();
}
