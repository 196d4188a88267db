// The one crossing between the core's byte strings and Qt's texts: every
// form converts through these functions, each for one kind of text.
//   Data (names, settings, a child's output): in the code page that
//   common::activeCodePage() reports (Shift-JIS or UTF-8), on every system;
//   Qt's own 8-bit codec is the ANSI code page on Windows and UTF-8
//   elsewhere, so it is not used: toQt, fromQt.
//   The program's own words (the literals of the source): UTF-8 under any
//   code page: wordsToQt, and toQt for a UiText of words and data.
//   Paths handed to Qt's file functions (the current folder, the file
//   chooser, QFile): Qt's own file-name encoding, so that Qt opens the very
//   file the bytes name: pathToQt, pathFromQt.
#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QStringDecoder>
#include <QStringEncoder>
#include <string>
#include <string_view>

#include "codepage.h"
#include "uitext.h"

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

inline QString wordsToQt(std::string_view words) {
    return QString::fromUtf8(words.data(), static_cast<qsizetype>(words.size()));
}

inline QString toQt(const UiText& text, common::CodePage cp = common::activeCodePage()) {
    QString shown;
    for (const UiText::Part& part : text.parts())
        shown += part.isData ? toQt(part.bytes, cp) : wordsToQt(part.bytes);
    return shown;
}

inline QString pathToQt(const std::string& path) {
    return QFile::decodeName(QByteArray(path.data(), static_cast<qsizetype>(path.size())));
}

inline std::string pathFromQt(const QString& path) {
    const QByteArray bytes = QFile::encodeName(path);
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}
