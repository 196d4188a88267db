// The conversion between the core's byte strings and Qt's texts, in the
// code page it is given: Shift-JIS on a Japanese Windows, UTF-8 here.
#include <QtTest>

#include "qtext.h"

class QtTextTest : public QObject {
    Q_OBJECT

  private slots:
    void shiftJisBytesBecomeTheirCharactersAndBack();
    void utf8BytesBecomeTheirCharactersAndBack();
};

void QtTextTest::shiftJisBytesBecomeTheirCharactersAndBack() {
    using common::CodePage;
    // "ソース\x5c.c" with the 0x5C trail byte of "ソ", a real backslash,
    // half-width katakana and the code page 932 forms of "～" and "－".
    const std::string bytes =
        "\x83\x5c\x81\x5b\x83\x58\\\xb1\xb2.c(3) : warning \x81\x60\x81\x7c\x87\x40";
    const QString text = QString::fromUtf8("ソース\\ｱｲ.c(3) : warning ～－①");
    QCOMPARE(toQt(bytes, CodePage::ShiftJis), text);
    QCOMPARE(fromQt(text, CodePage::ShiftJis), bytes);
    // The same bytes read as UTF-8 are not these characters.
    QVERIFY(toQt(bytes, CodePage::Utf8) != text);
    QCOMPARE(toQt(std::string(), CodePage::ShiftJis), QString());
    QCOMPARE(fromQt(QString(), CodePage::ShiftJis), std::string());
}

void QtTextTest::utf8BytesBecomeTheirCharactersAndBack() {
    using common::CodePage;
    const QString text = QString::fromUtf8("ソース.c(3) : warning é");
    const std::string bytes = text.toStdString();
    QCOMPARE(toQt(bytes, CodePage::Utf8), text);
    QCOMPARE(fromQt(text, CodePage::Utf8), bytes);
    QVERIFY(fromQt(text, CodePage::ShiftJis) != bytes);
}

QTEST_GUILESS_MAIN(QtTextTest)
#include "qtext_test.moc"
