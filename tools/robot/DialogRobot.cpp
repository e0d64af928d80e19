#include "DialogRobot.h"

#include <QAbstractButton>
#include <QAbstractItemModel>
#include <QAbstractItemView>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QStandardItemModel>
#include <QTextStream>
#include <QTreeView>

#include <algorithm>
#include <cstdio>

namespace {

constexpr int kTickMs = 20;
constexpr int kDefaultStepTimeoutMs = 30000;

QString withoutMnemonic(QString text)
{
    return text.remove('&');
}

QString textOf(const QWidget* widget)
{
    if (const auto* button = qobject_cast<const QAbstractButton*>(widget))
        return withoutMnemonic(button->text());
    if (const auto* label = qobject_cast<const QLabel*>(widget))
        return label->text();
    if (const auto* edit = qobject_cast<const QLineEdit*>(widget))
        return edit->text();
    return QString();
}

bool matchesWindow(const QWidget* window, const QString& name)
{
    return window->objectName() == name || window->inherits(name.toLatin1().constData());
}

// Every index of `model` below `parent`, depth first.
void collectIndexes(const QAbstractItemModel* model, const QModelIndex& parent, QModelIndexList* indexes)
{
    for (int row = 0; row < model->rowCount(parent); ++row) {
        for (int column = 0; column < model->columnCount(parent); ++column)
            indexes->append(model->index(row, column, parent));
        collectIndexes(model, model->index(row, 0, parent), indexes);
    }
}

} // namespace

DialogRobot::DialogRobot(const QString& scriptPath, const QString& logPath, int stepPauseMs)
    : m_stepPauseMs(stepPauseMs)
    , m_stepTimeoutMs(qEnvironmentVariableIsSet("KELVRIN_ROBOT_STEP_TIMEOUT_MS")
                          ? qEnvironmentVariableIntValue("KELVRIN_ROBOT_STEP_TIMEOUT_MS")
                          : kDefaultStepTimeoutMs)
    , m_shotFolder(qEnvironmentVariable("KELVRIN_ROBOT_SHOTS"))
{
    if (!logPath.isEmpty()) {
        m_log.setFileName(logPath);
        m_log.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text);
    }
    QFile script(scriptPath);
    QString error;
    if (scriptPath.isEmpty()) {
        log("robot: no script, windows are only logged");
    } else if (!script.open(QIODevice::ReadOnly) ||
               !parseRobotScript(QString::fromUtf8(script.readAll()), &m_steps, &error)) {
        log("robot: script " + scriptPath + " unusable " + error);
        m_steps.clear();
    }
    m_stepClock.start();
    connect(&m_timer, &QTimer::timeout, this, &DialogRobot::tick);
    m_timer.start(kTickMs);
    qApp->installEventFilter(this);
}

void DialogRobot::tick()
{
    logNewWindows();
    if (m_stuck || m_next >= m_steps.size() || m_stepClock.elapsed() < m_sleepUntilMs)
        return;
    const RobotStep& step = m_steps[m_next];
    if (perform(step)) {
        log(QString("step %1: %2 %3").arg(step.line).arg(step.command, step.arguments.join(' ')));
        if (QWidget* window = current())
            saveShot(window, "after-line-" + QString::number(step.line));
        ++m_next;
        m_stepClock.restart();
        m_sleepUntilMs = std::max<qint64>(m_stepPauseMs, m_requestedSleepMs);
        m_requestedSleepMs = 0;
        if (m_next == m_steps.size())
            log("robot: script done");
        return;
    }
    if (m_stepClock.elapsed() > m_sleepUntilMs + m_stepTimeoutMs) {
        m_stuck = true;
        log(QString("robot: stuck at line %1: %2 %3").arg(step.line).arg(step.command, step.arguments.join(' ')));
    }
}

void DialogRobot::logNewWindows()
{
    const auto gone = [](const QPointer<QWidget>& window) {
        return !window || !window->isWindow() || !window->isVisible();
    };
    m_logged.erase(std::remove_if(m_logged.begin(), m_logged.end(), gone), m_logged.end());
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window->isVisible())
            logWindow(window);
    }
}

bool DialogRobot::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Hide && watched->isWidgetType()) {
        auto* widget = static_cast<QWidget*>(watched);
        if (widget->isWindow()) {
            logWindow(widget);
            m_logged.removeAll(widget);
        }
    }
    return false;
}

