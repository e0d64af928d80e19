#pragma once

#include "engine/ModuleRecords.h"

#include <QDialog>
#include <QPointer>
#include <QString>

#include <string>

class CReaderModuleManager;
class QTimer;
class Ui_DlgUpdateChecking;

// The frame of a checking run: never shown, it asks the engine for the service's answer, bounds the
// wait with its timer and decides what follows. The update list, the downloads and the installation
// all run modally inside its slots, so its exec() returns when the whole visible run is over.
class DlgUpdateChecking : public QDialog
{
    Q_OBJECT

public:
    DlgUpdateChecking(QString title, QWidget* parent);
    ~DlgUpdateChecking() override;

    // The engine stays the conductor's; this dialog hands it back when a check ends it.
    void setModuleManager(CReaderModuleManager* engine);
    void startUpdateCheck();
    // (Re)starts the checking timer with `ms`; the run uses 60 s.
    void startTimer(int ms);

    bool OnUpdateQueryResult(QueryResultInfo info);
    // True when `version` is above the reader's, number by number.
    bool CheckMajorVersionUpgrade(std::string version);

    // -1 while waiting and after a failure or timeout, 1 once a query finished, 0 after cancel.
    int nCheckResult = -1;
    // Reports "autoclose" in place of "close", and shows a message instead of a report on timeout.
    bool bAutoClose = false;

public slots:
    void checkFinsh();
    void ErrFinish();
    void ErrNetwork();
    void on_cancelButton_clicked();
    void timeOut();

private:
    bool reportsToReader() const;
    void releaseEngine();
    void deleteTimer();
    void showTimeoutMessage();

    Ui_DlgUpdateChecking* ui;
    QTimer* m_pTimer = nullptr;
    QString m_strTitle;
    QPointer<CReaderModuleManager> m_pModuleManager;
};
