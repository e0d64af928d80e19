#include "DialogRobot.h"
#include "IsolatedEnvironment.h"

#include <QDialog>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace {

class Robot : public IsolatedTest
{
protected:
    QString script(const QByteArray& text) const
    {
        const QString path = env.root() + "/robot.script";
        IsolatedEnvironment::writeFile(path, text);
        return path;
    }
    QString logText() const { return QString::fromUtf8(IsolatedEnvironment::readFile(logPath())); }
    QString logPath() const { return env.root() + "/robot.log"; }
};

// Only a bound from below: a busy machine may make the robot late, never early.
TEST_F(Robot, ASleepHoldsTheNextStepBackForItsTime)
{
    QDialog window;
    window.setObjectName("Probe");
    auto* button = new QPushButton("Go", &window);
    button->setObjectName("go");
    window.show();
    QElapsedTimer clock;
    qint64 pressedAt = -1;
    QObject::connect(button, &QPushButton::clicked, [&] { pressedAt = clock.elapsed(); });

    clock.start();
    DialogRobot robot(script("window Probe\nsleep 1000\npress go\n"), logPath(), 0);

    ASSERT_TRUE(QTest::qWaitFor([&] { return pressedAt >= 0; }, 60000)) << logText().toStdString();
    EXPECT_GE(pressedAt, 1000);
    EXPECT_TRUE(logText().contains("step 2: sleep 1000\nstep 3: press go\n")) << logText().toStdString();
}

} // namespace
