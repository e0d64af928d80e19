#include "DialogRun.h"
#include "LocalHttpServer.h"
#include "ModalDriver.h"
#include "StandinPrograms.h"
#include "VzipFixture.h"
#include "app/dlgfound.h"
#include "engine/DlgDownload.h"
#include "platform/CurrentUser.h"
#include "platform/PlistCodec.h"
#include "WaitBound.h"

#include <QCryptographicHash>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QStandardItemModel>
#include <QTest>
#include <QThread>
#include <QTreeView>

#include <gtest/gtest.h>

#include <memory>

namespace {

class DownloadList : public DialogRun
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(server.start());
        ASSERT_TRUE(StandinPrograms::place());
        startRun();
    }

    void TearDown() override
    {
        dialog.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    // A package whose one installer the stand-in Installer records, with `padding` bytes of data that
    // do not compress, so that its transfer takes time on a throttled route.
    static QByteArray package(const QByteArray& installer, int padding = 0)
    {
        QByteArray data(padding, Qt::Uninitialized);
        QRandomGenerator generator(7);
        for (char& byte : data)
            byte = static_cast<char>(generator.bounded(256));
        return VzipFixture()
            .file("Setup.xml", "<setup><file name=\"" + installer + "\"/></setup>")
            .file(installer, "#standin\n")
            .file("data.bin", data)
            .package();
    }

    // Offers and selects a module whose package the server holds at "/pkg/<file>".
    MODULEINFO* select(const std::string& title, const QString& file, const QByteArray& body,
                       const HttpRoute& route = HttpRoute())
    {
        MODULEINFO* record = offer("service", title, QString("%1B").arg(body.size()).toStdString());
        record->url = server.url("/pkg/" + file).toString().toStdString();
        record->md5 = QCryptographicHash::hash(body, QCryptographicHash::Md5).toHex().toStdString();
        HttpRoute served = route;
        served.body = body;
        server.setRoute("/pkg/" + file, served);
        m_engine->AddSelModule(record);
        return record;
    }

    dlgfound& open(const std::string& type = "Update List")
    {
        DlgDownload* worker = m_engine->GetDownloadDlg();
        worker->setTimerIntervals(50, 20, 5000);
        worker->setReaderProbe([] { return false; });
        dialog = std::make_unique<dlgfound>(type, false, false, false, false, m_engine, nullptr);
        return *dialog;
    }

    QStandardItemModel* model() const
    {
        return qobject_cast<QStandardItemModel*>(dialog->findChild<QTreeView*>("treeView")->model());
    }
    QPushButton* download() const { return dialog->findChild<QPushButton*>("btn_download"); }
    QPushButton* closeButton() const { return dialog->findChild<QPushButton*>("btn_close"); }
    QStandardItem* status(int row) const { return model()->item(row, 2); }
    QStringList statuses() const
    {
        QStringList texts;
        for (int row = 0; row < model()->rowCount(); ++row)
            texts.append(status(row)->text());
        return texts;
    }
    bool iconIs(int row, const char* resource) const
    {
        return status(row)->icon().pixmap(16).toImage() == QIcon(resource).pixmap(16).toImage();
    }
    bool waitForAllInstalled(int timeoutMs = kWaitBoundMs)
    {
        return QTest::qWaitFor([&] { return statuses().join("").isEmpty(); }, timeoutMs);
    }

    LocalHttpServer server;
    std::unique_ptr<dlgfound> dialog;
};

