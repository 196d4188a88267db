// The one crossing between the core's byte strings and Qt's texts: every
// form converts through these two functions. The core's texts, the settings
// and the children's output are in the code page that
// common::activeCodePage() reports (Shift-JIS or UTF-8), on every system;
// Qt's own 8-bit codec is the ANSI code page on Windows and UTF-8 elsewhere,
// so it is not used.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringDecoder>
#include <QStringEncoder>
#include <string>

#include "codepage.h"

// Qt's (ICU's) name of the code page; its "Shift_JIS" is code page 932.
inline const char* qtCodePageName(common::CodePage cp) {
    return cp == common::CodePage::ShiftJis ? "Shift_JIS" : "UTF-8";
}

inline QString toQt(const std::string& bytes, common::CodePage cp = common::activeCodePage()) {
    const QByteArrayView view(bytes.data(), static_cast<qsizetype>(bytes.size()));
    if (cp == common::CodePage::Utf8) return QString::fromUtf8(view);
    QStringDecoder decoder(qtCodePageName(cp));
    return decoder.decode(view);
}

inline std::string fromQt(const QString& text, common::CodePage cp = common::activeCodePage()) {
    if (cp == common::CodePage::Utf8) return text.toStdString();
    QStringEncoder encoder(qtCodePageName(cp));
    const QByteArray bytes = encoder.encode(text);
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}
