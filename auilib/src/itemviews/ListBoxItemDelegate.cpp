#include "ListBoxItemDelegate.h"

#include "ComboBox.h"
#include "DateEdit.h"
#include "DateEditImpl.h"
#include "Edit.h"
#include "ListBoxImpl.h"
#include "WideText.h"

#include <QApplication>
#include <QDateTimeEdit>
#include <QHeaderView>
#include <QLineEdit>
#include <QLocale>
#include <QPainter>
#include <QTableWidget>
#include <QTimer>

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
    QDateTime shown = QDateTime::fromString(text, displayFormat);
    // Qt reads a two-digit year as 19xx: take the century that puts it nearest to today.
    if (shown.isValid() && !displayFormat.contains(QLatin1String("yyyy"))) {
        const int thisYear = QDate::currentDate().year();
        while (shown.date().year() < thisYear - 50)
            shown = shown.addYears(100);
    }
    return shown;
}

DateEdit::impl* DateEditImplOf(DateEdit* control)
{
    return control ? dynamic_cast<DateEdit::impl*>(control->GetBaseImpl().get()) : nullptr;
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

ItemDelegate::~ItemDelegate()
{
    delete m_dateEdit;
    delete m_comboBox;
    delete m_edit;
}

QWidget* ItemDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                                    const QModelIndex& index) const
{
    if (!m_owner || !m_owner->table || index.row() < 0 || index.column() < 0 || !index.model())
        return nullptr;
    m_textAtStart.clear();
    const auto columnEntry = m_owner->columnEditModes.find(index.column());
    const bool columnHasMode = columnEntry != m_owner->columnEditModes.end();
    const ListBox::EditMode columnMode = columnHasMode ? columnEntry->second : ListBox::ColumnEditMode;
    const ListBox::EditMode itemMode = ItemEditMode(m_owner->table, *m_owner, index);
    if (itemMode == ListBox::NoEdit || (columnHasMode && columnMode == ListBox::NoEdit))
        return nullptr;
    m_textAtStart = ToWString(index.data(Qt::EditRole).toString());

    QWidget* table = parent ? parent->parentWidget() : nullptr;
    const bool useDate = itemMode == ListBox::DateEditor ||
                         (itemMode == ListBox::ColumnEditMode && columnMode == ListBox::DateEditor);
    const bool useCombo = itemMode == ListBox::ComboBoxEditor ||
                          (itemMode == ListBox::ColumnEditMode && columnMode == ListBox::ComboBoxEditor);
    if (itemMode == ListBox::EditEditor)
        return OpenEdit(table, option, index);
    if (useDate) {
        if (QWidget* editor = OpenDateEdit(table, option, index))
            return editor;
    } else if (useCombo) {
        if (QWidget* editor = OpenComboBox(table, option, index))
            return editor;
    }
    const bool columnAsksForEdit = itemMode == ListBox::ColumnEditMode && columnMode == ListBox::EditEditor;
    if (m_owner->editable == ListBox::NotEditable && !columnAsksForEdit)
        return nullptr;
    return OpenEdit(table, option, index);
}

QWidget* ItemDelegate::OpenEdit(QWidget* table, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    delete m_edit;
    m_edit = new Edit();
    if (!m_edit->Create(table) || !m_edit->GetWndPtr())
        return nullptr;
    QWidget* editor = Opened(m_edit->GetWndPtr(), option, index);
    const int editable = m_owner->editable;
    if (editable != ListBox::NotEditable) {
        editor->setAttribute(Qt::WA_MacShowFocusRect, false);
        if (editable == 2)
            m_edit->SetFrameMode(false);
        else
            editor->setStyleSheet(editor->styleSheet() + QStringLiteral("border: 1px solid #%1;")
                                                             .arg(QPalette().color(QPalette::Highlight).rgb(), 0, 16));
    }
    ListBox& list = m_owner->Owner();
    if (editable != 3)
        FireHandlers(list.OnEditStarted, index.row(), m_edit);
    FireHandlers(list.OnEditorCreated, index.row(), index.column(), m_edit);
    return editor;
}

QWidget* ItemDelegate::OpenDateEdit(QWidget* table, const QStyleOptionViewItem& option,
                                    const QModelIndex& index) const
{
    const QDateTime start = ReadCellDate(ToQString(m_textAtStart), ShortDateFormat());
    m_textAtStart = ToWString(start.toString(DateAndTimeFormat()));
    delete m_dateEdit;
    m_dateEdit = new DateEdit();
    if (!m_dateEdit->Create(table) || !m_dateEdit->GetWndPtr())
        return nullptr;
    QWidget* editor = Opened(m_dateEdit->GetWndPtr(), option, index);
    FireHandlers(m_owner->Owner().OnEditorCreated, index.row(), index.column(), m_dateEdit);
    return editor;
}

