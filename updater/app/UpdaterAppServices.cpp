#include "UpdaterApp.h"

#include "engine/CSetup_CommandLine.h"
#include "engine/LocaleTables.h"

#include <QWidget>

namespace {

const QString kProductName = QStringLiteral("Kelvrin PDF Reader");

} // namespace

std::string UpdaterApp::GetLang() const
{
    return localeCodeFor(GetPackageType(), m_nLanguage).toStdString();
}

QString UpdaterApp::GetBigVersioin() const
{
    if (!m_pCommandLine)
        return QString();
    const QStringList parts = QString::fromStdString(m_pCommandLine->GetReaderVersion()).split('.');
    if (parts.size() < 3)
        return QString();
    return QString("%1.%2").arg(parts[0], parts[1]);
}

void UpdaterApp::ResetPostion(QRect rect, QWidget* widget)
{
    if (rect.isEmpty() || !rect.isValid())
        return;
    widget->move(rect.left() + rect.width() / 2 - widget->width() / 2,
                 rect.top() + rect.height() / 2 - widget->height() / 2);
}

std::string UpdaterApp::GetProductName()
{
    return kProductName.toStdString();
}
