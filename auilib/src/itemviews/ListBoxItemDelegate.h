#pragma once

#include "BaseGUIObject.h"

#include <QPersistentModelIndex>
#include <QPointer>
#include <QStyledItemDelegate>

#include <memory>
#include <string>
#include <vector>

namespace AUILib {

class ComboBox;
class DateEdit;
class ListBoxImpl;

// The list box's delegate: picks and opens the in-place editor of a cell, reports the edit, and
// paints the underline, the row button and untinted pictures on selected rows.
class ItemDelegate : public QStyledItemDelegate
{
    Q_OBJECT
public:
    ItemDelegate(QObject* parent, ListBoxImpl* owner);
    ~ItemDelegate() override;

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override;
    void updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                              const QModelIndex& index) const override;
    // Reports the edit of an editor Qt closes and frees the editors.
    void destroyEditor(QWidget* editor, const QModelIndex& index) const override;
    // Also hears an open editor's control put a new widget in place of the one the view holds.
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;

    // Closes the open editors without storing their values.
    void CloseEditors();
    // The table holds the reports of the editors Qt closes until Qt is done with the close: a finish
    // handler may delete the window, and the table with it. Releasing the last hold reports them,
    // which may let the list and its table go.
    void HoldReports() { ++m_reportsHeld; }
    void ReleaseReports();
    // The editor Qt let go last; Qt lets go an editor last in the close that it holds it for.
    const QWidget* LastLetGo() const { return m_lastLetGo; }
    void ForgetLastLetGo() { m_lastLetGo = nullptr; }
    // Rows first .. last are about to leave the table.
    void ForgetEditorOfRows(int first, int last);
    // The column of the cell that this open editor edits; -1 for any other widget.
    int EditedColumn(const QWidget* editor) const;
    // Shows the selection as the list box asks, except while an editor is on screen.
    void ApplySelectionColours() const;
    // For the list box's implementation when it goes.
    void ReleaseOwner() { m_owner = nullptr; }

    bool showSelection = false;

private:
    // An editor Qt shows: its control, the widget the view holds for it, the cell it edits and the
    // cell's text when it opened.
    struct OpenEditor
    {
        std::unique_ptr<BaseGUIObject> control;
        // The control's widget unless the control put a new one in place while the view was not
        // listening, as when the view has a value stored: Qt then closes this one.
        QPointer<QWidget> widget;
        // Followed through sorting and rows coming and going; invalid once the cell has left.
        QPersistentModelIndex cell;
        std::wstring textAtStart;
        // Still to be closed by the CloseEditors under way.
        bool closeAsked = false;
    };
    using OpenEditors = std::vector<OpenEditor>;

    // Each fires the opening handlers, any of which may let the list box, its table or the row go.
    QWidget* OpenDateEdit(std::unique_ptr<DateEdit> control, const QStyleOptionViewItem& option,
                          const QModelIndex& index, const std::wstring& cellText) const;
    QWidget* OpenComboBox(std::unique_ptr<ComboBox> control, const QStyleOptionViewItem& option,
                          const QModelIndex& index, const std::wstring& cellText) const;
    QWidget* OpenEdit(QWidget* table, const QStyleOptionViewItem& option, const QModelIndex& index,
                      const std::wstring& cellText) const;
    // Whether the delegate and its list box lived through a handler.
    static bool ListLives(const QPointer<const ItemDelegate>& delegate);
    // What the view gets once the opening handlers ran: the editor while it is open in a list that
    // lives, else null, and the widget goes.
    static QWidget* Handed(const QPointer<const ItemDelegate>& delegate, const QPointer<QWidget>& editor);
    // Keeps the created control as an open editor and returns its widget.
    QWidget* Opened(std::unique_ptr<BaseGUIObject> control, const QStyleOptionViewItem& option,
                    const QModelIndex& index, const std::wstring& textAtStart) const;
    // The open editor for which the view holds this widget.
    OpenEditors::iterator FindOpen(const QWidget* editor) const;
    BaseGUIObject* OpenControl(const QWidget* editor) const;
    // Reports the edit of an editor that has closed, whose widget Qt let go.
    void Finish(const OpenEditor& closed) const;
    void ReportEdit(const OpenEditor& closed) const;
    // Hides and deletes the widget that the editor's control put in place of the one the view held.
    static void LetReplacementGo(const OpenEditor& gone);
    // Has the view hold `replacement` as the editor of the cell whose editor `replaced` was.
    void HandOverToReplacement(QWidget* replaced, QWidget* replacement);
    int TextLeft(int row) const;

    ListBoxImpl* m_owner;
    // In the order they opened. A report handler may open the next editor while one closes, and a
    // start handler while one opens: each is kept, stores and reports on its own.
    mutable OpenEditors m_open;
    int m_reportsHeld = 0;
    // Compared only, never read through.
    mutable const QWidget* m_lastLetGo = nullptr;
    mutable OpenEditors m_closed;
    // The widget that the view is to be handed for this cell, in place of a new editor.
    struct HandOver
    {
        QPersistentModelIndex cell;
        QPointer<QWidget> widget;
    };
    HandOver m_handOver;
};

} // namespace AUILib
