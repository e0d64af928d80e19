#include "DialogRobot.h"
#include "IsolatedEnvironment.h"

#include <QDialog>
#include <QElapsedTimer>
#include <QLabel>
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

// The robot looks at the windows on a timer; a check that ends at once closes its window before
// the next look, and the log must still show it, once.
TEST_F(Robot, AWindowGoneBeforeTheNextLookIsLoggedOnce)
{
    DialogRobot robot(QString(), logPath(), 0);
    QDialog window;
    window.setObjectName("Brief");
    window.setWindowTitle("Checking");
    new QLabel("Looking for updates...", &window);

    window.show();
    window.hide();
    QTest::qWait(200);

    EXPECT_EQ(logText().count("window Brief \"Checking\" [Looking for updates...]"), 1) << logText().toStdString();
}

// Two message boxes of one class opened one after the other may share an address; a window shown
// again is another appearance. Both happen here before the robot's next look, and both must reach
// the log.
TEST_F(Robot, AWindowAppearingWhereOneHasJustGoneIsLogged)
{
    DialogRobot robot(QString(), logPath(), 0);
    alignas(QDialog) unsigned char storage[sizeof(QDialog)];
    auto* first = new (storage) QDialog;
    first->setObjectName("First");
    first->show();
    first->hide();
    first->~QDialog();
    auto* second = new (storage) QDialog;
    second->setObjectName("Second");
    second->show();

    QDialog again;
    again.setObjectName("Again");
    again.show();
    again.hide();
    again.show();

    const bool bothLogged = QTest::qWaitFor(
        [&] { return logText().contains("window Second") && logText().count("window Again") == 2; }, 10000);
    second->~QDialog();
    EXPECT_TRUE(bothLogged) << logText().toStdString();
    EXPECT_EQ(logText().count("window First"), 1) << logText().toStdString();
}

} // namespace
