#include "UpdaterProcess.h"

#include "StandinPrograms.h"
#include "VzipPackageWriter.h"
#include "platform/PlistSettings.h"
#include "WaitBound.h"

#include <QDir>
#include <QHostAddress>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSettings>
#include <QTcpSocket>

namespace {

constexpr int kStartMs = 10000;

QString readText(const QString& path)
{
    return QString::fromUtf8(IsolatedEnvironment::readFile(path));
}

} // namespace

void UpdaterProcessTest::SetUp()
{
    ASSERT_TRUE(bundle.install(UPDATER_EXECUTABLE));
    ASSERT_TRUE(StandinPrograms::place());
    IsolatedEnvironment::writeFile(bundle.resources() + "/UpdaterInfo.xml",
                                   "<updater_info><module name=\"OCR\" version=\"1.0\"/>"
                                   "<module name=\"Dictionary\" version=\"1.0\"/></updater_info>");
    openApplicationSettings("Kelvrin Software", "Kelvrin.PDF.Reader")->setValue("Preferences/General/bDebugMode", 1);
    QDir().mkpath(markerFolder());
}

void UpdaterProcessTest::TearDown()
{
    for (QProcess* process : {m_lingering.get(), m_service.get()}) {
        if (process && process->state() != QProcess::NotRunning) {
            process->kill();
            process->waitForFinished(5000);
        }
    }
}

QString UpdaterProcessTest::markerFolder() const
{
    return env.systemFile("/usr/local/share/kelvrin/Kelvrin PDF Reader/ACUpdate");
}

QString UpdaterProcessTest::makePackage(const DemoModule& module) const
{
    const QString source = packageFolder() + "/" + module.name;
    QString setup = "<Setup>";
    for (int i = 0; i < module.installerDirectives.size(); ++i) {
        const QString stem = i == 0 ? module.name : QString("%1-%2").arg(module.name).arg(i + 1);
        const QString installer = stem + (i == 0 && module.failingInstaller ? "-fail" : "") + ".pkg";
        setup += QString("<file name=\"%1\"/>").arg(installer);
        IsolatedEnvironment::writeFile(source + "/" + installer,
                                       QString("#standin\nproof=/Users/Shared/%1-installed.txt\n%2")
                                           .arg(stem, module.installerDirectives[i])
                                           .toUtf8());
    }
    IsolatedEnvironment::writeFile(source + "/Setup.xml", (setup + "</Setup>").toUtf8());
    // Some weight that does not compress, so that a throttled download takes a while.
    QByteArray weight(300 * 1000, '\0');
    quint32 state = 2463534242u;
    for (char& byte : weight) {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        byte = static_cast<char>(state >> 24);
    }
    IsolatedEnvironment::writeFile(source + "/data.bin", weight);

    const QString package = packageFolder() + "/" + module.name + ".vzip";
    QString error;
    const auto entries = VzipPackageWriter::entriesOfFolder(source, &error);
    EXPECT_TRUE(VzipPackageWriter::write(package, entries, LzmaEncodeOptions{}, &error)) << error.toStdString();
    if (module.damagedPackage) {
        QByteArray bytes = IsolatedEnvironment::readFile(package);
        bytes[bytes.size() / 2] = static_cast<char>(bytes[bytes.size() / 2] ^ 0x55);
        IsolatedEnvironment::writeFile(package, bytes);
    }
    return package;
}

void UpdaterProcessTest::startService(const QVector<DemoModule>& modules, const QStringList& serviceOptions)
{
    QJsonArray offered;
    for (const DemoModule& module : modules) {
        makePackage(module);
        offered.append(QJsonObject{{"name", module.name},
                                   {"title", module.name + " Add-on"},
                                   {"version", "2.0"},
                                   {"type", module.type},
                                   {"silent", module.silent},
                                   {"package", module.name + ".vzip"},
                                   {"md5", module.announcedMd5}});
    }
    const QString manifest = packageFolder() + "/manifest.json";
    IsolatedEnvironment::writeFile(manifest, QJsonDocument(QJsonObject{{"modules", offered}}).toJson());

    m_service = std::make_unique<QProcess>();
    m_service->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_service->start(KELVRIN_UPDATE_SERVICE, QStringList{"--manifest", manifest, "--lifetime", "120"} + serviceOptions);
    ASSERT_TRUE(m_service->waitForStarted(kStartMs));
    while (!m_service->canReadLine() && m_service->waitForReadyRead(kStartMs)) {
    }
    m_port = static_cast<quint16>(m_service->readLine().trimmed().toUInt());
    ASSERT_NE(m_port, 0);
}

