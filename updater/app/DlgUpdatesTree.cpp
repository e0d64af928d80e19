#include "DlgUpdatesTree.h"

#include "CAppearanceObserver.h"
#include "UpdateDialogLook.h"
#include "UpdaterApp.h"
#include "engine/CReaderModuleManager.h"
#include "engine/CRegister.h"
#include "engine/CSetup_CommandLine.h"
#include "engine/UpdaterResources.h"
#include "ui_DlgUpdatesTree.h"

#include <QCloseEvent>
#include <QDateTime>
#include <QFileInfo>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMessageBox>
#include <QStandardItemModel>

namespace {

const QString kUpdaterKey = QStringLiteral("Software\\Kelvrin Software\\Kelvrin PDF Reader\\plugins\\Updater");
const QString kUserUpdaterKey = QStringLiteral("HKEY_CURRENT_USER\\") + kUpdaterKey;

// The number before the first "." of a version.
int leadingVersionNumber(const std::string& version)
{
    return QString::fromStdString(version).section('.', 0, 0).toInt();
}

} // namespace

DlgUpdatesTree::DlgUpdatesTree(CReaderModuleManager* engine, UpdaterApp* app, QWidget* parent)
    : QDialog(parent)
    , pManager(engine)
    , pApp(app)
    , ui(new Ui_DlgUpdatesTree)
{
    ensureUpdaterResources();
    ui->setupUi(this);
    setWindowFlags(Qt::Widget);

    ui->textEdit->setReadOnly(true);
    ui->treeView_4->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ui->btn_skip->hide();

    const CSetup_CommandLine* command = pApp ? pApp->commandLine() : nullptr;
    const QString readerVersion = command ? QString::fromStdString(command->GetReaderVersion()) : QString();
    ui->label_version->setText(tr("Version: ") + readerVersion);
    ui->label_available_updates->setText(tr("Available Updates"));
    ui->button_download->setText(tr("Download and Install"));
    setWindowTitle(ui->button_download->text());
    ui->button_cancel->setText(tr("Close"));

    InitDialog();

    connect(ui->button_download, SIGNAL(clicked()), this, SLOT(OnOK()));
    connect(ui->btn_skip, SIGNAL(clicked()), this, SLOT(OnSkip()));
    connect(ui->button_cancel, SIGNAL(clicked()), this, SLOT(OnCancel()));
    connect(ui->treeView_4, SIGNAL(clicked(QModelIndex)), this, SLOT(OnTreeViewClicked(QModelIndex)));
    ui->treeView_4->setAccessibleDescription(QObject::tr("table"));

    m_pAppearance = new CAppearanceObserver(this);
    OnAppearanceSetting(m_pAppearance->isDarkMode());
    connect(m_pAppearance, SIGNAL(signal_appearanceChanged(bool)), this, SLOT(OnAppearanceSetting(bool)));
}

DlgUpdatesTree::~DlgUpdatesTree()
{
    // Group rows that never made it into the tree belong to no model.
    for (QStandardItem* item : {pReaderRoot, pAddOnRoot, pOcrGroup}) {
        if (item && !item->model())
            delete item;
    }
    delete ui;
}

