#pragma once

#include "Event.h"

#include <QChar>

namespace AUILib::KeyMapping {

// The mapping itself, with the decimal point given: comma and period are the decimal key only
// when they are the decimal point.
Event::Key ToLibraryKey(int qtKey, QChar decimalPoint);

// The decimal point of the input method's locale.
QChar InputMethodDecimalPoint();

} // namespace AUILib::KeyMapping
