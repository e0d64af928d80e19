#pragma once

#include <QObject>
#include <QString>

// The update engine of one run: created by the conductor for the run's update type.
class CReaderModuleManager : public QObject
{
    Q_OBJECT

public:
    CReaderModuleManager(QString type, QObject* parent);

private:
    QString m_strType;
};
