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
#include <algorithm>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include "formcontrols.h"
#include "mainwindow.h"
#include "optionsdialog_messages.h"
#include "outputdecoding.h"
#include "project.h"
#include "qtext.h"
#include "settings.h"

namespace {

// Short names for the rows of the pages: a control of the dialog, a field
// of the settings.
using D = OptionsDialog;
using S = Settings;

constexpr int kClientWidth = 512;
constexpr int kClientHeight = 300;
constexpr int kBottomPanelHeight = 34;
constexpr int kPanelBorder = 5;

QWidget* makePage(QTabWidget* pages, const char* name, const char* caption) {
    auto* page = new QWidget(pages);
    page->setObjectName(name);
    pages->addTab(page, wordsToQt(caption));
    return page;
}

// The next row of a tab page: the field with its label in front.
template <typename Field>
Field* labelled(QGridLayout* grid, const char* labelName, const char* caption, Field* field) {
    const int at = grid->rowCount();
    grid->addWidget(makeLabel(field->parentWidget(), labelName, caption, field), at, 0);
    grid->addWidget(field, at, 1);
    return field;
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

constexpr const char* kEncodingItems[] = {"自動", "UTF-8", "シフトJIS"};

// An unknown stored number decodes as the automatic choice, so it shows as that.
int encodingItem(std::int32_t stored) {
    return static_cast<int>(ToOutputEncoding(stored));
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

void OptionsDialog::addEdits(QWidget* page, QGridLayout* grid,
                             std::initializer_list<EditRow> rows) {
    for (const EditRow& row : rows) {
        const std::string prefix = row.prefix;
        this->*row.control =
            labelled(grid, (prefix + "Label").c_str(), row.caption,
                     controls_.edit(page, (prefix + "Edit").c_str(), row.field));
    }
}

void OptionsDialog::createSettingsTab() {
    QWidget* page = settingsPage = makePage(pages, "settingsPage", "設定");
    QGridLayout* grid = pageGrid(page);
    addEdits(page, grid,
             {{"startFolder", "起動時フォルダ", &D::startFolderEdit, &S::projectFolder}});
    statusBarBox = controls_.checkBox(page, "statusBarBox", "ステータスバーを表示する",
                                      &Settings::useStatusBar);
    wrapOutputBox =
        controls_.checkBox(page, "wrapOutputBox", "出力を右端で折り返す", &Settings::foldOutput);
    debugModeBox = makeCheckBox(page, "debugModeBox", "IDE自体をデバッグモードで動かす");
    for (QCheckBox* box : {statusBarBox, wrapOutputBox, debugModeBox}) {
        grid->addWidget(box, grid->rowCount(), 0, 1, 2);
    }
    outputEncodingList = labelled(grid, "outputEncodingLabel", "出力の文字コード",
                                  controls_.list(page, "outputEncodingList", kEncodingItems,
                                                 &Settings::outputEncoding, encodingItem));
    finishPage(grid);
}

void OptionsDialog::createProjectTab() {
    QWidget* page = projectDefaultsPage = makePage(pages, "projectDefaultsPage", "C/C++");
    QGridLayout* grid = pageGrid(page);
    auto* heading = new QLabel(wordsToQt("プロジェクトのデフォルト設定"), page);
    heading->setObjectName("projectDefaultsHeading");
    grid->addWidget(heading, 0, 0, 1, 2);
    memoryModelList = labelled(grid, "memoryModelLabel", "メモリーモデル",
                               controls_.list(page, "memoryModelList", kModelItemTexts,
                                              &Settings::defaultMemoryModel, modelItem));
    addEdits(page, grid,
             {{"objectFolder", "オブジェクトフォルダ", &D::objectFolderEdit,
               &S::defaultObjectFolder}});
    finishPage(grid);
}

QWidget* OptionsDialog::editPage(const char* name, const char* caption,
                                 std::initializer_list<EditRow> rows) {
    QWidget* page = makePage(pages, name, caption);
    QGridLayout* grid = pageGrid(page);
    addEdits(page, grid, rows);
    finishPage(grid);
    return page;
}

void OptionsDialog::createCommandsTab() {
    commandsPage = editPage(
        "commandsPage", "コマンド",
        {{"buildCommand", "ビルドコマンド", &D::buildCommandEdit, &S::buildCommand},
         {"rebuildCommand", "リビルドコマンド", &D::rebuildCommandEdit, &S::rebuildCommand},
         {"depmillCommand", "依存関係チェック", &D::depmillCommandEdit, &S::depmillCommand},
         {"editorCommand", "エディタ", &D::editorCommandEdit, &S::editorCommand}});
}

void OptionsDialog::createHelpTab() {
    helpFilesPage = editPage(
        "helpFilesPage", "ヘルプファイル",
        {{"ideHelpFile", "ヘルプファイル", &D::ideHelpFileEdit, &S::ideHelpFile},
         {"languageHelpFile", "C/C++言語ヘルプ", &D::languageHelpFileEdit, &S::languageHelpFile},
         {"errorHelpFile", "ビルドエラーヘルプ", &D::errorHelpFileEdit, &S::errorHelpFile},
         {"buildToolHelpFile", "ビルドツールヘルプ", &D::buildToolHelpFileEdit,
          &S::buildToolHelpFile},
         {"quarryHelpFile", "Quarryのヘルプ", &D::quarryHelpFileEdit, &S::quarryHelpFile}});
}

// Tab goes through the controls of the four setting pages in the order
// they stand, page by page, then to OK and Cancel; on the help page the
// Quarry file comes before the build tool's, although it stands below it.
void OptionsDialog::setTabOrders() {
    std::vector<QWidget*> chain;
    for (QWidget* page : {settingsPage, projectDefaultsPage, commandsPage, helpFilesPage}) {
        for (QWidget* control : page->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            if (control->focusPolicy() & Qt::TabFocus) chain.push_back(control);
        }
    }
    std::iter_swap(std::find(chain.begin(), chain.end(), buildToolHelpFileEdit),
                   std::find(chain.begin(), chain.end(), quarryHelpFileEdit));
    chain.push_back(okButton);
    chain.push_back(cancelButton);
    for (auto it = chain.begin(); it + 1 != chain.end(); ++it) setTabOrder(*it, *(it + 1));
}

void OptionsDialog::showEvent(QShowEvent* event) {
    centreOnScreen(*this);
    QDialog::showEvent(event);
}

void OptionsDialog::fillFromSettings() {
    const Settings& reg = main_.settings();
    controls_.fill(reg);
    messageFormsPage->setForms(reg.messageForms);
}

void OptionsDialog::confirm() {
    Settings& reg = main_.settings();
    controls_.store(reg);
    main_.applyFoldOutput();
    main_.applyStatusBar();
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
