#include "CZR_Update_URLEncode.h"

const CZR_Update_URLEncode::CharRange CZR_Update_URLEncode::m_enum_unsafe_ascii_char_range[4] = {
    {0, 47}, {58, 64}, {91, 96}, {123, 255}};

CZR_Update_URLEncode::CZR_Update_URLEncode(QObject* parent)
    : QObject(parent)
{
}

QString CZR_Update_URLEncode::URLEncode(QString text)
{
    QString encoded;
    for (const QChar character : text)
        encoded += IsUnsafe(character) ? ConvertToHexString(character) : QString(character);
    return encoded;
}

QString CZR_Update_URLEncode::URLEncodeAll(QString text)
{
    QString encoded;
    for (const QChar character : text)
        encoded += ConvertToHexString(character);
    return encoded;
}

bool CZR_Update_URLEncode::IsUnsafe(QChar character)
{
    const int value = static_cast<signed char>(character.toLatin1());
    for (const CharRange& range : m_enum_unsafe_ascii_char_range) {
        if (value >= range.first && value <= range.last)
            return true;
    }
    return false;
}

QString CZR_Update_URLEncode::ConvertToHexString(QChar character)
{
    return QString::asprintf("%%%02x", static_cast<unsigned char>(character.toLatin1()));
}
