#include "ContextMenuImpl.h"

#include "AUILibLogger.h"
#include "WideText.h"

#include <QCursor>
#include <QIcon>
#include <QImage>
#include <QPixmap>

#include <algorithm>
#include <exception>

namespace AUILib {

namespace {

// The text as Qt shows it: up to the first NUL.
QString ActionText(const std::wstring& text)
{
    QString converted = ToQString(text);
    const int nul = converted.indexOf(QChar(0));
    if (nul >= 0)
        converted.truncate(nul);
    return converted;
}

bool HasID(const QAction* action, int id)
{
    return action && action->data().userType() == QMetaType::Int && action->data().toInt() == id;
}

// A callback is user code run from Qt's event dispatch: nothing may escape into it.
void RunCallback(const std::function<void()>& onTriggered, const std::function<void(int)>& onTriggeredWithID,
                 int id)
{
    try {
        if (onTriggered)
            onTriggered();
        else if (onTriggeredWithID)
            onTriggeredWithID(id);
    } catch (const std::exception& exception) {
        AUILibLogger::GetInstance().LogException(exception);
    } catch (...) {
        AUILibLogger::GetInstance().LogException(L"Unknown exception in a menu callback");
    }
}

} // namespace

ContextMenu::impl::impl(QWidget* parent)
    : m_widget(new ContextMenuQt(parent))
{
}

ContextMenu::impl::~impl()
{
    for (ItemData& item : m_items) {
        if (item.submenu && item.submenu->GetImpl())
            item.submenu->GetImpl()->m_parent = nullptr;
    }
}

int ContextMenu::impl::AddItem(const std::wstring& text, const std::function<void()>& onTriggered, int flags)
{
    return InsertItem(Count(), text, onTriggered, flags);
}

int ContextMenu::impl::AddItem(const std::wstring& text, const std::function<void(int)>& onTriggered, int flags)
{
    return InsertItem(Count(), text, onTriggered, flags);
}

int ContextMenu::impl::InsertItem(int index, const std::wstring& text, const std::function<void()>& onTriggered,
                                  int flags)
{
    if (!onTriggered)
        return -1;
    ItemData data;
    data.text = text;
    data.onTriggered = onTriggered;
    data.flags = flags;
    return InsertItem(index, data);
}

int ContextMenu::impl::InsertItem(int index, const std::wstring& text, const std::function<void(int)>& onTriggered,
                                  int flags)
{
    if (!onTriggered)
        return -1;
    ItemData data;
    data.text = text;
    data.onTriggeredWithID = onTriggered;
    data.flags = flags;
    return InsertItem(index, data);
}

int ContextMenu::impl::InsertItem(int index, ItemData& data)
{
    if (!m_widget || index < 0 || HasEntryWithText(data.text))
        return -1;
    QAction* before = ActionAt(index);
    auto* action = new QAction(ActionText(data.text), m_widget);
    data.ID = GetNextID();
    action->setData(data.ID);
    if (data.flags & ItemData::Checkable) {
        action->setCheckable(true);
        action->setChecked((data.flags & ItemData::Checked) != 0);
    }
    m_widget->insertAction(before, action);
    if (data.onTriggered || data.onTriggeredWithID) {
        QObject::connect(
            action, &QAction::triggered, action,
            [onTriggered = data.onTriggered, onTriggeredWithID = data.onTriggeredWithID, id = data.ID]() {
                RunCallback(onTriggered, onTriggeredWithID, id);
            },
            Qt::DirectConnection);
    }
    const std::size_t position = before ? std::min<std::size_t>(index, m_items.size()) : m_items.size();
    m_items.insert(m_items.begin() + static_cast<std::ptrdiff_t>(position), data);
    return data.ID;
}

int ContextMenu::impl::AddSeparator()
{
    return InsertSeparator(Count());
}

int ContextMenu::impl::InsertSeparator(int index)
{
    if (!m_widget || index < 0)
        return -1;
    QAction* before = ActionAt(index);
    QAction* separator = m_widget->insertSeparator(before);
    if (!separator)
        return -1;
    ItemData data;
    data.ID = GetNextID();
    separator->setData(data.ID);
    const std::size_t position = before ? std::min<std::size_t>(index, m_items.size()) : m_items.size();
    m_items.insert(m_items.begin() + static_cast<std::ptrdiff_t>(position), data);
    return data.ID;
}

std::shared_ptr<ContextMenu> ContextMenu::impl::CreateSubmenu(const std::wstring&)
{
    if (!m_widget)
        return {};
    auto child = std::make_shared<ContextMenu>();
    if (!child->Create(m_widget) || !child->GetImpl()->m_widget)
        return {};
    child->GetImpl()->m_parent = this;
    return child;
}

std::shared_ptr<ContextMenu> ContextMenu::impl::AddSubmenu(const std::wstring& text, const std::wstring& toolTip)
{
    std::shared_ptr<ContextMenu> child = CreateSubmenu(text);
    if (!child)
        return {};
    return AddSubmenuEntry(child, m_widget->addMenu(child->GetImpl()->m_widget), text, toolTip);
}

std::shared_ptr<ContextMenu> ContextMenu::impl::InsertSubmenu(int index, const std::wstring& text,
                                                              const std::wstring& toolTip)
{
    QAction* before = ActionAt(index);
    if (!before)
        return {};
    std::shared_ptr<ContextMenu> child = CreateSubmenu(text);
    if (!child)
        return {};
    return AddSubmenuEntry(child, m_widget->insertMenu(before, child->GetImpl()->m_widget), text, toolTip);
}

std::shared_ptr<ContextMenu> ContextMenu::impl::AddSubmenuEntry(const std::shared_ptr<ContextMenu>& child,
                                                                QAction* action, const std::wstring& text,
                                                                const std::wstring& toolTip)
{
    if (!action)
        return {};
    action->setText(ActionText(text));
    ItemData data;
    data.text = text;
    data.submenu = child;
    data.ID = GetNextID();
    action->setData(data.ID);
    SetItemToolTip(data.ID, toolTip);
    m_items.push_back(data);
    return child;
}

int ContextMenu::impl::GetNextID()
{
    impl* root = this;
    while (root->m_parent)
        root = root->m_parent;
    return static_cast<int>(root->m_nextID++);
}

bool ContextMenu::impl::RemoveItem(int id)
{
    if (!m_widget)
        return false;
    for (QAction* action : m_widget->actions()) {
        bool isInt = false;
        if (action->data().toInt(&isInt) != id || !isInt)
            continue;
        m_widget->removeAction(action);
        const ItemData* data = GetItemDataByID(id);
        // A submenu's entry is its menu's own action: it goes with that menu.
        if (data && data->submenu && data->submenu->GetImpl() && data->submenu->GetImpl()->m_widget)
            data->submenu->GetImpl()->m_widget->deleteLater();
        else
            action->deleteLater();
        RemoveRecursiveFromInternalData(id);
        return true;
    }
    for (ItemData& item : m_items) {
        if (item.submenu && item.submenu->GetImpl() && item.submenu->GetImpl()->RemoveItem(id))
            return true;
    }
    return false;
}

bool ContextMenu::impl::RemoveRecursiveFromInternalData(int id)
{
    const std::size_t before = m_items.size();
    m_items.erase(std::remove_if(m_items.begin(), m_items.end(), [id](const ItemData& item) { return item.ID == id; }),
                  m_items.end());
    if (m_items.size() != before)
        return true;
    for (ItemData& item : m_items) {
        if (item.submenu && item.submenu->GetImpl() && item.submenu->GetImpl()->RemoveRecursiveFromInternalData(id))
            return true;
    }
    return false;
}

bool ContextMenu::impl::EnableItem(int id, bool enable)
{
    QAction* action = GetMenuItemAction(id);
    if (!action)
        return false;
    action->setEnabled(enable);
    return true;
}

bool ContextMenu::impl::IsEnabledItem(int id)
{
    QAction* action = GetMenuItemAction(id);
    return action && action->isEnabled();
}

bool ContextMenu::impl::CheckItem(int id, bool check)
{
    QAction* action = GetMenuItemAction(id);
    if (!action || !action->isCheckable())
        return false;
    action->setChecked(check);
    RefreshActionImage(action);
    return true;
}

bool ContextMenu::impl::IsCheckedItem(int id)
{
    QAction* action = GetMenuItemAction(id);
    return action && action->isChecked();
}

int ContextMenu::impl::Count() const
{
    return m_widget ? m_widget->actions().size() : -1;
}

int ContextMenu::impl::GetMenuItemIndex(int id) const
{
    if (id < 0 || !m_widget)
        return -1;
    const QList<QAction*> actions = m_widget->actions();
    for (int index = 0; index < actions.size(); ++index) {
        if (HasID(actions[index], id))
            return index;
    }
    return -1;
}

int ContextMenu::impl::GetMenuItemID(int index) const
{
    if (index < 0 || index >= Count())
        return -1;
    const QVariant data = m_widget->actions().at(index)->data();
    return data.userType() == QMetaType::Int ? data.toInt() : -1;
}

QAction* ContextMenu::impl::GetMenuItemAction(int id) const
{
    if (id < 0 || !m_widget)
        return nullptr;
    for (QAction* action : m_widget->actions()) {
        if (HasID(action, id))
            return action;
    }
    for (const ItemData& item : m_items) {
        if (item.submenu && item.submenu->GetImpl()) {
            if (QAction* action = item.submenu->GetImpl()->GetMenuItemAction(id))
                return action;
        }
    }
    return nullptr;
}

int ContextMenu::impl::GetItemFlags(int id) const
{
    for (const ItemData& item : m_items) {
        if (item.ID == id)
            return item.flags;
    }
    return 0;
}

ItemData* ContextMenu::impl::GetItemDataByID(int id)
{
    for (ItemData& item : m_items) {
        if (item.ID == id)
            return &item;
    }
    for (ItemData& item : m_items) {
        if (item.submenu && item.submenu->GetImpl()) {
            if (ItemData* found = item.submenu->GetImpl()->GetItemDataByID(id))
                return found;
        }
    }
    return nullptr;
}

std::list<int> ContextMenu::impl::ItemsWithFlag(int flag) const
{
    std::list<int> ids;
    for (const ItemData& item : m_items) {
        if (item.submenu && item.submenu->GetImpl())
            ids.splice(ids.end(), item.submenu->GetImpl()->ItemsWithFlag(flag));
        else if (item.flags & flag)
            ids.push_back(item.ID);
    }
    return ids;
}

std::list<int> ContextMenu::impl::ItemsChecked() const
{
    std::list<int> checked;
    for (int id : ItemsCheckable()) {
        const QAction* action = GetMenuItemAction(id);
        if (action && action->isChecked())
            checked.push_back(id);
    }
    return checked;
}

void ContextMenu::impl::SetItemToolTip(int id, const std::wstring& text)
{
    if (!text.empty() && m_widget)
        m_widget->ToolTips()[id] = text;
}

void ContextMenu::impl::SetToolTipMaxWidth(int width)
{
    if (m_widget && ContextMenuQt::IsToolTipWidth(width))
        m_widget->SetToolTipMaxWidth(width);
}

void ContextMenu::impl::AddPictureToItem(int id, const std::wstring& path, int, BitmapType, bool forChecked)
{
    QAction* action = GetMenuItemAction(id);
    ItemData* data = GetItemDataByID(id);
    QImage image;
    if (!action || !data || !image.load(ToQString(path)))
        return;
    SetPictureData(*data, *action, image, forChecked);
    m_widget->update();
}

void ContextMenu::impl::AddPictureToItem(int id, const unsigned char* bytes, int size, ImageTypes, int, BitmapType,
                                         bool forChecked)
{
    QAction* action = GetMenuItemAction(id);
    ItemData* data = GetItemDataByID(id);
    QImage image;
    if (!action || !data || !bytes || size <= 0 || !image.loadFromData(bytes, size))
        return;
    SetPictureData(*data, *action, image, forChecked);
    m_widget->update();
}

void ContextMenu::impl::SetPictureData(ItemData& data, QAction& action, QImage& image, bool forChecked)
{
    std::shared_ptr<QImage>& stored = forChecked ? data.checkedPicture : data.picture;
    if (!stored)
        stored = std::make_shared<QImage>(image);
    if (!forChecked || (action.isCheckable() && action.isChecked()))
        action.setIcon(QIcon(QPixmap::fromImage(*stored)));
}

void ContextMenu::impl::ShowPopup()
{
    Popup(QCursor::pos());
}

void ContextMenu::impl::ShowPopup(int x, int y)
{
    Popup(QPoint(x, y));
}

void ContextMenu::impl::Popup(const QPoint& globalPos)
{
    if (!m_widget)
        return;
    const std::weak_ptr<bool> alive = m_alive;
    const QPointer<ContextMenuQt> menu = m_widget;
    QAction* chosen = menu->exec(globalPos);
    if (alive.expired() || !menu)
        return;
    RefreshActionImage(chosen);
}

void ContextMenu::impl::HidePopup()
{
    if (m_widget)
        m_widget->close();
}

void ContextMenu::impl::RefreshActionImage(QAction* action)
{
    if (!action || action->data().userType() != QMetaType::Int)
        return;
    const ItemData* data = GetItemDataByID(action->data().toInt());
    if (!data)
        return;
    const std::shared_ptr<QImage>& picture = action->isChecked() ? data->checkedPicture : data->picture;
    if (picture)
        action->setIcon(QIcon(QPixmap::fromImage(*picture)));
}

bool ContextMenu::impl::HasEntryWithText(const std::wstring& text) const
{
    return std::any_of(m_items.begin(), m_items.end(), [&](const ItemData& item) { return item.text == text; });
}

QAction* ContextMenu::impl::ActionAt(int index) const
{
    if (!m_widget || index < 0 || index >= Count())
        return nullptr;
    return m_widget->actions().at(index);
}

} // namespace AUILib