QString UpdaterProcessTest::checkUrl() const
{
    return QString("http://127.0.0.1:%1/check").arg(m_port);
}

QStringList UpdaterProcessTest::serviceRequests()
{
    m_service->waitForReadyRead(100);
    m_serviceOutput += m_service->readAll();
    QStringList requests = QString::fromUtf8(m_serviceOutput).split('\n');
    requests.removeAll(QString());
    return requests;
}

QStringList UpdaterProcessTest::readerArguments(const QString& type) const
{
    return {"-updater", "-type", "\"" + type + "\"", "-version", "12.0.0.1", "-readerpath",
            "\"" + bundle.readerProgramFolder() + "\"", "-InternalUpdateURL", checkUrl()};
}

RunResult UpdaterProcessTest::runUpdater(const QStringList& arguments, const QString& robotScript, int boundMs)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_PLUGIN_PATH", KELVRIN_PLUGIN_DIR);
    environment.insert("QT_QPA_GENERIC_PLUGINS", "kelvrinrobot");
    environment.insert("KELVRIN_ROBOT_LOG", env.root() + "/robot.log");
    environment.insert("KELVRIN_ROBOT_STEP_TIMEOUT_MS", "20000");
    if (!robotScript.isEmpty()) {
        IsolatedEnvironment::writeFile(env.root() + "/robot.script", robotScript.toUtf8());
        environment.insert("KELVRIN_ROBOT_SCRIPT", env.root() + "/robot.script");
    }
    QProcess updater;
    updater.setProcessEnvironment(environment);
    updater.setProcessChannelMode(QProcess::MergedChannels);
    updater.start(bundle.executable(), arguments);
    RunResult result;
    if (!updater.waitForFinished(boundMs)) {
        result.overran = true;
        updater.kill();
        updater.waitForFinished(5000);
    }
    result.exitCode = updater.exitStatus() == QProcess::NormalExit ? updater.exitCode() : -1;
    result.output = QString::fromUtf8(updater.readAll());
    return result;
}

QProcess& UpdaterProcessTest::startUpdater(const QStringList& arguments)
{
    m_lingering = std::make_unique<QProcess>();
    m_lingering->setProcessChannelMode(QProcess::MergedChannels);
    m_lingering->start(bundle.executable(), arguments);
    m_lingering->waitForStarted(kStartMs);
    return *m_lingering;
}

QString UpdaterProcessTest::robotLog() const
{
    return readText(env.root() + "/robot.log");
}

QString UpdaterProcessTest::updateLog() const
{
    return readText(env.dataHome() + "/Kelvrin Software/Continuous/Kelvrin PDF Reader/Log/UpdaterApp/Update.log");
}

QStringList UpdaterProcessTest::installedPackages() const
{
    QStringList names;
    for (const QString& line : StandinPrograms::linesWith(StandinPrograms::installerLog(), "end")) {
        if (line.endsWith(" exit=0"))
            names.append(line.section(' ', 2).section(" exit=", 0, 0).section('/', -1));
    }
    return names;
}

QStringList UpdaterProcessTest::installerStarts() const
{
    QStringList paths;
    for (const QString& line : StandinPrograms::linesWith(StandinPrograms::installerLog(), "start"))
        paths.append(line.section(' ', 2));
    return paths;
}

bool presencePortAnswers()
{
    QTcpSocket client;
    client.connectToHost(QHostAddress::LocalHost, 8999);
    if (!client.waitForConnected(kWaitBoundMs))
        return false;
    QByteArray answer;
    while (answer.size() < 13 && client.waitForReadyRead(3000))
        answer += client.readAll();
    return answer == "UpdaterRuning";
}
