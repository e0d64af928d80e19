#include "RedirectAddresses.h"

#include "engine/WebSiteEndpoints.h"

#include <QUrl>

namespace {

QString redirectService(const QString& packageType)
{
    return QString::fromLatin1(packageType == "zh-CN" ? WebSiteEndpoints::kRedirectServiceChina
                                                      : WebSiteEndpoints::kRedirectService);
}

// The version comes from the command line: encoded, it stays one query value whatever it holds.
QString queryValue(const QString& text)
{
    return QString::fromLatin1(QUrl::toPercentEncoding(text));
}

} // namespace

QString versionBeforeLastPoint(const QString& version)
{
    const int lastPoint = version.lastIndexOf('.');
    return lastPoint < 0 ? version : version.left(lastPoint);
}

QString componentAddonsAddress(const QString& packageType, const QString& language, const QString& version,
                               const QString& edition)
{
    QString address = redirectService(packageType);
    if (language.compare("ja-JP", Qt::CaseInsensitive) == 0)
        address = QString::fromLatin1(WebSiteEndpoints::kJapaneseRedirectPage);
    address += "/redirect.php?do=redirect&title=reader4mac_addons";
    address += QString("&product=%1&language=%2&version=%3&edition=%4")
                   .arg(QStringLiteral("Kelvrin Reader for Mac"), language, queryValue(version), edition);
    address += "&utm_source=client-app&utm_medium=button&utm_campaign=durnismac";
    return address + queryValue(versionBeforeLastPoint(version));
}

QString majorUpgradeInfoAddress(const QString& packageType, const QString& language, const QString& version,
                                const QString& edition)
{
    return redirectService(packageType) +
           QString("/redirect.php?do=redirect&title=%1&product=%2&language=%3&version=%4&edition=%5")
               .arg(QStringLiteral("durnis4mac-upgrade"), QStringLiteral("Kelvrin DurnisPDF for mac"), language,
                    queryValue(versionBeforeLastPoint(version)), edition);
}
