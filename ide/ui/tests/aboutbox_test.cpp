// The About box's version label: the build's version when there is one,
// the design text otherwise, the same text on every opening.
#include <QLabel>
#include <QPushButton>

#include "aboutbox.h"
#include "uitestsupport.h"

class AboutBoxTest : public QObject {
    Q_OBJECT

  private slots:
    void showsTheReleaseLabelAndTheFileVersion();
    void withoutVersionTheDesignTextStays();
    void fileVersionIsTheBuildsVersion();
    void okClosesWithAccepted();
};

void AboutBoxTest::showsTheReleaseLabelAndTheFileVersion() {
    std::string askedFor;
    AboutBox box(nullptr, [&askedFor](const std::string& path, std::string& out) {
        askedFor = path;
        out = "0.0.13.26";
        return true;
    });
    QCOMPARE(box.versionLabel->text(), QString("Version 1.00β10"));
    box.updateVersion();
    QCOMPARE(box.versionLabel->text(), QString("Version 1.00β13 [0.0.13.26]"));
    box.updateVersion();
    QCOMPARE(box.versionLabel->text(), QString("Version 1.00β13 [0.0.13.26]"));
    QCOMPARE(QString::fromStdString(askedFor), QCoreApplication::applicationFilePath());
    QCOMPARE(box.windowTitle(), QString("Vantorについて"));
    QCOMPARE(box.productNameLabel->text(), QString("Vantor"));
}

void AboutBoxTest::withoutVersionTheDesignTextStays() {
    AboutBox box(nullptr, [](const std::string&, std::string& out) {
        out.clear();
        return false;
    });
    box.updateVersion();
    QCOMPARE(box.versionLabel->text(), QString("Version 1.00β10"));
}

void AboutBoxTest::fileVersionIsTheBuildsVersion() {
    std::string version = "left over";
    QVERIFY(GetFileVersionString("/any/path", version));
    QCOMPARE(QString::fromStdString(version), QString("1.0.0.13"));
}

void AboutBoxTest::okClosesWithAccepted() {
    AboutBox box(nullptr);
    box.show();
    QTest::mouseClick(box.okButton, Qt::LeftButton);
    QCOMPARE(box.result(), int(QDialog::Accepted));
    QVERIFY(!box.isVisible());
}

QTEST_MAIN(AboutBoxTest)
#include "aboutbox_test.moc"
