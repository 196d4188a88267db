// The About box and the file version it shows.
#include "aboutbox.h"

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QStyle>

#include "fileversion.h"
#include "qtext.h"

namespace {
constexpr char kReleaseLabel[] = "1.00β13";
}

AboutBox::AboutBox(const FileVersionReader& versions, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      versions_(versions) {
    setObjectName("aboutBox");
    setWindowTitle("Vantorについて");
    setFixedSize(318, 133);

    auto* frame = new QFrame(this);
    frame->setObjectName("frame");
    frame->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    frame->setGeometry(0, 0, 318, 133);

    const auto label = [frame](const char* name, const QString& text, int left, int top) {
        auto* item = new QLabel(text, frame);
        item->setObjectName(name);
        item->move(left, top);
        return item;
    };
    iconLabel = label("iconLabel", QString(), 16, 16);
    iconLabel->setPixmap(style()->standardIcon(QStyle::SP_ComputerIcon).pixmap(32, 32));
    productNameLabel = label("productNameLabel", "Vantor", 80, 16);
    versionLabel = label("versionLabel", "Version 1.00β10", 80, 40);
    copyrightLabel = label("copyrightLabel", "Copyright (C) the Vantor developers", 16, 64);
    descriptionLabel =
        label("descriptionLabel", "MS-DOS C development environment for 16-bit compilers", 16, 84);
    contactLabel =
        label("contactLabel", "Questions and reports: see the README of the source tree", 16, 104);

    okButton = new QPushButton("OK", frame);
    okButton->setObjectName("okButton");
    okButton->setGeometry(244, 10, 65, 25);
    okButton->setDefault(true);
    connect(okButton, &QPushButton::clicked, this, &AboutBox::confirm);
}

void AboutBox::updateVersion() {
    const std::optional<std::string> dotted =
        versions_.versionOf(pathFromQt(QApplication::applicationFilePath()));
    if (!dotted) return;
    versionLabel->setText(QString("Version ") + kReleaseLabel + " [" + toQt(*dotted) + "]");
    versionLabel->adjustSize();
}

void AboutBox::confirm() {
    accept();
}
