#pragma once

#include "ComboBoxFS.h"

#include <QComboBox>

namespace AUILib {

// The folder combo box's widget: a press drops the entries whose folders are gone before the list
// opens. Once its control is gone it is a plain QComboBox.
class ComboBoxFSQt : public QComboBox
{
    Q_OBJECT
public:
    explicit ComboBoxFSQt(ComboBoxFS& owner);

    void ReleaseOwner() { m_owner = nullptr; }
    // Copies the record of the entry at `index`; false when it has none.
    bool ReadEntry(int index, ComboBoxFS::FSData& data);

    // The browse entry's text in the current language.
    static QString BrowseText();

protected:
    bool event(QEvent* event) override;

private:
    void PruneMissingFolders();

    ComboBoxFS* m_owner;
    ComboBoxFS::FSData m_scratch;
};

} // namespace AUILib