TEST_F(DownloadList, ASelectionDownloadsAndInstallsRowByRow)
{
    const QByteArray first = package("First.pkg");
    const QByteArray second = package("Second.pkg");
    select("Stamps", "stamps.vzip", first);
    select("Forms", "forms.vzip", second);
    QStringList seen;
    open();
    QObject::connect(model(), &QStandardItemModel::itemChanged, [&](QStandardItem* item) {
        if (item->column() == 2 && !item->text().isEmpty() && !seen.contains(item->text()))
            seen.append(item->text());
    });

    EXPECT_EQ(statuses(), (QStringList{"Downloading", "Waiting"}));
    EXPECT_EQ(download()->text(), "Pause");
    EXPECT_EQ(model()->item(0, 1)->text(), "0.00MB");

    ASSERT_TRUE(waitForAllInstalled());
    EXPECT_TRUE(iconIs(0, ":/res/popup_success.png"));
    EXPECT_TRUE(iconIs(1, ":/res/popup_success.png"));
    EXPECT_TRUE(seen.contains("Download 100%")) << seen.join(", ").toStdString();
    EXPECT_TRUE(seen.contains("Install 20%")) << seen.join(", ").toStdString();
    EXPECT_EQ(download()->text(), "Pause");
    EXPECT_FALSE(download()->isEnabled());
    EXPECT_EQ(closeButton()->text(), "Close");
    EXPECT_EQ(StandinPrograms::linesWith(StandinPrograms::installerLog(), "end").size(), 2);

    // Everything has ended: closing asks nothing.
    dialog->show();
    closeButton()->click();
    EXPECT_FALSE(dialog->isVisible());
}

TEST_F(DownloadList, APackageAlreadyCompleteOnDiskShowsItsDownloadComplete)
{
    const QByteArray body = package("Kept.pkg");
    select("Stamps", "kept.vzip", body);
    IsolatedEnvironment::writeFile(UpdateRun::GetAppDateRootPath() + "updater/kept.vzip", body);
    // The list starts the queue as it opens, and the row has its report before a test could watch it.
    QSignalSpy rowReports(m_engine.data(), SIGNAL(sSendDownloadProgress(QString, double)));
    open();

    ASSERT_TRUE(waitForAllInstalled());
    EXPECT_TRUE(iconIs(0, ":/res/popup_success.png"));
    ASSERT_EQ(rowReports.size(), 1);
    EXPECT_EQ(rowReports.at(0).at(0).toString(), "Stamps");
    EXPECT_DOUBLE_EQ(rowReports.at(0).at(1).toDouble(), 100.0);
    EXPECT_TRUE(server.requestsFor("/pkg/kept.vzip").isEmpty());
}

TEST_F(DownloadList, TheRelayedProgressReachesTheRowOfItsTitle)
{
    HttpRoute stalled;
    stalled.stallAfter = 0;
    select("Stamps", "stamps.vzip", package("Stamps.pkg"), stalled);
    select("Forms", "forms.vzip", package("Forms.pkg"), stalled);
    open();
    DlgDownload* worker = m_engine->GetDownloadDlg();

    emit worker->SignalCurrentProgress("Stamps", 99.7);
    EXPECT_EQ(status(0)->text(), "Download 99%");
    emit worker->SignalInstallProgress("Forms", 20);
    EXPECT_EQ(status(1)->text(), "Install 20%");
    emit worker->SignalInstallProgress("Unlisted", 100);
    emit worker->SignalCurrentProgress("Unlisted", 50);
    EXPECT_EQ(statuses(), (QStringList{"Download 99%", "Install 20%"}));

    emit worker->SignalInstallProgress("Forms", -1);
    EXPECT_EQ(status(1)->text(), "");
    EXPECT_TRUE(iconIs(1, ":/res/popup_warning.png"));
    EXPECT_EQ(closeButton()->text(), "Cancel") << "a row is still busy";
    emit worker->SignalInstallProgress("Stamps", 100);
    EXPECT_TRUE(iconIs(0, ":/res/popup_success.png"));
    EXPECT_EQ(closeButton()->text(), "Close");
    EXPECT_FALSE(download()->isEnabled());
}

TEST_F(DownloadList, RowsAreFoundByTitleWhenTheSelectionHasModulesWithoutARow)
{
    HttpRoute stalled;
    stalled.stallAfter = 0;
    select("Stamps", "a.vzip", package("A.pkg"), stalled);
    select("Stamps", "b.vzip", package("B.pkg"), stalled);
    MODULEINFO* forms = select("Forms", "c.vzip", package("C.pkg"), stalled);
    open();
    ASSERT_EQ(statuses(), (QStringList{"Downloading", "Waiting"})) << "a repeated title gets no second row";

    // The third module of the selection has the second row.
    m_engine->SetCurDownloadModuleInfo(forms);
    download()->click();
    EXPECT_EQ(statuses(), (QStringList{"Downloading", "Suspended"}));
    EXPECT_EQ(download()->text(), "Continue");
    download()->click();
    EXPECT_EQ(statuses(), (QStringList{"Downloading", "Downloading"}));
    EXPECT_EQ(download()->text(), "Pause");
}

