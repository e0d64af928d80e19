#include "dlgfound.h"

#include "CAppearanceObserver.h"
#include "UpdateDialogLook.h"
#include "UpdaterApp.h"
#include "engine/CReaderModuleManager.h"
#include "engine/CSetup_CommandLine.h"
#include "engine/UpdaterResources.h"
#include "engine/DlgDownload.h"
#include "ui_dlgfound.h"

#include <QCloseEvent>
#include <QIcon>
#include <QKeyEvent>
#include <QMessageBox>
#include <QStandardItemModel>

dlgfound::dlgfound(std::string type, bool, bool, bool autoStart, bool, CReaderModuleManager* engine,
                   QWidget* parent)
    : QDialog(parent)
    , bAutoStart(autoStart)
    , strType(std::move(type))
    , ui(new Ui_dlgfound)
{
    ensureUpdaterResources();
    ui->setupUi(this);
    setWindowTitle(tr("Download and Install"));
    setWindowFlags(Qt::Widget);

    pManager = engine ? engine : new CReaderModuleManager(QString::fromStdString(strType), this);

    ui->txt_desc->setReadOnly(true);
    ui->treeView->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ui->treeView->setAccessibleDescription(QObject::tr("table"));

    const CSetup_CommandLine* command = theApp ? theApp->commandLine() : nullptr;
    const QString readerVersion = command ? QString::fromStdString(command->GetReaderVersion()) : QString();
    ui->lbl_version->setText(tr("Version: ") + readerVersion);

    connect(ui->btn_close, SIGNAL(clicked()), this, SLOT(OnCancel()));
    connect(ui->btn_download, SIGNAL(clicked()), this, SLOT(downloadInstall()));
    connect(ui->treeView, SIGNAL(clicked(QModelIndex)), this, SLOT(OnTreeViewClicked(QModelIndex)));
    connect(pManager, SIGNAL(sSendDownloadProgress(QString, double)), this,
            SLOT(showDownloadProgress(QString, double)));
    connect(pManager, SIGNAL(sSendInstallProgress(QString, int)), this, SLOT(showInstallProgress(QString, int)));
    connect(pManager, SIGNAL(sSendInstallPkg(QString)), this, SLOT(startInstallPkg(QString)));

    m_pAppearance = new CAppearanceObserver(this);
    OnAppearanceSetting(m_pAppearance->isDarkMode());
    connect(m_pAppearance, SIGNAL(signal_appearanceChanged(bool)), this, SLOT(OnAppearanceSetting(bool)));

    InitDialog();
}

dlgfound::~dlgfound()
{
    delete ui;
}

void dlgfound::InitDialog()
{
    pModel = new QStandardItemModel(ui->treeView);
    ui->treeView->setModel(pModel);
    pModel->setHorizontalHeaderLabels({tr("Module Name"), tr("Size"), tr("Progress")});
    ui->treeView->setColumnWidth(0, 220);
    ui->treeView->setColumnWidth(1, 130);

    if (strType == "Update List") {
        OnDownloadQueryResult("1", "0");
    } else if (strType == "Auto Updater") {
        OnDownloadQueryResult("1", "2");
    } else if (pManager->CountSelModules() == 0) {
        ui->btn_download->setEnabled(false);
        // The query runs on the engine's own thread once the dialog is up; its result reaches the
        // dialog only through the engine's signals.
        QMetaObject::invokeMethod(this, &dlgfound::QueryUpdateThreadProc, Qt::QueuedConnection);
    }
    OnDownload();
}

void dlgfound::QueryUpdateThreadProc()
{
    if (pManager)
        pManager->QueryModuleInfo(nullptr, false);
}