QWidget* ItemDelegate::OpenComboBox(QWidget* table, const QStyleOptionViewItem& option,
                                    const QModelIndex& index) const
{
    delete m_comboBox;
    m_comboBox = new ComboBox();
    if (!m_comboBox->Create(table) || !m_comboBox->GetWndPtr())
        return nullptr;
    QWidget* editor = Opened(m_comboBox->GetWndPtr(), option, index);
    FireHandlers(m_owner->Owner().OnEditorCreated, index.row(), index.column(), m_comboBox);
    return editor;
}

QWidget* ItemDelegate::Opened(QWidget* widget, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    widget->setFont(option.font);
    m_owner->ApplySelectionPalette(false);
    m_owner->editingRow = index.row();
    m_editing = index;
    return widget;
}

void ItemDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const
{
    if (!index.model() || index.row() < 0 || index.column() < 0)
        return;
    if (m_edit && m_edit->GetWndPtr() == editor) {
        auto* line = qobject_cast<QLineEdit*>(editor);
        if (!line)
            return;
        line->setText(index.data(Qt::EditRole).toString());
        if (m_owner && m_owner->editable == 2)
            QTimer::singleShot(0, line, &QLineEdit::deselect);
        return;
    }
    DateEdit::impl* date = DateEditImplOf(m_dateEdit);
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
    if (!IsOpen(editor))
        return;
    auto* dateWidget = qobject_cast<QDateTimeEdit*>(editor);
    DateEdit::impl* date = DateEditImplOf(m_dateEdit);
    if (!dateWidget || !date || date->Widget() != dateWidget) {
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

bool ItemDelegate::IsOpen(const QWidget* editor) const
{
    return (m_edit && m_edit->GetWndPtr() == editor) || (m_comboBox && m_comboBox->GetWndPtr() == editor) ||
           (m_dateEdit && m_dateEdit->GetWndPtr() == editor);
}

void ItemDelegate::destroyEditor(QWidget* editor, const QModelIndex& index) const
{
    // Every close ends here, whoever asked for it: the user's Return, Escape, Tab or leaving focus,
    // CloseEditors, and Qt moving the current cell off the editor, which stores its value without a
    // word to the delegate. An editor forgotten with its leaving row is no longer open; a cell that
    // left some other way was edited by nobody, as the row now at its number is another's.
    if (IsOpen(editor)) {
        if (m_owner && m_editing.isValid())
            ReportEdit(editor);
        Forget();
    }
    QStyledItemDelegate::destroyEditor(editor, index);
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
    // The first close frees every editor: look each one up again after the one before.
    if (m_edit && m_edit->GetWndPtr())
        emit closeEditor(m_edit->GetWndPtr(), NoHint);
    if (m_comboBox && m_comboBox->GetWndPtr())
        emit closeEditor(m_comboBox->GetWndPtr(), NoHint);
    if (m_dateEdit && m_dateEdit->GetWndPtr())
        emit closeEditor(m_dateEdit->GetWndPtr(), NoHint);
    m_textAtStart.clear();
}

void ItemDelegate::ForgetEditorOfRows(int first, int last)
{
    // Qt takes the editor of a leaving row away without a close, which would leave the selection hidden.
    if (m_editing.isValid() && m_editing.row() >= first && m_editing.row() <= last)
        Forget();
}

void ItemDelegate::ReportEdit(QWidget* editor) const
{
    // A finish handler may show the selection, which closes editors and empties the text at start; it
    // may also move, delete or sort rows, or let the list go. The edit is reported on the cell's row
    // as it is then, and not at all once the cell or the list has gone.
    const QPersistentModelIndex cell = m_editing;
    const std::wstring before = m_textAtStart;
    const bool dateOpen = m_dateEdit != nullptr;
    const bool dateEditor = qobject_cast<QDateTimeEdit*>(editor) != nullptr;
    if (m_owner->editable != 3)
        FireHandlers(m_owner->Owner().OnEditFinished, cell.row());
    if (!m_owner || !cell.isValid())
        return;
    ListBox& list = m_owner->Owner();
    if (m_owner->table && qobject_cast<QStyledItemDelegate*>(m_owner->table->itemDelegate())) {
        if (!dateOpen || dateEditor)
            FireHandlers(list.OnItemTextEdited, cell.row(), cell.column(), before,
                         list.GetItem(cell.row(), cell.column()));
    }
}

void ItemDelegate::Forget() const
{
    if (m_owner)
        m_owner->ApplySelectionPalette(showSelection);
    DeleteEditors();
    m_textAtStart.clear();
}

void ItemDelegate::DeleteEditors() const
{
    Edit* edit = m_edit;
    m_edit = nullptr;
    delete edit;
    ComboBox* combo = m_comboBox;
    m_comboBox = nullptr;
    delete combo;
    DateEdit* date = m_dateEdit;
    m_dateEdit = nullptr;
    delete date;
    m_editing = QPersistentModelIndex();
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
