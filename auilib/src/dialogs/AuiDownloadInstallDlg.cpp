#include "AuiDownloadInstallDlg.h"

#include "Button.h"
#include "Edit.h"
#include "Label.h"
#include "TreeView.h"
#include "WideText.h"

#include <QObject>

CAuiDownloadInstallDlg::CAuiDownloadInstallDlg(const std::wstring& formPath, QWidget* parent)
    : AUILib::Dialog(formPath, parent, 0, 0.95, std::wstring())
    , m_closeButtonName(L"btn_close")
    , m_downloadButtonName(L"btn_download")
    , m_pictureName(L"lbl_Img")
    , m_titleName(L"lbl_title")
    , m_updatesDescriptionName(L"lbl_updates_desc")
    , m_versionName(L"lbl_version")
    , m_descriptionName(L"lbl_Description")
    , m_treeName(L"treeView")
    , m_textFieldName(L"txt_desc")
{
}

CAuiDownloadInstallDlg::~CAuiDownloadInstallDlg() = default;

bool CAuiDownloadInstallDlg::InitializeControls()
{
    m_closeButton = GetControlPtr<AUILib::Button*>(m_closeButtonName);
    m_downloadButton = GetControlPtr<AUILib::Button*>(m_downloadButtonName);
    m_picture = GetControlPtr<AUILib::Label*>(m_pictureName);
    m_title = GetControlPtr<AUILib::Label*>(m_titleName);
    m_updatesDescription = GetControlPtr<AUILib::Label*>(m_updatesDescriptionName);
    m_version = GetControlPtr<AUILib::Label*>(m_versionName);
    m_description = GetControlPtr<AUILib::Label*>(m_descriptionName);
    m_textField = GetControlPtr<AUILib::Edit*>(m_textFieldName);
    m_updateTree = GetControlPtr<AUILib::TreeView*>(m_treeName);
    if (m_title)
        m_title->SetText(AUILib::ToWString(QObject::tr("Kelvrin PDF Reader")), true);
    if (m_version)
        m_version->SetText(std::wstring(), true);
    return true;
}
