#include "UpdateDialogLook.h"

#include "engine/UpdateRun.h"

#include <QApplication>
#include <QIcon>
#include <QPalette>
#include <QSize>

namespace {

constexpr int kChineseLanguage = 25;

} // namespace

QString moduleMegabytes(const std::string& size)
{
    const QString digits = QString::fromStdString(size).trimmed().remove(QLatin1Char('B'), Qt::CaseInsensitive);
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

void applyAppearancePalette(QWidget* dialog, bool darkMode)
{
    if (!darkMode) {
        dialog->setPalette(QApplication::palette());
        for (QWidget* child : dialog->findChildren<QWidget*>())
            child->setPalette(QApplication::palette(child));
        return;
    }
    const QColor text(222, 222, 222);
    const QColor disabledText(128, 128, 128);
    QPalette dark;
    dark.setColor(QPalette::Window, QColor(40, 40, 40));
    dark.setColor(QPalette::Base, QColor(28, 28, 28));
    dark.setColor(QPalette::AlternateBase, QColor(46, 46, 46));
    dark.setColor(QPalette::Button, QColor(58, 58, 58));
    dark.setColor(QPalette::Highlight, QColor(38, 110, 200));
    dark.setColor(QPalette::HighlightedText, Qt::white);
    for (const QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText}) {
        dark.setColor(role, text);
        dark.setColor(QPalette::Disabled, role, disabledText);
    }
    // Check boxes in views are outlined in a shade of the window colour: lighter there, so that they
    // stand out against the dark rows.
    QPalette darkView = dark;
    darkView.setColor(QPalette::Window, QColor(120, 120, 120));
    // A style sheet on the dialog keeps its views from inheriting the palette: give it to each.
    dialog->setPalette(dark);
    for (QWidget* child : dialog->findChildren<QWidget*>())
        child->setPalette(child->inherits("QAbstractItemView") ? darkView : dark);
}
