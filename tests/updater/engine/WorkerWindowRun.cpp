#include "WorkerWindowRun.h"

#include "VzipFixture.h"

#include <QCryptographicHash>
#include <QTest>

void WorkerWindowRun::SetUp()
{
    startRun(QString());
    ASSERT_TRUE(server.start());
    window = std::make_unique<DlgDownload>(nullptr);
    window->setTimerIntervals(50, 20, 5000);
    window->setReaderProbe([] { return false; });
    QObject::connect(window.get(), &DlgDownload::SignalInstallProgress,
                     [this](QString title, int value) { installProgress.append(qMakePair(title, value)); });
    QObject::connect(window.get(), &DlgDownload::SignalSetCurrentDownloadModule,
                     [this](QString name) { startedModules.append(name); });
    DlgDownload* worker = window.get();
    QObject::connect(worker, &DlgDownload::SignalStartInstall, worker, [this, worker](QString path) {
        startInstallPaths.append(path);
        if (installOnStartInstall)
            worker->installHasDownloadUpdates(path);
    });
}

void WorkerWindowRun::TearDown()
{
    window.reset();
    // Lets downloaders and finished processes that went with deleteLater go.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

MODULEINFO* WorkerWindowRun::module(const QString& title, const QString& path, const QByteArray& body)
{
    auto record = std::make_unique<MODULEINFO>();
    record->title = title.toStdString();
    record->name = title.toStdString();
    record->version = "1.0.0.1";
    record->url = server.url(path).toString().toStdString();
    if (!body.isNull())
        server.setFile(path.section('?', 0, 0), body);
    m_records.push_back(std::move(record));
    return m_records.back().get();
}

MODULEINFO* WorkerWindowRun::announcedModule(const QString& title, const QString& path, const QByteArray& body)
{
    MODULEINFO* record = module(title, path, body);
    record->size = QString("%1B").arg(body.size()).toStdString();
    record->md5 = QCryptographicHash::hash(body, QCryptographicHash::Md5).toHex().toStdString();
    return record;
}

QByteArray WorkerWindowRun::installPackage(const QVector<QPair<QByteArray, QByteArray>>& installers)
{
    QByteArray setup = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<setup>\n";
    VzipFixture package;
    for (const auto& installer : installers) {
        setup += "  <file name=\"" + installer.first + "\" parameter=\"\" iscommon=\"false\"/>\n";
        package.file(installer.first, installer.second);
    }
    package.file("Setup.xml", setup + "</setup>\n");
    return package.package();
}

void WorkerWindowRun::startQueue(const QVector<MODULEINFO*>& queue)
{
    window->setSelectUpdates(queue);
    window->startShowDownload();
}

bool WorkerWindowRun::waitForProgress(const QString& title, int value, int timeoutMs)
{
    return QTest::qWaitFor([&] { return installProgress.contains(qMakePair(title, value)); }, timeoutMs);
}

QVector<int> WorkerWindowRun::progressOf(const QString& title) const
{
    QVector<int> values;
    for (const auto& report : installProgress) {
        if (report.first == title)
            values.append(report.second);
    }
    return values;
}

QString WorkerWindowRun::downloadFolder() const
{
    return UpdateRun::GetAppDateRootPath() + "updater";
}
