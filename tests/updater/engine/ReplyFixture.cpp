#include "ReplyFixture.h"

#include <QDir>

void ReplyParsing::startReaderRun(const QString& extra)
{
    startRun(QString("-readerpath \"%1\" -version 12.0.1.100 %2").arg(readerPath(), extra));
}

void ReplyParsing::installComponents(const QByteArray& updaterInfoXml) const
{
    QDir().mkpath(readerPath());
    IsolatedEnvironment::writeFile(QDir::cleanPath(readerPath() + "/../Resources/UpdaterInfo.xml"), updaterInfoXml);
}

CReaderModuleManager& ReplyParsing::parse(const QByteArray& reply, const QString& type, bool autoUpgrade)
{
    if (!m_run)
        startReaderRun();
    IsolatedEnvironment::writeFile(replyFile(), reply);
    CReaderModuleManager& run = engine(type);
    run.bAutoUpgrade = autoUpgrade;
    run.OnPaserModuleInfo(replyFile());
    return run;
}

std::vector<std::string> ReplyParsing::availableNames() const
{
    std::vector<std::string> names;
    for (int i = 0; i < m_engine->CountAvailableModule(); ++i)
        names.push_back(m_engine->GetAvailabletModule(i)->name);
    return names;
}

std::vector<std::string> ReplyParsing::selectedNames() const
{
    std::vector<std::string> names;
    for (int i = 0; i < m_engine->CountSelModules(); ++i)
        names.push_back(m_engine->GetSelModule(i)->name);
    return names;
}

MODULEINFO* ReplyParsing::available(const std::string& name) const
{
    for (int i = 0; i < m_engine->CountAvailableModule(); ++i) {
        if (m_engine->GetAvailabletModule(i)->name == name)
            return m_engine->GetAvailabletModule(i);
    }
    return nullptr;
}
