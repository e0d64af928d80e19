#include "ComboBoxFS.h"

#include "AUILibConfig.h"
#include "ComboBoxFSImpl.h"
#include "WideText.h"

#include <QAbstractItemView>
#include <QFileDialog>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QStandardPaths>

#include <algorithm>

namespace AUILib {

namespace {

// The folder's icon; false, and no icon, for a path that names nothing.
bool FolderIcon(const QString& path, QIcon& icon)
{
    const QFileInfo info(path);
    if (!info.exists())
        return false;
    icon = QFileIconProvider().icon(info);
    return true;
}

ComboBoxFS::FSData MakeData(ComboBoxFS::ItemType type, int value, const std::wstring& path, const std::wstring& name)
{
    ComboBoxFS::FSData data;
    data.type = type;
    data.value = value;
    data.path = path;
    data.name = name;
    return data;
}

const QStandardPaths::StandardLocation kKnownFolders[] = {
    QStandardPaths::DocumentsLocation, QStandardPaths::DesktopLocation, QStandardPaths::DownloadLocation,
    QStandardPaths::PicturesLocation,  QStandardPaths::MusicLocation,   QStandardPaths::MoviesLocation,
};

} // namespace

ComboBoxFS::impl::impl(ComboBoxFS& owner)
    : widget(new ComboBoxFSQt(owner))
    , m_owner(owner)
{
    TrackConnection(QObject::connect(widget->model(), &QAbstractItemModel::rowsAboutToBeRemoved,
                                     [this](const QModelIndex&, int first, int last) { ForgetRecords(first, last); }));
    TrackConnection(QObject::connect(widget, QOverload<int>::of(&QComboBox::currentIndexChanged), [this](int index) {
        if (index >= 0 && widget->itemText(index).compare(ComboBoxFSQt::BrowseText(), Qt::CaseInsensitive) != 0)
            returnIndex = index;
        FireHandlers(m_owner.OnSelChanged, index);
    }));
    TrackConnection(
        QObject::connect(widget, QOverload<int>::of(&QComboBox::activated), [this](int) { OnActivated(); }));
}

ComboBoxFS::impl::~impl()
{
    if (widget) {
        widget->ReleaseOwner();
        // The records go with this object: the widget keeps no pointer to them.
        for (int index = 0; index < widget->count(); ++index)
            widget->setItemData(index, QVariant());
    }
    ReleaseWidget(widget);
}

ZrTagMRUComboBoxItem_Qt* ComboBoxFS::impl::NewRecord(const FSData& data)
{
    auto record = std::make_unique<ZrTagMRUComboBoxItem_Qt>();
    record->type = data.type;
    record->value = data.value;
    record->path = ToQString(data.path);
    record->name = ToQString(data.name);
    m_records.push_back(std::move(record));
    return m_records.back().get();
}

void ComboBoxFS::impl::ForgetRecords(int first, int last)
{
    if (!widget)
        return;
    for (int index = first; index <= last; ++index) {
        const ZrTagMRUComboBoxItem_Qt* record = widget->itemData(index).value<ZrLPMRUComboBoxItem_Qt>();
        m_records.erase(std::remove_if(m_records.begin(), m_records.end(),
                                       [record](const auto& kept) { return kept.get() == record; }),
                        m_records.end());
    }
}

void ComboBoxFS::impl::PickFolder()
{
    const QString chosen = QFileDialog::getExistingDirectory(
        nullptr, QObject::tr("Select the folder you want to search."),
        QStandardPaths::writableLocation(QStandardPaths::HomeLocation), QFileDialog::ShowDirsOnly);
    // The picker runs its own event loop: the widget may be gone afterwards.
    if (!widget)
        return;
    if (chosen.isNull()) {
        widget->setCurrentIndex(returnIndex);
        return;
    }
    for (int index = 0; index < widget->count(); ++index) {
        if (widget->itemText(index).compare(chosen, Qt::CaseInsensitive) == 0) {
            widget->setCurrentIndex(index);
            return;
        }
    }
    const QString canonical = QFileInfo(chosen).canonicalFilePath();
    const std::wstring path = ToWString(canonical);
    m_owner.AddSearchFolderItem(path, PickedFolder, 1, path, path);
    widget->setCurrentIndex(widget->findData(canonical, Qt::DisplayRole, Qt::MatchCaseSensitive));
}

void ComboBoxFS::impl::OnActivated()
{
    if (widget->currentIndex() == -1)
        return;
    if (widget->currentText().compare(ComboBoxFSQt::BrowseText(), Qt::CaseInsensitive) == 0)
        PickFolder();
    if (!widget)
        return;
    widget->setFocus(Qt::OtherFocusReason);
    FireHandlers(m_owner.OnItemActivated, widget->currentIndex());
}

ComboBoxFS::ComboBoxFS()
    : m_impl(std::make_shared<impl>(*this))
{
    SetControlType(ControlType::ComboBoxFS);
}

ComboBoxFS::~ComboBoxFS()
{
    m_impl.reset();
}

bool ComboBoxFS::Create(QWidget* parent)
{
    SetParentWindow(parent);
    return m_impl->Create(parent);
}

Size ComboBoxFS::IdealSize()
{
    return m_impl->IdealSize();
}

std::shared_ptr<BaseImpl> ComboBoxFS::GetBaseImpl() const
{
    return m_impl;
}

SkinManager* ComboBoxFS::GetSkinManager()
{
    return GetGlobalSkinManager();
}

void ComboBoxFS::InitComboBoxFS()
{
    ComboBoxFSQt* widget = m_impl->widget;
    if (!widget)
        return;
    widget->clear();
    for (const QStandardPaths::StandardLocation location : kKnownFolders) {
        const std::wstring name = ToWString(QStandardPaths::displayName(location));
        const QString path = QFileInfo(QStandardPaths::writableLocation(location)).canonicalFilePath();
        AddSearchFolderItem(name, KnownFolder, 0, ToWString(path), name);
    }
    const std::wstring browse = ToWString(ComboBoxFSQt::BrowseText());
    AddSearchFolderItem(browse, BrowseEntry, 0, browse, browse);
    widget->setCurrentIndex(0);
    FSData current;
    if (GetCurSearchFolderItem(current))
        m_impl->rememberedFolder = ToQString(current.path);

    const QString remembered = m_impl->rememberedFolder;
    for (int index = 0; index < widget->count(); ++index) {
        FSData entry;
        if (GetSearchFolderItem(entry, index) && !entry.path.empty()
            && ToQString(entry.path).compare(remembered, Qt::CaseInsensitive) == 0) {
            widget->setCurrentIndex(index);
            return;
        }
    }
    if (remembered.isEmpty())
        return;
    FSData data = MakeData(RememberedFolder, 2, ToWString(remembered), ToWString(remembered));
    InsertSearchFolderItem(0, data.path, data);
    widget->setCurrentIndex(widget->findData(remembered, Qt::DisplayRole, Qt::MatchCaseSensitive));
}

int ComboBoxFS::AddSearchFolderItem(const std::wstring& text, ItemType type, int value, const std::wstring& path,
                                    const std::wstring& name)
{
    ComboBoxFSQt* widget = m_impl->widget;
    if (!widget)
        return -1;
    QIcon icon;
    FolderIcon(ToQString(path), icon);
    const QVariant record = QVariant::fromValue(m_impl->NewRecord(MakeData(type, value, path, name)));
    const QString shown = ToQString(text);
    widget->addItem(shown != ComboBoxFSQt::BrowseText() ? icon : QIcon(), shown, record);
    AutoUpdateComboboxViewWidth();
    return widget->count() - 1;
}

int ComboBoxFS::AddSearchFolderItem(const std::wstring& text, FSData& data)
{
    return InsertSearchFolderItem(Count(), text, data) == -1 ? -1 : Count() - 1;
}

int ComboBoxFS::InsertSearchFolderItem(int index, const std::wstring& text, FSData& data)
{
    ComboBoxFSQt* widget = m_impl->widget;
    QIcon icon;
    if (!widget || !FolderIcon(ToQString(data.path), icon))
        return -1;
    widget->insertItem(index, icon, ToQString(text), QVariant::fromValue(m_impl->NewRecord(data)));
    AutoUpdateComboboxViewWidth();
    return index;
}

int ComboBoxFS::Count()
{
    const ComboBoxFSQt* widget = m_impl->widget;
    return widget ? widget->count() : 0;
}

bool ComboBoxFS::GetCurSearchFolderItem(FSData& data)
{
    ComboBoxFSQt* widget = m_impl->widget;
    return widget && widget->ReadEntry(widget->currentIndex(), data);
}

bool ComboBoxFS::GetSearchFolderItem(FSData& data, int index)
{
    ComboBoxFSQt* widget = m_impl->widget;
    return widget && widget->ReadEntry(index, data);
}

void ComboBoxFS::SetCurSel(int index)
{
    if (ComboBoxFSQt* widget = m_impl->widget)
        widget->setCurrentIndex(index);
}

void ComboBoxFS::AutoUpdateComboboxViewWidth()
{
    ComboBoxFSQt* widget = m_impl->widget;
    if (!widget)
        return;
    int width = widget->sizeHint().width();
    const QFontMetrics metrics(widget->view()->font());
    for (int index = 0; index < widget->count(); ++index)
        width = std::max(width, metrics.horizontalAdvance(widget->itemText(index) + QLatin1Char(' ')) + 20);
    widget->view()->setMinimumWidth(width);
}

} // namespace AUILib
