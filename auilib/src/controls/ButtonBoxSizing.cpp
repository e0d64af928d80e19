#include "ButtonBoxSizing.h"

#include "ButtonBoxQt.h"
#include "Translator.h"
#include "WideText.h"

#include <QPushButton>

namespace AUILib {

std::array<StandardButtonEntry, 8>& StandardButtonTable()
{
    static std::array<StandardButtonEntry, 8> table = {{
        {QDialogButtonBox::Reset, "Reset", QSize(0, 0)},
        {QDialogButtonBox::Yes, "Yes", QSize(0, 0)},
        {QDialogButtonBox::Ok, "OK", QSize(0, 0)},
        {QDialogButtonBox::Retry, "Retry", QSize(0, 0)},
        {QDialogButtonBox::Ignore, "Ignore", QSize(0, 0)},
        {QDialogButtonBox::No, "No", QSize(0, 0)},
        {QDialogButtonBox::Abort, "Abort", QSize(0, 0)},
        {QDialogButtonBox::Cancel, "Cancel", QSize(0, 0)},
    }};
    return table;
}

QString TranslatedCaption(const StandardButtonEntry& entry)
{
    const std::wstring caption = QString::fromLatin1(entry.caption).toStdWString();
    return ToQString(TrString(L"", L"AUILib::BBox" + caption, caption));
}

void RegisterButtonSheet(ButtonBoxQt* box, const QString& text, const QString& sheet)
{
    if (!text.isEmpty() && !sheet.isEmpty()) {
        for (const StandardButtonEntry& entry : StandardButtonTable()) {
            if (TranslatedCaption(entry) == text)
                box->Sheets()[entry.value] = sheet;
        }
    }
    if (box->SizesFrozen())
        ApplyButtonBoxSizing(box);
}

void ApplyButtonBoxSizing(ButtonBoxQt* box)
{
    for (StandardButtonEntry& entry : StandardButtonTable()) {
        QPushButton* button = box->button(entry.value);
        if (!button)
            continue;
        if (!box->SizesFrozen())
            entry.recordedSize = button->size();
        const auto found = box->Sheets().find(entry.value);
        if (found == box->Sheets().end())
            continue;
        const QString selector = QStringLiteral("QDialogButtonBox [text='") + button->text() + QStringLiteral("']");
        QString sheet = found->second;
        sheet.replace(QStringLiteral("QPushButton"), selector);
        const QSize size = entry.recordedSize;
        const bool horizontal = box->orientation() == Qt::Horizontal;
        const QString insert = selector + QStringLiteral(" {min-width:") + QString::number(size.width() - 14)
            + QStringLiteral("px;min-height:") + QString::number(size.height() - (horizontal ? 12 : 14))
            + (horizontal ? QStringLiteral("px;margin-top:2px;") : QStringLiteral("px;"));
        const QString opening = selector + QStringLiteral(" {");
        const int at = sheet.indexOf(opening);
        if (at >= 0)
            sheet.replace(at, opening.size(), insert);
        sheet.replace(QStringLiteral("\\u3A"), QStringLiteral(":"));
        button->setStyleSheet(sheet);
    }
}

} // namespace AUILib
