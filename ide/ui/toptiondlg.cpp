// The environment options dialog: its four tabs, the filling from the
// settings at creation and the OK that stores, applies and saves them.
#include "toptiondlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>
#include <cstdint>
#include <initializer_list>

#include "formcontrols.h"
#include "outputdecoding.h"
#include "proj.h"
#include "qtext.h"
#include "regist.h"
#include "tvantor.h"

namespace {

constexpr int kClientWidth = 512;
constexpr int kClientHeight = 300;
constexpr int kBottomPanelHeight = 34;
constexpr int kPanelBorder = 5;

// A tab page whose rows are a label and its edit, top to bottom.
struct LabelledRow {
    const char* labelName;
    const char* caption;
    QWidget* field;
};

QWidget* makePage(QTabWidget* pages, const char* name, const char* caption) {
    auto* page = new QWidget(pages);
    page->setObjectName(name);
    pages->addTab(page, toQt(caption));
    return page;
}

void addRows(QGridLayout* grid, QWidget* page, std::initializer_list<LabelledRow> rows) {
    for (const LabelledRow& row : rows) {
        const int at = grid->rowCount();
        grid->addWidget(makeLabel(page, row.labelName, row.caption, row.field), at, 0);
        grid->addWidget(row.field, at, 1);
    }
}

QGridLayout* pageGrid(QWidget* page) {
    auto* grid = new QGridLayout(page);
    grid->setColumnStretch(1, 1);
    return grid;
}

void finishPage(QGridLayout* grid) {
    grid->setRowStretch(grid->rowCount(), 1);
}

// A stored model outside the list's items shows no selection.
int modelItem(std::int32_t model) {
    return model >= 0 && model < static_cast<std::int32_t>(kModelItemTexts.size()) ? model : -1;
}

void setText(QLineEdit* edit, const std::string& value) {
    edit->setText(toQt(value));
}

std::string textOf(const QLineEdit* edit) {
    return fromQt(edit->text());
}

}  // namespace

TOptionDlg::TOptionDlg(TVantor& main)
    : QDialog(&main, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                         Qt::WindowCloseButtonHint),
      main_(main) {
    setObjectName("OptionDlg");
    setWindowTitle(toQt("Vantorの環境設定"));
    setFont(dialogFont());
    setFixedSize(kClientWidth, kClientHeight);

    auto* topPanel = new QWidget(this);
    topPanel->setObjectName("Panel1");
    auto* topLayout = new QVBoxLayout(topPanel);
    topLayout->setContentsMargins(kPanelBorder, kPanelBorder, kPanelBorder, kPanelBorder);
    PageControl1 = new QTabWidget(topPanel);
    PageControl1->setObjectName("PageControl1");
    topLayout->addWidget(PageControl1);
    createSettingsTab();
    createProjectTab();
    createCommandsTab();
    createHelpTab();
    PageControl1->setCurrentIndex(0);

    auto* bottomPanel = new QWidget(this);
    bottomPanel->setObjectName("Panel2");
    bottomPanel->setFixedHeight(kBottomPanelHeight);
    OKBtn = makeButton(bottomPanel, "OKBtn", "OK");
    OKBtn->setDefault(true);
    CancelBtn = makeButton(bottomPanel, "CancelBtn", "キャンセル");
    auto* buttons = new QHBoxLayout(bottomPanel);
    buttons->setContentsMargins(kPanelBorder, 0, kPanelBorder, kPanelBorder);
    buttons->addStretch(1);
    buttons->addWidget(OKBtn);
    buttons->addWidget(CancelBtn);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(topPanel, 1);
    layout->addWidget(bottomPanel);
    setTabOrders();

    // Escape and the close box reject without running anything else.
    connect(OKBtn, &QPushButton::clicked, this, &TOptionDlg::OKBtnClick);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);

    FormCreate();
}

void TOptionDlg::createSettingsTab() {
    TabSheet1 = makePage(PageControl1, "TabSheet1", "設定");
    defaultProjectfolder = makeEdit(TabSheet1, "defaultProjectfolder");
    IDEuseStatusBar = makeCheckBox(TabSheet1, "IDEuseStatusBar", "ステータスバーを表示する");
    IDEoutputFold = makeCheckBox(TabSheet1, "IDEoutputFold", "出力を右端で折り返す");
    IDEdebugmode = makeCheckBox(TabSheet1, "IDEdebugmode", "IDE自体をデバッグモードで動かす");
    IDEoutputEncoding = new QComboBox(TabSheet1);
    IDEoutputEncoding->setObjectName("IDEoutputEncoding");
    IDEoutputEncoding->setEditable(false);
    for (const char* item : {"自動", "UTF-8", "シフトJIS"}) IDEoutputEncoding->addItem(toQt(item));
    QGridLayout* grid = pageGrid(TabSheet1);
    addRows(grid, TabSheet1, {{"Label11", "起動時フォルダ", defaultProjectfolder}});
    for (QCheckBox* box : {IDEuseStatusBar, IDEoutputFold, IDEdebugmode}) {
        grid->addWidget(box, grid->rowCount(), 0, 1, 2);
    }
    addRows(grid, TabSheet1, {{"Label12", "出力の文字コード", IDEoutputEncoding}});
    finishPage(grid);
}

void TOptionDlg::createProjectTab() {
    TabSheet2 = makePage(PageControl1, "TabSheet2", "C/C++");
    targetmemorymodel = new QComboBox(TabSheet2);
    targetmemorymodel->setObjectName("targetmemorymodel");
    targetmemorymodel->setEditable(false);
    for (const char* item : kModelItemTexts) targetmemorymodel->addItem(toQt(item));
    ObjectFolder = makeEdit(TabSheet2, "ObjectFolder");
    QGridLayout* grid = pageGrid(TabSheet2);
    auto* heading = new QLabel(toQt("プロジェクトのデフォルト設定"), TabSheet2);
    heading->setObjectName("Label20");
    grid->addWidget(heading, 0, 0, 1, 2);
    addRows(grid, TabSheet2,
            {{"Label21", "メモリーモデル", targetmemorymodel},
             {"Label22", "オブジェクトフォルダ", ObjectFolder}});
    finishPage(grid);
}

