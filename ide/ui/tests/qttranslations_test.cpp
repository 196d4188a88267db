// Qt's standard buttons speak the user's language once its translations are
// installed, and Japanese, the interface's, when the locale names none.
#include <QApplication>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QTest>
#include <QTranslator>

#include "qttranslations.h"

class QtTranslationsTest : public QObject {
    Q_OBJECT

  private slots:
    void japaneseUserGetsJapaneseButtons();
    void userWithoutALanguageGetsJapanese();
    void otherLanguagesAreTheUsers();

  private:
    static QString cancelText() {
        QDialogButtonBox box(QDialogButtonBox::Cancel);
        return box.button(QDialogButtonBox::Cancel)->text();
    }
    static void installFor(const QLocale& user) {
        for (QTranslator* old : qApp->findChildren<QTranslator*>()) {
            QCoreApplication::removeTranslator(old);
            delete old;
        }
        QVERIFY(InstallQtTranslations(*qApp, user));
    }
};

void QtTranslationsTest::japaneseUserGetsJapaneseButtons() {
    installFor(QLocale(QLocale::Japanese, QLocale::Japan));
    QCOMPARE(cancelText(), QString::fromUtf8("キャンセル"));
}

void QtTranslationsTest::userWithoutALanguageGetsJapanese() {
    installFor(QLocale::c());
    QCOMPARE(cancelText(), QString::fromUtf8("キャンセル"));
}

void QtTranslationsTest::otherLanguagesAreTheUsers() {
    installFor(QLocale(QLocale::German, QLocale::Germany));
    QCOMPARE(cancelText().remove(QChar('&')), QString("Abbrechen"));
}

QTEST_MAIN(QtTranslationsTest)
#include "qttranslations_test.moc"
