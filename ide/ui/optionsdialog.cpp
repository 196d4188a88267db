// The environment options dialog: its five tabs, the filling from the
// settings at creation and the OK that stores, applies and saves them.
#include "optionsdialog.h"

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
#include "mainwindow.h"
#include "optionsdialog_messages.h"
#include "outputdecoding.h"
#include "project.h"
#include "qtext.h"
#include "settings.h"

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
    pages->addTab(page, wordsToQt(caption));
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

OptionsDialog::OptionsDialog(MainWindow& main)
    : QDialog(&main, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                         Qt::WindowCloseButtonHint),
      main_(main) {
    setObjectName("optionsDialog");
    setWindowTitle(wordsToQt("Vantorの環境設定"));
    setFont(dialogFont());
    setFixedSize(kClientWidth, kClientHeight);

    auto* topPanel = new QWidget(this);
    topPanel->setObjectName("pagesPanel");
    auto* topLayout = new QVBoxLayout(topPanel);
    topLayout->setContentsMargins(kPanelBorder, kPanelBorder, kPanelBorder, kPanelBorder);
    pages = new QTabWidget(topPanel);
    pages->setObjectName("pages");
    topLayout->addWidget(pages);
    createSettingsTab();
    createProjectTab();
    createCommandsTab();
    createHelpTab();
    messageFormsPage = new MessageFormsPage(pages, main_.codePage());
    pages->addTab(messageFormsPage, wordsToQt("メッセージ"));
    pages->setCurrentIndex(0);

    auto* bottomPanel = new QWidget(this);
    bottomPanel->setObjectName("buttonPanel");
    bottomPanel->setFixedHeight(kBottomPanelHeight);
    okButton = makeButton(bottomPanel, "okButton", "OK");
    okButton->setDefault(true);
    cancelButton = makeButton(bottomPanel, "cancelButton", "キャンセル");
    auto* buttons = new QHBoxLayout(bottomPanel);
    buttons->setContentsMargins(kPanelBorder, 0, kPanelBorder, kPanelBorder);
    buttons->addStretch(1);
    buttons->addWidget(okButton);
    buttons->addWidget(cancelButton);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(topPanel, 1);
    layout->addWidget(bottomPanel);
    setTabOrders();

    // Escape and the close box reject without running anything else.
    connect(okButton, &QPushButton::clicked, this, &OptionsDialog::confirm);
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);

    fillFromSettings();
}

void OptionsDialog::createSettingsTab() {
    settingsPage = makePage(pages, "settingsPage", "設定");
    startFolderEdit = makeEdit(settingsPage, "startFolderEdit");
    statusBarBox = makeCheckBox(settingsPage, "statusBarBox", "ステータスバーを表示する");
    wrapOutputBox = makeCheckBox(settingsPage, "wrapOutputBox", "出力を右端で折り返す");
    debugModeBox = makeCheckBox(settingsPage, "debugModeBox", "IDE自体をデバッグモードで動かす");
    outputEncodingList = new QComboBox(settingsPage);
    outputEncodingList->setObjectName("outputEncodingList");
    outputEncodingList->setEditable(false);
    for (const char* item : {"自動", "UTF-8", "シフトJIS"}) outputEncodingList->addItem(wordsToQt(item));
    QGridLayout* grid = pageGrid(settingsPage);
    addRows(grid, settingsPage, {{"startFolderLabel", "起動時フォルダ", startFolderEdit}});
    for (QCheckBox* box : {statusBarBox, wrapOutputBox, debugModeBox}) {
        grid->addWidget(box, grid->rowCount(), 0, 1, 2);
    }
    addRows(grid, settingsPage, {{"outputEncodingLabel", "出力の文字コード", outputEncodingList}});
    finishPage(grid);
}

void OptionsDialog::createProjectTab() {
    projectDefaultsPage = makePage(pages, "projectDefaultsPage", "C/C++");
    memoryModelList = new QComboBox(projectDefaultsPage);
    memoryModelList->setObjectName("memoryModelList");
    memoryModelList->setEditable(false);
    for (const char* item : kModelItemTexts) memoryModelList->addItem(wordsToQt(item));
    objectFolderEdit = makeEdit(projectDefaultsPage, "objectFolderEdit");
    QGridLayout* grid = pageGrid(projectDefaultsPage);
    auto* heading = new QLabel(wordsToQt("プロジェクトのデフォルト設定"), projectDefaultsPage);
    heading->setObjectName("projectDefaultsHeading");
    grid->addWidget(heading, 0, 0, 1, 2);
    addRows(grid, projectDefaultsPage,
            {{"memoryModelLabel", "メモリーモデル", memoryModelList},
             {"objectFolderLabel", "オブジェクトフォルダ", objectFolderEdit}});
    finishPage(grid);
}

void OptionsDialog::createCommandsTab() {
    commandsPage = makePage(pages, "commandsPage", "コマンド");
    buildCommandEdit = makeEdit(commandsPage, "buildCommandEdit");
    rebuildCommandEdit = makeEdit(commandsPage, "rebuildCommandEdit");
    depmillCommandEdit = makeEdit(commandsPage, "depmillCommandEdit");
    editorCommandEdit = makeEdit(commandsPage, "editorCommandEdit");
    QGridLayout* grid = pageGrid(commandsPage);
    addRows(grid, commandsPage,
            {{"buildCommandLabel", "ビルドコマンド", buildCommandEdit},
             {"rebuildCommandLabel", "リビルドコマンド", rebuildCommandEdit},
             {"depmillCommandLabel", "依存関係チェック", depmillCommandEdit},
             {"editorCommandLabel", "エディタ", editorCommandEdit}});
    finishPage(grid);
}