TEST_F(DownloadList, OnlyForcedModulesGetARowWhenOnlyForcedOnesAreToBeDownloaded)
{
    HttpRoute stalled;
    stalled.stallAfter = 0;
    select("Stamps", "a.vzip", package("A.pkg"), stalled);
    select("Forms", "b.vzip", package("B.pkg"), stalled)->forcedUpgrade = true;
    m_app->bForcedOnly = true;
    open();
    EXPECT_EQ(model()->rowCount(), 1);
    EXPECT_EQ(model()->item(0, 0)->text(), "Forms");
    EXPECT_EQ(status(0)->text(), "Waiting") << "the module downloading first has no row";
    download()->click();
    EXPECT_EQ(status(0)->text(), "Waiting") << "nothing of another module's row is paused";
    EXPECT_EQ(download()->text(), "Continue");
}

TEST_F(DownloadList, AnEmptySelectionIsDoneAtOnce)
{
    open().show();
    EXPECT_EQ(model()->rowCount(), 0);
    EXPECT_EQ(download()->text(), "OK");
    EXPECT_TRUE(download()->isEnabled());
    EXPECT_FALSE(closeButton()->isEnabled());
    download()->click();
    EXPECT_FALSE(dialog->isVisible());
}

TEST_F(DownloadList, PauseAndContinueResumeTheTransferWhereItStopped)
{
    HttpRoute slow;
    slow.bytesPerSecond = 200 * 1024;
    const QByteArray body = package("Big.pkg", 300 * 1024);
    select("Stamps", "big.vzip", body, slow);
    open();
    ASSERT_TRUE(QTest::qWaitFor([&] { return status(0)->text().startsWith("Download "); }, kWaitBoundMs));
    download()->click();
    EXPECT_EQ(status(0)->text(), "Suspended");
    EXPECT_EQ(download()->text(), "Continue");
    const QString partial = UpdateRun::GetAppDateRootPath() + "updater/big.vzip";
    QTest::qWait(300);
    const qint64 pausedAt = QFileInfo(partial).size();
    ASSERT_GT(pausedAt, 0);
    ASSERT_LT(pausedAt, body.size());

    download()->click();
    EXPECT_EQ(status(0)->text(), "Downloading");
    EXPECT_EQ(download()->text(), "Pause");
    ASSERT_TRUE(waitForAllInstalled());
    EXPECT_TRUE(iconIs(0, ":/res/popup_success.png"));

    const QVector<HttpRequestRecord> requests = server.requestsFor("/pkg/big.vzip");
    ASSERT_EQ(requests.size(), 2);
    EXPECT_EQ(requests[1].range(), "bytes=" + QByteArray::number(pausedAt) + "-");
    QFile downloaded(partial);
    ASSERT_TRUE(downloaded.open(QIODevice::ReadOnly));
    EXPECT_TRUE(downloaded.readAll() == body);
}

TEST_F(DownloadList, APauseWhileInstallingLeavesTheRowAndTheTransferAlone)
{
    HttpRoute slow;
    slow.bytesPerSecond = 400 * 1024;
    select("Stamps", "slow.vzip", package("Slow.pkg", 200 * 1024), slow);
    open();
    emit m_engine->GetDownloadDlg()->SignalInstallProgress("Stamps", 20);
    // Installation progress disables the button; the slot behind it still runs, as when another
    // row's download progress has enabled it again.
    dialog->downloadInstall();
    EXPECT_EQ(download()->text(), "Continue");
    EXPECT_EQ(status(0)->text(), "Install 20%");
    ASSERT_TRUE(waitForAllInstalled()) << "the transfer went on";
    EXPECT_EQ(server.requestsFor("/pkg/slow.vzip").size(), 1);
}

