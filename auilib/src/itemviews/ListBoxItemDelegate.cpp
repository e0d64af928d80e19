#include "ListBoxItemDelegate.h"

#include "ComboBox.h"
#include "DateEdit.h"
#include "DateEditImpl.h"
#include "Edit.h"
#include "ListBoxImpl.h"
#include "WideText.h"
#include "WidgetReplacedEvent.h"

#include <QApplication>
#include <QDateTimeEdit>
#include <QHeaderView>
#include <QLineEdit>
#include <QLocale>
#include <QPainter>
#include <QPointer>
#include <QTableWidget>
#include <QTimer>

#include <algorithm>

namespace AUILib {

namespace {

const char kTimeFormat[] = "H:mm";

QString ShortDateFormat()
{
    return QLocale::system().dateFormat(QLocale::ShortFormat);
}

QString DateAndTimeFormat()
{
    return ShortDateFormat() + QLatin1Char(' ') + QLatin1String(kTimeFormat);
}

// A date cell holds either the ISO form or the display form an editor wrote back.
QDateTime ReadCellDate(const QString& text, const QString& displayFormat)
{
    const QDateTime iso = QDateTime::fromString(text, Qt::ISODate);
    if (iso.isValid())
        return iso;
    return ReadDateTime(text, displayFormat);
}

// A control made in the table, or null when it cannot be.
template <typename Control>
std::unique_ptr<Control> Created(QWidget* table)
{
    auto control = std::make_unique<Control>();
    if (!control->Create(table) || !control->GetWndPtr())
        return nullptr;
    return control;
}

DateEdit::impl* DateEditImplOf(BaseGUIObject* control)
{
    auto* date = dynamic_cast<DateEdit*>(control);
    return date ? dynamic_cast<DateEdit::impl*>(date->GetBaseImpl().get()) : nullptr;
}

ListBox::EditMode ItemEditMode(const QTableWidget* table, const ListBoxImpl& owner, const QModelIndex& index)
{
    const int row = index.row();
    const int column = index.column();
    if (row < 0 || row >= table->rowCount() || column < 0 || column > owner.columnCount)
        return ListBox::ColumnEditMode;
    const auto* cell = dynamic_cast<const CustomQTableWidgetItem*>(table->item(row, column));
    return cell ? cell->editMode : ListBox::ColumnEditMode;
}

} // namespace

ItemDelegate::ItemDelegate(QObject* parent, ListBoxImpl* owner)
    : QStyledItemDelegate(parent)
    , m_owner(owner)
{
}

ItemDelegate::~ItemDelegate() = default;

QWidget* ItemDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                                    const QModelIndex& index) const
{
    if (m_handOver.widget && index == m_handOver.cell)
        return m_handOver.widget;
    if (!m_owner || !m_owner->table || index.row() < 0 || index.column() < 0 || !index.model())
        return nullptr;
    const auto columnEntry = m_owner->columnEditModes.find(index.column());
    const bool columnHasMode = columnEntry != m_owner->columnEditModes.end();
    const ListBox::EditMode columnMode = columnHasMode ? columnEntry->second : ListBox::ColumnEditMode;
    const ListBox::EditMode itemMode = ItemEditMode(m_owner->table, *m_owner, index);
    if (itemMode == ListBox::NoEdit || (columnHasMode && columnMode == ListBox::NoEdit))
        return nullptr;
    const std::wstring cellText = ToWString(index.data(Qt::EditRole).toString());

    QWidget* table = parent ? parent->parentWidget() : nullptr;
    const bool useDate = itemMode == ListBox::DateEditor ||
                         (itemMode == ListBox::ColumnEditMode && columnMode == ListBox::DateEditor);
    const bool useCombo = itemMode == ListBox::ComboBoxEditor ||
                          (itemMode == ListBox::ColumnEditMode && columnMode == ListBox::ComboBoxEditor);
    if (itemMode == ListBox::EditEditor)
        return OpenEdit(table, option, index, cellText);
    // Only a control that cannot be made falls back to a line edit: once the opening handlers ran,
    // the list they leave decides.
    if (useDate) {
        if (auto date = Created<DateEdit>(table))
            return OpenDateEdit(std::move(date), option, index, cellText);
    } else if (useCombo) {
        if (auto combo = Created<ComboBox>(table))
            return OpenComboBox(std::move(combo), option, index, cellText);
    }
    const bool columnAsksForEdit = itemMode == ListBox::ColumnEditMode && columnMode == ListBox::EditEditor;
    if (m_owner->editable == ListBox::NotEditable && !columnAsksForEdit)
        return nullptr;
    return OpenEdit(table, option, index, cellText);
}