void dlgfound::OnDownloadQueryResult(QString result, QString mode)
{
    const bool restart = mode != "1";
    if (pManager && restart)
        pManager->stopDownload();
    if (result.isEmpty()) {
        OnExit();
        return;
    }
    if (restart) {
        nState = Ready;
        ui->btn_download->setText(tr("Download"));
    }
    const bool forcedOnly = theApp && theApp->bForcedOnly;
    for (int i = 0; pManager && i < pManager->CountSelModules(); ++i) {
        MODULEINFO* record = pManager->GetSelModule(i);
        if (!record)
            break;
        if ((forcedOnly && !record->forcedUpgrade) || CanFindAppointItem(record))
            continue;
        if (restart)
            ui->btn_download->setEnabled(true);
        ui->txt_desc->setText(QString::fromStdString(record->description));

        const QString title = QString::fromStdString(record->title);
        auto* name = new QStandardItem(title);
        auto* status = new QStandardItem(tr("Waiting"));
        pModel->insertRow(pModel->rowCount(),
                          {name, new QStandardItem(tr("%1MB").arg(moduleMegabytes(record->size))), status});
        mapTitleNameItem.insert(title, name);
        mapTitleStatusItem.insert(title, status);
        mapTitleModule.insert(title, record);
        ui->treeView->setColumnWidth(0, 220);
        ui->treeView->setColumnWidth(1, 130);

        if (!mode.isEmpty() && nState == Done) {
            ui->btn_download->setEnabled(true);
            nState = Ready;
            ui->btn_download->setText(tr("Download"));
            OnDownload();
        }
    }
    if (restart && bAutoStart)
        OnDownload();
}

bool dlgfound::CanFindAppointItem(MODULEINFO* record)
{
    if (!record)
        return false;
    const QString title = QString::fromStdString(record->title);
    for (int row = 0; row < pModel->rowCount(); ++row) {
        const QStandardItem* name = pModel->item(row, 0);
        if (name && name->text() == title)
            return true;
    }
    return false;
}

QStandardItem* dlgfound::statusItemOf(const MODULEINFO* record) const
{
    return record ? mapTitleStatusItem.value(QString::fromStdString(record->title)) : nullptr;
}

void dlgfound::downloadInstall()
{
    OnDownload();
}

void dlgfound::OnDownload()
{
    switch (nState) {
    case Ready:
        nState = Downloading;
        ui->btn_download->setText(tr("Pause"));
        if (pManager)
            pManager->startDownload();
        DownloadModule(nullptr);
        break;
    case Downloading: {
        nState = Paused;
        ui->btn_download->setText(tr("Continue"));
        QStandardItem* status = pManager ? statusItemOf(pManager->GetCurDownloadModule()) : nullptr;
        // A row that is installing or has ended has nothing to pause.
        if (status && !status->text().contains(tr("Install")) && !status->text().isEmpty()) {
            status->setText(tr("Suspended"));
            pManager->OnDownloadPause();
        }
        break;
    }
    case Paused: {
        nState = Downloading;
        QStandardItem* status = pManager ? statusItemOf(pManager->GetCurDownloadModule()) : nullptr;
        if (status && !status->text().contains("Install") && !status->text().isEmpty()) {
            ui->btn_download->setText(tr("Pause"));
            status->setText(tr("Downloading"));
            pManager->OnDownloadResume();
        }
        break;
    }
    case Done:
        reject();
        break;
    }
}

void dlgfound::DownloadModule(MODULEINFO* previous)
{
    MODULEINFO* next = pManager ? pManager->GetNextSelModule(previous) : nullptr;
    if (pModel->rowCount() >= 1 && next) {
        if (QStandardItem* status = statusItemOf(next))
            status->setText(tr("Downloading"));
        pManager->SetCurDownloadModuleInfo(next);
        pManager->Download(next);
        return;
    }
    ui->btn_download->setText(tr("OK"));
    ui->btn_download->setEnabled(true);
    ui->btn_close->setEnabled(false);
    nState = Done;
}

void dlgfound::showDownloadProgress(QString title, double percent)
{
    QStandardItem* status = mapTitleStatusItem.value(title);
    if (!status)
        return;
    status->setText(tr("Download ") + QString::number(static_cast<int>(percent)) + tr("%"));
    ui->btn_download->setEnabled(true);
}

