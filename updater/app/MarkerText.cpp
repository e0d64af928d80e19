#include "MarkerText.h"

QString fillMarkers(const QString& pattern, const QVector<QPair<QString, QString>>& values)
{
    QString result;
    int position = 0;
    while (position < pattern.size()) {
        bool filled = false;
        for (const auto& value : values) {
            if (!value.first.isEmpty() && pattern.midRef(position, value.first.size()) == value.first) {
                result += value.second;
                position += value.first.size();
                filled = true;
                break;
            }
        }
        if (!filled)
            result += pattern.at(position++);
    }
    return result;
}