QWidget* ItemDelegate::OpenEdit(QWidget* table, const QStyleOptionViewItem& option, const QModelIndex& index,
                                const std::wstring& cellText) const
{
    std::unique_ptr<Edit> control = Created<Edit>(table);
    if (!control)
        return nullptr;
    Edit* edit = control.get();
    const QPointer<QWidget> editor = Opened(std::move(control), option, index, cellText);
    const int editable = m_owner->editable;
    if (editable != ListBox::NotEditable) {
        editor->setAttribute(Qt::WA_MacShowFocusRect, false);
        if (editable == 2)
            edit->SetFrameMode(false);
        else
            editor->setStyleSheet(editor->styleSheet() + QStringLiteral("border: 1px solid #%1;")
                                                             .arg(QPalette().color(QPalette::Highlight).rgb(), 0, 16));
    }
    const QPointer<const ItemDelegate> self(this);
    if (editable != 3) {
        FireHandlers(m_owner->Owner().OnEditStarted, index.row(), edit);
        if (!ListLives(self))
            return Handed(self, editor);
    }
    // A start handler that takes the row away takes the editor with it.
    const bool stillOpen = FindOpen(editor) != m_open.end();
    FireHandlers(m_owner->Owner().OnEditorCreated, index.row(), index.column(), stillOpen ? edit : nullptr);
    return Handed(self, editor);
}

QWidget* ItemDelegate::OpenDateEdit(std::unique_ptr<DateEdit> control, const QStyleOptionViewItem& option,
                                    const QModelIndex& index, const std::wstring& cellText) const
{
    const QDateTime start = ReadCellDate(ToQString(cellText), ShortDateFormat());
    DateEdit* date = control.get();
    const std::weak_ptr<BaseImpl> dateImpl = date->GetBaseImpl();
    const QPointer<QWidget> editor =
        Opened(std::move(control), option, index, ToWString(start.toString(DateAndTimeFormat())));
    const QPointer<const ItemDelegate> self(this);
    FireHandlers(m_owner->Owner().OnEditorCreated, index.row(), index.column(), date);
    // A handler that turns a time-only editor to a date mode has the control put a new widget in
    // place of this one, which goes: the view must hold the widget the control keeps, or it would
    // show and store nothing. A list let go meanwhile still holds the control by that new widget,
    // which goes with it.
    QPointer<QWidget> shown = editor;
    if (const std::shared_ptr<BaseImpl> live = dateImpl.lock())
        shown = live->GetWidget();
    if (shown && shown != editor) {
        shown->setFont(option.font);
        if (self) {
            const auto open = std::find_if(m_open.begin(), m_open.end(),
                                           [date](const OpenEditor& open) { return open.control.get() == date; });
            if (open != m_open.end())
                open->widget = shown;
        }
    }
    return Handed(self, shown ? shown : editor);
}

QWidget* ItemDelegate::OpenComboBox(std::unique_ptr<ComboBox> control, const QStyleOptionViewItem& option,
                                    const QModelIndex& index, const std::wstring& cellText) const
{
    ComboBox* combo = control.get();
    const QPointer<QWidget> editor = Opened(std::move(control), option, index, cellText);
    const QPointer<const ItemDelegate> self(this);
    FireHandlers(m_owner->Owner().OnEditorCreated, index.row(), index.column(), combo);
    return Handed(self, editor);
}

bool ItemDelegate::ListLives(const QPointer<const ItemDelegate>& delegate)
{
    // A handler that deletes the list box takes the delegate's owner; one that deletes its window
    // takes the table, and this delegate with it.
    return delegate && delegate->m_owner;
}

QWidget* ItemDelegate::Handed(const QPointer<const ItemDelegate>& delegate, const QPointer<QWidget>& editor)
{
    if (ListLives(delegate) && delegate->FindOpen(editor) != delegate->m_open.end())
        return editor;
    // The opening ended under the handlers: Qt never learns of the widget, so nothing else would
    // close it.
    if (delegate) {
        const auto open = delegate->FindOpen(editor);
        if (open != delegate->m_open.end())
            delegate->m_open.erase(open);
        delegate->ApplySelectionColours();
    }
    if (editor) {
        editor->hide();
        editor->deleteLater();
    }
    return nullptr;
}

