#pragma once

#include "BaseImplQt.h"
#include "ComboBoxFS.h"
#include "ComboBoxFSQt.h"
#include "ZrTagMRUComboBoxItem_Qt.h"

#include <QPointer>

#include <memory>
#include <vector>

namespace AUILib {

class ComboBoxFS::impl : public BaseImplQt
{
public:
    explicit impl(ComboBoxFS& owner);
    ~impl() override;

    QWidget* GetWidget() override { return widget; }

    // A record for a new entry, kept until the entry's row goes.
    ZrTagMRUComboBoxItem_Qt* NewRecord(const FSData& data);

    QPointer<ComboBoxFSQt> widget;
    QString rememberedFolder;
    // Where a cancelled folder picker returns: the last current entry that was not the browse entry.
    std::int32_t returnIndex = -1;

private:
    void ForgetRecords(int first, int last);
    void OnActivated();
    void PickFolder();

    ComboBoxFS& m_owner;
    std::vector<std::unique_ptr<ZrTagMRUComboBoxItem_Qt>> m_records;
};

} // namespace AUILib
