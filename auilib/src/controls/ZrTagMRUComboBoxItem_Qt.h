#pragma once

#include <QMetaType>
#include <QString>

#include <cstdint>

// A folder combo box entry's record, kept in the entry's user role as a pointer.
struct ZrTagMRUComboBoxItem_Qt
{
    std::int32_t type = 0;
    std::int32_t value = 0;
    QString path;
    QString name;
};

using ZrLPMRUComboBoxItem_Qt = ZrTagMRUComboBoxItem_Qt*;

Q_DECLARE_METATYPE(ZrLPMRUComboBoxItem_Qt)