void DialogRobot::logWindow(QWidget* window)
{
    const bool named = !window->objectName().isEmpty() || qobject_cast<QMessageBox*>(window);
    if (!named || m_logged.contains(window))
        return;
    m_logged.append(window);
    const QString name = window->objectName().isEmpty() ? window->metaObject()->className() : window->objectName();
    QStringList parts{"window", name, "\"" + window->windowTitle() + "\""};
    for (const QLabel* label : window->findChildren<QLabel*>()) {
        if (!label->text().isEmpty())
            parts.append("[" + label->text() + "]");
    }
    log(parts.join(' '));
    saveShot(window, name);
}

bool DialogRobot::perform(const RobotStep& step)
{
    const QString& command = step.command;
    if (command == "sleep") {
        m_requestedSleepMs = step.argument(0).toInt();
        return true;
    }
    if (command == "window") {
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (window->isVisible() && matchesWindow(window, step.argument(0))) {
                m_current = window;
                return true;
            }
        }
        return false;
    }
    if (command == "answer")
        return answer(step.argument(0), step.argument(1));
    if (!current())
        return false;
    if (command == "tick")
        return tickItems(step.argument(0), step.argument(1));
    if (command == "press")
        return pressButton(current(), step.argument(0), step.argument(1));
    if (command == "cell")
        return cellContains(step.argument(0), step.argument(1));
    if (command == "text") {
        const QWidget* widget = named<QWidget>(step.argument(0));
        return widget && textOf(widget) == step.argument(1);
    }
    return false;
}

QWidget* DialogRobot::current() const
{
    return m_current && m_current->isVisible() ? m_current.data() : nullptr;
}

template <typename T>
T* DialogRobot::named(const QString& name) const
{
    QWidget* window = current();
    return window ? window->findChild<T*>(name) : nullptr;
}

// As a click on each check box: the view's model changes, then the view reports the click.
bool DialogRobot::tickItems(const QString& viewName, const QString& title)
{
    auto* view = named<QAbstractItemView>(viewName);
    if (!view || !view->model())
        return false;
    QModelIndexList indexes;
    collectIndexes(view->model(), QModelIndex(), &indexes);
    bool ticked = false;
    for (const QModelIndex& index : indexes) {
        const bool checkable = index.flags() & Qt::ItemIsUserCheckable;
        if (!checkable || (title != "*" && index.data().toString() != title))
            continue;
        if (index.data(Qt::CheckStateRole).toInt() != Qt::Checked) {
            view->model()->setData(index, Qt::Checked, Qt::CheckStateRole);
            emit view->clicked(index);
        }
        ticked = true;
    }
    return ticked;
}

bool DialogRobot::pressButton(QWidget* root, const QString& name, const QString& text)
{
    for (QAbstractButton* button : root->findChildren<QAbstractButton*>()) {
        const bool nameMatches = button->objectName() == name || withoutMnemonic(button->text()) == name;
        if (!nameMatches || !button->isVisible() || !button->isEnabled())
            continue;
        if (!text.isEmpty() && withoutMnemonic(button->text()) != text)
            continue;
        // Queued: a click that opens a modal window would otherwise hold this robot's timer inside
        // that window's loop, where it cannot fire again.
        QMetaObject::invokeMethod(button, "click", Qt::QueuedConnection);
        return true;
    }
    return false;
}

bool DialogRobot::cellContains(const QString& viewName, const QString& text) const
{
    const auto* view = named<QAbstractItemView>(viewName);
    if (!view || !view->model())
        return false;
    QModelIndexList indexes;
    collectIndexes(view->model(), QModelIndex(), &indexes);
    for (const QModelIndex& index : indexes) {
        if (index.data().toString().contains(text))
            return true;
    }
    return false;
}

bool DialogRobot::answer(const QString& windowName, const QString& button)
{
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal || !modal->isVisible() || !matchesWindow(modal, windowName))
        return false;
    return pressButton(modal, button, QString());
}

void DialogRobot::log(const QString& line)
{
    const QByteArray bytes = (line + "\n").toUtf8();
    if (m_log.isOpen()) {
        m_log.write(bytes);
        m_log.flush();
    } else {
        std::fputs(bytes.constData(), stderr);
    }
}

void DialogRobot::saveShot(QWidget* window, const QString& what)
{
    if (m_shotFolder.isEmpty())
        return;
    const QString name = QString("%1/%2-%3.png").arg(m_shotFolder).arg(++m_shots, 3, 10, QChar('0')).arg(what);
    window->grab().save(name);
}
