#include "EditQt.h"

#include "ContextMenu.h"
#include "Edit.h"
#include "WideText.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>

#include <list>
#include <set>

namespace AUILib {

EditQt::EditQt(Edit& owner)
    : m_owner(&owner)
{
}

void EditQt::Paste()
{
    const QString text = QApplication::clipboard()->text(QClipboard::Clipboard);
    // QLineEdit::insert ignores the read-only state.
    if (text.isEmpty() || isReadOnly())
        return;
    if (m_owner)
        FireHandlers(m_owner->onPaste, ToWString(text));
    insert(text);
}

void EditQt::EnableExtendedButton(const QIcon& normal, const QIcon& hover)
{
    m_normalIcon = normal;
    m_hoverIcon = hover;
    m_extendedButton = findChild<QToolButton*>(QString(), Qt::FindDirectChildrenOnly);
    m_extendedButtonEnabled = true;
}

void EditQt::SetExtendedButtonIcons(const QIcon& normal, const QIcon& hover)
{
    m_normalIcon = normal;
    m_hoverIcon = hover;
    ShowNormalIcon();
}

void EditQt::SetExtendedButtonIcon(const QIcon& icon, bool hover)
{
    (hover ? m_hoverIcon : m_normalIcon) = icon;
    ShowNormalIcon();
}

void EditQt::ShowHoverIcon()
{
    if (m_extendedButton)
        m_extendedButton->setIcon(m_hoverIcon);
    m_hoverIconShown = true;
}

void EditQt::ShowNormalIcon()
{
    if (m_extendedButton)
        m_extendedButton->setIcon(m_normalIcon);
}

void EditQt::mouseMoveEvent(QMouseEvent* event)
{
    if (m_extendedButtonEnabled && m_hoverIconShown) {
        ShowNormalIcon();
        m_hoverIconShown = false;
    }
    QLineEdit::mouseMoveEvent(event);
}

void EditQt::keyPressEvent(QKeyEvent* event)
{
    if (m_owner && event->matches(QKeySequence::Paste)) {
        event->accept();
        Paste();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void EditQt::ShowProgramMenu(ContextMenu& menu)
{
    if (menu.Count() < 1)
        return;
    const std::list<int> readOnlyEntries = menu.ItemsDisabledIfReadOnly();
    const std::list<int> clipboardEntries = menu.ItemsDisabledIfEmptyClipBoard();
    std::set<int> ruled(readOnlyEntries.begin(), readOnlyEntries.end());
    ruled.insert(clipboardEntries.begin(), clipboardEntries.end());
    for (int id : ruled)
        menu.EnableItem(id, true);
    if (isReadOnly())
        for (int id : readOnlyEntries)
            menu.EnableItem(id, false);
    if (QApplication::clipboard()->text(QClipboard::Clipboard).isEmpty())
        for (int id : clipboardEntries)
            menu.EnableItem(id, false);
    menu.Show(true);
}

void EditQt::contextMenuEvent(QContextMenuEvent* event)
{
    if (!m_owner) {
        QLineEdit::contextMenuEvent(event);
        return;
    }
    FireHandlers(m_owner->onContextMenu);
    // A program's menu takes the place of the standard one. Held while it shows: a callback may
    // take it from the field or release the field.
    if (const std::shared_ptr<ContextMenu> menu = m_owner->GetContextMenu()) {
        ShowProgramMenu(*menu);
        return;
    }
    QMenu* menu = createStandardContextMenu();
    if (!menu)
        return;
    for (QAction* action : menu->actions()) {
        if (!action->text().startsWith(QLineEdit::tr("&Paste")))
            continue;
        action->disconnect();
        action->setShortcut(QKeySequence::Paste);
        connect(action, &QAction::triggered, this, &EditQt::Paste, Qt::DirectConnection);
    }
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(event->globalPos());
}

} // namespace AUILib
