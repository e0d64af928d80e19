#pragma once

#include <QString>
#include <QVector>

#include <string>

namespace AUILib {

// Wide strings carry UTF-32 code points across the library's interfaces.
inline QString ToQString(const std::wstring& text)
{
    return QString::fromUcs4(reinterpret_cast<const uint*>(text.data()), static_cast<int>(text.size()));
}

inline std::wstring ToWString(const QString& text)
{
    const QVector<uint> codePoints = text.toUcs4();
    return std::wstring(codePoints.begin(), codePoints.end());
}

} // namespace AUILib