void OptionsDialog::createHelpTab() {
    helpFilesPage = makePage(pages, "helpFilesPage", "ヘルプファイル");
    ideHelpFileEdit = makeEdit(helpFilesPage, "ideHelpFileEdit");
    languageHelpFileEdit = makeEdit(helpFilesPage, "languageHelpFileEdit");
    errorHelpFileEdit = makeEdit(helpFilesPage, "errorHelpFileEdit");
    buildToolHelpFileEdit = makeEdit(helpFilesPage, "buildToolHelpFileEdit");
    quarryHelpFileEdit = makeEdit(helpFilesPage, "quarryHelpFileEdit");
    QGridLayout* grid = pageGrid(helpFilesPage);
    addRows(grid, helpFilesPage,
            {{"ideHelpFileLabel", "ヘルプファイル", ideHelpFileEdit},
             {"languageHelpFileLabel", "C/C++言語ヘルプ", languageHelpFileEdit},
             {"errorHelpFileLabel", "ビルドエラーヘルプ", errorHelpFileEdit},
             {"buildToolHelpFileLabel", "ビルドツールヘルプ", buildToolHelpFileEdit},
             {"quarryHelpFileLabel", "Quarryのヘルプ", quarryHelpFileEdit}});
    finishPage(grid);
}

// On the help tab the Quarry file comes before the build tool's, although
// it stands below it.
void OptionsDialog::setTabOrders() {
    const std::initializer_list<QWidget*> chain = {
        startFolderEdit,       statusBarBox,       wrapOutputBox,
        debugModeBox,          outputEncodingList, memoryModelList,
        objectFolderEdit,      buildCommandEdit,   rebuildCommandEdit,
        depmillCommandEdit,    editorCommandEdit,  ideHelpFileEdit,
        languageHelpFileEdit,  errorHelpFileEdit,  quarryHelpFileEdit,
        buildToolHelpFileEdit, okButton,           cancelButton};
    for (auto it = chain.begin(); it + 1 != chain.end(); ++it) setTabOrder(*it, *(it + 1));
}

void OptionsDialog::showEvent(QShowEvent* event) {
    centreOnScreen(*this);
    QDialog::showEvent(event);
}

void OptionsDialog::fillFromSettings() {
    const Settings& reg = main_.settings();
    setText(buildCommandEdit, reg.buildCommand);
    setText(rebuildCommandEdit, reg.rebuildCommand);
    setText(depmillCommandEdit, reg.depmillCommand);
    setText(editorCommandEdit, reg.editorCommand);
    setText(startFolderEdit, reg.projectFolder);
    wrapOutputBox->setChecked(reg.foldOutput);
    statusBarBox->setChecked(reg.useStatusBar);
    memoryModelList->setCurrentIndex(modelItem(reg.defaultMemoryModel));
    setText(objectFolderEdit, reg.defaultObjectFolder);
    // An unknown stored number decodes as the automatic choice, so it shows as that.
    outputEncodingList->setCurrentIndex(static_cast<int>(ToOutputEncoding(reg.outputEncoding)));
    setText(ideHelpFileEdit, reg.ideHelpFile);
    setText(languageHelpFileEdit, reg.languageHelpFile);
    setText(errorHelpFileEdit, reg.errorHelpFile);
    setText(buildToolHelpFileEdit, reg.buildToolHelpFile);
    setText(quarryHelpFileEdit, reg.quarryHelpFile);
    messageFormsPage->setForms(reg.messageForms);
}

void OptionsDialog::confirm() {
    Settings& reg = main_.settings();
    reg.buildCommand = textOf(buildCommandEdit);
    reg.rebuildCommand = textOf(rebuildCommandEdit);
    reg.depmillCommand = textOf(depmillCommandEdit);
    reg.editorCommand = textOf(editorCommandEdit);
    reg.projectFolder = textOf(startFolderEdit);
    reg.foldOutput = wrapOutputBox->isChecked();
    main_.applyFoldOutput();
    reg.useStatusBar = statusBarBox->isChecked();
    main_.applyStatusBar();
    reg.defaultMemoryModel = memoryModelList->currentIndex();
    reg.defaultObjectFolder = textOf(objectFolderEdit);
    reg.outputEncoding = outputEncodingList->currentIndex();
    reg.ideHelpFile = textOf(ideHelpFileEdit);
    reg.languageHelpFile = textOf(languageHelpFileEdit);
    reg.errorHelpFile = textOf(errorHelpFileEdit);
    reg.buildToolHelpFile = textOf(buildToolHelpFileEdit);
    reg.quarryHelpFile = textOf(quarryHelpFileEdit);
    SaveOptions(reg, main_.services().settings);
    if (reg.messageForms != messageFormsPage->forms()) {
        reg.messageForms = messageFormsPage->forms();
        // Forms that could not be read at start-up are not written over.
        if (main_.messageFormsLoaded())
            SaveMessageForms(reg.messageForms, main_.services().settings);
        main_.useMessageForms();
    }
    accept();
}
