#include "ComboBoxFSQt.h"

#include "WideText.h"
#include "ZrTagMRUComboBoxItem_Qt.h"

#include <QEvent>
#include <QFile>

namespace AUILib {

ComboBoxFSQt::ComboBoxFSQt(ComboBoxFS& owner)
    : m_owner(&owner)
{
}

QString ComboBoxFSQt::BrowseText()
{
    return QObject::tr("<Browse...>");
}

bool ComboBoxFSQt::ReadEntry(int index, ComboBoxFS::FSData& data)
{
    const ZrTagMRUComboBoxItem_Qt* record = itemData(index).value<ZrLPMRUComboBoxItem_Qt>();
    if (!record)
        return false;
    m_scratch.type = static_cast<ComboBoxFS::ItemType>(record->type);
    m_scratch.value = record->value;
    m_scratch.path = ToWString(record->path);
    m_scratch.name = ToWString(record->name);
    data = m_scratch;
    return true;
}

void ComboBoxFSQt::PruneMissingFolders()
{
    const QString browse = BrowseText();
    for (int index = 0; index < count();) {
        ComboBoxFS::FSData data;
        const bool gone = ReadEntry(index, data) && itemText(index).compare(browse, Qt::CaseInsensitive) != 0
            && !data.path.empty() && !QFile::exists(ToQString(data.path));
        if (gone)
            removeItem(index);
        else
            ++index;
    }
}

bool ComboBoxFSQt::event(QEvent* event)
{
    if (event->type() == QEvent::MouseButtonPress && m_owner) {
        PruneMissingFolders();
        m_owner->AutoUpdateComboboxViewWidth();
    }
    return QComboBox::event(event);
}

} // namespace AUILib
