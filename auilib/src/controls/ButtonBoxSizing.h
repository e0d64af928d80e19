#pragma once

#include <QDialogButtonBox>
#include <QSize>
#include <QString>

#include <array>

namespace AUILib {

class ButtonBoxQt;

// The standard buttons the library styles and translates, in the order it treats them.
struct StandardButtonEntry
{
    QDialogButtonBox::StandardButton value;
    const char* caption;
    QSize recordedSize; // shared by every button box of the process
};

std::array<StandardButtonEntry, 8>& StandardButtonTable();

// The caption in the current language: the string table's "AUILib::BBox" + caption, else the caption.
QString TranslatedCaption(const StandardButtonEntry& entry);

// Keeps `sheet` for the box's standard button whose translated caption is `text`.
void RegisterButtonSheet(ButtonBoxQt* box, const QString& text, const QString& sheet);
// Gives each styled standard button its sheet, scoped to the box, with size rules from the
// recorded sizes; while the box's sizes are not frozen, records the current sizes first.
void ApplyButtonBoxSizing(ButtonBoxQt* box);

} // namespace AUILib
