#include "LocaleTables.h"

namespace {

const _LocaleInfo kEnglish{225, 31, "en-US", "English"};
const _LocaleInfo kChineseSimplified{44, 25, "zh-CN", "Chinese_Simplified"};
const _LocaleInfo kJapanese{108, 59, "ja-JP", "Japanese"};

} // namespace

const QVector<_LocaleInfo> g_localeInfos{
    kEnglish,
    kChineseSimplified,
    {82, 42, "de-DE", "German"},
    {197, 111, "es-419", "Spanish_Latin American"},
    {106, 58, "it-IT", "Italian"},
    {74, 37, "fr-FR", "French"},
    kJapanese,
    {114, 66, "ko-KR", "Korean"},
};
const QVector<_LocaleInfo> g_localeInfoszh{kEnglish, kChineseSimplified};
const QVector<_LocaleInfo> g_localeInfosjp{kEnglish, kJapanese};

const QVector<_LocaleInfo>& localeTableForPackage(const QString& packageType)
{
    if (packageType == "zh-CN")
        return g_localeInfoszh;
    if (packageType == "ja-JP")
        return g_localeInfosjp;
    return g_localeInfos;
}

const _LocaleInfo* findLocale(const QVector<_LocaleInfo>& table, int language)
{
    for (const _LocaleInfo& row : table) {
        if (row.language == language)
            return &row;
    }
    return nullptr;
}

QString localeCodeFor(const QString& packageType, int language)
{
    const _LocaleInfo* row = findLocale(localeTableForPackage(packageType), language);
    return row ? row->code : QStringLiteral("en-US");
}
