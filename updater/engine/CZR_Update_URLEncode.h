#pragma once

#include <QChar>
#include <QObject>
#include <QString>

// Percent-encoder for the first value of the update-service query. The unsafe test takes a
// character's Latin-1 value as a signed byte, so Latin-1 letters above 127 pass unchanged while
// characters beyond Latin-1 (value 0) become "%00"; the service expects exactly this.
class CZR_Update_URLEncode : public QObject
{
    Q_OBJECT

public:
    explicit CZR_Update_URLEncode(QObject* parent);

    QString URLEncode(QString text);
    QString URLEncodeAll(QString text);
    bool IsUnsafe(QChar character);
    QString ConvertToHexString(QChar character);

private:
    struct CharRange {
        int first;
        int last;
    };
    static const CharRange m_enum_unsafe_ascii_char_range[4];
};