QWidget* ItemDelegate::Opened(std::unique_ptr<BaseGUIObject> control, const QStyleOptionViewItem& option,
                              const QModelIndex& index, const std::wstring& textAtStart) const
{
    QWidget* widget = control->GetPlatformHandle();
    widget->setFont(option.font);
    m_owner->ApplySelectionPalette(false);
    m_open.push_back({std::move(control), widget, index, textAtStart});
    return widget;
}

ItemDelegate::OpenEditors::iterator ItemDelegate::FindOpen(const QWidget* editor) const
{
    return std::find_if(m_open.begin(), m_open.end(), [editor](const OpenEditor& open) {
        return editor && open.widget == editor;
    });
}

BaseGUIObject* ItemDelegate::OpenControl(const QWidget* editor) const
{
    const auto open = FindOpen(editor);
    return open == m_open.end() ? nullptr : open->control.get();
}

void ItemDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const
{
    // The control's new widget keeps the value the control gave it.
    if (!index.model() || index.row() < 0 || index.column() < 0 || editor == m_handOver.widget)
        return;
    BaseGUIObject* control = OpenControl(editor);
    if (dynamic_cast<Edit*>(control)) {
        auto* line = qobject_cast<QLineEdit*>(editor);
        if (!line)
            return;
        line->setText(index.data(Qt::EditRole).toString());
        if (m_owner && m_owner->editable == 2)
            QTimer::singleShot(0, line, &QLineEdit::deselect);
        return;
    }
    DateEdit::impl* date = DateEditImplOf(control);
    auto* dateWidget = qobject_cast<QDateTimeEdit*>(editor);
    if (!date || !dateWidget || date->Widget() != dateWidget)
        return;
    const QDateTime value = ReadCellDate(index.data(Qt::EditRole).toString(), date->Format());
    if (value.isValid())
        dateWidget->setDateTime(value);
}

void ItemDelegate::setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const
{
    // Qt still holds an editor this delegate forgot with its leaving row until it closes it.
    BaseGUIObject* control = OpenControl(editor);
    if (!control)
        return;
    auto* dateWidget = qobject_cast<QDateTimeEdit*>(editor);
    DateEdit::impl* date = DateEditImplOf(control);
    // A widget the date control put another in place of, unheard by the view, holds none of the
    // user's value and is on its way out: Qt may ask it to store as its deletion takes its focus.
    if (date && date->Widget() != dateWidget)
        return;
    if (!dateWidget || !date) {
        QStyledItemDelegate::setModelData(editor, model, index);
        return;
    }
    QString text;
    switch (date->Mode()) {
    case DateEdit::TimeOnly:
        text = dateWidget->time().toString(QLatin1String(kTimeFormat));
        break;
    case DateEdit::DateAndTime:
        text = dateWidget->dateTime().toString(DateAndTimeFormat());
        break;
    default:
        text = dateWidget->date().toString(ShortDateFormat());
        break;
    }
    model->setData(index, text, Qt::EditRole);
}

void ItemDelegate::destroyEditor(QWidget* editor, const QModelIndex& index) const
{
    // Every close ends here, whoever asked for it: the user's Return, Escape, Tab or leaving focus,
    // CloseEditors, and Qt moving the current cell off the editor, which stores its value without a
    // word to the delegate. An editor forgotten with its leaving row is no longer open; a cell that
    // left some other way was edited by nobody, as the row now at its number is another's. Only this
    // editor is let go, before its report: the handlers may open the next one.
    const auto open = FindOpen(editor);
    m_lastLetGo = editor;
    QStyledItemDelegate::destroyEditor(editor, index);
    if (open == m_open.end())
        return;
    OpenEditor closed = std::move(*open);
    m_open.erase(open);
    if (m_reportsHeld > 0)
        m_closed.push_back(std::move(closed));
    else
        Finish(closed);
}

void ItemDelegate::ReleaseReports()
{
    if (--m_reportsHeld > 0)
        return;
    const QPointer<ItemDelegate> self(this);
    while (self && !m_closed.empty()) {
        const OpenEditor closed = std::move(m_closed.front());
        m_closed.erase(m_closed.begin());
        Finish(closed);
    }
}

