#pragma once

#include <QString>
#include <QVector>

// One user-interface language of the reader. The numbers are those of QLocale's enumerations.
struct _LocaleInfo {
    int country;
    int language;
    QString code;
    QString name;
};

// Every language, and the reduced tables of the China and Japan packages.
extern const QVector<_LocaleInfo> g_localeInfos;
extern const QVector<_LocaleInfo> g_localeInfoszh;
extern const QVector<_LocaleInfo> g_localeInfosjp;

// The table of a bundle's package type: "zh-CN" and "ja-JP" have their own, anything else the full one.
const QVector<_LocaleInfo>& localeTableForPackage(const QString& packageType);

// The first row of `table` for `language` (the country plays no part); null when there is none.
const _LocaleInfo* findLocale(const QVector<_LocaleInfo>& table, int language);

// The locale code of `language` in the table of `packageType`; "en-US" when the table has no row for it.
QString localeCodeFor(const QString& packageType, int language);
