#pragma once

#include "FontData.h"

#include <QFont>
#include <QFontInfo>

namespace AUILib {

// The fields `change` gives, laid over `font`; the others stay as they are.
QFont Overlaid(QFont font, const FontData& change);
// The font as the system resolved it, every field given.
FontData FontDataOf(const QFontInfo& info);

} // namespace AUILib