void ItemDelegate::Finish(const OpenEditor& closed) const
{
    const QPointer<const ItemDelegate> self(this);
    if (m_owner && closed.cell.isValid())
        ReportEdit(closed);
    if (self)
        ApplySelectionColours();
    // A widget the control put in place of the one the view held, as the view stored its value or
    // later from a report handler, is left in the table, which keeps it once the control goes.
    // It took the focus from the widget the view held, which the view takes back as it closes.
    QWidget* replacement = closed.control->GetPlatformHandle();
    if (replacement && replacement != closed.widget && self && m_owner && m_owner->table &&
        replacement->window()->focusWidget() == replacement)
        m_owner->table->setFocus();
    LetReplacementGo(closed);
}

void ItemDelegate::LetReplacementGo(const OpenEditor& gone)
{
    QWidget* replacement = gone.control->GetPlatformHandle();
    if (!replacement || replacement == gone.widget)
        return;
    replacement->hide();
    replacement->deleteLater();
}

bool ItemDelegate::eventFilter(QObject* watched, QEvent* event)
{
    // The view filters the events of the editors it holds through their delegate.
    if (event->type() == WidgetReplacedEvent::EventType() && watched->isWidgetType())
        HandOverToReplacement(static_cast<QWidget*>(watched),
                              static_cast<const WidgetReplacedEvent*>(event)->Replacement());
    return QStyledItemDelegate::eventFilter(watched, event);
}

void ItemDelegate::HandOverToReplacement(QWidget* replaced, QWidget* replacement)
{
    // Left as it is, the view would close the old widget when its focus left or it went, with nothing
    // to store or report, and never learn of the new one. Qt swaps no editor in place: the editor goes
    // by its new widget first, so that the old one is closed quietly, and the view opens the cell
    // again on the new widget.
    const auto open = FindOpen(replaced);
    if (!m_owner || !m_owner->table || open == m_open.end() || !open->cell.isValid())
        return;
    const QPointer<QTableWidget> table = m_owner->table.data();
    const QPersistentModelIndex cell = open->cell;
    if (table->indexWidget(cell) != replaced)
        return;
    // The focus goes straight over rather than through the table. A widget that did not have it must
    // not take it as the view opens the cell: it would close another open editor.
    const bool focused = replaced->window()->focusWidget() == replaced;
    const bool holdOffFocus = !focused && !replacement->testAttribute(Qt::WA_ForceDisabled);
    const QPointer<QWidget> widget = replacement;
    open->widget = replacement;
    if (focused)
        replacement->setFocus();
    if (table && table->indexWidget(cell) == replaced)
        emit closeEditor(replaced, NoHint);
    if (!table || !widget || FindOpen(widget) == m_open.end())
        return;
    m_handOver = {cell, widget};
    if (holdOffFocus)
        widget->setEnabled(false);
    table->edit(cell);
    m_handOver = {};
    if (widget && holdOffFocus)
        widget->setEnabled(true);
}

void ItemDelegate::updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                                        const QModelIndex& index) const
{
    const QRect rect = option.rect;
    auto* table = qobject_cast<QTableWidget*>(editor->parentWidget());
    const int headerHeight = table ? table->horizontalHeader()->geometry().height() : 0;
    const int dx = (table && m_owner && m_owner->table) ? 1 + TextLeft(index.row()) : 1;
    editor->setGeometry(QRect(QPoint(rect.left() + dx, rect.top() + headerHeight + 1),
                              QPoint(rect.right() + 1, rect.bottom() + headerHeight - 1)));
}

int ItemDelegate::TextLeft(int row) const
{
    ListBoxQt* table = m_owner->table;
    QTableWidgetItem* item = table->item(row, 0);
    if (!item)
        return 0;
    QStyleOptionViewItem option = table->ItemOption(item);
    return table->style()->subElementRect(QStyle::SE_ItemViewItemText, &option, table).left();
}

void ItemDelegate::CloseEditors()
{
    // Each close runs report handlers, which may close editors, open new ones, or have a date editor
    // put a new widget in place of the one the view holds; an editor they open stays open. So each
    // editor is closed by the widget the view holds for it then.
    for (OpenEditor& open : m_open)
        open.closeAsked = true;
    const QPointer<ItemDelegate> self(this);
    while (self) {
        const auto next =
            std::find_if(m_open.begin(), m_open.end(), [](const OpenEditor& open) { return open.closeAsked; });
        if (next == m_open.end())
            return;
        next->closeAsked = false;
        if (next->widget)
            emit closeEditor(next->widget, NoHint);
    }
}

