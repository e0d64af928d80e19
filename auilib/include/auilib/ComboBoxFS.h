#pragma once

#include "BaseGUIObject.h"

#include <cstdint>
#include <memory>
#include <string>

namespace AUILib {

// A drop-down list of folders to search in: the user's well-known folders, a "<Browse...>" entry
// that opens a folder picker, and folders added by the caller or picked by the user.
class ComboBoxFS : public BaseGUIObject
{
public:
    // Callers may pass other values; the control gives them no meaning.
    enum ItemType : std::int32_t {
        KnownFolder = 0,
        BrowseEntry = 1,
        PickedFolder = 2,
        RememberedFolder = 4,
    };

    struct FSData
    {
        ItemType type = KnownFolder;
        std::int32_t value = 0;
        std::wstring path; // the browse entry's text for the browse entry
        std::wstring name;
    };

    class impl;

    ComboBoxFS();
    ~ComboBoxFS() override;

    bool Create(QWidget* parent) override;
    Size IdealSize() override;
    std::shared_ptr<BaseImpl> GetBaseImpl() const override;
    SkinManager* GetSkinManager() override;

    // Fills the list anew: the well-known folders, then the browse entry; selects the first.
    virtual void InitComboBoxFS();

    // Appends an entry whatever its path; returns its index.
    int AddSearchFolderItem(const std::wstring& text, ItemType type, int value, const std::wstring& path,
                            const std::wstring& name);
    // Appends or inserts an entry only for a path that exists; -1 otherwise.
    int AddSearchFolderItem(const std::wstring& text, FSData& data);
    int InsertSearchFolderItem(int index, const std::wstring& text, FSData& data);
    int Count();
    // False for an entry without a record.
    bool GetCurSearchFolderItem(FSData& data);
    bool GetSearchFolderItem(FSData& data, int index);
    void SetCurSel(int index);
    // Widens the drop-down list to its entries' texts.
    void AutoUpdateComboboxViewWidth();
    void UpdateCustomColors() {}

    HandlerList<int> OnSelChanged;    // every change of the current index
    HandlerList<int> OnItemActivated; // the user chose an entry (after the picker, for the browse entry)

private:
    std::shared_ptr<impl> m_impl;
};

} // namespace AUILib
