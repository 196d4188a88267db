// The About box and the file version it shows.
#include "taboutbox.h"

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QStyle>

#include "qtext.h"

namespace {
constexpr char kReleaseLabel[] = "1.00β13";
}

TAboutBox::TAboutBox(QWidget* parent, VersionReader readVersion)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      readVersion_(std::move(readVersion)) {
    setObjectName("AboutBox");
    setWindowTitle("Vantorについて");
    setFixedSize(318, 133);

    auto* Panel1 = new QFrame(this);
    Panel1->setObjectName("Panel1");
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Panel1->setGeometry(0, 0, 318, 133);

    const auto label = [Panel1](const char* name, const QString& text, int left, int top) {
        auto* item = new QLabel(text, Panel1);
        item->setObjectName(name);
        item->move(left, top);
        return item;
    };
    ProgramIcon = label("ProgramIcon", QString(), 16, 16);
    ProgramIcon->setPixmap(style()->standardIcon(QStyle::SP_ComputerIcon).pixmap(32, 32));
    ProductName = label("ProductName", "Vantor", 80, 16);
    Version = label("Version", "Version 1.00β10", 80, 40);
    Copyright = label("Copyright", "Copyright (C) the Vantor developers", 16, 64);
    Comments = label("Comments", "MS-DOS C development environment for 16-bit compilers", 16, 84);
    URL = label("URL", "Questions and reports: see the README of the source tree", 16, 104);

    OKButton = new QPushButton("OK", Panel1);
    OKButton->setObjectName("OKButton");
    OKButton->setGeometry(244, 10, 65, 25);
    OKButton->setDefault(true);
    connect(OKButton, &QPushButton::clicked, this, &TAboutBox::OKButtonClick);
}

void TAboutBox::updateVersion() {
    std::string dotted;
    if (!readVersion_(fromQt(QApplication::applicationFilePath()), dotted)) return;
    Version->setText(QString("Version ") + kReleaseLabel + " [" + toQt(dotted) + "]");
    Version->adjustSize();
}

void TAboutBox::OKButtonClick() {
    accept();
}
