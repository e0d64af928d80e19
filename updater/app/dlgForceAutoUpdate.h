#pragma once

#include <QDialog>

#include <memory>

class CReaderModuleManager;
class Ui_dlgForceAutoUpdate;

// Tells the user that the IT administrator requires an update. No run opens it.
class dlgForceAutoUpdate : public QDialog
{
    Q_OBJECT

public:
    dlgForceAutoUpdate(CReaderModuleManager* manager, QWidget* parent);
    ~dlgForceAutoUpdate() override;

public slots:
    void onBtnInstall();

private:
    std::unique_ptr<Ui_dlgForceAutoUpdate> ui;
    CReaderModuleManager* m_pManager;
};
