// Loaded by Qt with QT_QPA_GENERIC_PLUGINS=kelvrinrobot and this folder's parent in QT_PLUGIN_PATH.
// KELVRIN_ROBOT_SCRIPT names the script, KELVRIN_ROBOT_LOG the log file (standard error without).
#include "DialogRobot.h"

#include <QGenericPlugin>

class RobotPlugin : public QGenericPlugin
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID QGenericPluginFactoryInterface_iid FILE "robot.json")

public:
    QObject* create(const QString& key, const QString&) override
    {
        if (key.compare("kelvrinrobot", Qt::CaseInsensitive) != 0)
            return nullptr;
        return new DialogRobot(qEnvironmentVariable("KELVRIN_ROBOT_SCRIPT"), qEnvironmentVariable("KELVRIN_ROBOT_LOG"),
                               qEnvironmentVariableIntValue("KELVRIN_ROBOT_STEP_MS"));
    }
};

#include "RobotPlugin.moc"
