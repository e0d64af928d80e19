#pragma once

#include <QString>

namespace AUILib {

// Sets `value` on every property `name` of every rule whose selector is exactly `selector`, and
// writes the sheet out again in the editor's own layout. Nothing is added: a missing rule or
// property leaves the values as they were. Inside a value, a colon written as the four characters
// "\u3A" survives the edit.
QString StyleSheetRules(const QString& sheet, const QString& selector, const QString& name, const QString& value);

} // namespace AUILib
