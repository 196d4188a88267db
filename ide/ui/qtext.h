// The one crossing between the core's byte strings (in the system's code
// page) and Qt's texts: every form converts through these two functions.
#pragma once

#include <QByteArray>
#include <QString>
#include <string>

inline QString toQt(const std::string& bytes) {
    return QString::fromLocal8Bit(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

inline std::string fromQt(const QString& text) {
    const QByteArray bytes = text.toLocal8Bit();
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}