void dlgfound::showInstallProgress(QString title, int percent)
{
    if (QStandardItem* status = mapTitleStatusItem.value(title)) {
        status->setText(tr("Install ") + QString::number(percent) + tr("%"));
        if (percent == -1 || percent == 100) {
            status->setIcon(QIcon(percent == -1 ? ":/res/popup_warning.png" : ":/res/popup_success.png"));
            status->setText(QString());
            nState = Downloading;
        }
        ui->btn_download->setEnabled(false);
    }
    for (const QStandardItem* status : qAsConst(mapTitleStatusItem)) {
        if (!status->text().isEmpty())
            return;
    }
    ui->btn_download->setText(tr("Pause"));
    ui->btn_download->setEnabled(false);
    ui->btn_close->setText(tr("Close"));
}

void dlgfound::startInstallPkg(QString qsName)
{
    if (!pManager || !pManager->GetDownloadDlg())
        return;
    pManager->GetDownloadDlg()->hide();
    pManager->GetDownloadDlg()->installHasDownloadUpdates(qsName);
}

void dlgfound::OnTreeViewClicked(QModelIndex qmi)
{
    const QString text = qmi.data(Qt::DisplayRole).toString();
    for (auto it = mapTitleNameItem.cbegin(); it != mapTitleNameItem.cend(); ++it) {
        if (it.key() == text && it.value()) {
            if (const MODULEINFO* record = mapTitleModule.value(it.key()))
                ui->txt_desc->setText(QString::fromStdString(record->description));
            return;
        }
    }
}

bool dlgfound::confirmLeaving()
{
    const QString product = QObject::tr("Kelvrin PDF Reader");
    const QString question = tr("%1 is downloading the latest %2 version now, are you sure you want to quit?");
    return QMessageBox::information(this, product + tr(" Updater"), question.arg(product, product),
                                    QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes) == QMessageBox::Yes;
}

void dlgfound::OnCancel()
{
    if (!ui->btn_download->isEnabled() || confirmLeaving())
        reject();
}

void dlgfound::closeEvent(QCloseEvent* event)
{
    if (!ui->btn_download->isEnabled() || confirmLeaving()) {
        reject();
        return;
    }
    event->ignore();
}

void dlgfound::keyPressEvent(QKeyEvent* e)
{
    if (e->key() != Qt::Key_Escape) {
        QDialog::keyPressEvent(e);
        return;
    }
    if (confirmLeaving())
        reject();
    else
        e->ignore();
}

void dlgfound::OnExit()
{
    if (!pManager)
        return;
    pManager->OnDownloadPause();
    if (pManager->QueryStopDownload())
        pManager->stopDownload();
    else if (nState != Paused)
        pManager->OnDownloadResume();
}

bool dlgfound::AddModuleToDownloadList(std::string name)
{
    if (!pManager)
        return false;
    MODULEINFO* match = nullptr;
    QString updaterTitle;
    for (int i = 0; i < pManager->CountSelModules(); ++i) {
        MODULEINFO* record = pManager->GetSelModule(i);
        if (!record)
            continue;
        if (!match && record->name == name)
            match = record;
        if (record->module_type == "updater")
            updaterTitle = QString::fromStdString(record->title);
    }
    if (!match)
        return false;
    bool updaterListed = false;
    for (int row = 0; row < pModel->rowCount(); ++row) {
        const QStandardItem* item = pModel->item(row, 0);
        updaterListed = updaterListed || (item && item->text() == updaterTitle);
    }
    if (updaterListed && match->module_type == "updater")
        return false;
    if (match->selected) {
        bAlreadySelected = true;
        return false;
    }
    match->selected = true;
    pManager->AddSelModule(match);
    return true;
}

void dlgfound::OnAppearanceSetting(bool isDarkMode)
{
    setStyleSheet(isDarkMode ? "color:rgb(222,222,222);" : "color:rgb(26,26,26);");
    applyAppearancePalette(this, isDarkMode);
    ui->lbl_Img->setPixmap(updateBanner(isDarkMode, theApp ? theApp->m_nLanguage : 0));
}