void DlgUpdatesTree::InitDialog()
{
    QTreeView* tree = ui->treeView_4;
    tree->header()->hide();
    tree->header()->setStretchLastSection(true);

    const CSetup_CommandLine* command = pApp ? pApp->commandLine() : nullptr;
    if (command && command->GetUpdaterType() == "Auto Updater") {
        ui->combo_remind->addItems({tr("Remind Me Later"), tr("After one hour"), tr("After six hours"),
                                    tr("After one day"), tr("Never remind me")});
        ui->button_cancel->show();
        connect(ui->combo_remind, SIGNAL(activated(QString)), this, SLOT(OnComboxResolve(QString)));
    } else {
        ui->combo_remind->hide();
    }

    pModel = new QStandardItemModel(tree);
    pReaderRoot = new QStandardItem(tr("Kelvrin PDF Reader Updates"));
    pAddOnRoot = new QStandardItem(tr("Add-ons"));
    pAddOnRoot->setCheckable(true);
    pOcrGroup = new QStandardItem(tr("OCR"));
    pOcrGroup->setCheckable(true);
    ui->button_download->setEnabled(false);
    tree->setModel(pModel);
    tree->setColumnWidth(0, 290);

    const int count = pManager ? pManager->CountAvailableModule() : 0;
    if (count < 1)
        return;

    pModel->appendRow(pReaderRoot);
    pModel->appendRow(pAddOnRoot);
    tree->setColumnWidth(0, 290);

    for (int i = 0; i < count; ++i) {
        MODULEINFO* record = pManager->GetAvailabletModule(i);
        if (!record)
            continue;
        if (record->module_type == "updater") {
            bHasReaderUpdate = true;
            listModule(pReaderRoot, record);
        } else if (record->module_type == "service" || record->module_type == "basic") {
            bHasAddOn = true;
            if (record->title.empty())
                continue;
            QStandardItem* group = pAddOnRoot;
            if (record->bOcrPack) {
                if (!bOcrGroupAdded) {
                    pAddOnRoot->appendRow(pOcrGroup);
                    bOcrGroupAdded = true;
                }
                group = pOcrGroup;
            }
            listModule(group, record);
            pOcrGroup->sortChildren(0, Qt::AscendingOrder);
            pAddOnRoot->sortChildren(0, Qt::AscendingOrder);
        }
    }

    pReaderRoot->setCheckable(true);
    pReaderRoot->sortChildren(0, Qt::AscendingOrder);

    if (!bHasReaderUpdate) {
        pModel->removeRow(0);
        pReaderRoot = nullptr;
    } else if (!bHasAddOn) {
        pModel->removeRow(1);
        pAddOnRoot = nullptr;
        if (bOcrGroupAdded)
            pOcrGroup = nullptr;
    }
    tree->expandAll();
}

void DlgUpdatesTree::listModule(QStandardItem* parent, MODULEINFO* record)
{
    const QString title = QString::fromStdString(record->title);
    mapTitleModule.insert(title, record);
    auto* item = new QStandardItem(title);
    item->setCheckable(true);
    mapTitleItem.insert(title, item);
    ui->textEdit->setText(QString::fromStdString(record->description));
    parent->appendRow(item);
    addSizeCell(item, record);
}

void DlgUpdatesTree::addSizeCell(QStandardItem* item, const MODULEINFO* record)
{
    item->parent()->setChild(item->row(), 1, new QStandardItem(tr("%1MB").arg(moduleMegabytes(record->size))));
    if (std::exchange(m_bFirstSizeCell, false))
        pModel->setItem(0, 1, new QStandardItem);
}

void DlgUpdatesTree::OnTreeViewClicked(QModelIndex qmi)
{
    const QString text = qmi.data(Qt::DisplayRole).toString();
    if (!text.isEmpty() && pManager) {
        for (int i = 0; i < pManager->CountAvailableModule(); ++i) {
            const MODULEINFO* record = pManager->GetAvailabletModule(i);
            if (record && QString::fromStdString(record->title) == text) {
                ui->textEdit->setText(QString::fromStdString(record->description));
                break;
            }
        }
    }

    QStandardItem* item = pModel->itemFromIndex(qmi);
    if (!item)
        return;
    SetChildState(item, item->checkState());
    SetParentState(item);

    if (item->checkState() == Qt::Checked && bHasReaderUpdate && bHasAddOn && pReaderRoot && pAddOnRoot) {
        const QModelIndex readerIndex = pReaderRoot->index();
        if (qmi == readerIndex || qmi.parent() == readerIndex)
            SetChildState(pAddOnRoot, Qt::Unchecked);
        else
            SetChildState(pReaderRoot, Qt::Unchecked);
    }

    bool anyChecked = false;
    for (QStandardItem* listed : qAsConst(mapTitleItem))
        anyChecked = anyChecked || listed->checkState() == Qt::Checked;
    ui->button_download->setEnabled(anyChecked);
}

void DlgUpdatesTree::SetChildState(QStandardItem* item, Qt::CheckState state)
{
    if (item->isCheckable())
        item->setCheckState(state);
    for (int row = 0; row < item->rowCount(); ++row) {
        if (QStandardItem* child = item->child(row, 0))
            SetChildState(child, state);
    }
}