void ItemDelegate::ForgetEditorOfRows(int first, int last)
{
    // Qt takes the editor of a leaving row away without a close, which would leave the selection hidden.
    const auto leaving = std::remove_if(m_open.begin(), m_open.end(), [first, last](const OpenEditor& open) {
        return open.cell.isValid() && open.cell.row() >= first && open.cell.row() <= last;
    });
    if (leaving == m_open.end())
        return;
    // Qt closes the widget it holds for such an editor, and not the one a change handler had the
    // control put in its place as the editor stored its value.
    std::for_each(leaving, m_open.end(), &ItemDelegate::LetReplacementGo);
    m_open.erase(leaving, m_open.end());
    ApplySelectionColours();
}

int ItemDelegate::EditedColumn(const QWidget* editor) const
{
    const auto open = FindOpen(editor);
    return open != m_open.end() && open->cell.isValid() ? open->cell.column() : -1;
}

void ItemDelegate::ApplySelectionColours() const
{
    if (m_owner)
        m_owner->ApplySelectionPalette(showSelection && m_open.empty());
}

void ItemDelegate::ReportEdit(const OpenEditor& closed) const
{
    // A finish handler may show the selection, which closes editors; it may also move, delete or sort
    // rows, or let the list go. The edit is reported on the cell's row as it is then, and not at all
    // once the cell or the list has gone.
    const QPersistentModelIndex& cell = closed.cell;
    const QPointer<const ItemDelegate> self(this);
    if (m_owner->editable != 3)
        FireHandlers(m_owner->Owner().OnEditFinished, cell.row());
    if (!self || !m_owner || !cell.isValid())
        return;
    ListBox& list = m_owner->Owner();
    if (m_owner->table && qobject_cast<QStyledItemDelegate*>(m_owner->table->itemDelegate()))
        FireHandlers(list.OnItemTextEdited, cell.row(), cell.column(), closed.textAtStart,
                     list.GetItem(cell.row(), cell.column()));
}

void ItemDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    QStyleOptionViewItem opt(option);
    initStyleOption(&opt, index);
    QStyledItemDelegate::paint(painter, opt, index);
    painter->save();
    const QRect rect = option.rect;
    if (m_owner) {
        if (m_owner->underlineItems) {
            painter->setPen(QPen(QPalette().brush(QPalette::Midlight), 1.0, Qt::SolidLine, Qt::SquareCap,
                                 Qt::BevelJoin));
            painter->drawLine(rect.left(), rect.bottom(), rect.right(), rect.bottom());
        }
        const QImage& button = m_owner->rowButtonPicture;
        if (!button.isNull() && index.column() == m_owner->columnCount) {
            if (opt.state & QStyle::State_Selected)
                painter->fillRect(rect, QPalette().brush(QPalette::Light));
            painter->drawImage(QPoint((rect.right() - (rect.left() + button.width()) + 1) / 2 + rect.left(),
                                      (rect.bottom() - (rect.top() + button.height()) + 1) / 2 + rect.top()),
                               button);
        }
    }
    if ((opt.state & QStyle::State_Selected) && !opt.icon.isNull()) {
        const QStyle* style = opt.widget ? opt.widget->style() : QApplication::style();
        const int margin = style->pixelMetric(QStyle::PM_HeaderMargin) + 1;
        const QSize size = opt.decorationSize;
        const int dy = (rect.height() - size.height()) / 2;
        int x = rect.left() + margin;
        if (opt.features & QStyleOptionViewItem::HasCheckIndicator) {
            const QRect check = style->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &opt, opt.widget);
            x = rect.left() + check.left() + check.right() + 1 + margin;
        }
        painter->fillRect(QRect(QPoint(x - margin, rect.top()), QPoint(x - margin + size.width() + 2 * margin,
                                                                        rect.bottom())),
                          QPalette().brush(QPalette::Light));
        painter->drawPixmap(x, rect.top() + dy, opt.icon.pixmap(size, QIcon::Normal, QIcon::Off));
    }
    painter->restore();
}

} // namespace AUILib
