#pragma once

#include "engine/ModuleRecords.h"

#include <QDialog>
#include <QMap>
#include <QModelIndex>
#include <QPointer>
#include <QVector>

#include <string>

class CAppearanceObserver;
class CReaderModuleManager;
class QStandardItem;
class QStandardItemModel;
class Ui_DlgUpdatesTree;
class UpdaterApp;

// The two groups of the update list whose ticks exclude each other.
enum E_UPDATE_TYPE { E_UPDATE_READER = 1, E_UPDATE_ADDON = 2 };

// The result of a successful check: the available modules as a tree of reader updates and add-ons
// with their sizes and descriptions. OK hands the ticked modules to the engine and runs the download
// list; Close releases the engine. The creator reads bFinished after exec() to end the run.
class DlgUpdatesTree : public QDialog
{
    Q_OBJECT

public:
    DlgUpdatesTree(CReaderModuleManager* engine, UpdaterApp* app, QWidget* parent);
    ~DlgUpdatesTree() override;

    void InitDialog();
    void OnNotInstall();
    void SetChildState(QStandardItem* item, Qt::CheckState state);
    void SetParentState(QStandardItem* item);

    // Rules on the engine's available list that the dialog's own flow does not use.
    void AddModule(MODULEINFO* record);
    void CheckZhAutoAvailableModule();
    bool IsModuleNeedUpdate(QVector<_UpdaterInfo*>& installed, std::string name);
    bool CheckMajorVersionUpgrade(std::string version);
    void FilterUpgrade();
    void SetMutexCheckState(E_UPDATE_TYPE type, Qt::CheckState state);

    // Set by every way out that should end the run.
    bool bFinished = false;

public slots:
    void OnComboxResolve(QString qsStr);
    void OnOK();
    void OnSkip();
    void OnCancel();
    void OnTreeViewClicked(QModelIndex qmi);
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* eve) override;
    void OnAppearanceSetting(bool isDarkMode);

private:
    bool confirmLeaving();
    void releaseEngine();
    void addSizeCell(QStandardItem* item, const MODULEINFO* record);
    void listModule(QStandardItem* parent, MODULEINFO* record);

    // The dialog never owns the engine; it is told when someone else frees it.
    QPointer<CReaderModuleManager> pManager;
    UpdaterApp* pApp;
    QStandardItemModel* pModel = nullptr;
    QStandardItem* pReaderRoot = nullptr;
    QStandardItem* pOcrGroup = nullptr;
    QStandardItem* pAddOnRoot = nullptr;
    bool bConfirmClose = true;
    bool bOcrGroupAdded = false;
    Ui_DlgUpdatesTree* ui;
    QMap<QString, MODULEINFO*> mapTitleModule;
    QMap<QString, QStandardItem*> mapTitleItem;
    bool bHasAddOn = false;
    bool bHasReaderUpdate = false;
    QVector<MODULEINFO*> vecRejectModules;
    CAppearanceObserver* m_pAppearance = nullptr;
    bool m_bFirstSizeCell = true;
};
