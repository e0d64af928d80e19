#pragma once

#include <QIcon>
#include <QLineEdit>
#include <QPointer>
#include <QToolButton>

namespace AUILib {

class ContextMenu;
class Edit;

// The line edit's widget: the paste key and the context menu go through the control, and a
// trailing picture button changes its picture while hovered. Once its control is gone it is a
// plain QLineEdit.
class EditQt : public QLineEdit
{
    Q_OBJECT
public:
    explicit EditQt(Edit& owner);

    // For the control's implementation when it goes.
    void ReleaseOwner() { m_owner = nullptr; }

    // The clipboard text at the cursor, reported first; nothing for an empty clipboard or a
    // read-only field.
    void Paste();

    bool IsExtendedButtonEnabled() const { return m_extendedButtonEnabled; }
    // Takes the tool button Qt made for the field's trailing action.
    void EnableExtendedButton(const QIcon& normal, const QIcon& hover);
    QToolButton* ExtendedButton() const { return m_extendedButton; }
    void SetExtendedButtonIcons(const QIcon& normal, const QIcon& hover);
    void SetExtendedButtonIcon(const QIcon& icon, bool hover);
    void ShowHoverIcon();

protected:
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void ShowNormalIcon();
    // Greys the entries that a read-only field or an empty clipboard rule out, then shows it.
    void ShowProgramMenu(ContextMenu& menu);

    Edit* m_owner;
    QPointer<QToolButton> m_extendedButton;
    QIcon m_normalIcon;
    QIcon m_hoverIcon;
    bool m_extendedButtonEnabled = false;
    bool m_hoverIconShown = false;
};

} // namespace AUILib
