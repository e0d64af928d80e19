#include "StyleSheetRules.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QStringList>

namespace AUILib {

namespace {

QJsonArray ParseProperties(const QString& declarations)
{
    QJsonArray properties;
    for (const QString& piece : declarations.trimmed().split(QLatin1Char(';'))) {
        const QString declaration = piece.trimmed();
        if (declaration.isEmpty())
            continue;
        const QStringList parts = declaration.split(QLatin1Char(':'));
        properties.append(QJsonObject{{QStringLiteral("name"), parts.first().trimmed()},
                                      {QStringLiteral("value"), parts.last().trimmed()}});
    }
    return properties;
}

QJsonArray ParseRules(const QString& sheet)
{
    QJsonArray rules;
    if (sheet.isEmpty())
        return rules;
    for (const QString& piece : sheet.trimmed().split(QLatin1Char('}'))) {
        const QString rule = piece.trimmed();
        if (rule.isEmpty())
            continue;
        const QStringList parts = rule.split(QLatin1Char('{'));
        rules.append(QJsonObject{{QStringLiteral("selector"), parts.first().trimmed()},
                                 {QStringLiteral("properties"), ParseProperties(parts.last())}});
    }
    return rules;
}

QString Serialise(const QJsonArray& rules)
{
    QString text;
    for (const QJsonValue& rule : rules) {
        text += rule[QStringLiteral("selector")].toString() + QStringLiteral(" {");
        for (const QJsonValue& property : rule[QStringLiteral("properties")].toArray())
            text += QLatin1Char(' ') + property[QStringLiteral("name")].toString() + QStringLiteral(": ")
                + property[QStringLiteral("value")].toString() + QLatin1Char(';');
        text += QStringLiteral(" } ");
    }
    return text;
}

} // namespace

QString StyleSheetRules(const QString& sheet, const QString& selector, const QString& name, const QString& value)
{
    QJsonArray rules = ParseRules(sheet);
    for (int r = 0; r < rules.size(); ++r) {
        QJsonObject rule = rules[r].toObject();
        if (rule[QStringLiteral("selector")].toString() != selector)
            continue;
        QJsonArray properties = rule[QStringLiteral("properties")].toArray();
        for (int p = 0; p < properties.size(); ++p) {
            QJsonObject property = properties[p].toObject();
            if (property[QStringLiteral("name")].toString() == name) {
                property[QStringLiteral("value")] = value;
                properties[p] = property;
            }
        }
        rule[QStringLiteral("properties")] = properties;
        rules[r] = rule;
    }
    return Serialise(rules);
}

} // namespace AUILib
