#pragma once

#include "engine/ModuleRecords.h"

#include <QDialog>
#include <QMap>
#include <QModelIndex>
#include <QPointer>

#include <string>

class CAppearanceObserver;
class CReaderModuleManager;
class QStandardItem;
class QStandardItemModel;
class Ui_dlgfound;

// The download list: the modules chosen for download with their sizes and progress. It starts the
// engine's downloads, pauses and continues them, and shows the progress the engine relays from its
// worker window until every module has been installed.
class dlgfound : public QDialog
{
    Q_OBJECT

public:
    // The download states of the list.
    enum { Ready = 1, Downloading = 2, Paused = 3, Done = 4 };

    // Without an engine the dialog makes one for `type`, which goes with the dialog.
    dlgfound(std::string type, bool, bool, bool autoStart, bool, CReaderModuleManager* engine, QWidget* parent);
    ~dlgfound() override;

    void InitDialog();
    void OnDownloadQueryResult(QString result, QString mode);
    void OnDownload();
    void DownloadModule(MODULEINFO* previous);
    void OnExit();
    bool CanFindAppointItem(MODULEINFO* record);
    bool AddModuleToDownloadList(std::string name);
    void QueryUpdateThreadProc();

public slots:
    void OnCancel();
    void downloadInstall();
    void OnTreeViewClicked(QModelIndex qmi);
    void showDownloadProgress(QString title, double percent);
    void showInstallProgress(QString title, int percent);
    void startInstallPkg(QString qsName);
    void OnAppearanceSetting(bool isDarkMode);
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* e) override;

private:
    bool confirmLeaving();
    // The progress cell of `record`'s row, found by its title; null when it has no row.
    QStandardItem* statusItemOf(const MODULEINFO* record) const;

    bool bAutoStart;
    int nState = Ready;
    std::string strType;
    bool bAlreadySelected = false;
    QPointer<CReaderModuleManager> pManager;
    QStandardItemModel* pModel = nullptr;
    Ui_dlgfound* ui;
    QMap<QString, MODULEINFO*> mapTitleModule;
    QMap<QString, QStandardItem*> mapTitleNameItem;
    QMap<QString, QStandardItem*> mapTitleStatusItem;
    CAppearanceObserver* m_pAppearance = nullptr;
};
