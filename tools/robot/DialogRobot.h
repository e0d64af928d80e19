#pragma once

#include "RobotScript.h"

#include <QElapsedTimer>
#include <QFile>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <QVector>

class QEvent;
class QWidget;

// Plays a robot script against the application's windows from inside its event loops (the modal
// loops included), and logs every window that appears: object name, title and label texts.
class DialogRobot : public QObject
{
public:
    // `stepPauseMs` is waited after each step, so that a person can follow.
    DialogRobot(const QString& scriptPath, const QString& logPath, int stepPauseMs);

protected:
    // A window shown and hidden between two ticks is logged as it goes.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void tick();
    void logNewWindows();
    void logWindow(QWidget* window);
    // True when the step is done; false to try again on the next tick.
    bool perform(const RobotStep& step);
    QWidget* current() const;
    template <typename T>
    T* named(const QString& name) const;
    bool tickItems(const QString& viewName, const QString& title);
    bool pressButton(QWidget* root, const QString& name, const QString& text);
    bool cellContains(const QString& viewName, const QString& text) const;
    bool answer(const QString& windowName, const QString& button);
    void log(const QString& line);
    // With KELVRIN_ROBOT_SHOTS set: a picture of `window`, numbered in the order they were taken.
    void saveShot(QWidget* window, const QString& what);

    QVector<RobotStep> m_steps;
    int m_next = 0;
    int m_stepPauseMs;
    int m_stepTimeoutMs;
    QElapsedTimer m_stepClock;
    // The next step waits until the step clock, restarted when a step is done, reaches this.
    qint64 m_sleepUntilMs = 0;
    // What a "sleep" step asks of that wait.
    qint64 m_requestedSleepMs = 0;
    QPointer<QWidget> m_current;
    // The windows logged while they stay shown. A window is forgotten once hidden: shown again, or
    // another window built at its address, it is a new appearance to log.
    QVector<QPointer<QWidget>> m_logged;
    QFile m_log;
    QTimer m_timer;
    bool m_stuck = false;
    QString m_shotFolder;
    int m_shots = 0;
};
