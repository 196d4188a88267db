// The environment options dialog: its edit pages made from their lines, the
// message forms page, and OK and Cancel.
#include "optionsdialog.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <vector>

#include "formcontrols.h"
#include "optionsdialog_messages.h"
#include "qtext.h"

namespace {

constexpr int kClientWidth = 512;
constexpr int kClientHeight = 300;
constexpr int kBottomPanelHeight = 34;
constexpr int kPanelBorder = 5;

}  // namespace

OptionsDialog::OptionsDialog(QWidget* parent, const Settings& settings, common::CodePage cp)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint) {
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
    std::vector<QWidget*> editPages;
    for (const OptionsPage& page : OptionsPages()) editPages.push_back(addPage(page));
    debugModeBox_ = findChild<QCheckBox*>("debugModeBox");
    messageFormsPage = new MessageFormsPage(pages, cp);
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
    setTabOrders(editPages);

    // Escape and the close box reject without running anything else.
    connect(okButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);

    controls_.fill(settings);
    messageFormsPage->setForms(settings.messageForms);
}

QWidget* OptionsDialog::addPage(const OptionsPage& page) {
    auto* widget = new QWidget(pages);
    widget->setObjectName(page.name);
    pages->addTab(widget, wordsToQt(page.caption));
    auto* grid = new QGridLayout(widget);
    grid->setColumnStretch(1, 1);
    for (const OptionsLine& line : page.lines) controls_.add(widget, grid, line);
    grid->setRowStretch(grid->rowCount(), 1);
    return widget;
}

// Tab goes through the controls of the edit pages in the order they
// stand, page by page, then to OK and Cancel; on the help page the Quarry
// file comes before the build tool's, although it stands below it.
void OptionsDialog::setTabOrders(const std::vector<QWidget*>& editPages) {
    std::vector<QWidget*> chain;
    for (QWidget* page : editPages) {
        for (QWidget* control : page->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            if (control->focusPolicy() & Qt::TabFocus) chain.push_back(control);
        }
    }
    std::iter_swap(
        std::find(chain.begin(), chain.end(), findChild<QLineEdit*>("buildToolHelpFileEdit")),
        std::find(chain.begin(), chain.end(), findChild<QLineEdit*>("quarryHelpFileEdit")));
    chain.push_back(okButton);
    chain.push_back(cancelButton);
    for (auto it = chain.begin(); it + 1 != chain.end(); ++it) setTabOrder(*it, *(it + 1));
}

void OptionsDialog::showEvent(QShowEvent* event) {
    centreOnScreen(*this);
    QDialog::showEvent(event);
}

bool OptionsDialog::debugMode() const {
    return debugModeBox_->isChecked();
}

Settings OptionsDialog::chosen(const Settings& current) const {
    Settings chosen = current;
    controls_.store(chosen);
    chosen.messageForms = messageFormsPage->forms();
    return chosen;
}
