#pragma once
// Stored text for display. Files and settings written by this program hold UTF-8; older files were
// written in a Western code page, whose bytes are seldom valid UTF-8 and read right as Latin-1.
#include <QString>
#include <QStringDecoder>
#include <string>

namespace tavrin {

inline QString fromStoredText(const std::string& bytes) {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
    if (!utf8.hasError()) return text;
    return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

}  // namespace tavrin