void DlgUpdatesTree::SetParentState(QStandardItem* item)
{
    QStandardItem* parent = item->parent();
    if (!parent)
        return;
    if (parent->rowCount() > 1) {
        int checked = 0;
        int partial = 0;
        for (int row = 0; row < parent->rowCount(); ++row) {
            const QStandardItem* child = parent->child(row, 0);
            const Qt::CheckState state = child ? child->checkState() : Qt::Unchecked;
            checked += state == Qt::Checked;
            partial += state == Qt::PartiallyChecked;
        }
        if (checked == parent->rowCount())
            parent->setCheckState(Qt::Checked);
        else if (checked > 0 || partial > 0)
            parent->setCheckState(Qt::PartiallyChecked);
        else
            parent->setCheckState(Qt::Unchecked);
    } else if (parent->rowCount() == 1 && parent->isCheckable()) {
        parent->setCheckState(item->checkState());
    }
    SetParentState(parent);
}

void DlgUpdatesTree::OnOK()
{
    if (pManager) {
        for (auto it = mapTitleItem.cbegin(); it != mapTitleItem.cend(); ++it) {
            if (it.value()->checkState() == Qt::Checked)
                pManager->AddSelModule(mapTitleModule.value(it.key()));
        }
    }
    bFinished = true;
    reject();
    bConfirmClose = false;
    if (pManager)
        pManager->ModuleCallback("Update List", pManager, true);
}

bool DlgUpdatesTree::confirmLeaving()
{
    const QString title = QObject::tr("Kelvrin PDF Reader") + tr(" Updater");
    return QMessageBox::information(this, title, tr("Are you sure you want to cancel the installation?"),
                                    QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes) == QMessageBox::Yes;
}

void DlgUpdatesTree::releaseEngine()
{
    if (pManager && pApp && pApp->engine() == pManager)
        pApp->releaseEngine();
    pManager = nullptr;
}

void DlgUpdatesTree::OnCancel()
{
    if (bConfirmClose && !confirmLeaving())
        return;
    reject();
    releaseEngine();
    reject();
    bFinished = true;
}

void DlgUpdatesTree::closeEvent(QCloseEvent* event)
{
    if (bConfirmClose && !confirmLeaving()) {
        event->ignore();
        return;
    }
    bFinished = true;
    reject();
    releaseEngine();
    QDialog::closeEvent(event);
}

void DlgUpdatesTree::keyPressEvent(QKeyEvent* eve)
{
    if (eve->key() != Qt::Key_Escape) {
        QDialog::keyPressEvent(eve);
        return;
    }
    if (bConfirmClose && !confirmLeaving()) {
        eve->ignore();
        return;
    }
    bFinished = true;
    reject();
}

void DlgUpdatesTree::OnComboxResolve(QString qsStr)
{
    if (qsStr == tr("Remind Me Later"))
        return;
    if (qsStr == tr("Never remind me")) {
        OnNotInstall();
        return;
    }
    const QDateTime now = QDateTime::currentDateTime();
    QDateTime remindAt;
    if (qsStr == tr("After one hour"))
        remindAt = now.addSecs(3600);
    else if (qsStr == tr("After six hours"))
        remindAt = now.addSecs(21600);
    else if (qsStr == tr("After one day"))
        remindAt = now.addDays(1);
    CRegister::regSetString(kUserUpdaterKey, "LastDay", remindAt.toString(Qt::TextDate));
    reject();
    bFinished = true;
}

void DlgUpdatesTree::OnNotInstall()
{
    const QString title = QObject::tr("Kelvrin PDF Reader") + tr(" Updater");
    const QString question = tr("Are you sure you want to cancel the installation? If you don't install it, the "
                                "system will skip this update until the next new version is detected.");
    if (QMessageBox::information(this, title, question, QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes) !=
        QMessageBox::Yes) {
        ui->combo_remind->setCurrentIndex(0);
        return;
    }
    vecRejectModules.clear();
    if (pManager) {
        for (int i = 0; i < pManager->CountAvailableModule(); ++i)
            vecRejectModules.append(pManager->GetAvailabletModule(i));
        pManager->WriteRejectAutoUpdateInfo(vecRejectModules, true);
    }
    reject();
    bFinished = true;
}

