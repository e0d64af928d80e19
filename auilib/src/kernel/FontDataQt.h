#pragma once

#include "FontData.h"

#include <QFont>
#include <QFontInfo>

namespace AUILib {

// True when the record gives at least one of the fields a Qt font takes.
bool GivesAnyField(const FontData& font);
// The fields `change` gives, laid over `font`; the others stay as they are.
QFont Overlaid(QFont font, const FontData& change);
// The font as the system resolved it, every field given.
FontData FontDataOf(const QFontInfo& info);

} // namespace AUILib
