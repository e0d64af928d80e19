#include "UpdaterApp.h"

#include "engine/CSetup_CommandLine.h"
#include "platform/SystemRoot.h"

#include <QDebug>
#include <QFile>
#include <QLocalSocket>

#include <iterator>

namespace {

constexpr int kReportWaitMs = 30000;

struct ReportWords {
    const char* word;
    const char* markerName;
};

// Indexed by UPDATE_CHECK_STATE.
constexpr ReportWords kReports[] = {
    {"errornetwork", "KelvrinDataerrornetwork.txt"},
    {"update finished", "KelvrinDataupdatefinished.txt"},
    {"close", "KelvrinDataclose.txt"},
    {"autoclose", "KelvrinDataautoclose.txt"},
};

// The marker folder belongs to the internal update service's installation; it is never created here.
void writeMarker(const char* markerName)
{
    QFile marker(systemPath(QString("/usr/local/share/kelvrin/%1/ACUpdate/").arg("Kelvrin PDF Reader") + markerName));
    if (marker.open(QIODevice::WriteOnly | QIODevice::Truncate))
        marker.close();
}

} // namespace

void UpdaterApp::NotifyMainCallBack(UPDATE_CHECK_STATE state)
{
    const bool internalMode =
        m_pCommandLine && !QString::fromStdString(m_pCommandLine->GetInternalUpdateURL()).isEmpty();
    const int index = static_cast<int>(state);
    if (index < 0 || index >= static_cast<int>(std::size(kReports)))
        return;

    sendReport(kReports[index].word);
    if (internalMode)
        writeMarker(kReports[index].markerName);
}

bool UpdaterApp::sendReport(const QByteArray& word)
{
    if (!m_pReportSocket)
        m_pReportSocket = new QLocalSocket(this);
    m_pReportSocket->connectToServer(m_strServerName, QIODevice::ReadWrite);
    if (!m_pReportSocket->waitForConnected(kReportWaitMs)) {
        qDebug().noquote() << "[debug] ==== Cannot connect to server : " + m_pReportSocket->errorString();
        // A connect still pending would make the next report's connect fail at once.
        m_pReportSocket->abort();
        return false;
    }
    m_pReportSocket->write(word);
    const bool answered = m_pReportSocket->waitForReadyRead(kReportWaitMs);
    m_pReportSocket->close();
    return answered;
}

bool UpdaterApp::SendProcData(std::string const&)
{
    return true;
}
