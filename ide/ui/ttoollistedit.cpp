// The tool list dialog: the list of tool names, the buttons that change the
// table through the tool editor, and the finish button that rebuilds the
// Tools menu and saves the table.
#include "ttoollistedit.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

#include "formcontrols.h"
#include "qtext.h"
#include "regist.h"
#include "tedittool.h"
#include "toolopt.h"
#include "tooltable.h"
#include "tvantor.h"
#include "uiservices.h"

namespace {

constexpr int kInitialWidth = 300;
constexpr int kInitialHeight = 240;
constexpr int kPanelWidth = 87;

}  // namespace

TToolListEdit::TToolListEdit(TVantor& main, TEditTool& editor)
    : QDialog(&main, Qt::Window | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      main_(main),
      editor_(editor) {
    setObjectName("ToolListEdit");
    setWindowTitle(toQt("ツールメニューの一覧"));
    setFont(dialogFont());
    resize(kInitialWidth, kInitialHeight);

    ToolList = new QListWidget(this);
    ToolList->setObjectName("ToolList");
    ToolList->setSelectionMode(QAbstractItemView::SingleSelection);

    Panel1 = new QWidget(this);
    Panel1->setObjectName("Panel1");
    Panel1->setFixedWidth(kPanelWidth);
    auto* buttons = new QVBoxLayout(Panel1);
    buttons->setContentsMargins(4, 0, 0, 0);
    OKBtn = makeButton(Panel1, "OKBtn", "終了");
    Edit = makeButton(Panel1, "Edit", "編集(&E)");
    Add = makeButton(Panel1, "Add", "追加(&A)...");
    Delete = makeButton(Panel1, "Delete", "削除(&D)");
    Up = makeButton(Panel1, "Up", "上に移動");
    Down = makeButton(Panel1, "Down", "下に移動");
    for (QPushButton* button : {OKBtn, Edit, Add, Delete, Up, Down}) buttons->addWidget(button);
    buttons->addStretch(1);

    auto* layout = new QHBoxLayout(this);
    layout->addWidget(ToolList, 1);
    layout->addWidget(Panel1);

    connect(ToolList, &QListWidget::itemDoubleClicked, this, &TToolListEdit::ToolListDblClick);
    connect(OKBtn, &QPushButton::clicked, this, &TToolListEdit::OKBtnClick);
    connect(Edit, &QPushButton::clicked, this, &TToolListEdit::EditClick);
    connect(Add, &QPushButton::clicked, this, &TToolListEdit::AddClick);
    connect(Delete, &QPushButton::clicked, this, &TToolListEdit::DeleteClick);
    connect(Up, &QPushButton::clicked, this, &TToolListEdit::UpClick);
    connect(Down, &QPushButton::clicked, this, &TToolListEdit::DownClick);
}

// Filled at each opening; not when the window returns from the editor or
// from being minimised, so the selection the handlers set stays.
void TToolListEdit::showEvent(QShowEvent* event) {
    if (!event->spontaneous()) FormActivate();
    QDialog::showEvent(event);
}

tooloptions& TToolListEdit::tools() {
    return main_.tools();
}

std::optional<std::size_t> TToolListEdit::selectedLine() const {
    const QList<QListWidgetItem*> selected = ToolList->selectedItems();
    if (selected.isEmpty()) return std::nullopt;
    return static_cast<std::size_t>(ToolList->row(selected.first()));
}

void TToolListEdit::selectLine(std::size_t line) {
    ToolList->setCurrentRow(static_cast<int>(line));
}

void TToolListEdit::showLine(std::size_t line) {
    ToolList->item(static_cast<int>(line))->setText(toQt(tools().tools[line].Name));
}

bool TToolListEdit::runEditor() {
    return editor_.exec() == QDialog::Accepted;
}

void TToolListEdit::FormActivate() {
    ToolList->clear();
    for (std::size_t i = 0; i < tools().count; ++i) {
        ToolList->addItem(toQt(tools().tools[i].Name));
    }
    ToolList->setFocus();
}

void TToolListEdit::EditClick() {
    const auto line = selectedLine();
    if (!line || *line >= tools().count) return;
    editor_.setTool(tools().tools[*line]);
    editor_.editCommand->setFocus();
    if (runEditor()) {
        tools().tools[*line] = editor_.tool();
        showLine(*line);
    }
    selectLine(*line);
    ToolList->setFocus();
}

void TToolListEdit::ToolListDblClick() {
    EditClick();
}

void TToolListEdit::AddClick() {
    if (tools().count >= kMaxTools) {
        main_.services().ui.showMessage(ToolLimitMessage(), "Vantor", MessageIcon::None);
        return;
    }
    editor_.setTool({"新規", "", "", "", false, false});
    editor_.editTitle->setFocus();
    if (runEditor()) {
        if (const auto added = AddTool(tools(), editor_.tool())) {
            ToolList->addItem(toQt(tools().tools[*added].Name));
            selectLine(*added);
        }
    }
    ToolList->setFocus();
}

void TToolListEdit::DeleteClick() {
    const auto line = selectedLine();
    if (!line || !DeleteTool(tools(), *line)) return;
    delete ToolList->takeItem(static_cast<int>(*line));
    if (const auto next = SelectionAfterDelete(*line, tools().count)) selectLine(*next);
    ToolList->setFocus();
}

void TToolListEdit::UpClick() {
    moveSelected(MoveToolUp);
}

void TToolListEdit::DownClick() {
    moveSelected(MoveToolDown);
}

void TToolListEdit::moveSelected(std::size_t (*move)(tooloptions&, std::size_t)) {
    const auto line = selectedLine();
    if (!line) return;
    const std::size_t moved = move(tools(), *line);
    if (moved != *line) {
        showLine(*line);
        showLine(moved);
    }
    selectLine(moved);
    ToolList->setFocus();
}

// After a start-up cut short by a settings error the table may not hold the
// stored tools; it is then never saved over them.
void TToolListEdit::OKBtnClick() {
    main_.rebuildToolsMenu();
    if (main_.toolsLoaded()) SaveTools(tools(), main_.services().settings);
    accept();
}
