// The tool list dialog: the list of tool names, the buttons that change the
// table through the tool editor, and the finish button that rebuilds the
// Tools menu and saves the table.
#include "toollistdialog.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

#include "formcontrols.h"
#include "qtext.h"
#include "tool.h"
#include "tooleditor.h"
#include "tooltable.h"
#include "uiservices.h"

namespace {

constexpr int kInitialWidth = 300;
constexpr int kInitialHeight = 240;
constexpr int kPanelWidth = 87;

}  // namespace

ToolListDialog::ToolListDialog(QWidget* parent, ToolTable& tools, UiServices& ui,
                               ToolEditor& editor)
    : QDialog(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      tools_(tools),
      ui_(ui),
      editor_(editor) {
    setObjectName("toolListDialog");
    setWindowTitle(wordsToQt("ツールメニューの一覧"));
    setFont(dialogFont());
    resize(kInitialWidth, kInitialHeight);

    toolList = new QListWidget(this);
    toolList->setObjectName("toolList");
    toolList->setSelectionMode(QAbstractItemView::SingleSelection);

    buttonPanel = new QWidget(this);
    buttonPanel->setObjectName("buttonPanel");
    buttonPanel->setFixedWidth(kPanelWidth);
    auto* buttons = new QVBoxLayout(buttonPanel);
    buttons->setContentsMargins(4, 0, 0, 0);
    okButton = makeButton(buttonPanel, "okButton", "終了");
    editButton = makeButton(buttonPanel, "editButton", "編集(&E)");
    addButton = makeButton(buttonPanel, "addButton", "追加(&A)...");
    deleteButton = makeButton(buttonPanel, "deleteButton", "削除(&D)");
    upButton = makeButton(buttonPanel, "upButton", "上に移動");
    downButton = makeButton(buttonPanel, "downButton", "下に移動");
    for (QPushButton* button :
         {okButton, editButton, addButton, deleteButton, upButton, downButton})
        buttons->addWidget(button);
    buttons->addStretch(1);

    auto* layout = new QHBoxLayout(this);
    layout->addWidget(toolList, 1);
    layout->addWidget(buttonPanel);

    connect(toolList, &QListWidget::itemDoubleClicked, this, &ToolListDialog::editDoubleClicked);
    connect(okButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(editButton, &QPushButton::clicked, this, &ToolListDialog::editSelected);
    connect(addButton, &QPushButton::clicked, this, &ToolListDialog::addTool);
    connect(deleteButton, &QPushButton::clicked, this, &ToolListDialog::deleteSelected);
    connect(upButton, &QPushButton::clicked, this, &ToolListDialog::moveSelectedUp);
    connect(downButton, &QPushButton::clicked, this, &ToolListDialog::moveSelectedDown);
}

// Filled at each opening; not when the window returns from the editor or
// from being minimised, so the selection the handlers set stays.
void ToolListDialog::showEvent(QShowEvent* event) {
    if (!event->spontaneous()) fillList();
    QDialog::showEvent(event);
}

ToolTable& ToolListDialog::tools() {
    return tools_;
}

std::optional<std::size_t> ToolListDialog::selectedLine() const {
    const QList<QListWidgetItem*> selected = toolList->selectedItems();
    if (selected.isEmpty()) return std::nullopt;
    return static_cast<std::size_t>(toolList->row(selected.first()));
}

void ToolListDialog::selectLine(std::size_t line) {
    toolList->setCurrentRow(static_cast<int>(line));
}

void ToolListDialog::showLine(std::size_t line) {
    toolList->item(static_cast<int>(line))->setText(toQt(tools().tools[line].name));
}

bool ToolListDialog::runEditor() {
    return editor_.exec() == QDialog::Accepted;
}

void ToolListDialog::fillList() {
    toolList->clear();
    for (std::size_t i = 0; i < tools().count; ++i) {
        toolList->addItem(toQt(tools().tools[i].name));
    }
    toolList->setFocus();
}

void ToolListDialog::editSelected() {
    const auto line = selectedLine();
    if (!line || *line >= tools().count) return;
    editor_.setTool(tools().tools[*line]);
    editor_.programEdit->setFocus();
    if (runEditor()) {
        tools().tools[*line] = editor_.tool();
        showLine(*line);
    }
    selectLine(*line);
    toolList->setFocus();
}

void ToolListDialog::editDoubleClicked() {
    editSelected();
}

void ToolListDialog::addTool() {
    if (tools().count >= kMaxTools) {
        ui_.showMessage(ToolLimitMessage(), "Vantor", MessageIcon::None);
        return;
    }
    editor_.setTool({kNewToolName.in(common::activeCodePage()), "", "", "", false, false});
    editor_.titleEdit->setFocus();
    if (runEditor()) {
        if (const auto added = AddTool(tools(), editor_.tool())) {
            toolList->addItem(toQt(tools().tools[*added].name));
            selectLine(*added);
        }
    }
    toolList->setFocus();
}

void ToolListDialog::deleteSelected() {
    const auto line = selectedLine();
    if (!line || !DeleteTool(tools(), *line)) return;
    delete toolList->takeItem(static_cast<int>(*line));
    if (const auto next = SelectionAfterDelete(*line, tools().count)) selectLine(*next);
    toolList->setFocus();
}

void ToolListDialog::moveSelectedUp() {
    moveSelected(MoveToolUp);
}

void ToolListDialog::moveSelectedDown() {
    moveSelected(MoveToolDown);
}

void ToolListDialog::moveSelected(std::size_t (*move)(ToolTable&, std::size_t)) {
    const auto line = selectedLine();
    if (!line) return;
    const std::size_t moved = move(tools(), *line);
    if (moved != *line) {
        showLine(*line);
        showLine(moved);
    }
    selectLine(moved);
    toolList->setFocus();
}
