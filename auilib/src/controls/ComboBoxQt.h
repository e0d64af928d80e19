#pragma once

#include <QComboBox>

#include <string>

namespace AUILib {

class ComboBox;

// The combo box's widget: paste in the edit field reported once, arrow keys reported when they reach
// a selectable item, and an edit-list look. Once its control is gone it is a plain QComboBox.
class ComboBoxQt : public QComboBox
{
    Q_OBJECT
public:
    explicit ComboBoxQt(ComboBox& owner);

    // For the control's implementation when it goes.
    void ReleaseOwner();

    bool IsDroppedDown() const;
    void SetEditListMode(bool on) { m_editListMode = on; }
    bool IsEditListMode() const { return m_editListMode; }

signals:
    void onPaste(std::wstring text);
    void onCurrentIndexSelected(int id);

public slots:
    void ShowContextMenu(const QPoint& pos);
    // Pastes unless the paste key already did, then reports the whole edit text.
    void MyPaste();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void FollowItemFont(int index);
    bool IsCurrentItemSelectable() const;

    ComboBox* m_owner;
    bool m_pasteDone = false;
    bool m_editListMode = false;
};

} // namespace AUILib
