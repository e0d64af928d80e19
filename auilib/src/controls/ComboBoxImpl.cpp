#include "ComboBoxImpl.h"

#include "WideText.h"

#include <QApplication>
#include <QPainter>
#include <QStandardItemModel>

namespace AUILib {

ComboBox::impl::impl(ComboBox& owner)
    : widget(new ComboBoxQt(owner))
    , m_owner(owner)
{
    TrackConnection(QObject::connect(widget, &QComboBox::editTextChanged,
                                     [this](const QString& shown) { OnEditTextChanged(shown); }));
    TrackConnection(QObject::connect(widget, QOverload<int>::of(&QComboBox::currentIndexChanged),
                                     [&owner](int index) { FireHandlers(owner.OnSelChanged, index); }));
    delegate = new ItemDelegate(widget);
    widget->setItemDelegate(delegate);
}

ComboBox::impl::~impl()
{
    if (widget)
        widget->ReleaseOwner();
    ReleaseWidget(widget);
}

QStandardItem* ComboBox::impl::ModelItem(int row) const
{
    if (!widget)
        return nullptr;
    const auto* items = qobject_cast<const QStandardItemModel*>(widget->model());
    return items ? items->item(row, widget->modelColumn()) : nullptr;
}

void ComboBox::impl::SetItemPicture(int row, const QPixmap& picture, ScalePicture scale)
{
    if (!widget || picture.isNull())
        return;
    if (scaleMode == ScalePicture(0))
        scaleMode = scale;
    const QPixmap scaled
        = AUILibUtils::ScaleBitmap(picture, scaleMode, QSize(widget->width() - 25, widget->iconSize().height()));
    if (scaled.isNull())
        return;
    if (iconSize.width() == 0 || iconSize.height() == 0)
        iconSize = scaled.size();
    widget->setIconSize(iconSize);
    widget->setItemIcon(row, QIcon(scaled));
}

void ComboBox::impl::OnEditTextChanged(const QString& shown)
{
    std::wstring text = ToWString(shown);
    FilterNumberText(numbers, text, false);
    // Writing back an unchanged text would move the caret to the end and clear the undo history.
    const QString filtered = ToQString(text);
    if (widget && filtered != widget->currentText())
        widget->setCurrentText(filtered);
    if (!settingText)
        FireHandlers(m_owner.OnTextEdited, text);
    FireHandlers(m_owner.OnTextChanged, text);
    FireHandlers(m_owner.OnTextChangedFromTo, lastText, text);
    lastText = text;
}

void ComboBox::impl::ItemDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                                         const QModelIndex& index) const
{
    QStyleOptionViewItem row(option);
    initStyleOption(&row, index);
    row.decorationSize.setWidth(row.rect.width());

    const QString kind = index.data(Qt::AccessibleDescriptionRole).toString();
    const bool header = kind == QLatin1String("header");
    const auto* combo = qobject_cast<const QComboBox*>(parent());
    const QPalette palette = combo ? combo->palette() : option.palette;
    painter->save();
    painter->fillRect(option.rect, palette.color(header ? QPalette::Dark : QPalette::Button));
    if (kind == QLatin1String("separator")) {
        painter->setPen(option.palette.color(QPalette::Disabled, QPalette::Dark));
        const int middle = (option.rect.top() + option.rect.bottom()) / 2;
        painter->drawLine(option.rect.left(), middle, option.rect.right(), middle);
    } else if (header) {
        painter->setPen(Qt::black);
        QFont font;
        font.setFamily(QStringLiteral("Arial"));
        font.setWeight(75);
        painter->setFont(font);
        const QString text = combo ? combo->itemText(index.row()) : index.data().toString();
        const int height = QFontMetrics(painter->font()).size(Qt::TextSingleLine, text).height();
        painter->drawText(QPoint(option.rect.left() + 5, option.rect.top() + height - 1), text);
    } else {
        const QWidget* view = row.widget;
        QStyle* style = view ? view->style() : QApplication::style();
        style->drawControl(QStyle::CE_ItemViewItem, &row, painter, view);
    }
    painter->restore();
}

QSize ComboBox::impl::ItemDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    const QVariant font = index.data(Qt::FontRole);
    const QFontMetrics metrics(font.isValid() ? font.value<QFont>() : QFont());
    return {QStyledItemDelegate::sizeHint(option, index).width(), metrics.height() + 4};
}

} // namespace AUILib
