#include "UpdateDialogLook.h"

#include "engine/UpdateRun.h"

#include <QIcon>
#include <QSize>

namespace {

constexpr int kChineseLanguage = 25;

} // namespace

QString moduleMegabytes(const std::string& size)
{
    const QString digits = QString::fromStdString(size).trimmed().remove('B', Qt::CaseInsensitive);
    const qlonglong bytes = digits.toLongLong();
    return QString::number(bytes * (1.0 / 1024) * (1.0 / 1024), 'f', 2);
}

QPixmap updateBanner(bool darkMode, int language)
{
    const bool china = UpdateRun::GetPackageType() == "zh-CN" && language == kChineseLanguage;
    const QString folder = china ? QStringLiteral(":/res/zh_cn/") : QStringLiteral(":/res/");
    const QString name = darkMode ? QStringLiteral("about-title-dark@2x.png") : QStringLiteral("about-title@2x.png");
    return QIcon(folder + name).pixmap(QSize(319, 48));
}