void DlgUpdatesTree::OnSkip()
{
    for (int i = 0; pManager && i < pManager->CountAvailableModule(); ++i) {
        const MODULEINFO* record = pManager->GetAvailabletModule(i);
        if (record && record->module_type == "updater" && record->bMajorUpgrade) {
            CRegister::regSetString(kUpdaterKey, "UpdateRejectVersion", QString::fromStdString(record->version));
            CRegister::regSetDword(kUpdaterKey, "MajorUpdateChecked", 3);
            break;
        }
    }
    reject();
    bFinished = true;
}

void DlgUpdatesTree::OnAppearanceSetting(bool isDarkMode)
{
    setStyleSheet(isDarkMode ? "QDialog{color:rgb(222,222,222);}" : "QDialog{color:rgb(26,26,26);}");
    applyAppearancePalette(this, isDarkMode);
    ui->label_logo->setPixmap(updateBanner(isDarkMode, pApp ? pApp->m_nLanguage : 0));
}

void DlgUpdatesTree::AddModule(MODULEINFO* record)
{
    if (pManager)
        pManager->AddSelModule(record);
}

bool DlgUpdatesTree::IsModuleNeedUpdate(QVector<_UpdaterInfo*>& installed, std::string name)
{
    for (const _UpdaterInfo* component : qAsConst(installed)) {
        if (component->name != name)
            continue;
        return component->paths.isEmpty() || QFileInfo::exists(component->paths.first());
    }
    return false;
}

void DlgUpdatesTree::CheckZhAutoAvailableModule()
{
    if (!pManager)
        return;
    QVector<_UpdaterInfo*> installed;
    pManager->ParseUpdaterInfo(installed);
    for (int i = pManager->CountAvailableModule() - 1; i >= 0; --i) {
        const MODULEINFO* record = pManager->GetAvailabletModule(i);
        const bool keep = (IsModuleNeedUpdate(installed, record->name) || record->isInternalService == "TRUE") &&
                          !record->SilentInstall;
        // The engine frees the record and takes it out of every list, the selection included.
        if (!keep && record->module_type != "updater")
            pManager->RemoveAvailableModule(i);
    }
    pManager->ReleaseUpdaterInfoList(installed);
}

bool DlgUpdatesTree::CheckMajorVersionUpgrade(std::string version)
{
    return pManager && pManager->CheckMajorVersionUpgrade(QString::fromStdString(version));
}

void DlgUpdatesTree::FilterUpgrade()
{
    if (!pManager)
        return;
    const int count = pManager->CountAvailableModule();
    int updaters = 0;
    int highest = 0;
    bool anyMajor = false;
    for (int i = count - 1; i >= 0; --i) {
        const MODULEINFO* record = pManager->GetAvailabletModule(i);
        if (record->module_type != "updater")
            continue;
        ++updaters;
        if (record->bMajorUpgrade)
            anyMajor = true;
        else
            highest = qMax(highest, leadingVersionNumber(record->version));
    }
    if (anyMajor || updaters < 2 || count < 2)
        return;
    for (int i = count - 1; i >= 0; --i) {
        const MODULEINFO* record = pManager->GetAvailabletModule(i);
        if (record->module_type == "updater" && leadingVersionNumber(record->version) < highest)
            pManager->RemoveAvailableModule(i);
    }
}

void DlgUpdatesTree::SetMutexCheckState(E_UPDATE_TYPE type, Qt::CheckState state)
{
    const bool readerGroup = type == E_UPDATE_READER;
    if (readerGroup ? !bHasReaderUpdate : !bHasAddOn)
        return;
    for (QStandardItem* item : qAsConst(mapTitleItem)) {
        QStandardItem* parent = item->parent();
        const bool inGroup = readerGroup ? (item == pReaderRoot || (parent && parent == pReaderRoot))
                                         : (item == pAddOnRoot || item == pOcrGroup ||
                                            (parent && (parent == pAddOnRoot || parent == pOcrGroup)));
        if (inGroup)
            item->setCheckState(state);
    }
}
