#include "RobotScript.h"

#include <QMap>

namespace {

// The command words with their least and most argument counts.
const QMap<QString, QPair<int, int>> kCommands{
    {"window", {1, 1}}, {"tick", {2, 2}}, {"press", {1, 2}}, {"cell", {2, 2}},
    {"text", {2, 2}},   {"answer", {2, 2}}, {"sleep", {1, 1}},
};

} // namespace

bool parseRobotScript(const QString& text, QVector<RobotStep>* steps, QString* error)
{
    const QStringList lines = text.split('\n');
    for (int i = 0; i < lines.size(); ++i) {
        const QString line = lines[i].trimmed();
        if (line.isEmpty() || line.startsWith('#'))
            continue;
        RobotStep step;
        step.line = i + 1;
        step.command = line.section(' ', 0, 0);
        const auto counts = kCommands.value(step.command, {-1, -1});
        QString rest = line.section(' ', 1).trimmed();
        while (!rest.isEmpty() && step.arguments.size() + 1 < counts.second) {
            step.arguments.append(rest.section(' ', 0, 0));
            rest = rest.section(' ', 1).trimmed();
        }
        if (!rest.isEmpty())
            step.arguments.append(rest);
        if (counts.first < 0 || step.arguments.size() < counts.first) {
            *error = QString("line %1: cannot read \"%2\"").arg(step.line).arg(line);
            return false;
        }
        steps->append(step);
    }
    return true;
}
