#include "FontDataQt.h"

#include "WideText.h"

namespace AUILib {

bool GivesAnyField(const FontData& font)
{
    return !font.faceName.empty() || font.pointSize > 0 || font.bold >= 0 || font.italic >= 0 || font.underline >= 0;
}

QFont Overlaid(QFont font, const FontData& change)
{
    if (change.bold >= 0)
        font.setWeight(change.bold != 0 ? QFont::Bold : QFont::Normal);
    if (change.italic >= 0)
        font.setItalic(change.italic != 0);
    if (change.underline >= 0)
        font.setUnderline(change.underline != 0);
    if (change.pointSize > 0)
        font.setPointSizeF(change.pointSize);
    if (!change.faceName.empty())
        font.setFamily(ToQString(change.faceName));
    return font;
}

FontData FontDataOf(const QFontInfo& info)
{
    FontData data;
    data.faceName = ToWString(info.family());
    data.pointSize = info.pointSizeF();
    data.bold = info.weight() >= 51 ? 1 : 0;
    data.italic = info.italic() ? 1 : 0;
    data.underline = info.underline() ? 1 : 0;
    return data;
}

} // namespace AUILib
