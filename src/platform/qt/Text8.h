#pragma once

#include <QString>
#include <string>

namespace fw::qt {

// The logic's texts are UTF-8 on every system (ground/FilePath.h says why);
// the widgets hold QStrings.
inline QString toQt(const std::string& text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

inline std::string fromQt(const QString& text)
{
    const QByteArray bytes = text.toUtf8();
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

} // namespace fw::qt