TEST_F(DownloadList, AnotherTypeWithNothingSelectedQueriesOnceOnTheMainThread)
{
    server.setFile("/svc/check", "<modules/>");
    startRun("-updater -type \"Stamps\" -InternalUpdateURL " + server.url("/svc/check").toString());
    QThread* queryThread = nullptr;
    QObject::connect(m_engine, &CReaderModuleManager::sQueryModuleInfoFinish,
                     [&] { queryThread = QThread::currentThread(); });
    open("Stamps");
    EXPECT_TRUE(server.requests().isEmpty()) << "the query starts once the dialog's loop runs";
    ASSERT_TRUE(QTest::qWaitFor([&] { return queryThread != nullptr; }, kWaitBoundMs));
    EXPECT_EQ(queryThread, QThread::currentThread());
    QTest::qWait(50);
    EXPECT_EQ(server.requestsFor("/svc/check").size(), 1);
    EXPECT_EQ(model()->rowCount(), 0) << "the dialog handles no result itself";
}

TEST_F(DownloadList, LeavingAsksWhileTheButtonIsEnabledAndEscapeAlwaysAsks)
{
    open().show();
    const QString question =
        "Kelvrin PDF Reader Updater: Kelvrin PDF Reader is downloading the latest Kelvrin PDF Reader version now, "
        "are you sure you want to quit?";
    QString asked;
    auto answer = [&](QMessageBox::StandardButton button) {
        whenModalShown([&asked, button](QWidget* modal) {
            auto* box = qobject_cast<QMessageBox*>(modal);
            ASSERT_NE(box, nullptr);
            asked = box->windowTitle() + ": " + box->text();
            box->button(button)->click();
        });
    };

    answer(QMessageBox::No);
    dialog->close();
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(asked, question);

    asked.clear();
    answer(QMessageBox::No);
    QTest::keyClick(dialog.get(), Qt::Key_Escape);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(asked, question);

    answer(QMessageBox::Yes);
    QTest::keyClick(dialog.get(), Qt::Key_Escape);
    EXPECT_FALSE(dialog->isVisible());
}

TEST_F(DownloadList, TheConductorPointsAtTheListWhileItRuns)
{
    bool flag = true;
    dlgfound* seen = nullptr;
    whenModalShown([&](QWidget* modal) {
        seen = g_curr_dlgfound_ptr;
        EXPECT_EQ(static_cast<QWidget*>(g_curr_dlgfound_ptr), modal);
        qobject_cast<QDialog*>(modal)->reject();
    });
    m_app->ShowDownloadDlg("Update List", flag, false, false, false, m_engine);
    EXPECT_NE(seen, nullptr);
    EXPECT_EQ(g_curr_dlgfound_ptr, nullptr);
}

TEST_F(DownloadList, AnEngineReleasedInMidDownloadTakesItsWorkerAlong)
{
    HttpRoute slow;
    slow.bytesPerSecond = 100 * 1024;
    select("Stamps", "slow.vzip", package("Slow.pkg", 200 * 1024), slow);
    open();
    ASSERT_TRUE(QTest::qWaitFor([&] { return status(0)->text().startsWith("Download "); }, kWaitBoundMs));
    QPointer<DlgDownload> worker = m_engine->GetDownloadDlg();

    m_app->releaseEngine();
    QTest::qWait(200);
    EXPECT_TRUE(m_engine.isNull());
    EXPECT_TRUE(worker.isNull());
    download()->click();
    download()->click();
    EXPECT_TRUE(status(0)->text().startsWith("Download ")) << "nothing reports to the list any more";
}

TEST_F(DownloadList, FollowsTheAppearance)
{
    open();
    auto* banner = dialog->findChild<QLabel*>("lbl_Img");
    const QImage light = banner->pixmap()->toImage();
    EXPECT_EQ(dialog->styleSheet(), "color:rgb(26,26,26);");

    ASSERT_TRUE(Plist::writeFile(globalPreferencesPath(), QVariantMap{{"AppleInterfaceStyle", "Dark"}}));
    ASSERT_TRUE(QTest::qWaitFor([&] { return dialog->styleSheet() == "color:rgb(222,222,222);"; }, kWaitBoundMs));
    EXPECT_NE(banner->pixmap()->toImage(), light);
    EXPECT_EQ(banner->pixmap()->size(), QSize(319, 48));
}

} // namespace
