#pragma once

#include <QString>
#include <string>

namespace fw::qt {

// The logic's texts are single-byte strings in the system's own encoding;
// the widgets hold QStrings.
inline QString toQt(const std::string& text) { return QString::fromLocal8Bit(text.data(), static_cast<qsizetype>(text.size())); }

inline std::string fromQt(const QString& text)
{
    const QByteArray bytes = text.toLocal8Bit();
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

} // namespace fw::qt
