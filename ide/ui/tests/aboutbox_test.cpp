// The About box's version label: the build's version when there is one,
// the design text otherwise, the same text on every opening.
#include <QLabel>
#include <QPushButton>

#include "aboutbox.h"
#include "fileversion.h"
#include "uitestsupport.h"

namespace {

// A reader with a fixed answer that keeps the path it was asked for.
class FixedVersionReader : public FileVersionReader {
  public:
    explicit FixedVersionReader(std::optional<std::string> version)
        : version_(std::move(version)) {}

    std::optional<std::string> versionOf(const std::string& path) const override {
        askedFor = path;
        return version_;
    }

    mutable std::string askedFor;

  private:
    std::optional<std::string> version_;
};

}  // namespace

class AboutBoxTest : public QObject {
    Q_OBJECT

  private slots:
    void showsTheReleaseLabelAndTheFileVersion();
    void withoutVersionTheDesignTextStays();
    void fileVersionIsTheBuildsVersion();
    void okClosesWithAccepted();
};

void AboutBoxTest::showsTheReleaseLabelAndTheFileVersion() {
    const FixedVersionReader versions("0.0.13.26");
    AboutBox box(versions, nullptr);
    QCOMPARE(box.versionLabel->text(), QString("Version 1.00β10"));
    box.updateVersion();
    QCOMPARE(box.versionLabel->text(), QString("Version 1.00β13 [0.0.13.26]"));
    box.updateVersion();
    QCOMPARE(box.versionLabel->text(), QString("Version 1.00β13 [0.0.13.26]"));
    QCOMPARE(QString::fromStdString(versions.askedFor), QCoreApplication::applicationFilePath());
    QCOMPARE(box.windowTitle(), QString("Vantorについて"));
    QCOMPARE(box.productNameLabel->text(), QString("Vantor"));
}

void AboutBoxTest::withoutVersionTheDesignTextStays() {
    const FixedVersionReader versions(std::nullopt);
    AboutBox box(versions, nullptr);
    box.updateVersion();
    QCOMPARE(box.versionLabel->text(), QString("Version 1.00β10"));
}

void AboutBoxTest::fileVersionIsTheBuildsVersion() {
    const std::optional<std::string> version =
        CreateSystemFileVersionReader()->versionOf("/any/path");
    QVERIFY(version);
    QCOMPARE(QString::fromStdString(*version), QString("1.0.0.13"));
}

void AboutBoxTest::okClosesWithAccepted() {
    const auto versions = CreateSystemFileVersionReader();
    AboutBox box(*versions, nullptr);
    box.show();
    QTest::mouseClick(box.okButton, Qt::LeftButton);
    QCOMPARE(box.result(), int(QDialog::Accepted));
    QVERIFY(!box.isVisible());
}

QTEST_MAIN(AboutBoxTest)
#include "aboutbox_test.moc"