void TOptionDlg::createCommandsTab() {
    TabSheet3 = makePage(PageControl1, "TabSheet3", "コマンド");
    cmdBuild = makeEdit(TabSheet3, "cmdBuild");
    cmdRebuild = makeEdit(TabSheet3, "cmdRebuild");
    cmdDepmill = makeEdit(TabSheet3, "cmdDepmill");
    cmdEdit = makeEdit(TabSheet3, "cmdEdit");
    QGridLayout* grid = pageGrid(TabSheet3);
    addRows(grid, TabSheet3,
            {{"Label31", "ビルドコマンド", cmdBuild},
             {"Label32", "リビルドコマンド", cmdRebuild},
             {"Label33", "依存関係チェック", cmdDepmill},
             {"Label34", "エディタ", cmdEdit}});
    finishPage(grid);
}

void TOptionDlg::createHelpTab() {
    TabSheet4 = makePage(PageControl1, "TabSheet4", "ヘルプファイル");
    HelpfileBase = makeEdit(TabSheet4, "HelpfileBase");
    HelpfileClang = makeEdit(TabSheet4, "HelpfileClang");
    HelpfileCerror = makeEdit(TabSheet4, "HelpfileCerror");
    HelpfileBuildtool = makeEdit(TabSheet4, "HelpfileBuildtool");
    HelpfileQuarry = makeEdit(TabSheet4, "HelpfileQuarry");
    QGridLayout* grid = pageGrid(TabSheet4);
    addRows(grid, TabSheet4,
            {{"Label41", "ヘルプファイル", HelpfileBase},
             {"Label42", "C/C++言語ヘルプ", HelpfileClang},
             {"Label43", "ビルドエラーヘルプ", HelpfileCerror},
             {"Label44", "ビルドツールヘルプ", HelpfileBuildtool},
             {"Label45", "Quarryのヘルプ", HelpfileQuarry}});
    finishPage(grid);
}

// On the help tab the Quarry file comes before the build tool's, although
// it stands below it.
void TOptionDlg::setTabOrders() {
    const std::initializer_list<QWidget*> chain = {defaultProjectfolder,
                                                   IDEuseStatusBar,
                                                   IDEoutputFold,
                                                   IDEdebugmode,
                                                   IDEoutputEncoding,
                                                   targetmemorymodel,
                                                   ObjectFolder,
                                                   cmdBuild,
                                                   cmdRebuild,
                                                   cmdDepmill,
                                                   cmdEdit,
                                                   HelpfileBase,
                                                   HelpfileClang,
                                                   HelpfileCerror,
                                                   HelpfileQuarry,
                                                   HelpfileBuildtool,
                                                   OKBtn,
                                                   CancelBtn};
    for (auto it = chain.begin(); it + 1 != chain.end(); ++it) setTabOrder(*it, *(it + 1));
}

void TOptionDlg::showEvent(QShowEvent* event) {
    centreOnScreen(*this);
    QDialog::showEvent(event);
}

void TOptionDlg::FormCreate() {
    const TREGIST& reg = main_.settings();
    setText(cmdBuild, reg.BuildCommand);
    setText(cmdRebuild, reg.RebuildCommand);
    setText(cmdDepmill, reg.DepmillCommand);
    setText(cmdEdit, reg.EditCommand);
    setText(defaultProjectfolder, reg.ProjectFolder);
    IDEoutputFold->setChecked(reg.FoldOutput);
    IDEuseStatusBar->setChecked(reg.useStatusBar);
    targetmemorymodel->setCurrentIndex(modelItem(reg.defaultMemorymodel));
    setText(ObjectFolder, reg.defaultObjectFolder);
    // An unknown stored number decodes as the automatic choice, so it shows as that.
    IDEoutputEncoding->setCurrentIndex(static_cast<int>(ToOutputEncoding(reg.OutputEncoding)));
    setText(HelpfileBase, reg.Helpfile);
    setText(HelpfileClang, reg.Clang);
    setText(HelpfileCerror, reg.Cerror);
    setText(HelpfileBuildtool, reg.Buildtool);
    setText(HelpfileQuarry, reg.Quarry);
}

void TOptionDlg::OKBtnClick() {
    TREGIST& reg = main_.settings();
    reg.BuildCommand = textOf(cmdBuild);
    reg.RebuildCommand = textOf(cmdRebuild);
    reg.DepmillCommand = textOf(cmdDepmill);
    reg.EditCommand = textOf(cmdEdit);
    reg.ProjectFolder = textOf(defaultProjectfolder);
    reg.FoldOutput = IDEoutputFold->isChecked();
    main_.applyFoldOutput();
    reg.useStatusBar = IDEuseStatusBar->isChecked();
    main_.applyStatusBar();
    reg.defaultMemorymodel = targetmemorymodel->currentIndex();
    reg.defaultObjectFolder = textOf(ObjectFolder);
    reg.OutputEncoding = IDEoutputEncoding->currentIndex();
    reg.Helpfile = textOf(HelpfileBase);
    reg.Clang = textOf(HelpfileClang);
    reg.Cerror = textOf(HelpfileCerror);
    reg.Buildtool = textOf(HelpfileBuildtool);
    reg.Quarry = textOf(HelpfileQuarry);
    SaveOptions(reg, main_.services().settings);
    accept();
}
