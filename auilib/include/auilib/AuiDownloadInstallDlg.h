#pragma once

#include "Dialog.h"

#include <string>

namespace AUILib {
class Button;
class Edit;
class Label;
class TreeView;
} // namespace AUILib

// The download-and-install window on the widget library: its controls come from the form and are
// found by their object names; it sets the title and an empty version line, and nothing else.
class CAuiDownloadInstallDlg : public AUILib::Dialog
{
public:
    CAuiDownloadInstallDlg(const std::wstring& formPath, QWidget* parent);
    ~CAuiDownloadInstallDlg() override;

    // A name missing from the form, or of another kind of control, leaves its pointer null.
    bool InitializeControls() override;

    AUILib::Button* CloseButton() const { return m_closeButton; }
    AUILib::Button* DownloadButton() const { return m_downloadButton; }
    AUILib::Label* Picture() const { return m_picture; }
    AUILib::Label* Title() const { return m_title; }
    AUILib::Label* UpdatesDescription() const { return m_updatesDescription; }
    AUILib::Label* Version() const { return m_version; }
    AUILib::Label* Description() const { return m_description; }
    AUILib::Edit* TextField() const { return m_textField; }
    AUILib::TreeView* UpdateTree() const { return m_updateTree; }

private:
    const std::wstring m_closeButtonName;
    const std::wstring m_downloadButtonName;
    const std::wstring m_pictureName;
    const std::wstring m_titleName;
    const std::wstring m_updatesDescriptionName;
    const std::wstring m_versionName;
    const std::wstring m_descriptionName;
    const std::wstring m_treeName;
    const std::wstring m_textFieldName;

    AUILib::Button* m_closeButton = nullptr;
    AUILib::Button* m_downloadButton = nullptr;
    AUILib::Label* m_picture = nullptr;
    AUILib::Label* m_title = nullptr;
    AUILib::Label* m_updatesDescription = nullptr;
    AUILib::Label* m_version = nullptr;
    AUILib::Label* m_description = nullptr;
    AUILib::Edit* m_textField = nullptr;
    AUILib::TreeView* m_updateTree = nullptr;
};
